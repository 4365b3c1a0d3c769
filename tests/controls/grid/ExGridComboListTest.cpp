#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"

namespace {

// Fills the combo list per column, as an application's editor-property
// handler does, and logs the cells it was asked for.
class TComboGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    QStringList Asked;
    bool FillPerColumn = false;
    int ComboIdx() const { return FComboIdx; }

protected:
    void ComboListForCell(int ACol, int ARow) override
    {
        Asked << QStringLiteral("%1,%2").arg(ACol).arg(ARow);
        if (!FillPerColumn)
            return;
        ClearComboString();
        const QStringList items = ACol == 1 ? QStringList { "A", "B" } : QStringList { "X", "Y", "Z" };
        for (const QString& item : items)
            AddComboString(item);
    }
};

std::unique_ptr<TComboGrid> MakeGrid(int cols = 5, int rows = 6)
{
    auto g = std::make_unique<TComboGrid>(nullptr);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    return g;
}

} // namespace

TEST(ExGridComboList, TheItemListKeepsOrderDuplicatesAndObjects)
{
    auto g = MakeGrid();
    TObject tag;
    g->AddComboString("Alpha");
    g->AddComboStringObject("Beta", &tag);
    g->AddComboString("alpha");
    EXPECT_EQ(g->GetComboCount(), 3);
    EXPECT_EQ(g->ComboItems()->Objects(1), &tag);

    EXPECT_TRUE(g->RemoveComboString("ALPHA")); // the first of two equal items
    EXPECT_EQ(g->ComboItems()->Text(), QStringLiteral("Beta\r\nalpha\r\n"));
    EXPECT_FALSE(g->RemoveComboString("Gamma"));
    EXPECT_EQ(g->GetComboCount(), 2);

    EXPECT_EQ(g->ComboIdx(), -1);
    EXPECT_TRUE(g->SetComboSelectionString("ALPHA"));
    EXPECT_EQ(g->ComboIdx(), 1);
    EXPECT_FALSE(g->SetComboSelectionString("Gamma")); // the previous choice stays
    EXPECT_EQ(g->ComboIdx(), 1);
    g->SetComboSelection(7); // taken as it is
    EXPECT_EQ(g->ComboIdx(), 7);

    g->ClearComboString();
    EXPECT_EQ(g->GetComboCount(), 0);
    EXPECT_EQ(g->ComboIdx(), 7);
}

TEST(ExGridComboList, ComboIndexWritesAndReadsTheCellThroughTheCellsOwnList)
{
    auto g = MakeGrid();
    g->FillPerColumn = true;
    struct Case {
        const char* name;
        int col, row, index;
        const char* expected; // the cell's text afterwards, "keep" at the start
    };
    const Case cases[] = {
        { "an item of the cell's own list", 2, 1, 2, "Z" },
        { "another column, another list", 1, 1, 1, "B" },
        { "-1 empties the cell", 2, 1, -1, "" },
        { "past the list changes nothing", 1, 1, 2, "keep" },
        { "below -1 changes nothing", 2, 1, -5, "keep" },
    };
    for (const Case& c : cases) {
        g->SetCells(c.col, c.row, "keep");
        g->Asked.clear();
        g->SetComboIndex(c.col, c.row, c.index);
        EXPECT_EQ(g->Cells(c.col, c.row), QString::fromLatin1(c.expected)) << c.name;
        EXPECT_EQ(g->Asked, QStringList(QStringLiteral("%1,%2").arg(c.col).arg(c.row))) << c.name;
    }
    // Cells outside the grid: nothing written, nothing raised.
    for (const auto& [col, row] : { std::pair { -1, 1 }, { 1, -1 }, { 99, 1 }, { 1, 99 } }) {
        EXPECT_NO_THROW(g->SetComboIndex(col, row, 0));
        EXPECT_EQ(g->GetComboIndex(col, row), -1);
    }

    g->SetCells(2, 3, "y"); // letter case does not matter
    EXPECT_EQ(g->GetComboIndex(2, 3), 1);
    g->SetCells(2, 3, "B"); // an item of another cell's list
    EXPECT_EQ(g->GetComboIndex(2, 3), -1);
    EXPECT_EQ(g->GetComboIndex(1, 3), -1); // an empty cell

    // A merged cell's covered part answers for its base cell: its list, its text.
    g->SetCells(1, 4, "B");
    g->MergeCells(1, 4, 2, 1);
    g->Asked.clear();
    EXPECT_EQ(g->GetComboIndex(2, 4), 1);
    g->SetComboIndex(2, 4, 0);
    EXPECT_EQ(g->Cells(1, 4), QStringLiteral("A"));
    EXPECT_EQ(g->Asked, QStringList({ "1,4", "1,4" }));
}

