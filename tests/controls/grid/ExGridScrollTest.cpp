// Scrolling the string grid by real mouse input on its scroll bars, the
// scroll messages' hints and synchronous scrolling, proportional thumbs, the
// flat bar looks, the metro scroll controls, scrolling while dragging and the
// point-to-cell tests.

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridWindows.h"
#include "controls/grid/ExScrollControl.h"
#include "platform/controls/ScrollBar.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/SysUtils.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QDropEvent>
#include <QHoverEvent>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>

namespace {

using Grid = TGridOnForm<TExStringGrid>;

// 10 columns of 50 and 100 rows of 20 on 300 x 200 pixels: both bars show.
struct TScrollGrid : TGridOnForm<TExStringGrid> {
    TScrollGrid()
        : TGridOnForm<TExStringGrid>(10, 100, 300, 200)
    {
        for (int r = 0; r < 100; ++r)
            Grid->SetCells(1, r, QString::number(r));
    }
};

// The part of a bar under the mouse: the same geometry the bar paints with.
QRect BarPart(QScrollBar* bar, QStyle::SubControl sc)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.pageStep = bar->pageStep();
    opt.singleStep = bar->singleStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, bar);
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Click(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton);
}

// Presses at `from`, moves to `to` and calls `during` before releasing there.
void Drag(QWidget* w, QPoint from, QPoint to, const std::function<void()>& during = {})
{
    SetMouseCursorPos(TPoint(w->mapToGlobal(from).x(), w->mapToGlobal(from).y()));
    SendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
    SetMouseCursorPos(TPoint(w->mapToGlobal(to).x(), w->mapToGlobal(to).y()));
    SendMouse(w, QEvent::MouseMove, to, Qt::LeftButton);
    if (during)
        during();
    SendMouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// The row the thumb position stands for.
int ThumbRow(TExStringGrid* g, int pos)
{
    return g->FixedRows() + MulDiv(pos, g->RowCount() - g->VisibleRowCount() - g->FixedRows(), GridScrollMax);
}

TEST(ExGridScroll, ArrowsAndTrackScrollByLineAndPage)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    QScrollBar* bar = g->ScrollBarWidget(SB_VERT);
    ASSERT_TRUE(bar && bar->isVisible());
    const int page = g->VisibleRowCount();

    Click(bar, BarPart(bar, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(g->TopRow(), 2);
    Click(bar, BarPart(bar, QStyle::SC_ScrollBarAddPage).center());
    EXPECT_EQ(g->TopRow(), 2 + page);
    Click(bar, BarPart(bar, QStyle::SC_ScrollBarSubLine).center());
    EXPECT_EQ(g->TopRow(), 1 + page);
    Click(bar, BarPart(bar, QStyle::SC_ScrollBarSubPage).center());
    EXPECT_EQ(g->TopRow(), 1);

    QScrollBar* hbar = g->ScrollBarWidget(SB_HORZ);
    ASSERT_TRUE(hbar && hbar->isVisible());
    Click(hbar, BarPart(hbar, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(g->LeftCol(), 2);
}

TEST(ExGridScroll, ThumbDragFollowsOnlyWithScrollSynchAndShowsTheRowHint)
{
    for (bool synch : { false, true }) {
        SCOPED_TRACE(synch);
        TScrollGrid f;
        TExStringGrid* g = f.Grid;
        g->SetScrollSynch(synch);
        g->SetScrollHints(TScrollHintType::shBoth);
        QString asked;
        g->OnScrollHint = [&](TObject*, int ARow, QString& s) { asked = QStringLiteral("%1|%2").arg(ARow).arg(s); };
        QScrollBar* bar = g->ScrollBarWidget(SB_VERT);
        const QPoint from = BarPart(bar, QStyle::SC_ScrollBarSlider).center();
        const QPoint to = from + QPoint(0, 60);
        int tracked = -1, topWhileDragging = -1;
        THTMLHintWindow* hint = g->ScrollHintWindow();
        Drag(bar, from, to, [&] {
            tracked = bar->sliderPosition();
            topWhileDragging = g->TopRow();
            const int row = ThumbRow(g, tracked);
            EXPECT_EQ(asked, QStringLiteral("%1|Row : %1").arg(row));
            EXPECT_TRUE(hint->Visible());
            EXPECT_EQ(hint->Caption(), QStringLiteral("Row : %1").arg(row));
            // 10 pixels right of the cursor.
            const QPoint cursor = bar->mapToGlobal(to);
            EXPECT_EQ(hint->Left(), cursor.x() + 10);
            EXPECT_EQ(hint->Top(), cursor.y());
        });
        ASSERT_GT(tracked, 0);
        EXPECT_EQ(topWhileDragging, synch ? ThumbRow(g, tracked) : 1);
        EXPECT_FALSE(hint->Visible());
        // Released, the grid lands where the thumb was let go.
        EXPECT_EQ(g->TopRow(), ThumbRow(g, tracked));
    }
}

TEST(ExGridScroll, HorizontalHintNamesTheColumn)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    g->SetScrollHints(TScrollHintType::shVertical);
    QScrollBar* hbar = g->ScrollBarWidget(SB_HORZ);
    const QPoint from = BarPart(hbar, QStyle::SC_ScrollBarSlider).center();
    bool shown = true;
    Drag(hbar, from, from + QPoint(40, 0), [&] { shown = g->ScrollHintWindow()->Visible(); });
    EXPECT_FALSE(shown); // vertical hints only

    g->SetScrollHints(TScrollHintType::shHorizontal);
    QString text;
    const QPoint at = BarPart(hbar, QStyle::SC_ScrollBarSlider).center();
    Drag(hbar, at, at + QPoint(30, 0), [&] {
        const int col = g->FixedCols()
            + MulDiv(hbar->sliderPosition(), g->ColCount() - g->VisibleColCount() - g->FixedCols(), GridScrollMax);
        text = QStringLiteral("Col : %1").arg(col);
        EXPECT_EQ(g->ScrollHintWindow()->Caption(), text);
    });
    EXPECT_FALSE(text.isEmpty());
}

TEST(ExGridScroll, ProportionalThumbs)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetScrollProportional(true);
    // Rows, line width 1: fixed = 1 + (1 + 20) = 22, total = 1 + 99 x 21 =
    // 2080, e = 178 / 2080 = 0.08558; max = trunc(127.0856 / 0.91442) = 138,
    // page = 12, at the top position trunc(1 / (2080 - 200) x 128) = 0.
    TGridScrollInfo v = g->GetScrollInfo(SB_VERT);
    EXPECT_EQ(v.Max, 138);
    EXPECT_EQ(v.Page, 12);
    EXPECT_EQ(v.Pos, 0);
    // Columns: fixed = 52, total = 1 + 9 x 51 = 460, e = 248 / 460 =
    // 0.53913; max = trunc(127.539 / 0.46087) = 276, page = 150.
    TGridScrollInfo h = g->GetScrollInfo(SB_HORZ);
    EXPECT_EQ(h.Max, 276);
    EXPECT_EQ(h.Page, 150);
    // The thumb is painted and hit at page / (max + 1) of the track.
    QScrollBar* bar = g->ScrollBarWidget(SB_HORZ);
    const int track = BarPart(bar, QStyle::SC_ScrollBarGroove).width();
    EXPECT_EQ(BarPart(bar, QStyle::SC_ScrollBarSlider).width(), track * 150 / 277);

    // Scrolled to row 41: before = 1 + 40 x 21 = 841; 841 / 1880 x 128 = 57.26.
    g->SetScrollProportional(false);
    g->SetTopRow(41);
    g->SetScrollProportional(true);
    EXPECT_EQ(g->GetScrollInfo(SB_VERT).Pos, 57);
}

// The thumbs are worked out again whenever what they stand for changes.
// Expected values as in ProportionalThumbs: max = trunc((e + 127) / (1 - e)),
// page = max - 126, with e the share of the normal rows (columns) in view.
TEST(ExGridScroll, ProportionalThumbsFollowCountsFilterAndZoom)
{
    struct Case {
        const char* Name;
        std::function<void(TExStringGrid*)> Change;
        int VertMax, VertPage, HorzMax, HorzPage;
    };
    const Case cases[] = {
        // total 1 + 49 x 21 = 1030: e = 178 / 1030.
        { "rows", [](TExStringGrid* g) { g->SetRowCount(50); }, 153, 27, 276, 150 },
        // total 1 + 19 x 51 = 970: e = 248 / 970.
        { "columns", [](TExStringGrid* g) { g->SetColCount(20); }, 138, 12, 170, 44 },
        // Rows 50..99 filtered out leave the 49 normal rows of the first case.
        { "filter",
            [](TExStringGrid* g) {
                TFilterData* f = g->Filter()->Add();
                f->Column = 1;
                f->Condition = "<50";
                g->SetFilterActive(true);
            },
            153, 27, 276, 150 },
        // Rows of 22 and columns of 52 with their lines: fixed 24 and 54,
        // totals 1 + 99 x 23 and 1 + 9 x 53.
        { "zoom", [](TExStringGrid* g) { g->Zoom(2); }, 137, 11, 262, 136 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TScrollGrid f;
        TExStringGrid* g = f.Grid;
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        g->SetScrollProportional(true);
        c.Change(g);
        const TGridScrollInfo v = g->GetScrollInfo(SB_VERT);
        const TGridScrollInfo h = g->GetScrollInfo(SB_HORZ);
        EXPECT_EQ(v.Max, c.VertMax);
        EXPECT_EQ(v.Page, c.VertPage);
        EXPECT_EQ(h.Max, c.HorzMax);
        EXPECT_EQ(h.Page, c.HorzPage);
    }
}

// Fixed rows taller than the grid leave no room for normal rows: the thumb
// keeps its smallest size and still reaches every position.
TEST(ExGridScroll, ProportionalThumbKeepsItsSmallestSize)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    g->SetFixedRows(12);
    g->SetScrollProportional(true);
    const TGridScrollInfo v = g->GetScrollInfo(SB_VERT);
    EXPECT_GE(v.Page, 1);
    EXPECT_EQ(v.Max - v.Page + 1, GridScrollMax);
    QScrollBar* bar = g->ScrollBarWidget(SB_VERT);
    EXPECT_GE(BarPart(bar, QStyle::SC_ScrollBarSlider).height(), 8);
}

TEST(ExGridScroll, ProportionalThumbsLeaveBarsAloneWhenNothingToScale)
{
    // All columns in view (e >= 0.9999), and normal columns without width.
    for (bool zeroWidths : { false, true }) {
        SCOPED_TRACE(zeroWidths);
        Grid f(4, 100, 300, 200);
        TExStringGrid* g = f.Grid;
        if (zeroWidths) {
            g->SetColCount(10);
            for (int c = 1; c < 10; ++c)
                g->SetColWidths(c, 0);
        }
        const TGridScrollInfo before = g->GetScrollInfo(SB_HORZ);
        g->SetScrollProportional(true);
        const TGridScrollInfo after = g->GetScrollInfo(SB_HORZ);
        EXPECT_EQ(after.Max, before.Max);
        EXPECT_EQ(after.Page, before.Page);
        EXPECT_GT(g->GetScrollInfo(SB_VERT).Page, 0); // the rows still scale
    }
}

TEST(ExGridScroll, FlatThumbPositionIsStretchedOverTheTrack)
{
    // 4 of 10 columns in view: v = round(4 x 128 / 10) = 51, so position 50
    // becomes round(50 x 127 / 77) = 82; the first column then is
    // 1 + MulDiv(82, 5, 127) = 4 instead of 1 + MulDiv(50, 5, 127) = 3.
    for (auto [type, left] : { std::pair { TScrollType::ssNormal, 3 }, std::pair { TScrollType::ssFlat, 4 } }) {
        TScrollGrid f;
        TExStringGrid* g = f.Grid;
        g->SetScrollType(type);
        ASSERT_EQ(g->VisibleColCount(), 4);
        g->Perform(WM_HSCROLL, WPARAM(SB_THUMBPOSITION) | (WPARAM(50) << 16));
        EXPECT_EQ(g->LeftCol(), left) << int(type);
    }
}

TEST(ExGridScroll, ScrollTypesSetTheBarLooks)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    g->SetScrollWidth(12);
    g->SetScrollColor(TColor(0x00FFEEDD));
    // Regular bars ignore the flat settings.
    EXPECT_FALSE(g->FlatScrollInit());
    EXPECT_EQ(g->ScrollBarLook().Size, 17);
    struct {
        TScrollType Type;
        int Style;
    } cases[] = { { TScrollType::ssFlat, TCustomGrid::sbsFlat }, { TScrollType::ssEncarta, TCustomGrid::sbsEncarta } };
    for (auto c : cases) {
        g->SetScrollType(c.Type);
        EXPECT_TRUE(g->FlatScrollInit());
        EXPECT_EQ(g->ScrollBarLook().Style, c.Style);
        EXPECT_EQ(g->ScrollBarLook().Color, TColor(0x00FFEEDD));
        EXPECT_EQ(g->ScrollBarLook().Size, 12);
        EXPECT_EQ(g->ScrollBarWidget(SB_VERT)->width(), 12);
        EXPECT_EQ(g->ClientWidth(), 300 - 12);
    }
    g->SetScrollType(TScrollType::ssNormal);
    EXPECT_FALSE(g->FlatScrollInit());
    EXPECT_TRUE(g->ScrollBarLook() == TCustomGrid::TScrollBarLook());
    EXPECT_EQ(g->ClientWidth(), 300 - 17);
}

TEST(ExGridScroll, MetroReplacesTheBarsAndNormalBringsThemBack)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    g->SetScrollType(TScrollType::ssMetro);
    ASSERT_TRUE(g->vscrlctrl && g->hscrlctrl);
    EXPECT_EQ(g->ScrollBars(), ssNone);
    EXPECT_FALSE(g->ScrollBarShowing(SB_VERT));
    EXPECT_FALSE(g->ScrollBarShowing(SB_HORZ));
    EXPECT_EQ(g->vscrlctrl->Width(), 6);
    EXPECT_EQ(g->vscrlctrl->Left(), 300 - 6);
    EXPECT_EQ(g->hscrlctrl->Height(), 6);
    EXPECT_EQ(g->hscrlctrl->Top(), 200 - 6);

    g->SetScrollType(TScrollType::ssNormal);
    EXPECT_EQ(g->vscrlctrl, nullptr);
    EXPECT_EQ(g->hscrlctrl, nullptr);
    EXPECT_EQ(g->ScrollBars(), ssBoth);
    EXPECT_TRUE(g->ScrollBarShowing(SB_VERT));
    EXPECT_TRUE(g->ScrollBarShowing(SB_HORZ));
}

