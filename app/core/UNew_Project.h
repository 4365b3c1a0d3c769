#pragma once
// The new-project dialog: asks for a name, creates the project folder under
// PROJECTS with its empty "bin" folder and makes it the active project. It
// closes with OK only once that is done.

#include <QString>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TEdit;
class TLbButton;

// Why a typed project name cannot become a new project folder.
enum class TNew_Project_Error {
    None,
    Empty,
    Invalid,
    Exists,
    Not_Writable // PROJECTS itself cannot take a new folder, whatever the name
};

// A name that can become a folder under PROJECTS on any system the projects
// may travel to: not "." or "..", no separators, no characters or device
// names a Windows file system refuses, no trailing blank or dot.
bool Is_Valid_Project_Folder_Name(const QString& name);

class TFNew_Project : public TForm {
public:
    explicit TFNew_Project(TComponent* AOwner);
    ~TFNew_Project() override;
    QString ClassName() const override { return QStringLiteral("TFNew_Project"); }

    void Set_Lang();
    void FormShow(TObject* Sender);
    void Btn_OKClick(TObject* Sender);
    void E_New_ProjKeyPress(TObject* Sender, char16_t& Key);

    // Creates the project folder for a name and makes it active; nothing is
    // created when it returns an error.
    static TNew_Project_Error Create_Project(const QString& name);

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* E_New_Proj = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
};

extern TFNew_Project* FNew_Project;
