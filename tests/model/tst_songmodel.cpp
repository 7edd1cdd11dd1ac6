// The song model without widgets: each operation on its own with its signals and the unsaved
// flag, the placement rules, and the conversion to and from the file format.
#include "model/SongModel.h"
#include "model/SongSchedule.h"
#include "script/Song.h"
#include "script/SongFile.h"
#include "script/SongScriptWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
SoundInfo soundWithFret(int fret)
{
    SoundInfo sound;
    sound.reset();
    sound.fret[0][0] = fret;
    return sound;
}

// A model with n buttons and nothing unsaved.
void addButtons(SongModel &model, int n)
{
    for (int i = 0; i < n; ++i)
        QVERIFY(model.addButton(0, soundWithFret(i)));
    model.markSaved();
}

SongButton fileButton(int gt)
{
    SongButton button;
    button.info.gt = gt;
    return button;
}

// Texts that one-line fields keep: no line breaks, no blanks at the ends or in runs.
const QStringList Words = {
    QStringLiteral("la"),      QStringLiteral("[Chorus]"), QStringLiteral("a,b"),
    QStringLiteral("Ünïcødé"), QStringLiteral("日本語"),   QStringLiteral("😀"),
    QStringLiteral("]"),       QStringLiteral("&#91;"),    QStringLiteral("&"),
    QStringLiteral("[multi"),  QStringLiteral("x]y[z"),    QStringLiteral("Ωmega")};

class SongGenerator
{
public:
    explicit SongGenerator(quint32 seed) : m_random(seed) {}

    Song song()
    {
        Song song;
        song.title = line();
        song.artist = line();
        song.user = line();
        song.lyrics = lyrics();
        song.tapOrder = tapOrder();
        if (m_random.bounded(2))
            song.tempo = int(m_random.bounded(SongSchedule::MinTempo, SongSchedule::MaxTempo + 1));
        if (m_random.bounded(2))
            song.beats = int(m_random.bounded(SongSchedule::MinBeats, SongSchedule::MaxBeats + 1));
        for (int i = int(m_random.bounded(SongModel::Capacity + 1)); i > 0; --i)
            song.buttons.append(button());
        return song;
    }

private:
    QString line(bool commas = true)
    {
        QStringList words;
        for (int i = int(m_random.bounded(5)); i > 0; --i) {
            QString word = Words.at(int(m_random.bounded(qsizetype(Words.size()))));
            words << (commas ? word : word.remove(QLatin1Char(',')));
        }
        return words.join(QLatin1Char(' '));
    }

    QString lyrics()
    {
        QString text;
        const int lines = int(m_random.bounded(6));
        for (int i = 0; i < lines; ++i)
            text += QStringLiteral("  ") + line() + (i + 1 < lines ? "\n" : "");
        return text;
    }

    QString tapOrder()
    {
        QStringList taps;
        for (int i = int(m_random.bounded(20)); i > 0; --i)
            taps << QString::number(m_random.bounded(45));
        return taps.join(QLatin1Char(','));
    }

    // Values of at most 15 significant digits, which the file keeps exactly.
    double real(int limit) { return m_random.bounded(limit * 100) / 100.0; }

    SongButton button()
    {
        SongButton button;
        SoundInfo &info = button.info;
        for (auto &stroke : info.fret)
            for (int &fret : stroke)
                fret = int(m_random.bounded(26)) - 1;
        for (double &offset : info.time_offset)
            offset = real(2000);
        for (int r = 0; r < SoundInfo::Strokes; ++r) {
            info.strum_speed[r] = real(300);
            // A zero speed has no direction in the file.
            info.direction[r] = info.strum_speed[r] > 0 && m_random.bounded(2) ? -1 : 1;
        }
        info.gt = int(m_random.bounded(3));
        info.hold = real(1000);
        info.vol = real(100);
        button.scale = int(m_random.bounded(-50, 500));
        button.iconIndex = int(m_random.bounded(-2, 16));
        // The file keeps single precision.
        button.volPlay = double(float(m_random.generateDouble() * 4));
        // Only the last text may hold commas: the first two are separated by them.
        button.texts[0] = line(false);
        button.texts[1] = line(false);
        button.texts[2] = line();
        button.hasLayout = true;
        button.layoutLabel = button.texts[2];
        return button;
    }

    QRandomGenerator m_random;
};
} // namespace

