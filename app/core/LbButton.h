#pragma once
// The owner-drawn push button of every form: colour presets, stock kinds,
// glyph strips of up to four cells (normal, disabled, pressed, hot), hot
// tracking with an optional fade, Default and Cancel keys, accelerators, an
// attached pop-up menu and images taken from an action.

#include <QString>
#include <memory>
#include <vector>

#include "app/core/LbButtons.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"

class TImageList;
class TLbButton;

// The button's end of the bond with its action: besides what every control
// takes, the glyph follows the action's image.
class TLbButtonActionLink : public TControlActionLink {
public:
    explicit TLbButtonActionLink(TLbButton* AClient);
    void Change() override;
};

class TLbButton : public TCustomControl {
public:
    explicit TLbButton(TComponent* AOwner);
    ~TLbButton() override;
    QString ClassName() const override { return QStringLiteral("TLbButton"); }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    // Always reads lcsCustom: writing a preset only sets the colours.
    TLbColorStyle ColorStyle() const { return FDummyStyle; }
    void SetColorStyle(TLbColorStyle v);
    TColor ColorWhenDown() const { return FColorWhenDown; }
    void SetColorWhenDown(TColor v) { FColorWhenDown = v; }
    bool Default() const { return FDefault; }
    void SetDefault(bool v) { FDefault = v; }
    void SetEnabled(bool v) override;
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    TBitmap* Glyph() const { return FGlyph.get(); }
    // Copies the bitmap (nullptr clears it); NumGlyphs becomes width div height.
    void SetGlyph(const TBitmap* v);
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor v) { FHotTrackColor = v; }
    TFont* HotTrackFont() const { return FHTFont.get(); }
    void SetHotTrackFont(const TFont* v) { FHTFont->Assign(v); }
    TLbButtonKind Kind() const { return FKind; }
    void SetKind(TLbButtonKind v);
    TLbButtonLayout Layout() const { return FLayout; }
    void SetLayout(TLbButtonLayout v);
    TColor LightColor() const { return FLightColor; }
    void SetLightColor(TColor v);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int v);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v);
    bool SlowDecease() const { return FSlowDecease; }
    void SetSlowDecease(bool v);
    TLbButtonStyle Style() const { return FStyle; }
    void SetStyle(TLbButtonStyle v);
    bool UseHotTrackFont() const { return FUseHTFont; }
    void SetUseHotTrackFont(bool v) { FUseHTFont = v; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);

    // The window lets its parent show through (styles bsModern, bsShape and
    // bsQuicken as set through Style, not through a colour preset).
    bool WindowTransparent() const { return FExTransparent; }

    // Run-time state, read by forms and tests.
    bool Down() const { return bDown; }
    bool CursorOnButton() const { return bCursorOnButton; }
    int HotTrackStep() const { return FHotTrackStep; }
    TLbButtonThread* FadeThread() const { return FThread.get(); }

    // The click of mouse and keyboard: OnClick, the modal result handed to the
    // form, the pop-up menu, then the action.
    void Click() override;
    // One fade step (every 30 ms after a mouse leave with SlowDecease).
    void FadeStep(TObject* Sender);

    // OnClick and OnMouseEnter are the control's; this one fires on leaving.
    TNotifyEvent OnMouseExit;

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    std::unique_ptr<TControlActionLink> CreateActionLink() override;

private:
    friend class TLbButtonActionLink;
    // An empty glyph becomes the action's image, when it has one.
    void TakeActionImage(const TCustomAction* action);
    bool Hot() const;
    bool ParentShowing() const;
    void StopThread();
    bool HandleDialogKey(TMessage& Message);
    bool HandleDialogChar(TMessage& Message);

    TAlignment FAlignment = taCenter;
    TColor FShadowColor = clGray;
    TColor FColorWhenDown = clNone;
    bool FFlat = false;
    bool FWordWrap = false;
    std::unique_ptr<TBitmap> FGlyph;
    TColor FHotTrackColor = clNone;
    std::unique_ptr<TFont> FHTFont;
    TLbButtonKind FKind = bkCustom;
    TLbButtonLayout FLayout = blGlyphLeft;
    TColor FLightColor = clWhite;
    TModalResult FModalResult = mrNone;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TLbColorStyle FDummyStyle = lcsCustom;
    TLbButtonStyle FStyle = bsNormal;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    bool bCursorOnButton = false;
    std::unique_ptr<TLbButtonThread> FThread;
    int FHotTrackStep = 0;
    bool FExTransparent = false;
};
