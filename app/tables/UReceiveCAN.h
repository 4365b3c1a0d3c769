#pragma once
// The CAN receive frames table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFReceiveCAN : public TForm {
public:
    explicit TFReceiveCAN(TComponent* AOwner);
    ~TFReceiveCAN() override;
    QString ClassName() const override { return QStringLiteral("TFReceiveCAN"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFReceiveCAN* FReceiveCAN;
