// The song's undo history: each edit undone and redone on its own, what merges into one step,
// what pushes nothing, a load's fresh start, and the unsaved flag following the clean state.
#include "history/SongHistory.h"
#include "script/Song.h"

#include <QTest>

namespace {
SoundInfo soundWithFret(int fret)
{
    SoundInfo sound;
    sound.reset();
    sound.fret[0][0] = fret;
    return sound;
}

// A loaded button keeps what the file gave it: a label, a scale, texts.
Song loadedSong()
{
    Song song;
    for (int i = 0; i < 3; ++i) {
        SongButton button;
        button.info = soundWithFret(i);
        button.iconIndex = 4 + i;
        button.scale = 80 + i;
        button.texts[0] = QStringLiteral("text %1").arg(i);
        button.hasLayout = true;
        button.layoutLabel = QStringLiteral("Am%1").arg(i);
        song.buttons.append(button);
    }
    song.title = QStringLiteral("Evening");
    return song;
}
} // namespace

class TestSongHistory : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addAndRemoveComeBackWhole();
    void moveAndSwapGoBack();
    void pictureChangeBringsTheLabelBack();
    void soundEditsMergeByKindAndSelection();
    void infoEditsMergeByField();
    void timingEditsMergeByKind();
    void unchangedEditsPushNothing();
    void loadStartsAFreshHistory();
    void unsavedFlagFollowsTheCleanState();

private:
    QUndoStack *stack() { return m_history->stack(); }

    std::unique_ptr<SongModel> m_song;
    std::unique_ptr<SongHistory> m_history;
};

void TestSongHistory::init()
{
    m_song = std::make_unique<SongModel>();
    m_history = std::make_unique<SongHistory>(m_song.get());
    m_song->loadSong(loadedSong());
}

void TestSongHistory::addAndRemoveComeBackWhole()
{
    const SongModel::Button second = *m_song->button(2);
    QVERIFY(m_history->removeButton(2));
    QVERIFY(!m_song->button(2));
    stack()->undo();
    const SongModel::Button *back = m_song->button(2);
    QVERIFY(back);
    QCOMPARE(m_song->cellOf(2), QPoint(1, 0));
    QCOMPARE(back->sound, second.sound);
    QCOMPARE(back->label(), QStringLiteral("Am1"));
    QCOMPARE(back->texts[0], QStringLiteral("text 1"));
    QCOMPARE(back->scale, 81);
    QCOMPARE(back->iconIndex, 5);
    stack()->redo();
    QVERIFY(!m_song->button(2));

    // The new button takes the freed number and cell; redone, it comes back the same.
    QCOMPARE(m_history->addButton(9, soundWithFret(7)), 2);
    QCOMPARE(stack()->undoText(), QStringLiteral("Add button 2"));
    stack()->undo();
    QVERIFY(!m_song->button(2));
    stack()->redo();
    QCOMPARE(m_song->cellOf(2), QPoint(1, 0));
    QCOMPARE(m_song->button(2)->sound, soundWithFret(7));
    QCOMPARE(m_song->button(2)->iconIndex, 9);

    QVERIFY(!m_history->removeButton(0));
    QVERIFY(!m_history->removeButton(12));
    while (m_history->addButton(0, SoundInfo()) != 0) {
    }
    QCOMPARE(m_song->numbers().size(), SongModel::Capacity);
    const int steps = stack()->count();
    QCOMPARE(m_history->addButton(0, SoundInfo()), 0);
    QCOMPARE(stack()->count(), steps);
}

void TestSongHistory::moveAndSwapGoBack()
{
    QVERIFY(m_history->moveButton(1, 8, 4));
    QVERIFY(m_history->moveButton(2, 8, 4)); // onto button 1: a swap
    QCOMPARE(m_song->cellOf(1), QPoint(1, 0));
    stack()->undo();
    QCOMPARE(m_song->cellOf(1), QPoint(8, 4));
    QCOMPARE(m_song->cellOf(2), QPoint(1, 0));
    stack()->undo();
    QCOMPARE(m_song->cellOf(1), QPoint(0, 0));
    stack()->redo();
    stack()->redo();
    QCOMPARE(m_song->cellOf(2), QPoint(8, 4));
    QCOMPARE(m_song->cellOf(1), QPoint(1, 0));
    const int steps = stack()->count();
    QVERIFY(!m_history->moveButton(2, 8, 4)); // its own cell
    QVERIFY(!m_history->moveButton(2, 9, 0));
    QVERIFY(!m_history->moveButton(2, 0, 5));
    QVERIFY(!m_history->moveButton(2, -1, 0));
    QVERIFY(!m_history->moveButton(7, 0, 0));
    QCOMPARE(stack()->count(), steps);
}

void TestSongHistory::pictureChangeBringsTheLabelBack()
{
    QVERIFY(m_history->setIcon(1, 4)); // the same picture; the label becomes the number
    QCOMPARE(m_song->button(1)->label(), QStringLiteral("1"));
    stack()->undo();
    QCOMPARE(m_song->button(1)->label(), QStringLiteral("Am0"));
    QCOMPARE(m_song->button(1)->iconIndex, 4);
    stack()->redo();
    QVERIFY(!m_history->setIcon(1, 4));
    QVERIFY(m_history->setIcon(1, 11));
    stack()->undo();
    QCOMPARE(m_song->button(1)->iconIndex, 4);
    QCOMPARE(m_song->button(1)->label(), QStringLiteral("1"));
}

