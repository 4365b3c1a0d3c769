// The base grid's cell model: lazy properties, merged areas, the text path
// with its hooks, geometry, bounds and who frees what.
#include <gtest/gtest.h>

#include "controls/base/ExUtil.h"
#include "tests/controls/base/BaseGridTestFixture.h"

namespace {

struct Cell {
    int c, r;
};

TEST(BaseGridModel, FreshCellsHaveNoPropertiesUntilAskedThenTakeTheGridsLook)
{
    BaseGridFixture f;
    TTestBaseGrid* g = f.Grid;
    g->SetColor(TColor(0x123456));
    EXPECT_FALSE(g->HasCellProps());
    for (Cell c : { Cell { 0, 0 }, Cell { 3, 2 }, Cell { 7, 5 } }) {
        EXPECT_FALSE(g->HasCellProperties(c.c, c.r));
        EXPECT_TRUE(g->IsBaseCell(c.c, c.r));
        EXPECT_EQ(g->CellSpan(c.c, c.r), TPoint(0, 0));
        EXPECT_EQ(g->BaseCell(c.c, c.r), TPoint(c.c, c.r));
        EXPECT_EQ(g->GetObjectEx(c.c, c.r), 0u);
    }
    TCellProperties* p = g->GetCellProperties(3, 2);
    EXPECT_TRUE(g->HasCellProps());
    EXPECT_TRUE(g->HasCellProperties(3, 2));
    EXPECT_EQ(g->GetCellProperties(3, 2), p);
    EXPECT_EQ(p->CellSpanX(), -1);
    EXPECT_EQ(p->CellSpanY(), -1);
    EXPECT_TRUE(p->IsBaseCell());
    EXPECT_EQ(p->BrushColorTo(), clNone);
    EXPECT_EQ(p->BrushColor(), TColor(0x123456));
    EXPECT_EQ(p->OwnerCol(), 3);
    EXPECT_EQ(p->OwnerRow(), 2);
    EXPECT_EQ(p->FontName(), g->Font()->Name());
    EXPECT_FALSE(g->IsMergedCell(3, 2));
}

TEST(BaseGridModel, MergeOfThreeByTwoGivesSpansOffsetsAndAreaQueries)
{
    BaseGridFixture f;
    TTestBaseGrid* g = f.Grid;
    g->MergeCells(1, 1, 3, 2);
    EXPECT_EQ(g->MergeCount(), 1);
    struct Row {
        int c, r, sx, sy;
        bool base;
    };
    for (Row e : { Row { 1, 1, 2, 1, true }, Row { 2, 1, 1, 0, false }, Row { 3, 1, 2, 0, false },
             Row { 1, 2, 0, 1, false }, Row { 2, 2, 1, 1, false }, Row { 3, 2, 2, 1, false } }) {
        SCOPED_TRACE(testing::Message() << e.c << "," << e.r);
        const TCellProperties* p = g->GetCellProperties(e.c, e.r);
        EXPECT_EQ(p->CellSpanX(), e.sx);
        EXPECT_EQ(p->CellSpanY(), e.sy);
        EXPECT_EQ(p->IsBaseCell(), e.base);
        EXPECT_EQ(g->BaseCell(e.c, e.r), TPoint(1, 1));
        EXPECT_EQ(g->CellSpan(e.c, e.r), TPoint(2, 1));
        EXPECT_TRUE(g->IsXMergedCell(e.c, e.r));
        EXPECT_TRUE(g->IsYMergedCell(e.c, e.r));
        EXPECT_TRUE(g->IsMergedCell(e.c, e.r));
        EXPECT_EQ(g->IsMergedNonBaseCell(e.c, e.r), !e.base);
        int bc = -1, br = -1;
        EXPECT_EQ(g->ResolveBaseCell(e.c, e.r, bc, br), e.base);
        EXPECT_EQ(TPoint(bc, br), TPoint(1, 1));
    }
    EXPECT_EQ(g->CellExt(2, 1), TPoint(1, 1));
    EXPECT_EQ(g->CellExt(1, 1), TPoint(2, 1));
    EXPECT_EQ(g->FullCell(3, 2), (TRect { 1, 1, 3, 2 }));
    EXPECT_FALSE(g->IsMergedCell(4, 2));
    EXPECT_EQ(g->MinRowSpan(1), 1);
    EXPECT_EQ(g->MaxRowSpan(2), 1);
    EXPECT_EQ(g->MinRowSpan(4), g->RowCount());
    EXPECT_EQ(g->MaxRowSpan(4), 0);
    // The area's rectangle is the union of its cells.
    const TRect a = g->CellRect(3, 2);
    EXPECT_EQ(a, g->CellRect(1, 1));
    EXPECT_EQ(a.Left, g->VirtualCellRect(1, 1).Left);
    EXPECT_EQ(a.Bottom, g->VirtualCellRect(3, 2).Bottom);
    EXPECT_EQ(a.Width(), 150);
    EXPECT_EQ(a.Height(), 40);
    EXPECT_EQ(g->CellSize(2, 2), TPoint(150, 40));
}

TEST(BaseGridModel, MergedTextGoesToTheBaseCellAndSplittingShowsEachCellsOwnAgain)
{
    BaseGridFixture f;
    TTestBaseGrid* g = f.Grid;
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r)
            g->SetGridCell(c, r, QStringLiteral("own%1%2").arg(c).arg(r));
    g->MergeCells(1, 1, 3, 2);
    g->SetCellEx(3, 2, QStringLiteral("x"));
    EXPECT_EQ(g->GetGridCell(1, 1), QStringLiteral("x"));
    EXPECT_EQ(g->GetCellEx(2, 1), QStringLiteral("x"));
    EXPECT_EQ(g->GetGridCell(3, 2), QStringLiteral("own32"));
    g->SplitCells(2, 2);
    EXPECT_EQ(g->MergeCount(), 0);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) {
            const TCellProperties* p = g->GetCellProperties(c, r);
            EXPECT_EQ(TPoint(p->CellSpanX(), p->CellSpanY()), TPoint(-1, -1));
            EXPECT_TRUE(p->IsBaseCell());
            EXPECT_EQ(
                g->GetCellEx(c, r), c == 1 && r == 1 ? QStringLiteral("x") : QStringLiteral("own%1%2").arg(c).arg(r));
        }
}