TEST(ExGridComboList, EditableCellsFollowTheGridTheCellAndItsBase)
{
    auto g = MakeGrid();
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetReadOnly(3, 2, true);
    g->MergeCells(3, 2, 2, 1); // (4,2) is covered by the read-only (3,2)
    g->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) {
        if (ACol == 2 && ARow == 4)
            CanEdit = false;
    };
    struct Case {
        int col, row;
        bool editable;
    };
    const Case cases[] = {
        { 1, 1, true }, { 3, 2, false }, // read-only
        { 4, 2, false }, // covered by a read-only base
        { 2, 4, false }, // refused by the event
        { 0, 3, false }, // fixed column
        { 2, 0, false }, // fixed row
    };
    for (const Case& c : cases)
        EXPECT_TRUE(g->IsEditableCell(c.col, c.row) == c.editable) << c.col << "," << c.row;

    // Without editing switched on, nothing is editable.
    g->SetOptions(g->Options() & ~TGridOptions(goEditing));
    EXPECT_FALSE(g->IsEditable(1, 1));
    g->MouseActions()->RangeSelectAndEdit = true;
    EXPECT_TRUE(g->IsEditable(1, 1));
    g->MouseActions()->RangeSelectAndEdit = false;
    g->SetOptions(g->Options() | goEditing);
    for (const Case& c : cases)
        EXPECT_TRUE(g->IsEditable(c.col, c.row) == c.editable) << c.col << "," << c.row;
    g->DisableEditing();
    EXPECT_FALSE(g->Options().testFlag(goEditing));
    EXPECT_FALSE(g->IsEditable(1, 1));
}

TEST(ExGridComboList, AHiddenColumnIsAskedForByItsRealIndex)
{
    auto g = MakeGrid();
    g->SetOptions(g->Options() | goEditing);
    int askedCol = -1;
    g->OnCanEditCell = [&](TObject*, int, int ACol, bool&) { askedCol = ACol; };
    g->HideColumn(1);
    EXPECT_TRUE(g->IsEditable(1, 2)); // shown column 1 is real column 2
    EXPECT_EQ(askedCol, 2);
}

TEST(ExGridComboList, FixedCellsAreFootersRightColumnsAndWhatTheGridSays)
{
    auto g = MakeGrid(6, 8);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetFixedFooters(1);
    g->SetFixedRightCols(1);
    g->OnIsFixedCell = [](TObject*, int ARow, int ACol, bool& IsFixed) { IsFixed = ACol == 2 && ARow == 3; };
    g->MergeCells(3, 6, 1, 2); // a normal base cell reaching into the footer row
    struct Case {
        int col, row;
        bool fixed;
    };
    const Case cases[] = {
        { 1, 1, false }, { 2, 7, true }, // the footer row
        { 5, 2, true }, // the fixed right column
        { 0, 2, true }, // a fixed column
        { 2, 0, true }, // a fixed row
        { 2, 3, true }, // by the event
        { 3, 7, false }, // answers for its base cell above the footer
    };
    for (const Case& c : cases)
        EXPECT_EQ(g->IsFixedDisplayCell(c.col, c.row), c.fixed) << c.col << "," << c.row;
}

TEST(ExGridComboList, PasswordCellsAreWhatTheEventSays)
{
    auto g = MakeGrid();
    EXPECT_FALSE(g->CheckPasswordCell(1, 2));
    g->OnIsPasswordCell = [](TObject*, int ARow, int ACol, bool& IsPassword) { IsPassword = ACol == 1 && ARow == 2; };
    EXPECT_TRUE(g->CheckPasswordCell(1, 2));
    EXPECT_FALSE(g->CheckPasswordCell(2, 1));
}
