#include "app/SongFileCommands.h"

#include "app/Log.h"
#include "app/RecentSongs.h"
#include "app/SaveName.h"
#include "app/Settings.h"
#include "model/SongModel.h"
#include "script/SongFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {
const char *const ScriptFilter = "kdz script(*.kds)";
const QString ScriptSuffix = QStringLiteral("kds");
const QString FileDirKey = QStringLiteral("FileDir");
const QString LoadMessageTitle = QStringLiteral("Application name");
const QString SaveTitle = QStringLiteral("Save Script");

QString leftOutText(int count)
{
    const QString buttons =
        count == 1 ? QStringLiteral("1 button was") : QStringLiteral("%1 buttons were").arg(count);
    return QStringLiteral("The song has more buttons than the panel holds (%1): %2 left out.")
        .arg(SongModel::Capacity)
        .arg(buttons);
}

QString cannotOpenText(const QString &fileName)
{
    return QStringLiteral("Cannot open ") + fileName;
}
} // namespace

SongFileCommands::SongFileCommands(SongModel *song, QWidget *window)
    : QObject(window), m_song(song), m_window(window), m_savePath(QDir::currentPath()),
      m_fileDir(m_savePath)
{
}

void SongFileCommands::readFileDirSetting()
{
    if (m_fileDirUnread)
        m_fileDir = Settings::store().value(FileDirKey).toString();
}

bool SongFileCommands::isSongFileName(const QString &fileName)
{
    return QFileInfo(fileName).suffix().compare(ScriptSuffix, Qt::CaseInsensitive) == 0;
}

bool SongFileCommands::confirmUnsavedChanges()
{
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
    read(dialog.selectedFiles().constFirst());
}

void SongFileCommands::open(const QString &fileName)
{
    if (confirmUnsavedChanges())
        read(fileName);
}

// The file is read whole before the song is touched: a refused or unreadable file leaves the
// song as it was.
void SongFileCommands::read(const QString &fileName)
{
    qCDebug(lcApp) << fileName;
    Song song;
    QString reason;
    if (!SongFile::read(fileName, SongModel::Capacity, &song, &reason)) {
        reportLoad(cannotOpenText(fileName) + QLatin1Char('\n') + reason);
        return;
    }
    const int leftOut = m_song->loadSong(song);
    // A file without a single button section counts as not opened; its song information stays.
    const bool opened = !song.buttons.isEmpty() || leftOut > 0;
    m_fileName = opened && leftOut == 0 ? fileName : QString();
    if (opened)
        RecentSongs::add(fileName);
    m_fileDir = QFileInfo(fileName).absolutePath();
    Settings::store().setValue(FileDirKey, m_fileDir);
    m_fileDirUnread = false;
    if (!opened)
        reportLoad(cannotOpenText(fileName));
    else if (leftOut > 0)
        reportLoad(leftOutText(leftOut));
}

void SongFileCommands::reportLoad(const QString &text)
{
    QMessageBox::information(nullptr, LoadMessageTitle, text, QMessageBox::Ok);
}

// A name without the script suffix gets it: only ".kds" files read back as song scripts.
// The dialog asked about replacing the name as typed, so a suffixed name is asked about here.
QString SongFileCommands::chooseSaveName()
{
    return SaveName::choose(m_window, tr("Save Script"), m_savePath, tr(ScriptFilter),
                            ScriptSuffix);
}

bool SongFileCommands::save()
{
    return m_fileName.isEmpty() ? saveAs() : saveTo(m_fileName);
}

bool SongFileCommands::saveAs()
{
    const QString fileName = chooseSaveName();
    if (fileName.isEmpty())
        return false;
    m_savePath = fileName;
    return saveTo(fileName);
}

bool SongFileCommands::saveTo(const QString &fileName)
{
    readFileDirSetting();
    qCDebug(lcApp) << fileName;
    if (!write(fileName))
        return false;
    Settings::store().setValue(FileDirKey, m_fileDir);
    m_fileDirUnread = false;
    m_fileName = fileName;
    RecentSongs::add(fileName);
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
    QString reason;
    if (SongFile::write(fileName, m_song->toSong(), &reason))
        return true;
    QMessageBox::warning(
        m_window, SaveTitle,
        QStringLiteral("Cannot save %1:\n%2").arg(QDir::toNativeSeparators(fileName), reason),
        QMessageBox::Ok);
    return false;
}
