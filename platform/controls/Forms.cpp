#include "platform/controls/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ModalDriver.h"

namespace {
TApplication gApplication(nullptr);
TScreen gScreen(nullptr);
} // namespace

TApplication* Application = &gApplication;
TScreen* Screen = &gScreen;

TCustomForm* GetParentForm(const TControl* control)
{
    if (!control)
        return nullptr;
    const TControl* c = control;
    while (c->Parent())
        c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void HandleException(TObject* Sender)
{
    Application->HandleException(Sender);
}

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner)
    , FCanvas(std::make_unique<TCanvas>())
{
    FVisible = false;
    FColor = clBtnFace;
    FParentFont = false;
    FParentColor = false;
    FWidth = 320;
    FHeight = 240;
    gScreen.FForms.push_back(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (FModalLoop)
        FModalLoop->exit();
    auto& forms = gScreen.FForms;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    auto& stack = gApplication.FModalStack;
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    if (gApplication.FMainForm == this)
        gApplication.FMainForm = nullptr;
}

QWidget* TCustomForm::CreateWidget()
{
    auto* w = new QWidget(nullptr, Qt::Window);
    w->setFocusPolicy(Qt::NoFocus);
    w->setAttribute(Qt::WA_QuitOnClose, false);
    return w;
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyWindowFlags();
    FWidget->setWindowTitle(FText);
}

void TCustomForm::ApplyWindowFlags()
{
    if (!FWidget || FParent)
        return;
    Qt::WindowFlags f = Qt::Window;
    switch (FBorderStyle) {
    case bsNone:
        f |= Qt::FramelessWindowHint;
        break;
    case bsDialog:
        f = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        f = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    default:
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorderIcons.testFlag(biSystemMenu))
            f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (FBorderIcons.testFlag(biMinimize))
            f |= Qt::WindowMinimizeButtonHint;
        if (FBorderIcons.testFlag(biMaximize) && FBorderStyle == bsSizeable)
            f |= Qt::WindowMaximizeButtonHint;
        break;
    }
    const bool wasVisible = FWidget->isVisible();
    FWidget->setWindowFlags(f);
    const bool fixed = FBorderStyle == bsSingle || FBorderStyle == bsDialog || FBorderStyle == bsToolWindow
        || FBorderStyle == bsNone;
    if (fixed)
        FWidget->setFixedSize(FWidth, FHeight);
    else {
        FWidget->setMinimumSize(0, 0);
        FWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (wasVisible)
        FWidget->show();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v)
{
    FBorderStyle = v;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons v)
{
    FBorderIcons = v;
    ApplyWindowFlags();
}

void TCustomForm::SetWindowState(TWindowState v)
{
    FWindowState = v;
    if (!FWidget)
        return;
    switch (v) {
    case wsMinimized:
        FWidget->setWindowState(Qt::WindowMinimized);
        break;
    case wsMaximized:
        FWidget->setWindowState(Qt::WindowMaximized);
        break;
    default:
        FWidget->setWindowState(Qt::WindowNoState);
        break;
    }
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FWidget && !FParent && FWidget->minimumSize() == FWidget->maximumSize())
        FWidget->setFixedSize(FWidth, FHeight);
}

TPoint TCustomForm::ClientOrigin() const
{
    if (FParent)
        return TWinControl::ClientOrigin();
    if (FWidget && FWidget->isVisible()) {
        const QPoint p = FWidget->mapToGlobal(QPoint(0, 0));
        return { p.x(), p.y() };
    }
    return { FLeft, FTop };
}

bool TCustomForm::Showing() const
{
    return FWidget && FWidget->isVisible();
}

TWinControl* TCustomForm::ActiveControl() const
{
    return dynamic_cast<TWinControl*>(FindControlBySerial(FActiveSerial));
}

TWinControl* TCustomForm::FocusedControl() const
{
    return dynamic_cast<TWinControl*>(FindControlBySerial(FFocusedSerial));
}

