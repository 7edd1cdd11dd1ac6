// The song info dialog as a view of the song information: what typing writes, what a change
// of the model shows, the record button, closing and dragging.
#include "history/SongHistory.h"
#include "model/SongModel.h"
#include "script/Song.h"
#include "tests/support/Mouse.h"
#include "upload/DialogSongInfo.h"
#include "widgets/QImageButton.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <memory>

class TestSongInfoDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void recordButtonToggles();
    void closeHidesAndKeepsEverything();
    void typingWritesTheSong();
    void showsTheSong();
    void dragsByItsBackground();

private:
    static QImageButton *buttonWithTip(DialogSongInfo &dialog, const QString &tip);

    std::unique_ptr<SongModel> m_song;
    std::unique_ptr<SongHistory> m_history;
};

void TestSongInfoDialog::init()
{
    m_song = std::make_unique<SongModel>();
    m_history = std::make_unique<SongHistory>(m_song.get());
}

QImageButton *TestSongInfoDialog::buttonWithTip(DialogSongInfo &dialog, const QString &tip)
{
    for (QImageButton *button : dialog.findChildren<QImageButton *>()) {
        if (button->toolTip() == tip)
            return button;
    }
    return nullptr;
}

void TestSongInfoDialog::recordButtonToggles()
{
    DialogSongInfo dialog(m_history.get());
    QImageButton *record =
        buttonWithTip(dialog, QStringLiteral("record tap order when play button"));
    QVERIFY(record);
    // Inside the dialog, right-aligned with the tap order box.
    QCOMPARE(record->geometry(), QRect(190, 160, 68, 25));
    QVERIFY(dialog.rect().contains(record->geometry()));
    QVERIFY(!dialog.isRecording());
    Mouse::click(record);
    QVERIFY(dialog.isRecording());
    QCOMPARE(record->pixmap().toImage(),
             QPixmap(QStringLiteral(":/img/bt_rectangle.png")).toImage());
    Mouse::click(record);
    QVERIFY(!dialog.isRecording());
    QCOMPARE(record->pixmap().toImage(), QPixmap(QStringLiteral(":/img/bt_record.png")).toImage());
}

void TestSongInfoDialog::closeHidesAndKeepsEverything()
{
    DialogSongInfo dialog(m_history.get());
    dialog.show();
    auto *title = dialog.findChild<QLineEdit *>(QStringLiteral("LEtitle"));
    QTest::keyClicks(title, QStringLiteral("T"));
    Mouse::click(buttonWithTip(dialog, QStringLiteral("record tap order when play button")));
    Mouse::click(buttonWithTip(dialog, QStringLiteral("close web dialog")));
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.isRecording());
    QCOMPARE(title->text(), QStringLiteral("T"));
    QCOMPARE(m_song->info(SongModel::Title), QStringLiteral("T"));
}

void TestSongInfoDialog::typingWritesTheSong()
{
    DialogSongInfo dialog(m_history.get());
    dialog.show();
    const QList<std::pair<const char *, SongModel::InfoField>> lines = {
        {"LEtitle", SongModel::Title},
        {"LEartist", SongModel::Artist},
        {"LEuser", SongModel::User}};
    for (const auto &[name, field] : lines) {
        auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY2(edit, name);
        m_song->markSaved();
        QTest::keyClicks(edit, QStringLiteral("x y"));
        QCOMPARE(m_song->info(field), QStringLiteral("x y"));
        QVERIFY2(m_song->isModified(), name);
        // What was typed into one field goes with one undo, and the field shows it.
        m_history->stack()->undo();
        QCOMPARE(edit->text(), QString());
        QVERIFY2(!m_song->isModified(), name);
    }
    auto *lyrics = dialog.findChild<QTextEdit *>(QStringLiteral("POLyrics"));
    QVERIFY(lyrics);
    QTest::keyClicks(lyrics, QStringLiteral("la"));
    QTest::keyClick(lyrics, Qt::Key_Return);
    QTest::keyClicks(lyrics, QStringLiteral("lo"));
    QCOMPARE(m_song->info(SongModel::Lyrics), QStringLiteral("la\nlo"));
    QTextEdit *taps = nullptr;
    for (QTextEdit *edit : dialog.findChildren<QTextEdit *>()) {
        if (edit != lyrics)
            taps = edit;
    }
    QVERIFY(taps);
    QTest::keyClicks(taps, QStringLiteral("1,2"));
    QCOMPARE(m_song->info(SongModel::TapOrder), QStringLiteral("1,2"));
}

// The song's changes (a load, a recorded tap and its undo) show without counting as edits.
void TestSongInfoDialog::showsTheSong()
{
    DialogSongInfo dialog(m_history.get());
    Song song;
    song.title = QStringLiteral("a");
    song.artist = QStringLiteral("b");
    song.user = QStringLiteral("c");
    song.lyrics = QStringLiteral("d\ne");
    song.tapOrder = QStringLiteral("0,1");
    m_song->loadSong(song);
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("LEtitle"))->text(), QStringLiteral("a"));
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("LEartist"))->text(),
             QStringLiteral("b"));
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("LEuser"))->text(), QStringLiteral("c"));
    auto *lyrics = dialog.findChild<QTextEdit *>(QStringLiteral("POLyrics"));
    QCOMPARE(lyrics->toPlainText(), QStringLiteral("d\ne"));
    QVERIFY(!m_song->isModified());
    QCOMPARE(m_song->info(SongModel::Lyrics), QStringLiteral("d\ne"));

    QTextEdit *taps = nullptr;
    for (QTextEdit *edit : dialog.findChildren<QTextEdit *>()) {
        if (edit != lyrics)
            taps = edit;
    }
    m_history->appendTap(3);
    QCOMPARE(taps->toPlainText(), QStringLiteral("0,1,2"));
    QCOMPARE(m_song->info(SongModel::TapOrder), QStringLiteral("0,1,2"));
    m_history->stack()->undo();
    QCOMPARE(taps->toPlainText(), QStringLiteral("0,1"));
    QVERIFY(m_history->stack()->count() == 1);
}

void TestSongInfoDialog::dragsByItsBackground()
{
    DialogSongInfo dialog(m_history.get());
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(297, 542));
    const QPoint start = dialog.frameGeometry().topLeft();
    Mouse::drag(&dialog, QPoint(10, 10), QPoint(30, 20));
    QCOMPARE(dialog.frameGeometry().topLeft(), start + QPoint(30, 20));
}

QTEST_MAIN(TestSongInfoDialog)
#include "tst_songinfodialog.moc"
