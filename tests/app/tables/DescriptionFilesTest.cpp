// The GSDML and GSD description files: the file-name dialog (alone and shown
// by the main window), the documents against golden files and outside
// readers (xmllint with the format's schema, the GSD checker), and the
// writers' questions and refusals.
#include "app/core/LbButton.h"
#include "app/core/SharedStateGuard.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/tables/UMorvantile_HART.h"
#include "app/tables/UProfibusGSD.h"
#include "app/tables/UProfinetFileName.h"
#include "app/tables/UProfinetXML.h"
#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/XmlDom.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <vector>

namespace {

const QString Xsd = testutil::DataPath(QStringLiteral("gsdml/GSDML-DeviceProfile.xsd"));

// Runs an outside reader; its status and everything it printed.
struct TRun {
    int Status = -1;
    QString Output;
};
TRun Run_Tool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return { -1, QStringLiteral("did not finish") };
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll()) };
}

// xmllint reports some errors with status 0: any message fails as well.
void Expect_Valid_GSDML(const QString& path)
{
    for (const QStringList& args : { QStringList { QStringLiteral("--noout"), path },
             QStringList { QStringLiteral("--noout"), QStringLiteral("--schema"), Xsd, path } }) {
        const TRun r = Run_Tool(QStringLiteral(MORV_XMLLINT), args);
        EXPECT_EQ(r.Status, 0) << path.toStdString();
        // Schema validation prints only "<file> validates" when it passes.
        QString out = r.Output;
        out.remove(path + QStringLiteral(" validates\n"));
        EXPECT_EQ(out, QString()) << path.toStdString();
    }
}

void Expect_Valid_GSD(const QString& path)
{
    const TRun r = Run_Tool(
        QStringLiteral(MORV_PYTHON3), { QStringLiteral(MORV_TEST_TOOLS_DIR) + QStringLiteral("/gsd_check.py"), path });
    EXPECT_EQ(r.Status, 0) << path.toStdString();
    EXPECT_EQ(r.Output, QString()) << path.toStdString();
}

