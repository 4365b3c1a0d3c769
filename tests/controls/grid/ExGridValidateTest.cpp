// How an edit ends, through real keys on the offscreen platform: Enter's
// advance in every direction at the edges of the grid (loop, insert, merged
// areas, read-only cells, refusals), the key press's own steps, and the
// validation of an edited value (refusals, corrections, row marks, undo, the
// invalid-entry balloon, raising handlers).

#include "controls/base/ExGridUndoRedo.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/esgcheck.h"
#include "platform/controls/BalloonTip.h"
#include "platform/controls/Messages.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::FEditing;
    using TExStringGrid::FLastValidation;
    using TExStringGrid::FValidating;
    using TExStringGrid::InvalidEntryBalloon;
    using TExStringGrid::TExStringGrid;
    int Restores = 0;
    void RestoreCellCache() override { ++Restores; }
};

// 4 columns and 4 rows of 50 by 20 pixels, one fixed row and column: the
// normal cells are columns 1 to 3 of rows 1 to 3.
struct TEditGrid : TGridOnForm<TProbeGrid> {
    std::vector<std::string> Log;
    explicit TEditGrid(int cols = 4, int rows = 4)
        : TGridOnForm<TProbeGrid>(cols, rows, 400, 200)
    {
        Grid->SetOptions(Grid->Options() | goEditing);
    }
    void At(int c, int r)
    {
        Grid->SetCol(c);
        Grid->SetRow(r);
    }
    // Opens the editor with F2 and confirms with Enter, as a user does.
    void EditAndEnter()
    {
        input::Key(Grid, VK_F2);
        ASSERT_TRUE(Grid->EditorMode());
        input::Key(Grid->InplaceEditor(), VK_RETURN);
    }
    std::pair<int, int> Cursor() const { return { Grid->Col(), Grid->Row() }; }
    // The edit opened on the current cell, as the editor preparation marks
    // it, with the cell's value remembered.
    void Open()
    {
        Grid->RememberCellValue(Grid->Col(), Grid->Row());
        input::Key(Grid, VK_F2);
        Grid->FEditing = true;
    }
};

struct TAdvanceCase {
    const char* Name;
    TAdvanceDirection Dir;
    bool Loop, Insert;
    int Col, Row;
    int ExpCol, ExpRow, ExpCols, ExpRows;
    std::vector<std::string> ExpLog;
};

} // namespace

TEST(ExGridAdvance, EnterMovesByDirectionAtTheEdgesOfTheGrid)
{
    using D = TAdvanceDirection;
    const std::vector<TAdvanceCase> cases = {
        { "right within the row", D::adLeftRight, false, false, 1, 1, 2, 1, 4, 4, {} },
        { "last column: next row's first", D::adLeftRight, false, false, 3, 1, 1, 2, 4, 4, {} },
        { "last cell stays", D::adLeftRight, false, false, 3, 3, 3, 3, 4, 4, {} },
        { "last cell loops to the first", D::adLeftRight, true, false, 3, 3, 1, 1, 4, 4, {} },
        { "last cell appends a row", D::adLeftRight, false, true, 3, 3, 1, 4, 4, 5, { "can add", "added 4" } },
        { "in row: last column stays", D::adLeftRightInRow, false, false, 3, 2, 3, 2, 4, 4, {} },
        { "in row: last column loops", D::adLeftRightInRow, true, false, 3, 2, 1, 2, 4, 4, {} },
        { "in row: last cell never appends", D::adLeftRightInRow, false, true, 3, 3, 3, 3, 4, 4, {} },
        { "down the column", D::adTopBottom, false, false, 1, 1, 1, 2, 4, 4, {} },
        { "last row: next column's top", D::adTopBottom, false, false, 1, 3, 2, 1, 4, 4, {} },
        { "last cell: back to the first", D::adTopBottom, false, false, 3, 3, 1, 1, 4, 4, {} },
        { "last cell inserts a column", D::adTopBottom, false, true, 3, 3, 4, 1, 5, 4, { "inserted 4" } },
        { "in column: last row wraps", D::adTopBottomInCol, false, false, 2, 3, 2, 1, 4, 4, {} },
    };
    for (const TAdvanceCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        g->Navigation()->AdvanceOnEnter = true;
        g->Navigation()->AdvanceOnEnterLoop = t.Loop;
        g->Navigation()->SetAdvanceInsert(t.Insert);
        g->Navigation()->SetAdvanceDirection(t.Dir);
        g->OnCanAddRow = [&](TObject*, bool&) { f.Log.push_back("can add"); };
        g->OnAutoAddRow = [&](TObject*, int r) { f.Log.push_back("added " + std::to_string(r)); };
        g->OnAutoInsertCol = [&](TObject*, int c) { f.Log.push_back("inserted " + std::to_string(c)); };
        f.At(t.Col, t.Row);
        f.EditAndEnter();
        EXPECT_EQ(f.Cursor(), std::make_pair(t.ExpCol, t.ExpRow));
        EXPECT_EQ(g->ColCount(), t.ExpCols);
        EXPECT_EQ(g->RowCount(), t.ExpRows);
        EXPECT_EQ(f.Log, t.ExpLog);
    }
}

