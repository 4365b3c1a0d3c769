#include "app/core/UAbout.h"

#include "app/core/UComon.h"
#include "platform/controls/StdCtrls.h"

TFAbout* FAbout = nullptr;

TFAbout::TFAbout(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FAbout"));
    Setup_Tool_Form(this, 425, 148);
    SetCaption(QStringLiteral("About..."));
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    L_SW_Desc->SetCaption(SW_Desc);
}

TFAbout::~TFAbout()
{
    if (FAbout == this)
        FAbout = nullptr;
}
