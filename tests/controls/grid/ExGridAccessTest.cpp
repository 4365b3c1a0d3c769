#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Graphics.h"
#include "tests/common/GridOnForm.h"

namespace {

// Records the blocks of displayed cells invalidated, and reaches the hooks
// the toolkit grid calls.
class TAccessGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    void InvalidateGridRect(const TGridRect& r) override
    {
        Invalidated.push_back(r);
        TExStringGrid::InvalidateGridRect(r);
    }
    bool WasInvalidated(int ACol, int ARow) const
    {
        for (const TGridRect& r : Invalidated)
            if (ACol >= r.Left && ACol <= r.Right && ARow >= r.Top && ARow <= r.Bottom)
                return true;
        return false;
    }
    QString EditText(int ACol, int ARow) { return HandleGetEditText(ACol, ARow); }
    TGridState SizingStateAt(int X, int Y)
    {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        TGridState state = gsNormal;
        int index = 0, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs, info);
        return state;
    }
    TCursor OldCursor() const { return FOldCursor; }
    TIntList* SortRowXRef() const { return FSortRowXRef.get(); }
    TIntList* ColOrder() const { return FColumnOrder.get(); }
    std::vector<TGridRect> Invalidated;
};

std::unique_ptr<TAccessGrid> MakeGrid(int cols, int rows)
{
    auto g = std::make_unique<TAccessGrid>(nullptr);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    return g;
}

// Column c of row r holds "c:r" (real rows, before anything is hidden).
void FillNamed(TExStringGrid& g)
{
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.TotalColCount(); ++c)
            g.SetCellEx(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
}

} // namespace

// ---------------------------------------------------------------------------
// Index spaces

TEST(ExGridAccess, WriteRightOfHiddenColumnsRepaintsWhereTheCellIsShown)
{
    TGridOnForm<TAccessGrid> f(6, 5, 400, 200);
    TAccessGrid& g = *f.Grid;
    g.HideColumns(1, 2);
    g.Invalidated.clear();
    g.SetAllCells(3, 2, QStringLiteral("x"));
    EXPECT_EQ(g.GetGridCell(3, 2), QStringLiteral("x"));
    EXPECT_EQ(g.DisplColIndex(3), 1);
    EXPECT_TRUE(g.WasInvalidated(1, 2));
    // Raw writes repaint the shown place too.
    g.Invalidated.clear();
    g.SetAllGridCells(4, 3, QStringLiteral("y"));
    EXPECT_EQ(g.GetGridCell(4, 3), QStringLiteral("y"));
    EXPECT_TRUE(g.WasInvalidated(2, 3));
}

