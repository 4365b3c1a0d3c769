#pragma once
// The control model: TControl (position, size, alignment, colour, font,
// caption, hint, mouse events), TWinControl (a control with its own QWidget,
// children, focus and keys), TCustomControl (paints itself on a canvas) and
// TGraphicControl (windowless, painted by and fed through its parent).
//
// Every translated input event reaches the control's virtual WndProc as a
// message (WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN, CM_MOUSEENTER, ...) before the
// events fire, so a descendant can intercept anything by overriding WndProc.

#include <QFlags>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/Messages.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Types.h"

class QWidget;
class QEvent;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TCustomAction;
class TControlActionLink;

// ---------------------------------------------------------------------------
// Virtual key codes

inline constexpr WORD VK_LBUTTON = 0x01;
inline constexpr WORD VK_RBUTTON = 0x02;
inline constexpr WORD VK_CANCEL = 0x03;
inline constexpr WORD VK_MBUTTON = 0x04;
inline constexpr WORD VK_BACK = 0x08;
inline constexpr WORD VK_TAB = 0x09;
inline constexpr WORD VK_CLEAR = 0x0C;
inline constexpr WORD VK_RETURN = 0x0D;
inline constexpr WORD VK_SHIFT = 0x10;
inline constexpr WORD VK_CONTROL = 0x11;
inline constexpr WORD VK_MENU = 0x12;
inline constexpr WORD VK_PAUSE = 0x13;
inline constexpr WORD VK_CAPITAL = 0x14;
inline constexpr WORD VK_ESCAPE = 0x1B;
inline constexpr WORD VK_SPACE = 0x20;
inline constexpr WORD VK_PRIOR = 0x21;
inline constexpr WORD VK_NEXT = 0x22;
inline constexpr WORD VK_END = 0x23;
inline constexpr WORD VK_HOME = 0x24;
inline constexpr WORD VK_LEFT = 0x25;
inline constexpr WORD VK_UP = 0x26;
inline constexpr WORD VK_RIGHT = 0x27;
inline constexpr WORD VK_DOWN = 0x28;
inline constexpr WORD VK_SELECT = 0x29;
inline constexpr WORD VK_PRINT = 0x2A;
inline constexpr WORD VK_EXECUTE = 0x2B;
inline constexpr WORD VK_SNAPSHOT = 0x2C;
inline constexpr WORD VK_INSERT = 0x2D;
inline constexpr WORD VK_DELETE = 0x2E;
inline constexpr WORD VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
inline constexpr WORD VK_LWIN = 0x5B;
inline constexpr WORD VK_RWIN = 0x5C;
inline constexpr WORD VK_APPS = 0x5D;
inline constexpr WORD VK_NUMPAD0 = 0x60;
inline constexpr WORD VK_NUMPAD1 = 0x61;
inline constexpr WORD VK_NUMPAD2 = 0x62;
inline constexpr WORD VK_NUMPAD3 = 0x63;
inline constexpr WORD VK_NUMPAD4 = 0x64;
inline constexpr WORD VK_NUMPAD5 = 0x65;
inline constexpr WORD VK_NUMPAD6 = 0x66;
inline constexpr WORD VK_NUMPAD7 = 0x67;
inline constexpr WORD VK_NUMPAD8 = 0x68;
inline constexpr WORD VK_NUMPAD9 = 0x69;
inline constexpr WORD VK_MULTIPLY = 0x6A;
inline constexpr WORD VK_ADD = 0x6B;
inline constexpr WORD VK_SEPARATOR = 0x6C;
inline constexpr WORD VK_SUBTRACT = 0x6D;
inline constexpr WORD VK_DECIMAL = 0x6E;
inline constexpr WORD VK_DIVIDE = 0x6F;
inline constexpr WORD VK_F1 = 0x70;
inline constexpr WORD VK_F2 = 0x71;
inline constexpr WORD VK_F3 = 0x72;
inline constexpr WORD VK_F4 = 0x73;
inline constexpr WORD VK_F5 = 0x74;
inline constexpr WORD VK_F6 = 0x75;
inline constexpr WORD VK_F7 = 0x76;
inline constexpr WORD VK_F8 = 0x77;
inline constexpr WORD VK_F9 = 0x78;
inline constexpr WORD VK_F10 = 0x79;
inline constexpr WORD VK_F11 = 0x7A;
inline constexpr WORD VK_F12 = 0x7B;
inline constexpr WORD VK_NUMLOCK = 0x90;
inline constexpr WORD VK_SCROLL = 0x91;
inline constexpr WORD VK_OEM_1 = 0xBA; // ;:
inline constexpr WORD VK_OEM_PLUS = 0xBB;
inline constexpr WORD VK_OEM_COMMA = 0xBC;
inline constexpr WORD VK_OEM_MINUS = 0xBD;
inline constexpr WORD VK_OEM_PERIOD = 0xBE;
inline constexpr WORD VK_OEM_2 = 0xBF; // /?
inline constexpr WORD VK_OEM_3 = 0xC0; // `~
inline constexpr WORD VK_OEM_4 = 0xDB; // [{
inline constexpr WORD VK_OEM_5 = 0xDC; // \|
inline constexpr WORD VK_OEM_6 = 0xDD; // ]}
inline constexpr WORD VK_OEM_7 = 0xDE; // '"

