// The mouse wheel and the controls placed in cells on a million rows: a
// notch far down beside one near the top (within 1.2x), the same notch
// beside Qt's table view moving its current index as far (within 1.5x), and
// placing ten cell controls with the list checked against the cells at a
// million rows beside a thousand (within 1.5x). Each pair is timed in one
// run, the repaint of the screen included where the wheel moves.
#include "bench/BenchPaired.h"
#include "bench/ScreenGrid.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QString>
#include <QTableView>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

using benchpaired::Clock;
using benchpaired::Limit;
using benchpaired::Seconds;
using namespace benchpaired::screen;

// One notch towards the user, as the window system sends it.
constexpr WPARAM NotchDown = WPARAM(WORD(-WHEEL_DELTA)) << 16;

// A million rows on a shown form. The worst case has rows of mixed heights,
// a hidden column, hidden rows above both places and long texts in every
// cell of both screens.
struct TWheelGrid : benchpaired::TScreenGrid {
    explicit TWheelGrid(bool Worst)
        : TScreenGrid(MillionRows, Worst, { 1, MillionRows - 60 }, 60, 200, 300)
    {
        Grid->MouseActions()->SetWheelAction(TWheelAction::waMoveSelection);
        Show();
    }
    double LastMove = 0;
    // The notch from Start, shown as the ninth row of the screen in both
    // places, with the screen painted afterwards.
    double Notch(int Start, QImage& Img)
    {
        Grid->SetRow(Start);
        Grid->SetTopRow(Start - 9);
        const auto t = Clock::now();
        Grid->Perform(WM_MOUSEWHEEL, NotchDown, MakeLParam(100, 100));
        const auto m = Clock::now();
        Grid->Widget()->render(&Img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        LastMove = Seconds(m - t);
        return Seconds(Clock::now() - t);
    }
};

void BM_GridWheelNotchFarVsNear(benchmark::State& state)
{
    TWheelGrid w(state.range(0) != 0);
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    const int far = w.Grid->RowCount() - 12;
    // Both screens painted once first: the first paint of new texts fills
    // the glyph caches, on whichever side comes first.
    w.Notch(far, img);
    w.Notch(10, img);
    double f = 0, n = 0, mf = 0, mn = 0;
    bool moved = true;
    for (auto _ : state) {
        const double tf = w.Notch(far, img);
        mf += w.LastMove;
        moved = moved && w.Grid->Row() == far + 3;
        const double tn = w.Notch(10, img);
        mn += w.LastMove;
        moved = moved && w.Grid->Row() == 13;
        f += tf;
        n += tn;
        state.SetIterationTime(tf);
    }
    state.counters["peer_us"] = n / double(state.iterations()) * 1e6;
    state.counters["ratio"] = f / n;
    state.counters["move_ratio"] = mf / mn;
    state.counters["move_us"] = mf / double(state.iterations()) * 1e6;
    if (!moved)
        state.SkipWithError("the notch did not move three rows");
    else
        Limit(state, 1.2);
}

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

void BM_GridWheelNotchVsTableView(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    TWheelGrid w(worst);
    TMillionModel model;
    model.FWorst = worst;
    QTableView view;
    view.setModel(&model);
    view.resize(Width, Height);
    view.verticalHeader()->setDefaultSectionSize(RowHeight);
    view.horizontalHeader()->setDefaultSectionSize(ColWidth);
    QCoreApplication::processEvents();
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    const int far = w.Grid->RowCount() - 12;
    w.Notch(far, img);
    view.setCurrentIndex(model.index(far + 3, 1));
    view.render(&img);
    double g = 0, p = 0;
    for (auto _ : state) {
        const double tg = w.Notch(far, img);
        view.setCurrentIndex(model.index(far, 1));
        const auto t = Clock::now();
        view.setCurrentIndex(model.index(far + 3, 1));
        view.render(&img);
        const double tp = Seconds(Clock::now() - t);

        g += tg;
        p += tp;
        state.SetIterationTime(tg);
    }
    state.counters["peer_us"] = p / double(state.iterations()) * 1e6;
    state.counters["ratio"] = g / p;
    Limit(state, 1.5);
}

// Ten controls down the rows of a grid of Rows rows, hidden rows above
// some of them in the worst case.
struct TControlsGrid {
    TForm Form { nullptr };
    TExStringGrid* Grid; // freed by its form
    TControlsGrid(int Rows, bool Worst)
    {
        Form.SetBounds(0, 0, Width + 20, Height + 20);
        Grid = new TExStringGrid(&Form);
        Grid->SetParent(&Form);
        Grid->SetBounds(0, 0, Width, Height);
        Grid->SetColCount(Cols + 1);
        Grid->SetRowCount(Rows + 1);
        Grid->SetFixedRows(1);
        Grid->SetFixedCols(1);
        if (Worst) {
            benchpaired::worst::MixedHeights(*Grid, 1, std::min(Rows, 2000));
            Grid->HideColumn(4);
        }
        for (int i = 0; i < 10; ++i) {
            auto* e = new TEdit(&Form);
            Grid->SetCellControls(2 + i, 1 + i * (Rows / 10), e);
        }
        if (Worst)
            Grid->HideRows(Rows / 2, Rows / 2 + 20);
        Grid->HandleNeeded();
    }
};

void BM_GridCellControlsRebuildMillionVsThousand(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    TControlsGrid big(MillionRows, worst), small(1000, worst);
    big.Grid->CellControlsUpdate(true);
    small.Grid->CellControlsUpdate(true);
    benchpaired::Paired(
        state,
        [&] {
            for (int i = 0; i < 100; ++i)
                big.Grid->CellControlsUpdate(true);
        },
        [&] {
            for (int i = 0; i < 100; ++i)
                small.Grid->CellControlsUpdate(true);
        });
    state.counters["controls"] = big.Grid->ControlList()->Count();
    Limit(state, 1.5);
}

} // namespace

// A fixed count: a single estimating pair of a few milliseconds says little.
BENCHMARK(BM_GridWheelNotchFarVsNear)->Apply(benchpaired::BestAndWorst)->Iterations(100);
BENCHMARK(BM_GridWheelNotchVsTableView)->Apply(benchpaired::BestAndWorst)->Iterations(100);
BENCHMARK(BM_GridCellControlsRebuildMillionVsThousand)->Apply(benchpaired::BestAndWorst)->Iterations(100);
