// The string grid's construction, defaults, loading and life cycle.

#include <gtest/gtest.h>

#include "common/GridOnForm.h"
#include "common/TestUtil.h"
#include "controls/base/ExObjWindows.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBar.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/PlatformInfo.h"

namespace {

TEST(ExGridLife, NewGridDefaults)
{
    TExStringGrid g(nullptr);
    EXPECT_EQ(g.RowCount(), 10);
    EXPECT_EQ(g.ColCount(), 5); // the toolkit grid's own count
    EXPECT_EQ(g.Width(), 400);
    EXPECT_EQ(g.Height(), 250);
    EXPECT_EQ(g.DefaultRowHeight(), 22);
    EXPECT_EQ(g.FixedRowHeight(), 22);
    EXPECT_EQ(g.FloatingFooter()->Height(), 22); // one default row high
    EXPECT_EQ(g.CheckTrue(), "Y");
    EXPECT_EQ(g.CheckFalse(), "N");
    EXPECT_EQ(g.FloatFormat(), "%.2f");
    EXPECT_EQ(g.FilterDropDownClear(), "(All)");
    EXPECT_EQ(g.PasswordChar(), u'*');
    EXPECT_EQ(g.Delimiter(), u'\0');
    EXPECT_EQ(g.XMLEncoding(), "ISO-8859-1");
    EXPECT_TRUE(g.ShowNullDates());
    EXPECT_TRUE(g.QuoteEmptyCells());
    EXPECT_TRUE(g.EnableHTML());
    EXPECT_FALSE(g.AutoSize());
    EXPECT_EQ(g.Look(), TGridLook::glXP);
    EXPECT_EQ(g.SelectionColor(), TColor(0xEACAB6));
    EXPECT_EQ(g.SelectionColorMixerFactor(), 50);
    EXPECT_EQ(g.ActiveCellColor(), TColor(0x808080));
    EXPECT_EQ(g.HintColor(), clInfoBk);
    EXPECT_EQ(g.URLColor(), TColor(0xFF0000));
    EXPECT_EQ(g.VRKGradientFrom(), TColor(0xFFFFFF));
    EXPECT_EQ(g.VRKGradientTo(), ColorToRGB(clBtnFace));
    EXPECT_EQ(g.VRKGradientMirrorFrom(), clNone);
    EXPECT_EQ(g.XYOffset(), TPoint(2, 2));
    EXPECT_EQ(g.GroupColumn(), -1);
    EXPECT_EQ(g.FilterCol(), -1);
    EXPECT_EQ(g.ScrollBars(), ssBoth);
    EXPECT_EQ(g.ScrollType(), TScrollType::ssNormal);
    EXPECT_EQ(g.ScrollColor(), clNone);
    EXPECT_EQ(g.DefaultEditor(), TEditorType::edNormal);
    EXPECT_EQ(g.InvalidEntryIcon(), TInvalidEntryIcon::ieWarning);
    EXPECT_EQ(g.PreviewPage(), 1);
    EXPECT_EQ(g.FixedFont()->Name(), "Tahoma");
    EXPECT_TRUE(g.FixedFont()->Style().testFlag(TFontStyle::fsBold));
    EXPECT_TRUE(g.ActiveCellFont()->Style().testFlag(TFontStyle::fsBold));
    EXPECT_TRUE(g.FilterList()->Sorted());
    EXPECT_EQ(g.FilterList()->Duplicates(), dupIgnore);
    EXPECT_EQ(GridLinkCursor(), crHandPoint);
    // A grid made at run time has its focus frame and arrows, and the XP style.
    ASSERT_NE(g.FocusWindow(), nullptr);
    for (int d = 0; d < 4; ++d) {
        ASSERT_NE(g.ArrowWindow(TArrowDirection(d)), nullptr);
        EXPECT_FALSE(g.ArrowWindow(TArrowDirection(d))->Visible());
    }
    EXPECT_EQ(g.ComponentStyle(), TVRKStyle::tsWindowsXP);
    for (TControl* c : std::initializer_list<TControl*> { g.TransEdit(), g.TransCombo(), g.ControlEditor(),
             g.ControlComboEditor(), g.CellScrollBar(), g.PaintScrollBar() }) {
        ASSERT_NE(c, nullptr);
        EXPECT_FALSE(c->Visible());
    }
    EXPECT_EQ(g.ControlLook()->ControlStyle(), TGridControlStyle::csTheme);
}

TEST(ExGridLife, BorderColourAndScrollWidthFollowTheSystem)
{
    struct Case {
        bool xp;
        TColor border;
    } cases[] = { { true, TColor(0xB99D7F) }, { false, TColor(0x808080) } };
    for (const Case& c : cases) {
        TPlatformInfo facts;
        facts.WinXPOrLater = c.xp;
        facts.VScrollBarWidth = c.xp ? 21 : 15;
        TPlatformInfoScope scope(facts);
        TExStringGrid g(nullptr);
        EXPECT_EQ(g.BorderColor(), c.border) << c.xp;
        EXPECT_EQ(g.ScrollWidth(), facts.VScrollBarWidth);
    }
}

TEST(ExGridLife, DesignedGridMakesNoRunTimeWindows)
{
    TForm form(nullptr);
    form.SetDesigning(true);
    auto* g = new TExStringGrid(&form);
    EXPECT_TRUE(g->IsDesigning());
    EXPECT_EQ(g->FocusWindow(), nullptr);
    EXPECT_EQ(g->ArrowWindow(TArrowDirection::arrUp), nullptr);
    EXPECT_EQ(g->TransEdit(), nullptr);
    EXPECT_EQ(g->ControlEditor(), nullptr);
    EXPECT_EQ(g->CellScrollBar(), nullptr);
    EXPECT_EQ(g->ActiveCellFont()->Name(), "Tahoma");
    // The first component style stays.
    EXPECT_EQ(g->ComponentStyle(), TVRKStyle::tsOffice2003Blue);
    // No hook on the designed form's resize event.
    EXPECT_FALSE(static_cast<bool>(form.OnResize));
}

TEST(ExGridLife, OwnerFormResizeHandlerKeepsRunningAndComesBack)
{
    TForm form(nullptr);
    int ownRuns = 0;
    form.OnResize = [&](TObject*) { ++ownRuns; };
    auto* g = new TExStringGrid(&form);
    EXPECT_TRUE(g->HasOwnerFormResize());
    form.SetBounds(0, 0, 300, 200); // resizing runs the grid's handler, which runs the form's
    EXPECT_EQ(ownRuns, 1);
    delete g;
    ownRuns = 0;
    form.SetBounds(0, 0, 320, 220); // the form's own handler again
    EXPECT_EQ(ownRuns, 1);
}

TEST(ExGridLife, IntegralHeightKeepsWholeRows)
{
    TExStringGrid g(nullptr);
    g.SetColCount(2); // all columns in view: no horizontal bar
    g.SetIntegralHeight(true);
    g.SetBorderStyle(bsSingle);
    g.SetBounds(0, 0, 400, 100);
    EXPECT_EQ(g.Height(), 92); // 100 + 2 - (98 mod 22)
    g.SetBorderStyle(bsNone);
    g.SetBounds(0, 0, 400, 100);
    EXPECT_EQ(g.Height(), 88); // 100 - (100 mod 22)
    g.BeginUpdate();
    g.SetBounds(0, 0, 400, 100);
    EXPECT_EQ(g.Height(), 100); // not while updates are held
    g.EndUpdate();
}

TEST(ExGridLife, ScrollBarAlwaysKeepsADisabledBarForWhatFits)
{
    TGridOnForm<TExStringGrid> f(3, 4, 300, 200);
    f.Grid->SetScrollBarAlways(TScrollBarAlways::saVert);
    EXPECT_TRUE(f.Grid->ScrollBarShowing(SB_VERT));
    EXPECT_FALSE(f.Grid->ScrollBarEnabled(SB_VERT));
    EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_HORZ));
    // More rows than fit: the bar scrolls again.
    f.Grid->SetRowCount(200);
    f.Grid->UpdateScrollBars(false);
    EXPECT_TRUE(f.Grid->ScrollBarShowing(SB_VERT));
    EXPECT_TRUE(f.Grid->ScrollBarEnabled(SB_VERT));
}

