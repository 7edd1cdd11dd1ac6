// The song script format on its own: what the reader makes of each record kind of both syntaxes,
// and the exact bytes the writer produces.
#include "script/SongScriptReader.h"
#include "script/SongScriptWriter.h"
#include "script/SongText.h"

#include <QTest>

namespace {
constexpr int Capacity = 45;

Song readScript(const QByteArray &text)
{
    return SongScriptReader::read(text, true, Capacity);
}

Song readFretList(const QByteArray &text)
{
    return SongScriptReader::read(text, false, Capacity);
}

QByteArray multi(const QByteArray &records)
{
    return "[multi\n" + records + "]\n";
}

// The song of the format's example: one button, string 5 first in the "n" records.
Song exampleSong()
{
    Song song;
    song.title = QStringLiteral("Evening");
    song.artist = QStringLiteral("The Band");
    song.user = QStringLiteral("player");
    song.lyrics = QStringLiteral("first line");
    song.tapOrder = QStringLiteral("0,1,1,0");
    song.alignType = 0;
    song.panelWidth = 311;
    song.panelHeight = 160;
    SongButton button;
    button.info.reset();
    const int frets[6] = {-1, 0, 2, 2, 1, 0};
    std::copy(frets, frets + 6, button.info.fret[0]);
    button.info.strum_speed[0] = 40;
    button.info.strum_speed[1] = 40;
    button.info.direction[1] = -1;
    button.texts[2] = QStringLiteral("A");
    button.iconIndex = 3;
    song.buttons.append(button);
    return song;
}

const char ExampleFile[] = "[etc\n"
                           "[bt_img_size,30]\n"
                           "]\n"
                           "[display\n"
                           "[width,311]\n"
                           "[height,160]\n"
                           "]\n"
                           "[song\n"
                           "[title,Evening]\n"
                           "[artist,The Band]\n"
                           "[user,player]\n"
                           "[instrument,0]\n"
                           "[lyrics,first line]\n"
                           "[tap_order,0,1,1,0]\n"
                           "]\n"
                           "[align\n"
                           "[type,0]\n"
                           "]\n"
                           "[multi\n"
                           "[n0,0,1,2,2,0,-1]\n"
                           "[n1,-1,-1,-1,-1,-1,-1]\n"
                           "[n2,-1,-1,-1,-1,-1,-1]\n"
                           "[n3,-1,-1,-1,-1,-1,-1]\n"
                           "[time_offset,0,0,0]\n"
                           "[strum_speed,40,-40,0,0]\n"
                           "[gt,0]\n"
                           "[text,,,A]\n"
                           "[scale,100]\n"
                           "[bg,3]\n"
                           "[hold,100]\n"
                           "[vol,100]\n"
                           "[vol_play,1]\n"
                           "[pos,0,0]\n"
                           "[layout,1]\n"
                           "]\n"
                           "\n";
} // namespace

class TestScriptFormat : public QObject
{
    Q_OBJECT

private slots:
    void writesTheExampleLayout();
    void emptyPanelIsEighteenLines();
    void realsUseFifteenDigits_data();
    void realsUseFifteenDigits();
    void readsTheExampleBack();
    void multiRecords();
    void incompleteListsStoreWhatWasRead();
    void keysAndSections();
    void chordSection();
    void songRecords();
    void tempoRecords();
    void lyricsKeepLineBreaks();
    void userTextsWithBracketsRoundTrip();
    void olderFilesReadAsBefore();
    void escapeIsExact_data();
    void escapeIsExact();
    void extraButtonsReachNoButton();
    void fretListSyntax();
    void lineEndsAndCodecs();
    void suffixSelectsSyntax();
};

void TestScriptFormat::writesTheExampleLayout()
{
    QCOMPARE(SongScriptWriter::write(exampleSong()), QByteArray(ExampleFile));
}

void TestScriptFormat::emptyPanelIsEighteenLines()
{
    Song song = exampleSong();
    song.buttons.clear();
    const QByteArray bytes = SongScriptWriter::write(song);
    QCOMPARE(bytes.count('\n'), 18);
    QVERIFY(!bytes.contains("\n\n"));
    QVERIFY(bytes.endsWith("[type,0]\n]\n"));

    song.alignType = 7; // neither arrangement the file records: no "align" section
    QVERIFY(!SongScriptWriter::write(song).contains("[align"));
}

