// Keys on a million rows: Down, Page Down and End at a million rows beside a
// thousand (within 1.2x each), Down beside Qt's table view taking the same
// key over a model of the same size (within 1.5x), and a Tab that skips
// 100,000 read-only rows beside one that skips 10,000 (within 12x). Each
// pair is timed in one run, the repaint of the screen included.
#include "bench/BenchPaired.h"
#include "bench/ScreenGrid.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Forms.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QTableView>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

using benchpaired::Clock;
using benchpaired::Limit;
using benchpaired::Seconds;
using namespace benchpaired::screen;

// Rows data rows on a shown form. The worst case has rows of mixed heights,
// a hidden column, hidden rows above the place the keys start from and long
// texts on the screens the keys show.
struct TKeysGrid : benchpaired::TScreenGrid {
    TKeysGrid(int Rows, bool Worst)
        : TScreenGrid(Rows, Worst, { 1, Rows / 2 - 40 }, 100, 100, 120)
    {
        Show();
    }
    // The key from the middle of the grid, then the screen painted.
    double Key(WORD Vk, QImage& Img)
    {
        const int start = Grid->RowCount() / 2;
        Grid->SetCol(2);
        Grid->SetRow(start);
        Grid->SetTopRow(start - 9);
        const auto t = Clock::now();
        Grid->Perform(WM_KEYDOWN, Vk, KF_KEYDATA_REPEAT1);
        Grid->Perform(WM_KEYUP, Vk, KF_KEYDATA_REPEAT1 | KF_KEYDATA_UP);
        Grid->Widget()->render(&Img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return Seconds(Clock::now() - t);
    }
};

constexpr WORD KeysTried[] = { VK_DOWN, VK_NEXT, VK_END };

void BM_GridKeyMillionVsThousand(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    const WORD vk = KeysTried[state.range(1)];
    TKeysGrid big(MillionRows, worst), small(1000, worst);
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    big.Key(vk, img);
    small.Key(vk, img);
    double b = 0, s = 0;
    for (auto _ : state) {
        const double tb = big.Key(vk, img);
        const double ts = small.Key(vk, img);
        b += tb;
        s += ts;
        state.SetIterationTime(tb);
    }
    state.counters["peer_us"] = s / double(state.iterations()) * 1e6;
    state.counters["ratio"] = b / s;
    Limit(state, 1.2);
}
BENCHMARK(BM_GridKeyMillionVsThousand)
    ->ArgNames({ "worst", "key" })
    ->ArgsProduct({ { 0, 1 }, { 0, 1, 2 } })
    ->UseManualTime();

class TMillionModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& = {}) const override { return MillionRows + 1; }
    int columnCount(const QModelIndex& = {}) const override { return Cols + 1; }
    QVariant data(const QModelIndex& Index, int Role) const override
    {
        if (Role != Qt::DisplayRole)
            return {};
        return FWorst ? benchpaired::worst::LongText(Index.column(), Index.row())
                      : QStringLiteral("%1").arg(Index.row() * 100 + Index.column());
    }
    bool FWorst = false;
};

void BM_GridDownVsTableView(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    TKeysGrid grid(MillionRows, worst);
    TMillionModel model;
    model.FWorst = worst;
    QTableView view;
    view.setModel(&model);
    view.resize(Width, Height);
    view.verticalHeader()->setDefaultSectionSize(RowHeight);
    view.horizontalHeader()->setDefaultSectionSize(ColWidth);
    view.show();
    QCoreApplication::processEvents();
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    const int start = grid.Grid->RowCount() / 2;
    const auto viewDown = [&] {
        view.setCurrentIndex(model.index(start, 2));
        view.scrollTo(model.index(start, 2), QAbstractItemView::PositionAtCenter);
        const auto t = Clock::now();
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(&view, &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(&view, &up);
        view.render(&img);
        return Seconds(Clock::now() - t);
    };
    grid.Key(VK_DOWN, img);
    viewDown();
    bool moved = true;
    double g = 0, p = 0;
    for (auto _ : state) {
        const double tg = grid.Key(VK_DOWN, img);
        moved = moved && grid.Grid->Row() == start + 1;
        const double tp = viewDown();
        moved = moved && view.currentIndex().row() == start + 1;
        g += tg;
        p += tp;
        state.SetIterationTime(tg);
    }
    state.counters["peer_us"] = p / double(state.iterations()) * 1e6;
    state.counters["ratio"] = g / p;
    if (!moved)
        state.SkipWithError("Down did not move one row on both sides");
    else
        Limit(state, 1.5);
}
BENCHMARK(BM_GridDownVsTableView)->Apply(benchpaired::BestAndWorst);

// A Tab from the last cell of a row over Skip read-only rows below it.
void BM_GridTabOverReadOnlyRows(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    TKeysGrid grid(MillionRows, worst);
    TExStringGrid* g = grid.Grid;
    g->SetOptions(g->Options() | goEditing | goTabs);
    g->Navigation()->AdvanceAutoEdit = false;
    const int from = 10;
    int skip = 0;
    g->OnCanEditCell = [&](TObject*, int ARow, int, bool& Can) { Can = Can && !(ARow > from && ARow <= from + skip); };
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    const auto tab = [&](int Skip) {
        skip = Skip;
        g->SetRow(from);
        g->SetCol(g->ColCount() - 1);
        g->SetTopRow(from);
        const auto t = Clock::now();
        g->Perform(WM_KEYDOWN, VK_TAB, KF_KEYDATA_REPEAT1);
        g->Perform(WM_KEYUP, VK_TAB, KF_KEYDATA_REPEAT1 | KF_KEYDATA_UP);
        g->Widget()->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return Seconds(Clock::now() - t);
    };
    tab(100000);
    tab(10000);
    bool landed = true;
    double far = 0, near = 0;
    for (auto _ : state) {
        const double tf = tab(100000);
        landed = landed && g->Row() == from + 100001 && g->Col() == 1;
        const double tn = tab(10000);
        landed = landed && g->Row() == from + 10001 && g->Col() == 1;
        far += tf;
        near += tn;
        state.SetIterationTime(tf);
    }
    state.counters["peer_us"] = near / double(state.iterations()) * 1e6;
    state.counters["ratio"] = far / near;
    if (!landed)
        state.SkipWithError("the Tab did not land below the read-only rows");
    else
        Limit(state, 12);
}
BENCHMARK(BM_GridTabOverReadOnlyRows)->Apply(benchpaired::BestAndWorst);

} // namespace