TEST(ExGridScroll, MetroControlsPageAndDrag)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    g->SetScrollType(TScrollType::ssMetro);
    TScrollControl* v = g->vscrlctrl;
    QWidget* w = v->WidgetIfAllocated();
    ASSERT_TRUE(w);
    const int visible = g->VisibleRowCount();
    int pos = 0, size = 0;
    ASSERT_TRUE(v->Thumb(pos, size));
    // Track: the control's height less the fixed row.
    const int track = v->Height() - 20;
    EXPECT_EQ(size, std::max(20, int(std::lround(track * double(visible) / 100))));
    EXPECT_EQ(pos, 20);

    Click(w, QPoint(2, pos + size + 5)); // below the thumb: a page down
    EXPECT_EQ(g->TopRow(), 1 + visible);
    ASSERT_TRUE(v->Thumb(pos, size));
    EXPECT_EQ(pos, 20 + int(std::lround(track * double(visible) / 99)));
    Click(w, QPoint(2, pos - 5)); // above it: a page up, not above the fixed rows
    EXPECT_EQ(g->TopRow(), 1);

    // Dragging by 40 pixels moves round(40 / (length - 20) x 100) rows.
    ASSERT_TRUE(v->Thumb(pos, size));
    Drag(w, QPoint(2, pos + 2), QPoint(2, pos + 42));
    EXPECT_EQ(g->TopRow(), 1 + int(std::lround(40.0 / (v->Height() - 20) * 100)));
    // Dragged far beyond the end, the last rows show.
    ASSERT_TRUE(v->Thumb(pos, size));
    Drag(w, QPoint(2, pos + 2), QPoint(2, pos + 1000));
    EXPECT_EQ(g->TopRow(), 100 - visible);

    // The horizontal control pages through the columns.
    TScrollControl* h = g->hscrlctrl;
    ASSERT_TRUE(h->Thumb(pos, size));
    Click(h->WidgetIfAllocated(), QPoint(pos + size + 3, 2));
    EXPECT_EQ(g->LeftCol(), std::min(1 + g->VisibleColCount(), 10 - g->VisibleColCount()));
    ASSERT_TRUE(h->Thumb(pos, size));
    Click(h->WidgetIfAllocated(), QPoint(pos - 3, 2));
    EXPECT_EQ(g->LeftCol(), 1);
}

