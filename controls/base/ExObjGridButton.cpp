#include "controls/base/ExObjGridButton.h"

#include <QImage>
#include <algorithm>

#include "controls/base/ExStyleIF.h"
#include "controls/base/ExXPVS.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ThemePainter.h"
#include "platform/runtime/SysUtils.h"

namespace {

// The width of the drop-down part at the right.
constexpr int DropDownWidth = 12;

TRect Grown(TRect r, int by)
{
    InflateRect(r, by, by);
    return r;
}

// Fill and frame in one colour pair; a frame of clNone takes the fill colour.
void FillFramed(TCanvas* C, const TRect& R, TColor Fill, TColor Frame)
{
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(Fill);
    C->Pen()->SetColor(Frame == clNone ? Fill : Frame);
    C->Rectangle(R);
}

void FillOrGradient(TCanvas* C, const TRect& R, TColor From, TColor To, TColor Frame)
{
    if (To == clNone)
        FillFramed(C, R, From, Frame);
    else
        DrawButtonGradient(C, From, To, R, Frame);
}

void OutlineRound(TCanvas* C, const TRect& R, TColor Color)
{
    if (Color == clNone)
        return;
    C->Pen()->SetColor(Color);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->RoundRect(R, 8, 8);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
}

struct TLookColors {
    TColor Color, ColorTo, ColorHot, ColorHotTo, ColorDown, ColorDownTo, ColorChecked, ColorCheckedTo, BorderDown,
        BorderHot;
};

constexpr TColor None = clNone;
constexpr TColor BtnFace = TColor(0xFF00000F);

const TLookColors Looks[7] = {
    { TColor(0xEDF1F1), TColor(0xDFEBEB), TColor(0xFAFCFC), TColor(0xE5ECED), TColor(0xE0E6E7), TColor(0xD8E0E1),
        TColor(0xFFFFFF), None, TColor(0xAF987A), TColor(0xC3CECE) },
    { BtnFace, None, TColor(0xEED2C1), None, TColor(0xE2B598), None, TColor(0xE8E6E1), None, TColor(0xC56A31),
        TColor(0xC56A31) },
    { TColor(0xFDEADA), TColor(0xE4AE88), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
        TColor(0x8ED3FF), TColor(0x55ADFF), TColor(0x000000), TColor(0x000000) },
    { TColor(0xCFF0EA), TColor(0x8CC0B1), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
        TColor(0x8ED3FF), TColor(0x55ADFF), TColor(0x000000), TColor(0x000000) },
    { TColor(0xECE2E1), TColor(0xB39698), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
        TColor(0x8ED3FF), TColor(0x55ADFF), TColor(0x000000), TColor(0x000000) },
    { BtnFace, None, BtnFace, None, TColor(0xD8D3D2), None, TColor(0xCAC7C7), None, None, None },
    { TColor(0xCAFFFF), TColor(0xA6FFFF), TColor(0xA8F0FD), TColor(0x7CE9FC), TColor(0x4DE0FB), TColor(0x7AE9FC),
        TColor(0xB5E6F2), TColor(0x9CDDED), TColor(0x808080), TColor(0x808080) },
};

bool Empty(const TBitmap* b)
{
    return !b || b->Empty();
}

} // namespace

// ---------------------------------------------------------------------------
// Free routines