// A knob turned is one step; a fret on another string is the next; a new selection starts anew.
void TestSongHistory::soundEditsMergeByKindAndSelection()
{
    m_song->select(1);
    SoundInfo sound = m_song->button(1)->sound;
    const SoundInfo loaded = sound;
    for (double vol : {90.0, 80.0, 70.0}) {
        sound.vol = vol;
        QVERIFY(m_history->setSound(1, sound));
    }
    sound.fret[0][1] = 3;
    m_history->setSound(1, sound);
    sound.fret[0][2] = 2;
    m_history->setSound(1, sound);
    QCOMPARE(stack()->count(), 3);
    stack()->undo();
    stack()->undo();
    QCOMPARE(m_song->button(1)->sound.fret[0][1], -1);
    QCOMPARE(m_song->button(1)->sound.vol, 70.0);
    stack()->undo();
    QCOMPARE(m_song->button(1)->sound, loaded);

    // Turned there and back: no step is left.
    sound = loaded;
    sound.hold = 50;
    m_history->setSound(1, sound);
    sound.hold = loaded.hold;
    m_history->setSound(1, sound);
    QCOMPARE(stack()->count(), 0);

    sound.hold = 40;
    m_history->setSound(1, sound);
    m_song->select(2);
    m_song->select(1);
    sound.hold = 30;
    m_history->setSound(1, sound);
    QCOMPARE(stack()->count(), 2);
}

void TestSongHistory::infoEditsMergeByField()
{
    for (const char *typed : {"E", "Ev", "Eve"})
        m_history->setInfo(SongModel::Artist, QString::fromLatin1(typed));
    m_history->setInfo(SongModel::Title, QStringLiteral("Night"));
    m_history->appendTap(3);
    m_history->appendTap(1);
    QCOMPARE(m_song->info(SongModel::TapOrder), QStringLiteral("2,0"));
    QCOMPARE(stack()->count(), 3);
    stack()->undo();
    QCOMPARE(m_song->info(SongModel::TapOrder), QString());
    stack()->undo();
    QCOMPARE(m_song->info(SongModel::Title), QStringLiteral("Evening"));
    stack()->undo();
    QCOMPARE(m_song->info(SongModel::Artist), QString());
    QCOMPARE(stack()->undoText(), QString());
}

void TestSongHistory::timingEditsMergeByKind()
{
    for (int tempo : {100, 96, 90})
        QVERIFY(m_history->setTempo(tempo));
    QVERIFY(m_history->setBeats(2));
    QVERIFY(m_history->setTempo(80));
    QCOMPARE(stack()->count(), 3);
    QVERIFY(!m_history->setTempo(80));
    QVERIFY(!m_history->setTempo(SongSchedule::MaxTempo + 1));
    QVERIFY(!m_history->setBeats(SongSchedule::MinBeats - 1));
    QCOMPARE(stack()->count(), 3);
    stack()->undo();
    QCOMPARE(m_song->tempo(), 90);
    stack()->undo();
    QCOMPARE(m_song->beats(), SongSchedule::DefaultBeats);
    QCOMPARE(m_song->tempo(), 90);
    stack()->undo();
    QCOMPARE(m_song->tempo(), SongSchedule::DefaultTempo);
    QVERIFY(!m_song->isModified());
    stack()->redo();
    QCOMPARE(m_song->tempo(), 90);

    // Turned away and back again is no step at all.
    m_history->setBeats(3);
    m_history->setBeats(SongSchedule::DefaultBeats);
    QCOMPARE(stack()->count(), 1);
}

// An edit that changes nothing is no step, and leaves what can be redone.
void TestSongHistory::unchangedEditsPushNothing()
{
    m_history->setInfo(SongModel::User, QStringLiteral("me"));
    stack()->undo();
    QVERIFY(!m_history->setInfo(SongModel::Title, QStringLiteral("Evening")));
    QVERIFY(!m_history->setSound(1, m_song->button(1)->sound));
    QVERIFY(!m_history->setSound(9, SoundInfo()));
    QVERIFY(!m_history->setIcon(9, 1));
    QVERIFY(stack()->canRedo());
    QVERIFY(!m_song->isModified());
}

void TestSongHistory::loadStartsAFreshHistory()
{
    m_history->removeButton(1);
    m_history->setInfo(SongModel::Title, QStringLiteral("x"));
    m_song->loadSong(loadedSong());
    QCOMPARE(stack()->count(), 0);
    QVERIFY(stack()->isClean());
    QVERIFY(!m_song->isModified());
}

void TestSongHistory::unsavedFlagFollowsTheCleanState()
{
    m_history->removeButton(3);
    QVERIFY(m_song->isModified());
    stack()->undo();
    QVERIFY2(!m_song->isModified(), "undone back to the loaded song");
    stack()->redo();
    QVERIFY(m_song->isModified());

    m_song->markSaved(); // a save
    QVERIFY(stack()->isClean());
    stack()->undo();
    QVERIFY(m_song->isModified());
    stack()->redo();
    QVERIFY(!m_song->isModified());

    // An edit after a save does not merge into the saved one: undo returns to the saved song.
    m_song->select(1);
    SoundInfo sound = m_song->button(1)->sound;
    sound.vol = 10;
    m_history->setSound(1, sound);
    m_song->markSaved();
    sound.vol = 20;
    m_history->setSound(1, sound);
    stack()->undo();
    QCOMPARE(m_song->button(1)->sound.vol, 10.0);
    QVERIFY(!m_song->isModified());
}

QTEST_MAIN(TestSongHistory)
#include "tst_songhistory.moc"
