#pragma once
// The converter-driven search of its HART network: a worker thread that starts
// the converter's full device search over UDP, polls its status until the
// search is finished and then reads each device's record, stepping a small
// state machine once per tick. The endpoint's listener thread hands the
// replies over; progress and the end of the scan reach the scan form through
// calls run on the main thread while the worker waits.

#include <QByteArray>
#include <QString>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TUdpEndpoint;

// A device record as the converter sends it after the reply prefix: shorter
// replies are padded with zero bytes, longer ones cut.
inline constexpr int HART_Record_Size = 1000;
inline constexpr int HART_Max_Devices = 100;
using THART_Device_Record = std::array<std::uint8_t, HART_Record_Size>;

// Record offsets of the device variable list: a 32-bit little-endian count,
// then three bytes per variable (code, classification, unit).
inline constexpr int HART_Rec_Var_Count = 115;
inline constexpr int HART_Rec_Vars = 119;
// The most variables a record can hold.
inline constexpr int HART_Max_Record_Vars = (HART_Record_Size - HART_Rec_Vars) / 3;

// The number of device variables a record lists, never more than fit in it.
int HART_Record_Var_Count(const THART_Device_Record& rec);

// The status reply "SEARCH STATUS=<state> ... now <count> ...": false when the
// reply does not start with that prefix. An unreadable state counts as 0
// (finished); the count is the number between the blanks after "now", 0 when
// unreadable or when no blank follows it.
bool HART_Parse_Status(const QString& reply, int& state, int& count);
// The command that reads device `index` and the prefix its reply must start
// with ("F_READ03" / "DEV 3=", "F_READ10" / "DEV10=").
QString HART_Read_Command(int index);
QString HART_Read_Prefix(int index);

// Protocol timing and limits; the defaults are the converter's own.
struct THART_Scan_Params {
    quint16 Port = 10000;
    int Tick_Ms = 10;
    // A reply counts as missing on the tick after this many without it.
    int Reply_Timeout_Ticks = 100;
    int Status_Delay_Ticks = 100;
    int Max_Attempts = 3;
    // The whole scan, from its start to its last device, is given up on the
    // tick after this many. Ten minutes at the 10 ms tick: the tool's own
    // phases take at most about two (three search starts, a hundred device
    // reads with their time-outs), the rest is room for the converter's
    // search of up to 64 devices, which only it can end.
    int Scan_Limit_Ticks = 60000;
    // Local address of the endpoint; empty binds every interface.
    QString Bind_Address;
};

class THART_Thread {
public:
    enum : int {
        Step_Idle = 0,
        Step_Start = 1,
        Step_Send_Full = 2,
        Step_Wait_Full = 3,
        Step_Delay_Test = 4,
        Step_Send_Test = 5,
        Step_Wait_Test = 6,
        Step_Send_Read = 8,
        Step_Wait_Read = 9,
        Step_Finish = 101,
    };

    explicit THART_Thread(const THART_Scan_Params& params = {});
    // Stops the worker and waits for it; safe from inside the thread's own
    // main-thread calls.
    virtual ~THART_Thread();
    THART_Thread(const THART_Thread&) = delete;
    THART_Thread& operator=(const THART_Thread&) = delete;

    // Starts the worker (Execute). Set the events first.
    void Start();
    // Sets FExit: the worker ends after its current tick and releases any wait
    // for the main thread at once.
    void Terminate();
    // Waits for the worker to end (after Terminate).
    void WaitFor();
    bool Terminated() const { return FExit; }

    // Starts a new scan of `numDevs` devices ("01" to "64") through the
    // converter at `address` (dotted IPv4). Main thread.
    void HART_Discovery(const QString& address, const QString& numDevs);

    // Run on the main thread while the worker waits.
    std::function<void(const QString& status)> OnShow_Status;
    std::function<void()> OnScan_Done_Ok;
    std::function<void()> OnScan_Done_Error;

    // Results: read them inside OnScan_Done_Ok or after the worker has ended.
    int FNum_Devices = 0;
    std::array<THART_Device_Record, HART_Max_Devices> devices {};

    QString Str_Return() const;
    int Step_Scan() const;
    int UDP_Retried_CMD() const;
    bool Finish_succes() const;
    // A reply to the last command has arrived and is not yet taken.
    bool Res_UDP_CMD() const;
    // Passes of the worker loop so far.
    long long Ticks() const { return FTicks; }
    // The endpoint's port while the worker runs, else 0.
    quint16 Local_Port() const;

    // One datagram from `peerAddress`; called on the endpoint's listener thread.
    void UDP_Read(const QByteArray& data, const QString& peerAddress);
    // One tick of the state machine; worker thread.
    void Scan_Step();

protected:
    // Sends one command to the converter; false when it cannot go out. Runs
    // on the worker: a class that overrides it stops the worker in its own
    // destructor.
    virtual bool Send_Command(const QString& command);

private:
    void Execute();
    void Set_Status(const QString& text);
    void Show_Status();
    void Scan_Done_Ok();
    void Scan_Done_Error();
    bool Run_On_Main(const std::function<void()>& fn);
    void Count_Attempt(int retryStep, int textIndex);
    void Give_Up(int textIndex);
    void Send_Or_Fail(const QString& command);

    const THART_Scan_Params FParams;
    std::atomic<bool> FExit { false };
    std::atomic<bool> FInScan { false };
    std::atomic<long long> FTicks { 0 };
    std::thread FWorker;
    std::unique_ptr<TUdpEndpoint> UDPs;

    // Guards the scan state shared by the main thread, the worker and the
    // listener; the reply data is complete before Res_UDP_CMD is seen set.
    mutable std::mutex FLock;
    std::condition_variable FExitSignal;
    QString FDis_IP_Address;
    // The converter's address in plain dotted form; empty when it is not one.
    QString FDis_Address;
    QString FNumDevs;
    int FStep_Scan = Step_Idle;
    QString FStr_Return;
    int Count_UDP_CMD_Timeout = 0;
    bool FRes_UDP_CMD = false;
    QString UDP_str;
    int FUDP_Retried_CMD = 0;
    int Delay_Wait_Finish = 0;
    int Index_Device_Read = 0;
    THART_Device_Record UDP_Arr {};
    bool FFinish_succes = false;
    // Ticks since the scan started, against Scan_Limit_Ticks.
    int Scan_Ticks = 0;
    // The search was started again after a bad status reply: its confirmation
    // must not hand out fresh attempts, or a converter that keeps answering the
    // poll wrongly would be searched for ever.
    bool FSearch_Restarted = false;
};
