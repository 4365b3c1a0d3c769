#pragma once
// The windowed holder of the buttons inside an edit (the spin edit's button
// pair, the edit-button control's container): it remembers the edit it works
// for and carries the own button colours its buttons paint with.

#include "platform/controls/Controls.h"
#include "platform/graphics/Colors.h"

class TEsgButtonBox : public TWinControl {
public:
    explicit TEsgButtonBox(TComponent* AOwner);
    ~TEsgButtonBox() override;

    // The edit the buttons work for; cleared when it is freed.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);

    // Own button colours, used when ButtonColor is set (clNone: not set).
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { SetColorField(FButtonColor, v); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { SetColorField(FButtonColorHot, v); }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { SetColorField(FButtonColorDown, v); }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { SetColorField(FButtonBorderColor, v); }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { SetColorField(FButtonTextColor, v); }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { SetColorField(FButtonTextColorHot, v); }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { SetColorField(FButtonTextColorDown, v); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Focuses the edit when it can take the focus and lacks it, else the
    // holder itself when it is a tab stop that can take it.
    void FocusAfterPress(bool EditMustBeTabStop);

    TWinControl* FFocusControl = nullptr;

private:
    void SetColorField(TColor& field, TColor v);

    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};
