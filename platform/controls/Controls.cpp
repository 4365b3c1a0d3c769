#include "platform/controls/Controls.h"
#include "platform/controls/ActnList.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WindowProc.h"
#include "platform/graphics/Resources.h"

// ---------------------------------------------------------------------------
// Registry of live controls and widgets

namespace {

std::uint64_t gNextSerial = 1;
QHash<std::uint64_t, TControl*>& Serials()
{
    static QHash<std::uint64_t, TControl*> map;
    return map;
}
QHash<const QWidget*, TWinControl*>& WidgetMap()
{
    static QHash<const QWidget*, TWinControl*> map;
    return map;
}

std::uint64_t gCaptureSerial = 0;
std::uint64_t gMouseSerial = 0;
TShiftState gCurrentShift;
bool gRightAlt = false;

// Widgets whose events are being handled right now: such a widget is deleted
// later rather than under Qt's feet.
QHash<const QWidget*, int>& BusyWidgets()
{
    static QHash<const QWidget*, int> map;
    return map;
}

// The copy of an input event that the translator hands on to the widget
// itself; filters let it pass untouched.
const QEvent* gResending = nullptr;

Qt::CursorShape StockShape(TCursor c)
{
    switch (c) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

namespace {

struct TNumberedCursor {
    QImage Picture;
    TPoint HotSpot;
};

// Numbered cursors: the program's own pictures, registered on first use.
QHash<TCursor, TNumberedCursor>& CursorTable()
{
    static QHash<TCursor, TNumberedCursor> table = [] {
        QHash<TCursor, TNumberedCursor> t;
        for (int n = 8000; n <= 8014; ++n) {
            QPoint hot;
            QImage img = resources::CursorPicture(n, &hot);
            if (!img.isNull())
                t.insert(n, { img, TPoint(hot.x(), hot.y()) });
        }
        return t;
    }();
    return table;
}

const char* const kCursorProperty = "morv.cursor";

} // namespace

QCursor CursorToQt(TCursor c)
{
    if (c > 0) {
        const auto it = CursorTable().constFind(c);
        if (it == CursorTable().constEnd())
            return QCursor(Qt::ArrowCursor);
        return QCursor(QPixmap::fromImage(it->Picture), it->HotSpot.X, it->HotSpot.Y);
    }
    return QCursor(StockShape(c));
}

void ApplyWidgetCursor(QWidget* w, TCursor c)
{
    if (!w)
        return;
    if (c == crDefault)
        w->unsetCursor();
    else
        w->setCursor(CursorToQt(c));
    w->setProperty(kCursorProperty, int(c));
}

void RegisterCursor(TCursor Number, const QImage& Picture, TPoint HotSpot)
{
    if (Number <= 0)
        return;
    if (Picture.isNull())
        CursorTable().remove(Number);
    else
        CursorTable().insert(Number, { Picture, HotSpot });
}

bool CursorExists(TCursor Number)
{
    return Number <= 0 || CursorTable().contains(Number);
}

TCursor WindowCursor(const TWinControl* control)
{
    const QWidget* w = control ? control->WidgetIfAllocated() : nullptr;
    return w ? TCursor(w->property(kCursorProperty).toInt()) : crDefault;
}

std::uint64_t ControlSerial(const TControl* c)
{
    return c ? c->FSerial : 0;
}

TControl* FindControlBySerial(std::uint64_t serial)
{
    return serial ? Serials().value(serial, nullptr) : nullptr;
}

TWinControl* FindControl(HWND wnd)
{
    TControl* c = FindControlBySerial(static_cast<std::uint64_t>(wnd));
    auto* w = dynamic_cast<TWinControl*>(c);
    return w && w->HandleAllocated() ? w : nullptr;
}

TWinControl* FindControlOfWidget(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        if (TWinControl* c = WidgetMap().value(w, nullptr))
            return c;
    }
    return nullptr;
}

TControl* GetCaptureControl()
{
    return FindControlBySerial(gCaptureSerial);
}
void SetCaptureControl(TControl* control)
{
    gCaptureSerial = ControlSerial(control);
}
TControl* MouseControl()
{
    return FindControlBySerial(gMouseSerial);
}

int WheelScrollLines()
{
    // The style hints need the GUI application; before it, the usual default.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 3;
    return std::max(0, QApplication::wheelScrollLines());
}

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    if (gCurrentShift.testFlag(ssAlt))
        s |= ssAlt;
    return s;
}

WPARAM ShiftStateToKeys(TShiftState shift)
{
    WPARAM k = 0;
    if (shift.testFlag(ssShift))
        k |= MK_SHIFT;
    if (shift.testFlag(ssCtrl))
        k |= MK_CONTROL;
    if (shift.testFlag(ssLeft))
        k |= MK_LBUTTON;
    if (shift.testFlag(ssRight))
        k |= MK_RBUTTON;
    if (shift.testFlag(ssMiddle))
        k |= MK_MBUTTON;
    return k;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState s = gCurrentShift & (TShiftState(ssShift) | ssCtrl);
    if (keyData & KF_KEYDATA_ALTDOWN)
        s |= ssAlt;
    return s;
}

TShiftState CurrentShiftState()
{
    return gCurrentShift;
}

bool RightAltDown()
{
    return gRightAlt;
}

