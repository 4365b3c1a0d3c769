#include "platform/controls/WindowHooks.h"

#include <QApplication>
#include <QEvent>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/controls/Controls.h"

namespace {

struct THookEntry {
    HHOOK Id;
    HOOKPROC Proc;
};

// Newest first.
std::vector<THookEntry>& Hooks()
{
    static std::vector<THookEntry> hooks;
    return hooks;
}

bool OnMainThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Watches every top-level widget for moves and resizes while a hook is set.
class TWindowPosWatcher : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::Move && e->type() != QEvent::Resize)
            return false;
        if (!o->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(o);
        if (!w->isWindow() || !w->isVisible())
            return false;
        TWinControl* c = FindControlOfWidget(w);
        TWindowPos pos;
        pos.hwnd = c ? c->Handle() : 0;
        const QRect g = w->geometry();
        pos.x = g.x();
        pos.y = g.y();
        pos.cx = g.width();
        pos.cy = g.height();
        TCWPStruct cwp;
        cwp.message = WM_WINDOWPOSCHANGED;
        cwp.hwnd = pos.hwnd;
        cwp.lParam = reinterpret_cast<LPARAM>(&pos);
        // A hook must not stop the window system's own handling.
        try {
            if (!Hooks().empty()) {
                const THookEntry first = Hooks().front();
                first.Proc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
            }
        } catch (...) {
            HandleException(c);
        }
        return false;
    }
};

TWindowPosWatcher*& Watcher()
{
    static TWindowPosWatcher* watcher = nullptr;
    return watcher;
}

HHOOK NextId()
{
    static HHOOK next = 0;
    return ++next;
}

} // namespace

HHOOK SetWindowsHookEx(int IdHook, HOOKPROC Proc)
{
    if (IdHook != WH_CALLWNDPROC || !Proc || !OnMainThread())
        return 0;
    const HHOOK id = NextId();
    Hooks().insert(Hooks().begin(), THookEntry { id, Proc });
    if (!Watcher()) {
        Watcher() = new TWindowPosWatcher();
        QCoreApplication::instance()->installEventFilter(Watcher());
    }
    return id;
}

bool UnhookWindowsHookEx(HHOOK Hook)
{
    auto& hooks = Hooks();
    const auto it = std::find_if(hooks.begin(), hooks.end(), [Hook](const THookEntry& h) { return h.Id == Hook; });
    if (it == hooks.end())
        return false;
    hooks.erase(it);
    if (hooks.empty() && Watcher()) {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeEventFilter(Watcher());
        delete Watcher();
        Watcher() = nullptr;
    }
    return true;
}

LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM wParam, LPARAM lParam)
{
    const auto& hooks = Hooks();
    const auto it = std::find_if(hooks.begin(), hooks.end(), [Hook](const THookEntry& h) { return h.Id == Hook; });
    if (it == hooks.end() || it + 1 == hooks.end())
        return 0;
    const THookEntry next = *(it + 1);
    return next.Proc(Code, wParam, lParam);
}

void SetWindowTransparentForMouse(TWinControl* Window, bool Transparent)
{
    if (!Window)
        return;
    QWidget* w = Window->Widget();
    w->setAttribute(Qt::WA_TransparentForMouseEvents, Transparent);
    if (w->isWindow() && w->testAttribute(Qt::WA_WState_Created)) {
        // Changing a window's flags hides it; it shows again as it was.
        const bool shown = w->isVisible();
        w->setWindowFlag(Qt::WindowTransparentForInput, Transparent);
        if (shown)
            w->show();
    } else if (w->isWindow()) {
        w->setWindowFlag(Qt::WindowTransparentForInput, Transparent);
    }
}

bool WindowTransparentForMouse(TWinControl* Window)
{
    QWidget* w = Window ? Window->WidgetIfAllocated() : nullptr;
    return w && w->testAttribute(Qt::WA_TransparentForMouseEvents);
}
