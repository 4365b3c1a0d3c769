#include "controls/grid/EsgDateTimePicker.h"

#include "controls/grid/EsgCombo.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/graphics/ThemePainter.h"

using namespace EsgCombo;

namespace {
constexpr unsigned Version_Number = 0x01000000;
} // namespace

TEsgDateTimePicker::TEsgDateTimePicker(TComponent* AOwner)
    : TDateTimePicker(AOwner)
    , FIsThemed(PlatformInfo().ComCtl6OrLater)
    , FIsWinXP(PlatformInfo().WinXPOrLater)
{
}

QString TEsgDateTimePicker::Version() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(Version_Number >> 24)
        .arg((Version_Number >> 16) & 0xFF)
        .arg((Version_Number >> 8) & 0xFF)
        .arg(Version_Number & 0xFF);
}

void TEsgDateTimePicker::SetFocusBorderColor(TColor v)
{
    FFocusBorderColor = v;
    Invalidate();
}

void TEsgDateTimePicker::SetMetroStyle(bool v)
{
    if (FMetroStyle == v)
        return;
    FMetroStyle = v;
    Invalidate();
}

void TEsgDateTimePicker::SetBorderColor(TColor v)
{
    if (FBorderColor == v)
        return;
    FBorderColor = v;
    Invalidate();
}

void TEsgDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    if (FBorderStyle == v)
        return;
    FBorderStyle = v;
    Invalidate();
}

void TEsgDateTimePicker::SetCtl3D(bool v)
{
    if (FCtl3D == v)
        return;
    FCtl3D = v;
    Invalidate();
}

void TEsgDateTimePicker::SetFocusBorder(bool v)
{
    FFocusBorder = v;
    Invalidate();
}

void TEsgDateTimePicker::SetDisabledBorder(bool v)
{
    FDisabledBorder = v;
    Invalidate();
}

// --- states -----------------------------------------------------------------

bool TEsgDateTimePicker::Hot() const
{
    if (IsDesigning())
        return Enabled();
    return FMouseInControl || Screen->ActiveControl() == this;
}

bool TEsgDateTimePicker::Themed() const
{
    return FIsWinXP && IsThemeActive();
}

void TEsgDateTimePicker::DoEnter()
{
    if (!IsDesigning()) {
        FHasFocus = true;
        Invalidate();
    }
    TDateTimePicker::DoEnter();
}

void TEsgDateTimePicker::DoExit()
{
    if (!IsDesigning()) {
        FHasFocus = false;
        Invalidate();
    }
    TDateTimePicker::DoExit();
}

void TEsgDateTimePicker::CloseUp()
{
    FButtonDown = false;
    InvalidateRect(ButtonArea(Width(), Height()));
    TDateTimePicker::CloseUp();
}

void TEsgDateTimePicker::WndProc(TMessage& Message)
{
    TDateTimePicker::WndProc(Message);
    if (IsDesigning())
        return;
    TrackMouse(this, Message);
}

// --- painting ---------------------------------------------------------------

void TEsgDateTimePicker::PaintAfterWidget(TCanvas* Canvas)
{
    // The border a picker without the 3-D look gets in place of its edge.
    if (!FCtl3D && FBorderColor != clNone)
        DrawFlatBorder(Canvas);
    if ((FCtl3D && !MetroActive()) || !PlatformInfo().WinVistaOrLater)
        return;
    // The own button stands in for the calendar's; an up-down picker keeps
    // its arrows.
    if (MetroActive() && Kind() != dtkTime && DateMode() == dmComboBox) {
        const TRect area = IsThemeActive() && FIsThemed
            ? Rect(Width() - FButtonWidth - 15, 1, Width(), Height())
            : Rect(Width() - FButtonWidth - 2, 4, Width() - 2, Height() - 4);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(Color());
        Canvas->FillRect(area);
        DrawButton(Canvas);
    }
    DrawFrame(Canvas);
}

void TEsgDateTimePicker::DrawButton(TCanvas* Canvas)
{
    TRect r = Rect(Width() - FButtonWidth + 2, 0, Width(), Height());
    InflateRect(r, -1, -1);
    const bool pressed = FButtonDown;
    if (FLook.Color != clNone) {
        DrawColorButton(Canvas, Rect(r.Left + 2, r.Top, r.Right, r.Bottom), FLook, FButtonHover, pressed, 5);
    } else if (IsThemeActive()) {
        HTHEME theme = OpenThemeData(QStringLiteral("combobox"));
        DrawThemeBackground(
            theme, Canvas, CP_DROPDOWNBUTTON, DropButtonThemeState(Enabled(), pressed, DroppedDown(), FButtonHover), r);
        CloseThemeData(theme);
    } else {
        DrawFrameControl(Canvas, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
}

void TEsgDateTimePicker::DrawFrame(TCanvas* Canvas)
{
    if (!MetroActive() || (Enabled() && FBorderColor == clNone && FFocusBorderColor == clNone))
        return;
    const TRect window = Rect(0, 0, Width(), Height());
    const bool active = !IsDesigning() && Hot() && FFocusBorder;
    if (!Enabled() && Themed() && !FDisabledBorder) {
        DrawColorFrame(Canvas, window, Disabled_Themed_Frame);
    } else if (FBorderColor != clNone && !(FHasFocus && FFocusBorderColor != clNone)) {
        DrawColorFrame(Canvas, window, FBorderColor);
    } else if (FFocusBorderColor != clNone) {
        if (FHasFocus)
            DrawColorFrame(Canvas, window, FFocusBorderColor);
    } else {
        const TColor outer = active ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
        DrawStandardFrame(Canvas, window, active, outer, Color(), FButtonWidth);
    }
    if (Themed())
        return;
    TRect button = Rect(Width() - FButtonWidth - 2, 0, Width(), Height());
    InflateRect(button, -2, -2);
    if (Hot()) {
        Canvas->DrawEdge(button, BDR_RAISEDINNER, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
    } else {
        FlattenButton(Canvas, Rect(button.Left, button.Top + 1, button.Right - 1, button.Bottom - 1));
    }
}

void TEsgDateTimePicker::DrawFlatBorder(TCanvas* Canvas)
{
    TColor outer = FBorderColor;
    if (FBorderStyle == bsNone) {
        if (Parent())
            outer = Parent()->Color();
    } else if (Themed()) {
        outer = Disabled_Themed_Frame;
    }
    const TRect window = Rect(0, 0, Width(), Height());
    DrawColorFrame(Canvas, window, outer);
    Canvas->Pen()->SetColor(FBorderStyle == bsSingle && Parent() ? Parent()->Color() : outer);
    Canvas->MoveTo(1, Height() - 2);
    Canvas->LineTo(1, 1);
    Canvas->LineTo(Width() - 1, 1);
}
