#pragma once
// Forms, the application object and the screen: modal loops with modal
// results, closing with its queries and actions, the active control and
// keyboard focus, Default and Cancel keys through CM_DIALOGKEY, accelerators
// through CM_DIALOGCHAR, the hint window and the exception handler of the
// event loop.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/runtime/Exceptions.h"

class QEventLoop;
class QTimer;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrClose = 8;
inline constexpr TModalResult mrHelp = 9;
inline constexpr TModalResult mrTryAgain = 10;
inline constexpr TModalResult mrContinue = 11;
inline constexpr TModalResult mrAll = 12;
inline constexpr TModalResult mrNoToAll = 13;
inline constexpr TModalResult mrYesToAll = 14;

using TFormBorderStyle = TBorderStyle;

enum TBorderIcon : unsigned { biSystemMenu = 0x1, biMinimize = 0x2, biMaximize = 0x4, biHelp = 0x8 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
Q_DECLARE_OPERATORS_FOR_FLAGS(TBorderIcons)

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// ---------------------------------------------------------------------------
// TCustomForm

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    QString ClassName() const override { return QStringLiteral("TCustomForm"); }

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons v);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState v);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }

    // The control that has (or gets, once the form shows) the focus.
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* c);
    TWinControl* FocusedControl() const;
    // Gives `c` the focus: OnExit and OnEnter fire at once, even while the
    // window is not active.
    void FocusControl(TWinControl* c);
    // True while the form is the active window.
    bool Active() const { return FActive; }

    TModalResult ModalResult() const { return FModalResult; }
    // A non-zero result ends the form's modal loop.
    void SetModalResult(TModalResult v);
    // Shows the form modally in its own event loop and returns its result.
    virtual TModalResult ShowModal();
    bool IsModal() const { return FModalLoop != nullptr || FModalRunning; }
    // Closes the form: a modal form gets mrCancel; otherwise OnCloseQuery and
    // OnClose decide, and closing the main form ends the application.
    void Close();
    virtual bool CloseQuery();
    void Show();
    void Hide();
    // Frees the form once the events being handled now are done.
    void Release();

    // The form's canvas while it paints (OnPaint).
    TCanvas* Canvas() const { return FCanvas.get(); }

    void SetVisible(bool v) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TPoint ClientOrigin() const override;
    bool Showing() const override;

    void MouseWheelHandler(TMessage& Message);
    // From the first focus move by the keyboard on, the window shows which
    // control has the focus on every kind of control.
    void ShowFocusCues();
    // Runs OnCreate (CreateForm calls it once the form is built).
    void DoCreate();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    bool WidgetEvent(QEvent* e) override;
    bool OwnerPaints() const override { return true; }
    TCanvas* WindowCanvas() const override { return FCanvas.get(); }
    void PaintWindow(TCanvas* canvas) override;
    virtual void Paint();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    void Activate();
    void Deactivate();
    void ApplyWindowFlags();
    void PlaceOnShow();

private:
    friend class TWinControl;
    friend class TApplication;
    void ControlRemoved(TControl* c);
    void SetFocusedControl(TWinControl* c);
    void CloseModal();
    void ShowWindow();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = TBorderIcons(biSystemMenu) | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    std::uint64_t FActiveSerial = 0;
    std::uint64_t FFocusedSerial = 0;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
    QEventLoop* FModalLoop = nullptr;
    bool FModalRunning = false;
    bool FShownOnce = false;
    std::unique_ptr<TCanvas> FCanvas;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    QString ClassName() const override { return QStringLiteral("TForm"); }
};

// ---------------------------------------------------------------------------
// The hint window: a small top-level window with the hint text.

struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;
    TPoint CursorPos;
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    QString HintStr;
    // What the control hands to the hint window with the text (CM_HINTSHOW).
    TObject* HintData = nullptr;
};

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("THintWindow"); }
    // Size the text needs within maxWidth; AData is what the control gave
    // with the hint.
    virtual TRect CalcHintRect(int maxWidth, const QString& hint, TObject* AData = nullptr);
    // Shows the hint with its top-left corner and size given by r (screen).
    virtual void ActivateHint(TRect r, const QString& hint);
    // As ActivateHint, for a hint that came with data.
    virtual void ActivateHintData(TRect r, const QString& hint, TObject* AData);
    void ReleaseHandle();

