#include "app/tables/UProfinetXML.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/UXmlFile.h"
#include "platform/controls/Dialogs.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/XmlDom.h"

#include <memory>

namespace {

const QString Device_Profile_Namespace = QStringLiteral("http://www.profibus.com/GSDML/2003/11/DeviceProfile");
const QString Schema_Instance_Namespace = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

int Length_Of(const TXmlNode& root, const char* key, int fallback)
{
    const TXmlNode node = root.FindChild(QLatin1String(key));
    return node.IsNull() ? fallback : StrToIntDef(node.Text(), fallback);
}

void Check_Length(const char* key, int value)
{
    if (value < 1 || value > GSDML_Max_Length)
        throw Exception(QStringLiteral("%1 is %2; the PROFINET description takes 1 to %3 bytes")
                            .arg(QLatin1String(key))
                            .arg(value)
                            .arg(GSDML_Max_Length));
}

// The station name as an attribute value. Plain names are written as they
// are; a name that holds a character XML 1.0 cannot carry at all is refused,
// since no reader could open the file.
QString Attribute_Text(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        switch (ch.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            continue;
        case u'<':
            out += QStringLiteral("&lt;");
            continue;
        case u'>':
            out += QStringLiteral("&gt;");
            continue;
        case u'"':
            out += QStringLiteral("&quot;");
            continue;
        case u'\t':
            out += QStringLiteral("&#9;");
            continue;
        case u'\n':
            out += QStringLiteral("&#10;");
            continue;
        case u'\r':
            out += QStringLiteral("&#13;");
            continue;
        default:
            break;
        }
        bool valid = ch.unicode() >= 0x20 && ch.unicode() != 0xFFFE && ch.unicode() != 0xFFFF;
        if (ch.isHighSurrogate()) {
            valid = i + 1 < text.size() && text[i + 1].isLowSurrogate();
            if (valid) {
                out += ch;
                out += text[++i];
                continue;
            }
        } else if (ch.isLowSurrogate()) {
            valid = false;
        }
        if (!valid)
            throw Exception(QStringLiteral("PROFINET_NAME_STA holds a character an XML file cannot carry (U+%1)")
                                .arg(QString::number(ch.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
        out += ch;
    }
    return out;
}

} // namespace

TPROFINET_Parameters PROFINET_Parameters_Of(const TXmlNode& root)
{
    TPROFINET_Parameters p;
    if (root.IsNull())
        return p;
    p.Output_Length = Length_Of(root, "PROFINET_NB_IN", p.Output_Length);
    p.Input_Length = Length_Of(root, "PROFINET_NB_OUT", p.Input_Length);
    const QString name = root.FindChild(QStringLiteral("PROFINET_NAME_STA")).Text();
    if (!name.trimmed().isEmpty())
        p.Station_Name = name;
    return p;
}

QStringList PROFINET_XML_Lines(const TPROFINET_Parameters& p)
{
    Check_Length("PROFINET_NB_OUT", p.Input_Length);
    Check_Length("PROFINET_NB_IN", p.Output_Length);
    const QString station = Attribute_Text(p.Station_Name);
    const QString vendor = Attribute_Text(Maker_Vendor_Name);

    QStringList l;
    l << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")
      << QStringLiteral("<!-- A fieldbus integration example. -->")
      << QStringLiteral("<ISO15745Profile xmlns=\"%1\" xmlns:xsi=\"%2\" xsi:schemaLocation=\"%1 "
                        "..\\xsd\\GSDML-DeviceProfile-v2.31.xsd\">")
             .arg(Device_Profile_Namespace, Schema_Instance_Namespace)
      << QStringLiteral("\t<ProfileHeader>")
      << QStringLiteral("\t\t<ProfileIdentification>PROFINET Device Profile</ProfileIdentification>")
      << QStringLiteral("\t\t<ProfileRevision>1.00</ProfileRevision>")
      << QStringLiteral("\t\t<ProfileName>Device Profile for PROFINET Devices</ProfileName>")
      << QStringLiteral("\t\t<ProfileSource>PROFIBUS Nutzerorganisation e. V. (PNO)</ProfileSource>")
      << QStringLiteral("\t\t<ProfileClassID>Device</ProfileClassID>") << QStringLiteral("\t\t<ISO15745Reference>")
      << QStringLiteral("\t\t\t<ISO15745Part>4</ISO15745Part>")
      << QStringLiteral("\t\t\t<ISO15745Edition>1</ISO15745Edition>")
      << QStringLiteral("\t\t\t<ProfileTechnology>GSDML</ProfileTechnology>")
      << QStringLiteral("\t\t</ISO15745Reference>") << QStringLiteral("\t</ProfileHeader>")
      << QStringLiteral("\t<ProfileBody>")
      << QStringLiteral("\t\t<DeviceIdentity VendorID=\"0x0E9D\" DeviceID=\"0x7A1F\">")
      << QStringLiteral("\t\t\t<InfoText TextId=\"IDT_INFO_Device\"/>")
      << QStringLiteral("\t\t\t<VendorName Value=\"%1\"/>").arg(vendor) << QStringLiteral("\t\t</DeviceIdentity>")
      << QStringLiteral("\t\t<DeviceFunction>")
      << QStringLiteral("\t\t\t<Family MainFamily=\"Gateway\" ProductFamily=\"KM41212\"/>")
      << QStringLiteral("\t\t</DeviceFunction>") << QStringLiteral("\t\t<ApplicationProcess>")
      << QStringLiteral("\t\t\t<DeviceAccessPointList>")
      << QStringLiteral("\t\t\t\t<DeviceAccessPointItem PNIO_Version=\"V2.3\" RequiredSchemaVersion=\"V2.25\" "
                        "ID=\"IDD_1\" PhysicalSlots=\"0..4\" ModuleIdentNumber=\"0x00000001\" "
                        "MinDeviceInterval=\"64\" ImplementationType=\"%1\" DNS_CompatibleName=\"%1\" "
                        "FixedInSlots=\"0\" ObjectUUID_LocalIndex=\"1\" MultipleWriteSupported=\"true\" "
                        "MaxSupportedRecordSize=\"8192\" ParameterizationSpeedupSupported=\"true\" "
                        "PowerOnToCommReady=\"350\" DeviceAccessSupported=\"true\" SharedDeviceSupported=\"true\" "
                        "CheckDeviceID_Allowed=\"false\" NameOfStationNotTransferable=\"true\">")
             .arg(station)
      << QStringLiteral("\t\t\t\t\t<ModuleInfo>") << QStringLiteral("\t\t\t\t\t\t<Name TextId=\"IDT_NAME_DAP1\"/>")
      << QStringLiteral("\t\t\t\t\t\t<InfoText TextId=\"IDT_INFO_DAP1\"/>")
      << QStringLiteral("\t\t\t\t\t\t<VendorName Value=\"%1\"/>").arg(vendor)
      << QStringLiteral("\t\t\t\t\t\t<OrderNumber Value=\"KM41212\"/>") << QStringLiteral("\t\t\t\t\t</ModuleInfo>")
      << QStringLiteral("\t\t\t\t\t<SubslotList>")
      << QStringLiteral("\t\t\t\t\t\t<SubslotItem SubslotNumber=\"0\" TextId=\"IDT_SUBSLOT_1\"/>")
      << QStringLiteral("\t\t\t\t\t\t<SubslotItem SubslotNumber=\"32768\" TextId=\"IDT_SUBSLOT_Interface\"/>")
      << QStringLiteral("\t\t\t\t\t\t<SubslotItem SubslotNumber=\"32769\" TextId=\"IDT_SUBSLOT_Port1\"/>")
      << QStringLiteral("\t\t\t\t\t\t<SubslotItem SubslotNumber=\"32770\" TextId=\"IDT_SUBSLOT_Port2\"/>")
      << QStringLiteral("\t\t\t\t\t</SubslotList>")
      << QStringLiteral("\t\t\t\t\t<IOConfigData MaxInputLength=\"1440\" MaxOutputLength=\"1440\" "
                        "MaxDataLength=\"2880\"/>")
      << QStringLiteral("\t\t\t\t\t<UseableModules>")
      << QStringLiteral("\t\t\t\t\t\t<ModuleItemRef ModuleItemTarget=\"IDM_1\" FixedInSlots=\"1\"/>")
      << QStringLiteral("\t\t\t\t\t</UseableModules>") << QStringLiteral("\t\t\t\t\t<VirtualSubmoduleList>")
      << QStringLiteral("\t\t\t\t\t\t<VirtualSubmoduleItem ID=\"IDS_V1\" SubmoduleIdentNumber=\"0x00000000\">")
      << QStringLiteral("\t\t\t\t\t\t\t<IOData IOPS_Length=\"1\" IOCS_Length=\"1\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t<ModuleInfo>")
      << QStringLiteral("\t\t\t\t\t\t\t\t<Name TextId=\"IDT_NAME_VS1\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t<InfoText TextId=\"IDT_INFO_VS1\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t</ModuleInfo>") << QStringLiteral("\t\t\t\t\t\t</VirtualSubmoduleItem>")
      << QStringLiteral("\t\t\t\t\t</VirtualSubmoduleList>") << QStringLiteral("\t\t\t\t\t<SystemDefinedSubmoduleList>")
      << QStringLiteral("\t\t\t\t\t\t<InterfaceSubmoduleItem ID=\"IDS_I\" SubmoduleIdentNumber=\"0x00000001\" "
                        "SubslotNumber=\"32768\" TextId=\"IDT_NAME_IS\" SupportedRT_Classes=\"RT_CLASS_1\" "
                        "SupportedProtocols=\"SNMP;LLDP\" SupportedMibs=\"MIB2\">")
      << QStringLiteral("\t\t\t\t\t\t\t<ApplicationRelations>")
      << QStringLiteral("\t\t\t\t\t\t\t\t<TimingProperties SendClock=\"32\" "
                        "ReductionRatio=\"1 2 4 8 16 32 64 128 256 512\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t</ApplicationRelations>")
      << QStringLiteral("\t\t\t\t\t\t</InterfaceSubmoduleItem>")
      << QStringLiteral("\t\t\t\t\t\t<PortSubmoduleItem ID=\"IDS_P1\" SubmoduleIdentNumber=\"0x00000002\" "
                        "SubslotNumber=\"32769\" TextId=\"IDT_NAME_PS1\" MaxPortRxDelay=\"350\" "
                        "MaxPortTxDelay=\"160\"/>")
      << QStringLiteral("\t\t\t\t\t\t<PortSubmoduleItem ID=\"IDS_P2\" SubmoduleIdentNumber=\"0x00000002\" "
                        "SubslotNumber=\"32770\" TextId=\"IDT_NAME_PS2\" MaxPortRxDelay=\"350\" "
                        "MaxPortTxDelay=\"160\"/>")
      << QStringLiteral("\t\t\t\t\t</SystemDefinedSubmoduleList>")
      << QStringLiteral("\t\t\t\t\t<!-- This element tells the engineering tool that the DAP supports fieldbus "
                        "integration (slot clusters). -->")
      << QStringLiteral("\t\t\t\t\t<!-- FieldbusIntegrationSlots MaxSupported=\"127\" Range=\"100..9999\"/ -->")
      << QStringLiteral("\t\t\t\t</DeviceAccessPointItem>") << QStringLiteral("\t\t\t</DeviceAccessPointList>")
      << QStringLiteral("\t\t\t<ModuleList>")
      << QStringLiteral("\t\t\t\t<!-- The \"normal\" module carrying the FAP. -->")
      << QStringLiteral("\t\t\t\t<ModuleItem ID=\"IDM_1\" ModuleIdentNumber=\"0x00000001\">")
      << QStringLiteral("\t\t\t\t\t<ModuleInfo>") << QStringLiteral("\t\t\t\t\t\t<Name TextId=\"IDT_NAME_M1\"/>")
      << QStringLiteral("\t\t\t\t\t\t<InfoText TextId=\"IDT_INFO_M1\"/>")
      << QStringLiteral("\t\t\t\t\t\t<OrderNumber Value=\"12345-0040-M\"/>")
      << QStringLiteral("\t\t\t\t\t</ModuleInfo>") << QStringLiteral("\t\t\t\t\t<VirtualSubmoduleList>")
      << QStringLiteral("\t\t\t\t\t\t<VirtualSubmoduleItem ID=\"IDM_1\" SubmoduleIdentNumber=\"0x00000001\">")
      << QStringLiteral("\t\t\t\t\t\t\t<IOData IOPS_Length=\"1\" IOCS_Length=\"1\">")
      << QStringLiteral("\t\t\t\t\t\t\t\t<Input><DataItem DataType=\"OctetString\" Length=\"%1\" "
                        "TextId=\"IDT_Input_1\"/></Input>")
             .arg(p.Input_Length)
      << QStringLiteral("\t\t\t\t\t\t\t\t<Output><DataItem DataType=\"OctetString\" Length=\"%1\" "
                        "TextId=\"IDT_Output_1\"/></Output>")
             .arg(p.Output_Length)
      << QStringLiteral("\t\t\t\t\t\t\t</IOData>") << QStringLiteral("\t\t\t\t\t\t\t<RecordDataList>")
      << QStringLiteral("\t\t\t\t\t\t\t\t<ParameterRecordDataItem Index=\"128\" Length=\"2\">")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t<Name TextId=\"IDT_NAME_M1_IDT_REF_channel\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t<Const ByteOffset=\"0\" Data=\"0x00,0x00\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t<Ref TextId=\"IDT_REF_reaction_to_cpu_stop\" Visible=\"true\" "
                        "DataType=\"BitArea\" ByteOffset=\"0\" BitOffset=\"0\" BitLength=\"2\" "
                        "DefaultValue=\"2\" AllowedValues=\"0..2\" ValueItemTarget=\"IDV_reaction_to_cpu_stop\" "
                        "ID=\"IDT_REF_reaction_to_cpu_stop\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t<MenuList>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t\t<MenuItem ID=\"IDT_NAME_M1_IDT_REF_channel\">")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t\t\t<Name TextId=\"IDT_NAME_M1_IDT_REF_channel\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t\t\t<MenuRef MenuTarget=\"IDT_NAME_M1_Base_Parameters\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t\t</MenuItem>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t\t<MenuItem ID=\"IDT_NAME_M1_Base_Parameters\">")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t\t\t<Name TextId=\"IDT_NAME_M1_Base_Parameters\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t\t\t<ParameterRef ParameterTarget=\"IDT_REF_reaction_to_cpu_stop\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t\t\t</MenuItem>") << QStringLiteral("\t\t\t\t\t\t\t\t\t</MenuList>")
      << QStringLiteral("\t\t\t\t\t\t\t\t</ParameterRecordDataItem>")
      << QStringLiteral("\t\t\t\t\t\t\t</RecordDataList>") << QStringLiteral("\t\t\t\t\t\t\t<ModuleInfo>")
      << QStringLiteral("\t\t\t\t\t\t\t\t<Name TextId=\"IDT_NAME_M1\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t\t<InfoText TextId=\"IDT_INFO_M1\"/>")
      << QStringLiteral("\t\t\t\t\t\t\t</ModuleInfo>") << QStringLiteral("\t\t\t\t\t\t</VirtualSubmoduleItem>")
      << QStringLiteral("\t\t\t\t\t</VirtualSubmoduleList>") << QStringLiteral("\t\t\t\t</ModuleItem>")
      << QStringLiteral("\t\t\t</ModuleList>") << QStringLiteral("\t\t\t<ValueList>")
      << QStringLiteral("\t\t\t\t<ValueItem ID=\"IDV_reaction_to_cpu_stop\">")
      << QStringLiteral("\t\t\t\t\t<Assignments>")
      << QStringLiteral("\t\t\t\t\t\t<Assign TextId=\"IDT_ASSIGN_do_set_substitude_values\" Content=\"0\"/>")
      << QStringLiteral("\t\t\t\t\t\t<Assign TextId=\"IDT_ASSIGN_do_values_will_hold\" Content=\"1\"/>")
      << QStringLiteral("\t\t\t\t\t\t<Assign TextId=\"IDT_ASSIGN_do_continue_counting\" Content=\"2\"/>")
      << QStringLiteral("\t\t\t\t\t</Assignments>") << QStringLiteral("\t\t\t\t</ValueItem>")
      << QStringLiteral("\t\t\t</ValueList>") << QStringLiteral("\t\t\t<CategoryList>")
      << QStringLiteral("\t\t\t\t<CategoryItem ID=\"IDC_DI\" TextId=\"IDT_CATEGORY_DI\">")
      << QStringLiteral("\t\t\t\t\t<InfoText TextId=\"IDT_INFO_DI\"/>") << QStringLiteral("\t\t\t\t</CategoryItem>")
      << QStringLiteral("\t\t\t\t<CategoryItem ID=\"IDC_DO\" TextId=\"IDT_CATEGORY_DO\">")
      << QStringLiteral("\t\t\t\t\t<InfoText TextId=\"IDT_INFO_DO\"/>") << QStringLiteral("\t\t\t\t</CategoryItem>")
      << QStringLiteral("\t\t\t</CategoryList>") << QStringLiteral("\t\t\t<ExternalTextList>")
      << QStringLiteral("\t\t\t\t<PrimaryLanguage>");
    static const char* const texts[][2] = { { "IDT_INFO_Device", "Quolmi Gateways" }, { "IDT_NAME_DAP1", "HARTDevice" },
        { "IDT_INFO_DAP1", "Profinet HART Adapter" }, { "IDT_SUBSLOT_1", "Subslot 1" },
        { "IDT_SUBSLOT_Interface", "Interface" }, { "IDT_SUBSLOT_Port1", "Port 1" }, { "IDT_SUBSLOT_Port2", "Port 2" },
        { "IDT_RECORD_NAME_Head", "Parameters of head module" }, { "IDT_REF_Power", "Percent power" },
        { "IDT_NAME_VS1", "Submodule V1" }, { "IDT_INFO_VS1", "Description of submodule V1" }, { "IDT_NAME_IS", "I" },
        { "IDT_NAME_PS1", "P1" }, { "IDT_NAME_PS2", "P2" }, { "IDT_NAME_M1", "Module" },
        { "IDT_INFO_M1", "device HART" }, { "IDT_NAME_FAP", "FAP for HART" },
        { "IDT_INFO_FAP", "Description of FAP for HART" }, { "IDT_RECORD_NAME_SlotCluster", "Parameters of the FAP" },
        { "IDT_REF_SlotClusterBegin", "Beginning of slot cluster" }, { "IDT_NAME_M_PB1", "HART Device " },
        { "IDT_INFO_M_PB1", "Description of HART" }, { "IDT_NAME_S_PB1", "Module of a HART" },
        { "IDT_INFO_S_PB1", "Description of module of a HART" }, { "IDT_PB_Input", "Digital input HART" },
        { "IDT_PB_InputBit0", "Digital input bit HART" }, { "IDT_NAME_S1", "Submodule 1" },
        { "IDT_INFO_S1", "Description of submodule 1" }, { "IDT_Input_1", "Input byte" },
        { "IDT_Output_1", "Output word" }, { "IDT_CATEGORY_DI", "Digital Input" },
        { "IDT_INFO_DI", "Description of digital input" }, { "IDT_CATEGORY_DO", "Digital output" },
        { "IDT_INFO_DO", "Description of digital output" }, { "IDT_NAME_M1_IDT_REF_channel", "Canale x" },
        { "IDT_REF_reaction_to_cpu_stop", "Reaction to CPU STOP" },
        { "IDT_NAME_M1_Base_Parameters", "Base Parameters" } };
    for (const auto& t : texts)
        l << QStringLiteral("\t\t\t\t\t<Text TextId=\"%1\" Value=\"%2\"/>")
                 .arg(QLatin1String(t[0]), QLatin1String(t[1]));
    // These three stand with their value first.
    static const char* const assigns[][2] = { { "IDT_ASSIGN_do_set_substitude_values", "Output substitute value" },
        { "IDT_ASSIGN_do_values_will_hold", "Keep last value" },
        { "IDT_ASSIGN_do_continue_counting", "Continue operation" } };
    for (const auto& t : assigns)
        l << QStringLiteral("\t\t\t\t\t<Text Value=\"%2\" TextId=\"%1\"/>")
                 .arg(QLatin1String(t[0]), QLatin1String(t[1]));
    l << QStringLiteral("\t\t\t\t</PrimaryLanguage>") << QStringLiteral("\t\t\t</ExternalTextList>")
      << QStringLiteral("\t\t</ApplicationProcess>") << QStringLiteral("\t</ProfileBody>")
      << QStringLiteral("</ISO15745Profile>");
    return l;
}

