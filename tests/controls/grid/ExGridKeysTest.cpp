// The string grid's keyboard through real key presses on a shown grid: its
// navigation settings, row insertion and deletion, the special keys, Tab,
// the grid timer and the clipboard shortcuts.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
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

TEST(ExGridKeys, InsertAndDeleteFollowTheirSwitches)
{
    struct TCase {
        const char* What;
        bool AllowInsert, After, AllowDelete;
        int Key;
        int WantRows, WantRow;
        QString WantAtRow3, WantAtRow4;
        std::vector<int> WantInserted;
    };
    const std::vector<TCase> cases {
        { "Insert off", false, false, false, Qt::Key_Insert, 10, 3, "c1r3", "c1r4", {} },
        { "Insert before", true, false, false, Qt::Key_Insert, 11, 3, "", "c1r3", { 3 } },
        { "Insert after", true, true, false, Qt::Key_Insert, 11, 4, "c1r3", "", { 4 } },
        { "Delete off", false, false, false, Qt::Key_Delete, 10, 3, "c1r3", "c1r4", {} },
        { "Delete", false, false, true, Qt::Key_Delete, 9, 3, "c1r4", "c1r5", {} },
    };
    for (const TCase& c : cases) {
        TKeyGrid g;
        g.Nav()->AllowInsertRow = c.AllowInsert;
        g.Nav()->AllowDeleteRow = c.AllowDelete;
        g.Nav()->InsertPosition = c.After ? TInsertPosition::pInsertAfter : TInsertPosition::pInsertBefore;
        std::vector<int> inserted;
        g.Grid->OnAutoInsertRow = [&](TObject*, int r) { inserted.push_back(r); };
        g.At(1, 3);
        Press(c.Key);
        EXPECT_EQ(g.Grid->RowCount(), c.WantRows) << c.What;
        EXPECT_EQ(g.Grid->Row(), c.WantRow) << c.What;
        EXPECT_EQ(g.Grid->Cells(1, 3), c.WantAtRow3) << c.What;
        EXPECT_EQ(g.Grid->Cells(1, 4), c.WantAtRow4) << c.What;
        EXPECT_EQ(inserted, c.WantInserted) << c.What;
        EXPECT_EQ(g.Grid->Modified(), c.WantRows != 10) << c.What;
    }
}

TEST(ExGridKeys, InsertWithModifiersOrAltGrDoesNothing)
{
    TKeyGrid g;
    g.Nav()->AllowInsertRow = true;
    g.At(1, 3);
    Press(Qt::Key_Insert, Qt::ControlModifier);
    Press(Qt::Key_Insert, Qt::AltModifier);
    Press(Qt::Key_Insert, Qt::GroupSwitchModifier);
    EXPECT_EQ(g.Grid->RowCount(), 10);
}

TEST(ExGridKeys, InsertAfterOnAGridWithoutNormalRows)
{
    TGridOnForm<TExStringGrid> on(3, 1, 200, 100);
    on.Grid->SetFixedRows(0);
    on.Grid->SetFixedRowAlways(true);
    ASSERT_EQ(on.Grid->FixedRows(), on.Grid->RowCount());
    on.Grid->Navigation()->AllowInsertRow = true;
    on.Grid->Navigation()->InsertPosition = TInsertPosition::pInsertAfter;
    on.Form->Widget()->activateWindow();
    on.Grid->SetFocus();
    QApplication::processEvents();
    Press(Qt::Key_Insert);
    EXPECT_EQ(on.Grid->RowCount(), 2);
    EXPECT_EQ(on.Grid->Row(), 1);
}

TEST(ExGridKeys, RefusedDeleteKeepsTheFilter)
{
    TKeyGrid g;
    g.Nav()->AllowDeleteRow = true;
    TFilterData* d = g.Grid->Filter()->Add();
    d->Column = 1;
    d->Condition = QStringLiteral("!c1r2");
    g.Grid->SetFilterActive(true);
    ASSERT_TRUE(g.Grid->FilterActive());
    const int rows = g.Grid->RowCount();
    int asked = -1;
    g.Grid->OnCanDeleteRow = [&](TObject*, int r, bool& can) {
        asked = r;
        can = false;
    };
    g.At(1, 2);
    Press(Qt::Key_Delete);
    EXPECT_TRUE(g.Grid->FilterActive());
    EXPECT_EQ(g.Grid->RowCount(), rows);
    EXPECT_EQ(asked, 3) << "the real row of the shown row 2";
}

TEST(ExGridKeys, DeleteOnTheOnlyNormalRowClearsIt)
{
    TGridOnForm<TExStringGrid> on(3, 2, 200, 100);
    on.Grid->SetFixedRows(1);
    on.Grid->SetCells(1, 1, "x");
    on.Grid->Navigation()->AllowDeleteRow = true;
    on.Form->Widget()->activateWindow();
    on.Grid->SetFocus();
    QApplication::processEvents();
    on.Grid->SetRow(1);
    Press(Qt::Key_Delete);
    EXPECT_EQ(on.Grid->RowCount(), 2);
    EXPECT_EQ(on.Grid->Cells(1, 1), "");
}

