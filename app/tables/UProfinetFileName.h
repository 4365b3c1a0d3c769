#pragma once
// The GSDML file-name dialog: the user chooses the middle of the file name,
// between the fixed prefix (GSDML version and maker) and the date suffix.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TEdit;
class TLbButton;

// The fixed start of every GSDML file name the tool proposes.
inline const QString GSDML_Name_Prefix = QStringLiteral("GSDML-V2.25-Quolmi-");

// The file name from its three parts: no separator for a user part that is
// empty after trimming, none added before one that starts with "_", else one
// "_". The user part is kept as typed (leading blanks included).
QString Compose_GSDML_Name(const QString& prefix, const QString& user, const QString& suffix);

// "-" with the date as yyyymmdd and ".xml".
QString GSDML_Date_Suffix(TDateTime date);

class TFProfinetFileName : public TForm {
public:
    explicit TFProfinetFileName(TComponent* AOwner);
    ~TFProfinetFileName() override;
    QString ClassName() const override { return QStringLiteral("TFProfinetFileName"); }

    void Set_Lang();
    void FormShow(TObject* Sender);
    void Btn_OK_Click(TObject* Sender);

    // The GSDML file name the dialog built; read after an OK.
    QString Name_File_XML;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TLabel* L_Select_Name = nullptr;
    TLabel* L_FixPart_1 = nullptr;
    TLabel* L_XML_Fix1 = nullptr;
    TLabel* L_UsedPart = nullptr;
    TEdit* E_XML_User = nullptr;
    TLabel* L_FixPart_2 = nullptr;
    TLabel* L_XML_Fix2 = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
};

extern TFProfinetFileName* FProfinetFileName;
