#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PlatformInfo.h"
#include "tests/common/GridOnForm.h"
#include "tests/controls/grid/GridRowsTestSupport.h"

namespace {

// Rows named "r0".."r<n-1>" in column 1 (column 0 holds the nodes); one fixed row.
std::unique_ptr<TRowsGrid> MakeGrid(int rows)
{
    auto g = std::make_unique<TRowsGrid>(nullptr);
    g->SetColCount(4);
    g->SetRowCount(rows);
    g->SetFixedRows(1);
    for (int r = 0; r < rows; ++r)
        g->SetCells(1, r, QStringLiteral("r%1").arg(r));
    return g;
}

// The displayed rows' names from the first normal row on.
QString Shown(TExStringGrid& g)
{
    QStringList names;
    for (int r = 1; r < g.RowCount(); ++r)
        names << g.Cells(1, r);
    return names.join(u' ');
}

int Level(TExStringGrid& g, int ARow)
{
    return g.HasCellProperties(0, ARow) ? g.GetCellProperties(0, ARow)->NodeLevel() : 0;
}

// Rows and the levels they should have.
void ExpectLevels(TExStringGrid& g, std::initializer_list<std::pair<int, int>> levels)
{
    for (const auto& [row, level] : levels)
        EXPECT_EQ(Level(g, row), level) << "row " << row;
}

// The data rows a node's span holds, counted on the grid (all rows shown).
int DataRowsOf(TExStringGrid& g, int ANode)
{
    int n = 0;
    for (int r = ANode + 1; r < ANode + g.GetNodeSpan(ANode); ++r)
        n += g.IsNode(r) ? 0 : 1;
    return n;
}

TEST(ExGridNodes, AddNodeOwnsItsSpanAtLevelOne)
{
    auto g = MakeGrid(10);
    g->SetFixedCols(0);
    g->SetCol(0);
    g->AddNode(3, 4);
    EXPECT_TRUE(g->IsNode(3));
    EXPECT_FALSE(g->IsNode(4));
    EXPECT_EQ(g->GetNodeSpan(3), 4);
    EXPECT_EQ(g->GetNodeSpan(4), -1);
    EXPECT_EQ(g->GetNodeLevel(3), 1);
    EXPECT_EQ(g->GetNodeLevel(4), -1);
    for (int r : { 3, 4, 5, 6 })
        EXPECT_EQ(Level(*g, r), 1) << r;
    EXPECT_EQ(Level(*g, 2), 0);
    EXPECT_EQ(Level(*g, 7), 0);
    EXPECT_EQ(g->GetSubNodeCount(3), 0);
    EXPECT_FALSE(g->GetNodeState(3));
    EXPECT_EQ(g->NumNodes(), 1);
    EXPECT_TRUE(g->HasNodes());
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Cells(1, 3), QStringLiteral("r3"));

    g->RemoveNode(3);
    EXPECT_FALSE(g->IsNode(3));
    EXPECT_EQ(g->NumNodes(), 0);
    for (int r : { 3, 4, 5, 6 })
        EXPECT_EQ(Level(*g, r), 0) << r;
}

TEST(ExGridNodes, ContractAndExpandBringBackTextsPropertiesAndHeights)
{
    auto g = MakeGrid(10);
    g->AddNode(3, 4);
    TCellProperties* props = g->GetCellProperties(2, 5);
    props->SetBrushColor(clRed);
    g->SetRowHeights(5, 40);

    g->ContractNode(3);
    EXPECT_TRUE(g->GetNodeState(3));
    EXPECT_EQ(g->RowCount(), 7);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r7 r8 r9"));
    for (int r : { 4, 5, 6 })
        EXPECT_EQ(g->HiddenRowLevel(r), 0) << r;
    g->ContractNode(3); // already closed: nothing moves
    EXPECT_EQ(g->RowCount(), 7);

    g->SetNodeState(3, false);
    EXPECT_FALSE(g->GetNodeState(3));
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8 r9"));
    EXPECT_EQ(g->Objects(2, 5), props);
    EXPECT_EQ(props->BrushColor(), clRed);
    EXPECT_EQ(g->RowHeights(5), 40);
    EXPECT_EQ(Level(*g, 6), 1);

    // Rows that are no nodes, and rows gone, leave everything as it is.
    g->ContractNode(5);
    g->ExpandNode(50);
    EXPECT_EQ(g->RowCount(), 10);
}

