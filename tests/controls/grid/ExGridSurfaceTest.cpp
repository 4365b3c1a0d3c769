// The grid's surface beyond the cells: background picture and gradient
// outside the cells, the window border, the resize lines, the translucent
// focus frame, balloon texts and date-time notifications.
#include "controls/base/ExObjWindows.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridUnit.h"
#include "platform/controls/BalloonTip.h"
#include "platform/controls/Notifications.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/runtime/DateUtils.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

using Grid = TGridOnForm<TExStringGrid>;

TColor PixelAt(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return TColor(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

// A 10 x 10 tile: a red diagonal band on white, so that every offset shows.
std::unique_ptr<TBitmap> Tile()
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(TPixelFormat::pf24bit);
    bmp->SetSize(10, 10);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 10, 10));
    for (int i = 0; i < 10; ++i) {
        c->SetPixels(i, i, TColor(0x2020D0));
        c->SetPixels((i + 1) % 10, i, TColor(0x2020D0));
        c->SetPixels(i, 9 - i, TColor(0xC08020));
    }
    return bmp;
}

// 4 x 3 cells of 50 x 20 in a 300 x 150 grid: free space right and below.
TExStringGrid* SmallCells(Grid& f)
{
    TExStringGrid* g = f.Grid;
    g->SetColor(clWhite);
    g->SetHideFocusRect(true);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            g->SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    return g;
}

TNMTTDispInfo AskBalloon(TExStringGrid* g, int ACol, int ARow)
{
    const TRect r = g->CellRect(ACol, ARow);
    SetMouseCursorPos(g->ClientToScreen(TPoint(r.Left + 5, r.Top + 5)));
    TNMTTDispInfo info;
    info.hdr.code = TTN_GETDISPINFO;
    g->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

} // namespace

// ---------------------------------------------------------------------------
// Background outside the cells