void TestScriptFormat::realsUseFifteenDigits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 100.0 << "100";
    QTest::newRow("tenth") << 0.1 << "0.1";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("small") << 1e-05 << "1e-05";
    QTest::newRow("third") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("up stroke") << -40.0 << "-40";
    QTest::newRow("negative zero") << -0.0 << "0";
}

void TestScriptFormat::realsUseFifteenDigits()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(SongScriptWriter::real(value), text);
}

void TestScriptFormat::readsTheExampleBack()
{
    const Song song = readScript(ExampleFile);
    const Song expected = exampleSong();
    QCOMPARE(song.buttons.size(), 1);
    QVERIFY(song.buttons[0].info == expected.buttons[0].info);
    QCOMPARE(song.buttons[0].iconIndex, 3);
    QCOMPARE(song.buttons[0].texts[2], QStringLiteral("A"));
    QVERIFY(song.buttons[0].hasLayout);
    QCOMPARE(song.buttons[0].layoutLabel, QStringLiteral("A"));
    QCOMPARE(*song.title, QStringLiteral("Evening"));
    QCOMPARE(*song.lyrics, QStringLiteral("first line"));
    QCOMPARE(*song.tapOrder, QStringLiteral("0,1,1,0"));
    QCOMPARE(*song.alignType, 0);
    // A zero speed has no direction in the file: it reads back as a down stroke.
    QCOMPARE(song.buttons[0].info.direction[2], 1);
}

void TestScriptFormat::multiRecords()
{
    const Song song = readScript(multi("[n2,1,2,3,4,5,6]\n"
                                       "[time_offset,0.5,1e-05,120]\n"
                                       "[strum_speed,-30,0,12.5,-0]\n"
                                       "[gt,2]\n"
                                       "[text,a  b , c,d,e]\n"
                                       "[scale,80]\n"
                                       "[bg,40]\n"
                                       "[hold,55.5]\n"
                                       "[vol,70]\n"
                                       "[vol_play,0.1]\n"
                                       "[pos,300,300]\n"));
    QCOMPARE(song.buttons.size(), 1);
    const SongButton &b = song.buttons[0];
    const int strings[6] = {6, 5, 4, 3, 2, 1};
    QVERIFY(std::equal(strings, strings + 6, b.info.fret[2]));
    QCOMPARE(b.info.time_offset[0], 0.5);
    QCOMPARE(b.info.time_offset[1], 1e-05);
    QCOMPARE(b.info.time_offset[2], 120.0);
    QCOMPARE(b.info.strum_speed[0], 30.0);
    QCOMPARE(b.info.direction[0], -1);
    QCOMPARE(b.info.direction[1], 1);
    QCOMPARE(b.info.strum_speed[2], 12.5);
    QCOMPARE(b.info.direction[3], 1);
    QCOMPARE(b.info.gt, 2);
    QCOMPARE(b.texts[0], QStringLiteral("a b"));
    QCOMPARE(b.texts[1], QStringLiteral("c"));
    QCOMPARE(b.texts[2], QStringLiteral("d,e")); // the last text runs to the "]"
    QCOMPARE(b.scale, 80);
    QCOMPARE(b.iconIndex, 40); // kept as read, saved back unchanged
    QCOMPARE(b.info.hold, 55.5);
    QCOMPARE(b.info.vol, 70.0); // "vol_play" does not touch the volume
    QCOMPARE(b.volPlay, double(0.1f));
    QVERIFY(!b.hasLayout);

    const Song broken = readScript(multi("[gt,x]\n[hold,abc]\n[vol,inf]\n[vol_play,1e300]\n"));
    QCOMPARE(broken.buttons[0].info.gt, 0);
    QCOMPARE(broken.buttons[0].info.hold, 0.0);
    QCOMPARE(broken.buttons[0].info.vol, 0.0);
    QVERIFY(std::isfinite(broken.buttons[0].volPlay));
}

// An incomplete list stores the values read before its first missing separator; the other
// places keep what the button held.
void TestScriptFormat::incompleteListsStoreWhatWasRead()
{
    const Song song = readScript(multi("[n0,1,2,3]\n"
                                       "[time_offset,5,6]\n"
                                       "[strum_speed,-10]\n"
                                       "[text,a,b]\n"
                                       "[gt]\n"
                                       "[scale,]\n"));
    const SongButton &b = song.buttons[0];
    QCOMPARE(b.info.fret[0][5], 1);
    QCOMPARE(b.info.fret[0][4], 2);
    QCOMPARE(b.info.fret[0][3], 0); // "3]" is no comma-ended value
    QCOMPARE(b.info.time_offset[0], 5.0);
    QCOMPARE(b.info.time_offset[1], 0.0);
    QCOMPARE(b.info.strum_speed[0], 0.0);
    QCOMPARE(b.texts[0], QString()); // two texts only: nothing stored
    QCOMPARE(b.scale, 100);          // a value is at least one character: "]" is missing
}

