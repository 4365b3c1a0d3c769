#include "platform/graphics/ThemePainter.h"
#include "common/TestUtil.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/graphics/RasterArt.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct Surface {
    QImage Image;
    TCanvas Canvas;
    Surface(int w, int h, QRgb fill = qRgb(236, 233, 216))
        : Image(w, h, QImage::Format_RGB32)
    {
        Image.fill(fill);
        Canvas.BeginDraw(&Image);
    }
    ~Surface() { Canvas.EndDraw(); }
};

// Draws every part and state of every class in a row each, then the classic
// frame controls.
QImage Gallery()
{
    TPlatformInfoScope themed(TPlatformInfo {});
    Surface s(420, 270);
    TCanvas* c = &s.Canvas;
    int y = 4;
    auto row = [&](int h) {
        const int top = y;
        y += h + 6;
        return top;
    };

    HTHEME button = OpenThemeData(nullptr, "button");
    int top = row(24);
    for (int st = PBS_NORMAL; st <= PBS_DEFAULTED; ++st)
        DrawThemeBackground(button, c, BP_PUSHBUTTON, st, Bounds(4 + (st - 1) * 66, top, 60, 24));
    top = row(17);
    for (int st = CBS_UNCHECKEDNORMAL; st <= CBS_MIXEDDISABLED; ++st)
        DrawThemeBackground(button, c, BP_CHECKBOX, st, Bounds(4 + (st - 1) * 20, top, 17, 17));
    top = row(17);
    for (int st = RBS_UNCHECKEDNORMAL; st <= RBS_CHECKEDDISABLED; ++st)
        DrawThemeBackground(button, c, BP_RADIOBUTTON, st, Bounds(4 + (st - 1) * 20, top, 17, 17));
    CloseThemeData(button);

    HTHEME combo = OpenThemeData(nullptr, "combobox");
    HTHEME spin = OpenThemeData(nullptr, "spin");
    top = row(20);
    for (int st = CBXS_NORMAL; st <= CBXS_DISABLED; ++st)
        DrawThemeBackground(combo, c, CP_DROPDOWNBUTTON, st, Bounds(4 + (st - 1) * 20, top, 17, 20));
    for (int part = SPNP_UP; part <= SPNP_DOWNHORZ; ++part)
        for (int st = 1; st <= 4; ++st) {
            const bool vertical = part <= SPNP_DOWN;
            const int x = 90 + ((part - 1) * 4 + (st - 1)) * 20;
            DrawThemeBackground(spin, c, part, st, vertical ? Bounds(x, top, 16, 10) : Bounds(x, top, 10, 16));
        }
    CloseThemeData(combo);
    CloseThemeData(spin);

    HTHEME header = OpenThemeData(nullptr, "header");
    top = row(20);
    for (int part = HP_HEADERITEM; part <= HP_HEADERITEMRIGHT; ++part)
        for (int st = HIS_NORMAL; st <= HIS_PRESSED; ++st)
            DrawThemeBackground(header, c, part, st, Bounds(4 + ((part - 1) * 3 + (st - 1)) * 45, top, 44, 20));
    CloseThemeData(header);

    HTHEME progress = OpenThemeData(nullptr, "Progress");
    top = row(40);
    DrawThemeBackground(progress, c, PP_BAR, 0, Bounds(4, top, 120, 14));
    DrawThemeBackground(progress, c, PP_CHUNK, 1, Bounds(6, top + 2, 70, 10));
    DrawThemeBackground(progress, c, PP_BARVERT, 0, Bounds(140, top, 14, 40));
    DrawThemeBackground(progress, c, PP_CHUNKVERT, 1, Bounds(142, top + 20, 10, 18));
    CloseThemeData(progress);

    HTHEME scroll = OpenThemeData(nullptr, "scrollbar");
    for (int st = ABS_UPNORMAL; st <= ABS_RIGHTDISABLED; ++st)
        DrawThemeBackground(
            scroll, c, SBP_ARROWBTN, st, Bounds(170 + ((st - 1) % 8) * 20, top + ((st - 1) / 8) * 20, 17, 17));
    CloseThemeData(scroll);

    // Classic frame controls.
    const unsigned buttons[] = { DFCS_BUTTONPUSH, DFCS_BUTTONPUSH | DFCS_PUSHED, DFCS_BUTTONPUSH | DFCS_FLAT,
        DFCS_BUTTONPUSH | DFCS_INACTIVE };
    top = row(23);
    int x = 4;
    for (unsigned st : buttons) {
        TRect r = Bounds(x, top, 50, 23);
        DrawFrameControl(c, r, DFC_BUTTON, st);
        x += 56;
    }
    const unsigned checks[]
        = { DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE,
              DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE,
              DFCS_BUTTONCHECK | DFCS_PUSHED, DFCS_BUTTONRADIO, DFCS_BUTTONRADIO | DFCS_CHECKED,
              DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_FLAT };
    top = row(13);
    x = 4;
    for (unsigned st : checks) {
        TRect r = Bounds(x, top, 13, 13);
        DrawFrameControl(c, r, DFC_BUTTON, st);
        x += 18;
    }
    const unsigned scrolls[] = { DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT, DFCS_SCROLLCOMBOBOX,
        DFCS_SCROLLCOMBOBOX | DFCS_PUSHED, DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE, DFCS_SCROLLCOMBOBOX | DFCS_FLAT,
        DFCS_SCROLLSIZEGRIP };
    top = row(17);
    x = 4;
    for (unsigned st : scrolls) {
        TRect r = Bounds(x, top, 17, 17);
        DrawFrameControl(c, r, DFC_SCROLL, st);
        x += 22;
    }
    const unsigned captions[] = { DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE,
        DFCS_CAPTIONHELP, DFCS_CAPTIONCLOSE | DFCS_INACTIVE, DFCS_CAPTIONCLOSE | DFCS_PUSHED };
    top = row(16);
    x = 4;
    for (unsigned st : captions) {
        TRect r = Bounds(x, top, 18, 16);
        DrawFrameControl(c, r, DFC_CAPTION, st);
        x += 22;
    }
    return s.Image.copy();
}

} // namespace

