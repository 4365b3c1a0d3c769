#include "controls/grid/EsgCombo.h"

#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/graphics/ThemePainter.h"

namespace {

TColor Either(TColor c, TColor fallback)
{
    return c != clNone ? c : fallback;
}

} // namespace

namespace EsgCombo {

int DefaultButtonWidth()
{
    return PlatformInfo().VScrollBarWidth + 2;
}

int DropButtonThemeState(bool enabled, bool pressed, bool dropped, bool hover)
{
    if (!enabled)
        return CBXS_DISABLED;
    if (pressed && dropped)
        return CBXS_PRESSED;
    if (!pressed && hover && !dropped)
        return CBXS_HOT;
    return CBXS_NORMAL;
}

void DrawColorFrame(TCanvas* Canvas, const TRect& Window, TColor Color)
{
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(Window);
}

void DrawStandardFrame(TCanvas* Canvas, const TRect& Window, bool Active, TColor Outer, TColor Inner, int ButtonWidth)
{
    TRect r = Window;
    if (Active) {
        Canvas->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        DrawColorFrame(Canvas, r, Outer);
        InflateRect(r, -1, -1);
        DrawColorFrame(Canvas, r, Inner);
        return;
    }
    DrawColorFrame(Canvas, r, Outer);
    InflateRect(r, -1, -1);
    r.Right -= ButtonWidth;
    DrawColorFrame(Canvas, r, Outer);
    InflateRect(r, -1, -1);
    DrawColorFrame(Canvas, r, Inner);
}

void DrawColorButton(TCanvas* Canvas, const TRect& R, const TButtonLook& Look, bool Hover, bool Pressed, int ArrowLeft)
{
    TColor Fill = Look.Color;
    if (Hover)
        Fill = Pressed ? Either(Look.ColorDown, Look.Color) : Either(Look.ColorHot, Look.Color);
    const TColor Border = Look.Border;
    const TColor Arrow = Pressed ? Either(Look.TextDown, Look.Text) : Look.Text;
    if (Fill != clNone) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(Fill);
        Canvas->FillRect(R);
    }
    if (Border != clNone) {
        Canvas->Pen()->SetColor(Border);
        Canvas->MoveTo(R.Left, R.Top);
        Canvas->LineTo(R.Left, R.Bottom);
    }
    if (Arrow != clNone) {
        Canvas->Pen()->SetColor(Arrow);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(Arrow);
        const int x = R.Left + ArrowLeft;
        Canvas->Polygon({ TPoint(x, R.Top + 7), TPoint(x + 6, R.Top + 7), TPoint(x + 3, R.Top + 10) });
    }
}

void FlattenButton(TCanvas* Canvas, const TRect& R)
{
    TRect r = R;
    DrawColorFrame(Canvas, r, clBtnFace);
    InflateRect(r, -1, -1);
    DrawColorFrame(Canvas, r, clBtnFace);
}

void TDropButton::TrackMouse(TWinControl* Control, const TMessage& Message)
{
    const int width = Control->Width();
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        FButtonDown = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN;
        Control->InvalidateRect(ButtonArea(width, Control->Height()));
        break;
    case CM_MOUSEENTER:
        if (Control->Enabled()) {
            FMouseInControl = true;
            Control->Invalidate();
        }
        break;
    case CM_MOUSELEAVE:
        FMouseInControl = false;
        FButtonHover = false;
        Control->Invalidate();
        break;
    case WM_MOUSEMOVE:
        if (const int x = GetXLParam(Message.LParam); (width - FButtonWidth < x && x < width) != FButtonHover) {
            FButtonHover = !FButtonHover;
            Control->InvalidateRect(ButtonArea(width, Control->Height()));
        }
        break;
    default:
        break;
    }
}

} // namespace EsgCombo

using namespace EsgCombo;

// ---------------------------------------------------------------------------
// TEsgCustomCombo

TEsgCustomCombo::TEsgCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner)
    , FIsThemed(PlatformInfo().ComCtl6OrLater)
    , FLabelFont(std::make_unique<TFont>())
{
    FLabelFont->OnChange = [this](TObject*) { LabelFontChanged(); };
}

TEsgCustomCombo::~TEsgCustomCombo()
{
    FLabelFont->OnChange = nullptr;
    delete FLabel;
}

void TEsgCustomCombo::Init()
{
    FNormalColor = Color();
}

