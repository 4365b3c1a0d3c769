// Growth pairs of the string grid: the same work far down a million rows
// beside near the top (within 1.2x), or at 10N rows beside N (within 12x,
// what a linear path gives with room for the machine's noise). Each figure
// is the far (or 10N) case over the near (or N) one, timed in one run; work
// that is a sort is held to the growth of the same sort done bare instead.
#include "bench/BenchPaired.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/controls/Forms.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QString>
#include <QTableView>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;
using namespace benchpaired::screen;

constexpr double FarLimit = 1.2;
constexpr double GrowthLimit = 12;
// Extents against Qt's header view, which keeps every section's position.
constexpr double HeaderLimit = 2;

std::unique_ptr<TExStringGrid> MakeGrid(int rows, int cols = Cols + 1)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetBounds(0, 0, Width, Height);
    g->SetDefaultColWidth(ColWidth);
    g->SetColCount(cols);
    g->SetRowCount(rows + 1);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    return g;
}

// ---------------------------------------------------------------------------
// Rows of mixed heights: every second row 24 px high over the whole grid, and
// every fiftieth row hidden. The last screen against the top one, each with
// texts and a merged area; Qt's header view with a section of the same size
// for each row shown is the reference ("header_ratio": its section
// positions and lookups there against here).

// The rows a filter leaves, as a proxy model hands them to a view.
class TRowsModel : public QAbstractTableModel {
public:
    std::vector<int> Heights;
    int rowCount(const QModelIndex& = {}) const override { return int(Heights.size()); }
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    // The grid's heights: sized (or hidden) one section at a time, the
    // header view takes minutes for a million.
    QVariant headerData(int Section, Qt::Orientation, int Role) const override
    {
        if (Role != Qt::SizeHintRole)
            return {};
        return QSize(ColWidth, Heights[std::size_t(Section)]);
    }
};

struct TMixedHeights {
    static constexpr int HiddenEvery = 50;
    std::unique_ptr<TExStringGrid> Grid = MakeGrid(MillionRows);
    int LastTop = 0;
    TRowsModel Model;
    QTableView View;
    TMixedHeights()
    {
        Grid->SetDefaultRowHeight(benchpaired::worst::LowRow);
        benchpaired::worst::MixedHeights(*Grid, 1, MillionRows);
        std::vector<int> hidden;
        for (int r = HiddenEvery / 2; r <= MillionRows; r += HiddenEvery)
            hidden.push_back(r);
        Grid->HideRowList(hidden);
        // Rows of 18 and 24 px alternate: the last screen starts this far up.
        LastTop = Grid->RowCount() - 2 * (Height / (benchpaired::worst::LowRow + RowHeight + 2));
        for (int top : { 1, LastTop }) {
            for (int r = top; r < top + 40 && r < Grid->RowCount(); ++r)
                for (int c = 1; c <= Cols; ++c)
                    Grid->SetCells(c, r, benchpaired::worst::LongText(c, r));
            Grid->MergeCells(3, top + 2, 3, 3);
        }
        Grid->HandleNeeded();
        for (int r = 0; r < Grid->RowCount(); ++r)
            Model.Heights.push_back(Grid->RowHeights(r));
        View.setModel(&Model);
        QHeaderView* h = View.verticalHeader();
        h->setMinimumSectionSize(1);
        h->resizeSections(QHeaderView::ResizeToContents);
    }
    int VisibleRows() const { return Height / benchpaired::worst::LowRow + 1; }
};

TMixedHeights& Mixed()
{
    static TMixedHeights m;
    return m;
}

// The sections of a screen of the grid from row Top.
std::vector<int> ShownSections(const TExStringGrid& g, int Top, int Rows)
{
    std::vector<int> s;
    for (int r = Top; r < Top + Rows && r < g.RowCount(); ++r)
        s.push_back(r);
    return s;
}

// The header view's section positions and lookups over the given sections.
double HeaderScreen(QHeaderView* h, const std::vector<int>& Sections)
{
    const auto t = benchpaired::Clock::now();
    for (int i = 0; i < 100; ++i)
        for (int r : Sections) {
            const int y = h->sectionPosition(r);
            benchmark::DoNotOptimize(h->visualIndexAt(y + 1));
        }
    return benchpaired::Seconds(benchpaired::Clock::now() - t);
}

