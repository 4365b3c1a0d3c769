#include "app/tables/ConverterSimulator.h"

#include <chrono>
#include <stdexcept>

TConverterSimulator::TConverterSimulator(TScript script, const QString& address)
    : FScript(std::move(script))
{
    FEndpoint.SetBindAddress(address);
    FEndpoint.OnRead = [this](const QByteArray& data, const QString& peer, quint16 peerPort) {
        const QString command = QString::fromLatin1(data);
        int nth = 0;
        {
            std::lock_guard<std::mutex> guard(FLock);
            nth = FSeen[command]++;
        }
        const std::optional<QByteArray> reply = FScript ? FScript(command, nth) : std::nullopt;
        if (reply)
            FEndpoint.Send(peer, peerPort, *reply);
        // Recorded after the answer has gone, so a test that saw the command
        // also knows its reply is on its way.
        {
            std::lock_guard<std::mutex> guard(FLock);
            FCommands << command;
        }
        FChanged.notify_all();
    };
    QString error;
    if (!FEndpoint.Start(&error))
        throw std::runtime_error(error.toStdString());
}

TConverterSimulator::~TConverterSimulator()
{
    FEndpoint.Stop();
}

QStringList TConverterSimulator::Commands() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FCommands;
}

bool TConverterSimulator::WaitForCommands(int count, int ms)
{
    std::unique_lock<std::mutex> lock(FLock);
    return FChanged.wait_for(lock, std::chrono::milliseconds(ms), [&] { return FCommands.size() >= count; });
}

QByteArray TConverterSimulator::Prefix(int index)
{
    // "DEV 3=" for one digit, "DEV10=" for two.
    return index < 10 ? "DEV " + QByteArray::number(index) + "=" : "DEV" + QByteArray::number(index) + "=";
}

QByteArray TConverterSimulator::Record(int index)
{
    QByteArray r(1000, '\0');
    r[1] = char(0x11);
    r[2] = char(0xA0 + index % 16);
    r[3] = char(5);
    r[9] = char(0x01);
    r[10] = char(0x02);
    r[11] = char(index);
    const QByteArray tag = ("TAG-" + QByteArray::number(index)).leftJustified(32, ' ');
    r.replace(61, 32, tag);
    r[115] = char(2); // two variables, little-endian count
    const unsigned char vars[] = { 246, 0, 7, 247, 64, 32 };
    for (int i = 0; i < 6; ++i)
        r[119 + i] = char(vars[i]);
    r[999] = char(0x5A); // the last record byte travels too
    return r;
}

QByteArray TConverterSimulator::Read_Reply(int index)
{
    return Prefix(index) + Record(index) + QByteArray(20, char(0xEE));
}

TConverterSimulator::TScript TConverterSimulator::Standard(int devices, const QStringList& statuses)
{
    return [devices, statuses](const QString& command, int nth) -> std::optional<QByteArray> {
        if (command.startsWith(QStringLiteral("F_FULL_")))
            return QByteArray("FULL DEVICES SEARCH STARTED");
        if (command == QStringLiteral("F_TEST") && !statuses.isEmpty())
            return statuses.at(std::min<qsizetype>(nth, statuses.size() - 1)).toLatin1();
        if (command.startsWith(QStringLiteral("F_READ"))) {
            bool ok = false;
            const int index = command.mid(6).toInt(&ok);
            if (ok && index >= 0 && index < std::max(devices, 1))
                return Read_Reply(index);
        }
        return std::nullopt;
    };
}

THART_Scan_Params Loopback_Scan_Params(quint16 port)
{
    THART_Scan_Params p;
    p.Port = port;
    p.Tick_Ms = 1;
    p.Status_Delay_Ticks = 5;
    p.Bind_Address = QStringLiteral("127.0.0.1");
    return p;
}
