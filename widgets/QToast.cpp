#include "widgets/QToast.h"

#include "widgets/Log.h"

#include <QPalette>
#include <QTextEdit>

namespace {
constexpr double Opacity = 0.8;
constexpr double FadeStep = 0.1;
constexpr int TickMs = 30;
} // namespace

QToast::QToast(QWidget *parent) : QDialog(parent)
{
    qCDebug(lcWidgets) << "QToast::constructor";
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setAutoFillBackground(true);
    setPalette(pal);

    setWindowOpacity(Opacity);
    connect(&m_timer, &QTimer::timeout, this, &QToast::timerevent);

    m_textBox = new QTextEdit(this);
    m_textBox->setStyleSheet(
        "QWidget { color: rgb(255,255,255); border: 0px; background: transparent }");
    m_textBox->setPlaceholderText("test dayo");
    m_textBox->resize(200, 100);
}

void QToast::reset()
{
    m_elapsed = 0;
    setWindowOpacity(Opacity);
}

void QToast::start()
{
    m_timer.start(TickMs);
}

void QToast::setText(QString text)
{
    m_textBox->setText(text);
}

void QToast::timerevent()
{
    qCDebug(lcWidgets) << "timer event";
    m_elapsed += TickMs;
    if (m_elapsed > m_showTime)
        setWindowOpacity(windowOpacity() - FadeStep);
    if (m_elapsed > m_showTime + m_fadeTime) {
        qCDebug(lcWidgets) << "timer ends";
        m_timer.stop();
        hide();
    }
}

void QToast::paintEvent(QPaintEvent *) {}
