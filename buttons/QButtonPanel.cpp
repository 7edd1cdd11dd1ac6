#include "buttons/QButtonPanel.h"

#include "app/MainWindow.h"
#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/Log.h"
#include "buttons/QSoundButton.h"
#include "widgets/QImageButton.h"

#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

namespace {

const char *const kSelectionFramePicture = ":/img/tile_select.png";
const char *const kMenuStyle = "color: #c8e1fb;background: #333333;selection-color: "
                               "white;selection-background-color: darkgray;";

} // namespace

QButtonPanel::QButtonPanel(QWidget *parent, ButtonIconTable *iconTable)
    : QLabel(parent), m_grid(m_columns, std::vector<QSoundButton *>(m_rows, nullptr)),
      m_iconTable(iconTable)
{
    // Made before any button so that every button lies above it.
    m_selectionFrame = new QImageButton(this);
    const QPixmap frame(QString::fromLatin1(kSelectionFramePicture));
    m_selectionFrame->setPixmap(frame);
    m_selectionFrame->setGeometry(0, 0, frame.width(), frame.height());
    m_selectionFrame->hide();
}

bool QButtonPanel::findFreeCell(int &column, int &row) const
{
    for (row = 0; row < m_rows; ++row) {
        for (column = 0; column < m_columns; ++column) {
            if (!m_grid[column][row])
                return true;
        }
    }
    return false;
}

int QButtonPanel::lowestFreeNumber() const
{
    const int count = m_columns * m_rows;
    std::vector<bool> used(count + 1, false);
    QList<QSoundButton *> all;
    buttons(all);
    for (const QSoundButton *button : all) {
        if (button->m_number >= 1 && button->m_number <= count)
            used[button->m_number] = true;
    }
    for (int n = 1; n <= count; ++n) {
        if (!used[n])
            return n;
    }
    return count + 1;
}

QSoundButton *QButtonPanel::createButton(int column, int row)
{
    auto *button = new QSoundButton(this);
    button->setIconTable(m_iconTable);
    button->setNumber(lowestFreeNumber());
    placeButton(button, column, row);
    button->show();
    connect(button, &QSoundButton::mousePress, this, &QButtonPanel::onMousePressSB);
    connect(button, &QSoundButton::mouseMove, this, &QButtonPanel::onMouseMoveSB);
    connect(button, &QSoundButton::mouseRelease, this, &QButtonPanel::onMouseReleaseSB);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this, &QButtonPanel::showContextMenu);
    return button;
}

void QButtonPanel::placeButton(QSoundButton *button, int column, int row)
{
    button->setGeometry(column * m_cellWidth, row * m_cellHeight, QSoundButton::Size,
                        QSoundButton::Size);
    m_grid[column][row] = button;
}

bool QButtonPanel::addButton(int iconIndex, const SoundInfo *info)
{
    m_modified = true;
    int column = 0;
    int row = 0;
    if (!findFreeCell(column, row))
        return false;
    QSoundButton *button = createButton(column, row);
    button->setIcon(iconIndex, m_iconTable->labelColor(iconIndex));
    button->redraw();
    button->m_soundInfo = *info;
    return true;
}

QSoundButton *QButtonPanel::addEmptyButton(bool modified)
{
    m_modified = modified;
    int column = 0;
    int row = 0;
    if (!findFreeCell(column, row))
        return nullptr;
    return createButton(column, row);
}

void QButtonPanel::deselect()
{
    qCDebug(lcButtons) << "deselect out";
    if (!m_selected)
        return;
    m_selected->showNormal();
    qCDebug(lcButtons) << "deselect in";
    commitSelection();
    m_selected = nullptr;
}

void QButtonPanel::commitSelection()
{
    if (!m_selected || !m_mainWindow)
        return;
    const SoundInfo before = m_selected->m_soundInfo;
    m_mainWindow->getSoundInfo(&m_selected->m_soundInfo);
    // The form was edited while the button was selected: Save would write something new.
    if (m_selected->m_soundInfo != before)
        m_modified = true;
}

void QButtonPanel::onMousePressSB(QMouseEvent *event, QWidget *widget)
{
    if (event->button() != Qt::LeftButton)
        return;
    qCDebug(lcButtons) << "onMousePressSB";
    deselect();
    auto *button = static_cast<QSoundButton *>(widget);
    m_selected = button;
    button->showSelected();
    if (!m_locked)
        m_dragging = true;
    qCDebug(lcButtons) << "m_drg = true";
    m_targetColumn = button->x() / m_cellWidth;
    m_targetRow = button->y() / m_cellHeight;
    m_selectionFrame->move(button->pos());
    emit signalOnMousePressSB(event, button);
}

