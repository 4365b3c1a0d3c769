// Contracting and expanding a node of 100,000 rows in a grid of a million
// rows, beside hiding and showing the same rows as one filter level in a
// grid like it, in the same run; on short texts (worst 0) and on long
// distinct texts without tags in rows of mixed heights (worst 1).
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int NodeRow = 400000;
constexpr int Span = 100000;
constexpr int Cols = 5;

std::unique_ptr<TExStringGrid> MakeGrid(bool worst)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    g->SetFixedRows(1);
    const QString text = QStringLiteral("cell text");
    for (int r = 0; r < Rows; ++r)
        for (int c = 1; c < Cols; ++c)
            g->SetCells(c, r, worst ? benchpaired::worst::LongText(c, r) : text);
    if (worst)
        benchpaired::worst::MixedHeights(*g, 1, Rows - 1);
    return g;
}

void BM_GridNodesContractExpandVsFilterLevel(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    auto nodes = MakeGrid(worst);
    auto filtered = MakeGrid(worst);
    // Both grids carry the node, so the rows moved hold the same cell
    // properties (their levels); only the way they are hidden differs.
    nodes->AddNode(NodeRow, Span);
    filtered->AddNode(NodeRow, Span);
    std::vector<int> rows;
    for (int r = NodeRow + 1; r < NodeRow + Span; ++r)
        rows.push_back(r);
    // Both sides must really have hidden the rows and shown them again.
    const int shownWhileHidden = Rows - (Span - 1);
    bool nodeHid = true, filterHid = true;
    Paired(
        state,
        [&] {
            nodes->ContractNode(NodeRow);
            nodeHid = nodeHid && nodes->RowCount() == shownWhileHidden;
            nodes->ExpandNode(NodeRow);
            nodeHid = nodeHid && nodes->RowCount() == Rows;
        },
        [&] {
            filtered->HideRowList(rows);
            filterHid = filterHid && filtered->RowCount() == shownWhileHidden;
            filtered->UnHideRowList();
            filterHid = filterHid && filtered->RowCount() == Rows;
        });
    if (!nodeHid)
        state.SkipWithError("the node did not contract and expand its rows");
    else if (!filterHid)
        state.SkipWithError("the filter level did not hide and show the rows");
    else
        benchpaired::Limit(state, 3);
}

BENCHMARK(BM_GridNodesContractExpandVsFilterLevel)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