void TCustomForm::SetActiveControl(TWinControl* c)
{
    if (c && (c == this || GetParentForm(c) != this || (!IsLoading() && !c->CanFocus())))
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    FActiveSerial = ControlSerial(c);
    if (c && Showing())
        FocusControl(c);
}

void TCustomForm::FocusControl(TWinControl* c)
{
    if (!c)
        return;
    if (c != this && !c->CanFocus())
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    FActiveSerial = ControlSerial(c);
    if (!Showing())
        return;
    const std::uint64_t serial = ControlSerial(c);
    if (QWidget* w = c->Widget()) {
        QWidget* target = w->focusProxy() ? w->focusProxy() : w;
        if (!target->hasFocus())
            target->setFocus(Qt::OtherFocusReason);
    }
    if (auto* now = dynamic_cast<TWinControl*>(FindControlBySerial(serial)))
        SetFocusedControl(now);
}

void TCustomForm::SetFocusedControl(TWinControl* c)
{
    TWinControl* old = FocusedControl();
    if (old == c)
        return;
    // The control losing the focus ends any mode it is in (a dropped list,
    // a drag); it learns which control takes the focus.
    if (old && old != this) {
        const std::uint64_t oldSerial = ControlSerial(old);
        old->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(c));
        old = dynamic_cast<TWinControl*>(FindControlBySerial(oldSerial));
        if (FocusedControl() == c)
            return;
    }
    FFocusedSerial = ControlSerial(c);
    FActiveSerial = FFocusedSerial;
    // Leave the old control and its parents that do not hold the new one.
    std::vector<std::uint64_t> exits;
    for (TWinControl* x = old; x && x != this && !(c && x->ContainsControl(c)); x = x->Parent())
        exits.push_back(ControlSerial(x));
    std::vector<std::uint64_t> enters;
    for (TWinControl* x = c; x && x != this && !(old && x->ContainsControl(old)); x = x->Parent())
        enters.push_back(ControlSerial(x));
    for (std::uint64_t s : exits)
        if (TControl* x = FindControlBySerial(s))
            x->Perform(CM_EXIT, 0, 0);
    for (auto it = enters.rbegin(); it != enters.rend(); ++it)
        if (TControl* x = FindControlBySerial(*it))
            x->Perform(CM_ENTER, 0, 0);
    Perform(CM_FOCUSCHANGED, 0, static_cast<LPARAM>(FFocusedSerial));
}

void TCustomForm::ControlRemoved(TControl* c)
{
    auto* wc = dynamic_cast<TWinControl*>(c);
    auto inside = [&](std::uint64_t serial) {
        TControl* x = FindControlBySerial(serial);
        return x && (x == c || (wc && wc->ContainsControl(x)));
    };
    if (inside(FFocusedSerial))
        FFocusedSerial = 0;
    if (inside(FActiveSerial))
        FActiveSerial = 0;
}

void TCustomForm::SetModalResult(TModalResult v)
{
    FModalResult = v;
    if (v != mrNone && FModalLoop)
        FModalLoop->exit();
}

void TCustomForm::PlaceOnShow()
{
    if (FParent)
        return;
    TRect area = Screen->WorkAreaRect();
    auto centreOn = [&](const TRect& r) {
        SetBounds(r.Left + (r.Width() - FWidth) / 2, r.Top + (r.Height() - FHeight) / 2, FWidth, FHeight);
    };
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        centreOn(area);
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* ref
            = FPosition == poMainFormCenter ? Application->MainForm() : dynamic_cast<TCustomForm*>(Owner());
        if (ref && ref != this && ref->Showing())
            centreOn(Bounds(ref->Left(), ref->Top(), ref->Width(), ref->Height()));
        else
            centreOn(area);
        break;
    }
    default:
        break;
    }
}

void TCustomForm::ShowWindow()
{
    QWidget* w = Widget();
    PlaceOnShow();
    DoShow();
    if (!FindControlBySerial(ControlSerial(this)))
        return;
    FShownOnce = true;
    w->show();
    w->raise();
    w->activateWindow();
    // The remembered control, else the first in tab order, gets the focus.
    TWinControl* target = ActiveControl();
    if (!target || !target->CanFocus())
        target = FindNextControl(nullptr, true, true, false);
    if (target && target->CanFocus())
        FocusControl(target);
}