TEST(ExGridAdvance, BackwardAndRefusedMoves)
{
    using D = TAdvanceDirection;
    // Backward (the editors' Left at the start of the text): wrapping back.
    const struct {
        D Dir;
        int Col, Row, ExpCol, ExpRow;
    } back[] = {
        { D::adLeftRight, 2, 2, 1, 2 },
        { D::adLeftRight, 1, 2, 3, 1 },
        { D::adLeftRight, 1, 1, 3, 3 },
        { D::adTopBottom, 2, 1, 1, 3 },
        { D::adTopBottom, 1, 1, 3, 3 },
        { D::adLeftRightInRow, 2, 2, 2, 2 },
    };
    for (const auto& t : back) {
        SCOPED_TRACE(int(t.Dir) * 100 + t.Col * 10 + t.Row);
        TEditGrid f;
        f.Grid->Navigation()->SetAdvanceDirection(t.Dir);
        f.At(t.Col, t.Row);
        f.Grid->AdvanceToNextCell(t.Col, t.Row, true, true, false, false, true);
        EXPECT_EQ(f.Cursor(), std::make_pair(t.ExpCol, t.ExpRow));
    }

    // A refused append puts the cursor on the first normal column of the last row.
    {
        TEditGrid f;
        f.Grid->Navigation()->AdvanceOnEnter = true;
        f.Grid->Navigation()->SetAdvanceInsert(true);
        f.Grid->OnCanAddRow = [](TObject*, bool& CanAdd) { CanAdd = false; };
        f.At(3, 3);
        f.EditAndEnter();
        EXPECT_EQ(f.Cursor(), std::make_pair(1, 3));
        EXPECT_EQ(f.Grid->RowCount(), 4);
    }
    // Refused by OnAutoAdvance or by OnCellChanging, or advancing switched
    // off: the cursor stays.
    for (int which = 0; which < 3; ++which) {
        SCOPED_TRACE(which);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        g->Navigation()->AdvanceOnEnter = which != 2;
        std::vector<int> rows;
        g->OnRowChanged = [&](TObject*, int, int NewRow) { rows.push_back(NewRow); };
        f.At(3, 1);
        rows.clear();
        if (which == 0)
            g->OnAutoAdvance = [](TObject*, int, int, int&, int&, bool& Allow) { Allow = false; };
        if (which == 1)
            g->OnCellChanging = [](TObject*, int, int, int, int, bool& Allow) { Allow = false; };
        f.EditAndEnter();
        EXPECT_EQ(f.Cursor(), std::make_pair(3, 1));
        EXPECT_TRUE(rows.empty());
    }
    // OnAutoAdvance may choose the target.
    {
        TEditGrid f;
        f.Grid->Navigation()->AdvanceOnEnter = true;
        f.Grid->OnAutoAdvance = [](TObject*, int, int, int& NewRow, int& NewCol, bool&) {
            NewRow = 3;
            NewCol = 2;
        };
        f.At(1, 1);
        f.EditAndEnter();
        EXPECT_EQ(f.Cursor(), std::make_pair(2, 3));
    }
}

