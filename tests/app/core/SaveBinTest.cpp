// The configuration images of the test projects in tests/data/imagebuilder
// are compared byte for byte with the images computed independently by
// scripts/golden/make_bank_images.py.

#include "app/core/UComon.h"
#include "app/core/USaveBincc.h"
#include "common/TestUtil.h"
#include "platform/runtime/XmlDom.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <utility>
#include <vector>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable " + path.toUtf8() + ">");
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// Makes a project folder with a bin sub-folder, copies the named fixture's
// project files into it and makes it the active project.
QString MakeProject(const QString& fixture = QString(), bool withBin = true)
{
    const QString folder = testutil::TempDir() + QStringLiteral("/Project");
    QDir().mkpath(folder);
    if (withBin)
        QDir().mkpath(folder + QStringLiteral("/bin"));
    if (!fixture.isEmpty())
        for (const char* name : { "ParGen.xml", "HART_Variables.xml" }) {
            const QString src
                = testutil::DataPath(QStringLiteral("imagebuilder/") + fixture + u'/' + QLatin1String(name));
            if (QFile::exists(src))
                QFile::copy(src, folder + u'/' + QLatin1String(name));
        }
    Project_Folder = folder;
    Set_Project_Files();
    return folder;
}

// First differing offset, or -1.
qsizetype FirstDiff(const QByteArray& a, const QByteArray& b)
{
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return i;
    return a.size() == b.size() ? -1 : std::min(a.size(), b.size());
}

void ExpectImages(const QString& folder, const QString& expected, const std::string& what)
{
    for (const char* name : { "bank1.bin", "bank2.bin" }) {
        const QByteArray got = ReadBytes(folder + QStringLiteral("/bin/") + QLatin1String(name));
        const QByteArray want = ReadBytes(testutil::DataPath(expected + u'/' + QLatin1String(name)));
        EXPECT_EQ(FirstDiff(got, want), -1)
            << what << " " << name << ": sizes " << got.size() << " and " << want.size();
    }
}

std::uint32_t Le32(const QByteArray& b, int offset)
{
    return std::uint32_t(std::uint8_t(b[offset])) | std::uint32_t(std::uint8_t(b[offset + 1])) << 8
        | std::uint32_t(std::uint8_t(b[offset + 2])) << 16 | std::uint32_t(std::uint8_t(b[offset + 3])) << 24;
}

std::uint32_t ByteSum(const QByteArray& b, int count)
{
    std::uint32_t sum = 0;
    for (int i = 0; i < count; ++i)
        sum += std::uint8_t(b[i]);
    return sum;
}

struct ProjectGuard {
    ~ProjectGuard()
    {
        Project_Folder.clear();
        Set_Project_Files();
    }
};

} // namespace

TEST(SaveBin, GoldenProjectsMatchByteForByte)
{
    ProjectGuard guard;
    // One program-wide builder for all of them, in an order where a project
    // with many variables comes before ones with none: nothing may carry over.
    // "no_keys" and "foreign_root" pin a parameter file that is there but
    // holds no key the builder knows: every key takes its own fallback.
    const char* projects[]
        = { "hart_vars", "defaults", "all_keys", "no_pargen", "declared_root", "no_keys", "foreign_root" };
    for (const char* name : projects) {
        SCOPED_TRACE(name);
        const QString folder = MakeProject(QLatin1String(name));
        const TBinResult built = Build_Bin();
        ASSERT_TRUE(built) << built.Message.toStdString();
        const TBinResult saved = Save_Bin();
        ASSERT_TRUE(saved) << saved.Message.toStdString();
        ExpectImages(folder, QStringLiteral("imagebuilder/%1/expected").arg(QLatin1String(name)), name);

        const QByteArray bank1 = ReadBytes(folder + QStringLiteral("/bin/bank1.bin"));
        ASSERT_EQ(bank1.size(), Par_Block_Size);
        EXPECT_EQ(Le32(bank1, Par_Block_Checksum_Offset), ByteSum(bank1, Par_Block_Checksum_Offset));
    }

    // Time-outs the table accepts above 2^31 keep their value in the bank.
    MakeProject(QStringLiteral("hart_vars"));
    ASSERT_TRUE(Build_Bin());
    const auto& vars = Bin_Builder().HART_Bank.hart_var_place;
    ASSERT_GE(vars.size(), 4);
    EXPECT_EQ(vars[2].TimeOut, 4294967295u);
    EXPECT_EQ(vars[3].TimeOut, 2147483648u);
}

