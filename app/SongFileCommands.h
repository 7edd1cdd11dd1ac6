#pragma once

#include <QObject>
#include <QString>

class QWidget;
class SongModel;

// Load, Save and Save As of the song, with their file dialogs, the unsaved-changes question, the
// remembered load folder (setting "FileDir"), the ".kds" suffix rule and the recent songs.
// The song's file is the one it was loaded from or saved to last: Save writes there without
// asking, as long as the load took the whole file.
class SongFileCommands : public QObject
{
    Q_OBJECT

public:
    // Dialogs and messages open over the window.
    SongFileCommands(SongModel *song, QWidget *window);

    // Asks for a file, after the unsaved-changes question.
    void load();
    // Loads the given file, after the unsaved-changes question.
    void open(const QString &fileName);
    // True when the song was written; false when cancelled or failed (already reported).
    bool save();
    // Always asks for a name.
    bool saveAs();
    // Asks about unsaved changes; true when the caller may drop them.
    bool confirmUnsavedChanges();
    // Writes the song without dialogs and without touching the unsaved flag (the upload's
    // copy); a failure is reported.
    bool writeTo(const QString &fileName);

    QString fileName() const { return m_fileName; }
    // The file a restored song came from.
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    // A name a song script goes by (".kds", in any case).
    static bool isSongFileName(const QString &fileName);

private:
    void readFileDirSetting();
    void read(const QString &fileName);
    QString chooseSaveName();
    bool saveTo(const QString &fileName);
    bool write(const QString &fileName);
    void reportLoad(const QString &text);

    SongModel *m_song;
    QWidget *m_window;
    // Where the save dialog starts: the folder current at start, then the file saved last.
    QString m_savePath;
    // Where the load dialog opens: the folder of the file loaded last.
    QString m_fileDir;
    bool m_fileDirUnread = true;
    // The song's file; empty for a new song or one that was not loaded whole.
    QString m_fileName;
};