TEST(ExGridAdvance, MergedAreasAndReadOnlyCells)
{
    // A merge three columns wide is left by its end.
    {
        TEditGrid f(7, 4);
        f.Grid->Navigation()->AdvanceOnEnter = true;
        f.Grid->MergeCells(1, 1, 3, 1);
        f.At(1, 1);
        f.EditAndEnter();
        EXPECT_EQ(f.Cursor(), std::make_pair(4, 1));
    }
    // Two read-only cells are skipped; the events name the first start cell,
    // once.
    {
        TEditGrid f(7, 4);
        TProbeGrid* g = f.Grid;
        g->Navigation()->AdvanceOnEnter = true;
        g->OnCanEditCell
            = [](TObject*, int ARow, int ACol, bool& CanEdit) { CanEdit = !(ARow == 1 && (ACol == 2 || ACol == 3)); };
        g->OnAutoAdvance = [&](TObject*, int OldRow, int OldCol, int& NewRow, int& NewCol, bool&) {
            f.Log.push_back("advance " + std::to_string(OldCol) + "," + std::to_string(OldRow) + " to "
                + std::to_string(NewCol) + "," + std::to_string(NewRow));
        };
        g->OnCellChanging = [&](TObject*, int OldRow, int OldCol, int NewRow, int NewCol, bool&) {
            f.Log.push_back("changing " + std::to_string(OldCol) + "," + std::to_string(OldRow) + " to "
                + std::to_string(NewCol) + "," + std::to_string(NewRow));
        };
        f.At(1, 1);
        f.Log.clear();
        f.EditAndEnter();
        EXPECT_EQ(f.Cursor(), std::make_pair(4, 1));
        EXPECT_EQ(f.Log, (std::vector<std::string> { "advance 1,1 to 4,1", "changing 1,1 to 4,1" }));
    }
    // Without skipping, the read-only cell becomes current and no event fires.
    {
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        g->Navigation()->AdvanceOnEnter = true;
        g->Navigation()->AdvanceSkipReadOnlyCells = false;
        g->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 2; };
        g->OnAutoAdvance = [&](TObject*, int, int, int&, int&, bool&) { f.Log.push_back("advance"); };
        f.At(1, 1);
        f.EditAndEnter();
        EXPECT_EQ(f.Cursor(), std::make_pair(2, 1));
        EXPECT_TRUE(f.Log.empty());
    }
}

TEST(ExGridAdvance, AutoEditReopensTheEditorAndCellControlsTakeEnter)
{
    // The end of an edit by Enter moves on and, with AdvanceAutoEdit, opens
    // the next cell's editor.
    for (bool autoEdit : { false, true }) {
        SCOPED_TRACE(autoEdit);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        g->Navigation()->AdvanceOnEnter = true;
        g->Navigation()->AdvanceAutoEdit = autoEdit;
        f.At(1, 1);
        g->ShowInplaceEdit();
        g->DoneInplaceEdit(VK_RETURN, {});
        EXPECT_EQ(f.Cursor(), std::make_pair(2, 1));
        EXPECT_EQ(g->EditorMode(), autoEdit);
    }
    // Enter on the grid over a check-box cell advances, without an editor
    // on the grid's own focus.
    TEditGrid f;
    TProbeGrid* g = f.Grid;
    g->Navigation()->AdvanceOnEnter = true;
    g->AddCheckBox(1, 1, false, false);
    f.At(1, 1);
    input::Key(g, VK_RETURN);
    EXPECT_EQ(f.Cursor(), std::make_pair(2, 1));
    bool state = true;
    ASSERT_TRUE(g->GetCheckBoxState(1, 1, state));
    EXPECT_FALSE(state) << "the box is not toggled by the move";

    // An edit ending onto a check box operates it with a click just inside
    // the cell.
    f.At(3, 1);
    g->AddCheckBox(1, 2, false, false);
    g->Navigation()->SetAdvanceDirection(TAdvanceDirection::adLeftRight);
    std::vector<std::string> log;
    g->OnCellChanging = [&](TObject*, int OldRow, int OldCol, int NewRow, int NewCol, bool&) {
        log.push_back(std::to_string(OldCol) + "," + std::to_string(OldRow) + ">" + std::to_string(NewCol) + ","
            + std::to_string(NewRow));
    };
    std::vector<TPoint> clicks;
    g->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) { clicks.push_back(TPoint(X, Y)); };
    g->ShowInplaceEdit();
    g->DoneInplaceEdit(VK_RETURN, {});
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 2));
    const TRect cell = g->CellRect(1, 2);
    EXPECT_EQ(clicks, std::vector<TPoint> { TPoint(cell.Left + 2, cell.Top + 2) });
    EXPECT_EQ(log.back(), "3,1>1,2") << "the changing event reports the start cell at the end";
}