TEST(ExGridNodes, SpanZeroOwnsTheRowsUpToTheNextNode)
{
    auto g = MakeGrid(10);
    g->AddNode(6, 2);
    g->AddNode(2, 0);
    ExpectLevels(*g, { { 2, 1 }, { 3, 1 }, { 4, 1 }, { 5, 1 }, { 6, 1 }, { 8, 0 } });

    g->ContractNode(2);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r6 r7 r8 r9"));
    g->ExpandNode(2);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8 r9"));

    // In ContractAll too the span-0 node ends at the next node.
    g->ContractAll();
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r6 r8 r9"));
    g->ExpandAll();
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8 r9"));
}

TEST(ExGridNodes, OuterNodeOverAContractedSubNodeHidesOneBlock)
{
    auto g = MakeGrid(12);
    g->AddNode(1, 8); // rows 1..8
    g->AddNode(3, 3); // rows 3..5
    EXPECT_EQ(g->GetSubNodeCount(1), 1);
    EXPECT_EQ(g->GetNodeLevel(3), 2);
    ExpectLevels(*g, { { 4, 2 }, { 6, 1 } });

    g->ContractNode(3);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r6 r7 r8 r9 r10 r11"));
    g->ContractNode(1);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r9 r10 r11"));
    EXPECT_EQ(g->NumHiddenRows(), 7);
    EXPECT_FALSE(g->GetNodeState(g->DisplRowIndex(3)));

    g->ExpandNode(1);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8 r9 r10 r11"));
    EXPECT_FALSE(g->GetNodeState(3));

    // A node added over a contracted sub-node raises its hidden rows too.
    g->ContractNode(3);
    g->AddNode(9, 2);
    g->RemoveNode(1);
    g->ExpandNode(3);
    ExpectLevels(*g, { { 3, 1 }, { 4, 1 } });
    g->ContractNode(3);
    g->AddNode(2, 5); // rows 2..6 hold the sub-node and its hidden rows
    EXPECT_EQ(g->GetSubNodeCount(2), 1);
    g->ExpandNode(3);
    ExpectLevels(*g, { { 4, 2 }, { 5, 2 }, { 6, 1 } });
}

TEST(ExGridNodes, NodeOverHiddenRowsRaisesTheirLevelsInTheirRecords)
{
    auto g = MakeGrid(8);
    g->HideRows(4, 5); // hidden without cell properties
    g->AddNode(3, 4); // rows 3..6
    g->UnHideRows(4, 5);
    ExpectLevels(*g, { { 3, 1 }, { 4, 1 }, { 5, 1 }, { 6, 1 }, { 7, 0 } });
    g->HideRows(4, 5);
    g->RemoveNode(3);
    g->UnHideRows(4, 5);
    ExpectLevels(*g, { { 4, 0 }, { 5, 0 } });
}

TEST(ExGridNodes, ExpandOneClosesTheOtherNodesButNotTheParents)
{
    auto g = MakeGrid(14);
    g->AddNode(1, 3);
    g->AddNode(4, 6); // rows 4..9
    g->AddNode(6, 2); // rows 6..7, under 4
    g->CellNode()->ExpandOne = true;
    g->ContractNode(1);
    g->ContractNode(6);
    g->ExpandNode(1);
    EXPECT_FALSE(g->GetNodeState(1));
    EXPECT_TRUE(g->GetNodeState(g->DisplRowIndex(4)));

    g->ExpandNode(4);
    EXPECT_TRUE(g->GetNodeState(1));
    EXPECT_FALSE(g->GetNodeState(g->DisplRowIndex(4)));
    // The sub-node opens inside its open parent.
    g->ExpandNode(6);
    EXPECT_FALSE(g->GetNodeState(g->DisplRowIndex(4)));
    EXPECT_FALSE(g->GetNodeState(g->DisplRowIndex(6)));
    EXPECT_FALSE(g->IsHiddenRow(7));
    EXPECT_TRUE(g->IsHiddenRow(2));
}

