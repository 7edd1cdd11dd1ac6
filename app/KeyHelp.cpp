#include "app/KeyHelp.h"

#include "widgets/Picture.h"

#include <QKeyEvent>
#include <QPainter>

namespace {
const char *const HelpPicture = ":/img/key_help.png";
const QColor Veil(0, 0, 0, 150);
} // namespace

KeyHelp::KeyHelp(QWidget *window) : QWidget(window)
{
    setGeometry(window->rect());
    setFocusPolicy(Qt::StrongFocus);
    hide();
}

void KeyHelp::toggle()
{
    if (isVisible()) {
        putAway();
        return;
    }
    setGeometry(parentWidget()->rect());
    raise();
    show();
    setFocus();
}

void KeyHelp::putAway()
{
    hide();
    parentWidget()->setFocus();
}

bool KeyHelp::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void KeyHelp::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Veil);
    const QPixmap picture = Picture::load(QString::fromLatin1(HelpPicture));
    QRect place(QPoint(), picture.deviceIndependentSize().toSize());
    place.moveCenter(rect().center());
    painter.drawPixmap(place, picture);
}

void KeyHelp::keyPressEvent(QKeyEvent *)
{
    putAway();
}

void KeyHelp::mousePressEvent(QMouseEvent *)
{
    putAway();
}
