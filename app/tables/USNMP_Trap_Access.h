#pragma once
// The SNMP trap access tables. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFSNMP_Trap_Access : public TForm {
public:
    explicit TFSNMP_Trap_Access(TComponent* AOwner);
    ~TFSNMP_Trap_Access() override;
    QString ClassName() const override { return QStringLiteral("TFSNMP_Trap_Access"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFSNMP_Trap_Access* FSNMP_Trap_Access;