namespace controls_private {

void SetCurrentShift(TShiftState s)
{
    gCurrentShift = s;
}

void SetRightAltDown(bool Down)
{
    gRightAlt = Down;
}
const QEvent* Resending()
{
    return gResending;
}

bool ResendToWidget(QWidget* w, QEvent* e)
{
    // Restored however the widget's handling ends: a handler that throws
    // must not leave later events at the same address untranslated.
    struct Restore {
        const QEvent* saved;
        ~Restore() { gResending = saved; }
    } restore { gResending };
    gResending = e;
    return QCoreApplication::sendEvent(w, e);
}

void RegisterWidget(QWidget* w, TWinControl* c)
{
    WidgetMap().insert(w, c);
}
void UnregisterWidget(const QWidget* w)
{
    WidgetMap().remove(w);
}
TWinControl* ControlOfWidget(const QWidget* w)
{
    return WidgetMap().value(w, nullptr);
}

void EnterBusy(const QWidget* w)
{
    ++BusyWidgets()[w];
}
void LeaveBusy(const QWidget* w)
{
    auto it = BusyWidgets().find(w);
    if (it != BusyWidgets().end() && --it.value() <= 0)
        BusyWidgets().erase(it);
}
bool IsBusy(const QWidget* w)
{
    return BusyWidgets().contains(w);
}

void SetMouseControl(TControl* c)
{
    TControl* old = MouseControl();
    if (old == c)
        return;
    gMouseSerial = ControlSerial(c);
    const std::uint64_t newSerial = gMouseSerial;
    if (old)
        old->Perform(CM_MOUSELEAVE, 0, 0);
    if (TControl* now = FindControlBySerial(newSerial))
        now->Perform(CM_MOUSEENTER, 0, 0);
}

} // namespace controls_private

using namespace controls_private;

namespace {
// The alignments the alignment pass places; none, custom and anchors alone
// leave the control where it is.
bool IsPlaced(TAlign a)
{
    return a == alTop || a == alBottom || a == alLeft || a == alRight || a == alClient;
}

// A child out of its parent's z-order list, looked for from the top: a
// parent frees its children topmost first.
template <class T> void EraseChild(std::vector<T*>& list, const TControl* c)
{
    const auto it = std::find(list.rbegin(), list.rend(), c);
    if (it != list.rend())
        list.erase(std::next(it).base());
}
} // namespace

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner)
    , FFont(std::make_unique<TFont>())
{
    FSerial = gNextSerial++;
    Serials().insert(FSerial, this);
    FFont->OnChange = [this](TObject*) { FontChangedHandler(); };
}

TControl::~TControl()
{
    Destroying();
    if (gCaptureSerial == FSerial)
        gCaptureSerial = 0;
    if (gMouseSerial == FSerial)
        gMouseSerial = 0;
    KillAllTimers(this);
    ForgetWindowProcReplacement(this);
    FFont->OnChange = nullptr;
    if (FParent)
        FParent->RemoveControl(this);
    Serials().remove(FSerial);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent)
        return;
    if (AParent == this)
        throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        SetParentFlagsFromParent();
    }
}

void TControl::SetParentFlagsFromParent()
{
    if (!FParent)
        return;
    if (FParentFont)
        ParentFontChanged();
    if (FParentColor)
        ParentColorChanged();
    if (FParentShowHint)
        FShowHint = FParent->ShowHint();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    const TRect old = BoundsRect();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FAnchorMove)
        FAnchorValid = false;
    BoundsChanged(old);
    if (FParent && !IsDestroying())
        FParent->AlignControl(this);
    if (old.Width() != FWidth || old.Height() != FHeight) {
        Perform(WM_SIZE, 0, MakeLParam(ClientWidth(), ClientHeight()));
    }
}

void TControl::BoundsChanged(const TRect& oldBounds)
{
    if (!FParent || !FVisible)
        return;
    if (QWidget* pw = FParent->WidgetIfAllocated()) {
        const TRect r = BoundsRect();
        TRect u;
        UnionRect(u, oldBounds, r);
        pw->update(u.Left, u.Top, u.Width(), u.Height());
    }
}

void TControl::SetClientWidth(int v)
{
    SetWidth(FWidth - ClientWidth() + v);
}
void TControl::SetClientHeight(int v)
{
    SetHeight(FHeight - ClientHeight() + v);
}

TPoint TControl::ClientOrigin() const
{
    if (!FParent)
        return { FLeft, FTop };
    const TPoint p = FParent->ClientOrigin();
    return { p.X + FLeft, p.Y + FTop };
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    const TPoint o = ClientOrigin();
    return { p.X + o.X, p.Y + o.Y };
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    const TPoint o = ClientOrigin();
    return { p.X - o.X, p.Y - o.Y };
}

TPoint TControl::ClientToParent(TPoint p, const TWinControl* other) const
{
    if (!other)
        other = FParent;
    if (!other)
        return p;
    return other->ScreenToClient(ClientToScreen(p));
}

void TControl::SetAlign(TAlign v)
{
    if (FAlign == v)
        return;
    const TAlign old = FAlign;
    FAlign = v;
    if (FParent) {
        FParent->FAlignedCount += int(IsPlaced(v)) - int(IsPlaced(old));
        ++FParent->FChildStamp;
    }
    if (old != alNone && v == alNone) {
        FAnchors = TAnchors(akLeft) | akTop;
    } else {
        switch (v) {
        case alTop:
            FAnchors = TAnchors(akLeft) | akTop | akRight;
            break;
        case alBottom:
            FAnchors = TAnchors(akLeft) | akRight | akBottom;
            break;
        case alLeft:
            FAnchors = TAnchors(akLeft) | akTop | akBottom;
            break;
        case alRight:
            FAnchors = TAnchors(akRight) | akTop | akBottom;
            break;
        case alClient:
            FAnchors = TAnchors(akLeft) | akTop | akRight | akBottom;
            break;
        default:
            break;
        }
    }
    FAnchorValid = false;
    if (FParent)
        FParent->AlignControl(this);
}

void TControl::SetAnchors(TAnchors v)
{
    FAnchors = v;
    FAnchorValid = false;
}

