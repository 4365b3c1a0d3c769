// The search panel's check box through real input: clicks, Space, the
// accelerator, read-only, the box position and its hot state.
#include "controls/base/ExObjCheckBox.h"
#include "controls/base/ExObjButtonTestSupport.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/PlatformInfo.h"

#include <QCoreApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace {

struct CheckBoxTest : ::testing::Test {
    TButtonTestForm F;
    TExCheckBox* Box = nullptr;
    int Clicks = 0;
    void SetUp() override
    {
        Box = F.Add<TExCheckBox>(10, 10, 120, 20);
        Box->OnClick = [this](TObject*) { ++Clicks; };
    }
};

TEST_F(CheckBoxTest, StartsAsTheToolkitMakesIt)
{
    TExCheckBox fresh(nullptr);
    EXPECT_EQ(fresh.Caption(), "TExCheckBox");
    EXPECT_EQ(fresh.Width(), 98);
    EXPECT_EQ(fresh.Height(), 20);
    EXPECT_FALSE(fresh.ControlStyle().testFlag(csClickEvents));
}

TEST_F(CheckBoxTest, ClickTogglesAndFiresOnce)
{
    input::Click(Box, { 5, 8 });
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(Box->Down());
    input::Click(Box, { 5, 8 });
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Clicks, 2);

    // Setting Checked from code fires nothing.
    Box->SetChecked(true);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(CheckBoxTest, ReleaseInsideIsHalfOpen)
{
    struct Case {
        TPoint Release;
        bool Toggles;
    };
    for (const Case& c : { Case { { 119, 19 }, true }, Case { { 120, 5 }, false }, Case { { 5, 20 }, false } }) {
        const bool before = Box->Checked();
        const int clicks = Clicks;
        input::MouseDown(Box, mbLeft, { 5, 5 });
        EXPECT_TRUE(Box->Down());
        input::MouseMove(Box, c.Release);
        EXPECT_EQ(Box->Down(), c.Toggles) << "pressed look follows the mouse";
        input::MouseUp(Box, mbLeft, c.Release);
        EXPECT_EQ(Box->Checked() != before, c.Toggles) << c.Release.X << "," << c.Release.Y;
        EXPECT_EQ(Clicks - clicks, c.Toggles ? 1 : 0);
    }
}

TEST_F(CheckBoxTest, ReadOnlyClicksButKeepsItsState)
{
    Box->SetReadOnly(true);
    input::Click(Box, { 5, 8 });
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Clicks, 1);
    input::Key(Box, VK_SPACE, {}, u' ');
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Clicks, 2);
}

TEST_F(CheckBoxTest, ToggleMakesGrayedChecked)
{
    Box->SetState(cbGrayed);
    Box->Toggle();
    EXPECT_EQ(Box->State(), cbChecked);
    Box->Toggle();
    EXPECT_EQ(Box->State(), cbUnchecked);
}

TEST_F(CheckBoxTest, SpaceDownAndUpTogglesOnce)
{
    Box->SetFocus();
    input::KeyDown(Box, VK_SPACE, {}, u' ');
    EXPECT_TRUE(Box->Down());
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Clicks, 0);
    input::KeyUp(Box, VK_SPACE);
    EXPECT_FALSE(Box->Down());
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(Clicks, 1);
}

TEST_F(CheckBoxTest, AcceleratorTogglesAndFocusesWithoutClick)
{
    auto* edit = F.Add<TEdit>(10, 50, 80, 22);
    Box->SetCaption(QStringLiteral("&Match case"));
    edit->SetFocus();
    input::Key(edit, 'M', ssAlt, u'm');
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(Clicks, 0);
    EXPECT_TRUE(Box->Focused());

    Box->SetEnabled(false); // cannot take the focus: the key is not its
    input::Key(edit, 'M', ssAlt, u'm');
    EXPECT_TRUE(Box->Checked());
}

TEST_F(CheckBoxTest, BoxFollowsAlignmentAndShowsHotWherever)
{
    struct Case {
        bool Themed;
        TAlignment Side;
        TTextLayout Vert;
        TRect Box;
    };
    Box->SetBounds(10, 10, 120, 30);
    for (const Case& c : { Case { true, taLeftJustify, tlTop, Bounds(0, 4, 14, 14) },
             Case { true, taRightJustify, tlCenter, Bounds(105, 9, 14, 14) },
             Case { true, taRightJustify, tlBottom, Bounds(105, 16, 14, 14) },
             Case { false, taLeftJustify, tlBottom, Bounds(0, 13, 13, 13) },
             Case { false, taRightJustify, tlTop, Bounds(107, 4, 13, 13) } }) {
        TPlatformInfo facts = PlatformInfo();
        facts.ThemesActive = c.Themed;
        TPlatformInfoScope scope(facts);
        Box->SetAlignment(c.Side);
        Box->SetButtonVertAlign(c.Vert);
        EXPECT_EQ(Box->BoxRect(), c.Box);
        if (!c.Themed)
            continue;
        // The hot look shows in the box wherever it sits.
        input::MouseMove(F.Form, { 590, 390 });
        const QImage cold = Box->PaintToImage().copy(c.Box.Left, c.Box.Top, c.Box.Width(), c.Box.Height());
        input::MouseMove(Box, { 2, 2 });
        EXPECT_TRUE(Box->Hot());
        const QImage hot = Box->PaintToImage().copy(c.Box.Left, c.Box.Top, c.Box.Width(), c.Box.Height());
        EXPECT_NE(cold, hot);
    }
}

} // namespace

namespace {

TEST_F(CheckBoxTest, ReturnMovesOnWhenItIsTab)
{
    auto* next = F.Add<TEdit>(10, 50, 80, 22);
    next->SetTabOrder(Box->TabOrder() + 1);
    Box->SetFocus();
    input::Key(Box, VK_RETURN, {}, 13);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Box->Focused()) << "Return is Return by default";

    Box->SetReturnIsTab(true);
    input::Key(Box, VK_RETURN, {}, 13);
    QCoreApplication::processEvents();
    EXPECT_TRUE(next->Focused());
    EXPECT_FALSE(Box->Checked());
}

TEST_F(CheckBoxTest, TransparentLetsTheParentShowThrough)
{
    F.Form->SetColor(clYellow);
    Box->SetColor(clAqua);
    auto pixel = [&] {
        const QRgb p = F.Form->PaintToImage().pixel(10 + 115, 10 + 2); // right of the caption, above nothing
        return RGB(qRed(p), qGreen(p), qBlue(p));
    };
    EXPECT_EQ(pixel(), clAqua);
    Box->SetTransparent(true);
    Box->SetTransparentChaching(true); // nothing to cache: the parent is composed
    EXPECT_EQ(pixel(), clYellow);
}

} // namespace
