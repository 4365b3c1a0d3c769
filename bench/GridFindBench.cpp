// The string grid's find of a text in the last cell of a million rows of
// ten columns, beside a bare loop comparing the same texts in the same order;
// and a long key that nearly matches everywhere in a long cell, the worst
// case of a search that compares key and text from each place anew, beside
// the toolkit's own search of the same text.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int Cols = 10;

void BM_GridFindFirstLastCellVsBareLoop(benchmark::State& state)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    const QString text = QStringLiteral("Cell Text");
    const QString last = QStringLiteral("the Needle");
    std::vector<std::vector<QString>> rows(std::size_t(Rows), std::vector<QString>(Cols, text));
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            g->SetCells(c, r, text);
    g->SetCells(Cols - 1, Rows - 1, last);
    rows.back().back() = last;
    const QString key = QStringLiteral("NEEDLE");
    int found = 0;
    Paired(
        state,
        [&] {
            const QPoint p = g->FindFirst(QStringLiteral("needle"), {});
            benchmark::DoNotOptimize(found = p.y());
        },
        [&] {
            // Down the columns, as the find walks by default.
            for (int c = 0; c < Cols; ++c)
                for (int r = 0; r < Rows; ++r)
                    if (rows[std::size_t(r)][std::size_t(c)].contains(key, Qt::CaseInsensitive)) {
                        benchmark::DoNotOptimize(found = r);
                        return;
                    }
        });
    if (found != Rows - 1)
        state.SkipWithError("the last cell was not found");
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
BENCHMARK(BM_GridFindFirstLastCellVsBareLoop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
