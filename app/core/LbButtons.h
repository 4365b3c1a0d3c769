#pragma once
// Vocabulary, fade stepper and face painting of the owner-drawn push button
// (TLbButton in LbButton.h). The painting routines are stateless: they draw
// on the canvas handed in and leave its pen, brush and font changed.

#include <QString>
#include <memory>

#include "platform/controls/Controls.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Types.h"

class TBitmap;
class TTimer;

enum TLbColorStyle {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsUltraFlatXP,
    lcsAqua,
    lcsDefault,
    lcsQuicken
};

enum TLbButtonKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

enum TLbButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

enum TLbButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };

// Key colour of the transparent styles' off-screen face: what stays this
// colour lets the parent show through.
inline constexpr TColor LbTransparentColor = RGB(255, 0, 255);

// Hot-tracking intensity runs in eighths: 8 is the full hot colour.
inline constexpr int LbHotTrackSteps = 8;

// ---------------------------------------------------------------------------
// The fade stepper. It schedules the button's FadeStep every 30 ms while it
// runs, always on the main thread: a main-thread timer takes the place of a
// worker that would only sleep and hand each step over to the main thread.
// It keeps a thread's life cycle (created suspended, resumed, suspended,
// terminated and waited for) so the button drives it as it would a thread.

class TLbButtonThread : public TObject {
public:
    static constexpr unsigned StepInterval = 30; // ms

    // Always created suspended.
    TLbButtonThread();
    ~TLbButtonThread() override;

    // Called with the stepper as sender at every step (the button's FadeStep).
    TNotifyEvent FNotify;

    bool Suspended() const { return FSuspended; }
    void Resume();
    void Suspend();
    bool Terminated() const { return FTerminated; }
    void Terminate();
    // Returns once no further step can run (at once: steps run on the main
    // thread, never beside it).
    void WaitFor();

    // One step: what a thread's Execute does after each 30 ms sleep. Tests
    // call it as their clock instead of waiting for the timer.
    void Execute();
    void DoEvent();
    // The timer behind the steps (tests read its interval and state).
    TTimer* Timer() const { return FTimer.get(); }

private:
    void Sync();
    std::unique_ptr<TTimer> FTimer;
    bool FSuspended = true;
    bool FTerminated = false;
};

// ---------------------------------------------------------------------------
// Painting

// Face colour at hot-tracking step s (0..8) between Color c and hot colour h,
// both resolved to RGB first: each channel trunc(c * (1 - s/8) + h * s/8).
TColor LbHotTrackBlend(TColor c, TColor h, int s);

// Thirty-two horizontal bands from c1 (top) to c2 over r; the pen is cleared
// while filling and restored afterwards.
void LbGradientFill(TCanvas* canvas, const TRect& r, TColor c1, TColor c2);

// Draws cell `index` of a strip of cells cw wide at (x, y), its bottom-left
// pixel's colour transparent; a strip without that cell shows its first.
void LbDrawGlyphCell(TCanvas* canvas, const TBitmap* glyph, int cw, int index, int x, int y);

// Everything the face painter needs of a button.
struct TLbButtonFace {
    int Width = 0;
    int Height = 0;
    TAlignment Alignment = taCenter;
    QString Caption;
    TLbButtonLayout Layout = blGlyphLeft;
    const TFont* Font = nullptr;
    TColor ShadowColor = clGray;
    TColor LightColor = clWhite;
    TColor HotTrackColor = clNone;
    TColor ColorWhenDown = clNone;
    TColor Color = clBtnFace;
    TLbButtonStyle Style = bsNormal;
    bool HasPopupMenu = false;
    bool WordWrap = false;
    bool Flat = false;
    bool Enabled = true;
    bool Hot = false;
    bool Down = false;
    const TBitmap* Glyph = nullptr;
    int NumGlyphs = 0;
    int HotTrackStep = 0;
};

// Where the face painter puts glyph and caption (for callers that need the
// layout without drawing, and for the painter itself).
struct TLbFaceLayout {
    int Offset = 0;
    int GlyphIndex = 0;
    int CellWidth = 0;
    int GlyphHeight = 0;
    TPoint GlyphPos;
    QString Caption; // as drawn: shortened to fit unless WordWrap
    TRect CaptionRect;
    unsigned TextFlags = 0;
};

// Measures with the canvas' font, which it sets up as the painter would.
TLbFaceLayout LbLayoutButtonFace(TCanvas* canvas, const TLbButtonFace& face);

// Paints background, frame, glyph cell, caption and pop-up arrow of a button
// face of face.Width x face.Height at the canvas origin.
void LbPaintButtonFace(TCanvas* canvas, const TLbButtonFace& face);
