// Following the Office colour scheme, the per-cell mouse cursor, the row
// height of expand cells and the filter glyph of column headers.

#include "controls/base/ExStyleIF.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/Registry.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QWidget>

namespace {

class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::DoExpandClick;
    using TExStringGrid::DoGetCellCursor;
    using TExStringGrid::TExStringGrid;
};

using Grid = TGridOnForm<TProbeGrid>;

// No Office keys: the scheme comes from the visual style's colour name.
class TSchemeScope {
public:
    TSchemeScope() { TRegistry::SetStorageFile(testutil::TempDir() + QStringLiteral("/theme-registry.ini")); }
    ~TSchemeScope() { TRegistry::SetStorageFile(QString()); }
    void Set(const char* ColorName) { PlatformInfo().ThemeColorName = QString::fromLatin1(ColorName); }

private:
    TPlatformInfoScope FFacts { PlatformInfo() };
};

} // namespace

TEST(ExGridTheme, AutoThemeAdaptFollowsTheSchemeOnLoadSwitchAndThemeMessages)
{
    TSchemeScope scheme;
    scheme.Set("Metallic");
    {
        TExStringGrid loaded(nullptr);
        loaded.SetAutoThemeAdapt(true);
        loaded.Loaded();
        EXPECT_EQ(loaded.ComponentStyle(), TVRKStyle::tsOffice2003Silver) << "loading follows the scheme";
    }
    Grid f(3, 3, 200, 80);
    TProbeGrid* g = f.Grid;
    const TVRKStyle before = g->ComponentStyle();
    g->Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(g->ComponentStyle(), before) << "off: a theme change is ignored";
    g->SetAutoThemeAdapt(true);
    EXPECT_EQ(g->ComponentStyle(), TVRKStyle::tsOffice2003Silver);
    EXPECT_EQ(g->OldOfficeTheme(), TOfficeTheme::ot2003Silver);
    struct Step {
        const char* Name;
        UINT Msg;
        TVRKStyle Expected;
    } steps[] = {
        { "HomeStead", WM_THEMECHANGED, TVRKStyle::tsOffice2003Olive },
        { "NormalColor", WM_OFFICETHEMECHANGE, TVRKStyle::tsOffice2003Blue },
    };
    for (const Step& s : steps) {
        scheme.Set(s.Name);
        g->Perform(s.Msg, 0, 0);
        EXPECT_EQ(g->ComponentStyle(), s.Expected) << s.Name;
    }
    g->SetAutoThemeAdapt(false);
    scheme.Set("Metallic");
    g->Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(g->ComponentStyle(), TVRKStyle::tsOffice2003Blue);
}

TEST(ExGridTheme, CellCursorShowsAtOnceAndLeavesTheGridCursor)
{
    Grid f(3, 3, 200, 80);
    TProbeGrid* g = f.Grid;
    g->DoGetCellCursor(1, 1, 5, 5); // no handler: nothing changes
    EXPECT_FALSE(g->Widget()->testAttribute(Qt::WA_SetCursor));
    g->OnGetCellCursor = [](TObject*, int ACol, int ARow, int, int, TCursor& C) {
        if (ACol == 1 && ARow == 1)
            C = crHandPoint;
    };
    g->DoGetCellCursor(1, 1, 5, 5);
    EXPECT_EQ(g->Widget()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(g->Cursor(), crDefault);
    g->DoGetCellCursor(2, 1, 5, 5);
    EXPECT_FALSE(g->Widget()->testAttribute(Qt::WA_SetCursor)) << "the grid's own cursor again";
}

TEST(ExGridTheme, ExpandClickSizesTheRow)
{
    Grid f(3, 4, 200, 120);
    TProbeGrid* g = f.Grid;
    const int normal = g->RowHeights(2);
    g->AddExpand(1, 2, 57);
    bool seen = false;
    g->OnExpandClick = [&](TObject*, int, int, bool) { seen = true; };
    g->DoExpandClick(1, 2, true);
    EXPECT_TRUE(seen);
    EXPECT_EQ(g->RowHeights(2), 57);
    g->DoExpandClick(1, 2, false);
    EXPECT_EQ(g->RowHeights(2), normal);
}

TEST(ExGridTheme, FilterGlyphOnlyInTheFilterRowOfColumnsWithValues)
{
    Grid f(3, 4, 200, 100);
    TProbeGrid* g = f.Grid;
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetHideFocusRect(true);
    g->SetCells(1, 1, "a");
    const QImage plain = g->PaintToImage();
    g->SetFilterDropDownAuto(true);
    const QImage glyph = g->PaintToImage();
    // Only the right 16 pixels of the scrollable headers change.
    for (int c = 0; c < 3; ++c) {
        const TRect r = g->CellRect(c, 0);
        const TRect strip(r.Right - 18, r.Top, r.Right, r.Bottom);
        EXPECT_EQ(glyph.copy(strip.Left, strip.Top, strip.Width(), strip.Height())
                == plain.copy(strip.Left, strip.Top, strip.Width(), strip.Height()),
            c == 0)
            << c;
        EXPECT_EQ(glyph.copy(r.Left, r.Top, r.Width() - 18, r.Height()),
            plain.copy(r.Left, r.Top, r.Width() - 18, r.Height()))
            << c;
    }
    const TRect body = g->CellRect(1, 1);
    EXPECT_EQ(glyph.copy(body.Left, body.Top, body.Width(), 40), plain.copy(body.Left, body.Top, body.Width(), 40));
    // Without collected values only the handler's answer counts.
    g->SetFilterDropDownAuto(false);
    g->OnGetColumnFilter = [](TObject*, int ACol, TStringList* L) {
        if (ACol == 2)
            L->Add(QStringLiteral("x"));
    };
    const QImage handler = g->PaintToImage();
    const TRect h1 = g->CellRect(1, 0), h2 = g->CellRect(2, 0);
    EXPECT_EQ(handler.copy(h1.Left, 0, h1.Width(), h1.Height()), plain.copy(h1.Left, 0, h1.Width(), h1.Height()));
    EXPECT_EQ(handler.copy(h2.Left, 0, h2.Width(), h2.Height()), glyph.copy(h2.Left, 0, h2.Width(), h2.Height()));
}
