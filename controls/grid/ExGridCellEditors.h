#pragma once
// Three of the string grid's special cell editors: the check box, the spin
// edit and the combo box. Each is a plain control taught the grid's editing
// protocol: which keys end the edit and where the cursor goes, validation of
// the value before the cursor leaves, the grid's change events and the focus
// loss that stores the value.

#include <QString>

#include "controls/grid/EsgCombo.h"
#include "controls/grid/esgspin.h"
#include "platform/controls/StdCtrls.h"

class TExStringGrid;

class TGridCheckBox : public TCheckBox {
public:
    explicit TGridCheckBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridCheckBox"); }
    TExStringGrid* Grid() const { return FGrid; }
    // Makes the window anew so that style changes take effect before a use.
    void ReCreate();
    void WndProc(TMessage& Message) override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void DoExit() override;
    void Toggle() override;

private:
    TExStringGrid* FGrid = nullptr;
    // The press toggled already; the widget's toggle of the same click is
    // dropped.
    bool FPressToggled = false;
};

class TGridSpin : public TEsgSpinEdit {
public:
    explicit TGridSpin(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridSpin"); }
    TExStringGrid* Grid() const { return FGrid; }
    void ReCreate();
    // The edit began; with PassThrough the editor shows a stand-in value (a
    // date cell without a date shows today) that is never stored unless
    // the user changes it.
    void BeginEdit(bool PassThrough);
    bool Untouched() const;
    // The value the cell would get now.
    QString EditValue() const;
    // The value inside the limits, as the cell stores it.
    int ClampedValue();
    double ClampedFloatValue();
    // The buttons' steps report the spin type's click event to the grid.
    void StepUp(bool Page) override;
    void StepDown(bool Page) override;
    void WndProc(TMessage& Message) override;

protected:
    void KeyPress(char16_t& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void Change() override;
    void DoExit() override;

private:
    // The grid's keys ahead of the spin edit's own; false when consumed.
    bool GridKeyDown(WORD& Key, TShiftState Shift);
    // Page Up/Down, Home and End on integer and float spins; true when the
    // key was one of them.
    bool StepKey(WORD Key);
    void FireSpinClick(bool UpDown);
    TExStringGrid* FGrid = nullptr;
    // Set while a key steps the spin edit (no button click then).
    bool FKeyStep = false;
    bool FPassThrough = false;
    QString FLoadedText;
};

class TGridCombo : public TEsgComboBox {
public:
    explicit TGridCombo(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridCombo"); }
    TExStringGrid* Grid() const { return FGrid; }

    // The open list as wide as the widest item needs, measured with the
    // grid's font.
    void SizeDropDownWidth();
    // Look-up completion of the text before the caret.
    void DoChange();

    // The edit began on a cell whose value the list does not hold (or held
    // a preselection): only an item the user picks in this edit is stored.
    void BeginEdit();
    // An item was picked by the user (a key, the list, typing, the wheel)
    // since the edit began.
    bool UserChose() const { return FUserChose; }
    bool Cancelled() const { return FCancelled; }
    // Whether leaving stores the combo's value: not after Esc, and for a
    // list combo only an item the user picked.
    bool StoresValue() const;
    // The value the cell would get now: the shown text, or the cell's own
    // text while a list combo holds no user choice.
    QString EditValue() const;
    // The character position under a client point of the edit part.
    int CharAt(TPoint P) const;

    bool Forced = false;
    bool WorkMode = true;
    int ItemIdx = -1;
    bool ItemChange = false;
    TNotifyEvent OnReturnKey;

    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void Change() override;
    void Select() override;
    void DropDown() override;
    void CloseUp() override;
    void DoEnter() override;
    void DoExit() override;

private:
    bool ListStyle() const;
    // Validation of the value on a key that leaves; false when refused
    // (the text as validation left it, Key consumed).
    bool ValidateOnKey(WORD& Key);
    // The accepted value taken over after validation.
    void TakeValidated();
    // Walking out of the cell by Left at the start or Right at the end.
    void WalkOut(bool Forward);
    // The wheel steps the item; true when it stepped.
    bool WheelStep(bool TowardsUser);
    void FireComboChange();
    TExStringGrid* FGrid = nullptr;
    bool FUserChose = false;
    bool FCancelled = false;
    // A character was typed since the last key-up (completion follows it).
    bool FTyped = false;
    bool FInSelect = false;
};
