// The string grid under real mouse input: the press by region with its
// event order, check boxes, the header sort click, links, the drag of the
// selection through the drag service, sizing with its events and hint, the
// enhanced column move, cell hints and the right button.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/controls/DragService.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Services.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>

namespace {

// 6 columns of 50 and 8 rows of 20 on 400 x 300 pixels, one fixed row and
// column; cell (c, r) holds "c,r".
struct TMouseGrid : TGridOnForm<TExStringGrid> {
    TMouseGrid()
        : TGridOnForm<TExStringGrid>(6, 8, 400, 300)
    {
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r)
                Grid->SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    }
    QWidget* W() { return Grid->Widget(); }
    QPoint Center(int c, int r)
    {
        const TRect x = Grid->CellRect(c, r);
        return QPoint((x.Left + x.Right) / 2, (x.Top + x.Bottom) / 2);
    }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held, Qt::KeyboardModifiers m = {})
    {
        SetMouseCursorPos(TPoint(W()->mapToGlobal(p).x(), W()->mapToGlobal(p).y()));
        QMouseEvent e(type, QPointF(p), QPointF(W()->mapToGlobal(p)), b, held, m);
        QApplication::sendEvent(W(), &e);
    }
    void Press(QPoint p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonPress, p, b, b, m);
    }
    void Release(QPoint p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonRelease, p, b, Qt::NoButton, m);
    }
    void Move(QPoint p, Qt::MouseButtons held = Qt::LeftButton) { Send(QEvent::MouseMove, p, Qt::NoButton, held); }
    void Click(QPoint p, Qt::KeyboardModifiers m = {})
    {
        Press(p, m);
        Release(p, m);
    }
    void DblClick(QPoint p)
    {
        Click(p);
        Send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
        Release(p);
    }
    void Drag(QPoint from, QPoint to)
    {
        Press(from);
        Move(to);
        Release(to);
    }
    QStringList Column(int c)
    {
        QStringList l;
        for (int r = 1; r < Grid->RowCount(); ++r)
            l << Grid->Cells(c, r);
        return l;
    }
};

// Records the links handed to the browser.
struct TShellLog : IShellService {
    QStringList Opened;
    IShellService* Old;
    TShellLog() { Old = services::SetShellService(this); }
    ~TShellLog() override { services::SetShellService(Old); }
    bool OpenUrl(const QString& url) override
    {
        Opened << url;
        return true;
    }
};

// Answers every drag with a fixed effect, after an optional action that
// stands for the drop.
struct TDragAnswer : IDragService {
    int Effect;
    int Calls = 0;
    TDragData Last;
    std::function<void()> OnDrop;
    IDragService* Old;
    explicit TDragAnswer(int AEffect)
        : Effect(AEffect)
    {
        Old = services::SetDragService(this);
    }
    ~TDragAnswer() override { services::SetDragService(Old); }
    int Drag(TWinControl*, const TDragData& Data, int) override
    {
        ++Calls;
        Last = Data;
        if (OnDrop)
            OnDrop();
        return Effect;
    }
};

TEST(ExGridMouse, PlainClickFiresItsEventsInOrder)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    QStringList log;
    g->OnCanClickCell = [&](TObject*, int r, int c, bool&) { log << QStringLiteral("can %1,%2").arg(c).arg(r); };
    g->OnSelectCell = [&](TObject*, int c, int r, bool&) { log << QStringLiteral("select %1,%2").arg(c).arg(r); };
    g->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log << "down"; };
    g->OnClickCell = [&](TObject*, int r, int c) { log << QStringLiteral("clickcell %1,%2").arg(c).arg(r); };
    g->OnClick = [&](TObject*) { log << "click"; };
    g->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log << "up"; };
    f.Click(f.Center(3, 4));
    EXPECT_EQ(log, QStringList({ "can 3,4", "select 3,4", "down", "clickcell 3,4", "click", "up" }));
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 4);
}

