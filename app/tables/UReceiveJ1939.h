#pragma once
// The J1939 receive frames table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFReceiveJ1939 : public TForm {
public:
    explicit TFReceiveJ1939(TComponent* AOwner);
    ~TFReceiveJ1939() override;
    QString ClassName() const override { return QStringLiteral("TFReceiveJ1939"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFReceiveJ1939* FReceiveJ1939;