TEST(SaveBin, MissingKeyChangesOnlyItsOwnField)
{
    ProjectGuard guard;
    using Ranges = std::vector<std::pair<int, int>>; // offset, size
    struct Field {
        Ranges Bank1;
        Ranges Bank2;
    };
    // The field each key fills; an empty entry means the key does not enter
    // the images.
    auto octet = [](int base, int i) { return Field { { { base + i, 1 } }, {} }; };
    std::map<QString, Field> fields = {
        { "Eth_Conn_Device_Name", { { { 1300, 32 } }, {} } },
        { "Eth_Conn_DHCP_Cable", { { { 1256, 2 } }, {} } },
        { "Eth_Conn_DHCP_WiFi", { { { 1256, 2 } }, {} } },
        { "Eth_Conn_Enable_DNS", { { { 1340, 4 }, { 1420, 4 } }, {} } },
        { "HART_Master_Address", {} },
        { "HART_Master_Retry_Limit", { {}, { { 28, 4 } } } },
        { "HART_Master_Enable_Diagnostic", { { { 384, 4 } }, {} } },
        { "HART_Master_Diagnostic", { { { 384, 4 } }, {} } },
        { "Ethernet_EN_GAT", { { { 48, 4 } }, {} } },
        { "MODBUS_SLAVE_SERIAL", {} },
        { "MODBUS_SLAVE_BAUDRATE", { { { 400, 4 } }, {} } },
        { "MODBUS_SLAVE_PARITY", { { { 424, 1 } }, {} } },
        { "MODBUS_SLAVE_STOPBITS", { { { 430, 1 } }, {} } },
        { "MODBUS_SLAVE_IDDEVICE", { { { 24, 4 } }, {} } },
        { "MODBUS_SLAVE_READ_INPUT_REGISTER", { { { 97, 1 } }, {} } },
        { "Web_Pages_User", { { { 1828, 8 } }, {} } },
        { "Web_Pages_Password", { { { 1836, 8 } }, {} } },
    };
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        fields[QStringLiteral("Eth_Conn_Primary_DNS") + n] = octet(1420, i);
        fields[QStringLiteral("Eth_Conn_Secondary_DNS") + n] = octet(1340, i);
        fields[QStringLiteral("Ethernet_IP") + n] = octet(40, i);
        fields[QStringLiteral("Ethernet_SM") + n] = octet(44, i);
        fields[QStringLiteral("Ethernet_GAT") + n] = octet(48, i);
    }

    const QString full = testutil::DataPath(QStringLiteral("imagebuilder/all_keys/expected"));
    const QByteArray full1 = ReadBytes(full + QStringLiteral("/bank1.bin"));
    const QByteArray full2 = ReadBytes(full + QStringLiteral("/bank2.bin"));

    TXmlDocument source;
    ASSERT_TRUE(source.LoadFromFile(testutil::DataPath(QStringLiteral("imagebuilder/all_keys/ParGen.xml"))));
    QStringList keys;
    for (const TXmlNode& n : source.FirstNode().ChildNodes())
        keys << n.NodeName();
    ASSERT_EQ(keys.size(), 37);

    TSaveBin builder;
    for (const QString& key : keys) {
        SCOPED_TRACE(key.toStdString());
        ASSERT_TRUE(fields.count(key));
        const QString folder = MakeProject();
        TXmlDocument doc;
        ASSERT_TRUE(doc.LoadFromFile(testutil::DataPath(QStringLiteral("imagebuilder/all_keys/ParGen.xml"))));
        ASSERT_TRUE(doc.FirstNode().RemoveChild(doc.FirstNode().FindChild(key)));
        ASSERT_TRUE(doc.SaveToFile(File_ParGen));
        ASSERT_TRUE(builder.Build_Bin());
        ASSERT_TRUE(builder.Save_Bin());
        ExpectImages(folder, QStringLiteral("imagebuilder/missing_keys/") + key, key.toStdString());

        const QByteArray got1 = ReadBytes(folder + QStringLiteral("/bin/bank1.bin"));
        const QByteArray got2 = ReadBytes(folder + QStringLiteral("/bin/bank2.bin"));
        ASSERT_EQ(got1.size(), full1.size());
        ASSERT_EQ(got2.size(), full2.size());
        auto inside = [](const Ranges& ranges, int offset) {
            for (const auto& [start, size] : ranges)
                if (offset >= start && offset < start + size)
                    return true;
            return false;
        };
        int changed = 0;
        for (int i = 0; i < Par_Block_Checksum_Offset; ++i)
            if (got1[i] != full1[i]) {
                ++changed;
                EXPECT_TRUE(inside(fields[key].Bank1, i)) << "bank1 offset " << i;
            }
        for (int i = 0; i < got2.size(); ++i)
            if (got2[i] != full2[i]) {
                ++changed;
                EXPECT_TRUE(inside(fields[key].Bank2, i)) << "bank2 offset " << i;
            }
        // Every key of the fixture holds a value other than its fallback, so
        // dropping one that enters the images must show.
        const bool entersImages = !fields[key].Bank1.empty() || !fields[key].Bank2.empty();
        EXPECT_EQ(changed > 0, entersImages);
    }
}

