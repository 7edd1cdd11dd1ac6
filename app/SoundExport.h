#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QWidget;
class SongModel;
class SongRenderer;
class SoundInfo;

// Export of the form's sound, one button's sound or the whole song (as the player plays it) to
// a WAV file in the strum file's format, named in a save dialog with the ".wav" suffix rule.
// A file that cannot be written is reported with the reason and leaves nothing behind.
class SoundExport : public QObject
{
    Q_OBJECT

public:
    // Dialogs and messages open over the window; the first dialog opens in the current folder.
    SoundExport(SongModel *song, SongRenderer *renderer, QWidget *window);

    void exportSound(const SoundInfo &sound);
    void exportButton(int number);
    void exportSong();

    // Writes the samples without a dialog; a failure is reported.
    bool write(const QString &fileName, const QByteArray &pcm);

private:
    QString chooseName(const QString &title, const QString &baseName);

    SongModel *m_song;
    SongRenderer *m_renderer;
    QWidget *m_window;
    // Where the dialog opens: the folder exported to last.
    QString m_folder;
};
