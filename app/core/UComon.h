#pragma once
// Program-wide state of the configurator: folders, the active project and its
// files, the product identity and the user's options. The main window fills it
// at start; every form reads it.

#include <QString>
#include <QStringList>

class TExStringGrid;

// Fixed identity of this build.
inline const QString SW_Code_Const = QStringLiteral("RT41208");
inline const QString SW_Desc_Const = QStringLiteral("Modbus Slave / HART Master - Converter");
inline const QString SW_Version = QStringLiteral("1.102");
inline const QString Default_IP_Address = QStringLiteral("192.168.2.205");

// Folders (no trailing separator).
extern QString Program_Folder;
extern QString Master_Folder;
extern QString Projects_Folder;
extern QString Language_Folder;

// Active project: Project_Folder is empty while none is active, while
// Project_Name may still hold the remembered name.
extern QString Project_Name;
extern QString Project_Folder;

extern QString Main_Caption;
extern QString SW_Code;
extern QString SW_Desc;

extern QString Last_IP_Address;
extern int Update_Option;
extern bool Update_Read_Back;
extern QString Language_Name;

extern bool Opt_Enable_Internet;
extern bool Opt_Enable_Update;
extern bool Opt_Jump_Field_Tables;
extern bool Opt_Dbl_Click_Auto_Size;

// Project file paths, derived from Project_Folder by Set_Project_Files.
extern QString File_ParGen;
extern QString File_HART_Gateway;
extern QString File_HART_Variables;
extern QString File_CAN_Rec_Frames;
extern QString File_CAN_Send_Frames;
extern QString File_BACnet_Slave;
extern QString File_SDO_Server_CANopen;
extern QString File_SDO_Client_CANopen;
extern QString File_PDO_CANopen;
extern QString File_J1939_Rec_Frames;
extern QString File_J1939_Send_Frames;
extern QString File_MQTT_Set_Topic;
extern QString File_SNMP_Trap;
extern QString File_OPC_UA_Server;

// Recomputes the fourteen project file paths from Project_Folder.
void Set_Project_Files();

// Joins a folder and a name with the platform's separator.
QString Join_Path(const QString& folder, const QString& name);

// --- Common helpers -------------------------------------------------------

// Reports, in the tool's error box, a file that exists but cannot be read or
// understood (a damaged project or settings file): its name and the reason.
// Callers report a file once and do not go on as if it were absent.
void Show_File_Read_Error(const QString& path, const QString& reason);
// Reports a file that could not be saved: its name and the reason. The
// previous file is still whole when this is shown.
void Show_File_Save_Error(const QString& path, const QString& reason);

// 1 when the text, trimmed and upper-cased, is "SECONDARY MASTER"; else 0.
int Is_Secondary_Master(const QString& text);
// Index of a HART retry-limit text: "5" -> 3, "4" -> 2, "3" -> 1, else 0.
int Retry_Limit_Index(const QString& text);
// Splits a dotted IPv4 address into its four octet texts and checks that each
// is an integer from 0 to 255. With fewer than three dots it stops early,
// leaving the octets not reached untouched.
bool Check_IP_Address(const QString& address, QString& ip1, QString& ip2, QString& ip3, QString& ip4);
// Numbers of the serial ports present, ascending, as decimal texts.
QStringList List_COM_Ports();
// The device file behind a serial port number of List_COM_Ports.
QString COM_Port_Device(int port);
// Whether a port whose device opened for reading and writing with this result
// (0, or the error number) is listed: it opened, or it is in use.
bool COM_Port_Open_Means_Present(int openError);

// --- HART code tables -----------------------------------------------------

// Name of a device-variable code 242..250 (true), else the code in decimal (false).
bool HART_Var_Code_Name(int code, QString& name);
// Code whose name is exactly the text; else the text as an integer; else 0.
int HART_Var_Code_Value(const QString& text);
void HART_Classification_Name(int code, QString& name);
void HART_Unit_Name(int code, QString& name);

// --- Table-row helpers ----------------------------------------------------
// Row editing shared by the table forms. A table has a header row 0 and a
// row-number column 0; its data columns are the real columns from 1, hidden
// ones included, and its number of rows never changes. The string-grid
// routines move cell check-box states with the rows; the copy and paste
// routines share RowClipboard and RowClipboard_Check.

// Closes the gap of a deleted row; the last row is emptied, its check boxes
// unchecked but column 1's, which takes `markEnable`.
void Grid_Delete_Row_Check(int row, TExStringGrid* grid, bool markEnable);
// Opens an empty row at `row` (the last row's contents are lost); its check
// boxes as the emptied last row's above.
void Grid_Insert_Row_Check(int row, TExStringGrid* grid, bool markEnable);
// Copies a row: a check-box cell as "Y" or "N", marked in RowClipboard_Check.
void Grid_Copy_Row_Check(TExStringGrid* grid, int row);
// Pastes the copied row after a copy on this grid (`copied`), of the same
// number of columns, asking before a row holding text is overwritten.
void Grid_Paste_Row_Check(TExStringGrid* grid, int row, bool copied);
// With Opt_Jump_Field_Tables, Enter moves to the next cell (wrapping to
// column 1 of the next row, and from the last row to row 1) and is consumed.
void Grid_Enter_Next_Cell(TExStringGrid* grid, char16_t& Key);
// With Opt_Dbl_Click_Auto_Size, a double click on the header row sizes the
// column to its contents exactly.
void Grid_DblClick_AutoSize(TExStringGrid* grid, int ARow, int ACol);
