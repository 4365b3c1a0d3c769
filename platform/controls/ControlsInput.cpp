// The input translation: Qt's key, mouse, wheel, focus and paint events on a
// control's widget become the toolkit's messages, in the toolkit's order.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <exception>

#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/Forms.h"

using namespace controls_private;

namespace {

// Marks a widget busy while its event is handled, so that freeing its
// control meanwhile defers the widget's deletion.
struct BusyScope {
    const QWidget* w;
    explicit BusyScope(const QWidget* widget)
        : w(widget)
    {
        EnterBusy(w);
    }
    ~BusyScope() { LeaveBusy(w); }
};

bool Finish(QEvent* e, bool eaten)
{
    if (eaten)
        e->accept();
    return eaten;
}

bool Alive(std::uint64_t serial)
{
    return FindControlBySerial(serial) != nullptr;
}

// Paint runs inside Qt's repaint: an error box there would nest an event loop
// in a paint event, so the exception is shown once the paint is over.
void DeferException(TObject* sender, std::exception_ptr ep)
{
    (void)sender;
    QTimer::singleShot(0, QCoreApplication::instance(), [ep]() {
        try {
            std::rethrow_exception(ep);
        } catch (...) {
            HandleException(nullptr);
        }
    });
}

// A pop-up (a combo box's list, a menu, a calendar) takes the mouse when it
// opens, as the window system hands it the capture. No control keeps a
// capture behind it: the button-up of the press that opened it goes to the
// pop-up, and a capture left over would take the button-up of the next click
// anywhere, so a check box would ignore it. The hint goes too; it would stand
// over the pop-up.
class TPopupWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->windowType() == Qt::Popup) {
            SetCaptureControl(nullptr);
            Application->CancelHint();
        }
        return false;
    }
};

} // namespace

TControlEventTranslator* TControlEventTranslator::Instance()
{
    static TControlEventTranslator* instance = [] {
        QCoreApplication* app = QCoreApplication::instance();
        app->installEventFilter(new TPopupWatcher(app));
        return new TControlEventTranslator();
    }();
    return instance;
}