// Values the golden projects do not hold: list indexes outside their lists and
// texts that are not numbers.
TEST(SaveBin, TextsOutsideTheirRangeTakeTheirFallbacks)
{
    ProjectGuard guard;
    const struct {
        const char* Elements;
        int Offset;
        int Width;
        std::uint32_t Value;
    } cases[] = {
        { "<MODBUS_SLAVE_BAUDRATE>0</MODBUS_SLAVE_BAUDRATE>", 400, 4, 1200 },
        { "<MODBUS_SLAVE_BAUDRATE>8</MODBUS_SLAVE_BAUDRATE>", 400, 4, 9600 },
        { "<MODBUS_SLAVE_BAUDRATE>-1</MODBUS_SLAVE_BAUDRATE>", 400, 4, 9600 },
        { "<MODBUS_SLAVE_BAUDRATE>fast</MODBUS_SLAVE_BAUDRATE>", 400, 4, 115200 },
        { "<MODBUS_SLAVE_BAUDRATE/>", 400, 4, 115200 },
        { "<MODBUS_SLAVE_STOPBITS>0</MODBUS_SLAVE_STOPBITS>", 430, 1, 0 },
        { "<MODBUS_SLAVE_IDDEVICE>ten</MODBUS_SLAVE_IDDEVICE>", 24, 4, 10 },
        { "<HART_Master_Enable_Diagnostic>1</HART_Master_Enable_Diagnostic>"
          "<HART_Master_Diagnostic>0</HART_Master_Diagnostic>",
            384, 4, 1 },
        { "<HART_Master_Enable_Diagnostic>1</HART_Master_Enable_Diagnostic>"
          "<HART_Master_Diagnostic>x</HART_Master_Diagnostic>",
            384, 4, 0 },
        { "<HART_Master_Enable_Diagnostic>0</HART_Master_Enable_Diagnostic>"
          "<HART_Master_Diagnostic>5</HART_Master_Diagnostic>",
            384, 4, 0 },
        { "<Eth_Conn_Enable_DNS>0</Eth_Conn_Enable_DNS><Eth_Conn_Primary_DNS1>1</Eth_Conn_Primary_DNS1>"
          "<Eth_Conn_Secondary_DNS1>9</Eth_Conn_Secondary_DNS1>",
            1340, 4, 0 },
        { "<Eth_Conn_Enable_DNS>0</Eth_Conn_Enable_DNS><Eth_Conn_Primary_DNS1>1</Eth_Conn_Primary_DNS1>", 1420, 4, 0 },
    };
    TSaveBin builder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Elements);
        MakeProject();
        WriteBytes(File_ParGen, QByteArray("<Par_Gen>") + c.Elements + "</Par_Gen>");
        ASSERT_TRUE(builder.Build_Bin());
        const std::uint32_t got = c.Width == 4 ? builder.Block32(c.Offset) : builder.ParameterBlock[c.Offset];
        EXPECT_EQ(got, c.Value);
    }
}