TEST(ExGridNodes, GetParentRowSkipsAContractedSibling)
{
    auto g = MakeGrid(14);
    g->AddNode(1, 10); // rows 1..10
    g->AddNode(2, 3); // rows 2..4
    g->AddNode(5, 3); // rows 5..7
    g->ContractNode(2);
    // Displayed: r1 r2 r5 r6 r7 r8 ...
    const int r6 = g->DisplRowIndex(6), r8 = g->DisplRowIndex(8), r5 = g->DisplRowIndex(5);
    EXPECT_EQ(g->GetParentRow(r6), r5);
    EXPECT_EQ(g->GetParentRow(r8), 1);
    EXPECT_EQ(g->GetParentRow(r5), 1);
    EXPECT_EQ(g->GetParentRow(1), 1);
    EXPECT_EQ(g->GetParentRow(g->DisplRowIndex(12)), -1);
    EXPECT_EQ(MakeGrid(5)->GetParentRow(2), -1);
}

struct TGlyphCase {
    TNodeType Type;
    int GlyphWidth; // cnGlyph only; 0: empty glyph
    int Low, High; // the hits lie strictly between them, left to right
};

// The glyph of the level-1 node in row 1 is hit from X = From up to To - 1.
void ExpectHits(TExStringGrid& g, int From, int To)
{
    EXPECT_FALSE(g.IsNodeGlyphHit(1, From - 1));
    EXPECT_TRUE(g.IsNodeGlyphHit(1, From));
    EXPECT_TRUE(g.IsNodeGlyphHit(1, To - 1));
    EXPECT_FALSE(g.IsNodeGlyphHit(1, To));
}

// A node in row 1 at indent 12 on a shown 300 x 200 grid.
std::unique_ptr<TGridOnForm<TExStringGrid>> GlyphGrid(int rows)
{
    auto f = std::make_unique<TGridOnForm<TExStringGrid>>(4, rows, 300, 200);
    f->Grid->SetFixedRows(1);
    f->Grid->AddNode(1, 2);
    f->Grid->CellNode()->SetNodeIndent(12);
    return f;
}

TEST(ExGridNodes, NodeGlyphHitByNodeTypeAndReadingOrder)
{
    auto f = GlyphGrid(5);
    TExStringGrid& g = *f->Grid;
    // Level 1, indent 12: the glyph lies after its left offset c and before
    // b + 12.
    const TGlyphCase cases[] = {
        { TNodeType::cnFlat, 0, 4, 16 },
        { TNodeType::cn3D, 0, 0, 18 },
        { TNodeType::cnGlyph, 16, 2, 20 },
        { TNodeType::cnGlyph, 0, 0, 12 },
        { TNodeType::cnLeaf, 0, 2, 20 },
        { TNodeType::cnXP, 0, 4, 16 },
    };
    for (const TGlyphCase& c : cases) {
        g.CellNode()->SetNodeType(c.Type);
        TBitmap glyph;
        glyph.SetSize(c.GlyphWidth, c.GlyphWidth);
        g.CellNode()->SetExpandGlyph(&glyph);
        const int b = c.High - 12;
        SCOPED_TRACE(testing::Message() << int(c.Type) << " glyph " << c.GlyphWidth);
        g.SetBiDiMode(bdLeftToRight);
        ExpectHits(g, c.Low + 1, c.High);
        // Mirrored from the right edge: Width - 2 - 12 - b up to Width.
        g.SetBiDiMode(bdRightToLeft);
        ExpectHits(g, g.Width() - 2 - 12 - b, g.Width());
    }
}

TEST(ExGridNodes, NodeGlyphHitRightToLeftBesideTheScrollBar)
{
    auto f = GlyphGrid(40);
    TExStringGrid& g = *f->Grid;
    g.CellNode()->SetNodeType(TNodeType::cnFlat);
    g.SetBiDiMode(bdRightToLeft);
    ASSERT_LT(g.VisibleRowCount(), g.RowCount() - g.FixedRows());
    const int d = PlatformInfo().VScrollBarWidth;
    ExpectHits(g, g.Width() - 2 - 12 - 4 - d, g.Width() - d);
    g.MouseActions()->PreciseNodeClick = false;
    EXPECT_TRUE(g.IsNodeGlyphHit(1, 0));
}

