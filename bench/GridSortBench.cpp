// The string grid's sort at a million rows of ten columns, each beside a
// stable sort of the same keys in the same run: a numeric column beside
// stable-sorting (number, row) pairs parsed from the same texts, a text
// column beside stable-sorting (text, row) pairs, and the undo beside
// stable-sorting the (entry, row) pairs of a shuffled permutation. The sort must
// create no cell properties ("props" stays 0).
// BM_QSortColumn starts each sort from the fill order. BM_QSortColumnResort
// sorts while the rows stand sorted by another column, as the second header
// click does, on the worst keys: numbers with a decimal comma and many ties
// (with Full the ties fall through to the next column), and texts sharing a
// long prefix, so that their first characters never decide; its peer sorts
// the same keys in the same order. The undo runs on a plain grid and on one
// of long distinct texts with mixed row heights and a hidden column.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridSort.h"
#include "platform/runtime/SysUtils.h"

#include <QScopeGuard>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int Cols = 10;
// The grid reads its keys and moves every cell of every row on top of the
// bare sort: within 2x of it.
constexpr double SortLimit = 2;

std::unique_ptr<TExStringGrid> MakeGrid(std::vector<QString>& numbers, std::vector<QString>& words)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows + 1);
    std::mt19937 rnd(5);
    const QString text = QStringLiteral("cell text");
    numbers.resize(Rows);
    words.resize(Rows);
    for (int r = 0; r < Rows; ++r) {
        numbers[std::size_t(r)] = QString::number(int(rnd() % 1000000));
        QString w;
        for (int k = 0; k < 8; ++k)
            w += QChar(u'a' + int(rnd() % 26));
        words[std::size_t(r)] = w;
        g->SetCells(1, r + 1, numbers[std::size_t(r)]);
        g->SetCells(2, r + 1, words[std::size_t(r)]);
        for (int c = 3; c < Cols; ++c)
            g->SetCells(c, r + 1, text);
    }
    return g;
}

struct TFixture {
    std::vector<QString> Numbers, Words;
    std::unique_ptr<TExStringGrid> Grid = MakeGrid(Numbers, Words);
};

TFixture& Fixture()
{
    static TFixture f;
    return f;
}

// Column 1: numbers with a decimal comma, 100,000 values over a million rows;
// column 2: texts sharing a long prefix; column 3: a distinct text per row,
// where ties of the others end; the rest distinct long texts without tags,
// rows of mixed heights and one hidden column. Made under a comma locale.
std::unique_ptr<TExStringGrid> MakeWorstGrid()
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows + 1);
    std::mt19937 rnd(11);
    for (int r = 1; r <= Rows; ++r) {
        const int v = int(rnd() % 100000);
        g->SetCells(1, r, QStringLiteral("%1,%2").arg(v / 100).arg(v % 100, 2, 10, QChar(u'0')));
        g->SetCells(2, r, QStringLiteral("Transmitter loop %1").arg(int(rnd() % 1000000), 7, 10, QChar(u'0')));
        g->SetCells(3, r, QStringLiteral("%1").arg(int(rnd()), 10, 10, QChar(u'0')));
        for (int c = 4; c < Cols; ++c)
            g->SetCells(c, r, benchpaired::worst::LongText(c, r));
    }
    benchpaired::worst::MixedHeights(*g, 1, Rows);
    g->HideColumn(Cols - 1);
    return g;
}

TExStringGrid& WorstGrid()
{
    static std::unique_ptr<TExStringGrid> g = [] {
        auto made = MakeWorstGrid();
        benchpaired::AtShutdown([] { g.reset(); });
        return made;
    }();
    return *g;
}

// The comma locale for the life of a benchmark.
auto CommaLocale()
{
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    return qScopeGuard([] { ResetFormatSettings(); });
}

double CommaNumber(const QString& s)
{
    QString u = s;
    u.replace(u',', u'.');
    return u.toDouble();
}

