#pragma once
// The HART variables table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFHARTVariables : public TForm {
public:
    explicit TFHARTVariables(TComponent* AOwner);
    ~TFHARTVariables() override;
    QString ClassName() const override { return QStringLiteral("TFHARTVariables"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFHARTVariables* FHARTVariables;