class TestSongModel : public QObject
{
    Q_OBJECT

private slots:
    void addFillsRowsWithLowestFreeNumber();
    void fullGridAddsNothing();
    void removeFreesNumberAndCell();
    void numbersFollowLowestFreeNumberNotCell();
    void moveAndSwap();
    void setIconIsAChangeAndShowsTheNumber();
    void setSoundOnlyWhenDifferent();
    void insertAndReplaceTakeWholeButtons();
    void selection();
    void songInformationAndTaps();
    void tempoAndBeats();
    void songAtTheDefaultsSavesAsBefore();
    void modifiedChangesOnlyOnTransitions();
    void toSongCarriesGridPixels();
    void loadSongReplacesEverything();
    void loadSongLeavesOutBeyondTheGrid();
    void randomSongsRoundTrip();
    void scheduleSkipsMissingButtons();
    void scheduleStartsNeverDrift();
};

void TestSongModel::addFillsRowsWithLowestFreeNumber()
{
    SongModel model;
    QSignalSpy added(&model, &SongModel::buttonAdded);
    QSignalSpy modified(&model, &SongModel::modifiedChanged);
    for (int i = 1; i <= 10; ++i) {
        QCOMPARE(model.addButton(i % 3, soundWithFret(i)), i);
        QCOMPARE(model.button(i)->sound.fret[0][0], i);
        QCOMPARE(model.button(i)->iconIndex, i % 3);
        QCOMPARE(model.button(i)->label(), QString::number(i));
    }
    QCOMPARE(model.cellOf(1), QPoint(0, 0));
    QCOMPARE(model.cellOf(9), QPoint(8, 0));
    QCOMPARE(model.cellOf(10), QPoint(0, 1));
    QCOMPARE(model.numberAt(0, 1), 10);
    QCOMPARE(model.numberAt(9, 0), 0);
    QCOMPARE(model.cellOf(11), QPoint(-1, -1));
    QCOMPARE(added.size(), 10);
    QCOMPARE(added.last().at(0).toInt(), 10);
    QVERIFY(model.isModified());
    QCOMPARE(modified.size(), 1);
}

void TestSongModel::fullGridAddsNothing()
{
    SongModel model;
    addButtons(model, SongModel::Capacity - 1);
    QCOMPARE(model.addButton(0, SoundInfo()), SongModel::Capacity);
    QCOMPARE(model.cellOf(45), QPoint(8, 4));
    model.markSaved();
    QSignalSpy added(&model, &SongModel::buttonAdded);
    QCOMPARE(model.addButton(0, SoundInfo()), 0);
    QCOMPARE(added.size(), 0);
    QVERIFY(!model.isModified());
    QCOMPARE(model.numbers().size(), SongModel::Capacity);
}

void TestSongModel::removeFreesNumberAndCell()
{
    SongModel model;
    addButtons(model, 5);
    QVERIFY(!model.removeButton(0));
    QVERIFY(!model.removeButton(6));
    QVERIFY(!model.isModified());

    model.select(3);
    QStringList events;
    connect(&model, &SongModel::selectionChanged, this,
            [&](int n) { events << "select " + QString::number(n); });
    connect(&model, &SongModel::buttonRemoved, this,
            [&](int n) { events << "remove " + QString::number(n); });
    QVERIFY(model.removeButton(3));
    // Views let go of the selection before the button goes.
    QCOMPARE(events, (QStringList{"select 0", "remove 3"}));
    QCOMPARE(model.selected(), 0);
    QVERIFY(model.isModified());
    QVERIFY(!model.button(3));
    QCOMPARE(model.numberAt(2, 0), 0);
    QCOMPARE(model.numberAt(3, 0), 4);

    QCOMPARE(model.addButton(0, SoundInfo()), 3);
    QCOMPARE(model.cellOf(3), QPoint(2, 0));
    QCOMPARE(model.addButton(0, SoundInfo()), 6);
}

void TestSongModel::numbersFollowLowestFreeNumberNotCell()
{
    SongModel model;
    addButtons(model, 2);
    QVERIFY(model.moveButton(1, 1, 1));
    QCOMPARE(model.addButton(0, SoundInfo()), 3);
    QCOMPARE(model.cellOf(3), QPoint(0, 0));
    QCOMPARE(model.cellOf(2), QPoint(1, 0));
}

