#include "app/tables/UHART_Gateway.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFHART_Gateway* FHART_Gateway = nullptr;

TFHART_Gateway::TFHART_Gateway(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FHART_Gateway"));
    Setup_Tool_Form(this, 640, 420);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFHART_Gateway::~TFHART_Gateway()
{
    if (FHART_Gateway == this)
        FHART_Gateway = nullptr;
}

void TFHART_Gateway::Set_Lang()
{
    SetCaption(Lang(1000));
    L_SW_Desc->SetCaption(Lang(1001));
}
