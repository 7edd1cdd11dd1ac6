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
constexpr int IconColumns = 7;
constexpr int IconRows = 2;
constexpr int IconLeft = 10;
constexpr int IconTop = 20;
constexpr int IconStepX = 50;
constexpr int IconStepY = 40;
constexpr int BackgroundAlpha = 128;
} // namespace

DialogSelectIcon::DialogSelectIcon(const ButtonIconTable *table, QWidget *parent) : QDialog(parent)
{
    setStyleSheet(QStringLiteral("background:transparent;"));
    setAttribute(Qt::WA_TranslucentBackground);
    // A dialog window type keeps the frameless popup out of task bars.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setupForm();
    m_buttonBox->button(QDialogButtonBox::Ok)->hide();
    m_buttonBox->button(QDialogButtonBox::Cancel)->hide();
    createIcons(*table);
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

void DialogSelectIcon::createIcons(const ButtonIconTable &table)
{
    for (int r = 0; r < IconRows; ++r) {
        for (int c = 0; c < IconColumns; ++c) {
            const int index = IconColumns * r + c;
            const QPixmap &pixmap = table.picture(index);
            auto *icon = new QImageButton(this);
            icon->setPixmap(pixmap);
            icon->setGeometry(IconLeft + IconStepX * c, IconTop + IconStepY * r, pixmap.width(),
                              pixmap.height());
            connect(icon, &QImageButton::mousePress, this, &DialogSelectIcon::onMousePressIcon);
            m_icons[index] = icon;
        }
    }
}

std::optional<int> DialogSelectIcon::choose(QWidget *anchor)
{
    placeBelow(anchor);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_selectedIndex;
}

void DialogSelectIcon::placeBelow(QWidget *anchor)
{
    const QRect area = anchor->screen()->availableGeometry();
    const QPoint topLeft = anchor->mapToGlobal(QPoint(0, 0));
    int y = topLeft.y() + anchor->height();
    if (y + height() > area.bottom() + 1)
        y = topLeft.y() - height();
    const int x =
        std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - width()));
    move(x, std::max(y, area.top()));
}

void DialogSelectIcon::onMousePressIcon(QMouseEvent *, QWidget *widget)
{
    qCDebug(lcButtons) << "comming!";
    const auto it = std::find(std::begin(m_icons), std::end(m_icons), widget);
    if (it != std::end(m_icons))
        m_selectedIndex = int(it - std::begin(m_icons));
    accept();
}

void DialogSelectIcon::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, BackgroundAlpha));
}
