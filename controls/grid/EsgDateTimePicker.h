#pragma once
// The grid's date-time picker: the platform picker with a metro look, an own
// flat frame in a border colour (another while focused) and an own drop-down
// button. The grid's date editor derives from it.

#include <QString>

#include "controls/grid/EsgCombo.h"
#include "platform/controls/ComCtrls.h"
#include "platform/graphics/Graphics.h"

class TEsgDateTimePicker : public TDateTimePicker, public EsgCombo::TDropButton {
public:
    explicit TEsgDateTimePicker(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TEsgDateTimePicker"); }

    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v);
    int ButtonWidth() const { return FButtonWidth; }

    // "1.0.0.0"; writing it changes nothing.
    QString Version() const;
    void SetVersion(const QString&) { }

    void WndProc(TMessage& Message) override;

protected:
    void DoEnter() override;
    void DoExit() override;
    void CloseUp() override;
    void PaintAfterWidget(TCanvas* Canvas) override;

    bool MetroActive() const { return FMetroStyle && !IsDesigning(); }
    // The mouse is over the picker or it is the active control.
    bool Hot() const;
    bool Themed() const;
    void ButtonLookChanged() override { Invalidate(); }
    void DrawButton(TCanvas* Canvas);
    void DrawFrame(TCanvas* Canvas);
    void DrawFlatBorder(TCanvas* Canvas);

private:
    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clNone;
    bool FIsThemed;
    bool FIsWinXP;
    bool FMetroStyle = false;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = false;
    bool FHasFocus = false;
    bool FFocusBorder = false;
    bool FCtl3D = true;
};
