#include "app/tables/UProfibusGSD.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/UXmlFile.h"
#include "platform/controls/Dialogs.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/XmlDom.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int Module_Bytes = 64;
const QString Model = QStringLiteral("KM41211");
const QString Function = QStringLiteral("PROFIBUS Slave / HART Master - Converter");

int Size_Of(const TXmlNode& root, const char* key)
{
    return StrToIntDef(root.FindChild(QLatin1String(key)).Text(), 0);
}

int Checked_Size(const char* key, int value)
{
    if (value > GSD_Max_Length)
        throw Exception(QStringLiteral("%1 is %2; a PROFIBUS DP slave carries at most %3 bytes")
                            .arg(QLatin1String(key))
                            .arg(value)
                            .arg(GSD_Max_Length));
    return std::max(value, 0);
}

int Modules_For(int bytes)
{
    return (bytes + Module_Bytes - 1) / Module_Bytes;
}

QString Hex2(int value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A banner line: its start filled with blanks to 84 characters and closed.
QString Framed(const QString& start)
{
    return start.leftJustified(84, QLatin1Char(' ')) + QLatin1Char('*');
}

void Section(QStringList& l, int width, const char* title)
{
    const QString rule = QLatin1Char(';') + QString(width - 1, QLatin1Char('='));
    l << rule << (QStringLiteral(";==== %1 ").arg(QLatin1String(title)).leftJustified(width, QLatin1Char('='))) << rule
      << QString();
}

// Modules of one direction: full ones of 64 bytes, then the rest.
void Modules(QStringList& l, int bytes, const char* kind, const char* id, int& number)
{
    for (int rest = bytes; rest > 0; rest -= Module_Bytes) {
        const int length = std::min(rest, Module_Bytes);
        l << QStringLiteral("Module=\"%1  (PORT%2)    \" 0x%3,0x%4,0x00,0x%5")
                 .arg(QLatin1String(kind))
                 .arg(number)
                 .arg(QLatin1String(id), Hex2(length - 1), Hex2(number))
          << QString::number(number) << QStringLiteral("EndModule");
        ++number;
    }
}

} // namespace

int GSD_NB_IN = 0;
int GSD_NB_OUT = 0;

TGSD_Sizes GSD_Sizes_Of(const TXmlNode& root)
{
    return TGSD_Sizes { Size_Of(root, "PROFINET_NB_IN"), Size_Of(root, "PROFINET_NB_OUT") };
}