TEST(ExGridMouse, RefusedClickLeavesFocusSelectionAndEditor)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    g->SetOptions(g->Options() | goEditing);
    g->MouseActions()->DirectEdit = true;
    QStringList log;
    g->OnCanClickCell = [&](TObject*, int, int, bool& Allow) { Allow = false; };
    g->OnSelectCell = [&](TObject*, int, int, bool&) { log << "select"; };
    g->OnClickCell = [&](TObject*, int, int) { log << "clickcell"; };
    g->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log << "down"; };
    f.Click(f.Center(2, 5));
    EXPECT_TRUE(log.isEmpty()) << log.join(' ').toStdString();
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_FALSE(g->EditorMode());
}

TEST(ExGridMouse, CheckBoxClickTogglesByEditingState)
{
    struct Case {
        bool Editing;
        bool AlwaysActive;
        bool Toggles;
    };
    for (const Case& k : { Case { true, false, true }, Case { false, true, true }, Case { false, false, false } }) {
        TMouseGrid f;
        TExStringGrid* g = f.Grid;
        // Real column 4 shows as column 3 while column 2 is hidden.
        g->AddCheckBox(4, 3, false, false);
        g->HideColumn(2);
        if (k.Editing)
            g->SetOptions(g->Options() | goEditing);
        g->ControlLook()->CheckAlwaysActive = k.AlwaysActive;
        QStringList clicks;
        g->OnCheckBoxClick
            = [&](TObject*, int c, int r, bool s) { clicks << QStringLiteral("%1,%2,%3").arg(c).arg(r).arg(s); };
        const TRect cr = g->CellRect(3, 3);
        // The box sits at the cell's left.
        f.Click(QPoint(cr.Left + 8, (cr.Top + cr.Bottom) / 2));
        bool state = false;
        g->GetCheckBoxState(4, 3, state);
        SCOPED_TRACE(testing::Message() << k.Editing << k.AlwaysActive);
        EXPECT_EQ(state, k.Toggles);
        EXPECT_EQ(clicks, k.Toggles ? QStringList { "3,3,1" } : QStringList {});
        EXPECT_EQ(g->Row(), 3);
        EXPECT_EQ(g->Col(), 3);
    }
}

TEST(ExGridMouse, HeaderClickSortsOnlyWhereItShould)
{
    struct Case {
        const char* Name;
        int Rows;
        bool Show;
        int DX; // release point from the header cell's left edge
        bool ReleaseBelow;
        bool Sorts;
    };
    const Case cases[] = {
        { "plain", 8, true, 25, false, true },
        { "indicator off", 8, false, 25, false, false },
        { "two rows", 2, true, 25, false, false },
        { "near the left border", 8, true, 2, false, false },
        { "near the right border", 8, true, 47, false, false },
        { "released on a cell", 8, true, 25, true, false },
    };
    for (const Case& k : cases) {
        TMouseGrid f;
        TExStringGrid* g = f.Grid;
        g->SetOptions(g->Options() | goColSizing);
        g->SetRowCount(k.Rows);
        for (int r = 1; r < k.Rows; ++r)
            g->SetCells(2, r, QString::number(10 - r));
        g->SortSettings()->SetShow(k.Show);
        int sortEvents = 0;
        g->OnClickSort = [&](TObject*, int) { ++sortEvents; };
        const TRect h = g->CellRect(2, 0);
        const QPoint press(h.Left + 25, 10);
        const QPoint release = k.ReleaseBelow ? f.Center(2, 1) : QPoint(h.Left + k.DX, 10);
        f.Press(press);
        f.Release(release);
        SCOPED_TRACE(k.Name);
        EXPECT_EQ(sortEvents, k.Sorts ? 1 : 0);
        EXPECT_EQ(g->SortSettings()->Column, k.Sorts ? 2 : -1);
        if (k.Sorts)
            EXPECT_EQ(g->Cells(2, 1), QStringLiteral("3"));
    }
}

