// The mouse on a million rows: a click that moves the current cell far down
// beside the same click near the top (within 1.2x), the click beside Qt's
// table view taking the same click (within 1.5x), and a sweep of moves over
// one screen beside the same sweep over a thousand rows (within 1.2x). Each
// pair is timed in one run, the repaint of the screen included.
#include "bench/BenchPaired.h"
#include "bench/ScreenGrid.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Forms.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QString>
#include <QTableView>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

using benchpaired::Clock;
using benchpaired::Limit;
using benchpaired::Seconds;
using namespace benchpaired::screen;

// Rows rows on a shown form. The worst case has rows of mixed heights, a
// hidden column, hidden rows above both places and long texts in every cell
// of both screens.
struct TMouseGrid : benchpaired::TScreenGrid {
    TMouseGrid(int Rows, bool Worst)
        : TScreenGrid(Rows, Worst, { 1, std::max(1, Rows - 60) }, 60, 200, 300)
    {
        Show();
    }
    // A click on the cell of column 3 four rows below Start, with Start the
    // current cell shown as the screen's ninth row, and the screen painted.
    double Click(int Start, QImage& Img)
    {
        Grid->SetRow(Start);
        Grid->SetCol(1);
        Grid->SetTopRow(Start - 9);
        const TRect r = Grid->CellRect(3, Start + 4);
        const LPARAM at = MakeLParam((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        const auto t = Clock::now();
        Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
        Grid->Perform(WM_LBUTTONUP, 0, at);
        Grid->Widget()->render(&Img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return Seconds(Clock::now() - t);
    }
    // Moves across the screen, corner to corner, every 8 pixels.
    double Sweep()
    {
        const auto t = Clock::now();
        for (int i = 0; i < 80; ++i)
            Grid->Perform(WM_MOUSEMOVE, 0, MakeLParam(i * Width / 80, i * Height / 80));
        return Seconds(Clock::now() - t);
    }
};

void BM_GridMouseClickFarVsNear(benchmark::State& state)
{
    TMouseGrid w(MillionRows, state.range(0) != 0);
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    const int far = w.Grid->RowCount() - 20;
    w.Click(far, img);
    w.Click(10, img);
    double f = 0, n = 0;
    bool moved = true;
    for (auto _ : state) {
        const double tf = w.Click(far, img);
        moved = moved && w.Grid->Row() == far + 4 && w.Grid->Col() == 3;
        const double tn = w.Click(10, img);
        moved = moved && w.Grid->Row() == 14;
        f += tf;
        n += tn;
        state.SetIterationTime(tf);
    }
    state.counters["peer_us"] = n / double(state.iterations()) * 1e6;
    state.counters["ratio"] = f / n;
    if (!moved)
        state.SkipWithError("the click did not move the current cell");
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

void BM_GridMouseClickVsTableView(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    TMouseGrid w(MillionRows, worst);
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
    const int far = w.Grid->RowCount() - 20;
    w.Click(far, img);
    QWidget* vp = view.viewport();
    const auto clickView = [&] {
        view.setCurrentIndex(model.index(far, 1));
        view.scrollTo(model.index(far - 9, 1), QAbstractItemView::PositionAtTop);
        const QRect r = view.visualRect(model.index(far + 4, 3));
        const QPointF p = r.center();
        const auto t = Clock::now();
        QMouseEvent press(QEvent::MouseButtonPress, p, vp->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(vp, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, vp->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(vp, &release);
        view.render(&img);
        return Seconds(Clock::now() - t);
    };
    clickView();
    double g = 0, p = 0;
    bool same = true;
    for (auto _ : state) {
        const double tg = w.Click(far, img);
        const double tp = clickView();
        same = same && view.currentIndex().row() == far + 4 && w.Grid->Row() == far + 4;
        g += tg;
        p += tp;
        state.SetIterationTime(tg);
    }
    state.counters["peer_us"] = p / double(state.iterations()) * 1e6;
    state.counters["ratio"] = g / p;
    if (!same)
        state.SkipWithError("the two clicks did not land on the same row");
    else
        Limit(state, 1.5);
}

void BM_GridMouseSweepMillionVsThousand(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    TMouseGrid big(MillionRows, worst), small(1000, worst);
    big.Grid->SetTopRow(big.Grid->RowCount() - 40);
    small.Grid->SetTopRow(small.Grid->RowCount() - 40);
    big.Sweep();
    small.Sweep();
    double b = 0, s = 0;
    for (auto _ : state) {
        const double tb = big.Sweep();
        const double ts = small.Sweep();
        b += tb;
        s += ts;
        state.SetIterationTime(tb);
    }
    state.counters["peer_us"] = s / double(state.iterations()) * 1e6;
    state.counters["ratio"] = b / s;
    Limit(state, 1.2);
}

} // namespace

BENCHMARK(BM_GridMouseClickFarVsNear)->Apply(benchpaired::BestAndWorst)->Iterations(100);
BENCHMARK(BM_GridMouseClickVsTableView)->Apply(benchpaired::BestAndWorst)->Iterations(100);
BENCHMARK(BM_GridMouseSweepMillionVsThousand)->Apply(benchpaired::BestAndWorst)->Iterations(100);
