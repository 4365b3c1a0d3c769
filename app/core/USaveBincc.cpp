#include "app/core/USaveBincc.h"

#include "app/core/UComon.h"
#include "app/core/UXmlFile.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <optional>

namespace {

// Offsets of the parameter block fields this build fills.
constexpr int Off_Modbus_ID = 24;
constexpr int Off_IP = 40;
constexpr int Off_Mask = 44;
constexpr int Off_Gateway = 48;
constexpr int Off_Options = 97;
constexpr int Off_Diagnostic = 384;
constexpr int Off_Baud_Rate = 400;
constexpr int Off_Parity = 424;
constexpr int Off_Stop_Bits = 430;
constexpr int Off_Data_Bits = 436;
constexpr int Off_DHCP = 1256;
constexpr int Off_Host_Name = 1300;
constexpr int Host_Name_Max = 31; // of 32 bytes, so the name stays terminated
constexpr int Off_Secondary_DNS = 1340;
constexpr int Off_Primary_DNS = 1420;
constexpr int Off_HART_Bank_Add = 1536;
constexpr int Off_SW_Version = 1644;
constexpr int SW_Version_Size = 8;
constexpr int Off_Web_Pages_Add = 1804;
constexpr int Off_Web_User = 1828;
constexpr int Off_Web_Password = 1836;
constexpr int Web_Text_Size = 8;

constexpr std::uint8_t Option_No_Read_Input = 0x40;

std::uint32_t Baud_Rate_Of_Index(int index)
{
    static constexpr std::uint32_t Rates[] = { 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200 };
    return index >= 0 && index < 8 ? Rates[index] : 9600;
}

// Reads the parameter file's elements by name; a missing element has no
// value at all, which is told apart from an empty one.
class TParReader {
public:
    explicit TParReader(const TXmlNode& root)
        : FRoot(root)
    {
    }
    std::optional<QString> Text(const char* key) const
    {
        const TXmlNode node = FRoot.FindChild(QLatin1String(key));
        if (node.IsNull())
            return std::nullopt;
        return node.Text();
    }
    bool Flag(const char* key) const
    {
        const auto t = Text(key);
        return t && *t == QLatin1String("1");
    }
    int Int(const char* key, int fallback) const
    {
        const auto t = Text(key);
        int v;
        return t && TryStrToInt(*t, v) ? v : fallback;
    }

private:
    TXmlNode FRoot;
};

TBinResult Failure(TBinFailure kind, const QString& file, const QString& reason, const QString& message)
{
    return { false, message, kind, file, reason };
}

} // namespace

TBinResult Bin_Read_Failure(const QString& file, const QString& reason)
{
    return Failure(TBinFailure::Read, file, reason, QStringLiteral("The file %1 cannot be read: %2").arg(file, reason));
}

TBinResult Bin_Save_Failure(const QString& file, const QString& reason)
{
    return Failure(TBinFailure::Save, file, reason, QStringLiteral("Cannot save the file %1: %2").arg(file, reason));
}

// ---------------------------------------------------------------------------
// Parameter block

std::uint32_t TSaveBin::Block32(int offset) const
{
    return std::uint32_t(ParameterBlock[offset]) | std::uint32_t(ParameterBlock[offset + 1]) << 8
        | std::uint32_t(ParameterBlock[offset + 2]) << 16 | std::uint32_t(ParameterBlock[offset + 3]) << 24;
}

void TSaveBin::SetBlock32(int offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        ParameterBlock[offset + i] = std::uint8_t(value >> (8 * i));
}

void TSaveBin::SetBlock16(int offset, std::uint16_t value)
{
    ParameterBlock[offset] = std::uint8_t(value);
    ParameterBlock[offset + 1] = std::uint8_t(value >> 8);
}

