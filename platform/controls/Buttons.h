#pragma once
// The speed button: a windowless button, flat or raised, with a caption and a
// glyph strip, that can stay down (alone with AllowAllUp, or as one of a
// group). It is hot while the mouse is over it, holds the mouse capture from
// its press to its release and reports both through MouseDown and MouseUp
// (OnMouseDown, OnMouseUp), the release wherever the pointer then is.

#include <QString>
#include <memory>

#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmaps.h"

// The look a speed button is in.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;
    QString ClassName() const override { return QStringLiteral("TSpeedButton"); }

    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    // A transparent button leaves its face unpainted (the parent shows).
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);

    // The glyph strip: NumGlyphs (1 to 4) pictures side by side, for the up,
    // disabled, down and stay-down looks. The setter copies the bitmap.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* v);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int v);

    // Buttons of one non-zero group stay down one at a time; Down is forced
    // off outside a group, and the last down button of a group stays down
    // unless AllowAllUp.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);

    TButtonState State() const { return FState; }
    // The mouse is over the button.
    bool Hot() const { return FMouseInControl; }
    // The left button went down on it and has not been released yet.
    bool Pressing() const { return FDragging; }

    void SetText(const QString& v) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Dispatch(TMessage& Message) override;

    // The glyph of the current look, centred in R and moved by Offset; the
    // glyph's bottom-left colour is transparent.
    void DrawGlyph(TCanvas* C, const TRect& R, TPoint Offset);
    // The caption on one line, centred in R and moved by Offset, in the
    // font's colour (or grey while disabled) on a clear background.
    void DrawCaption(TCanvas* C, const TRect& R, TPoint Offset, TColor Color);
    // Whether the face shows pressed: down, or kept down.
    bool Pressed() const { return FState == bsDown || FState == bsExclusive; }

    TButtonState FState = bsUp;

private:
    bool Inside(int X, int Y) const { return X >= 0 && X < Width() && Y >= 0 && Y < Height(); }
    void UpdateExclusive();

    bool FFlat = false;
    bool FTransparent = false;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FDragging = false;
    bool FMouseInControl = false;
};