TEST(ThemePainterTest, GalleryOfEveryPartAndFrameControl)
{
    const QImage g = Gallery();
    testutil::SaveImagePng(g.scaled(g.width() * 3, g.height() * 3), "theme_gallery_x3");
    EXPECT_TRUE(testutil::MatchesGolden(g, "theme_gallery"));
    // Painting is deterministic from one call to the next.
    EXPECT_EQ(Gallery(), g);
}

TEST(ThemePainterTest, ThemeDataFollowsPlatformFacts)
{
    {
        TPlatformInfo off;
        off.ThemesActive = false;
        TPlatformInfoScope scope(off);
        EXPECT_FALSE(IsThemeActive());
        EXPECT_EQ(OpenThemeData(nullptr, "button"), nullptr);
    }
    EXPECT_TRUE(IsThemeActive());
    EXPECT_NE(OpenThemeData("BUTTON"), nullptr);
    EXPECT_EQ(OpenThemeData("nosuchclass;spin"), OpenThemeData("spin"));
    EXPECT_EQ(OpenThemeData("edit"), nullptr);

    HTHEME button = OpenThemeData("button");
    TSize size;
    ASSERT_TRUE(GetThemePartSize(button, BP_CHECKBOX, CBS_CHECKEDNORMAL, size));
    EXPECT_EQ(size, TSize(13, 13));
    EXPECT_FALSE(IsThemePartDefined(button, BP_CHECKBOX, 13));
    EXPECT_FALSE(IsThemePartDefined(button, 9, 1));

    Surface s(30, 30, qRgb(255, 255, 255));
    EXPECT_FALSE(DrawThemeBackground(button, &s.Canvas, BP_RADIOBUTTON, 9, Rect(0, 0, 30, 30)));
    EXPECT_FALSE(DrawThemeBackground(nullptr, &s.Canvas, BP_PUSHBUTTON, 1, Rect(0, 0, 30, 30)));
    EXPECT_EQ(s.Image.pixel(15, 15), qRgb(255, 255, 255));
}

TEST(ThemePainterTest, PartsStayInsideTheirRectangleAndClip)
{
    HTHEME button = OpenThemeData("button");
    Surface s(40, 40, qRgb(255, 255, 255));
    // A check box keeps its natural size, centred in a larger rectangle.
    ASSERT_TRUE(DrawThemeBackground(button, &s.Canvas, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, Rect(0, 0, 21, 21)));
    EXPECT_EQ(s.Image.pixel(3, 10), qRgb(255, 255, 255));
    EXPECT_NE(s.Image.pixel(4, 10), qRgb(255, 255, 255));
    EXPECT_NE(s.Image.pixel(16, 10), qRgb(255, 255, 255));
    EXPECT_EQ(s.Image.pixel(17, 10), qRgb(255, 255, 255));

    // The clip rectangle limits a push button to its left half.
    const TRect clip = Rect(20, 25, 30, 40);
    ASSERT_TRUE(DrawThemeBackground(button, &s.Canvas, BP_PUSHBUTTON, PBS_NORMAL, Rect(20, 25, 40, 40), &clip));
    EXPECT_NE(s.Image.pixel(25, 30), qRgb(255, 255, 255));
    EXPECT_EQ(s.Image.pixel(32, 30), qRgb(255, 255, 255));
}

