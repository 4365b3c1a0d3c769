// The parameter file: what the form reads from it, key by key, and what it
// writes, byte for byte.

#include "ParGenTestSupport.h"

#include "app/core/USaveBincc.h"
#include "platform/runtime/FileUtils.h"

#include <QFileInfo>
#include <QMap>
#include <QProcess>

namespace {

// The 37 keys as the form shows them: edits by text, lists by index, boxes
// as "1"/"0".
QMap<QString, QString> Snapshot(const TFParGen* f)
{
    QMap<QString, QString> s;
    auto edit = [&](const char* k, const TEdit* e) { s[k] = e->Text(); };
    auto list = [&](const char* k, const TComboBox* c) { s[k] = QString::number(c->ItemIndex()); };
    auto box = [&](const char* k, const TCheckBox* c) { s[k] = c->Checked() ? "1" : "0"; };
    edit("Eth_Conn_Device_Name", f->E_EthConn_Device_Name);
    box("Eth_Conn_DHCP_Cable", f->CB_EthConn_En_DHCP_Cable);
    box("Eth_Conn_DHCP_WiFi", f->CB_EthConn_En_DHCP_WiFi);
    box("Eth_Conn_Enable_DNS", f->CB_EthConn_Enable_DNS);
    const TEdit* pri[]
        = { f->E_EthConn_Pri_DNS_IP1, f->E_EthConn_Pri_DNS_IP2, f->E_EthConn_Pri_DNS_IP3, f->E_EthConn_Pri_DNS_IP4 };
    const TEdit* sec[]
        = { f->E_EthConn_Sec_DNS_IP1, f->E_EthConn_Sec_DNS_IP2, f->E_EthConn_Sec_DNS_IP3, f->E_EthConn_Sec_DNS_IP4 };
    const TEdit* ip[] = { f->E_Ethernet_IP1, f->E_Ethernet_IP2, f->E_Ethernet_IP3, f->E_Ethernet_IP4 };
    const TEdit* sm[] = { f->E_Ethernet_SM1, f->E_Ethernet_SM2, f->E_Ethernet_SM3, f->E_Ethernet_SM4 };
    const TEdit* gat[] = { f->E_Ethernet_GAT1, f->E_Ethernet_GAT2, f->E_Ethernet_GAT3, f->E_Ethernet_GAT4 };
    for (int i = 0; i < 4; ++i) {
        s[QString("Eth_Conn_Primary_DNS%1").arg(i + 1)] = pri[i]->Text();
        s[QString("Eth_Conn_Secondary_DNS%1").arg(i + 1)] = sec[i]->Text();
        s[QString("Ethernet_IP%1").arg(i + 1)] = ip[i]->Text();
        s[QString("Ethernet_SM%1").arg(i + 1)] = sm[i]->Text();
        s[QString("Ethernet_GAT%1").arg(i + 1)] = gat[i]->Text();
    }
    list("HART_Master_Address", f->CB_HART_Master_Address);
    list("HART_Master_Retry_Limit", f->CB_HART_Master_RetryLimit);
    box("HART_Master_Enable_Diagnostic", f->CB_HART_Master_Diagnostic);
    edit("HART_Master_Diagnostic", f->E_HART_Master_Diagnostic);
    box("Ethernet_EN_GAT", f->CB_Ethernet_En_GAT);
    list("MODBUS_SLAVE_SERIAL", f->CB_ModbusSlave_Serial);
    list("MODBUS_SLAVE_BAUDRATE", f->CB_ModbusSlave_Baudrate);
    list("MODBUS_SLAVE_PARITY", f->CB_ModbusSlave_Parity);
    list("MODBUS_SLAVE_STOPBITS", f->CB_ModbusSlave_StopBits);
    edit("MODBUS_SLAVE_IDDEVICE", f->E_ModbusSlave_IDDevice);
    box("MODBUS_SLAVE_READ_INPUT_REGISTER", f->CB_ModbusSlave_ReadInput);
    edit("Web_Pages_User", f->E_WebPages_User);
    edit("Web_Pages_Password", f->E_WebPages_Password);
    return s;
}

// The form's values when nothing is read.
QMap<QString, QString> Defaults()
{
    QMap<QString, QString> s;
    for (const char* k : { "Eth_Conn_Device_Name", "Web_Pages_User", "Web_Pages_Password" })
        s[k] = "";
    for (const char* k : { "Eth_Conn_DHCP_Cable", "Eth_Conn_DHCP_WiFi", "Eth_Conn_Enable_DNS",
             "HART_Master_Enable_Diagnostic", "Ethernet_EN_GAT", "HART_Master_Address", "HART_Master_Retry_Limit",
             "MODBUS_SLAVE_SERIAL", "MODBUS_SLAVE_PARITY", "MODBUS_SLAVE_STOPBITS", "HART_Master_Diagnostic" })
        s[k] = "0";
    for (int i = 1; i <= 4; ++i) {
        s[QString("Eth_Conn_Primary_DNS%1").arg(i)] = "8";
        s[QString("Eth_Conn_Secondary_DNS%1").arg(i)] = "8";
    }
    const char* ip[] = { "192", "168", "0", "10" };
    const char* sm[] = { "255", "255", "255", "0" };
    const char* gat[] = { "192", "168", "0", "1" };
    for (int i = 0; i < 4; ++i) {
        s[QString("Ethernet_IP%1").arg(i + 1)] = ip[i];
        s[QString("Ethernet_SM%1").arg(i + 1)] = sm[i];
        s[QString("Ethernet_GAT%1").arg(i + 1)] = gat[i];
    }
    s["MODBUS_SLAVE_BAUDRATE"] = "7";
    s["MODBUS_SLAVE_IDDEVICE"] = "10";
    s["MODBUS_SLAVE_READ_INPUT_REGISTER"] = "1";
    return s;
}

QMap<QString, QString> DefaultsWith(std::initializer_list<std::pair<const char*, const char*>> changes)
{
    QMap<QString, QString> s = Defaults();
    for (const auto& [k, v] : changes)
        s[k] = v;
    return s;
}

QStringList Differences(const QMap<QString, QString>& got, const QMap<QString, QString>& want)
{
    QStringList out;
    for (auto it = want.begin(); it != want.end(); ++it)
        if (got.value(it.key()) != it.value())
            out << QString("%1: got \"%2\", want \"%3\"").arg(it.key(), got.value(it.key()), it.value());
    return out;
}

struct ReadCase {
    const char* name;
    const char* file; // nullptr: no file
    QMap<QString, QString> expected;
};

TEST_F(ParGenTest, ReadingTakesEachKeyOnItsOwn)
{
    const ReadCase cases[] = {
        { "missing file", nullptr, Defaults() },
        { "root without children", "<Par_Gen/><!--SW_VERSION = 1.102-->", Defaults() },
        // Another editor's declaration or comment before the root hides nothing.
        { "declaration first",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Par_Gen><Ethernet_IP1>10</Ethernet_IP1></Par_Gen>",
            DefaultsWith({ { "Ethernet_IP1", "10" } }) },
        { "comment first", "<!--SW_VERSION = 1.102--><Par_Gen><Ethernet_IP1>10</Ethernet_IP1></Par_Gen>",
            DefaultsWith({ { "Ethernet_IP1", "10" } }) },
        { "some keys",
            "<Par_Gen><Ethernet_IP1>10</Ethernet_IP1><MODBUS_SLAVE_PARITY>2</MODBUS_SLAVE_PARITY>"
            "<Eth_Conn_Enable_DNS>1</Eth_Conn_Enable_DNS><Unknown>7</Unknown></Par_Gen>",
            DefaultsWith(
                { { "Ethernet_IP1", "10" }, { "MODBUS_SLAVE_PARITY", "2" }, { "Eth_Conn_Enable_DNS", "1" } }) },
        { "empty elements",
            "<Par_Gen><Ethernet_IP1/><Eth_Conn_Device_Name></Eth_Conn_Device_Name><MODBUS_SLAVE_BAUDRATE/>"
            "<MODBUS_SLAVE_PARITY/><MODBUS_SLAVE_READ_INPUT_REGISTER/><HART_Master_Retry_Limit/>"
            "<HART_Master_Address/></Par_Gen>",
            DefaultsWith({ { "Ethernet_IP1", "" }, { "MODBUS_SLAVE_READ_INPUT_REGISTER", "0" } }) },
        { "texts kept as typed",
            "<Par_Gen><Ethernet_IP2> 7 </Ethernet_IP2><Web_Pages_User>a&amp;b</Web_Pages_User>"
            "<Eth_Conn_Device_Name>Kessel\xC3\xBC</Eth_Conn_Device_Name></Par_Gen>",
            DefaultsWith({ { "Ethernet_IP2", " 7 " }, { "Web_Pages_User", "a&b" },
                { "Eth_Conn_Device_Name", "Kessel\xC3\xBC" } }) },
        { "flags are exactly \"1\"",
            "<Par_Gen><Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable><Eth_Conn_Enable_DNS> 1</Eth_Conn_Enable_DNS>"
            "<Ethernet_EN_GAT>true</Ethernet_EN_GAT><MODBUS_SLAVE_READ_INPUT_REGISTER>yes"
            "</MODBUS_SLAVE_READ_INPUT_REGISTER></Par_Gen>",
            DefaultsWith({ { "Eth_Conn_DHCP_Cable", "1" }, { "MODBUS_SLAVE_READ_INPUT_REGISTER", "0" } }) },
        { "wi-fi dhcp is never read", "<Par_Gen><Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi></Par_Gen>", Defaults() },
        { "secondary master in any case",
            "<Par_Gen><HART_Master_Address>  secondary MASTER </HART_Master_Address>"
            "<HART_Master_Retry_Limit>5</HART_Master_Retry_Limit></Par_Gen>",
            DefaultsWith({ { "HART_Master_Address", "1" }, { "HART_Master_Retry_Limit", "3" } }) },
        { "other master texts",
            "<Par_Gen><HART_Master_Address>Tertiary Master</HART_Master_Address>"
            "<HART_Master_Retry_Limit>7</HART_Master_Retry_Limit></Par_Gen>",
            Defaults() },
        { "retry limit x", "<Par_Gen><HART_Master_Retry_Limit>x</HART_Master_Retry_Limit></Par_Gen>", Defaults() },
        { "indices that are no numbers",
            "<Par_Gen><MODBUS_SLAVE_BAUDRATE>fast</MODBUS_SLAVE_BAUDRATE><MODBUS_SLAVE_STOPBITS>two"
            "</MODBUS_SLAVE_STOPBITS><MODBUS_SLAVE_SERIAL>$1</MODBUS_SLAVE_SERIAL></Par_Gen>",
            DefaultsWith({ { "MODBUS_SLAVE_SERIAL", "1" } }) },
        { "indices outside their lists",
            "<Par_Gen><MODBUS_SLAVE_BAUDRATE>9</MODBUS_SLAVE_BAUDRATE><MODBUS_SLAVE_PARITY>-3"
            "</MODBUS_SLAVE_PARITY></Par_Gen>",
            DefaultsWith({ { "MODBUS_SLAVE_BAUDRATE", "-1" }, { "MODBUS_SLAVE_PARITY", "-1" } }) },
    };

    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(File_ParGen);
        if (c.file)
            WriteBytes(File_ParGen, c.file);
        // Start from values unlike every default, so each key must be set.
        Form->E_Ethernet_IP1->SetText("1");
        Form->E_WebPages_User->SetText("stale");
        Form->CB_ModbusSlave_ReadInput->SetChecked(false);
        Form->CB_EthConn_En_DHCP_WiFi->SetChecked(true);
        Form->CB_ModbusSlave_Baudrate->SetItemIndex(0);
        Form->CB_HART_Master_Address->SetItemIndex(1);
        Form->Read_ParGen();
        EXPECT_EQ(Differences(Snapshot(Form), c.expected), QStringList());
        EXPECT_FALSE(Form->Is_Change);
        EXPECT_FALSE(Form->ParGen_Damaged());
    }
    // A missing file and readable ones are taken without a word.
    EXPECT_TRUE(Driver->Messages().empty());
}

