// The string grid's row operations at a million rows of ten columns, each
// beside what a program would do with its own rows in the same run: one row
// in and out in the middle beside a vector of row pointers; removing
// duplicates beside a hash-set pass over row pointers; a filter level of half
// the rows hidden and shown again at a million rows beside a tenth of that.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"

#include <QSet>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int Cols = 10;

// Column 0 holds Key (row); the other cells share one text, as a filled
// grid's repeated values do.
template <class Key> std::unique_ptr<TExStringGrid> MakeGrid(int rows, Key key)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(rows);
    g->SetFixedRows(0);
    const QString text = QStringLiteral("cell text");
    for (int r = 0; r < rows; ++r) {
        g->SetCells(0, r, key(r));
        for (int c = 1; c < Cols; ++c)
            g->SetCells(c, r, text);
    }
    return g;
}

using TRow = std::vector<QString>;

template <class Key> std::vector<TRow*> MakeRows(int rows, Key key)
{
    const QString text = QStringLiteral("cell text");
    std::vector<TRow*> v(std::size_t(rows), nullptr);
    for (int r = 0; r < rows; ++r) {
        v[std::size_t(r)] = new TRow(Cols, text);
        (*v[std::size_t(r)])[0] = key(r);
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
    auto g = MakeGrid(Rows, Numbered);
    std::vector<TRow*> v = MakeRows(Rows, Numbered);
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
}

void BM_GridRowsRemoveDuplicatesVsHashSet(benchmark::State& state)
{
    // Every second row repeats the one above it.
    auto pairs = [](int r) { return QString::number(r / 2); };
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
            g = MakeGrid(Rows, pairs);
            FreeRows(v);
            v = MakeRows(Rows, pairs);
        });
    FreeRows(v);
}

void BM_GridRowsFilterLevelMillionVsTenth(benchmark::State& state)
{
    auto big = MakeGrid(Rows, Numbered);
    auto small = MakeGrid(Rows / 10, Numbered);
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
}

BENCHMARK(BM_GridRowsInsertRemoveMiddleVsVector)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRowsRemoveDuplicatesVsHashSet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridRowsFilterLevelMillionVsTenth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
