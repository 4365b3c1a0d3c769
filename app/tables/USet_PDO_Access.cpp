#include "app/tables/USet_PDO_Access.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFSet_PDO_Access* FSet_PDO_Access = nullptr;

TFSet_PDO_Access::TFSet_PDO_Access(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FSet_PDO_Access"));
    Setup_Tool_Form(this, 640, 420);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFSet_PDO_Access::~TFSet_PDO_Access()
{
    if (FSet_PDO_Access == this)
        FSet_PDO_Access = nullptr;
}

void TFSet_PDO_Access::Set_Lang()
{
    SetCaption(Lang(2000));
    L_SW_Desc->SetCaption(Lang(2001));
}
