#pragma once
// The frame every mapping-table form stands on: the look (title panel, the
// six buttons, the table filling the rest), the texts, the showing that
// resets the table and loads the project file, the row buttons, the grid
// events, the validation driver and the save. A form gives its tables and
// for each a column table; its own code holds only what differs.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"
#include "platform/runtime/XmlDom.h"

class TPanel;
class TLabel;
class TLbButton;
class TExStringGrid;

// One attribute of a table row and the cell it fills.
struct TTable_Column {
    QString Attr;
    // Real column of the grid.
    int Col = 1;
    // A cell check box: written "Y" when checked, else "N"; loaded checked
    // unless the text is exactly "N".
    bool Check = false;
    // The text a missing attribute gives, and the one a child that is not an
    // element gives; none keeps the reset cell. With Guarded clear a missing
    // attribute stops the loading instead.
    std::optional<QString> If_Missing;
    std::optional<QString> If_Unreadable;
    // The file's text as the cell takes it (none: as it stands).
    std::function<QString(const QString&)> Convert;
};

// One table of a form: its grid, where its rows stand in the file, its key
// column, its copy flag and hints, and its columns in the file's order.
struct TTable_Def {
    TExStringGrid* Grid = nullptr;
    // The table element under the root; empty when the rows stand under the
    // root itself.
    QString Element;
    int Key_Col = 2;
    bool Key_Trimmed = true;
    // Reads each attribute on its own (a missing one defaulted); clear: the
    // loading stops at the first missing attribute.
    bool Guarded = true;
    // Column 1 is an enable column: a new row starts enabled.
    bool Mark_Enable = true;
    std::vector<TTable_Column> Columns;
    QStringList Hint;
    bool Do_Copy = false;
};

// Integer texts of validation: decimal with a sign, or hexadecimal after "$",
// "0x" or "x" (either case), leading blanks skipped; anything else is -1.
int Table_Int(const QString& text);
std::int64_t Table_Int64(const QString& text);

class TTable_Frame : public TForm {
public:
    // `name` the form's component name, `clientWidth` its width, `textBase`
    // the first number of its block of language texts, `deleteText` the
    // number of its delete question.
    TTable_Frame(TComponent* AOwner, const QString& name, int clientWidth, int textBase, int deleteText);
    ~TTable_Frame() override;

    // The frame's part of the texts: caption, description, button captions
    // and hints. The form adds its headers and hint lists.
    virtual void Set_Lang();
    virtual void FormShow(TObject* Sender);
    // Validates every table; false (after its one message) at the first fault.
    virtual bool Controllo_dati() { return true; }
    void Btn_OKClick(TObject* Sender);
    void Btn_DelRowClick(TObject* Sender);
    void Btn_InsRowClick(TObject* Sender);
    void Btn_CopyRowClick(TObject* Sender);
    void Btn_PasteRowClick(TObject* Sender);
    void KeyPress(TObject* Sender, char16_t& Key);
    void DblClickCell(TObject* Sender, int ARow, int ACol);
    void ClickCell(TObject* Sender, int ARow, int ACol);
    void GridHint(TObject* Sender, int ARow, int ACol, QString& HintStr);

    // The project file: loads it into the reset tables, and writes the
    // tables into the document and the file. Save_File asks what OK asks
    // before writing; false when nothing was written.
    // false when the file is there but could not be read (said once).
    bool Load_File();
    bool Save_File();
    // The document the tables make, as the file will hold it.
    void Build_Document(TXmlDocument& xml) const;
    // Loads the tables from a document already parsed; false when a table
    // element is missing or a row stopped the loading (`error` says which).
    bool Load_Document(const TXmlDocument& xml, QString& error);

    // Whether the last load found the file there but unreadable.
    bool File_Damaged() const { return FDamaged; }

    std::vector<TTable_Def> Tables;
    QString Root_Name;
    QString Version;
    // The project file's path, read when the form is shown and saved.
    std::function<QString()> File_Path;
    // A click in column 0 selects the row.
    bool Row_Click_Selects = false;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TLbButton* Btn_DelRow = nullptr;
    TLbButton* Btn_InsRow = nullptr;
    TLbButton* Btn_CopyRow = nullptr;
    TLbButton* Btn_PasteRow = nullptr;
    TXmlDocument XML1;

protected:
    // A table grid filling the rest of the form, with the frame's events.
    TExStringGrid* Create_Table_Grid(const char* name);
    // Step 1 of the showing: every data row of every table reset.
    virtual void Reset_Tables();
    // After a row was loaded (e.g. cells following the row's type).
    virtual void Row_Loaded(int table, int row) { (void)table, (void)row; }
    // After a row button changed the rows from `row` down.
    virtual void Rows_Changed(int table, int row) { (void)table, (void)row; }
    // The table the row buttons act on.
    virtual int Active_Table() const { return 0; }
    // "Error row " text, row and the check's text, in an error box; false.
    bool Row_Error(int errorRowText, int row, const QString& message) const;
    // The first row whose key is empty (RowCount when none).
    int First_Empty_Key(const TTable_Def& t) const;

private:
    int Table_Of(TObject* grid) const;
    bool Ask_Rows_After_Empty_Key() const;

    int FTextBase;
    int FDeleteText;
    bool FDamaged = false;
    // The table's number of rows when the last load dropped rows beyond it.
    int FSurplus_After = 0;
};
