#pragma once
// The CAN transmit frames table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFTransmitCAN : public TForm {
public:
    explicit TFTransmitCAN(TComponent* AOwner);
    ~TFTransmitCAN() override;
    QString ClassName() const override { return QStringLiteral("TFTransmitCAN"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFTransmitCAN* FTransmitCAN;