template <class K> void StableSortPairs(std::vector<std::pair<K, int>>& v)
{
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

void BM_QSortColumn(benchmark::State& state)
{
    TFixture& f = Fixture();
    TExStringGrid* g = f.Grid.get();
    const bool numeric = state.range(0) == 1;
    const std::vector<QString>& keys = numeric ? f.Numbers : f.Words;
    Paired(
        state,
        [&] {
            g->SortSettings()->Column = numeric ? 1 : 2;
            g->QSort();
        },
        [&] {
            if (numeric) {
                std::vector<std::pair<double, int>> v(keys.size());
                for (std::size_t i = 0; i < keys.size(); ++i)
                    v[i] = { keys[i].toDouble(), int(i) };
                StableSortPairs(v);
                benchmark::DoNotOptimize(v.data());
            } else {
                std::vector<std::pair<QString, int>> v(keys.size());
                for (std::size_t i = 0; i < keys.size(); ++i)
                    v[i] = { keys[i], int(i) };
                StableSortPairs(v);
                benchmark::DoNotOptimize(v.data());
            }
        },
        [&] { g->QUnSort(); });
    state.counters["props"] = g->HasCellProps() ? 1 : 0;
    Limit(state, SortLimit);
}
BENCHMARK(BM_QSortColumn)->Arg(1)->Arg(0)->ArgNames({ "numeric" })->UseManualTime()->Unit(benchmark::kMillisecond);

enum class TResortKey { NumberFull, NumberOnly, Text };

void BM_QSortColumnResort(benchmark::State& state)
{
    const auto key = TResortKey(state.range(0));
    const auto locale = CommaLocale();
    TExStringGrid& g = WorstGrid();
    const bool numeric = key != TResortKey::Text;
    const int column = numeric ? 1 : 2, other = numeric ? 2 : 1;
    const bool full = key != TResortKey::NumberOnly;
    // The keys and the tie-breaking column as the rows stand before each sort.
    std::vector<QString> keys(Rows), ties(Rows);
    Paired(
        state,
        [&] {
            g.SortSettings()->Column = column;
            g.QSort();
        },
        [&] {
            auto sortBy = [&](auto value) {
                using K = decltype(value(0));
                std::vector<std::pair<K, int>> v(keys.size());
                for (std::size_t i = 0; i < keys.size(); ++i)
                    v[i] = { value(i), int(i) };
                StableSortPairs(v);
                benchmark::DoNotOptimize(v.data());
            };
            if (numeric && full)
                sortBy([&](std::size_t i) { return std::pair(CommaNumber(keys[i]), ties[i]); });
            else if (numeric)
                sortBy([&](std::size_t i) { return CommaNumber(keys[i]); });
            else
                sortBy([&](std::size_t i) { return std::pair(keys[i], ties[i]); });
        },
        [&] {
            g.SortSettings()->Full = full;
            g.SortSettings()->Column = other;
            g.QSort();
            for (int r = 0; r < Rows; ++r) {
                keys[std::size_t(r)] = g.Cells(column, r + 1);
                ties[std::size_t(r)] = g.Cells(3, r + 1);
            }
        });
    g.SortSettings()->Full = true;
    state.counters["props"] = g.HasCellProps() ? 1 : 0;
    Limit(state, SortLimit);
}
BENCHMARK(BM_QSortColumnResort)
    ->ArgName("key")
    ->Arg(int(TResortKey::NumberFull))
    ->Arg(int(TResortKey::NumberOnly))
    ->Arg(int(TResortKey::Text))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_QUnSort(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    const auto locale = CommaLocale();
    TExStringGrid* g = worst ? &WorstGrid() : Fixture().Grid.get();
    std::vector<int> xref;
    Paired(
        state, [&] { g->QUnSort(); },
        [&] {
            std::vector<std::pair<int, int>> v(xref.size());
            for (std::size_t i = 0; i < xref.size(); ++i)
                v[i] = { xref[i], int(i) };
            StableSortPairs(v);
            benchmark::DoNotOptimize(v.data());
        },
        [&] {
            g->SortSettings()->Column = 1;
            g->QSort();
            // A shuffled permutation as long as the undo's cross-reference.
            if (xref.empty()) {
                xref.resize(std::size_t(g->RowCount()));
                for (std::size_t i = 0; i < xref.size(); ++i)
                    xref[i] = int(i);
                std::shuffle(xref.begin(), xref.end(), std::mt19937(9));
            }
        });
    state.counters["props"] = g->HasCellProps() ? 1 : 0;
    Limit(state, SortLimit);
}
BENCHMARK(BM_QUnSort)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond);

} // namespace
