// The string grid's cell texts at a million rows of ten columns: reading
// every cell back beside reading a std::vector<QString> of the same texts,
// which must create no cell properties; short texts of their own per cell
// in a plain grid (worst 0), and long distinct texts without tags in a grid
// of mixed row heights with a hidden column, its rows sorted by another
// column (worst 1). The memory the texts take is BM_GridMemoryVsTableView's.
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
// A cell read within 2x of a vector element's.
constexpr double ReadLimit = 2;

// A short text of its own per cell, so that no two cells share their data.
QString CellText(int c, int r)
{
    return QString::number(r) + QLatin1Char(':') + QString::number(c);
}

void BM_GridAccessReadAllVsVector(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            g->SetCellEx(c, r, worst ? benchpaired::worst::LongText(c, r) : CellText(c, r));
    if (worst) {
        benchpaired::worst::MixedHeights(*g, 0, Rows - 1);
        g->SortSettings()->Column = 2;
        g->SortSettings()->Direction = TSortDirection::sdDescending;
        g->QSort();
        g->HideColumn(3);
    }
    // The vector holds the texts in the grid's order, each its own copy.
    std::vector<QString> v;
    v.reserve(std::size_t(Rows) * Cols);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            v.push_back(QString(g->AllCells(c, r).constData(), g->AllCells(c, r).size()));
    qsizetype gridChars = 0, vecChars = 0;
    Paired(
        state,
        [&] {
            for (int r = 0; r < Rows; ++r)
                for (int c = 0; c < Cols; ++c)
                    gridChars += g->AllCells(c, r).size();
        },
        [&] {
            for (const QString& s : v)
                vecChars += s.size();
        });
    benchmark::DoNotOptimize(gridChars);
    benchmark::DoNotOptimize(vecChars);
    // Reads never create cell properties.
    state.counters["cell_props_created"] = g->HasCellProps() ? 1 : 0;
    if (g->HasCellProps())
        state.SkipWithError("reading the cells created cell properties");
    else if (gridChars != vecChars)
        state.SkipWithError("the grid and the vector read different texts");
    else
        Limit(state, ReadLimit);
}
BENCHMARK(BM_GridAccessReadAllVsVector)->Apply(benchpaired::BestAndWorst)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
