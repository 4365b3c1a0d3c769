#pragma once
// The HART scan form: starts the converter's search of its HART network,
// shows the progress the scan thread reports and lists the named device
// variables found, so that the HART variables table can take over the rows
// the user leaves checked.

#include <QString>
#include <memory>

#include "app/core/UTitle_Panel.h"
#include "app/tables/UHART_Thread.h"
#include "platform/controls/Forms.h"

class TPanel;
class TLabel;
class TEdit;
class TComboBox;
class TLbButton;
class TExStringGrid;

// The device columns of a result row, taken from a device record: the unique
// address ("0x" and bytes 1, 2, 9, 10, 11 as upper-case hexadecimal), the
// preamble count, and the device name (bytes 61 to 92), which ends at its
// first NUL and keeps no control characters, so that the name a variable
// takes over survives the table file.
struct THART_Scan_Device {
    QString Address;
    QString Preamble;
    QString Name;
};
THART_Scan_Device HART_Scan_Device(const THART_Device_Record& rec);

// Result grid columns.
inline constexpr int HART_Scan_Col_Enable = 1;
inline constexpr int HART_Scan_Col_Address = 2;
inline constexpr int HART_Scan_Col_Preamble = 3;
inline constexpr int HART_Scan_Col_Name = 4;
inline constexpr int HART_Scan_Col_Var = 5;
inline constexpr int HART_Scan_Col_Class = 6;
inline constexpr int HART_Scan_Col_Unit = 7;

// Backgrounds of the result grid: the check boxes, and the device columns of
// devices with an even and with an odd index.
inline constexpr TColor HART_Scan_Check_Color = RGB(255, 216, 176);
inline constexpr TColor HART_Scan_Even_Color = RGB(224, 250, 254);
inline constexpr TColor HART_Scan_Odd_Color = RGB(168, 255, 168);

class TFHART_Scan : public TForm {
public:
    explicit TFHART_Scan(TComponent* AOwner);
    ~TFHART_Scan() override;
    QString ClassName() const override { return QStringLiteral("TFHART_Scan"); }

    // Pages of Show_Form.
    enum : int { Page_Start = 1, Page_Wait = 2, Page_Result = 3, Page_Failed = 4 };

    void Set_Lang();
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Btn_StartScanClick(TObject* Sender);
    void Btn_ScanAgainClick(TObject* Sender);
    // Serves Select All and Unselect All: checks every row for the first.
    void Btn_SelectAllClick(TObject* Sender);
    // The octet fields: "." moves on to the next field and is never typed.
    void KeyPress(TObject* Sender, char16_t& Key);

    void Show_Form(int Page);
    // Lists the named variables of the last scan's devices.
    void Show_Vars();
    // One empty row; the column widths only when asked.
    void Init_Table(bool With_Widths);

    // The page Show_Form showed last.
    int Page() const { return FPage; }
    // The four octet fields joined with ".", as typed.
    QString IP_Address() const;

    // The protocol's port and timing the scan thread is created with; tests
    // point it at a converter stand-in.
    THART_Scan_Params Scan_Params;
    // Present while the form is shown.
    std::unique_ptr<THART_Thread> TR_HART_Scan;
    // The number of devices the last complete scan reported; kept with the
    // result grid after the form closes.
    int FNum_Devices = 0;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;

    TPanel* P_HART_Init_Scan = nullptr;
    TLabel* L_Discovery_IP = nullptr;
    TEdit* E_Discovery_IP1 = nullptr;
    TEdit* E_Discovery_IP2 = nullptr;
    TEdit* E_Discovery_IP3 = nullptr;
    TEdit* E_Discovery_IP4 = nullptr;
    TLabel* L_Discovery_NumDevs = nullptr;
    TComboBox* CB_Discovery_NumDevs = nullptr;

    TPanel* P_HART_Scan_Wait = nullptr;
    TLabel* L_Wait = nullptr;
    TLabel* L_Discovery_Result = nullptr;

    TPanel* P_HART_View_Vars = nullptr;
    TExStringGrid* ESG = nullptr;

    TPanel* P_Button = nullptr;
    TLbButton* Btn_StartScan = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TLbButton* Btn_ScanAgain = nullptr;
    TLbButton* Btn_SelectAll = nullptr;
    TLbButton* Btn_UnSelectAll = nullptr;

private:
    void Create_Controls();
    TPanel* Make_Page(const char* name);
    TLbButton* Make_Button(const char* name);
    void Stop_Thread();
    // Row `row`'s check box, unchecked or checked, on its background.
    void Set_Check_Cell(int row, bool checked);

    int FPage = 0;
};

extern TFHART_Scan* FHART_Scan;
