#include "app/core/UNew_Project.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFNew_Project* FNew_Project = nullptr;

TFNew_Project::TFNew_Project(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FNew_Project"));
    Setup_Tool_Form(this, 331, 162);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFNew_Project::~TFNew_Project()
{
    if (FNew_Project == this)
        FNew_Project = nullptr;
}

void TFNew_Project::Set_Lang()
{
    SetCaption(Lang(100));
    L_SW_Desc->SetCaption(Lang(101));
}
