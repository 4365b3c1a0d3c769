// The string grid's keyboard through real key presses on a shown grid: its
// navigation settings, row insertion and deletion, the special keys, Tab,
// the grid timer and the clipboard shortcuts.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridExchange.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/SysUtils.h"
#include "tests/common/GridOnForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

// Presses and releases a key on the widget that has the focus, as typing does.
void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString())
{
    QWidget* w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr) << "nothing has the focus";
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &down);
    if (QWidget* now = QApplication::focusWidget())
        w = now;
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &up);
}

void Type(const QString& text)
{
    for (QChar ch : text)
        Press(ch.isLetter() ? Qt::Key_A + (ch.toUpper().unicode() - 'A') : ch.unicode(), Qt::NoModifier, QString(ch));
}

// 10 x 10 cells of 50 x 20: one fixed row and column, a fixed right column
// and a footer row; six rows in view, so that the view scrolls. Cell texts
// name their cell ("c3r4").
struct TKeyGrid : TGridOnForm<TExStringGrid> {
    std::vector<WORD> Log;
    TKeyGrid()
        : TGridOnForm<TExStringGrid>(10, 10, 520, 6 * 20 + 4)
    {
        Grid->SetFixedRows(1);
        Grid->SetFixedCols(1);
        Grid->SetFixedRightCols(1);
        Grid->SetFixedFooters(1);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c)
                Grid->SetCells(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
        Grid->OnKeyDown = [this](TObject*, WORD& k, TShiftState) { Log.push_back(k); };
        Form->Widget()->activateWindow();
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void At(int c, int r)
    {
        Grid->SetCol(c);
        Grid->SetRow(r);
        Log.clear();
    }
    TNavigation* Nav() { return Grid->Navigation(); }
};

struct TNavCase {
    const char* What;
    std::function<void(TKeyGrid&)> Setup;
    int Col, Row;
    int Key;
    Qt::KeyboardModifiers Mods;
    int WantCol, WantRow, WantTop; // WantTop -1: not checked
    std::vector<WORD> WantLog;
};

void RunCases(const std::vector<TNavCase>& cases)
{
    for (const TNavCase& c : cases) {
        TKeyGrid g;
        if (c.Setup)
            c.Setup(g);
        g.At(c.Col, c.Row);
        Press(c.Key, c.Mods);
        EXPECT_EQ(g.Grid->Col(), c.WantCol) << c.What;
        EXPECT_EQ(g.Grid->Row(), c.WantRow) << c.What;
        if (c.WantTop >= 0)
            EXPECT_EQ(g.Grid->TopRow(), c.WantTop) << c.What;
        EXPECT_EQ(g.Log, c.WantLog) << c.What;
    }
}

} // namespace