void TestScriptFormat::keysAndSections()
{
    const Song song = readScript("[display\n[width,5]\n]\n"
                                 "[weird\n[n0,1,1,1,1,1,1]\n]\n" // stays in the last mode: none
                                 "[multi\n[ n0 ,1,2,3,4,5,6]\n[colour,7]\n[nocomma]\n]\n"
                                 "[display\n[n1,9,9,9,9,9,9]\n]\n"
                                 "[etc\n[n2,8,8,8,8,8,8]\n]\n"
                                 "[song\n[title,First]\n]\n");
    QCOMPARE(song.buttons.size(), 1);
    const SongButton &b = song.buttons[0];
    QCOMPARE(b.info.fret[0][0], 6);
    QCOMPARE(b.info.fret[1][0], 0);
    QCOMPARE(b.info.fret[2][0], 0); // "etc" leaves the display mode on
    QCOMPARE(*song.title, QStringLiteral("First"));

    // "etc" is no section the reader knows: records after it go to the last button.
    const Song etc = readScript(multi("[gt,1]\n") + "[etc\n[gt,2]\n]\n");
    QCOMPARE(etc.buttons[0].info.gt, 2);

    const Song onlyMulti = readScript("[multi\n]\n");
    QCOMPARE(onlyMulti.buttons.size(), 1);
    QVERIFY(onlyMulti.buttons[0].info == SoundInfo());

    const Song songOnly = readScript("[song\n[title,x]\n]\n");
    QVERIFY(songOnly.buttons.isEmpty());
    QVERIFY(readScript(QByteArray()).buttons.isEmpty());
}

void TestScriptFormat::chordSection()
{
    const Song song = readScript("[chord\n"
                                 "[fret,0,1,2,2,0,-1]\n"
                                 "[sp,1,5]\n"
                                 "[time_strum,25]\n"
                                 "[time_turn,200]\n"
                                 "[time_hold_d,0.4]\n"
                                 "[time_hold_u,0]\n"
                                 "[vol_ratio_d,9]\n"
                                 "[bg,2]\n"
                                 "[text,x,y,C]\n"
                                 "[layout,1]\n"
                                 "]\n"
                                 "[chord\n[time_hold_d,0]\n]\n");
    QCOMPARE(song.buttons.size(), 2);
    const SoundInfo &info = song.buttons[0].info;
    QCOMPARE(info.fret[0][0], -1);
    QCOMPARE(info.fret[0][5], 0);
    QCOMPARE(info.fret[1][0], -1); // muted by time_hold_u = 0
    QCOMPARE(info.fret[1][5], -1);
    QCOMPARE(info.fret[2][3], -1);
    QCOMPARE(info.direction[0], 1);
    QCOMPARE(info.direction[1], -1);
    QCOMPARE(info.strum_speed[0], 25.0);
    QCOMPARE(info.strum_speed[1], 25.0);
    QCOMPARE(info.time_offset[0], 200.0);
    QCOMPARE(info.hold, 100.0);
    QCOMPARE(song.buttons[0].iconIndex, 2);
    QCOMPARE(song.buttons[0].layoutLabel, QStringLiteral("C"));
    QCOMPARE(song.buttons[1].info.fret[0][0], -1);
    QCOMPARE(song.buttons[1].info.hold, 100.0);
}

void TestScriptFormat::songRecords()
{
    const Song song = readScript("[song\n"
                                 "[title,  Für  Elise, 月光 ]\n"
                                 "[ artist ,A, B]\n"
                                 "[user,]\n"
                                 "[instrument,0]\n"
                                 "[tap_order,0,1, 2]\n"
                                 "]\n");
    QCOMPARE(*song.title, QStringLiteral("Für Elise, 月光"));
    QCOMPARE(*song.artist, QStringLiteral("A, B"));
    QCOMPARE(*song.user, QString());
    QCOMPARE(*song.tapOrder, QStringLiteral("0,1, 2"));
    QVERIFY(!song.lyrics);

    QCOMPARE(*readScript("[song\n[tap_order,3,4\n]\n").tapOrder, QStringLiteral("3,4"));
}

