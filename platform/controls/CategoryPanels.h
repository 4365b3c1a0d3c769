#pragma once
// The category panel group: collapsible panels stacked in one scrolling
// column, each with a gradient header, a caption and a chevron.

#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/ImageList.h"

// Stacking and scrolling arithmetic of a category panel group, apart from the
// widgets so that it can be reasoned about alone. Panels stand one under the
// other in the order of their tops, as top-aligned controls do: setting a
// panel's top moves it in the order (ahead of a panel at the same top), and
// the stack then closes every gap. A collapsed panel shows its header only
// and keeps its expanded height for when it opens again.
class TCategoryStack {
public:
    struct Item {
        int sortTop = 0;
        int expandedHeight = 0;
        bool collapsed = false;
        bool visible = true;
    };

    int HeaderHeight = 24;
    int ClientHeight = 0;
    int LineSize = 8; // pixels of one scroll line

    // Appends a panel under the last one; returns its index.
    int Add(int expandedHeight);
    void Remove(int index);
    int Count() const { return int(FItems.size()); }
    const Item& At(int index) const { return FItems[std::size_t(index)]; }

    void SetTop(int index, int top);
    void SetExpandedHeight(int index, int height);
    void SetCollapsed(int index, bool collapsed);
    void SetVisible(int index, bool visible);

    // Displayed height: the header alone when collapsed.
    int Height(int index) const;
    // Visible panels, top first.
    std::vector<int> Order() const;
    // Top of a panel in the group's client area (scrolling applied).
    int Top(int index) const;
    int ContentHeight() const;
    int MaxScroll() const { return std::max(0, ContentHeight() - ClientHeight); }
    int ScrollPos() const { return FScroll; }
    // Clamped to 0 .. MaxScroll; returns the position taken.
    int SetScrollPos(int pos);
    // Lines down (positive) or up (negative).
    int ScrollLines(int lines) { return SetScrollPos(FScroll + lines * LineSize); }
    // A wheel turn of `delta` (120 a notch, positive away from the user, which
    // scrolls up) scrolls `linesPerNotch` lines a notch; partial notches add up.
    int Wheel(int delta, int linesPerNotch);
    // Closes the gaps; called by every setter and after the client height
    // changes.
    void Relayout(int moved = -1);

private:
    std::vector<Item> FItems;
    std::vector<int> FOrder;
    std::vector<int> FContentTop;
    int FScroll = 0;
    int FWheelRest = 0;
};

// ---------------------------------------------------------------------------
// The controls

class TCategoryPanelGroup;
class TCategoryPanel;

enum TGradientDirection { gdHorizontal, gdVertical };
enum THeaderStyle { hsGradient, hsImage, hsThemed };

// The body of a category panel, under its header: the panel's controls live
// here, so their tops count from below the header.
class TCategoryPanelSurface : public TCustomControl {
public:
    explicit TCategoryPanelSurface(TCategoryPanel* panel);
    QString ClassName() const override { return QStringLiteral("TCategoryPanelSurface"); }

protected:
    void Paint() override;
};

class TCategoryPanel : public TCustomControl {
public:
    explicit TCategoryPanel(TComponent* AOwner);
    ~TCategoryPanel() override;
    QString ClassName() const override { return QStringLiteral("TCategoryPanel"); }

    TCategoryPanelGroup* PanelGroup() const { return FGroup; }
    void SetPanelGroup(TCategoryPanelGroup* v);
    // Where the panel's controls live: a control given the panel as parent
    // moves onto the surface, so its top counts from below the header.
    TCategoryPanelSurface* Surface() const { return FSurface; }

    bool Collapsed() const { return FCollapsed; }
    // Fires OnCollapse or OnExpand after the change.
    void SetCollapsed(bool v);
    void Collapse() { SetCollapsed(true); }
    void Expand() { SetCollapsed(false); }
    // The height the panel has when expanded (Height while collapsed is the
    // header's).
    int ExpandedHeight() const { return FExpandedHeight; }

    // Pictures of the group's image list for the chevron; -1 draws the
    // built-in chevron.
    int CollapsedImageIndex() const { return FCollapsedImageIndex; }
    void SetCollapsedImageIndex(int v);
    int ExpandedImageIndex() const { return FExpandedImageIndex; }
    void SetExpandedImageIndex(int v);

