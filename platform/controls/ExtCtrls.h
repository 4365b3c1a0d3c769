#pragma once
// Panels, shapes, images and the scroll box.

#include <QString>
#include <memory>

#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmaps.h"

class QScrollBar;

// Width of a vertical scroll bar (height of a horizontal one).
inline constexpr int ScrollBarSize = 17;

// ---------------------------------------------------------------------------
// Panel

enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TPanel"); }

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut v);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);
    // With themes on, a panel that takes the parent's background paints no
    // background of its own, whatever its Color.
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool v);

    void SetText(const QString& v) override;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    // Width of the frame bevels and border take from every side.
    int FrameWidth() const;
    bool PaintsBackground() const;

    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVerticalAlignment = taVerticalCenter;
    bool FShowCaption = true;
    bool FParentBackground = true;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

// ---------------------------------------------------------------------------
// Shape

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TShape"); }

    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType v);
    TPen* Pen() const { return FPen.get(); }
    void SetPen(const TPen* v) { FPen->Assign(v); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(const TBrush* v) { FBrush->Assign(v); }

protected:
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
};

// ---------------------------------------------------------------------------
// Image

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    QString ClassName() const override { return QStringLiteral("TImage"); }

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TPicture* v) { FPicture->Assign(v); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);

    // Where the picture is drawn in the client area.
    TRect DestRect() const;

protected:
    void Paint() override;
    void PictureChanged();

private:
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

// ---------------------------------------------------------------------------
// Scrolling

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;

// One scroll bar of a scrolling control. Position is how far the content is
// scrolled; the children move by the difference.
class TControlScrollBar {
public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind)
        : FControl(control)
        , FKind(kind)
    {
    }

    TScrollBarKind Kind() const { return FKind; }
    int Position() const { return FPosition; }
    void SetPosition(int v);
    // Height (width) of the content; computed from the children with
    // AutoScroll.
    int Range() const { return FRange; }
    void SetRange(int v);
    int Increment() const { return FIncrement; }
    void SetIncrement(int v) { FIncrement = std::max(1, v); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    // Scrolls while the thumb is dragged, not only when it is let go.
    bool Tracking() const { return FTracking; }
    void SetTracking(bool v);
    // Largest position: the range less the visible part.
    int MaxPosition() const;
    // Shown: visible and the content does not fit.
    bool IsScrollBarVisible() const;
    // A WM_VSCROLL/WM_HSCROLL request.
    void ScrollMessage(const TMessage& Message);

private:
    friend class TScrollingWinControl;
    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    int FPosition = 0;
    int FRange = 0;
    int FIncrement = 8;
    bool FVisible = true;
    bool FTracking = false;
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;

    TControlScrollBar* HorzScrollBar() const { return FHorz.get(); }
    TControlScrollBar* VertScrollBar() const { return FVert.get(); }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool v);
    // Scrolls so that the control is wholly in view.
    void ScrollInView(TControl* AControl);

    // The area the children show in: less the scroll bars shown.
    TRect ClientRect() const override;
    void WndProc(TMessage& Message) override;

    // Brings ranges, positions and scroll bars up to date.
    virtual void UpdateScrollBars();

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void ApplyColor() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void BoundsChanged(const TRect& oldBounds) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    // The form's focus went to `focused`: bring it into view.
    void FocusChanged(TControl* focused);
    // Moves every child by (dx, dy).
    virtual void ScrollBy(int dx, int dy);
    // Content extent for AutoScroll, in unscrolled coordinates.
    virtual int CalcAutoRange(TScrollBarKind kind) const;
    void PlaceScrollBars();

private:
    friend class TControlScrollBar;
    std::unique_ptr<TControlScrollBar> FHorz;
    std::unique_ptr<TControlScrollBar> FVert;
    bool FAutoScroll = true;
    int FUpdating = 0;
    int FWheelRest = 0;
    QScrollBar* FHorzWidget = nullptr;
    QScrollBar* FVertWidget = nullptr;
};

class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TScrollBox"); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);

protected:
    void CreateWnd() override;

private:
    TBorderStyle FBorderStyle = bsSingle;
};