TShiftState TControlEventTranslator::ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b)
{
    TShiftState s;
    if (m & Qt::ShiftModifier)
        s |= ssShift;
    if (m & Qt::ControlModifier)
        s |= ssCtrl;
    if (m & Qt::AltModifier)
        s |= ssAlt;
    if (b & Qt::LeftButton)
        s |= ssLeft;
    if (b & Qt::RightButton)
        s |= ssRight;
    if (b & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

WORD TControlEventTranslator::VirtualKey(const QKeyEvent* e)
{
    const int k = e->key();
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return static_cast<WORD>('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return static_cast<WORD>(keypad ? VK_NUMPAD0 + (k - Qt::Key_0) : '0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return static_cast<WORD>(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return VK_MENU;
    case Qt::Key_Meta:
        return VK_LWIN;
    case Qt::Key_Menu:
        return VK_APPS;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_Print:
        return VK_SNAPSHOT;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_NumLock:
        return VK_NUMLOCK;
    case Qt::Key_ScrollLock:
        return VK_SCROLL;
    case Qt::Key_Clear:
        return VK_CLEAR;
    case Qt::Key_Help:
        return VK_HELP;
    case Qt::Key_Period:
        return keypad ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Comma:
        return keypad ? VK_DECIMAL : VK_OEM_COMMA;
    case Qt::Key_Asterisk:
        return keypad ? VK_MULTIPLY : WORD('8');
    case Qt::Key_Plus:
        return keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus:
        return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Slash:
        return keypad ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Equal:
        return VK_OEM_PLUS;
    case Qt::Key_Underscore:
        return VK_OEM_MINUS;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return VK_OEM_1;
    case Qt::Key_Question:
        return VK_OEM_2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return VK_OEM_7;
    case Qt::Key_Less:
        return VK_OEM_COMMA;
    case Qt::Key_Greater:
        return VK_OEM_PERIOD;
    // Shifted digits on the usual layout.
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    case Qt::Key_ParenLeft:
        return '9';
    case Qt::Key_ParenRight:
        return '0';
    default:
        return 0;
    }
}

char16_t TControlEventTranslator::CharOf(const QKeyEvent* e, WORD vk)
{
    const Qt::KeyboardModifiers m = e->modifiers();
    const bool ctrl = m & Qt::ControlModifier;
    const bool alt = m & Qt::AltModifier;
    const bool shift = m & Qt::ShiftModifier;
    if (ctrl && !alt) {
        if (vk >= 'A' && vk <= 'Z')
            return static_cast<char16_t>(vk - 'A' + 1);
        switch (vk) {
        case VK_RETURN:
            return 10;
        case VK_BACK:
            return 127;
        case VK_OEM_4:
            return 27;
        case VK_OEM_5:
            return 28;
        case VK_OEM_6:
            return 29;
        default:
            return 0;
        }
    }
    switch (vk) {
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    default:
        break;
    }
    const QString t = e->text();
    if (!t.isEmpty()) {
        const char16_t c = t.at(0).unicode();
        if (c >= 32 && c != 127)
            return c;
    }
    // With Alt the system hands the plain character to accelerators.
    if (alt && vk >= 'A' && vk <= 'Z')
        return static_cast<char16_t>(shift ? vk : vk + 32);
    if (alt && vk >= '0' && vk <= '9')
        return static_cast<char16_t>(vk);
    return 0;
}

LPARAM TControlEventTranslator::KeyData(const QKeyEvent* e, WORD vk, bool release)
{
    LPARAM d = KF_KEYDATA_REPEAT1;
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    if (vk == VK_DECIMAL)
        d |= KF_KEYDATA_KEYPAD_DECIMAL;
    else if (e->nativeScanCode() > 0 && e->nativeScanCode() < 0x100)
        d |= static_cast<LPARAM>(e->nativeScanCode() & 0xFF) << 16;
    if (keypad && (vk == VK_RETURN || vk == VK_DIVIDE))
        d |= KF_KEYDATA_EXTENDED;
    if (!keypad && ((vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE))
        d |= KF_KEYDATA_EXTENDED;
    if (e->modifiers() & Qt::AltModifier)
        d |= KF_KEYDATA_ALTDOWN;
    if (release)
        d |= KF_KEYDATA_UP;
    return d;
}

namespace {
// Qt's drag events as the toolkit's drag notices (CM_DRAG). The enter is
// taken, so that the moves and the leave follow; a move or a drop is accepted
// when the control answers non-zero. The widget still gets the event: an edit
// keeps its own text drops.
bool DragNotice(TWinControl* c, QEvent* e)
{
    WPARAM code = dmDragLeave;
    LPARAM point = 0;
    if (e->type() != QEvent::DragLeave) {
        const QPoint p = static_cast<QDropEvent*>(e)->position().toPoint();
        code = e->type() == QEvent::DragEnter ? dmDragEnter : e->type() == QEvent::DragMove ? dmDragMove : dmDragDrop;
        point = MakeLParam(p.x(), p.y());
    }
    LRESULT result = 0;
    try {
        BusyScope busy(c->WidgetIfAllocated());
        // The toolkit ends every drag over a control with a leave, also
        // before the drop; Qt sends the drop alone.
        if (code == dmDragDrop)
            c->Perform(CM_DRAG, dmDragLeave, 0);
        result = c->Perform(CM_DRAG, code, point);
    } catch (...) {
        HandleException(c);
    }
    if (e->type() == QEvent::DragEnter)
        static_cast<QDropEvent*>(e)->acceptProposedAction();
    else if (e->type() != QEvent::DragLeave)
        static_cast<QDropEvent*>(e)->setAccepted(result != 0);
    return false;
}
} // namespace

bool TControlEventTranslator::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType() || event == Resending())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    TWinControl* c = ControlOfWidget(w);
    if (!c)
        return false;
    switch (event->type()) {
    // A translated event is finished here: the widget has had its copy (and
    // Qt's propagation of it to the parents), so the original must not travel
    // on to the parent widgets and be translated a second time there.
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return Finish(event, Key(c, w, static_cast<QKeyEvent*>(event)));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return Finish(event, Mouse(c, w, static_cast<QMouseEvent*>(event)));
    case QEvent::Wheel:
        return Finish(event, Wheel(c, w, static_cast<QWheelEvent*>(event)));
    case QEvent::Enter:
        SetMouseControl(c);
        Application->HintMouseMessage(c);
        return false;
    case QEvent::Leave: {
        TControl* m = MouseControl();
        if (m && (m == c || m->Parent() == c))
            SetMouseControl(nullptr);
        Application->HintMouseMessage(nullptr);
        return false;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        return Focus(c, w, event);
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        return w == c->WidgetIfAllocated() ? DragNotice(c, event) : false;
    case QEvent::Paint:
        return w == c->WidgetIfAllocated() ? Paint(c, w, event) : false;
    case QEvent::ContextMenu: {
        auto* ce = static_cast<QContextMenuEvent*>(event);
        const QPoint g = ce->globalPos();
        TControl* target = c;
        if (w == c->WidgetIfAllocated())
            if (TControl* gc = c->ControlAtPos(TPoint(ce->pos().x(), ce->pos().y()), false))
                target = gc;
        try {
            BusyScope busy(w);
            if (target->Perform(WM_CONTEXTMENU, 0, MakeLParam(g.x(), g.y())) != 0)
                return true;
        } catch (...) {
            HandleException(c);
            return true;
        }
        return false;
    }
    default:
        if (w != c->WidgetIfAllocated())
            return false;
        try {
            BusyScope busy(w);
            return c->WidgetEvent(event);
        } catch (...) {
            HandleException(c);
            return true;
        }
    }
}

// One key press: CN_KEYDOWN (dialog keys), WM_KEYDOWN (events; a key set to 0
// is consumed), then unless consumed CN_CHAR (accelerators) and WM_CHAR (a
// character set to 0 is dropped, a changed one is what the widget gets).
bool TControlEventTranslator::Key(TWinControl* c, QWidget* w, QKeyEvent* e)
{
    const bool press = e->type() == QEvent::KeyPress;
    if (!press && e->isAutoRepeat())
        return false;
    const WORD vk = VirtualKey(e);
    const bool alt = (e->modifiers() & Qt::AltModifier) && !(e->modifiers() & Qt::ControlModifier);
    const LPARAM keyData = KeyData(e, vk, !press);
    const std::uint64_t serial = ControlSerial(c);
    BusyScope busy(w);
    SetCurrentShift(ShiftOf(e->modifiers()));
    // AltGr comes as a group switch (or as its own key), never as Alt.
    SetRightAltDown(e->modifiers().testFlag(Qt::GroupSwitchModifier) || e->key() == Qt::Key_AltGr);
    QPointer<QWidget> guard(w);
    try {
        if (!press) {
            if (vk != 0) {
                if (c->Perform(CN_KEYUP, vk, keyData) != 0 || !Alive(serial))
                    return true;
                TMessage m { alt ? WM_SYSKEYUP : WM_KEYUP, vk, keyData, 0 };
                c->WndProc(m);
                if (m.WParam == 0 || !Alive(serial))
                    return true;
            }
            if (guard)
                ResendToWidget(w, e);
            return true;
        }
        if (vk != 0) {
            if (c->Perform(alt ? CN_SYSKEYDOWN : CN_KEYDOWN, vk, keyData) != 0 || !Alive(serial))
                return true;
            TMessage m { alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, keyData, 0 };
            c->WndProc(m);
            if (m.WParam == 0 || !Alive(serial))
                return true;
        }
        const char16_t ch = CharOf(e, vk);
        if (ch == 0) {
            if (guard)
                ResendToWidget(w, e);
            return true;
        }
        if (alt) {
            if (c->Perform(CN_SYSCHAR, ch, keyData) != 0 || !Alive(serial))
                return true;
            if (guard)
                ResendToWidget(w, e);
            return true;
        }
        if (c->Perform(CN_CHAR, ch, keyData) != 0 || !Alive(serial))
            return true;
        TMessage m { WM_CHAR, ch, keyData, 0 };
        c->WndProc(m);
        if (!Alive(serial) || !guard)
            return true;
        const auto out = static_cast<char16_t>(m.WParam);
        if (out == 0)
            return true;
        if (out == ch) {
            ResendToWidget(w, e);
            return true;
        }
        // The widget types the character the handler chose.
        int qtKey = Qt::Key_unknown;
        const QString text = QString(QChar(out));
        switch (out) {
        case 13:
            qtKey = Qt::Key_Return;
            break;
        case 27:
            qtKey = Qt::Key_Escape;
            break;
        case 8:
            qtKey = Qt::Key_Backspace;
            break;
        case 9:
            qtKey = Qt::Key_Tab;
            break;
        default:
            if (out >= u'a' && out <= u'z')
                qtKey = Qt::Key_A + (out - u'a');
            else if (out >= u'A' && out <= u'Z')
                qtKey = Qt::Key_A + (out - u'A');
            else if (out >= u'0' && out <= u'9')
                qtKey = Qt::Key_0 + (out - u'0');
            else if (out >= 32 && out < 127)
                qtKey = out;
            break;
        }
        QKeyEvent changed(QEvent::KeyPress, qtKey,
            e->modifiers() & ~(Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier), text, e->isAutoRepeat());
        ResendToWidget(w, &changed);
        return true;
    } catch (...) {
        HandleException(Alive(serial) ? c : nullptr);
        return true;
    }
}

bool TControlEventTranslator::Mouse(TWinControl* c, QWidget* w, QMouseEvent* e)
{
    QWidget* cw = c->WidgetIfAllocated();
    if (!cw)
        return false;
    QPoint local = e->position().toPoint();
    if (w != cw)
        local = cw->mapFromGlobal(w->mapToGlobal(local));
    const QPoint global = w->mapToGlobal(e->position().toPoint());
    const TShiftState shift = ShiftOf(e->modifiers(), e->buttons());
    SetCurrentShift(shift & (TShiftState(ssShift) | ssCtrl | ssAlt));
    const WPARAM keys = ShiftStateToKeys(shift);

    UINT msg = 0;
    const Qt::MouseButton b = e->button();
    auto pick = [&](UINT l, UINT r, UINT m) { return b == Qt::RightButton ? r : (b == Qt::MiddleButton ? m : l); };
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        msg = pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
        break;
    case QEvent::MouseButtonRelease:
        msg = pick(WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP);
        break;
    case QEvent::MouseButtonDblClick:
        msg = pick(WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK);
        break;
    default:
        msg = WM_MOUSEMOVE;
        break;
    }
    if (e->type() != QEvent::MouseMove && b != Qt::LeftButton && b != Qt::RightButton && b != Qt::MiddleButton)
        return false;

    TControl* target = c;
    TPoint p(local.x(), local.y());
    TControl* cap = GetCaptureControl();
    const bool captured
        = cap && (msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP);
    if (captured) {
        target = cap;
        p = cap->ScreenToClient(TPoint(global.x(), global.y()));
    } else if (TControl* gc = c->ControlAtPos(p, false)) {
        target = gc;
        p = TPoint(p.X - gc->Left(), p.Y - gc->Top());
    }
    if (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK) {
        if (!target->ControlStyle().testFlag(csDoubleClicks))
            msg = pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
    }
    const std::uint64_t cSerial = ControlSerial(c);
    const std::uint64_t tSerial = ControlSerial(target);
    BusyScope busy(w);
    QPointer<QWidget> guard(w);
    try {
        if (!captured) {
            SetMouseControl(target);
            if (msg == WM_MOUSEMOVE)
                Application->HintMouseMessage(FindControlBySerial(tSerial));
            if (target != c && guard && Alive(tSerial)) {
                const TCursor cur = target->Cursor() != crDefault ? target->Cursor() : c->Cursor();
                ApplyWidgetCursor(cw, cur);
            } else if (target == c && guard && Alive(cSerial)) {
                // The control may choose the cursor for the point (an answer
                // of 1); otherwise its Cursor shows.
                SetMouseCursorPos(TPoint(global.x(), global.y()));
                TMessage sc { WM_SETCURSOR, WPARAM(c->Handle()), MakeLParam(HTCLIENT, int(msg)), 0 };
                c->WndProc(sc);
                if (sc.Result == 0 && guard && Alive(cSerial))
                    ApplyWidgetCursor(cw, c->Cursor());
            }
        }
        if (TControl* t = FindControlBySerial(tSerial)) {
            TMessage m { msg, keys, MakeLParam(p.X, p.Y), 0 };
            t->WndProc(m);
        }
    } catch (...) {
        HandleException(FindControlBySerial(tSerial));
        return true;
    }
    if (target != c || !Alive(cSerial) || !guard)
        return true;
    // A wrapped Qt widget reacts to the mouse itself (caret, selection), which
    // may run handlers (a button's OnClick); so does a Qt part inside a
    // control we paint ourselves (the page control's tabs).
    if (!c->OwnerPaints() || w != cw) {
        try {
            ResendToWidget(w, e);
        } catch (...) {
            HandleException(Alive(cSerial) ? c : nullptr);
        }
    }
    e->accept();
    return true;
}

bool TControlEventTranslator::Wheel(TWinControl* c, QWidget* w, QWheelEvent* e)
{
    const QPoint angle = e->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta == 0)
        return false;
    const TShiftState shift = ShiftOf(e->modifiers(), e->buttons());
    SetCurrentShift(shift & (TShiftState(ssShift) | ssCtrl | ssAlt));
    const QPoint g = e->globalPosition().toPoint();
    const WPARAM wParam = (ShiftStateToKeys(shift) & 0xFFFF) | (static_cast<WPARAM>(static_cast<WORD>(delta)) << 16);
    const std::uint64_t serial = ControlSerial(c);
    BusyScope busy(w);
    QPointer<QWidget> guard(w);
    try {
        TMessage m { WM_MOUSEWHEEL, wParam, MakeLParam(g.x(), g.y()), 0 };
        c->WndProc(m);
        if (m.Result != 0 || !Alive(serial) || !guard)
            return true;
        // Unhandled: the wrapped widget scrolls or steps, running its handlers.
        ResendToWidget(w, e);
    } catch (...) {
        HandleException(Alive(serial) ? c : nullptr);
    }
    return true;
}

namespace {

// The widget that lost the focus last: the window system names it to the
// one that gains the focus next.
QPointer<QWidget>& LastFocusOut()
{
    static QPointer<QWidget> w;
    return w;
}

// The other window of a focus change, 0 when it is none of ours.
WPARAM FocusPartner(const QWidget* other, const TWinControl* self)
{
    TWinControl* o = other ? FindControlOfWidget(other) : nullptr;
    return o && o != self && o->HandleAllocated() ? WPARAM(o->Handle()) : 0;
}

} // namespace

// A focus change caused by a pop-up or by the window losing activation is
// not a real one: the control keeps being the focused one of its form and no
// OnExit or OnEnter fires. WM_KILLFOCUS names the window that gains the
// focus, WM_SETFOCUS the one that lost it.
bool TControlEventTranslator::Focus(TWinControl* c, QWidget* w, QEvent* event)
{
    auto* fe = static_cast<QFocusEvent*>(event);
    const Qt::FocusReason reason = fe->reason();
    const bool temporary = reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
    TCustomForm* form = GetParentForm(c);
    BusyScope busy(w);
    try {
        if (event->type() == QEvent::FocusOut) {
            LastFocusOut() = w;
            if (!temporary)
                c->Perform(WM_KILLFOCUS, FocusPartner(QApplication::focusWidget(), c), 0);
            return false;
        }
        const QPointer<QWidget> lost = LastFocusOut();
        LastFocusOut() = nullptr;
        if (temporary && form && form->FocusedControl() == c)
            return false;
        const std::uint64_t serial = ControlSerial(c);
        c->Perform(WM_SETFOCUS, FocusPartner(lost.data(), c), 0);
        if (form && Alive(serial) && form != static_cast<TControl*>(c))
            form->FocusControl(c);
    } catch (...) {
        HandleException(c);
    }
    return false;
}

bool TControlEventTranslator::Paint(TWinControl* c, QWidget* w, QEvent* e)
{
    BusyScope busy(w);
    if (c->OwnerPaints()) {
        TCanvas* canvas = c->WindowCanvas();
        std::unique_ptr<TCanvas> temp;
        if (!canvas || canvas->HandleAllocated()) {
            temp = std::make_unique<TCanvas>();
            canvas = temp.get();
        }
        try {
            TCanvasLock lock(canvas, w);
            // As on the toolkit's paint, the canvas clips to the part asked
            // for, so that a control can skip what lies outside it.
            const QRegion asked = static_cast<QPaintEvent*>(e)->region();
            if (!asked.isEmpty() && !QRegion(w->rect()).subtracted(asked).isEmpty())
                canvas->SelectClipRgn(&asked);
            else
                canvas->SelectClipRgn(nullptr);
            c->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0);
            c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(canvas), 0);
        } catch (...) {
            DeferException(c, std::current_exception());
        }
        return true;
    }
    bool graphics = false;
    for (int i = 0; i < c->ControlCount(); ++i) {
        TControl* child = c->Controls(i);
        if (child->Visible() && dynamic_cast<TGraphicControl*>(child))
            graphics = true;
    }
    const bool after = !c->FNoPaintAfterWidget;
    const TRect exclusion = c->WidgetPaintExclusion();
    if (!graphics && !after && exclusion.IsEmpty())
        return false;
    if (exclusion.IsEmpty()) {
        ResendToWidget(w, e);
    } else {
        // The widget paints through a fresh painter of its own, which starts
        // from the paint engine's system clip: narrowing that clip for the
        // widget's turn keeps its drawing out of the excluded area.
        QPaintEngine* engine = nullptr;
        QPoint offset;
        {
            QPainter probe(w);
            engine = probe.paintEngine();
            offset = probe.deviceTransform().map(QPoint(0, 0));
        }
        const QRegion saved = engine ? engine->systemClip() : QRegion();
        if (engine) {
            const QRegion whole = saved.isEmpty() ? QRegion(w->rect().translated(offset)) : saved;
            const QRect cut(exclusion.Left, exclusion.Top, exclusion.Width(), exclusion.Height());
            engine->setSystemClip(whole.subtracted(QRegion(cut.translated(offset))));
        }
        ResendToWidget(w, e);
        if (engine)
            engine->setSystemClip(saved);
    }
    try {
        TCanvas canvas;
        TCanvasLock lock(&canvas, w);
        if (graphics)
            c->PaintControls(&canvas, nullptr);
        if (after)
            c->PaintAfterWidget(&canvas);
    } catch (...) {
        DeferException(c, std::current_exception());
    }
    return true;
}