// A file written equals its golden copy (written when missing or asked for).
void Expect_Golden(const QString& path, const QString& golden)
{
    const QString g = testutil::DataPath(golden);
    const QByteArray written = testutil::ReadFile(path);
    if (!QFile::exists(g) || qEnvironmentVariableIsSet("MORV_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(g).path());
        testutil::WriteFile(g, written);
    }
    EXPECT_EQ(written, testutil::ReadFile(g)) << golden.toStdString();
}

class TFixedClock : public IClockService {
public:
    TDateTime Now() override { return Day + 0.5; }
    std::uint64_t TickCount() override { return 0; }
    TDateTime Day = EncodeDate(2026, 12, 11);
};

class TFakeFileDialog : public IFileDialogService {
public:
    bool Execute(TFileDialogRequest& request) override
    {
        Requests.push_back(request);
        if (Answer.isEmpty())
            return false;
        request.FileName = Answer;
        request.Files = QStringList { Answer };
        return true;
    }
    QString Answer;
    std::vector<TFileDialogRequest> Requests;
};

class DescriptionFiles : public ::testing::Test {
protected:
    TSharedStateGuard Guard;
    TFixedClock Clock;
    TFakeFileDialog Files;

    void SetUp() override
    {
        Init_Lang_Default();
        services::SetClockService(&Clock);
        services::SetFileDialogService(&Files);
        Project_Folder = testutil::TempDir();
        Set_Project_Files();
    }
    void Par_Gen(const QByteArray& children)
    {
        testutil::WriteFile(File_ParGen,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Par_Gen>" + children
                + "</Par_Gen>\r\n<!--SW_VERSION = 1.102-->\r\n");
    }
    QString Out(const QString& name) const { return Project_Folder + QLatin1Char('/') + name; }
};

TEST_F(DescriptionFiles, GSDMLGoldenFilesPassTheSchema)
{
    struct TCase {
        const char* Golden;
        QByteArray ParGen; // children of the root; null: no parameter file
        const char* Input; // the Input and Output data item lengths, the station names
        const char* Output;
        const char* Station;
    };
    const TCase cases[] = {
        { "no_pargen", QByteArray(), "512", "512", "SERIAL" },
        { "in100_out200", "<PROFINET_NB_IN>100</PROFINET_NB_IN><PROFINET_NB_OUT>200</PROFINET_NB_OUT>", "200", "100",
            "SERIAL" },
        { "station_blanks", "<PROFINET_NAME_STA>   </PROFINET_NAME_STA>", "512", "512", "SERIAL" },
        { "station_surrounded", "<PROFINET_NAME_STA>  io-dev 1 </PROFINET_NAME_STA>", "512", "512", "  io-dev 1 " },
        { "station_reserved", "<PROFINET_NAME_STA>a&amp;b \"c\" &lt;d&gt;</PROFINET_NAME_STA>", "512", "512",
            "a&b \"c\" <d>" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Golden);
        QFile::remove(File_ParGen);
        if (!c.ParGen.isNull())
            Par_Gen(c.ParGen);
        const QString path = Out(QStringLiteral("%1.xml").arg(QLatin1String(c.Golden)));
        Write_PROFINET_XML(path);
        const QByteArray bytes = testutil::ReadFile(path);
        ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
        EXPECT_TRUE(bytes.endsWith("</ISO15745Profile>\r\n"));
        EXPECT_EQ(bytes.count("\r\n"), bytes.count("\n"));
        Expect_Valid_GSDML(path);
        Expect_Golden(path, QStringLiteral("gsdml/%1.xml").arg(QLatin1String(c.Golden)));

        // Read back by a parser: the values stand where they belong.
        TXmlDocument doc;
        ASSERT_TRUE(doc.LoadFromBytes(bytes));
        const TXmlNode dap = doc.DocumentElement()
                                 .FindChild("ProfileBody")
                                 .FindChild("ApplicationProcess")
                                 .FindChild("DeviceAccessPointList")
                                 .FindChild("DeviceAccessPointItem");
        EXPECT_EQ(dap.AttributeOr("ImplementationType"), QString::fromUtf8(c.Station));
        EXPECT_EQ(dap.AttributeOr("DNS_CompatibleName"), QString::fromUtf8(c.Station));
        const TXmlNode io = doc.DocumentElement()
                                .FindChild("ProfileBody")
                                .FindChild("ApplicationProcess")
                                .FindChild("ModuleList")
                                .FindChild("ModuleItem")
                                .FindChild("VirtualSubmoduleList")
                                .FindChild("VirtualSubmoduleItem")
                                .FindChild("IOData");
        EXPECT_EQ(io.FindChild("Input").FindChild("DataItem").AttributeOr("Length"), QLatin1String(c.Input));
        EXPECT_EQ(io.FindChild("Output").FindChild("DataItem").AttributeOr("Length"), QLatin1String(c.Output));
    }
    // A plain name is written as it stands.
    Par_Gen("<PROFINET_NAME_STA>gw-7</PROFINET_NAME_STA>");
    Write_PROFINET_XML(Out("plain.xml"));
    EXPECT_TRUE(testutil::ReadFile(Out("plain.xml"))
                    .contains("ImplementationType=\"gw-7\" DNS_CompatibleName=\"gw-7\" FixedInSlots"));
}

TEST_F(DescriptionFiles, SchemaCatchesABrokenReference)
{
    // The schema is no rubber stamp: a text reference to no text fails it.
    Write_PROFINET_XML(Out("good.xml"));
    Expect_Valid_GSDML(Out("good.xml"));
    QByteArray bytes = testutil::ReadFile(Out("good.xml"));
    bytes.replace("<InfoText TextId=\"IDT_INFO_DI\"/>", "<InfoText TextId=\"IDT_INFO_NONE\"/>");
    testutil::WriteFile(Out("bad.xml"), bytes);
    const TRun r = Run_Tool(
        QStringLiteral(MORV_XMLLINT), { QStringLiteral("--noout"), QStringLiteral("--schema"), Xsd, Out("bad.xml") });
    EXPECT_EQ(r.Status, 3);
    EXPECT_TRUE(r.Output.contains(QLatin1String("No match found for key-sequence"))) << r.Output.toStdString();
}

TEST_F(DescriptionFiles, GSDGoldenFilesPassTheChecker)
{
    struct TCase {
        const char* Golden;
        QByteArray ParGen;
        QStringList Expected; // lines the file must hold, in this order
    };
    const TCase cases[] = {
        { "out130_in0", "<PROFINET_NB_IN>0</PROFINET_NB_IN><PROFINET_NB_OUT>130</PROFINET_NB_OUT>",
            { "Max_Module=3", "Max_Input_Len=130", "Max_Output_Len=0", "Max_Data_Len=130",
                "Module=\"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01", "1", "EndModule",
                "Module=\"DI  (PORT2)    \" 0x42,0x3F,0x00,0x02", "2", "EndModule",
                "Module=\"DI  (PORT3)    \" 0x42,0x01,0x00,0x03", "3", "EndModule", "", "", "", "SlotDefinition",
                "Slot(1) = \"Slot 1\" 1 1", "Slot(2) = \"Slot 2\" 2 2", "Slot(3) = \"Slot 3\" 3 3", "EndSlotDefinition",
                "", "", "", "" } },
        { "in64_out64", "<PROFINET_NB_IN>64</PROFINET_NB_IN><PROFINET_NB_OUT>64</PROFINET_NB_OUT>",
            { "Max_Module=2", "Max_Input_Len=64", "Max_Output_Len=64", "Max_Data_Len=128",
                "Module=\"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01", "1", "EndModule",
                "Module=\"DO  (PORT2)    \" 0x82,0x3F,0x00,0x02", "2", "EndModule" } },
        { "in0_out0", "<PROFINET_NB_IN>0</PROFINET_NB_IN>",
            { "Max_Module=0", "Max_Input_Len=0", "Max_Output_Len=0", "Max_Data_Len=0", "SlotDefinition",
                "EndSlotDefinition" } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Golden);
        Par_Gen(c.ParGen);
        ASSERT_TRUE(Load_GSD_Sizes());
        const QString path = Out(QStringLiteral("%1.gsd").arg(QLatin1String(c.Golden)));
        Write_GSD_File(path);
        const QByteArray bytes = testutil::ReadFile(path);
        ASSERT_TRUE(bytes.endsWith("EndSlotDefinition\r\n\r\n\r\n\r\n\r\n"));
        const QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        qsizetype from = 0;
        for (const QString& e : c.Expected) {
            const qsizetype at = lines.indexOf(e, from);
            EXPECT_GE(at, from) << e.toStdString();
            from = at < 0 ? from : at + 1;
        }
        Expect_Valid_GSD(path);
        Expect_Golden(path, QStringLiteral("gsd/%1.gsd").arg(QLatin1String(c.Golden)));
    }
    // Fixed lines as the description gives them.
    const QStringList lines
        = QString::fromLatin1(testutil::ReadFile(Out("in0_out0.gsd"))).split(QStringLiteral("\r\n"));
    for (const char* fixed : { ";******************** PROFIBUS Slave / HART Master - Converter **********************",
             ";==== Prm-Text-Def-List =============================================================",
             ";==== Ext-User-Prm-Data-Def-List =====================================================",
             ";==== General DP Keywords ============================================================",
             ";==== Supported baudrates =====================================================",
             ";==== Module-Definition-List ==================================================",
             ";* Function:       PROFIBUS Slave / HART Master - Converter                         *",
             ";* Order Number : KM41211                                                           *",
             "Text(3)  = \"30\"", "Slave_Family = 9@example.com@KM41211",
             "Info_Text=\"example.com: PROFIBUS Slave / HART Master - Converter\"", "Vendor_Name = \"example.com\"",
             "Unit_Diag_Area = 26 - 27", "Value(3)= \"Slot 2: No module\"" })
        EXPECT_TRUE(lines.contains(QLatin1String(fixed))) << fixed;
}

TEST_F(DescriptionFiles, CheckerCatchesAWrongModuleCount)
{
    Par_Gen("<PROFINET_NB_OUT>130</PROFINET_NB_OUT>");
    ASSERT_TRUE(Load_GSD_Sizes());
    Write_GSD_File(Out("good.gsd"));
    Expect_Valid_GSD(Out("good.gsd"));
    QByteArray bytes = testutil::ReadFile(Out("good.gsd"));
    bytes.replace("Max_Module=3", "Max_Module=2");
    testutil::WriteFile(Out("bad.gsd"), bytes);
    const TRun r = Run_Tool(QStringLiteral(MORV_PYTHON3),
        { QStringLiteral(MORV_TEST_TOOLS_DIR) + QStringLiteral("/gsd_check.py"), Out("bad.gsd") });
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(r.Output.contains(QLatin1String("Max_Module=2, the modules give 3"))) << r.Output.toStdString();
}

TEST_F(DescriptionFiles, GSDSizes)
{
    // Missing keys, no numbers and negative sizes count as 0 everywhere.
    for (const QByteArray& children : { QByteArray(), QByteArray("<PROFINET_NB_IN>x</PROFINET_NB_IN>"),
             QByteArray("<PROFINET_NB_IN>-5</PROFINET_NB_IN><PROFINET_NB_OUT>-70</PROFINET_NB_OUT>") }) {
        SCOPED_TRACE(children.constData());
        Par_Gen(children);
        ASSERT_TRUE(Load_GSD_Sizes());
        const QStringList lines = GSD_Lines({ GSD_NB_IN, GSD_NB_OUT });
        for (const char* key : { "Max_Module=0", "Max_Input_Len=0", "Max_Output_Len=0", "Max_Data_Len=0" })
            EXPECT_TRUE(lines.contains(QLatin1String(key))) << key;
    }
    // 244 a direction is the most; one more stops with the key named.
    EXPECT_EQ(GSD_Lines({ 244, 244 }).filter(QStringLiteral("EndModule")).size(), 8);
    for (const TGSD_Sizes s : { TGSD_Sizes { 245, 0 }, TGSD_Sizes { 0, 1000 } }) {
        try {
            GSD_Lines(s);
            ADD_FAILURE() << "no error for " << s.NB_In << "/" << s.NB_Out;
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(s.NB_In > 0 ? "PROFINET_NB_IN is 245" : "PROFINET_NB_OUT is 1000"))
                << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(QLatin1String("244")));
        }
    }
}

