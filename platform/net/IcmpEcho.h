#pragma once
// ICMP echo ("ping") to an IPv4 address with a receive time-out: the check
// that the converter answers before an update. A raw ICMP socket is used when
// the process may open one, else the unprivileged ping socket; when neither is
// permitted the answer says so, rather than looking like a silent device.

#include <QByteArray>
#include <QString>
#include <functional>

enum class TEchoStatus {
    esReply, // a valid echo reply came back from the target
    esTimedOut, // nothing valid came back within the time-out
    esBadAddress, // the host is not a dotted IPv4 address
    esCannotRun, // this system lets the program open no ICMP socket
    esFailed // the request could not be sent (no route, network down, ...)
};

struct TEchoResult {
    TEchoStatus Status = TEchoStatus::esTimedOut;
    int BytesReceived = 0; // size of the ICMP reply; 0 without a reply
    int RoundTripMs = 0;
    QString FromAddress;
    QString Error;
};

class TIcmpEcho {
public:
    int ReceiveTimeoutMs() const { return FReceiveTimeoutMs; }
    void SetReceiveTimeoutMs(int ms) { FReceiveTimeoutMs = ms < 0 ? 0 : ms; }
    // Bytes of data carried by the request (and echoed back); at most 65000.
    int PacketSize() const { return FPacketSize; }
    void SetPacketSize(int bytes);

    // Called at the end of every Ping with its result, reply or not.
    std::function<void(const TEchoResult&)> OnReply;

    // Sends one echo request and waits for the matching reply. Blocks the
    // calling thread for at most the receive time-out.
    TEchoResult Ping(const QString& host);

private:
    int FReceiveTimeoutMs = 400;
    int FPacketSize = 1024;
};

// The wire format, exposed for the checks of replies.
namespace IcmpWire {

// Internet checksum (ones' complement of the ones' complement sum).
quint16 Checksum(const QByteArray& data);
// Echo request: type 8, code 0, checksum, identifier, sequence, data.
QByteArray EchoRequest(quint16 id, quint16 sequence, const QByteArray& payload);
// True when packet is the echo reply to that request: type 0, code 0, sound
// checksum, same identifier, sequence and data. A raw socket delivers the IP
// header in front (withIpHeader); checkId is off for ping sockets, whose
// identifier the kernel chooses and filters. icmpSize gets the reply's size.
bool IsEchoReply(const QByteArray& packet, bool withIpHeader, bool checkId, quint16 id, quint16 sequence,
    const QByteArray& payload, int* icmpSize = nullptr);
// Strict dotted IPv4 (four decimal parts 0 to 255); false for anything else.
bool ParseIPv4(const QString& text, quint32* hostOrder);

} // namespace IcmpWire
