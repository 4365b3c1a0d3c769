// Sort settings: starting values and copy rules, the checked sort row, the
// repaints of the header, and the text form that stores and restores a sort.
#include "controls/grid/ExGridSort.h"

#include "common/FieldTable.h"
#include "common/GridOnForm.h"
#include "controls/base/ExObj.h"
#include "controls/grid/GridDataTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(ExGridSort, StartsAndAssignsAllButIgnoreCaseAndVirtualCells)
{
    TCountingGrid grid;
    using T = TSortSettings;
    const std::vector<Field<T>> fields = {
        PROP(T, Show, 0, 1, true),
        PLAIN(T, IndexShow, 0, 1, true),
        PLAIN(T, Full, 1, 0, true),
        PLAIN(T, SingleColumn, 0, 1, true),
        PLAIN(T, IgnoreBlanks, 0, 1, true),
        PLAIN(T, BlankPos, int(TSortBlankPosition::blFirst), int(TSortBlankPosition::blLast), true),
        PLAIN(T, AutoFormat, 1, 0, true),
        PLAIN(T, Direction, int(TSortDirection::sdAscending), int(TSortDirection::sdDescending), true),
        PLAIN(T, NormalCellsOnly, 0, 1, true),
        PLAIN(T, FixedCols, 0, 1, true),
        PLAIN(T, Column, -1, 3, true),
        PROP(T, Row, 0, 1, true),
        PLAIN(T, AutoColumnMerge, 0, 1, true),
        PLAIN(T, IndexColor, int(clYellow), int(clRed), true),
        PLAIN(T, InitSortDirection, int(TSortDirection::sdAscending), int(TSortDirection::sdDescending), true),
        PLAIN(T, UndoSort, 0, 1, true),
        PLAIN(T, AutoSortForGrouping, 1, 0, true),
        PLAIN(T, SortOnVirtualCells, 1, 0, false),
        PLAIN(T, IgnoreCase, 0, 1, false),
        PROP(T, HeaderColor, int(clNone), int(clRed), true),
        PROP(T, HeaderColorTo, int(clNone), int(clBlue), true),
        PROP(T, HeaderMirrorColor, int(clNone), int(clLime), true),
        PROP(T, HeaderMirrorColorTo, int(clNone), int(clAqua), true),
        PLAIN(T, IndexSortKey, int(TIndexSortKey::ikShift), int(TIndexSortKey::ikCtrl), true),
    };
    CheckStartAndAssign(fields, [&] { return std::make_unique<T>(&grid); });
}

TEST(ExGridSort, AssignCopiesGlyphsByValueWithoutRepaintOrRowCheck)
{
    TCountingGrid withHeader, plain;
    withHeader.SetFixedRows(1);
    plain.SetFixedRows(0);
    TSortSettings src(&withHeader), dst(&plain);
    TBitmap up(4, 3), down(5, 5), indexUp(6, 2), indexDown(7, 1);
    src.SetUpGlyph(&up);
    src.SetDownGlyph(&down);
    src.SetIndexUpGlyph(&indexUp);
    src.SetIndexDownGlyph(&indexDown);
    src.SetRow(1);
    src.SetShow(true);
    plain.ResetCounts();

    dst.Assign(&src);
    EXPECT_EQ(dst.Row(), 1) << "no check against the grid's fixed rows";
    EXPECT_EQ(plain.Repaints, 0);
    const TBitmap* copies[] = { dst.UpGlyph(), dst.DownGlyph(), dst.IndexUpGlyph(), dst.IndexDownGlyph() };
    const TBitmap* origins[] = { src.UpGlyph(), src.DownGlyph(), src.IndexUpGlyph(), src.IndexDownGlyph() };
    const int widths[] = { 4, 5, 6, 7 };
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(copies[i], origins[i]);
        EXPECT_EQ(copies[i]->Width(), widths[i]) << "glyph " << i;
    }
    src.UpGlyph()->SetSize(9, 9);
    EXPECT_EQ(dst.UpGlyph()->Width(), 4);
}

TEST(ExGridSort, RowAboveTheFixedRowsRaisesAndKeepsTheOldRow)
{
    TCountingGrid grid;
    grid.SetFixedRows(2);
    TSortSettings s(&grid);
    s.SetRow(2); // the fixed row count itself is accepted
    EXPECT_EQ(s.Row(), 2);
    try {
        s.SetRow(3);
        ADD_FAILURE() << "no error";
    } catch (const EExGridError& e) {
        EXPECT_EQ(e.Message(), "Sort row should be smaller than number of fixed rows");
    }
    EXPECT_EQ(s.Row(), 2);
}

