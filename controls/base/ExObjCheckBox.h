#pragma once
// The search panel's check box: paints itself (themed, or the classic frame
// control), may let its parent show through, and toggles on a click, on
// Space and on its accelerator.

#include <QString>

#include "platform/controls/Controls.h"
#include "platform/controls/StdCtrls.h"

class TExCheckBox : public TCustomControl {
public:
    explicit TExCheckBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TExCheckBox"); }

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    bool Checked() const { return FState == cbChecked; }
    // Never fires OnClick.
    void SetChecked(bool v);
    // Unless ReadOnly: checked becomes unchecked, anything else checked.
    void Toggle();

    // The box's side: taLeftJustify (box left) or taRightJustify.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
    void SetButtonVertAlign(TTextLayout v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    // Return moves on as Tab does.
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    // A transparent box paints no background: the parent shows through.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // Kept for the callers; the parent shows through by composition, so there
    // is no background to cache.
    bool TransparentChaching() const { return FTransparentChaching; }
    void SetTransparentChaching(bool v) { FTransparentChaching = v; }
    // The box is being pressed (mouse or Space).
    bool Down() const { return FDown; }
    void SetDown(bool v) { FDown = v; }

    void SetText(const QString& v) override;

    // Where the box is drawn for the current size, side, alignment and theme.
    TRect BoxRect() const;
    bool Hot() const { return FHot; }

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;

private:
    static bool Themed();
    bool Inside(int X, int Y) const { return X >= 0 && X < Width() && Y >= 0 && Y < Height(); }
    void SetDownAndRepaint(bool v);

    TCheckBoxState FState = cbUnchecked;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FButtonVertAlign = tlTop;
    bool FEllipsis = false;
    bool FReadOnly = false;
    bool FReturnIsTab = false;
    bool FTransparent = false;
    bool FTransparentChaching = false;
    bool FDown = false;
    bool FHot = false;
    bool FFocused = false;
    bool FMouseDown = false;
};
