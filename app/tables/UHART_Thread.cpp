#include "app/tables/UHART_Thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstring>

#include "app/core/ULanguage.h"
#include "platform/controls/Controls.h"
#include "platform/net/UdpEndpoint.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

namespace {

const QString Full_Started = QStringLiteral("FULL DEVICES SEARCH STARTED");
const QString Status_Prefix = QStringLiteral("SEARCH STATUS=");
constexpr int Read_Prefix_Size = 6;

bool Is_Digit(char c)
{
    return c >= '0' && c <= '9';
}

// The device index of a device reply's prefix ("DEV 3=", "DEV10="), -1 when
// the datagram does not start with one.
int Device_Prefix_Index(const QByteArray& data)
{
    if (data.size() < Read_Prefix_Size || !data.startsWith("DEV") || data[5] != '=' || !Is_Digit(data[4]))
        return -1;
    if (data[3] == ' ')
        return data[4] - '0';
    return Is_Digit(data[3]) ? (data[3] - '0') * 10 + (data[4] - '0') : -1;
}

// A language text with its "%d" filled; a translated text whose pattern does
// not take one number is shown as it stands rather than stopping the scan.
QString Lang_Num(int index, int n)
{
    const QString pattern = Lang(index);
    try {
        return Format(pattern, { n });
    } catch (const Exception&) {
        return pattern;
    }
}

// Whether a datagram answers a command sent before the one `step` waits for:
// a late copy of an answer already taken, or the answer to a command that
// was sent again. It is no reply to the command now waited for, and must not
// cost that command an attempt.
bool Answers_Earlier_Command(int step, int readIndex, const QByteArray& data)
{
    const bool confirmation = data == Full_Started.toLatin1();
    const bool status = data.startsWith(Status_Prefix.toLatin1());
    const int device = Device_Prefix_Index(data);
    switch (step) {
    case THART_Thread::Step_Wait_Full:
        return status || device >= 0;
    case THART_Thread::Step_Wait_Test:
        return confirmation || device >= 0;
    case THART_Thread::Step_Wait_Read:
        return confirmation || status || (device >= 0 && device < readIndex);
    default:
        return false;
    }
}

bool All_Digits(const QString& s)
{
    if (s.isEmpty())
        return false;
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A dotted IPv4 address in its plain form ("192.168.002.107" is
// "192.168.2.107"); empty for anything else, names included.
QString Dotted_IPv4(const QString& text)
{
    const QStringList parts = Trim(text).split(u'.');
    if (parts.size() != 4)
        return {};
    QStringList out;
    for (const QString& p : parts) {
        if (p.size() > 3 || !All_Digits(p) || p.toInt() > 255)
            return {};
        out << QString::number(p.toInt());
    }
    return out.join(u'.');
}

// What one tick decided, carried out after the scan state is released so that
// neither a send nor a main-thread call holds up the listener.
struct TStep_Actions {
    QString Send;
    QStringList Status;
    enum { None, Ok, Error } Done = None;
};

} // namespace

int HART_Record_Var_Count(const THART_Device_Record& rec)
{
    const std::uint32_t n = std::uint32_t(rec[HART_Rec_Var_Count]) | std::uint32_t(rec[HART_Rec_Var_Count + 1]) << 8
        | std::uint32_t(rec[HART_Rec_Var_Count + 2]) << 16 | std::uint32_t(rec[HART_Rec_Var_Count + 3]) << 24;
    return int(std::min<std::uint32_t>(n, HART_Max_Record_Vars));
}

bool HART_Parse_Status(const QString& reply, int& state, int& count)
{
    state = 0;
    count = 0;
    if (!reply.startsWith(Status_Prefix))
        return false;
    int v = 0;
    if (TryStrToInt(Trim(reply.mid(Status_Prefix.size(), 2)), v))
        state = v;
    const int now = reply.indexOf(QStringLiteral("now"));
    if (now >= 0) {
        const QString rest = TrimLeft(reply.mid(now + 3));
        const int blank = rest.indexOf(u' ');
        const QString digits = blank > 0 ? rest.left(blank) : QString();
        if (All_Digits(digits) && TryStrToInt(digits, v))
            count = v;
    }
    return true;
}

QString HART_Read_Command(int index)
{
    return QStringLiteral("F_READ") + QString::number(index).rightJustified(2, u'0');
}

QString HART_Read_Prefix(int index)
{
    return QStringLiteral("DEV") + QString::number(index).rightJustified(2, u' ') + u'=';
}

THART_Thread::THART_Thread(const THART_Scan_Params& params)
    : FParams(params)
{
}

THART_Thread::~THART_Thread()
{
    Terminate();
    WaitFor();
}

void THART_Thread::Start()
{
    if (FWorker.joinable())
        return;
    FExit = false;
    FInScan = false;
    FWorker = std::thread([this] { Execute(); });
}

void THART_Thread::Terminate()
{
    {
        std::lock_guard<std::mutex> guard(FLock);
        FExit = true;
    }
    FExitSignal.notify_all();
}

void THART_Thread::WaitFor()
{
    if (FWorker.joinable() && FWorker.get_id() != std::this_thread::get_id())
        FWorker.join();
}

QString THART_Thread::Str_Return() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FStr_Return;
}

int THART_Thread::Step_Scan() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FStep_Scan;
}