void TSaveBin::Init_Par_Block()
{
    ParameterBlock.fill(0);
    SetBlock32(0, 250000);
    SetBlock32(4, 250000);
    SetBlock32(8, 0);
    SetBlock32(12, 9600);
    SetBlock32(Off_Modbus_ID, 0);
    const std::uint8_t ip[] = { 192, 168, 2, 205 };
    for (int i = 0; i < 4; ++i) {
        ParameterBlock[Off_IP + i] = ip[i];
        ParameterBlock[Off_Mask + i] = i < 3 ? 255 : 0;
        ParameterBlock[Off_Gateway + i] = 255;
    }
    SetBlock16(52, 10000);
    SetBlock16(54, 10001);
    SetBlock16(56, 10001);
    for (int i = 0; i < 8; ++i)
        ParameterBlock[Off_Data_Bits + i] = 8;
}

void TSaveBin::Set_SW_Version()
{
    for (int i = 0; i < SW_Version_Size; ++i)
        ParameterBlock[Off_SW_Version + i] = 0;
    const QString v = SW_Version.left(SW_Version_Size);
    for (int i = 0; i < v.size(); ++i)
        ParameterBlock[Off_SW_Version + i] = std::uint8_t(v[i].unicode());
}

TBinResult TSaveBin::Read_Par_Gen()
{
    // A missing file keeps the defaults; a damaged one is never built as if
    // it were missing.
    const TXmlFileRead read = Read_Xml_File(XML1, File_ParGen);
    if (read.State == TXmlFileState::Missing)
        return {};
    if (read.State == TXmlFileState::Damaged)
        return Bin_Read_Failure(File_ParGen, read.Reason);
    // A declaration or comment may stand before the root; a root that is not
    // the parameter element reads as if every key were missing.
    TXmlNode root = XML1.DocumentElement();
    if (root.NodeName() != QLatin1String("Par_Gen"))
        root = TXmlNode();
    const TParReader par(root);

    Set_SW_Version();

    auto putText = [this](int offset, int size, int maxChars, const QString& text) {
        for (int i = 0; i < size; ++i)
            ParameterBlock[offset + i] = 0;
        const int n = std::min<int>(maxChars, int(text.size()));
        for (int i = 0; i < n; ++i)
            ParameterBlock[offset + i] = std::uint8_t(text[i].unicode());
    };
    auto putOctets = [&](int offset, const char* const keys[4], const int fallbacks[4]) {
        for (int i = 0; i < 4; ++i)
            ParameterBlock[offset + i] = std::uint8_t(par.Int(keys[i], fallbacks[i]));
    };

    if (const auto name = par.Text("Eth_Conn_Device_Name"))
        putText(Off_Host_Name, Host_Name_Max + 1, Host_Name_Max, *name);

    std::uint16_t dhcp = 0;
    if (par.Flag("Eth_Conn_DHCP_Cable"))
        dhcp |= 1;
    if (par.Flag("Eth_Conn_DHCP_WiFi"))
        dhcp |= 2;
    SetBlock16(Off_DHCP, dhcp);

    if (par.Flag("Eth_Conn_Enable_DNS")) {
        static const char* const Pri[4]
            = { "Eth_Conn_Primary_DNS1", "Eth_Conn_Primary_DNS2", "Eth_Conn_Primary_DNS3", "Eth_Conn_Primary_DNS4" };
        static const char* const Sec[4] = { "Eth_Conn_Secondary_DNS1", "Eth_Conn_Secondary_DNS2",
            "Eth_Conn_Secondary_DNS3", "Eth_Conn_Secondary_DNS4" };
        static const int PriFb[4] = { 8, 8, 8, 8 };
        static const int SecFb[4] = { 8, 8, 4, 4 };
        putOctets(Off_Primary_DNS, Pri, PriFb);
        putOctets(Off_Secondary_DNS, Sec, SecFb);
    }

    // The bank's master address is fixed; the element's text does not matter.
    HART_Bank.address = 1;
    if (const auto retry = par.Text("HART_Master_Retry_Limit"))
        HART_Bank.retry_limit = std::uint32_t(Retry_Limit_Index(*retry));

    SetBlock32(Off_Diagnostic, 0);
    if (par.Flag("HART_Master_Enable_Diagnostic")) {
        if (const auto diag = par.Text("HART_Master_Diagnostic")) {
            // 0 means off, so a position n is sent as n + 1; text that is not
            // a number counts as -1, which turns the diagnostic off.
            const std::int64_t v = StrToIntDef(*diag, -1);
            SetBlock32(Off_Diagnostic, std::uint32_t(v + 1));
        }
    }

    static const char* const Ip[4] = { "Ethernet_IP1", "Ethernet_IP2", "Ethernet_IP3", "Ethernet_IP4" };
    static const char* const Sm[4] = { "Ethernet_SM1", "Ethernet_SM2", "Ethernet_SM3", "Ethernet_SM4" };
    static const char* const Gat[4] = { "Ethernet_GAT1", "Ethernet_GAT2", "Ethernet_GAT3", "Ethernet_GAT4" };
    static const int IpFb[4] = { 192, 168, 0, 10 };
    static const int SmFb[4] = { 255, 255, 255, 0 };
    static const int GatFb[4] = { 192, 168, 0, 1 };
    putOctets(Off_IP, Ip, IpFb);
    putOctets(Off_Mask, Sm, SmFb);
    putOctets(Off_Gateway, Gat, GatFb);
    if (!par.Flag("Ethernet_EN_GAT"))
        for (int i = 0; i < 4; ++i)
            ParameterBlock[Off_Gateway + i] = 255;

    SetBlock32(Off_Baud_Rate, Baud_Rate_Of_Index(par.Int("MODBUS_SLAVE_BAUDRATE", 7)));
    ParameterBlock[Off_Parity] = std::uint8_t(par.Int("MODBUS_SLAVE_PARITY", 0));
    int stopBits = par.Int("MODBUS_SLAVE_STOPBITS", 0);
    if (stopBits == 1)
        stopBits = 2;
    ParameterBlock[Off_Stop_Bits] = std::uint8_t(stopBits);
    ParameterBlock[Off_Data_Bits] = 8;
    SetBlock32(Off_Modbus_ID, std::uint32_t(par.Int("MODBUS_SLAVE_IDDEVICE", 10)));

    const auto readInput = par.Text("MODBUS_SLAVE_READ_INPUT_REGISTER");
    ParameterBlock[Off_Options] = readInput && *readInput == QLatin1String("0") ? Option_No_Read_Input : 0;

    if (const auto user = par.Text("Web_Pages_User"))
        putText(Off_Web_User, Web_Text_Size, Web_Text_Size, *user);
    if (const auto password = par.Text("Web_Pages_Password"))
        putText(Off_Web_Password, Web_Text_Size, Web_Text_Size, *password);
    return {};
}