TEST_F(ParGenTest, DamagedFileIsReportedAndReplacedOnlyOnConfirmation)
{
    const QByteArray loaded = ReadBytes(testutil::DataPath("pargen/loaded.xml"));
    const struct {
        const char* name;
        QByteArray file;
        bool folder = false; // a folder of that name instead of the file
    } cases[] = {
        { "empty", "" },
        { "garbage", "Par_Gen = 1\n\xff\xfe\x00junk" },
        { "truncated", loaded.left(loaded.size() / 2) },
        { "not the parameter file", "<Conf_Settings><Ethernet_IP1>10</Ethernet_IP1></Conf_Settings>" },
        { "a folder", "", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.folder)
            ASSERT_TRUE(QFile::remove(File_ParGen) && QDir().mkpath(File_ParGen + "/inside"));
        else
            WriteBytes(File_ParGen, c.file);
        const std::size_t before = Driver->Messages().size();
        Form->E_Ethernet_IP1->SetText("1");
        Form->Read_ParGen();
        // Reported once, with the file's name and a reason; the form shows
        // the defaults.
        ASSERT_EQ(Driver->Messages().size(), before + 1);
        const auto& report = Driver->Messages().back();
        EXPECT_EQ(report.DlgType, mtError);
        EXPECT_TRUE(report.Text.startsWith("The file " + File_ParGen + " cannot be read: ")) << report.Text.toStdString();
        EXPECT_GT(report.Text.size(), QString("The file " + File_ParGen + " cannot be read: ").size());
        EXPECT_EQ(report.Text.count(File_ParGen), 1) << report.Text.toStdString();
        EXPECT_TRUE(Form->ParGen_Damaged());
        EXPECT_EQ(Differences(Snapshot(Form), Defaults()), QStringList());

        // Saving asks first; No keeps the damaged file as it is.
        Driver->AnswerMessageBox(mrNo);
        EXPECT_FALSE(Form->Write_ParGen());
        ASSERT_EQ(Driver->Messages().size(), before + 2);
        EXPECT_EQ(Driver->Messages().back().DlgType, mtConfirmation);
        EXPECT_EQ(Driver->Messages().back().Buttons, mbYesNo);
        EXPECT_TRUE(Driver->Messages().back().Text.contains(File_ParGen));
        if (c.folder) {
            EXPECT_TRUE(QFileInfo::exists(File_ParGen + "/inside"));
            ASSERT_TRUE(QDir(File_ParGen).removeRecursively());
        } else {
            EXPECT_EQ(ReadBytes(File_ParGen), c.file);
        }
    }

    // Through the form: the report shows as it opens, Cancel leaves the file,
    // OK replaces it only after Yes, and a later save asks no more.
    const QByteArray damaged = loaded.left(loaded.size() / 2);
    WriteBytes(File_ParGen, damaged);
    const std::size_t before = Driver->Messages().size();
    Driver->OnForm(
        "TFParGen", [](TCustomForm* f) { static_cast<TFParGen*>(f)->Btn_Cancel->Click(); }, 1);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_EQ(ReadBytes(File_ParGen), damaged);
    EXPECT_EQ(Driver->Messages().size(), before + 1);

    Driver->AnswerMessageBox(mrOk); // the report
    Driver->AnswerMessageBox(mrNo);
    Driver->AnswerMessageBox(mrYes);
    bool stayed = false;
    Driver->OnForm(
        "TFParGen",
        [&](TCustomForm* f) {
            auto* form = static_cast<TFParGen*>(f);
            form->Btn_OK->Click();
            stayed = form->ModalResult() == mrNone;
            form->Btn_OK->Click();
        },
        1);
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(Driver->Messages().size(), before + 4);
    EXPECT_EQ(ReadBytes(File_ParGen), ReadBytes(testutil::DataPath("pargen/defaults.xml")));
    EXPECT_FALSE(Form->ParGen_Damaged());
    EXPECT_TRUE(Form->Write_ParGen());
    EXPECT_EQ(Driver->Messages().size(), before + 4);
    EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
}