int THART_Thread::UDP_Retried_CMD() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FUDP_Retried_CMD;
}

bool THART_Thread::Finish_succes() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FFinish_succes;
}

bool THART_Thread::Res_UDP_CMD() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FRes_UDP_CMD;
}

quint16 THART_Thread::Local_Port() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return UDPs ? UDPs->LocalPort() : 0;
}

void THART_Thread::HART_Discovery(const QString& address, const QString& numDevs)
{
    {
        std::lock_guard<std::mutex> guard(FLock);
        FDis_IP_Address = address;
        // Only a literal IPv4 address is taken: the scan never looks a name up.
        FDis_Address = Dotted_IPv4(address);
        FNumDevs = numDevs;
        FNum_Devices = 0;
        FUDP_Retried_CMD = 0;
        FSearch_Restarted = false;
        FFinish_succes = false;
        FRes_UDP_CMD = false;
        Scan_Ticks = 0;
        FStep_Scan = Step_Start;
        FInScan = true;
    }
    Set_Status(Lang(1624));
    Show_Status();
}

void THART_Thread::Execute()
{
    auto endpoint = std::make_unique<TUdpEndpoint>();
    endpoint->SetBindAddress(FParams.Bind_Address);
    endpoint->OnRead = [this](const QByteArray& data, const QString& peer, quint16) { UDP_Read(data, peer); };
    // A port that cannot be opened shows up as a failed first send.
    endpoint->Start();
    {
        std::lock_guard<std::mutex> guard(FLock);
        UDPs = std::move(endpoint);
    }
    while (!FExit) {
        if (FInScan)
            Scan_Step();
        ++FTicks;
        std::unique_lock<std::mutex> lock(FLock);
        FExitSignal.wait_for(lock, std::chrono::milliseconds(FParams.Tick_Ms), [this] { return bool(FExit); });
    }
    std::unique_ptr<TUdpEndpoint> closing;
    {
        std::lock_guard<std::mutex> guard(FLock);
        closing = std::move(UDPs);
    }
    if (closing)
        closing->Stop();
}

void THART_Thread::UDP_Read(const QByteArray& data, const QString& peerAddress)
{
    std::lock_guard<std::mutex> guard(FLock);
    if (FStep_Scan != Step_Wait_Full && FStep_Scan != Step_Wait_Test && FStep_Scan != Step_Wait_Read)
        return;
    // Only the converter answers; anything else on the port is not a reply.
    if (FDis_Address.isEmpty() || peerAddress != FDis_Address)
        return;
    if (Answers_Earlier_Command(FStep_Scan, Index_Device_Read, data))
        return;
    Count_UDP_CMD_Timeout = 0;
    if (FStep_Scan == Step_Wait_Read) {
        UDP_str = QString::fromLatin1(data.left(Read_Prefix_Size));
        UDP_Arr.fill(0);
        if (data.size() > Read_Prefix_Size) {
            const qsizetype n = std::min<qsizetype>(data.size() - Read_Prefix_Size, HART_Record_Size);
            std::memcpy(UDP_Arr.data(), data.constData() + Read_Prefix_Size, size_t(n));
        }
    } else {
        UDP_str = QString::fromLatin1(data);
    }
    FRes_UDP_CMD = true;
}

