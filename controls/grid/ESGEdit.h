#pragma once
// The edit-button controls: an edit with a push button at its right end, and
// the unit edit, which shows a unit text between the text and the button and
// offers a list of units on the button. The grid's edit-button editors
// derive from them.

#include <QString>
#include <functional>
#include <memory>

#include "controls/grid/EsgButtonBox.h"
#include "controls/grid/EsgButtonEdit.h"
#include "platform/controls/Buttons.h"
#include "platform/runtime/Classes.h"

class TEsgEditButton;

// The button inside the container.
class TExSpeedButton : public TSpeedButton {
public:
    explicit TExSpeedButton(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TExSpeedButton"); }

    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);

protected:
    void Paint() override;
    // Its own click does nothing: the container acts on the release.
    void Click() override { }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TEsgEditButton* Container() const;
    bool FIsWinXP = false;
};

// The windowed container of the button; the button always fills it.
class TEsgEditButton : public TEsgButtonBox {
public:
    explicit TEsgEditButton(TComponent* AOwner);
    ~TEsgEditButton() override;
    QString ClassName() const override { return QStringLiteral("TEsgEditButton"); }

    TExSpeedButton* Button() const { return FButton; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);

    // Fired when the button is released after a press on it.
    TNotifyEvent OnClick;

private:
    friend class TExSpeedButton;
    // The button reports the release of the left mouse button.
    void ButtonReleased();

    TExSpeedButton* FButton = nullptr;
    bool FFlat = false;
};

class TEsgEditBtn : public TEsgButtonEdit {
public:
    explicit TEsgEditBtn(TComponent* AOwner);
    ~TEsgEditBtn() override;
    QString ClassName() const override { return QStringLiteral("TEsgEditBtn"); }

    TEsgEditButton* Button() const { return FButton; }
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    TBitmap* Glyph() const;
    void SetGlyph(const TBitmap* v);
    QString ButtonCaption() const;
    void SetButtonCaption(const QString& v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool v);

    // Fires OnClickBtn; Sender is the button container for the button and
    // the edit itself for F4.
    virtual void ClickButton(TObject* Sender);

    int MinHeight() override;

    TNotifyEvent OnClickBtn;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetEditRect() override;

    int FUnitSize = 0;

private:
    bool FRightAlign = false;
    TEsgEditButton* FButton = nullptr;
    int FButtonWidth = 18;
    bool FIsWinXP = false;
};

using TUnitChangedEvent = std::function<void(TObject* Sender, const QString& NewUnit)>;

class TEsgUnitEditBtn : public TEsgEditBtn {
public:
    explicit TEsgUnitEditBtn(TComponent* AOwner);
    ~TEsgUnitEditBtn() override;
    QString ClassName() const override { return QStringLiteral("TEsgUnitEditBtn"); }

    TStringList* Units() const { return FUnits.get(); }
    // Copies the list; nullptr is ignored.
    void SetUnits(const TStrings* v);
    QString UnitID() const { return FUnitID; }
    void SetUnitID(const QString& v);
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int v);

    // The text followed by the unit. Writing splits a value on the first
    // unit of the list that ends it and occurs nowhere earlier in it; a
    // value that no unit ends leaves text and unit as they were.
    QString TextAndUnit() const { return Text() + FUnitID; }
    void SetTextAndUnit(const QString& v);

    // Fires OnClickBtn, then offers the units in a pop-up menu.
    void ClickButton(TObject* Sender) override;
    void WndProc(TMessage& Message) override;

    TUnitChangedEvent OnUnitChanged;

protected:
    void PaintAfterWidget(TCanvas* Canvas) override;

private:
    QString FUnitID;
    std::unique_ptr<TStringList> FUnits;
};
