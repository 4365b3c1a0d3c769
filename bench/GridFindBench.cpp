// The string grid's find of a text in the last cell of a million rows of
// ten columns, beside a bare loop comparing the same texts in the same order.
// Every cell holds a text of its own, so the walk pays for reaching each
// cell's data: short texts in a plain grid (worst 0), or long texts without
// tags in a grid of mixed row heights with a hidden column, its rows sorted
// by another column (worst 1);
// and a long key that nearly matches everywhere in a long cell, the worst
// case of a search that compares key and text from each place anew, beside
// the toolkit's own search of the same text.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridSort.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int Cols = 10;
constexpr int HiddenCol = 4;
// The grid's walk within 2x of the bare loop's.
constexpr double FindLimit = 2;

void BM_GridFindFirstLastCellVsBareLoop(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            g->SetCells(c, r, worst ? benchpaired::worst::LongText(c, r) : QStringLiteral("Cell %1:%2").arg(r).arg(c));
    if (worst) {
        benchpaired::worst::MixedHeights(*g, 0, Rows - 1);
        g->SortSettings()->Column = 1;
        g->SortSettings()->Direction = TSortDirection::sdDescending;
        g->QSort();
        g->HideColumn(HiddenCol);
    }
    const int cols = g->ColCount();
    const QString last = QStringLiteral("the Needle");
    g->SetCells(g->RealColIndex(cols - 1), Rows - 1, last);
    // The shown columns' texts in the grid's order, sharing the grid's data.
    std::vector<std::vector<QString>> columns(static_cast<std::size_t>(cols), std::vector<QString>(Rows));
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < Rows; ++r)
            columns[std::size_t(c)][std::size_t(r)] = g->Cells(g->RealColIndex(c), r);
    const QString key = QStringLiteral("NEEDLE");
    int found = 0, peerFound = 0;
    Paired(
        state,
        [&] {
            const QPoint p = g->FindFirst(QStringLiteral("needle"), {});
            benchmark::DoNotOptimize(found = p.y());
        },
        [&] {
            // Down the columns, as the find walks by default.
            for (const std::vector<QString>& column : columns)
                for (int r = 0; r < Rows; ++r)
                    if (column[std::size_t(r)].contains(key, Qt::CaseInsensitive)) {
                        benchmark::DoNotOptimize(peerFound = r);
                        return;
                    }
        });
    if (found != Rows - 1 || peerFound != Rows - 1)
        state.SkipWithError("the last cell was not found");
    else
        Limit(state, FindLimit);
}

// A "b" and 10,000 "a" as the key, in a cell of 200,000 "a" and then the
// key, found without regard to case: every place of the cell matches all
// of the key but its first letter.
void BM_GridFindLongKeyInLongCellVsToolkitSearch(benchmark::State& state)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(1);
    g->SetRowCount(1);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    const QString cell = QString(200000, u'a') + u'b' + QString(10000, u'a');
    const QString key = u'B' + QString(10000, u'A');
    g->SetCells(0, 0, cell);
    int found = 0;
    Paired(
        state,
        [&] {
            const QPoint p = g->FindFirst(key, {});
            benchmark::DoNotOptimize(found = p.x());
        },
        [&] { benchmark::DoNotOptimize(cell.contains(key, Qt::CaseInsensitive)); });
    if (found != 0)
        state.SkipWithError("the cell was not found");
}

} // namespace

BENCHMARK(BM_GridFindLongKeyInLongCellVsToolkitSearch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridFindFirstLastCellVsBareLoop)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
