// The search panel's flat button through real input on the offscreen
// platform: groups, the check style, looks, glyphs, the drop-down part, the
// theme-following look, the action link, layout and the gradient.
#include "controls/base/ExObjGridButton.h"
#include "common/TestUtil.h"
#include "controls/base/ExObjButtonTestSupport.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/ThemeChange.h"
#include "platform/graphics/PlatformInfo.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TColor PixelOf(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// Moves the mouse onto the form, away from every button.
void MouseAway(TButtonTestForm& f)
{
    input::MouseMove(f.Form, { 590, 390 });
}

TEST(ExGridButton, GroupKeepsOneButtonDownAndPassesItOn)
{
    TButtonTestForm f;
    auto* a = f.Add<TExGridButton>(10, 10, 40, 22);
    auto* b = f.Add<TExGridButton>(60, 10, 40, 22);
    auto* other = f.Add<TExGridButton>(110, 10, 40, 22);
    for (TExGridButton* x : { a, b })
        x->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };

    input::Click(a, { 5, 5 });
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 1);
    input::Click(a, { 5, 5 }); // the last down button of the group stays down
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(a->State(), TExGridButton::bsExclusive);

    input::Click(b, { 5, 5 }); // pressing another releases it
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), TExGridButton::bsUp);
    EXPECT_TRUE(other->Down()) << "another group is not touched";

    // AllowAllUp travels with the notification, so the group can be emptied.
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    input::Click(b, { 5, 5 });
    EXPECT_FALSE(b->Down());
}

// A group is formed by buttons of one kind: a grid button and a toolkit
// speed button with the same group index on one parent leave each other alone.
TEST(ExGridButton, GroupsDoNotMixWithSpeedButtons)
{
    TButtonTestForm f;
    auto* speed = f.Add<TSpeedButton>(10, 10, 40, 22);
    auto* speed2 = f.Add<TSpeedButton>(60, 10, 40, 22);
    auto* grid = f.Add<TExGridButton>(110, 10, 40, 22);
    speed->SetGroupIndex(1);
    speed2->SetGroupIndex(1);
    grid->SetGroupIndex(1);
    speed->SetDown(true);

    grid->SetAllowAllUp(true);
    grid->SetDown(true);
    EXPECT_TRUE(speed->Down());
    EXPECT_FALSE(speed->AllowAllUp()) << "a grid button's setting stays in its own group";

    speed2->SetDown(true);
    EXPECT_FALSE(speed->Down());
    EXPECT_TRUE(grid->Down());
    EXPECT_TRUE(grid->AllowAllUp());
}

TEST(ExGridButton, DoubleClickOnlyWhenDown)
{
    TButtonTestForm f;
    auto* b = f.Add<TExGridButton>(10, 10, 40, 22);
    int dbl = 0;
    b->OnDblClick = [&](TObject*) { ++dbl; };
    input::DoubleClick(b, mbLeft, { 5, 5 });
    EXPECT_EQ(dbl, 0);
    b->SetGroupIndex(1);
    b->SetDown(true);
    input::DoubleClick(b, mbLeft, { 5, 5 });
    EXPECT_EQ(dbl, 1);
}

TEST(ExGridButton, DownOnlyInGroupsAndCheckStyle)
{
    TButtonTestForm f;
    auto* plain = f.Add<TExGridButton>(10, 10, 40, 22);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());

    // Without a parent there is nobody to tell: nothing is sent.
    TExGridButton orphan(nullptr);
    orphan.SetGroupIndex(3);
    orphan.SetDown(true);
    orphan.SetAllowAllUp(true);
    EXPECT_TRUE(orphan.Down());
}

TEST(ExGridButton, CheckStyleTogglesOnClickAndPaintsCheckedColour)
{
    TButtonTestForm f;
    auto* b = f.Add<TExGridButton>(10, 10, 40, 22);
    b->SetStyle(TExGridButtonStyle::tasCheck);
    b->SetColor(clWhite);
    b->SetColorChecked(clLime);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };

    input::Click(b, { 5, 5 });
    EXPECT_TRUE(b->Down());
    MouseAway(f);
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(PixelOf(b->PaintToImage(), 20, 11), clLime);

    input::Click(b, { 5, 5 });
    EXPECT_FALSE(b->Down());
    MouseAway(f);
    EXPECT_EQ(PixelOf(b->PaintToImage(), 20, 11), clWhite);
    EXPECT_EQ(clicks, 2);

    // A release outside is no click and leaves the toggle as it was.
    input::MouseDown(b, mbLeft, { 5, 5 });
    input::MouseUp(b, mbLeft, { 60, 5 });
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 2);
}