TEST(ExGridLife, LoadedRecordsMinimumsAndTakesAlwaysShowEditorIntoNavigation)
{
    TExStringGrid g(nullptr);
    g.SetOptions(g.Options() | goAlwaysShowEditor);
    g.ColumnHeaders()->Add(QStringLiteral("A"));
    g.ColumnHeaders()->Add(QStringLiteral("B"));
    g.Loaded();
    EXPECT_TRUE(g.Navigation()->AlwaysEdit);
    EXPECT_FALSE(g.Options() & goAlwaysShowEditor);
    EXPECT_EQ(g.Cells(0, 0), "A");
    EXPECT_EQ(g.Cells(1, 0), "B");
}

TEST(ExGridLife, LoadedOnAnOldSystemDrawsThemedControlsClassic)
{
    TPlatformInfo facts;
    facts.WinXPOrLater = false;
    TPlatformInfoScope scope(facts);
    TExStringGrid g(nullptr);
    g.Loaded();
    EXPECT_EQ(g.ControlLook()->ControlStyle(), TGridControlStyle::csClassic);
}

TEST(ExGridLife, GridDestroyedHoldingCellPropertiesRunsClean)
{
    auto* g = new TExStringGrid(nullptr);
    g->SetColCount(4);
    g->GetCellProperties(2, 3)->SetBrushColor(clRed);
    g->MergeCells(0, 0, 2, 2);
    // A hidden column and a hidden row keep their cells' properties.
    g->GetCellProperties(3, 1)->SetBrushColor(clBlue);
    g->HideColumn(3);
    g->GetCellProperties(1, 5)->SetBrushColor(clBlue);
    g->HideRow(5);
    // A hidden row's record holds its cells' properties.
    auto* item = static_cast<TGridItem*>(g->GridItems()->Add());
    item->Items()->AddObject(QStringLiteral("hidden"), new TCellProperties(g, 0, 4));
    delete g; // the sanitizer reports anything left behind
}

} // namespace

