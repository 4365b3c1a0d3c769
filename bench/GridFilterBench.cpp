// The string grid's filter at a million rows of ten columns: a wildcard
// condition hiding half the rows as one filter level, beside a bare loop
// testing the same prefix directly over the same texts and collecting the
// indexes, and beside a proxy model filtering an item model of the same
// texts with the same wildcard (both filtered once untimed first, then in
// steady state). Filtering must create no cell properties ("props" stays 0).
// Each runs on short words in a plain grid (worst 0) and on long distinct
// texts without tags in a grid of mixed row heights with a hidden column,
// its rows sorted by another column (worst 1).
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridSort.h"

#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QString>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int Cols = 10;

// The grid filters within 2x of the bare loop, and never slower than the
// proxy model.
constexpr double LoopLimit = 2;
constexpr double ProxyLimit = 1;

struct TFixture {
    // The filtered column's texts in the grid's row order.
    std::vector<QString> Words;
    std::unique_ptr<TExStringGrid> Grid;
    explicit TFixture(bool Worst)
    {
        Grid = std::make_unique<TExStringGrid>(nullptr);
        Grid->SetColCount(Cols);
        Grid->SetRowCount(Rows + 1);
        std::mt19937 rnd(7);
        const QString text = QStringLiteral("cell text");
        for (int r = 0; r < Rows; ++r) {
            QString w(rnd() % 2 ? u'a' : u'b');
            for (int k = 0; k < 7; ++k)
                w += QChar(u'a' + int(rnd() % 26));
            if (Worst)
                w += benchpaired::worst::LongText(1, r);
            Grid->SetCells(1, r + 1, w);
            for (int c = 2; c < Cols; ++c)
                Grid->SetCells(c, r + 1, Worst ? QStringLiteral("%1:%2").arg(r).arg(c) : text);
        }
        if (Worst) {
            Grid->SetDefaultRowHeight(benchpaired::worst::LowRow);
            benchpaired::worst::MixedHeights(*Grid, 1, Rows);
            Grid->SortSettings()->Column = 3;
            Grid->QSort();
            Grid->HideColumn(5);
        }
        Words.resize(Rows);
        for (int r = 0; r < Rows; ++r)
            Words[std::size_t(r)] = Grid->Cells(1, r + 1);
        TFilterData* d = Grid->Filter()->Add();
        d->Column = 1;
        d->Condition = QStringLiteral("a*");
    }
};

// Brings every row back; the filter's condition stays.
void DropLevels(TExStringGrid& g)
{
    while (g.FilterLevel() > 0)
        g.RemoveLastFilter();
}

TFixture& Fixture(bool Worst)
{
    if (Worst) {
        static TFixture f(true);
        return f;
    }
    static TFixture f(false);
    return f;
}

void BM_FilterWildcardVsLoop(benchmark::State& state)
{
    TFixture& f = Fixture(state.range(0) != 0);
    TExStringGrid* g = f.Grid.get();
    // "a*", case-sensitive, on the trimmed text: a prefix test.
    const QString prefix = QStringLiteral("a");
    std::size_t kept = 0;
    g->ApplyFilter();
    DropLevels(*g);
    Paired(
        state, [&] { g->ApplyFilter(); },
        [&] {
            std::vector<int> hide;
            for (std::size_t i = 0; i < f.Words.size(); ++i)
                if (!QStringView(f.Words[i]).trimmed().startsWith(prefix))
                    hide.push_back(int(i));
            kept = f.Words.size() - hide.size();
            benchmark::DoNotOptimize(hide.data());
        },
        [&] { DropLevels(*g); });
    state.counters["shown"] = g->RowCount() - 1;
    state.counters["props"] = g->HasCellProps() ? 1 : 0;
    if (std::size_t(g->RowCount() - 1) != kept)
        state.SkipWithError("the grid and the loop kept different rows");
    else
        Limit(state, LoopLimit);
    DropLevels(*g);
}
BENCHMARK(BM_FilterWildcardVsLoop)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FilterWildcardVsProxyModel(benchmark::State& state)
{
    TFixture& f = Fixture(state.range(0) != 0);
    TExStringGrid* g = f.Grid.get();
    QStandardItemModel model(Rows, 1);
    for (int r = 0; r < Rows; ++r)
        model.setItem(r, 0, new QStandardItem(f.Words[std::size_t(r)]));
    std::unique_ptr<QSortFilterProxyModel> proxy;
    int shown = 0;
    // A fresh proxy for each filter: taking a filter off makes a proxy put
    // its rows back one run at a time.
    auto newProxy = [&] {
        proxy = std::make_unique<QSortFilterProxyModel>();
        proxy->setSourceModel(&model);
    };
    auto filterProxy = [&] {
        // Anchored like the grid's pattern, so both keep the same rows.
        proxy->setFilterRegularExpression(
            QRegularExpression(QRegularExpression::wildcardToRegularExpression(QStringLiteral("a*"))));
        shown = proxy->rowCount();
    };
    // Both once untimed: the first filter of a process touches fresh memory
    // for its records, the proxy's for its mappings.
    newProxy();
    g->ApplyFilter();
    filterProxy();
    Paired(
        state, [&] { g->ApplyFilter(); }, filterProxy,
        [&] {
            DropLevels(*g);
            newProxy();
        });
    state.counters["shown"] = g->RowCount() - 1;
    state.counters["peer_shown"] = shown;
    state.counters["props"] = g->HasCellProps() ? 1 : 0;
    Limit(state, ProxyLimit);
    DropLevels(*g);
}
BENCHMARK(BM_FilterWildcardVsProxyModel)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
