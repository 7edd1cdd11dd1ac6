// Neck press to a complete "tmp_sound.wav", and a sound button's key to a complete strum file:
// both handlers render synchronously, so the file is written and closed when the press returns.
#include "app/MainWindow.h"
#include "history/SongHistory.h"
#include "model/CurrentSound.h"
#include "widgets/QMELabel.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {
void sendMouse(QWidget *target, QEvent::Type type, QPoint pos, Qt::MouseButton button)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void BM_NeckPressToNoteFile(benchmark::State &state)
{
    MainWindow window;
    auto *neck = window.findChild<QMELabel *>();
    // Second string, fret 3.
    const QPoint centre = QMELabel::gridPoint(1, 4) + QPoint(10, 10);
    sendMouse(neck, QEvent::MouseMove, centre, Qt::NoButton);
    for (auto _ : state)
        sendMouse(neck, QEvent::MouseButtonPress, centre, Qt::LeftButton);
}
BENCHMARK(BM_NeckPressToNoteFile)->Unit(benchmark::kMillisecond);

// Key 1 plays button 1, a C chord: selected, loaded into the form, rendered and written.
void BM_KeyToStrumFile(benchmark::State &state)
{
    MainWindow window;
    SoundInfo chord;
    chord.reset();
    const int frets[SoundInfo::Strings] = {0, 1, 0, 2, 3, -1};
    std::copy(frets, frets + SoundInfo::Strings, chord.fret[0]);
    window.findChild<SongHistory *>()->addButton(0, chord);
    const auto pressKey = [&window] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        QApplication::sendEvent(&window, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        QApplication::sendEvent(&window, &release);
    };
    const QString strumFile = window.findChild<CurrentSound *>()->strumFile();
    QFile::remove(strumFile);
    pressKey();
    if (!QFile::exists(strumFile))
        state.SkipWithError("the key wrote no strum file");
    for (auto _ : state)
        pressKey();
}
BENCHMARK(BM_KeyToStrumFile)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ommerlund"));
    QCoreApplication::setApplicationName(QStringLiteral("Kavendra"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
