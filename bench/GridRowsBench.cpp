// The string grid's row operations at a million rows of ten columns, each
// beside what a program would do with its own rows in the same run: one row
// in and out in the middle beside a vector of row pointers; removing
// duplicates beside a hash-set pass over row pointers; a filter level of half
// the rows hidden and shown again at a million rows beside a tenth of that
// (within 12x; the others within 2x of the peer). Worst 1: the other cells
// distinct (long texts without tags in three columns), rows of mixed
// heights, a hidden column and the rows sorted by another column.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridSort.h"

#include <QSet>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;

constexpr double PeerLimit = 2;
constexpr double GrowthLimit = 12;

constexpr int Rows = 1000000;
constexpr int Cols = 10;

// The other cells: one shared text, as a filled grid's repeated values, or
// distinct ones in the worst case.
QString OtherText(int c, int r, bool worst)
{
    static const QString text = QStringLiteral("cell text");
    if (!worst)
        return text;
    return c <= 3 ? benchpaired::worst::LongText(c, r) : QStringLiteral("%1:%2").arg(r).arg(c);
}

// Column 0 holds Key (row).
template <class Key> std::unique_ptr<TExStringGrid> MakeGrid(int rows, Key key, bool worst = false)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(rows);
    g->SetFixedRows(0);
    for (int r = 0; r < rows; ++r) {
        g->SetCells(0, r, key(r));
        for (int c = 1; c < Cols; ++c)
            g->SetCells(c, r, OtherText(c, r, worst));
    }
    if (worst) {
        benchpaired::worst::MixedHeights(*g, 0, rows - 1);
        g->SortSettings()->Column = 4;
        g->SortSettings()->Direction = TSortDirection::sdDescending;
        g->QSort();
        g->HideColumn(Cols - 1);
    }
    return g;
}

using TRow = std::vector<QString>;

template <class Key> std::vector<TRow*> MakeRows(int rows, Key key, bool worst = false)
{
    std::vector<TRow*> v(std::size_t(rows), nullptr);
    for (int r = 0; r < rows; ++r) {
        TRow* row = new TRow(Cols);
        (*row)[0] = key(r);
        for (int c = 1; c < Cols; ++c)
            (*row)[std::size_t(c)] = OtherText(c, r, worst);
        v[std::size_t(r)] = row;
    }
    return v;
}

void FreeRows(std::vector<TRow*>& v)
{
    for (TRow* r : v)
        delete r;
    v.clear();
}

QString Numbered(int r)
{
    return QString::number(r);
}

void BM_GridRowsInsertRemoveMiddleVsVector(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    auto g = MakeGrid(Rows, Numbered, worst);
    std::vector<TRow*> v = MakeRows(Rows, Numbered, worst);
    constexpr int mid = Rows / 2;
    Paired(
        state,
        [&] {
            g->InsertRows(mid, 1);
            g->RemoveRows(mid, 1);
        },
        [&] {
            v.insert(v.begin() + mid, new TRow(Cols));
            delete v[mid];
            v.erase(v.begin() + mid);
        });
    benchmark::DoNotOptimize(g->RowCount());
    FreeRows(v);
    Limit(state, PeerLimit);
}

void BM_GridRowsRemoveDuplicatesVsHashSet(benchmark::State& state)
{
    // Every second row repeats the one above it.
    auto pairs = [](int r) { return QString::number(r / 2); };
    const bool worst = state.range(0) != 0;
    std::unique_ptr<TExStringGrid> g;
    std::vector<TRow*> v;
    Paired(
        state, [&] { g->RemoveDuplicates(0, true); },
        [&] {
            QSet<QString> seen;
            const auto end = std::remove_if(v.begin(), v.end(), [&](TRow* r) {
                const QString& key = (*r)[0];
                if (seen.contains(key)) {
                    delete r;
                    return true;
                }
                seen.insert(key);
                return false;
            });
            v.erase(end, v.end());
        },
        [&] {
            g = MakeGrid(Rows, pairs, worst);
            FreeRows(v);
            v = MakeRows(Rows, pairs, worst);
        });
    FreeRows(v);
    Limit(state, PeerLimit);
}

void BM_GridRowsFilterLevelMillionVsTenth(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    auto big = MakeGrid(Rows, Numbered, worst);
    auto small = MakeGrid(Rows / 10, Numbered, worst);
    auto everySecond = [](int rows) {
        std::vector<int> list;
        for (int r = 1; r < rows; r += 2)
            list.push_back(r);
        return list;
    };
    const std::vector<int> bigList = everySecond(Rows), smallList = everySecond(Rows / 10);
    auto level = [](TExStringGrid& g, const std::vector<int>& list) {
        g.HideRowList(list);
        g.UnHideRowList();
    };
    // One untimed level on each first: the first level of a process touches
    // fresh memory for its records, and the small grid would otherwise reuse
    // what the big one just freed and never pay for it.
    level(*big, bigList);
    level(*small, smallList);
    Paired(
        state, [&] { level(*big, bigList); }, [&] { level(*small, smallList); });
    Limit(state, GrowthLimit);
}

BENCHMARK(BM_GridRowsInsertRemoveMiddleVsVector)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRowsRemoveDuplicatesVsHashSet)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_GridRowsFilterLevelMillionVsTenth)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