void TEsgCustomCombo::SelectItem(const QString& AText)
{
    if (const int i = Items()->IndexOf(AText); i >= 0)
        SetItemIndex(i);
}

void TEsgCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    SetDropWidth(FDropWidth);
    FOldColor = FLoadedColor;
    if (!(FFlat && FFlatParentColor))
        SetColor(FLoadedColor);
    if (FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->SetEnabled(Enabled());
        if (ParentFont())
            FLabel->SetFont(Font());
        UpdateLabel();
    }
    Init();
}

void TEsgCustomCombo::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomComboBox::Notification(AComponent, Operation);
    // The parent frees its children: the label may go before the control.
    if (Operation == opRemove && AComponent == FLabel)
        FLabel = nullptr;
}

// --- settings ---------------------------------------------------------------

void TEsgCustomCombo::SetFlat(bool v)
{
    if (FFlat == v)
        return;
    FFlat = v;
    FCtl3D = !v;
    if (FFlatParentColor && v) {
        if (Parent())
            SetColor(Parent()->Color());
    } else {
        SetColor(FLoadedColor);
    }
    Invalidate();
}

void TEsgCustomCombo::SetEtched(bool v)
{
    FEtched = v;
    Invalidate();
}

void TEsgCustomCombo::SetButtonWidth(int v)
{
    if (v < 14 || v > 32)
        return;
    FButtonWidth = v;
    FitEditField();
    Invalidate();
}

void TEsgCustomCombo::SetFocusBorder(bool v)
{
    FFocusBorder = v;
    Invalidate();
}

void TEsgCustomCombo::SetDropWidth(int v)
{
    FDropWidth = v;
    if (v > 0)
        SetDroppedWidth(v);
}

void TEsgCustomCombo::SetFlatLineColor(TColor v)
{
    FFlatLineColor = v;
    Invalidate();
}

void TEsgCustomCombo::SetFlatParentColor(bool v)
{
    FFlatParentColor = v;
    Invalidate();
}

void TEsgCustomCombo::SetFocusBorderColor(TColor v)
{
    FFocusBorderColor = v;
    Invalidate();
}

void TEsgCustomCombo::SetBorderColor(TColor v)
{
    if (FBorderColor == v)
        return;
    FBorderColor = v;
    if (HandleAllocated())
        Invalidate();
}

void TEsgCustomCombo::SetDisabledBorder(bool v)
{
    FDisabledBorder = v;
    Invalidate();
}

void TEsgCustomCombo::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    Invalidate();
}

void TEsgCustomCombo::SetIsVista(bool v)
{
    FIsVista = v;
    Invalidate();
}

void TEsgCustomCombo::SetColor(TColor v)
{
    if (IsLoading())
        FLoadedColor = v;
    TCustomComboBox::SetColor(v);
}

void TEsgCustomCombo::SetEnabled(bool v)
{
    const bool changed = v != Enabled();
    TCustomComboBox::SetEnabled(v);
    if (IsLoading() || IsDesigning() || !changed || !FLabel)
        return;
    if (!FLabelAlwaysEnabled)
        FLabel->SetEnabled(v);
    UpdateLabel();
}

void TEsgCustomCombo::SetVisible(bool v)
{
    TCustomComboBox::SetVisible(v);
    if (FLabel)
        FLabel->SetVisible(v);
}

void TEsgCustomCombo::SetParent(TWinControl* AParent)
{
    TCustomComboBox::SetParent(AParent);
    // The label stands on the control's parent.
    if (FLabel && FLabel->Parent() != AParent) {
        FLabel->SetParent(AParent);
        UpdateLabel();
    }
}

void TEsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!IsDestroying())
        UpdateLabel();
}

// --- the label --------------------------------------------------------------

QString TEsgCustomCombo::LabelCaption() const
{
    return FLabel ? FLabel->Caption() : QString();
}