TEST(ThemePainterTest, FrameControlAdjustsRectAndRefusesUnknownKinds)
{
    Surface s(40, 40);
    TRect r = Rect(0, 0, 30, 20);
    ASSERT_TRUE(DrawFrameControl(&s.Canvas, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(r, Rect(2, 2, 28, 18));
    r = Rect(0, 0, 30, 20);
    ASSERT_TRUE(DrawFrameControl(&s.Canvas, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT | DFCS_ADJUSTRECT));
    EXPECT_EQ(r, Rect(1, 1, 29, 19));
    r = Rect(0, 0, 13, 13);
    ASSERT_TRUE(DrawFrameControl(&s.Canvas, r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_ADJUSTRECT));
    EXPECT_EQ(r, Rect(0, 0, 13, 13));
    EXPECT_FALSE(DrawFrameControl(&s.Canvas, r, DFC_MENU, 0));
    EXPECT_FALSE(DrawFrameControl(&s.Canvas, r, DFC_SCROLL, 0x0006));
    EXPECT_FALSE(DrawFrameControl(&s.Canvas, r, DFC_CAPTION, 0x0009));

    // A checked box shows its mark in the window text colour; an inactive one
    // in the shadow colour.
    Surface c(13, 13);
    TRect box = Rect(0, 0, 13, 13);
    DrawFrameControl(&c.Canvas, box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    const TColor text = ColorToRGB(clWindowText);
    EXPECT_EQ(c.Image.pixel(6, 7), qRgb(GetRValue(text), GetGValue(text), GetBValue(text)));
    DrawFrameControl(&c.Canvas, box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    const TColor shadow = ColorToRGB(clBtnShadow);
    EXPECT_EQ(c.Image.pixel(6, 7), qRgb(GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)));
}

TEST(ThemePainterTest, PartsFarLargerThanTheCanvasShowWhatTheWholePictureWould)
{
    // Each part drawn whole on a large surface, and on a small one that sees
    // a window of it (through the origin and a clip), both ways round: the
    // small one shows exactly that window of the large one.
    HTHEME header = OpenThemeData("header");
    HTHEME button = OpenThemeData("button");
    const TRect part = Rect(5, 10, 57, 390);
    const std::vector<std::function<void(TCanvas*)>> draws = {
        [&](TCanvas* c) { DrawThemeBackground(header, c, HP_HEADERITEM, HIS_HOT, part); },
        [&](TCanvas* c) { DrawThemeBackground(header, c, HP_HEADERITEMRIGHT, HIS_NORMAL, part); },
        [&](TCanvas* c) { DrawThemeBackground(button, c, BP_PUSHBUTTON, PBS_PRESSED, part); },
        [&](TCanvas* c) {
            TRect r = part;
            DrawFrameControl(c, r, DFC_BUTTON, DFCS_BUTTONPUSH);
        },
        [&](TCanvas* c) {
            TRect r = part;
            DrawFrameControl(c, r, DFC_SCROLL, DFCS_SCROLLDOWN);
        },
    };
    for (const bool mirrored : { false, true }) {
        for (std::size_t k = 0; k < draws.size(); ++k) {
            SCOPED_TRACE(testing::Message() << "draw " << k << (mirrored ? " mirrored" : ""));
            Surface whole(60, 400, qRgb(255, 255, 255));
            Surface window(30, 24, qRgb(255, 255, 255));
            whole.Canvas.SetDrawingOrientation({ mirrored, 60 });
            window.Canvas.SetDrawingOrientation({ mirrored, 60 });
            // Device (0, 0) of the window is (2, 370) of the whole, which
            // takes in the part's bottom edge and, either way round, one of
            // its sides; its clip leaves out its last eight rows, four of
            // them on the part.
            window.Canvas.SetOrigin({ -2, -370 });
            window.Canvas.IntersectClipRect(window.Canvas.Oriented(Rect(2, 370, 32, 386)));
            draws[k](&whole.Canvas);
            draws[k](&window.Canvas);
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 30; ++x) {
                    const QRgb expected = y < 16 ? whole.Image.pixel(x + 2, y + 370) : qRgb(255, 255, 255);
                    ASSERT_EQ(window.Image.pixel(x, y), expected) << x << "," << y;
                }
        }
    }

    // A header cell two thousand million pixels tall: its gradient where the
    // canvas sees it, halfway down.
    Surface s(30, 20, qRgb(0, 0, 0));
    constexpr int Half = 1000000000;
    ASSERT_TRUE(DrawThemeBackground(header, &s.Canvas, HP_HEADERITEMRIGHT, HIS_NORMAL, Rect(0, -Half, 30, Half)));
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(s.Image.pixel(10, y) | 0xFF000000,
            art::Mix(qRgb(255, 255, 255), qRgb(241, 242, 244), Half + y, 2 * Half - 1) | 0xFF000000)
            << y;
    CloseThemeData(header);
    CloseThemeData(button);
}