void BM_GridMixedHeightsCellRectLastVsTop(benchmark::State& state)
{
    TMixedHeights& m = Mixed();
    TExStringGrid& g = *m.Grid;
    const int rows = m.VisibleRows();
    auto screen = [&](int top) {
        g.SetTopRow(top);
        for (int i = 0; i < 100; ++i)
            for (int r = top; r < top + rows && r < g.RowCount(); ++r)
                for (int c = 1; c <= Cols; ++c)
                    benchmark::DoNotOptimize(g.CellRect(c, r));
    };
    const std::vector<int> farSections = ShownSections(g, m.LastTop, rows), nearSections = ShownSections(g, 1, rows);
    // Untimed first: what the rows' last move left to be made again.
    screen(m.LastTop);
    screen(1);
    double far = 0, nearTime = 0;
    Paired(
        state, [&] { screen(m.LastTop); }, [&] { screen(1); },
        [&] {
            far += HeaderScreen(m.View.verticalHeader(), farSections);
            nearTime += HeaderScreen(m.View.verticalHeader(), nearSections);
        });
    state.counters["header_ratio"] = far / nearTime;
    Limit(state, FarLimit);
}

void BM_GridMixedHeightsPaintLastVsTop(benchmark::State& state)
{
    TMixedHeights& m = Mixed();
    TExStringGrid& g = *m.Grid;
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    auto paint = [&](int top) {
        g.SetTopRow(top);
        g.Widget()->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    };
    paint(m.LastTop);
    paint(1);
    Paired(
        state, [&] { paint(m.LastTop); }, [&] { paint(1); });
    state.counters["top_row"] = g.TopRow();
    Limit(state, FarLimit);
}

// The top of every row of the last screen and the row under a point in it,
// beside Qt's header view with the same sizes scrolled as far: its section
// positions and its section at a position.
void BM_GridMixedHeightsExtentsVsHeaderView(benchmark::State& state)
{
    TMixedHeights& m = Mixed();
    TExStringGrid& g = *m.Grid;
    QHeaderView* h = m.View.verticalHeader();
    const int rows = m.VisibleRows();
    const std::vector<int> sections = ShownSections(g, m.LastTop, rows);
    g.SetTopRow(m.LastTop);
    h->setOffset(h->sectionPosition(sections.front()));
    // Both find the rows they placed.
    bool same = true;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const int r = m.LastTop + int(i);
        same = same && g.MouseCoord(5, g.VirtualCellRect(1, r).Top + 1).Y == r
            && h->logicalIndexAt(h->sectionViewportPosition(sections[i]) + 1) == sections[i];
    }
    // `same` above has made what the rows' last move left to be made again.
    Paired(
        state,
        [&] {
            for (int k = 0; k < 100; ++k)
                for (int r = m.LastTop; r < m.LastTop + int(sections.size()); ++r)
                    benchmark::DoNotOptimize(g.MouseCoord(5, g.VirtualCellRect(1, r).Top + 1));
        },
        [&] {
            for (int k = 0; k < 100; ++k)
                for (int s : sections)
                    benchmark::DoNotOptimize(h->logicalIndexAt(h->sectionViewportPosition(s) + 1));
        });
    if (!same)
        state.SkipWithError("a row is not found where it was placed");
    else
        Limit(state, HeaderLimit);
}

// ---------------------------------------------------------------------------
// The current cell inside a merged area of all million rows against one
// inside an area of one screen, on the same screen of a focused grid.

void BM_GridPaintFocusInMillionRowAreaVsScreenArea(benchmark::State& state)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, Width + 20, Height + 20);
    auto* g = MakeGrid(MillionRows).release(); // freed by its form
    g->SetParent(&form);
    g->SetDefaultRowHeight(RowHeight);
    constexpr int top = MillionRows / 2;
    constexpr int hugeCol = 2, screenCol = 5;
    g->MergeCells(hugeCol, 1, 1, MillionRows);
    g->MergeCells(screenCol, top, 1, Height / RowHeight);
    for (int r = top; r < top + 40; ++r)
        for (int c = 1; c <= Cols; ++c)
            g->SetCells(c, r, benchpaired::worst::LongText(c, r));
    form.Show();
    QCoreApplication::processEvents();
    g->SetFocus();
    QCoreApplication::processEvents();
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    // The current cell is an area's base cell, the frame goes round the
    // whole area; the screen stays at `top`.
    auto paint = [&](int col, int baseRow) {
        g->SetCol(col);
        g->SetRow(baseRow);
        g->SetTopRow(top);
        g->Widget()->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    };
    // The frame must show in both, or nothing is compared.
    bool framed = g->Focused();
    for (const auto& [col, baseRow] : { std::pair { hugeCol, 1 }, std::pair { screenCol, top } }) {
        g->SetHideFocusRect(true);
        paint(col, baseRow);
        const QImage without = img.copy();
        g->SetHideFocusRect(false);
        paint(col, baseRow);
        framed = framed && img != without && g->TopRow() == top;
    }
    Paired(
        state, [&] { paint(hugeCol, 1); }, [&] { paint(screenCol, top); });
    if (!framed)
        state.SkipWithError("no focus rectangle is painted round the current cell");
    else
        Limit(state, FarLimit);
}

