#pragma once
// The About dialog: product identity and version. It has no language texts.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFAbout : public TForm {
public:
    explicit TFAbout(TComponent* AOwner);
    ~TFAbout() override;
    QString ClassName() const override { return QStringLiteral("TFAbout"); }

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFAbout* FAbout;