TEST(ExGridNodes, ExpandCellSwitchesBetweenTwoHeights)
{
    auto g = MakeGrid(8);
    g->SetRowHeights(5, 22);
    g->AddExpand(2, 5, 80);
    EXPECT_TRUE(g->HasExpand(2, 5));
    EXPECT_FALSE(g->HasExpand(1, 5));
    EXPECT_EQ(g->GetExpandHeight(2, 5, true), 80);
    EXPECT_EQ(g->GetExpandHeight(2, 5, false), 22);
    EXPECT_FALSE(g->GetExpandState(2, 5));
    EXPECT_TRUE(g->ToggleExpand(2, 5));
    EXPECT_TRUE(g->GetExpandState(2, 5));
    EXPECT_FALSE(g->ToggleExpand(2, 5));
    const TRect cell = g->CellRect(2, 5);
    EXPECT_EQ(g->GetExpandRect(2, 5), TRect(cell.Right - 13, cell.Top + 2, cell.Right - 2, cell.Top + 13));
    EXPECT_EQ(g->GetExpandRect(1, 5), TRect());

    // Without a record: defaults, and the toggle answers False.
    EXPECT_FALSE(g->ToggleExpand(1, 5));
    EXPECT_EQ(g->GetExpandHeight(1, 5, true), g->DefaultRowHeight());
    g->RemoveExpand(2, 5);
    EXPECT_FALSE(g->HasExpand(2, 5));
    EXPECT_EQ(g->GetExpandHeight(2, 5, true), g->DefaultRowHeight());
}

// The glyph's square is asked for where the cell shows: right of a hidden
// column that is not the real column of the same number.
TEST(ExGridNodes, ExpandRectRightOfAHiddenColumnIsWhereTheCellShows)
{
    auto g = MakeGrid(8);
    g->AddExpand(2, 5, 80);
    g->HideColumn(1); // real column 2 shows as column 1
    const TRect cell = g->CellRect(1, 5);
    EXPECT_EQ(g->GetExpandRect(1, 5), TRect(cell.Right - 13, cell.Top + 2, cell.Right - 2, cell.Top + 13));
    EXPECT_EQ(g->GetExpandRect(2, 5), TRect());
}

TEST(ExGridNodes, NodeSpanTypeEndsTheBranchBeforeAFooter)
{
    auto g = MakeGrid(8);
    g->SetFixedFooters(1);
    g->AddNode(2, 5); // rows 2..6, row 7 the footer
    EXPECT_EQ(g->GetNodeSpanType(2), 0);
    EXPECT_EQ(g->GetNodeSpanType(3), 2);
    EXPECT_EQ(g->GetNodeSpanType(6), 1);
    // A branch also ends where the next row is of a lower level.
    g->AddNode(3, 2);
    EXPECT_EQ(g->GetNodeSpanType(4), 1);
    EXPECT_EQ(g->GetNodeSpanType(5), 2);
}

namespace {

// Notes whether the forced selection was on while the rows went.
class TForceSelGrid : public TRowsGrid {
public:
    using TRowsGrid::TRowsGrid;
    bool ForceSel() const { return FForceSel; }
    bool SeenForced = false;

protected:
    void SizeChanged(int OldColCount, int OldRowCount) override
    {
        SeenForced = SeenForced || FForceSel;
        TRowsGrid::SizeChanged(OldColCount, OldRowCount);
    }
};

} // namespace

TEST(ExGridNodes, ContractingForcesTheCursorAlongOnlyWhileItRuns)
{
    TGridOnForm<TForceSelGrid> f(4, 10, 400, 300);
    TForceSelGrid& g = *f.Grid;
    g.SetFixedRows(1);
    g.AddNode(1, 4);
    g.SetRow(3);
    g.ContractNode(1);
    ASSERT_EQ(g.RowCount(), 7);
    EXPECT_TRUE(g.SeenForced) << "the rows left without a forced selection";
    EXPECT_FALSE(g.ForceSel());
    // Already contracted, or no node at all: the flag does not stay set.
    g.ContractNode(1);
    EXPECT_FALSE(g.ForceSel());
    g.ContractNode(6);
    EXPECT_FALSE(g.ForceSel());
}

