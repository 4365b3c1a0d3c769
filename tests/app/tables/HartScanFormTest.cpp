// The HART scan form against a converter stand-in on 127.0.0.1, shown
// modally through the modal driver: its pages and buttons, the status lines in
// the thread's order, the result rows taken from the device records, Select
// and Unselect All, Scan Again, closing during a scan, an address that is no
// address, the octet fields under real key input, and its pictures. Nothing
// is sent beyond the loopback range: every scan goes to 127.0.0.1.
#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/tables/ConverterSimulator.h"
#include "app/tables/UHART_Scan.h"
#include "common/TestUtil.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/StdCtrls.h"
#include "platform/net/UdpEndpoint.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace {

using testutil::PumpUntil;

struct TVar {
    std::uint8_t Code;
    std::uint8_t Class;
    std::uint8_t Unit;
};

struct TDevice {
    std::uint8_t Addr[5]; // record bytes 1, 2, 9, 10, 11
    std::uint8_t Preamble;
    QByteArray Name; // up to 32 bytes, NULs after it
    std::vector<TVar> Vars;
};

QByteArray Record_Of(const TDevice& d)
{
    QByteArray r(HART_Record_Size, '\0');
    r[1] = char(d.Addr[0]);
    r[2] = char(d.Addr[1]);
    r[3] = char(d.Preamble);
    r[9] = char(d.Addr[2]);
    r[10] = char(d.Addr[3]);
    r[11] = char(d.Addr[4]);
    r.replace(61, std::min<qsizetype>(d.Name.size(), 32), d.Name.left(32));
    r[115] = char(d.Vars.size());
    for (std::size_t k = 0; k < d.Vars.size(); ++k) {
        r[int(119 + 3 * k)] = char(d.Vars[k].Code);
        r[int(120 + 3 * k)] = char(d.Vars[k].Class);
        r[int(121 + 3 * k)] = char(d.Vars[k].Unit);
    }
    return r;
}

THART_Device_Record As_Record(const QByteArray& bytes)
{
    THART_Device_Record rec {};
    std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), HART_Record_Size), rec.begin());
    return rec;
}

// The converter with a device list a test changes between scans: each search
// reports itself running once, then finished with the list's size, and each
// read gets its device's record (a zero record beyond the list).
class TScripted_Converter {
public:
    void Set_Devices(std::vector<TDevice> devices)
    {
        std::lock_guard<std::mutex> guard(FLock);
        FDevices = std::move(devices);
    }
    // With `running`, every status poll says the search goes on.
    void Set_Running_For_Ever(bool running)
    {
        std::lock_guard<std::mutex> guard(FLock);
        FForEver = running;
    }

private:
    std::optional<QByteArray> Answer(const QString& command)
    {
        std::lock_guard<std::mutex> guard(FLock);
        if (command.startsWith(QStringLiteral("F_FULL_"))) {
            FPolls = 0;
            return QByteArray("FULL DEVICES SEARCH STARTED");
        }
        if (command == QStringLiteral("F_TEST")) {
            if (FForEver || FPolls++ == 0)
                return QByteArray("SEARCH STATUS=1 - Devices now 1 ");
            return "SEARCH STATUS=0 - Devices now " + QByteArray::number(qsizetype(FDevices.size())) + " ";
        }
        if (command.startsWith(QStringLiteral("F_READ"))) {
            const int index = command.mid(6).toInt();
            const QByteArray rec = index < int(FDevices.size()) ? Record_Of(FDevices[std::size_t(index)])
                                                                : QByteArray(HART_Record_Size, '\0');
            return TConverterSimulator::Prefix(index) + rec;
        }
        return std::nullopt;
    }

    std::mutex FLock;
    std::vector<TDevice> FDevices;
    int FPolls = 0;
    bool FForEver = false;

public:
    // Last: it stops before the script's state goes.
    TConverterSimulator Sim { [this](const QString& command, int) { return Answer(command); } };
};

const QString Init_Text = QStringLiteral("Init Scan - Waiting...");
const QString Finished = QStringLiteral("Search Finish");
const QString Finished_Errors = QStringLiteral("Search Finish with Errors");

