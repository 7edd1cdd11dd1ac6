#pragma once

#include <QObject>
#include <QPoint>

class QButtonPanel;
class QImageButton;
class QLabel;
class QNumericLineEdit;
class QWidget;
class SongHistory;
class SongModel;
class SongPlayer;
class SongRenderer;

// The song player's strip under the stroke rows: play or stop, loop, what is playing (and which
// tap order entries are left out), the tempo and the beats per entry. A view of the song's tempo
// and beats, edited through its history, and of the player, whose playing button the panel
// lights. The buttons' sounds are rendered when play is pressed, so edits since show next time.
class SongPlayerBar : public QObject
{
    Q_OBJECT

public:
    // The controls become children of the window, placed in its coordinates.
    SongPlayerBar(SongHistory *history, SongRenderer *renderer, QButtonPanel *panel,
                  QWidget *window);

    SongPlayer *player() const { return m_player; }

    void togglePlay();
    void toggleLoop();
    void stop();

signals:
    // A right click on the play key asked for the menu.
    void menuRequested(QPoint globalPos);

private:
    friend class TestMainWindow;

    void createKeys(QWidget *window);
    void createStatus(QWidget *window);
    void createFields(QWidget *window);
    void commit(QNumericLineEdit *edit);
    void showTempoAndBeats();
    void showPlayKey();
    void showStatus();
    void onEntryStarted(int position, int number);
    void onFinished();

    SongHistory *m_history;
    SongModel *m_song;
    SongRenderer *m_renderer;
    QButtonPanel *m_panel;
    SongPlayer *m_player;
    QImageButton *m_playKey = nullptr;
    QImageButton *m_loopKey = nullptr;
    QLabel *m_status = nullptr;
    QNumericLineEdit *m_tempoEdit = nullptr;
    QNumericLineEdit *m_beatsEdit = nullptr;
    // The entry playing, counted in the schedule; -1 when none.
    int m_playingIndex = -1;
    int m_playingCount = 0;
};