protected:
    QWidget* CreateWidget() override;
    void Paint() override;
    // Places the window at r (screen) and shows it on top of every window
    // without activating it.
    void ShowTopMostNoActivate(const TRect& r);
};

// The class of the application's hint window: a factory making one.
using THintWindowClass = THintWindow* (*)(TComponent* AOwner);
template <class T> THintWindow* HintWindowFactory(TComponent* AOwner)
{
    return new T(AOwner);
}
// The application-wide hint window class; the next hint shown makes a window
// of it when the class changed. nullptr goes back to THintWindow.
THintWindowClass HintWindowClass();
void SetHintWindowClass(THintWindowClass AClass);
template <class T> void SetHintWindowClass()
{
    SetHintWindowClass(&HintWindowFactory<T>);
}

// ---------------------------------------------------------------------------
// TApplication

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TShowHintEvent = std::function<void(QString& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;
    QString ClassName() const override { return QStringLiteral("TApplication"); }

    void Initialize();
    // Creates a form owned by the application; the first becomes MainForm.
    // OnCreate runs after the reference is set.
    template <class T> void CreateForm(T*& Reference)
    {
        T* form = new T(this);
        Reference = form;
        FormCreated(form);
    }
    TCustomForm* MainForm() const;
    void SetMainForm(TCustomForm* f);
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool v) { FMainFormOnTaskBar = v; }
    // Shows the main form and runs the event loop until it closes or
    // Terminate is called.
    void Run();
    void ProcessMessages();
    // Waits for and handles one event.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Clears the terminated flag (tests that run several loops).
    void ResetTerminated() { FTerminated = false; }

    QString Title() const { return FTitle; }
    void SetTitle(const QString& v);
    QString ExeName() const;

    // Shows the exception being handled (call inside a catch block): through
    // OnException when set, else in an error box. EAbort is silent.
    void HandleException(TObject* Sender);
    void ShowException(const Exception& E);

    // Hints.
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor v) { FHintColor = v; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int ms) { FHintPause = ms; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int ms) { FHintHidePause = ms; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    // Shows the hint of `control` for the cursor at screen point `pos` now
    // (the hint timer calls it after HintPause); false when no hint shows.
    bool ActivateHint(TControl* control, TPoint pos);
    void CancelHint();
    THintWindow* HintWindow() const { return FHintWindow; }
    // The hint of a control as shown: the part before "|".
    static QString GetShortHint(const QString& hint);
    static QString GetLongHint(const QString& hint);
    // Called by the input translation when the mouse moves onto a control.
    void HintMouseMessage(TControl* control);

    TExceptionEvent OnException;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnIdle;

    // The modal forms currently running, innermost last.
    const std::vector<TCustomForm*>& ModalForms() const { return FModalStack; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    void FormCreated(TCustomForm* form);

    TCustomForm* FMainForm = nullptr;
    bool FMainFormOnTaskBar = false;
    bool FTerminated = false;
    bool FRunning = false;
    QString FTitle;
    TColor FHintColor = clInfoBk;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    bool FShowHint = true;
    THintWindow* FHintWindow = nullptr;
    THintWindowClass FHintWindowClass = nullptr;
    QTimer* FHintTimer = nullptr;
    std::uint64_t FHintControlSerial = 0;
    std::vector<TCustomForm*> FModalStack;
};

extern TApplication* Application;

// ---------------------------------------------------------------------------
// TScreen

// One monitor: its whole area and the part not taken by task bars, screen
// pixels.
struct TMonitor {
    TRect BoundsRect;
    TRect WorkareaRect;
    int Left() const { return BoundsRect.Left; }
    int Top() const { return BoundsRect.Top; }
    int Width() const { return BoundsRect.Width(); }
    int Height() const { return BoundsRect.Height(); }
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TScreen"); }

    // A cursor other than crDefault overrides every control's cursor.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int PixelsPerInch() const { return 96; }
    int MonitorCount() const;
    // The monitor holding a screen point, else the one nearest to it.
    TMonitor MonitorFromPoint(TPoint P) const;
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    int FormCount() const;
    TCustomForm* Forms(int index) const;

private:
    friend class TCustomForm;
    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;
};

extern TScreen* Screen;