TEST(ExGridAdvance, DisjunctRowSelectionFollowsTheAdvance)
{
    TEditGrid f;
    TProbeGrid* g = f.Grid;
    g->Navigation()->AdvanceOnEnter = true;
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(1, true);
    g->SetRowSelect(3, true);
    f.At(3, 1);
    f.EditAndEnter();
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 2));
    EXPECT_FALSE(g->RowSelect(1));
    EXPECT_TRUE(g->RowSelect(2));
    EXPECT_FALSE(g->RowSelect(3));
}

TEST(ExGridAdvance, NoEditableCellLeavesTheCursorAndInsertsAtMostOnce)
{
    using D = TAdvanceDirection;
    const struct {
        D Dir;
        bool Loop, Insert;
        int ExpCols, ExpRows;
    } cases[] = {
        { D::adLeftRight, true, false, 4, 4 },
        { D::adLeftRight, false, false, 4, 4 },
        { D::adLeftRightInRow, true, false, 4, 4 },
        { D::adTopBottom, true, false, 4, 4 },
        { D::adTopBottomInCol, true, false, 4, 4 },
        { D::adTopBottom, true, true, 5, 4 },
        { D::adLeftRight, true, true, 4, 5 },
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(int(t.Dir) * 100 + t.Loop * 10 + t.Insert);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        g->Navigation()->AdvanceOnEnter = true;
        g->Navigation()->AdvanceOnEnterLoop = t.Loop;
        g->Navigation()->SetAdvanceInsert(t.Insert);
        g->Navigation()->SetAdvanceDirection(t.Dir);
        int events = 0;
        g->OnAutoAdvance = [&](TObject*, int, int, int&, int&, bool&) { ++events; };
        f.At(3, 3);
        // Every cell read-only: the grid would recurse once per cell without end.
        g->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
        g->AdvanceToNextCell(3, 3, true, false, true, false, false);
        EXPECT_EQ(f.Cursor(), std::make_pair(3, 3));
        EXPECT_EQ(events, 0);
        EXPECT_EQ(g->ColCount(), t.ExpCols);
        EXPECT_EQ(g->RowCount(), t.ExpRows);
    }
}

TEST(ExGridKeyPress, EnterAndEscSteps)
{
    // Enter on the grid itself toggles the editor (the toolkit's step);
    // without advancing, Enter on a read-only cell only fires OnKeyPress.
    TEditGrid f;
    TProbeGrid* g = f.Grid;
    std::vector<char16_t> keys;
    g->OnKeyPress = [&](TObject*, char16_t& Key) { keys.push_back(Key); };
    f.At(1, 1);
    input::Key(g, VK_RETURN);
    EXPECT_TRUE(g->EditorMode());
    input::Key(g->InplaceEditor(), VK_RETURN);
    EXPECT_FALSE(g->EditorMode()) << "Enter closes the open editor";
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 1));

    g->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 2; };
    f.At(2, 1);
    keys.clear();
    // The key-down step consumes Enter on a read-only cell: no editor, no
    // move.
    input::Key(g, VK_RETURN);
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(f.Cursor(), std::make_pair(2, 1));

    // Esc ends the edit with the loaded text back and validates nothing.
    int asked = 0;
    g->OnCellValidate = [&](TObject*, int, int, QString&, bool&) { ++asked; };
    f.At(1, 2);
    g->SetCells(1, 2, QStringLiteral("old"));
    g->SetShowEditProcess(true);
    f.Open();
    input::Type(g->InplaceEditor(), QStringLiteral("new"));
    input::Key(g->InplaceEditor(), VK_ESCAPE);
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("old"));
    EXPECT_EQ(asked, 0);
    // Esc on the grid while a special editor's edit is open is the grid's
    // own: OnKeyPress once, no editor opens.
    for (bool editing : { true, false }) {
        g->FEditing = editing;
        g->Restores = 0;
        keys.clear();
        input::Key(g, VK_ESCAPE);
        EXPECT_EQ(keys, std::vector<char16_t> { 27 });
        EXPECT_EQ(g->Restores, editing ? 1 : 0) << "the cell's cached text comes back only during an edit";
        EXPECT_FALSE(g->EditorMode());
    }
}

