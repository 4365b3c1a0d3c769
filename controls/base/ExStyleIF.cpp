#include "controls/base/ExStyleIF.h"

#include "controls/base/ExXPVS.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/Exceptions.h"

#include <atomic>
#include <mutex>
#include <vector>

// ---------------------------------------------------------------------------
// THandleList

void THandleList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

int THandleList::Add(HWND Value)
{
    FItems.append(Value);
    return Count() - 1;
}

void THandleList::Insert(int Index, HWND Value)
{
    if (Index < 0 || Index > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.insert(Index, Value);
}

void THandleList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.removeAt(Index);
}

HWND THandleList::GetInteger(int Index) const
{
    CheckIndex(Index);
    return FItems[Index];
}

void THandleList::SetInteger(int Index, HWND Value)
{
    CheckIndex(Index);
    FItems[Index] = Value;
}

void THandleList::DeleteValue(HWND Value)
{
    const qsizetype i = FItems.indexOf(Value);
    if (i >= 0)
        FItems.removeAt(i);
}

// ---------------------------------------------------------------------------
// TRegMonitorThread

struct TRegMonitorThread::TState {
    mutable std::mutex Mutex;
    THandleList WinList;
    HWND Wnd = 0;
    HKEY RootKey = HKEY_CURRENT_USER;
    QString Key;
    std::unique_ptr<TRegChangeWaiter> Event;
    QString Error;
    std::atomic<bool> Terminated { false };
    std::atomic<bool> Finished { false };
    // True on the main thread while the windows are being told.
    std::atomic<bool> Sending { false };
};

TRegMonitorThread::TRegMonitorThread()
    : FState(std::make_shared<TState>())
{
}

TRegMonitorThread::~TRegMonitorThread()
{
    Stop();
    if (!FThread.joinable())
        return;
    // Freed from a window's handler during a send: the thread waits for that
    // very send, so joining here would never end. It ends by itself instead.
    if (FState->Sending)
        FThread.detach();
    else
        FThread.join();
}

THandleList TRegMonitorThread::WinList() const
{
    std::lock_guard<std::mutex> lock(FState->Mutex);
    return FState->WinList;
}

void TRegMonitorThread::AddWindow(HWND Value)
{
    std::lock_guard<std::mutex> lock(FState->Mutex);
    if (!FState->WinList.HasValue(Value))
        FState->WinList.Add(Value);
}

void TRegMonitorThread::RemoveWindow(HWND Value)
{
    std::lock_guard<std::mutex> lock(FState->Mutex);
    FState->WinList.DeleteValue(Value);
}

bool TRegMonitorThread::Terminated() const
{
    return FState->Terminated;
}

bool TRegMonitorThread::Finished() const
{
    return FState->Finished;
}

QString TRegMonitorThread::ErrorMessage() const
{
    std::lock_guard<std::mutex> lock(FState->Mutex);
    return FState->Error;
}

void TRegMonitorThread::Start()
{
    if (FThread.joinable() || FState->Terminated)
        return;
    {
        std::lock_guard<std::mutex> lock(FState->Mutex);
        FState->Wnd = FWnd;
        FState->RootKey = FRootKey;
        FState->Key = FKey;
        // The waiter exists before the thread runs, so a value written right
        // after Start is not missed.
        TRegistry reg;
        reg.SetRootKey(FRootKey);
        if (reg.OpenKeyReadOnly(FKey))
            FState->Event = std::make_unique<TRegChangeWaiter>(FRootKey, FKey);
    }
    FThread = std::thread([state = FState] { Execute(state); });
}

void TRegMonitorThread::Stop()
{
    FState->Terminated = true;
    std::lock_guard<std::mutex> lock(FState->Mutex);
    if (FState->Event)
        FState->Event->Cancel();
}

void TRegMonitorThread::Execute(const std::shared_ptr<TState>& State)
{
    TRegChangeWaiter* event = nullptr;
    {
        std::lock_guard<std::mutex> lock(State->Mutex);
        event = State->Event.get();
        if (!event)
            State->Error = QStringLiteral("Unable to open registry key ") + State->Key;
    }
    // A key that cannot be opened ends the thread quietly: no window is told.
    while (event && !State->Terminated) {
        if (!event->Wait())
            continue;
        if (State->Terminated)
            break;
        // Changes made while the windows are told are kept for the next round.
        event->Reset();
        SendChange(State);
    }
    State->Finished = true;
}

void TRegMonitorThread::SendChange(const std::shared_ptr<TState>& State)
{
    std::vector<HWND> targets;
    {
        std::lock_guard<std::mutex> lock(State->Mutex);
        if (State->Wnd != 0)
            targets.push_back(State->Wnd);
        for (int i = 0; i < State->WinList.Count(); ++i)
            targets.push_back(State->WinList.GetInteger(i));
    }
    const QString key = State->Key;
    const WPARAM root = WPARAM(State->RootKey);
    Synchronize(
        [&] {
            struct TSendingScope {
                std::atomic<bool>& Flag;
                explicit TSendingScope(std::atomic<bool>& f)
                    : Flag(f)
                {
                    Flag = true;
                }
                ~TSendingScope() { Flag = false; }
            } sending(State->Sending);
            for (HWND wnd : targets) {
                if (State->Terminated)
                    break;
                SendMessage(wnd, WM_OFFICETHEMECHANGE, root, reinterpret_cast<LPARAM>(key.utf16()));
            }
        },
        [&State] { return bool(State->Terminated); });
}

// ---------------------------------------------------------------------------
// TThemeNotifierWindow

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* AOwner)
    : TWinControl(AOwner)
{
}