TEST(ExGridMouse, ThirdHeaderClickUndoesTheSortAndShiftAddsAnIndex)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    const QStringList values { "b", "c", "a", "e", "d", "g", "f" };
    for (int r = 1; r < 8; ++r) {
        g->SetCells(2, r, values[r - 1]);
        g->SetCells(3, r, QString::number(r % 2));
    }
    g->SortSettings()->SetShow(true);
    g->SortSettings()->UndoSort = true;
    const QPoint h2 = f.Center(2, 0);
    f.Click(h2);
    EXPECT_EQ(f.Column(2), QStringList({ "a", "b", "c", "d", "e", "f", "g" }));
    f.Click(h2);
    EXPECT_EQ(f.Column(2), QStringList({ "g", "f", "e", "d", "c", "b", "a" }));
    EXPECT_EQ(g->SortSettings()->Direction, TSortDirection::sdDescending);
    f.Click(h2);
    EXPECT_EQ(f.Column(2), values);
    EXPECT_EQ(g->SortSettings()->Column, -1);

    // Index sorting: Shift adds column 2 behind column 3.
    g->SortSettings()->IndexShow = true;
    f.Click(f.Center(3, 0));
    f.Click(h2, Qt::ShiftModifier);
    ASSERT_EQ(g->SortIndexes()->Count(), 2);
    EXPECT_EQ(f.Column(3), QStringList({ "0", "0", "0", "1", "1", "1", "1" }));
    EXPECT_EQ(f.Column(2), QStringList({ "c", "e", "g", "a", "b", "d", "f" }));
}

TEST(ExGridMouse, BorderDoubleClickSizesTheColumnAndTheReleaseDoesNotSort)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    g->SetOptions(g->Options() | goColSizing);
    g->SortSettings()->SetShow(true);
    g->SetCells(2, 3, QStringLiteral("a much longer text than fits in fifty pixels"));
    int sorts = 0;
    g->OnClickSort = [&](TObject*, int) { ++sorts; };
    const TRect h = g->CellRect(2, 0);
    f.DblClick(QPoint(h.Right - 1, 10));
    EXPECT_GT(g->ColWidths(2), 150);
    EXPECT_EQ(sorts, 0);
    EXPECT_EQ(g->SortSettings()->Column, -1);
}

TEST(ExGridMouse, LinksJumpOpenWebLinksOnlyAndIgnoreBadReferences)
{
    struct Case {
        QString Text;
        QString Opened;
        int Col, Row; // the current cell after the click
    };
    const Case cases[] = {
        { "CELL://R2C3", "", 3, 2 },
        { "http://example.com/x", "http://example.com/x", 1, 5 },
        { "mailto:someone@example.com", "mailto:someone@example.com", 1, 5 },
        { "file:///bin/sh", "", 1, 5 },
        { "CELL://", "", 1, 5 },
        { "CELL://R99999999C3", "", 1, 5 },
        { "CELL://R-1C2", "", 1, 5 },
        { "javascript://alert(1)", "", 1, 5 },
        { "http://" + QString(100000, QLatin1Char('x')), "", 1, 5 },
    };
    for (const Case& k : cases) {
        TMouseGrid f;
        TShellLog shell;
        TExStringGrid* g = f.Grid;
        g->SetCells(1, 5, k.Text);
        g->SetRow(5);
        f.Click(f.Center(1, 5));
        SCOPED_TRACE(k.Text.left(40).toStdString());
        EXPECT_EQ(shell.Opened.join(' ').left(200), k.Opened.left(200));
        EXPECT_EQ(g->Col(), k.Col);
        EXPECT_EQ(g->Row(), k.Row);
    }
}

// A drag source grid with cells (2,2)..(3,3) selected.
struct TDragGrid : TMouseGrid {
    TDragGrid()
    {
        Grid->DragDropSettings()->OleDropSource = true;
        Grid->SetSelection({ 2, 2, 3, 3 });
    }
};