TEST(ExGridKeyPress, IncrementalSearchOnlyWithoutEditing)
{
    TEditGrid f(3, 6);
    TProbeGrid* g = f.Grid;
    const char* names[] = { "", "apple", "banana", "cherry", "berry", "date" };
    for (int r = 1; r < 6; ++r)
        g->SetCells(1, r, QString::fromLatin1(names[r]));
    g->Navigation()->AutoGotoWhenSorted = true;
    g->Navigation()->AutoGotoIncremental = true;
    g->SetOptions(g->Options() & ~TGridOptions(goEditing));
    f.At(1, 1);
    input::Type(g, QStringLiteral("be"));
    EXPECT_EQ(g->Row(), 4);
    input::Key(g, VK_BACK);
    EXPECT_EQ(g->IncrSearchText(), QStringLiteral("b"));
    EXPECT_EQ(g->Row(), 2);

    g->SetOptions(g->Options() | goEditing);
    f.At(1, 1);
    input::Key(g, 'C', {}, u'c');
    EXPECT_EQ(g->Row(), 1) << "an editable grid types into the cell";
}

// ---------------------------------------------------------------------------
// Validation

TEST(ExGridValidation, UnchangedTextFiresNothingUnlessAlwaysValidate)
{
    for (bool always : { false, true }) {
        SCOPED_TRACE(always);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        g->SetAlwaysValidate(always);
        int asked = 0;
        g->OnCellValidate = [&](TObject*, int, int, QString&, bool&) { ++asked; };
        g->SetCells(2, 2, QStringLiteral("same"));
        f.At(2, 2);
        f.Open();
        EXPECT_TRUE(g->ValidateCell(QStringLiteral("same")));
        EXPECT_EQ(asked, always ? 1 : 0);
        EXPECT_FALSE(g->Modified());
        EXPECT_FALSE(g->FEditing);
        EXPECT_FALSE(g->FValidating);
    }
}

