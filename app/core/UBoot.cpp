#include "app/core/UBoot.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFBoot* FBoot = nullptr;

TFBoot::TFBoot(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FBoot"));
    Setup_Tool_Form(this, 449, 230);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    Set_Lang();
}

TFBoot::~TFBoot()
{
    if (FBoot == this)
        FBoot = nullptr;
}

void TFBoot::Set_Lang()
{
    const int base = Form_Type == 0 ? 1500 : 1502;
    SetCaption(Lang(base));
    L_SW_Desc->SetCaption(Lang(base + 1));
}

void TFBoot::FormShow(TObject*)
{
    Set_Lang();
    L_SW_Code->SetCaption(SW_Code);
}