TEST(ExGridKeys, CtrlASelectsTheNormalAreaOnlyInRowOrRangeSelect)
{
    for (TGridOption o : { goRangeSelect, goRowSelect }) {
        TKeyGrid g;
        g.Grid->SetOptions(g.Grid->Options() & ~TGridOptions(goRangeSelect));
        g.At(3, 3);
        Press(Qt::Key_A, Qt::ControlModifier);
        TGridRect s = g.Grid->Selection();
        EXPECT_EQ(s.Left, 3) << "without a select mode nothing changes";
        EXPECT_EQ(s.Bottom, 3);
        g.Grid->SetOptions(g.Grid->Options() | o);
        Press(Qt::Key_A, Qt::ControlModifier);
        s = g.Grid->Selection();
        EXPECT_EQ(s.Top, 1);
        EXPECT_EQ(s.Bottom, 8);
        if (o == goRangeSelect) {
            EXPECT_EQ(s.Left, 1);
            EXPECT_EQ(s.Right, 8);
        }
    }
}

TEST(ExGridKeys, SpaceTogglesCheckBoxesAndCyclesRadios)
{
    struct TCase {
        const char* What;
        bool Editing, AlwaysActive;
        bool WantToggled;
    };
    for (const TCase& c : std::vector<TCase> {
             { "neither", false, false, false },
             { "editing", true, false, true },
             { "always active", false, true, true },
         }) {
        TKeyGrid g;
        g.Grid->AddCheckBox(2, 3, false, false);
        if (c.Editing)
            g.Grid->SetOptions(g.Grid->Options() | goEditing);
        g.Grid->ControlLook()->CheckAlwaysActive = c.AlwaysActive;
        std::vector<bool> clicks;
        g.Grid->OnCheckBoxClick = [&](TObject*, int, int, bool s) { clicks.push_back(s); };
        g.At(2, 3);
        Press(Qt::Key_Space, Qt::NoModifier, " ");
        bool state = false;
        g.Grid->GetCheckBoxState(2, 3, state);
        EXPECT_EQ(state, c.WantToggled) << c.What;
        EXPECT_EQ(clicks, c.WantToggled ? std::vector<bool> { true } : std::vector<bool> {}) << c.What;
        EXPECT_FALSE(g.Grid->EditorMode()) << c.What << ": Space opens no editor on a check box";
    }

    TKeyGrid g;
    TStringList items;
    items.Add("a");
    items.Add("b");
    items.Add("c");
    g.Grid->AddRadio(2, 3, 0, 1, &items);
    g.Grid->SetOptions(g.Grid->Options() | goEditing);
    std::vector<int> radio;
    g.Grid->OnRadioClick = [&](TObject*, int, int, int i) { radio.push_back(i); };
    g.At(2, 3);
    Press(Qt::Key_Space, Qt::NoModifier, " ");
    Press(Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_EQ(radio, (std::vector<int> { 2, 0 }));
}

TEST(ExGridKeys, EnterOnAReadOnlyCellReachesAKeyPreviewForm)
{
    for (bool preview : { false, true }) {
        TKeyGrid g;
        g.Grid->SetOptions(g.Grid->Options() | goEditing);
        g.Grid->GetCellProperties(2, 3)->SetReadOnly(true);
        g.Form->SetKeyPreview(preview);
        std::vector<WORD> formKeys;
        g.Form->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { formKeys.push_back(k); };
        g.At(2, 3);
        Press(Qt::Key_Return, Qt::NoModifier, "\r");
        EXPECT_EQ(formKeys, preview ? std::vector<WORD> { VK_RETURN } : std::vector<WORD> {}) << preview;
        EXPECT_EQ(g.Log, std::vector<WORD> { VK_RETURN }) << preview;
        EXPECT_FALSE(g.Grid->EditorMode());
    }
}

TEST(ExGridKeys, KeypadDecimalTypesTheLocaleSeparator)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    struct TCase {
        const char* What;
        bool Excel;
        Qt::KeyboardModifiers Mods;
        QString Want;
    };
    for (const TCase& c : std::vector<TCase> {
             { "keypad", true, Qt::KeypadModifier, "," },
             { "main keyboard", true, Qt::NoModifier, "." },
             { "switch off", false, Qt::KeypadModifier, "." },
         }) {
        TKeyGrid g;
        g.Grid->SetOptions(g.Grid->Options() | goEditing);
        g.Grid->SetExcelStyleDecimalSeparator(c.Excel);
        g.At(2, 3);
        Press(Qt::Key_Period, c.Mods, ".");
        QApplication::processEvents();
        ASSERT_TRUE(g.Grid->EditorMode()) << c.What;
        EXPECT_EQ(g.Grid->InplaceEditor()->Text(), c.Want) << c.What;
    }
    FormatSettings = saved;
}

