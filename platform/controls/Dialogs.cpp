#include "platform/controls/Dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/controls/Forms.h"

namespace {
QString AppTitle()
{
    const QString t = Application->Title();
    return t.isEmpty() ? QCoreApplication::applicationName() : t;
}

QString CaptionOf(TMsgDlgType t)
{
    switch (t) {
    case mtWarning:
        return QStringLiteral("Warning");
    case mtError:
        return QStringLiteral("Error");
    case mtInformation:
        return QStringLiteral("Information");
    case mtConfirmation:
        return QStringLiteral("Confirmation");
    default:
        return AppTitle();
    }
}

TModalResult Ask(const TMessageBoxRequest& r)
{
    Application->CancelHint();
    return services::MessageBoxService()->Show(r);
}
} // namespace

TModalResult MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    TMessageBoxRequest r;
    r.Text = Msg;
    r.Caption = CaptionOf(DlgType);
    r.DlgType = DlgType;
    r.Buttons = Buttons;
    r.HelpCtx = HelpCtx;
    return Ask(r);
}

TModalResult MessageDlg(
    const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, TMsgDlgBtn DefaultButton)
{
    TMessageBoxRequest r;
    r.Text = Msg;
    r.Caption = CaptionOf(DlgType);
    r.DlgType = DlgType;
    r.Buttons = Buttons;
    r.HelpCtx = HelpCtx;
    r.DefaultButton = DefaultButton;
    return Ask(r);
}

TMessageBoxRequest MessageBoxRequest(const QString& Text, const QString& Caption, UINT Flags)
{
    TMessageBoxRequest r;
    r.Text = Text;
    r.Caption = Caption;
    TMsgDlgBtn order[3] = { mbOK, mbOK, mbOK };
    int count = 1;
    switch (Flags & 0x0F) {
    case MB_OKCANCEL:
        order[0] = mbOK;
        order[1] = mbCancel;
        count = 2;
        break;
    case MB_ABORTRETRYIGNORE:
        order[0] = mbAbort;
        order[1] = mbRetry;
        order[2] = mbIgnore;
        count = 3;
        break;
    case MB_YESNOCANCEL:
        order[0] = mbYes;
        order[1] = mbNo;
        order[2] = mbCancel;
        count = 3;
        break;
    case MB_YESNO:
        order[0] = mbYes;
        order[1] = mbNo;
        count = 2;
        break;
    case MB_RETRYCANCEL:
        order[0] = mbRetry;
        order[1] = mbCancel;
        count = 2;
        break;
    case MB_CANCELTRYCONTINUE:
        // Try Again and Continue have no button of their own in the set.
        order[0] = mbCancel;
        order[1] = mbRetry;
        order[2] = mbIgnore;
        count = 3;
        break;
    default:
        break;
    }
    r.Buttons = {};
    for (int i = 0; i < count; ++i)
        r.Buttons |= order[i];
    const int def = static_cast<int>((Flags >> 8) & 0x0F);
    r.DefaultButton = order[def < count ? def : 0];
    switch (Flags & 0xF0) {
    case MB_ICONHAND:
        r.DlgType = mtError;
        break;
    case MB_ICONQUESTION:
        r.DlgType = mtConfirmation;
        break;
    case MB_ICONEXCLAMATION:
        r.DlgType = mtWarning;
        break;
    case MB_ICONASTERISK:
        r.DlgType = mtInformation;
        break;
    default:
        r.DlgType = mtCustom;
        break;
    }
    return r;
}

int MessageBox(const QString& Text, const QString& Caption, UINT Flags)
{
    const TMessageBoxRequest r = MessageBoxRequest(Text, Caption, Flags);
    TModalResult res = Ask(r);
    if ((Flags & 0x0F) == MB_CANCELTRYCONTINUE) {
        if (res == mrRetry)
            return IDTRYAGAIN;
        if (res == mrIgnore)
            return IDCONTINUE;
    }
    return res;
}

void ShowMessage(const QString& Msg)
{
    TMessageBoxRequest r;
    r.Text = Msg;
    r.Caption = AppTitle();
    r.DlgType = mtCustom;
    r.Buttons = mbOK;
    Ask(r);
}

// ---------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TComponent(AOwner)
{
}

QString TOpenDialog::WithDefaultExt(const QString& name) const
{
    QString ext = DefaultExt;
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (ext.isEmpty() || name.isEmpty())
        return name;
    if (!QFileInfo(name).suffix().isEmpty())
        return name;
    return name + QLatin1Char('.') + ext;
}

bool TOpenDialog::Execute()
{
    TFileDialogRequest r;
    r.Kind = Kind();
    r.Title = Title;
    r.Filter = Filter;
    r.FilterIndex = FilterIndex;
    r.DefaultExt = DefaultExt;
    r.InitialDir = InitialDir;
    r.FileName = FileName;
    r.AllowMultiSelect = Options.testFlag(ofAllowMultiSelect);
    r.FileMustExist = Options.testFlag(ofFileMustExist);
    Application->CancelHint();
    if (!services::FileDialogService()->Execute(r))
        return false;
    if (r.FileName.isEmpty())
        return false;
    FileName = WithDefaultExt(r.FileName);
    Files.clear();
    for (const QString& f : r.Files)
        Files << WithDefaultExt(f);
    if (Files.isEmpty())
        Files << FileName;
    FilterIndex = r.FilterIndex;
    return true;
}

bool TSaveDialog::Execute()
{
    const QString before = FileName;
    const QStringList filesBefore = Files;
    const int indexBefore = FilterIndex;
    if (!TOpenDialog::Execute())
        return false;
    if (Options.testFlag(ofOverwritePrompt) && QFileInfo::exists(FileName)) {
        const QString msg = FileName + QStringLiteral(" already exists.\nDo you want to replace it?");
        if (MessageDlg(msg, mtWarning, mbYesNo, 0, mbNo) != mrYes) {
            FileName = before;
            Files = filesBefore;
            FilterIndex = indexBefore;
            return false;
        }
    }
    return true;
}