// The visible page and the visible buttons with their lefts.
QString Layout(TFHART_Scan* f)
{
    QStringList out;
    for (TPanel* p : { f->P_HART_Init_Scan, f->P_HART_Scan_Wait, f->P_HART_View_Vars })
        if (p->Visible())
            out << p->Name();
    for (TLbButton* b :
        { f->Btn_StartScan, f->Btn_OK, f->Btn_Cancel, f->Btn_SelectAll, f->Btn_UnSelectAll, f->Btn_ScanAgain })
        if (b->Visible())
            out << QStringLiteral("%1@%2").arg(b->Name()).arg(b->Left());
    return out.join(u' ');
}

const QString Start_Page = QStringLiteral("P_HART_Init_Scan Btn_StartScan@16");
const QString Wait_Page = QStringLiteral("P_HART_Scan_Wait");
const QString Result_Page = QStringLiteral(
    "P_HART_View_Vars Btn_OK@16 Btn_Cancel@167 Btn_SelectAll@318 Btn_UnSelectAll@469 Btn_ScanAgain@620");
const QString Failed_Page = QStringLiteral("P_HART_Scan_Wait Btn_ScanAgain@16");

// A result row: its texts, with the check box as "[x]" or "[ ]".
QStringList Row(TExStringGrid* g, int r)
{
    QStringList out;
    for (int c = 0; c < 8; ++c) {
        if (c == HART_Scan_Col_Enable) {
            bool state = false;
            out << (!g->GetCheckBoxState(c, r, state) ? QStringLiteral("none") : state ? "[x]" : "[ ]");
        } else {
            out << g->Cells(c, r);
        }
    }
    return out;
}

std::vector<QStringList> Rows(TExStringGrid* g)
{
    std::vector<QStringList> out;
    for (int r = 1; r < g->RowCount(); ++r)
        out.push_back(Row(g, r));
    return out;
}

// The look of a row: check cell colour, alignment and editability; the
// device columns' one colour and all read-only.
void Expect_Row_Look(TExStringGrid* g, int r, TColor deviceColor)
{
    SCOPED_TRACE(r);
    EXPECT_EQ(g->Colors(HART_Scan_Col_Enable, r), RGB(255, 216, 176));
    EXPECT_EQ(g->Alignments(HART_Scan_Col_Enable, r), taCenter);
    EXPECT_FALSE(g->ReadOnly(HART_Scan_Col_Enable, r));
    for (int c = HART_Scan_Col_Address; c <= HART_Scan_Col_Unit; ++c) {
        EXPECT_EQ(g->Colors(c, r), deviceColor) << c;
        EXPECT_TRUE(g->ReadOnly(c, r)) << c;
    }
}

const TColor Even = RGB(224, 250, 254);
const TColor Odd = RGB(168, 255, 168);

// Three devices; codes outside 242 to 250 are in every list and must not show.
std::vector<TDevice> Three_Devices()
{
    return {
        { { 0x1A, 0xB2, 0x0C, 0xDE, 0xF0 }, 12, QByteArray("PT-101\0GARBAGE", 14),
            { { 246, 64, 32 }, { 1, 64, 32 }, { 247, 65, 7 } } },
        { { 0x26, 0x07, 0x00, 0x00, 0x09 }, 5, QByteArray("LT\x01-7\x7F\x81\xE9"), { { 251, 0, 7 }, { 248, 0, 7 } } },
        { { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF }, 20, QByteArray(32, 'X'), { { 242, 0, 0 }, { 241, 0, 0 }, { 250, 0, 0 } } },
    };
}

class HartScanForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        Init_Lang_Default();
        Driver = std::make_unique<ModalDriver>(30000);
        Form = std::make_unique<TFHART_Scan>(nullptr);
        Form->Scan_Params = Loopback_Scan_Params(Conv.Sim.Port());
        Set_Address("127", "0", "0", "1");
    }
    void TearDown() override
    {
        Form.reset();
        EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
        Driver.reset();
    }
    void Set_Address(const char* a, const char* b, const char* c, const char* d)
    {
        Form->E_Discovery_IP1->SetText(QString::fromLatin1(a));
        Form->E_Discovery_IP2->SetText(QString::fromLatin1(b));
        Form->E_Discovery_IP3->SetText(QString::fromLatin1(c));
        Form->E_Discovery_IP4->SetText(QString::fromLatin1(d));
    }
    // Start Scan pressed on a shown form; the status lines it reports are
    // noted. True once the result or the failed page shows.
    bool Scan()
    {
        Status.clear();
        THART_Thread* t = Form->TR_HART_Scan.get();
        if (t != Watched) {
            // Set while no scan runs: the worker reads it only during one.
            auto shown = t->OnShow_Status;
            t->OnShow_Status = [this, shown](const QString& s) {
                Status << s;
                shown(s);
            };
            Watched = t;
        }
        Form->Btn_StartScan->Click();
        Layout_After_Start = Layout(Form.get());
        return PumpUntil([this] { return Form->P_HART_View_Vars->Visible() || Form->Btn_ScanAgain->Visible(); });
    }
    // Shows the form modally and runs `fn` in its modal loop; `fn` closes it.
    TModalResult Run_Modal(const std::function<void()>& fn)
    {
        Driver->OnForm(
            "TFHART_Scan", [fn](TCustomForm*) { fn(); }, 1);
        return Form->ShowModal();
    }

    TScripted_Converter Conv;
    std::unique_ptr<ModalDriver> Driver;
    std::unique_ptr<TFHART_Scan> Form;
    QStringList Status;
    QString Layout_After_Start;
    THART_Thread* Watched = nullptr;
};

TEST_F(HartScanForm, StartPageAsCreated)
{
    EXPECT_EQ(Form->ClientWidth(), 1000);
    EXPECT_EQ(Form->ClientHeight(), 337);
    EXPECT_EQ(Form->Caption(), "HART Scan");
    EXPECT_EQ(Form->L_SW_Code->Caption(), "HART Scan");
    EXPECT_EQ(Form->L_SW_Desc->Caption(), "Scan && Decode HART Network");
    EXPECT_EQ(Form->L_Discovery_IP->Caption(), "IP Address");
    EXPECT_EQ(Form->E_Discovery_IP4->Hint(), "Insert fourth byte of IP Address");
    EXPECT_EQ(Form->L_Discovery_NumDevs->Caption(), "Num Devices");
    EXPECT_EQ(Form->CB_Discovery_NumDevs->Hint(), "Insert the Number of HART Devices present in the Network");
    EXPECT_EQ(Form->Btn_StartScan->Caption(), "Start Scan");
    EXPECT_EQ(Form->Btn_ScanAgain->Hint(), "Scan Again HART Network");
    EXPECT_EQ(Form->Btn_SelectAll->Caption(), "Select All");
    EXPECT_EQ(Form->Btn_UnSelectAll->Caption(), "Unselect All");
    EXPECT_EQ(Form->L_Wait->Caption(), "Waiting...");
    for (TLbButton* b :
        { Form->Btn_StartScan, Form->Btn_OK, Form->Btn_Cancel, Form->Btn_SelectAll, Form->Btn_UnSelectAll })
        EXPECT_EQ(b->Width(), 145) << b->Name().toStdString();

    // The address the form proposes is never scanned here.
    TFHART_Scan fresh(nullptr);
    EXPECT_EQ(fresh.IP_Address(), "192.168.2.107");
    EXPECT_EQ(fresh.CB_Discovery_NumDevs->Items()->Count(), 64);
    EXPECT_EQ(fresh.CB_Discovery_NumDevs->Items()->Get(0), "01");
    EXPECT_EQ(fresh.CB_Discovery_NumDevs->Text(), "64");

    // One empty row under the headers, at the given widths.
    TExStringGrid* g = Form->ESG;
    EXPECT_EQ(g->ColCount(), 8);
    const int widths[8] = { 40, 50, 120, 120, 160, 120, 120, 120 };
    const char* headers[8] = { "N", "Enable", "Device Address", "Preamble Count", "Device Name", "Var Code",
        "Var Classification", "Var Unit Code" };
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(g->ColWidths(c), widths[c]);
        EXPECT_EQ(g->Cells(c, 0), headers[c]);
    }
    ASSERT_EQ(Rows(g), (std::vector<QStringList> { { "1", "[ ]", "", "", "", "", "", "" } }));
    Expect_Row_Look(g, 1, clWhite);
}

