#include "app/tables/UProfinetFileName.h"

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/SysUtils.h"

TFProfinetFileName* FProfinetFileName = nullptr;

QString Compose_GSDML_Name(const QString& prefix, const QString& user, const QString& suffix)
{
    if (user.trimmed().isEmpty())
        return prefix + suffix;
    if (user.startsWith(QLatin1Char('_')))
        return prefix + user + suffix;
    return prefix + QLatin1Char('_') + user + suffix;
}

QString GSDML_Date_Suffix(TDateTime date)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(date, y, m, d);
    return QStringLiteral("-%1%2%3.xml")
        .arg(y, 4, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(d, 2, 10, QLatin1Char('0'));
}

TFProfinetFileName::TFProfinetFileName(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FProfinetFileName"));
    Setup_Tool_Form(this, 540, 205);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;

    L_Select_Name = Create_Tool_Label(this, this, "L_Select_Name", 16, 80);
    L_Select_Name->Font()->SetStyle(TFontStyles(TFontStyle::fsBold));
    L_FixPart_1 = Create_Tool_Label(this, this, "L_FixPart_1", 16, 106);
    L_XML_Fix1 = Create_Tool_Label(this, this, "L_XML_Fix1", 16, 126);
    L_XML_Fix1->SetCaption(GSDML_Name_Prefix);
    L_UsedPart = Create_Tool_Label(this, this, "L_UsedPart", 179, 106);
    E_XML_User = new TEdit(this);
    E_XML_User->SetName(QStringLiteral("E_XML_User"));
    E_XML_User->SetParent(this);
    E_XML_User->SetBounds(179, 122, 257, 21);
    L_FixPart_2 = Create_Tool_Label(this, this, "L_FixPart_2", 447, 106);
    L_XML_Fix2 = Create_Tool_Label(this, this, "L_XML_Fix2", 447, 126);

    P_Button = Create_Button_Panel(this, 36);
    Btn_OK = Create_Tool_Button(this, P_Button, "Btn_OK", 163, 4, 100, 26);
    Btn_OK->OnClick = [this](TObject* s) { Btn_OK_Click(s); };
    Btn_Cancel = Create_Tool_Button(this, P_Button, "Btn_Cancel", 277, 4, 100, 26);
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_Cancel->SetCancel(true);

    OnShow = [this](TObject* s) { FormShow(s); };
    L_SW_Code->SetCaption(SW_Code);
    L_XML_Fix2->SetCaption(GSDML_Date_Suffix(services::ClockService()->Now()));
    Set_Lang();
}

TFProfinetFileName::~TFProfinetFileName()
{
    if (FProfinetFileName == this)
        FProfinetFileName = nullptr;
}

void TFProfinetFileName::Set_Lang()
{
    SetCaption(Lang(1700));
    L_SW_Desc->SetCaption(Lang(1701));
    L_Select_Name->SetCaption(Lang(1702));
    L_FixPart_1->SetCaption(Lang(1703));
    L_UsedPart->SetCaption(Lang(1704));
    L_FixPart_2->SetCaption(Lang(1705));
    Btn_OK->SetCaption(Lang(1706));
    Btn_Cancel->SetCaption(Lang(1707));
}

void TFProfinetFileName::FormShow(TObject*)
{
    // The program may run past midnight: the date is the one of this showing.
    L_XML_Fix2->SetCaption(GSDML_Date_Suffix(services::ClockService()->Now()));
    if (E_XML_User->CanFocus())
        E_XML_User->SetFocus();
}

void TFProfinetFileName::Btn_OK_Click(TObject*)
{
    const QString name = Compose_GSDML_Name(L_XML_Fix1->Caption(), E_XML_User->Text(), L_XML_Fix2->Caption());
    // The name is joined to the chosen folder: it must stay one file name
    // there, and one a Windows file system takes.
    if (!Is_Safe_Project_Name(name)) {
        MessageDlg(QStringLiteral("Error! The file name is not valid"), mtError, TMsgDlgButtons(mbOK), 0);
        return;
    }
    Name_File_XML = name;
    SetModalResult(mrOk);
}
