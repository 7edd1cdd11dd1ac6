#include "script/SongScript.h"

#include "buttons/ButtonIconTable.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "script/Log.h"
#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"
#include "upload/DialogSongInfo.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSaveFile>

namespace {
const QString MessageTitle = QStringLiteral("Application name");
const QString SaveFailedTitle = QStringLiteral("Save Script");

QString leftOutText(int count)
{
    const QString buttons =
        count == 1 ? QStringLiteral("1 button was") : QStringLiteral("%1 buttons were").arg(count);
    return QStringLiteral("The song has more buttons than the panel holds (%1): %2 left out.")
        .arg(SongScript::PanelCapacity)
        .arg(buttons);
}
} // namespace

SongScript::SongScript(QButtonPanel *panel, ButtonIconTable *iconTable, DialogSongInfo *songInfo)
    : m_panel(panel), m_iconTable(iconTable), m_songInfo(songInfo), m_panelWidth(panel->width()),
      m_panelHeight(panel->height())
{
    for (int mode = SongScriptReader::Chord; mode <= SongScriptReader::SongInfo; ++mode)
        qCDebug(lcScript) << mode;
}

int SongScript::load(const QString &fileName)
{
    QFile file(fileName);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    file.close();
    const Song song =
        SongScriptReader::read(bytes, SongScriptReader::usesScriptSyntax(fileName), PanelCapacity);
    applySongInfo(song);
    const int added = apply(song);
    const int leftOut = song.buttons.size() - added + song.leftOutButtons;
    if (song.buttons.isEmpty() && song.leftOutButtons == 0)
        inform(QStringLiteral("Cannot open ") + fileName);
    else if (leftOut > 0)
        inform(leftOutText(leftOut));
    return added;
}

void SongScript::applySongInfo(const Song &song)
{
    if (song.title)
        m_songInfo->setTitle(*song.title);
    if (song.artist)
        m_songInfo->setArtist(*song.artist);
    if (song.user)
        m_songInfo->setUser(*song.user);
    if (song.lyrics)
        m_songInfo->setLyrics(*song.lyrics);
    if (song.tapOrder)
        m_songInfo->setTapOrder(*song.tapOrder);
}

// A button without a "layout" record shows its number, as a button made on the panel does.
int SongScript::apply(const Song &song)
{
    int added = 0;
    for (const SongButton &data : song.buttons) {
        QSoundButton *button = m_panel->addEmptyButton(false);
        if (!button)
            break;
        ++added;
        button->m_soundInfo = data.info;
        button->m_scale = data.scale;
        button->m_volPlay = data.volPlay;
        std::copy(std::begin(data.texts), std::end(data.texts), button->m_texts);
        button->setIcon(data.iconIndex, m_iconTable->labelColor(data.iconIndex));
        if (data.hasLayout)
            button->redraw(data.layoutLabel);
        else
            button->redraw();
    }
    return added;
}

bool SongScript::save(const QString &fileName, QButtonPanel *panel)
{
    QSaveFile file(fileName);
    QString reason;
    if (writeAll(file, SongScriptWriter::write(collect(panel)), reason) && file.commit())
        return true;
    if (reason.isEmpty())
        reason = file.errorString();
    warn(QStringLiteral("Cannot save %1:\n%2").arg(QDir::toNativeSeparators(fileName), reason));
    return false;
}

// Unbuffered, so that a short write (a full disk) is seen here and not lost in a late flush
// that commit() would not report.
bool SongScript::writeAll(QSaveFile &file, const QByteArray &bytes, QString &reason)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
        return false;
    }
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            reason = file.errorString();
            return false;
        }
        done += written;
    }
    return true;
}

Song SongScript::collect(QButtonPanel *panel) const
{
    Song song;
    song.title = m_songInfo->title();
    song.artist = m_songInfo->artist();
    song.user = m_songInfo->user();
    song.lyrics = m_songInfo->lyrics();
    song.tapOrder = m_songInfo->tapOrder();
    song.alignType = panel->arrangement();
    song.panelWidth = m_panelWidth;
    song.panelHeight = m_panelHeight;
    QList<QSoundButton *> buttons;
    panel->buttons(buttons);
    for (const QSoundButton *button : buttons) {
        SongButton data;
        data.info = button->m_soundInfo;
        data.scale = button->m_scale;
        data.iconIndex = button->m_iconIndex;
        data.volPlay = button->m_volPlay;
        std::copy(std::begin(button->m_texts), std::end(button->m_texts), data.texts);
        data.pos = button->pos();
        song.buttons.append(data);
    }
    return song;
}

void SongScript::inform(const QString &text)
{
    QMessageBox::information(nullptr, MessageTitle, text, QMessageBox::Ok);
}

void SongScript::warn(const QString &text)
{
    QMessageBox::warning(m_panel->window(), SaveFailedTitle, text, QMessageBox::Ok);
}
