#pragma once
// The owner-drawn push button of every form: colour presets, stock kinds,
// glyph strips of up to four cells (normal, disabled, pressed, hot), hot
// tracking with an optional fade, Default and Cancel keys, accelerators, an
// attached pop-up menu and images taken from an action.

#include <QString>
#include <memory>
#include <vector>

#include "app/core/LbButtons.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"

class TImageList;
class TLbButton;

// An action as far as the button uses one: what it hands to its clients
// (caption, enabled, hint, visible, an image from its image list) and the
// handler a click executes. Clients hear of every change.
class TLbAction : public TComponent {
public:
    explicit TLbAction(TComponent* AOwner);
    ~TLbAction() override;
    QString ClassName() const override { return QStringLiteral("TLbAction"); }

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    QString Hint() const { return FHint; }
    void SetHint(const QString& v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    // Not owned: the list outlives the action's use of it.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* v);

    // Runs OnExecute when enabled; false when nothing ran.
    bool Execute();
    TNotifyEvent OnExecute;

private:
    friend class TLbButton;
    void Change();
    QString FCaption;
    bool FEnabled = true;
    QString FHint;
    bool FVisible = true;
    int FImageIndex = -1;
    TImageList* FImages = nullptr;
    std::vector<TLbButton*> FClients;
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

    TLbAction* Action() const { return FAction; }
    void SetAction(TLbAction* v);

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
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TLbAction;
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
    TLbAction* FAction = nullptr;
};