// Written after the six older records, only when set; a value that is no number reads as 0.
void TestScriptFormat::tempoRecords()
{
    Song song = exampleSong();
    song.tempo = 96;
    QByteArray bytes = SongScriptWriter::write(song);
    QVERIFY(bytes.contains("[tap_order,0,1,1,0]\n[tempo,96]\n]\n"));
    song.beats = 2;
    bytes = SongScriptWriter::write(song);
    QVERIFY(bytes.contains("[tap_order,0,1,1,0]\n[tempo,96]\n[beats,2]\n]\n"));
    const Song back = readScript(bytes);
    QCOMPARE(back.tempo, std::optional<int>(96));
    QCOMPARE(back.beats, std::optional<int>(2));
    QCOMPARE(*back.tapOrder, QStringLiteral("0,1,1,0"));
    QCOMPARE(back.buttons.size(), 1);

    const Song odd = readScript("[song\n[ tempo , 72 ]\n[beats,x]\n]\n");
    QCOMPARE(odd.tempo, std::optional<int>(72));
    QCOMPARE(odd.beats, std::optional<int>(0));
    const Song none = readScript("[song\n[tempo]\n[beats,]\n]\n" + multi("[tempo,90]\n"));
    QVERIFY(!none.tempo);
    QVERIFY(!none.beats);
}

void TestScriptFormat::lyricsKeepLineBreaks()
{
    QCOMPARE(*readScript("[song\n[lyrics,la la]\n]\n").lyrics, QStringLiteral("la la"));
    const Song three =
        readScript("[song\n[lyrics,one\ntwo\nthree]\n[title,T]\n]\n" + multi("[gt,1]\n"));
    QCOMPARE(*three.lyrics, QStringLiteral("one\ntwo\nthree"));
    QCOMPARE(*three.title, QStringLiteral("T"));
    QCOMPARE(three.buttons.size(), 1); // the bracket level came back to 0
    QCOMPARE(*readScript("[song\n[lyrics,a\n\n]\n]\n").lyrics, QStringLiteral("a\n\n"));
    // The end of the file ends a value that never closes.
    QCOMPARE(*readScript("[song\n[lyrics,open\nend").lyrics, QStringLiteral("open\nend"));

    Song song;
    song.lyrics = QStringLiteral("  verse one  \n\nverse, two\n");
    QCOMPARE(*readScript(SongScriptWriter::write(song)).lyrics, *song.lyrics);
}

void TestScriptFormat::userTextsWithBracketsRoundTrip()
{
    Song song = exampleSong();
    song.title = QStringLiteral("[Live] Ünïcødé ☃ [");
    song.artist = QStringLiteral("]] a, b &#91;");
    song.lyrics = QStringLiteral("[Chorus]\nla ] la [\n[multi\n]");
    song.tapOrder = QStringLiteral("1,2]");
    song.buttons[0].texts[0] = QStringLiteral("[x");
    song.buttons[0].texts[2] = QStringLiteral("]A[");
    song.buttons.append(song.buttons[0]);
    const QByteArray bytes = SongScriptWriter::write(song);
    const Song back = readScript(bytes);
    QCOMPARE(back.buttons.size(), 2);
    QCOMPARE(*back.title, *song.title);
    QCOMPARE(*back.artist, *song.artist);
    QCOMPARE(*back.lyrics, *song.lyrics);
    QCOMPARE(*back.tapOrder, *song.tapOrder);
    QCOMPARE(back.buttons[1].texts[0], QStringLiteral("[x"));
    QCOMPARE(back.buttons[1].layoutLabel, QStringLiteral("]A["));
    QVERIFY(bytes.contains("[title,&#91;Live&#93; Ünïcødé ☃ &#91;]\n"));
    QVERIFY(bytes.contains("[artist,&#93;&#93; a, b &#38;#91;]\n"));
}

// Files without the escape (every older file) give what they always gave, "&" included.
void TestScriptFormat::olderFilesReadAsBefore()
{
    const Song song = readScript("[song\n"
                                 "[title,[Intro]]\n"
                                 "[artist,Rock & Roll &#x]\n"
                                 "[lyrics,[Chorus] la]\n"
                                 "]\n" +
                                 multi("[gt,1]\n"));
    QCOMPARE(*song.title, QStringLiteral("[Intro"));
    QCOMPARE(*song.artist, QStringLiteral("Rock & Roll &#x"));
    QCOMPARE(*song.lyrics, QStringLiteral("[Chorus  la"));
    QCOMPARE(song.buttons.size(), 1);
    QCOMPARE(song.buttons[0].info.gt, 1);
}