int TSaveBin::Copy_Par_Block()
{
    std::uint32_t sum = 0;
    for (int i = 0; i < Par_Block_Checksum_Offset; ++i)
        sum += ParameterBlock[i];
    SetBlock32(Par_Block_Checksum_Offset, sum);
    Bank1_Buffer = QByteArray(reinterpret_cast<const char*>(ParameterBlock.data()), Par_Block_Size);
    return Par_Block_Size;
}

// ---------------------------------------------------------------------------
// Build and save

TBinResult TSaveBin::Build_Banks()
{
    FBuilt = false;
    Init_Par_Block();
    Init_HART_Bank();
    Bank1_Size = 0;
    Bank2_Size = 0;
    Bank1_Buffer.clear();
    Bank2_Buffer.clear();

    if (TBinResult r = Read_Par_Gen(); !r)
        return r;
    SetBlock32(Off_HART_Bank_Add, HART_Bank_Device_Address);
    SetBlock32(Off_Web_Pages_Add, Web_Pages_Device_Address);
    if (TBinResult r = Read_HART_Variables(Block32(Off_HART_Bank_Add)); !r)
        return r;

    // The device bank is fixed in size: a larger HART bank would overwrite
    // whatever follows it in the converter's memory, so it is refused whole.
    qint64 bank2 = HART_Bank_Header_Size + qint64(HART_Var_Place_Size) * HART_Bank.hart_var_place.size();
    for (const THart_Var_Place& v : HART_Bank.hart_var_place)
        bank2 += v.params_length;
    if (bank2 > Bank2_Capacity)
        return Failure(TBinFailure::Other, File_HART_Variables, QString(),
            QStringLiteral("The HART variables of %1 take %2 bytes, more than the %3 bytes of the device's HART bank.")
                .arg(File_HART_Variables)
                .arg(bank2)
                .arg(Bank2_Capacity));

    Bank1_Size = Copy_Par_Block();
    Bank2_Size = Write_HART_Bank(0, Bank2_Buffer);
    FBuilt = true;
    return {};
}

