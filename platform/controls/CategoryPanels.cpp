#include "platform/controls/CategoryPanels.h"

#include <QWidget>
#include <numeric>

#include "platform/graphics/DrawText.h"

int TCategoryStack::Add(int expandedHeight)
{
    Item it;
    it.expandedHeight = std::max(0, expandedHeight);
    it.sortTop = ContentHeight() + FScroll;
    FItems.push_back(it);
    Relayout();
    return Count() - 1;
}

void TCategoryStack::Remove(int index)
{
    if (index < 0 || index >= Count())
        return;
    FItems.erase(FItems.begin() + index);
    Relayout();
}

void TCategoryStack::SetTop(int index, int top)
{
    if (index < 0 || index >= Count())
        return;
    // Tops are given in client coordinates, as the program sees them.
    FItems[std::size_t(index)].sortTop = top + FScroll;
    Relayout(index);
}

void TCategoryStack::SetExpandedHeight(int index, int height)
{
    if (index < 0 || index >= Count())
        return;
    FItems[std::size_t(index)].expandedHeight = std::max(0, height);
    Relayout();
}

void TCategoryStack::SetCollapsed(int index, bool collapsed)
{
    if (index < 0 || index >= Count())
        return;
    FItems[std::size_t(index)].collapsed = collapsed;
    Relayout();
}

void TCategoryStack::SetVisible(int index, bool visible)
{
    if (index < 0 || index >= Count())
        return;
    FItems[std::size_t(index)].visible = visible;
    Relayout();
}

int TCategoryStack::Height(int index) const
{
    const Item& it = At(index);
    return it.collapsed ? HeaderHeight : it.expandedHeight;
}

std::vector<int> TCategoryStack::Order() const
{
    return FOrder;
}

int TCategoryStack::Top(int index) const
{
    if (index < 0 || index >= Count())
        return 0;
    return FContentTop[std::size_t(index)] - FScroll;
}

int TCategoryStack::ContentHeight() const
{
    int h = 0;
    for (int i : FOrder)
        h += Height(i);
    return h;
}

int TCategoryStack::SetScrollPos(int pos)
{
    FScroll = std::clamp(pos, 0, MaxScroll());
    return FScroll;
}

int TCategoryStack::Wheel(int delta, int linesPerNotch)
{
    if (linesPerNotch < 1)
        return FScroll;
    FWheelRest += delta;
    const int notches = FWheelRest / 120;
    FWheelRest -= notches * 120;
    return ScrollLines(-notches * linesPerNotch);
}

void TCategoryStack::Relayout(int moved)
{
    FOrder.clear();
    for (int i = 0; i < Count(); ++i)
        if (FItems[std::size_t(i)].visible)
            FOrder.push_back(i);
    std::stable_sort(FOrder.begin(), FOrder.end(), [&](int a, int b) {
        const int ta = FItems[std::size_t(a)].sortTop;
        const int tb = FItems[std::size_t(b)].sortTop;
        if (ta != tb)
            return ta < tb;
        return a == moved && b != moved;
    });
    FContentTop.assign(FItems.size(), 0);
    int y = 0;
    for (int i : FOrder) {
        FContentTop[std::size_t(i)] = y;
        FItems[std::size_t(i)].sortTop = y;
        y += Height(i);
    }
    FScroll = std::clamp(FScroll, 0, MaxScroll());
}

// ---------------------------------------------------------------------------
// Panel surface

TCategoryPanelSurface::TCategoryPanelSurface(TCategoryPanel* panel)
    : TCustomControl(panel)
{
    FControlStyle |= csAcceptsControls;
    FParentColor = true;
    SetParent(panel);
}

void TCategoryPanelSurface::Paint()
{
    Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

// ---------------------------------------------------------------------------
// Category panel

TCategoryPanel::TCategoryPanel(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FControlStyle |= csAcceptsControls | csClickEvents;
    FColor = clBtnFace;
    FParentColor = false;
    FWidth = 185;
    FHeight = FExpandedHeight;
    FSurface = new TCategoryPanelSurface(this);
    PlaceSurface();
}

TCategoryPanel::~TCategoryPanel()
{
    // Restacking runs the other panels' OnResize: nothing may leave a
    // destructor.
    try {
        if (FGroup)
            FGroup->RemovePanel(this);
    } catch (...) {
        HandleException(this);
    }
}

void TCategoryPanel::SetPanelGroup(TCategoryPanelGroup* v)
{
    SetParent(v);
}

int TCategoryPanel::HeaderHeight() const
{
    return FGroup ? FGroup->HeaderHeight() : 24;
}

void TCategoryPanel::SetParent(TWinControl* AParent)
{
    auto* group = dynamic_cast<TCategoryPanelGroup*>(AParent);
    if (FGroup && FGroup != group)
        FGroup->RemovePanel(this);
    TCustomControl::SetParent(AParent);
    SyncSurfaceShowHint();
    if (group && FGroup != group)
        group->AddPanel(this);
}

void TCategoryPanel::SyncSurfaceShowHint()
{
    // The surface is made with the panel, before the panel has a parent; the
    // controls on it show their hints as the panel does.
    if (FSurface && FSurface->ParentShowHint())
        FSurface->SetParentShowHint(true);
}

void TCategoryPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FGroup && !FPlacing) {
        FGroup->PanelRequest(this, ATop, AHeight);
        return;
    }
    if (!FPlacing && !FCollapsed)
        FExpandedHeight = AHeight;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCategoryPanel::Place(int ALeft, int ATop, int AWidth, int AHeight)
{
    ++FPlacing;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    --FPlacing;
}

