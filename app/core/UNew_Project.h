#pragma once
// The new-project dialog. For now it shows its title only; the main window
// relies on its modal result (OK once a project folder was made active).

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFNew_Project : public TForm {
public:
    explicit TFNew_Project(TComponent* AOwner);
    ~TFNew_Project() override;
    QString ClassName() const override { return QStringLiteral("TFNew_Project"); }

    void Set_Lang();

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFNew_Project* FNew_Project;