void TestScriptFormat::escapeIsExact_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text : {"", "plain", "[", "]", "&", "&#91;", "&#93;", "&#38;", "&&#91;",
                             "&#38;#91;", "&#9", "[&#93;]", "&#", "a & b"})
        QTest::newRow(text) << QString::fromUtf8(text);
}

void TestScriptFormat::escapeIsExact()
{
    QFETCH(QString, text);
    const QString escaped = SongText::escape(text);
    QVERIFY(!escaped.contains(QLatin1Char('[')) && !escaped.contains(QLatin1Char(']')));
    QCOMPARE(SongText::unescape(escaped), text);
}

void TestScriptFormat::extraButtonsReachNoButton()
{
    QByteArray file;
    for (int i = 0; i < Capacity; ++i)
        file += multi("[gt,1]\n");
    file += multi("[gt,2]\n[scale,7]\n") + multi("[gt,2]\n");
    const Song song = readScript(file);
    QCOMPARE(song.buttons.size(), Capacity);
    QCOMPARE(song.leftOutButtons, 2);
    for (const SongButton &button : song.buttons) {
        QCOMPARE(button.info.gt, 1);
        QCOMPARE(button.scale, 100);
    }
}

void TestScriptFormat::fretListSyntax()
{
    const Song song = readFretList("[0f3s1f2s2f2]\n"
                                   "[ 6 f 5 s 30f-1s99f4s-5f7]\n"
                                   "x<[d]\n");
    QCOMPARE(song.buttons.size(), 4);
    const SoundInfo &first = song.buttons[0].info;
    QCOMPARE(first.fret[0][0], 3);
    QCOMPARE(first.fret[0][1], 2);
    QCOMPARE(first.fret[0][2], 2);
    QCOMPARE(first.fret[0][3], 0);
    const SoundInfo &second = song.buttons[1].info;
    QCOMPARE(second.fret[1][0], 5); // index 6: stroke 1, string 0
    QCOMPARE(second.fret[0][0], 0); // indices 30, 99 and -5 are ignored
    QVERIFY(second.fret[0][0] == 0 && second.fret[3][5] == 0);
    QVERIFY(song.buttons[2].info == SoundInfo());
    QVERIFY(readFretList("no brackets at all\n").buttons.isEmpty());

    // More than the panel holds: the extra buttons take no frets.
    QByteArray many;
    for (int i = 0; i < Capacity + 3; ++i)
        many += "[0f" + QByteArray::number(i) + "]";
    const Song full = readFretList(many);
    QCOMPARE(full.buttons.size(), Capacity);
    QCOMPARE(full.leftOutButtons, 3);
    QCOMPARE(full.buttons.last().info.fret[0][0], Capacity - 1);
}

void TestScriptFormat::lineEndsAndCodecs()
{
    const Song crlf = readScript("[song\r\n[lyrics,a\r\nb]\r\n[title,T]\r\n]\r\n");
    QCOMPARE(*crlf.lyrics, QStringLiteral("a\nb"));
    QCOMPARE(*crlf.title, QStringLiteral("T"));

    // An older file from a Latin-1 system: not UTF-8, read as Latin-1.
    const Song latin1 = readScript("[song\n[title,Caf\xe9]\n]\n");
    QCOMPARE(*latin1.title, QStringLiteral("Café"));

    Song song;
    song.title = QStringLiteral("Ελληνικά 日本語 😀");
    const QByteArray bytes = SongScriptWriter::write(song);
    QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    QVERIFY(!bytes.contains('\r'));
    QVERIFY(bytes.contains(song.title->toUtf8()));
    QCOMPARE(*readScript(bytes).title, *song.title);
}

void TestScriptFormat::suffixSelectsSyntax()
{
    QVERIFY(SongScriptReader::usesScriptSyntax(QStringLiteral("/a/song.kds")));
    QVERIFY(!SongScriptReader::usesScriptSyntax(QStringLiteral("/a/song.KDS")));
    QVERIFY(!SongScriptReader::usesScriptSyntax(QStringLiteral("/a.kds/song")));
}

QTEST_GUILESS_MAIN(TestScriptFormat)
#include "tst_scriptformat.moc"