void TCategoryPanel::BoundsChanged(const TRect& oldBounds)
{
    TCustomControl::BoundsChanged(oldBounds);
    PlaceSurface();
}

void TCategoryPanel::PlaceSurface()
{
    if (!FSurface)
        return;
    const int hh = HeaderHeight();
    FSurface->SetBounds(0, hh, Width(), std::max(0, FExpandedHeight - hh));
    FSurface->SetVisible(!FCollapsed);
}

void TCategoryPanel::WndProc(TMessage& Message)
{
    TCustomControl::WndProc(Message);
    if (Message.Msg == CM_SHOWHINTCHANGED || Message.Msg == CM_PARENTSHOWHINTCHANGED)
        SyncSurfaceShowHint();
    // A control put on the panel goes onto its surface, under the header.
    if (Message.Msg == CM_CONTROLCHANGE && Message.LParam != 0 && FSurface) {
        auto* c = reinterpret_cast<TControl*>(Message.WParam);
        if (c && c != FSurface && c->Parent() == this)
            c->SetParent(FSurface);
    }
}

void TCategoryPanel::SetVisible(bool v)
{
    TCustomControl::SetVisible(v);
    if (FGroup)
        FGroup->PanelChanged(this);
}

void TCategoryPanel::SetText(const QString& v)
{
    TCustomControl::SetText(v);
    Invalidate();
}

void TCategoryPanel::SetCollapsed(bool v)
{
    if (FCollapsed == v)
        return;
    FCollapsed = v;
    if (FGroup) {
        FGroup->PanelChanged(this);
    } else {
        Place(Left(), Top(), Width(), v ? HeaderHeight() : FExpandedHeight);
    }
    PlaceSurface();
    Invalidate();
    if (v) {
        if (OnCollapse)
            OnCollapse(this);
    } else if (OnExpand) {
        OnExpand(this);
    }
}

void TCategoryPanel::SetCollapsedImageIndex(int v)
{
    FCollapsedImageIndex = v;
    Invalidate();
}

void TCategoryPanel::SetExpandedImageIndex(int v)
{
    FExpandedImageIndex = v;
    Invalidate();
}

void TCategoryPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const bool hot = HeaderRect().Contains({ X, Y });
    if (hot != FHot) {
        FHot = hot;
        Invalidate();
    }
}

void TCategoryPanel::MouseLeave()
{
    TCustomControl::MouseLeave();
    if (FHot) {
        FHot = false;
        Invalidate();
    }
}

void TCategoryPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && HeaderRect().Contains({ X, Y }))
        SetCollapsed(!FCollapsed);
}

