#include "app/tables/UHART_Thread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "app/core/ULanguage.h"
#include "app/tables/ConverterSimulator.h"
#include "common/TestUtil.h"

namespace {

const QString Init_Text = QStringLiteral("Init Scan - Waiting...");
QString Started(int n)
{
    return QStringLiteral("Devices Search Started - Devices Found %1 - Waiting...").arg(n);
}
QString Found(int n)
{
    return QStringLiteral("Search Finish - Devices Found %1 - Waiting...").arg(n);
}
QString Reading(int n)
{
    return QStringLiteral("Search Finish - Read Information Device %1 - Waiting...").arg(n);
}
const QString Full_Error = QStringLiteral("Devices Search Finished - Error in Devices Search Started");
const QString Status_Error = QStringLiteral("Devices Search Finished - Error in Search Started");
const QString Read_Error = QStringLiteral("Devices Search Finished - Error in Read Device");
const QString Finished = QStringLiteral("Search Finish");
const QString Finished_Errors = QStringLiteral("Search Finish with Errors");

struct TSent {
    long long Tick;
    QString Command;
};

// The scan thread with every command it sends noted with the tick it went
// out on, so spacing is checked in ticks, whatever the machine's speed.
class TTestThread : public THART_Thread {
public:
    using THART_Thread::THART_Thread;
    ~TTestThread() override
    {
        Terminate();
        WaitFor();
    }
    std::vector<TSent> Sent()
    {
        std::lock_guard<std::mutex> guard(FSentLock);
        return FSent;
    }

protected:
    bool Send_Command(const QString& command) override
    {
        {
            std::lock_guard<std::mutex> guard(FSentLock);
            FSent.push_back({ Ticks(), command });
        }
        return THART_Thread::Send_Command(command);
    }

private:
    std::mutex FSentLock;
    std::vector<TSent> FSent;
};

// What the form would see, all on the main thread.
struct TFormSide {
    std::vector<QString> Status;
    std::vector<long long> Status_Tick;
    int Ok = 0;
    int Error = 0;
    bool Done() const { return Ok + Error > 0; }
};

using testutil::PumpUntil;

class HartScan : public ::testing::Test {
protected:
    void SetUp() override { Init_Lang_Default(); }

    std::unique_ptr<TTestThread> Make(quint16 port)
    {
        auto t = std::make_unique<TTestThread>(Loopback_Scan_Params(port));
        TTestThread* raw = t.get();
        t->OnShow_Status = [this, raw](const QString& s) {
            Form.Status.push_back(s);
            Form.Status_Tick.push_back(raw->Ticks());
        };
        t->OnScan_Done_Ok = [this] { ++Form.Ok; };
        t->OnScan_Done_Error = [this] { ++Form.Error; };
        t->Start();
        return t;
    }

    // Runs one scan against the simulator until the form is told its end.
    void Scan(TTestThread& t, const QString& numDevs = QStringLiteral("02"))
    {
        t.HART_Discovery(QStringLiteral("127.0.0.1"), numDevs);
        ASSERT_TRUE(PumpUntil([&] { return Form.Done(); }));
    }

    static QByteArray Bytes(const THART_Device_Record& r)
    {
        return QByteArray(reinterpret_cast<const char*>(r.data()), int(r.size()));
    }

    TFormSide Form;
};

std::vector<QString> Commands(const std::vector<TSent>& sent)
{
    std::vector<QString> out;
    for (const TSent& s : sent)
        out.push_back(s.Command);
    return out;
}

using Strings = std::vector<QString>;

// A converter reply that reaches the scan `Delay` ticks after its command, or,
// when `Held_Until` is set, that many ticks after the scan next sends that
// command: a late answer to an earlier one.
struct TTimed_Reply {
    TTimed_Reply(QByteArray data, int delay = 1, QString heldUntil = {})
        : Data(std::move(data))
        , Delay(delay)
        , Held_Until(std::move(heldUntil))
    {
    }
    QByteArray Data;
    int Delay;
    QString Held_Until;
};
using TTimed_Script = std::function<std::vector<TTimed_Reply>(const QString& command, int nth)>;

// The simulator's script with every reply a tick after its command, except
// the (command, nth) pairs given their own replies (none for silence).
TTimed_Script Timed(
    TConverterSimulator::TScript script, std::map<std::pair<QString, int>, std::vector<TTimed_Reply>> own = {})
{
    return [script, own](const QString& command, int nth) -> std::vector<TTimed_Reply> {
        if (const auto it = own.find({ command, nth }); it != own.end())
            return it->second;
        if (const std::optional<QByteArray> reply = script(command, nth))
            return { { *reply } };
        return {};
    };
}

// The scan stepped by hand, one tick a call, with no worker and no socket:
// every count of ticks is exact however loaded the machine is.
class TStepped_Scan : public THART_Thread {
public:
    explicit TStepped_Scan(TTimed_Script script, const THART_Scan_Params& params = {})
        : THART_Thread(params)
        , FScript(std::move(script))
    {
        OnShow_Status = [this](const QString& s) {
            Form.Status.push_back(s);
            Form.Status_Tick.push_back(Tick);
        };
        OnScan_Done_Ok = [this] { ++Form.Ok; };
        OnScan_Done_Error = [this] { ++Form.Error; };
    }