// Whether a repainted block covers exactly the given row.
bool RowRepainted(const TCountingGrid& g, int Row)
{
    for (const TGridRect& r : g.Rects)
        if (r.Top == Row && r.Bottom == Row)
            return true;
    return false;
}

TEST(ExGridSort, ShowRepaintsTheGridAndHeaderColoursTheLastFixedRowOnlyOnChange)
{
    TGridOnForm<TCountingGrid> f(5, 8, 300, 200);
    TCountingGrid& g = *f.Grid;
    g.SetFixedRows(2);
    TSortSettings s(&g);

    struct Case {
        const char* name;
        std::function<void()> set;
        int repaints;
        bool lastFixedRow;
    };
    const Case cases[] = {
        { "Show on", [&] { s.SetShow(true); }, 1, false },
        { "Show again", [&] { s.SetShow(true); }, 0, false },
        { "HeaderColor", [&] { s.SetHeaderColor(clRed); }, 0, true },
        { "HeaderColor again", [&] { s.SetHeaderColor(clRed); }, 0, false },
        { "HeaderColorTo", [&] { s.SetHeaderColorTo(clRed); }, 0, true },
        { "HeaderMirrorColor", [&] { s.SetHeaderMirrorColor(clRed); }, 0, true },
        { "HeaderMirrorColorTo", [&] { s.SetHeaderMirrorColorTo(clRed); }, 0, true },
        { "glyph", [&] { s.SetUpGlyph(s.DownGlyph()); }, 0, false },
    };
    for (const Case& c : cases) {
        g.ResetCounts();
        c.set();
        EXPECT_EQ(g.Repaints, c.repaints) << c.name;
        EXPECT_EQ(RowRepainted(g, 1), c.lastFixedRow) << c.name;
        EXPECT_EQ(g.Rects.empty(), !c.lastFixedRow) << c.name << ": nothing else";
    }
}

TEST(ExGridSort, RemoveForgetsTheSortAndRepaintsTheLastFixedRowIfAny)
{
    TGridOnForm<TCountingGrid> f(5, 8, 300, 200);
    TCountingGrid& g = *f.Grid;
    TSortSettings s(&g);
    for (int fixedRows : { 2, 0 }) {
        g.SetFixedRows(fixedRows);
        s.Column = 3;
        g.SortIndexes()->LoadFromString("u1;d2");
        g.ResetCounts();
        s.Remove();
        EXPECT_EQ(s.Column, -1);
        EXPECT_EQ(g.SortIndexes()->Count(), 0);
        EXPECT_EQ(RowRepainted(g, fixedRows - 1), fixedRows > 0) << fixedRows << " fixed rows";
        EXPECT_EQ(g.Rects.size(), fixedRows > 0 ? 1u : 0u) << fixedRows << " fixed rows";
    }
}

TEST(ExGridSort, SaveToStringWritesDirectionAndColumnOrTheIndexList)
{
    TCountingGrid grid;
    TSortSettings s(&grid);
    EXPECT_EQ(s.SaveToString(), "u-1");
    s.Column = 3;
    s.Direction = TSortDirection::sdDescending;
    EXPECT_EQ(s.SaveToString(), "d3");
    s.IndexShow = true;
    EXPECT_EQ(s.SaveToString(), "i;");
    grid.SortIndexes()->AddIndex(2, true);
    grid.SortIndexes()->AddIndex(0, false);
    EXPECT_EQ(s.SaveToString(), "i;u2;d0");
}

TEST(ExGridSort, SavedTextRestoresTheSortStateAndSorts)
{
    TCountingGrid grid;
    grid.SetColCount(5);
    for (bool index : { false, true }) {
        TSortSettings saved(&grid);
        saved.Column = 3;
        saved.Direction = TSortDirection::sdDescending;
        saved.IndexShow = index;
        grid.SortIndexes()->LoadFromString("u2;d0");
        const QString text = saved.SaveToString();
        grid.SortIndexes()->Clear();
        grid.ResetCounts();

        TSortSettings restored(&grid);
        restored.LoadFromString(text);
        EXPECT_TRUE(restored.Show()) << text.toStdString();
        EXPECT_EQ(restored.IndexShow, index);
        EXPECT_EQ(grid.Sorts, index ? 0 : 1);
        EXPECT_EQ(grid.IndexedSorts, index ? 1 : 0);
        if (index)
            EXPECT_EQ(grid.SortIndexes()->SaveToString(), "u2;d0");
        else
            EXPECT_EQ(restored.SaveToString(), "d3");
    }
}