void TControl::SetVisible(bool v)
{
    if (FVisible == v)
        return;
    VisibleChanging();
    FVisible = v;
    Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
    if (FParent) {
        if (QWidget* pw = FParent->WidgetIfAllocated())
            pw->update(FLeft, FTop, FWidth, FHeight);
        if (FAlign != alNone)
            FParent->AlignControl(this);
    }
}

void TControl::Show()
{
    SetVisible(true);
    BringToFront();
}

void TControl::Hide()
{
    SetVisible(false);
}

bool TControl::Showing() const
{
    return FVisible && FParent && FParent->Showing();
}

void TControl::SetEnabled(bool v)
{
    if (FEnabled == v)
        return;
    FEnabled = v;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor v)
{
    if (FColor == v && !FParentColor)
        return;
    FColor = v;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v)
{
    if (FParentColor == v)
        return;
    FParentColor = v;
    if (v)
        ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!FParentColor || !FParent)
        return;
    const TColor c = FParent->Color();
    if (c != FColor) {
        FColor = c;
        Perform(CM_COLORCHANGED, 0, 0);
    }
    FParentColor = true;
}

void TControl::SetParentFont(bool v)
{
    if (FParentFont == v)
        return;
    FParentFont = v;
    if (v)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent)
        return;
    FSettingParentFont = true;
    try {
        FFont->Assign(FParent->Font());
    } catch (...) {
        FSettingParentFont = false;
        throw;
    }
    FSettingParentFont = false;
    // Assign may not have changed anything; the children still follow.
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::FontChangedHandler()
{
    if (!FSettingParentFont) {
        FParentFont = false;
        Perform(CM_FONTCHANGED, 0, 0);
    }
}

void TControl::FontChanged()
{
    Invalidate();
}

void TControl::SetText(const QString& v)
{
    if (FText == v)
        return;
    FText = v;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool v)
{
    FShowHint = v;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool v)
{
    FParentShowHint = v;
    if (v && FParent) {
        FShowHint = FParent->ShowHint();
        Perform(CM_SHOWHINTCHANGED, 0, 0);
    }
}

void TControl::SetCursor(TCursor v)
{
    if (FCursor == v)
        return;
    FCursor = v;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenuBase* menu)
{
    if (FPopupMenu == menu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = menu;
    if (menu)
        menu->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

bool TControl::MouseCapture() const
{
    return gCaptureSerial == FSerial;
}

void TControl::SetMouseCapture(bool v)
{
    if (v)
        gCaptureSerial = FSerial;
    else if (gCaptureSerial == FSerial)
        gCaptureSerial = 0;
}

void TControl::Invalidate()
{
    if (FParent && FVisible)
        if (QWidget* pw = FParent->WidgetIfAllocated())
            pw->update(FLeft, FTop, FWidth, FHeight);
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Repaint()
{
    if (FParent && FVisible)
        if (QWidget* pw = FParent->WidgetIfAllocated())
            pw->repaint(FLeft, FTop, FWidth, FHeight);
}

void TControl::BringToFront()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    EraseChild(list, this);
    list.push_back(this);
    ++FParent->FChildStamp;
    Invalidate();
}

void TControl::SendToBack()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    EraseChild(list, this);
    list.insert(list.begin(), this);
    ++FParent->FChildStamp;
    Invalidate();
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m { Msg, WParam, LParam, 0 };
    if (!CallWindowProcReplacement(this, m))
        WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message)
{
    Dispatch(Message);
}

void TControl::DefaultHandler(TMessage& Message)
{
    (void)Message;
}

void TControl::HandleMouseMessage(TMessage& Message)
{
    const int x = GetXLParam(Message.LParam);
    const int y = GetYLParam(Message.LParam);
    const TShiftState shift = KeysToShiftState(Message.WParam);
    auto down = [&](TMouseButton b, TShiftState extra) {
        if (!FControlStyle.testFlag(csNoStdEvents))
            MouseDown(b, shift | extra, x, y);
    };
    auto up = [&](TMouseButton b) {
        if (!FControlStyle.testFlag(csNoStdEvents))
            MouseUp(b, shift, x, y);
    };
    const std::uint64_t self = FSerial;
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        if (FControlStyle.testFlag(csCaptureMouse))
            SetMouseCapture(true);
        if (FControlStyle.testFlag(csClickEvents))
            FControlState |= csClicked;
        down(mbLeft, {});
        break;
    case WM_LBUTTONDBLCLK:
        if (FControlStyle.testFlag(csCaptureMouse))
            SetMouseCapture(true);
        if (FControlStyle.testFlag(csClickEvents))
            DblClick();
        if (FindControlBySerial(self))
            down(mbLeft, ssDouble);
        break;
    case WM_LBUTTONUP:
        if (FControlStyle.testFlag(csCaptureMouse))
            SetMouseCapture(false);
        if (FControlState.testFlag(csClicked)) {
            FControlState &= ~TControlState(csClicked);
            if (PtInRect(ClientRect(), Point(x, y)))
                Click();
        }
        if (FindControlBySerial(self))
            up(mbLeft);
        break;
    case WM_RBUTTONDOWN:
        down(mbRight, {});
        break;
    case WM_RBUTTONDBLCLK:
        down(mbRight, ssDouble);
        break;
    case WM_RBUTTONUP:
        up(mbRight);
        break;
    case WM_MBUTTONDOWN:
        down(mbMiddle, {});
        break;
    case WM_MBUTTONDBLCLK:
        down(mbMiddle, ssDouble);
        break;
    case WM_MBUTTONUP:
        up(mbMiddle);
        break;
    case WM_MOUSEMOVE:
        if (!FControlStyle.testFlag(csNoStdEvents))
            MouseMove(shift, x, y);
        break;
    default:
        break;
    }
}

void TControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        HandleMouseMessage(Message);
        return;
    case WM_MOUSEWHEEL: {
        // The form hands the wheel to its focused control, which passes an
        // unhandled turn on to its parents.
        TCustomForm* form = GetParentForm(this);
        if (form && form != static_cast<TControl*>(this))
            form->MouseWheelHandler(Message);
        else
            Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
        return;
    }
    case CM_MOUSEWHEEL: {
        const TShiftState shift = KeysToShiftState(LoWord(Message.WParam));
        const int delta = static_cast<std::int16_t>(HiWord(Message.WParam));
        const TPoint pos(GetXLParam(Message.LParam), GetYLParam(Message.LParam));
        if (DoMouseWheel(shift, delta, pos))
            Message.Result = 1;
        else if (FParent)
            Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
        return;
    }
    case WM_CONTEXTMENU: {
        TPoint pos(GetXLParam(Message.LParam), GetYLParam(Message.LParam));
        bool handled = false;
        DoContextPopup(ScreenToClient(pos), handled);
        if (handled) {
            Message.Result = 1;
            return;
        }
        if (FPopupMenu) {
            FPopupMenu->SetPopupComponent(this);
            FPopupMenu->Popup(pos.X, pos.Y);
            Message.Result = 1;
            return;
        }
        if (FParent)
            Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
        return;
    }
    case CM_MOUSEENTER:
        if (Message.LParam == 0)
            MouseEnter();
        return;
    case CM_MOUSELEAVE:
        if (Message.LParam == 0)
            MouseLeave();
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case CM_FONTCHANGED:
        FontChanged();
        return;
    case CM_PARENTFONTCHANGED:
        ParentFontChanged();
        return;
    case CM_PARENTBIDIMODECHANGED:
        if (FParentBiDiMode)
            Perform(CM_BIDIMODECHANGED);
        return;
    case CM_BIDIMODECHANGED:
        // The children that follow this control's mode hear of it.
        if (auto* wc = dynamic_cast<TWinControl*>(this))
            for (int i = 0; i < wc->ControlCount(); ++i)
                wc->Controls(i)->Perform(CM_PARENTBIDIMODECHANGED);
        Invalidate();
        return;
    case CM_PARENTCOLORCHANGED:
        ParentColorChanged();
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (FParentShowHint && FParent)
            FShowHint = FParent->ShowHint();
        return;
    case CM_HITTEST:
        Message.Result = 1;
        return;
    case WM_SIZE:
        Resize();
        return;
    default:
        DefaultHandler(Message);
        return;
    }
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (FActionLink)
        FActionLink->Execute(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TControl::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled || WheelDelta == 0)
        return handled;
    // A fast turn brings several notches at once, a fine-grained wheel a
    // fraction at a time: one step per whole notch either way. Turning back
    // drops what was left of the other direction.
    if ((WheelDelta < 0) != (FWheelAccumulator < 0))
        FWheelAccumulator = 0;
    FWheelAccumulator += WheelDelta;
    // A control that takes the wheel keeps the fractions from its parents,
    // which would otherwise scroll in between its steps.
    if (std::abs(FWheelAccumulator) < WHEEL_DELTA)
        return FWheelTaken;
    const std::uint64_t serial = FSerial;
    bool taken = false;
    while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
        const bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
        taken = (down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos)) || taken;
        // A handler may free the control.
        if (!FindControlBySerial(serial))
            return true;
    }
    FWheelTaken = taken;
    return taken;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled)
{
    if (OnContextPopup)
        OnContextPopup(this, MousePos, Handled);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::Changed()
{
    Perform(CM_CHANGED, 0, 0);
}

QImage TControl::PaintToImage()
{
    if (auto* wc = dynamic_cast<TWinControl*>(this)) {
        QWidget* w = wc->Widget();
        w->ensurePolished();
        return w->grab().toImage();
    }
    if (!FParent)
        return QImage();
    QWidget* pw = FParent->Widget();
    return pw->grab(QRect(FLeft, FTop, FWidth, FHeight)).toImage();
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner)
{
    FControlStyle |= csAcceptsControls;
    FColor = clBtnFace;
}

TWinControl::~TWinControl()
{
    Destroying();
    // A parent frees its children, owned by it or not.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        delete c;
    }
    // Leave the parent while this is still a windowed control, so that the
    // parent's tab list lets go of it too.
    if (FParent)
        FParent->RemoveControl(this);
    DestroyWnd();
}

QWidget* TWinControl::Widget()
{
    if (FCreatingWidget)
        return FWidget;
    // The parent's widget gives every child its own, this one included.
    if (FParent && !FParent->FWidget)
        FParent->Widget();
    return StateWidget();
}

QWidget* TWinControl::StateWidget()
{
    if (FWidget || FCreatingWidget)
        return FWidget;
    FCreatingWidget = true;
    QWidget* w = CreateWidget();
    if (!w)
        w = new QWidget();
    FWidget = w;
    FCreatingWidget = false;
    RegisterWidget(w, this);
    w->installEventFilter(TControlEventTranslator::Instance());
    // Every windowed control hears of drags over it (CM_DRAG).
    w->setAcceptDrops(true);
    if (QWidget* parentWidget = FParent ? FParent->FWidget : nullptr; parentWidget && w->parentWidget() != parentWidget)
        w->setParent(parentWidget);
    CreateWnd();
    // Children made before the widget get theirs now, in z-order.
    for (TControl* c : FControls)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            if (wc->FWidget)
                AdoptChildWidget(wc);
            else
                wc->HandleNeeded();
        }
    return FWidget;
}

void TWinControl::AdoptChildWidget(TWinControl* child)
{
    QWidget* w = child->FWidget;
    if (w->parentWidget() != FWidget)
        w->setParent(FWidget);
    child->UpdateWidgetGeometry();
    w->setVisible(child->FVisible && FWidget);
}

