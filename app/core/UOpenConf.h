#pragma once
// The open-project dialog: lists the project folders under PROJECTS and
// returns the chosen name in Name_Conf; the main window makes it active.

#include <QString>
#include <QStringList>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TListBox;
class TLbButton;

class TFOpenConf : public TForm {
public:
    explicit TFOpenConf(TComponent* AOwner);
    ~TFOpenConf() override;
    QString ClassName() const override { return QStringLiteral("TFOpenConf"); }

    void Set_Lang();
    void FormShow(TObject* Sender);
    void ListBox1Click(TObject* Sender);
    // A double click on a name opens that project.
    void ListBox1DblClick(TObject* Sender);

    // Fills SL with the project folders whose names can be opened, sorted by
    // name ignoring letter case as the tool's home file system shows them.
    void Load_Existing_Configuration();
    // Index in SL of the first name equal to `name` ignoring letter case, or -1.
    int Search_Open_Conf(const QString& name) const;

    // Project folder names found, and the chosen name (empty while PROJECTS
    // holds no project folder).
    QStringList SL;
    QString Name_Conf;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TLabel* Label1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
};

extern TFOpenConf* FOpenConf;
