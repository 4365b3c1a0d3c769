#pragma once
// The HART variables table: the HART items the converter polls and where in
// its data array each value goes, saved as HART_Variables.xml for the image
// builder; rows can also be taken from a HART network scan.

#include <QString>
#include <QStringList>

#include "app/tables/UTable_Frame.h"

class TLbButton;
class TExStringGrid;
enum class TEditorType;

// Columns of the table.
inline constexpr int HART_Var_Col_Enable = 1;
inline constexpr int HART_Var_Col_Address = 2;
inline constexpr int HART_Var_Col_Preamble = 3;
inline constexpr int HART_Var_Col_Type = 4;
inline constexpr int HART_Var_Col_Number = 5;
inline constexpr int HART_Var_Col_Params = 6;
inline constexpr int HART_Var_Col_Position = 7;
inline constexpr int HART_Var_Col_Swap = 8;
inline constexpr int HART_Var_Col_ConvInt = 9;
inline constexpr int HART_Var_Col_Operations = 10;
inline constexpr int HART_Var_Col_TimeOut = 11;
inline constexpr int HART_Var_Col_Mnemonic = 12;
inline constexpr int HART_Var_Rows = 100;

// The table's attributes in the file's order, with the loading defaults.
std::vector<TTable_Column> HART_Variables_Columns();

class TFHARTVariables : public TTable_Frame {
public:
    explicit TFHARTVariables(TComponent* AOwner);
    ~TFHARTVariables() override;
    QString ClassName() const override { return QStringLiteral("TFHARTVariables"); }

    void FormCreate(TObject* Sender);
    void Set_Lang() override;
    void FormShow(TObject* Sender) override;
    bool Controllo_dati() override;
    void ESGGetEditorType(TObject* Sender, int ACol, int ARow, TEditorType& AEditor);
    void ESGComboChange(TObject* Sender, int ACol, int ARow, int AItemIndex, const QString& ASelection);
    void Btn_ScanClick(TObject* Sender);
    // Checked rows of the scan form's result grid.
    int HART_Scan_Count_Var() const;
    // The text when it is one of the type (operation) names, else empty.
    QString Get_Type(const QString& text) const;
    QString Get_Operation(const QString& text) const;

    TExStringGrid* ESG = nullptr;
    TLbButton* Btn_Scan = nullptr;
    QStringList Type_SL;
    QStringList Operations_SL;
    int Num_Byte_Max = 1440;
    // The column hints, entry 0 for column 1.
    QStringList& Hint() { return Tables[0].Hint; }
    bool& Do_Copy() { return Tables[0].Do_Copy; }

protected:
    void Reset_Tables() override;
    void Row_Loaded(int table, int row) override;
    void Rows_Changed(int table, int row) override;

private:
    // Params editable only for "Command"; Swap, Conv Int and Operations
    // only for the other types.
    void Set_Type_Flags(int row, const QString& type);
};

extern TFHARTVariables* FHARTVariables;