TEST_F(ParGenTest, LongTextsLoadAndSaveWhole)
{
    // Longer than their edits take from the keyboard: loading must not cut
    // them, or OK writes the cut values (the diagnostic "000000012" would
    // become 1 and change the image).
    const QByteArray host(40, 'h');
    WriteParGen("<Eth_Conn_Device_Name>" + host + "</Eth_Conn_Device_Name>"
                "<HART_Master_Diagnostic>000000012</HART_Master_Diagnostic>"
                "<Web_Pages_Password>pass123456</Web_Pages_Password>"
                "<Web_Pages_User>user123456</Web_Pages_User>");
    Form->Show();
    EXPECT_EQ(Form->E_EthConn_Device_Name->Text(), QString(host));
    EXPECT_EQ(Form->E_HART_Master_Diagnostic->Text(), "000000012");
    EXPECT_EQ(Form->E_WebPages_Password->Text(), "pass123456");
    EXPECT_EQ(Form->E_WebPages_User->Text(), "user123456");
    ASSERT_TRUE(Form->Write_ParGen());
    const QByteArray saved = ReadBytes(File_ParGen);
    EXPECT_TRUE(saved.contains("<Eth_Conn_Device_Name>" + host + "</Eth_Conn_Device_Name>"));
    EXPECT_TRUE(saved.contains("<HART_Master_Diagnostic>000000012</HART_Master_Diagnostic>"));
    EXPECT_TRUE(saved.contains("<Web_Pages_Password>pass123456</Web_Pages_Password>"));
    EXPECT_TRUE(saved.contains("<Web_Pages_User>user123456</Web_Pages_User>"));

    // What the user types is still held to the limit.
    Form->E_WebPages_Password->SetText("");
    Form->E_WebPages_Password->SetFocus();
    input::Type(Form->E_WebPages_Password, "abcdefghijk");
    EXPECT_EQ(Form->E_WebPages_Password->Text(), "abcdefgh");
}

