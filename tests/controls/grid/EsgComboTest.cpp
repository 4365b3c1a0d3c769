// The flat combo box: button width, the attached label, flat and focus
// colours, and the frame and button it paints over the platform combo box.

#include <gtest/gtest.h>

#include <QImage>

#include "controls/grid/EsgCombo.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"

namespace {

constexpr TColor Form_Color = RGB(200, 220, 240);

struct TComboForm {
    TForm* Form;
    TComboForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 480, 320);
        Form->SetColor(Form_Color);
        Form->Show();
    }
    ~TComboForm() { delete Form; }
    TEsgComboBox* Add(int left = 150, int top = 100, int width = 120)
    {
        auto* c = new TEsgComboBox(Form);
        c->SetParent(Form);
        c->SetBounds(left, top, width, 24);
        c->Items()->SetCommaText("RS232,RS485,CAN,RS485");
        return c;
    }
};

TColor PixelAt(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

TEST(EsgCombo, ButtonWidthTakesOnly14To32)
{
    TComboForm f;
    auto* cb = f.Add();
    EXPECT_EQ(cb->ButtonWidth(), 19); // the scroll bar's width and 2
    struct Case {
        int set, want;
    } cases[] = { { 13, 19 }, { 14, 14 }, { 33, 14 }, { 32, 32 }, { 0, 32 }, { -20, 32 }, { 20, 20 } };
    for (const Case& c : cases) {
        cb->SetButtonWidth(c.set);
        EXPECT_EQ(cb->ButtonWidth(), c.want) << c.set;
    }
}

TEST(EsgCombo, LabelStandsWhereItsPositionSaysMeasuredWithItsFont)
{
    TComboForm f;
    auto* cb = f.Add(150, 100, 120);
    EXPECT_EQ(cb->ComboLabel(), nullptr);
    EXPECT_EQ(cb->LabelCaption(), "");
    cb->SetLabelCaption("&Baud rate");
    TLabel* label = cb->ComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), f.Form);
    EXPECT_EQ(label->FocusControl(), cb);

    // The caption's width as the label's font draws it, the "&" left out.
    auto measured = [&] {
        TBitmap scratch(1, 1);
        scratch.Canvas()->SetFont(label->Font());
        TRect r = Rect(0, 0, 1000, 255);
        DrawText(scratch.Canvas(), "&Baud rate", r, DT_CALCRECT | DT_HIDEPREFIX);
        return r.Width();
    };
    // Default: left of the control, tops aligned, 4 pixels apart.
    EXPECT_EQ(label->Left(), 150 - measured() - 4);
    EXPECT_EQ(label->Top(), 100);

    cb->SetLabelMargin(6);
    cb->LabelFont()->SetSize(14); // a different size: the measure must follow it
    const int w = measured(), lw = label->Width(), lh = label->Height();
    ASSERT_GT(w, 0);
    ASSERT_NE(lh, 24);
    const int L = 150, T = 100, W = 120, H = 24, M = 6;
    using P = TEsgCustomCombo;
    struct Case {
        TEsgCustomCombo::TLabelPosition pos;
        int left, top;
    } cases[] = {
        { P::lpLeftTop, L - w - M, T },
        { P::lpLeftCenter, L - w - M, T + (H - lh) / 2 },
        { P::lpLeftBottom, L - w - M, T + H - lh },
        { P::lpTopLeft, L, T - lh - M },
        { P::lpBottomLeft, L, T + H + M },
        { P::lpLeftTopLeft, L - M, T },
        { P::lpLeftCenterLeft, L - M, T + (H - lh) / 2 },
        { P::lpLeftBottomLeft, L - M, T + H - lh },
        { P::lpTopCenter, L + (W - lw) / 2, T - lh - M },
        { P::lpBottomCenter, L + (W - lw) / 2, T + H + M },
        { P::lpRightTop, L + W + M, T },
        { P::lpRightCenter, L + W + M, T + (H - lh) / 2 },
        { P::lpRighBottom, L + W + M, T + H - lh },
    };
    for (const Case& c : cases) {
        cb->SetLabelPosition(c.pos);
        EXPECT_EQ(label->Left(), c.left) << int(c.pos);
        EXPECT_EQ(label->Top(), c.top) << int(c.pos);
    }
    // Moving the control takes the label along.
    cb->SetLabelPosition(P::lpRightTop);
    cb->SetBounds(40, 200, 120, 24);
    EXPECT_EQ(label->Left(), 40 + 120 + M);
    EXPECT_EQ(label->Top(), 200);
}

TEST(EsgCombo, FlatTakesTheParentColourAndBackTheLoadedOne)
{
    TComboForm f;
    auto* cb = f.Add();
    cb->BeginLoading();
    cb->SetColor(clYellow); // as a form file gives it
    cb->EndLoading();
    EXPECT_EQ(cb->Color(), clYellow);

    cb->SetFlat(true);
    EXPECT_EQ(cb->Color(), Form_Color);
    EXPECT_FALSE(cb->Ctl3D());
    cb->SetFlat(false);
    EXPECT_EQ(cb->Color(), clYellow);
    EXPECT_TRUE(cb->Ctl3D());

    cb->SetFlatParentColor(false);
    cb->SetFlat(true);
    EXPECT_EQ(cb->Color(), clYellow);

    // A disabled flat control shows its parent's colour for the while.
    cb->SetColor(clAqua);
    cb->SetEnabled(false);
    EXPECT_EQ(cb->Color(), Form_Color);
    cb->SetEnabled(true);
    EXPECT_EQ(cb->Color(), clAqua);
}

