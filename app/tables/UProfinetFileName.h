#pragma once
// The PROFINET GSDML file-name dialog. For now it shows its title only.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TFProfinetFileName : public TForm {
public:
    explicit TFProfinetFileName(TComponent* AOwner);
    ~TFProfinetFileName() override;
    QString ClassName() const override { return QStringLiteral("TFProfinetFileName"); }

    void Set_Lang();
    // The GSDML file name the dialog built; read after an OK.
    QString Name_File_XML;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};

extern TFProfinetFileName* FProfinetFileName;