// ---------------------------------------------------------------------------
// Small types

enum TShiftStateFlag : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

enum TAnchorKind : unsigned { akLeft = 0x1, akTop = 0x2, akRight = 0x4, akBottom = 0x8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };


using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

enum TControlStyleFlag : unsigned {
    csAcceptsControls = 0x00001,
    csCaptureMouse = 0x00002,
    csDesignInteractive = 0x00004,
    csClickEvents = 0x00008,
    csFramed = 0x00010,
    csSetCaption = 0x00020,
    csOpaque = 0x00040,
    csDoubleClicks = 0x00080,
    csFixedWidth = 0x00100,
    csFixedHeight = 0x00200,
    csNoDesignVisible = 0x00400,
    csReplicatable = 0x00800,
    csNoStdEvents = 0x01000,
    csDisplayDragImage = 0x02000,
    csReflector = 0x04000,
    csActionClient = 0x08000,
    csMenuEvents = 0x10000,
    csNeedsBorderPaint = 0x20000,
    csParentBackground = 0x40000,
};
Q_DECLARE_FLAGS(TControlStyle, TControlStyleFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TControlStyle)

enum TControlStateFlag : unsigned {
    csLButtonDown = 0x001,
    csClicked = 0x002,
    csPalette = 0x004,
    csReadingState = 0x008,
    csAlignmentNeeded = 0x010,
    csFocusing = 0x020,
    csCreating = 0x040,
    csPaintCopy = 0x080,
    csCustomPaint = 0x100,
    csDestroyingHandle = 0x200,
    csDocking = 0x400,
};
Q_DECLARE_FLAGS(TControlState, TControlStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TControlState)

using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent
    = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// A wheel notch.
inline constexpr int WHEEL_DELTA = 120;

// Shift state of a mouse or key message's flags.
TShiftState KeysToShiftState(WPARAM keys);
WPARAM ShiftStateToKeys(TShiftState shift);
// Shift state encoded in key data: Alt from bit 29, Shift and Ctrl from the
// keyboard state at the time of the message.
TShiftState KeyDataToShiftState(LPARAM keyData);
// The modifier state of the key or mouse message being handled now.
TShiftState CurrentShiftState();
// Whether the right Alt key (AltGr) is held in the key message being handled
// now; the shift state's ssAlt stands for the left one.
bool RightAltDown();

// ---------------------------------------------------------------------------
// What a control knows of a pop-up menu; Menus.h derives TPopupMenu from it.