TEST(ExGridValidation, AcceptedRefusedAndCorrectedValues)
{
    struct TCase {
        const char* Name;
        bool Valid;
        const char* Correct; // what the handler makes of the value, null: as typed
        const char* ExpCell;
        bool ExpEditorOpen, ExpModified, ExpMark;
        int ExpUndo, ExpChanged;
    };
    const TCase cases[] = {
        { "accepted", true, nullptr, "new", false, true, true, 1, 1 },
        { "accepted, corrected", true, "NEW", "NEW", false, true, true, 1, 1 },
        { "refused", false, nullptr, "old", true, false, false, 0, 0 },
        { "refused, corrected", false, "fixed", "fixed", true, false, false, 0, 0 },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        TExGridUndoRedo undo(f.Form);
        g->SetUndoRedo(&undo);
        g->SetInvalidEntryTitle(QStringLiteral("Wrong"));
        g->SetInvalidEntryText(QStringLiteral("Not a value"));
        g->SetInvalidEntryIcon(TInvalidEntryIcon::ieError);
        int changed = 0;
        g->OnCellsChanged = [&](TObject*, const TRect&) { ++changed; };
        g->OnCellValidate = [&](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
            EXPECT_EQ(ACol, 2);
            EXPECT_EQ(ARow, 2);
            if (t.Correct)
                Value = QString::fromLatin1(t.Correct);
            Valid = t.Valid;
        };
        g->SetCells(2, 2, QStringLiteral("old"));
        f.At(2, 2);
        f.Open();
        input::Type(g->InplaceEditor(), QStringLiteral("x"));
        const bool valid = g->ValidateCell(QStringLiteral("new"));
        EXPECT_EQ(valid, t.Valid);
        EXPECT_EQ(g->Cells(2, 2), QString::fromLatin1(t.ExpCell));
        if (t.ExpEditorOpen) {
            EXPECT_TRUE(g->EditorMode());
            EXPECT_EQ(g->InplaceEditor()->Text(), QString::fromLatin1(t.ExpCell)) << "the editor holds the value";
            EXPECT_EQ(f.Cursor(), std::make_pair(2, 2));
            EXPECT_TRUE(g->FEditing) << "the edit goes on";
            EXPECT_FALSE(g->FLastValidation);
            ASSERT_NE(g->InvalidEntryBalloon(), nullptr);
            EXPECT_TRUE(g->InvalidEntryBalloon()->Active());
            EXPECT_EQ(g->InvalidEntryBalloon()->Title(), QStringLiteral("Wrong"));
            EXPECT_EQ(g->InvalidEntryBalloon()->TipText(), QStringLiteral("Not a value"));
            EXPECT_EQ(g->InvalidEntryBalloon()->TitleIcon(), btiError);
            input::Key(g->InplaceEditor(), 'A', {}, u'a');
            EXPECT_FALSE(g->InvalidEntryBalloon()->Active()) << "the next key hides it";
        } else {
            EXPECT_FALSE(g->FEditing);
            EXPECT_EQ(g->InvalidEntryBalloon(), nullptr);
        }
        EXPECT_EQ(g->Modified(), t.ExpModified);
        EXPECT_EQ(g->RowModified(2), t.ExpMark);
        EXPECT_EQ(undo.Items().Count(), t.ExpUndo);
        EXPECT_EQ(changed, t.ExpChanged);
        EXPECT_FALSE(g->FValidating);
        g->SetUndoRedo(nullptr);
    }
}

TEST(ExGridValidation, OneUndoEntryPerAcceptedEditAndTheCheckerCorrects)
{
    TEditGrid f;
    TProbeGrid* g = f.Grid;
    TExGridUndoRedo undo(f.Form);
    g->SetUndoRedo(&undo);
    class TUpper : public TExStringGridCheck {
    public:
        using TExStringGridCheck::TExStringGridCheck;
        QString Correct(int, int, const QString& Value) override { return Value.toUpper(); }
    };
    TUpper checker(f.Form);
    checker.SetAutoCorrect(true);
    g->SetCellChecker(&checker);
    // Each edit: F2, the text, Enter.
    f.At(1, 1);
    for (const char* text : { "one", "ONE", "two" }) {
        input::Key(g, VK_F2);
        ASSERT_TRUE(g->EditorMode());
        g->InplaceEditor()->SetText(QString::fromLatin1(text));
        input::Key(g->InplaceEditor(), VK_RETURN);
        EXPECT_FALSE(g->EditorMode());
    }
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("TWO"));
    ASSERT_EQ(undo.Items().Count(), 2) << "the second, unchanged edit records nothing";
    EXPECT_EQ(undo.Items().Items(0)->Value, QStringLiteral("ONE"));
    EXPECT_EQ(undo.Items().Items(1)->OrigValue, QStringLiteral("ONE"));
    g->SetCellChecker(nullptr);
    g->SetUndoRedo(nullptr);
}