void THART_Thread::Count_Attempt(int retryStep, int textIndex)
{
    // Called with FLock held; the text is shown by the caller's tick.
    ++FUDP_Retried_CMD;
    if (FUDP_Retried_CMD < FParams.Max_Attempts)
        FStep_Scan = retryStep;
    else
        Give_Up(textIndex);
}

void THART_Thread::Give_Up(int textIndex)
{
    // Called with FLock held: the phase's text now, the scan's end next tick.
    FStep_Scan = Step_Finish;
    FStr_Return = Lang(textIndex);
}

void THART_Thread::Scan_Step()
{
    if (FExit)
        return;
    TStep_Actions act;
    {
        std::lock_guard<std::mutex> guard(FLock);
        auto attempt = [&](int retryStep, int textIndex) {
            Count_Attempt(retryStep, textIndex);
            if (FStep_Scan == Step_Finish)
                act.Status << FStr_Return;
        };
        auto timedOut = [&] { return ++Count_UDP_CMD_Timeout > FParams.Reply_Timeout_Ticks; };
        const bool scanning = FStep_Scan != Step_Idle && FStep_Scan != Step_Finish;
        if (scanning && ++Scan_Ticks > FParams.Scan_Limit_Ticks) {
            // A converter that reports its search running for ever would keep
            // the form waiting for ever: the scan ends as a failed one.
            Give_Up(FStep_Scan >= Step_Send_Read ? 1639 : FStep_Scan >= Step_Delay_Test ? 1637 : 1626);
            act.Status << FStr_Return;
        } else {
            switch (FStep_Scan) {
            case Step_Start:
                FStep_Scan = Step_Send_Full;
                break;
            case Step_Send_Full:
                FStep_Scan = Step_Wait_Full;
                Count_UDP_CMD_Timeout = 0;
                FRes_UDP_CMD = false;
                FFinish_succes = false;
                act.Send = QStringLiteral("F_FULL_") + FNumDevs;
                break;
            case Step_Wait_Full:
                if (FRes_UDP_CMD) {
                    FRes_UDP_CMD = false;
                    if (UDP_str == Full_Started) {
                        FStep_Scan = Step_Delay_Test;
                        if (!FSearch_Restarted)
                            FUDP_Retried_CMD = 0;
                        Delay_Wait_Finish = 0;
                        act.Status << Lang_Num(1625, 0);
                    } else {
                        attempt(Step_Send_Full, 1626);
                    }
                } else if (timedOut()) {
                    attempt(Step_Send_Full, 1626);
                }
                break;
            case Step_Delay_Test:
                if (++Delay_Wait_Finish >= FParams.Status_Delay_Ticks) {
                    Delay_Wait_Finish = 0;
                    FStep_Scan = Step_Send_Test;
                }
                break;
            case Step_Send_Test:
                FStep_Scan = Step_Wait_Test;
                Count_UDP_CMD_Timeout = 0;
                FRes_UDP_CMD = false;
                act.Send = QStringLiteral("F_TEST");
                break;
            case Step_Wait_Test:
                if (FRes_UDP_CMD) {
                    FRes_UDP_CMD = false;
                    int state = 0;
                    int count = 0;
                    if (!HART_Parse_Status(UDP_str, state, count)) {
                        FSearch_Restarted = true;
                        attempt(Step_Send_Full, 1637);
                    } else if (state != 0) {
                        Delay_Wait_Finish = 0;
                        FStep_Scan = Step_Delay_Test;
                        act.Status << Lang_Num(1636, count);
                    } else {
                        // The record table holds at most HART_Max_Devices.
                        FNum_Devices = std::clamp(count, 0, HART_Max_Devices);
                        Index_Device_Read = 0;
                        Delay_Wait_Finish = 0;
                        FUDP_Retried_CMD = 0;
                        FSearch_Restarted = false;
                        FStep_Scan = Step_Send_Read;
                        act.Status << Lang_Num(1627, count);
                    }
                } else if (timedOut()) {
                    attempt(Step_Send_Test, 1637);
                }
                break;
            case Step_Send_Read:
                FStep_Scan = Step_Wait_Read;
                Count_UDP_CMD_Timeout = 0;
                FRes_UDP_CMD = false;
                act.Send = HART_Read_Command(Index_Device_Read);
                act.Status << Lang_Num(1638, Index_Device_Read);
                break;
            case Step_Wait_Read:
                if (FRes_UDP_CMD) {
                    FRes_UDP_CMD = false;
                    if (UDP_str == HART_Read_Prefix(Index_Device_Read)) {
                        devices[size_t(Index_Device_Read)] = UDP_Arr;
                        ++Index_Device_Read;
                        if (Index_Device_Read < FNum_Devices) {
                            FStep_Scan = Step_Send_Read;
                        } else {
                            FFinish_succes = true;
                            FStep_Scan = Step_Finish;
                        }
                    } else {
                        attempt(Step_Send_Read, 1639);
                    }
                } else if (timedOut()) {
                    attempt(Step_Send_Read, 1639);
                }
                break;
            case Step_Finish:
                FStep_Scan = Step_Idle;
                if (FFinish_succes) {
                    act.Status << Lang(1640);
                    act.Done = TStep_Actions::Ok;
                } else {
                    act.Status << Lang(1641);
                    act.Done = TStep_Actions::Error;
                }
                break;
            default:
                break;
            }
        }
    }

    if (!act.Send.isEmpty() && !Send_Command(act.Send)) {
        // A command that cannot go out ends the scan as a failure, so the form
        // offers Scan Again instead of waiting for ever.
        {
            std::lock_guard<std::mutex> guard(FLock);
            FStep_Scan = Step_Idle;
            FFinish_succes = false;
        }
        Set_Status(Lang(1641));
        Show_Status();
        if (!FExit)
            Scan_Done_Error();
        return;
    }
    for (const QString& text : std::as_const(act.Status)) {
        if (FExit)
            return;
        Set_Status(text);
        Show_Status();
    }
    if (FExit)
        return;
    if (act.Done == TStep_Actions::Ok) {
        Scan_Done_Ok();
        std::lock_guard<std::mutex> guard(FLock);
        FFinish_succes = false;
    } else if (act.Done == TStep_Actions::Error) {
        Scan_Done_Error();
    }
}