void CalcButtonLayout(const TRect& Client, TPoint Offset, TSize GlyphSize, TSize TextSize, TButtonLayout Layout,
    int Margin, int Spacing, bool RightToLeft, TPoint& GlyphPos, TRect& TextBounds)
{
    if (RightToLeft) {
        if (Layout == blGlyphLeft)
            Layout = blGlyphRight;
        else if (Layout == blGlyphRight)
            Layout = blGlyphLeft;
    }
    const int cw = Client.Width();
    const int ch = Client.Height();
    TPoint gp, tp;
    const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
    if (horizontal) {
        gp.Y = (ch - GlyphSize.cy + 1) / 2;
        tp.Y = (ch - TextSize.cy + 1) / 2;
    } else {
        gp.X = (cw - GlyphSize.cx + 1) / 2;
        tp.X = (cw - TextSize.cx + 1) / 2;
    }
    if (TextSize.cx == 0 || GlyphSize.cx == 0)
        Spacing = 0;
    const int clientLen = horizontal ? cw : ch;
    const int glyphLen = horizontal ? GlyphSize.cx : GlyphSize.cy;
    const int textLen = horizontal ? TextSize.cx : TextSize.cy;
    if (Margin == -1) {
        if (Spacing < 0) {
            Margin = (clientLen - glyphLen - textLen) / 3;
            Spacing = Margin;
        } else {
            Margin = (clientLen - glyphLen - Spacing - textLen + 1) / 2;
        }
    } else if (Spacing < 0) {
        Spacing = (clientLen - Margin - glyphLen - textLen) / 2;
    }
    switch (Layout) {
    case blGlyphLeft:
        gp.X = Margin;
        tp.X = gp.X + GlyphSize.cx + Spacing;
        break;
    case blGlyphRight:
        gp.X = cw - Margin - GlyphSize.cx;
        tp.X = gp.X - Spacing - TextSize.cx;
        break;
    case blGlyphTop:
        gp.Y = Margin;
        tp.Y = gp.Y + GlyphSize.cy + Spacing;
        break;
    case blGlyphBottom:
        gp.Y = ch - Margin - GlyphSize.cy;
        tp.Y = gp.Y - Spacing - TextSize.cy;
        break;
    }
    GlyphPos = TPoint(gp.X + Client.Left + Offset.X, gp.Y + Client.Top + Offset.Y);
    TextBounds = Bounds(tp.X + Client.Left + Offset.X, tp.Y + Client.Top + Offset.X, TextSize.cx, TextSize.cy);
}

void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, const TRect& R, TColor FrameColor)
{
    const TColor from = ColorToRGB(FromColor);
    const TColor to = ColorToRGB(ToColor);
    const int r0 = GetRValue(from), g0 = GetGValue(from), b0 = GetBValue(from);
    const int dr = GetRValue(to) - r0, dg = GetGValue(to) - g0, db = GetBValue(to) - b0;
    const double step = R.Height() / 16.0;
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int i = 0; i < 16; ++i) {
        const int top = R.Top + int(Round(i * step));
        const TColor band
            = RGB(r0 + int(Round(i * dr / 16.0)), g0 + int(Round(i * dg / 16.0)), b0 + int(Round(i * db / 16.0)));
        Canvas->Brush()->SetColor(band);
        Canvas->Pen()->SetColor(band);
        Canvas->FillRect(Rect(R.Left, top, R.Right, std::min<int>(top + int(Round(step)) + 1, R.Bottom)));
    }
    if (FrameColor != clNone) {
        Canvas->Pen()->SetColor(FrameColor);
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        Canvas->Rectangle(R);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

void MakeDisabledGlyph(const TBitmap* Glyph, TBitmap* Result)
{
    if (Empty(Glyph)) {
        Result->Assign(nullptr);
        return;
    }
    QImage img = Glyph->ToImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int grey = ((qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3) / 2 + 96;
            line[x] = qRgb(grey, grey, grey);
        }
    }
    Result->Assign(nullptr);
    Result->SetImage(img);
}

void MakeShadeGlyph(const TBitmap* Glyph, TBitmap* Result)
{
    if (Empty(Glyph)) {
        Result->Assign(nullptr);
        return;
    }
    QImage img = Glyph->ToImage().convertToFormat(QImage::Format_RGB32);
    const QRgb key = img.pixel(0, img.height() - 1) | 0xFF000000;
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = (line[x] | 0xFF000000) == key ? key : grey;
    }
    Result->Assign(nullptr);
    Result->SetImage(img);
}

// ---------------------------------------------------------------------------
// TExGridButtonActionLink

TExGridButtonActionLink::TExGridButtonActionLink(TExGridButton* AClient)
    : TControlActionLink(AClient)
{
}

TExGridButton* TExGridButtonActionLink::Button() const
{
    return static_cast<TExGridButton*>(FClient);
}

bool TExGridButtonActionLink::IsCheckedLinked() const
{
    return TControlActionLink::IsCheckedLinked() && Button()->FGroupIndex != 0 && Button()->FAllowAllUp
        && Action()->Checked() == Button()->FDown;
}