TEST_F(ParGenTest, SavedDefaultsMatchTheGoldenFile)
{
    Form->Read_ParGen();
    ASSERT_TRUE(Form->Write_ParGen());
    const QByteArray saved = ReadBytes(File_ParGen);
    EXPECT_EQ(saved, ReadBytes(testutil::DataPath("pargen/defaults.xml")));
    EXPECT_TRUE(saved.endsWith("</Par_Gen><!--SW_VERSION = 1.102-->"));
    EXPECT_FALSE(saved.startsWith("<?xml"));
}

TEST_F(ParGenTest, SaveAndReloadGivesBackEveryControl)
{
    WriteBytes(File_ParGen, ReadBytes(testutil::DataPath("pargen/loaded.xml")));
    Form->Read_ParGen();
    Form->CB_EthConn_En_DHCP_WiFi->SetChecked(true); // written, never read back
    const QMap<QString, QString> before = Snapshot(Form);
    ASSERT_NE(before, Defaults());
    ASSERT_TRUE(Form->Write_ParGen());
    EXPECT_EQ(ReadBytes(File_ParGen).count("<Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>"), 1);

    TFParGen other(nullptr);
    other.Read_ParGen();
    QMap<QString, QString> expected = before;
    expected["Eth_Conn_DHCP_WiFi"] = "0";
    EXPECT_EQ(Differences(Snapshot(&other), expected), QStringList());
    // What was loaded is written back unchanged.
    other.CB_EthConn_En_DHCP_WiFi->SetChecked(true);
    ASSERT_TRUE(other.Write_ParGen());
    EXPECT_EQ(ReadBytes(File_ParGen), ReadBytes(testutil::DataPath("pargen/loaded.xml")));
}

