// The base grid at a million rows: merged-cell queries, painting and undo
// must cost the same far down the grid as near its top, and the capped undo
// history the same per change as an uncapped one. Each benchmark times the
// case and its reference in the same run, one after the other in every
// iteration (the reference is the counters' peer).
// Painting is also timed beside the toolkit string grid and Qt's table widget.
// Each runs on its best case (worst 0) and beside it on the worst (worst 1):
// rows of mixed heights (every second row 24 px high, over the whole grid
// where both sides are ours, over the screen's rows beside Qt's table) and
// long distinct texts without tags.
#include "bench/BenchPaired.h"
#include "controls/base/BaseGrid.h"
#include "controls/base/ExGridUndoRedo.h"
#include "platform/controls/Forms.h"

#include <QHeaderView>
#include <QImage>
#include <QTableWidget>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace benchpaired::screen;

using benchpaired::Limit;
using benchpaired::Paired;

// Far down the grid as near its top; capped undo as uncapped.
constexpr double FarLimit = 1.2;
constexpr double CapLimit = 1.5;
// Painting within 2x of the peers.
constexpr double PeerLimit = 2;
constexpr double GrowthLimit = 12;

template <class G> std::unique_ptr<G> MakeGrid(int rows)
{
    auto grid = std::make_unique<G>(nullptr);
    grid->SetBounds(0, 0, Width, Height);
    grid->SetDefaultColWidth(ColWidth);
    grid->SetDefaultRowHeight(RowHeight);
    grid->SetColCount(Cols + 1);
    grid->SetRowCount(rows + 1);
    grid->SetOptions(grid->Options() | goVertLine | goHorzLine | goFixedVertLine | goFixedHorzLine);
    for (int c = 1; c <= Cols; ++c)
        grid->SetCells(c, 0, QStringLiteral("C%1").arg(c));
    return grid;
}

// A screen of texts from row `first`, a merged 3 x 3 area in it and a few
// cells with a look of their own; long texts without tags when Worst.
void FillScreen(TBaseGrid& grid, int first, bool Worst = false)
{
    const int last = std::min(grid.RowCount() - 1, first + Height / benchpaired::worst::LowRow + 1);
    for (int r = first; r <= last; ++r) {
        // Texts of one length on every screen, so that screens differ only in place.
        grid.SetCells(0, r, QStringLiteral("%1").arg(r, 7, 10, QChar(u'0')));
        for (int c = 1; c <= Cols; ++c)
            grid.SetCells(c, r,
                Worst ? benchpaired::worst::LongText(c, r)
                      : QStringLiteral("R%1C%2").arg(r, 7, 10, QChar(u'0')).arg(c));
    }
    grid.MergeCells(3, first + 2, 3, 3);
    for (int r = first + 6; r < first + 10; ++r)
        grid.GetCellProperties(2, r)->SetBrushColorTo(TColor(0xC08040));
}

void BM_BaseGridMergedQueriesFarVsNear(benchmark::State& state)
{
    auto grid = MakeGrid<TBaseGrid>(MillionRows);
    if (state.range(0))
        benchpaired::worst::MixedHeights(*grid, 1, MillionRows);
    grid->HandleNeeded();
    constexpr int nearRow = 10, farRow = 999990;
    grid->MergeCells(2, nearRow - 2, 3, 3);
    grid->MergeCells(2, farRow - 2, 3, 3);
    grid->SetCells(2, nearRow - 2, QStringLiteral("near"));
    grid->SetCells(2, farRow - 2, QStringLiteral("far"));
    grid->SetTopRow(MillionRows / 2);
    auto queries = [&](int row) {
        for (int i = 0; i < 1000; ++i) {
            benchmark::DoNotOptimize(grid->BaseCell(3, row));
            benchmark::DoNotOptimize(grid->GetCellEx(3, row));
            benchmark::DoNotOptimize(grid->CellRect(3, row));
        }
    };
    Paired(
        state, [&] { queries(farRow); }, [&] { queries(nearRow); });
    Limit(state, FarLimit);
}

void BM_BaseGridPaintLastScreenVsFirst(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    auto grid = MakeGrid<TBaseGrid>(MillionRows);
    if (worst)
        benchpaired::worst::MixedHeights(*grid, 1, MillionRows);
    const int lastTop = MillionRows + 1 - Height / benchpaired::worst::LowRow;
    FillScreen(*grid, 1, worst);
    FillScreen(*grid, lastTop, worst);
    QWidget* w = grid->Widget();
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    Paired(
        state,
        [&] {
            grid->SetTopRow(lastTop);
            w->render(&img);
        },
        [&] {
            grid->SetTopRow(1);
            w->render(&img);
        });
    Limit(state, FarLimit);
}