bool TExGridButtonActionLink::IsGroupIndexLinked() const
{
    return TControlActionLink::IsGroupIndexLinked() && Action()->GroupIndex() == Button()->FGroupIndex;
}

void TExGridButtonActionLink::SetChecked(bool v)
{
    if (IsCheckedLinked())
        Button()->SetDown(v);
}

void TExGridButtonActionLink::SetGroupIndex(int v)
{
    if (IsGroupIndexLinked())
        Button()->SetGroupIndex(v);
}

// ---------------------------------------------------------------------------
// TExGridButton

TExGridButton::TExGridButton(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
    , FGlyphHot(std::make_unique<TBitmap>())
    , FGlyphDown(std::make_unique<TBitmap>())
    , FGlyphDisabled(std::make_unique<TBitmap>())
    , FShadeGlyph(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 22, 23);
    SetControlStyle(TControlStyle(csCaptureMouse) | csDoubleClicks);
    SetColor(clBtnFace);
    FIsComCtl6 = IsComCtl6OrLater();
}

TExGridButton::~TExGridButton() = default;

void TExGridButton::SetColorTo(TColor v)
{
    FColorTo = v;
    Invalidate();
}

void TExGridButton::SetColorChecked(TColor v)
{
    FColorChecked = v;
    Invalidate();
}

void TExGridButton::SetColorCheckedTo(TColor v)
{
    FColorCheckedTo = v;
    Invalidate();
}

void TExGridButton::SetBorderColor(TColor v)
{
    FBorderColor = v;
    Invalidate();
}

void TExGridButton::SetFlat(bool v)
{
    if (v == FFlat)
        return;
    FFlat = v;
    Invalidate();
}

void TExGridButton::SetRounded(bool v)
{
    FRounded = v;
    Invalidate();
}

void TExGridButton::SetShaded(bool v)
{
    FShaded = v;
    if (v && !IsLoading())
        MakeShadeGlyph(FGlyph.get(), FShadeGlyph.get());
}

void TExGridButton::SetShowCaption(bool v)
{
    if (v == FShowCaption)
        return;
    FShowCaption = v;
    Invalidate();
}

void TExGridButton::SetGlyph(const TBitmap* v)
{
    FGlyph->Assign(v);
    if (FGlyphDisabled->Empty())
        MakeDisabledGlyph(FGlyph.get(), FGlyphDisabled.get());
    // A shade of the previous glyph would show the wrong silhouette.
    if (FShaded && !IsLoading())
        MakeShadeGlyph(FGlyph.get(), FShadeGlyph.get());
    Invalidate();
}

void TExGridButton::SetLayout(TButtonLayout v)
{
    if (v == FLayout)
        return;
    FLayout = v;
    Invalidate();
}

void TExGridButton::SetMargin(int v)
{
    if (v == FMargin || v < -1)
        return;
    FMargin = v;
    Invalidate();
}

void TExGridButton::SetSpacing(int v)
{
    if (v == FSpacing)
        return;
    FSpacing = v;
    Invalidate();
}

void TExGridButton::SetGroupIndex(int v)
{
    FGroupIndex = v;
    UpdateExclusive();
}

void TExGridButton::SetAllowAllUp(bool v)
{
    FAllowAllUp = v;
    UpdateExclusive();
}

void TExGridButton::SetDown(bool v)
{
    if (FGroupIndex == 0 && FStyle != TExGridButtonStyle::tasCheck)
        v = false;
    if (FStyle == TExGridButtonStyle::tasCheck) {
        FDown = v;
        Invalidate();
        return;
    }
    if (v == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = v;
    if (v) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Invalidate();
    }
}

void TExGridButton::SetStyle(TExGridButtonStyle v)
{
    FStyle = v;
    Invalidate();
}

void TExGridButton::SetDropDownButton(bool v)
{
    FDropDownButton = v;
    Invalidate();
}

void TExGridButton::SetDropDownMenu(TPopupMenuBase* v)
{
    if (v == FDropDownMenu)
        return;
    if (FDropDownMenu)
        FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = v;
    if (v)
        v->FreeNotification(this);
}

void TExGridButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
}

void TExGridButton::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    if (v)
        ThemeAdapt();
    Invalidate();
}