TEST(ExGridKeys, CtrlCCopiesOnceAndItsCharacterIsSwallowed)
{
    TMemoryClipboard clip;
    TClipboard* old = SetClipboard(&clip);
    TKeyGrid g;
    g.Grid->SetOptions(g.Grid->Options() | goRangeSelect | goEditing);
    g.Nav()->AllowClipboardShortCuts = true;
    std::vector<char16_t> chars;
    g.Grid->OnKeyPress = [&](TObject*, char16_t& k) { chars.push_back(k); };
    g.Grid->SetSelection(TGridRect { 2, 3, 3, 4 });
    Press(Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    EXPECT_EQ(clip.WriteCount(), 1);
    EXPECT_EQ(clip.AsText(), "c2r3\tc3r3\r\nc2r4\tc3r4\r\n");
    EXPECT_TRUE(chars.empty());
    EXPECT_FALSE(g.Grid->EditorMode());

    bool allow = false;
    g.Grid->OnClipboardCopy = [&](TObject*, bool& a) { a = allow; };
    Press(Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    EXPECT_EQ(clip.WriteCount(), 1) << "refused";
    SetClipboard(old);
}

namespace {

// Records what the shortcuts ask of the exchange service.
struct TRecordingExchange : TGridExchange {
    std::vector<QString> Calls;
    void CopySelection(TExStringGrid*) override { Calls.push_back("copy"); }
    void CutSelection(TExStringGrid*) override { Calls.push_back("cut"); }
    void PasteSelection(TExStringGrid*) override { Calls.push_back("paste"); }
};

} // namespace

TEST(ExGridKeys, ClipboardShortcutsReachTheExchangeService)
{
    TRecordingExchange rec;
    TGridExchange* old = SetGridExchange(&rec);
    TKeyGrid g;
    g.At(2, 3);
    Press(Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    EXPECT_TRUE(rec.Calls.empty()) << "shortcuts off";
    g.Nav()->AllowClipboardShortCuts = true;
    Press(Qt::Key_X, Qt::ControlModifier, QString(QChar(24)));
    Press(Qt::Key_Delete, Qt::ShiftModifier);
    Press(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    Press(Qt::Key_Insert, Qt::ShiftModifier);
    Press(Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    Press(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(rec.Calls, (std::vector<QString> { "cut", "cut", "paste", "paste", "copy", "copy" }));
    SetGridExchange(old);
}

TEST(ExGridKeys, DefaultPasteIsCutAtTheGridsEdges)
{
    TMemoryClipboard clip;
    TClipboard* old = SetClipboard(&clip);
    TKeyGrid g;
    g.Grid->SetSelection(TGridRect { 7, 7, 7, 7 });
    clip.SetAsText("");
    g.Grid->PasteSelectionFromClipboard();
    EXPECT_EQ(g.Grid->Cells(7, 7), "c7r7") << "no text, nothing pasted";

    clip.SetAsText("a\tb\tc\r\nd\te\tf\r\ng\th\ti\r\n");
    g.Grid->PasteSelectionFromClipboard();
    EXPECT_EQ(g.Grid->Cells(7, 7), "a");
    EXPECT_EQ(g.Grid->Cells(8, 7), "b");
    EXPECT_EQ(g.Grid->Cells(9, 7), "c9r7") << "the fixed right column keeps its text";
    EXPECT_EQ(g.Grid->Cells(7, 8), "d");
    EXPECT_EQ(g.Grid->Cells(7, 9), "c7r9") << "the footer keeps its text";
    EXPECT_EQ(g.Grid->RowCount(), 10);

    // 10 MB in one paste: only what fits is taken.
    QString big;
    const QString line = QString(1000, u'x') + u'\t' + QString(1000, u'y') + u'\n';
    while (big.size() < 10 * 1024 * 1024)
        big += line;
    clip.SetAsText(big);
    g.Grid->SetSelection(TGridRect { 1, 1, 1, 1 });
    g.Grid->PasteSelectionFromClipboard();
    EXPECT_EQ(g.Grid->Cells(1, 8), QString(1000, u'x'));
    EXPECT_EQ(g.Grid->Cells(2, 8), QString(1000, u'y'));
    EXPECT_EQ(g.Grid->Cells(3, 8), "c3r8");
    SetClipboard(old);
}

TEST(ExGridKeys, DefaultCutCopiesThenClears)
{
    TMemoryClipboard clip;
    TClipboard* old = SetClipboard(&clip);
    TKeyGrid g;
    g.Grid->SetOptions(g.Grid->Options() | goRangeSelect);
    g.Grid->SetSelection(TGridRect { 7, 7, 8, 8 });
    g.Grid->CutSelectionToClipboard();
    EXPECT_EQ(clip.AsText(), "c7r7\tc8r7\r\nc7r8\tc8r8\r\n");
    EXPECT_EQ(g.Grid->Cells(8, 8), "");
    EXPECT_EQ(g.Grid->Cells(9, 8), "c9r8");
    SetClipboard(old);
}
