// Sizing a column to its texts at a million rows of short plain texts beside
// what a program would do itself in the same run: a bare loop of the font
// metrics' advance over the same texts in the same font.
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

using benchpaired::Paired;
namespace screen = benchpaired::screen;

QString ShortText(int r)
{
    return QStringLiteral("Item %1").arg(r % 100000);
}

void BM_GridSizingAutoSizeColVsAdvanceLoop(benchmark::State& state)
{
    const int rows = screen::MillionRows;
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(3);
    g->SetRowCount(rows);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    std::vector<QString> texts(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        texts[std::size_t(r)] = ShortText(r);
        g->SetCells(1, r, texts[std::size_t(r)]);
    }
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
}

BENCHMARK(BM_GridSizingAutoSizeColVsAdvanceLoop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
