#pragma once
// The J1939 transmit frames table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFTransmitJ1939 : public TForm {
public:
    explicit TFTransmitJ1939(TComponent* AOwner);
    ~TFTransmitJ1939() override;
    QString ClassName() const override { return QStringLiteral("TFTransmitJ1939"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFTransmitJ1939* FTransmitJ1939;
