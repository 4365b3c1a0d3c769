// Drives the HART scan's state machine with arbitrary datagrams and ticks, as
// a misbehaving converter (or anyone else on the network) could, and checks
// that the scan state stays within its bounds. The input is a list of
// operations:
//   0 len data   datagram from the converter's address
//   1 len data   the same from another address
//   2 n          n ticks
//   3 a b        a new scan for "ab" devices
//   4            the search-start confirmation from the converter
//   5 len data   "SEARCH STATUS=" followed by data, from the converter
//   6 len data   the expected device prefix followed by data (len scaled by 8)
//   7            the next command fails to go out
// Lengths are one byte.
// The input itself, as a device record, and every record the scan read are
// mapped to the scan form's device columns: the name must come out free of
// control characters and no longer than its field.

#include "app/core/ULanguage.h"
#include "app/tables/UHART_Scan.h"
#include "app/tables/UHART_Thread.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

const QString Converter = QStringLiteral("127.0.0.1");
const QString Stranger = QStringLiteral("127.0.0.2");

class TFuzzThread : public THART_Thread {
public:
    using THART_Thread::THART_Thread;
    bool Fail_Next = false;
    QString Last_Command;

protected:
    bool Send_Command(const QString& command) override
    {
        Last_Command = command;
        const bool ok = !Fail_Next;
        Fail_Next = false;
        return ok;
    }
};

void Check(const TFuzzThread& t, int doneCalls, int statusCalls)
{
    switch (t.Step_Scan()) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 8:
    case 9:
    case 101:
        break;
    default:
        std::abort();
    }
    if (t.FNum_Devices < 0 || t.FNum_Devices > HART_Max_Devices)
        std::abort();
    if (t.UDP_Retried_CMD() < 0 || t.UDP_Retried_CMD() > 3)
        std::abort();
    if (doneCalls > statusCalls)
        std::abort();
    for (const THART_Device_Record& r : t.devices)
        if (HART_Record_Var_Count(r) > HART_Max_Record_Vars)
            std::abort();
}

void Check_Device(const THART_Device_Record& rec)
{
    const THART_Scan_Device d = HART_Scan_Device(rec);
    if (d.Name.size() > 32)
        std::abort();
    for (const QChar c : d.Name)
        if (c.category() == QChar::Other_Control || c.unicode() == 0)
            std::abort();
    if (d.Address.size() != 12 || !d.Address.startsWith(QStringLiteral("0x")))
        std::abort();
    for (const QChar c : d.Address.mid(2))
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            std::abort();
    bool ok = false;
    const int preamble = d.Preamble.toInt(&ok);
    if (!ok || preamble < 0 || preamble > 255)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool langReady = [] {
        Init_Lang_Default();
        return true;
    }();
    (void)langReady;

    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        THART_Device_Record rec {};
        std::copy_n(input.constData(), std::min<qsizetype>(input.size(), HART_Record_Size), rec.begin());
        Check_Device(rec);
        // The name field at the start of short inputs too.
        THART_Device_Record shifted {};
        std::copy_n(input.constData(), std::min<qsizetype>(input.size(), HART_Record_Size - 61), shifted.begin() + 61);
        Check_Device(shifted);
    }
    {
        int state = 0;
        int count = 0;
        HART_Parse_Status(QString::fromLatin1(input), state, count);
    }

    THART_Scan_Params params;
    params.Reply_Timeout_Ticks = 3;
    params.Status_Delay_Ticks = 2;
    TFuzzThread t(params);
    int statusCalls = 0;
    int doneCalls = 0;
    t.OnShow_Status = [&](const QString&) { ++statusCalls; };
    t.OnScan_Done_Ok = [&] { ++doneCalls; };
    t.OnScan_Done_Error = [&] { ++doneCalls; };
    t.HART_Discovery(Converter, QStringLiteral("64"));

    qsizetype pos = 0;
    auto next = [&]() -> int { return pos < input.size() ? std::uint8_t(input[pos++]) : 0; };
    auto take = [&](int len) {
        const QByteArray part = input.mid(pos, len);
        pos += part.size();
        return part;
    };
    int ticks = 0;
    while (pos < input.size() && ticks < 20000) {
        switch (next() % 8) {
        case 0:
            t.UDP_Read(take(next()), Converter);
            break;
        case 1:
            t.UDP_Read(take(next()), Stranger);
            break;
        case 2:
            for (int n = next(); n > 0; --n, ++ticks) {
                t.Scan_Step();
                Check(t, doneCalls, statusCalls);
            }
            break;
        case 3: {
            const char a = char(next());
            const char b = char(next());
            t.HART_Discovery(Converter, QString::fromLatin1(QByteArray { a, b }));
            break;
        }
        case 4:
            t.UDP_Read("FULL DEVICES SEARCH STARTED", Converter);
            break;
        case 5:
            t.UDP_Read("SEARCH STATUS=" + take(next()), Converter);
            break;
        case 6: {
            const int len = next() * 8;
            const QString cmd = t.Last_Command;
            const int index = cmd.startsWith(QStringLiteral("F_READ")) ? cmd.mid(6).toInt() : 0;
            t.UDP_Read(HART_Read_Prefix(index).toLatin1() + take(len), Converter);
            break;
        }
        case 7:
            t.Fail_Next = true;
            break;
        }
        t.Scan_Step();
        ++ticks;
        Check(t, doneCalls, statusCalls);
    }
    for (int d = 0; d < t.FNum_Devices; ++d)
        Check_Device(t.devices[std::size_t(d)]);
    return 0;
}
