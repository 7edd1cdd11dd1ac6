#include "buttons/DialogSelectIcon.h"

#include "buttons/Log.h"
#include "widgets/QImageButton.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

constexpr int kIconColumns = 7;
constexpr int kIconRows = 2;
constexpr int kIconLeft = 10;
constexpr int kIconTop = 20;
constexpr int kIconStepX = 50;
constexpr int kIconStepY = 40;
constexpr int kBackgroundAlpha = 128;

DialogSelectIcon *s_instance = nullptr;

// Runs while the application object is being destroyed, so the chooser never outlives it.
void deleteInstance()
{
    delete s_instance;
    s_instance = nullptr;
}

} // namespace

DialogSelectIcon::DialogSelectIcon(QWidget *parent, ButtonIconTable *table) : QDialog(parent)
{
    setStyleSheet(QStringLiteral("background:transparent;"));
    setAttribute(Qt::WA_TranslucentBackground);
    // A dialog window type keeps the frameless popup out of task bars.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setupForm();
    m_buttonBox->button(QDialogButtonBox::Ok)->hide();
    m_buttonBox->button(QDialogButtonBox::Cancel)->hide();
    if (table)
        setIconTable(table);
}

DialogSelectIcon *DialogSelectIcon::instance()
{
    if (!s_instance) {
        s_instance = new DialogSelectIcon;
        qAddPostRoutine(deleteInstance);
    }
    return s_instance;
}

void DialogSelectIcon::setupForm()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("DialogSelectIcon"));
    resize(400, 135);
    m_buttonBox = new QDialogButtonBox(this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_buttonBox->setGeometry(QRect(100, 90, 171, 32));
    m_buttonBox->setOrientation(Qt::Horizontal);
    m_buttonBox->setStandardButtons(QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setWindowTitle(QCoreApplication::translate("DialogSelectIcon", "Dialog"));
    QMetaObject::connectSlotsByName(this);
}

void DialogSelectIcon::setIconTable(ButtonIconTable *table)
{
    m_iconTable = table;
    createIcons();
}

void DialogSelectIcon::createIcons()
{
    for (QImageButton *&icon : m_icons) {
        delete icon;
        icon = nullptr;
    }
    for (int r = 0; r < kIconRows; ++r) {
        for (int c = 0; c < kIconColumns; ++c) {
            const int index = kIconColumns * r + c;
            const QPixmap &pixmap = m_iconTable->picture(index);
            auto *icon = new QImageButton(this);
            icon->setPixmap(pixmap);
            icon->setGeometry(kIconLeft + kIconStepX * c, kIconTop + kIconStepY * r, pixmap.width(),
                              pixmap.height());
            connect(icon, &QImageButton::mousePress, this, &DialogSelectIcon::onMousePressIcon);
            icon->show();
            m_icons[index] = icon;
        }
    }
}

void DialogSelectIcon::showBelow(QWidget *anchor)
{
    const QRect area = anchor->screen()->availableGeometry();
    const QPoint topLeft = anchor->mapToGlobal(QPoint(0, 0));
    int y = topLeft.y() + anchor->height();
    if (y + height() > area.bottom() + 1)
        y = topLeft.y() - height();
    const int x =
        std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - width()));
    move(x, std::max(y, area.top()));
    show();
}

void DialogSelectIcon::onMousePressIcon(QMouseEvent *, QWidget *widget)
{
    qCDebug(lcButtons) << "comming!";
    for (int i = 0; i < ButtonIconTable::Count; ++i) {
        if (widget == m_icons[i])
            m_selectedIndex = i;
    }
    m_picking = true;
    emit onSelectIcon(m_selectedIndex);
    m_picking = false;
    if (m_dropPending) {
        m_dropPending = false;
        disconnect();
    }
    accept();
}

void DialogSelectIcon::dropConnections()
{
    if (m_picking)
        m_dropPending = true;
    else
        disconnect();
}

void DialogSelectIcon::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, kBackgroundAlpha));
}
