// The parameter file ParGen.xml: one element per parameter under the root
// "Par_Gen", the format version in a comment after the root.

#include "app/core/UParGen.h"

#include "app/core/UComon.h"
#include "app/core/UXmlFile.h"
#include "platform/controls/Dialogs.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

#include <functional>
#include <optional>
#include <utility>

namespace {

enum class TKeyKind {
    Edit, // the text as typed
    Flag, // "1" or "0"
    ListText, // the displayed text; read back through a converter
    ListIndex, // the item index in decimal
    WiFi_DHCP, // written, never read: the box is always cleared
};

struct TParKey {
    TParKey(const char* name, TKeyKind kind, TControl* control, QString def = QString())
        : Name(name)
        , Kind(kind)
        , Control(control)
        , Default(std::move(def))
    {
    }
    const char* Name;
    TKeyKind Kind;
    TControl* Control;
    QString Default; // edits
    bool FlagDefault = false; // check boxes, when the element is missing
    int IndexDefault = 0; // lists, when the element is missing
    int IndexFallback = 0; // lists, when the text is not a number
    std::function<int(const QString&)> ToIndex; // ListText
};

std::vector<TParKey> Keys_Of(const TFParGen& f)
{
    auto edit = [](const char* name, TEdit* e, const QString& def = QString()) {
        return TParKey { name, TKeyKind::Edit, e, def };
    };
    auto flag = [](const char* name, TCheckBox* cb, bool def = false) {
        TParKey k { name, TKeyKind::Flag, cb };
        k.FlagDefault = def;
        return k;
    };
    auto index = [](const char* name, TComboBox* cb, int def, int fallback) {
        TParKey k { name, TKeyKind::ListIndex, cb };
        k.IndexDefault = def;
        k.IndexFallback = fallback;
        return k;
    };
    auto text = [](const char* name, TComboBox* cb, std::function<int(const QString&)> toIndex) {
        TParKey k { name, TKeyKind::ListText, cb };
        k.ToIndex = std::move(toIndex);
        return k;
    };
    const QString eight = QStringLiteral("8");
    return {
        edit("Eth_Conn_Device_Name", f.E_EthConn_Device_Name),
        flag("Eth_Conn_DHCP_Cable", f.CB_EthConn_En_DHCP_Cable),
        TParKey { "Eth_Conn_DHCP_WiFi", TKeyKind::WiFi_DHCP, f.CB_EthConn_En_DHCP_WiFi },
        flag("Eth_Conn_Enable_DNS", f.CB_EthConn_Enable_DNS),
        edit("Eth_Conn_Primary_DNS1", f.E_EthConn_Pri_DNS_IP1, eight),
        edit("Eth_Conn_Primary_DNS2", f.E_EthConn_Pri_DNS_IP2, eight),
        edit("Eth_Conn_Primary_DNS3", f.E_EthConn_Pri_DNS_IP3, eight),
        edit("Eth_Conn_Primary_DNS4", f.E_EthConn_Pri_DNS_IP4, eight),
        edit("Eth_Conn_Secondary_DNS1", f.E_EthConn_Sec_DNS_IP1, eight),
        edit("Eth_Conn_Secondary_DNS2", f.E_EthConn_Sec_DNS_IP2, eight),
        edit("Eth_Conn_Secondary_DNS3", f.E_EthConn_Sec_DNS_IP3, eight),
        edit("Eth_Conn_Secondary_DNS4", f.E_EthConn_Sec_DNS_IP4, eight),
        text("HART_Master_Address", f.CB_HART_Master_Address, Is_Secondary_Master),
        text("HART_Master_Retry_Limit", f.CB_HART_Master_RetryLimit, Retry_Limit_Index),
        flag("HART_Master_Enable_Diagnostic", f.CB_HART_Master_Diagnostic),
        edit("HART_Master_Diagnostic", f.E_HART_Master_Diagnostic, QStringLiteral("0")),
        edit("Ethernet_IP1", f.E_Ethernet_IP1, QStringLiteral("192")),
        edit("Ethernet_IP2", f.E_Ethernet_IP2, QStringLiteral("168")),
        edit("Ethernet_IP3", f.E_Ethernet_IP3, QStringLiteral("0")),
        edit("Ethernet_IP4", f.E_Ethernet_IP4, QStringLiteral("10")),
        edit("Ethernet_SM1", f.E_Ethernet_SM1, QStringLiteral("255")),
        edit("Ethernet_SM2", f.E_Ethernet_SM2, QStringLiteral("255")),
        edit("Ethernet_SM3", f.E_Ethernet_SM3, QStringLiteral("255")),
        edit("Ethernet_SM4", f.E_Ethernet_SM4, QStringLiteral("0")),
        edit("Ethernet_GAT1", f.E_Ethernet_GAT1, QStringLiteral("192")),
        edit("Ethernet_GAT2", f.E_Ethernet_GAT2, QStringLiteral("168")),
        edit("Ethernet_GAT3", f.E_Ethernet_GAT3, QStringLiteral("0")),
        edit("Ethernet_GAT4", f.E_Ethernet_GAT4, QStringLiteral("1")),
        flag("Ethernet_EN_GAT", f.CB_Ethernet_En_GAT),
        index("MODBUS_SLAVE_SERIAL", f.CB_ModbusSlave_Serial, 0, 0),
        index("MODBUS_SLAVE_BAUDRATE", f.CB_ModbusSlave_Baudrate, 7, 7),
        index("MODBUS_SLAVE_PARITY", f.CB_ModbusSlave_Parity, 0, 0),
        index("MODBUS_SLAVE_STOPBITS", f.CB_ModbusSlave_StopBits, 0, 0),
        edit("MODBUS_SLAVE_IDDEVICE", f.E_ModbusSlave_IDDevice, QStringLiteral("10")),
        flag("MODBUS_SLAVE_READ_INPUT_REGISTER", f.CB_ModbusSlave_ReadInput, true),
        edit("Web_Pages_User", f.E_WebPages_User),
        edit("Web_Pages_Password", f.E_WebPages_Password),
    };
}

// A list index outside the list leaves it without a selection.
void Select_Index(TComboBox* cb, int index)
{
    cb->SetItemIndex(index >= 0 && index < cb->Items()->Count() ? index : -1);
}

} // namespace