TBinResult TSaveBin::Build_Bin()
{
    FBuilt = false;
    if (Project_Folder.isEmpty())
        return Failure(TBinFailure::Other, QString(), QString(), QStringLiteral("No project is active."));
    return Build_Banks();
}

TBinResult TSaveBin::Save_Banks()
{
    const QString bin = Join_Path(Project_Folder, QStringLiteral("bin"));
    const QString path1 = Join_Path(bin, QStringLiteral("bank1.bin"));
    const QString path2 = Join_Path(bin, QStringLiteral("bank2.bin"));
    auto failed = [](const QString& path, const TSaveResult& r) {
        return Bin_Save_Failure(path, File_Error_Reason(r.Error, path));
    };

    // A bin folder deleted by hand is made again; when that fails, the write
    // below says why.
    if (!DirectoryExists(bin))
        ForceDirectories(bin);

    // The two images belong together: when the second cannot be written, the
    // first is put back as it was so the device never gets a mixed pair.
    const bool had1 = FileExists(path1);
    std::optional<QByteArray> old1;
    if (had1) {
        try {
            TMemoryStream old;
            old.LoadFromFile(path1);
            old1 = old.Bytes();
        } catch (const Exception&) {
            // It cannot be put back; a failed second write removes the first.
        }
    }

    const TSaveResult r1 = Write_File(path1, Bank1_Buffer.left(Bank1_Size));
    if (!r1)
        return failed(path1, r1);
    const TSaveResult r2 = Write_File(path2, Bank2_Buffer.left(Bank2_Size));
    if (r2)
        return {};

    bool restored = false;
    if (old1)
        restored = Write_File(path1, *old1).Ok;
    else if (!had1)
        restored = DeleteFile(path1) || !FileExists(path1);
    if (restored)
        return failed(path2, r2);
    // The new bank1 cannot go back to what it was: without it the update
    // program finds no pair at all, which is better than a mixed one.
    const bool removed = DeleteFile(path1) || !FileExists(path1);
    const QString reason = File_Error_Reason(r2.Error, path2)
        + (removed ? QStringLiteral(". The new bank1.bin could not be put back as it was and was removed; build the "
                                    "images again.")
                   : QStringLiteral(". The new bank1.bin could not be put back as it was nor removed: bank1.bin and "
                                    "bank2.bin in %1 do not belong together; build the images again before any update.")
                         .arg(bin));
    return Bin_Save_Failure(path2, reason);
}

TBinResult TSaveBin::Save_Bin()
{
    // With no active project the path would leave the projects folder.
    if (Project_Folder.isEmpty())
        return Failure(TBinFailure::Other, QString(), QString(), QStringLiteral("No project is active."));
    if (!FBuilt)
        return Failure(TBinFailure::Other, QString(), QString(),
            QStringLiteral("The configuration images of %1 were not built.").arg(Project_Folder));
    return Save_Banks();
}

TSaveBin& Bin_Builder()
{
    static TSaveBin builder;
    return builder;
}

TBinResult Build_Bin()
{
    return Bin_Builder().Build_Bin();
}

TBinResult Save_Bin()
{
    return Bin_Builder().Save_Bin();
}
