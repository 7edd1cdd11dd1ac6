// The compiled-in pictures: every one the program names is there at its size, and each fits its
// use: the panel lines up with the controls laid over it, labels and field texts stay readable,
// hover and selected pictures stand out.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QtMath>
#include <QtTest>

namespace {

// Pixel size of every picture, as the program places them.
QHash<QString, QSize> statedSizes()
{
    QHash<QString, QSize> sizes{
        {"main_panel.png", {923, 636}},  {"book_panel.png", {300, 494}},
        {"sinfo_panel.png", {297, 542}}, {"splash.png", {480, 300}},
        {"bt_power.png", {46, 46}},      {"bt_up.png", {27, 29}},
        {"bt_down.png", {27, 29}},       {"bt_acoustic.png", {102, 30}},
        {"bt_clean.png", {102, 30}},     {"bt_distortion.png", {102, 30}},
        {"bt_lock.png", {38, 30}},       {"bt_blank.png", {38, 30}},
        {"bt_rot.png", {60, 59}},        {"bt_rot_dot.png", {4, 4}},
        {"sel_pos.png", {20, 20}},       {"active_fret.png", {20, 20}},
        {"lamp_valid.png", {15, 15}},    {"lamp_off.png", {15, 15}},
        {"tile_select.png", {30, 30}},   {"chord_focus_root.png", {35, 26}},
        {"icon_panel.png", {308, 146}},  {"chord_focus_type.png", {53, 26}},
        {"key_help.png", {620, 426}},    {"tile_playing.png", {30, 30}},
    };
    // The marks around the current picture in the chooser and the one under the pointer.
    sizes.insert("icon_mark_current.png", {38, 38});
    sizes.insert("icon_mark_pointer.png", {36, 36});
    for (const char *b :
         {"bt_load", "bt_save", "bt_chord_book", "bt_upload", "bt_add", "bt_delete", "bt_play"})
        sizes.insert(QString(b) + ".png", {39, 39});
    for (const char *b :
         {"bt_set", "bt_cancel", "bt_close", "bt_record", "bt_rectangle", "bt_submit"})
        sizes.insert(QString(b) + ".png", {68, 25});
    for (const char *b : {"bt_song_play", "bt_song_stop", "bt_loop", "bt_loop_on"})
        sizes.insert(QString(b) + ".png", {40, 29});
    // Every button picture above has a hover picture of the same size.
    const QHash<QString, QSize> plain = sizes;
    for (auto it = plain.constBegin(); it != plain.constEnd(); ++it) {
        if (it.key().startsWith("bt_") && it.key() != "bt_rot.png" && it.key() != "bt_rot_dot.png")
            sizes.insert(it.key().chopped(4) + "_hover.png", it.value());
    }
    for (int i = 0; i < 14; ++i) {
        const QString n = QString("bt%1").arg(i, 2, 10, QLatin1Char('0'));
        sizes.insert(n + ".png", {30, 30});
        sizes.insert(n + "sel.png", {30, 30});
    }
    for (const char *root : {"a", "a_s", "b", "c", "c_s", "d", "d_s", "e", "f", "f_s", "g", "g_s"})
        sizes.insert(QString("chord_%1.png").arg(root), {27, 20});
    for (const char *type : {"major", "7", "m", "m7_s", "m7_l", "mm7", "sus4", "7sus4", "dim",
                             "m75", "aug", "add9", "6", "m6"})
        sizes.insert(QString("chord_%1.png").arg(type), {45, 20});
    return sizes;
}

QImage picture(const QString &name)
{
    return QImage(":/img/" + name).convertToFormat(QImage::Format_ARGB32);
}

double channel(int v)
{
    const double c = v / 255.0;
    return c <= 0.03928 ? c / 12.92 : qPow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &c)
{
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// Mean colour of the opaque part of r.
QColor meanColour(const QImage &image, const QRect &r)
{
    double red = 0, green = 0, blue = 0, weight = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb px = image.pixel(x, y);
            const double a = qAlpha(px) / 255.0;
            red += qRed(px) * a;
            green += qGreen(px) * a;
            blue += qBlue(px) * a;
            weight += a;
        }
    }
    if (weight == 0)
        return QColor();
    return QColor(qRound(red / weight), qRound(green / weight), qRound(blue / weight));
}

double brightness(const QImage &image, int x, int y)
{
    return luminance(QColor(image.pixel(x, y)));
}

// Mean of |a - b| over all channels and pixels, alpha included.
double difference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                   qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * a.width() * a.height());
}

// Alpha-weighted light of a picture: what the eye takes in.
double glowOf(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            sum += luminance(QColor(p)) * qAlpha(p) / 255.0;
        }
    }
    return sum;
}

// Geometry of the controls laid over the main panel.
int stringY(int s)
{
    return 118 + 27 * s;
}
int positionX(int p)
{
    if (p == 2)
        return 126; // fret 1: the middle of its cell, which is shorter than the others
    return p == 0 ? 74 : (p == 1 ? 97 : 17 + 51 * p);
}