TEST(ExGridValidation, RefusalKeepsAnEarlierRowMarkAndTheWideTwinMarksTheSameRow)
{
    // The row was marked before: a refusal leaves it marked; unmarked, it
    // stays unmarked.
    for (bool marked : { false, true }) {
        SCOPED_TRACE(marked);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        g->SetRowModified(2, marked);
        g->OnCellValidate = [](TObject*, int, int, QString&, bool& Valid) { Valid = false; };
        f.At(1, 2);
        f.Open();
        EXPECT_FALSE(g->ValidateCell(QStringLiteral("x")));
        EXPECT_EQ(g->RowModified(2), marked);
    }
    // The wide twin marks the row the edit was on, with rows hidden above it.
    TEditGrid f(4, 6);
    TProbeGrid* g = f.Grid;
    g->ShowModified()->Enabled = true;
    g->HideRow(1);
    g->SetCells(1, 3, QStringLiteral("old"));
    f.At(1, 3);
    f.Open();
    EXPECT_TRUE(g->ValidateCellWide(QStringLiteral("wide")));
    EXPECT_EQ(g->Cells(1, 3), QStringLiteral("wide"));
    EXPECT_TRUE(g->RowModified(3));
    EXPECT_EQ(g->ModifiedRowCount(), 1);
    g->UnHideRow(1);
    EXPECT_TRUE(g->RowModified(4)) << "the mark moves with its row";

    g->OnCellValidateWide = [](TObject*, int, int, QString&, bool& Valid) { Valid = false; };
    f.At(1, 2);
    f.Open();
    EXPECT_FALSE(g->ValidateCellWide(QStringLiteral("no")));
    EXPECT_EQ(g->Cells(1, 2), QString());
    EXPECT_FALSE(g->RowModified(2));
    EXPECT_TRUE(g->EditorMode());
}

TEST(ExGridValidation, RememberedCellGoneValidatesNothing)
{
    TEditGrid f(4, 6);
    TProbeGrid* g = f.Grid;
    int asked = 0;
    g->OnCellValidate = [&](TObject*, int, int, QString&, bool&) { ++asked; };
    f.At(2, 5);
    f.Open();
    g->SetRowCount(3);
    EXPECT_TRUE(g->ValidateCell(QStringLiteral("x")));
    EXPECT_TRUE(g->ValidateCellWide(QStringLiteral("x")));
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(g->FEditing);
}

TEST(ExGridValidation, RaisingHandlerLeavesTheCellAndTheFlagsAtRest)
{
    for (bool wide : { false, true }) {
        SCOPED_TRACE(wide);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        const auto raise = [](TObject*, int, int, QString&, bool&) { throw std::runtime_error("handler"); };
        g->OnCellValidate = raise;
        g->OnCellValidateWide = raise;
        g->SetShowEditProcess(true);
        g->SetCells(1, 1, QStringLiteral("old"));
        f.At(1, 1);
        f.Open();
        input::Type(g->InplaceEditor(), QStringLiteral("z"));
        const bool advance = g->Navigation()->AdvanceOnEnter;
        EXPECT_THROW(wide ? g->ValidateCellWide(QStringLiteral("new")) : g->ValidateCell(QStringLiteral("new")),
            std::runtime_error);
        EXPECT_EQ(g->Cells(1, 1), QStringLiteral("old"));
        EXPECT_FALSE(g->FEditing);
        EXPECT_FALSE(g->FValidating);
        EXPECT_FALSE(g->LockUpdate());
        EXPECT_EQ(g->Navigation()->AdvanceOnEnter, advance);
        // The next edit validates again.
        g->OnCellValidate = nullptr;
        g->OnCellValidateWide = nullptr;
        f.Open();
        EXPECT_TRUE(g->ValidateCell(QStringLiteral("next")));
        EXPECT_EQ(g->Cells(1, 1), QStringLiteral("next"));
    }
}

