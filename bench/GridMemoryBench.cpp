// Resident memory of a million rows of ten columns, each figure taken in a
// fresh process (bench/memory/MemoryProgram.cpp), so that what ran before in
// this one cannot lend or take pages: the string grid filled through the
// cell writer beside a table view on a model keeping the same texts in one
// vector, with short texts of their own per cell (texts 0) and with long
// distinct texts without tags (texts 1); and the grid left empty, per cell.
#include "bench/BenchPaired.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

using benchpaired::Limit;
using benchpaired::Seconds;
using Clock = benchpaired::Clock;

constexpr double Cells = 1e7;
// The grid's texts within twice the view's memory.
constexpr double MemoryLimit = 2;

// The bytes the program reports, or -1 when it failed.
double Measure(const QString& Kind, const QString& Texts)
{
    QProcess p;
    p.start(QStringLiteral(MORV_MEMORY_PROGRAM), { Kind, Texts });
    if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    bool ok = false;
    const double bytes = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? bytes : -1;
}

void BM_GridMemoryVsTableView(benchmark::State& state)
{
    const QString texts = state.range(0) ? QStringLiteral("long") : QStringLiteral("short");
    double grid = 0, view = 0, empty = 0;
    for (auto _ : state) {
        const auto t = Clock::now();
        grid = Measure(QStringLiteral("grid"), texts);
        state.SetIterationTime(Seconds(Clock::now() - t));
        view = Measure(QStringLiteral("view"), texts);
        empty = Measure(QStringLiteral("empty"), texts);
        if (grid <= 0 || view <= 0 || empty < 0) {
            state.SkipWithError("the memory program failed");
            return;
        }
    }
    state.counters["grid_MB"] = grid / 1e6;
    state.counters["view_MB"] = view / 1e6;
    state.counters["empty_grid_bytes_per_cell"] = empty / Cells;
    state.counters["ratio"] = grid / view;
    Limit(state, MemoryLimit);
}

} // namespace

BENCHMARK(BM_GridMemoryVsTableView)
    ->ArgName("texts")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