TEST(ExGridButton, InsideIsHalfOpen)
{
    TButtonTestForm f;
    auto* b = f.Add<TExGridButton>(10, 10, 40, 22);
    struct Case {
        TPoint Release;
        bool Clicks;
    };
    for (const Case& c : { Case { { 39, 21 }, true }, Case { { 40, 5 }, false }, Case { { 5, 22 }, false },
             Case { { 0, 0 }, true }, Case { { -1, 5 }, false } }) {
        int clicks = 0;
        b->OnClick = [&](TObject*) { ++clicks; };
        input::MouseDown(b, mbLeft, { 5, 5 });
        input::MouseUp(b, mbLeft, c.Release);
        EXPECT_EQ(clicks, c.Clicks ? 1 : 0) << c.Release.X << "," << c.Release.Y;
    }
}

TEST(ExGridButton, LooksSetTheirColoursAndOthersChangeNothing)
{
    TExGridButton b(nullptr);
    EXPECT_EQ(b.Look(), 0);
    EXPECT_EQ(b.Width(), 22);
    EXPECT_EQ(b.Height(), 23);
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_EQ(b.ColorHot(), TColor(0xCAC7C7));
    b.SetLook(2);
    EXPECT_EQ(b.Look(), 2);
    EXPECT_EQ(b.Color(), TColor(0xFDEADA));
    EXPECT_EQ(b.ColorTo(), TColor(0xE4AE88));
    EXPECT_EQ(b.ColorCheckedTo(), TColor(0x55ADFF));
    EXPECT_EQ(b.BorderHotColor(), TColor(0x000000));
    EXPECT_FALSE(b.Rounded());

    b.SetLook(9);
    b.SetLook(-1);
    EXPECT_EQ(b.Look(), 2);
    EXPECT_EQ(b.Color(), TColor(0xFDEADA));

    b.SetFlat(false);
    b.SetBorderColor(clRed);
    b.SetLook(0);
    EXPECT_TRUE(b.Rounded());
    EXPECT_TRUE(b.Flat());
    EXPECT_EQ(b.BorderColor(), clNone);
    EXPECT_EQ(b.BorderDownColor(), TColor(0xAF987A));
    EXPECT_EQ(b.BorderHotColor(), TColor(0xC3CECE));
    b.SetLook(5);
    EXPECT_EQ(b.ColorHot(), clBtnFace);
    EXPECT_EQ(b.BorderHotColor(), clNone);
}

TEST(ExGridButton, DisabledAndShadeGlyphs)
{
    TBitmap glyph(2, 2);
    glyph.Canvas()->SetPixels(0, 0, clBlack);
    glyph.Canvas()->SetPixels(1, 0, RGB(30, 60, 90)); // mean 60
    glyph.Canvas()->SetPixels(0, 1, clWhite); // bottom-left: the transparent colour
    glyph.Canvas()->SetPixels(1, 1, clWhite);

    TExGridButton b(nullptr);
    b.SetGlyph(&glyph);
    const QImage dis = b.GlyphDisabled()->ToImage();
    EXPECT_EQ(PixelOf(dis, 0, 0), TColor(0x606060));
    EXPECT_EQ(PixelOf(dis, 1, 0), RGB(126, 126, 126));
    EXPECT_EQ(PixelOf(dis, 0, 1), RGB(223, 223, 223));
    const QImage shade = b.ShadeGlyph()->ToImage();
    EXPECT_EQ(PixelOf(shade, 0, 0), clGray);
    EXPECT_EQ(PixelOf(shade, 1, 0), clGray);
    EXPECT_EQ(PixelOf(shade, 1, 1), clWhite);

    // A given disabled glyph is kept; an empty glyph reads no pixel.
    TBitmap own(3, 3);
    TExGridButton c(nullptr);
    c.SetGlyphDisabled(&own);
    c.SetGlyph(&glyph);
    EXPECT_EQ(c.GlyphDisabled()->Width(), 3);
    TBitmap empty;
    TExGridButton d(nullptr);
    d.SetGlyph(&empty);
    EXPECT_TRUE(d.GlyphDisabled()->Empty());
    EXPECT_TRUE(d.ShadeGlyph()->Empty());
}