    // Delivers the replies due, then steps.
    void Step()
    {
        for (auto it = FPending.begin(); it != FPending.end();) {
            if (it->Due >= 0 && it->Due <= Tick) {
                UDP_Read(it->Data, QStringLiteral("127.0.0.1"));
                it = FPending.erase(it);
            } else {
                ++it;
            }
        }
        Scan_Step();
        ++Tick;
    }
    // A whole scan of `numDevs` devices; false when it does not end within
    // `maxTicks`.
    bool Scan(const QString& numDevs = QStringLiteral("01"), long long maxTicks = 1000000)
    {
        Form = {};
        HART_Discovery(QStringLiteral("127.0.0.1"), numDevs);
        while (!Form.Done() && Tick < maxTicks)
            Step();
        return Form.Done();
    }
    Strings Commands() const { return ::Commands(Sent); }

    long long Tick = 0;
    std::vector<TSent> Sent;
    TFormSide Form;

protected:
    bool Send_Command(const QString& command) override
    {
        Sent.push_back({ Tick, command });
        for (TPending& p : FPending)
            if (p.Due < 0 && p.Held_Until == command)
                p.Due = Tick + p.Delay;
        for (TTimed_Reply& r : FScript(command, FSeen[command]++))
            FPending.push_back({ r.Held_Until.isEmpty() ? Tick + r.Delay : -1, r.Delay, r.Held_Until, r.Data });
        return true;
    }

private:
    struct TPending {
        long long Due;
        int Delay;
        QString Held_Until;
        QByteArray Data;
    };
    TTimed_Script FScript;
    std::map<QString, int> FSeen;
    std::vector<TPending> FPending;
};

} // namespace

TEST(HartReply, StatusParsing)
{
    struct Case {
        const char* Reply;
        bool Ok;
        int State;
        int Count;
    } cases[] = {
        { "SEARCH STATUS=0 now 2 ", true, 0, 2 },
        { "SEARCH STATUS=12 found now   7 devices", true, 12, 7 },
        { "SEARCH STATUS= 3now 4 ", true, 3, 4 },
        { "SEARCH STATUS=1 now 2", true, 1, 0 }, // no blank after the count
        { "SEARCH STATUS=1 now x2 ", true, 1, 0 }, // decimal only
        { "SEARCH STATUS=1 now 99999999999 ", true, 1, 0 },
        { "SEARCH STATUS=1 no count here", true, 1, 0 },
        { "SEARCH STATUS=?? now 1 ", true, 0, 1 }, // unreadable state is "finished"
        { "SEARCH STATUS=", true, 0, 0 },
        { "search status=0 now 1 ", false, 0, 0 },
        { "FULL DEVICES SEARCH STARTED", false, 0, 0 },
        { "", false, 0, 0 },
    };
    for (const Case& c : cases) {
        int state = -1;
        int count = -1;
        EXPECT_EQ(HART_Parse_Status(QString::fromLatin1(c.Reply), state, count), c.Ok) << c.Reply;
        EXPECT_EQ(state, c.State) << c.Reply;
        EXPECT_EQ(count, c.Count) << c.Reply;
    }
}

TEST(HartReply, ReadCommandsAndPrefixes)
{
    const struct {
        int Index;
        const char* Command;
        const char* Prefix;
    } cases[] = { { 0, "F_READ00", "DEV 0=" }, { 3, "F_READ03", "DEV 3=" }, { 10, "F_READ10", "DEV10=" },
        { 99, "F_READ99", "DEV99=" } };
    for (const auto& c : cases) {
        EXPECT_EQ(HART_Read_Command(c.Index), QString::fromLatin1(c.Command));
        EXPECT_EQ(HART_Read_Prefix(c.Index), QString::fromLatin1(c.Prefix));
    }
}

TEST(HartReply, VariableCountStaysInsideTheRecord)
{
    THART_Device_Record rec {};
    rec[HART_Rec_Var_Count] = 2;
    EXPECT_EQ(HART_Record_Var_Count(rec), 2);
    rec[HART_Rec_Var_Count] = 0x2C; // 300 variables claimed
    rec[HART_Rec_Var_Count + 1] = 0x01;
    EXPECT_EQ(HART_Record_Var_Count(rec), 293);
    rec.fill(0xFF);
    EXPECT_EQ(HART_Record_Var_Count(rec), 293);
    EXPECT_LE(HART_Rec_Vars + 3 * HART_Record_Var_Count(rec), HART_Record_Size);
}

