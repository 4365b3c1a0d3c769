// Checks arbitrary packets as echo replies, as anyone on the network could
// send them to the tool's ICMP socket, through the check the echo uses on the
// wire. The input is: a flags byte (bit 0 the IP header comes first, as on a
// raw socket; bit 1 the identifier is checked), the request's identifier and
// sequence (two bytes each), the length of its data (two bytes), its data,
// then the packet. The check never fails or reads outside the packet, accepts
// only a sound reply to that request, and accepts the reply built from the
// request.

#include "FuzzSupport.h"
#include "platform/net/IcmpEcho.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return Fuzz_Default_Max_Len(argc, argv);
}

namespace {

// The converter's answer to `request`: type 0, the checksum made again.
QByteArray Reply_To(QByteArray request, bool withIpHeader)
{
    request[0] = 0;
    request[2] = request[3] = 0;
    const quint16 sum = IcmpWire::Checksum(request);
    request[2] = char(sum >> 8);
    request[3] = char(sum);
    if (!withIpHeader)
        return request;
    QByteArray ip(20, '\0');
    ip[0] = char(0x45);
    return ip + request;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 7)
        return 0;
    const bool withIpHeader = data[0] & 1;
    const bool checkId = data[0] & 2;
    const auto id = quint16(data[1] << 8 | data[2]);
    const auto sequence = quint16(data[3] << 8 | data[4]);
    const std::size_t payloadLen = std::min<std::size_t>(std::size_t(data[5] << 8 | data[6]), size - 7);
    const QByteArray payload(reinterpret_cast<const char*>(data) + 7, qsizetype(payloadLen));
    const QByteArray packet(reinterpret_cast<const char*>(data) + 7 + payloadLen, qsizetype(size - 7 - payloadLen));

    int icmpSize = -1;
    if (IcmpWire::IsEchoReply(packet, withIpHeader, checkId, id, sequence, payload, &icmpSize)) {
        const qsizetype offset = withIpHeader ? qsizetype(uchar(packet[0]) & 0x0F) * 4 : 0;
        const QByteArray icmp = packet.mid(offset);
        if (icmpSize != icmp.size() || icmp.size() != 8 + payload.size() || icmp[0] != 0 || icmp[1] != 0
            || IcmpWire::Checksum(icmp) != 0 || icmp.mid(8) != payload)
            std::abort();
    } else if (icmpSize != -1) {
        std::abort(); // a refused packet reports no size
    }

    const QByteArray reply = Reply_To(IcmpWire::EchoRequest(id, sequence, payload), withIpHeader);
    if (!IcmpWire::IsEchoReply(reply, withIpHeader, checkId, id, sequence, payload))
        std::abort();
    // The request itself, as a raw socket sees it going out, is no reply.
    if (IcmpWire::IsEchoReply(IcmpWire::EchoRequest(id, sequence, payload), false, checkId, id, sequence, payload))
        std::abort();
    return 0;
}
