#pragma once
// The BACnet engineering-unit picker. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFBACnet_Eng_Unit : public TForm {
public:
    explicit TFBACnet_Eng_Unit(TComponent* AOwner);
    ~TFBACnet_Eng_Unit() override;
    QString ClassName() const override { return QStringLiteral("TFBACnet_Eng_Unit"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFBACnet_Eng_Unit* FBACnet_Eng_Unit;