// Each text is loaded into settings that start with Column 1, the index list
// "u4", and every mix of Direction and IndexShow: -1 in the table means the
// value is kept. The grid has five columns.
TEST(ExGridSort, LoadFromStringCasesKeepTheLetterTestsAndSortOnlyColumnsInTheGrid)
{
    struct Case {
        const char* text;
        bool raises;
        bool show;
        int indexShow;
        int ascending;
        int column;
        int sorts;
        int indexedSorts;
        QString indexes;
    };
    const Case cases[] = {
        { "", false, false, -1, -1, 1, 0, 0, "u4" },
        { "u", true, true, -1, -1, 1, 0, 0, "u4" },
        { "i;", false, true, 1, -1, 1, 0, 0, "u4" },
        { "xu5", false, true, 0, 1, 1, 0, 0, "u4" },
        { "D2", false, true, 0, 0, 2, 1, 0, "u4" },
        { "U2", false, true, 0, 0, 2, 1, 0, "u4" },
        { "d3", false, true, 0, 0, 3, 1, 0, "u4" },
        { "u0", false, true, 0, 1, 0, 1, 0, "u4" },
        // Index sorting wherever "i;" stands; the list reads what follows the
        // first two characters.
        { "u1i;d2", false, true, 1, -1, 1, 0, 1, "d2" },
        { "i;d3;u0", false, true, 1, -1, 1, 0, 1, "d3;u0" },
        // Not a decimal number: nothing sorts and the column stays.
        { "dx", false, true, 0, 0, 1, 0, 0, "u4" },
        { "u$3", false, true, 0, 1, 1, 0, 0, "u4" },
        { "ux3", false, true, 0, 1, 1, 0, 0, "u4" },
        { "u 3", false, true, 0, 1, 1, 0, 0, "u4" },
        { "u3 ", false, true, 0, 1, 1, 0, 0, "u4" },
        { "u99999999999", false, true, 0, 1, 1, 0, 0, "u4" },
        // As saved when no column is sorted.
        { "u-1", false, true, 0, 1, -1, 0, 0, "u4" },
        // Columns outside the grid sort nothing.
        { "u5", false, true, 0, 1, 1, 0, 0, "u4" },
        { "d-7", false, true, 0, 0, 1, 0, 0, "u4" },
        { "i;u1;d7;u3", false, true, 1, -1, 1, 0, 1, "u1;u3" },
        { "i;d9", false, true, 1, -1, 1, 0, 0, "" },
        { "i;;;", false, true, 1, -1, 1, 0, 0, "" },
    };
    TCountingGrid grid;
    grid.SetColCount(5);
    for (const Case& c : cases)
        for (bool startAscending : { false, true })
            for (bool startIndexShow : { false, true }) {
                const std::string name = std::string("\"") + c.text + "\" from "
                    + (startAscending ? "ascending" : "descending") + (startIndexShow ? ", index" : "");
                TSortSettings s(&grid);
                s.Column = 1;
                s.Direction = startAscending ? TSortDirection::sdAscending : TSortDirection::sdDescending;
                s.IndexShow = startIndexShow;
                grid.SortIndexes()->LoadFromString("u4");
                grid.ResetCounts();

                bool raised = false;
                try {
                    s.LoadFromString(QString::fromLatin1(c.text));
                } catch (const EExGridError& e) {
                    raised = true;
                    EXPECT_EQ(e.Message(), "Invalid sort settings specifier") << name;
                }
                EXPECT_EQ(raised, c.raises) << name;
                EXPECT_EQ(s.Show(), c.show) << name;
                EXPECT_EQ(s.IndexShow, c.indexShow < 0 ? startIndexShow : bool(c.indexShow)) << name;
                const bool ascending = s.Direction == TSortDirection::sdAscending;
                EXPECT_EQ(ascending, c.ascending < 0 ? startAscending : bool(c.ascending)) << name;
                EXPECT_EQ(s.Column, c.column) << name;
                EXPECT_EQ(grid.Sorts, c.sorts) << name;
                EXPECT_EQ(grid.IndexedSorts, c.indexedSorts) << name;
                EXPECT_EQ(grid.SortIndexes()->SaveToString(), c.indexes) << name;
            }
}

} // namespace