void TestSongModel::moveAndSwap()
{
    SongModel model;
    addButtons(model, 2);
    QSignalSpy moved(&model, &SongModel::buttonMoved);

    QVERIFY(!model.moveButton(1, 0, 0)); // its own cell
    QVERIFY(!model.moveButton(1, 9, 0)); // outside the grid
    QVERIFY(!model.moveButton(1, 0, 5));
    QVERIFY(!model.moveButton(1, -1, 0));
    QVERIFY(!model.moveButton(7, 3, 3)); // no such button
    QCOMPARE(moved.size(), 0);
    QVERIFY(!model.isModified());

    QVERIFY(model.moveButton(1, 8, 4)); // the last cell
    QCOMPARE(model.cellOf(1), QPoint(8, 4));
    QCOMPARE(model.numberAt(0, 0), 0);
    QCOMPARE(moved.size(), 1);
    QVERIFY(model.isModified());

    QVERIFY(model.moveButton(2, 8, 4)); // onto button 1: they swap
    QCOMPARE(model.cellOf(2), QPoint(8, 4));
    QCOMPARE(model.cellOf(1), QPoint(1, 0));
    QCOMPARE(moved.size(), 3);
    QCOMPARE(model.numbers(), (QList<int>{1, 2}));
}

void TestSongModel::setIconIsAChangeAndShowsTheNumber()
{
    SongModel model;
    Song song;
    SongButton labelled;
    labelled.hasLayout = true;
    labelled.layoutLabel = QStringLiteral("Hi");
    song.buttons = {labelled};
    model.loadSong(song);
    QCOMPARE(model.button(1)->label(), QStringLiteral("Hi"));

    QSignalSpy changed(&model, &SongModel::buttonChanged);
    QVERIFY(model.setIcon(1, 0)); // the same picture, but the label goes back to the number
    QCOMPARE(model.button(1)->label(), QStringLiteral("1"));
    QVERIFY(model.isModified());
    QCOMPARE(changed.size(), 1);

    model.markSaved();
    QVERIFY(!model.setIcon(1, 0));
    QVERIFY(!model.isModified());
    QVERIFY(model.setIcon(1, 12));
    QCOMPARE(model.button(1)->iconIndex, 12);
    QVERIFY(model.isModified());
    QVERIFY(!model.setIcon(2, 3));
}

void TestSongModel::setSoundOnlyWhenDifferent()
{
    SongModel model;
    addButtons(model, 2);
    QSignalSpy changed(&model, &SongModel::buttonChanged);
    QVERIFY(!model.setSound(1, soundWithFret(0)));
    QVERIFY(!model.isModified());
    QVERIFY(model.setSound(1, soundWithFret(7)));
    QCOMPARE(model.button(1)->sound.fret[0][0], 7);
    QCOMPARE(changed.size(), 1);
    QVERIFY(model.isModified());
}

// What undo puts back: a removed button in its cell, a button's earlier look and texts.
void TestSongModel::insertAndReplaceTakeWholeButtons()
{
    SongModel model;
    addButtons(model, 3);
    SongModel::Button button = *model.button(2);
    button.texts[0] = QStringLiteral("kept");
    button.scale = 70;
    QVERIFY(model.removeButton(2));
    model.markSaved();
    QSignalSpy added(&model, &SongModel::buttonAdded);
    QVERIFY(!model.insertButton(button, QPoint(2, 0))); // taken by button 3
    QVERIFY(!model.insertButton(button, QPoint(9, 0)));
    QVERIFY(!model.insertButton(button, QPoint(0, 5)));
    QVERIFY(!model.insertButton(button, QPoint(-1, 0)));
    SongModel::Button taken = button;
    taken.number = 3;
    QVERIFY(!model.insertButton(taken, QPoint(8, 4))); // its number is in use
    taken.number = 0;
    QVERIFY(!model.insertButton(taken, QPoint(8, 4)));
    QCOMPARE(added.size(), 0);
    QVERIFY(!model.isModified());
    QVERIFY(model.insertButton(button, QPoint(8, 4))); // the last cell
    QCOMPARE(model.cellOf(2), QPoint(8, 4));
    QCOMPARE(model.button(2)->texts[0], QStringLiteral("kept"));
    QCOMPARE(added.size(), 1);
    QVERIFY(model.isModified());

    model.markSaved();
    SongModel::Button changed = *model.button(1);
    changed.iconIndex = 9;
    changed.texts[SongModel::Button::LabelText] = QStringLiteral("Em");
    QVERIFY(model.replaceButton(changed));
    QCOMPARE(model.button(1)->label(), QStringLiteral("Em"));
    QCOMPARE(model.button(1)->iconIndex, 9);
    QVERIFY(model.isModified());
    changed.number = 7;
    QVERIFY(!model.replaceButton(changed));
}