// Areas made without MergeCells, by setting the cells' properties (as a
// reader of stored properties does) or copying them from another grid's,
// are merged areas all the same for every query.
TEST(BaseGridModel, AreasSetThroughPropertiesAreMergedAreas)
{
    for (const bool copied : { false, true }) {
        BaseGridFixture f;
        TTestBaseGrid* g = f.Grid;
        g->SetGridCell(1, 1, QStringLiteral("base"));
        g->SetGridCell(1, 2, QStringLiteral("own"));
        TCellProperties* covered = g->GetCellProperties(1, 2);
        if (copied) {
            BaseGridFixture other;
            other.Grid->MergeCells(1, 1, 1, 2);
            covered->Assign(other.Grid->GetCellProperties(1, 2));
            g->GetCellProperties(1, 1)->Assign(other.Grid->GetCellProperties(1, 1));
        } else {
            TCellProperties* base = g->GetCellProperties(1, 1);
            base->SetCellSpanX(0);
            base->SetCellSpanY(1);
            covered->SetIsBaseCell(false);
            covered->SetCellSpanX(0);
            covered->SetCellSpanY(1);
        }
        EXPECT_EQ(g->MergeCount(), 0) << copied;
        EXPECT_TRUE(g->HasMergedAreas()) << copied;
        EXPECT_EQ(g->GetCellEx(1, 2), QStringLiteral("base")) << copied;
        EXPECT_FALSE(g->IsBaseCell(1, 2)) << copied;
        EXPECT_TRUE(g->IsMergedCell(1, 1)) << copied;
        EXPECT_TRUE(g->IsMergedNonBaseCell(1, 2)) << copied;
    }
}