void TEsgCustomCombo::SetLabelCaption(const QString& v)
{
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->SetFont(FLabelFont.get());
        FLabel->SetParentFont(ParentFont());
        FLabel->SetTransparent(FLabelTransparent);
        FLabel->SetVisible(Visible());
        if (!FLabelAlwaysEnabled)
            FLabel->SetEnabled(Enabled());
    }
    FLabel->SetCaption(v);
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelMargin(int v)
{
    FLabelMargin = v;
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (FLabel && !v)
        FLabel->SetEnabled(Enabled());
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelFont(const TFont* v)
{
    // The font's change notification carries it to the label.
    FLabelFont->Assign(v);
}

void TEsgCustomCombo::LabelFontChanged()
{
    if (IsDesigning())
        SetParentFont(false);
    if (FLabel && !ParentFont())
        FLabel->SetFont(FLabelFont.get());
    UpdateLabel();
}

void TEsgCustomCombo::UpdateLabel()
{
    if (!FLabel)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->SetVisible(Visible());
    // The caption's width as the label's font draws it, accelerator marks left out.
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    canvas->SetFont(FLabel->Font());
    TRect extent = Rect(0, 0, 1000, 255);
    DrawText(canvas, FLabel->Caption(), extent, DT_CALCRECT | DT_HIDEPREFIX);
    const int w = extent.Width();
    const int lw = FLabel->Width(), lh = FLabel->Height();
    const int l = Left(), t = Top(), wd = Width(), h = Height(), m = FLabelMargin;
    int top = t, left = l;
    switch (FLabelPosition) {
    case lpLeftTop:
        left = l - w - m;
        break;
    case lpLeftCenter:
        top = t + (h - lh) / 2;
        left = l - w - m;
        break;
    case lpLeftBottom:
        top = t + h - lh;
        left = l - w - m;
        break;
    case lpTopLeft:
        top = t - lh - m;
        break;
    case lpBottomLeft:
        top = t + h + m;
        break;
    case lpLeftTopLeft:
        left = l - m;
        break;
    case lpLeftCenterLeft:
        top = t + (h - lh) / 2;
        left = l - m;
        break;
    case lpLeftBottomLeft:
        top = t + h - lh;
        left = l - m;
        break;
    case lpTopCenter:
        top = t - lh - m;
        left = l + (wd - lw) / 2;
        break;
    case lpBottomCenter:
        top = t + h + m;
        left = l + (wd - lw) / 2;
        break;
    case lpRightTop:
        left = l + wd + m;
        break;
    case lpRightCenter:
        top = t + (h - lh) / 2;
        left = l + wd + m;
        break;
    case lpRighBottom:
        top = t + h - lh;
        left = l + wd + m;
        break;
    }
    FLabel->SetBounds(left, top, lw, lh);
}

// --- focus, mouse and list --------------------------------------------------

void TEsgCustomCombo::FocusChanged(bool focused)
{
    if (focused) {
        if (FFocusColor != clNone) {
            // A control that was never loaded returns to the colour it had.
            if (FNormalColor == clNone)
                FNormalColor = Color();
            SetColor(FFocusColor);
        }
    } else if (FNormalColor != clNone && FFocusColor != clNone) {
        SetColor(FNormalColor);
    }
    if (FLabel && FFocusLabel) {
        TFontStyles style = FLabel->Font()->Style();
        style.setFlag(TFontStyle::fsBold, focused);
        FLabel->Font()->SetStyle(style);
        UpdateLabel();
    }
}

void TEsgCustomCombo::DoEnter()
{
    if (!IsDesigning()) {
        FHasFocus = true;
        Invalidate();
        FocusChanged(true);
    }
    TCustomComboBox::DoEnter();
}

void TEsgCustomCombo::DoExit()
{
    if (!IsDesigning()) {
        FHasFocus = false;
        Invalidate();
        FocusChanged(false);
    }
    TCustomComboBox::DoExit();
}

void TEsgCustomCombo::DropDown()
{
    InvalidateRect(ButtonArea(Width(), Height()));
    TCustomComboBox::DropDown();
}

void TEsgCustomCombo::CloseUp()
{
    FButtonDown = false;
    InvalidateRect(ButtonArea(Width(), Height()));
    TCustomComboBox::CloseUp();
    if (OnDropUp)
        OnDropUp(this);
}

void TEsgCustomCombo::WndProc(TMessage& Message)
{
    // A disabled flat control takes its parent's colour for the while.
    if (Message.Msg == CM_ENABLEDCHANGED && FFlat && !IsLoading()) {
        if (!Enabled()) {
            FOldColor = Color();
            FOldParentColor = ParentColor();
            if (Parent())
                SetColor(Parent()->Color());
        } else {
            SetColor(FOldColor);
            SetParentColor(FOldParentColor);
        }
    }
    TCustomComboBox::WndProc(Message);
    TrackMouse(this, Message);
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (FFocusBorderColor != clNone)
            Invalidate();
        FocusChanged(true);
        break;
    case WM_KILLFOCUS:
        Invalidate();
        FocusChanged(false);
        break;
    case CM_MOUSEENTER:
        if (Enabled() && FAutoFocus && !IsDesigning() && CanFocus()) {
            TCustomForm* form = GetParentForm(this);
            if (!form || form == Screen->ActiveForm())
                SetFocus();
        }
        break;
    case CM_PARENTFONTCHANGED:
        if (FLabel && ParentFont()) {
            FLabel->SetFont(Font());
            UpdateLabel();
        }
        break;
    case CM_FONTCHANGED:
        if (FLabel && ParentFont() && (IsDesigning() || IsLoading())) {
            FLabel->SetFont(Font());
            UpdateLabel();
        }
        break;
    default:
        break;
    }
}