TEST_F(HartScan, TwoDevicesAreSearchedPolledAndRead)
{
    TConverterSimulator sim(TConverterSimulator::Standard(2, { "SEARCH STATUS=0 now 2 " }));
    auto t = Make(sim.Port());
    Scan(*t);

    EXPECT_EQ(sim.Commands(), QStringList({ "F_FULL_02", "F_TEST", "F_READ00", "F_READ01" }));
    EXPECT_EQ(Form.Status, Strings({ Init_Text, Started(0), Found(2), Reading(0), Reading(1), Finished }));
    EXPECT_EQ(Form.Ok, 1);
    EXPECT_EQ(Form.Error, 0);
    EXPECT_EQ(t->FNum_Devices, 2);
    // Records are the bytes after the prefix, cut at 1000.
    EXPECT_EQ(Bytes(t->devices[0]), TConverterSimulator::Record(0));
    EXPECT_EQ(Bytes(t->devices[1]), TConverterSimulator::Record(1));
    EXPECT_EQ(HART_Record_Var_Count(t->devices[1]), 2);
    // The flag is cleared once the form has been told, in the same tick: wait
    // for that tick to end.
    ASSERT_TRUE(PumpUntil([&] { return t->Ticks() > Form.Status_Tick.back(); }));
    EXPECT_FALSE(t->Finish_succes());
    EXPECT_EQ(t->Step_Scan(), THART_Thread::Step_Idle);

    // The first status poll waits out the delay after the tick that took the
    // confirmation, then goes out on the next one.
    const auto sent = t->Sent();
    ASSERT_EQ(sent.size(), 4u);
    ASSERT_EQ(Form.Status_Tick.size(), Form.Status.size());
    EXPECT_EQ(sent[1].Tick - Form.Status_Tick[1], 5 + 1);
}

TEST_F(HartScan, SilentConverterIsAskedThreeTimesThenTheScanFails)
{
    TConverterSimulator sim([](const QString&, int) { return std::nullopt; });
    auto t = Make(sim.Port());
    Scan(*t, QStringLiteral("64"));

    const auto sent = t->Sent();
    EXPECT_EQ(Commands(sent), Strings({ "F_FULL_64", "F_FULL_64", "F_FULL_64" }));
    ASSERT_EQ(sent.size(), 3u);
    // Missing on the 101st tick, sent again on the next one.
    EXPECT_EQ(sent[1].Tick - sent[0].Tick, 102);
    EXPECT_EQ(sent[2].Tick - sent[1].Tick, 102);
    EXPECT_EQ(Form.Status, Strings({ Init_Text, Full_Error, Finished_Errors }));
    ASSERT_EQ(Form.Status_Tick.size(), 3u);
    EXPECT_EQ(Form.Status_Tick[1], sent[2].Tick + 101);
    EXPECT_EQ(Form.Status_Tick[2], Form.Status_Tick[1] + 1);
    EXPECT_EQ(Form.Error, 1);
    EXPECT_EQ(Form.Ok, 0);
}

// A reply missing after the search started repeats that phase's own command,
// not the search start, and ends with that phase's text.
TEST_F(HartScan, SilentPhaseRepeatsItsOwnCommand)
{
    struct Case {
        const char* Name;
        QString Silent; // the command the converter never answers
        Strings Commands;
        QString Error;
    } cases[] = {
        { "status poll", "F_TEST", { "F_FULL_01", "F_TEST", "F_TEST", "F_TEST" }, Status_Error },
        { "device read", "F_READ00", { "F_FULL_01", "F_TEST", "F_READ00", "F_READ00", "F_READ00" }, Read_Error },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Form = {};
        auto standard = TConverterSimulator::Standard(1, { "SEARCH STATUS=0 now 1 " });
        const QString silent = c.Silent;
        TConverterSimulator sim([standard, silent](const QString& cmd, int nth) -> std::optional<QByteArray> {
            if (cmd == silent)
                return std::nullopt;
            return standard(cmd, nth);
        });
        auto t = Make(sim.Port());
        Scan(*t, QStringLiteral("01"));

        const auto sent = t->Sent();
        EXPECT_EQ(Commands(sent), c.Commands);
        ASSERT_EQ(sent.size(), c.Commands.size());
        for (size_t i = sent.size() - 2; i < sent.size(); ++i)
            EXPECT_EQ(sent[i].Tick - sent[i - 1].Tick, 102);
        ASSERT_GE(Form.Status.size(), 2u);
        EXPECT_EQ(Form.Status[Form.Status.size() - 2], c.Error);
        EXPECT_EQ(Form.Status.back(), Finished_Errors);
        EXPECT_EQ(Form.Error, 1);
        EXPECT_EQ(Form.Ok, 0);
    }
}

