#include "app/core/USoftOptions.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFSoftOptions* FSoftOptions = nullptr;

TFSoftOptions::TFSoftOptions(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FSoftOptions"));
    Setup_Tool_Form(this, 480, 360);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    OnShow = [this](TObject*) { Language_In_Use = Language_Name; };
    Set_Lang();
}

TFSoftOptions::~TFSoftOptions()
{
    if (FSoftOptions == this)
        FSoftOptions = nullptr;
}

void TFSoftOptions::Set_Lang()
{
    SetCaption(Lang(300));
    L_SW_Desc->SetCaption(Lang(301));
}

bool TFSoftOptions::Check_Version()
{
    return false;
}