HWND TWinControl::Handle()
{
    HandleNeeded();
    return static_cast<HWND>(FSerial);
}

QWidget* TWinControl::CreateWidget()
{
    auto* w = new QWidget();
    w->setFocusPolicy(Qt::NoFocus);
    return w;
}

void TWinControl::CreateWnd()
{
    QWidget* w = FWidget;
    if (OwnerPaints()) {
        w->setAttribute(Qt::WA_OpaquePaintEvent, FControlStyle.testFlag(csOpaque));
        w->setAutoFillBackground(false);
    }
    w->setMouseTracking(true);
    UpdateWidgetGeometry();
    w->setEnabled(FEnabled);
    ApplyFont();
    ApplyColor();
    if (FCursor != crDefault)
        ApplyWidgetCursor(w, FCursor);
    // A child waiting for its parent's widget stays hidden: shown alone it
    // would be a window of its own.
    if (FParent && FParent->FWidget)
        w->setVisible(FVisible);
}

void TWinControl::DestroyWnd()
{
    if (!FWidget)
        return;
    QWidget* w = FWidget;
    FWidget = nullptr;
    UnregisterWidget(w);
    // Inner widgets attached for input go with it.
    for (auto it = WidgetMap().begin(); it != WidgetMap().end();) {
        if (it.value() == this)
            it = WidgetMap().erase(it);
        else
            ++it;
    }
    w->removeEventFilter(TControlEventTranslator::Instance());
    if (IsBusy(w)) {
        w->hide();
        w->setParent(nullptr);
        w->deleteLater();
    } else {
        delete w;
    }
}

void TWinControl::AttachInputWidget(QWidget* w)
{
    if (!w || w == FWidget)
        return;
    RegisterWidget(w, this);
    w->installEventFilter(TControlEventTranslator::Instance());
    w->setMouseTracking(true);
    QObject::connect(w, &QObject::destroyed, [w]() { UnregisterWidget(w); });
}

void TWinControl::UpdateWidgetGeometry()
{
    if (!FWidget)
        return;
    FWidget->setGeometry(FLeft, FTop, FWidth, FHeight);
}