namespace {

TEST(ExGridLife, AssignCopiesSettingsDimensionsAndCells)
{
    TExStringGrid src(nullptr);
    src.SetColCount(4);
    src.SetRowCount(6);
    src.SetColWidths(2, 91);
    src.SetRowHeights(3, 33);
    src.SetCells(1, 1, QStringLiteral("one"));
    src.SetCells(3, 5, QStringLiteral("last"));
    src.SetCheckTrue(QStringLiteral("yes")); // not among what Assign copies
    src.SetInvalidEntryTitle(QStringLiteral("Bad"));
    src.SortSettings()->Column = 2;
    src.CellNode()->SetNodeIndent(20);
    src.SetScrollBarAlways(TScrollBarAlways::saBoth);

    TExStringGrid dst(nullptr);
    dst.Assign(&src);
    EXPECT_EQ(dst.ColCount(), 4);
    EXPECT_EQ(dst.RowCount(), 6);
    EXPECT_EQ(dst.ColWidths(2), 91);
    EXPECT_EQ(dst.RowHeights(3), 33);
    EXPECT_EQ(dst.Cells(1, 1), "one");
    EXPECT_EQ(dst.Cells(3, 5), "last");
    EXPECT_EQ(dst.InvalidEntryTitle(), "Bad");
    EXPECT_EQ(dst.SortSettings()->Column, 2);
    EXPECT_EQ(dst.CellNode()->NodeIndent(), 20);
    EXPECT_EQ(dst.ScrollBarAlways(), TScrollBarAlways::saBoth);
    EXPECT_EQ(dst.CheckTrue(), "Y");

    // Anything but a string grid changes nothing.
    TFont font;
    dst.Assign(&font);
    EXPECT_EQ(dst.Cells(1, 1), "one");
}

} // namespace

