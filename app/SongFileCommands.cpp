#include "app/SongFileCommands.h"

#include "app/Log.h"
#include "model/CurrentSound.h"
#include "model/SongModel.h"
#include "script/SongFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace {
const char *const ScriptFilter = "kdz script(*.kds)";
const QString ScriptSuffix = QStringLiteral("kds");
const QString FileDirKey = QStringLiteral("FileDir");
const QString LoadMessageTitle = QStringLiteral("Application name");
const QString SaveTitle = QStringLiteral("Save Script");

QSettings settings()
{
    return QSettings(QStringLiteral("Ommerlund"), QStringLiteral("Kavendra"));
}

QString leftOutText(int count)
{
    const QString buttons =
        count == 1 ? QStringLiteral("1 button was") : QStringLiteral("%1 buttons were").arg(count);
    return QStringLiteral("The song has more buttons than the panel holds (%1): %2 left out.")
        .arg(SongModel::Capacity)
        .arg(buttons);
}
} // namespace

SongFileCommands::SongFileCommands(SongModel *song, CurrentSound *sound, QWidget *window)
    : QObject(window), m_song(song), m_sound(sound), m_window(window),
      m_savePath(QDir::currentPath()), m_fileDir(m_savePath)
{
}

void SongFileCommands::readFileDirSetting()
{
    if (m_fileDirUnread)
        m_fileDir = settings().value(FileDirKey).toString();
}

// Edits to the selected button count as changes: what the form shows is what gets saved.
bool SongFileCommands::confirmUnsavedChanges()
{
    m_song->setSelectedSound(m_sound->sound());
    if (!m_song->isModified())
        return true;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Confirm"),
                    QStringLiteral("The document has been changed since the last save."),
                    QMessageBox::NoButton, m_window);
    QPushButton *save = box.addButton(QStringLiteral("Save"), QMessageBox::ActionRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::ActionRole);
    QPushButton *leave = box.addButton(QStringLiteral("Leave Anyway"), QMessageBox::ActionRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return this->save();
    return box.clickedButton() == leave;
}

void SongFileCommands::load()
{
    if (!confirmUnsavedChanges())
        return;
    readFileDirSetting();
    QFileDialog dialog(m_window);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setNameFilter(tr(ScriptFilter));
    dialog.setDirectory(m_fileDir);
    if (!dialog.exec() || dialog.selectedFiles().isEmpty())
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    qCDebug(lcApp) << fileName;
    const Song song = SongFile::read(fileName, SongModel::Capacity);
    reportLoad(fileName, song.buttons.isEmpty(), m_song->loadSong(song));
    m_fileDir = QFileInfo(fileName).absolutePath();
    settings().setValue(FileDirKey, m_fileDir);
    m_fileDirUnread = false;
}

// A file without a single button section (or none at all) is reported as not opened.
void SongFileCommands::reportLoad(const QString &fileName, bool empty, int leftOut)
{
    QString text;
    if (empty && leftOut == 0)
        text = QStringLiteral("Cannot open ") + fileName;
    else if (leftOut > 0)
        text = leftOutText(leftOut);
    if (!text.isEmpty())
        QMessageBox::information(nullptr, LoadMessageTitle, text, QMessageBox::Ok);
}

// A name without the script suffix gets it: only ".kds" files read back as song scripts.
// The dialog asked about replacing the name as typed, so a suffixed name is asked about here.
QString SongFileCommands::chooseSaveName()
{
    const QString chosen =
        QFileDialog::getSaveFileName(m_window, tr("Save Script"), m_savePath, tr(ScriptFilter));
    if (chosen.isNull() || QFileInfo(chosen).suffix() == ScriptSuffix)
        return chosen;
    const QString fileName = chosen + QLatin1Char('.') + ScriptSuffix;
    if (!QFileInfo::exists(fileName))
        return fileName;
    const auto answer =
        QMessageBox::question(m_window, tr("Save Script"),
                              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(QDir::toNativeSeparators(fileName)));
    return answer == QMessageBox::Yes ? fileName : QString();
}

bool SongFileCommands::save()
{
    readFileDirSetting();
    const QString fileName = chooseSaveName();
    if (fileName.isNull())
        return false;
    m_savePath = fileName;
    qCDebug(lcApp) << fileName;
    if (!write(fileName))
        return false;
    settings().setValue(FileDirKey, m_fileDir);
    m_fileDirUnread = false;
    m_song->markSaved();
    return true;
}

bool SongFileCommands::writeTo(const QString &fileName)
{
    if (fileName.isNull())
        return false;
    qCDebug(lcApp) << fileName;
    return write(fileName);
}

bool SongFileCommands::write(const QString &fileName)
{
    m_song->setSelectedSound(m_sound->sound());
    QString reason;
    if (SongFile::write(fileName, m_song->toSong(), &reason))
        return true;
    QMessageBox::warning(
        m_window, SaveTitle,
        QStringLiteral("Cannot save %1:\n%2").arg(QDir::toNativeSeparators(fileName), reason),
        QMessageBox::Ok);
    return false;
}