void TCustomForm::SetVisible(bool v)
{
    if (FVisible == v && (!v || Showing() || FParent)) {
        if (v && FParent)
            TWinControl::SetVisible(v);
        return;
    }
    if (FParent) {
        TWinControl::SetVisible(v);
        return;
    }
    FVisible = v;
    if (v) {
        ShowWindow();
    } else {
        if (FWidget)
            FWidget->hide();
        if (FActive)
            Deactivate();
        DoHide();
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Hide()
{
    SetVisible(false);
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (IsModal()) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    const std::uint64_t self = ControlSerial(this);
    DoClose(action);
    if (!FindControlBySerial(self) || action == caNone)
        return;
    if (Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Hide();
        Release();
    }
}

void TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    const std::uint64_t self = ControlSerial(this);
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (!FindControlBySerial(self))
        return;
    switch (action) {
    case caNone:
        FModalResult = mrNone;
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

TModalResult TCustomForm::ShowModal()
{
    if (IsModal() || (FVisible && Showing()))
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    const std::uint64_t self = ControlSerial(this);
    TCustomForm* previous = Screen->ActiveForm();
    const std::uint64_t previousSerial = ControlSerial(previous);
    FModalResult = mrNone;
    FModalRunning = true;
    gApplication.FModalStack.push_back(this);
    QWidget* w = Widget();
    w->setWindowModality(Qt::ApplicationModal);
    TModalResult result = mrNone;
    try {
        SetVisible(true);
        ModalDriver::FormShownModally(this);
        QEventLoop loop;
        while (FindControlBySerial(self)) {
            if (FModalResult == mrNone && !Application->Terminated()) {
                FModalLoop = &loop;
                loop.exec(QEventLoop::DialogExec);
                if (!FindControlBySerial(self))
                    break;
                FModalLoop = nullptr;
            }
            if (Application->Terminated())
                FModalResult = mrCancel;
            if (FModalResult != mrNone) {
                CloseModal();
                if (!FindControlBySerial(self) || FModalResult != mrNone)
                    break;
            }
        }
    } catch (...) {
        if (FindControlBySerial(self)) {
            FModalLoop = nullptr;
            FModalRunning = false;
            auto& stack = gApplication.FModalStack;
            stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
        }
        throw;
    }
    if (!FindControlBySerial(self))
        return mrCancel;
    result = FModalResult;
    FModalLoop = nullptr;
    FModalRunning = false;
    auto& stack = gApplication.FModalStack;
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    FVisible = true;
    SetVisible(false);
    if (FWidget)
        FWidget->setWindowModality(Qt::NonModal);
    if (auto* prev = dynamic_cast<TCustomForm*>(FindControlBySerial(previousSerial)))
        if (prev->FWidget && prev->Showing())
            prev->FWidget->activateWindow();
    return result;
}

void TCustomForm::Release()
{
    const std::uint64_t self = ControlSerial(this);
    QTimer::singleShot(0, qApp, [self]() {
        if (TControl* c = FindControlBySerial(self))
            delete c;
    });
}

void TCustomForm::Activate()
{
    if (FActive)
        return;
    FActive = true;
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (!FActive)
        return;
    FActive = false;
    // The focused control keeps the focus but ends its mode, as on a focus change.
    if (TWinControl* f = FocusedControl(); f && f != this)
        f->Perform(CM_CANCELMODE, 0, 0);
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::MouseWheelHandler(TMessage& Message)
{
    TWinControl* focused = FocusedControl();
    if (focused && focused != this)
        Message.Result = focused->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
    else
        Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TCustomForm::ShowFocusCues()
{
    // The style draws the focus frame of check boxes, radio buttons and
    // combo boxes only once the keyboard has moved the focus in the window.
    if (QWidget* w = WidgetIfAllocated())
        w->window()->setAttribute(Qt::WA_KeyboardFocusChange);
}

void TCustomForm::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_DIALOGKEY: {
        const TShiftState shift = KeyDataToShiftState(Message.LParam);
        if (!shift.testFlag(ssAlt)) {
            switch (Message.WParam) {
            case VK_TAB:
                if (!shift.testFlag(ssCtrl)) {
                    ShowFocusCues();
                    SelectNext(ActiveControl(), !shift.testFlag(ssShift), true);
                    Message.Result = 1;
                    return;
                }
                break;
            case VK_LEFT:
            case VK_RIGHT:
            case VK_UP:
            case VK_DOWN:
                if (TWinControl* a = ActiveControl()) {
                    ShowFocusCues();
                    if (a->Parent())
                        a->Parent()->SelectNext(a, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
                    Message.Result = 1;
                }
                return;
            default:
                break;
            }
        }
        TWinControl::Dispatch(Message);
        return;
    }
    case WM_CLOSE:
        Close();
        return;
    default:
        TWinControl::Dispatch(Message);
        return;
    }
}

bool TCustomForm::WidgetEvent(QEvent* e)
{
    if (FParent)
        return false;
    switch (e->type()) {
    case QEvent::Close:
        e->ignore();
        Close();
        return true;
    case QEvent::WindowActivate:
        Activate();
        return false;
    case QEvent::WindowDeactivate:
        Deactivate();
        return false;
    case QEvent::Resize:
    case QEvent::Move:
        if (FWidget && FWidget->isVisible()) {
            const QRect g = FWidget->geometry();
            if (g.x() != FLeft || g.y() != FTop || g.width() != FWidth || g.height() != FHeight)
                TWinControl::SetBounds(g.x(), g.y(), g.width(), g.height());
        }
        return false;
    default:
        return false;
    }
}

void TCustomForm::PaintWindow(TCanvas* canvas)
{
    (void)canvas;
    FCanvas->SetFont(FFont.get());
    FCanvas->Brush()->SetColor(FColor);
    Paint();
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

// ---------------------------------------------------------------------------
// THintWindow

THintWindow::THintWindow(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FVisible = false;
    FColor = clInfoBk;
    FParentFont = false;
}

QWidget* THintWindow::CreateWidget()
{
    auto* w = new QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    w->setFocusPolicy(Qt::NoFocus);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    return w;
}

TRect THintWindow::CalcHintRect(int maxWidth, const QString& hint, TObject* AData)
{
    (void)AData;
    const QFontMetrics fm(FFont->ToQFont());
    const QRect r
        = fm.boundingRect(QRect(0, 0, std::max(1, maxWidth), 0), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, hint);
    return Rect(0, 0, r.width() + 6, r.height() + 2);
}

void THintWindow::ActivateHint(TRect r, const QString& hint)
{
    SetText(hint);
    ShowTopMostNoActivate(r);
}

void THintWindow::ActivateHintData(TRect r, const QString& hint, TObject* AData)
{
    (void)AData;
    ActivateHint(r, hint);
}

void THintWindow::ShowTopMostNoActivate(const TRect& r)
{
    QWidget* w = Widget();
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    w->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    FVisible = true;
    w->show();
    w->raise();
    w->update();
}

namespace {
THintWindowClass& CurrentHintWindowClass()
{
    static THintWindowClass cls = nullptr;
    return cls;
}
} // namespace

THintWindowClass HintWindowClass()
{
    THintWindowClass cls = CurrentHintWindowClass();
    return cls ? cls : &HintWindowFactory<THintWindow>;
}

void SetHintWindowClass(THintWindowClass AClass)
{
    CurrentHintWindowClass() = AClass;
}

void THintWindow::ReleaseHandle()
{
    FVisible = false;
    if (QWidget* w = WidgetIfAllocated())
        w->hide();
}

void THintWindow::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(FColor);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(r);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->TextOut(3, 1, Text());
}

// ---------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TApplication::~TApplication()
{
    // Static teardown after Qt is gone must not touch widgets: forget what is
    // still owned instead.
    if (!QCoreApplication::instance()) {
        while (ComponentCount() > 0)
            RemoveComponent(Components(ComponentCount() - 1));
    }
    delete FHintTimer;
    FHintTimer = nullptr;
}

void TApplication::Initialize()
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        app->setQuitOnLastWindowClosed(false);
    FTerminated = false;
}

void TApplication::FormCreated(TCustomForm* form)
{
    if (!FMainForm)
        SetMainForm(form);
    form->DoCreate();
}

TCustomForm* TApplication::MainForm() const
{
    return FMainForm;
}

void TApplication::SetMainForm(TCustomForm* f)
{
    if (FMainForm && FMainForm != f)
        FMainForm->RemoveFreeNotification(this);
    FMainForm = f;
    if (f)
        f->FreeNotification(this);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FMainForm)
            FMainForm = nullptr;
        if (AComponent == FHintWindow)
            FHintWindow = nullptr;
    }
}

void TApplication::Run()
{
    if (!FMainForm)
        return;
    FRunning = true;
    FTerminated = false;
    FMainForm->Show();
    while (!FTerminated && FMainForm)
        QCoreApplication::exec();
    FRunning = false;
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleMessage()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (OnIdle)
        OnIdle(this);
}

void TApplication::Terminate()
{
    FTerminated = true;
    QCoreApplication::exit(0);
}

void TApplication::SetTitle(const QString& v)
{
    FTitle = v;
    QCoreApplication::setApplicationName(v);
}

QString TApplication::ExeName() const
{
    return QCoreApplication::applicationFilePath();
}

void TApplication::HandleException(TObject* Sender)
{
    try {
        throw;
    } catch (const EAbort&) {
        return;
    } catch (const Exception& e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (const std::exception& e) {
        const Exception wrapped(QString::fromUtf8(e.what()));
        if (OnException)
            OnException(Sender, wrapped);
        else
            ShowException(wrapped);
    } catch (...) {
        const Exception wrapped(QStringLiteral("Unknown exception"));
        if (OnException)
            OnException(Sender, wrapped);
        else
            ShowException(wrapped);
    }
}

void TApplication::ShowException(const Exception& E)
{
    QString msg = E.Message();
    if (!msg.isEmpty() && !msg.endsWith(QLatin1Char('.')))
        msg += QLatin1Char('.');
    Application->CancelHint();
    MessageBox(msg, FTitle.isEmpty() ? QCoreApplication::applicationName() : FTitle, MB_OK | MB_ICONSTOP);
}

QString TApplication::GetShortHint(const QString& hint)
{
    const int i = hint.indexOf(QLatin1Char('|'));
    return i < 0 ? hint : hint.left(i);
}

QString TApplication::GetLongHint(const QString& hint)
{
    const int i = hint.indexOf(QLatin1Char('|'));
    return i < 0 ? hint : hint.mid(i + 1);
}

void TApplication::HintMouseMessage(TControl* control)
{
    const std::uint64_t serial = ControlSerial(control);
    if (serial == FHintControlSerial)
        return;
    CancelHint();
    FHintControlSerial = serial;
    if (!control || !FShowHint || !control->ShowHint() || control->Hint().isEmpty())
        return;
    if (!FHintTimer) {
        FHintTimer = new QTimer();
        FHintTimer->setSingleShot(true);
        QObject::connect(FHintTimer, &QTimer::timeout, [this]() {
            try {
                if (TControl* c = FindControlBySerial(FHintControlSerial)) {
                    const QPoint p = QCursor::pos();
                    ActivateHint(c, TPoint(p.x(), p.y()));
                }
            } catch (...) {
                HandleException(this);
            }
        });
    }
    FHintTimer->start(FHintPause);
}

bool TApplication::ActivateHint(TControl* control, TPoint pos)
{
    // An open pop-up has the mouse; a hint whose pause ran out meanwhile
    // would stand over it.
    if (!control || QApplication::activePopupWidget())
        return false;
    THintInfo info;
    info.HintControl = control;
    info.HintPos = TPoint(pos.X, pos.Y + 20);
    info.HintMaxWidth = Screen->Width();
    info.HintColor = FHintColor;
    info.CursorPos = control->ScreenToClient(pos);
    info.CursorRect = control->ClientRect();
    info.HideTimeout = FHintHidePause;
    info.HintStr = GetShortHint(control->Hint());
    if (control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0)
        return false;
    bool canShow = true;
    if (OnShowHint)
        OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.isEmpty())
        return false;
    // A window of the class in force now; one of an older class goes.
    const THintWindowClass cls = HintWindowClass();
    if (FHintWindow && FHintWindowClass != cls) {
        THintWindow* old = FHintWindow;
        FHintWindow = nullptr;
        old->ReleaseHandle();
        delete old;
    }
    if (!FHintWindow) {
        FHintWindow = cls(this);
        FHintWindowClass = cls;
        FHintWindow->FreeNotification(this);
    }
    FHintWindow->SetColor(info.HintColor);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
    return true;
}

void TApplication::CancelHint()
{
    if (FHintTimer)
        FHintTimer->stop();
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
    FHintControlSerial = 0;
}

// ---------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner)
{
}

void TScreen::SetCursor(TCursor v)
{
    if (v == FCursor)
        return;
    if (!QGuiApplication::instance()) {
        FCursor = v;
        return;
    }
    if (FCursor != crDefault)
        QGuiApplication::restoreOverrideCursor();
    FCursor = v;
    if (v != crDefault)
        QGuiApplication::setOverrideCursor(QCursor(CursorToQt(v)));
}

int TScreen::Width() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

int TScreen::Height() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

TRect TScreen::WorkAreaRect() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        return Rect(0, 0, 1024, 768);
    const QRect r = s->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

int TScreen::MonitorCount() const
{
    return std::max<int>(1, static_cast<int>(QGuiApplication::screens().size()));
}

TMonitor TScreen::MonitorFromPoint(TPoint P) const
{
    TMonitor m;
    const QList<QScreen*> screens = QGuiApplication::screens();
    const QScreen* best = nullptr;
    long long bestDist = -1;
    for (const QScreen* s : screens) {
        const QRect g = s->geometry();
        const long long dx = P.X < g.left() ? g.left() - P.X : (P.X > g.right() ? P.X - g.right() : 0);
        const long long dy = P.Y < g.top() ? g.top() - P.Y : (P.Y > g.bottom() ? P.Y - g.bottom() : 0);
        const long long d = dx * dx + dy * dy;
        if (!best || d < bestDist) {
            best = s;
            bestDist = d;
        }
    }
    if (!best) {
        m.BoundsRect = Rect(0, 0, 1024, 768);
        m.WorkareaRect = m.BoundsRect;
        return m;
    }
    const QRect g = best->geometry();
    const QRect a = best->availableGeometry();
    m.BoundsRect = Bounds(g.x(), g.y(), g.width(), g.height());
    m.WorkareaRect = Bounds(a.x(), a.y(), a.width(), a.height());
    return m;
}

TCustomForm* TScreen::ActiveForm() const
{
    if (!Application->ModalForms().empty())
        return Application->ModalForms().back();
    if (QWidget* w = QApplication::activeWindow())
        if (auto* f = dynamic_cast<TCustomForm*>(FindControlOfWidget(w)))
            return f;
    for (TCustomForm* f : FForms)
        if (f->Active())
            return f;
    return nullptr;
}

TWinControl* TScreen::ActiveControl() const
{
    TCustomForm* f = ActiveForm();
    return f ? f->FocusedControl() : nullptr;
}

int TScreen::FormCount() const
{
    return static_cast<int>(FForms.size());
}

TCustomForm* TScreen::Forms(int index) const
{
    if (index < 0 || index >= FormCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FForms[static_cast<size_t>(index)];
}
