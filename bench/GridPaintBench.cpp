// The string grid beside Qt's table widget, like for like: 20 columns under a
// header row and a numbered header column, the same labels, font, cell sizes
// and texts. Each benchmark times the grid and its peer in the same run, one
// after the other in every iteration; the grid's time is the benchmark's time
// and the counters give the peer's time and the ratio (grid / peer), within
// 2x (the writes to a shown grid within 1.5x of those to a hidden one).
// Worst 1: long distinct texts without tags, and where rows are shown, the
// shown rows of mixed heights on both sides.
#include "bench/BenchPaired.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Grids.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTableWidget>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using namespace benchpaired::screen;

QString CellText(int row, int col, bool worst = false)
{
    return worst ? benchpaired::worst::LongText(col, row) : QStringLiteral("R%1C%2").arg(row).arg(col);
}

using benchpaired::Limit;
constexpr double PeerLimit = 2;
constexpr double ShownLimit = 1.5;
// Within 2x of drawing the texts alone.
constexpr double DrawTextLimit = 2;

using benchpaired::Paired;

// The header column shows row numbers as the table's vertical header does,
// without storing them.
class TBenchGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override
    {
        if (ACol == 0 && ARow > 0) {
            TCanvas* c = Canvas();
            c->Brush()->SetStyle(TBrushStyle::bsClear);
            c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, QString::number(ARow));
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            return;
        }
        TStringGrid::DrawCell(ACol, ARow, ARect, AState);
    }
};

std::unique_ptr<TBenchGrid> MakeGrid(int rows, TWinControl* parent = nullptr)
{
    auto grid = std::make_unique<TBenchGrid>(nullptr);
    if (parent)
        grid->SetParent(parent);
    grid->SetBounds(0, 0, Width, Height);
    grid->SetDefaultColWidth(ColWidth);
    grid->SetDefaultRowHeight(RowHeight);
    grid->SetColCount(Cols + 1);
    grid->SetRowCount(rows + 1);
    for (int c = 1; c <= Cols; ++c)
        grid->SetCells(c, 0, QStringLiteral("C%1").arg(c));
    return grid;
}

std::unique_ptr<QTableWidget> MakeTable(int rows, const QFont& font)
{
    auto table = std::make_unique<QTableWidget>(rows, Cols);
    table->resize(Width, Height);
    table->setFont(font);
    table->horizontalHeader()->setDefaultSectionSize(ColWidth);
    table->horizontalHeader()->setFixedHeight(RowHeight);
    table->verticalHeader()->setDefaultSectionSize(RowHeight);
    table->verticalHeader()->setFixedWidth(ColWidth);
    QStringList labels;
    for (int c = 1; c <= Cols; ++c)
        labels << QStringLiteral("C%1").arg(c);
    table->setHorizontalHeaderLabels(labels);
    return table;
}

// Both filled with the same texts over rows [first, last] (grid rows count
// from 1 under the header row).
void FillBand(TStringGrid& grid, QTableWidget& table, int first, int last, bool worst = false)
{
    for (int r = first; r <= last; ++r) {
        for (int c = 0; c < Cols; ++c) {
            const QString t = CellText(r, c, worst);
            grid.SetCells(c + 1, r + 1, t);
            table.setItem(r, c, new QTableWidgetItem(t));
        }
        if (worst) {
            const int h = r % 2 ? RowHeight : benchpaired::worst::LowRow;
            grid.SetRowHeights(r + 1, h);
            table.verticalHeader()->resizeSection(r, h);
        }
    }
}

// A shown grid on a form and a shown table, both at the same row.
struct ShownPair {
    std::unique_ptr<TForm> Form;
    TBenchGrid* Grid = nullptr;
    std::unique_ptr<QTableWidget> Table;

    explicit ShownPair(int rows, int bandFirst, int bandLast, bool worst = false)
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, Width + 20, Height + 20);
        Grid = MakeGrid(rows, Form.get()).release(); // freed before its form

        Table = MakeTable(rows, Grid->Font()->ToQFont());
        FillBand(*Grid, *Table, bandFirst, bandLast, worst);
        Form->Show();
        Table->show();
        Flush();
    }
    ~ShownPair() { delete Grid; }
    static void Flush() { QCoreApplication::processEvents(); }
};

// ---------------------------------------------------------------------------

void BM_GridCreate(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const QFont font = MakeGrid(1)->Font()->ToQFont();
    Paired(
        state,
        [&] {
            auto grid = MakeGrid(rows);
            grid->HandleNeeded();
            benchmark::DoNotOptimize(grid.get());
        },
        [&] {
            auto table = MakeTable(rows, font);
            benchmark::DoNotOptimize(table.get());
        });
    Limit(state, PeerLimit);
}

void BM_GridFill(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const bool worst = state.range(1) != 0;
    std::unique_ptr<TBenchGrid> grid;
    std::unique_ptr<QTableWidget> table;
    Paired(
        state,
        [&] {
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < Cols; ++c)
                    grid->SetCells(c + 1, r + 1, CellText(r, c, worst));
        },
        [&] {
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < Cols; ++c)
                    table->setItem(r, c, new QTableWidgetItem(CellText(r, c, worst)));
        },
        [&] {
            grid.reset();
            table.reset();
            grid = MakeGrid(rows);
            table = MakeTable(rows, grid->Font()->ToQFont());
        });
    state.counters["cells"] = double(rows) * Cols;
    Limit(state, PeerLimit);
}