TEST(ExGridSurface, TiledAndGradientBackgroundOutsideTheCells)
{
    Grid tiled(4, 3, 300, 150);
    TExStringGrid* g = SmallCells(tiled);
    const auto tile = Tile();
    g->BackGround()->SetBitmap(tile.get());
    g->BackGround()->SetCells(TBackGroundCells::bcFixed); // keep the cells plain: only the outside shows the tiles
    g->BackGround()->SetDisplay(TBackGroundDisplay::bdTile);
    const QImage a = g->PaintToImage().convertToFormat(QImage::Format_RGB32);
    // bcFixed tiles start at the client's top-left plus XYOffset, not a pixel before.
    const QImage& t = tile->Image();
    const int glw = g->GridLineWidth();
    const int right = g->CellRect(3, 0).Right + glw, bottom = g->CellRect(0, 2).Bottom + glw;
    for (const TPoint p : { TPoint(right + 3, 7), TPoint(right + 20, 120), TPoint(15, bottom + 9), TPoint(150, 140) }) {
        const QRgb want = t.pixel((p.X - 2) % 10, (p.Y - 2) % 10);
        EXPECT_EQ(a.pixel(p.X, p.Y) & 0xFFFFFF, want & 0xFFFFFF) << p.X << "," << p.Y;
    }
    EXPECT_EQ(PixelAt(a, 120, 30), clWhite) << "the cells are not tiled";

    Grid gradient(4, 3, 300, 150);
    TExStringGrid* h = SmallCells(gradient);
    h->BackGround()->SetCells(TBackGroundCells::bcFixed);
    h->BackGround()->SetDisplay(TBackGroundDisplay::bdGradientVert);
    h->BackGround()->SetColor(TColor(0xFFFFFF));
    h->BackGround()->SetColorTo(TColor(0x803000));
    const QImage b = h->PaintToImage().convertToFormat(QImage::Format_RGB32);
    // Top to bottom: the red channel falls from 255 towards 0.
    EXPECT_GT(qRed(b.pixel(280, 10)), qRed(b.pixel(280, 100)));
    EXPECT_EQ(b.pixel(280, 100), b.pixel(10, 100)) << "one gradient over the whole client area";
    EXPECT_EQ(PixelAt(b, 120, 50), clWhite);

    QImage both(a.width() * 2 + 10, a.height(), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawImage(0, 0, a);
    p.drawImage(a.width() + 10, 0, b);
    p.end();
    testutil::SaveImagePng(both, QStringLiteral("exgrid_background_outside_cells"));
    EXPECT_TRUE(testutil::MatchesGolden(both, QStringLiteral("exgrid_background_outside_cells")));
}

TEST(ExGridSurface, NormalCellTilesStartAPixelBeforeTheFirstNormalCell)
{
    Grid f(4, 3, 300, 150);
    TExStringGrid* g = SmallCells(f);
    const auto tile = Tile();
    g->BackGround()->SetBitmap(tile.get());
    g->BackGround()->SetDisplay(TBackGroundDisplay::bdTile);
    const QImage a = g->PaintToImage().convertToFormat(QImage::Format_RGB32);
    const int glw = g->GridLineWidth();
    const TPoint start(g->ColWidths(0) + glw + 2 - 1, g->RowHeights(0) + glw + 2 - 1);
    const int right = g->CellRect(3, 0).Right + glw;
    for (const TPoint p : { TPoint(right + 4, 40), TPoint(right + 31, 133) }) {
        const QRgb want = tile->Image().pixel((p.X - start.X) % 10, (p.Y - start.Y) % 10);
        EXPECT_EQ(a.pixel(p.X, p.Y) & 0xFFFFFF, want & 0xFFFFFF) << p.X << "," << p.Y;
    }
}

TEST(ExGridSurface, BackgroundPaintsWhenEitherSideHasFreeSpace)
{
    // Rows run on beyond the view, the columns leave space on the right.
    Grid f(3, 40, 300, 150);
    TExStringGrid* g = f.Grid;
    g->SetColor(clWhite);
    g->BackGround()->SetCells(TBackGroundCells::bcFixed);
    g->BackGround()->SetDisplay(TBackGroundDisplay::bdGradientHorz);
    g->BackGround()->SetColor(TColor(0x00FF00));
    g->BackGround()->SetColorTo(TColor(0x00FF00));
    const QImage img = g->PaintToImage();
    EXPECT_EQ(PixelAt(img, 250, 60), TColor(0x00FF00));
    EXPECT_EQ(PixelAt(img, 250, 140), TColor(0x00FF00));
    // The search footer keeps the bottom 32 pixels for itself.
    g->SearchFooter()->SetVisible(true);
    const QImage withFooter = g->PaintToImage();
    EXPECT_EQ(PixelAt(withFooter, 250, 150 - 33), TColor(0x00FF00));
    EXPECT_NE(PixelAt(withFooter, 250, 150 - 31), TColor(0x00FF00));

    // Both run on: nothing is free and nothing is painted over the cells.
    Grid full(30, 40, 300, 150);
    full.Grid->SetColor(clWhite);
    full.Grid->BackGround()->SetCells(TBackGroundCells::bcFixed);
    full.Grid->BackGround()->SetDisplay(TBackGroundDisplay::bdGradientHorz);
    full.Grid->BackGround()->SetColorTo(TColor(0x00FF00));
    full.Grid->BackGround()->SetColor(TColor(0x00FF00));
    const QImage none = full.Grid->PaintToImage();
    EXPECT_EQ(PixelAt(none, 120, 60), clWhite);
}

// ---------------------------------------------------------------------------
// Window border

TEST(ExGridSurface, BorderOnlyForItsLooksWithoutFlat)
{
    struct Case {
        TGridLook look;
        bool fit, flat;
        bool inner, outer; // border colour at x = 1, at x = 0
    };
    const Case cases[] = {
        { TGridLook::glXP, true, false, true, false },
        { TGridLook::glVista, true, false, true, false },
        { TGridLook::glXP, false, false, false, true },
        { TGridLook::glStandard, true, false, false, false },
        { TGridLook::glClassic, true, false, false, false },
        { TGridLook::glXP, true, true, false, false },
    };
    for (const Case& c : cases) {
        Grid f(4, 3, 300, 150);
        TExStringGrid* g = f.Grid;
        g->SetLook(c.look);
        g->SetBorderColor(TColor(0x0000FF));
        g->SetFitCellsInGrid(c.fit);
        g->SetFlat(c.flat);
        const QImage img = g->PaintToImage();
        const int y = 40;
        EXPECT_EQ(PixelAt(img, 1, y) == TColor(0x0000FF), c.inner) << int(c.look) << c.fit << c.flat;
        EXPECT_EQ(PixelAt(img, 0, y) == TColor(0x0000FF), c.outer) << int(c.look) << c.fit << c.flat;
        EXPECT_EQ(PixelAt(img, g->Width() - 2, y) == TColor(0x0000FF), c.inner) << int(c.look);
        if (c.inner) { // the outer ring takes the parent's colour
            EXPECT_EQ(PixelAt(img, 0, y), ColorToRGB(f.Form->Color()));
        }
    }
}

// ---------------------------------------------------------------------------
// Sizing lines

TEST(ExGridSurface, SizingLineDrawnTwiceLeavesTheCanvasAsItWas)
{
    Grid f(4, 3, 300, 150);
    TExStringGrid* g = SmallCells(f);
    const QImage before = g->PaintToImage();
    for (const bool column : { true, false }) {
        for (const int times : { 1, 2 }) {
            g->OnPainted = [&](TObject*) {
                for (int i = 0; i < times; ++i)
                    column ? g->DrawColSizingLine(77) : g->DrawRowSizingLine(33);
            };
            const QImage after = g->PaintToImage();
            int changed = 0, offLine = 0;
            for (int y = 0; y < before.height(); ++y)
                for (int x = 0; x < before.width(); ++x)
                    if (before.pixel(x, y) != after.pixel(x, y)) {
                        ++changed;
                        offLine += column ? x != 77 : y != 33;
                    }
            if (times == 2) {
                EXPECT_EQ(changed, 0) << column;
            } else {
                // Dotted over the whole height (width): about every other pixel.
                EXPECT_GT(changed, (column ? before.height() : before.width()) / 3) << column;
                EXPECT_EQ(offLine, 0) << column;
            }
        }
    }
    g->OnPainted = nullptr;
}

// ---------------------------------------------------------------------------
// Focus frame

TEST(ExGridSurface, FocusFrameAroundACellIsATranslucentUnactivatedFrame)
{
    Grid f(4, 3, 300, 150);
    TExStringGrid* g = f.Grid;
    g->SetColWidths(1, 100);
    const TRect cell = g->CellRect(1, 1);
    ASSERT_EQ(cell.Width(), 100);
    ASSERT_EQ(cell.Height(), 20);
    g->ShowFocusWindow(cell);
    TGridFocusWindow* w = g->FocusWindow();
    ASSERT_TRUE(w->Visible());
    const TPoint at = g->ClientToScreen(TPoint(cell.Left, cell.Top));
    EXPECT_EQ(w->BoundsRect(), Rect(at.X - 4, at.Y - 4, at.X - 4 + 109, at.Y - 4 + 29));
    EXPECT_FALSE(w->ActivatesOnShow());
    EXPECT_EQ(w->Opacity(), 230);
    EXPECT_EQ(HookedGrid(), g);
    EXPECT_EQ(f.Form->FocusedControl(), g);

    // Shape: the frame between the outer rectangle and the cell moved by 4.
    const QRegion shape = w->WindowMask();
    for (const QPoint p :
        { QPoint(0, 0), QPoint(108, 28), QPoint(3, 14), QPoint(104, 14), QPoint(50, 3), QPoint(50, 24) })
        EXPECT_TRUE(shape.contains(p)) << p.x() << "," << p.y();
    for (const QPoint p : { QPoint(4, 4), QPoint(103, 23), QPoint(50, 14) })
        EXPECT_FALSE(shape.contains(p)) << p.x() << "," << p.y();

    // Image: premultiplied 0xFDD397 under a glow whose alpha peaks on the
    // frame line (4 pixels in) and fades outwards.
    const QImage& img = w->LayeredImage();
    ASSERT_EQ(img.size(), QSize(109, 29));
    int peak = 0;
    for (int y = 1; y < 10; ++y)
        if (qAlpha(img.pixel(50, y)) > qAlpha(img.pixel(50, peak)))
            peak = y;
    EXPECT_GE(peak, 3);
    EXPECT_LE(peak, 6);
    const QRgb onLine = img.pixel(50, peak);
    EXPECT_GT(qAlpha(onLine), 100);
    EXPECT_LT(qAlpha(img.pixel(50, 0)), qAlpha(onLine));
    EXPECT_NEAR(qBlue(onLine), 0xFD * qAlpha(onLine) / 255, 1);
    EXPECT_NEAR(qRed(onLine), 0x97 * qAlpha(onLine) / 255, 1);

    // The picture as the screen shows it over a grey desktop, the parts the
    // shape cuts away in white: glow, shape and opacity.
    QImage shot(109, 29, QImage::Format_RGB32);
    shot.fill(qRgb(255, 255, 255));
    {
        QPainter p(&shot);
        p.setClipRegion(shape);
        p.fillRect(0, 0, 109, 29, QColor(128, 128, 128));
        p.setOpacity(230 / 255.0);
        p.drawImage(0, 0, img);
    }
    const QImage big = shot.scaled(109 * 3, 29 * 3);
    testutil::SaveImagePng(big, QStringLiteral("exgrid_focus_frame"));
    EXPECT_TRUE(testutil::MatchesGolden(big, QStringLiteral("exgrid_focus_frame")));

    // The current cell moved with its form: the frame follows.
    g->SetCol(1);
    g->SetRow(2);
    f.Form->SetBounds(f.Form->Left() + 30, f.Form->Top() + 10, f.Form->Width(), f.Form->Height());
    g->MoveFocusWindow();
    const TRect now = g->CellRect(1, 2);
    const TPoint nowAt = g->ClientToScreen(TPoint(now.Left, now.Top));
    EXPECT_EQ(w->BoundsRect(), Rect(nowAt.X - 4, nowAt.Y - 4, nowAt.X - 4 + 109, nowAt.Y - 4 + 29));

    g->HideFocusWindow();
    EXPECT_FALSE(w->Visible());
    EXPECT_EQ(HookedGrid(), nullptr);
}

// ---------------------------------------------------------------------------
// Balloon texts

TEST(ExGridSurface, BalloonTextOfTheCellUnderTheMouse)
{
    Grid f(5, 4, 300, 150);
    TExStringGrid* g = f.Grid;
    g->Balloon()->SetEnable(true);
    ASSERT_NE(g->ToolTip(), nullptr);
    struct Case {
        QString cell, text;
    };
    const QString longText(3000, u'x');
    const Case cases[] = {
        { QStringLiteral("plain"), QStringLiteral("plain") },
        { QStringLiteral("<b>bold</b> text"), QStringLiteral("bold text") },
        { QStringLiteral("\r\n\tab\tc"), QStringLiteral("ab c") },
        { longText, QString(2045, u'x') + QStringLiteral("...") },
        { EncodeWideText(QStringLiteral("\u0141\u00D3d\u017A")), QStringLiteral("\u0141\u00D3d\u017A") },
    };
    for (const Case& c : cases) {
        g->SetCells(1, 1, c.cell);
        const TNMTTDispInfo info = AskBalloon(g, 1, 1);
        EXPECT_EQ(info.Text, c.text) << c.cell.left(20).toStdString();
        EXPECT_EQ(g->ToolTip()->Title(), " ");
        EXPECT_EQ(g->ToolTip()->TitleIcon(), btiInfo);
        EXPECT_EQ(g->ToolTip()->MaxTipWidth(), 300);
    }

    // A balloon of the cell's own, then the event's say; long titles are cut.
    g->AddBalloon(2, 2, QStringLiteral("Own"), QStringLiteral("own text"), biWarning);
    TNMTTDispInfo info = AskBalloon(g, 2, 2);
    EXPECT_EQ(info.Text, "own text");
    EXPECT_EQ(g->ToolTip()->Title(), "Own");
    EXPECT_EQ(g->ToolTip()->TitleIcon(), btiWarning);
    g->OnCellBalloon = [](TObject*, int ACol, int ARow, QString& ATitle, QString& AText, TBalloonIcon& AIcon) {
        ATitle = QString(150, u't');
        AText = QStringLiteral("%1/%2").arg(ACol).arg(ARow);
        AIcon = biError;
    };
    // With column 1 hidden the event and the position get the real column.
    g->HideColumn(1);
    info = AskBalloon(g, 1, 2);
    EXPECT_EQ(info.Text, "2/2");
    EXPECT_EQ(g->ToolTip()->Title(), QString(97, u't') + QStringLiteral("..."));
    EXPECT_EQ(g->ToolTip()->TitleIcon(), btiError);
    EXPECT_EQ(g->LastBalloonPos(), TPoint(2, 2));
    EXPECT_EQ(g->ToolTipBuffer(), "2/2");

    g->Balloon()->SetEnable(false);
    EXPECT_EQ(g->ToolTip(), nullptr);
    info = AskBalloon(g, 1, 1);
    EXPECT_TRUE(info.Text.isEmpty());
}

TEST(ExGridSurface, RestingTheMouseOnACellShowsItsBalloonInTheBalloonColours)
{
    Grid f(5, 4, 300, 150);
    TExStringGrid* g = f.Grid;
    g->Balloon()->InitialDelay = 10;
    g->Balloon()->BackgroundColor = TColor(0xE0FFE0);
    g->Balloon()->TextColor = TColor(0x400000);
    g->Balloon()->SetEnable(true);
    g->SetCells(2, 1, QStringLiteral("the text of 2,1"));
    const TRect r = g->CellRect(2, 1);
    input::MouseMove(g, TPoint(r.Left + 10, r.Top + 5));
    ASSERT_TRUE(testutil::PumpUntil([&] { return g->ToolTip()->Active(); }, 3000));
    EXPECT_EQ(g->ToolTip()->TipText(), "the text of 2,1");
    EXPECT_EQ(g->ToolTip()->TipBkColor(), TColor(0xE0FFE0));
    EXPECT_EQ(g->ToolTip()->TipTextColor(), TColor(0x400000));
    EXPECT_EQ(g->LastBalloonPos(), TPoint(2, 1));
    EXPECT_EQ(f.Form->FocusedControl(), g);
}

// ---------------------------------------------------------------------------
// Date-time notifications

TEST(ExGridSurface, DateTimeChangeOfAChildPickerReachesOnDateTimeChange)
{
    Grid f(5, 4, 300, 150);
    TExStringGrid* g = f.Grid;
    g->SetCol(3);
    g->SetRow(2);
    std::vector<std::tuple<int, int, TDateTime>> calls;
    g->OnDateTimeChange = [&](TObject*, int ACol, int ARow, TDateTime v) { calls.emplace_back(ACol, ARow, v); };
    TNMDateTimeChange nm;
    nm.hdr.code = DTN_DATETIMECHANGE;
    nm.st = { 2024, 3, 2, 5, 10, 20, 30, 0 };
    g->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    nm.st = { 0, 3, 2, 5, 10, 20, 30, 0 };
    g->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(std::get<0>(calls[0]), 3);
    EXPECT_EQ(std::get<1>(calls[0]), 2);
    EXPECT_DOUBLE_EQ(std::get<2>(calls[0]), EncodeDateTime(2024, 3, 5, 10, 20, 30, 0));
    EXPECT_DOUBLE_EQ(std::get<2>(calls[1]), 0.0);
}