TEST_F(ParGenTest, SaveWritesListsAndDropsForeignElements)
{
    WriteParGen("<PROFINET_NB_IN>5</PROFINET_NB_IN><MODBUS_SLAVE_BAUDRATE>9</MODBUS_SLAVE_BAUDRATE>"
                "<HART_Master_Address>secondary master</HART_Master_Address>"
                "<HART_Master_Retry_Limit>4</HART_Master_Retry_Limit>");
    Form->Read_ParGen();
    ASSERT_TRUE(Form->Write_ParGen());
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(File_ParGen));
    const TXmlNode root = doc.FirstNode();
    EXPECT_EQ(root.NodeName(), "Par_Gen");
    EXPECT_EQ(root.ChildCount(), 37);
    EXPECT_TRUE(root.FindChild("PROFINET_NB_IN").IsNull());
    EXPECT_EQ(root.FindChild("MODBUS_SLAVE_BAUDRATE").Text(), "-1");
    EXPECT_EQ(root.FindChild("HART_Master_Address").Text(), "Secondary Master");
    EXPECT_EQ(root.FindChild("HART_Master_Retry_Limit").Text(), "4");
    ASSERT_EQ(doc.Node().ChildCount(), 2);
    EXPECT_EQ(doc.Node().Child(1).NodeType(), TXmlNodeType::ntComment);
    EXPECT_EQ(doc.Node().Child(1).NodeValue(), "SW_VERSION = 1.102");
}

TEST_F(ParGenTest, OkValidatesSavesAndCloses)
{
    // A bad field: one message, the old file untouched, the form open.
    const QByteArray old = ReadBytes(testutil::DataPath("pargen/loaded.xml"));
    WriteBytes(File_ParGen, old);
    bool stayed = false;
    Driver->OnForm(
        "TFParGen",
        [&](TCustomForm* f) {
            auto* form = static_cast<TFParGen*>(f);
            form->E_ModbusSlave_IDDevice->SetText("0");
            form->Btn_OK->Click();
            stayed = form->ModalResult() == mrNone;
            form->E_ModbusSlave_IDDevice->SetText("33");
            form->Btn_OK->Click();
        },
        1);
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(Driver->MessageTexts(), QStringList { Lang(839) });
    const QByteArray saved = ReadBytes(File_ParGen);
    EXPECT_TRUE(saved.contains("<MODBUS_SLAVE_IDDEVICE>33</MODBUS_SLAVE_IDDEVICE>"));
    EXPECT_TRUE(saved.contains("<Ethernet_IP1>10</Ethernet_IP1>"));
    EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
}