TEST(ExGridMouse, DragStartsAfterFourPixelsAndAMoveClearsTheDraggedCells)
{
    {
        TDragGrid f;
        TDragAnswer answer(DROPEFFECT_MOVE);
        const QPoint p = f.Center(2, 2);
        f.Press(p);
        f.Move(p + QPoint(3, 3));
        EXPECT_EQ(answer.Calls, 0);
        f.Move(p + QPoint(4, 0));
        EXPECT_EQ(answer.Calls, 1);
        f.Release(p + QPoint(4, 0));
        EXPECT_EQ(answer.Last.Text, QStringLiteral("2,2\t3,2\r\n2,3\t3,3"));
        EXPECT_EQ(f.Grid->Cells(2, 2), QString());
        EXPECT_EQ(f.Grid->Cells(3, 3), QString());
        EXPECT_EQ(f.Grid->Cells(4, 3), QStringLiteral("4,3"));
    }
    struct Case {
        const char* Name;
        int Effect;
        bool CopyAlways;
        bool ColumnsOnly;
        bool Drags;
        bool Cleared;
        int Stops;
    };
    const Case cases[] = {
        { "copy", DROPEFFECT_COPY, false, false, true, false, 1 },
        { "move with copy always", DROPEFFECT_MOVE, true, false, true, false, 1 },
        { "unknown effect", 77, false, false, true, false, 0 },
        { "cancelled", DROPEFFECT_NONE, false, false, true, false, 0 },
        { "columns only", DROPEFFECT_MOVE, false, true, false, false, 0 },
    };
    for (const Case& k : cases) {
        TDragGrid f;
        TDragAnswer answer(k.Effect);
        f.Grid->DragDropSettings()->OleCopyAlways = k.CopyAlways;
        f.Grid->DragDropSettings()->OleColumnsOnly = k.ColumnsOnly;
        int stops = 0;
        f.Grid->OnOleDragStop = [&](TObject*, int) { ++stops; };
        f.Drag(f.Center(2, 2), f.Center(2, 2) + QPoint(0, 6));
        SCOPED_TRACE(k.Name);
        EXPECT_EQ(answer.Calls, k.Drags ? 1 : 0);
        EXPECT_EQ(f.Grid->Cells(2, 2).isEmpty(), k.Cleared);
        EXPECT_EQ(stops, k.Stops);
    }
}

TEST(ExGridMouse, MoveDropOnTheSameGridKeepsWhatItWrote)
{
    TDragGrid f;
    TExStringGrid* g = f.Grid;
    TDragAnswer answer(DROPEFFECT_MOVE);
    // The drop writes the two by two block one row lower.
    answer.OnDrop = [&] {
        g->SetCells(2, 3, "A");
        g->SetCells(3, 3, "B");
        g->SetCells(2, 4, "C");
        g->SetCells(3, 4, "D");
        g->SetOleDropTarget({ 2, 3, 3, 4 });
    };
    f.Drag(f.Center(2, 2), f.Center(2, 2) + QPoint(0, 8));
    EXPECT_EQ(g->Cells(2, 2), QString());
    EXPECT_EQ(g->Cells(3, 2), QString());
    EXPECT_EQ(g->Cells(2, 3), QStringLiteral("A"));
    EXPECT_EQ(g->Cells(3, 4), QStringLiteral("D"));
}

TEST(ExGridMouse, MoveDropRemovesRowsInRowSelectMode)
{
    TDragGrid f;
    TExStringGrid* g = f.Grid;
    g->SetOptions(g->Options() | goRowSelect);
    g->DragDropSettings()->OleRemoveRows = true;
    g->SetSelection({ 1, 2, 5, 3 });
    TDragAnswer answer(DROPEFFECT_MOVE);
    f.Drag(f.Center(2, 2), f.Center(2, 2) + QPoint(0, 8));
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("1,4"));
}

