#include "widgets/QToast.h"

#include "widgets/Log.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QRadialGradient>
#include <QTextEdit>

namespace {
constexpr double Opacity = 0.8;
constexpr double FadeStep = 0.1;
constexpr int TickMs = 30;
constexpr QSize ToastSize(236, 100);
constexpr QRect TextArea(30, 10, 200, 80);
constexpr QPointF LampCentre(16, 21);
// The panels' brushed metal, their dark edge and the amber of a lit lamp.
const QColor MetalTop(0x3a, 0x3e, 0x46);
const QColor MetalBottom(0x1c, 0x1e, 0x22);
const QColor Edge(0x09, 0x0a, 0x0c);
const QColor Amber(0xff, 0xb3, 0x3a);
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
    setFixedSize(ToastSize);
    connect(&m_timer, &QTimer::timeout, this, &QToast::timerevent);

    // A message to read, not to edit: no cursor, no focus, no selection.
    m_textBox = new QTextEdit(this);
    m_textBox->setStyleSheet(
        "QWidget { color: rgb(255,255,255); border: 0px; background: transparent }");
    m_textBox->setPlaceholderText("test dayo");
    m_textBox->setGeometry(TextArea);
    m_textBox->setReadOnly(true);
    m_textBox->setTextInteractionFlags(Qt::NoTextInteraction);
    m_textBox->setFocusPolicy(Qt::NoFocus);
    m_textBox->viewport()->setCursor(Qt::ArrowCursor);
    m_textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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

// A small metal plate with a lit amber lamp beside the message, like the program's panels.
void QToast::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient metal(0, 0, 0, height());
    metal.setColorAt(0, MetalTop);
    metal.setColorAt(1, MetalBottom);
    p.fillRect(rect(), metal);
    p.setPen(Edge);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 255, 255, 40));
    p.drawLine(1, 1, width() - 2, 1);

    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient lamp(LampCentre - QPointF(1.5, 1.5), 7);
    lamp.setColorAt(0, Qt::white);
    lamp.setColorAt(0.4, Amber);
    lamp.setColorAt(1, Amber.darker(220));
    QColor halo = Amber;
    halo.setAlpha(60);
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(LampCentre, 9, 9);
    p.setPen(QPen(Edge, 1));
    p.setBrush(lamp);
    p.drawEllipse(LampCentre, 5.5, 5.5);
}