// A text, look, merge or split right of hidden columns repaints where the
// cell shows (all of its area when merged), not the shown column of the same
// number.
TEST(ExGridAccess, CellWritesRepaintTheShownPlace)
{
    struct Case {
        const char* name;
        std::function<void(TAccessGrid&)> write; // into real column 4, row 2
        int left, right; // shown columns repainted
    };
    const Case cases[] = {
        { "plain cell", [](TAccessGrid& g) { g.SetCellEx(4, 2, "x"); }, 2, 2 },
        { "cell with properties",
            [](TAccessGrid& g) {
                g.SetFontColors(4, 2, clRed);
                g.Invalidated.clear();
                g.SetCellEx(4, 2, "x");
            },
            2, 2 },
        { "covered cell",
            [](TAccessGrid& g) {
                g.MergeCells(3, 2, 2, 1);
                g.Invalidated.clear();
                g.SetCellEx(4, 2, "x");
            },
            1, 2 },
        { "look set on the properties", [](TAccessGrid& g) { g.GetCellProperties(4, 2)->SetBrushColor(clRed); }, 2, 2 },
        { "merge", [](TAccessGrid& g) { g.MergeCells(3, 2, 2, 1); }, 1, 2 },
        { "split",
            [](TAccessGrid& g) {
                g.MergeCells(3, 2, 2, 1);
                g.Invalidated.clear();
                g.SplitCells(4, 2);
            },
            1, 2 },
        { "row merge",
            [](TAccessGrid& g) {
                g.SetCellEx(3, 2, "same");
                g.SetCellEx(4, 2, "same");
                g.Invalidated.clear();
                g.MergeRowCells(2, true);
            },
            1, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGridOnForm<TAccessGrid> f(7, 5, 400, 200);
        TAccessGrid& g = *f.Grid;
        g.HideColumns(1, 2);
        g.Invalidated.clear();
        c.write(g);
        for (int d = c.left; d <= c.right; ++d)
            EXPECT_TRUE(g.WasInvalidated(d, 2)) << d;
    }
}

TEST(ExGridAccess, RealRowsReachHiddenRowsKeptCells)
{
    auto g = MakeGrid(3, 10);
    FillNamed(*g);
    g->HideRow(5);

    EXPECT_EQ(g->AllCells(0, 5), QStringLiteral("0:5"));
    EXPECT_EQ(g->GetCellEx(0, 5), QStringLiteral("0:6"));
    EXPECT_EQ(g->AllCells(0, 6), QStringLiteral("0:6"));
    EXPECT_EQ(g->AllGridCells(2, 5), QStringLiteral("2:5"));
    EXPECT_EQ(g->AllCells(-1, 5), QString());
    EXPECT_EQ(g->AllCells(0, -1), QString());

    // The display hook sees the hidden row's real index.
    g->OnGetDisplText = [](TObject*, int c, int r, QString& v) { v += QStringLiteral("@%1,%2").arg(c).arg(r); };
    EXPECT_EQ(g->AllCells(1, 5), QStringLiteral("1:5@1,5"));
    EXPECT_EQ(g->AllGridCells(1, 5), QStringLiteral("1:5"));
    g->OnGetDisplText = nullptr;

    // A write stays with the row and comes back with it.
    g->SetAllCells(1, 5, QStringLiteral("kept"));
    EXPECT_EQ(g->GetCellEx(1, 5), QStringLiteral("1:6"));
    g->UnHideRow(5);
    EXPECT_EQ(g->GetCellEx(1, 5), QStringLiteral("kept"));
}

TEST(ExGridAccess, HiddenRowKeptTextsGrowAndReadEmptyBeyondTheirEnd)
{
    auto g = MakeGrid(3, 8);
    FillNamed(*g);
    g->HideRow(4);
    g->SetColCount(9);
    ASSERT_EQ(g->HiddenRowItems(4)->Texts.size(), 3u);

    // Beyond the kept texts: empty, never a read past the list.
    EXPECT_EQ(g->AllCells(6, 4), QString());
    EXPECT_EQ(g->AllGridCells(6, 4), QString());
    EXPECT_EQ(g->AllWideCells(6, 4), QString());

    struct Case {
        bool raw;
        int col;
        std::size_t size;
    } cases[] = { { false, 7, 8 }, { true, 8, 9 } };
    for (const Case& k : cases) {
        if (k.raw)
            g->SetAllGridCells(k.col, 4, QStringLiteral("x"));
        else
            g->SetAllCells(k.col, 4, QStringLiteral("x"));
        const std::vector<QString>& texts = g->HiddenRowItems(4)->Texts;
        ASSERT_EQ(texts.size(), k.size) << k.col;
        EXPECT_EQ(texts[std::size_t(k.col)], QStringLiteral("x"));
        for (int c = 3; c < 7; ++c)
            EXPECT_EQ(texts[std::size_t(c)], QString()) << c;
    }
    EXPECT_EQ(g->HiddenRowItems(3), nullptr);
}

TEST(ExGridAccess, ObjectsByRealRowFollowTheKeptCellProperties)
{
    auto g = MakeGrid(4, 8);
    g->SetObjectEx(1, 3, 0x1234);
    g->SetColors(2, 3, clRed);
    g->HideRow(3);

    EXPECT_EQ(g->AllObjects(1, 3), quintptr(0x1234));
    EXPECT_NE(dynamic_cast<TCellProperties*>(g->GetGridObjectsEx(1, 3)), nullptr);
    EXPECT_EQ(g->GetGridObjectsEx(0, 3), nullptr);
    EXPECT_EQ(g->GetGridObjectsEx(40, 3), nullptr);
    EXPECT_EQ(g->RealRowCellObject(2, 3), g->GetGridObjectsEx(2, 3));

    // Into kept properties, and into a cell that had none.
    g->SetAllObjects(1, 3, 0x55);
    g->SetAllObjects(0, 3, 0x66);
    EXPECT_EQ(g->AllObjects(1, 3), quintptr(0x55));
    EXPECT_EQ(g->AllObjects(0, 3), quintptr(0x66));
    g->UnHideRow(3);
    EXPECT_EQ(g->GetObjectEx(1, 3), quintptr(0x55));
    EXPECT_EQ(g->GetObjectEx(0, 3), quintptr(0x66));
    EXPECT_EQ(g->Colors(2, 3), clRed);

    // Shown rows: the real row maps to the displayed one.
    g->HideRow(1);
    g->SetAllObjects(0, 5, 0x77);
    EXPECT_EQ(g->GetObjectEx(0, 4), quintptr(0x77));
    EXPECT_EQ(g->AllObjects(0, 5), quintptr(0x77));
}

TEST(ExGridAccess, SortedAndUnsortedRows)
{
    auto g = MakeGrid(2, 6);
    FillNamed(*g);
    EXPECT_EQ(g->UnSortedRowIndex(4), 4);
    EXPECT_EQ(g->SortedRowIndex(4), 4);

    // Rows 0..3 sorted: at k stands the row that was at xref[k].
    for (int u : { 2, 0, 3, 1 })
        g->SortRowXRef()->Add(u);
    struct Case {
        int u, index, cellRow;
    } cases[] = {
        { 0, 1, 1 }, { 3, 2, 2 }, { 9, 4, 9 }, // beyond the list: unsorted cells take the row itself
        { 4, 4, 4 }, // equal to the count: searched, absent
    };
    for (const Case& k : cases)
        EXPECT_EQ(g->UnSortedRowIndex(k.u), k.index) << k.u;
    EXPECT_EQ(g->UnSortedCells(1, 0), QStringLiteral("1:1"));
    EXPECT_EQ(g->UnSortedCells(1, 4), QStringLiteral("1:4"));
    g->SetUnSortedCells(0, 3, QStringLiteral("u3"));
    EXPECT_EQ(g->GetCellEx(0, 2), QStringLiteral("u3"));
    EXPECT_EQ(g->SortedRowIndex(0), 2);
    g->HideRow(1);
    EXPECT_EQ(g->SortedRowIndex(0), 3);
}

TEST(ExGridAccess, OriginalCellsFollowMovedColumns)
{
    auto g = MakeGrid(4, 3);
    FillNamed(*g);
    EXPECT_EQ(g->OriginalCells(1, 1), QStringLiteral("1:1"));
    g->MoveColumn(1, 3);
    EXPECT_EQ(g->GetCellEx(3, 1), QStringLiteral("1:1"));
    EXPECT_EQ(g->OriginalCells(1, 1), QStringLiteral("1:1"));
    EXPECT_EQ(g->OriginalCells(3, 1), QStringLiteral("3:1"));
    g->SetOriginalCells(1, 2, QStringLiteral("o"));
    EXPECT_EQ(g->GetCellEx(3, 2), QStringLiteral("o"));
}

TEST(ExGridAccess, TextViews)
{
    auto g = MakeGrid(3, 3);
    g->SetCellEx(1, 1, QStringLiteral("<B>a</B><BR>b\rc"));
    EXPECT_EQ(g->StrippedCells(1, 1), QStringLiteral("a\r\nb\rc"));
    EXPECT_EQ(g->LinesInCell(1, 1), 2);
    g->SetWideCells(2, 1, QStringLiteral("\u03a9"));
    EXPECT_EQ(g->WideCells(2, 1), QStringLiteral("\u03a9"));
    g->SetGridCell(2, 2, QStringLiteral("|\\") + QChar(0x03) + QChar(0xA9));
    EXPECT_EQ(g->WideCells(2, 2), QStringLiteral("\u03a9"));
    EXPECT_EQ(g->AllWideCells(2, 2), QStringLiteral("\u03a9"));
}

// ---------------------------------------------------------------------------
// Per-cell looks

TEST(ExGridAccess, LookReadersCreateNothingWordWrapsDoes)
{
    auto g = MakeGrid(3, 3);
    EXPECT_EQ(g->Colors(1, 1), clNone);
    EXPECT_EQ(g->ColorsTo(1, 1), clNone);
    EXPECT_EQ(g->Gradients(1, 1), TCellGradientDirection::GradientVertical);
    EXPECT_FALSE(g->ReadOnly(1, 1));
    EXPECT_EQ(g->FontColors(1, 1), clNone);
    EXPECT_EQ(g->FontStyles(1, 1), TFontStyles());
    EXPECT_EQ(g->FontSizes(1, 1), 0);
    EXPECT_EQ(g->FontNames(1, 1), QString());
    EXPECT_EQ(g->Alignments(1, 1), taLeftJustify);
    EXPECT_EQ(g->Fonts(1, 1), g->Font());
    EXPECT_EQ(g->CellControls(1, 1), nullptr);
    EXPECT_FALSE(g->HasCellProperties(1, 1));

    EXPECT_EQ(g->WordWraps(1, 1), g->WordWrap());
    EXPECT_TRUE(g->HasCellProperties(1, 1));
}

TEST(ExGridAccess, LookWritersStoreAndRepaintTheShownCell)
{
    TGridOnForm<TAccessGrid> f(6, 4, 400, 200);
    TAccessGrid& g = *f.Grid;
    g.HideColumn(1);
    const QString kName = QStringLiteral("Courier New");
    struct Case {
        const char* name;
        std::function<void()> write;
        std::function<bool()> stored;
    } cases[] = {
        { "Colors", [&] { g.SetColors(3, 2, clRed); }, [&] { return g.Colors(3, 2) == clRed; } },
        { "ColorsTo", [&] { g.SetColorsTo(3, 2, clBlue); }, [&] { return g.ColorsTo(3, 2) == clBlue; } },
        { "Gradients", [&] { g.SetGradients(3, 2, TCellGradientDirection::GradientHorizontal); },
            [&] { return g.Gradients(3, 2) == TCellGradientDirection::GradientHorizontal; } },
        { "ReadOnly", [&] { g.SetReadOnly(3, 2, true); }, [&] { return g.ReadOnly(3, 2); } },
        { "WordWraps", [&] { g.SetWordWraps(3, 2, false); }, [&] { return !g.WordWraps(3, 2); } },
        { "FontColors", [&] { g.SetFontColors(3, 2, clGreen); }, [&] { return g.FontColors(3, 2) == clGreen; } },
        { "FontStyles", [&] { g.SetFontStyles(3, 2, TFontStyles(TFontStyle::fsItalic)); },
            [&] { return g.FontStyles(3, 2) == TFontStyles(TFontStyle::fsItalic); } },
        { "FontSizes", [&] { g.SetFontSizes(3, 2, 14); }, [&] { return g.FontSizes(3, 2) == 14; } },
        { "FontNames", [&] { g.SetFontNames(3, 2, kName); }, [&] { return g.FontNames(3, 2) == kName; } },
        { "Alignments", [&] { g.SetAlignments(3, 2, taRightJustify); },
            [&] { return g.Alignments(3, 2) == taRightJustify; } },
    };
    for (const Case& k : cases) {
        g.Invalidated.clear();
        k.write();
        EXPECT_TRUE(k.stored()) << k.name;
        EXPECT_TRUE(g.WasInvalidated(2, 2)) << k.name;
    }
    // Fonts: the scratch font, the same object on every read.
    TFont* font = g.Fonts(3, 2);
    EXPECT_NE(font, g.Font());
    EXPECT_EQ(font->Size(), 14);
    EXPECT_EQ(font->Name(), kName);
    EXPECT_EQ(font->Color(), clGreen);
    EXPECT_EQ(g.Fonts(4, 2), g.Font());
    TFont other;
    other.SetName(QStringLiteral("Arial"));
    other.SetSize(9);
    g.SetFonts(4, 2, &other);
    EXPECT_EQ(g.Fonts(4, 2), font);
    EXPECT_EQ(font->Size(), 9);
    EXPECT_EQ(g.FontNames(4, 2), QStringLiteral("Arial"));
    // Colours wait for the end of an update.
    g.BeginUpdate();
    g.Invalidated.clear();
    g.SetColors(5, 1, clRed);
    EXPECT_FALSE(g.WasInvalidated(4, 1));
    g.EndUpdate();
}

TEST(ExGridAccess, CellControlsCountAndPlacement)
{
    TGridOnForm<TAccessGrid> f(4, 6, 400, 200);
    TAccessGrid& g = *f.Grid;
    auto* edit = new TEdit(f.Form);
    g.SetCellControls(2, 3, edit);
    EXPECT_EQ(g.NumCellControls(), 1);
    EXPECT_EQ(g.CellControls(2, 3), edit);
    EXPECT_EQ(edit->Parent(), &g);
    const TRect cell = g.CellRect(2, 3);
    EXPECT_EQ(edit->Left(), cell.Left - 1);
    EXPECT_EQ(edit->Top(), cell.Top - 1);
    EXPECT_EQ(edit->Width(), cell.Width() + 1);
    EXPECT_EQ(edit->Height(), cell.Height() + 1);
    ASSERT_EQ(g.ControlList()->Count(), 1);

    // The same cell again: one entry, one count.
    auto* other = new TEdit(f.Form);
    g.SetCellControls(2, 3, other);
    EXPECT_EQ(g.NumCellControls(), 1);
    ASSERT_EQ(g.ControlList()->Count(), 1);
    EXPECT_EQ(g.ControlList()->GetControl(0)->Control(), other);

    // The list holds the real row.
    g.HideRow(1);
    g.SetCellControls(1, 3, edit);
    EXPECT_EQ(g.ControlList()->ControlIndex(1, 4), 1);
    EXPECT_EQ(g.NumCellControls(), 2);

    g.SetCellControls(1, 3, nullptr);
    EXPECT_EQ(g.NumCellControls(), 1);
    g.SetCellControls(1, 3, nullptr);
    EXPECT_EQ(g.NumCellControls(), 1);
    EXPECT_EQ(g.ControlList()->Count(), 1);
    EXPECT_TRUE(edit->Visible());
}

TEST(ExGridAccess, RowColoursAndTheirClearing)
{
    TGridOnForm<TAccessGrid> f(5, 6, 400, 200);
    TAccessGrid& g = *f.Grid;
    g.HideColumn(4);

    // Every cell from FixedCols on, hidden columns included.
    g.Invalidated.clear();
    g.SetRowColor(2, clYellow);
    EXPECT_EQ(g.Colors(0, 2), clNone);
    for (int c = 1; c < 5; ++c)
        EXPECT_EQ(g.Colors(c, 2), clYellow) << c;
    EXPECT_TRUE(g.WasInvalidated(3, 2));
    g.SetRowColorTo(2, clBlue);
    EXPECT_EQ(g.ColorsTo(4, 2), clBlue);
    g.SetRowFontColor(2, clRed);
    EXPECT_EQ(g.FontColors(4, 2), clRed);

    // clNone on plain cells frees their properties: a merged area comes
    // apart, a placed control leaves the list.
    g.MergeCells(1, 3, 2, 1);
    auto* edit = new TEdit(f.Form);
    g.SetCellControls(3, 3, edit);
    ASSERT_EQ(g.NumCellControls(), 1);
    g.SetRowColor(3, clNone);
    EXPECT_FALSE(g.IsMergedCell(1, 3));
    EXPECT_FALSE(g.HasCellProperties(2, 3));
    EXPECT_EQ(g.NumCellControls(), 0);
    EXPECT_EQ(g.ControlList()->Count(), 0);

    // RowColorTo clNone frees every cell's properties.
    g.SetRowColorTo(2, clNone);
    EXPECT_FALSE(g.HasCellProperties(1, 2));

    // RowFontColor clNone keeps cells with a background colour.
    g.SetColors(1, 4, clAqua);
    g.SetFontColors(1, 4, clGreen);
    g.SetFontColors(2, 4, clGreen);
    g.SetColors(2, 4, clNone);
    g.SetCellControls(2, 4, edit);
    g.SetRowFontColor(4, clNone);
    EXPECT_EQ(g.FontColors(1, 4), clGreen);
    EXPECT_FALSE(g.HasCellProperties(2, 4));
    EXPECT_EQ(g.NumCellControls(), 0);
    EXPECT_EQ(g.ControlList()->Count(), 0);
}

// ---------------------------------------------------------------------------
// The current cell and the edit-text hooks

TEST(ExGridAccess, CurrentCellOnAMergedArea)
{
    auto g = MakeGrid(5, 5);
    g->OnGetDisplText = [](TObject*, int, int, QString& v) { v = v.toUpper(); };
    g->SetGridCell(1, 1, QStringLiteral("base"));
    g->MergeCells(1, 1, 2, 2);
    g->SetCol(2);
    g->SetRow(2);
    EXPECT_EQ(g->CurrentCell(), QStringLiteral("base"));
    EXPECT_EQ(g->GetCurrentWideCell(), QStringLiteral("BASE"));
    g->SetCurrentCell(QStringLiteral("new"));
    EXPECT_EQ(g->GetGridCell(1, 1), QStringLiteral("new"));
    EXPECT_EQ(g->GetGridCell(2, 2), QString());
}

TEST(ExGridAccess, EditTextLandsInTheRealColumnsBaseCell)
{
    auto g = MakeGrid(6, 5);
    g->HideColumn(1);
    // Displayed column 2 is real column 3, inside the area based at (2, 1).
    g->MergeCells(2, 1, 2, 2);
    g->SetCol(2);
    g->SetRow(2);
    g->SetCurrentWideCell(QStringLiteral("v"));
    EXPECT_EQ(g->GetGridCell(2, 1), QStringLiteral("v"));
    EXPECT_EQ(g->GetGridCell(3, 1), QString());
    EXPECT_EQ(g->EditText(2, 2), QStringLiteral("v"));

    g->SetGridCell(4, 3, QStringLiteral("<B>bold</B>"));
    g->FNoEditChange = false;
    EXPECT_EQ(g->EditText(3, 3), QStringLiteral("bold"));
    EXPECT_TRUE(g->FNoEditChange);
    g->SetEditWithTags(true);
    EXPECT_EQ(g->EditText(3, 3), QStringLiteral("<B>bold</B>"));
}

// ---------------------------------------------------------------------------
// Grid-wide accessors

TEST(ExGridAccess, ZoomStepsAndBounds)
{
    auto g = MakeGrid(4, 1000000);
    g->SetDefaultColWidth(20);
    g->SetColWidths(1, 4);
    g->SetColWidths(2, 0);
    g->SetRowHeights(3, 30);

    g->Zoom(-5);
    EXPECT_EQ(g->ZoomFactor(), -5);
    EXPECT_EQ(g->ColWidths(0), 15);
    EXPECT_EQ(g->ColWidths(1), 4);
    EXPECT_EQ(g->ColWidths(2), 0);
    EXPECT_EQ(g->RowHeights(3), 25);
    EXPECT_EQ(g->RowHeights(999999), 17);

    g->SetZoomFactor(9);
    g->Zoom(3);
    EXPECT_EQ(g->ZoomFactor(), 9);
    EXPECT_EQ(g->ColWidths(0), 15);
    g->Zoom(1);
    EXPECT_EQ(g->ZoomFactor(), 10);
    EXPECT_EQ(g->ColWidths(1), 5);
    g->SetZoomFactor(-9);
    g->Zoom(-2);
    EXPECT_EQ(g->ZoomFactor(), -9);
}

TEST(ExGridAccess, AllCountsAndWidthsCountHiddenColumnsAndRows)
{
    auto g = MakeGrid(5, 10);
    g->SetColWidths(2, 33);
    g->HideColumn(2);
    g->HideRows(3, 4);
    EXPECT_EQ(g->AllColCount(), 5);
    EXPECT_EQ(g->AllRowCount(), 10);
    EXPECT_EQ(g->AllColWidths(2), 33);
    EXPECT_EQ(g->AllColWidths(3), g->ColWidths(2));
    g->SetAllColWidths(2, 40);
    g->SetAllColWidths(3, 41);
    EXPECT_EQ(g->ColWidths(2), 41);
    g->UnHideColumn(2);
    EXPECT_EQ(g->ColWidths(2), 40);
}

TEST(ExGridAccess, SmallSettings)
{
    TGridOnForm<TAccessGrid> f(4, 20, 300, 200);
    TAccessGrid& g = *f.Grid;

    g.SetCursor(crHandPoint);
    EXPECT_EQ(g.Cursor(), crHandPoint);
    EXPECT_EQ(g.OldCursor(), crHandPoint);

    TFocusHelper helper;
    helper.Enabled = true;
    g.SetFocusHelper(&helper);
    EXPECT_TRUE(g.FocusHelper()->Enabled);
    EXPECT_NE(g.FocusHelper(), &helper);

    // The height fits whole rows once the flag is set.
    g.SetBounds(0, 0, 300, 100 + g.DefaultRowHeight() / 2);
    const int loose = g.Height();
    g.SetIntegralHeight(true);
    EXPECT_NE(g.Height(), loose);
    g.SetIntegralHeight(false);

    // Mark-up hints are the whole application's.
    const THintWindowClass before = HintWindowClass();
    g.SetUseHTMLHints(true);
    EXPECT_TRUE(g.UseHTMLHints());
    {
        std::unique_ptr<THintWindow> w(HintWindowClass()(nullptr));
        EXPECT_NE(dynamic_cast<THTMLHintWindow*>(w.get()), nullptr);
    }
    g.SetUseHTMLHints(false);
    {
        std::unique_ptr<THintWindow> w(HintWindowClass()(nullptr));
        EXPECT_EQ(dynamic_cast<THTMLHintWindow*>(w.get()), nullptr);
    }
    SetHintWindowClass(before);
}

TEST(ExGridAccess, SizingRefusedByTheEvents)
{
    TGridOnForm<TAccessGrid> f(4, 6, 300, 200);
    TAccessGrid& g = *f.Grid;
    g.SetOptions(g.Options() | goColSizing | goRowSizing);
    // The border between the fixed row's cells 1 and 2, and between the
    // fixed column's rows 1 and 2.
    const TRect c1 = g.CellRect(1, 0);
    const TRect r1 = g.CellRect(0, 1);
    const int colX = c1.Right, colY = c1.Top + 5;
    const int rowX = r1.Left + 5, rowY = r1.Bottom;
    ASSERT_EQ(g.SizingStateAt(colX, colY), gsColSizing);
    ASSERT_EQ(g.SizingStateAt(rowX, rowY), gsRowSizing);

    int askedCol = -1, askedRow = -1;
    g.OnColumnSize = [&](TObject*, int c, bool& allow) {
        askedCol = c;
        allow = false;
    };
    g.OnRowSize = [&](TObject*, int r, bool& allow) {
        askedRow = r;
        allow = false;
    };
    EXPECT_EQ(g.SizingStateAt(colX, colY), gsNormal);
    EXPECT_EQ(askedCol, 1);
    EXPECT_EQ(g.SizingStateAt(rowX, rowY), gsNormal);
    EXPECT_EQ(askedRow, 1);
}

namespace {

// Paints the wheel-pan marker over the grid, as wheel panning does.
class TPanGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    bool Marker = false;

protected:
    void Paint() override
    {
        TExStringGrid::Paint();
        if (Marker)
            DrawIntelliPanMarker();
    }
};

} // namespace