// Centre of the nut (k = 0) and of fret wire k (1 to 15).
double metalX(int k)
{
    return k == 0 ? 108 : 93.5 + 51 * k;
}

// The picture that Qt takes on a screen scaled by two.
QString twinName(const QString &name)
{
    return name.chopped(4) + "@2x.png";
}

// The label colours the program writes the numbers of sound buttons in.
const QColor LabelColours[14] = {
    QColor(255, 255, 255), QColor(30, 30, 30),    QColor(255, 255, 255), QColor(255, 255, 255),
    QColor(255, 255, 255), QColor(35, 35, 35),    QColor(255, 255, 255), QColor(255, 255, 255),
    QColor(10, 10, 10),    QColor(255, 255, 255), QColor(255, 255, 255), QColor(255, 255, 255),
    QColor(0, 0, 0),       QColor(255, 255, 255),
};

} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void statedPicturesExist_data();
    void statedPicturesExist();
    void picturesNamedInTheCode();
    void noPictureWithoutAStatedSize();
    void everyPictureHasATwinAtTwiceTheSize();
    void neckLinesUpWithTheMarkers();
    void fieldTextReadsOnItsBox();
    void markersAreCentred();
    void soundButtonNumbersRead();
    void selectedAndHoverPicturesStandOut();
    void framesLeaveWhatTheyFrameClear();
};

void TestImages::statedPicturesExist_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    const QHash<QString, QSize> sizes = statedSizes();
    for (auto it = sizes.constBegin(); it != sizes.constEnd(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
}

void TestImages::statedPicturesExist()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage image(":/img/" + name);
    QVERIFY2(!image.isNull(), qPrintable(name + " is missing"));
    QCOMPARE(image.size(), size);
}

// Every ":/img/....png" that the sources name is compiled in, at its stated size if it has one.
void TestImages::picturesNamedInTheCode()
{
    const QRegularExpression literal(R"re(":/img/([A-Za-z0-9_]+\.png)")re");
    const QHash<QString, QSize> sizes = statedSizes();
    QSet<QString> named;
    for (const char *folder :
         {"app", "sound", "script", "model", "widgets", "buttons", "chordbook", "upload"}) {
        QDirIterator it(QString(KAVENDRA_SOURCE_DIR) + "/" + folder,
                        {"*.cpp", "*.h", "*.ui", "*.qss"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (const auto &m : literal.globalMatch(text))
                named.insert(m.captured(1));
        }
    }
    if (named.isEmpty())
        QSKIP("the sources name no picture yet");
    for (const QString &name : named) {
        const QImage image(":/img/" + name);
        QVERIFY2(!image.isNull(), qPrintable(name + " is named in the code but not compiled in"));
        if (sizes.contains(name))
            QCOMPARE(image.size(), sizes.value(name));
    }
}

void TestImages::noPictureWithoutAStatedSize()
{
    const QHash<QString, QSize> sizes = statedSizes();
    const QStringList files = QDir(":/img").entryList(QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString &name : files) {
        if (!name.endsWith("@2x.png"))
            QVERIFY2(sizes.contains(name), qPrintable(name + " has no stated size"));
    }
}

// So that text painted into a picture stays sharp at a scale factor of two.
void TestImages::everyPictureHasATwinAtTwiceTheSize()
{
    const QStringList files = QDir(":/img").entryList(QDir::Files);
    for (const QString &name : files) {
        if (name.endsWith("@2x.png")) {
            QVERIFY2(files.contains(name.chopped(7) + ".png"), qPrintable(name + " has no 1x"));
            continue;
        }
        const QImage twin(":/img/" + twinName(name));
        QVERIFY2(!twin.isNull(), qPrintable(name + " has no @2x twin"));
        QCOMPARE(twin.size(), QImage(":/img/" + name).size() * 2);
        // The same picture, only finer: both scaled down to half the 1x size, where hinted
        // text no longer tells them apart, they match.
        const QSize half = (twin.size() / 4).expandedTo(QSize(1, 1));
        const auto shrink = [half](const QImage &image) {
            return image.convertToFormat(QImage::Format_ARGB32)
                .scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        QVERIFY2(difference(shrink(twin), shrink(picture(name))) < 12,
                 qPrintable(name + " differs from its twin"));
    }
}

// Strings lie on the rows of the marker centres, and every fret's marker sits on its string in
// the middle between the two pieces of metal around it.
void TestImages::neckLinesUpWithTheMarkers()
{
    const QImage panel = picture("main_panel.png");
    for (int s = 0; s < 6; ++s) {
        for (int p = 2; p < 17; ++p) {
            const int x = positionX(p);
            const double onString = brightness(panel, x, stringY(s));
            QVERIFY2(onString > brightness(panel, x, stringY(s) - 5) &&
                         onString > brightness(panel, x, stringY(s) + 5),
                     qPrintable(QString("string %1 is not at y %2").arg(s).arg(stringY(s))));
        }
    }
    const int betweenStrings = (stringY(0) + stringY(1)) / 2;
    for (int k = 0; k <= 15; ++k) {
        const int wire = int(metalX(k));
        const double metal = brightness(panel, wire, betweenStrings);
        QVERIFY2(metal > 3 * brightness(panel, positionX(k + 1), betweenStrings) &&
                     metal > 3 * brightness(panel, positionX(k + 2), betweenStrings),
                 qPrintable(QString("no fret metal at x %1").arg(wire)));
        if (k > 0)
            QVERIFY2(qAbs(positionX(k + 1) - (metalX(k - 1) + metalX(k)) / 2) <= 0.5,
                     qPrintable(QString("fret %1's marker is off its cell's centre").arg(k)));
    }
}

// The program writes field values in rgb(175,198,233) on transparent fields over the panel.
void TestImages::fieldTextReadsOnItsBox()
{
    const QImage panel = picture("main_panel.png");
    QList<QPoint> fields = {{481, 332}, {611, 332}};
    for (int r = 0; r < 4; ++r) {
        for (int s = 0; s < 6; ++s)
            fields << QPoint(405 + 44 * s, 418 + 46 * r);
        fields << QPoint(715, 418 + 46 * r);
        if (r > 0)
            fields << QPoint(825, 418 + 46 * r);
    }
    const QColor text(175, 198, 233);
    for (const QPoint &f : fields) {
        const QColor box = meanColour(panel, QRect(f, QSize(35, 31)).adjusted(3, 3, -3, -3));
        QVERIFY2(contrast(text, box) > 7.0,
                 qPrintable(QString("field box at %1,%2").arg(f.x()).arg(f.y())));
    }
}

// The neck lays its marker pictures with their centre on the hit square's centre.
void TestImages::markersAreCentred()
{
    for (const char *name : {"sel_pos.png", "active_fret.png"}) {
        const QImage image = picture(name);
        double sx = 0, sy = 0, sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const double a = qAlpha(image.pixel(x, y));
                sx += (x + 0.5) * a;
                sy += (y + 0.5) * a;
                sum += a;
            }
        }
        QVERIFY(sum > 0);
        QVERIFY2(qAbs(sx / sum - 10) < 0.5 && qAbs(sy / sum - 10) < 0.5, name);
    }
}