TEST(ExGridMouse, BorderDragReportsSizingShowsTheHintAndScalesOthers)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    g->SetOptions(g->Options() | goColSizing);
    g->SetHintShowSizing(true);
    g->SetColWidths(2, 64);
    QStringList sizing;
    g->OnColumnSizing = [&](TObject*, int c, int w) { sizing << QStringLiteral("%1:%2").arg(c).arg(w); };
    const TRect h = g->CellRect(2, 0);
    const QPoint from(h.Right, 10);
    f.Press(from);
    f.Move(from + QPoint(16, 0));
    ASSERT_FALSE(sizing.isEmpty());
    EXPECT_EQ(sizing.last(), QStringLiteral("2:80"));
    EXPECT_EQ(g->SizingHintText(), QStringLiteral("cw=<b>80</b>"));
    f.Release(from + QPoint(16, 0));
    EXPECT_EQ(g->ColWidths(2), 80);

    // With AllColumnSize the other normal columns follow by the same factor.
    g->MouseActions()->AllColumnSize = true;
    const TRect h3 = g->CellRect(3, 0);
    f.Drag(QPoint(h3.Right, 10), QPoint(h3.Right + 50, 10));
    EXPECT_EQ(g->ColWidths(3), 100);
    EXPECT_EQ(g->ColWidths(4), 100);
}

TEST(ExGridMouse, SizingReleasedOutsideTheGridIsCancelled)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    g->SetOptions(g->Options() | goColSizing);
    const TRect h = g->CellRect(5, 0);
    f.Drag(QPoint(h.Right, 10), QPoint(g->ClientWidth() + 30, 10));
    EXPECT_EQ(g->ColWidths(5), 50);
}

TEST(ExGridMouse, EnhancedColumnMoveEndsInMoveColumnUnlessRefused)
{
    for (bool refuse : { false, true }) {
        TMouseGrid f;
        TExStringGrid* g = f.Grid;
        g->SetOptions(g->Options() | goColMoving);
        QList<int> moving;
        g->OnColumnMoving = [&](TObject*, int c, bool& Allow) {
            moving << c;
            Allow = !refuse;
        };
        f.Drag(f.Center(1, 0), f.Center(3, 0));
        SCOPED_TRACE(refuse);
        EXPECT_FALSE(moving.isEmpty());
        EXPECT_EQ(g->Cells(3, 0), refuse ? QStringLiteral("3,0") : QStringLiteral("1,0"));
        EXPECT_EQ(g->Cells(1, 0), refuse ? QStringLiteral("1,0") : QStringLiteral("2,0"));
        EXPECT_EQ(g->GridState(), gsNormal);
    }
}

TEST(ExGridMouse, CellHintsByTheirSettings)
{
    struct Case {
        bool ShowCells;
        bool HTML;
        int Col, Row;
        QString Expected;
    };
    const Case cases[] = {
        { true, false, 2, 3, "word" }, { true, true, 2, 3, "<b>word</b>" }, { false, false, 2, 3, "" },
        { true, false, 2, 0, "header 2" }, // the table's header hint
    };
    for (const Case& k : cases) {
        TMouseGrid f;
        TExStringGrid* g = f.Grid;
        g->SetCells(2, 3, QStringLiteral("<b>word</b>"));
        g->SetHintShowCells(k.ShowCells);
        g->SetHTMLHint(k.HTML);
        g->OnGridHint = [](TObject*, int r, int c, QString& h) {
            if (r == 0)
                h = QStringLiteral("header %1").arg(c);
        };
        THintInfo info;
        const QPoint p = f.Center(k.Col, k.Row);
        info.CursorPos = TPoint(p.x(), p.y());
        info.HintStr = QString();
        EXPECT_EQ(g->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
        EXPECT_EQ(info.HintStr, k.Expected);
    }
}

TEST(ExGridMouse, RightClickSelectsWithSelectOnRightClick)
{
    for (bool select : { false, true }) {
        TMouseGrid f;
        TExStringGrid* g = f.Grid;
        g->MouseActions()->SelectOnRightClick = select;
        QStringList log;
        g->OnRightClickCell = [&](TObject*, int r, int c) { log << QStringLiteral("%1,%2").arg(c).arg(r); };
        f.Click(f.Center(4, 6), {});
        g->SetRow(1);
        g->SetCol(1);
        f.Press(f.Center(4, 6), {}, Qt::RightButton);
        f.Release(f.Center(4, 6), {}, Qt::RightButton);
        EXPECT_EQ(log, QStringList { "4,6" });
        EXPECT_EQ(g->Col(), select ? 4 : 1);
        EXPECT_EQ(g->Row(), select ? 6 : 1);
    }
}

TEST(ExGridMouse, DirectEditOpensTheEditorOnAClick)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    g->SetOptions(g->Options() | goEditing);
    g->MouseActions()->DirectEdit = true;
    f.Click(f.Center(3, 2));
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(g->EditorMode());
}