// A closed sub-node merges into its parent's block: the controls of the rows
// that leave go out of sight and come back, a row past the span keeps its own.
TEST(ExGridNodes, ContractingHidesTheControlsOfTheLeavingRowsOnly)
{
    TGridOnForm<TRowsGrid> f(4, 10, 400, 300);
    TRowsGrid& g = *f.Grid;
    g.SetFixedRows(1);
    g.AddNode(1, 5); // rows 1..5
    g.AddNode(2, 2); // rows 2..3
    g.AddNode(4, 2); // rows 4..5, the last of the span
    auto* inside = new TEdit(f.Form);
    auto* past = new TEdit(f.Form);
    g.SetCellControls(1, 4, inside);
    g.SetCellControls(1, 6, past);
    g.ContractNode(2);
    g.ContractNode(4);
    ASSERT_TRUE(inside->Visible());
    g.ContractNode(1);
    EXPECT_FALSE(inside->Visible());
    EXPECT_TRUE(past->Visible()) << "the row after the span is still shown";
    g.ExpandNode(1);
    EXPECT_TRUE(inside->Visible());
    EXPECT_TRUE(past->Visible());
    g.ContractAll();
    EXPECT_FALSE(inside->Visible());
    EXPECT_TRUE(past->Visible());
}

TEST(ExGridNodes, ContractAllHidesPlainRowsAFilterLevelCannotShow)
{
    auto g = MakeGrid(12);
    g->AddNode(1, 4);
    g->AddNode(2, 2);
    g->AddNode(6, 3);
    g->HideRowList({ 10 }); // a filter level hides r10
    g->ContractAll();
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r5 r6 r9 r11"));
    EXPECT_EQ(g->HiddenRowLevel(3), 0);
    EXPECT_EQ(g->HiddenRowLevel(7), 0);
    EXPECT_EQ(g->FilterLevel(), 1);
    g->EndFilterLevel();
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r5 r6 r9 r10 r11"));
    g->ExpandAll();
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8 r9 r10 r11"));
    for (int r : { 1, 2, 6 })
        EXPECT_FALSE(g->GetNodeState(r)) << r;

    g->ContractNode(1);
    g->RemoveAllNodes();
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8 r9 r10 r11"));
    EXPECT_EQ(g->NumNodes(), 0);
    for (int r = 1; r < 12; ++r) {
        EXPECT_FALSE(g->IsNode(r)) << r;
        EXPECT_EQ(Level(*g, r), 0) << r;
    }
}

TEST(ExGridNodes, InsertNormalRowShiftsHiddenRowsOnce)
{
    auto g = MakeGrid(8);
    g->AddNode(3, 3);
    g->ContractNode(3);
    g->InsertNormalRow(1);
    g->SetCells(1, 1, QStringLiteral("new"));
    EXPECT_TRUE(g->IsHiddenRow(5));
    EXPECT_TRUE(g->IsHiddenRow(6));
    EXPECT_FALSE(g->IsHiddenRow(7));
    g->ExpandNode(4);
    EXPECT_EQ(Shown(*g), QStringLiteral("new r1 r2 r3 r4 r5 r6 r7"));
    g->RemoveNormalRow(1);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r4 r5 r6 r7"));
}

// A node A over B over C, each holding data rows:
// 1 A, 2 B, 3 C, 4-5 in C, 6-7 in B, 8-10 in A, 11 outside.
std::unique_ptr<TRowsGrid> ThreeLevels()
{
    auto g = MakeGrid(12);
    g->Grouping()->ShowGroupCount = true;
    g->AddNode(1, 10);
    g->AddNode(2, 6);
    g->AddNode(3, 3);
    return g;
}