TControl* TWinControl::Controls(int index) const
{
    if (index < 0 || index >= ControlCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FControls[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* AControl)
{
    if (!AControl || AControl->FParent == this)
        return;
    FControls.push_back(AControl);
    AControl->FParent = this;
    FAlignedCount += int(IsPlaced(AControl->FAlign));
    ++FChildStamp;
    if (auto* wc = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.push_back(wc);
        if (wc->FWidget) {
            AdoptChildWidget(wc);
        } else if (FWidget) {
            wc->HandleNeeded();
        }
    } else if (FWidget && AControl->FVisible) {
        FWidget->update(AControl->FLeft, AControl->FTop, AControl->FWidth, AControl->FHeight);
    }
    AControl->FAnchorValid = false;
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
    if (AControl->FAlign != alNone)
        AlignControl(AControl);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    if (!AControl || AControl->FParent != this)
        return;
    // Also reached from the child's destructor: nothing may escape from here.
    if (!IsDestroying()) {
        try {
            Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
        } catch (...) {
            HandleException(this);
        }
    }
    EraseChild(FControls, AControl);
    FAlignedCount -= int(IsPlaced(AControl->FAlign));
    ++FChildStamp;
    if (auto* wc = dynamic_cast<TWinControl*>(AControl)) {
        EraseChild(FTabList, wc);
        if (wc->FWidget && !wc->IsDestroying()) {
            wc->FWidget->hide();
            wc->FWidget->setParent(nullptr);
        }
    } else if (FWidget && AControl->FVisible) {
        FWidget->update(AControl->FLeft, AControl->FTop, AControl->FWidth, AControl->FHeight);
    }
    AControl->FParent = nullptr;
    if (TCustomForm* form = GetParentForm(this))
        form->ControlRemoved(AControl);
    if (!IsDestroying() && AControl->FAlign != alNone) {
        // The others' OnResize runs here, still inside the child's destructor.
        try {
            Realign();
        } catch (...) {
            HandleException(this);
        }
    }
}

bool TWinControl::ContainsControl(const TControl* c) const
{
    while (c && c != this)
        c = c->FParent;
    return c != nullptr;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        const bool isWin = dynamic_cast<TWinControl*>(c) != nullptr;
        if (isWin && !allowWinControls)
            continue;
        if (!c->FVisible || (!c->FEnabled && !allowDisabled))
            continue;
        if (PtInRect(c->BoundsRect(), p))
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
    const std::vector<TControl*> list = FControls;
    for (TControl* c : list) {
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end())
            continue;
        c->WndProc(Message);
        if (Message.Result != 0)
            return;
    }
}

// ----- alignment -----

void TWinControl::DisableAlign()
{
    ++FAlignLevel;
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0)
        --FAlignLevel;
    if (FAlignLevel == 0 && FControlState.testFlag(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign()
{
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl)
{
    if (IsDestroying())
        return;
    if (FAlignLevel != 0) {
        FControlState |= csAlignmentNeeded;
        return;
    }
    DisableAlign();
    try {
        TRect r = ClientRect();
        AlignControls(AControl, r);
    } catch (...) {
        FControlState &= ~TControlState(csAlignmentNeeded);
        --FAlignLevel;
        throw;
    }
    FControlState &= ~TControlState(csAlignmentNeeded);
    EnableAlign();
}

void TWinControl::AdjustClientRect(TRect& Rect)
{
    (void)Rect;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    AdjustClientRect(Rect);
    if (FAlignedCount == 0)
        return;
    // One walk finds the placed children; it is walked again only when a
    // handler run by the placing below changes the children.
    std::vector<TControl*> aligned;
    unsigned stamp = FChildStamp - 1;
    auto collect = [&] {
        stamp = FChildStamp;
        aligned.clear();
        for (TControl* c : FControls)
            if (IsPlaced(c->FAlign))
                aligned.push_back(c);
    };
    const TAlign order[] = { alTop, alBottom, alLeft, alRight, alClient };
    for (TAlign a : order) {
        if (stamp != FChildStamp)
            collect();
        // The control being placed counts as the earliest, the others follow
        // in z-order.
        std::vector<TControl*> list;
        if (AControl && AControl->FParent == this && AControl->FAlign == a && AControl->FVisible)
            list.push_back(AControl);
        for (TControl* c : aligned)
            if (c->FAlign == a && c->FVisible && c != AControl)
                list.push_back(c);
        // Top and left go in the order of that edge, the earlier first on a
        // tie; bottom and right from the far edge inwards, the later first
        // on a tie; client ones in z-order.
        if (a != alClient) {
            const auto edge = [a](const TControl* c) {
                switch (a) {
                case alTop:
                    return c->FTop;
                case alBottom:
                    return c->FTop + c->FHeight;
                case alLeft:
                    return c->FLeft;
                default:
                    return c->FLeft + c->FWidth;
                }
            };
            const bool ascending = a == alTop || a == alLeft;
            if (!ascending)
                std::reverse(list.begin(), list.end());
            std::stable_sort(list.begin(), list.end(), [&](const TControl* x, const TControl* y) {
                return ascending ? edge(x) < edge(y) : edge(x) > edge(y);
            });
        }
        for (size_t i = 0; i < list.size(); ++i) {
            TControl* c = list[i];
            int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
            switch (a) {
            case alTop:
                l = Rect.Left;
                t = Rect.Top;
                w = Rect.Width();
                Rect.Top += h;
                break;
            case alBottom:
                Rect.Bottom -= h;
                l = Rect.Left;
                t = Rect.Bottom;
                w = Rect.Width();
                break;
            case alLeft:
                l = Rect.Left;
                t = Rect.Top;
                h = Rect.Height();
                Rect.Left += w;
                break;
            case alRight:
                Rect.Right -= w;
                l = Rect.Right;
                t = Rect.Top;
                h = Rect.Height();
                break;
            case alClient:
                l = Rect.Left;
                t = Rect.Top;
                w = Rect.Width();
                h = Rect.Height();
                break;
            default:
                break;
            }
            c->SetBounds(l, t, std::max(0, w), std::max(0, h));
            if (stamp != FChildStamp) {
                // A handler freed, moved or realigned children: the rest of
                // this pass keeps only those still placed here this way.
                collect();
                const auto gone = [&](const TControl* x) {
                    return std::find(aligned.begin(), aligned.end(), x) == aligned.end() || x->FAlign != a;
                };
                list.erase(std::remove_if(list.begin() + std::ptrdiff_t(i) + 1, list.end(), gone), list.end());
            }
        }
    }
}

void TWinControl::UpdateAnchorRules()
{
    const TRect cr = ClientRect();
    for (TControl* c : FControls) {
        if (c->FAnchorValid)
            continue;
        c->FAnchorRect = c->BoundsRect();
        c->FAnchorOrigin = TSize(cr.Width(), cr.Height());
        c->FAnchorValid = true;
    }
}

void TWinControl::ApplyAnchors(const TSize& oldClient)
{
    (void)oldClient;
    const TRect cr = ClientRect();
    const std::vector<TControl*> list = FControls;
    for (TControl* c : list) {
        if (c->FAlign != alNone || !c->FAnchorValid)
            continue;
        const TAnchors a = c->FAnchors;
        const TRect r = c->FAnchorRect;
        const int dw = cr.Width() - c->FAnchorOrigin.cx;
        const int dh = cr.Height() - c->FAnchorOrigin.cy;
        int l = r.Left, t = r.Top, w = r.Width(), h = r.Height();
        if (a.testFlag(akRight)) {
            if (a.testFlag(akLeft))
                w += dw;
            else
                l += dw;
        } else if (!a.testFlag(akLeft)) {
            l += dw / 2;
        }
        if (a.testFlag(akBottom)) {
            if (a.testFlag(akTop))
                h += dh;
            else
                t += dh;
        } else if (!a.testFlag(akTop)) {
            t += dh / 2;
        }
        c->FAnchorMove = true;
        c->SetBounds(l, t, w, h);
        c->FAnchorMove = false;
    }
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    UpdateAnchorRules();
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::BoundsChanged(const TRect& oldBounds)
{
    (void)oldBounds;
    UpdateWidgetGeometry();
    const TSize client(ClientWidth(), ClientHeight());
    if (client != FLastClient) {
        const TSize old = FLastClient;
        FLastClient = client;
        ApplyAnchors(old);
        Realign();
    }
}

// ----- focus and tab order -----

int TWinControl::TabOrder() const
{
    if (!FParent)
        return -1;
    const auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v)
{
    if (!FParent)
        return;
    auto& list = FParent->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    v = std::clamp(v, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + v, this);
}

void TWinControl::SetTabStop(bool v)
{
    if (FTabStop == v)
        return;
    FTabStop = v;
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

bool TWinControl::CanFocus() const
{
    // The form itself may still be hidden: its controls take the focus once
    // it shows.
    const TCustomForm* form = GetParentForm(this);
    for (const TControl* c = this; c && c != form; c = c->FParent) {
        if (!c->FVisible || !c->FEnabled)
            return false;
    }
    return !form || form->Enabled();
}

bool TWinControl::Focused() const
{
    if (!FWidget)
        return false;
    if (QWidget* fw = QApplication::focusWidget())
        if (FindControlOfWidget(fw) == this)
            return true;
    // The form's own record, so that the answer does not depend on whether
    // the window system has activated the window yet.
    TCustomForm* form = GetParentForm(this);
    return form && form->Showing() && form->FocusedControl() == this;
}

void TWinControl::SetFocus()
{
    TCustomForm* form = GetParentForm(this);
    if (form)
        form->FocusControl(this);
    else if (QWidget* w = Widget())
        w->setFocus(Qt::OtherFocusReason);
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const
{
    std::vector<TWinControl*> out;
    for (TWinControl* c : FTabList) {
        out.push_back(c);
        const auto sub = c->GetTabOrderList();
        out.insert(out.end(), sub.begin(), sub.end());
    }
    return out;
}

TWinControl* TWinControl::FindNextControl(
    TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const
{
    const auto list = GetTabOrderList();
    if (list.empty())
        return nullptr;
    const int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[static_cast<size_t>(i)] == current)
            start = i;
    if (start < 0)
        start = goForward ? n - 1 : 0;
    int i = start;
    for (int k = 0; k < n; ++k) {
        i = goForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current && k != n - 1)
            continue;
        if ((!checkTabStop || c->FTabStop) && (!checkParent || c->FParent == this) && c->CanFocus()
            && c->FControls.empty() == c->FTabList.empty() && !(c->FTabList.size() > 0 && !c->FTabStop)) {
            return c;
        }
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (next)
        next->SetFocus();
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

// ----- keys -----

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char16_t& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != static_cast<TControl*>(this) && form->KeyPreview() && form->DoKeyDown(Message))
        return true;
    if (FControlStyle.testFlag(csNoStdEvents))
        return false;
    WORD key = static_cast<WORD>(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != static_cast<TControl*>(this) && form->KeyPreview() && form->DoKeyPress(Message))
        return true;
    if (FControlStyle.testFlag(csNoStdEvents))
        return false;
    char16_t ch = static_cast<char16_t>(Message.WParam);
    KeyPress(ch);
    Message.WParam = ch;
    return ch == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != static_cast<TControl*>(this) && form->KeyPreview() && form->DoKeyUp(Message))
        return true;
    if (FControlStyle.testFlag(csNoStdEvents))
        return false;
    WORD key = static_cast<WORD>(Message.WParam);
    KeyUp(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    return key == 0;
}

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
        Message.Result = 1;
        const WORD key = static_cast<WORD>(Message.WParam);
        if (Perform(CM_CHILDKEY, key, static_cast<LPARAM>(FSerial)) != 0)
            return;
        LRESULT mask = 0;
        switch (key) {
        case VK_TAB:
            mask = DLGC_WANTTAB;
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            mask = DLGC_WANTARROWS;
            break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL:
            mask = DLGC_WANTALLKEYS;
            break;
        default:
            break;
        }
        if (mask != 0 && Perform(CM_WANTSPECIALKEY, key, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
            if (TCustomForm* form = GetParentForm(this))
                if (form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0)
                    return;
        }
        Message.Result = 0;
        return;
    }
    case CN_CHAR: {
        Message.Result = 1;
        if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
            if (TCustomForm* form = GetParentForm(this))
                if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
                    return;
        }
        Message.Result = 0;
        return;
    }
    case CN_SYSCHAR: {
        Message.Result = 0;
        if (TCustomForm* form = GetParentForm(this))
            if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
                Message.Result = 1;
        return;
    }
    case CM_CHILDKEY:
        if (FParent)
            FParent->WndProc(Message);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (DoKeyDown(Message))
            Message.WParam = 0;
        return;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (DoKeyPress(Message))
            Message.WParam = 0;
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (DoKeyUp(Message))
            Message.WParam = 0;
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        Broadcast(Message);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case CM_FOCUSCHANGED:
        Broadcast(Message);
        Message.Result = 0;
        return;
    case CM_FONTCHANGED:
        FontChanged();
        {
            TMessage m { CM_PARENTFONTCHANGED, 0, 0, 0 };
            for (TControl* c : std::vector<TControl*>(FControls))
                c->WndProc(m);
        }
        return;
    case CM_COLORCHANGED:
        ApplyColor();
        Invalidate();
        {
            TMessage m { CM_PARENTCOLORCHANGED, 0, 0, 0 };
            for (TControl* c : std::vector<TControl*>(FControls))
                c->WndProc(m);
        }
        return;
    case CM_SHOWHINTCHANGED: {
        TMessage m { CM_PARENTSHOWHINTCHANGED, 0, 0, 0 };
        for (TControl* c : std::vector<TControl*>(FControls))
            c->WndProc(m);
        return;
    }
    case CM_ENABLEDCHANGED:
        if (FWidget)
            FWidget->setEnabled(FEnabled);
        Invalidate();
        return;
    case CM_CURSORCHANGED:
        ApplyWidgetCursor(FWidget, FCursor);
        return;
    case WM_SIZE:
        Resize();
        return;
    case WM_SETREDRAW:
        // Off: nothing repaints; on again: the whole window repaints once.
        if (FWidget)
            FWidget->setUpdatesEnabled(Message.WParam != 0);
        Message.Result = 0;
        return;
    case WM_PAINT: {
        auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
        if (canvas) {
            PaintWindow(canvas);
            PaintControls(canvas, nullptr);
        }
        return;
    }
    case WM_ERASEBKGND: {
        auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
        if (canvas && OwnerPaints() && !FControlStyle.testFlag(csOpaque) && FColor != clNone) {
            canvas->Brush()->SetColor(FColor);
            canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
            canvas->FillRect(ClientRect());
        }
        Message.Result = 1;
        return;
    }
    case WM_GETDLGCODE:
        Message.Result = 0;
        return;
    default:
        TControl::Dispatch(Message);
        return;
    }
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    TControl::DefaultHandler(Message);
}

bool TWinControl::WidgetEvent(QEvent* e)
{
    (void)e;
    return false;
}

// ----- painting -----

void TWinControl::PaintWindow(TCanvas* canvas)
{
    (void)canvas;
}

void TWinControl::PaintAfterWidget(TCanvas* Canvas)
{
    (void)Canvas;
    FNoPaintAfterWidget = true;
}

void TWinControl::PaintControls(TCanvas* canvas, TControl* first)
{
    bool started = first == nullptr;
    const std::vector<TControl*> list = FControls;
    for (TControl* c : list) {
        if (!started) {
            if (c != first)
                continue;
            started = true;
        }
        auto* gc = dynamic_cast<TGraphicControl*>(c);
        if (!gc || !gc->FVisible || gc->FWidth <= 0 || gc->FHeight <= 0)
            continue;
        const int saved = canvas->SaveDC();
        canvas->MoveOrigin(gc->FLeft, gc->FTop);
        canvas->IntersectClipRect(Rect(0, 0, gc->FWidth, gc->FHeight));
        TCanvas* prev = gc->FCanvas;
        gc->FCanvas = canvas;
        try {
            gc->Perform(WM_PAINT, reinterpret_cast<WPARAM>(canvas), 0);
        } catch (...) {
            gc->FCanvas = prev;
            canvas->RestoreDC(saved);
            throw;
        }
        gc->FCanvas = prev;
        canvas->RestoreDC(saved);
    }
}

void TWinControl::PaintTo(TCanvas* canvas, int X, int Y)
{
    if (!canvas || !canvas->Painter())
        return;
    QWidget* w = Widget();
    QPainter* p = canvas->Painter();
    const TPoint o = canvas->Origin();
    w->render(p, QPoint(o.X + X, o.Y + Y), QRegion(), QWidget::DrawChildren);
}

void TWinControl::ApplyFont()
{
    if (FWidget)
        FWidget->setFont(FFont->ToQFont());
}

void TWinControl::ApplyColor()
{
    if (!FWidget || OwnerPaints() || FColor == clNone)
        return;
    QPalette pal = FWidget->palette();
    pal.setColor(QPalette::Window, ColorToQColor(FColor));
    FWidget->setPalette(pal);
}

void TWinControl::FontChanged()
{
    ApplyFont();
    Invalidate();
}

// ----- state forwarded to the widget -----

void TWinControl::SetVisible(bool v)
{
    if (FVisible == v)
        return;
    TControl::SetVisible(v);
    if (FWidget && FParent && FParent->FWidget)
        FWidget->setVisible(v);
}

void TWinControl::SetEnabled(bool v)
{
    TControl::SetEnabled(v);
}

bool TWinControl::Showing() const
{
    return FWidget && FWidget->isVisible();
}

void TWinControl::SetText(const QString& v)
{
    TControl::SetText(v);
    if (FWidget && !FParent)
        FWidget->setWindowTitle(v);
}

void TWinControl::SetCursor(TCursor v)
{
    TControl::SetCursor(v);
}

void TWinControl::Invalidate()
{
    if (FWidget)
        FWidget->update();
}

void TWinControl::InvalidateRect(const TRect& r)
{
    if (FWidget && r.Right > r.Left && r.Bottom > r.Top)
        FWidget->update(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top));
}

void TWinControl::Update()
{
    if (FWidget && FWidget->isVisible())
        FWidget->repaint();
}

void TWinControl::Repaint()
{
    if (FWidget && FWidget->isVisible())
        FWidget->repaint();
}

void TWinControl::BringToFront()
{
    TControl::BringToFront();
    if (FWidget) {
        FWidget->raise();
        if (!FParent) {
            FWidget->activateWindow();
        }
    }
}

void TWinControl::SendToBack()
{
    TControl::SendToBack();
    if (FWidget)
        FWidget->lower();
}

TPoint TWinControl::ClientOrigin() const
{
    if (FWidget && (FWidget->isVisible() || !FParent)) {
        const QPoint p = FWidget->mapToGlobal(QPoint(0, 0));
        return { p.x(), p.y() };
    }
    return TControl::ClientOrigin();
}

// ---------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner)
    , FCanvas(std::make_unique<TCanvas>())
{
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Paint() { }

void TCustomControl::PaintWindow(TCanvas* canvas)
{
    (void)canvas;
    FCanvas->SetFont(FFont.get());
    FCanvas->Brush()->SetColor(FColor);
    Paint();
}

// ---------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner)
{
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Paint() { }

void TGraphicControl::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_PAINT) {
        if (FCanvas) {
            FCanvas->SetFont(FFont.get());
            FCanvas->Brush()->SetColor(FColor);
            Paint();
        }
        return;
    }
    TControl::Dispatch(Message);
}

namespace {

TPoint& LastMouseScreenPos()
{
    static TPoint p;
    return p;
}

} // namespace

TPoint MouseCursorPos()
{
    return LastMouseScreenPos();
}

void SetMouseCursorPos(TPoint screen)
{
    LastMouseScreenPos() = screen;
}

void ShowWindowCursor(TWinControl* control, TCursor cursor)
{
    ApplyWidgetCursor(control ? control->WidgetIfAllocated() : nullptr, cursor);
}

TBiDiMode TControl::BiDiMode() const
{
    return FParentBiDiMode && FParent ? FParent->BiDiMode() : FBiDiMode;
}

void TControl::SetBiDiMode(TBiDiMode v)
{
    const TBiDiMode old = BiDiMode();
    FBiDiMode = v;
    FParentBiDiMode = false;
    if (v != old)
        Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool v)
{
    if (v == FParentBiDiMode)
        return;
    const TBiDiMode old = BiDiMode();
    if (!v)
        FBiDiMode = old; // keeps the mode it had
    FParentBiDiMode = v;
    if (BiDiMode() != old)
        Perform(CM_BIDIMODECHANGED);
}
