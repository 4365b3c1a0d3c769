#pragma once
// Message boxes in the toolkit's two styles (MessageDlg with a dialog type and
// a button set, MessageBox with MB_ flags) and the open and save dialogs. All
// go through the replaceable services.

#include <QString>
#include <QStringList>

#include "platform/controls/Messages.h"
#include "platform/controls/Services.h"
#include "platform/runtime/Component.h"

// MessageBox flags.
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_OKCANCEL = 0x0001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr UINT MB_YESNOCANCEL = 0x0003;
inline constexpr UINT MB_YESNO = 0x0004;
inline constexpr UINT MB_RETRYCANCEL = 0x0005;
inline constexpr UINT MB_CANCELTRYCONTINUE = 0x0006;
inline constexpr UINT MB_ICONHAND = 0x0010;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x0020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONASTERISK = 0x0040;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr UINT MB_DEFBUTTON1 = 0x0000;
inline constexpr UINT MB_DEFBUTTON2 = 0x0100;
inline constexpr UINT MB_DEFBUTTON3 = 0x0200;
inline constexpr UINT MB_APPLMODAL = 0x0000;
inline constexpr UINT MB_SYSTEMMODAL = 0x1000;
inline constexpr UINT MB_TASKMODAL = 0x2000;
inline constexpr UINT MB_SETFOREGROUND = 0x10000;
inline constexpr UINT MB_TOPMOST = 0x40000;

// MessageBox results (the same numbers as the modal results).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDCLOSE = 8;
inline constexpr int IDHELP = 9;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;

// A box with the type's caption ("Warning", "Error", "Information",
// "Confirmation"; the application title for mtCustom) and icon.
TModalResult MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
TModalResult MessageDlg(
    const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, TMsgDlgBtn DefaultButton);
// Returns IDOK, IDCANCEL, IDYES, ...
int MessageBox(const QString& Text, const QString& Caption, UINT Flags = MB_OK);
// An information box with an OK button and the application title.
void ShowMessage(const QString& Msg);
// The request MessageBox makes of the service for these flags.
TMessageBoxRequest MessageBoxRequest(const QString& Text, const QString& Caption, UINT Flags);

enum TOpenOption : unsigned {
    ofReadOnly = 0x00001,
    ofOverwritePrompt = 0x00002,
    ofHideReadOnly = 0x00004,
    ofNoChangeDir = 0x00008,
    ofShowHelp = 0x00010,
    ofNoValidate = 0x00020,
    ofAllowMultiSelect = 0x00040,
    ofExtensionDifferent = 0x00080,
    ofPathMustExist = 0x00100,
    ofFileMustExist = 0x00200,
    ofCreatePrompt = 0x00400,
    ofShareAware = 0x00800,
    ofNoReadOnlyReturn = 0x01000,
    ofNoTestFileCreate = 0x02000,
    ofNoNetworkButton = 0x04000,
    ofNoLongNames = 0x08000,
    ofOldStyleDialog = 0x10000,
    ofNoDereferenceLinks = 0x20000,
    ofEnableIncludeNotify = 0x40000,
    ofEnableSizing = 0x80000,
};
Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOpenOptions)

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TOpenDialog"); }

    QString Filter;
    // 1-based.
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    QString FileName;
    QString Title;
    TOpenOptions Options = TOpenOptions(ofHideReadOnly) | ofEnableSizing;
    QStringList Files;

    // Shows the dialog; true when the user chose a file (FileName, Files and
    // FilterIndex then hold the choice). A name without extension gets
    // DefaultExt (given with or without its dot, "*.eds" included).
    virtual bool Execute();

protected:
    virtual TFileDialogKind Kind() const { return TFileDialogKind::Open; }
    QString WithDefaultExt(const QString& name) const;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    QString ClassName() const override { return QStringLiteral("TSaveDialog"); }
    // With ofOverwritePrompt, choosing an existing file asks to replace it;
    // answering No cancels the dialog.
    bool Execute() override;

protected:
    TFileDialogKind Kind() const override { return TFileDialogKind::Save; }
};