namespace {

TColor Blend(TColor a, TColor b, int num, int den)
{
    a = ColorToRGB(a);
    b = ColorToRGB(b);
    auto mix = [&](int x, int y) { return x + (y - x) * num / std::max(1, den); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

} // namespace

void TCategoryPanel::DrawHeader(TCanvas* c, const TRect& r)
{
    const TColor base = FGroup ? FGroup->GradientBaseColor() : TColor(0xF0F0F0);
    const TColor to = FGroup ? FGroup->GradientColor() : TColor(0xE0E0E0);
    const bool vertical = !FGroup || FGroup->GradientDirection() == gdVertical;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (FGroup && FGroup->HeaderStyle() != hsGradient) {
        c->Brush()->SetColor(base);
        c->FillRect(r);
    } else if (vertical) {
        for (int y = r.Top; y < r.Bottom; ++y) {
            c->Brush()->SetColor(Blend(base, to, y - r.Top, std::max(1, r.Height() - 1)));
            c->FillRect(TRect(r.Left, y, r.Right, y + 1));
        }
    } else {
        for (int x = r.Left; x < r.Right; ++x) {
            c->Brush()->SetColor(Blend(base, to, x - r.Left, std::max(1, r.Width() - 1)));
            c->FillRect(TRect(x, r.Top, x + 1, r.Bottom));
        }
    }
    c->Pen()->SetColor(clBtnShadow);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Right, r.Bottom - 1);

    TRect text = r;
    text.Left += 6;
    text.Right -= r.Height(); // room for the chevron
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    if (FGroup)
        c->Font()->Assign(FGroup->HeaderFont());
    else
        c->Font()->Assign(Font());
    const TAlignment align = FGroup ? FGroup->HeaderAlignment() : taLeftJustify;
    const unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX
        | (align == taCenter              ? DT_CENTER
                : align == taRightJustify ? DT_RIGHT
                                          : DT_LEFT);
    DrawText(c, Caption(), text, flags);
    DrawChevron(c, TRect(r.Right - r.Height(), r.Top, r.Right, r.Bottom));
}

void TCategoryPanel::DrawChevron(TCanvas* c, const TRect& r)
{
    const int index = FCollapsed ? FCollapsedImageIndex : FExpandedImageIndex;
    TImageList* images = FGroup ? FGroup->Images() : nullptr;
    if (images && index >= 0 && index < images->Count()) {
        images->Draw(c, r.Left + (r.Width() - images->Width()) / 2, r.Top + (r.Height() - images->Height()) / 2, index);
        return;
    }
    // Two stacked arrow heads: up to collapse, down to expand.
    const TColor color
        = FHot ? (FGroup ? FGroup->ChevronHotColor() : clGray) : (FGroup ? FGroup->ChevronColor() : clBlack);
    c->Pen()->SetColor(color);
    c->Pen()->SetWidth(1);
    const int cx = r.Left + r.Width() / 2;
    const int cy = r.Top + r.Height() / 2;
    for (int k = 0; k < 2; ++k) {
        const int y0 = cy - 4 + k * 4;
        for (int t = 0; t < 2; ++t) { // two pixels thick
            const int y = y0 + t;
            if (FCollapsed) {
                c->MoveTo(cx - 4, y);
                c->LineTo(cx, y + 4);
                c->LineTo(cx + 5, y - 1);
            } else {
                c->MoveTo(cx - 4, y + 3);
                c->LineTo(cx, y - 1);
                c->LineTo(cx + 5, y + 4);
            }
        }
    }
}

void TCategoryPanel::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    DrawHeader(c, HeaderRect());
}

// ---------------------------------------------------------------------------
// Category panel group

TCategoryPanelGroup::TCategoryPanelGroup(TComponent* AOwner)
    : TScrollingWinControl(AOwner)
    , FHeaderFont(std::make_unique<TFont>())
{
    FControlStyle |= csAcceptsControls;
    FColor = clBtnFace;
    FParentColor = false;
    HorzScrollBar()->SetVisible(false);
    FStack.HeaderHeight = FHeaderHeight;
    FStack.LineSize = VertScrollBar()->Increment();
    FHeaderFont->OnChange = [this](TObject*) { RepaintPanels(); };
    SetBounds(0, 0, 200, 400);
}

TCategoryPanelGroup::~TCategoryPanelGroup()
{
    for (TCategoryPanel* p : FPanels)
        p->FGroup = nullptr;
}

TCategoryPanel* TCategoryPanelGroup::Panels(int index) const
{
    return index >= 0 && index < PanelCount() ? FPanels[std::size_t(index)] : nullptr;
}

std::vector<TCategoryPanel*> TCategoryPanelGroup::Stacked() const
{
    std::vector<TCategoryPanel*> r;
    for (int i : FStack.Order())
        r.push_back(FPanels[std::size_t(i)]);
    return r;
}

TCategoryPanel* TCategoryPanelGroup::CreatePanel(TComponent* AOwner)
{
    auto* p = new TCategoryPanel(AOwner);
    p->SetParent(this);
    return p;
}

void TCategoryPanelGroup::CollapseAll()
{
    for (TCategoryPanel* p : FPanels)
        p->Collapse();
}

void TCategoryPanelGroup::ExpandAll()
{
    for (TCategoryPanel* p : FPanels)
        p->Expand();
}

int TCategoryPanelGroup::IndexOfPanel(const TCategoryPanel* p) const
{
    auto it = std::find(FPanels.begin(), FPanels.end(), p);
    return it == FPanels.end() ? -1 : int(it - FPanels.begin());
}

void TCategoryPanelGroup::AddPanel(TCategoryPanel* p)
{
    if (IndexOfPanel(p) >= 0)
        return;
    FPanels.push_back(p);
    p->FGroup = this;
    const int i = FStack.Add(p->FExpandedHeight);
    FStack.SetCollapsed(i, p->Collapsed());
    FStack.SetVisible(i, p->Visible());
    p->PlaceSurface();
    LayoutPanels();
}

void TCategoryPanelGroup::RemovePanel(TCategoryPanel* p)
{
    const int i = IndexOfPanel(p);
    if (i < 0)
        return;
    FPanels.erase(FPanels.begin() + i);
    FStack.Remove(i);
    p->FGroup = nullptr;
    LayoutPanels();
}

