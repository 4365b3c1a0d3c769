#include "app/tables/UOPC_UA_Server_Access.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFOPC_UA_Server_Access* FOPC_UA_Server_Access = nullptr;

TFOPC_UA_Server_Access::TFOPC_UA_Server_Access(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FOPC_UA_Server_Access"));
    Setup_Tool_Form(this, 640, 420);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFOPC_UA_Server_Access::~TFOPC_UA_Server_Access()
{
    if (FOPC_UA_Server_Access == this)
        FOPC_UA_Server_Access = nullptr;
}

void TFOPC_UA_Server_Access::Set_Lang()
{
    SetCaption(Lang(2800));
    L_SW_Desc->SetCaption(Lang(2801));
}
