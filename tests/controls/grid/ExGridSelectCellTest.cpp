// Moves of the cell cursor through real keys on the offscreen platform:
// editing switched per cell, the merged-cell redirect, the floating footer's
// row, double-click-only editing, the changing and changed events, and a
// special editor's value validated before the cursor leaves.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Messages.h"
#include "tests/common/GridOnForm.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::FCellCache;
    using TExStringGrid::FEditing;
    using TExStringGrid::TExStringGrid;
};

// 5 columns and 6 rows, one fixed row and column, the grid focused.
struct TCursorGrid : TGridOnForm<TProbeGrid> {
    std::vector<std::string> Log;
    TCursorGrid()
        : TGridOnForm<TProbeGrid>(5, 6, 400, 200)
    {
        Grid->SetOptions(Grid->Options() | goEditing);
    }
    std::pair<int, int> Cursor() const { return { Grid->Col(), Grid->Row() }; }
    bool Editing() const { return Grid->Options().testFlag(goEditing); }
};

} // namespace

TEST(ExGridSelectCell, EditingFollowsTheTargetCell)
{
    TCursorGrid f;
    TProbeGrid* g = f.Grid;
    g->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 2; };
    g->SetCol(1);
    g->SetRow(1);
    ASSERT_TRUE(f.Editing());
    input::Key(g, VK_RIGHT);
    EXPECT_EQ(f.Cursor(), std::make_pair(2, 1));
    EXPECT_FALSE(f.Editing()) << "a read-only cell takes editing away";
    input::Key(g, 'A', {}, u'a');
    EXPECT_FALSE(g->EditorMode()) << "typing opens no editor there";
    input::Key(g, VK_RIGHT);
    EXPECT_TRUE(f.Editing()) << "an editable cell gives it back";
    input::Key(g, 'B', {}, u'b');
    EXPECT_TRUE(g->EditorMode());

    // Double-click-only editing: moving never switches editing on.
    TCursorGrid d;
    d.Grid->MouseActions()->SetEditOnDblClickOnly(true);
    d.Grid->SetCol(1);
    d.Grid->SetRow(1);
    input::Key(d.Grid, VK_DOWN);
    EXPECT_EQ(d.Cursor(), std::make_pair(1, 2));
    EXPECT_FALSE(d.Editing());
    // Typing on an editable cell starts the one edit it switches editing on for.
    input::Key(d.Grid, 'A', {}, u'a');
    EXPECT_TRUE(d.Grid->EditorMode());
}

TEST(ExGridSelectCell, MergedNonBaseCellsRedirectToTheirBaseCell)
{
    // Columns 2 to 3 of rows 1 to 2 are one cell; code and keys target its
    // covered parts (range selection off: with it the block is selectable).
    const struct {
        const char* Name;
        int Col, Row;
        WORD Key; // 0: the code move below
        int ToCol, ToRow;
    } cases[] = {
        { "up from below", 3, 3, VK_UP, 0, 0 },
        { "row set onto the covered part", 3, 3, 0, 3, 2 },
        { "column set onto the covered part", 1, 2, 0, 3, 2 },
        { "column set onto the base cell's row", 1, 1, 0, 3, 1 },
    };
    for (bool direct : { false, true }) {
        for (const auto& t : cases) {
            SCOPED_TRACE(std::string(t.Name) + (direct ? ", direct edit" : ""));
            TCursorGrid f;
            f.Grid->MergeCells(2, 1, 2, 2);
            f.Grid->SetOptions(f.Grid->Options() & ~TGridOptions(goRangeSelect));
            f.Grid->MouseActions()->DirectEdit = direct;
            f.Grid->SetCol(t.Col);
            f.Grid->SetRow(t.Row);
            if (t.Key) {
                input::Key(f.Grid, t.Key);
            } else {
                f.Grid->SetCol(t.ToCol);
                f.Grid->SetRow(t.ToRow);
            }
            EXPECT_EQ(f.Cursor(), std::make_pair(2, 1));
            if (!t.Key)
                EXPECT_EQ(f.Grid->EditorMode(), direct) << "DirectEdit opens the base cell's editor at once";
        }
    }
}

TEST(ExGridSelectCell, TheFixedLastRowFooterRowNeverBecomesCurrent)
{
    TCursorGrid f;
    TProbeGrid* g = f.Grid;
    g->FloatingFooter()->SetVisible(true);
    ASSERT_EQ(g->FloatingFooter()->FooterStyle(), TFooterStyle::fsFixedLastRow);
    g->SetCol(1);
    g->SetRow(4);
    input::Key(g, VK_DOWN);
    EXPECT_EQ(g->Row(), 4);
    input::Key(g, VK_END, ssCtrl);
    EXPECT_EQ(g->Row(), 4);
    g->FloatingFooter()->SetVisible(false);
    input::Key(g, VK_DOWN);
    EXPECT_EQ(g->Row(), 5);
}