void QButtonPanel::onMouseMoveSB(QMouseEvent *event)
{
    qCDebug(lcButtons) << int(event->button()) << "onMouseMoveSB";
    m_modified = true;
    dragMove(event);
}

void QButtonPanel::dragMove(QMouseEvent *event)
{
    if (!m_dragging || !m_selected)
        return;
    const QPoint pos = m_selected->mapTo(this, event->position().toPoint());
    const int column = std::clamp(pos.x() / m_cellWidth, 0, m_columns - 1);
    const int row = std::clamp(pos.y() / m_cellHeight, 0, m_rows - 1);
    qCDebug(lcButtons) << "SB";
    qCDebug(lcButtons).noquote() << QStringLiteral("x:%1 y:%2").arg(column).arg(row);
    m_targetColumn = column;
    m_targetRow = row;
    m_selectionFrame->move(column * m_cellWidth, row * m_cellHeight);
    m_selectionFrame->show();
}

void QButtonPanel::onMouseReleaseSB(QMouseEvent *event)
{
    qCDebug(lcButtons) << int(event->button()) << "onMouseReleaseSB";
    if (event->button() != Qt::LeftButton)
        return;
    drop();
}

void QButtonPanel::drop()
{
    qCDebug(lcButtons) << "onMouseReleaseSB";
    if (m_dragging && m_selected) {
        const int sourceColumn = m_selected->x() / m_cellWidth;
        const int sourceRow = m_selected->y() / m_cellHeight;
        qCDebug(lcButtons).noquote()
            << QStringLiteral("src_ix:%1 src_iy:%2").arg(sourceColumn).arg(sourceRow);
        qCDebug(lcButtons) << "xy";
        qCDebug(lcButtons).noquote() << QStringLiteral("x:%1 y:%2")
                                            .arg(m_targetColumn * m_cellWidth)
                                            .arg(m_targetRow * m_cellHeight);
        QSoundButton *other = m_grid[m_targetColumn][m_targetRow];
        if (other && other != m_selected)
            placeButton(other, sourceColumn, sourceRow);
        else
            m_grid[sourceColumn][sourceRow] = nullptr;
        placeButton(m_selected, m_targetColumn, m_targetRow);
    }
    m_dragging = false;
    qCDebug(lcButtons) << "m_drg = false";
}

void QButtonPanel::showContextMenu(QPoint point)
{
    if (!m_selected)
        return;
    const QPoint globalPos = m_selected->mapToGlobal(point);
    QMenu menu;
    menu.setStyleSheet(QString::fromLatin1(kMenuStyle));
    QAction *changeIcon = menu.addAction(tr("Change Icon"));
    if (menu.exec(globalPos) != changeIcon)
        return;
    qCDebug(lcButtons) << "Change Icon";
    m_iconDialog = DialogSelectIcon::instance();
    connect(m_iconDialog, &DialogSelectIcon::onSelectIcon, this, &QButtonPanel::onSelectIcon);
    m_iconDialog->showBelow(m_selected);
}

void QButtonPanel::onSelectIcon(int index)
{
    qCDebug(lcButtons).noquote() << QStringLiteral("select icon:%1").arg(index);
    if (m_selected) {
        m_selected->setIcon(index, m_iconTable->labelColor(index));
        m_selected->redraw();
    }
    if (m_iconDialog)
        m_iconDialog->dropConnections();
}

void QButtonPanel::deleteSelected()
{
    if (!m_selected)
        return;
    m_modified = true;
    for (auto &column : m_grid)
        std::replace(column.begin(), column.end(), m_selected,
                     static_cast<QSoundButton *>(nullptr));
    delete m_selected;
    m_selected = nullptr;
    m_selectionFrame->hide();
}

void QButtonPanel::deleteAll()
{
    QList<QSoundButton *> all;
    buttons(all);
    qDeleteAll(all);
    for (auto &column : m_grid)
        std::fill(column.begin(), column.end(), nullptr);
    m_selected = nullptr;
}

void QButtonPanel::buttons(QList<QSoundButton *> &list) const
{
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_columns; ++column) {
            if (m_grid[column][row])
                list.append(m_grid[column][row]);
        }
    }
}

void QButtonPanel::mousePressEvent(QMouseEvent *event)
{
    qCDebug(lcButtons) << "mousePressEvent";
    emit mousePress(event, this);
}

void QButtonPanel::mouseMoveEvent(QMouseEvent *event)
{
    qCDebug(lcButtons) << "mouseMoveEvent";
    emit mouseMove(event);
}

void QButtonPanel::mouseReleaseEvent(QMouseEvent *event)
{
    qCDebug(lcButtons) << "mouseReleaseEvent";
    deselect();
    emit mouseRelease(event);
}

void QButtonPanel::leaveEvent(QEvent *)
{
    emit mouseLeave();
}
