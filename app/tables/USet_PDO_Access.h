#pragma once
// The CANopen PDO table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFSet_PDO_Access : public TForm {
public:
    explicit TFSet_PDO_Access(TComponent* AOwner);
    ~TFSet_PDO_Access() override;
    QString ClassName() const override { return QStringLiteral("TFSet_PDO_Access"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFSet_PDO_Access* FSet_PDO_Access;
