#include "app/core/UOpenConf.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFOpenConf* FOpenConf = nullptr;

TFOpenConf::TFOpenConf(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FOpenConf"));
    Setup_Tool_Form(this, 377, 351);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFOpenConf::~TFOpenConf()
{
    if (FOpenConf == this)
        FOpenConf = nullptr;
}

void TFOpenConf::Set_Lang()
{
    SetCaption(Lang(200));
    L_SW_Desc->SetCaption(Lang(201));
}
