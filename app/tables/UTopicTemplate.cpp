#include "app/tables/UTopicTemplate.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "platform/controls/StdCtrls.h"

TFTopicTemplate* FTopicTemplate = nullptr;

TFTopicTemplate::TFTopicTemplate(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FTopicTemplate"));
    Setup_Tool_Form(this, 640, 420);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFTopicTemplate::~TFTopicTemplate()
{
    if (FTopicTemplate == this)
        FTopicTemplate = nullptr;
}

void TFTopicTemplate::Set_Lang()
{
    SetCaption(Lang(2600));
    L_SW_Desc->SetCaption(Lang(2602));
}
