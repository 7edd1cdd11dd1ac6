#pragma once

#include "widgets/WindowDrag.h"

#include <QByteArray>
#include <QDialog>
#include <QRect>
#include <QString>

#include <memory>

class MainWindow;
class QToast;
class QImageButton;
class QMouseEvent;
class QNumericTextEdit;

namespace Ui {
class DialogSongInfo;
}

// The song's title, artist, user, lyrics and tap order; records the order of sound button
// presses while recording is on. Frameless, moved by dragging its background.
class DialogSongInfo : public QDialog
{
    Q_OBJECT

public:
    explicit DialogSongInfo(MainWindow *parent);
    ~DialogSongInfo() override;

    bool isRecording() const { return m_recording; }
    // Appends the button's number counted from 0 to the tap order.
    void recordTap(int number);

    QString title() const;
    QString artist() const;
    QString user() const;
    QString lyrics() const;
    QString tapOrder() const;

    // Setters fill the dialog from a song file and do not count as a change of the song.
    void setTitle(const QString &text);
    void setArtist(const QString &text);
    void setUser(const QString &text);
    void setLyrics(const QString &text);
    void setTapOrder(const QString &text);

    // The upload's file name for a title: blanks and characters unsafe in a file name become "_".
    static QString uploadBaseName(const QString &title);
    QString uploadUrl() const { return m_uploadUrl; }

signals:
    // The user changed the song information: a typed text or a recorded tap.
    void songInfoChanged();
    // An upload's reply has finished; the answer is the server's (empty on failure).
    void uploadFinished(const QByteArray &answer);

public slots:
    void onMousePressSubmit(QMouseEvent *event, QWidget *widget);
    void onMousePressClose(QMouseEvent *event, QWidget *widget);
    void onMousePressRecord(QMouseEvent *event, QWidget *widget);
    void replyFinished();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImageButton *createButton(const QString &normal, const QString &hover, const QRect &geometry,
                               const QString &toolTip);
    void connectChangeSignals();
    bool checkRequired();
    bool confirmUpload();

    Ui::DialogSongInfo *ui;
    WindowDrag m_drag;
    QImageButton *m_closeButton = nullptr;
    QImageButton *m_recordButton = nullptr;
    QNumericTextEdit *m_tapOrderEdit = nullptr;
    bool m_recording = false;
    MainWindow *m_mainWindow = nullptr;

    QImageButton *m_submitButton = nullptr;
    std::unique_ptr<QToast> m_toast;
    QString m_uploadUrl;
};