class TPopupMenuBase : public TComponent {
public:
    using TComponent::TComponent;
    // Shows the menu with its top-left corner at screen point (X, Y).
    virtual void Popup(int X, int Y) = 0;
    // The control whose menu is being shown (set before Popup).
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* c) { FPopupComponent = c; }

private:
    TComponent* FPopupComponent = nullptr;
};

// ---------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    QString ClassName() const override { return QStringLiteral("TControl"); }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    // Position in the parent's client area (a form's is on the screen).
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The client area in the control's own coordinates.
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int v);
    virtual void SetClientHeight(int v);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    // A point of this control's client area in `other`'s client coordinates.
    TPoint ClientToParent(TPoint p, const TWinControl* other = nullptr) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign v);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors v);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    void Show();
    void Hide();
    // Visible, and every parent up to a form showing.
    virtual bool Showing() const;

    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);

    TColor Color() const { return FColor; }
    virtual void SetColor(TColor v);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);

    // The control's font; changing it fires CM_FONTCHANGED and clears
    // ParentFont. Children with ParentFont follow their parent's font.
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* v) { FFont->Assign(v); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);

    // Reading order and layout; with ParentBiDiMode the parent's. Setting it
    // clears ParentBiDiMode; a change reaches the control and the children
    // that follow it as CM_BIDIMODECHANGED.
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode v);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool v);
    // Right-to-left layout (bdRightToLeft) and reading order (every mode but
    // left-to-right).
    bool UseRightToLeftAlignment() const { return BiDiMode() == bdRightToLeft; }
    bool UseRightToLeftReading() const { return BiDiMode() != bdLeftToRight; }

    // Caption and Text are the same text (the window text).
    QString Caption() const { return GetText(); }
    void SetCaption(const QString& v) { SetText(v); }
    virtual QString GetText() const { return FText; }
    virtual void SetText(const QString& v);
    QString Text() const { return GetText(); }

    QString Hint() const { return FHint; }
    void SetHint(const QString& v) { FHint = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool v);

    TCursor Cursor() const { return FCursor; }
    virtual void SetCursor(TCursor v);

    // The action the control follows (ActnList.h); a click runs it when
    // OnClick is not set.
    TCustomAction* Action() const;
    void SetAction(TCustomAction* v);
    TControlActionLink* ActionLink() const { return FActionLink.get(); }

    // The pop-up menu shown on a right click (WM_CONTEXTMENU).
    template <class M = TPopupMenu> M* PopupMenu() const { return static_cast<M*>(FPopupMenu); }
    void SetPopupMenu(TPopupMenuBase* menu);
    bool HasPopupMenu() const { return FPopupMenu != nullptr; }

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v) { FControlStyle = v; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState v) { FControlState = v; }

    // While set, mouse moves and the button release reach this control even
    // outside it. Set by a press on a control with csCaptureMouse.
    bool MouseCapture() const;
    void SetMouseCapture(bool v);

    // Repainting: Invalidate asks for a later paint, Update paints what is
    // pending now, Repaint and Refresh do both.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    virtual void BringToFront();
    virtual void SendToBack();

    // Sends the message to WndProc and returns its result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage& Message);
    // The handling a message gets when WndProc passes it on: the toolkit's
    // own reactions (events, capture, focus, painting).
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // The control, drawn with its children, as a picture of its size.
    QImage PaintToImage();

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TContextPopupEvent OnContextPopup;
    TNotifyEvent OnResize;

    // Calls Click as a mouse click would (for the keyboard paths and tests).
    virtual void Click();