void BM_GridScroll(benchmark::State& state)
{
    const bool page = state.range(0) != 0;
    const bool worst = state.range(1) != 0;
    constexpr int start = MillionRows / 2;
    constexpr int band = 6000;
    ShownPair s(MillionRows, start - 10, start + band, worst);
    QScrollBar* bar = s.Table->verticalScrollBar();
    const int pageRows = s.Grid->VisibleRowCount();
    const int step = page ? pageRows : 1;
    auto home = [&] {
        s.Grid->SetTopRow(start + 1);
        bar->setValue(start);
        ShownPair::Flush();
    };
    home();
    Paired(
        state,
        [&] {
            s.Grid->SetTopRow(s.Grid->TopRow() + step);
            ShownPair::Flush();
        },
        [&] {
            bar->setValue(bar->value() + step);
            ShownPair::Flush();
        },
        [&] {
            if (s.Grid->TopRow() + step + pageRows > start + band)
                home();
        });
    state.counters["rows_per_step"] = step;
    Limit(state, PeerLimit);
}

void BM_GridPaintScreen(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const bool worst = state.range(1) != 0;
    const int first = rows / 2;
    auto grid = MakeGrid(rows);
    auto table = MakeTable(rows, grid->Font()->ToQFont());
    FillBand(*grid, *table, first, std::min(rows - 1, first + Height / benchpaired::worst::LowRow), worst);
    grid->SetTopRow(first + 1);
    table->scrollToItem(table->item(first, 0), QAbstractItemView::PositionAtTop);
    QWidget* w = grid->Widget();
    QImage gi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QImage ti(Width, Height, QImage::Format_ARGB32_Premultiplied);
    Paired(
        state, [&] { w->render(&gi); }, [&] { table->render(&ti); });
    state.counters["rows"] = rows;
    state.counters["visible_rows"] = grid->VisibleRowCount();
    Limit(state, PeerLimit);
}

// The same visible texts drawn by a bare painter: the floor of painting.
void BM_GridPaintVsDrawText(benchmark::State& state)
{
    const int rows = MillionRows;
    const bool worst = state.range(0) != 0;
    const int first = rows / 2;
    auto grid = MakeGrid(rows);
    const int last = std::min(rows - 1, first + Height / RowHeight);
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < Cols; ++c)
            grid->SetCells(c + 1, r + 1, CellText(r, c, worst));
    grid->SetTopRow(first + 1);
    QWidget* w = grid->Widget();
    const QFont font = grid->Font()->ToQFont();
    QImage gi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QImage pi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    Paired(
        state, [&] { w->render(&gi); },
        [&] {
            benchpaired::DrawScreenTexts(pi, font, [&](int x, int y) {
                return y == 0 ? (x == 0 ? QString() : QStringLiteral("C%1").arg(x))
                    : x == 0  ? QString::number(first + y)
                              : grid->Cells(x, first + y);
            });
        });
    Limit(state, DrawTextLimit);
}

// Writes to a shown grid cost about what they cost on a hidden one: a cell
// off screen repaints nothing and the layout is not recomputed per write.
void BM_GridWritesShownVsHidden(benchmark::State& state)
{
    const int rows = MillionRows;
    const bool worst = state.range(0) != 0;
    ShownPair shown(rows, 0, 0);
    auto hidden = MakeGrid(rows);
    // Worst: every row of both grids of mixed heights, a long text of its
    // own per written cell.
    std::vector<QString> texts(static_cast<std::size_t>(rows) + 1, QStringLiteral("x"));
    if (worst) {
        benchpaired::worst::MixedHeights(*shown.Grid, 1, rows);
        benchpaired::worst::MixedHeights(*hidden, 1, rows);
        for (int r = 1; r <= rows; ++r)
            texts[std::size_t(r)] = CellText(r, 1, true);
    }
    int round = 0;
    Paired(
        state,
        [&] {
            for (int r = 1; r <= rows; ++r)
                shown.Grid->SetCells(1 + round % Cols, r, texts[std::size_t(r)]);
        },
        [&] {
            for (int r = 1; r <= rows; ++r)
                hidden->SetCells(1 + round % Cols, r, texts[std::size_t(r)]);
        },
        [&] { ++round; });
    Limit(state, ShownLimit);
}

// Filling through Cells beside filling a plain vector with the same texts.
void BM_GridFillVsVector(benchmark::State& state)
{
    const int rows = MillionRows;
    const bool worst = state.range(0) != 0;
    constexpr int cols = 10;
    // Worst: long distinct texts without tags.
    auto text = [&](int r, int c) { return worst ? CellText(r, c, true) : QString::number(qint64(r) * cols + c); };
    std::unique_ptr<TStringGrid> grid;
    std::vector<QString> plain;
    Paired(
        state,
        [&] {
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c)
                    grid->SetCells(c, r, text(r, c));
        },
        [&] {
            plain.reserve(std::size_t(rows) * cols);
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c)
                    plain.push_back(text(r, c));
        },
        [&] {
            grid.reset();
            std::vector<QString>().swap(plain);
            grid = std::make_unique<TStringGrid>(nullptr);
            grid->SetColCount(cols);
            grid->SetRowCount(rows);
        });
    Limit(state, PeerLimit);
}

} // namespace

BENCHMARK(BM_GridCreate)->Arg(MillionRows)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridFill)
    ->ArgNames({ "rows", "worst" })
    ->ArgsProduct({ { 50000 }, { 0, 1 } })
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_GridScroll)
    ->ArgNames({ "page", "worst" })
    ->ArgsProduct({ { 0, 1 }, { 0, 1 } })
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridPaintScreen)
    ->ArgNames({ "rows", "worst" })
    ->ArgsProduct({ { 100, MillionRows }, { 0, 1 } })
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridPaintVsDrawText)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridWritesShownVsHidden)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GridFillVsVector)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(3);