// The number the program draws from (10, 25) or (13, 25) reads on both looks of each picture.
void TestImages::soundButtonNumbersRead()
{
    const QRect labelArea(10, 15, 16, 10);
    QList<QColor> faces;
    for (int i = 0; i < 14; ++i) {
        for (const char *look : {"", "sel"}) {
            const QString name = QString("bt%1%2.png").arg(i, 2, 10, QLatin1Char('0')).arg(look);
            const QColor under = meanColour(picture(name), labelArea);
            QVERIFY2(contrast(LabelColours[i], under) >= 4.5, qPrintable(name));
        }
        faces << meanColour(picture(QString("bt%1.png").arg(i, 2, 10, QLatin1Char('0'))),
                            QRect(0, 0, 30, 30));
    }
    // Fourteen pictures a user can tell apart.
    for (int i = 0; i < faces.size(); ++i) {
        for (int j = i + 1; j < faces.size(); ++j) {
            const int d = qAbs(faces[i].red() - faces[j].red()) +
                          qAbs(faces[i].green() - faces[j].green()) +
                          qAbs(faces[i].blue() - faces[j].blue());
            QVERIFY2(d > 40, qPrintable(QString("pictures %1 and %2 look alike").arg(i).arg(j)));
        }
    }
}

void TestImages::selectedAndHoverPicturesStandOut()
{
    for (int i = 0; i < 14; ++i) {
        const QString n = QString("bt%1").arg(i, 2, 10, QLatin1Char('0'));
        QVERIFY2(difference(picture(n + ".png"), picture(n + "sel.png")) > 15, qPrintable(n));
    }
    for (const QString &hover : QDir(":/img").entryList({"*_hover.png"})) {
        const QImage lit = picture(hover);
        const QImage normal = picture(hover.chopped(10) + ".png");
        QVERIFY2(difference(normal, lit) > 3 && glowOf(lit) > glowOf(normal),
                 qPrintable(hover + " does not light up"));
    }
}

// The lit frames lie over the chosen chord button or around a picture: inside they are clear,
// so the button's name reads through them.
void TestImages::framesLeaveWhatTheyFrameClear()
{
    for (const char *name : {"chord_focus_root.png", "chord_focus_type.png",
                             "icon_mark_current.png", "icon_mark_pointer.png"}) {
        const QImage frame = picture(name);
        const QRect inside = frame.rect().adjusted(6, 5, -6, -5);
        int opaque = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x)
                opaque = qMax(opaque, qAlpha(frame.pixel(x, y)));
        }
        QVERIFY2(opaque < 24, qPrintable(QString("%1: alpha %2").arg(name).arg(opaque)));
        QVERIFY2(qAlpha(frame.pixel(1, frame.height() / 2)) > 128, name);
    }
}

QTEST_GUILESS_MAIN(TestImages)
#include "tst_images.moc"