// Drag notices as Qt's drag events bring them to the grid's window.
struct TDragSender {
    QWidget* W;
    QMimeData Data;
    void Send(QEvent::Type type, QPoint p)
    {
        if (type == QEvent::DragEnter) {
            QDragEnterEvent e(p, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(W, &e);
        } else if (type == QEvent::DragMove) {
            QDragMoveEvent e(p, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(W, &e);
        } else if (type == QEvent::Drop) {
            QDropEvent e(QPointF(p), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(W, &e);
        } else {
            QDragLeaveEvent e;
            QApplication::sendEvent(W, &e);
        }
    }
};

TEST(ExGridScroll, DragNearAnEdgeScrollsARowPerTickUntilTheFixedRows)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    g->DragScrollOptions()->Active = true;
    g->SetTopRow(4);
    TDragSender d { g->WidgetIfAllocated(), {} };
    d.Send(QEvent::DragEnter, QPoint(150, 100));
    EXPECT_EQ(g->DragScrollTimer(), nullptr); // outside every margin
    d.Send(QEvent::DragMove, QPoint(150, 10));
    TTimer* t = g->DragScrollTimer();
    ASSERT_TRUE(t);
    EXPECT_EQ(g->DragScrollDir(), TExStringGrid::dsdUp);
    EXPECT_EQ(t->Interval(), 1000u);
    EXPECT_TRUE(t->Enabled());
    const int expected[] = { 3, 2, 1, 1 };
    for (int top : expected) {
        t->Fire();
        EXPECT_EQ(t->Interval(), 250u);
        EXPECT_EQ(g->TopRow(), top);
    }
    // Leaving the grid stops the timer.
    d.Send(QEvent::DragLeave, QPoint());
    EXPECT_EQ(g->DragScrollTimer(), nullptr);

    // Near the bottom and the right edge, both at once; a drop ends it.
    d.Send(QEvent::DragEnter, QPoint(290, 195));
    ASSERT_TRUE(g->DragScrollTimer());
    EXPECT_EQ(g->DragScrollDir(), TExStringGrid::dsdDown | TExStringGrid::dsdRight);
    g->DragScrollTimer()->Fire();
    EXPECT_EQ(g->TopRow(), 2);
    EXPECT_EQ(g->LeftCol(), 2);
    // A handler may forbid a tick.
    g->OnDragScroll = [](TObject*, int, int, int&, bool& CanScroll) { CanScroll = false; };
    g->DragScrollTimer()->Fire();
    EXPECT_EQ(g->TopRow(), 2);
    d.Send(QEvent::Drop, QPoint(290, 195));
    EXPECT_EQ(g->DragScrollTimer(), nullptr);

    // Inactive, nothing starts.
    g->DragScrollOptions()->Active = false;
    d.Send(QEvent::DragEnter, QPoint(150, 10));
    EXPECT_EQ(g->DragScrollTimer(), nullptr);
}

TEST(ExGridScroll, SizingPositionAndScreenToCell)
{
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    const int border = g->CellRect(1, 1).Right;
    const int rowY = g->CellRect(1, 1).Top + 10;
    const int row2Y = g->CellRect(1, 2).Top + 10;
    struct {
        int X, Y;
        bool ColSizing, Expected;
    } cases[] = {
        { border + 3, rowY, true, true }, // first normal row, 3 right of the border
        { border - 3, rowY, true, true },
        { border + 4, rowY, true, false },
        { border + 3, row2Y, true, false }, // below the first normal row
        { border + 3, rowY, false, false },
    };
    for (auto c : cases) {
        g->SetOptions(c.ColSizing ? g->Options() | goColSizing : g->Options() & ~TGridOptions(goColSizing));
        EXPECT_EQ(g->IsSizingPosition(c.X, c.Y), c.Expected) << c.X << "," << c.Y;
    }
    EXPECT_FALSE(g->IsSizingPosition(298, 198)); // no cell there

    // Rows size in the fixed column and the first normal one.
    g->SetOptions((g->Options() | goRowSizing) & ~TGridOptions(goColSizing));
    const int rowBorder = g->CellRect(0, 3).Bottom;
    EXPECT_TRUE(g->IsSizingPosition(g->CellRect(0, 4).Left + 10, rowBorder + 2));
    EXPECT_TRUE(g->IsSizingPosition(g->CellRect(1, 4).Left + 10, rowBorder + 2));
    EXPECT_FALSE(g->IsSizingPosition(g->CellRect(2, 4).Left + 10, rowBorder + 2));
    EXPECT_FALSE(g->IsSizingPosition(g->CellRect(0, 4).Left + 10, rowBorder + 6));

    int col = 0, row = 0;
    const TRect cell = g->CellRect(2, 3);
    g->ScreenToCell(g->ClientToScreen(TPoint(cell.Left + 5, cell.Top + 5)), col, row);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 3);
}

// The in-cell scroll bar's requests move it by 10 a line and 100 a page.
class TCellScrollGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    void ServeCell(int ACol, int ARow)
    {
        FCellScrollCol = ACol;
        FCellScrollRow = ARow;
    }
};