TEST_F(HartScanForm, ScanOfThreeDevicesListsTheirNamedVariables)
{
    Conv.Set_Devices(Three_Devices());
    Form->CB_Discovery_NumDevs->SetItemIndex(2);
    std::vector<QStringList> rows;
    QString before;
    const TModalResult result = Run_Modal([&] {
        before = Layout(Form.get());
        ASSERT_TRUE(Scan());
        rows = Rows(Form->ESG);
        Expect_Row_Look(Form->ESG, 1, Even);
        Expect_Row_Look(Form->ESG, 2, Even);
        Expect_Row_Look(Form->ESG, 3, Odd);
        Expect_Row_Look(Form->ESG, 4, Even);
        Expect_Row_Look(Form->ESG, 5, Even);
        EXPECT_EQ(Layout(Form.get()), Result_Page);
        Form->Btn_OK->Click();
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(before, Start_Page);
    EXPECT_EQ(Layout_After_Start, Wait_Page);
    EXPECT_EQ(Conv.Sim.Commands().first(), "F_FULL_03");
    EXPECT_EQ(Status,
        (QStringList { Init_Text, "Devices Search Started - Devices Found 0 - Waiting...",
            "Devices Search Started - Devices Found 1 - Waiting...", "Search Finish - Devices Found 3 - Waiting...",
            "Search Finish - Read Information Device 0 - Waiting...",
            "Search Finish - Read Information Device 1 - Waiting...",
            "Search Finish - Read Information Device 2 - Waiting...", Finished }));
    EXPECT_EQ(Form->L_Discovery_Result->Caption(), Finished);

    const QString X32(32, u'X');
    const std::vector<QStringList> expected {
        { "1", "[x]", "0x1AB20CDEF0", "12", "PT-101", "Primary Variable", "Temperature", "°C (degrees Celsius)" },
        { "2", "[x]", "0x1AB20CDEF0", "12", "PT-101", "Secondary Variable", "Pressure", "bar (bars)" },
        { "3", "[x]", "0x2607000009", "5", "LT-7é", "Tertiary Variable", "Device Variable Not Classified",
            "bar (bars)" },
        { "4", "[x]", "0xFFFFFFFFFF", "20", X32, "Battery Voltage", "Device Variable Not Classified", "0" },
        { "5", "[x]", "0xFFFFFFFFFF", "20", X32, "Not Used", "Device Variable Not Classified", "0" },
    };
    EXPECT_EQ(rows, expected);
    // The caller's import reads both after the form has closed.
    EXPECT_EQ(Form->FNum_Devices, 3);
    EXPECT_EQ(Rows(Form->ESG), expected);
    EXPECT_EQ(Form->TR_HART_Scan.get(), nullptr);
}

TEST_F(HartScanForm, SelectionButtonsAndScanAgain)
{
    Conv.Set_Devices(Three_Devices());
    Form->CB_Discovery_NumDevs->SetItemIndex(2);
    const TModalResult result = Run_Modal([&] {
        ASSERT_TRUE(Scan());
        TExStringGrid* g = Form->ESG;
        auto checks = [g] {
            QString s;
            for (int r = 1; r < g->RowCount(); ++r)
                s += Row(g, r)[HART_Scan_Col_Enable] == "[x]" ? u'x' : u'.';
            return s;
        };
        // The user's click on a box, through the grid's own call.
        EXPECT_TRUE(g->ToggleCheckBox(HART_Scan_Col_Enable, 2));
        EXPECT_EQ(checks(), "x.xxx");
        Form->Btn_UnSelectAll->Click();
        EXPECT_EQ(checks(), ".....");
        Form->Btn_SelectAll->Click();
        EXPECT_EQ(checks(), "xxxxx");

        // Scan Again starts over; each scan's rows replace the last ones.
        struct Case {
            const char* Name;
            std::vector<TDevice> Devices;
            std::vector<QStringList> Rows;
            std::vector<TColor> Colors;
        };
        std::vector<TDevice> middle_none = Three_Devices();
        middle_none[1].Vars = { { 0, 0, 0 }, { 241, 0, 0 }, { 251, 0, 0 } };
        std::vector<TDevice> none_named = middle_none;
        none_named[0].Vars = { { 1, 0, 0 } };
        none_named[2].Vars.clear();
        const QString X32(32, u'X');
        const std::vector<QStringList> one_empty { { "1", "[ ]", "", "", "", "", "", "" } };
        const Case cases[] = {
            { "device without named variables adds no row", middle_none,
                { { "1", "[x]", "0x1AB20CDEF0", "12", "PT-101", "Primary Variable", "Temperature",
                      "°C (degrees Celsius)" },
                    { "2", "[x]", "0x1AB20CDEF0", "12", "PT-101", "Secondary Variable", "Pressure", "bar (bars)" },
                    { "3", "[x]", "0xFFFFFFFFFF", "20", X32, "Battery Voltage", "Device Variable Not Classified", "0" },
                    { "4", "[x]", "0xFFFFFFFFFF", "20", X32, "Not Used", "Device Variable Not Classified", "0" } },
                { Even, Even, Even, Even } },
            { "no named variable at all", none_named, one_empty, { clWhite } },
            { "no device", {}, one_empty, { clWhite } },
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.Name);
            Conv.Set_Devices(c.Devices);
            Form->Btn_ScanAgain->Click();
            EXPECT_EQ(Layout(Form.get()), Start_Page);
            ASSERT_TRUE(Scan());
            EXPECT_EQ(Layout(Form.get()), Result_Page);
            EXPECT_EQ(Status.count(Init_Text), 1);
            EXPECT_EQ(Status.last(), Finished);
            EXPECT_EQ(Rows(g), c.Rows);
            for (std::size_t r = 0; r < c.Colors.size(); ++r)
                Expect_Row_Look(g, int(r) + 1, c.Colors[r]);
            EXPECT_EQ(Form->FNum_Devices, int(c.Devices.size()));
        }
        Form->Btn_Cancel->Click();
    });
    EXPECT_EQ(result, mrCancel);
}

TEST_F(HartScanForm, ClosingDuringTheWaitEndsTheThread)
{
    Conv.Set_Running_For_Ever(true);
    quint16 port = 0;
    const TModalResult result = Run_Modal([&] {
        const int polls = 2;
        Form->Btn_StartScan->Click();
        ASSERT_TRUE(PumpUntil([&] { return Conv.Sim.Commands().count(QStringLiteral("F_TEST")) >= polls; }));
        EXPECT_EQ(Layout(Form.get()), Wait_Page);
        EXPECT_EQ(Form->L_Discovery_Result->Caption(), "Devices Search Started - Devices Found 1 - Waiting...");
        port = Form->TR_HART_Scan->Local_Port();
        // The window's close button.
        Form->Widget()->close();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Form->TR_HART_Scan.get(), nullptr);
    // The worker closes its port on its way out: the port is free again.
    ASSERT_NE(port, 0);
    TUdpEndpoint probe;
    probe.SetBindAddress(QStringLiteral("127.0.0.1"));
    probe.SetBindPort(port);
    QString error;
    EXPECT_TRUE(probe.Start(&error)) << error.toStdString();
}

TEST_F(HartScanForm, AnAddressThatIsNoAddressEndsOnTheFailedPage)
{
    Set_Address("1", "2", "3", "");
    const TModalResult result = Run_Modal([&] {
        ASSERT_TRUE(Scan());
        EXPECT_EQ(Layout(Form.get()), Failed_Page);
        EXPECT_EQ(Form->L_Discovery_Result->Caption(), Finished_Errors);
        Form->Btn_ScanAgain->Click();
        EXPECT_EQ(Layout(Form.get()), Start_Page);
        Form->Close();
    });
    EXPECT_EQ(result, mrCancel);
    // The first command never went out: a search start that went unanswered
    // would have shown text 1626 before the end.
    EXPECT_EQ(Status, (QStringList { Init_Text, Finished_Errors }));
    EXPECT_TRUE(Conv.Sim.Commands().isEmpty());
}

TEST_F(HartScanForm, DotMovesToTheNextOctetFieldAndIsConsumed)
{
    Form->Show();
    Set_Address("", "", "", "");
    Form->E_Discovery_IP1->SetFocus();
    input::Type(Form->E_Discovery_IP1, QStringLiteral("10."));
    EXPECT_EQ(Form->E_Discovery_IP1->Text(), "10");
    EXPECT_EQ(Form->FocusedControl(), Form->E_Discovery_IP2);
    input::Type(Form->E_Discovery_IP2, QStringLiteral("1."));
    EXPECT_EQ(Form->FocusedControl(), Form->E_Discovery_IP3);
    input::Type(Form->E_Discovery_IP3, QStringLiteral("2."));
    EXPECT_EQ(Form->FocusedControl(), Form->E_Discovery_IP4);
    input::Type(Form->E_Discovery_IP4, QStringLiteral("3.4"));
    EXPECT_EQ(Form->E_Discovery_IP4->Text(), "34");
    EXPECT_EQ(Form->FocusedControl(), Form->E_Discovery_IP4);
    EXPECT_EQ(Form->IP_Address(), "10.1.2.34");
    // Other keys type as usual.
    input::Type(Form->E_Discovery_IP4, QStringLiteral("x"));
    EXPECT_EQ(Form->E_Discovery_IP4->Text(), "34x");
    Form->Close();
}

TEST_F(HartScanForm, Pictures)
{
    std::vector<TDevice> two = Three_Devices();
    two.pop_back();
    Conv.Set_Devices(two);
    Form->CB_Discovery_NumDevs->SetItemIndex(1);
    QImage start;
    QImage result;
    Run_Modal([&] {
        start = Form->PaintToImage();
        ASSERT_TRUE(Scan());
        result = Form->PaintToImage();
        Form->Btn_OK->Click();
    });
    testutil::SaveImagePng(start, "hart_scan_start");
    testutil::SaveImagePng(result, "hart_scan_result");
    EXPECT_EQ(start.size(), QSize(1000, 337));
    EXPECT_TRUE(testutil::MatchesGolden(start, "hart_scan_start"));
    EXPECT_TRUE(testutil::MatchesGolden(result, "hart_scan_result"));
}

TEST(HartScanDevice, ColumnsFromTheRecord)
{
    struct Case {
        const char* Name;
        QByteArray Tag; // record bytes 61 on
        QString Expected;
    } cases[] = {
        { "ends at the first NUL", QByteArray("DEV\0\0 - Primary Variable", 25), "DEV" },
        { "all 32 bytes without a NUL", QByteArray(40, 'A'), QString(32, u'A') },
        { "padding blanks stay", QByteArray("TT 1    "), "TT 1    " },
        { "control bytes dropped",
            QByteArray("\x01"
                       "A\tB\r\nC\x1F\x7F"),
            "ABC" },
        { "code page characters", QByteArray("\x80\xE9\xFF\x81\x9D"), QString::fromUtf8("€éÿ") },
        { "empty", QByteArray(), "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QByteArray r(HART_Record_Size, '\0');
        r.replace(61, std::min<qsizetype>(c.Tag.size(), 40), c.Tag.left(40));
        EXPECT_EQ(HART_Scan_Device(As_Record(r)).Name, c.Expected);
    }

    QByteArray r(HART_Record_Size, '\0');
    const unsigned char bytes[][2] = { { 1, 0xAB }, { 2, 0x0C }, { 3, 0xFF }, { 9, 0x00 }, { 10, 0x5E }, { 11, 0xF1 },
        { 4, 0x77 }, { 8, 0x77 }, { 12, 0x77 } };
    for (const auto& b : bytes)
        r[b[0]] = char(b[1]);
    const THART_Scan_Device d = HART_Scan_Device(As_Record(r));
    EXPECT_EQ(d.Address, "0xAB0C005EF1");
    EXPECT_EQ(d.Preamble, "255");
}

} // namespace
