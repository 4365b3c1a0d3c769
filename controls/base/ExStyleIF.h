#pragma once
// The grid library's style vocabulary and its link to the desktop's colour
// scheme: component styles, colour tones, the Office colour-scheme detection
// and the shared notifier that tells registered windows of scheme changes.

#include "platform/controls/Controls.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/Colors.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Registry.h"

#include <QList>
#include <QString>
#include <memory>
#include <thread>

enum class TVRKStyle {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal,
    tsOffice2010Blue,
    tsOffice2010Silver,
    tsOffice2010Black
};

enum class TOfficeTheme {
    ot2003Blue,
    ot2003Silver,
    ot2003Olive,
    ot2003Classic,
    ot2007Blue,
    ot2007Silver,
    ot2007Black,
    ot2010Blue,
    ot2010Silver,
    ot2010Black,
    otUnknown
};

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// A control that takes on a whole predefined style.
class IVRKStyle {
public:
    virtual ~IVRKStyle() = default;
    virtual void SetComponentStyle(TVRKStyle AStyle) = 0;
};

// A control that takes its colours from a set of tones.
class IVRKTones {
public:
    virtual ~IVRKTones() = default;
    virtual void SetColorTones(const TColorTones& ATones) = 0;
};

// Sent to registered windows when the Office colour scheme changes: WParam is
// the watched root key, LParam points to the key path as zero-terminated
// UTF-16, valid only during the call.
inline constexpr UINT WM_OFFICETHEMECHANGE = 2993;

inline const QString OfficeKey14 = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common");
inline const QString OfficeKey12 = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common");

class THandleList {
public:
    int Count() const { return int(FItems.size()); }
    int Add(HWND Value);
    void Insert(int Index, HWND Value);
    // Raise EListError outside 0..Count - 1.
    void Delete(int Index);
    HWND GetInteger(int Index) const;
    void SetInteger(int Index, HWND Value);
    // Removes the first equal handle; nothing when absent.
    void DeleteValue(HWND Value);
    bool HasValue(HWND Value) const { return FItems.contains(Value); }

private:
    void CheckIndex(int Index) const;
    QList<HWND> FItems;
};

// Watches a registry key (sub-keys included) and sends WM_OFFICETHEMECHANGE,
// on the main thread, to Wnd and then to every window of the list whenever a
// value under the key is written. Created suspended; Start runs it.
class TRegMonitorThread {
public:
    TRegMonitorThread();
    // Stops the thread and waits for its end; freed while its own send runs
    // (a window's handler frees it), it lets the thread end on its own.
    ~TRegMonitorThread();
    TRegMonitorThread(const TRegMonitorThread&) = delete;
    TRegMonitorThread& operator=(const TRegMonitorThread&) = delete;

    // Key, RootKey and Wnd are read once, by Start.
    QString Key() const { return FKey; }
    void SetKey(const QString& Value) { FKey = Value; }
    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY Value) { FRootKey = Value; }
    // Stored only: sub-keys are always watched.
    bool WatchSub() const { return FWatchSub; }
    void SetWatchSub(bool Value) { FWatchSub = Value; }
    // Change kinds; 0 reads as 15 (all).
    quint32 Filter() const { return FFilter == 0 ? 15 : FFilter; }
    void SetFilter(quint32 Value) { FFilter = Value; }
    HWND Wnd() const { return FWnd; }
    void SetWnd(HWND Value) { FWnd = Value; }

    // The registered windows; the list is shared with the thread, so it is
    // read as a copy and changed through these calls only.
    THandleList WinList() const;
    void AddWindow(HWND Value);
    void RemoveWindow(HWND Value);

    void Start();
    // Ends the loop: a pending send is withdrawn and nothing is sent afterwards.
    void Stop();
    bool Terminated() const;
    // The thread has left its loop (a key that cannot be opened ends it at once).
    bool Finished() const;
    // The reason the thread ended early, empty otherwise.
    QString ErrorMessage() const;

    struct TState;

private:
    static void Execute(const std::shared_ptr<TState>& State);
    static void SendChange(const std::shared_ptr<TState>& State);

    QString FKey;
    HKEY FRootKey = HKEY_CURRENT_USER;
    bool FWatchSub = false;
    quint32 FFilter = 0;
    HWND FWnd = 0;
    // Shared with the thread, which may outlive this object by one send.
    std::shared_ptr<TState> FState;
    std::thread FThread;
};

// The hidden window that receives the monitor thread's messages.
class TThemeNotifierWindow : public TWinControl {
public:
    explicit TThemeNotifierWindow(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TThemeNotifierWindow"); }
    TNotifyEvent OnOfficeThemeChange;

protected:
    void WndProc(TMessage& Message) override;
};

class TThemeNotifier : public TComponent {
public:
    // With Office 12 or 14 present (and not while designing) it makes its
    // hidden window and a monitor thread on that version's key.
    explicit TThemeNotifier(TComponent* AOwner);
    ~TThemeNotifier() override;
    QString ClassName() const override { return QStringLiteral("TThemeNotifier"); }

    // Both do nothing without a monitor thread.
    void RegisterWindow(HWND Wnd);
    void UnRegisterWindow(HWND Wnd);

    TRegMonitorThread* RegMonitorThread() const { return FRegMonitorThread.get(); }
    TThemeNotifierWindow* NotifierWindow() const { return FNotifier; }
    TNotifyEvent OnOfficeThemeChange;

private:
    void DoOfficeThemeChange(TObject* Sender);

    std::unique_ptr<TRegMonitorThread> FRegMonitorThread;
    TThemeNotifierWindow* FNotifier = nullptr;
};

// The user's Office colour scheme (Office 14, then 12, then the visual style).
TOfficeTheme GetOfficeTheme();
// Colour scheme of the active visual style: 1 normal, 2 olive, 3 silver, 0 none or other.
int GetXPThemeName();
// 2 for Office 14, 1 for Office 12, 0 for neither.
int DetectOfficeVersion();
// The integer value "Theme" of the key; -1 when the key or the value is missing.
int ReadOfficeThemeValue(TRegistry& Reg, const QString& Key);
bool IsWinXPOrLater();
bool IsWinVistaOrLater();
bool IsComCtl6OrLater();
QString DefaultUIFontName();

// The one notifier of the program, made on first use and owned by the main
// form when that form has a window, else by AOwner.
TThemeNotifier* GetSharedThemeNotifier(TComponent* AOwner);