void TExGridButton::SetLook(int v)
{
    if (v < 0 || v > 6)
        return;
    const TLookColors& l = Looks[v];
    FLook = v;
    SetColor(l.Color);
    FColorTo = l.ColorTo;
    FColorHot = l.ColorHot;
    FColorHotTo = l.ColorHotTo;
    FColorDown = l.ColorDown;
    FColorDownTo = l.ColorDownTo;
    FColorChecked = l.ColorChecked;
    FColorCheckedTo = l.ColorCheckedTo;
    FBorderDownColor = l.BorderDown;
    FBorderHotColor = l.BorderHot;
    FBorderColor = clNone;
    FFlat = true;
    FRounded = v == 0;
    Invalidate();
}

void TExGridButton::ThemeAdapt()
{
    int look = 1;
    QString file, color, size;
    const TThemeLibrary& lib = ThemeLibrary();
    if (IsWinXPOrLater() && lib.IsThemeActive && lib.IsThemeActive() && lib.GetCurrentThemeName
        && lib.GetCurrentThemeName(file, color, size)) {
        if (color.compare(QStringLiteral("NormalColor"), Qt::CaseInsensitive) == 0)
            look = 2;
        else if (color.compare(QStringLiteral("HomeStead"), Qt::CaseInsensitive) == 0)
            look = 3;
        else if (color.compare(QStringLiteral("Metallic"), Qt::CaseInsensitive) == 0)
            look = 4;
    }
    SetLook(look);
}

void TExGridButton::Loaded()
{
    TGraphicControl::Loaded();
    if (FShaded)
        MakeShadeGlyph(FGlyph.get(), FShadeGlyph.get());
    if (FAutoThemeAdapt)
        ThemeAdapt();
}

void TExGridButton::UpdateExclusive()
{
    // Only buttons on the same parent form a group.
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m { CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(static_cast<TControl*>(this)), 0 };
    Parent()->Broadcast(m);
}

void TExGridButton::ButtonPressed(TMessage& Message)
{
    auto* sender = dynamic_cast<TExGridButton*>(reinterpret_cast<TControl*>(Message.LParam));
    if (!sender || sender == this || int(Message.WParam) != FGroupIndex)
        return;
    if (sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        if (TCustomAction* action = Action())
            action->SetChecked(false);
        Invalidate();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

void TExGridButton::UpdateTracking(int X, int Y)
{
    if (!Enabled())
        return;
    const bool over = Inside(X, Y) && MouseControl() == this;
    if (over != FMouseInControl) {
        FMouseInControl = over;
        Invalidate();
    }
}

void TExGridButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_BUTTONPRESSED:
        ButtonPressed(Message);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(char16_t(Message.WParam), Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    case WM_THEMECHANGED:
    case CM_SYSFONTCHANGED:
        if (FAutoThemeAdapt)
            ThemeAdapt();
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled() && FMouseInControl)
            FMouseInControl = false;
        Invalidate();
        break;
    case CM_FONTCHANGED:
        Invalidate();
        break;
    case WM_LBUTTONDBLCLK: {
        // Only a button that stays down takes double clicks.
        const std::uint64_t self = ControlSerial(this);
        TGraphicControl::WndProc(Message);
        if (FindControlBySerial(self) && FDown)
            DblClick();
        return;
    }
    default:
        break;
    }
    TGraphicControl::WndProc(Message);
}

void TExGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (FDropDownButton && X >= Width() - DropDownWidth) {
        FState = bsUp;
        if (OnDropDown)
            OnDropDown(this);
        if (FDropDownMenu) {
            const TPoint p = ClientToScreen(TPoint(0, Height()));
            FDropDownMenu->SetPopupComponent(this);
            FDropDownMenu->Popup(p.X, p.Y);
        }
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (FStyle == TExGridButtonStyle::tasCheck) {
        FState = bsDown;
        Repaint();
    }
    FDragging = true;
}

void TExGridButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        int state = FDown ? bsExclusive : bsUp;
        if (Inside(X, Y))
            state = FDown ? bsExclusive : bsDown;
        if (FStyle == TExGridButtonStyle::tasCheck && FDown)
            state = bsDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking(X, Y);
    }
}

void TExGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool inside = Inside(X, Y);
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        // A toggle follows the click: a release outside changes nothing.
        if (FStyle == TExGridButtonStyle::tasCheck && inside)
            SetDown(!FDown);
        Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            Repaint();
    } else {
        if (FDown)
            FState = bsExclusive;
        Repaint();
    }
    const std::uint64_t self = ControlSerial(this);
    if (inside)
        Click();
    if (FindControlBySerial(self))
        UpdateTracking(X, Y);
}

void TExGridButton::MouseEnter()
{
    if (!FMouseInControl && Enabled() && !FDragging && !GetCaptureControl()) {
        FMouseInControl = true;
        Invalidate();
    }
    TGraphicControl::MouseEnter();
}

void TExGridButton::MouseLeave()
{
    if (FMouseInControl && Enabled() && !FDragging) {
        FMouseInControl = false;
        Invalidate();
    }
    TGraphicControl::MouseLeave();
}

void TExGridButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action)
        return;
    if (!CheckDefaults || FGroupIndex == 0)
        SetGroupIndex(action->GroupIndex());
    if (!CheckDefaults || !FDown)
        SetDown(action->Checked());
}

std::unique_ptr<TControlActionLink> TExGridButton::CreateActionLink()
{
    return std::make_unique<TExGridButtonActionLink>(this);
}

// ----- painting -----

void TExGridButton::PaintFlatFace(TCanvas* C, TRect& R)
{
    const bool check = FStyle == TExGridButtonStyle::tasCheck;
    if (FBorderDownColor == clNone || FRounded)
        InflateRect(R, -1, -1);
    if (!FMouseInControl || !Enabled() || IsDesigning()) {
        if (check && FDown) {
            FillOrGradient(C, R, FColorChecked, FColorCheckedTo, FBorderDownColor);
        } else {
            if (FColorTo == clNone) {
                C->Brush()->SetStyle(TBrushStyle::bsSolid);
                C->Brush()->SetColor(Color());
                C->FillRect(R);
            } else {
                DrawButtonGradient(
                    C, Color(), FColorTo, R, FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor));
            }
            if (FBorderColor != clNone) {
                if (FRounded) {
                    OutlineRound(C, Grown(R, 1), FBorderColor);
                } else {
                    C->Pen()->SetColor(FBorderColor);
                    C->Brush()->SetStyle(TBrushStyle::bsClear);
                    C->Rectangle(R);
                    C->Brush()->SetStyle(TBrushStyle::bsSolid);
                }
            }
        }
    } else {
        TColor fill = FColorHot, fillTo = FColorHotTo, pen = FBorderHotColor;
        if (FState == bsDown) {
            fill = FColorDown;
            fillTo = FColorDownTo;
            pen = FBorderDownColor;
        } else if (check && FDown) {
            fill = FColorChecked;
            fillTo = FColorCheckedTo;
            pen = FBorderDownColor;
        }
        const TColor border = pen;
        FillOrGradient(C, R, fill, fillTo, FRounded ? clNone : pen);
        if (FRounded)
            OutlineRound(C, Grown(R, 1), FState == bsDown ? FBorderDownColor : FBorderHotColor);
        if (FDropDownButton && border != clNone) {
            C->Pen()->SetColor(border);
            C->MoveTo(R.Right - DropDownWidth, R.Top);
            C->LineTo(R.Right - DropDownWidth, R.Bottom);
        }
    }
    InflateRect(R, -1, -1);
}