TEST(ExGridButton, DropDownPartFiresOnDropDownAndPopsTheMenuWithoutClick)
{
    TButtonTestForm f;
    auto* b = f.Add<TExGridButton>(10, 10, 60, 22);
    auto* menu = new TPopupMenu(f.Form);
    b->SetDropDownButton(true);
    b->SetDropDownMenu(menu);
    QStringList log;
    b->OnClick = [&](TObject*) { log << "click"; };
    b->OnDropDown = [&](TObject*) { log << "dropdown"; };
    TPoint shownAt(-1, -1);
    TPopupTracker old = TPopupMenu::SetTracker([&](TPopupMenu* m, int x, int y) {
        log << (m->PopupComponent() == b ? "menu" : "menu?");
        shownAt = TPoint(x, y);
        return nullptr;
    });
    input::Click(b, { 50, 5 }); // in the 12 pixels at the right
    TPopupMenu::SetTracker(old);
    EXPECT_EQ(log, (QStringList { "dropdown", "menu" }));
    EXPECT_EQ(shownAt, b->ClientToScreen(TPoint(0, 22)));
    EXPECT_EQ(b->State(), TExGridButton::bsUp);

    input::Click(b, { 47, 5 }); // just left of the part: a plain click
    EXPECT_EQ(log.size(), 3);
    EXPECT_EQ(log.last(), "click");

    delete menu; // a freed menu is forgotten
    EXPECT_EQ(b->DropDownMenu(), nullptr);
    input::Click(b, { 50, 5 });
    EXPECT_EQ(log.last(), "dropdown");
}

TEST(ExGridButton, AutomaticLookFollowsTheThemeColourName)
{
    TButtonTestForm f;
    auto* b = f.Add<TExGridButton>(10, 10, 60, 22);
    TPlatformInfoScope scope(PlatformInfo());
    b->SetAutoThemeAdapt(true);
    EXPECT_EQ(b->Look(), 2); // the default facts: an active "NormalColor" style

    struct Case {
        bool Themes;
        bool XP;
        const char* ColorName;
        int Look;
    };
    for (const Case& c : { Case { true, true, "HomeStead", 3 }, Case { true, true, "Metallic", 4 },
             Case { true, true, "NormalColor", 2 }, Case { true, true, "Royale", 1 },
             Case { false, true, "Metallic", 1 }, Case { true, false, "Metallic", 1 } }) {
        PlatformInfo().ThemesActive = c.Themes;
        PlatformInfo().WinXPOrLater = c.XP;
        PlatformInfo().ThemeColorName = QString::fromLatin1(c.ColorName);
        NotifyThemeChanged();
        EXPECT_EQ(b->Look(), c.Look) << c.ColorName << " themes " << c.Themes << " xp " << c.XP;
    }

    // Switched off, a theme change leaves the look alone.
    b->SetAutoThemeAdapt(false);
    PlatformInfo().ThemesActive = true;
    PlatformInfo().WinXPOrLater = true;
    PlatformInfo().ThemeColorName = QStringLiteral("HomeStead");
    NotifyThemeChanged();
    EXPECT_EQ(b->Look(), 1);
}

TEST(ExGridButton, ActionLinkPassesCaptionCheckedAndGroup)
{
    TButtonTestForm f;
    auto* b = f.Add<TExGridButton>(10, 10, 60, 22);
    auto* action = new TAction(f.Form);
    action->SetCaption(QStringLiteral("Find"));
    action->SetGroupIndex(4);
    action->SetChecked(true);
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };

    b->SetAllowAllUp(true);
    b->SetAction(action);
    EXPECT_EQ(b->Caption(), "Find");
    EXPECT_EQ(b->GroupIndex(), 4);
    EXPECT_TRUE(b->Down());

    action->SetCaption(QStringLiteral("Find next")); // linked: the captions were equal
    EXPECT_EQ(b->Caption(), "Find next");
    action->SetChecked(false); // linked: group, AllowAllUp and equal Checked and Down
    EXPECT_FALSE(b->Down());
    action->SetGroupIndex(5);
    EXPECT_EQ(b->GroupIndex(), 5);

    b->SetCaption(QStringLiteral("Own"));
    action->SetCaption(QStringLiteral("Other")); // no longer linked
    EXPECT_EQ(b->Caption(), "Own");
    b->SetAllowAllUp(false);
    action->SetChecked(true); // no longer linked: AllowAllUp is off
    EXPECT_FALSE(b->Down());
    b->SetGroupIndex(6);
    action->SetGroupIndex(7); // no longer linked: the group differs
    EXPECT_EQ(b->GroupIndex(), 6);

    // A click without OnClick runs the action.
    input::Click(b, { 5, 5 });
    EXPECT_EQ(executed, 1);
    delete action;
    EXPECT_EQ(b->Action(), nullptr);
    input::Click(b, { 5, 5 });
    EXPECT_EQ(executed, 1);
}