TEST(EsgCombo, FocusColourWhileFocusedAndTheNormalColourAfter)
{
    TComboForm f;
    auto* other = f.Add(150, 200);
    auto* loaded = f.Add();
    loaded->BeginLoading();
    loaded->SetColor(clWhite);
    loaded->EndLoading();
    auto* plain = f.Add(150, 150); // made in code: never loaded
    plain->SetColor(clSilver);
    for (TEsgComboBox* cb : { loaded, plain }) {
        const TColor normal = cb->Color();
        cb->SetFocusColor(clYellow);
        cb->SetFocus();
        EXPECT_EQ(cb->Color(), clYellow);
        other->SetFocus();
        EXPECT_EQ(cb->Color(), normal);
    }

    // The label turns bold while its control has the focus.
    loaded->SetLabelCaption("Port");
    loaded->SetFocusLabel(true);
    loaded->SetFocus();
    EXPECT_TRUE(loaded->ComboLabel()->Font()->Style().testFlag(TFontStyle::fsBold));
    other->SetFocus();
    EXPECT_FALSE(loaded->ComboLabel()->Font()->Style().testFlag(TFontStyle::fsBold));
}

TEST(EsgCombo, LabelFollowsEnabledUnlessAlwaysEnabled)
{
    TComboForm f;
    auto* cb = f.Add();
    cb->SetLabelCaption("Port");
    TLabel* label = cb->ComboLabel();
    cb->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    cb->SetEnabled(true);
    EXPECT_TRUE(label->Enabled());

    // Setting the value the control already has leaves the label alone.
    label->SetEnabled(false);
    cb->SetEnabled(true);
    EXPECT_FALSE(label->Enabled());
    label->SetEnabled(true);

    cb->SetLabelAlwaysEnabled(true);
    cb->SetEnabled(false);
    EXPECT_TRUE(label->Enabled());

    // Hiding the control hides its label.
    cb->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    cb->SetVisible(true);
    EXPECT_TRUE(label->Visible());
}

TEST(EsgCombo, SelectItemTakesTheFirstMatchAndIgnoresAMissingText)
{
    TComboForm f;
    for (TComboBoxStyle style : { csDropDown, csDropDownList }) {
        auto* cb = f.Add();
        cb->SetStyle(style);
        cb->SelectItem("RS485");
        EXPECT_EQ(cb->ItemIndex(), 1);
        cb->SelectItem("PROFIBUS");
        EXPECT_EQ(cb->ItemIndex(), 1);
        EXPECT_EQ(cb->Text(), "RS485");
        cb->SelectItem("");
        EXPECT_EQ(cb->ItemIndex(), 1);
    }
}

TEST(EsgCombo, TheLabelGoesWithItsControlWhicheverIsFreedFirst)
{
    {
        TComboForm f;
        auto* cb = f.Add();
        cb->SetLabelCaption("Port");
        delete cb->ComboLabel();
        EXPECT_EQ(cb->ComboLabel(), nullptr);
        cb->SetLabelPosition(TEsgCustomCombo::lpTopLeft); // nothing to place
    }
    {
        TComboForm f;
        auto* cb = f.Add();
        cb->SetLabelCaption("Port");
        const int before = f.Form->ControlCount();
        delete cb;
        EXPECT_EQ(f.Form->ControlCount(), before - 2);
    }
}

TEST(EsgCombo, FrameAndButtonPaintOverThePlatformCombo)
{
    TComboForm f;
    auto* cb = f.Add(20, 20, 120);
    cb->SetFlat(true);
    cb->SetBorderColor(clRed);
    cb->SetButtonColor(clLime);
    cb->SetButtonColorHot(clBlue);
    cb->SetButtonBorderColor(clBlack);
    cb->SetButtonTextColor(clBlack);
    const int w = cb->Width(), h = cb->Height();
    // A point inside the button, clear of its border line and its arrow.
    const TPoint inButton(w - 4, 4);

    QImage img = cb->PaintToImage();
    EXPECT_EQ(PixelAt(img, 0, h / 2), clRed);
    EXPECT_EQ(PixelAt(img, w - 1, 0), clRed);
    EXPECT_EQ(PixelAt(img, inButton.X, inButton.Y), clLime);

    // Hovering the button area turns it hot.
    cb->Perform(CM_MOUSEENTER);
    input::MouseMove(cb, TPoint(w - 5, h / 2));
    img = cb->PaintToImage();
    EXPECT_EQ(PixelAt(img, inButton.X, inButton.Y), clBlue);

    // The focus frame colour takes over while focused, and only then.
    cb->SetFocusBorderColor(clFuchsia);
    img = cb->PaintToImage();
    EXPECT_EQ(PixelAt(img, 0, h / 2), clRed);
    cb->SetFocus();
    img = cb->PaintToImage();
    EXPECT_EQ(PixelAt(img, 0, h / 2), clFuchsia);
}

TEST(EsgCombo, AWideButtonKeepsTheEditFieldOutOfIt)
{
    TComboForm f;
    auto* cb = f.Add(20, 20, 120);
    cb->SetStyle(csDropDown);
    cb->SetText("WWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    cb->SetButtonColor(clLime);
    for (int width : { 32, 20 }) {
        cb->SetButtonWidth(width);
        const QImage img = cb->PaintToImage();
        // The button's left part, where the platform's own edit field would reach.
        const int x = cb->Width() - width + 5;
        EXPECT_EQ(PixelAt(img, x, 4), clLime) << width;
        EXPECT_EQ(PixelAt(img, x, cb->Height() / 2), clLime) << width;
    }
}

} // namespace
