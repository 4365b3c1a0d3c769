#include "app/tables/UTransmitJ1939.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFTransmitJ1939* FTransmitJ1939 = nullptr;

TFTransmitJ1939::TFTransmitJ1939(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FTransmitJ1939"));
    Setup_Tool_Form(this, 640, 420);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFTransmitJ1939::~TFTransmitJ1939()
{
    if (FTransmitJ1939 == this)
        FTransmitJ1939 = nullptr;
}

void TFTransmitJ1939::Set_Lang()
{
    SetCaption(Lang(2400));
    L_SW_Desc->SetCaption(Lang(2401));
}
