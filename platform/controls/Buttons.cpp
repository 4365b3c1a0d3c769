#include "platform/controls/Buttons.h"

#include <algorithm>

#include "platform/graphics/DrawText.h"
#include "platform/graphics/ThemePainter.h"

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
{
    // The button clicks itself on the release (MouseUp), not through the
    // control's generic click handling.
    FControlStyle = TControlStyle(csCaptureMouse) | csDoubleClicks;
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetFlat(bool v)
{
    if (v == FFlat)
        return;
    FFlat = v;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool v)
{
    if (v == FTransparent)
        return;
    FTransparent = v;
    Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap* v)
{
    FGlyph->Assign(v);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int v)
{
    v = std::clamp(v, 1, 4);
    if (v == FNumGlyphs)
        return;
    FNumGlyphs = v;
    Invalidate();
}

void TSpeedButton::SetText(const QString& v)
{
    TGraphicControl::SetText(v);
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int v)
{
    if (v == FGroupIndex)
        return;
    FGroupIndex = v;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool v)
{
    if (v == FAllowAllUp)
        return;
    FAllowAllUp = v;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool v)
{
    if (FGroupIndex == 0)
        v = false;
    if (v == FDown || (FDown && !v && !FAllowAllUp))
        return;
    FDown = v;
    FState = v ? bsExclusive : bsUp;
    Invalidate();
    if (v)
        UpdateExclusive();
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m { CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(static_cast<TControl*>(this)), 0 };
    Parent()->Broadcast(m);
}

void TSpeedButton::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_BUTTONPRESSED) {
        // Other button kinds on the parent use the same notification: only
        // speed buttons form a speed button's group.
        auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TControl*>(Message.LParam));
        if (Message.WParam == WPARAM(FGroupIndex) && sender && sender != this) {
            if (sender->Down() && FDown) {
                FDown = false;
                FState = bsUp;
                Invalidate();
            }
            FAllowAllUp = sender->AllowAllUp();
        }
        Message.Result = 0;
        return;
    }
    if (Message.Msg == CM_ENABLEDCHANGED) {
        FState = Enabled() ? (FDown ? bsExclusive : bsUp) : bsDisabled;
        Invalidate();
    }
    TGraphicControl::Dispatch(Message);
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled()) {
        if (!FDown) {
            FState = bsDown;
            Invalidate();
        }
        FDragging = true;
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FDragging) {
        TButtonState state = FDown ? bsExclusive : bsUp;
        if (Inside(X, Y))
            state = FDown ? bsExclusive : bsDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    }
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    bool click = false;
    if (Button == mbLeft && FDragging) {
        FDragging = false;
        click = Inside(X, Y);
        if (FGroupIndex == 0) {
            FState = bsUp;
        } else if (click) {
            SetDown(!FDown);
            FState = FDown ? bsExclusive : bsUp;
        } else {
            FState = FDown ? bsExclusive : bsUp;
        }
        if (!Enabled())
            FState = bsDisabled;
        Invalidate();
    }
    const std::uint64_t self = ControlSerial(this);
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (click && FindControlBySerial(self))
        Click();
}

void TSpeedButton::MouseEnter()
{
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        Invalidate();
    }
    TGraphicControl::MouseEnter();
}

void TSpeedButton::MouseLeave()
{
    if (FMouseInControl) {
        FMouseInControl = false;
        Invalidate();
    }
    TGraphicControl::MouseLeave();
}

void TSpeedButton::Paint()
{
    TCanvas* C = Canvas();
    if (!C)
        return;
    TRect R = ClientRect();
    const bool pressed = Pressed();
    if (HTHEME theme = OpenThemeData("button")) {
        const int state = !Enabled() ? PBS_DISABLED : pressed ? PBS_PRESSED : FMouseInControl ? PBS_HOT : PBS_NORMAL;
        // A flat button shows no face until the mouse comes or it is down.
        if (!FFlat || state != PBS_NORMAL)
            DrawThemeBackground(theme, C, BP_PUSHBUTTON, state, R);
        else if (!FTransparent) {
            C->Brush()->SetColor(Color());
            C->FillRect(R);
        }
        CloseThemeData(theme);
    } else if (FFlat) {
        if (!FTransparent) {
            C->Brush()->SetColor(Color());
            C->FillRect(R);
        }
        if (pressed)
            C->DrawEdge(R, BDR_SUNKENOUTER, BF_RECT);
        else if (FMouseInControl && Enabled())
            C->DrawEdge(R, BDR_RAISEDINNER, BF_RECT);
    } else {
        DrawFrameControl(C, R, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0u));
    }
    const TPoint offset = pressed ? TPoint(1, 1) : TPoint(0, 0);
    DrawGlyph(C, ClientRect(), offset);
    DrawCaption(C, ClientRect(), offset, Enabled() ? Font()->Color() : clGrayText);
}

void TSpeedButton::DrawGlyph(TCanvas* C, const TRect& R, TPoint Offset)
{
    if (FGlyph->Width() == 0 || FGlyph->Height() == 0)
        return;
    const int w = FGlyph->Width() / FNumGlyphs;
    const int h = FGlyph->Height();
    int index = 0;
    switch (FState) {
    case bsDisabled:
        index = 1;
        break;
    case bsDown:
        index = 2;
        break;
    case bsExclusive:
        index = 3;
        break;
    default:
        break;
    }
    if (index >= FNumGlyphs)
        index = 0;
    // The glyph's bottom-left colour is see-through, as on every button glyph.
    QImage cell = FGlyph->ToImage().copy(index * w, 0, w, h).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = FGlyph->ToImage().pixel(0, h - 1) | 0xFF000000u;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(cell.scanLine(y));
        for (int x = 0; x < w; ++x)
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
    }
    const int x = R.Left + (R.Width() - w) / 2 + Offset.X;
    const int y = R.Top + (R.Height() - h) / 2 + Offset.Y;
    C->Draw(x, y, cell);
}

void TSpeedButton::DrawCaption(TCanvas* C, const TRect& R, TPoint Offset, TColor Color)
{
    if (Caption().isEmpty())
        return;
    C->Font()->Assign(Font());
    C->Font()->SetColor(Color);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect r = R;
    OffsetRect(r, Offset.X, Offset.Y);
    DrawText(C, Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
}