// ---------------------------------------------------------------------------
// 10N against N.

// Runs Work on a fresh Make(10N) and Make(N), made untimed before each pair;
// Work answers whether the grid ended as it should.
template <class M, class W> void GrowthPair(benchmark::State& state, int N, M Make, W Work)
{
    decltype(Make(N)) big, small;
    bool done = true;
    Paired(
        state, [&] { done = Work(big, 10 * N) && done; }, [&] { done = Work(small, N) && done; },
        [&] {
            big = {};
            small = {};
            big = Make(10 * N);
            small = Make(N);
        });
    state.counters["N"] = N;
    if (!done)
        state.SkipWithError("the grid did not end as the work should leave it");
    else
        Limit(state, GrowthLimit);
}

// The filter drop-down's list of the distinct values of a column. Its work
// is a sort, which grows by more than its size: 10 x log(10N) / log(N) alone
// is 12.3 here, and at 200,000 texts a sort's compares leave the caches. So
// its yardstick is the same work done bare, beside it in the same run: the
// column's texts copied out of a vector, sorted without case as the list
// sorts, and the repeats dropped. The grid's growth (10N over N) is held to
// the bare work's growth with the 1.2 margin every growth pair has
// ("ratio" = growth / peer_growth).
void BM_GridFilterValueList200kVs20k(benchmark::State& state)
{
    constexpr int N = 20000;
    // The column's texts in row order: distinct, shuffled.
    auto texts = [](int n) {
        std::mt19937 rnd(3);
        std::vector<int> order(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            order[std::size_t(i)] = i;
        std::shuffle(order.begin(), order.end(), rnd);
        std::vector<QString> t(static_cast<std::size_t>(n));
        for (int r = 0; r < n; ++r)
            t[std::size_t(r)] = QStringLiteral("Loop %1").arg(order[std::size_t(r)], 7, 10, QChar(u'0'));
        return t;
    };
    auto make = [](const std::vector<QString>& t) {
        const int n = int(t.size());
        auto g = MakeGrid(n, 3);
        g->SetFilterDropDownAuto(true);
        for (int r = 1; r <= n; ++r)
            g->SetCells(1, r, t[std::size_t(r - 1)]);
        return g;
    };
    auto listed = [](TExStringGrid& g, int n) {
        g.GetColumnFilterValues(1);
        // Every value and the entry that clears the filter.
        return g.FilterList()->Count() == n + 1;
    };
    auto bare = [](const std::vector<QString>& t) {
        std::vector<QString> v;
        v.reserve(t.size());
        for (const QString& s : t)
            v.push_back(s.trimmed());
        auto less = [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; };
        std::stable_sort(v.begin(), v.end(), less);
        v.erase(
            std::unique(v.begin(), v.end(),
                [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) == 0; }),
            v.end());
        benchmark::DoNotOptimize(v.data());
        return v.size();
    };
    const std::vector<QString> smallTexts = texts(N), bigTexts = texts(10 * N);
    std::unique_ptr<TExStringGrid> big, small;
    bool done = true;
    // The fastest of each, as the growth benchmarks of the sort take them:
    // a loaded machine only ever adds time.
    double gridBig = 1e30, gridSmall = 1e30, peerBig = 1e30, peerSmall = 1e30;
    using benchpaired::Clock;
    using benchpaired::Seconds;
    for (auto _ : state) {
        big = {};
        small = {};
        big = make(bigTexts);
        small = make(smallTexts);
        const auto t0 = Clock::now();
        done = listed(*big, 10 * N) && done;
        const auto t1 = Clock::now();
        done = listed(*small, N) && done;
        const auto t2 = Clock::now();
        done = bare(bigTexts) == bigTexts.size() && done;
        const auto t3 = Clock::now();
        done = bare(smallTexts) == smallTexts.size() && done;
        const auto t4 = Clock::now();
        gridBig = std::min(gridBig, Seconds(t1 - t0));
        gridSmall = std::min(gridSmall, Seconds(t2 - t1));
        peerBig = std::min(peerBig, Seconds(t3 - t2));
        peerSmall = std::min(peerSmall, Seconds(t4 - t3));
        state.SetIterationTime(Seconds(t1 - t0));
    }
    const double growth = gridBig / gridSmall;
    const double peerGrowth = peerBig / peerSmall;
    state.counters["N"] = N;
    state.counters["growth"] = growth;
    state.counters["peer_growth"] = peerGrowth;
    state.counters["ratio"] = growth / peerGrowth;
    state.counters["limit"] = GrowthLimit / 10;
    if (!done)
        state.SkipWithError("the grid did not end as the work should leave it");
    else
        benchpaired::FailAbove(state, growth / peerGrowth, GrowthLimit / 10,
            "the list's growth (" + std::to_string(growth) + "x)",
            "the bare sort's growth (" + std::to_string(peerGrowth) + "x)");
}

