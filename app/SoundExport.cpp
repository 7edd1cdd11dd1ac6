#include "app/SoundExport.h"

#include "app/SaveName.h"
#include "model/SongModel.h"
#include "model/SongRenderer.h"
#include "model/SongSchedule.h"
#include "sound/WaveFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace {
const char *const WaveFilter = "WAV sound (*.wav)";
const QString WaveSuffix = QStringLiteral("wav");
const QString ExportTitle = QStringLiteral("Export");

// A file name from a song's title or a button's label: no folder separators, no blanks at the
// ends; the fallback when nothing is left.
QString baseNameFrom(const QString &text, const QString &fallback)
{
    QString name = text.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char('\\'), QLatin1Char('-'));
    return name.isEmpty() ? fallback : name;
}
} // namespace

SoundExport::SoundExport(SongModel *song, SongRenderer *renderer, QWidget *window)
    : QObject(window), m_song(song), m_renderer(renderer), m_window(window),
      m_folder(QDir::currentPath())
{
}

void SoundExport::exportSound(const SoundInfo &sound)
{
    const QString fileName = chooseName(tr("Export Sound"), QStringLiteral("sound"));
    if (!fileName.isEmpty())
        write(fileName, m_renderer->renderSound(sound));
}

void SoundExport::exportButton(int number)
{
    const SongModel::Button *button = m_song->button(number);
    if (!button)
        return;
    const QString fileName = chooseName(
        tr("Export Sound"), baseNameFrom(button->label(), QStringLiteral("button %1").arg(number)));
    if (!fileName.isEmpty())
        write(fileName, m_renderer->renderButton(*m_song, number));
}

void SoundExport::exportSong()
{
    const SongSchedule schedule = m_song->schedule();
    if (schedule.entries().isEmpty()) {
        QMessageBox::information(m_window, ExportTitle,
                                 tr("The song has no tap order to export: record one in Song "
                                    "first."));
        return;
    }
    const QString fileName = chooseName(
        tr("Export Song"), baseNameFrom(m_song->info(SongModel::Title), QStringLiteral("song")));
    if (!fileName.isEmpty())
        write(fileName, m_renderer->renderSong(*m_song, schedule));
}

QString SoundExport::chooseName(const QString &title, const QString &baseName)
{
    const QString start = QDir(m_folder).filePath(baseName + QLatin1Char('.') + WaveSuffix);
    const QString fileName = SaveName::choose(m_window, title, start, tr(WaveFilter), WaveSuffix);
    if (!fileName.isEmpty())
        m_folder = QFileInfo(fileName).absolutePath();
    return fileName;
}

bool SoundExport::write(const QString &fileName, const QByteArray &pcm)
{
    QString reason;
    if (WaveFile::write(fileName, SongRenderer::sampleRate(), pcm, &reason))
        return true;
    QMessageBox::warning(m_window, ExportTitle, reason, QMessageBox::Ok);
    return false;
}
