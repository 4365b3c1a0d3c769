#pragma once
// The HART gateway table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFHART_Gateway : public TForm {
public:
    explicit TFHART_Gateway(TComponent* AOwner);
    ~TFHART_Gateway() override;
    QString ClassName() const override { return QStringLiteral("TFHART_Gateway"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFHART_Gateway* FHART_Gateway;