TEST_F(DescriptionFiles, GSDMLLengthsOutOfRangeWriteNothing)
{
    struct TCase {
        QByteArray ParGen;
        const char* Message;
    };
    const TCase cases[] = {
        { "<PROFINET_NB_IN>0</PROFINET_NB_IN>", "PROFINET_NB_IN is 0; the PROFINET description takes 1 to 1440 bytes" },
        { "<PROFINET_NB_OUT>1441</PROFINET_NB_OUT>", "PROFINET_NB_OUT is 1441" },
        { "<PROFINET_NB_IN>-3</PROFINET_NB_IN>", "PROFINET_NB_IN is -3" },
        { "<PROFINET_NAME_STA>a&#1;b</PROFINET_NAME_STA>", "PROFINET_NAME_STA holds a character" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Message);
        Par_Gen(c.ParGen);
        try {
            Write_PROFINET_XML(Out("x.xml"));
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(QLatin1String(c.Message))) << e.Message().toStdString();
        }
        EXPECT_FALSE(QFile::exists(Out("x.xml")));
    }
    // The edges pass; an unreadable number takes the default.
    Par_Gen("<PROFINET_NB_IN>1</PROFINET_NB_IN><PROFINET_NB_OUT>1440</PROFINET_NB_OUT>");
    Write_PROFINET_XML(Out("edges.xml"));
    Expect_Valid_GSDML(Out("edges.xml"));
    Par_Gen("<PROFINET_NB_IN>12a</PROFINET_NB_IN>");
    TPROFINET_Parameters p;
    ASSERT_TRUE(Load_PROFINET_Parameters(p));
    EXPECT_EQ(p.Output_Length, 512);
}

