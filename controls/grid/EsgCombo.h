#pragma once
// The flat combo box: a combo box that paints its own frame and drop-down
// button, changes colour and frame with the focus and the mouse, can look flat
// and carries an optional label beside it. The grid's combo editor and the
// combo of cells with HTML controls derive from it.

#include <QString>

#include "platform/controls/Controls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Graphics.h"

namespace EsgCombo {
// Where the attached label stands against the control.
enum TLabelPosition {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter,
    lpRightTop,
    lpRightCenter,
    lpRighBottom,
};

// Painting shared by the flat combo box and the grid's date picker.

// The frame of a disabled control on a themed desktop.
inline constexpr TColor Disabled_Themed_Frame = RGB(127, 157, 185);
// The drop-down button's width: the system's scroll-bar width and 2.
int DefaultButtonWidth();

// The theme state of a combo drop-down button.
int DropButtonThemeState(bool enabled, bool pressed, bool dropped, bool hover);
// The toolkit's standard flat frame over the whole control: when active a
// sunken edge, then the outer colour, then the inner colour inside it; when
// not, the outer colour round the control and round the text part (the
// control less the button), and the inner colour inside the text part.
void DrawStandardFrame(TCanvas* Canvas, const TRect& Window, bool Active, TColor Outer, TColor Inner, int ButtonWidth);
// A one-pixel frame of one colour round the control.
void DrawColorFrame(TCanvas* Canvas, const TRect& Window, TColor Color);
// The own colours of a drop-down button; clNone in the hot and down colours
// keeps the normal one.
struct TButtonLook {
    TColor Color, ColorHot, ColorDown, Border, Text, TextDown;
};
// A button of own colours: filled (hot while hovered, down while also
// pressed), a border line down its left edge and a down arrow whose left
// corner stands `ArrowLeft` pixels in.
void DrawColorButton(TCanvas* Canvas, const TRect& R, const TButtonLook& Look, bool Hover, bool Pressed, int ArrowLeft);
// The two-pixel ring of a classic button flattened to the button face.
void FlattenButton(TCanvas* Canvas, const TRect& R);

// The drop-down button's own colours and the mouse over the control, alike in
// the flat combo box and the grid's date picker.
class TDropButton {
public:
    virtual ~TDropButton() = default;

    // The button's own colours; used when ButtonColor is set.
    TColor ButtonColor() const { return FLook.Color; }
    void SetButtonColor(TColor v) { SetLookColor(FLook.Color, v); }
    TColor ButtonColorHot() const { return FLook.ColorHot; }
    void SetButtonColorHot(TColor v) { SetLookColor(FLook.ColorHot, v); }
    TColor ButtonColorDown() const { return FLook.ColorDown; }
    void SetButtonColorDown(TColor v) { SetLookColor(FLook.ColorDown, v); }
    TColor ButtonBorderColor() const { return FLook.Border; }
    void SetButtonBorderColor(TColor v) { SetLookColor(FLook.Border, v); }
    TColor ButtonTextColor() const { return FLook.Text; }
    void SetButtonTextColor(TColor v) { SetLookColor(FLook.Text, v); }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { SetLookColor(FButtonTextColorHot, v); }
    TColor ButtonTextColorDown() const { return FLook.TextDown; }
    void SetButtonTextColorDown(TColor v) { SetLookColor(FLook.TextDown, v); }

protected:
    // Follows a mouse message to the control: the mouse over it (while it is
    // enabled), over the button area (the rightmost ButtonWidth pixels), a
    // button held down; repaints what that changes.
    void TrackMouse(TWinControl* Control, const TMessage& Message);
    // The button area of a control `Width` wide and `Height` high.
    TRect ButtonArea(int Width, int Height) const { return Rect(Width - FButtonWidth, 0, Width, Height); }
    virtual void ButtonLookChanged() = 0;

    TButtonLook FLook { clNone, clNone, clNone, clNone, clNone, clNone };
    TColor FButtonTextColorHot = clNone;
    int FButtonWidth = DefaultButtonWidth();
    bool FButtonHover = false;
    bool FMouseInControl = false;
    // A mouse button went down on the control and is not up yet.
    bool FButtonDown = false;

private:
    void SetLookColor(TColor& field, TColor v)
    {
        field = v;
        ButtonLookChanged();
    }
};
} // namespace EsgCombo

class TEsgCustomCombo : public TCustomComboBox, public EsgCombo::TDropButton {
public:
    using TLabelPosition = EsgCombo::TLabelPosition;
    using enum EsgCombo::TLabelPosition;

    explicit TEsgCustomCombo(TComponent* AOwner);
    ~TEsgCustomCombo() override;
    QString ClassName() const override { return QStringLiteral("TEsgCustomCombo"); }

    // Takes the current colour as the one to return to after the focus.
    void Init();
    // Selects the first item of that text; nothing when there is none.
    void SelectItem(const QString& AText);

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    bool Ctl3D() const { return FCtl3D; }
    // Accepts 14 to 32 pixels only.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v);
    // Width of the open list; 0 leaves it to the combo box.
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int v);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor v);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool v);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v) { FFocusColor = v; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v);
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool v) { FFocusLabel = v; }

    // Themed desktop, and combo boxes that the platform paints natively; the
    // grid tells them.
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool v);

    // The label: made on the control's parent on the first caption.
    QString LabelCaption() const;
    void SetLabelCaption(const QString& v);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(const TFont* v);
    TLabel* ComboLabel() const { return FLabel; }

    void SetEnabled(bool v) override;
    void SetVisible(bool v) override;
    void SetColor(TColor v) override;
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

    // The list closed.
    TNotifyEvent OnDropUp;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DoEnter() override;
    void DoExit() override;
    void DropDown() override;
    void CloseUp() override;
    void PaintAfterWidget(TCanvas* Canvas) override;
    TRect WidgetPaintExclusion() const override;
    int EditFieldRight() const override;

    // Own painting of the client area instead of the platform's.
    bool PaintsOwnClient() const;
    // The frame is drawn over the control.
    bool PaintsOwnFrame() const;
    bool Themed() const;
    void ButtonLookChanged() override { Invalidate(); }
    void DrawButton(TCanvas* Canvas);
    void DrawBorders(TCanvas* Canvas);
    void UpdateLabel();
    void LabelFontChanged();

private:
    void FocusChanged(bool focused);

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    bool FCtl3D = true;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    bool FFocusBorder = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
    bool FIsThemed;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    std::unique_ptr<TFont> FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    TLabel* FLabel = nullptr;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clNone;
    bool FHasFocus = false;
    bool FFocusLabel = false;
    bool FIsVista = false;
};

class TEsgComboBox : public TEsgCustomCombo {
public:
    using TEsgCustomCombo::TEsgCustomCombo;
    QString ClassName() const override { return QStringLiteral("TEsgComboBox"); }
};