bool THART_Thread::Send_Command(const QString& command)
{
    std::lock_guard<std::mutex> guard(FLock);
    if (!UDPs || FDis_Address.isEmpty())
        return false;
    return UDPs->SendText(FDis_Address, FParams.Port, command);
}

void THART_Thread::Set_Status(const QString& text)
{
    std::lock_guard<std::mutex> guard(FLock);
    FStr_Return = text;
}

void THART_Thread::Show_Status()
{
    if (!OnShow_Status)
        return;
    Run_On_Main([fn = OnShow_Status, text = Str_Return()] { fn(text); });
}

void THART_Thread::Scan_Done_Ok()
{
    if (OnScan_Done_Ok)
        Run_On_Main(OnScan_Done_Ok);
}

void THART_Thread::Scan_Done_Error()
{
    if (OnScan_Done_Error)
        Run_On_Main(OnScan_Done_Error);
}

// Runs `fn` on the main thread and waits until it has run. The wait ends early
// when the thread is told to stop, so a form that frees the thread, even from
// inside one of these calls, never waits on a worker that waits on it. `fn`
// holds its own copies of what it calls: it stays valid after the thread is
// gone, and a call still queued then is dropped.
bool THART_Thread::Run_On_Main(const std::function<void()>& fn)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        fn();
        return true;
    }
    struct TCall {
        std::mutex Lock;
        std::condition_variable Changed;
        bool Withdrawn = false;
        bool Done = false;
    };
    auto call = std::make_shared<TCall>();
    QMetaObject::invokeMethod(
        app,
        [call, fn] {
            {
                std::lock_guard<std::mutex> guard(call->Lock);
                if (call->Withdrawn)
                    return;
            }
            try {
                fn();
            } catch (...) {
                HandleException(nullptr);
            }
            {
                std::lock_guard<std::mutex> guard(call->Lock);
                call->Done = true;
            }
            call->Changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(call->Lock);
    while (!call->Done) {
        if (FExit) {
            call->Withdrawn = true;
            return false;
        }
        call->Changed.wait_for(lock, std::chrono::milliseconds(2));
    }
    return true;
}