TEST_F(DescriptionFiles, NameComposition)
{
    const QString p = GSDML_Name_Prefix;
    const QString s = QStringLiteral("-20261211.xml");
    const struct {
        const char* User;
        const char* Name;
    } cases[] = {
        { "", "GSDML-V2.25-Quolmi--20261211.xml" },
        { "   ", "GSDML-V2.25-Quolmi--20261211.xml" },
        { "_x", "GSDML-V2.25-Quolmi-_x-20261211.xml" },
        { "x", "GSDML-V2.25-Quolmi-_x-20261211.xml" },
        { "  x", "GSDML-V2.25-Quolmi-_  x-20261211.xml" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Compose_GSDML_Name(p, QString::fromUtf8(c.User), s), QString::fromUtf8(c.Name)) << c.User;
    EXPECT_EQ(GSDML_Date_Suffix(EncodeDate(2027, 1, 2) + 0.99), "-20270102.xml");
}

TEST_F(DescriptionFiles, UnsafeNamesKeepTheDialogOpen)
{
    TFProfinetFileName form(nullptr);
    ModalDriver driver;
    for (const QString& user : { QStringLiteral("a/b"), QStringLiteral("..\\x"), QStringLiteral("a:b"),
             QStringLiteral("a*"), QStringLiteral("a?"), QStringLiteral("\"a\""), QStringLiteral("<a>"),
             QStringLiteral("a|b"), QStringLiteral("a\tb") }) {
        SCOPED_TRACE(user.toStdString());
        driver.AnswerMessageBox(mrOk);
        form.Name_File_XML.clear();
        form.SetModalResult(0);
        form.E_XML_User->SetText(user);
        form.Btn_OK_Click(nullptr);
        EXPECT_EQ(form.ModalResult(), 0);
        EXPECT_EQ(form.Name_File_XML, QString());
        ASSERT_FALSE(driver.Messages().empty());
        EXPECT_EQ(driver.Messages().back().Text, "Error! The file name is not valid");
        EXPECT_EQ(driver.Messages().back().DlgType, mtError);
    }
    // Dots alone cannot leave the folder: the name stays one file name.
    const size_t boxes = driver.Messages().size();
    form.E_XML_User->SetText(QStringLiteral(".."));
    form.Btn_OK_Click(nullptr);
    EXPECT_EQ(form.ModalResult(), mrOk);
    EXPECT_EQ(form.Name_File_XML, "GSDML-V2.25-Quolmi-_..-20261211.xml");
    EXPECT_EQ(driver.Messages().size(), boxes);
}

TEST_F(DescriptionFiles, GSDFileNames)
{
    const struct {
        const char* Chosen;
        const char* Name;
    } cases[] = {
        { "/p/Station.GSD", "/p/Station.GSD" },
        { "/p/station", "/p/station.gsd" },
        { "/p/a.gsd.txt", "/p/a.gsd.txt.gsd" },
        { "/p/a.gsd.gsd", "/p/a.gsd.gsd.gsd" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(GSD_File_Name(QString::fromUtf8(c.Chosen)), QString::fromUtf8(c.Name)) << c.Chosen;
}

TEST_F(DescriptionFiles, GSDMLSaveDialogAndOverwrite)
{
    const QString name = QStringLiteral("GSDML-V2.25-Quolmi-_x-20261211.xml");
    ModalDriver driver;
    // Cancelled: nothing written.
    Create_PROFINET_XML(name);
    ASSERT_EQ(Files.Requests.size(), 1u);
    EXPECT_EQ(Files.Requests[0].Kind, TFileDialogKind::Save);
    EXPECT_EQ(Files.Requests[0].InitialDir, Project_Folder);
    EXPECT_EQ(Files.Requests[0].Filter, "PROFINET XML (*.xml)|" + name);
    EXPECT_EQ(Files.Requests[0].FileName, name);
    EXPECT_TRUE(QDir(Project_Folder).entryList(QDir::Files).isEmpty());

    // A typed name only picks the folder.
    Files.Answer = Out("other.xml");
    Create_PROFINET_XML(name);
    EXPECT_FALSE(QFile::exists(Out("other.xml")));
    ASSERT_TRUE(QFile::exists(Out(name)));
    EXPECT_TRUE(driver.Messages().empty());

    // No at 1708 keeps the file; Yes replaces it.
    testutil::WriteFile(Out(name), "old");
    driver.AnswerMessageBox(mrNo);
    Create_PROFINET_XML(name);
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].Text, Lang(1708));
    EXPECT_EQ(driver.Messages()[0].Buttons, mbYesNo);
    EXPECT_EQ(testutil::ReadFile(Out(name)), "old");
    driver.AnswerMessageBox(mrYes);
    Create_PROFINET_XML(name);
    EXPECT_TRUE(testutil::ReadFile(Out(name)).startsWith("\xEF\xBB\xBF<?xml"));
    Expect_Valid_GSDML(Out(name));
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join('\n').toStdString();
}

TEST_F(DescriptionFiles, GSDDialogAndOverwrite)
{
    ModalDriver driver;
    // Without a parameter file: 1104 and no dialog.
    driver.AnswerMessageBox(mrOk);
    Create_PROFIBUS_GSD();
    EXPECT_TRUE(Files.Requests.empty());
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].Text, Lang(1104));
    EXPECT_EQ(driver.Messages()[0].DlgType, mtError);

    Par_Gen("<PROFINET_NB_OUT>10</PROFINET_NB_OUT>");
    Create_PROFIBUS_GSD(); // cancelled
    ASSERT_EQ(Files.Requests.size(), 1u);
    EXPECT_EQ(Files.Requests[0].Filter, "Generic Station Description (*.gsd)|*.gsd");
    EXPECT_EQ(Files.Requests[0].InitialDir, Project_Folder);
    EXPECT_EQ(QDir(Project_Folder).entryList(QDir::Files), QStringList { "ParGen.xml" });

    Files.Answer = Out("station");
    Create_PROFIBUS_GSD();
    ASSERT_TRUE(QFile::exists(Out("station.gsd")));
    EXPECT_TRUE(testutil::ReadFile(Out("station.gsd")).contains("\r\nMax_Input_Len=10\r\n"));

    Par_Gen("<PROFINET_NB_OUT>20</PROFINET_NB_OUT>");
    driver.AnswerMessageBox(mrNo);
    Create_PROFIBUS_GSD();
    ASSERT_EQ(driver.Messages().size(), 2u);
    EXPECT_EQ(driver.Messages()[1].Text, Lang(1103));
    EXPECT_TRUE(testutil::ReadFile(Out("station.gsd")).contains("\r\nMax_Input_Len=10\r\n"));
    driver.AnswerMessageBox(mrYes);
    Create_PROFIBUS_GSD();
    EXPECT_TRUE(testutil::ReadFile(Out("station.gsd")).contains("\r\nMax_Input_Len=20\r\n"));
    Expect_Valid_GSD(Out("station.gsd"));

    // Too large: stopped before any dialog.
    Par_Gen("<PROFINET_NB_IN>300</PROFINET_NB_IN>");
    const size_t asked = Files.Requests.size();
    EXPECT_THROW(Create_PROFIBUS_GSD(), Exception);
    EXPECT_EQ(Files.Requests.size(), asked);
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join('\n').toStdString();
}

