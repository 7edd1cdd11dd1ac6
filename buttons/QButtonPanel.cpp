#include "buttons/QButtonPanel.h"

#include "buttons/ButtonIconTable.h"
#include "buttons/DialogSelectIcon.h"
#include "buttons/Log.h"
#include "buttons/PanelKeyMap.h"
#include "buttons/QKeyLegends.h"
#include "buttons/QSoundButton.h"
#include "history/SongHistory.h"
#include "model/SongModel.h"
#include "widgets/Picture.h"
#include "widgets/QImageButton.h"
#include "widgets/QStyledMenu.h"

#include <QLabel>
#include <QMouseEvent>
#include <algorithm>

namespace {
const char *const SelectionFramePicture = ":/img/tile_select.png";
const char *const PlayingPicture = ":/img/tile_playing.png";
} // namespace

QButtonPanel::QButtonPanel(SongHistory *history, const ButtonIconTable *iconTable,
                           DialogSelectIcon *iconChooser, QWidget *parent)
    : QMouseLabel(parent), m_history(history), m_song(history->song()), m_iconTable(iconTable),
      m_iconChooser(iconChooser)
{
    // Made before any button so that every button lies above it.
    m_selectionFrame = new QImageButton(this);
    const QPixmap frame = Picture::load(QString::fromLatin1(SelectionFramePicture));
    m_selectionFrame->setPixmap(frame);
    m_selectionFrame->setGeometry(QRect(QPoint(0, 0), frame.deviceIndependentSize().toSize()));
    m_selectionFrame->hide();
    m_playingGlow = new QLabel(this);
    m_playingGlow->setPixmap(Picture::load(QString::fromLatin1(PlayingPicture)));
    m_playingGlow->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_playingGlow->hide();
    m_legends = new QKeyLegends(this);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &QButtonPanel::showPanelMenu);

    connect(m_song, &SongModel::buttonAdded, this, &QButtonPanel::addView);
    connect(m_song, &SongModel::buttonRemoved, this, &QButtonPanel::removeView);
    connect(m_song, &SongModel::buttonMoved, this, &QButtonPanel::placeView);
    connect(m_song, &SongModel::buttonChanged, this, &QButtonPanel::redrawView);
    connect(m_song, &SongModel::selectionChanged, this, &QButtonPanel::showSelection);
    connect(m_song, &SongModel::songReplaced, this, &QButtonPanel::rebuild);
    rebuild();
}

QSoundButton *QButtonPanel::buttonAt(int column, int row) const
{
    return button(m_song->numberAt(column, row));
}

QPoint QButtonPanel::cellPosition(QPoint cell) const
{
    return QPoint(cell.x() * SongModel::CellWidth, cell.y() * SongModel::CellHeight);
}

void QButtonPanel::addView(int number)
{
    auto *view = new QSoundButton(number, m_iconTable, this);
    m_views.insert(number, view);
    redrawView(number);
    placeView(number);
    view->show();
    connect(view, &QSoundButton::mousePress, this, &QButtonPanel::onMousePressSB);
    connect(view, &QSoundButton::mouseMove, this, &QButtonPanel::onMouseMoveSB);
    connect(view, &QSoundButton::mouseRelease, this, &QButtonPanel::onMouseReleaseSB);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](QPoint point) {
        showButtonMenu(view->number(), view->mapToGlobal(point));
    });
    m_legends->raise();
}

void QButtonPanel::removeView(int number)
{
    if (m_dragNumber == number)
        m_dragging = false;
    delete m_views.take(number);
    m_selectionFrame->hide();
    if (number == m_shownPlaying)
        showPlaying(0);
}

void QButtonPanel::placeView(int number)
{
    QSoundButton *view = button(number);
    if (!view)
        return;
    const QPoint cell = m_song->cellOf(number);
    view->setGeometry(QRect(cellPosition(cell), QSize(QSoundButton::Size, QSoundButton::Size)));
    view->setToolTip(tr("Button %1 (key %2)").arg(number).arg(PanelKeyMap::legend(cell)));
    if (number == m_shownPlaying)
        showPlaying(number);
}

// A new look shows the normal picture even on the selected button, until it is selected again.
void QButtonPanel::redrawView(int number)
{
    QSoundButton *view = button(number);
    const SongModel::Button *data = m_song->button(number);
    if (!view || !data)
        return;
    if (view->normalPixmap().isNull() || view->iconIndex() != data->iconIndex ||
        view->label() != data->label())
        view->redraw(data->iconIndex, data->label());
}

void QButtonPanel::showSelection(int number)
{
    if (QSoundButton *old = button(m_shownSelected))
        old->showNormal();
    m_shownSelected = number;
    if (QSoundButton *view = button(number))
        view->showSelected();
}