// The base grid paints every cell itself: beside the toolkit grid's own
// painting and Qt's table widget, the same screen at the same row.
void BM_BaseGridPaintVsPeers(benchmark::State& state)
{
    const bool table = state.range(0) != 0;
    const bool worst = state.range(1) != 0;
    constexpr int first = MillionRows / 2;
    auto grid = MakeGrid<TBaseGrid>(MillionRows);
    FillScreen(*grid, first, worst);
    grid->SetTopRow(first);
    auto plain = MakeGrid<TStringGrid>(MillionRows);
    std::unique_ptr<QTableWidget> peer;
    if (table) {
        peer = std::make_unique<QTableWidget>(MillionRows, Cols);
        peer->resize(Width, Height);
        peer->setFont(grid->Font()->ToQFont());
        peer->horizontalHeader()->setDefaultSectionSize(ColWidth);
        peer->verticalHeader()->setDefaultSectionSize(RowHeight);
        peer->verticalHeader()->setFixedWidth(ColWidth);
    }
    for (int r = first; r <= first + Height / RowHeight + 1; ++r)
        for (int c = 1; c <= Cols; ++c) {
            const QString t = grid->Cells(c, r);
            plain->SetCells(c, r, t);
            if (peer)
                peer->setItem(r - 1, c - 1, new QTableWidgetItem(t));
        }
    if (worst) {
        // The screen's rows of mixed heights on every side.
        const int band = first + Height / benchpaired::worst::LowRow + 1;
        benchpaired::worst::MixedHeights(*grid, first, band);
        benchpaired::worst::MixedHeights(*plain, first, band);
        if (peer)
            for (int r = first; r <= band; ++r)
                peer->verticalHeader()->resizeSection(r - 1, grid->RowHeights(r));
    }
    plain->SetTopRow(first);
    if (peer)
        peer->scrollToItem(peer->item(first - 1, 0), QAbstractItemView::PositionAtTop);
    QWidget* w = grid->Widget();
    QWidget* pw = table ? static_cast<QWidget*>(peer.get()) : plain->Widget();
    QImage gi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QImage pi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    Paired(
        state, [&] { w->render(&gi); }, [&] { pw->render(&pi); });
    state.SetLabel(table ? "QTableWidget" : "toolkit string grid");
    Limit(state, PeerLimit);
}

// A pasted block of `cells` changes, bracketed as one sequence: one short
// text everywhere, or long distinct texts without tags when Worst.
void RegisterPaste(TExGridUndoRedo& u, TBaseGrid& grid, int cells, bool Worst)
{
    u.StartSequence();
    for (int i = 0; i < cells; ++i) {
        const int c = 1 + i % Cols, r = 1 + i / Cols;
        const QString text = Worst ? benchpaired::worst::LongText(c, r) : QStringLiteral("new");
        grid.SetCells(c, r, text);
        u.RegisterChange(c, r, QString(), text);
    }
    u.StopSequence();
}

void BM_UndoRedoPaste100kVs10k(benchmark::State& state)
{
    auto big = MakeGrid<TBaseGrid>(MillionRows);
    auto small = MakeGrid<TBaseGrid>(MillionRows);
    TExGridUndoRedo ubig(nullptr), usmall(nullptr);
    big->SetUndoRedo(&ubig);
    small->SetUndoRedo(&usmall);
    RegisterPaste(ubig, *big, 100000, state.range(0) != 0);
    RegisterPaste(usmall, *small, 10000, state.range(0) != 0);
    Paired(
        state,
        [&] {
            ubig.Undo();
            ubig.Redo();
        },
        [&] {
            usmall.Undo();
            usmall.Redo();
        });
    big->SetUndoRedo(nullptr);
    small->SetUndoRedo(nullptr);
    Limit(state, GrowthLimit);
}

void BM_UndoRegisterPastCapVsBelow(benchmark::State& state)
{
    constexpr int changes = 100000;
    const bool worst = state.range(0) != 0;
    const QString old = worst ? benchpaired::worst::LongText(1, 1) : QStringLiteral("old");
    const QString now = worst ? benchpaired::worst::LongText(2, 2) : QStringLiteral("new");
    TExGridUndoRedo capped(nullptr), open(nullptr);
    capped.SetMaxLevel(1000);
    Paired(
        state,
        [&] {
            for (int i = 0; i < changes; ++i)
                capped.RegisterChange(1 + i % Cols, 1 + i / Cols, old, now);
        },
        [&] {
            for (int i = 0; i < changes; ++i)
                open.RegisterChange(1 + i % Cols, 1 + i / Cols, old, now);
        },
        [&] {
            // The capped history is full before it is timed; the other starts empty.
            open.Reset();
            for (int i = capped.Items().Count(); i < capped.MaxLevel(); ++i)
                capped.RegisterChange(1, 1, old, now);
        });
    Limit(state, CapLimit);
}

} // namespace

BENCHMARK(BM_BaseGridMergedQueriesFarVsNear)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BaseGridPaintLastScreenVsFirst)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BaseGridPaintVsPeers)
    ->ArgNames({ "table", "worst" })
    ->ArgsProduct({ { 0, 1 }, { 0, 1 } })
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoPaste100kVs10k)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UndoRegisterPastCapVsBelow)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