void TCategoryPanelGroup::PanelRequest(TCategoryPanel* p, int top, int height)
{
    const int i = IndexOfPanel(p);
    if (i < 0)
        return;
    if (height != p->Height() || !p->Collapsed()) {
        p->FExpandedHeight = std::max(0, height);
        FStack.SetExpandedHeight(i, p->FExpandedHeight);
        p->PlaceSurface();
    }
    if (top != p->Top())
        FStack.SetTop(i, top);
    LayoutPanels();
}

void TCategoryPanelGroup::PanelChanged(TCategoryPanel* p)
{
    const int i = IndexOfPanel(p);
    if (i < 0)
        return;
    FStack.SetCollapsed(i, p->Collapsed());
    FStack.SetVisible(i, p->Visible());
    LayoutPanels();
}

void TCategoryPanelGroup::LayoutPanels()
{
    if (FLayingOut)
        return;
    ++FLayingOut;
    FStack.ClientHeight = TScrollingWinControl::ClientRect().Height();
    FStack.Relayout();
    UpdateScrollBars(); // may show or hide the bar, which changes the width
    FStack.ClientHeight = ClientRect().Height();
    FStack.SetScrollPos(VertScrollBar()->Position());
    PlacePanels();
    --FLayingOut;
}

void TCategoryPanelGroup::PlacePanels()
{
    const int w = ClientRect().Width();
    for (std::size_t i = 0; i < FPanels.size(); ++i)
        FPanels[i]->Place(0, FStack.Top(int(i)), w, FStack.Height(int(i)));
}

void TCategoryPanelGroup::UpdateScrollBars()
{
    TScrollingWinControl::UpdateScrollBars();
    FStack.SetScrollPos(VertScrollBar()->Position());
}

int TCategoryPanelGroup::CalcAutoRange(TScrollBarKind kind) const
{
    return kind == sbVertical ? FStack.ContentHeight() : 0;
}

void TCategoryPanelGroup::ScrollBy(int dx, int dy)
{
    (void)dx;
    (void)dy;
    // The stack owns the panels' places; scrolling only shifts its view.
    FStack.SetScrollPos(VertScrollBar()->Position());
    if (!FLayingOut) {
        ++FLayingOut;
        PlacePanels();
        --FLayingOut;
    }
}

bool TCategoryPanelGroup::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (!ClientRect().Contains(ScreenToClient(MousePos)))
        return false;
    FStack.ClientHeight = ClientRect().Height();
    VertScrollBar()->SetPosition(FStack.Wheel(WheelDelta, WheelScrollLines()));
    return true;
}

void TCategoryPanelGroup::AlignControls(TControl* AControl, TRect& Rect)
{
    TScrollingWinControl::AlignControls(AControl, Rect);
    LayoutPanels();
}

void TCategoryPanelGroup::BoundsChanged(const TRect& oldBounds)
{
    TScrollingWinControl::BoundsChanged(oldBounds);
    LayoutPanels();
}

void TCategoryPanelGroup::CreateWnd()
{
    TScrollingWinControl::CreateWnd();
    VertScrollBar()->SetTracking(true);
    ApplyColor();
    LayoutPanels();
}

void TCategoryPanelGroup::RepaintPanels()
{
    for (TCategoryPanel* p : FPanels)
        p->Invalidate();
}

void TCategoryPanelGroup::SetHeaderHeight(int v)
{
    FHeaderHeight = std::max(0, v);
    FStack.HeaderHeight = FHeaderHeight;
    for (TCategoryPanel* p : FPanels)
        p->PlaceSurface();
    LayoutPanels();
    RepaintPanels();
}

void TCategoryPanelGroup::SetHeaderAlignment(TAlignment v)
{
    FHeaderAlignment = v;
    RepaintPanels();
}

void TCategoryPanelGroup::SetHeaderStyle(THeaderStyle v)
{
    FHeaderStyle = v;
    RepaintPanels();
}

void TCategoryPanelGroup::SetGradientBaseColor(TColor v)
{
    FGradientBaseColor = v;
    RepaintPanels();
}

void TCategoryPanelGroup::SetGradientColor(TColor v)
{
    FGradientColor = v;
    RepaintPanels();
}

void TCategoryPanelGroup::SetGradientDirection(TGradientDirection v)
{
    FGradientDirection = v;
    RepaintPanels();
}

void TCategoryPanelGroup::SetChevronColor(TColor v)
{
    FChevronColor = v;
    RepaintPanels();
}

void TCategoryPanelGroup::SetChevronHotColor(TColor v)
{
    FChevronHotColor = v;
    RepaintPanels();
}

void TCategoryPanelGroup::SetImages(TImageList* v)
{
    FImages = v;
    RepaintPanels();
}
