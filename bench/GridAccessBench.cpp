// The string grid's cell texts at a million rows of ten columns: the heap a
// grid of short texts written through the cell writer takes beside a
// std::vector<QString> of the same texts; the same grid left empty; and
// reading every cell back beside reading the vector, which must create no
// cell properties.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int Cols = 10;

double HeapInUse()
{
    malloc_trim(0);
    return double(mallinfo2().uordblks);
}

// A short text of its own per cell, so that no two cells share their data.
QString CellText(int c, int r)
{
    return QString::number(r) + QLatin1Char(':') + QString::number(c);
}

std::unique_ptr<TExStringGrid> MakeGrid()
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    return g;
}

void BM_GridAccessMemoryVsVector(benchmark::State& state)
{
    for (auto _ : state) {
        const double base = HeapInUse();
        auto empty = MakeGrid();
        const double emptyBytes = HeapInUse() - base;
        empty.reset();

        const double gridBase = HeapInUse();
        auto g = MakeGrid();
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                g->SetCellEx(c, r, CellText(c, r));
        const double gridBytes = HeapInUse() - gridBase;

        const double vecBase = HeapInUse();
        std::vector<QString> v;
        v.reserve(std::size_t(Rows) * Cols);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                v.push_back(CellText(c, r));
        const double vecBytes = HeapInUse() - vecBase;

        state.counters["grid_MB"] = gridBytes / 1e6;
        state.counters["vector_MB"] = vecBytes / 1e6;
        state.counters["mem_ratio"] = gridBytes / vecBytes;
        state.counters["empty_grid_bytes_per_cell"] = emptyBytes / (double(Rows) * Cols);
        if (gridBytes > 2 * vecBytes)
            state.SkipWithError("grid of short texts takes more than twice the vector's memory");
    }
}
BENCHMARK(BM_GridAccessMemoryVsVector)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GridAccessReadAllVsVector(benchmark::State& state)
{
    auto g = MakeGrid();
    std::vector<QString> v;
    v.reserve(std::size_t(Rows) * Cols);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            g->SetCellEx(c, r, CellText(c, r));
            v.push_back(CellText(c, r));
        }
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
}
BENCHMARK(BM_GridAccessReadAllVsVector)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