// A row's numbers are read as the program reads any number, however long or
// odd their text; only numbers at all count.
TEST(SaveBin, RowNumbersOfEveryLengthAndAlphabet)
{
    ProjectGuard guard;
    const struct {
        QByteArray Position;
        std::uint32_t Value;
    } cases[] = {
        { "12", 12 },
        { "  12", 12 },
        { QByteArray(30, '0') + "12", 12 },
        { QByteArray(31, '0') + "12", 12 },
        { QByteArray(60, '0') + "12", 12 },
        { "$1F", 31 },
        { QByteArray("\xEF\xBB\xBF") + "12", 0 }, // a byte-order mark inside the text
        { "\xEF\xBC\x91\xEF\xBC\x92", 0 }, // full-width digits
        { "1\xC3\xA9", 0 },
        { "", 0 },
    };
    TSaveBin builder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Position.toStdString());
        MakeProject();
        WriteBytes(File_HART_Variables,
            "<HART><HART_Variables><row Enable=\"Y\" Device_Address=\"" + c.Position + "\" Var_Cmd_Number=\""
                + c.Position + "\" Position=\"" + c.Position + "\" TimeOut=\"" + c.Position
                + "\"/></HART_Variables></HART>");
        ASSERT_TRUE(builder.Build_Bin());
        ASSERT_EQ(builder.HART_Bank.hart_var_place.size(), 1);
        const THart_Var_Place& v = builder.HART_Bank.hart_var_place[0];
        EXPECT_EQ(v.position, c.Value);
        EXPECT_EQ(v.variable_number, c.Value);
        EXPECT_EQ(v.TimeOut, c.Value);
        EXPECT_EQ(v.device_address, c.Value);
    }
}

TEST(SaveBin, ChecksumIsTheByteSumBelowIt)
{
    ProjectGuard guard;
    MakeProject(QStringLiteral("defaults"));
    TSaveBin builder;
    ASSERT_TRUE(builder.Build_Bin());
    const std::uint32_t base = builder.Block32(Par_Block_Checksum_Offset);
    const auto& block = builder.ParameterBlock;
    EXPECT_EQ(base, std::accumulate(block.begin(), block.begin() + Par_Block_Checksum_Offset, std::uint32_t(0)));

    for (int offset : { 0, 97, 1300, 2043 }) {
        SCOPED_TRACE(offset);
        auto saved = builder.ParameterBlock;
        ASSERT_LT(builder.ParameterBlock[offset], 255);
        ++builder.ParameterBlock[offset];
        builder.Copy_Par_Block();
        EXPECT_EQ(builder.Block32(Par_Block_Checksum_Offset), base + 1);
        EXPECT_EQ(Le32(builder.Bank1_Buffer, Par_Block_Checksum_Offset), base + 1);
        builder.ParameterBlock = saved;
    }
    // The checksum's own bytes are not part of the sum.
    builder.SetBlock32(Par_Block_Checksum_Offset, 0xFFFFFFFF);
    EXPECT_EQ(builder.Copy_Par_Block(), Par_Block_Size);
    EXPECT_EQ(builder.Block32(Par_Block_Checksum_Offset), base);
}

