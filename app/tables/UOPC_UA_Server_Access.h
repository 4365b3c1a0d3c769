#pragma once
// The OPC UA server variables table. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFOPC_UA_Server_Access : public TForm {
public:
    explicit TFOPC_UA_Server_Access(TComponent* AOwner);
    ~TFOPC_UA_Server_Access() override;
    QString ClassName() const override { return QStringLiteral("TFOPC_UA_Server_Access"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFOPC_UA_Server_Access* FOPC_UA_Server_Access;
