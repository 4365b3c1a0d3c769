#pragma once
// The HART scan form: searches the converter's HART network. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFHART_Scan : public TForm {
public:
    explicit TFHART_Scan(TComponent* AOwner);
    ~TFHART_Scan() override;
    QString ClassName() const override { return QStringLiteral("TFHART_Scan"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFHART_Scan* FHART_Scan;
