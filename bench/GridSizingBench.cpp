// Sizing a column to its texts at a million rows of short plain texts beside
// what a program would do itself in the same run: a bare loop of the font
// metrics' advance over the same texts in the same font, within 2x. Worst
// 1: long distinct texts without tags in rows of mixed heights, a third of
// them hidden, the loop measuring the shown ones.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "platform/graphics/Graphics.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;
namespace screen = benchpaired::screen;

QString ShortText(int r)
{
    return QStringLiteral("Item %1").arg(r % 100000);
}

void BM_GridSizingAutoSizeColVsAdvanceLoop(benchmark::State& state)
{
    const int rows = screen::MillionRows;
    const bool worst = state.range(0) != 0;
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(3);
    g->SetRowCount(rows);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    for (int r = 0; r < rows; ++r)
        g->SetCells(1, r, worst ? benchpaired::worst::LongText(1, r) : ShortText(r));
    if (worst) {
        benchpaired::worst::MixedHeights(*g, 1, rows - 1);
        std::vector<int> hide;
        for (int r = 1; r < rows; r += 3)
            hide.push_back(r);
        g->HideRowList(hide);
    }
    // The shown texts, the fixed row's included.
    std::vector<QString> texts(static_cast<std::size_t>(g->RowCount()));
    for (int r = 0; r < g->RowCount(); ++r)
        texts[std::size_t(r)] = g->Cells(1, r);
    const QFontMetrics fm(g->Font()->ToQFont());
    int peerWidth = 0;
    Paired(
        state, [&] { g->AutoSizeCol(1, 0); },
        [&] {
            int w = 0;
            for (const QString& t : texts)
                w = std::max(w, fm.horizontalAdvance(t));
            peerWidth = w;
        });
    benchmark::DoNotOptimize(peerWidth);
    state.counters["width"] = g->ColWidths(1);
    Limit(state, 2);
}

BENCHMARK(BM_GridSizingAutoSizeColVsAdvanceLoop)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