void TExGridButton::Paint()
{
    TCanvas* C = Canvas();
    if (!C)
        return;
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == TExGridButtonStyle::tasCheck && FDown)
        FState = bsDown;
    C->SetFont(Font());
    TRect R = ClientRect();
    if (FFlat) {
        PaintFlatFace(C, R);
    } else if (IsWinXPOrLater() && FAutoXPStyle && FIsComCtl6 && IsThemeActive()) {
        HTHEME theme = OpenThemeData(Parent(), QStringLiteral("button"));
        const int state = FState == bsDown || FState == bsExclusive ? PBS_PRESSED
            : FMouseInControl                                       ? PBS_HOT
                                                                    : PBS_NORMAL;
        DrawThemeBackground(theme, C, BP_PUSHBUTTON, state, R);
        CloseThemeData(theme);
    } else {
        unsigned flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
        if (FState == bsDown || FState == bsExclusive)
            flags |= DFCS_PUSHED;
        DrawFrameControl(C, R, DFC_BUTTON, flags);
    }

    TPoint offset(0, 0);
    if (FState == bsDown || FState == bsExclusive) {
        if (FState == bsExclusive && (!FFlat || !FMouseInControl))
            FillOrGradient(C, Grown(R, 1), FColorChecked, FColorCheckedTo, FDown ? FBorderDownColor : FBorderColor);
        if (!FFlat && !IsDesigning())
            offset = TPoint(1, 1);
    } else if (FFlat && FShaded && Enabled() && FMouseInControl) {
        offset = TPoint(-1, -1);
    }

    if (FDropDownButton) {
        const int m = R.Top + R.Height() / 2 - 1;
        C->Pen()->SetColor(Font()->Color());
        C->Brush()->SetStyle(TBrushStyle::bsSolid);
        C->Brush()->SetColor(Font()->Color());
        C->Polygon({ TPoint(R.Right - 8, m), TPoint(R.Right - 4, m), TPoint(R.Right - 6, m + 2) });
        R.Right -= DropDownWidth;
    }
    PaintContent(C, R, offset);
}

void TExGridButton::PaintContent(TCanvas* C, const TRect& R, TPoint Offset)
{
    // A down button of a group draws its content as pressed.
    const int state = FDown && FGroupIndex != 0 && FState != bsDisabled ? bsDown : FState;
    const bool pressed = state == bsDown || state == bsExclusive;
    const bool hot = FMouseInControl && Enabled();

    const TBitmap* glyph = FGlyph.get();
    if (hot) {
        if (!pressed && !Empty(FGlyphHot.get()) && !IsDesigning())
            glyph = FGlyphHot.get();
        else if (pressed && !Empty(FGlyphDown.get()))
            glyph = FGlyphDown.get();
    } else if (pressed && !Empty(FGlyphDown.get())) {
        glyph = FGlyphDown.get();
    }
    if (!Enabled() && !Empty(FGlyphDisabled.get()))
        glyph = FGlyphDisabled.get();
    if (Empty(glyph))
        glyph = FGlyph.get();

    const QString caption = Caption();
    TSize textSize(0, 0);
    if (!caption.isEmpty()) {
        TRect calc = Rect(0, 0, R.Width(), 0);
        DrawText(C, caption, calc, DT_CALCRECT | DT_SINGLELINE | (UseRightToLeftReading() ? DT_RTLREADING : 0));
        textSize = TSize(calc.Width(), calc.Height());
    }
    const TSize glyphSize = Empty(glyph) ? TSize(0, 0) : TSize(glyph->Width(), glyph->Height());
    TPoint glyphPos;
    TRect textBox;
    CalcButtonLayout(
        R, Offset, glyphSize, textSize, FLayout, FMargin, FSpacing, UseRightToLeftAlignment(), glyphPos, textBox);

    if (!Empty(glyph)) {
        if (caption.isEmpty())
            glyphPos = TPoint(0, 0);
        if (FShaded && Enabled() && FMouseInControl && FState != bsDown && !Empty(FShadeGlyph.get())) {
            TBitmap shade;
            shade.Assign(FShadeGlyph.get());
            shade.SetTransparent(true);
            C->Draw(glyphPos.X + 2, glyphPos.Y + 2, &shade);
        }
        TBitmap g;
        g.Assign(glyph);
        g.SetTransparent(true);
        C->Draw(glyphPos.X, glyphPos.Y, &g);
    }

    if (FFlat && FShaded && FMouseInControl && Enabled() && !pressed && !IsDesigning())
        OffsetRect(textBox, 1, 1);
    if (!FShowCaption || caption.isEmpty())
        return;
    const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | (UseRightToLeftReading() ? DT_RTLREADING : 0);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    if (!Enabled()) {
        TRect shadow = textBox;
        OffsetRect(shadow, 1, 1);
        C->Font()->SetColor(clBtnHighlight);
        DrawText(C, caption, shadow, flags);
        C->Font()->SetColor(clBtnShadow);
        DrawText(C, caption, textBox, flags);
    } else {
        DrawText(C, caption, textBox, flags);
    }
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
}