QByteArray PROFINET_XML_Bytes(const TPROFINET_Parameters& p)
{
    return EncodeText(PROFINET_XML_Lines(p).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), TTextEncoding::UTF8);
}

bool Load_PROFINET_Parameters(TPROFINET_Parameters& p)
{
    TXmlDocument xml;
    const TXmlFileRead read = Read_Xml_File(xml, File_ParGen);
    if (read.State == TXmlFileState::Damaged) {
        Show_File_Read_Error(File_ParGen, read.Reason);
        return false;
    }
    p = PROFINET_Parameters_Of(read.State == TXmlFileState::Loaded ? xml.DocumentElement() : TXmlNode());
    return true;
}

void Write_PROFINET_XML(const QString& path)
{
    TPROFINET_Parameters p;
    if (!Load_PROFINET_Parameters(p))
        return;
    const TSaveResult saved = SaveFileAtomic(path, PROFINET_XML_Bytes(p));
    if (!saved)
        Show_File_Save_Error(path, saved.Error);
}

void Create_PROFINET_XML(const QString& fileName)
{
    const auto dialog = std::make_unique<TSaveDialog>(FMorvantinoFirmWare);
    dialog->InitialDir = Project_Folder;
    dialog->Filter = QStringLiteral("PROFINET XML (*.xml)|") + fileName;
    dialog->FileName = fileName;
    if (!dialog->Execute())
        return;
    // A name typed in the dialog only picks the folder.
    const QString path = Join_Path(ExtractFileDir(dialog->FileName), fileName);
    if (FileExists(path) && MessageDlg(Lang(1708), mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    Write_PROFINET_XML(path);
}