void TestSongModel::selection()
{
    SongModel model;
    addButtons(model, 2);
    QSignalSpy selected(&model, &SongModel::selectionChanged);
    model.select(5);
    QCOMPARE(model.selected(), 0);
    model.select(2);
    model.select(2);
    QCOMPARE(model.selected(), 2);
    model.select(0);
    QCOMPARE(selected.size(), 2);
    QVERIFY2(!model.isModified(), "selecting is no change of the song");
}

void TestSongModel::songInformationAndTaps()
{
    SongModel model;
    QSignalSpy changed(&model, &SongModel::infoChanged);
    model.setInfo(SongModel::Title, QStringLiteral("Evening"));
    QCOMPARE(model.info(SongModel::Title), QStringLiteral("Evening"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).value<SongModel::InfoField>(), SongModel::Title);
    QVERIFY(model.isModified());

    model.markSaved();
    model.setInfo(SongModel::Title, QStringLiteral("Evening"));
    QCOMPARE(changed.size(), 1);
    QVERIFY(!model.isModified());

    // Taps count buttons from 0, separated by commas.
    QCOMPARE(SongModel::tapOrderWith(QString(), 2), QStringLiteral("1"));
    QCOMPARE(SongModel::tapOrderWith(QStringLiteral("1,4"), 2), QStringLiteral("1,4,1"));
    QCOMPARE(SongModel::tapOrderWith(QStringLiteral("7,"), 1), QStringLiteral("7,,0"));
}

void TestSongModel::tempoAndBeats()
{
    SongModel model;
    QSignalSpy tempo(&model, &SongModel::tempoChanged);
    QSignalSpy beats(&model, &SongModel::beatsChanged);
    QCOMPARE(model.tempo(), SongSchedule::DefaultTempo);
    QCOMPARE(model.beats(), SongSchedule::DefaultBeats);
    QVERIFY(!model.setTempo(SongSchedule::DefaultTempo));
    QVERIFY(!model.setTempo(SongSchedule::MaxTempo + 1));
    QVERIFY(!model.setBeats(SongSchedule::MinBeats - 1));
    QVERIFY(!model.isModified());
    QVERIFY(model.setTempo(SongSchedule::MaxTempo));
    QVERIFY(model.setBeats(SongSchedule::MaxBeats));
    QCOMPARE(tempo.size(), 1);
    QCOMPARE(tempo.at(0).at(0).toInt(), SongSchedule::MaxTempo);
    QCOMPARE(beats.at(0).at(0).toInt(), SongSchedule::MaxBeats);
    QVERIFY(model.isModified());

    Song song = model.toSong();
    QCOMPARE(song.tempo, std::optional<int>(SongSchedule::MaxTempo));
    QCOMPARE(song.beats, std::optional<int>(SongSchedule::MaxBeats));
    // A song without the records, or with values beyond the limits, plays at the defaults.
    song.beats = SongSchedule::MaxBeats + 1;
    model.loadSong(song);
    QCOMPARE(model.tempo(), SongSchedule::MaxTempo);
    QCOMPARE(model.beats(), SongSchedule::DefaultBeats);
    song.tempo = SongSchedule::MinTempo - 1;
    model.loadSong(song);
    QCOMPARE(model.tempo(), SongSchedule::DefaultTempo);
    model.setTempo(SongSchedule::MinTempo);
    model.loadSong(Song());
    QCOMPARE(model.tempo(), SongSchedule::DefaultTempo);
}