TEST(ExGridKeys, Navigation)
{
    const auto homeEnd = [](THomeEndAction a) { return [a](TKeyGrid& g) { g.Nav()->HomeEndKey = a; }; };
    const auto advance = [](TCursorAdvance a) { return [a](TKeyGrid& g) { g.Nav()->CursorAdvance = a; }; };
    const auto none = Qt::NoModifier;
    const WORD home = VK_HOME, end = VK_END, left = VK_LEFT, right = VK_RIGHT, up = VK_UP, down = VK_DOWN;
    RunCases({
        { "Home: first column", nullptr, 4, 3, Qt::Key_Home, none, 1, 3, -1, { home } },
        { "End: last normal column", nullptr, 4, 3, Qt::Key_End, none, 8, 3, -1, { end } },
        { "Ctrl+Home: first cell", nullptr, 4, 3, Qt::Key_Home, Qt::ControlModifier, 1, 1, 1, { home } },
        { "Home by cell", homeEnd(THomeEndAction::heFirstLastCell), 4, 3, Qt::Key_Home, none, 1, 1, 1, { home } },
        { "End by cell: the last normal cell", homeEnd(THomeEndAction::heFirstLastCell), 4, 3, Qt::Key_End, none, 8,
            8, -1, { end } },
        { "Home by row", homeEnd(THomeEndAction::heFirstLastRow), 4, 5, Qt::Key_Home, none, 4, 1, 1, { home } },
        { "End by row: above the footer", homeEnd(THomeEndAction::heFirstLastRow), 4, 2, Qt::Key_End, none, 4, 8, 5,
            { end } },
        { "loop: Left wraps to the last normal column", advance(TCursorAdvance::caLoop), 1, 3, Qt::Key_Left, none, 8,
            3, -1, { left } },
        { "loop: Right before the fixed right column stays", advance(TCursorAdvance::caLoop), 8, 3, Qt::Key_Right,
            none, 8, 3, -1, { right } },
        { "loop: Up wraps to the last normal row", advance(TCursorAdvance::caLoop), 3, 1, Qt::Key_Up, none, 3, 8, -1,
            { up } },
        { "snake: Left goes to the row above", advance(TCursorAdvance::caSnake), 1, 3, Qt::Key_Left, none, 8, 2, -1,
            { left } },
        { "snake: Up goes to the column before", advance(TCursorAdvance::caSnake), 3, 1, Qt::Key_Up, none, 2, 8, -1,
            { up } },
        { "snake: Down on the very last row", [](TKeyGrid& g) {
             g.Nav()->CursorAdvance = TCursorAdvance::caSnake;
             g.Grid->SetFixedFooters(0);
         },
            3, 9, Qt::Key_Down, none, 4, 1, 1, { down } },
        { "scroll only: Down scrolls", [](TKeyGrid& g) { g.Nav()->MoveScrollOnly = true; }, 3, 1, Qt::Key_Down, none,
            3, 1, 2, {} },
        { "scroll only: End scrolls to the end", [](TKeyGrid& g) { g.Nav()->MoveScrollOnly = true; }, 3, 1,
            Qt::Key_End, none, 3, 1, 5, {} },
        { "scroll only: Left still moves", [](TKeyGrid& g) { g.Nav()->MoveScrollOnly = true; }, 3, 1, Qt::Key_Left,
            none, 2, 1, 1, { left } },
        { "a fixed cell is jumped over", [](TKeyGrid& g) {
             g.Grid->OnIsFixedCell = [](TObject*, int, int c, bool& f) { f = f || c == 4; };
         },
            3, 3, Qt::Key_Right, none, 5, 3, -1, { right } },
        { "the footer is not entered", nullptr, 3, 8, Qt::Key_Down, none, 3, 8, -1, { down } },
        { "a disabled row is skipped", [](TKeyGrid& g) { g.Grid->SetRowEnabled(4, false); }, 3, 3, Qt::Key_Down,
            none, 3, 5, -1, { down } },
    });
}

TEST(ExGridKeys, ShiftHomeAndEndSelectTheRowPart)
{
    TKeyGrid g;
    g.At(4, 3);
    Press(Qt::Key_Home, Qt::ShiftModifier);
    TGridRect s = g.Grid->Selection();
    EXPECT_EQ(s.Left, 1);
    EXPECT_EQ(s.Right, 4);
    EXPECT_EQ(s.Top, 3);
    EXPECT_EQ(s.Bottom, 3);
    g.At(4, 3);
    Press(Qt::Key_End, Qt::ShiftModifier);
    s = g.Grid->Selection();
    EXPECT_EQ(s.Left, 4);
    EXPECT_EQ(s.Right, 8) << "up to the last normal column";
}

TEST(ExGridKeys, CtrlUpAndDownMoveRowsWithinTheNormalRows)
{
    TKeyGrid g;
    g.Nav()->CursorMoveRows = true;
    g.At(3, 3);
    Press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(g.Grid->Row(), 4);
    EXPECT_EQ(g.Grid->Cells(1, 4), "c1r3");
    EXPECT_EQ(g.Grid->Cells(1, 3), "c1r4");
    Press(Qt::Key_Up, Qt::ControlModifier);
    Press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(g.Grid->Row(), 2);
    EXPECT_EQ(g.Grid->Cells(1, 2), "c1r3");
    g.At(3, 8);
    Press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(g.Grid->Cells(1, 9), "c1r9") << "the footer keeps its place";
    EXPECT_EQ(g.Grid->Cells(1, 8), "c1r8");
}

TEST(ExGridKeys, DownOnTheLastRowAppends)
{
    TKeyGrid g;
    g.Grid->SetFixedFooters(0);
    g.Nav()->AppendOnArrowDown = true;
    std::vector<int> added;
    g.Grid->OnAutoAddRow = [&](TObject*, int r) { added.push_back(r); };
    g.At(3, 9);
    Press(Qt::Key_Down);
    EXPECT_EQ(g.Grid->RowCount(), 11);
    EXPECT_EQ(g.Grid->Row(), 10);
    EXPECT_EQ(g.Grid->Cells(3, 10), "");
    EXPECT_EQ(added, std::vector<int> { 10 });
    bool allow = false;
    g.Grid->OnCanAddRow = [&](TObject*, bool& can) { can = allow; };
    Press(Qt::Key_Down);
    EXPECT_EQ(g.Grid->RowCount(), 11) << "refused";
    EXPECT_EQ(g.Grid->Row(), 10);
}