// ---------------------------------------------------------------------------
// Input for tests

namespace {

Qt::MouseButtons gHeld;

int QtKeyOf(WORD vk, bool keypad)
{
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9')
        return Qt::Key_0 + (vk - '0');
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return Qt::Key_0 + (vk - VK_NUMPAD0);
    if (vk >= VK_F1 && vk <= VK_F12 + 12)
        return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_RETURN:
        return keypad ? Qt::Key_Enter : Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_DELETE:
        return Qt::Key_Delete;
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_HOME:
        return Qt::Key_Home;
    case VK_END:
        return Qt::Key_End;
    case VK_PRIOR:
        return Qt::Key_PageUp;
    case VK_NEXT:
        return Qt::Key_PageDown;
    case VK_LEFT:
        return Qt::Key_Left;
    case VK_RIGHT:
        return Qt::Key_Right;
    case VK_UP:
        return Qt::Key_Up;
    case VK_DOWN:
        return Qt::Key_Down;
    case VK_SHIFT:
        return Qt::Key_Shift;
    case VK_CONTROL:
        return Qt::Key_Control;
    case VK_MENU:
        return Qt::Key_Alt;
    case VK_APPS:
        return Qt::Key_Menu;
    case VK_DECIMAL:
        return Qt::Key_Period;
    case VK_MULTIPLY:
        return Qt::Key_Asterisk;
    case VK_ADD:
        return Qt::Key_Plus;
    case VK_SUBTRACT:
        return Qt::Key_Minus;
    case VK_DIVIDE:
        return Qt::Key_Slash;
    case VK_OEM_PERIOD:
        return Qt::Key_Period;
    case VK_OEM_COMMA:
        return Qt::Key_Comma;
    case VK_OEM_MINUS:
        return Qt::Key_Minus;
    case VK_OEM_PLUS:
        return Qt::Key_Equal;
    case VK_OEM_1:
        return Qt::Key_Semicolon;
    case VK_OEM_2:
        return Qt::Key_Slash;
    case VK_OEM_3:
        return Qt::Key_QuoteLeft;
    case VK_OEM_4:
        return Qt::Key_BracketLeft;
    case VK_OEM_5:
        return Qt::Key_Backslash;
    case VK_OEM_6:
        return Qt::Key_BracketRight;
    case VK_OEM_7:
        return Qt::Key_Apostrophe;
    default:
        return Qt::Key_unknown;
    }
}

