#include "app/RecoveryCommands.h"

#include "app/Log.h"
#include "app/SongFileCommands.h"
#include "history/SongHistory.h"

#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

RecoveryCommands::RecoveryCommands(SongHistory *history, SongFileCommands *files, QWidget *window)
    : QObject(window), m_history(history), m_files(files), m_window(window),
      m_recovery(new SongRecovery(history->song(), SongRecovery::defaultFolder(), this))
{
    m_recovery->setFileNameSource([files] { return files->fileName(); });
    connect(m_recovery, &SongRecovery::writeFailed, this,
            [](const QString &reason) { qCWarning(lcApp) << "no recovery copy:" << reason; });
}

void RecoveryCommands::offer()
{
    for (const SongRecovery::LeftCopy &copy : m_recovery->leftCopies()) {
        const Answer answer = ask(copy);
        if (answer == Answer::Discard) {
            SongRecovery::remove(copy.path);
            continue;
        }
        if (answer == Answer::Restore)
            restore(copy);
        return;
    }
}

RecoveryCommands::Answer RecoveryCommands::ask(const SongRecovery::LeftCopy &copy)
{
    const QString time = QLocale().toString(copy.time, QLocale::ShortFormat);
    QMessageBox box(QMessageBox::Information, QStringLiteral("Confirm"),
                    QStringLiteral("Restore the unsaved song from %1?").arg(time),
                    QMessageBox::NoButton, m_window);
    QPushButton *restore = box.addButton(QStringLiteral("Restore"), QMessageBox::ActionRole);
    QPushButton *discard = box.addButton(QStringLiteral("Discard"), QMessageBox::ActionRole);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore)
        return Answer::Restore;
    return box.clickedButton() == discard ? Answer::Discard : Answer::None;
}

// The restored song has unsaved changes that no undo takes back, and Save writes it where it
// came from. Its copy stays where it is, as this program's own. A copy that cannot be read
// stays for another try.
void RecoveryCommands::restore(const SongRecovery::LeftCopy &copy)
{
    const std::optional<Song> restored = SongRecovery::read(copy);
    if (!restored) {
        QMessageBox::information(m_window, QStringLiteral("Application name"),
                                 QStringLiteral("Cannot open ") + copy.path, QMessageBox::Ok);
        return;
    }
    SongModel *song = m_history->song();
    song->loadSong(*restored);
    m_recovery->adopt(copy);
    m_files->setFileName(copy.fileName);
    song->markUnsaved();
    m_history->stack()->resetClean();
}

void RecoveryCommands::keep()
{
    m_recovery->writeNow();
}

void RecoveryCommands::discard()
{
    m_recovery->discard();
}
