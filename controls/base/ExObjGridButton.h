#pragma once
// The search panel's flat button: a windowless speed button with glyphs per
// state, gradient colours, seven colour looks, exclusive groups, a check
// (toggle) style and an optional drop-down part at its right.

#include <QString>
#include <memory>

#include "controls/base/ExObjOptions.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmaps.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where the glyph and the caption go inside Client (the speed button's rule).
// Offset is added to both; the caption box takes Offset.X vertically too.
// Margin and Spacing of -1 mean "centre"; RightToLeft swaps left and right.
void CalcButtonLayout(const TRect& Client, TPoint Offset, TSize GlyphSize, TSize TextSize, TButtonLayout Layout,
    int Margin, int Spacing, bool RightToLeft, TPoint& GlyphPos, TRect& TextBounds);

// 16 bands from top to bottom, each a step from FromColor towards ToColor,
// then a frame in FrameColor unless it is clNone.
void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, const TRect& R, TColor FrameColor);

// The disabled look of a glyph: each pixel becomes the grey
// ((R + G + B) / 3) / 2 + 96. An empty glyph gives an empty bitmap.
void MakeDisabledGlyph(const TBitmap* Glyph, TBitmap* Result);
// A grey (clGray) silhouette of a glyph on its transparent colour (the
// bottom-left pixel). An empty glyph gives an empty bitmap.
void MakeShadeGlyph(const TBitmap* Glyph, TBitmap* Result);

class TExGridButton;

class TExGridButtonActionLink : public TControlActionLink {
public:
    explicit TExGridButtonActionLink(TExGridButton* AClient);

    bool IsCheckedLinked() const override;
    bool IsGroupIndexLinked() const override;
    void SetChecked(bool v) override;
    void SetGroupIndex(int v) override;

private:
    TExGridButton* Button() const;
};

class TExGridButton : public TGraphicControl {
public:
    // The speed button's states.
    enum { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3 };

    explicit TExGridButton(TComponent* AOwner);
    ~TExGridButton() override;
    QString ClassName() const override { return QStringLiteral("TExGridButton"); }

    // Colours. Those marked "no repaint" take effect at the next paint.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor v) { FColorHot = v; } // no repaint
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor v) { FColorHotTo = v; } // no repaint
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor v) { FColorDown = v; } // no repaint
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor v) { FColorDownTo = v; } // no repaint
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor v);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor v) { FBorderDownColor = v; } // no repaint
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor v) { FBorderHotColor = v; } // no repaint

    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool v);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);

    // Each setter copies the bitmap (nullptr empties it). Setting Glyph also
    // makes the disabled glyph when that is empty, and renews the shade.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* v);
    TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(const TBitmap* v) { FGlyphHot->Assign(v); }
    TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(const TBitmap* v) { FGlyphDown->Assign(v); }
    TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(const TBitmap* v) { FGlyphDisabled->Assign(v); }
    const TBitmap* ShadeGlyph() const { return FShadeGlyph.get(); }

    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    int Margin() const { return FMargin; }
    // Values below -1 are ignored.
    void SetMargin(int v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool Down() const { return FDown; }
    // Forced false outside a group unless the style is tasCheck; the last
    // down button of a group stays down unless AllowAllUp.
    void SetDown(bool v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    TExGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TExGridButtonStyle v);

    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool v);
    TPopupMenuBase* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenuBase* v);

    // When on, the look follows the visual style (now and on every theme change).
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool v) { FAutoXPStyle = v; } // no repaint

    // One of the colour sets 0..6; other values change nothing. Reads the
    // last set applied (0 before any).
    int Look() const { return FLook; }
    void SetLook(int v);

    // Run-time state for tests: the speed button state and the hover mark.
    int State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    // The 12-pixel part at the right was pressed.
    TNotifyEvent OnDropDown;

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    std::unique_ptr<TControlActionLink> CreateActionLink() override;

private:
    friend class TExGridButtonActionLink;
    bool Inside(int X, int Y) const { return X >= 0 && X < Width() && Y >= 0 && Y < Height(); }
    void UpdateTracking(int X, int Y);
    void UpdateExclusive();
    void ButtonPressed(TMessage& Message);
    void ThemeAdapt();
    void PaintFlatFace(TCanvas* C, TRect& R);
    void PaintContent(TCanvas* C, const TRect& R, TPoint Offset);

    TColor FColorTo = clNone;
    TColor FColorHot = TColor(0xCAC7C7);
    TColor FColorHotTo = clNone;
    TColor FColorDown = TColor(0xD8D3D2);
    TColor FColorDownTo = clNone;
    TColor FColorChecked = TColor(0x808080);
    TColor FColorCheckedTo = clNone;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    bool FFlat = true;
    bool FRounded = false;
    bool FShaded = true;
    bool FShowCaption = true;
    std::unique_ptr<TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FShadeGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    TExGridButtonStyle FStyle = TExGridButtonStyle::tasButton;
    bool FDropDownButton = false;
    TPopupMenuBase* FDropDownMenu = nullptr;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    int FLook = 0;

    int FState = bsUp;
    bool FDragging = false;
    bool FMouseInControl = false;
    bool FIsComCtl6 = false;
};
