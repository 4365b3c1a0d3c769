// The string grid's construction, defaults, loading and life cycle.

#include <gtest/gtest.h>

#include "common/GridOnForm.h"
#include "controls/base/ExObjWindows.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/Forms.h"
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
