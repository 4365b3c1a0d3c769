// The base grid's cell painter (merged areas once per pass, selection boxes,
// lines, hover and active rows, the hidden last row) and the keys and wheel
// that keep the cursor on base cells.
#include <gtest/gtest.h>

#include <QImage>
#include <map>

#include "common/TestUtil.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "tests/controls/base/BaseGridTestFixture.h"

namespace {

// Takes the look of cells with properties and logs the content painted.
class TPaintGrid : public TTestBaseGrid {
public:
    using TTestBaseGrid::TTestBaseGrid;
    std::map<std::pair<int, int>, int> Contents;
    std::map<std::pair<int, int>, TRect> ContentRects;

protected:
    void GetVisualProperties(int ACol, int ARow, TGridDrawState&, bool, bool, bool, TBrush* ABrush, TColor& AColorTo,
        TColor&, TColor&, TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection& GD) override
    {
        if (!HasCellProperties(ACol, ARow))
            return;
        const TCellProperties* p = GetCellProperties(ACol, ARow);
        ABrush->SetColor(p->BrushColor());
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }
    void PaintGridCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override
    {
        ++Contents[{ ACol, ARow }];
        ContentRects[{ ACol, ARow }] = ARect;
        TTestBaseGrid::PaintGridCell(ACanvas, ACol, ARow, ARect, AState);
    }
};

// A grid of 404 x 124 pixels: 8 columns and 6 rows show whole.
struct PaintFixture : TGridOnForm<TPaintGrid> {
    explicit PaintFixture(int cols = 8, int rows = 6)
        : TGridOnForm<TPaintGrid>(cols, rows, 404, 124)
    {
        Grid->SetOptions(Grid->Options() | goRangeSelect);
    }
};

TColor At(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

TColor Rgb(TColor c)
{
    return ColorToRGB(c);
}

TEST(BaseGridPaint, AreaWithItsBaseScrolledOutPaintsOncePerPass)
{
    PaintFixture f(8, 40);
    TPaintGrid* g = f.Grid;
    g->SetCellEx(2, 3, QStringLiteral("area"));
    g->MergeCells(2, 3, 3, 2);
    g->SetTopRow(4); // row 3, the base, is above the view
    g->Contents.clear();
    g->PaintToImage();
    EXPECT_EQ((g->Contents[{ 2, 3 }]), 1);
    for (int c = 2; c <= 4; ++c)
        EXPECT_EQ((g->Contents.count({ c, 4 })), 0u);
    g->PaintToImage();
    EXPECT_EQ((g->Contents[{ 2, 3 }]), 2); // once in each pass
    // Painted over the whole area: the text sits in the middle of it,
    // half a row above the visible row.
    const TRect a = g->CellRect(3, 4);
    EXPECT_EQ(a.Top, 20 - 20);
    EXPECT_EQ(a.Height(), 40);
}

TEST(BaseGridPaint, CellReachingUnderFixedCellsKeepsTheCallersClip)
{
    PaintFixture f(8, 40);
    TPaintGrid* g = f.Grid;
    g->MergeCells(2, 3, 3, 2);
    g->SetTopRow(4);
    ASSERT_LT(g->CellRect(2, 4).Top, 20); // the area reaches under the fixed row
    TBitmap bmp(200, 100);
    TCanvas* c = bmp.Canvas();
    const TRect clip = Rect(10, 10, 150, 90);
    c->SelectClipRect(&clip);
    g->PaintCell(c, 2, 3, g->CellRect(2, 3), {});
    EXPECT_TRUE(c->HasClip());
    EXPECT_EQ(c->ClipRect(), clip);
    c->SelectClipRect(nullptr);
    g->PaintCell(c, 2, 3, g->CellRect(2, 3), {});
    EXPECT_FALSE(c->HasClip());
}

// The corner cell painted as a drag image's background.
TEST(BaseGridPaint, BackgroundOnlyPaintsTheActiveColoursWithoutContent)
{
    PaintFixture f;
    TPaintGrid* g = f.Grid;
    g->SetActiveRowColor(TColor(0x10A0F0));
    g->GetCellProperties(0, 0)->SetBrushColor(TColor(0x406080));
    g->SetCellEx(0, 0, QStringLiteral("text"));
    g->Contents.clear();
    TBitmap bmp(60, 30);
    const TRect r = Rect(0, 0, 50, 20);
    g->PaintCellExt(bmp.Canvas(), 0, 0, r, TGridDrawState(gdSelected));
    EXPECT_EQ(bmp.Canvas()->Pixels(10, 10), TColor(0x10A0F0));
    g->PaintCellExt(bmp.Canvas(), 0, 0, r, TGridDrawState(gdFixed));
    EXPECT_EQ(bmp.Canvas()->Pixels(10, 10), TColor(0x406080));
    EXPECT_EQ(g->Contents.count({ 0, 0 }), 0u);
}

TEST(BaseGridPaint, SelectionBoxEndsAndColours)
{
    PaintFixture f;
    TPaintGrid* g = f.Grid;
    g->SetSelectionStyle(TGridSelectionStyle::ssVista);
    g->SetSelection({ 2, 2, 4, 2 });
    struct Probe {
        int col;
        bool leftRounded, rightRounded;
    };
    const Probe probes[] = { { 2, true, false }, { 3, false, false }, { 4, false, true } };
    auto check = [&](const QImage& img, TColor border, TColor corner) {
        for (const Probe& p : probes) {
            SCOPED_TRACE(p.col);
            const TRect r = g->CellRect(p.col, 2);
            const int mid = (r.Left + r.Right) / 2;
            EXPECT_EQ(At(img, mid, r.Top), border);
            EXPECT_EQ(At(img, r.Left, r.Top), p.leftRounded ? Rgb(g->Color()) : border);
            EXPECT_EQ(At(img, r.Left + 1, r.Top), p.leftRounded ? corner : border);
            EXPECT_EQ(At(img, r.Right - 2, r.Top), p.rightRounded ? Rgb(g->Color()) : border);
        }
    };
    check(g->PaintToImage(), TColor(0xFDDE99), TColor(0xFCEDCB));
    // A one-column selection is rounded at both ends.
    g->SetSelection({ 6, 3, 6, 3 });
    const QImage one = g->PaintToImage();
    const TRect r = g->CellRect(6, 3);
    EXPECT_EQ(At(one, r.Left, r.Top), Rgb(g->Color()));
    EXPECT_EQ(At(one, r.Right - 2, r.Top), Rgb(g->Color()));
    // Without the focus the box turns grey, unless focus-selected drawing is on.
    g->SetSelection({ 2, 2, 4, 2 });
    auto* other = new TTestBaseGrid(f.Form);
    other->SetParent(f.Form);
    other->SetBounds(0, 130, 60, 30);
    other->SetFocus();
    ASSERT_FALSE(g->Focused());
    check(g->PaintToImage(), TColor(0xD9D9D9), TColor(0xEFEFEF));
    g->SetOptions(g->Options() | goDrawFocusSelected);
    check(g->PaintToImage(), TColor(0xFDDE99), TColor(0xFCEDCB));
}

TEST(BaseGridPaint, LinesOfNormalAndFixedCellsAndTheContentInset)
{
    PaintFixture f;
    TPaintGrid* g = f.Grid;
    g->SetOptions(g->Options() | goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);
    g->SetGridLineColor(TColor(0x0000FF));
    g->SetGridFixedLineColor(TColor(0x00FF00));
    QImage img = g->PaintToImage();
    const TRect n = g->CellRect(3, 3);
    const TRect fx = g->CellRect(0, 3);
    EXPECT_EQ(At(img, n.Right - 1, n.Top + 5), TColor(0x0000FF));
    EXPECT_EQ(At(img, n.Left + 5, n.Bottom - 1), TColor(0x0000FF));
    EXPECT_EQ(At(img, n.Right - 2, n.Top + 5), Rgb(g->Color()));
    EXPECT_EQ(At(img, fx.Right - 1, fx.Top + 5), TColor(0x00FF00));
    EXPECT_EQ(At(img, fx.Left + 5, fx.Bottom - 1), TColor(0x00FF00));
    EXPECT_EQ(At(img, fx.Left + 5, fx.Top + 5), Rgb(g->FixedColor()));
    EXPECT_EQ((g->ContentRects[{ 3, 3 }]), (TRect { n.Left + 1, n.Top + 1, n.Right - 1, n.Bottom - 1 }));
    EXPECT_EQ((g->ContentRects[{ 0, 3 }]), (TRect { fx.Left, fx.Top, fx.Right - 1, fx.Bottom - 2 }));

    g->SetGridLineWidth(3);
    img = g->PaintToImage();
    // Width 3 at offset 2: the three pixels before the cell's end.
    for (int d : { 1, 2, 3 }) {
        EXPECT_EQ(At(img, n.Right - d, n.Top + 8), TColor(0x0000FF)) << d;
        EXPECT_EQ(At(img, n.Left + 8, n.Bottom - d), TColor(0x0000FF)) << d;
    }
    EXPECT_EQ(At(img, n.Right - 4, n.Top + 8), Rgb(g->Color()));
    EXPECT_EQ((g->ContentRects[{ 3, 3 }]), (TRect { n.Left + 3, n.Top + 3, n.Right - 3, n.Bottom - 3 }));
    EXPECT_EQ(At(img, fx.Right - 2, fx.Top + 8), Rgb(g->FixedColor())); // fixed lines stay 1 wide
}

TEST(BaseGridPaint, HoverActiveRowAndHiddenLastRow)
{
    PaintFixture f;
    TPaintGrid* g = f.Grid;
    g->SetFixedColor(TColor(0x303030));
    g->SetHoverRow(true);
    g->SetHoverRowColor(TColor(0x00FFFF));
    g->FHoverRowIdx = 1;
    g->SetActiveRowShow(true);
    g->SetActiveRowColor(TColor(0xFF00FF));
    g->SetCol(3);
    g->SetRow(3);
    g->FHideLastRow = true;
    g->SetCellEx(2, 5, QStringLiteral("footer"));
    const QImage img = g->PaintToImage();
    auto mid = [&](int c, int r) {
        const TRect rc = g->CellRect(c, r);
        return At(img, rc.Left + 4, rc.Top + 4);
    };
    EXPECT_EQ(mid(2, 1), TColor(0x00FFFF)); // hovered
    EXPECT_EQ(mid(0, 1), TColor(0x303030)); // fixed cells keep their colour
    EXPECT_EQ(mid(5, 3), TColor(0xFF00FF)); // the active row
    EXPECT_EQ(mid(0, 3), TColor(0x303030));
    EXPECT_EQ(mid(2, 2), Rgb(g->Color()));
    // The hidden last row: the grid's colour only, no lines, no text.
    const TRect last = g->CellRect(2, 5);
    for (int x = last.Left; x < last.Right; ++x)
        for (int y = last.Top; y < last.Bottom; ++y)
            ASSERT_EQ(At(img, x, y), Rgb(g->Color())) << x << "," << y;
    EXPECT_EQ((g->Contents.count({ 2, 5 })), 0u);
}

TEST(BaseGridPaint, GoldenPicture)
{
    PaintFixture f(8, 6);
    TPaintGrid* g = f.Grid;
    g->SetOptions(g->Options() | goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);
    for (int c = 1; c < 8; ++c)
        g->SetCellEx(c, 0, QStringLiteral("C%1").arg(c));
    for (int r = 1; r < 6; ++r) {
        g->SetCellEx(0, r, QString::number(r));
        for (int c = 1; c < 8; ++c)
            g->SetCellEx(c, r, QStringLiteral("%1%2").arg(QChar(u'a' + c - 1)).arg(r));
    }
    g->MergeCells(5, 3, 3, 2);
    g->SetCellEx(6, 4, QStringLiteral("merged"));
    TCellProperties* area = g->GetCellProperties(5, 3);
    area->SetBrushColor(TColor(0xF0E0D0));
    area->SetBrushColorTo(TColor(0xA06030));
    TCellProperties* h = g->GetCellProperties(1, 4);
    h->SetBrushColor(TColor(0xFFFFFF));
    h->SetBrushColorTo(TColor(0x40C040));
    h->SetGradientDirection(TCellGradientDirection::GradientHorizontal);
    g->SetSelectionStyle(TGridSelectionStyle::ssVista);
    g->SetSelection({ 2, 2, 4, 2 });
    g->SetHoverRow(true);
    g->FHoverRowIdx = 1;
    g->SetActiveRowShow(true);
    g->FHideLastRow = true;
    const QImage img = g->PaintToImage();
    testutil::SaveImagePng(img, QStringLiteral("basegrid"));
    EXPECT_TRUE(testutil::MatchesGolden(img, QStringLiteral("basegrid"), 2, 30));
}

TEST(BaseGridPaint, ScrollingRepaintsMergedFixedCells)
{
    PaintFixture f(20, 6);
    TPaintGrid* g = f.Grid;
    g->MergeCells(0, 2, 1, 2); // in the fixed column
    g->SetCellEx(0, 2, QStringLiteral("group"));
    ASSERT_TRUE(testutil::PumpUntil([&] { return g->Contents.count({ 0, 2 }) > 0; }, 5000));
    g->Contents.clear();
    g->SetLeftCol(5);
    testutil::PumpUntil([&] { return g->Contents.count({ 0, 2 }) > 0; }, 2000);
    EXPECT_GT((g->Contents.count({ 0, 2 })), 0u);
    EXPECT_EQ((g->Contents.count({ 0, 4 })), 0u); // a plain fixed cell stays as it was
}

// ---------------------------------------------------------------------------
// Keys and wheel

struct NavCase {
    const char* name;
    WORD key;
    TRect area; // merge (Left, Top, Right columns, Bottom rows)
    TPoint start, end;
};

TEST(BaseGridNav, ArrowsStepOverMergedAreas)
{
    const NavCase cases[] = {
        { "Right from the base of columns 2 to 4", VK_RIGHT, { 2, 2, 3, 1 }, { 2, 2 }, { 5, 2 } },
        { "Right from a covered cell", VK_RIGHT, { 2, 2, 3, 1 }, { 3, 2 }, { 5, 2 } },
        { "Left from a covered cell lands beside", VK_LEFT, { 3, 2, 3, 1 }, { 5, 2 }, { 2, 2 } },
        { "Left from the base", VK_LEFT, { 3, 2, 3, 1 }, { 3, 2 }, { 2, 2 } },
        { "Up from a covered cell lands above", VK_UP, { 2, 3, 1, 3 }, { 2, 5 }, { 2, 2 } },
        { "Down from the base of rows 2 to 4", VK_DOWN, { 2, 2, 1, 3 }, { 2, 2 }, { 2, 5 } },
        { "Down from a covered cell", VK_DOWN, { 2, 2, 1, 3 }, { 2, 3 }, { 2, 5 } },
        { "Down onto an area goes to its base", VK_DOWN, { 2, 3, 2, 2 }, { 3, 2 }, { 2, 3 } },
    };
    for (const NavCase& k : cases) {
        SCOPED_TRACE(k.name);
        BaseGridFixture f(8, 8, 420, 200);
        TTestBaseGrid* g = f.Grid;
        g->MergeCells(k.area.Left, k.area.Top, k.area.Right, k.area.Bottom);
        g->SetCol(k.start.X);
        g->SetRow(k.start.Y);
        input::Key(g, k.key);
        EXPECT_EQ(TPoint(g->Col(), g->Row()), k.end);
    }
}

TEST(BaseGridNav, RightLandsOnTheBaseOfTheNextArea)
{
    BaseGridFixture f(8, 8, 420, 200);
    TTestBaseGrid* g = f.Grid;
    g->MergeCells(2, 2, 3, 1);
    g->MergeCells(5, 1, 2, 2);
    g->SetCol(2);
    g->SetRow(2);
    input::Key(g, VK_RIGHT);
    EXPECT_EQ(TPoint(g->Col(), g->Row()), TPoint(5, 1));
}

TEST(BaseGridNav, PageDownStopsBeforeTheHiddenLastRow)
{
    BaseGridFixture f(4, 6, 220, 124);
    TTestBaseGrid* g = f.Grid;
    g->SetRowCount(g->VisibleRowCount() + g->TopRow() - g->FixedRows() + 1);
    input::Key(g, VK_NEXT);
    EXPECT_EQ(g->Row(), g->RowCount() - 1); // shown: the toolkit's page
    g->SetRow(1);
    g->FHideLastRow = true;
    input::Key(g, VK_NEXT);
    EXPECT_EQ(g->Row(), g->RowCount() - 2);
}

TEST(BaseGridNav, WheelMovesToTheBaseCell)
{
    BaseGridFixture f(8, 10, 420, 200);
    TTestBaseGrid* g = f.Grid;
    g->MergeCells(2, 2, 2, 2);
    g->SetCol(3);
    g->SetRow(4);
    const TRect r = g->CellRect(3, 4);
    input::Wheel(g, { r.Left + 5, r.Top + 5 }, 1); // up onto the area's covered cell
    EXPECT_EQ(TPoint(g->Col(), g->Row()), TPoint(2, 2));
    g->SetCol(2);
    g->SetRow(1);
    input::Wheel(g, { r.Left + 5, r.Top + 5 }, -1); // down onto its base
    EXPECT_EQ(TPoint(g->Col(), g->Row()), TPoint(2, 2));
}

} // namespace
