#include "widgets/Picture.h"
#include "widgets/QImageButton.h"
#include "widgets/QMELabel.h"
#include "widgets/QNoteLamp.h"

#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void sendMouse(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void moveTo(QWidget *w, QPointF pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    sendMouse(w, QEvent::MouseMove, pos, buttons);
}

void pressAt(QWidget *w, QPointF pos)
{
    sendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton);
}

void releaseAt(QWidget *w, QPointF pos)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

void leave(QWidget *w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

QPoint hover(const QMELabel &neck)
{
    int s = 0;
    int p = 0;
    neck.hoverPos(s, p);
    return {s, p};
}

// The colour of the picture a label shows; invalid when it shows none.
QColor shownColour(const QLabel &label)
{
    const QPixmap pixmap = label.pixmap();
    if (pixmap.isNull())
        return {};
    return pixmap.toImage().pixelColor(0, 0);
}
} // namespace

class TestMouseLabels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void neckStartsWithMarkersAtMutedAndNoHover();
    void neckEveryGridCentreHitsItsOwnPoint();
    void neckOverlapsLetTheLaterPointWin();
    void neckGapsHideTheHoverMarker();
    void neckPressActsOnTheLastHoverPoint();
    void neckPressBeforeAnyHoverOnlySignals();
    void neckMarkersNeverLeaveTheNeck();
    void neckReportsReleaseAndLeave();

    void imageButtonSwapsPicturesOnHoverLeaveAndRelease();
    void imageButtonWithoutHoverPathNeverHovers();
    void imageButtonWithoutNormalPathKeepsHoverPicture();
    void imageButtonPressCarriesItself();

    void noteLampReportsItself();

    void picturesTakeTheirSharpTwinOnScaledScreens();

private:
    QString writePicture(const QString &name, QColor colour);

    QTemporaryDir m_dir;
    QString m_red;
    QString m_blue;
};

void TestMouseLabels::initTestCase()
{
    qRegisterMetaType<QMouseEvent *>();
    QVERIFY(m_dir.isValid());
    m_red = writePicture("red.png", Qt::red);
    m_blue = writePicture("blue.png", Qt::blue);
}

