#pragma once
// The MQTT topic tables. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFMQTT_Set_Topic : public TForm {
public:
    explicit TFMQTT_Set_Topic(TComponent* AOwner);
    ~TFMQTT_Set_Topic() override;
    QString ClassName() const override { return QStringLiteral("TFMQTT_Set_Topic"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFMQTT_Set_Topic* FMQTT_Set_Topic;