TEST(SaveBin, FailedWriteIsReportedAndOldFilesStayIntact)
{
    ProjectGuard guard;
    TSaveBin builder;

    // Nothing to save before a build, and no project means no path at all.
    MakeProject(QStringLiteral("defaults"));
    EXPECT_FALSE(builder.Save_Bin());
    Project_Folder.clear();
    Set_Project_Files();
    EXPECT_FALSE(builder.Build_Bin());
    EXPECT_FALSE(builder.Save_Bin());

    // The bin folder's name is taken by a regular file.
    {
        const QString folder = MakeProject(QStringLiteral("defaults"), false);
        WriteBytes(folder + QStringLiteral("/bin"), "not a folder");
        ASSERT_TRUE(builder.Build_Bin());
        const TBinResult r = builder.Save_Bin();
        EXPECT_FALSE(r);
        // Named once: the reason does not repeat the file name.
        EXPECT_EQ(r.Failure, TBinFailure::Save);
        EXPECT_EQ(r.File, folder + QStringLiteral("/bin/bank1.bin"));
        EXPECT_FALSE(r.Reason.isEmpty());
        EXPECT_FALSE(r.Reason.contains(QStringLiteral("bank1.bin"))) << r.Reason.toStdString();
        EXPECT_EQ(ReadBytes(folder + QStringLiteral("/bin")), QByteArray("not a folder"));
    }
    // A bin folder deleted by hand is made again and the images written.
    {
        const QString folder = MakeProject(QStringLiteral("defaults"), false);
        ASSERT_TRUE(builder.Build_Bin());
        const TBinResult r = builder.Save_Bin();
        EXPECT_TRUE(r) << r.Message.toStdString();
        ExpectImages(folder, QStringLiteral("imagebuilder/defaults/expected"), "bin made again");
    }
    // The second image cannot replace its old file: the first one is put
    // back as it was, or removed when there was none, so no mixed pair is left.
    for (bool hadOld : { true, false }) {
        SCOPED_TRACE(hadOld);
        const QString folder = MakeProject(QStringLiteral("hart_vars"));
        if (hadOld)
            WriteBytes(folder + QStringLiteral("/bin/bank1.bin"), "old bank1");
        QDir().mkpath(folder + QStringLiteral("/bin/bank2.bin/blocked"));
        ASSERT_TRUE(builder.Build_Bin());
        const TBinResult r = builder.Save_Bin();
        EXPECT_FALSE(r);
        EXPECT_TRUE(r.Message.contains(folder + QStringLiteral("/bin/bank2.bin"))) << r.Message.toStdString();
        if (hadOld)
            EXPECT_EQ(ReadBytes(folder + QStringLiteral("/bin/bank1.bin")), QByteArray("old bank1"));
        else
            EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bin/bank1.bin")));
    }
}

// When the second image fails and the first cannot be put back, the new
// first image is removed and the report says so: the pair is never left
// mixed without a word.
TEST(SaveBin, FirstImageThatCannotBePutBackIsRemovedAndReported)
{
    ProjectGuard guard;
    const QString folder = MakeProject(QStringLiteral("hart_vars"));
    const QString path1 = folder + QStringLiteral("/bin/bank1.bin");
    const QString path2 = folder + QStringLiteral("/bin/bank2.bin");
    WriteBytes(path1, "old bank1");
    WriteBytes(path2, "old bank2");
    TSaveBin builder;
    int writes1 = 0;
    builder.Write_File = [&](const QString& path, const QByteArray& bytes) {
        if (path == path1 && ++writes1 == 1)
            return SaveFileAtomic(path, bytes);
        return TSaveResult { false, QStringLiteral("Cannot write file \"%1\". No space left on device").arg(path) };
    };
    ASSERT_TRUE(builder.Build_Bin());
    const TBinResult r = builder.Save_Bin();
    EXPECT_FALSE(r);
    EXPECT_EQ(r.File, path2);
    EXPECT_EQ(writes1, 2); // the put-back was tried
    EXPECT_TRUE(r.Reason.contains(QStringLiteral("bank1.bin could not be put back"))) << r.Reason.toStdString();
    EXPECT_TRUE(r.Reason.contains(QStringLiteral("removed"))) << r.Reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path1));
    EXPECT_EQ(ReadBytes(path2), QByteArray("old bank2"));
}

