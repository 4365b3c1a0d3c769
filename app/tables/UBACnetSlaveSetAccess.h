#pragma once
// The BACnet object tables. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFBACnetSlaveSetAccess : public TForm {
public:
    explicit TFBACnetSlaveSetAccess(TComponent* AOwner);
    ~TFBACnetSlaveSetAccess() override;
    QString ClassName() const override { return QStringLiteral("TFBACnetSlaveSetAccess"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess;