void ExpectNodes(TExStringGrid& g, const std::vector<std::vector<int>>& nodes)
{
    // row, span, sub-nodes
    for (const auto& n : nodes) {
        SCOPED_TRACE(testing::Message() << "node row " << n[0]);
        ASSERT_TRUE(g.IsNode(n[0]));
        EXPECT_EQ(g.GetNodeSpan(n[0]), n[1]);
        EXPECT_EQ(g.GetSubNodeCount(n[0]), n[2]);
        // The group count shown is the data rows the span really holds.
        EXPECT_EQ(g.GetNodeSpan(n[0]) - g.GetSubNodeCount(n[0]) - 1, DataRowsOf(g, n[0]));
        EXPECT_TRUE(g.GetCellEx(1, n[0]).endsWith(QStringLiteral(" (%1)").arg(DataRowsOf(g, n[0]))))
            << g.GetCellEx(1, n[0]).toStdString();
    }
}

TEST(ExGridNodes, ChildRowsThreeLevelsDeepKeepSpansAndCounts)
{
    auto g = ThreeLevels();
    ExpectNodes(*g, { { 1, 10, 2 }, { 2, 6, 1 }, { 3, 3, 0 } });
    EXPECT_EQ(g->GetParentRow(4), 3);
    EXPECT_EQ(g->GetParentRow(6), 2);
    EXPECT_EQ(g->GetParentRow(9), 1);

    // Into C: every ancestor grows by one.
    g->InsertChildRow(4, 0);
    g->SetCells(1, 4, QStringLiteral("c"));
    ExpectNodes(*g, { { 1, 11, 2 }, { 2, 7, 1 }, { 3, 4, 0 } });
    EXPECT_EQ(Level(*g, 4), 3);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 c r4 r5 r6 r7 r8 r9 r10 r11"));

    // Into B below C, while C is contracted.
    g->ContractNode(3);
    g->InsertChildRow(g->RealRowIndex(g->DisplRowIndex(8)), 0);
    g->SetCells(1, g->DisplRowIndex(8), QStringLiteral("b"));
    g->ExpandNode(3);
    ExpectNodes(*g, { { 1, 12, 2 }, { 2, 8, 1 }, { 3, 4, 0 } });
    EXPECT_EQ(Level(*g, 8), 2);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 c r4 r5 r6 b r7 r8 r9 r10 r11"));

    // On the node row C itself: the new row goes below it and takes its texts.
    g->SetCells(2, 3, QStringLiteral("header"));
    g->InsertChildRow(3, 0);
    ExpectNodes(*g, { { 1, 13, 2 }, { 2, 9, 1 }, { 3, 5, 0 } });
    EXPECT_EQ(g->Cells(1, 4), QStringLiteral("r3"));
    EXPECT_EQ(g->Cells(2, 4), QStringLiteral("header"));
    EXPECT_EQ(g->Cells(1, 3), QString());
    g->RemoveChildRow(4);
    g->SetCells(1, 3, QStringLiteral("r3"));

    // And out again, from each level.
    g->RemoveChildRow(4);
    g->RemoveChildRow(g->RealRowIndex(7));
    g->RemoveChildRow(10);
    ExpectNodes(*g, { { 1, 9, 2 }, { 2, 6, 1 }, { 3, 3, 0 } });
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8 r9 r11"));

    // A sub-node removed as a row takes its count from every ancestor.
    g->RemoveChildRow(3);
    EXPECT_EQ(g->NumNodes(), 2);
    ExpectNodes(*g, { { 1, 8, 1 }, { 2, 5, 0 } });
    EXPECT_EQ(Level(*g, 3), 2);
}

TEST(ExGridNodes, RowsTheUserInsertsAndRemovesFollowTheirGroup)
{
    auto g = ThreeLevels();
    int autoDeleted = -1;
    g->OnAutoDeleteRow = [&](TObject*, int ARow) { autoDeleted = ARow; };
    g->InsertGridRow(5); // in C
    g->InsertGridRow(9); // in A
    g->InsertGridRow(13); // under no node
    ExpectNodes(*g, { { 1, 12, 2 }, { 2, 7, 1 }, { 3, 4, 0 } });
    EXPECT_EQ(g->RowCount(), 15);
    g->RemoveGridRow(5);
    EXPECT_EQ(autoDeleted, 5);
    g->RemoveGridRow(9);
    g->RemoveGridRow(12);
    ExpectNodes(*g, { { 1, 10, 2 }, { 2, 6, 1 }, { 3, 3, 0 } });
    EXPECT_EQ(g->RowCount(), 12);
}

} // namespace
