#pragma once
// Replaceable services: the message box, the file dialogs, opening a link in
// the browser, the beep and the clock. Each has a default built on Qt and a
// setter, so a test can answer dialogs and fix the time. Without a screen
// (offscreen platform) the default message box writes its text to stderr and
// answers as Escape would, and the default file dialogs cancel: a dialog
// nobody can see must not hang the process.

#include <QFlags>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "platform/runtime/Types.h"

using TModalResult = int;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : unsigned {
    mbYes = 0x001,
    mbNo = 0x002,
    mbOK = 0x004,
    mbCancel = 0x008,
    mbAbort = 0x010,
    mbRetry = 0x020,
    mbIgnore = 0x040,
    mbAll = 0x080,
    mbNoToAll = 0x100,
    mbYesToAll = 0x200,
    mbHelp = 0x400,
    mbClose = 0x800,
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

inline const TMsgDlgButtons mbYesNo = TMsgDlgButtons(mbYes) | mbNo;
inline const TMsgDlgButtons mbYesNoCancel = TMsgDlgButtons(mbYes) | mbNo | mbCancel;
inline const TMsgDlgButtons mbOKCancel = TMsgDlgButtons(mbOK) | mbCancel;
inline const TMsgDlgButtons mbAbortRetryIgnore = TMsgDlgButtons(mbAbort) | mbRetry | mbIgnore;

// The modal result each button returns.
TModalResult ModalResultOfButton(TMsgDlgBtn b);

struct TMessageBoxRequest {
    QString Text;
    QString Caption;
    TMsgDlgType DlgType = mtInformation;
    TMsgDlgButtons Buttons = mbOK;
    // The button that Enter presses; 0 for the first of Buttons.
    unsigned DefaultButton = 0;
    int HelpCtx = 0;
};

class IMessageBoxService {
public:
    virtual ~IMessageBoxService() = default;
    // Shows the box modally and returns the pressed button's modal result
    // (mrCancel, or mrNo when there is no Cancel, when closed otherwise).
    virtual TModalResult Show(const TMessageBoxRequest& request) = 0;
};

enum class TFileDialogKind { Open, Save };

struct TFileDialogRequest {
    TFileDialogKind Kind = TFileDialogKind::Open;
    QString Title;
    // The toolkit's filter: "Text|*.txt|All|*.*" (description, pattern pairs).
    QString Filter;
    // 1-based index of the chosen filter pair (in and out).
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    // In: the proposed name; out: the chosen one.
    QString FileName;
    bool AllowMultiSelect = false;
    bool FileMustExist = false;
    // Out: every chosen file (one unless AllowMultiSelect).
    QStringList Files;
};

class IFileDialogService {
public:
    virtual ~IFileDialogService() = default;
    // Returns false when the user cancels.
    virtual bool Execute(TFileDialogRequest& request) = 0;
};

class IShellService {
public:
    virtual ~IShellService() = default;
    // Opens an already checked http, https or mailto link.
    virtual bool OpenUrl(const QString& url) = 0;
};

class IBeepService {
public:
    virtual ~IBeepService() = default;
    virtual void Beep() = 0;
};

class IClockService {
public:
    virtual ~IClockService() = default;
    // Local date and time as days since 1899-12-30. A replaced clock also
    // answers the runtime's Now(), Date() and Time().
    virtual TDateTime Now() = 0;
    // Milliseconds from an arbitrary start, never going back.
    virtual std::uint64_t TickCount() = 0;
};

namespace services {
// The current service (the Qt default unless replaced). Setting nullptr
// restores the default; each setter returns the one it replaces. A replaced
// service is not owned.
IMessageBoxService* MessageBoxService();
IMessageBoxService* SetMessageBoxService(IMessageBoxService* s);
IFileDialogService* FileDialogService();
IFileDialogService* SetFileDialogService(IFileDialogService* s);
IShellService* ShellService();
IShellService* SetShellService(IShellService* s);
IBeepService* BeepService();
IBeepService* SetBeepService(IBeepService* s);
IClockService* ClockService();
IClockService* SetClockService(IClockService* s);
} // namespace services

// Opens a link in the browser. Only http, https and mailto links are passed
// on; anything else (files, programs, other schemes) is refused with false.
bool OpenURL(const QString& url);
bool IsOpenableURL(const QString& url);
void Beep();
std::uint64_t GetTickCount64();
