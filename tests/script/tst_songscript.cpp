// Loading and saving through the real button panel and song info dialog: messages, the
// unsaved-changes flag, failed saves, and a round trip of many random songs.
#include "buttons/ButtonIconTable.h"
#include "buttons/QButtonPanel.h"
#include "buttons/QSoundButton.h"
#include "script/SongScript.h"
#include "upload/DialogSongInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {
// Keeps the messages instead of showing message boxes.
class QuietSongScript : public SongScript
{
public:
    using SongScript::SongScript;
    QStringList informed;
    QStringList warned;

protected:
    void inform(const QString &text) override { informed << text; }
    void warn(const QString &text) override { warned << text; }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

    QString line(bool commas = true)
    {
        QStringList words;
        const int count = int(m_random.bounded(5));
        for (int i = 0; i < count; ++i) {
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

    void fill(QSoundButton *button)
    {
        SoundInfo &info = button->m_soundInfo;
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
        button->m_scale = int(m_random.bounded(-50, 500));
        button->m_iconIndex = int(m_random.bounded(-2, 16));
        button->m_volPlay = m_random.generateDouble() * 4;
        // Only the last text may hold commas: the first two are separated by them.
        button->m_texts[0] = line(false);
        button->m_texts[1] = line(false);
        button->m_texts[2] = line();
    }

    void fill(DialogSongInfo &info, QButtonPanel &panel)
    {
        info.setTitle(line());
        info.setArtist(line());
        info.setUser(line());
        info.setLyrics(lyrics());
        info.setTapOrder(tapOrder());
        for (int i = int(m_random.bounded(46)); i > 0; --i)
            fill(panel.addEmptyButton(false));
    }

private:
    QRandomGenerator m_random;
};
} // namespace

class TestSongScript : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void missingOrEmptyFileCannotOpen();
    void loadFillsButtonsAndKeepsFlagClear();
    void tooManyButtonsAreReported();
    void failedSaveIsReportedAndKeepsOldFile();
    void randomSongsRoundTrip();

private:
    QList<QSoundButton *> panelButtons(QButtonPanel &panel) const;

    QTemporaryDir m_dir;
    ButtonIconTable *m_table = nullptr;
    QButtonPanel *m_panel = nullptr;
    DialogSongInfo *m_info = nullptr;
};

void TestSongScript::init()
{
    m_table = new ButtonIconTable;
    m_panel = new QButtonPanel(nullptr, m_table);
    m_panel->resize(311, 160);
    m_info = new DialogSongInfo(nullptr);
}

void TestSongScript::cleanup()
{
    delete m_info;
    delete m_panel;
    delete m_table;
}

QList<QSoundButton *> TestSongScript::panelButtons(QButtonPanel &panel) const
{
    QList<QSoundButton *> list;
    panel.buttons(list);
    return list;
}

void TestSongScript::missingOrEmptyFileCannotOpen()
{
    const QString missing = m_dir.filePath(QStringLiteral("nothing here.kds"));
    QuietSongScript script(m_panel, m_table, m_info);
    QCOMPARE(script.load(missing), 0);
    QCOMPARE(script.informed, QStringList{QStringLiteral("Cannot open ") + missing});

    const QString empty = m_dir.filePath(QStringLiteral("empty.kds"));
    writeFile(empty, QByteArray());
    QuietSongScript second(m_panel, m_table, m_info);
    second.load(empty);
    QCOMPARE(second.informed, QStringList{QStringLiteral("Cannot open ") + empty});

    // Song information without buttons still reaches the dialog.
    const QString songOnly = m_dir.filePath(QStringLiteral("song only.kds"));
    writeFile(songOnly, "[song\n[title,Kept]\n]\n");
    QuietSongScript third(m_panel, m_table, m_info);
    third.load(songOnly);
    QCOMPARE(third.informed.size(), 1);
    QCOMPARE(m_info->title(), QStringLiteral("Kept"));
    QVERIFY(panelButtons(*m_panel).isEmpty());
}

void TestSongScript::loadFillsButtonsAndKeepsFlagClear()
{
    const QString path = m_dir.filePath(QStringLiteral("two.kds"));
    writeFile(path, "[multi\n]\n"
                    "[multi\n[text,a,b,Hi]\n[bg,20]\n[vol_play,0.3]\n[layout,1]\n]\n");
    m_panel->m_modified = true;
    QuietSongScript script(m_panel, m_table, m_info);
    QCOMPARE(script.load(path), 2);
    QVERIFY(script.informed.isEmpty());
    QVERIFY(!m_panel->isModified());

    const QList<QSoundButton *> buttons = panelButtons(*m_panel);
    QCOMPARE(buttons.size(), 2);
    // No "layout" record: the button shows its number like a button made on the panel.
    QCOMPARE(buttons[0]->m_texts[2], QStringLiteral("1"));
    QVERIFY(!buttons[0]->normalPixmap().isNull());
    QCOMPARE(buttons[1]->m_texts[2], QStringLiteral("Hi"));
    QCOMPARE(buttons[1]->m_iconIndex, 20);
    QCOMPARE(buttons[1]->m_labelColor, m_table->labelColor(20));
    QVERIFY(!buttons[1]->normalPixmap().isNull());
    QCOMPARE(buttons[1]->m_volPlay, double(0.3f));
    QCOMPARE(buttons[1]->pos(), QPoint(31, 0));
}

