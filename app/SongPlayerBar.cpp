#include "app/SongPlayerBar.h"

#include "buttons/QButtonPanel.h"
#include "history/SongHistory.h"
#include "model/SongModel.h"
#include "model/SongPlayer.h"
#include "model/SongRenderer.h"
#include "model/SongSchedule.h"
#include "widgets/QImageButton.h"
#include "widgets/QNumericLineEdit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>

namespace {
const QRect PlayKey(432, 598, 40, 29);
const QRect LoopKey(478, 598, 40, 29);
const QRect Status(534, 597, 148, 31);
const QRect TempoField(742, 597, 35, 31);
const QRect BeatsField(837, 597, 35, 31);
constexpr int StatusFontPoints = 9;
constexpr int EditFontPoints = 10;
const char *const StatusStyle = "QLabel { color: rgb(175,198,233); background: transparent }";

using KeyImages = QImageButton::ImagePair;
const KeyImages PlayImages = {":/img/bt_song_play.png", ":/img/bt_song_play_hover.png"};
const KeyImages StopImages = {":/img/bt_song_stop.png", ":/img/bt_song_stop_hover.png"};
const KeyImages LoopImages = {":/img/bt_loop.png", ":/img/bt_loop_hover.png"};
const KeyImages LoopOnImages = {":/img/bt_loop_on.png", ":/img/bt_loop_on_hover.png"};

QString duration(double milliseconds)
{
    const int seconds = qRound(milliseconds / 1000);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

SongPlayerBar::SongPlayerBar(SongHistory *history, SongRenderer *renderer, QButtonPanel *panel,
                             QWidget *window)
    : QObject(window), m_history(history), m_song(history->song()), m_renderer(renderer),
      m_panel(panel), m_player(new SongPlayer(this))
{
    createKeys(window);
    createStatus(window);
    createFields(window);
    connect(m_player, &SongPlayer::entryStarted, this, &SongPlayerBar::onEntryStarted);
    connect(m_player, &SongPlayer::finished, this, &SongPlayerBar::onFinished);
    connect(m_song, &SongModel::tempoChanged, this, &SongPlayerBar::showTempoAndBeats);
    connect(m_song, &SongModel::beatsChanged, this, &SongPlayerBar::showTempoAndBeats);
    connect(m_song, &SongModel::infoChanged, this, &SongPlayerBar::showStatus);
    connect(m_song, &SongModel::buttonAdded, this, &SongPlayerBar::showStatus);
    connect(m_song, &SongModel::buttonRemoved, this, &SongPlayerBar::showStatus);
    // Another song: the one playing is over.
    connect(m_song, &SongModel::songReplaced, this, &SongPlayerBar::stop);
    connect(m_song, &SongModel::songReplaced, this, &SongPlayerBar::showTempoAndBeats);
    showTempoAndBeats();
}

void SongPlayerBar::createKeys(QWidget *window)
{
    m_playKey = new QImageButton(window, PlayKey, QString::fromLatin1(PlayImages.normal),
                                 QString::fromLatin1(PlayImages.hover));
    m_playKey->setToolTip(tr("Play the song's tap order, or stop it (Shift+Space); "
                             "right-click to export the song"));
    connect(m_playKey, &QImageButton::mousePress, this, [this](QMouseEvent *event) {
        if (event->button() == Qt::LeftButton)
            togglePlay();
    });
    m_playKey->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_playKey, &QWidget::customContextMenuRequested, this,
            [this](QPoint point) { emit menuRequested(m_playKey->mapToGlobal(point)); });

    m_loopKey = new QImageButton(window, LoopKey, QString::fromLatin1(LoopImages.normal),
                                 QString::fromLatin1(LoopImages.hover));
    m_loopKey->setToolTip(tr("Loop: play the song again and again until stopped"));
    connect(m_loopKey, &QImageButton::mousePress, this, [this](QMouseEvent *event) {
        if (event->button() == Qt::LeftButton)
            toggleLoop();
    });
}

void SongPlayerBar::createStatus(QWidget *window)
{
    m_status = new QLabel(window);
    m_status->setGeometry(Status);
    QFont font(QApplication::font().family());
    font.setPointSize(StatusFontPoints);
    m_status->setFont(font);
    m_status->setStyleSheet(QString::fromLatin1(StatusStyle));
}

void SongPlayerBar::createFields(QWidget *window)
{
    QFont font(QApplication::font().family());
    font.setPointSize(EditFontPoints);
    const auto field = [&](const QRect &geometry, int maximum, const QString &toolTip) {
        auto *edit = new QNumericLineEdit(window);
        edit->setKind(QNumericLineEdit::NumberKind);
        edit->setMaxLength(QString::number(maximum).size());
        edit->setMaximum(maximum);
        edit->setGeometry(geometry);
        edit->showOnPanel(font);
        edit->setToolTip(toolTip);
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { commit(edit); });
        return edit;
    };
    m_tempoEdit = field(TempoField, SongSchedule::MaxTempo,
                        tr("Tempo: beats per minute, %1 to %2")
                            .arg(SongSchedule::MinTempo)
                            .arg(SongSchedule::MaxTempo));
    m_beatsEdit = field(BeatsField, SongSchedule::MaxBeats,
                        tr("Beats each tap order entry lasts, %1 to %2")
                            .arg(SongSchedule::MinBeats)
                            .arg(SongSchedule::MaxBeats));
}

