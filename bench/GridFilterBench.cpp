// The string grid's filter at a million rows of ten columns: a wildcard
// condition hiding half the rows as one filter level, beside a bare loop
// matching the same texts with the same matcher and collecting the indexes,
// and beside a proxy model filtering an item model of the same texts with
// the same wildcard (both filtered once untimed first, then in steady
// state). Filtering must create no cell properties ("props" stays 0).
#include "bench/BenchPaired.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"

#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QString>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

using benchpaired::Paired;

constexpr int Rows = 1000000;
constexpr int Cols = 10;

struct TFixture {
    std::vector<QString> Words;
    std::unique_ptr<TExStringGrid> Grid;
    TFixture()
    {
        Grid = std::make_unique<TExStringGrid>(nullptr);
        Grid->SetColCount(Cols);
        Grid->SetRowCount(Rows + 1);
        std::mt19937 rnd(7);
        const QString text = QStringLiteral("cell text");
        Words.resize(Rows);
        for (int r = 0; r < Rows; ++r) {
            QString w(rnd() % 2 ? u'a' : u'b');
            for (int k = 0; k < 7; ++k)
                w += QChar(u'a' + int(rnd() % 26));
            Words[std::size_t(r)] = w;
            Grid->SetCells(1, r + 1, w);
            for (int c = 2; c < Cols; ++c)
                Grid->SetCells(c, r + 1, text);
        }
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

TFixture& Fixture()
{
    static TFixture f;
    return f;
}

void BM_FilterWildcardVsLoop(benchmark::State& state)
{
    TFixture& f = Fixture();
    TExStringGrid* g = f.Grid.get();
    const QString cond = QStringLiteral("a*");
    Paired(
        state, [&] { g->ApplyFilter(); },
        [&] {
            std::vector<int> hide;
            for (std::size_t i = 0; i < f.Words.size(); ++i)
                if (!MatchFilterExpression(cond, f.Words[i].trimmed(), true))
                    hide.push_back(int(i));
            benchmark::DoNotOptimize(hide.data());
        },
        [&] { DropLevels(*g); });
    state.counters["shown"] = g->RowCount() - 1;
    state.counters["props"] = g->HasCellProps() ? 1 : 0;
    DropLevels(*g);
}
BENCHMARK(BM_FilterWildcardVsLoop)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FilterWildcardVsProxyModel(benchmark::State& state)
{
    TFixture& f = Fixture();
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
    DropLevels(*g);
}
BENCHMARK(BM_FilterWildcardVsProxyModel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