// A parameter or HART variables file that is there but cannot be read stops
// the build with its name and the reason; nothing is built from defaults.
TEST(SaveBin, DamagedProjectFileStopsTheBuild)
{
    ProjectGuard guard;
    const struct {
        const char* File;
        QByteArray Content;
    } cases[] = {
        { "ParGen.xml", "" },
        { "ParGen.xml", "garbage" },
        { "ParGen.xml", "<Par_Gen><Ethernet_IP1>10</Ethernet_IP1>" },
        { "HART_Variables.xml", "" },
        { "HART_Variables.xml", "\x01\x02\xff" },
        { "HART_Variables.xml", "<HART><HART_Variables><row Enable=\"Y\" Device_Address=\"2\"/>" },
        // Refused by its size alone, although the rest would parse.
        { "HART_Variables.xml",
            "<HART><HART_Variables/></HART><!--" + QByteArray(int(HART_Variables_File_Max_Size), ' ') + "-->" },
    };
    TSaveBin builder;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.File) + ": " + c.Content.left(40).toStdString());
        const QString folder = MakeProject(QStringLiteral("hart_vars"));
        const QString path = folder + u'/' + QLatin1String(c.File);
        WriteBytes(path, c.Content);
        const TBinResult r = builder.Build_Bin();
        EXPECT_FALSE(r);
        EXPECT_EQ(r.Failure, TBinFailure::Read);
        EXPECT_EQ(r.File, path);
        EXPECT_FALSE(r.Reason.isEmpty());
        EXPECT_FALSE(r.Reason.contains(QLatin1String(c.File))) << r.Reason.toStdString();
        EXPECT_FALSE(builder.Save_Bin());
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bin/bank1.bin")));
    }
}

TEST(SaveBin, HartBankLargerThanTheDeviceBankIsRefused)
{
    ProjectGuard guard;
    const QString folder = MakeProject(QStringLiteral("defaults"));
    auto writeVars = [&](int paramBytes) {
        const QString params(paramBytes * 2, u'A');
        WriteBytes(File_HART_Variables,
            QStringLiteral("<HART><HART_Variables><row Enable=\"Y\" Device_Address=\"1\" Var_Cmd_Type=\"Command\" "
                           "Cmd_Params=\"%1\"/></HART_Variables></HART>")
                .arg(params)
                .toUtf8());
    };
    const int fits = Bank2_Capacity - HART_Bank_Header_Size - HART_Var_Place_Size;
    TSaveBin builder;

    writeVars(fits);
    ASSERT_TRUE(builder.Build_Bin());
    ASSERT_TRUE(builder.Save_Bin());
    const QByteArray previous = ReadBytes(folder + QStringLiteral("/bin/bank2.bin"));
    EXPECT_EQ(previous.size(), Bank2_Capacity);

    writeVars(fits + 1);
    const TBinResult r = builder.Build_Bin();
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.Message.contains(File_HART_Variables)) << r.Message.toStdString();
    EXPECT_FALSE(builder.Save_Bin());
    EXPECT_EQ(ReadBytes(folder + QStringLiteral("/bin/bank2.bin")), previous);
}

TEST(SaveBin, CommandParameterText)
{
    const struct {
        const char* Text;
        QByteArray Bytes;
    } cases[] = {
        { "", {} },
        { "   ", {} },
        { "0102", QByteArray("\x01\x02", 2) },
        { "aBcD", QByteArray("\xAB\xCD", 2) },
        { "ABC", QByteArray("\xAB", 1) }, // a trailing odd digit is dropped
        { "0G12", QByteArray("\x00\x12", 2) }, // a pair beyond F reads 0
        { " 0A0B", QByteArray("\x00\xA0", 2) }, // decoded as typed, not trimmed
        { "-1", QByteArray("\x00", 1) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex_To_Bytes(QString::fromLatin1(c.Text)), c.Bytes) << c.Text;
}
