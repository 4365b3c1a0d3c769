#pragma once
// A stand-in for the converter's side of the HART scan: a UDP peer on a
// loopback address that records every command and answers it as its script
// says, from the port the commands were sent to.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

#include "app/tables/UHART_Thread.h"
#include "platform/net/UdpEndpoint.h"

class TConverterSimulator {
public:
    // The reply to a command, or none; `nth` counts earlier arrivals of the
    // same command text. Runs on the simulator's listener thread.
    using TScript = std::function<std::optional<QByteArray>(const QString& command, int nth)>;

    explicit TConverterSimulator(TScript script, const QString& address = QStringLiteral("127.0.0.1"));
    ~TConverterSimulator();

    quint16 Port() const { return FEndpoint.LocalPort(); }
    QStringList Commands() const;
    // Waits (without running the main thread's events) for `count` commands.
    bool WaitForCommands(int count, int ms = 10000);

    // A converter with `devices` device records: the search start is
    // confirmed, successive status polls get `statuses` (the last one
    // repeating) and every read gets its device's reply.
    static TScript Standard(int devices, const QStringList& statuses);

    // The record the simulator keeps for device `index` (1000 bytes, two
    // variables with named codes), and the whole reply that carries it:
    // prefix, record and a few trailing bytes the tool must ignore.
    static QByteArray Record(int index);
    static QByteArray Read_Reply(int index);
    static QByteArray Prefix(int index);

private:
    TUdpEndpoint FEndpoint;
    TScript FScript;
    mutable std::mutex FLock;
    std::condition_variable FChanged;
    QStringList FCommands;
    std::map<QString, int> FSeen;
};

// Scan parameters for a simulator on 127.0.0.1 at `port`: the scan's endpoint
// bound to the loopback address, a 1 ms tick and short status delays.
THART_Scan_Params Loopback_Scan_Params(quint16 port);