TEST(BaseGridModel, DegenerateMergesAndSplits)
{
    struct Case {
        const char* name;
        int c, r, w, h;
        bool split; // SplitCells (c, r) instead of merging
        int mergeCount;
        bool propsAtCell; // (c, r) has properties afterwards
        TPoint spans; // of (c, r) when it has properties
    };
    const Case cases[] = {
        { "one by one", 2, 2, 1, 1, false, 1, true, { 0, 0 } },
        { "no columns", 2, 2, 0, 2, false, 1, false, {} },
        { "no rows", 2, 2, 2, 0, false, 1, false, {} },
        { "leaves the grid", 6, 4, 3, 1, false, 1, false, {} },
        { "split of a plain cell", 2, 2, 0, 0, true, -1, true, { -1, -1 } },
        { "split outside", 9, 2, 0, 0, true, 0, false, {} },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        BaseGridFixture f;
        TTestBaseGrid* g = f.Grid;
        const TRect own = g->CellRect(2, 2);
        if (k.split)
            g->SplitCells(k.c, k.r);
        else
            g->MergeCells(k.c, k.r, k.w, k.h);
        EXPECT_EQ(g->MergeCount(), k.mergeCount);
        EXPECT_EQ(g->HasCellProperties(k.c, k.r), k.propsAtCell);
        EXPECT_FALSE(g->HasCellProperties(k.c + 1, k.r)); // nothing beyond
        if (k.propsAtCell) {
            const TCellProperties* p = g->GetCellProperties(k.c, k.r);
            EXPECT_EQ(TPoint(p->CellSpanX(), p->CellSpanY()), k.spans);
        }
        EXPECT_FALSE(g->IsMergedCell(k.c, k.r));
        EXPECT_EQ(g->CellSpan(2, 2), TPoint(0, 0));
        EXPECT_EQ(g->CellRect(2, 2), own);
    }
}

TEST(BaseGridModel, RowAndColumnSpanComparisons)
{
    BaseGridFixture f(8, 8);
    TTestBaseGrid* g = f.Grid;
    EXPECT_FALSE(g->RowSpanIdentical(1, 2));
    EXPECT_FALSE(g->ColSpanIdentical(1, 2));
    g->MergeCells(1, 1, 1, 3); // column 1, rows 1 to 3
    g->GetCellProperties(2, 5); // properties, no merge
    EXPECT_TRUE(g->RowSpanIdentical(1, 3));
    EXPECT_FALSE(g->RowSpanIdentical(1, 4)); // row 4 not merged: nothing found
    g->MergeCells(1, 4, 1, 2);
    EXPECT_FALSE(g->RowSpanIdentical(3, 4)); // two areas: base rows differ
    EXPECT_FALSE(g->ColSpanIdentical(1, 2)); // vertical merges only
    g->MergeCells(3, 2, 3, 1); // columns 3 to 5 in row 2
    EXPECT_TRUE(g->ColSpanIdentical(3, 5));
    EXPECT_TRUE(g->ColSpanIdentical(4, 3));
    g->MergeCells(4, 6, 2, 1); // columns 4 and 5 in row 6: 3 is plain there
    EXPECT_FALSE(g->ColSpanIdentical(3, 4));
    EXPECT_TRUE(g->ColSpanIdentical(4, 5));
    EXPECT_FALSE(g->ColSpanIdentical(5, 6));
}

TEST(BaseGridModel, DisplayHooksRunForNormalRowsWithTheBaseCell)
{
    BaseGridFixture f;
    TTestBaseGrid* g = f.Grid;
    g->SetGridCell(1, 1, QStringLiteral("ab"));
    g->MergeCells(1, 1, 2, 2);
    QStringList calls;
    g->OnGetDisplText = [&](TObject*, int c, int r, QString& v) {
        calls << QStringLiteral("%1,%2").arg(c).arg(r);
        v += QStringLiteral("!");
    };
    // A bare base grid has no normal rows: no hook.
    EXPECT_EQ(g->GetCellEx(2, 2), QStringLiteral("ab"));
    EXPECT_TRUE(calls.isEmpty());
    g->FNormalRowCount = g->RowCount();
    EXPECT_EQ(g->GetCellEx(2, 2), QStringLiteral("ab!"));
    EXPECT_EQ(calls, QStringList { QStringLiteral("1,1") });
    g->OnGetDisplWideText = [&](TObject*, int, int, QString& v) { v = v.toUpper(); };
    const QString wide = g->GetCellEx(2, 1);
    EXPECT_TRUE(wide.startsWith(QStringLiteral("|\\")));
    EXPECT_EQ(DecodeWideText(wide), QStringLiteral("AB!"));
    g->FNormalRowCount = 1; // row 1 and below are spare rows
    EXPECT_EQ(g->GetCellEx(2, 2), QStringLiteral("ab"));
}

TEST(BaseGridModel, WritingTheHiddenLastRowCallsLastRowChanged)
{
    BaseGridFixture f;
    TTestBaseGrid* g = f.Grid;
    const int last = g->RowCount() - 1;
    g->SetCellEx(1, last, QStringLiteral("a"));
    EXPECT_EQ(g->LastRowChanges, 0);
    g->FHideLastRow = true;
    g->SetCellEx(1, last, QStringLiteral("b")); // no properties
    g->GetCellProperties(2, last);
    g->SetCellEx(2, last, QStringLiteral("c"));
    g->SetCellEx(2, last - 1, QStringLiteral("d"));
    EXPECT_EQ(g->LastRowChanges, 2);
}

