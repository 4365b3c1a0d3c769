#pragma once
// The open-project dialog. For now it shows its title only; the main window
// takes the chosen project's name from Name_Conf after an OK.

#include <QString>
#include <QStringList>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFOpenConf : public TForm {
public:
    explicit TFOpenConf(TComponent* AOwner);
    ~TFOpenConf() override;
    QString ClassName() const override { return QStringLiteral("TFOpenConf"); }

    void Set_Lang();

    // Project folder names found, and the chosen name (kept between uses).
    QStringList SL;
    QString Name_Conf;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFOpenConf* FOpenConf;