protected:
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Fires OnMouseWheel, then OnMouseWheelDown/Up once per whole notch
    // (WHEEL_DELTA) of the turn, keeping fractions for the next turn; true
    // when handled.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    virtual void Resize();
    virtual void Changed();
    // Position or size changed: moves the widget (windowed) or repaints the
    // parent (windowless).
    virtual void BoundsChanged(const TRect& oldBounds);
    virtual void VisibleChanging() { }
    virtual void FontChanged();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Takes the action's values (with CheckDefaults only where the control
    // still has its own defaults).
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    virtual std::unique_ptr<TControlActionLink> CreateActionLink();

    // Takes font, colour and hint setting from a new parent where the control
    // follows its parent.
    void SetParentFlagsFromParent();

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors = TAnchors(akLeft) | akTop;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = false;
    bool FParentFont = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    std::unique_ptr<TFont> FFont;
    QString FText;
    QString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    std::unique_ptr<TControlActionLink> FActionLink;
    TPopupMenuBase* FPopupMenu = nullptr;
    TControlStyle FControlStyle = TControlStyle(csCaptureMouse) | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState FControlState;
    // Anchor distances kept for realignment: the control's right and bottom
    // gaps in the parent at the time the anchors were last taken.
    TSize FAnchorOrigin;
    TRect FAnchorRect;
    bool FAnchorValid = false;

private:
    friend class TWinControl;
    friend class TControlEventTranslator;
    void HandleMouseMessage(TMessage& Message);
    void ParentFontChanged();
    void ParentColorChanged();
    void FontChangedHandler();
    bool FSettingParentFont = false;
    bool FAnchorMove = false;
    // The part of the wheel turn short of a notch, and whether the last whole
    // notch was taken (then the fractions are taken too).
    int FWheelAccumulator = 0;
    bool FWheelTaken = false;
    std::uint64_t FSerial = 0;
    friend std::uint64_t ControlSerial(const TControl*);
};