namespace {

// Reaches the life cycle's protected state.
struct TLifeGrid : TExStringGrid {
    using TExStringGrid::FCellButtonPushed;
    using TExStringGrid::FClickCol;
    using TExStringGrid::FClickRow;
    using TExStringGrid::FClipTopLeft;
    using TExStringGrid::FComboIdx;
    using TExStringGrid::FDesignHelperChoice;
    using TExStringGrid::FHoverFixedCell;
    using TExStringGrid::FHoverLinkCol;
    using TExStringGrid::FHoverLinkRow;
    using TExStringGrid::FLastHintPos;
    using TExStringGrid::FLastTabCol;
    using TExStringGrid::FLastTabRow;
    using TExStringGrid::FMouseSelectStart;
    using TExStringGrid::FOldLeftCol;
    using TExStringGrid::FOldRowSel;
    using TExStringGrid::FOldSize;
    using TExStringGrid::FOldTopRow;
    using TExStringGrid::FOleDragCol;
    using TExStringGrid::FOrigColSizes;
    using TExStringGrid::FShowScrollHint;
    using TExStringGrid::TExStringGrid;
};

TEST(ExGridLife, ConstructorSetsEveryListedDefault)
{
    TPlatformInfo facts;
    facts.VScrollBarWidth = 19;
    TPlatformInfoScope scope(facts);
    TLifeGrid g(nullptr);
    struct Row {
        const char* name;
        qint64 actual, expected;
    };
    const Row rows[] = {
        { "RowCount", g.RowCount(), 10 },
        { "Width", g.Width(), 400 },
        { "Height", g.Height(), 250 },
        { "DefaultRowHeight", g.DefaultRowHeight(), 22 },
        { "FixedRowHeight", g.FixedRowHeight(), 22 },
        { "AutoSize", g.AutoSize(), false },
        { "MinRowHeight", g.MinRowHeight(), 0 },
        { "MaxRowHeight", g.MaxRowHeight(), 0 },
        { "MinColWidth", g.MinColWidth(), 0 },
        { "MaxColWidth", g.MaxColWidth(), 0 },
        { "ZoomFactor", g.ZoomFactor(), 0 },
        { "IntelliZoom", g.IntelliZoom(), true },
        { "SizeGrowOnly", g.SizeGrowOnly(), false },
        { "Look", qint64(g.Look()), qint64(TGridLook::glXP) },
        { "BorderColor", g.BorderColor(), 0xB99D7F },
        { "VRKGradientFrom", g.VRKGradientFrom(), 0xFFFFFF },
        { "VRKGradientTo", g.VRKGradientTo(), ColorToRGB(clBtnFace) },
        { "VRKGradientMirrorFrom", g.VRKGradientMirrorFrom(), clNone },
        { "VRKGradientMirrorTo", g.VRKGradientMirrorTo(), clNone },
        { "SelectionColor", g.SelectionColor(), 0xEACAB6 },
        { "SelectionColorTo", g.SelectionColorTo(), clNone },
        { "SelectionMirrorColor", g.SelectionMirrorColor(), clNone },
        { "SelectionMirrorColorTo", g.SelectionMirrorColorTo(), clNone },
        { "SelectionTextColor", g.SelectionTextColor(), 0 },
        { "SelectionColorMixerFactor", g.SelectionColorMixerFactor(), 50 },
        { "SelectionRectangleColor", g.SelectionRectangleColor(), 0 },
        { "ShowSelection", g.ShowSelection(), true },
        { "HideFocusRect", g.HideFocusRect(), false },
        { "FixedAsButtons", g.FixedAsButtons(), false },
        { "HintColor", g.HintColor(), TColorOf(0xFF000018) },
        { "HighlightColor", g.HighlightColor(), TColorOf(0xFF00000D) },
        { "HighlightTextColor", g.HighlightTextColor(), TColorOf(0xFF00000E) },
        { "URLColor", g.URLColor(), 0xFF0000 },
        { "ActiveCellColor", g.ActiveCellColor(), 0x808080 },
        { "ActiveCellColorTo", g.ActiveCellColorTo(), clNone },
        { "DisabledFontColor", g.DisabledFontColor(), 0xC0C0C0 },
        { "UseDisabledFont", g.UseDisabledFont(), true },
        { "VAlignment", qint64(g.VAlignment()), qint64(TVAlignment::vtaTop) },
        { "DefaultAlignment", qint64(g.DefaultAlignment()), qint64(taLeftJustify) },
        { "EnableHTML", g.EnableHTML(), true },
        { "HoverFixedCells", qint64(g.HoverFixedCells()), qint64(THoverFixedCells::hfNone) },
        { "ShowDesignHelper", g.ShowDesignHelper(), true },
        { "Tones.Background.BrushColor", g.ColorTones().Background.BrushColor, clNone },
        { "Tones.Background.BorderColor", g.ColorTones().Background.BorderColor, clNone },
        { "ScrollBars", qint64(g.ScrollBars()), qint64(ssBoth) },
        { "ScrollType", qint64(g.ScrollType()), qint64(TScrollType::ssNormal) },
        { "ScrollColor", g.ScrollColor(), clNone },
        { "ScrollWidth", g.ScrollWidth(), 19 },
        { "DefaultEditor", qint64(g.DefaultEditor()), qint64(TEditorType::edNormal) },
        { "PasswordChar", g.PasswordChar(), u'*' },
        { "Delimiter", g.Delimiter(), 0 },
        { "JavaCSV", g.JavaCSV(), false },
        { "AlwaysQuotes", g.AlwaysQuotes(), false },
        { "QuoteEmptyCells", g.QuoteEmptyCells(), true },
        { "ShowNullDates", g.ShowNullDates(), true },
        { "FilterDropDownColumns", qint64(g.FilterDropDownColumns()), qint64(TFilterDropDownColumns::fdNormal) },
        { "FilterNormalCellsOnly", g.FilterNormalCellsOnly(), true },
        { "AutoFilterUpdate", g.AutoFilterUpdate(), true },
        { "FilterIncremental", g.FilterIncremental(), false },
        { "FilterLevel", g.FilterLevel(), 0 },
        { "FilterCol", g.FilterCol(), -1 },
        { "UseInternalHintClass", g.UseInternalHintClass(), true },
        { "HintShowLargeTextPos", qint64(g.HintShowLargeTextPos()), qint64(THintShowLargeTextPos::hpCell) },
        { "InvalidEntryIcon", qint64(g.InvalidEntryIcon()), qint64(TInvalidEntryIcon::ieWarning) },
        { "scroll hint shown", g.FShowScrollHint, false },
        { "EnableWheel", g.EnableWheel(), true },
        { "EnhRowColMove", g.EnhRowColMove(), true },
        { "FitCellsInGrid", g.FitCellsInGrid(), true },
        { "LoadFirstRow", g.LoadFirstRow(), true },
        { "SaveFixedCells", g.SaveFixedCells(), true },
        { "SaveVirtCells", g.SaveVirtCells(), true },
        { "SaveWithHTML", g.SaveWithHTML(), true },
        { "SaveFixedRows", g.SaveFixedRows(), false },
        { "SaveFixedCols", g.SaveFixedCols(), false },
        { "SaveHiddenCells", g.SaveHiddenCells(), false },
        { "ClearTextOnly", g.ClearTextOnly(), false },
        { "GroupColumn", g.GroupColumn(), -1 },
        { "PrinterDriverFix", g.PrinterDriverFix(), false },
        { "ExcelClipboardFormat", g.ExcelClipboardFormat(), false },
        { "PreviewPage", g.PreviewPage(), 1 },
        { "PrintNrOfPages", g.PrintNrOfPages(), 0 },
        { "IsThemed", g.IsThemed(), true },
        { "NumHiddenColumns", g.NumHiddenColumns(), 0 },
        { "last tab col", g.FLastTabCol, -1 },
        { "last tab row", g.FLastTabRow, -1 },
        { "hover link col", g.FHoverLinkCol, -1 },
        { "hover link row", g.FHoverLinkRow, -1 },
        { "OLE drag col", g.FOleDragCol, -1 },
        { "click col", g.FClickCol, -1 },
        { "click row", g.FClickRow, -1 },
        { "combo index", g.FComboIdx, -1 },
        { "mouse select start", g.FMouseSelectStart, -1 },
        { "old row selection", g.FOldRowSel, -1 },
        { "design helper choice", g.FDesignHelperChoice, -1 },
        { "OldOfficeTheme", qint64(g.OldOfficeTheme()), qint64(TOfficeTheme::otUnknown) },
        { "old left col", g.FOldLeftCol, g.LeftCol() },
        { "old top row", g.FOldTopRow, g.TopRow() },
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.actual, r.expected) << r.name;
    for (const TPoint& p : { g.XYOffset() })
        EXPECT_EQ(p, TPoint(2, 2));
    for (const TPoint& p : { g.FHoverFixedCell, g.FCellButtonPushed, g.FClipTopLeft, g.FLastHintPos })
        EXPECT_EQ(p, TPoint(-1, -1));
    const std::pair<QString, QString> texts[] = {
        { g.FloatFormat(), "%.2f" },
        { g.CheckTrue(), "Y" },
        { g.CheckFalse(), "N" },
        { g.XMLEncoding(), "ISO-8859-1" },
        { g.FilterDropDownClear(), "(All)" },
    };
    for (const auto& [actual, expected] : texts)
        EXPECT_EQ(actual, expected);
    // Every column is shown: hiding and showing work from the first use.
    EXPECT_FALSE(g.IsHiddenColumn(0));
    EXPECT_FALSE(g.IsHiddenColumn(4));
}

// A column-size store in an INI file of a fresh folder.
struct TColSizeStore {
    QString dir = testutil::TempDir();
    QString file = dir + "/sizes.ini";
    void Use(TExStringGrid& g, const QString& path)
    {
        g.ColumnSize()->Save = true;
        g.ColumnSize()->Key = path;
        g.ColumnSize()->Section = QStringLiteral("Grid");
        g.ColumnSize()->Location = TColumnSizeLocation::clIniFile;
    }
};

TEST(ExGridLife, DestroyingWithAnUnwritableColumnSizeStoreRaisesNothing)
{
    TColSizeStore store;
    auto* g = new TExStringGrid(nullptr);
    store.Use(*g, store.dir + "/missing/folder/sizes.ini");
    EXPECT_ANY_THROW(g->SaveColSizes()); // the save itself fails
    EXPECT_NO_THROW(delete g);
}

TEST(ExGridLife, ColumnSizesAreSavedAtDestructionAndLoadedWhenLoadedOrParented)
{
    TColSizeStore store;
    {
        TExStringGrid g(nullptr);
        store.Use(g, store.file);
        g.SetColWidths(1, 77);
        g.SetColWidths(3, 12);
    }
    // Loaded takes the stored widths.
    {
        TExStringGrid g(nullptr);
        store.Use(g, store.file);
        g.BeginLoading();
        g.EndLoading();
        EXPECT_EQ(g.ColWidths(1), 77);
        EXPECT_EQ(g.ColWidths(3), 12);
        EXPECT_EQ(g.ColWidths(0), g.DefaultColWidth());
    }
    // So does the window's creation.
    TForm form(nullptr);
    auto* g = new TExStringGrid(&form);
    store.Use(*g, store.file);
    g->SetParent(&form);
    form.Show();
    EXPECT_TRUE(g->HandleAllocated());
    EXPECT_EQ(g->ColWidths(1), 77);
    // Without a section nothing is read.
    TExStringGrid other(nullptr);
    store.Use(other, store.file);
    other.ColumnSize()->Section.clear();
    other.LoadColSizes();
    EXPECT_EQ(other.ColWidths(1), other.DefaultColWidth());
}

TEST(ExGridLife, LoadedSetsUpColumnOrderSizingBaseAndBalloons)
{
    TLifeGrid g(nullptr);
    g.BeginLoading();
    g.SetColCount(4);
    g.SetColWidths(2, 90);
    g.Balloon()->SetEnable(true);
    EXPECT_FALSE(g.Balloon()->FInit); // nothing is set up while loading
    g.SetLook(TGridLook::glVRK);
    g.EndLoading();
    EXPECT_EQ(g.Look(), TGridLook::glVRK);
    ASSERT_EQ(g.ColumnOrder()->Count(), 4);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(g.ColumnOrder()->GetInteger(c), c);
    ASSERT_EQ(g.FOrigColSizes->Count(), 4);
    EXPECT_EQ(g.FOrigColSizes->GetInteger(2), 90);
    EXPECT_EQ(g.FOldSize, g.Width());
    EXPECT_TRUE(g.Balloon()->FInit);
    // Switching balloons off and on again releases and sets them up.
    g.Balloon()->SetEnable(false);
    EXPECT_FALSE(g.Balloon()->FInit);
    g.Balloon()->SetEnable(true);
    EXPECT_TRUE(g.Balloon()->FInit);
}

} // namespace