TEST(BaseGridModel, CellsOutsideTheGridRaiseInsteadOfGrowingTheStore)
{
    BaseGridFixture f(10, 6);
    TTestBaseGrid* g = f.Grid;
    g->SetColCount(8);
    g->Hidden = 2; // columns 8 and 9 are hidden cells of the grid
    for (Cell c : { Cell { -1, 0 }, Cell { 0, -1 }, Cell { 10, 1 }, Cell { 1, 6 } }) {
        SCOPED_TRACE(testing::Message() << c.c << "," << c.r);
        EXPECT_THROW(g->GetCellProperties(c.c, c.r), EExGridError);
        EXPECT_THROW(g->SetCellEx(c.c, c.r, QStringLiteral("x")), EExGridError);
        EXPECT_THROW(g->SetGridCell(c.c, c.r, QStringLiteral("x")), EExGridError);
        EXPECT_FALSE(g->HasCellProperties(c.c, c.r));
        EXPECT_EQ(g->GetCellEx(c.c, c.r), QString());
    }
    EXPECT_NO_THROW(g->GetCellProperties(9, 5));
    EXPECT_NO_THROW(g->SetCellEx(9, 5, QStringLiteral("hidden")));
    EXPECT_EQ(g->GetCellEx(9, 5), QStringLiteral("hidden"));
}

TEST(BaseGridModel, SettingTheSamePropertiesAgainKeepsThem)
{
    BaseGridFixture f;
    TTestBaseGrid* g = f.Grid;
    TCellProperties* p = g->GetCellProperties(2, 2);
    p->SetBrushColor(clRed);
    g->SetCellProperties(2, 2, p);
    ASSERT_EQ(g->GetCellProperties(2, 2), p);
    EXPECT_EQ(p->BrushColor(), clRed); // alive: ASan would report a freed object
    auto* q = new TCellProperties(g, 2, 2);
    q->Assign(p);
    EXPECT_EQ(q->BrushColor(), clRed);
    g->SetCellProperties(2, 2, q);
    EXPECT_EQ(g->GetCellProperties(2, 2), q);
}

TEST(BaseGridModel, UserObjectIsStoredWithoutRewritingTheText)
{
    BaseGridFixture f;
    TTestBaseGrid* g = f.Grid;
    g->FNormalRowCount = g->RowCount();
    g->SetCellEx(2, 2, QStringLiteral("kept"));
    QStringList writes;
    g->OnGetDisplText = [](TObject*, int, int, QString& v) { v.clear(); }; // shows every cell empty
    g->SetObjectEx(2, 2, 42);
    EXPECT_EQ(g->GetObjectEx(2, 2), 42u);
    EXPECT_EQ(g->GetGridCell(2, 2), QStringLiteral("kept"));
    int live = 0;
    auto* pic = new TCountedGraphic(live);
    g->SetGraphicObjectEx(2, 3, pic);
    EXPECT_EQ(g->GetGraphicObjectEx(2, 3), pic);
    EXPECT_EQ(g->GetGridCell(2, 3), QString());
    EXPECT_EQ(g->GetGraphicObjectEx(4, 4), nullptr);
}