bool IsKeypadKey(WORD vk)
{
    return (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE);
}

QString TextOf(WORD vk, TShiftState shift, char16_t ch)
{
    if (ch != 0)
        return QString(QChar(ch));
    if (shift.testFlag(ssCtrl) && vk >= 'A' && vk <= 'Z')
        return QString(QChar(char16_t(vk - 'A' + 1)));
    if (shift.testFlag(ssCtrl) || shift.testFlag(ssAlt))
        return QString();
    if (vk >= 'A' && vk <= 'Z')
        return QString(QChar(char16_t(shift.testFlag(ssShift) ? vk : vk + 32)));
    if (vk >= '0' && vk <= '9')
        return QString(QChar(char16_t(vk)));
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return QString(QChar(char16_t('0' + vk - VK_NUMPAD0)));
    switch (vk) {
    case VK_RETURN:
        return QStringLiteral("\r");
    case VK_ESCAPE:
        return QString(QChar(char16_t(27)));
    case VK_BACK:
        return QString(QChar(char16_t(8)));
    case VK_TAB:
        return QStringLiteral("\t");
    case VK_SPACE:
        return QStringLiteral(" ");
    case VK_DECIMAL:
    case VK_OEM_PERIOD:
        return QStringLiteral(".");
    case VK_OEM_COMMA:
        return QStringLiteral(",");
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
        return QStringLiteral("-");
    case VK_ADD:
        return QStringLiteral("+");
    case VK_MULTIPLY:
        return QStringLiteral("*");
    case VK_DIVIDE:
        return QStringLiteral("/");
    default:
        return QString();
    }
}