TEST(ExGridAccess, WheelPanMarkerIsDrawnTransparentlyAtItsPlace)
{
    TGridOnForm<TPanGrid> f(4, 6, 300, 200);
    TPanGrid& g = *f.Grid;
    g.wheelpanpos = TPoint(80, 60);
    const QImage plain = g.PaintToImage();
    struct Case {
        TIntelliPan pan;
        bool vertical, horizontal;
    } cases[] = {
        { TIntelliPan::ipVertical, true, false },
        { TIntelliPan::ipHorizontal, false, true },
        { TIntelliPan::ipBoth, true, true },
        { TIntelliPan::ipNone, false, false },
    };
    for (const Case& k : cases) {
        g.SetIntelliPan(k.pan);
        g.Marker = true;
        const QImage marked = g.PaintToImage();
        g.Marker = false;
        const int x = g.wheelpanpos.X, y = g.wheelpanpos.Y;
        // The corner is the marker's background: the grid shows through.
        EXPECT_EQ(marked.pixel(x, y), plain.pixel(x, y)) << int(k.pan);
        const bool drawn = k.pan != TIntelliPan::ipNone;
        EXPECT_EQ(marked.pixel(x + 14, y + 14) == qRgb(0, 0, 0), drawn) << int(k.pan);
        EXPECT_EQ(marked.pixel(x + 15, y + 8) == qRgb(0, 0, 0), k.vertical) << int(k.pan);
        EXPECT_EQ(marked.pixel(x + 8, y + 15) == qRgb(0, 0, 0), k.horizontal) << int(k.pan);
    }
}

