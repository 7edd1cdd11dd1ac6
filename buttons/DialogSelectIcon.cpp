#include "buttons/DialogSelectIcon.h"

#include "buttons/Log.h"
#include "widgets/Picture.h"
#include "widgets/QImageButton.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {
constexpr int IconColumns = 7;
constexpr int IconRows = 2;
constexpr int IconLeft = 19;
constexpr int IconTop = 46;
constexpr int IconStep = 40;
const QSize PanelSize(308, 146);
const char *const PanelStyle =
    "#DialogSelectIcon { background-image: url(:/img/icon_panel.png); border: 0px }";
// How far each mark reaches beyond the picture it lies around.
constexpr int CurrentMarkMargin = 4;
constexpr int PointerMarkMargin = 3;

QRect around(const QWidget *icon, int margin)
{
    return icon->geometry().adjusted(-margin, -margin, margin, margin);
}
} // namespace

DialogSelectIcon::DialogSelectIcon(const ButtonIconTable *table, QWidget *parent) : QDialog(parent)
{
    // A dialog window type keeps the frameless popup out of task bars.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setupForm();
    m_buttonBox->button(QDialogButtonBox::Ok)->hide();
    m_buttonBox->button(QDialogButtonBox::Cancel)->hide();
    // Made before the pictures, so that the pictures lie on top.
    m_currentMark = createMark(QStringLiteral(":/img/icon_mark_current.png"));
    m_pointerMark = createMark(QStringLiteral(":/img/icon_mark_pointer.png"));
    createIcons(*table);
    markCurrent(0);
    markPointer(-1);
}

void DialogSelectIcon::setupForm()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("DialogSelectIcon"));
    setFixedSize(PanelSize);
    setStyleSheet(QString::fromLatin1(PanelStyle));
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

QLabel *DialogSelectIcon::createMark(const QString &picture)
{
    auto *mark = new QLabel(this);
    mark->setPixmap(Picture::load(picture));
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    return mark;
}

void DialogSelectIcon::createIcons(const ButtonIconTable &table)
{
    for (int r = 0; r < IconRows; ++r) {
        for (int c = 0; c < IconColumns; ++c) {
            const int index = IconColumns * r + c;
            const QPixmap &pixmap = table.picture(index);
            auto *icon = new QImageButton(this);
            icon->setPixmap(pixmap);
            icon->setGeometry(QRect(QPoint(IconLeft + IconStep * c, IconTop + IconStep * r),
                                    pixmap.deviceIndependentSize().toSize()));
            icon->setToolTip(tr("Picture %1").arg(index + 1));
            connect(icon, &QImageButton::mousePress, this, &DialogSelectIcon::onMousePressIcon);
            connect(icon, &QImageButton::mouseMove, this, [this, index] { markPointer(index); });
            connect(icon, &QImageButton::mouseLeave, this, [this] { markPointer(-1); });
            m_icons[index] = icon;
        }
    }
}

std::optional<int> DialogSelectIcon::choose(QWidget *anchor, int current)
{
    // A song can name a picture the table does not have; its button shows picture 0.
    markCurrent(ButtonIconTable::isValidIndex(current) ? current : 0);
    markPointer(-1);
    placeBelow(anchor);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_selectedIndex;
}

void DialogSelectIcon::markCurrent(int index)
{
    m_currentMark->setGeometry(around(m_icons[index], CurrentMarkMargin));
}

void DialogSelectIcon::markPointer(int index)
{
    if (index < 0) {
        m_pointerMark->hide();
        return;
    }
    m_pointerMark->setGeometry(around(m_icons[index], PointerMarkMargin));
    m_pointerMark->show();
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
