#pragma once
// The check list box: a list box whose items carry a check box each. A click
// on an item's box or Space on the focused item toggles it and fires
// OnClickCheck; setting Checked from code fires nothing.

#include "platform/controls/StdCtrls.h"

class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TCheckListBox"); }

    bool Checked(int Index) const;
    void SetChecked(int Index, bool Value);
    // Toggles the item as the user does: unless disabled, flips its box and
    // fires OnClickCheck.
    void ToggleClickCheck(int Index);
    // Width of the box part at an item's left edge: a press there toggles.
    int CheckWidth() const;

    TNotifyEvent OnClickCheck;

protected:
    QWidget* CreateWidget() override;
    void KeyPress(char16_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void ClickCheck();
};