void TFParGen::Read_ParGen()
{
    // With no project active there is nothing to read: the path would point
    // outside the projects folder.
    TXmlNode root;
    FParGen_Damaged = false;
    if (!Project_Folder.isEmpty()) {
        // Anything at the path that is not a readable file (a folder, a pipe,
        // a file that is not XML) is damaged, never taken for a missing one.
        const TXmlFileRead read = Read_Xml_File(XML1, File_ParGen);
        QString error = read.Reason;
        FParGen_Damaged = read.State == TXmlFileState::Damaged;
        if (read.State == TXmlFileState::Loaded) {
            // The root is the first element: a declaration or comment before
            // it is no reason to lose the file's values.
            root = XML1.DocumentElement();
            if (root.NodeName() != QLatin1String("Par_Gen")) {
                FParGen_Damaged = true;
                error = QStringLiteral("it holds no Par_Gen element");
                root = TXmlNode();
            }
        }
        // A file that is there but cannot be read is not taken for a missing
        // one: the user hears of it, the form shows the defaults, and OK asks
        // before the file is replaced.
        if (FParGen_Damaged)
            Show_File_Read_Error(File_ParGen, error);
    }

    for (const TParKey& key : Keys_Of(*this)) {
        if (key.Kind == TKeyKind::WiFi_DHCP) {
            static_cast<TCheckBox*>(key.Control)->SetChecked(false);
            continue;
        }
        const TXmlNode node = root.FindChild(QLatin1String(key.Name));
        const std::optional<QString> text = node.IsNull() ? std::nullopt : std::optional<QString>(node.Text());
        switch (key.Kind) {
        case TKeyKind::Edit:
            static_cast<TEdit*>(key.Control)->SetText(text.value_or(key.Default));
            break;
        case TKeyKind::Flag:
            static_cast<TCheckBox*>(key.Control)->SetChecked(text ? *text == QLatin1String("1") : key.FlagDefault);
            break;
        case TKeyKind::ListText:
            Select_Index(static_cast<TComboBox*>(key.Control), text ? key.ToIndex(*text) : key.IndexDefault);
            break;
        case TKeyKind::ListIndex:
            Select_Index(
                static_cast<TComboBox*>(key.Control), text ? StrToIntDef(*text, key.IndexFallback) : key.IndexDefault);
            break;
        case TKeyKind::WiFi_DHCP:
            break;
        }
    }

    Is_Change = false;
    Move_GroupBoxs();
}

bool TFParGen::Write_ParGen()
{
    if (Project_Folder.isEmpty()) {
        MessageDlg(QStringLiteral("No project is active: the parameters cannot be saved."), mtError, mbOK);
        return false;
    }
    if (FParGen_Damaged
        && MessageDlg(QStringLiteral("The file %1 could not be read. Replace it with the parameters shown?")
                          .arg(File_ParGen),
               mtConfirmation, mbYesNo)
            != mrYes)
        return false;

    XML1.SetActive(true);
    XML1.Clear();
    TXmlNode root = XML1.AddChild(QStringLiteral("Par_Gen"));
    XML1.AddComment(QStringLiteral("SW_VERSION = ") + SW_Version);
    for (const TParKey& key : Keys_Of(*this)) {
        QString value;
        switch (key.Kind) {
        case TKeyKind::Edit:
            value = static_cast<TEdit*>(key.Control)->Text();
            break;
        case TKeyKind::Flag:
        case TKeyKind::WiFi_DHCP:
            value = static_cast<TCheckBox*>(key.Control)->Checked() ? QStringLiteral("1") : QStringLiteral("0");
            break;
        case TKeyKind::ListText:
            value = static_cast<TComboBox*>(key.Control)->Text();
            break;
        case TKeyKind::ListIndex:
            value = QString::number(static_cast<TComboBox*>(key.Control)->ItemIndex());
            break;
        }
        root.AddChild(QLatin1String(key.Name)).SetText(value);
    }

    // Saved whole or not at all; on failure the previous file stays and the
    // form stays open with the user's edits.
    QString error;
    if (!XML1.SaveToFile(File_ParGen, &error)) {
        Show_File_Save_Error(File_ParGen, error);
        return false;
    }
    FParGen_Damaged = false;
    return true;
}
