#pragma once

#include <QObject>
#include <QString>

class CurrentSound;
class QWidget;
class SongModel;

// Load and Save of the song, with their file dialogs, the unsaved-changes question, the
// remembered load folder (setting "FileDir") and the ".kds" suffix rule. Every write first
// gives the selected button what the form shows for it.
class SongFileCommands : public QObject
{
    Q_OBJECT

public:
    // Dialogs and messages open over the window.
    SongFileCommands(SongModel *song, CurrentSound *sound, QWidget *window);

    void load();
    // True when the song was written; false when cancelled or failed (already reported).
    bool save();
    // Asks about unsaved changes; true when the caller may drop them.
    bool confirmUnsavedChanges();
    // Writes the song without dialogs and without touching the unsaved flag (the upload's
    // copy); a failure is reported.
    bool writeTo(const QString &fileName);

private:
    void readFileDirSetting();
    QString chooseSaveName();
    bool write(const QString &fileName);
    void reportLoad(const QString &fileName, bool empty, int leftOut);

    SongModel *m_song;
    CurrentSound *m_sound;
    QWidget *m_window;
    // Where the save dialog starts: the folder current at start, then the file saved last.
    QString m_savePath;
    // Where the load dialog opens: the folder of the file loaded last.
    QString m_fileDir;
    bool m_fileDirUnread = true;
};