// Every path that frees properties frees a cell graphic with them and
// leaves any other graphic object alone; the hand-over paths free nothing.
TEST(BaseGridModel, CellGraphicsAreFreedWithTheirPropertiesOnEveryPath)
{
    struct Case {
        const char* name;
        std::function<void(TTestBaseGrid*, BaseGridFixture&)> act;
        int graphicsLeft; // of the two counted graphics at (2, 2) and (3, 3)
    };
    const Case cases[] = {
        { "ClearCellPropertiesRect", [](TTestBaseGrid* g, auto&) { g->ClearCellPropertiesRect(0, 0, 7, 5); }, 0 },
        { "FreeCellProperties", [](TTestBaseGrid* g, auto&) { g->FreeCellProperties(2, 2); }, 1 },
        { "replaced properties",
            [](TTestBaseGrid* g, auto&) { g->SetCellProperties(3, 3, new TCellProperties(g, 3, 3)); }, 1 },
        { "replaced graphic", [](TTestBaseGrid* g, auto&) { g->SetGraphicObjectEx(2, 2, nullptr); }, 1 },
        { "destruction",
            [](TTestBaseGrid*, BaseGridFixture& f) {
                delete f.Form;
                f.Form = nullptr;
            },
            0 },
        { "rows leave", [](TTestBaseGrid* g, auto&) { g->SetRowCount(3); }, 1 },
        { "run of rows deleted", [](TTestBaseGrid* g, auto&) { g->DeleteRows(3, 2); }, 1 },
        { "row deleted", [](TTestBaseGrid* g, auto&) { g->DeleteRow(2); }, 1 },
        { "column deleted", [](TTestBaseGrid* g, auto&) { g->DeleteColumn(3); }, 1 },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        int graphics = 0, others = 0;
        auto* other = new TCountedObject(others);
        {
            BaseGridFixture f(8, 6);
            TTestBaseGrid* g = f.Grid;
            g->SetGraphicObjectEx(2, 2, new TCountedGraphic(graphics));
            g->SetGraphicObjectEx(3, 3, new TCountedGraphic(graphics));
            g->SetGraphicObjectEx(4, 4, other);
            k.act(g, f);
            EXPECT_EQ(graphics, k.graphicsLeft);
            EXPECT_EQ(others, 1);
        }
        EXPECT_EQ(graphics, 0);
        EXPECT_EQ(others, 1);
        delete other;
    }
}

TEST(BaseGridModel, HiddenColumnsPropertiesAreFreedWithTheGrid)
{
    int graphics = 0;
    {
        BaseGridFixture f(8, 6);
        f.Grid->SetGraphicObjectEx(7, 2, new TCountedGraphic(graphics));
        f.Grid->SetColCount(5); // column 7 stays in the store, hidden
        f.Grid->Hidden = 3;
        EXPECT_EQ(graphics, 1);
    }
    EXPECT_EQ(graphics, 0);
}

TEST(BaseGridModel, ClearingHandsPropertiesOverUnfreed)
{
    BaseGridFixture f(8, 6);
    TTestBaseGrid* g = f.Grid;
    int graphics = 0;
    g->SetGraphicObjectEx(1, 2, new TCountedGraphic(graphics));
    g->SetGraphicObjectEx(2, 1, new TCountedGraphic(graphics));
    g->SetGraphicObjectEx(3, 3, new TCountedGraphic(graphics));
    TCellProperties* taken[] = { g->GetCellProperties(1, 2), g->GetCellProperties(2, 1), g->GetCellProperties(3, 3) };
    g->SetCellEx(1, 2, QStringLiteral("a"));
    g->SetCellEx(3, 3, QStringLiteral("c"));
    g->ClearColumnCells(1);
    g->ClearRowCells(1);
    g->ClearCell(3, 3);
    EXPECT_EQ(graphics, 3);
    for (Cell c : { Cell { 1, 2 }, Cell { 2, 1 }, Cell { 3, 3 } }) {
        EXPECT_FALSE(g->HasCellProperties(c.c, c.r));
        EXPECT_EQ(g->GetGridCell(c.c, c.r), QString());
    }
    // The caller places them elsewhere; the grid owns them again there.
    g->SetCellProperties(5, 5, taken[0]);
    delete taken[1];
    delete taken[2];
    EXPECT_EQ(graphics, 1);
}

TEST(BaseGridModel, VirtualCellRectFollowsScrollingForCellsOutOfView)
{
    BaseGridFixture f(8, 40);
    TTestBaseGrid* g = f.Grid;
    g->SetColWidths(2, 70);
    g->SetTopRow(10);
    g->SetLeftCol(2);
    // Rows above the top row lie above the fixed row; fixed cells stay put.
    EXPECT_EQ(g->VirtualCellRect(3, 8), (TRect { 50 + 70, 20 - 40, 50 + 70 + 50, 20 - 20 }));
    EXPECT_EQ(g->VirtualCellRect(0, 12), (TRect { 0, 20 + 40, 50, 20 + 60 }));
    EXPECT_EQ(g->VirtualCellRect(2, 0), (TRect { 50, 0, 120, 20 }));
    EXPECT_EQ(g->VirtualCellRect(1, 10), (TRect { 0, 20, 50, 40 }));
    // A merged area whose base scrolled out reaches back to it.
    g->MergeCells(3, 8, 2, 4);
    EXPECT_EQ(g->CellRect(4, 11), (TRect { 120, -20, 220, 60 }));
}

} // namespace
