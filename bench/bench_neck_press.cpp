// Neck press to a complete "tmp_sound.wav": the press handler renders the note synchronously,
// so the file is written and closed when the press returns.
#include "app/MainWindow.h"
#include "widgets/QMELabel.h"

#include <QApplication>
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
