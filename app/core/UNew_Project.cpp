#include "app/core/UNew_Project.h"

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"

TFNew_Project* FNew_Project = nullptr;

namespace {

// Device names Windows reserves, with or without an extension.
bool Is_Reserved_Device_Name(const QString& name)
{
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList fixed = { QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
        QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$") };
    if (fixed.contains(base))
        return true;
    if (base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))))
        return base[3] >= QLatin1Char('1') && base[3] <= QLatin1Char('9');
    return false;
}

// A folder of that name is already in PROJECTS, in any letter case: projects
// are moved between systems whose file systems ignore case.
bool Project_Folder_Exists(const QString& name)
{
    if (DirectoryExists(Join_Path(Projects_Folder, name)))
        return true;
    for (const TFileEntry& e : ListDirectory(Projects_Folder))
        if (e.Directory && e.Name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Whether a new folder can be made in `folder` at all: tried with a folder
// of a name no project can have, removed at once.
bool Can_Create_In(const QString& folder)
{
    const QString probe = Join_Path(folder, QStringLiteral(".morvantile-write-test"));
    if (DirectoryExists(probe))
        return true;
    if (!CreateDir(probe))
        return false;
    RemoveDir(probe);
    return true;
}

void Show_Error(const QString& text)
{
    MessageDlg(text, mtError, TMsgDlgButtons(mbOK), 0);
}

} // namespace

bool Is_Valid_Project_Folder_Name(const QString& name)
{
    if (!Is_Safe_Project_Name(name))
        return false;
    const QChar last = name.back();
    if (last == QLatin1Char(' ') || last == QLatin1Char('.'))
        return false;
    return !Is_Reserved_Device_Name(name);
}

TFNew_Project::TFNew_Project(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FNew_Project"));
    Setup_Tool_Form(this, 331, 162);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;

    Label1 = new TLabel(this);
    Label1->SetName(QStringLiteral("Label1"));
    Label1->SetParent(this);
    Label1->SetLeft(16);
    Label1->SetTop(80);

    E_New_Proj = new TEdit(this);
    E_New_Proj->SetName(QStringLiteral("E_New_Proj"));
    E_New_Proj->SetParent(this);
    E_New_Proj->SetBounds(16, 96, 299, 21);
    E_New_Proj->SetShowHint(true);
    E_New_Proj->OnKeyPress = [this](TObject* s, char16_t& k) { E_New_ProjKeyPress(s, k); };

    P_Button = Create_Button_Panel(this, 36);

    auto makeButton = [this](const char* name, int left) {
        auto* b = new TLbButton(this);
        b->SetName(QString::fromLatin1(name));
        b->SetParent(P_Button);
        b->SetBounds(left, 4, 100, 26);
        b->SetStyle(bsEncarta);
        b->SetShowHint(true);
        Setup_Tool_Button(b);
        return b;
    };
    Btn_OK = makeButton("Btn_OK", 107);
    Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
    Btn_Cancel = makeButton("Btn_Cancel", 215);
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_Cancel->SetCancel(true);

    OnShow = [this](TObject* s) { FormShow(s); };
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFNew_Project::~TFNew_Project()
{
    if (FNew_Project == this)
        FNew_Project = nullptr;
}

void TFNew_Project::Set_Lang()
{
    SetCaption(Lang(100));
    L_SW_Desc->SetCaption(Lang(101));
    Label1->SetCaption(Lang(102));
    Btn_OK->SetCaption(Lang(103));
    Btn_Cancel->SetCaption(Lang(104));
    E_New_Proj->SetHint(Lang(108));
    Btn_OK->SetHint(Lang(109));
    Btn_Cancel->SetHint(Lang(110));
}

void TFNew_Project::FormShow(TObject*)
{
    E_New_Proj->SetText(QString());
    if (E_New_Proj->CanFocus())
        E_New_Proj->SetFocus();
}

void TFNew_Project::E_New_ProjKeyPress(TObject* Sender, char16_t& Key)
{
    if (Key == 13) {
        Key = 0;
        Btn_OKClick(Sender);
    }
}

TNew_Project_Error TFNew_Project::Create_Project(const QString& name)
{
    // The name is taken exactly as typed.
    if (name.isEmpty())
        return TNew_Project_Error::Empty;
    if (!Is_Valid_Project_Folder_Name(name))
        return TNew_Project_Error::Invalid;
    if (Project_Folder_Exists(name))
        return TNew_Project_Error::Exists;
    // PROJECTS deleted since the start is made again.
    if (!DirectoryExists(Projects_Folder))
        ForceDirectories(Projects_Folder);
    const QString folder = Join_Path(Projects_Folder, name);
    // The name passed every check: a failure here is the folder's, unless
    // the file system still refuses the name (too long, for one).
    if (!CreateDir(folder))
        return Can_Create_In(Projects_Folder) ? TNew_Project_Error::Invalid : TNew_Project_Error::Not_Writable;
    if (!ForceDirectories(Join_Path(folder, QStringLiteral("bin")))) {
        RemoveDir(folder);
        return TNew_Project_Error::Not_Writable;
    }
    Project_Name = name;
    Project_Folder = folder;
    if (FMorvantinoFirmWare)
        FMorvantinoFirmWare->Set_Files();
    else
        Set_Project_Files();
    return TNew_Project_Error::None;
}

void TFNew_Project::Btn_OKClick(TObject*)
{
    switch (Create_Project(E_New_Proj->Text())) {
    case TNew_Project_Error::None:
        SetModalResult(mrOk);
        return;
    case TNew_Project_Error::Empty:
        Show_Error(Lang(107));
        return;
    case TNew_Project_Error::Exists:
        Show_Error(Lang(106));
        return;
    case TNew_Project_Error::Invalid:
        Show_Error(Lang(105));
        return;
    case TNew_Project_Error::Not_Writable:
        Show_Error(
            QStringLiteral("The folder %1 cannot be written: no project can be created in it.").arg(Projects_Folder));
        return;
    }
}