QString TestMouseLabels::writePicture(const QString &name, QColor colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = m_dir.filePath(name);
    if (!image.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestMouseLabels::neckStartsWithMarkersAtMutedAndNoHover()
{
    QMELabel neck;
    QCOMPARE(hover(neck), QPoint(-1, -1));
    QVERIFY(neck.hoverMarker()->isHidden());
    for (int s = 0; s < QMELabel::StringCount; ++s) {
        QCOMPARE(neck.markerPos(s), -1);
        QVERIFY(!neck.stringMarker(s)->isHidden());
        QCOMPARE(neck.stringMarker(s)->geometry(), QRect(QMELabel::gridPoint(s, 0), QSize(30, 30)));
    }
    QCOMPARE(neck.markerPos(-1), -1);
    QCOMPARE(neck.markerPos(6), -1);
}

void TestMouseLabels::neckEveryGridCentreHitsItsOwnPoint()
{
    QCOMPARE(QMELabel::gridPoint(0, 0), QPoint(13, 10));
    QCOMPARE(QMELabel::gridPoint(0, 1), QPoint(36, 10));
    QCOMPARE(QMELabel::gridPoint(2, 2), QPoint(65, 64)); // fret 1: middle of its short cell
    QCOMPARE(QMELabel::gridPoint(2, 3), QPoint(109, 64));
    QCOMPARE(QMELabel::gridPoint(5, 16), QPoint(772, 145));

    QMELabel neck;
    QSignalSpy moves(&neck, &QMELabel::mouseMove);
    for (int s = 0; s < QMELabel::StringCount; ++s) {
        for (int p = 0; p < QMELabel::PositionCount; ++p) {
            moveTo(&neck, QMELabel::gridPoint(s, p) + QPoint(10, 10));
            QCOMPARE(hover(neck), QPoint(s, p));
            QVERIFY(!neck.hoverMarker()->isHidden());
            QCOMPARE(neck.hoverMarker()->geometry(),
                     QRect(QMELabel::gridPoint(s, p), QSize(30, 30)));
        }
    }
    QCOMPARE(moves.count(), QMELabel::StringCount * QMELabel::PositionCount);
}

void TestMouseLabels::neckOverlapsLetTheLaterPointWin()
{
    QMELabel neck;
    // Only string 1, position 0 (centre (23, 47)) contains this point.
    moveTo(&neck, QPoint(29, 37));
    QCOMPARE(hover(neck), QPoint(1, 0));
    // Strings 0 and 1 at positions 0 and 1 all contain this point.
    moveTo(&neck, QPoint(33, 34));
    QCOMPARE(hover(neck), QPoint(1, 1));
    QCOMPARE(neck.hoverMarker()->pos(), QPoint(36, 37));
    // Positions 1 and 2 overlap by 2 columns: x = 60 and 61 lie in both.
    moveTo(&neck, QPoint(59, 20));
    QCOMPARE(hover(neck), QPoint(0, 1));
    moveTo(&neck, QPoint(60, 20));
    QCOMPARE(hover(neck), QPoint(0, 2));
}

void TestMouseLabels::neckGapsHideTheHoverMarker()
{
    QMELabel neck;
    moveTo(&neck, QPoint(68, 20));
    QCOMPARE(hover(neck), QPoint(0, 2));

    // Between the squares of positions 2 (ends at 90) and 3 (starts at 104).
    moveTo(&neck, QPoint(90, 20));
    QCOMPARE(hover(neck), QPoint(0, 2));
    QVERIFY(!neck.hoverMarker()->isHidden());
    moveTo(&neck, QPoint(91, 20));
    QVERIFY(neck.hoverMarker()->isHidden());
    QCOMPARE(hover(neck), QPoint(0, 2));

    // The square of string 0, position 5 ends 15 pixels from its centre (221, 20).
    moveTo(&neck, QPoint(236, 20));
    QCOMPARE(hover(neck), QPoint(0, 5));
    QVERIFY(!neck.hoverMarker()->isHidden());
    moveTo(&neck, QPoint(237, 20));
    QVERIFY(neck.hoverMarker()->isHidden());
    // Below the sixth string.
    moveTo(&neck, QPoint(221, 171));
    QVERIFY(neck.hoverMarker()->isHidden());
}

void TestMouseLabels::neckPressActsOnTheLastHoverPoint()
{
    QMELabel neck;
    QSignalSpy presses(&neck, &QMELabel::mousePress);
    moveTo(&neck, QMELabel::gridPoint(3, 4) + QPoint(10, 10));
    moveTo(&neck, QPoint(97, 20)); // a gap: the hover point stays (3, 4)
    pressAt(&neck, QPoint(97, 20));

    QCOMPARE(presses.count(), 1);
    QCOMPARE(neck.markerPos(3), 4);
    QCOMPARE(neck.stringMarker(3)->geometry(), QRect(QMELabel::gridPoint(3, 4), QSize(30, 30)));
    QCOMPARE(neck.markerPos(0), -1);
    QCOMPARE(neck.stringMarker(0)->pos(), QMELabel::gridPoint(0, 0));
}

void TestMouseLabels::neckPressBeforeAnyHoverOnlySignals()
{
    QMELabel neck;
    QSignalSpy presses(&neck, &QMELabel::mousePress);
    pressAt(&neck, QPoint(23, 20));
    QCOMPARE(presses.count(), 1);
    for (int s = 0; s < QMELabel::StringCount; ++s)
        QCOMPARE(neck.markerPos(s), -1);
}

void TestMouseLabels::neckMarkersNeverLeaveTheNeck()
{
    QMELabel neck;
    neck.setMarkerPos(2, 7);
    QCOMPARE(neck.markerPos(2), 7);
    QCOMPARE(neck.stringMarker(2)->pos(), QMELabel::gridPoint(2, 7));

    neck.setMarkerPos(2, -4);
    QCOMPARE(neck.markerPos(2), 0);
    QCOMPARE(neck.stringMarker(2)->pos(), QMELabel::gridPoint(2, 0));

    neck.setMarkerPos(4, 40);
    QCOMPARE(neck.markerPos(4), 16);
    QCOMPARE(neck.stringMarker(4)->pos(), QMELabel::gridPoint(4, 16));

    // No such strings: nothing moves, nothing is stored.
    neck.setMarkerPos(-1, 3);
    neck.setMarkerPos(6, 3);
    for (int s : {0, 1, 3, 5}) {
        QCOMPARE(neck.markerPos(s), -1);
        QCOMPARE(neck.stringMarker(s)->pos(), QMELabel::gridPoint(s, 0));
    }
    QCOMPARE(neck.stringMarker(6), nullptr);
}

void TestMouseLabels::neckReportsReleaseAndLeave()
{
    QMELabel neck;
    QSignalSpy releases(&neck, &QMELabel::mouseRelease);
    QSignalSpy leaves(&neck, &QMELabel::mouseLeave);
    moveTo(&neck, QPoint(23, 20));
    releaseAt(&neck, QPoint(23, 20));
    leave(&neck);
    QCOMPARE(releases.count(), 1);
    QCOMPARE(leaves.count(), 1);
    // Leaving keeps the hover marker where it was.
    QVERIFY(!neck.hoverMarker()->isHidden());
    QCOMPARE(hover(neck), QPoint(0, 0));
}

void TestMouseLabels::imageButtonSwapsPicturesOnHoverLeaveAndRelease()
{
    QImageButton button;
    QVERIFY(button.testAttribute(Qt::WA_Hover));
    QVERIFY(button.hasMouseTracking());
    QSignalSpy moves(&button, &QImageButton::mouseMove);
    QSignalSpy releases(&button, &QImageButton::mouseRelease);
    QSignalSpy leaves(&button, &QImageButton::mouseLeave);

    button.setImages(m_red, m_blue);
    QVERIFY(!shownColour(button).isValid()); // nothing shown until the next hover

    moveTo(&button, QPoint(2, 2));
    QVERIFY(button.isHovered());
    QCOMPARE(shownColour(button), QColor(Qt::blue));
    moveTo(&button, QPoint(3, 3));
    QCOMPARE(moves.count(), 2);

    leave(&button);
    QVERIFY(!button.isHovered());
    QCOMPARE(shownColour(button), QColor(Qt::red));
    QCOMPARE(leaves.count(), 1);

    moveTo(&button, QPoint(2, 2));
    QCOMPARE(shownColour(button), QColor(Qt::blue));
    releaseAt(&button, QPoint(2, 2));
    QVERIFY(!button.isHovered());
    QCOMPARE(shownColour(button), QColor(Qt::red));
    QCOMPARE(releases.count(), 1);

    // Hovered again after the release, on the next move.
    moveTo(&button, QPoint(2, 2));
    QCOMPARE(shownColour(button), QColor(Qt::blue));
}

void TestMouseLabels::imageButtonWithoutHoverPathNeverHovers()
{
    QImageButton button;
    button.setImages(m_red, QString());
    button.setPixmap(QPixmap(m_red));
    moveTo(&button, QPoint(2, 2));
    QVERIFY(!button.isHovered());
    QCOMPARE(shownColour(button), QColor(Qt::red));
}

void TestMouseLabels::imageButtonWithoutNormalPathKeepsHoverPicture()
{
    QImageButton button;
    button.setImages(QString(), m_blue);
    moveTo(&button, QPoint(2, 2));
    leave(&button);
    QVERIFY(!button.isHovered());
    QCOMPARE(shownColour(button), QColor(Qt::blue));
    releaseAt(&button, QPoint(2, 2));
    QCOMPARE(shownColour(button), QColor(Qt::blue));
}

void TestMouseLabels::imageButtonPressCarriesItself()
{
    QImageButton button;
    button.setImages(m_red, m_blue);
    moveTo(&button, QPoint(2, 2));
    QSignalSpy presses(&button, &QImageButton::mousePress);
    pressAt(&button, QPoint(2, 2));
    QCOMPARE(presses.count(), 1);
    QCOMPARE(presses.at(0).at(1).value<QWidget *>(), &button);
    QVERIFY(button.isHovered()); // the press alone leaves the picture as it was
    QCOMPARE(shownColour(button), QColor(Qt::blue));
}

void TestMouseLabels::noteLampReportsItself()
{
    QNoteLamp lamp;
    QCOMPARE(lamp.lampIndex, -1);
    lamp.lampIndex = 2;
    QSignalSpy presses(&lamp, &QNoteLamp::mousePress);
    QSignalSpy moves(&lamp, &QNoteLamp::mouseMove);
    QSignalSpy releases(&lamp, &QNoteLamp::mouseRelease);
    QSignalSpy leaves(&lamp, &QNoteLamp::mouseLeave);
    // The lamp does not track the mouse: moves arrive while a button is held.
    moveTo(&lamp, QPoint(1, 1), Qt::LeftButton);
    pressAt(&lamp, QPoint(1, 1));
    releaseAt(&lamp, QPoint(1, 1));
    leave(&lamp);
    QCOMPARE(presses.count(), 1);
    auto *sender = qobject_cast<QNoteLamp *>(presses.at(0).at(1).value<QWidget *>());
    QVERIFY(sender);
    QCOMPARE(sender->lampIndex, 2);
    QCOMPARE(moves.count(), 1);
    QCOMPARE(releases.count(), 1);
    QCOMPARE(leaves.count(), 1);
}

void TestMouseLabels::picturesTakeTheirSharpTwinOnScaledScreens()
{
    const QString play = QStringLiteral(":/img/bt_play.png");
    const QPixmap plain = Picture::load(play, 1.0);
    QCOMPARE(plain.devicePixelRatio(), 1.0);
    QCOMPARE(plain.size(), QSize(39, 39));
    // Anything above one takes the twin; it lays out at the same size.
    for (qreal scale : {1.25, 2.0, 3.0}) {
        const QPixmap sharp = Picture::load(play, scale);
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        QCOMPARE(sharp.size(), QSize(78, 78));
        QCOMPARE(sharp.deviceIndependentSize(), QSizeF(39, 39));
    }
    // A picture without a twin, and a path without a suffix, load as they are.
    QTemporaryDir dir;
    const QString lone = dir.filePath("lone.png");
    QVERIFY(QImage(5, 5, QImage::Format_RGB32).save(lone));
    QCOMPARE(Picture::load(lone, 2.0).size(), QSize(5, 5));
    QCOMPARE(Picture::load(lone, 2.0).devicePixelRatio(), 1.0);
    QVERIFY(Picture::load(dir.filePath("none"), 2.0).isNull());
}

QTEST_MAIN(TestMouseLabels)
#include "tst_mouselabels.moc"