TEST_F(DescriptionFiles, DamagedParameterFileWritesNothing)
{
    testutil::WriteFile(File_ParGen, "<Par_Gen><PROFINET_NB_IN>10</PROFINET_NB_IN>");
    Files.Answer = Out("d.gsd");
    for (int writer = 0; writer < 2; ++writer) {
        SCOPED_TRACE(writer);
        ModalDriver driver;
        driver.AnswerMessageBox(mrOk);
        if (writer == 0)
            Create_PROFIBUS_GSD();
        else
            Create_PROFINET_XML(QStringLiteral("d.xml"));
        ASSERT_EQ(driver.Messages().size(), 1u);
        EXPECT_TRUE(driver.Messages()[0].Text.startsWith("The file " + File_ParGen + " cannot be read"))
            << driver.Messages()[0].Text.toStdString();
        EXPECT_EQ(QDir(Project_Folder).entryList(QDir::Files), QStringList { "ParGen.xml" });
    }
}

TEST_F(DescriptionFiles, SaveIntoAMissingFolderIsReported)
{
    Par_Gen(QByteArray());
    const QString missing = Project_Folder + QStringLiteral("/gone");
    for (int writer = 0; writer < 2; ++writer) {
        SCOPED_TRACE(writer);
        ModalDriver driver;
        driver.AnswerMessageBox(mrOk);
        const QString path = missing + (writer == 0 ? "/a.gsd" : "/a.xml");
        if (writer == 0) {
            ASSERT_TRUE(Load_GSD_Sizes());
            Write_GSD_File(path);
        } else {
            Write_PROFINET_XML(path);
        }
        ASSERT_EQ(driver.Messages().size(), 1u);
        EXPECT_TRUE(driver.Messages()[0].Text.startsWith("Cannot save the file " + path))
            << driver.Messages()[0].Text.toStdString();
        EXPECT_FALSE(QFileInfo::exists(missing));
    }
}