// ---------------------------------------------------------------------------
// Text changes

TEST(ExGridAccess, AutoRangeScrollBarFollowsTheCellText)
{
    TGridOnForm<TExStringGrid> f(4, 4, 300, 200);
    TExStringGrid& g = *f.Grid;
    g.SetRowHeights(1, 37);
    g.AddScrollBar(1, 1, true);
    g.AddScrollBar(2, 1, false);
    // The bar sits on the base cell of a merged area; writes reach it from any covered cell.
    g.MergeCells(3, 1, 1, 2);
    g.AddScrollBar(3, 1, true);
    const int lineHeight = g.Canvas()->TextHeight(QStringLiteral("Xy"));

    int last = 0;
    for (int lines : { 1, 3, 6 }) {
        const QString text = QStringList(lines, QStringLiteral("x")).join(QLatin1Char('\n'));
        g.SetCellEx(1, 1, text);
        const TScrollProp p = g.GetScrollProp(1, 1);
        EXPECT_EQ(p.PageSize, 37) << lines;
        EXPECT_GE(p.Range, lines * lineHeight) << lines;
        EXPECT_GT(p.Range, last) << lines;
        last = p.Range;

        g.SetCellEx(3, 2, text);
        EXPECT_EQ(g.GetScrollProp(3, 1).Range, p.Range) << lines;

        // A bar with a fixed range keeps it.
        g.SetCellEx(2, 1, text);
        EXPECT_EQ(g.GetScrollProp(2, 1).PageSize, 0);
        EXPECT_EQ(g.GetScrollProp(2, 1).Range, 100);
    }
    g.SetCellEx(1, 1, QString());
    EXPECT_LT(g.GetScrollProp(1, 1).Range, last);
}

TEST(ExGridAccess, PlainCellWriteCreatesNoCellProperties)
{
    auto g = MakeGrid(3, 3);
    g->SetCellEx(1, 1, QStringLiteral("a\nb\nc"));
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("a\nb\nc"));
    EXPECT_FALSE(g->HasCellProperties(1, 1));
}