Qt::KeyboardModifiers ModsOf(TShiftState s, bool keypad)
{
    Qt::KeyboardModifiers m;
    if (s.testFlag(ssShift))
        m |= Qt::ShiftModifier;
    if (s.testFlag(ssCtrl))
        m |= Qt::ControlModifier;
    if (s.testFlag(ssAlt))
        m |= Qt::AltModifier;
    if (keypad)
        m |= Qt::KeypadModifier;
    return m;
}

// The widget that receives key input for a control.
QWidget* KeyTarget(TWinControl* c)
{
    QWidget* w = c->Widget();
    return w->focusProxy() ? w->focusProxy() : w;
}

// The widget and point a mouse event at a control's client point goes to.
QWidget* MouseTarget(TControl* c, TPoint p, QPoint& local)
{
    if (auto* wc = dynamic_cast<TWinControl*>(c)) {
        local = QPoint(p.X, p.Y);
        return wc->Widget();
    }
    TWinControl* parent = c->Parent();
    if (!parent)
        return nullptr;
    local = QPoint(c->Left() + p.X, c->Top() + p.Y);
    return parent->Widget();
}

Qt::MouseButton QtButton(TMouseButton b)
{
    switch (b) {
    case mbRight:
        return Qt::RightButton;
    case mbMiddle:
        return Qt::MiddleButton;
    default:
        return Qt::LeftButton;
    }
}

