#pragma once
// The CANopen SDO server table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFSet_SDO_Server_Access : public TForm {
public:
    explicit TFSet_SDO_Server_Access(TComponent* AOwner);
    ~TFSet_SDO_Server_Access() override;
    QString ClassName() const override { return QStringLiteral("TFSet_SDO_Server_Access"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFSet_SDO_Server_Access* FSet_SDO_Server_Access;