TEST_F(ParGenTest, FailedSaveIsReportedAndKeepsTheFormOpen)
{
    Form->Show();
    Form->E_WebPages_User->SetText("op");
    // The project folder went away while the form was open.
    ASSERT_TRUE(QDir(Folder).removeRecursively());
    Form->Btn_OKClick(Form->Btn_OK);
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_EQ(Form->E_WebPages_User->Text(), "op");
    EXPECT_FALSE(QFile::exists(File_ParGen));
    ASSERT_EQ(Driver->Messages().size(), 1u);
    EXPECT_EQ(Driver->Messages()[0].DlgType, mtError);
    EXPECT_EQ(Driver->Messages()[0].Text.count(File_ParGen), 1) << Driver->Messages()[0].Text.toStdString();

    // With no project active nothing is written anywhere.
    Project_Folder.clear();
    Set_Project_Files();
    EXPECT_FALSE(Form->Write_ParGen());
    EXPECT_FALSE(QFile::exists(File_ParGen));
    EXPECT_EQ(Driver->Messages().size(), 2u);
}

// A folder that takes no new files while the guard lives: its write
// permission goes, and where that does not bind (the superuser) it is made
// immutable instead.
class RefusingFolder {
public:
    explicit RefusingFolder(const QString& dir)
        : FDir(dir)
        , FPermissions(QFile::permissions(dir))
    {
        QFile::setPermissions(dir,
            FPermissions
                & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup
                    | QFileDevice::WriteOther));
        if (!Refuses())
            FImmutable = QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("+i"), dir }) == 0;
    }
    ~RefusingFolder()
    {
        if (FImmutable)
            QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("-i"), FDir });
        QFile::setPermissions(FDir, FPermissions);
    }
    bool Refuses() const
    {
        QFile probe(FDir + QStringLiteral("/probe.tmp"));
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.close();
        probe.remove();
        return false;
    }

private:
    QString FDir;
    QFileDevice::Permissions FPermissions;
    bool FImmutable = false;
};

TEST_F(ParGenTest, FailedSaveLeavesThePreviousFileWhole)
{
    const QByteArray old = ReadBytes(testutil::DataPath("pargen/loaded.xml"));
    WriteBytes(File_ParGen, old);
    Form->Show();
    Form->E_WebPages_User->SetText("op");
    {
        const RefusingFolder folder(Folder);
        if (!folder.Refuses())
            GTEST_SKIP() << "this system lets every file be written";
        Form->Btn_OKClick(Form->Btn_OK);
    }
    EXPECT_EQ(ReadBytes(File_ParGen), old);
    EXPECT_EQ(QDir(Folder).entryList(QDir::Files), QStringList { "ParGen.xml" }); // nothing left beside it
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_EQ(Form->E_WebPages_User->Text(), "op");
    ASSERT_EQ(Driver->Messages().size(), 1u);
    EXPECT_EQ(Driver->Messages()[0].DlgType, mtError);

    // Once the folder takes files again, OK saves the edits.
    Form->Btn_OKClick(Form->Btn_OK);
    EXPECT_EQ(Form->ModalResult(), mrOk);
    EXPECT_TRUE(ReadBytes(File_ParGen).contains("<Web_Pages_User>op</Web_Pages_User>"));
}

TEST_F(ParGenTest, ImageBuilderReadsWhatTheFormWrites)
{
    Form->Read_ParGen();
    Form->E_Ethernet_IP1->SetText("10");
    Form->E_Ethernet_IP4->SetText("77");
    Form->E_ModbusSlave_IDDevice->SetText("42");
    Form->CB_ModbusSlave_Baudrate->SetItemIndex(3);
    ASSERT_TRUE(Form->Write_ParGen());
    TSaveBin& bin = Bin_Builder();
    ASSERT_TRUE(bin.Build_Bin().Ok);
    EXPECT_EQ(bin.ParameterBlock[40], 10);
    EXPECT_EQ(bin.ParameterBlock[43], 77);
    EXPECT_EQ(bin.Block32(24), 42u);
    EXPECT_EQ(bin.Block32(400), 9600u);
}

} // namespace