TEST(ExGridButton, ReleasedByGroupClearsItsActionChecked)
{
    TButtonTestForm f;
    auto* a = f.Add<TExGridButton>(10, 10, 40, 22);
    auto* b = f.Add<TExGridButton>(60, 10, 40, 22);
    auto* action = new TAction(f.Form);
    action->SetGroupIndex(1);
    action->SetChecked(true);
    a->SetAction(action);
    b->SetGroupIndex(1);
    ASSERT_TRUE(a->Down());
    input::Click(b, { 5, 5 });
    EXPECT_FALSE(a->Down());
    EXPECT_FALSE(action->Checked());
}

TEST(ExGridButton, AcceleratorClicks)
{
    TButtonTestForm f;
    auto* b = f.Add<TExGridButton>(10, 10, 60, 22);
    auto* edit = f.Add<TEdit>(10, 50, 80, 22);
    b->SetCaption(QStringLiteral("&Highlight"));
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    edit->SetFocus();
    input::Key(edit, 'H', ssAlt, u'h');
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    input::Key(edit, 'H', ssAlt, u'h');
    EXPECT_EQ(clicks, 1);
}

TEST(ButtonLayout, GlyphAndCaptionPositions)
{
    struct Case {
        const char* Name;
        TRect Client;
        TSize Glyph, Text;
        TButtonLayout Layout;
        int Margin, Spacing;
        bool Rtl;
        TPoint GlyphPos;
        TPoint TextPos;
    };
    const TRect wide = Rect(0, 0, 90, 23);
    const TRect tall = Rect(0, 0, 40, 60);
    const Case cases[] = {
        { "left, centred with spacing", wide, { 16, 16 }, { 40, 13 }, blGlyphLeft, -1, 4, false, { 15, 4 }, { 35, 5 } },
        { "left, all centred", wide, { 16, 16 }, { 40, 13 }, blGlyphLeft, -1, -1, false, { 11, 4 }, { 38, 5 } },
        { "right, margin given", wide, { 16, 16 }, { 40, 13 }, blGlyphRight, 2, -1, false, { 72, 4 }, { 16, 5 } },
        { "right, both given", wide, { 16, 16 }, { 40, 13 }, blGlyphRight, 2, 4, false, { 72, 4 }, { 28, 5 } },
        { "top, centred", tall, { 16, 16 }, { 30, 13 }, blGlyphTop, -1, 4, false, { 12, 14 }, { 5, 34 } },
        { "bottom, both given", tall, { 16, 16 }, { 30, 13 }, blGlyphBottom, 3, 2, false, { 12, 41 }, { 5, 26 } },
        { "no caption: no spacing", wide, { 16, 16 }, { 0, 0 }, blGlyphLeft, -1, 4, false, { 37, 4 }, { 53, 12 } },
        { "right to left swaps", wide, { 16, 16 }, { 40, 13 }, blGlyphLeft, 2, 4, true, { 72, 4 }, { 28, 5 } },
        { "offset client", Rect(3, 2, 93, 25), { 16, 16 }, { 40, 13 }, blGlyphLeft, 0, 0, false, { 3, 6 }, { 19, 7 } },
    };
    for (const Case& c : cases) {
        TPoint glyph;
        TRect text;
        CalcButtonLayout(c.Client, TPoint(0, 0), c.Glyph, c.Text, c.Layout, c.Margin, c.Spacing, c.Rtl, glyph, text);
        EXPECT_EQ(glyph, c.GlyphPos) << c.Name;
        EXPECT_EQ(text.TopLeft(), c.TextPos) << c.Name;
        EXPECT_EQ(text.Width(), c.Text.cx) << c.Name;
    }
}

TEST(ButtonGradient, SixteenBandsAndFrame)
{
    TBitmap bmp(10, 34);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 10, 34));
    DrawButtonGradient(c, RGB(0, 0, 0), RGB(240, 160, 16), Rect(0, 0, 10, 32), clNone);
    const QImage img = bmp.ToImage();
    struct Row {
        int Y;
        TColor Color;
    };
    for (const Row& r : { Row { 0, RGB(0, 0, 0) }, Row { 1, RGB(0, 0, 0) }, Row { 2, RGB(15, 10, 1) },
             Row { 17, RGB(120, 80, 8) }, Row { 31, RGB(225, 150, 15) }, Row { 32, clWhite } })
        EXPECT_EQ(PixelOf(img, 5, r.Y), r.Color) << "row " << r.Y;

    DrawButtonGradient(c, clBtnFace, clBlack, Rect(0, 0, 10, 32), clRed);
    const QImage framed = bmp.ToImage();
    EXPECT_EQ(PixelOf(framed, 0, 10), clRed);
    EXPECT_EQ(PixelOf(framed, 5, 31), clRed);
    EXPECT_EQ(PixelOf(framed, 5, 1), ColorToRGB(clBtnFace)); // system colours resolve first
}

} // namespace