TEST_F(HartScan, RunningSearchIsPolledUntilFinished)
{
    TConverterSimulator sim(TConverterSimulator::Standard(
        2, { "SEARCH STATUS=1 now 1 ", "SEARCH STATUS=1 now 2 ", "SEARCH STATUS=0 now 2 " }));
    auto t = Make(sim.Port());
    Scan(*t);

    EXPECT_EQ(sim.Commands(), QStringList({ "F_FULL_02", "F_TEST", "F_TEST", "F_TEST", "F_READ00", "F_READ01" }));
    EXPECT_EQ(Form.Status,
        Strings({ Init_Text, Started(0), Started(1), Started(2), Found(2), Reading(0), Reading(1), Finished }));
    EXPECT_EQ(Form.Ok, 1);
    // Each poll follows the confirmation or the last "running" reply by the
    // delay exactly: the status shown is the tick that took that reply.
    const auto sent = t->Sent();
    ASSERT_EQ(sent.size(), 6u);
    ASSERT_EQ(Form.Status_Tick.size(), Form.Status.size());
    for (size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(sent[i].Tick - Form.Status_Tick[i], 5 + 1) << i;
}

TEST_F(HartScan, BadStatusReplyStartsANewSearchButNotForEver)
{
    struct Case {
        const char* Name;
        QStringList Statuses;
        Strings Commands;
        QString LastStatus;
        bool Ok;
    } cases[] = {
        { "once", { "BUSY", "SEARCH STATUS=0 now 1 " }, { "F_FULL_02", "F_TEST", "F_FULL_02", "F_TEST", "F_READ00" },
            Finished, true },
        // A converter that keeps answering the poll wrongly ends the scan
        // after the attempt limit.
        { "always", { "BUSY" }, { "F_FULL_02", "F_TEST", "F_FULL_02", "F_TEST", "F_FULL_02", "F_TEST" },
            Finished_Errors, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Form = {};
        TConverterSimulator sim(TConverterSimulator::Standard(1, c.Statuses));
        auto t = Make(sim.Port());
        Scan(*t);
        EXPECT_EQ(Commands(t->Sent()), c.Commands);
        ASSERT_FALSE(Form.Status.empty());
        EXPECT_EQ(Form.Status.back(), c.LastStatus);
        EXPECT_EQ(Form.Ok, c.Ok ? 1 : 0);
        if (!c.Ok) {
            ASSERT_GE(Form.Status.size(), 2u);
            EXPECT_EQ(Form.Status[Form.Status.size() - 2], Status_Error);
        }
    }
}

TEST_F(HartScan, ElevenDevicesUseOneAndTwoDigitIndexes)
{
    TConverterSimulator sim(TConverterSimulator::Standard(11, { "SEARCH STATUS=0 now 11 " }));
    auto t = Make(sim.Port());
    Scan(*t, QStringLiteral("11"));

    const QStringList cmds = sim.Commands();
    ASSERT_EQ(cmds.size(), 13);
    EXPECT_EQ(cmds[2 + 3], "F_READ03");
    EXPECT_EQ(cmds[2 + 10], "F_READ10");
    EXPECT_EQ(Form.Ok, 1);
    EXPECT_EQ(t->FNum_Devices, 11);
    EXPECT_EQ(Bytes(t->devices[3]), TConverterSimulator::Record(3));
    EXPECT_EQ(Bytes(t->devices[10]), TConverterSimulator::Record(10));
}

TEST_F(HartScan, DeviceCountIsBoundedByTheRecordTable)
{
    TConverterSimulator sim(TConverterSimulator::Standard(150, { "SEARCH STATUS=0 now 150 " }));
    auto t = Make(sim.Port());
    Scan(*t, QStringLiteral("64"));

    const QStringList cmds = sim.Commands();
    EXPECT_EQ(cmds.size(), 2 + HART_Max_Devices);
    EXPECT_EQ(cmds.back(), "F_READ99");
    EXPECT_EQ(Form.Ok, 1);
    EXPECT_EQ(t->FNum_Devices, HART_Max_Devices);
    EXPECT_EQ(Bytes(t->devices[99]), TConverterSimulator::Record(99));
}

// Wrong prefixes cost attempts that all devices of a scan share.
TEST_F(HartScan, WrongDevicePrefixCostsOneSharedAttempt)
{
    struct Case {
        std::vector<int> Failing; // devices whose first read gets a wrong prefix
        Strings Commands;
        bool Ok;
    } cases[] = {
        { { 1 }, { "F_READ00", "F_READ01", "F_READ01", "F_READ02" }, true },
        { { 0, 1, 2 }, { "F_READ00", "F_READ00", "F_READ01", "F_READ01", "F_READ02" }, false },
    };
    for (const Case& c : cases) {
        Form = {};
        auto standard = TConverterSimulator::Standard(3, { "SEARCH STATUS=0 now 3 " });
        const std::vector<int> failing = c.Failing;
        TConverterSimulator sim([standard, failing](const QString& cmd, int nth) -> std::optional<QByteArray> {
            for (int d : failing)
                if (nth == 0 && cmd == HART_Read_Command(d))
                    return "DEV99=" + TConverterSimulator::Record(d);
            return standard(cmd, nth);
        });
        auto t = Make(sim.Port());
        Scan(*t, QStringLiteral("03"));

        Strings reads = Commands(t->Sent());
        reads.erase(reads.begin(), reads.begin() + 2);
        EXPECT_EQ(reads, c.Commands);
        EXPECT_EQ(Form.Ok, c.Ok ? 1 : 0);
        if (!c.Ok) {
            ASSERT_GE(Form.Status.size(), 2u);
            EXPECT_EQ(Form.Status[Form.Status.size() - 2], Read_Error);
            EXPECT_EQ(Form.Status.back(), Finished_Errors);
        }
    }
}

TEST_F(HartScan, SixByteReplyGivesAnEmptyRecord)
{
    auto standard = TConverterSimulator::Standard(2, { "SEARCH STATUS=0 now 2 " });
    TConverterSimulator sim([standard](const QString& cmd, int nth) -> std::optional<QByteArray> {
        if (cmd == "F_READ01")
            return QByteArray("DEV 1=");
        return standard(cmd, nth);
    });
    auto t = Make(sim.Port());
    Scan(*t);

    EXPECT_EQ(Form.Ok, 1);
    EXPECT_EQ(Bytes(t->devices[0]), TConverterSimulator::Record(0));
    // Nothing of the previous device's reply is left behind.
    EXPECT_EQ(Bytes(t->devices[1]), QByteArray(HART_Record_Size, '\0'));
    EXPECT_EQ(HART_Record_Var_Count(t->devices[1]), 0);
}

TEST_F(HartScan, CountWithoutTrailingBlankReadsAsNoDevices)
{
    TConverterSimulator sim(TConverterSimulator::Standard(2, { "SEARCH STATUS=0 now 2" }));
    auto t = Make(sim.Port());
    Scan(*t);

    // No devices still reads device 0 once; its answer completes the scan.
    EXPECT_EQ(sim.Commands(), QStringList({ "F_FULL_02", "F_TEST", "F_READ00" }));
    EXPECT_EQ(Form.Status, Strings({ Init_Text, Started(0), Found(0), Reading(0), Finished }));
    EXPECT_EQ(Form.Ok, 1);
    EXPECT_EQ(t->FNum_Devices, 0);
}

TEST_F(HartScan, DatagramFromAnotherAddressIsNoReply)
{
    TUdpEndpoint stranger;
    stranger.SetBindAddress(QStringLiteral("127.0.0.2"));
    ASSERT_TRUE(stranger.Start());
    TTestThread* scanner = nullptr;
    auto standard = TConverterSimulator::Standard(1, { "SEARCH STATUS=0 now 1 " });
    // The first poll is answered only by the stranger; the converter answers
    // the repeated poll.
    TConverterSimulator sim([&, standard](const QString& cmd, int nth) -> std::optional<QByteArray> {
        if (cmd == "F_TEST" && nth == 0) {
            stranger.Send(QStringLiteral("127.0.0.1"), scanner->Local_Port(), "SEARCH STATUS=0 now 7 ");
            return std::nullopt;
        }
        return standard(cmd, nth);
    });
    auto t = Make(sim.Port());
    scanner = t.get();
    ASSERT_TRUE(PumpUntil([&] { return t->Local_Port() != 0; }));
    Scan(*t, QStringLiteral("01"));

    EXPECT_EQ(sim.Commands(), QStringList({ "F_FULL_01", "F_TEST", "F_TEST", "F_READ00" }));
    EXPECT_EQ(t->FNum_Devices, 1);
    EXPECT_EQ(Form.Ok, 1);
    stranger.Stop();
}

TEST_F(HartScan, FailedSendEndsTheScanAndAnotherCanFollow)
{
    TConverterSimulator sim(TConverterSimulator::Standard(1, { "SEARCH STATUS=0 now 1 " }));
    auto t = Make(sim.Port());
    // Not a dotted address: nothing is looked up and nothing goes out.
    t->HART_Discovery(QStringLiteral("converter.invalid"), QStringLiteral("01"));
    ASSERT_TRUE(PumpUntil([&] { return Form.Done(); }));
    EXPECT_EQ(Form.Status, Strings({ Init_Text, Finished_Errors }));
    EXPECT_EQ(Form.Error, 1);
    EXPECT_TRUE(sim.Commands().isEmpty());

    // Leading zeros are still the converter's address, for sending and for
    // knowing its replies.
    Form = {};
    t->HART_Discovery(QStringLiteral("127.000.0.001"), QStringLiteral("01"));
    ASSERT_TRUE(PumpUntil([&] { return Form.Done(); }));
    EXPECT_EQ(Form.Ok, 1);
    EXPECT_EQ(sim.Commands(), QStringList({ "F_FULL_01", "F_TEST", "F_READ00" }));
}

TEST_F(HartScan, ClosingWhileTheWorkerWaitsForTheMainThread)
{
    TConverterSimulator sim(TConverterSimulator::Standard(1, { "SEARCH STATUS=0 now 1 " }));
    auto t = Make(sim.Port());
    t->HART_Discovery(QStringLiteral("127.0.0.1"), QStringLiteral("01"));
    // The confirmation makes the worker wait for the main thread, which is
    // not running its events: the close must still end the worker.
    // The state changes just before that call, and stays while it waits.
    QDeadlineTimer deadline(30000);
    while (t->Step_Scan() != THART_Thread::Step_Delay_Test && !deadline.hasExpired())
        QThread::msleep(1);
    ASSERT_EQ(t->Step_Scan(), THART_Thread::Step_Delay_Test);
    const long long waitingAt = t->Ticks();
    QThread::msleep(20);
    EXPECT_EQ(t->Ticks(), waitingAt); // the worker is held, not ticking
    t.reset();
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Form.Status, Strings({ Init_Text })); // the withdrawn call never ran
}

TEST_F(HartScan, FreedFromInsideItsOwnMainThreadCall)
{
    TConverterSimulator sim(TConverterSimulator::Standard(1, { "SEARCH STATUS=0 now 1 " }));
    auto t = Make(sim.Port());
    t->OnShow_Status = [&](const QString& s) {
        Form.Status.push_back(s);
        if (s == Started(0))
            t.reset(); // the form closes while showing a status
    };
    t->HART_Discovery(QStringLiteral("127.0.0.1"), QStringLiteral("01"));
    ASSERT_TRUE(PumpUntil([&] { return t == nullptr; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Form.Status, Strings({ Init_Text, Started(0) }));
    EXPECT_FALSE(Form.Done());
}

TEST(HartScanSteps, StatusPollsFollowTheirDelayExactly)
{
    Init_Lang_Default();
    TStepped_Scan t(Timed(TConverterSimulator::Standard(
        1, { "SEARCH STATUS=1 now 0 ", "SEARCH STATUS=2 now 1 ", "SEARCH STATUS=0 now 1 " })));
    ASSERT_TRUE(t.Scan());
    EXPECT_EQ(t.Commands(), Strings({ "F_FULL_01", "F_TEST", "F_TEST", "F_TEST", "F_READ00" }));
    EXPECT_EQ(
        t.Form.Status, Strings({ Init_Text, Started(0), Started(0), Started(1), Found(1), Reading(0), Finished }));
    // The tick that takes the confirmation or a "running" reply, a hundred
    // ticks of waiting, then the tick that sends the poll.
    for (size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(t.Sent[i].Tick - t.Form.Status_Tick[i], 100 + 1) << i;
}

TEST(HartScanSteps, WrongReplyToTheSearchStartIsNoConfirmation)
{
    Init_Lang_Default();
    for (const char* wrong : { "", "FULL DEVICES SEARCH STARTED ", "FULL DEVICES SEARCH", "full devices search started",
             "FULL DEVICES SEARCH STOPPED", "BUSY" }) {
        SCOPED_TRACE(wrong);
        const auto standard = TConverterSimulator::Standard(1, { "SEARCH STATUS=0 now 1 " });
        TStepped_Scan t(Timed(standard, { { { "F_FULL_01", 0 }, { { QByteArray(wrong) } } } }));
        ASSERT_TRUE(t.Scan());
        EXPECT_EQ(t.Commands(), Strings({ "F_FULL_01", "F_FULL_01", "F_TEST", "F_READ00" }));
        // The wrong reply is refused on the tick it arrives, not left to time out.
        EXPECT_EQ(t.Sent[1].Tick - t.Sent[0].Tick, 2);
        EXPECT_EQ(t.Form.Ok, 1);
    }
}

// The three attempts start afresh when the search start is confirmed and
// when the search is reported finished: two failures in each phase of one
// scan still end in success.
TEST(HartScanSteps, AttemptsStartAfreshEachPhase)
{
    Init_Lang_Default();
    const QByteArray Bad_Read = "DEV99=" + TConverterSimulator::Record(0);
    struct Case {
        const char* Name;
        std::map<std::pair<QString, int>, std::vector<TTimed_Reply>> Own;
        Strings Commands;
        int Attempts; // left at the end
    } cases[] = {
        { "search start confirmed",
            { { { "F_FULL_01", 0 }, { { "BUSY" } } }, { { "F_TEST", 0 }, {} }, { { "F_TEST", 1 }, {} } },
            { "F_FULL_01", "F_FULL_01", "F_TEST", "F_TEST", "F_TEST", "F_READ00" }, 0 },
        { "search finished",
            { { { "F_TEST", 0 }, {} }, { { "F_TEST", 1 }, {} }, { { "F_READ00", 0 }, { { Bad_Read } } },
                { { "F_READ00", 1 }, {} } },
            { "F_FULL_01", "F_TEST", "F_TEST", "F_TEST", "F_READ00", "F_READ00", "F_READ00" }, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TStepped_Scan t(Timed(TConverterSimulator::Standard(1, { "SEARCH STATUS=0 now 1 " }), c.Own));
        ASSERT_TRUE(t.Scan());
        EXPECT_EQ(t.Commands(), c.Commands);
        EXPECT_EQ(t.Form.Ok, 1);
        EXPECT_EQ(t.Form.Status.back(), Finished);
        EXPECT_EQ(t.UDP_Retried_CMD(), c.Attempts);
    }
}

// Only a state that waits for a reply takes a datagram; in any other one a
// datagram, however well formed, leaves no reply behind.
TEST(HartScanSteps, DatagramsOutsideTheWaitingStatesAreDropped)
{
    Init_Lang_Default();
    TStepped_Scan t(Timed(TConverterSimulator::Standard(1, { "SEARCH STATUS=1 now 0 ", "SEARCH STATUS=0 now 1 " })));
    const QByteArray strays[]
        = { "FULL DEVICES SEARCH STARTED", "SEARCH STATUS=0 now 1 ", TConverterSimulator::Read_Reply(0), "BUSY" };
    std::set<int> visited;
    auto stray = [&] {
        const int step = t.Step_Scan();
        if (step == THART_Thread::Step_Wait_Full || step == THART_Thread::Step_Wait_Test
            || step == THART_Thread::Step_Wait_Read)
            return;
        visited.insert(step);
        for (const QByteArray& d : strays) {
            t.UDP_Read(d, QStringLiteral("127.0.0.1"));
            EXPECT_FALSE(t.Res_UDP_CMD()) << "state " << step << ": " << d.left(30).constData();
        }
    };
    t.HART_Discovery(QStringLiteral("127.0.0.1"), QStringLiteral("01"));
    while (!t.Form.Done() && t.Tick < 100000) {
        stray();
        t.Step();
    }
    stray();
    EXPECT_EQ(t.Form.Ok, 1);
    EXPECT_EQ(t.Commands(), Strings({ "F_FULL_01", "F_TEST", "F_TEST", "F_READ00" }));
    EXPECT_EQ(visited, std::set<int>({ 0, 1, 2, 4, 5, 8, 101 }));
}

// A late answer to a command already answered, or sent again, is no reply to
// the command now waited for and costs it nothing.
TEST(HartScanSteps, LateAnswersToEarlierCommandsAreIgnored)
{
    Init_Lang_Default();
    const auto held = [](const QByteArray& data, const char* until, int delay = 1) {
        return std::vector<TTimed_Reply> { { data, delay, until } };
    };
    const auto late = [](const QByteArray& data, int delay) { return std::vector<TTimed_Reply> { { data, delay } }; };
    struct Case {
        const char* Name;
        std::map<std::pair<QString, int>, std::vector<TTimed_Reply>> Own;
        Strings Commands;
        int Attempts;
        // Ticks between the last two commands, 0 for no check.
        long long Last_Gap = 0;
    } cases[] = {
        // The first search start is answered only once the poll has gone out.
        { "confirmation while polling",
            { { { "F_FULL_02", 0 }, held("FULL DEVICES SEARCH STARTED", "F_TEST") },
                { { "F_TEST", 0 }, late("SEARCH STATUS=0 now 1 ", 5) } },
            { "F_FULL_02", "F_FULL_02", "F_TEST", "F_READ00" }, 0 },
        // A poll answered late, after the new search start that a bad answer
        // to the repeated poll asked for.
        { "status while starting again",
            { { { "F_TEST", 0 }, held("SEARCH STATUS=1 now 0 ", "F_FULL_02") }, { { "F_TEST", 1 }, late("BUSY", 1) },
                { { "F_FULL_02", 1 }, late("FULL DEVICES SEARCH STARTED", 5) } },
            { "F_FULL_02", "F_TEST", "F_TEST", "F_FULL_02", "F_TEST", "F_READ00" }, 0 },
        { "status while reading",
            { { { "F_TEST", 0 }, held("SEARCH STATUS=0 now 1 ", "F_READ00") },
                { { "F_READ00", 0 }, late(TConverterSimulator::Read_Reply(0), 5) } },
            { "F_FULL_02", "F_TEST", "F_TEST", "F_READ00" }, 0 },
        // Device 0 answers its first read after the time-out, while device 1
        // is being read.
        { "earlier device while reading the next",
            { { { "F_TEST", 0 }, late("SEARCH STATUS=0 now 2 ", 1) },
                { { "F_READ00", 0 }, held(TConverterSimulator::Read_Reply(0), "F_READ01") },
                { { "F_READ01", 0 }, late(TConverterSimulator::Read_Reply(1), 5) } },
            { "F_FULL_02", "F_TEST", "F_READ00", "F_READ00", "F_READ01" }, 1 },
        // Nor does it put off the time-out of a read that goes unanswered:
        // missing on the 101st tick, sent again on the next.
        { "earlier device while the next goes unanswered",
            { { { "F_TEST", 0 }, late("SEARCH STATUS=0 now 2 ", 1) },
                { { "F_READ00", 0 }, held(TConverterSimulator::Read_Reply(0), "F_READ01", 50) },
                { { "F_READ01", 0 }, {} } },
            { "F_FULL_02", "F_TEST", "F_READ00", "F_READ00", "F_READ01", "F_READ01" }, 2, 102 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TStepped_Scan t(Timed(TConverterSimulator::Standard(2, { "SEARCH STATUS=0 now 1 " }), c.Own));
        ASSERT_TRUE(t.Scan(QStringLiteral("02")));
        EXPECT_EQ(t.Commands(), c.Commands);
        EXPECT_EQ(t.Form.Ok, 1);
        EXPECT_EQ(t.UDP_Retried_CMD(), c.Attempts);
        if (c.Last_Gap > 0 && t.Sent.size() >= 2) {
            EXPECT_EQ(t.Sent.back().Tick - t.Sent[t.Sent.size() - 2].Tick, c.Last_Gap);
        }
    }
}

// However long the converter reports its search running, the scan ends on the
// tick after its limit as a failed one, with the text of the phase it was in;
// a scan that ends within the limit is untouched by it.
TEST(HartScanSteps, ScanEndsAtItsOverallLimit)
{
    Init_Lang_Default();
    const auto running = TConverterSimulator::Standard(1, { "SEARCH STATUS=1 now 3 " });
    const auto quick = TConverterSimulator::Standard(1, { "SEARCH STATUS=0 now 1 " });
    const TConverterSimulator::TScript silent = [](const QString&, int) { return std::nullopt; };
    struct Case {
        const char* Name;
        int Limit; // 0: the default
        TConverterSimulator::TScript Script;
        long long Given_Up; // the tick that gives up, -1 for none
        QString Phase_Error;
    } cases[] = {
        // Ten minutes of 10 ms ticks.
        { "running for ever", 0, running, 60000, Status_Error },
        { "still starting", 50, silent, 50, Full_Error },
        // One device takes 107 ticks: search start sent and confirmed, a
        // hundred ticks of delay, poll sent and answered, read sent and answered.
        { "reading on the last tick", 106, quick, 106, Read_Error },
        { "done on the last tick", 107, quick, -1, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        THART_Scan_Params params;
        if (c.Limit > 0)
            params.Scan_Limit_Ticks = c.Limit;
        TStepped_Scan t(Timed(c.Script), params);
        ASSERT_TRUE(t.Scan());
        if (c.Given_Up < 0) {
            EXPECT_EQ(t.Form.Ok, 1);
            EXPECT_EQ(t.Form.Status.back(), Finished);
            continue;
        }
        EXPECT_EQ(t.Form.Error, 1);
        EXPECT_EQ(t.Form.Ok, 0);
        const size_t n = t.Form.Status.size();
        ASSERT_GE(n, 3u);
        EXPECT_EQ(t.Form.Status[n - 2], c.Phase_Error);
        EXPECT_EQ(t.Form.Status.back(), Finished_Errors);
        EXPECT_EQ(t.Form.Status_Tick[n - 2], c.Given_Up);
        EXPECT_EQ(t.Form.Status_Tick[n - 1], c.Given_Up + 1);
        // Nothing goes out once the scan is given up.
        EXPECT_LT(t.Sent.back().Tick, c.Given_Up);
    }
}
