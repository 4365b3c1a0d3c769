#include "platform/controls/ExtCtrls.h"

#include <QPalette>
#include <QScrollBar>
#include <QWidget>

#include "platform/graphics/DrawText.h"
#include "platform/graphics/PlatformInfo.h"

// ---------------------------------------------------------------------------
// Panel

TCustomPanel::TCustomPanel(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle(csAcceptsControls) | csCaptureMouse | csClickEvents | csSetCaption | csOpaque
        | csDoubleClicks | csReplicatable | csParentBackground;
    FColor = clBtnFace;
    FParentColor = false;
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut v)
{
    FBevelOuter = v;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v)
{
    FBevelInner = v;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int v)
{
    FBevelWidth = std::max(1, v);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int v)
{
    FBorderWidth = std::max(0, v);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v)
{
    FBorderStyle = v;
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment v)
{
    FAlignment = v;
    Invalidate();
}

void TCustomPanel::SetVerticalAlignment(TVerticalAlignment v)
{
    FVerticalAlignment = v;
    Invalidate();
}

void TCustomPanel::SetShowCaption(bool v)
{
    FShowCaption = v;
    Invalidate();
}

void TCustomPanel::SetParentBackground(bool v)
{
    FParentBackground = v;
    if (v)
        FControlStyle |= csParentBackground;
    else
        FControlStyle &= ~TControlStyle(csParentBackground);
    Invalidate();
}

void TCustomPanel::SetText(const QString& v)
{
    TCustomControl::SetText(v);
    Invalidate();
}

int TCustomPanel::FrameWidth() const
{
    int w = FBorderWidth;
    if (FBevelOuter != bvNone)
        w += FBevelWidth;
    if (FBevelInner != bvNone)
        w += FBevelWidth;
    if (FBorderStyle == bsSingle)
        w += 2;
    return w;
}

void TCustomPanel::AdjustClientRect(TRect& Rect)
{
    TCustomControl::AdjustClientRect(Rect);
    const int w = FrameWidth();
    InflateRect(Rect, -w, -w);
}

bool TCustomPanel::PaintsBackground() const
{
    return !(PlatformInfo().ThemesActive && FParentBackground);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevelColors = [](TBevelCut cut, TColor& top, TColor& bottom) {
        top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    if (PaintsBackground()) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    if (FBorderStyle == bsSingle)
        c->DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    TColor top, bottom;
    if (FBevelOuter != bvNone) {
        bevelColors(FBevelOuter, top, bottom);
        c->Frame3D(r, top, bottom, FBevelWidth);
    }
    InflateRect(r, -FBorderWidth, -FBorderWidth);
    if (FBevelInner != bvNone) {
        bevelColors(FBevelInner, top, bottom);
        c->Frame3D(r, top, bottom, FBevelWidth);
    }
    if (FShowCaption && !Caption().isEmpty()) {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Font()->Assign(Font());
        unsigned flags = DT_EXPANDTABS | DT_SINGLELINE;
        flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
        flags |= FVerticalAlignment == taVerticalCenter ? DT_VCENTER
            : FVerticalAlignment == taAlignBottom       ? DT_BOTTOM
                                                        : DT_TOP;
        DrawText(c, Caption(), r, flags);
    }
}

// ---------------------------------------------------------------------------
// Shape

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FPen(std::make_unique<TPen>())
    , FBrush(std::make_unique<TBrush>())
{
    FControlStyle |= csReplicatable;
    SetBounds(0, 0, 65, 65);
    FPen->OnChange = [this](TObject*) { Invalidate(); };
    FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType v)
{
    if (FShape == v)
        return;
    FShape = v;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* c = Canvas();
    c->SetPen(FPen.get());
    c->SetBrush(FBrush.get());
    // The pen is centred on the outline, so the figure is inset by half of it.
    const int pw = FPen->Width();
    int x = pw / 2;
    int y = x;
    int w = Width() - pw + 1;
    int h = Height() - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    const int s = std::min(w, h);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = s;
        h = s;
    }
    switch (FShape) {
    case stRectangle:
    case stSquare:
        c->Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare:
        c->RoundRect(x, y, x + w, y + h, s / 4, s / 4);
        break;
    case stCircle:
    case stEllipse:
        c->Ellipse(x, y, x + w, y + h);
        break;
    }
}