void TestSongScript::tooManyButtonsAreReported()
{
    QByteArray file;
    for (int i = 0; i < SongScript::PanelCapacity + 2; ++i)
        file += "[multi\n[gt," + QByteArray::number(i % 3) + "]\n]\n";
    const QString path = m_dir.filePath(QStringLiteral("many.kds"));
    writeFile(path, file);
    QuietSongScript script(m_panel, m_table, m_info);
    QCOMPARE(script.load(path), SongScript::PanelCapacity);
    QCOMPARE(script.informed.size(), 1);
    QVERIFY2(script.informed[0].contains(QStringLiteral("2 buttons were left out")),
             qPrintable(script.informed[0]));
    QCOMPARE(panelButtons(*m_panel).last()->m_soundInfo.gt, (SongScript::PanelCapacity - 1) % 3);
}

void TestSongScript::failedSaveIsReportedAndKeepsOldFile()
{
    const QString blocker = m_dir.filePath(QStringLiteral("plain file"));
    writeFile(blocker, "x");
    const QString impossible = blocker + QStringLiteral("/song.kds");
    QuietSongScript script(m_panel, m_table, m_info);
    QVERIFY(!script.save(impossible, m_panel));
    QCOMPARE(script.warned.size(), 1);
    QVERIFY(script.warned[0].contains(impossible));
    QVERIFY(script.warned[0].size() > QStringLiteral("Cannot save :\n").size() + impossible.size());

    // A write that fails half-way (here: the file size limit) leaves the old file in place.
    const QString path = m_dir.filePath(QStringLiteral("kept.kds"));
    QVERIFY(script.save(path, m_panel));
    const QByteArray before = readFile(path);
    QVERIFY(!before.isEmpty());
    m_info->setLyrics(QString(20000, QLatin1Char('x')));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{4096, saved.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    QuietSongScript limited(m_panel, m_table, m_info);
    const bool written = limited.save(path, m_panel);
    setrlimit(RLIMIT_FSIZE, &saved);
    QVERIFY(!written);
    QCOMPARE(limited.warned.size(), 1);
    QCOMPARE(readFile(path), before);
    const QStringList leftovers = QDir(m_dir.path()).entryList({QStringLiteral("kept.kds?*")});
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(' ')));
}

void TestSongScript::randomSongsRoundTrip()
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
    QButtonPanel loaded(nullptr, m_table);
    DialogSongInfo loadedInfo(nullptr);
    for (int n = 0; n < songs; ++n) {
        m_panel->deleteAll();
        loaded.deleteAll();
        generator.fill(*m_info, *m_panel);
        QuietSongScript(m_panel, m_table, m_info).save(path, m_panel);
        QuietSongScript reader(&loaded, m_table, &loadedInfo);
        reader.load(path);

        const QString context = QStringLiteral("song %1").arg(n);
        QCOMPARE(loadedInfo.title(), m_info->title());
        QCOMPARE(loadedInfo.artist(), m_info->artist());
        QCOMPARE(loadedInfo.user(), m_info->user());
        QCOMPARE(loadedInfo.lyrics(), m_info->lyrics());
        QCOMPARE(loadedInfo.tapOrder(), m_info->tapOrder());
        const QList<QSoundButton *> original = panelButtons(*m_panel);
        const QList<QSoundButton *> back = panelButtons(loaded);
        QCOMPARE(back.size(), original.size());
        QCOMPARE(reader.informed.isEmpty(), !original.isEmpty());
        for (qsizetype i = 0; i < original.size(); ++i) {
            QVERIFY2(back[i]->m_soundInfo == original[i]->m_soundInfo, qPrintable(context));
            QCOMPARE(back[i]->m_iconIndex, original[i]->m_iconIndex);
            QCOMPARE(back[i]->m_scale, original[i]->m_scale);
            QCOMPARE(back[i]->m_volPlay, double(float(original[i]->m_volPlay)));
            for (int t = 0; t < QSoundButton::TextCount; ++t)
                QCOMPARE(back[i]->m_texts[t], original[i]->m_texts[t]);
        }
    }
}

QTEST_MAIN(TestSongScript)
#include "tst_songscript.moc"