// ---------------------------------------------------------------------------
// TWinControl

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    QString ClassName() const override { return QStringLiteral("TWinControl"); }

    // The Qt widget behind the control, created on first use through the
    // virtual CreateWidget (so a descendant can wrap any Qt widget). A form
    // builds no widget until it is first shown, measured or asked for one;
    // then its parents' widgets and its children's come with it.
    QWidget* Widget();
    // The control's own widget, made now if missing but without its parents'
    // windows (it waits unparented and hidden until they are made): for the
    // state a wrapped Qt widget keeps, such as a list's items, so that
    // filling a hidden form builds no windows.
    QWidget* StateWidget();
    QWidget* WidgetIfAllocated() const { return FWidget; }
    bool HandleAllocated() const { return FWidget != nullptr; }
    void HandleNeeded() { (void)Widget(); }
    // Identity of the window while it exists (creates it when missing).
    HWND Handle();

    // Child controls in z-order (first is bottom-most).
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* c) const;
    // The topmost visible child under a client point; graphic controls only
    // unless `allowWinControls`.
    TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false) const;

    // Alignment.
    void DisableAlign();
    void EnableAlign();
    void Realign();
    bool AlignDisabled() const { return FAlignLevel > 0; }

    // Focus and tab order.
    int TabOrder() const;
    void SetTabOrder(int v);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v);
    virtual bool CanFocus() const;
    virtual bool Focused() const;
    virtual void SetFocus();
    // The child windowed controls in tab order.
    std::vector<TWinControl*> GetTabOrderList() const;
    // The next control after `current` among this control's descendants
    // (all levels) in tab order; nullptr when none can take the focus.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    // Paints a whole region of this control's client area at once.
    void PaintTo(TCanvas* canvas, int X, int Y);

    // Adds a Qt widget whose input belongs to this control (an inner widget of
    // a wrapped Qt widget, a viewport): its events are translated for it.
    void AttachInputWidget(QWidget* w);

    // Sends the message to every child; stops at the first non-zero result.
    void Broadcast(TMessage& Message);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    bool Showing() const override;
    void SetText(const QString& v) override;
    void SetCursor(TCursor v) override;
    void Invalidate() override;
    // Marks a rectangle of the client area, in pixels, for the next paint;
    // nothing while the window has not been made (it paints whole then).
    void InvalidateRect(const TRect& r);
    void Update() override;
    void Repaint() override;
    void BringToFront() override;
    void SendToBack() override;
    TPoint ClientOrigin() const override;

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    // Makes the widget; the default is a plain widget that paints nothing.
    virtual QWidget* CreateWidget();
    // Called once the widget exists: applies geometry, visibility, state,
    // font, colour and caption. Descendants extend it to apply their own.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Applies Font and Color to the widget (also on every change).
    virtual void ApplyFont();
    virtual void ApplyColor();

    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char16_t& Key);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    // The form's preview, then the control's events; true when consumed.
    bool DoKeyDown(TMessage& Message);
    bool DoKeyPress(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    // The area the aligned children share (the client rect by default).
    virtual void AdjustClientRect(TRect& Rect);
    virtual void PaintControls(TCanvas* canvas, TControl* first);
    // True when the widget paints through the control (Paint of a custom
    // control); false for wrapped Qt widgets, which paint themselves.
    virtual bool OwnerPaints() const { return false; }
    // The canvas WM_PAINT draws on (nullptr: a temporary one).
    virtual TCanvas* WindowCanvas() const { return nullptr; }
    virtual void PaintWindow(TCanvas* canvas);
    // Drawing of a wrapped Qt widget's own window after the widget has painted
    // itself (an edit's unit text, a combo box's own frame and button): the
    // canvas is on the widget's surface, in client coordinates. The base does
    // nothing and, once reached, is not asked again, so a control that does
    // not override it pays nothing; an override does not call it.
    virtual void PaintAfterWidget(TCanvas* Canvas);
    // The client area the wrapped widget's own painting must not touch (the
    // area PaintAfterWidget paints alone, such as an own button); empty by
    // default.
    virtual TRect WidgetPaintExclusion() const { return TRect(); }

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void BoundsChanged(const TRect& oldBounds) override;
    void FontChanged() override;

    void AlignControl(TControl* AControl);
    // Non-input events of the widget (close, activation, show, hide, move and
    // resize by the window system); true eats the event.
    virtual bool WidgetEvent(QEvent* e);
    bool FTabStop = false;

private:
    friend class TControl;
    friend class TControlEventTranslator;
    friend class TCustomForm;
    void UpdateWidgetGeometry();
    // Puts a child's widget made before this one's into it.
    void AdoptChildWidget(TWinControl* child);
    void UpdateAnchorRules();
    void ApplyAnchors(const TSize& oldClient);

    QWidget* FWidget = nullptr;
    bool FCreatingWidget = false;
    bool FNoPaintAfterWidget = false;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    // How many children the alignment pass places (top, bottom, left, right,
    // client); with none, moving a child costs nothing however many there are.
    int FAlignedCount = 0;
    // Moves on whenever a child comes, goes, changes its alignment or its
    // place in the z-order.
    unsigned FChildStamp = 0;
    int FAlignLevel = 0;
    bool FAlignPending = false;
    TSize FLastClient;
};

// ---------------------------------------------------------------------------
// TCustomControl: a windowed control that paints itself.

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    QString ClassName() const override { return QStringLiteral("TCustomControl"); }

    // Attached to the widget during WM_PAINT; outside painting it draws into
    // nothing (and HandleAllocated() on it is false).
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint();
    bool OwnerPaints() const override { return true; }
    TCanvas* WindowCanvas() const override { return FCanvas.get(); }
    void PaintWindow(TCanvas* canvas) override;

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// ---------------------------------------------------------------------------
// TGraphicControl: windowless; painted on the parent's canvas inside its
// bounds, its mouse input routed by the parent.

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    QString ClassName() const override { return QStringLiteral("TGraphicControl"); }

    // The parent's canvas, origin and clip set to this control, during WM_PAINT.
    TCanvas* Canvas() const { return FCanvas; }