// ---------------------------------------------------------------------------
// Image

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FPicture(std::make_unique<TPicture>())
{
    FControlStyle |= csReplicatable;
    SetBounds(0, 0, 105, 105);
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::PictureChanged()
{
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    Invalidate();
}

void TImage::SetStretch(bool v)
{
    FStretch = v;
    Invalidate();
}

void TImage::SetCenter(bool v)
{
    FCenter = v;
    Invalidate();
}

void TImage::SetProportional(bool v)
{
    FProportional = v;
    Invalidate();
}

void TImage::SetTransparent(bool v)
{
    FTransparent = v;
    if (TGraphic* g = FPicture->Graphic())
        g->SetTransparent(v);
    Invalidate();
}

void TImage::SetAutoSize(bool v)
{
    FAutoSize = v;
    PictureChanged();
}

TRect TImage::DestRect() const
{
    int w = FPicture->Width();
    int h = FPicture->Height();
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            // Fit the longer side, keeping the picture's aspect.
            const double xyaspect = double(w) / h;
            if (w > h) {
                w = cw;
                h = int(cw / xyaspect);
                if (h > ch) {
                    h = ch;
                    w = int(ch * xyaspect);
                }
            } else {
                h = ch;
                w = int(ch * xyaspect);
                if (w > cw) {
                    w = cw;
                    h = int(cw / xyaspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r(0, 0, w, h);
    if (FCenter)
        OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint()
{
    TGraphic* g = FPicture->Graphic();
    if (!g || g->Empty())
        return;
    g->SetTransparent(FTransparent || g->Transparent());
    Canvas()->StretchDraw(DestRect(), g);
}

// ---------------------------------------------------------------------------
// Scroll bars

int TControlScrollBar::MaxPosition() const
{
    const TRect r = FControl->ClientRect();
    const int page = FKind == sbVertical ? r.Height() : r.Width();
    return std::max(0, FRange - page);
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    if (!FVisible)
        return false;
    const int page = FKind == sbVertical ? FControl->Height() : FControl->Width();
    return FRange > page;
}

void TControlScrollBar::SetPosition(int v)
{
    v = std::clamp(v, 0, MaxPosition());
    if (v == FPosition)
        return;
    const int delta = FPosition - v;
    FPosition = v;
    if (FKind == sbVertical)
        FControl->ScrollBy(0, delta);
    else
        FControl->ScrollBy(delta, 0);
    FControl->PlaceScrollBars();
}

void TControlScrollBar::SetRange(int v)
{
    FRange = std::max(0, v);
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool v)
{
    FVisible = v;
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetTracking(bool v)
{
    FTracking = v;
    FControl->PlaceScrollBars();
}

void TControlScrollBar::ScrollMessage(const TMessage& Message)
{
    const TRect r = FControl->ClientRect();
    const int page = FKind == sbVertical ? r.Height() : r.Width();
    switch (LoWord(Message.WParam)) {
    case SB_LINEUP:
        SetPosition(FPosition - FIncrement);
        break;
    case SB_LINEDOWN:
        SetPosition(FPosition + FIncrement);
        break;
    case SB_PAGEUP:
        SetPosition(FPosition - page);
        break;
    case SB_PAGEDOWN:
        SetPosition(FPosition + page);
        break;
    case SB_THUMBPOSITION:
        SetPosition(HiWord(Message.WParam));
        break;
    case SB_THUMBTRACK:
        if (FTracking)
            SetPosition(HiWord(Message.WParam));
        break;
    case SB_TOP:
        SetPosition(0);
        break;
    case SB_BOTTOM:
        SetPosition(MaxPosition());
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Scrolling control

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner)
    , FHorz(std::make_unique<TControlScrollBar>(this, sbHorizontal))
    , FVert(std::make_unique<TControlScrollBar>(this, sbVertical))
{
    FControlStyle |= csAcceptsControls;
}

TScrollingWinControl::~TScrollingWinControl() = default;

QWidget* TScrollingWinControl::CreateWidget()
{
    QWidget* w = TWinControl::CreateWidget();
    FHorzWidget = new QScrollBar(Qt::Horizontal, w);
    FVertWidget = new QScrollBar(Qt::Vertical, w);
    for (QScrollBar* sb : { FHorzWidget, FVertWidget }) {
        sb->hide();
        sb->setFocusPolicy(Qt::NoFocus);
        TControlScrollBar* bar = sb == FVertWidget ? FVert.get() : FHorz.get();
        QObject::connect(sb, &QScrollBar::valueChanged, sb, [this, bar](int v) {
            if (!FUpdating)
                bar->SetPosition(v);
        });
    }
    return w;
}

void TScrollingWinControl::CreateWnd()
{
    TWinControl::CreateWnd();
    PlaceScrollBars();
}

void TScrollingWinControl::ApplyColor()
{
    // The plain widget paints nothing itself: the palette fills it.
    if (QWidget* w = WidgetIfAllocated()) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, ColorToQColor(Color()));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
}

TRect TScrollingWinControl::ClientRect() const
{
    TRect r = TWinControl::ClientRect();
    if (FVert->IsScrollBarVisible())
        r.Right = std::max(r.Left, r.Right - ScrollBarSize);
    if (FHorz->IsScrollBarVisible())
        r.Bottom = std::max(r.Top, r.Bottom - ScrollBarSize);
    return r;
}

void TScrollingWinControl::SetAutoScroll(bool v)
{
    FAutoScroll = v;
    UpdateScrollBars();
}

int TScrollingWinControl::CalcAutoRange(TScrollBarKind kind) const
{
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        if (kind == sbVertical)
            extent = std::max(extent, c->Top() + c->Height() + FVert->Position());
        else
            extent = std::max(extent, c->Left() + c->Width() + FHorz->Position());
    }
    return extent;
}

void TScrollingWinControl::ScrollBy(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    EnableAlign();
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (FUpdating)
        return;
    ++FUpdating;
    if (FAutoScroll) {
        FVert->FRange = CalcAutoRange(sbVertical);
        FHorz->FRange = CalcAutoRange(sbHorizontal);
    }
    --FUpdating;
    // A shrunken range pulls the position back.
    FVert->SetPosition(FVert->Position());
    FHorz->SetPosition(FHorz->Position());
    PlaceScrollBars();
}

void TScrollingWinControl::PlaceScrollBars()
{
    if (!FVertWidget || !FHorzWidget)
        return;
    ++FUpdating;
    const TRect r = ClientRect();
    auto place = [&](QScrollBar* sb, TControlScrollBar* bar) {
        const bool shown = bar->IsScrollBarVisible();
        if (shown) {
            const int page = bar->Kind() == sbVertical ? r.Height() : r.Width();
            sb->setRange(0, bar->MaxPosition());
            sb->setPageStep(std::max(1, page));
            sb->setSingleStep(bar->Increment());
            sb->setTracking(bar->Tracking());
            sb->setValue(bar->Position());
            if (bar->Kind() == sbVertical)
                sb->setGeometry(r.Right, 0, ScrollBarSize, r.Height());
            else
                sb->setGeometry(0, r.Bottom, r.Width(), ScrollBarSize);
            sb->raise();
        }
        sb->setVisible(shown);
    };
    place(FVertWidget, FVert.get());
    place(FHorzWidget, FHorz.get());
    --FUpdating;
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    TWinControl::AlignControls(AControl, Rect);
    UpdateScrollBars();
}

void TScrollingWinControl::BoundsChanged(const TRect& oldBounds)
{
    TWinControl::BoundsChanged(oldBounds);
    UpdateScrollBars();
}

void TScrollingWinControl::ScrollInView(TControl* AControl)
{
    if (!AControl || !ContainsControl(AControl))
        return;
    // The control's bounds in this control's client area, however deep it sits.
    TRect b = AControl->BoundsRect();
    for (const TWinControl* p = AControl->Parent(); p && p != this; p = p->Parent())
        OffsetRect(b, p->Left(), p->Top());
    const TRect r = ClientRect();
    if (b.Top < 0)
        FVert->SetPosition(FVert->Position() + b.Top);
    else if (b.Bottom > r.Height())
        FVert->SetPosition(FVert->Position() + std::min(b.Top, b.Bottom - r.Height()));
    if (b.Left < 0)
        FHorz->SetPosition(FHorz->Position() + b.Left);
    else if (b.Right > r.Width())
        FHorz->SetPosition(FHorz->Position() + std::min(b.Left, b.Right - r.Width()));
}

void TScrollingWinControl::FocusChanged(TControl* focused)
{
    // The outermost scrolling control acts for the nested ones, innermost
    // first, so that each scrolls by where the inner ones have put the control.
    for (const TWinControl* p = Parent(); p; p = p->Parent())
        if (dynamic_cast<const TScrollingWinControl*>(p))
            return;
    if (!focused || !ContainsControl(focused))
        return;
    for (TWinControl* p = focused->Parent(); p; p = p->Parent()) {
        if (auto* s = dynamic_cast<TScrollingWinControl*>(p))
            s->ScrollInView(focused);
        if (p == this)
            break;
    }
}

void TScrollingWinControl::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_VSCROLL) {
        FVert->ScrollMessage(Message);
        Message.Result = 0;
        return;
    }
    if (Message.Msg == WM_HSCROLL) {
        FHorz->ScrollMessage(Message);
        Message.Result = 0;
        return;
    }
    if (Message.Msg == CM_FOCUSCHANGED) {
        // A control that gets the focus here (by Tab, say) is scrolled into view.
        FocusChanged(FindControlBySerial(std::uint64_t(Message.LParam)));
    }
    TWinControl::WndProc(Message);
}

bool TScrollingWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    // Only a turn over the control scrolls it; elsewhere it goes on to the
    // parents (the form may scroll it by its own rule).
    if (!FVert->IsScrollBarVisible() || !ClientRect().Contains(ScreenToClient(MousePos)))
        return false;
    // Each notch scrolls the system's wheel lines, one scroll line each.
    FWheelRest += WheelDelta;
    const int notches = FWheelRest / WHEEL_DELTA;
    FWheelRest -= notches * WHEEL_DELTA;
    const int lines = WheelScrollLines();
    if (lines >= 1 && notches != 0)
        FVert->SetPosition(FVert->Position() - notches * lines * FVert->Increment());
    return true;
}

TScrollBox::TScrollBox(TComponent* AOwner)
    : TScrollingWinControl(AOwner)
{
    FControlStyle |= csClickEvents | csSetCaption | csDoubleClicks;
    FColor = clBtnFace;
    FParentColor = false;
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle v)
{
    FBorderStyle = v;
    if (HandleAllocated())
        CreateWnd();
}

void TScrollBox::CreateWnd()
{
    TScrollingWinControl::CreateWnd();
    ApplyColor();
}
