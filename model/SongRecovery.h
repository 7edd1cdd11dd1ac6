#pragma once

#include "script/Song.h"

#include <QDateTime>
#include <QDir>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QLockFile;
class SongModel;

// A copy of the song kept while it has unsaved changes, so that a logout, a closed terminal or a
// crash loses nothing. It is written as a save writes the song, within WriteDelay of a change,
// and removed once the song is saved or its changes are dropped.
//
// Each running program owns one copy in the folder, "recovery.kds" or "recovery-N.kds", by
// holding the lock file "<copy>.lock"; it claims the first one that is neither locked nor left
// over. A copy whose lock nobody holds was left by a program that ended with unsaved changes.
// Beside each copy, "<copy>.name" holds the song's own file name (empty for a new song).
class SongRecovery : public QObject
{
    Q_OBJECT

public:
    static constexpr int WriteDelay = 2000;

    // A copy left behind by a program that no longer runs, held (locked) while this lives.
    struct LeftCopy
    {
        QString path;
        QDateTime time;
        QString fileName;
        std::shared_ptr<QLockFile> lock;
    };

    SongRecovery(SongModel *song, const QString &folder, QObject *parent = nullptr);
    ~SongRecovery() override;

    // $XDG_STATE_HOME/kavendra; ~/.local/state/kavendra when that is unset or not absolute.
    static QString defaultFolder();

    // This program's copy; empty when none could be claimed.
    QString path() const { return m_path; }
    // The song's own file name, asked at each write.
    void setFileNameSource(std::function<QString()> source) { m_fileName = std::move(source); }

    // Writes the copy at once when the song has unsaved changes. False when it could not be
    // written (writeFailed tells why).
    bool writeNow();
    // Removes this program's copy: the song was saved or its changes dropped.
    void discard();

    // The copies left behind, newest first.
    QList<LeftCopy> leftCopies() const;
    // Makes a left copy this program's own (its song was restored), in place of the copy
    // claimed at start, which must not have been written yet.
    void adopt(const LeftCopy &copy);
    // Nothing when the copy does not read as a song this program wrote (it always has a title).
    static std::optional<Song> read(const LeftCopy &copy);
    static void remove(const QString &copyPath);

signals:
    void writeFailed(const QString &reason);

private:
    static QString copyName(int slot);
    static QString nameFile(const QString &copyPath);
    void claim();
    void changed();
    void modifiedChanged(bool modified);
    bool writeFileName(QString *reason) const;

    SongModel *m_song;
    QDir m_folder;
    QString m_path;
    std::shared_ptr<QLockFile> m_lock;
    QTimer m_timer;
    std::function<QString()> m_fileName;
};
