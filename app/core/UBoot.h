#pragma once
// The device update dialog. For now it shows its title only; the caller sets
// its layout in Form_Type before showing it.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFBoot : public TForm {
public:
    explicit TFBoot(TComponent* AOwner);
    ~TFBoot() override;
    QString ClassName() const override { return QStringLiteral("TFBoot"); }

    // Texts depend on the layout, so they are applied on every show too.
    void Set_Lang();
    void FormShow(TObject* Sender);

    // Layout: 0 serial, 1 Ethernet.
    int Form_Type = 1;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFBoot* FBoot;
