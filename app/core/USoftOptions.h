#pragma once
// The options dialog and the version check. For now the dialog shows its
// title only and the check reports no newer version.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFSoftOptions : public TForm {
public:
    explicit TFSoftOptions(TComponent* AOwner);
    ~TFSoftOptions() override;
    QString ClassName() const override { return QStringLiteral("TFSoftOptions"); }

    void Set_Lang();
    // True when the maker reports a newer version than this tool's own.
    bool Check_Version();

    // The language chosen in the dialog; becomes Language_Name on OK.
    QString Language_In_Use;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFSoftOptions* FSoftOptions;
