#include "platform/controls/Messages.h"

#include <QCoreApplication>
#include <QHash>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>

#include "platform/controls/Controls.h"
#include "platform/controls/ControlsPrivate.h"

namespace {

bool OnMainThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void Deliver(std::uint64_t serial, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TControl* c = FindControlBySerial(serial);
    if (!c)
        return;
    try {
        // A posted key-down goes through the dialog keys first, as a typed
        // one does: a Tab posted to a form, or to a control that does not
        // want Tab, moves the focus on (Shift back).
        if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && dynamic_cast<TWinControl*>(c)
            && c->Perform(msg == WM_KEYDOWN ? CN_KEYDOWN : CN_SYSKEYDOWN, wParam, lParam) != 0)
            return;
        if (FindControlBySerial(serial) != c)
            return;
        c->Perform(msg, wParam, lParam);
    } catch (...) {
        HandleException(c);
    }
}

// Serials are read on the main thread only; a worker posts by window identity
// (HWND is the serial) or by pointer, which is resolved on delivery.
bool Post(std::uint64_t serial, UINT msg, WPARAM wParam, LPARAM lParam)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || serial == 0)
        return false;
    QMetaObject::invokeMethod(
        app, [serial, msg, wParam, lParam]() { Deliver(serial, msg, wParam, lParam); }, Qt::QueuedConnection);
    return true;
}

} // namespace

LRESULT SendMessage(TControl* control, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return control ? control->Perform(msg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessage(static_cast<TControl*>(FindControl(wnd)), msg, wParam, lParam);
}

bool PostMessage(TControl* control, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!control)
        return false;
    return Post(ControlSerial(control), msg, wParam, lParam);
}

bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Post(static_cast<std::uint64_t>(wnd), msg, wParam, lParam);
}

UINT RegisterWindowMessage(const QString& name)
{
    static QMutex mutex;
    static QHash<QString, UINT> ids;
    static UINT next = 0xC000;
    if (name.isEmpty())
        return 0;
    QMutexLocker lock(&mutex);
    const QString key = name.toCaseFolded();
    auto it = ids.constFind(key);
    if (it != ids.constEnd())
        return it.value();
    if (next > 0xFFFF)
        return 0;
    const UINT id = next++;
    ids.insert(key, id);
    return id;
}

// ---------------------------------------------------------------------------
// Timers

namespace {
std::map<std::pair<std::uint64_t, UINT>, QTimer*>& Timers()
{
    static std::map<std::pair<std::uint64_t, UINT>, QTimer*> map;
    return map;
}
} // namespace

UINT SetTimer(TControl* control, UINT id, UINT elapseMs)
{
    if (!control || !QCoreApplication::instance())
        return 0;
    const std::uint64_t serial = ControlSerial(control);
    auto key = std::make_pair(serial, id);
    QTimer*& t = Timers()[key];
    if (!t) {
        t = new QTimer();
        QObject::connect(t, &QTimer::timeout, [serial, id]() { Deliver(serial, WM_TIMER, id, 0); });
    }
    t->start(static_cast<int>(std::max<UINT>(elapseMs, 1)));
    return id;
}

bool KillTimer(TControl* control, UINT id)
{
    auto it = Timers().find(std::make_pair(ControlSerial(control), id));
    if (it == Timers().end())
        return false;
    QTimer* t = it->second;
    Timers().erase(it);
    t->stop();
    t->deleteLater();
    return true;
}

void KillAllTimers(TControl* control)
{
    const std::uint64_t serial = ControlSerial(control);
    auto& map = Timers();
    for (auto it = map.lower_bound(std::make_pair(serial, UINT(0))); it != map.end() && it->first.first == serial;) {
        QTimer* t = it->second;
        it = map.erase(it);
        t->stop();
        if (QCoreApplication::instance())
            t->deleteLater();
        else
            delete t;
    }
}

// ---------------------------------------------------------------------------
// Synchronize

namespace {
struct SyncCall {
    std::mutex m;
    std::condition_variable cv;
    bool started = false;
    bool done = false;
    bool withdrawn = false;
    std::exception_ptr error;
};
} // namespace

bool Synchronize(const std::function<void()>& fn, const std::function<bool()>& cancelled)
{
    if (OnMainThread() || !QCoreApplication::instance()) {
        fn();
        return true;
    }
    auto call = std::make_shared<SyncCall>();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [call, fn]() {
            {
                std::lock_guard<std::mutex> lock(call->m);
                if (call->withdrawn)
                    return;
                call->started = true;
            }
            try {
                fn();
            } catch (...) {
                call->error = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(call->m);
                call->done = true;
            }
            call->cv.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(call->m);
    while (!call->done) {
        call->cv.wait_for(lock, std::chrono::milliseconds(5));
        if (call->done)
            break;
        if (!call->started && cancelled) {
            lock.unlock();
            const bool stop = cancelled();
            lock.lock();
            if (stop && !call->started) {
                call->withdrawn = true;
                return false;
            }
        }
    }
    if (call->error)
        std::rethrow_exception(call->error);
    return true;
}

// ---------------------------------------------------------------------------
// TTimer

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner)
{
    Update();
}

TTimer::~TTimer()
{
    *FAlive = false;
    if (FTimer) {
        FTimer->stop();
        QObject::disconnect(FTimer, nullptr, nullptr, nullptr);
        // Freed from its own OnTimer: let Qt finish the signal first.
        if (FFiring && QCoreApplication::instance())
            FTimer->deleteLater();
        else
            delete FTimer;
        FTimer = nullptr;
    }
}

void TTimer::SetEnabled(bool v)
{
    if (FEnabled == v)
        return;
    FEnabled = v;
    Update();
}

void TTimer::SetInterval(unsigned ms)
{
    if (FInterval == ms)
        return;
    FInterval = ms;
    if (FTimer && FTimer->isActive())
        FTimer->stop();
    Update();
}

void TTimer::Update()
{
    const bool run = FEnabled && FInterval > 0 && !IsDesigning();
    if (!run) {
        if (FTimer)
            FTimer->stop();
        return;
    }
    if (!FTimer) {
        if (!QCoreApplication::instance())
            return;
        FTimer = new QTimer();
        QObject::connect(FTimer, &QTimer::timeout, [this]() { Fire(); });
    }
    if (!FTimer->isActive())
        FTimer->start(static_cast<int>(FInterval));
}

void TTimer::Fire()
{
    if (!OnTimer)
        return;
    // The handler may free the timer: keep what is needed afterwards.
    const std::shared_ptr<bool> alive = FAlive;
    const TNotifyEvent fn = OnTimer;
    FFiring = true;
    try {
        fn(this);
    } catch (...) {
        if (*alive)
            FFiring = false;
        HandleException(alive && *alive ? this : nullptr);
        return;
    }
    if (*alive)
        FFiring = false;
}