protected:
    virtual void Paint();
    void Dispatch(TMessage& Message) override;

private:
    friend class TWinControl;
    TCanvas* FCanvas = nullptr;
};

// ---------------------------------------------------------------------------
// Helpers

// Shows an exception that reached the event loop (through the application's
// OnException or its error box); the program goes on.
void HandleException(TObject* Sender);
// A number that identifies a control for the whole run, never reused.
std::uint64_t ControlSerial(const TControl* c);
// The live control with that number, or nullptr once it is freed.
TControl* FindControlBySerial(std::uint64_t serial);

// The form a control sits on (the top of its parent chain), or nullptr.
TCustomForm* GetParentForm(const TControl* control);
// The windowed control behind a Qt widget (walking up the widget parents).
TWinControl* FindControlOfWidget(const QWidget* w);
// Screen position of the last mouse event, for WM_SETCURSOR handlers (the
// toolkit's GetCursorPos).
TPoint MouseCursorPos();
void SetMouseCursorPos(TPoint screen);
// Numbered cursors (positive numbers): the program's own pictures (8000 to
// 8014, see resources::CursorPicture) and any the program registers (a null
// picture takes one away). A control's Cursor, ShowWindowCursor and the
// screen cursor show them; an unknown number shows the default cursor.
void RegisterCursor(TCursor Number, const QImage& Picture, TPoint HotSpot);
bool CursorExists(TCursor Number);
// The cursor last given to the control's window, by its Cursor or by
// ShowWindowCursor (crDefault before any).
TCursor WindowCursor(const TWinControl* control);
// Shows a cursor over the control until the next mouse move, as a
// WM_SETCURSOR handler does, without changing its Cursor property.
void ShowWindowCursor(TWinControl* control, TCursor cursor);
// The control under the mouse as last tracked, and the captured control.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
TControl* MouseControl();
// Lines one wheel notch scrolls, as the system is set (3 before the
// application exists).
int WheelScrollLines();

// Input for tests and automation: each builds the Qt event the control's
// widget would receive from the window system and sends it, so the whole
// translation (key-down, character, key-up; press, release) runs.
namespace input {
// A key press and release. `ch` is the character the key types (0 for none);
// Ctrl+letter and the special keys compute their own.
void KeyDown(TWinControl* c, WORD vk, TShiftState shift = {}, char16_t ch = 0, bool keypad = false);
void KeyUp(TWinControl* c, WORD vk, TShiftState shift = {}, bool keypad = false);
void Key(TWinControl* c, WORD vk, TShiftState shift = {}, char16_t ch = 0, bool keypad = false);
// Types each character of a text (press and release per character).
void Type(TWinControl* c, const QString& text);
// Mouse at a client point of `c` (a graphic control goes through its parent).
void MouseDown(TControl* c, TMouseButton b, TPoint p, TShiftState shift = {});
void MouseUp(TControl* c, TMouseButton b, TPoint p, TShiftState shift = {});
void MouseMove(TControl* c, TPoint p, TShiftState shift = {});
void DoubleClick(TControl* c, TMouseButton b, TPoint p, TShiftState shift = {});
// Press and release at one point.
void Click(TControl* c, TPoint p, TMouseButton b = mbLeft, TShiftState shift = {});
// `notches` wheel notches (positive away from the user).
void Wheel(TControl* c, TPoint p, int notches, TShiftState shift = {});
// A turn of `delta` (120 a notch; fractions of a notch and many notches at once).
void WheelDelta(TControl* c, TPoint p, int delta, TShiftState shift = {});
// Focus from a given reason, as the window system would.
enum class FocusReason { Other, Tab, Mouse, Popup, ActiveWindow };
void FocusIn(TWinControl* c, FocusReason reason = FocusReason::Other);
void FocusOut(TWinControl* c, FocusReason reason = FocusReason::Other);
} // namespace input