QStringList GSD_Lines(TGSD_Sizes sizes)
{
    const int nbIn = Checked_Size("PROFINET_NB_IN", sizes.NB_In);
    const int nbOut = Checked_Size("PROFINET_NB_OUT", sizes.NB_Out);
    const int modules = Modules_For(nbOut) + Modules_For(nbIn);
    const QString emptyFrame = Framed(QStringLiteral(";*"));
    const QString frame = QStringLiteral(";* ") + QString(80, QLatin1Char('=')) + QStringLiteral(" *");
    const QString blank;
    const QString indent = QStringLiteral(";*") + QString(11, QLatin1Char(' '));

    QStringList l;
    l << QStringLiteral(";")
      << QStringLiteral(";******************** PROFIBUS Slave / HART Master - Converter **********************")
      << frame << emptyFrame << Framed(QStringLiteral(";* Vendor:   ") + Maker_Vendor_Name)
      << Framed(indent + Maker_Street) << Framed(indent + Maker_Town) << Framed(indent + Maker_Country)
      << Framed(indent + QStringLiteral("Tel. : ") + Maker_Telephone)
      << Framed(indent + QStringLiteral("FAX. : ") + Maker_Fax)
      << Framed(indent + QStringLiteral("eMail: ") + Maker_Support_Mail) << emptyFrame << frame << emptyFrame
      << Framed(QStringLiteral(";* Function:       ") + Function) << emptyFrame << emptyFrame
      << Framed(QStringLiteral(";* Order Number : ") + Model) << emptyFrame << emptyFrame
      << QLatin1Char(';') + QString(84, QLatin1Char('*'));
    l << blank << blank << QStringLiteral("#Profibus_DP") << blank << blank;

    Section(l, 85, "Prm-Text-Def-List");
    l << QStringLiteral("PrmText=1") << QStringLiteral("Text(0)=\"disable\"") << QStringLiteral("Text(1)=\"enable\"")
      << QStringLiteral("EndPrmText") << blank << QStringLiteral("PrmText  = 2")
      << QStringLiteral("Text(0)  = \"clock up\"") << QStringLiteral("Text(1)  = \"clock down\"")
      << QStringLiteral("EndPrmText") << blank << QStringLiteral("PrmText  = 3");
    for (int i = 1; i <= 5; ++i)
        l << QStringLiteral("Text(%1)  = \"%2\"").arg(i).arg(i * 10);
    l << QStringLiteral("EndPrmText") << blank << blank;

    Section(l, 86, "Ext-User-Prm-Data-Def-List");
    static const char* const prm[][3] = { { "1 \"[SlotNumber]\"", "Unsigned8 0 0-32", nullptr },
        { "2 \"Diagnostic Alarm\"", "Bit(0) 0 0-1", "Prm_Text_Ref=1" },
        { "3 \"Process Alarm\"", "Bit(1) 0 0-1", "Prm_Text_Ref=1" },
        { "4 \"Counter mode\"", "Unsigned8 0 0-1", "Prm_Text_Ref=2" },
        { "5 \"Counter timebase (ms)\"", "Unsigned8 1 1-5", "Prm_Text_Ref=3" },
        { "6 \"Counter high-limit\"", "Unsigned16 65535 0-65535", nullptr },
        { "7 \"Counter low-limit\"", "Unsigned16 0 0-65535", nullptr } };
    for (const auto& p : prm) {
        l << QStringLiteral("ExtUserPrmData=") + QLatin1String(p[0]) << QLatin1String(p[1]);
        if (p[2])
            l << QLatin1String(p[2]);
        l << QStringLiteral("EndExtUserPrmData") << blank;
    }
    l << blank;

    Section(l, 86, "General DP Keywords");
    l << QStringLiteral("GSD_Revision = 5") << QStringLiteral("Vendor_Name = ") + Quoted(Maker_Domain_Name)
      << QStringLiteral("Model_Name = ") + Quoted(Model) << QStringLiteral("Revision = \"1.00\"")
      << QStringLiteral("Ident_Number = 0x8B2D") << QStringLiteral("Protocol_Ident = 0")
      << QStringLiteral("Station_Type = 0") << QStringLiteral("FMS_supp = 0")
      << QStringLiteral("Hardware_Release = \"V1.00\"") << QStringLiteral("Software_Release = \"V1.00\"")
      << QStringLiteral("Redundancy = 0") << QStringLiteral("Repeater_Ctrl_Sig = 2") << QStringLiteral("24V_Pins = 0")
      << blank << blank;

    Section(l, 79, "Supported baudrates");
    static const char* const rates[] = { "9.6", "19.2", "45.45", "93.75", "187.5", "500", "1.5M", "3M", "6M", "12M" };
    static const int tsdr[] = { 15, 15, 15, 15, 15, 15, 20, 35, 50, 95 };
    for (const char* r : rates)
        l << QStringLiteral("%1_supp = 1").arg(QLatin1String(r));
    l << blank;
    for (std::size_t i = 0; i < std::size(rates); ++i)
        l << QStringLiteral("MaxTsdr_%1=%2").arg(QLatin1String(rates[i])).arg(tsdr[i]);
    l << blank << blank;

    Section(l, 79, "Slave specific values");
    l << QStringLiteral("OrderNumber=") + Quoted(Model)
      << QStringLiteral("Slave_Family = 9@") + Maker_Domain_Name + QLatin1Char('@') + Model
      << QStringLiteral("Implementation_Type = \"VPC3+\"")
      << QStringLiteral("Info_Text=") + Quoted(Maker_Domain_Name + QStringLiteral(": ") + Function)
      << QStringLiteral("Bitmap_Device = \"DPV0_1N\"") << QStringLiteral("Bitmap_SF=\"DPV0_1S\"") << blank
      << QStringLiteral("Freeze_Mode_supp=1") << QStringLiteral("Sync_Mode_supp=1") << QStringLiteral("Fail_Safe=1")
      << QStringLiteral("Auto_Baud_supp=1") << QStringLiteral("Set_Slave_Add_supp=0") << blank
      << QStringLiteral("Min_Slave_Intervall=6") << blank << QStringLiteral("Modular_Station=1")
      << QStringLiteral("Max_Module=%1").arg(modules) << QStringLiteral("Modul_Offset=1")
      << QStringLiteral("Max_Input_Len=%1").arg(nbOut) << QStringLiteral("Max_Output_Len=%1").arg(nbIn)
      << QStringLiteral("Max_Data_Len=%1").arg(nbOut + nbIn) << QStringLiteral("Max_Diag_Data_Len=15") << blank
      << QStringLiteral("WD_Base_1ms_supp = 1") << QStringLiteral("Publisher_supp = 1") << blank;

    Section(l, 79, "User-Prm-Data");
    l << QStringLiteral("Max_User_Prm_Data_Len = 12") << QStringLiteral("Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00")
      << blank;

    Section(l, 79, "Modulstatus");
    for (int slot = 1; slot <= 2; ++slot) {
        l << QStringLiteral("Unit_Diag_Area = %1 - %2").arg(22 + 2 * slot).arg(23 + 2 * slot);
        int k = 1;
        for (const char* what : { "Module error", "Wrong module", "No module" })
            l << QStringLiteral("Value(%1)= \"Slot %2: %3\"").arg(k++).arg(slot).arg(QLatin1String(what));
        l << QStringLiteral("Unit_Diag_Area_End");
    }
    l << blank << blank;

    Section(l, 79, "Module-Definition-List");
    int number = 1;
    Modules(l, nbOut, "DI", "42", number);
    Modules(l, nbIn, "DO", "82", number);
    l << blank << blank << blank << QStringLiteral("SlotDefinition");
    for (int s = 1; s <= modules; ++s)
        l << QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(s);
    l << QStringLiteral("EndSlotDefinition") << blank << blank << blank << blank;
    return l;
}

