#pragma once
// Top-level helper windows: a control whose window is a frameless pop-up owned
// by its parent's form, placed in screen coordinates, optionally topmost, a
// tool window or disabled. It is never activated and never takes the focus.
// Its shape may be cut to a polygon (winding fill), and it may be shown with
// a constant opacity or with per-pixel alpha; the layered-window calls below
// work on such windows.

#include "platform/controls/Controls.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/Graphics.h"

#include <QImage>
#include <span>
#include <vector>

class QWidget;

// The state of a helper window, kept apart from the control class so that
// any custom control can be made a helper window.
class THelperWindowState {
public:
    virtual ~THelperWindowState() = default;

    bool TopMost() const { return FTopMost; }
    void SetTopMost(bool Value);
    bool ToolWindow() const { return FToolWindow; }
    void SetToolWindow(bool Value);

    // The window's shape in window coordinates; empty: the whole rectangle.
    const std::vector<TPoint>& WindowRegion() const { return FRegion; }
    void SetWindowRegion(std::span<const TPoint> Points);
    // The mask the window really has (empty without one).
    TRegion WindowMask() const;

    // 0..255: constant opacity of the whole window.
    int Opacity() const { return FOpacity; }
    void SetOpacity(int Value);
    // Contents with per-pixel alpha, painted instead of the control's own
    // painting; a null image goes back to the control's painting.
    const QImage& LayeredImage() const { return FLayeredImage; }
    void SetLayeredImage(const QImage& Image);

    // Whether the window would be activated when shown (never).
    bool ActivatesOnShow() const;
    bool AcceptsFocus() const;

protected:
    explicit THelperWindowState(TWinControl* Control)
        : FControl(Control)
    {
    }
    // Gives the widget the helper window's flags and its owner form.
    void ApplyWindowFlags();
    void ApplyShape();
    // Paints the layered image; false when there is none.
    bool PaintLayered(TCanvas* Canvas);

private:
    TWinControl* FControl;
    bool FTopMost = false;
    bool FToolWindow = false;
    std::vector<TPoint> FRegion;
    int FOpacity = 255;
    QImage FLayeredImage;
};

template <class Base> class TTopLevelWindow : public Base, public THelperWindowState {
public:
    explicit TTopLevelWindow(TComponent* AOwner)
        : Base(AOwner)
        , THelperWindowState(this)
    {
    }

    // Its position is on the screen, whatever its parent.
    TPoint ClientOrigin() const override { return { this->Left(), this->Top() }; }
    bool Showing() const override { return this->Visible() && this->HandleAllocated() && Base::Showing(); }

    void SetParent(TWinControl* AParent) override
    {
        Base::SetParent(AParent);
        if (this->HandleAllocated())
            ApplyWindowFlags();
    }

protected:
    void CreateWnd() override
    {
        ApplyWindowFlags();
        Base::CreateWnd();
        ApplyShape();
    }
    void Paint() override
    {
        if (!PaintLayered(this->Canvas()))
            Base::Paint();
    }
};

// The region of a polygon, winding fill (as the window regions use).
TRegion PolygonRegion(std::span<const TPoint> Points);

// Layered-window calls on helper windows. They answer false for a window that
// is not a helper window or a request the platform cannot honour (a colour key).
inline constexpr DWORD LWA_COLORKEY = 0x1;
inline constexpr DWORD LWA_ALPHA = 0x2;
inline constexpr DWORD ULW_COLORKEY = 0x1;
inline constexpr DWORD ULW_ALPHA = 0x2;
inline constexpr DWORD ULW_OPAQUE = 0x4;
inline constexpr unsigned char AC_SRC_OVER = 0x00;
inline constexpr unsigned char AC_SRC_ALPHA = 0x01;

struct TBlendFunction {
    unsigned char BlendOp = AC_SRC_OVER;
    unsigned char BlendFlags = 0;
    unsigned char SourceConstantAlpha = 255;
    unsigned char AlphaFormat = 0;
};

bool SetLayeredWindowAttributes(HWND Wnd, TColor Key, unsigned char Alpha, DWORD Flags);
// Moves and sizes the window (when given) and shows Source, from SourceOrigin,
// as its contents: with ULW_ALPHA the blend's constant alpha applies to the
// whole window and, with AC_SRC_ALPHA, the source's premultiplied alpha per pixel.
bool UpdateLayeredWindow(HWND Wnd, const TPoint* Dest, const TSize* Size, const QImage* Source,
    const TPoint* SourceOrigin, TColor Key, const TBlendFunction* Blend, DWORD Flags);