TEST(ExGridScroll, InCellScrollBarMovesItsCell)
{
    TGridOnForm<TCellScrollGrid> f(4, 10, 300, 200);
    TCellScrollGrid* g = f.Grid;
    g->AddScrollBar(2, 3, false);
    g->ServeCell(2, 3);
    TScrollBar* sb = g->CellScrollBar();
    ASSERT_TRUE(sb);
    std::vector<std::array<int, 5>> fired;
    g->OnScrollCell = [&](TObject*, int c, int r, int p, int mn, int mx) { fired.push_back({ c, r, p, mn, mx }); };
    const LPARAM from = LPARAM(sb->Handle());
    struct {
        WORD Code;
        int Pos;
    } steps[]
        = { { SB_LINEDOWN, 10 }, { SB_PAGEDOWN, 100 }, { SB_LINEDOWN, 100 }, { SB_LINEUP, 90 }, { SB_PAGEUP, 0 } };
    for (auto s : steps) {
        g->Perform(WM_VSCROLL, s.Code, from);
        EXPECT_EQ(g->GetScrollPosition(2, 3), s.Pos) << s.Code;
    }
    // The unchanged step fires nothing.
    ASSERT_EQ(fired.size(), 4u);
    EXPECT_EQ(fired[0], (std::array<int, 5> { 2, 3, 10, 0, 100 }));
    EXPECT_EQ(g->TopRow(), 1); // the grid itself did not scroll
}

