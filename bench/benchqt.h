#pragma once

// What the benchmark programs that run a Qt event loop share: their main() and a way to wait in
// the loop.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace BenchQt {

// Runs the event loop, sleeping between events, until done() holds or timeoutMs have passed.
template<typename Done>
bool spinUntil(Done done, int timeoutMs = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(5);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The body of main(): Qt's messages go nowhere, widgets draw offscreen unless QT_QPA_PLATFORM
// names another platform, an application of type App runs the benchmarks named on the command
// line.
template<typename App>
int runBenchmarks(int argc, char **argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace BenchQt