// A value out of range is brought into it; an emptied field keeps the song's value.
void SongPlayerBar::commit(QNumericLineEdit *edit)
{
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    if (ok && edit == m_tempoEdit)
        m_history->setTempo(qBound(SongSchedule::MinTempo, value, SongSchedule::MaxTempo));
    else if (ok)
        m_history->setBeats(qBound(SongSchedule::MinBeats, value, SongSchedule::MaxBeats));
    showTempoAndBeats();
}

void SongPlayerBar::togglePlay()
{
    if (m_player->isPlaying()) {
        stop();
        return;
    }
    const SongSchedule schedule = m_song->schedule();
    QHash<int, QByteArray> sounds;
    for (const SongSchedule::Entry &entry : schedule.entries()) {
        if (!sounds.contains(entry.number))
            sounds.insert(entry.number, m_renderer->renderButton(*m_song, entry.number));
    }
    m_playingCount = int(schedule.entries().size());
    m_playingIndex = -1;
    m_player->play(schedule, sounds, SongRenderer::sampleRate());
    showPlayKey();
    showStatus();
}

void SongPlayerBar::stop()
{
    m_player->stop();
}

void SongPlayerBar::toggleLoop()
{
    m_player->setLooping(!m_player->isLooping());
    m_loopKey->showImages(m_player->isLooping() ? LoopOnImages : LoopImages);
    showStatus();
}

void SongPlayerBar::onEntryStarted(int, int number)
{
    m_playingIndex = (m_playingIndex + 1) % qMax(1, m_playingCount);
    m_panel->showPlaying(number);
    showStatus();
}

void SongPlayerBar::onFinished()
{
    m_playingIndex = -1;
    m_panel->showPlaying(0);
    showPlayKey();
    showStatus();
}

void SongPlayerBar::showTempoAndBeats()
{
    m_tempoEdit->setText(QString::number(m_song->tempo()));
    m_beatsEdit->setText(QString::number(m_song->beats()));
    showStatus();
}

void SongPlayerBar::showPlayKey()
{
    m_playKey->showImages(m_player->isPlaying() ? StopImages : PlayImages);
}

// Playing, the entry and how many; else how many and how long. Entries left out follow instead
// of the length, as written in the tap order, and the tool tip names them all.
void SongPlayerBar::showStatus()
{
    const SongSchedule schedule = m_song->schedule();
    const int count = int(schedule.entries().size());
    const QString skipped = schedule.skipped().join(QStringLiteral(", "));
    QString text;
    if (m_player->isPlaying() && m_playingIndex >= 0)
        text = tr("%1 / %2").arg(m_playingIndex + 1).arg(m_playingCount);
    else if (m_player->isPlaying())
        text = tr("playing");
    else if (count == 0 && skipped.isEmpty())
        text = tr("no tap order yet");
    else
        text = count == 1 ? tr("1 entry") : tr("%1 entries").arg(count);
    if (!skipped.isEmpty())
        text += tr(" \u00b7 skips %1").arg(skipped);
    else if (!m_player->isPlaying() && count > 0)
        text += QStringLiteral(" \u00b7 ") + duration(count * schedule.entryMilliseconds());
    m_status->setText(QFontMetrics(m_status->font())
                          .elidedText(QStringLiteral(" ") + text, Qt::ElideRight, Status.width()));
    m_status->setToolTip(
        skipped.isEmpty() ? tr("The song player: press play to hear the tap order")
                          : tr("Tap order entries that name no button on the panel are skipped: %1")
                                .arg(skipped));
}