    int HeaderHeight() const;
    TRect HeaderRect() const { return Rect(0, 0, Width(), HeaderHeight()); }
    bool HeaderHot() const { return FHot; }

    void SetParent(TWinControl* AParent) override;
    // Inside a group the top orders the panel among the others and the
    // height is its expanded height; the group places it.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool v) override;
    void SetText(const QString& v) override;
    void WndProc(TMessage& Message) override;

    TNotifyEvent OnCollapse;
    TNotifyEvent OnExpand;

protected:
    void Paint() override;
    void BoundsChanged(const TRect& oldBounds) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    virtual void DrawHeader(TCanvas* canvas, const TRect& r);
    virtual void DrawChevron(TCanvas* canvas, const TRect& r);

private:
    friend class TCategoryPanelGroup;
    // Bounds given by the group.
    void Place(int ALeft, int ATop, int AWidth, int AHeight);
    void PlaceSurface();
    void SyncSurfaceShowHint();
    TCategoryPanelGroup* FGroup = nullptr;
    TCategoryPanelSurface* FSurface = nullptr;
    bool FCollapsed = false;
    int FExpandedHeight = 200;
    int FCollapsedImageIndex = -1;
    int FExpandedImageIndex = -1;
    bool FHot = false;
    int FPlacing = 0;
};

// A scrolling column of category panels, stacked top to bottom.
class TCategoryPanelGroup : public TScrollingWinControl {
public:
    explicit TCategoryPanelGroup(TComponent* AOwner);
    ~TCategoryPanelGroup() override;
    QString ClassName() const override { return QStringLiteral("TCategoryPanelGroup"); }

    int PanelCount() const { return int(FPanels.size()); }
    // In the order they were added; Stacked() gives the visible ones top first.
    TCategoryPanel* Panels(int index) const;
    std::vector<TCategoryPanel*> Stacked() const;
    // A new panel (owned by the group's owner) at the bottom.
    TCategoryPanel* CreatePanel(TComponent* AOwner);
    void CollapseAll();
    void ExpandAll();

    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int v);
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(const TFont* v) { FHeaderFont->Assign(v); }
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment v);
    THeaderStyle HeaderStyle() const { return FHeaderStyle; }
    void SetHeaderStyle(THeaderStyle v);
    TColor GradientBaseColor() const { return FGradientBaseColor; }
    void SetGradientBaseColor(TColor v);
    TColor GradientColor() const { return FGradientColor; }
    void SetGradientColor(TColor v);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);
    TColor ChevronColor() const { return FChevronColor; }
    void SetChevronColor(TColor v);
    TColor ChevronHotColor() const { return FChevronHotColor; }
    void SetChevronHotColor(TColor v);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* v);

    // The stacking arithmetic the group lays its panels out by.
    const TCategoryStack& Stack() const { return FStack; }
    void UpdateScrollBars() override;

protected:
    void CreateWnd() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void BoundsChanged(const TRect& oldBounds) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void ScrollBy(int dx, int dy) override;
    int CalcAutoRange(TScrollBarKind kind) const override;

private:
    friend class TCategoryPanel;
    void AddPanel(TCategoryPanel* p);
    void RemovePanel(TCategoryPanel* p);
    int IndexOfPanel(const TCategoryPanel* p) const;
    void PanelRequest(TCategoryPanel* p, int top, int height);
    void PanelChanged(TCategoryPanel* p);
    // Restacks, then puts every panel where the stack says.
    void LayoutPanels();
    void PlacePanels();
    void RepaintPanels();

    std::vector<TCategoryPanel*> FPanels;
    TCategoryStack FStack;
    int FHeaderHeight = 24;
    std::unique_ptr<TFont> FHeaderFont;
    TAlignment FHeaderAlignment = taLeftJustify;
    THeaderStyle FHeaderStyle = hsGradient;
    TColor FGradientBaseColor = 0xF0F0F0;
    TColor FGradientColor = 0xE0E0E0;
    TGradientDirection FGradientDirection = gdVertical;
    TColor FChevronColor = clBlack;
    TColor FChevronHotColor = clGray;
    TImageList* FImages = nullptr;
    int FLayingOut = 0;
};
