// Resolving the look of one screen of cells (GetVisualProperties, as the
// painter asks it for every visible cell) at a million rows beside the same
// screen of a 100-row grid, in the same run: the per-cell path must not grow
// with the row count. Half the screen's cells have properties of their own,
// a block is selected and bands are on. Worst 1: rows of mixed heights over
// the whole grid, every third row below the screen hidden, a hidden column
// and long distinct texts without tags. Within 1.2x.
#include "bench/BenchPaired.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;
namespace screen = benchpaired::screen;

constexpr int ScreenRows = screen::Height / screen::RowHeight;

std::unique_ptr<TExStringGrid> MakeGrid(int rows, bool worst)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(screen::Cols + 1);
    g->SetRowCount(rows);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetAutoNumAlign(true);
    g->Bands()->SetActive(true);
    g->SetSelection(TGridRect { 2, 2, 6, 8 });
    for (int r = 1; r <= ScreenRows; ++r)
        for (int c = 1; c <= screen::Cols; ++c) {
            g->SetCells(c, r, worst ? benchpaired::worst::LongText(c, r) : QString::number(r * c));
            if ((r + c) % 2 == 0)
                g->GetCellProperties(c, r)->SetBrushColor(clYellow);
        }
    if (worst) {
        benchpaired::worst::MixedHeights(*g, 1, rows - 1);
        std::vector<int> hide;
        for (int r = ScreenRows + 2; r < rows; r += 3)
            hide.push_back(r);
        g->HideRowList(hide);
        g->HideColumn(screen::Cols);
    }
    return g;
}

void ResolveScreen(TExStringGrid& g, TBrush& brush, TFont& font)
{
    TColor to, mirror, mirrorTo;
    TAlignment ha;
    TVAlignment va;
    bool ww = false;
    TCellGradientDirection gd {};
    for (int r = 0; r <= ScreenRows; ++r)
        for (int c = 0; c <= screen::Cols; ++c) {
            TGridDrawState st;
            g.GetVisualProperties(c, r, st, false, true, true, &brush, to, mirror, mirrorTo, &font, ha, va, ww, gd);
            benchmark::DoNotOptimize(ha);
        }
}

void BM_GridLooksScreenMillionVsHundredRows(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    auto big = MakeGrid(screen::MillionRows, worst);
    auto small = MakeGrid(100, worst);
    TBrush brush;
    TFont font;
    Paired(
        state, [&] { ResolveScreen(*big, brush, font); }, [&] { ResolveScreen(*small, brush, font); });
    Limit(state, 1.2);
}

} // namespace

BENCHMARK(BM_GridLooksScreenMillionVsHundredRows)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMicrosecond);
