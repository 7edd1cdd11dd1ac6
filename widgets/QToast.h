#pragma once

#include <QDialog>
#include <QTimer>

class QPaintEvent;
class QTextEdit;

// A borderless dark popup that shows a message, then fades out and hides itself.
class QToast : public QDialog
{
    Q_OBJECT

public:
    explicit QToast(QWidget *parent = nullptr);

    void reset();
    void start();
    void setText(QString text);

    int elapsed() const { return m_elapsed; }
    bool isCounting() const { return m_timer.isActive(); }
    QTextEdit *textBox() const { return m_textBox; }

public slots:
    void timerevent();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    int m_showTime = 2500;
    int m_elapsed = 0;
    int m_fadeTime = 500;
    QTextEdit *m_textBox;
};