QByteArray GSD_Bytes(const TGSD_Sizes& sizes)
{
    return EncodeText(GSD_Lines(sizes).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), TTextEncoding::Ansi);
}

QString GSD_File_Name(const QString& chosen)
{
    const QString ext = QStringLiteral(".gsd");
    const qsizetype at = chosen.toLower().indexOf(ext);
    return at >= 0 && at + ext.size() == chosen.size() ? chosen : chosen + ext;
}

bool Load_GSD_Sizes()
{
    GSD_NB_IN = GSD_NB_OUT = 0;
    TXmlDocument xml;
    const TXmlFileRead read = Read_Xml_File(xml, File_ParGen);
    if (read.State == TXmlFileState::Damaged) {
        Show_File_Read_Error(File_ParGen, read.Reason);
        return false;
    }
    const TGSD_Sizes sizes = GSD_Sizes_Of(read.State == TXmlFileState::Loaded ? xml.DocumentElement() : TXmlNode());
    GSD_NB_IN = sizes.NB_In;
    GSD_NB_OUT = sizes.NB_Out;
    return true;
}

void Write_GSD_File(const QString& FileName)
{
    const TSaveResult saved = SaveFileAtomic(FileName, GSD_Bytes(TGSD_Sizes { GSD_NB_IN, GSD_NB_OUT }));
    if (!saved)
        Show_File_Save_Error(FileName, saved.Error);
}

void Create_PROFIBUS_GSD()
{
    if (!FileExists(File_ParGen)) {
        MessageDlg(Lang(1104), mtError, TMsgDlgButtons(mbOK), 0);
        return;
    }
    if (!Load_GSD_Sizes())
        return;
    // Sizes the file cannot carry stop here, before any question.
    GSD_Lines(TGSD_Sizes { GSD_NB_IN, GSD_NB_OUT });
    const auto dialog = std::make_unique<TSaveDialog>(FMorvantinoFirmWare);
    dialog->InitialDir = Project_Folder;
    dialog->Filter = QStringLiteral("Generic Station Description (*.gsd)|*.gsd");
    if (!dialog->Execute())
        return;
    const QString name = GSD_File_Name(dialog->FileName);
    if (FileExists(name) && MessageDlg(Lang(1103), mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    Write_GSD_File(name);
}
