#pragma once
// The About dialog: product identity, version and document code, and the
// maker's web address. It has no language texts.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TImage;
class TLbButton;

// Document code of this product's manual.
inline const QString Document_Code = QStringLiteral("LQ41208");

class TFAbout : public TForm {
public:
    explicit TFAbout(TComponent* AOwner);
    ~TFAbout() override;
    QString ClassName() const override { return QStringLiteral("TFAbout"); }

    void FormShow(TObject* Sender);
    void Label4Click(TObject* Sender);

    // Header: the picture, the product code and the product's name.
    TPanel* P_Title = nullptr;
    TImage* Image2 = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr; // hidden: Label1 and Label2 name the product
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    // Version, codes, web address and the OK button.
    TPanel* P_Button = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label4 = nullptr;
    TLbButton* LbButton1 = nullptr;
};

extern TFAbout* FAbout;