// A file without tempo records comes out byte for byte as it went in; set ones are written.
void TestSongModel::songAtTheDefaultsSavesAsBefore()
{
    QFile file(QStringLiteral(KAVENDRA_SOURCE_DIR "/tests/script/data/example.kds"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    SongModel model;
    model.loadSong(SongFile::read(file.fileName(), SongModel::Capacity));
    QCOMPARE(model.numbers().size(), 1);
    QCOMPARE(SongScriptWriter::write(model.toSong()), bytes);

    model.setTempo(96);
    model.setBeats(2);
    const QByteArray timed = SongScriptWriter::write(model.toSong());
    QVERIFY(timed.contains("[tap_order,0,1,1,0]\n[tempo,96]\n[beats,2]\n]\n"));
    model.setTempo(SongSchedule::DefaultTempo);
    model.setBeats(SongSchedule::DefaultBeats);
    QCOMPARE(SongScriptWriter::write(model.toSong()), bytes);
}

void TestSongModel::modifiedChangesOnlyOnTransitions()
{
    SongModel model;
    QSignalSpy modified(&model, &SongModel::modifiedChanged);
    model.markSaved();
    QCOMPARE(modified.size(), 0);
    model.addButton(0, SoundInfo());
    model.addButton(0, SoundInfo());
    QCOMPARE(modified.size(), 1);
    model.markSaved();
    QCOMPARE(modified.size(), 2);
    QCOMPARE(modified.last().at(0).toBool(), false);
}

void TestSongModel::toSongCarriesGridPixels()
{
    SongModel model;
    addButtons(model, 3);
    model.moveButton(1, 0, 1);
    model.moveButton(2, 8, 0);
    model.setInfo(SongModel::Lyrics, QStringLiteral("la\nla"));
    const Song song = model.toSong();
    QCOMPARE(song.panelWidth, 311);
    QCOMPARE(song.panelHeight, 160);
    QCOMPARE(song.alignType, std::optional<int>(Song::GridArrangement));
    QCOMPARE(song.lyrics, std::optional<QString>(QStringLiteral("la\nla")));
    QCOMPARE(song.title, std::optional<QString>(QString()));
    // Row by row: button 3 (2, 0), button 2 (8, 0), button 1 (0, 1).
    QCOMPARE(song.buttons.size(), 3);
    QCOMPARE(song.buttons[0].pos, QPoint(62, 0));
    QCOMPARE(song.buttons[1].pos, QPoint(248, 0));
    QCOMPARE(song.buttons[2].pos, QPoint(0, 32));
    QCOMPARE(song.buttons[2].info.fret[0][0], 0);
    QCOMPARE(song.buttons[1].texts[SongButton::LabelText], QStringLiteral("2"));
}

void TestSongModel::loadSongReplacesEverything()
{
    SongModel model;
    addButtons(model, 5);
    model.setInfo(SongModel::Title, QStringLiteral("Kept"));
    model.setInfo(SongModel::Artist, QStringLiteral("Replaced"));
    model.select(4);

    Song song;
    song.artist = QStringLiteral("Band");
    song.tapOrder = QString();
    SongButton plain = fileButton(2);
    plain.texts[0] = QStringLiteral("a");
    plain.texts[2] = QStringLiteral("not drawn");
    SongButton labelled = fileButton(1);
    labelled.iconIndex = 20;
    labelled.volPlay = double(0.3f);
    labelled.scale = 7;
    labelled.hasLayout = true;
    labelled.layoutLabel = QStringLiteral("Hi");
    song.buttons = {plain, labelled};

    QSignalSpy replaced(&model, &SongModel::songReplaced);
    QSignalSpy selected(&model, &SongModel::selectionChanged);
    QCOMPARE(model.loadSong(song), 0);
    QCOMPARE(replaced.size(), 1);
    QCOMPARE(selected.size(), 1);
    QVERIFY(!model.isModified());
    QCOMPARE(model.selected(), 0);
    QCOMPARE(model.numbers(), (QList<int>{1, 2}));
    QCOMPARE(model.info(SongModel::Title), QStringLiteral("Kept"));
    QCOMPARE(model.info(SongModel::Artist), QStringLiteral("Band"));
    // No "layout" record: the button shows its number, as one made on the panel does.
    QCOMPARE(model.button(1)->label(), QStringLiteral("1"));
    QCOMPARE(model.button(1)->texts[0], QStringLiteral("a"));
    QCOMPARE(model.button(1)->sound.gt, 2);
    QCOMPARE(model.button(2)->label(), QStringLiteral("Hi"));
    QCOMPARE(model.button(2)->iconIndex, 20);
    QCOMPARE(model.button(2)->volPlay, double(0.3f));
    QCOMPARE(model.button(2)->scale, 7);
    QCOMPARE(model.cellOf(2), QPoint(1, 0));

    // An empty song empties the grid.
    QCOMPARE(model.loadSong(Song()), 0);
    QVERIFY(model.numbers().isEmpty());
}

void TestSongModel::loadSongLeavesOutBeyondTheGrid()
{
    SongModel model;
    Song song;
    for (int i = 0; i < SongModel::Capacity; ++i)
        song.buttons.append(fileButton(i % 3));
    QCOMPARE(model.loadSong(song), 0);
    QCOMPARE(model.numbers().size(), SongModel::Capacity);
    QCOMPARE(model.button(45)->sound.gt, 44 % 3);

    song.leftOutButtons = 2; // counted by the reader
    QCOMPARE(model.loadSong(song), 2);
    song.buttons.append(fileButton(0));
    QCOMPARE(model.loadSong(song), 3);
    QCOMPARE(model.numbers().size(), SongModel::Capacity);
}

void TestSongModel::randomSongsRoundTrip()
{
    const int songs = qEnvironmentVariableIntValue("KAVENDRA_ROUND_TRIPS") > 0
                          ? qEnvironmentVariableIntValue("KAVENDRA_ROUND_TRIPS")
                          : 2000;
    SongGenerator generator(20261207);
    // Memory-backed when there is one: every save syncs the file to its disk.
    const QString shm = QStringLiteral("/dev/shm");
    QTemporaryDir dir((QFileInfo(shm).isWritable() ? shm : QDir::tempPath()) +
                      QStringLiteral("/kavendra-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("random.kds"));
    for (int n = 0; n < songs; ++n) {
        SongModel original;
        original.loadSong(generator.song());
        QString reason;
        QVERIFY2(SongFile::write(path, original.toSong(), &reason), qPrintable(reason));
        SongModel back;
        back.loadSong(SongFile::read(path, SongModel::Capacity));

        const QString context = QStringLiteral("song %1").arg(n);
        for (int field = 0; field < SongModel::InfoFieldCount; ++field) {
            const auto f = SongModel::InfoField(field);
            QVERIFY2(back.info(f) == original.info(f), qPrintable(context));
        }
        QCOMPARE(back.tempo(), original.tempo());
        QCOMPARE(back.beats(), original.beats());
        QCOMPARE(back.numbers(), original.numbers());
        for (int number : original.numbers()) {
            const SongModel::Button *a = original.button(number);
            const SongModel::Button *b = back.button(number);
            QVERIFY2(b->sound == a->sound, qPrintable(context));
            QCOMPARE(b->iconIndex, a->iconIndex);
            QCOMPARE(b->scale, a->scale);
            QCOMPARE(b->volPlay, a->volPlay);
            for (int t = 0; t < SongModel::Button::TextCount; ++t)
                QCOMPARE(b->texts[t], a->texts[t]);
        }
    }
}

void TestSongModel::scheduleSkipsMissingButtons()
{
    const auto exists = [](int number) { return number == 1 || number == 3; };
    const SongSchedule schedule(QStringLiteral("0, 2,,1,x,2,-1"), exists);
    QCOMPARE(schedule.entries().size(), 3);
    QCOMPARE(schedule.entries()[0].number, 1);
    QCOMPARE(schedule.entries()[1].number, 3);
    QCOMPARE(schedule.entries()[2].position, 5);
    QCOMPARE(schedule.skipped(), QStringList({"1", "x", "-1"}));
    QVERIFY(SongSchedule(QString(), exists).entries().isEmpty());
}

void TestSongModel::scheduleStartsNeverDrift()
{
    const auto any = [](int) { return true; };
    // 110 beats per minute: 24054.5 samples an entry, so per-entry rounding would drift.
    const SongSchedule schedule(QStringLiteral("0"), any, 110, 1);
    QCOMPARE(schedule.startFrame(0, 44100), 0);
    QCOMPARE(schedule.startFrame(1, 44100), 24055);
    QCOMPARE(schedule.startFrame(200, 44100), 4810909);
    QCOMPARE(SongSchedule(QString(), any, 120, 3).startFrame(2, 16000), 48000);
    QCOMPARE(SongSchedule(QString(), any, 120, 3).entryMilliseconds(), 1500.0);
    // Out-of-range settings are brought to the nearest valid one.
    QCOMPARE(SongSchedule(QString(), any, SongSchedule::MinTempo - 1, 0).tempo(),
             SongSchedule::MinTempo);
    QCOMPARE(SongSchedule(QString(), any, SongSchedule::MaxTempo + 1, 17).beats(),
             SongSchedule::MaxBeats);
    QVERIFY(SongSchedule::isValidTempo(SongSchedule::MaxTempo));
    QVERIFY(!SongSchedule::isValidTempo(SongSchedule::MaxTempo + 1));
}

QTEST_GUILESS_MAIN(TestSongModel)
#include "tst_songmodel.moc"