// --- painting ---------------------------------------------------------------

bool TEsgCustomCombo::Themed() const
{
    return FIsWinXP && IsThemeActive();
}

bool TEsgCustomCombo::PaintsOwnClient() const
{
    if (FIsVista && FLook.Color == clNone)
        return false;
    return FFlat || FLook.Color != clNone || FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus)
        || (!Enabled() && Themed() && !FDisabledBorder);
}

bool TEsgCustomCombo::PaintsOwnFrame() const
{
    return PaintsOwnClient() || FFlat || (!Enabled() && Themed() && !FDisabledBorder) || FBorderColor != clNone
        || (FFocusBorderColor != clNone && FHasFocus);
}

TRect TEsgCustomCombo::WidgetPaintExclusion() const
{
    if (!PaintsOwnClient() || Style() == csSimple || UseRightToLeftAlignment())
        return TRect();
    return Rect(Width() - FButtonWidth - 4, 0, Width() + 2, Height());
}

int TEsgCustomCombo::EditFieldRight() const
{
    // The text stays clear of the area the own button paints.
    return Width() - FButtonWidth - 4;
}

void TEsgCustomCombo::PaintAfterWidget(TCanvas* Canvas)
{
    if (UseRightToLeftAlignment())
        return;
    if (const TRect own = WidgetPaintExclusion(); !own.IsEmpty()) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(Color());
        Canvas->FillRect(own);
        DrawButton(Canvas);
    }
    if (PaintsOwnFrame())
        DrawBorders(Canvas);
}

void TEsgCustomCombo::DrawButton(TCanvas* Canvas)
{
    TRect r = Rect(Width() - FButtonWidth + 2, 0, Width(), Height());
    InflateRect(r, -1, -1);
    const bool pressed = FButtonDown;
    if (FLook.Color == clNone) {
        if (Themed()) {
            HTHEME theme = OpenThemeData(QStringLiteral("combobox"));
            DrawThemeBackground(theme, Canvas, CP_DROPDOWNBUTTON,
                DropButtonThemeState(Enabled(), pressed, DroppedDown(), FButtonHover), r);
            CloseThemeData(theme);
        } else {
            TRect b = Rect(r.Left - 4, r.Top + 1, r.Right, r.Bottom - 1);
            DrawFrameControl(Canvas, b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
        }
        return;
    }
    DrawColorButton(Canvas, Rect(r.Left - 1, r.Top + 1, r.Right - 1, r.Bottom - 1), FLook, FButtonHover, pressed, 4);
}

void TEsgCustomCombo::DrawBorders(TCanvas* Canvas)
{
    if ((Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone)
        || (FIsVista && FBorderColor == clNone))
        return;
    const TRect window = Rect(0, 0, Width(), Height());
    const bool active = !IsDesigning() && (FMouseInControl || Screen->ActiveControl() == this) && FFocusBorder;
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
        if (FFlat && FFlatLineColor != clNone) {
            Canvas->Pen()->SetColor(FFlatLineColor);
            Canvas->MoveTo(0, Height() - 1);
            Canvas->LineTo(Width() - FButtonWidth - 1, Height() - 1);
        }
    }
    // The classic button lies flat until the mouse comes; an own-coloured one
    // has no edges to flatten.
    if (Style() == csSimple || Themed() || FLook.Color != clNone)
        return;
    if (!(FMouseInControl || active) || (IsDesigning() && !Enabled()))
        FlattenButton(Canvas, Rect(Width() - FButtonWidth, 3, Width() - 3, Height() - 3));
}