void TThemeNotifierWindow::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_OFFICETHEMECHANGE && OnOfficeThemeChange)
        OnOfficeThemeChange(this);
    TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TThemeNotifier

namespace {

TThemeNotifier*& SharedNotifier()
{
    static TThemeNotifier* notifier = nullptr;
    return notifier;
}

} // namespace

TThemeNotifier::TThemeNotifier(TComponent* AOwner)
    : TComponent(AOwner)
{
    if (AOwner && AOwner->IsDesigning())
        return;
    const int version = DetectOfficeVersion();
    if (version == 0)
        return;
    FNotifier = new TThemeNotifierWindow(this);
    FNotifier->SetVisible(false);
    if (auto* parent = dynamic_cast<TWinControl*>(AOwner))
        FNotifier->SetParent(parent);
    FNotifier->OnOfficeThemeChange = [this](TObject* Sender) { DoOfficeThemeChange(Sender); };
    FRegMonitorThread = std::make_unique<TRegMonitorThread>();
    FRegMonitorThread->SetWnd(FNotifier->Handle());
    FRegMonitorThread->SetFilter(4);
    FRegMonitorThread->SetKey(version == 2 ? OfficeKey14 : OfficeKey12);
    FRegMonitorThread->SetRootKey(HKEY_CURRENT_USER);
    FRegMonitorThread->SetWatchSub(true);
    FRegMonitorThread->Start();
}

TThemeNotifier::~TThemeNotifier()
{
    // The thread may be waiting for the main thread: Stop releases it first.
    if (FRegMonitorThread)
        FRegMonitorThread->Stop();
    FRegMonitorThread.reset();
    if (SharedNotifier() == this)
        SharedNotifier() = nullptr;
}

void TThemeNotifier::RegisterWindow(HWND Wnd)
{
    if (FRegMonitorThread)
        FRegMonitorThread->AddWindow(Wnd);
}

void TThemeNotifier::UnRegisterWindow(HWND Wnd)
{
    if (FRegMonitorThread)
        FRegMonitorThread->RemoveWindow(Wnd);
}

void TThemeNotifier::DoOfficeThemeChange(TObject*)
{
    if (OnOfficeThemeChange)
        OnOfficeThemeChange(this);
}

TThemeNotifier* GetSharedThemeNotifier(TComponent* AOwner)
{
    if (!SharedNotifier()) {
        TComponent* owner = AOwner;
        if (Application) {
            if (TCustomForm* main = Application->MainForm(); main && main->HandleAllocated())
                owner = main;
        }
        SharedNotifier() = new TThemeNotifier(owner);
    }
    return SharedNotifier();
}

// ---------------------------------------------------------------------------
// Detection

int ReadOfficeThemeValue(TRegistry& Reg, const QString& Key)
{
    if (!Reg.OpenKeyReadOnly(Key))
        return -1;
    int value = -1;
    try {
        if (Reg.ValueExists(QStringLiteral("Theme")))
            value = Reg.ReadInteger(QStringLiteral("Theme"));
    } catch (const Exception&) {
        value = -1;
    }
    Reg.CloseKey();
    return value;
}

int DetectOfficeVersion()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.KeyExists(QStringLiteral("\\Software\\Microsoft\\Office\\14.0\\Common\\General")))
        return 2;
    if (reg.KeyExists(QStringLiteral("\\Software\\Microsoft\\Office\\12.0\\Common\\General")))
        return 1;
    return 0;
}

bool IsWinXPOrLater()
{
    return PlatformInfo().WinXPOrLater;
}

bool IsWinVistaOrLater()
{
    return PlatformInfo().WinVistaOrLater;
}

bool IsComCtl6OrLater()
{
    return PlatformInfo().ComCtl6OrLater;
}

QString DefaultUIFontName()
{
    return IsWinVistaOrLater() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma");
}

int GetXPThemeName()
{
    if (!IsWinXPOrLater() || !ThemeLibraryLoaded())
        return 0;
    const TThemeLibrary& lib = ThemeLibrary();
    if (!lib.IsThemeActive || !lib.IsThemeActive() || !IsComCtl6OrLater() || !lib.GetCurrentThemeName)
        return 0;
    QString file, color, size;
    if (!lib.GetCurrentThemeName(file, color, size) || color.isEmpty())
        return 0;
    // The colour name is looked for inside the known names, as the scheme
    // names of the visual style are.
    if (QStringLiteral("NormalColor").contains(color))
        return 1;
    if (QStringLiteral("HomeStead").contains(color))
        return 2;
    if (QStringLiteral("Metallic").contains(color))
        return 3;
    return 0;
}

TOfficeTheme GetOfficeTheme()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    switch (ReadOfficeThemeValue(reg, QStringLiteral("\\") + OfficeKey14)) {
    case -1:
        break;
    case 1:
        return TOfficeTheme::ot2010Blue;
    case 2:
        return TOfficeTheme::ot2010Silver;
    case 3:
        return TOfficeTheme::ot2010Black;
    default:
        return TOfficeTheme::ot2003Blue;
    }
    switch (ReadOfficeThemeValue(reg, QStringLiteral("\\") + OfficeKey12)) {
    case -1:
        break;
    case 1:
        return TOfficeTheme::ot2007Blue;
    case 2:
        return TOfficeTheme::ot2007Silver;
    case 3:
        return TOfficeTheme::ot2007Black;
    default:
        return TOfficeTheme::ot2003Blue;
    }
    switch (GetXPThemeName()) {
    case 1:
        return TOfficeTheme::ot2003Blue;
    case 2:
        return TOfficeTheme::ot2003Olive;
    case 3:
        return TOfficeTheme::ot2003Silver;
    default:
        return TOfficeTheme::ot2003Classic;
    }
}
