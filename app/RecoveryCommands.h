#pragma once

#include "model/SongRecovery.h"

#include <QObject>

class QWidget;
class SongFileCommands;
class SongHistory;

// The recovery copy as the user meets it: at start the question whether to restore a copy a
// program left behind, the copy written at once when the session or a signal ends the program,
// and dropped with the song's changes when the user leaves them on purpose.
class RecoveryCommands : public QObject
{
    Q_OBJECT

public:
    RecoveryCommands(SongHistory *history, SongFileCommands *files, QWidget *window);

    // Offers the copies left behind, newest first, until one is restored; an unanswered
    // question leaves the rest for the next start.
    void offer();
    // Without a dialog: the program is about to end.
    void keep();
    // The user dropped the song's changes.
    void discard();

private:
    enum class Answer { Restore, Discard, None };

    Answer ask(const SongRecovery::LeftCopy &copy);
    void restore(const SongRecovery::LeftCopy &copy);

    SongHistory *m_history;
    SongFileCommands *m_files;
    QWidget *m_window;
    SongRecovery *m_recovery;
};