// Unselecting every second row, bottom-up, one row at a time, under
// disjunct row selection with every row selected.
void BM_GridUnselectHalfBottomUp50kVs5k(benchmark::State& state)
{
    auto make = [](int n) {
        auto g = MakeGrid(n, 3);
        g->MouseActions()->SetDisjunctRowSelect(true);
        g->SelectRows(1, n);
        return g;
    };
    GrowthPair(state, 5000, make, [](auto& g, int n) {
        for (int r = n; r >= 1; r -= 2)
            g->UnSelectRows(r, 1);
        return g->RowSelectCount() == n / 2;
    });
}

// A sorted grid: column 1 holds distinct numbers in shuffled order.
std::unique_ptr<TExStringGrid> SortedGrid(int n)
{
    auto g = MakeGrid(n, 3);
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        order[std::size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(4));
    for (int r = 1; r <= n; ++r) {
        g->SetCells(1, r, QString::number(order[std::size_t(r - 1)]));
        g->SetCells(2, r, benchpaired::worst::LongText(2, r));
    }
    g->SortSettings()->Column = 1;
    g->QSort();
    return g;
}

// The place each row had before the sort, asked for every row.
void BM_GridUnSortedRowIndexAllRows50kVs5k(benchmark::State& state)
{
    GrowthPair(state, 5000, SortedGrid, [](auto& g, int n) {
        long long sum = 0;
        for (int r = 1; r <= n; ++r)
            sum += g->UnSortedRowIndex(r);
        // The places before the sort are the rows again, in some order.
        return sum == (long long)n * (n + 1) / 2;
    });
}

// Neighbour swaps down the whole sorted grid, as a bubble pass makes them.
void BM_GridSortSwapRowsNeighbours10kVs1k(benchmark::State& state)
{
    GrowthPair(state, 1000, SortedGrid, [](auto& g, int n) {
        for (int r = 1; r < n; ++r)
            g->SortSwapRows(r, r + 1);
        return true;
    });
}

// Rows added one by one above a footer summing column 1, inside
// BeginUpdate/EndUpdate.
void BM_GridAddRowsUnderSumFooter10kVs1k(benchmark::State& state)
{
    auto make = [](int) {
        // The header row and the row that becomes the footer.
        auto g = MakeGrid(1, 3);
        g->FloatingFooter()->SetVisible(true);
        g->FloatingFooter()->SetColumnCalc(1, TColumnCalcType::acSUM);
        return g;
    };
    GrowthPair(state, 1000, make, [](auto& g, int n) {
        g->BeginUpdate();
        for (int i = 0; i < n; ++i) {
            g->AddRow();
            g->SetCells(1, g->RowCount() - 2, QString::number(i % 10));
        }
        g->EndUpdate();
        return g->RowCount() == n + 2;
    });
}

// Sub-grouping a grouped grid: a group per hundred rows, a few sub-groups
// in each.
void BM_GridSubGroup100kVs10k(benchmark::State& state)
{
    auto make = [](int n) {
        auto g = MakeGrid(n, 5);
        for (int r = 1; r <= n; ++r) {
            const int k = r - 1;
            g->SetCells(1, r, QString::number(k));
            g->SetCells(2, r, QStringLiteral("group %1").arg(k / 100, 5, 10, QChar(u'0')));
            g->SetCells(3, r, QStringLiteral("sub %1").arg(k % 100 / 25));
            g->SetCells(4, r, QString::number(k % 7));
        }
        g->Group(2);
        return g;
    };
    GrowthPair(state, 10000, make, [](auto& g, int) {
        const int rows = g->RowCount();
        g->SubGroup(2);
        return g->RowCount() > rows;
    });
}

} // namespace

BENCHMARK(BM_GridMixedHeightsCellRectLastVsTop)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridMixedHeightsPaintLastVsTop)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridMixedHeightsExtentsVsHeaderView)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridPaintFocusInMillionRowAreaVsScreenArea)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(50);
BENCHMARK(BM_GridFilterValueList200kVs20k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GridUnselectHalfBottomUp50kVs5k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridUnSortedRowIndexAllRows50kVs5k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridSortSwapRowsNeighbours10kVs1k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridAddRowsUnderSumFooter10kVs1k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridSubGroup100kVs10k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
