// Start-up to the first painted main window, process against process: the
// configurator's own run as its program entry runs it (the grids' state,
// every form created in the start-up order, the main window shown) and a
// minimal Qt Widgets program showing a window of the same size with as many
// push buttons as the main window has, both built here with the same flags
// and both ending after their first paint on the offscreen platform. Each
// iteration launches both; "ratio" is ours over Qt's over all runs,
// "best_ratio" that of the fastest run of each (the least disturbed by
// whatever else the machine does). Above 1.3 times Qt's the run fails.
#include "BenchPaired.h"

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <limits>

namespace {

constexpr double Limit = 1.3;

using Clock = std::chrono::steady_clock;

// Launches the program and waits for it to end; its output, or an empty
// string when it failed.
QString Launch(const QString& program, const QStringList& args, double& seconds)
{
    QProcess p;
    const auto t = Clock::now();
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    seconds = std::chrono::duration<double>(Clock::now() - t).count();
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

void BM_StartupToFirstPaint(benchmark::State& state)
{
    double ours = 0;
    double qt = 0;
    double oursBest = std::numeric_limits<double>::max();
    double qtBest = oursBest;
    QStringList shown;
    for (auto _ : state) {
        double spent = 0;
        const QString out = Launch(QStringLiteral(MORV_STARTUP_PROGRAM), {}, spent);
        shown = out.split(' ');
        if (shown.size() != 3) {
            state.SkipWithError("the start-up program did not paint its main window");
            return;
        }
        state.SetIterationTime(spent);
        ours += spent;
        oursBest = std::min(oursBest, spent);
        double qtSpent = 0;
        if (Launch(QStringLiteral(MORV_STARTUP_MINIMAL_QT), shown, qtSpent).isEmpty()) {
            state.SkipWithError("the minimal Qt program did not paint its window");
            return;
        }
        qt += qtSpent;
        qtBest = std::min(qtBest, qtSpent);
    }
    state.counters["qt_ms"] = benchmark::Counter(qt * 1000 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(ours / qt);
    state.counters["best_ratio"] = benchmark::Counter(oursBest / qtBest);
    state.SetLabel(QStringLiteral("%1 x %2, %3 buttons").arg(shown[0], shown[1], shown[2]).toStdString());
    benchpaired::FailAbove(state, ours / qt, Limit, "start-up", "the minimal Qt program's");
}

} // namespace

BENCHMARK(BM_StartupToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