TEST(ExGridScroll, DialogCodeWantsCharactersWithoutEditing)
{
    // Typed characters reach the grid (incremental search) also when it
    // does not edit.
    TScrollGrid f;
    TExStringGrid* g = f.Grid;
    g->SetOptions(g->Options() & ~TGridOptions(goEditing));
    EXPECT_TRUE(g->Perform(WM_GETDLGCODE) & DLGC_WANTCHARS);
}

// The bar looks side by side: regular themed and classic, flat and
// Encarta-like with a coloured track and thinner bars, and the metro
// controls over the cells.
TEST(ExGridScroll, BarLooksGolden)
{
    TPlatformInfoScope scope(PlatformInfo());
    struct {
        TScrollType Type;
        bool Themes;
    } looks[] = { { TScrollType::ssNormal, true }, { TScrollType::ssNormal, false }, { TScrollType::ssFlat, true },
        { TScrollType::ssEncarta, true }, { TScrollType::ssMetro, true } };
    constexpr int w = 180, h = 120, gap = 8;
    QImage sheet(int(std::size(looks)) * (w + gap), h, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int x = 0;
    for (auto l : looks) {
        PlatformInfo().ThemesActive = l.Themes;
        Grid f(6, 30, w, h);
        TExStringGrid* g = f.Grid;
        for (int r = 0; r < 30; ++r)
            for (int c = 0; c < 6; ++c)
                g->SetCells(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
        g->SetScrollWidth(14);
        g->SetScrollColor(TColor(0x00F0E0D0));
        g->SetScrollType(l.Type);
        g->SetTopRow(8);
        g->SetLeftCol(2);
        if (l.Type == TScrollType::ssEncarta) {
            // The mouse over the thumb raises it.
            QScrollBar* bar = g->ScrollBarWidget(SB_VERT);
            const QPointF at = BarPart(bar, QStyle::SC_ScrollBarSlider).center();
            QHoverEvent e(QEvent::HoverEnter, at, at, QPointF(-1, -1));
            QApplication::sendEvent(bar, &e);
        }
        g->Repaint();
        p.drawPixmap(x, 0, g->WidgetIfAllocated()->grab());
        x += w + gap;
    }
    p.end();
    testutil::SaveImagePng(sheet, "ExGridScroll_BarLooks");
    EXPECT_TRUE(testutil::MatchesGolden(sheet, "ExGridScroll_BarLooks"));
}

} // namespace