void QButtonPanel::showPlaying(int number)
{
    m_shownPlaying = button(number) ? number : 0;
    if (!m_shownPlaying) {
        m_playingGlow->hide();
        return;
    }
    m_playingGlow->setGeometry(button(number)->geometry());
    m_playingGlow->show();
    m_playingGlow->raise();
    m_legends->raise();
}

// The selection frame stays where it was.
void QButtonPanel::rebuild()
{
    showPlaying(0);
    qDeleteAll(m_views);
    m_views.clear();
    m_dragging = false;
    for (int number : m_song->numbers())
        addView(number);
    showSelection(m_song->selected());
}

void QButtonPanel::onMousePressSB(QMouseEvent *event, QWidget *widget)
{
    if (event->button() != Qt::LeftButton)
        return;
    qCDebug(lcButtons) << "onMousePressSB";
    auto *view = static_cast<QSoundButton *>(widget);
    m_dragging = !m_locked;
    m_dragNumber = view->number();
    qCDebug(lcButtons) << "m_drg = true";
    m_target = m_song->cellOf(m_dragNumber);
    press(m_dragNumber);
}

void QButtonPanel::pressCell(QPoint cell)
{
    if (const int number = m_song->numberAt(cell.x(), cell.y()))
        press(number);
}

void QButtonPanel::press(int number)
{
    m_selectionFrame->move(button(number)->pos());
    emit buttonPressed(number);
}

// During a drag the button stays in place; only the frame follows the pointer cell by cell, and
// it is seen only over an empty cell.
void QButtonPanel::onMouseMoveSB(QMouseEvent *event)
{
    QSoundButton *view = button(m_dragNumber);
    if (!m_dragging || !view)
        return;
    const QPoint pos = view->mapTo(this, event->position().toPoint());
    m_target = QPoint(std::clamp(pos.x() / SongModel::CellWidth, 0, SongModel::Columns - 1),
                      std::clamp(pos.y() / SongModel::CellHeight, 0, SongModel::Rows - 1));
    qCDebug(lcButtons).noquote() << QStringLiteral("x:%1 y:%2").arg(m_target.x()).arg(m_target.y());
    m_selectionFrame->move(cellPosition(m_target));
    m_selectionFrame->show();
}

void QButtonPanel::onMouseReleaseSB(QMouseEvent *event)
{
    qCDebug(lcButtons) << int(event->button()) << "onMouseReleaseSB";
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    qCDebug(lcButtons) << "m_drg = false";
    m_history->moveButton(m_dragNumber, m_target.x(), m_target.y());
}

// The clicked button is selected first: the menu concerns it.
void QButtonPanel::showButtonMenu(int number, QPoint globalPos)
{
    emit selectRequested(number);
    QStyledMenu menu;
    QAction *changeIcon = menu.addAction(tr("Change Icon"));
    QAction *exportSound = menu.addAction(tr("Export Sound..."));
    exportSound->setToolTip(tr("Save the button's sound as a WAV file"));
    menu.addSeparator();
    addLegendsEntry(&menu);
    QAction *chosen = menu.exec(globalPos);
    if (chosen == exportSound && button(number))
        emit exportRequested(number);
    if (chosen != changeIcon || !button(number))
        return;
    qCDebug(lcButtons) << "Change Icon";
    QSoundButton *view = button(number);
    if (const std::optional<int> index = m_iconChooser->choose(view, view->iconIndex()))
        m_history->setIcon(number, *index);
}

void QButtonPanel::showPanelMenu(QPoint point)
{
    QStyledMenu menu;
    addLegendsEntry(&menu);
    menu.exec(mapToGlobal(point));
}

void QButtonPanel::addLegendsEntry(QMenu *menu)
{
    QAction *legends = menu->addAction(tr("Show Key Legends"));
    legends->setCheckable(true);
    legends->setChecked(keyLegendsShown());
    connect(legends, &QAction::toggled, this, [this](bool shown) {
        showKeyLegends(shown);
        emit keyLegendsToggled(shown);
    });
}

bool QButtonPanel::keyLegendsShown() const
{
    return !m_legends->isHidden();
}

void QButtonPanel::showKeyLegends(bool shown)
{
    m_legends->setVisible(shown);
}

void QButtonPanel::mousePressEvent(QMouseEvent *event)
{
    qCDebug(lcButtons) << "mousePressEvent";
    QMouseLabel::mousePressEvent(event);
}

void QButtonPanel::mouseMoveEvent(QMouseEvent *event)
{
    qCDebug(lcButtons) << "mouseMoveEvent";
    QMouseLabel::mouseMoveEvent(event);
}

void QButtonPanel::mouseReleaseEvent(QMouseEvent *event)
{
    qCDebug(lcButtons) << "mouseReleaseEvent";
    emit backgroundReleased();
    QMouseLabel::mouseReleaseEvent(event);
}