void SendMouse(TControl* c, QEvent::Type type, TMouseButton b, TPoint p, TShiftState shift, bool noButton = false)
{
    QPoint local;
    QWidget* w = MouseTarget(c, p, local);
    if (!w)
        return;
    const Qt::MouseButton qb = noButton ? Qt::NoButton : QtButton(b);
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        gHeld |= qb;
    else if (type == QEvent::MouseButtonRelease)
        gHeld &= ~Qt::MouseButtons(qb);
    const QPointF global = w->mapToGlobal(QPointF(local));
    QMouseEvent e(type, QPointF(local), global, qb, gHeld, ModsOf(shift, false));
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

namespace input {

void KeyDown(TWinControl* c, WORD vk, TShiftState shift, char16_t ch, bool keypad)
{
    keypad = keypad || IsKeypadKey(vk);
    QKeyEvent e(QEvent::KeyPress, QtKeyOf(vk, keypad), ModsOf(shift, keypad), TextOf(vk, shift, ch));
    QCoreApplication::sendEvent(KeyTarget(c), &e);
}

void KeyUp(TWinControl* c, WORD vk, TShiftState shift, bool keypad)
{
    keypad = keypad || IsKeypadKey(vk);
    QKeyEvent e(QEvent::KeyRelease, QtKeyOf(vk, keypad), ModsOf(shift, keypad), TextOf(vk, shift, 0));
    QCoreApplication::sendEvent(KeyTarget(c), &e);
}

void Key(TWinControl* c, WORD vk, TShiftState shift, char16_t ch, bool keypad)
{
    const std::uint64_t serial = ControlSerial(c);
    KeyDown(c, vk, shift, ch, keypad);
    if (auto* still = dynamic_cast<TWinControl*>(FindControlBySerial(serial)))
        KeyUp(still, vk, shift, keypad);
}

void Type(TWinControl* c, const QString& text)
{
    const std::uint64_t serial = ControlSerial(c);
    for (QChar qc : text) {
        auto* still = dynamic_cast<TWinControl*>(FindControlBySerial(serial));
        if (!still)
            return;
        const char16_t ch = qc.unicode();
        WORD vk = 0;
        TShiftState shift;
        if (ch >= u'a' && ch <= u'z')
            vk = static_cast<WORD>(ch - 32);
        else if (ch >= u'A' && ch <= u'Z') {
            vk = ch;
            shift |= ssShift;
        } else if (ch >= u'0' && ch <= u'9')
            vk = ch;
        else if (ch == u' ')
            vk = VK_SPACE;
        else if (ch == u'.')
            vk = VK_OEM_PERIOD;
        else if (ch == u',')
            vk = VK_OEM_COMMA;
        else if (ch == u'-')
            vk = VK_OEM_MINUS;
        else if (ch == u'\r' || ch == u'\n')
            vk = VK_RETURN;
        else if (ch == u'\t')
            vk = VK_TAB;
        Key(still, vk, shift, ch, false);
    }
}

void MouseDown(TControl* c, TMouseButton b, TPoint p, TShiftState shift)
{
    // As the window system does, a click focuses a widget that takes focus by click.
    if (auto* wc = dynamic_cast<TWinControl*>(c)) {
        QWidget* w = wc->Widget();
        if (b == mbLeft && (w->focusPolicy() & Qt::ClickFocus) && wc->CanFocus())
            wc->SetFocus();
    }
    SendMouse(c, QEvent::MouseButtonPress, b, p, shift);
}

void MouseUp(TControl* c, TMouseButton b, TPoint p, TShiftState shift)
{
    const std::uint64_t serial = ControlSerial(c);
    SendMouse(c, QEvent::MouseButtonRelease, b, p, shift);
    if (b == mbRight) {
        if (TControl* still = FindControlBySerial(serial)) {
            QPoint local;
            if (QWidget* w = MouseTarget(still, p, local)) {
                QContextMenuEvent ce(QContextMenuEvent::Mouse, local, w->mapToGlobal(local), ModsOf(shift, false));
                QCoreApplication::sendEvent(w, &ce);
            }
        }
    }
}

void MouseMove(TControl* c, TPoint p, TShiftState shift)
{
    SendMouse(c, QEvent::MouseMove, mbLeft, p, shift, true);
}

void DoubleClick(TControl* c, TMouseButton b, TPoint p, TShiftState shift)
{
    const std::uint64_t serial = ControlSerial(c);
    auto alive = [&]() { return FindControlBySerial(serial); };
    SendMouse(c, QEvent::MouseButtonPress, b, p, shift);
    if (alive())
        SendMouse(c, QEvent::MouseButtonRelease, b, p, shift);
    if (alive())
        SendMouse(c, QEvent::MouseButtonDblClick, b, p, shift);
    if (alive())
        SendMouse(c, QEvent::MouseButtonRelease, b, p, shift);
}

void Click(TControl* c, TPoint p, TMouseButton b, TShiftState shift)
{
    const std::uint64_t serial = ControlSerial(c);
    MouseDown(c, b, p, shift);
    if (TControl* still = FindControlBySerial(serial))
        MouseUp(still, b, p, shift);
}

void Wheel(TControl* c, TPoint p, int notches, TShiftState shift)
{
    WheelDelta(c, p, WHEEL_DELTA * notches, shift);
}

void WheelDelta(TControl* c, TPoint p, int delta, TShiftState shift)
{
    QPoint local;
    QWidget* w = MouseTarget(c, p, local);
    if (!w)
        return;
    const QPointF global = w->mapToGlobal(QPointF(local));
    QWheelEvent e(
        QPointF(local), global, QPoint(), QPoint(0, delta), gHeld, ModsOf(shift, false), Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

namespace {
Qt::FocusReason QtReason(FocusReason r)
{
    switch (r) {
    case FocusReason::Tab:
        return Qt::TabFocusReason;
    case FocusReason::Mouse:
        return Qt::MouseFocusReason;
    case FocusReason::Popup:
        return Qt::PopupFocusReason;
    case FocusReason::ActiveWindow:
        return Qt::ActiveWindowFocusReason;
    default:
        return Qt::OtherFocusReason;
    }
}
} // namespace

void FocusIn(TWinControl* c, FocusReason reason)
{
    QFocusEvent e(QEvent::FocusIn, QtReason(reason));
    QCoreApplication::sendEvent(KeyTarget(c), &e);
}

void FocusOut(TWinControl* c, FocusReason reason)
{
    QFocusEvent e(QEvent::FocusOut, QtReason(reason));
    QCoreApplication::sendEvent(KeyTarget(c), &e);
}

} // namespace input