TEST(ExGridValidation, InvalidEntryBalloonPicture)
{
    TEditGrid f;
    TProbeGrid* g = f.Grid;
    g->Font()->SetName(QStringLiteral("Verdana"));
    g->Font()->SetSize(8);
    g->SetInvalidEntryTitle(QStringLiteral("Invalid value"));
    g->SetInvalidEntryText(QStringLiteral("Enter a number from 0 to 255"));
    g->SetInvalidEntryIcon(TInvalidEntryIcon::ieWarning);
    g->OnCellValidate = [](TObject*, int, int, QString&, bool& Valid) { Valid = false; };
    for (int r = 1; r < 4; ++r)
        for (int c = 1; c < 4; ++c)
            g->SetCells(c, r, QString::number(r * 10 + c));
    f.At(2, 1);
    f.Open();
    EXPECT_FALSE(g->ValidateCell(QStringLiteral("300")));
    TBalloonTip* tip = g->InvalidEntryBalloon();
    ASSERT_TRUE(tip && tip->Active());
    // The tip points at the editor's lower left part.
    const TRect ed = g->InplaceEditor()->BoundsRect();
    const TPoint anchor = g->ScreenToClient(tip->Anchor());
    EXPECT_GE(anchor.X, ed.Left);
    EXPECT_LT(anchor.X, ed.Right);
    EXPECT_EQ(anchor.Y, ed.Bottom);

    QImage picture = f.Form->PaintToImage().convertToFormat(QImage::Format_RGB32);
    {
        const TPoint at = f.Form->ScreenToClient(tip->ClientToScreen(TPoint(0, 0)));
        QPainter painter(&picture);
        painter.drawImage(at.X, at.Y, tip->PaintToImage());
    }
    testutil::SaveImagePng(picture, "grid_invalid_entry_balloon");
    EXPECT_TRUE(testutil::MatchesGolden(picture, "grid_invalid_entry_balloon"));

    // The window losing activation keeps it; the focus leaving the editor hides it.
    input::FocusOut(g->InplaceEditor(), input::FocusReason::ActiveWindow);
    EXPECT_TRUE(tip->Active());
    input::FocusOut(g->InplaceEditor());
    EXPECT_FALSE(tip->Active());
}

TEST(ExGridValidation, TypedAndConfirmedWithEnter)
{
    struct TCase {
        const char* Name;
        bool Valid;
        const char* Correct; // what the handler makes of the value, null: as typed
        std::pair<int, int> ExpCursor;
        const char* ExpCell;
        const char* ExpEditor; // null: the editor is closed
        std::vector<std::string> ExpLog;
    };
    const TCase cases[] = {
        { "accepted", true, nullptr, { 2, 1 }, "abc", nullptr, { "validate abc", "changed", "advance 1,1>2,1" } },
        { "refused", false, nullptr, { 1, 1 }, "", "", { "validate abc" } },
        { "refused, corrected", false, "ab", { 1, 1 }, "ab", "ab", { "validate abc" } },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEditGrid f;
        TProbeGrid* g = f.Grid;
        g->Navigation()->AdvanceOnEnter = true;
        g->SetInvalidEntryTitle(QStringLiteral("Wrong"));
        g->OnCellValidate = [&](TObject*, int, int, QString& Value, bool& Valid) {
            f.Log.push_back("validate " + Value.toStdString());
            if (t.Correct)
                Value = QString::fromLatin1(t.Correct);
            Valid = t.Valid;
        };
        g->OnCellsChanged = [&](TObject*, const TRect&) { f.Log.push_back("changed"); };
        g->OnAutoAdvance = [&](TObject*, int OldRow, int OldCol, int& NewRow, int& NewCol, bool&) {
            f.Log.push_back("advance " + std::to_string(OldCol) + "," + std::to_string(OldRow) + ">"
                + std::to_string(NewCol) + "," + std::to_string(NewRow));
        };
        f.At(1, 1);
        input::Key(g, VK_F2);
        input::Type(g->InplaceEditor(), QStringLiteral("abc"));
        input::Key(g->InplaceEditor(), VK_RETURN);
        EXPECT_EQ(f.Log, t.ExpLog);
        EXPECT_EQ(f.Cursor(), t.ExpCursor);
        EXPECT_EQ(g->Cells(1, 1), QString::fromLatin1(t.ExpCell));
        EXPECT_FALSE(g->RowModified(1) && !t.Valid) << "a refusal leaves no row mark";
        if (t.ExpEditor) {
            EXPECT_TRUE(g->EditorMode());
            EXPECT_EQ(g->InplaceEditor()->Text(), QString::fromLatin1(t.ExpEditor));
            ASSERT_NE(g->InvalidEntryBalloon(), nullptr);
            EXPECT_TRUE(g->InvalidEntryBalloon()->Active());
        }
    }
}
