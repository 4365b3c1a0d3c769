#include "controls/base/ExObjCheckBox.h"

#include "controls/base/ExStyleIF.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ThemePainter.h"

TExCheckBox::TExCheckBox(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    SetBounds(0, 0, 98, 20);
    // The box fires OnClick itself.
    SetControlStyle(ControlStyle() & ~TControlStyle(csClickEvents));
    SetTabStop(true);
    SetCaption(QStringLiteral("TExCheckBox"));
}

bool TExCheckBox::Themed()
{
    return IsWinXPOrLater() && IsThemeActive() && IsComCtl6OrLater();
}

void TExCheckBox::SetState(TCheckBoxState v)
{
    if (v == FState)
        return;
    FState = v;
    Invalidate();
}

void TExCheckBox::SetChecked(bool v)
{
    FState = v ? cbChecked : cbUnchecked;
    Invalidate();
}

void TExCheckBox::Toggle()
{
    if (!FReadOnly)
        SetChecked(!Checked());
}

void TExCheckBox::SetAlignment(TAlignment v)
{
    if (v == FAlignment)
        return;
    FAlignment = v;
    Invalidate();
}

void TExCheckBox::SetButtonVertAlign(TTextLayout v)
{
    if (v == FButtonVertAlign)
        return;
    FButtonVertAlign = v;
    Invalidate();
}

void TExCheckBox::SetEllipsis(bool v)
{
    if (v == FEllipsis)
        return;
    FEllipsis = v;
    Invalidate();
}

void TExCheckBox::SetTransparent(bool v)
{
    if (v == FTransparent)
        return;
    FTransparent = v;
    Invalidate();
}

void TExCheckBox::SetText(const QString& v)
{
    TCustomControl::SetText(v);
    Invalidate();
}

TRect TExCheckBox::BoxRect() const
{
    const bool right = FAlignment == taRightJustify;
    const int h = ClientHeight();
    if (Themed()) {
        const int x = right ? ClientWidth() - 15 : 0;
        const int y = FButtonVertAlign == tlTop ? 4 : FButtonVertAlign == tlCenter ? h / 2 - 6 : h - 14;
        return Bounds(x, y, 14, 14);
    }
    const int x = right ? ClientWidth() - 13 : 0;
    const int y = FButtonVertAlign == tlTop ? 4 : FButtonVertAlign == tlCenter ? h / 2 - 6 : h - 17;
    return Bounds(x, y, 13, 13);
}

void TExCheckBox::Paint()
{
    TCanvas* C = Canvas();
    C->SetFont(Font());
    TRect box = BoxRect();
    if (Themed()) {
        int state = FState == cbChecked ? CBS_CHECKEDNORMAL
            : FState == cbGrayed        ? CBS_MIXEDNORMAL
                                        : CBS_UNCHECKEDNORMAL;
        if (!Enabled())
            state += 3;
        else if (FDown)
            state += 2;
        else if (FHot)
            state += 1;
        HTHEME theme = OpenThemeData(this, QStringLiteral("button"));
        DrawThemeBackground(theme, C, BP_CHECKBOX, state, box);
        CloseThemeData(theme);
    } else {
        unsigned flags = DFCS_BUTTONCHECK;
        if (FState == cbGrayed || !Enabled())
            flags |= DFCS_INACTIVE;
        if (FState == cbChecked)
            flags |= DFCS_CHECKED;
        DrawFrameControl(C, box, DFC_BUTTON, flags);
    }

    TRect r = ClientRect();
    if (FAlignment == taRightJustify) {
        r.Left = 0;
        r.Right -= 9;
    } else {
        r.Left += 9;
    }
    r.Top += 4;
    r.Left += 6;
    const QString caption = Caption();
    const unsigned flags = DT_LEFT | DT_TOP | DT_SINGLELINE | (FEllipsis ? DT_END_ELLIPSIS : 0u)
        | (UseRightToLeftReading() ? DT_RTLREADING : 0u);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    if (!Enabled()) {
        TRect shadow = r;
        OffsetRect(shadow, 1, 1);
        C->Font()->SetColor(clWhite);
        DrawText(C, caption, shadow, flags);
        C->Font()->SetColor(TColor(0x808080));
    }
    DrawText(C, caption, r, flags);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);

    if (FFocused) {
        TRect calc = Rect(0, 0, r.Width(), 0);
        DrawText(C, caption, calc, DT_CALCRECT | DT_SINGLELINE);
        C->Font()->SetColor(Font()->Color());
        C->DrawFocusRect(Rect(r.Left - 2, r.Top, r.Left + calc.Width() + 1, r.Top + calc.Height() + 1));
    }
}

void TExCheckBox::SetDownAndRepaint(bool v)
{
    if (v == FDown)
        return;
    FDown = v;
    // The whole box repaints: the box sits wherever Alignment and
    // ButtonVertAlign put it.
    Invalidate();
}

void TExCheckBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        if (FTransparent) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_SETFOCUS:
        FFocused = true;
        Invalidate();
        break;
    case WM_KILLFOCUS:
        FFocused = false;
        Invalidate();
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(char16_t(Message.WParam), Caption()) && CanFocus()) {
            Toggle();
            if (TabStop())
                SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

void TExCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FMouseDown = true;
    if (!Focused() && CanFocus())
        SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    SetMouseCapture(true);
    SetDownAndRepaint(true);
}

void TExCheckBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (MouseCapture())
        SetDownAndRepaint(Inside(X, Y));
    TCustomControl::MouseMove(Shift, X, Y);
}

void TExCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    SetMouseCapture(false);
    SetDownAndRepaint(false);
    const std::uint64_t self = ControlSerial(this);
    if (Inside(X, Y) && Focused() && FMouseDown) {
        Toggle();
        Click();
    }
    if (!FindControlBySerial(self))
        return;
    FMouseDown = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TExCheckBox::MouseEnter()
{
    FHot = true;
    Invalidate();
    TCustomControl::MouseEnter();
}

void TExCheckBox::MouseLeave()
{
    FHot = false;
    Invalidate();
    TCustomControl::MouseLeave();
}

void TExCheckBox::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        // Through the key's dialog handling, so the focus moves on as Tab moves it.
        PostMessage(this, CN_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_SPACE)
        SetDownAndRepaint(true);
    TCustomControl::KeyDown(Key, Shift);
}

void TExCheckBox::KeyUp(WORD& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        SetDownAndRepaint(false);
        Toggle();
        Click();
    }
    TCustomControl::KeyUp(Key, Shift);
}