TEST(ExGridSelectCell, ChangingEventsMayRefuseAndChangedFollowsTheCursor)
{
    struct TCase {
        const char* Name;
        const char* Refuser; // which event refuses, null: none
        WORD Key;
        std::pair<int, int> Exp;
        std::vector<std::string> ExpLog;
    };
    const TCase cases[] = {
        { "down", nullptr, VK_DOWN, { 2, 3 },
            { "row changing 2>3", "cell changing 2,2>2,3", "select 2,3", "row changed 2>3" } },
        { "right", nullptr, VK_RIGHT, { 3, 2 }, { "col changing 2>3", "cell changing 2,2>3,2", "select 3,2" } },
        { "cell changing refuses", "cell", VK_DOWN, { 2, 2 }, { "row changing 2>3", "cell changing 2,2>2,3" } },
        { "row changing refuses", "row", VK_DOWN, { 2, 2 }, { "row changing 2>3", "cell changing 2,2>2,3" } },
        { "col changing refuses", "col", VK_RIGHT, { 2, 2 }, { "col changing 2>3", "cell changing 2,2>3,2" } },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TCursorGrid f;
        TProbeGrid* g = f.Grid;
        const std::string refuser = t.Refuser ? t.Refuser : "";
        const auto s = [](int v) { return std::to_string(v); };
        g->OnRowChanged
            = [&](TObject*, int OldRow, int NewRow) { f.Log.push_back("row changed " + s(OldRow) + ">" + s(NewRow)); };
        g->SetCol(2);
        g->SetRow(2);
        f.Log.clear();
        g->OnRowChanging = [&](TObject*, int OldRow, int NewRow, bool& Allow) {
            f.Log.push_back("row changing " + s(OldRow) + ">" + s(NewRow));
            Allow = refuser != "row";
        };
        g->OnColChanging = [&](TObject*, int OldCol, int NewCol, bool& Allow) {
            f.Log.push_back("col changing " + s(OldCol) + ">" + s(NewCol));
            Allow = refuser != "col";
        };
        g->OnCellChanging = [&](TObject*, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow) {
            f.Log.push_back("cell changing " + s(OldCol) + "," + s(OldRow) + ">" + s(NewCol) + "," + s(NewRow));
            if (refuser == "cell")
                Allow = false;
        };
        g->OnSelectCell
            = [&](TObject*, int ACol, int ARow, bool&) { f.Log.push_back("select " + s(ACol) + "," + s(ARow)); };
        input::Key(g, t.Key);
        EXPECT_EQ(f.Cursor(), t.Exp);
        EXPECT_EQ(f.Log, t.ExpLog);
    }
}

TEST(ExGridSelectCell, ASpecialEditorsValueIsValidatedBeforeTheCursorLeaves)
{
    for (bool valid : { false, true }) {
        SCOPED_TRACE(valid);
        TCursorGrid f;
        TProbeGrid* g = f.Grid;
        g->SetCells(1, 1, QStringLiteral("old"));
        g->SetCol(1);
        g->SetRow(1);
        // A special editor wrote its value into the cell while editing.
        g->RememberCellValue(1, 1);
        g->FCellCache = QStringLiteral("old");
        g->FEditing = true;
        g->SetCells(1, 1, QStringLiteral("picked"));
        QString seen;
        g->OnCellValidate = [&](TObject*, int, int, QString& Value, bool& Valid) {
            seen = Value;
            Valid = valid;
        };
        input::Key(g, VK_DOWN);
        EXPECT_EQ(seen, QStringLiteral("picked"));
        EXPECT_EQ(f.Cursor(), std::make_pair(1, valid ? 2 : 1));
        EXPECT_EQ(g->Cells(1, 1), valid ? QStringLiteral("picked") : QStringLiteral("old"));
        EXPECT_EQ(g->FCellCache, valid ? QString() : QStringLiteral("old"));
    }
}

TEST(ExGridSelectCell, EditableAndFixedOnMergedFooterAndFixedRightCells)
{
    TCursorGrid f;
    TProbeGrid* g = f.Grid;
    g->MergeCells(1, 2, 2, 1);
    g->SetFixedFooters(1);
    g->SetFixedRightCols(1);
    g->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) { CanEdit = !(ACol == 1 && ARow == 2); };
    const struct {
        int Col, Row;
        bool Editable, Fixed;
    } cases[] = {
        { 2, 1, true, false },
        { 2, 2, false, false }, // the covered part answers for its read-only base cell
        // Footer rows and fixed right columns are fixed without being read-only;
        // the cursor never lands on them.
        { 1, 5, true, true },
        { 4, 3, true, true },
        { 0, 3, false, true },
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.Col * 10 + t.Row);
        EXPECT_EQ(g->IsEditable(t.Col, t.Row), t.Editable);
        EXPECT_EQ(g->IsFixedDisplayCell(t.Col, t.Row), t.Fixed);
    }
    g->SetCol(1);
    g->SetRow(4);
    g->SetRow(5);
    g->SetCol(4);
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 4)) << "neither the footer nor the fixed right column becomes current";
    bool asked = false;
    g->OnCanShowFixedDropDown = [&](TObject*, int ACol, bool& CanShow) {
        asked = true;
        CanShow = ACol != 3;
    };
    EXPECT_TRUE(g->CanShowFixedDropDown(2));
    EXPECT_FALSE(g->CanShowFixedDropDown(3));
    EXPECT_TRUE(asked);
}

TEST(ExGridSelectCell, TheNodeColumnIsNoTargetWithoutRowSelect)
{
    for (bool rowSelect : { false, true }) {
        SCOPED_TRACE(rowSelect);
        TCursorGrid f;
        TProbeGrid* g = f.Grid;
        g->SetFixedCols(0);
        g->AddNode(1, 2);
        g->SetCol(1);
        g->SetRow(1);
        if (rowSelect)
            g->SetOptions(g->Options() | goRowSelect);
        g->SetCol(0);
        EXPECT_EQ(g->Col(), rowSelect ? 0 : 1);
    }
}