TEST(ExGridMouse, DoubleClickFiresDblClickCellAndEditsWithEditOnDblClickOnly)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    g->MouseActions()->SetEditOnDblClickOnly(true);
    QStringList log;
    g->OnDblClickCell = [&](TObject*, int r, int c) { log << QStringLiteral("%1,%2").arg(c).arg(r); };
    f.DblClick(f.Center(2, 4));
    EXPECT_EQ(log, QStringList { "2,4" });
    EXPECT_TRUE(g->EditorMode());
}

TEST(ExGridMouse, BadInputMovesNothingOutsideTheGrid)
{
    TMouseGrid f;
    TExStringGrid* g = f.Grid;
    g->SetOptions(g->Options() | goColSizing);
    QStringList cells;
    g->OnClickCell = [&](TObject*, int r, int c) {
        if (c >= g->ColCount() || r >= g->RowCount() || c < 0 || r < 0)
            cells << QStringLiteral("%1,%2").arg(c).arg(r);
    };
    g->OnDblClickCell = g->OnClickCell;
    const Qt::KeyboardModifiers mods[] = { {}, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
        Qt::ShiftModifier | Qt::ControlModifier, Qt::ShiftModifier | Qt::AltModifier,
        Qt::ControlModifier | Qt::AltModifier, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier };
    const TRect last = g->CellRect(5, 0);
    const QPoint spots[] = { QPoint(380, 250), QPoint(last.Right, 10), QPoint(last.Right, 50), QPoint(0, 0) };
    for (const auto& m : mods)
        for (const QPoint& p : spots) {
            f.Click(p, m);
            f.Release(p, m);
        }
    EXPECT_TRUE(cells.isEmpty());
    EXPECT_LT(g->Col(), g->ColCount());
    EXPECT_LT(g->Row(), g->RowCount());
    // A grid of fixed rows only.
    g->SetRowCount(1);
    f.DblClick(QPoint(30, 10));
    EXPECT_TRUE(cells.isEmpty());
}

TEST(ExGridMouse, HandlersThatClearTheGridDuringTheClick)
{
    struct Case {
        const char* Name;
        std::function<void(TExStringGrid*)> Arm;
        int Col; // the clicked cell of row 6; column 2 holds a check box
    };
    const Case cases[] = {
        { "OnClickCell", [](TExStringGrid* g) { g->OnClickCell = [g](TObject*, int, int) { g->SetRowCount(2); }; }, 3 },
        { "OnClick", [](TExStringGrid* g) { g->OnClick = [g](TObject*) { g->SetRowCount(2); }; }, 2 },
        { "OnCheckBoxClick",
            [](TExStringGrid* g) { g->OnCheckBoxClick = [g](TObject*, int, int, bool) { g->SetRowCount(2); }; }, 2 },
    };
    for (const Case& k : cases) {
        TMouseGrid f;
        TExStringGrid* g = f.Grid;
        g->SetOptions(g->Options() | goEditing);
        g->AddCheckBox(2, 6, false, false);
        g->SortSettings()->SetShow(true);
        k.Arm(g);
        const TRect cr = g->CellRect(k.Col, 6);
        f.Click(QPoint(cr.Left + 8, (cr.Top + cr.Bottom) / 2));
        SCOPED_TRACE(k.Name);
        EXPECT_EQ(g->RowCount(), 2);
        EXPECT_LT(g->Row(), 2);
    }
}

} // namespace
