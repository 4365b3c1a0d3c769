// The string grid's sort at a million rows of ten columns, each beside a
// stable sort of the same keys in the same run: a numeric column beside
// stable-sorting (number, row) pairs parsed from the same texts, a text
// column beside stable-sorting (text, row) pairs, and the undo beside
// stable-sorting the (entry, row) pairs of a shuffled permutation. The sort must
// create no cell properties ("props" stays 0).
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridSort.h"

#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int Cols = 10;

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
                std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
                benchmark::DoNotOptimize(v.data());
            } else {
                std::vector<std::pair<QString, int>> v(keys.size());
                for (std::size_t i = 0; i < keys.size(); ++i)
                    v[i] = { keys[i], int(i) };
                std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
                benchmark::DoNotOptimize(v.data());
            }
        },
        [&] { g->QUnSort(); });
    state.counters["props"] = g->HasCellProps() ? 1 : 0;
}
BENCHMARK(BM_QSortColumn)->Arg(1)->Arg(0)->ArgNames({ "numeric" })->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_QUnSort(benchmark::State& state)
{
    TFixture& f = Fixture();
    TExStringGrid* g = f.Grid.get();
    std::vector<int> xref;
    Paired(
        state, [&] { g->QUnSort(); },
        [&] {
            std::vector<std::pair<int, int>> v(xref.size());
            for (std::size_t i = 0; i < xref.size(); ++i)
                v[i] = { xref[i], int(i) };
            std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
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
}
BENCHMARK(BM_QUnSort)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
