#include "app/tables/UHART_Scan.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFHART_Scan* FHART_Scan = nullptr;

TFHART_Scan::TFHART_Scan(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FHART_Scan"));
    Setup_Tool_Form(this, 640, 420);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(QStringLiteral("HART Scan"));
    Set_Lang();
}

TFHART_Scan::~TFHART_Scan()
{
    if (FHART_Scan == this)
        FHART_Scan = nullptr;
}

void TFHART_Scan::Set_Lang()
{
    SetCaption(Lang(1600));
    L_SW_Desc->SetCaption(Lang(1601));
}
