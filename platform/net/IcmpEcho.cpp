#include "platform/net/IcmpEcho.h"

#include <QStringList>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace IcmpWire {

quint16 Checksum(const QByteArray& data)
{
    quint32 sum = 0;
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype n = data.size();
    for (qsizetype i = 0; i + 1 < n; i += 2)
        sum += quint32(p[i]) << 8 | p[i + 1];
    if (n % 2)
        sum += quint32(p[n - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

QByteArray EchoRequest(quint16 id, quint16 sequence, const QByteArray& payload)
{
    QByteArray p(8, '\0');
    p[0] = 8;
    p[4] = char(id >> 8);
    p[5] = char(id);
    p[6] = char(sequence >> 8);
    p[7] = char(sequence);
    p += payload;
    const quint16 sum = Checksum(p);
    p[2] = char(sum >> 8);
    p[3] = char(sum);
    return p;
}

bool IsEchoReply(const QByteArray& packet, bool withIpHeader, bool checkId, quint16 id, quint16 sequence,
    const QByteArray& payload, int* icmpSize)
{
    qsizetype offset = 0;
    if (withIpHeader) {
        if (packet.size() < 20)
            return false;
        const auto b0 = uchar(packet[0]);
        if (b0 >> 4 != 4)
            return false;
        offset = qsizetype(b0 & 0x0F) * 4;
        if (offset < 20)
            return false;
    }
    if (packet.size() < offset + 8)
        return false;
    const QByteArray icmp = packet.mid(offset);
    const auto* p = reinterpret_cast<const uchar*>(icmp.constData());
    if (p[0] != 0 || p[1] != 0 || Checksum(icmp) != 0)
        return false;
    if (checkId && (quint16(p[4] << 8 | p[5]) != id))
        return false;
    if (quint16(p[6] << 8 | p[7]) != sequence)
        return false;
    if (icmp.mid(8) != payload)
        return false;
    if (icmpSize)
        *icmpSize = int(icmp.size());
    return true;
}

bool ParseIPv4(const QString& text, quint32* hostOrder)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return false;
    quint32 v = 0;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (QChar c : part)
            if (c < u'0' || c > u'9')
                return false;
        const int octet = part.toInt();
        if (octet > 255)
            return false;
        v = v << 8 | quint32(octet);
    }
    if (hostOrder)
        *hostOrder = v;
    return true;
}

} // namespace IcmpWire

namespace {

std::atomic<quint32> gSequence { 0 };

QString ErrnoText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

class TFd {
public:
    explicit TFd(int fd)
        : FFd(fd)
    {
    }
    ~TFd()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    int Get() const { return FFd; }

private:
    int FFd;
};

} // namespace

void TIcmpEcho::SetPacketSize(int bytes)
{
    FPacketSize = bytes < 0 ? 0 : (bytes > 65000 ? 65000 : bytes);
}

TEchoResult TIcmpEcho::Ping(const QString& host)
{
    TEchoResult result;
    auto finish = [&]() -> TEchoResult {
        if (OnReply)
            OnReply(result);
        return result;
    };

    quint32 target = 0;
    if (!IcmpWire::ParseIPv4(host.trimmed(), &target)) {
        result.Status = TEchoStatus::esBadAddress;
        result.Error = QStringLiteral("\"%1\" is not an IPv4 address").arg(host);
        return finish();
    }

    bool raw = true;
    int fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    const int rawErr = errno;
    if (fd < 0) {
        raw = false;
        fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    }
    if (fd < 0) {
        const int dgramErr = errno;
        result.Status = TEchoStatus::esCannotRun;
        result.Error = QStringLiteral("Could not run the echo check: neither a raw ICMP socket (%1) nor a ping "
                                      "socket (%2) is permitted")
                           .arg(ErrnoText(rawErr), ErrnoText(dgramErr));
        return finish();
    }
    const TFd guard(fd);

    const quint32 seqCounter = ++gSequence;
    const auto sequence = quint16(seqCounter);
    auto id = quint16((quint32(::getpid()) * 31u + (seqCounter >> 16)) & 0xFFFF);
    if (!raw) {
        // A ping socket carries the identifier the kernel gave it.
        sockaddr_in local {};
        local.sin_family = AF_INET;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0) {
            socklen_t len = sizeof local;
            if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) == 0)
                id = ntohs(local.sin_port);
        }
    }

    QByteArray payload(FPacketSize, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char('A' + i % 23);
    const QByteArray request = IcmpWire::EchoRequest(id, sequence, payload);

    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(target);

    const auto start = std::chrono::steady_clock::now();
    if (::sendto(fd, request.constData(), size_t(request.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
        result.Status = TEchoStatus::esFailed;
        result.Error = QStringLiteral("Cannot send the echo request to %1: %2").arg(host, ErrnoText(errno));
        return finish();
    }

    QByteArray buffer(65536, '\0');
    const auto deadline = start + std::chrono::milliseconds(FReceiveTimeoutMs);
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        if (left <= 0)
            break;
        pollfd pfd { fd, POLLIN, 0 };
        const int ready = ::poll(&pfd, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        sockaddr_in from {};
        socklen_t fromLen = sizeof from;
        const ssize_t n
            = ::recvfrom(fd, buffer.data(), size_t(buffer.size()), 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n < 0)
            continue;
        // A raw socket sees every ICMP message of the host, our own request
        // to a local address included: keep only the reply from the target.
        if (from.sin_addr.s_addr != to.sin_addr.s_addr)
            continue;
        int size = 0;
        if (!IcmpWire::IsEchoReply(buffer.left(n), raw, raw, id, sequence, payload, &size))
            continue;
        result.Status = TEchoStatus::esReply;
        result.BytesReceived = size;
        result.RoundTripMs = int(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        result.FromAddress = QStringLiteral("%1.%2.%3.%4")
                                 .arg(target >> 24)
                                 .arg((target >> 16) & 0xFF)
                                 .arg((target >> 8) & 0xFF)
                                 .arg(target & 0xFF);
        return finish();
    }
    result.Status = TEchoStatus::esTimedOut;
    result.Error = QStringLiteral("No echo reply from %1 within %2 ms").arg(host).arg(FReceiveTimeoutMs);
    return finish();
}