class DescriptionFilesMainWindow : public DescriptionFiles {
protected:
    void SetUp() override
    {
        DescriptionFiles::SetUp();
        Program_Folder_Source = [f = testutil::TempDir()]() { return f; };
        Application->Initialize();
        Create_Forms();
        Project_Folder = testutil::TempDir();
        FMorvantinoFirmWare->Set_Files();
    }
    void TearDown() override
    {
        Application->DestroyComponents();
        Application->ResetTerminated();
        Program_Folder_Source = nullptr;
    }
};

TEST_F(DescriptionFilesMainWindow, DialogNamesTheFileTheWriterWrites)
{
    ASSERT_TRUE(FMorvantinoFirmWare->Tables.Create_PROFINET_XML);
    ASSERT_TRUE(FMorvantinoFirmWare->Tables.Create_PROFIBUS_GSD);
    ModalDriver driver;
    QImage picture;
    QStringList shownSuffix;
    int shows = 0;
    driver.OnForm<TFProfinetFileName>([&](TFProfinetFileName* f) {
        ++shows;
        shownSuffix << f->L_XML_Fix2->Caption();
        if (shows == 1) {
            // An unsafe name is refused and the dialog stays.
            input::Type(f->E_XML_User, QStringLiteral("a/b"));
            input::Click(f->Btn_OK, TPoint { 10, 10 });
            EXPECT_EQ(f->ModalResult(), 0);
            ASSERT_EQ(driver.Messages().size(), 1u);
            EXPECT_EQ(driver.Messages()[0].Text, "Error! The file name is not valid");
            f->E_XML_User->SetText(QString());
            input::Type(f->E_XML_User, QStringLiteral("line 4"));
            picture = f->PaintToImage();
            input::Click(f->Btn_OK, TPoint { 10, 10 });
        } else {
            // The user part stays between showings; Cancel writes nothing.
            EXPECT_EQ(f->E_XML_User->Text(), "line 4");
            input::Click(f->Btn_Cancel, TPoint { 10, 10 });
        }
    });
    driver.AnswerMessageBox(mrOk);
    Files.Answer = Project_Folder + QStringLiteral("/typed.xml");
    FMorvantinoFirmWare->PROFINET_XML();
    const QString name = QStringLiteral("GSDML-V2.25-Quolmi-_line 4-20261211.xml");
    EXPECT_EQ(FProfinetFileName->Name_File_XML, name);
    ASSERT_EQ(Files.Requests.size(), 1u);
    EXPECT_EQ(Files.Requests[0].FileName, name);
    EXPECT_TRUE(QFile::exists(Out(name)));
    Expect_Valid_GSDML(Out(name));

    // The next day's showing carries the next day's date.
    Clock.Day += 1;
    FMorvantinoFirmWare->PROFINET_XML();
    EXPECT_EQ(shownSuffix.join(u' ').toStdString(), "-20261211.xml -20261212.xml");
    EXPECT_EQ(Files.Requests.size(), 1u);
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join('\n').toStdString();

    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(540, 205));
    testutil::SaveImagePng(picture, QStringLiteral("profinet_file_name"));
    EXPECT_TRUE(testutil::MatchesGolden(picture, QStringLiteral("profinet_file_name")));
}

} // namespace
