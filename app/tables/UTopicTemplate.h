#pragma once
// The MQTT topic-template editor. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFTopicTemplate : public TForm {
public:
    explicit TFTopicTemplate(TComponent* AOwner);
    ~TFTopicTemplate() override;
    QString ClassName() const override { return QStringLiteral("TFTopicTemplate"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFTopicTemplate* FTopicTemplate;
