#include "app/tables/USet_SDO_Client_Access.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFSet_SDO_Client_Access* FSet_SDO_Client_Access = nullptr;

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FSet_SDO_Client_Access"));
    Setup_Tool_Form(this, 640, 420);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFSet_SDO_Client_Access::~TFSet_SDO_Client_Access()
{
    if (FSet_SDO_Client_Access == this)
        FSet_SDO_Client_Access = nullptr;
}

void TFSet_SDO_Client_Access::Set_Lang()
{
    SetCaption(Lang(2100));
    L_SW_Desc->SetCaption(Lang(2101));
}
