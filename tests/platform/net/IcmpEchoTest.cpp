#include "platform/net/IcmpEcho.h"

#include <gtest/gtest.h>

using namespace IcmpWire;

TEST(IcmpEcho, ChecksumAndRequestLayout)
{
    // The worked example of the Internet checksum.
    EXPECT_EQ(Checksum(QByteArray::fromHex("0001f203f4f5f6f7")), 0x220d);
    EXPECT_EQ(Checksum(QByteArray::fromHex("0001f203f4f5f6")), 0x2304); // odd length pads a zero

    const QByteArray req = EchoRequest(0x1234, 0x0102, "abc");
    ASSERT_EQ(req.size(), 11);
    EXPECT_EQ(req.left(2), QByteArray::fromHex("0800"));
    EXPECT_EQ(req.mid(4, 4), QByteArray::fromHex("12340102"));
    EXPECT_EQ(req.mid(8), "abc");
    EXPECT_EQ(Checksum(req), 0); // a sound packet sums to zero
}

// Only the reply to our own request counts: anything else on the wire, our
// request itself included (a raw socket sees it when pinging this host), is
// passed over.
TEST(IcmpEcho, AcceptsOnlyTheMatchingReply)
{
    const QByteArray payload(32, 'p');
    auto reply = [&](quint16 id, quint16 seq, const QByteArray& data) {
        QByteArray r = EchoRequest(id, seq, data);
        r[0] = 0;
        r[2] = r[3] = 0;
        const quint16 sum = Checksum(r);
        r[2] = char(sum >> 8);
        r[3] = char(sum);
        return r;
    };
    QByteArray ipHeader = QByteArray::fromHex("4500000000000000400100007f0000017f000001");
    QByteArray ipHeaderWithOptions = QByteArray::fromHex("4600000000000000400100007f0000017f00000101010101");
    const QByteArray good = reply(7, 9, payload);
    QByteArray badSum = good;
    badSum[10] = 'q';

    struct Case {
        const char* what;
        QByteArray packet;
        bool withIp;
        bool checkId;
        bool expected;
    };
    const Case cases[] = {
        { "reply", good, false, true, true },
        { "reply after IP header", ipHeader + good, true, true, true },
        { "reply after IP header with options", ipHeaderWithOptions + good, true, true, true },
        { "our own request", ipHeader + EchoRequest(7, 9, payload), true, true, false },
        { "damaged data", badSum, false, true, false },
        { "other identifier", reply(8, 9, payload), false, true, false },
        { "identifier left to the kernel", reply(8, 9, payload), false, false, true },
        { "other sequence", reply(7, 10, payload), false, true, false },
        { "other data", reply(7, 9, QByteArray(32, 'x')), false, true, false },
        { "cut short", good.left(20), false, true, false },
        { "header only", good.left(8), false, true, false },
        { "too short for ICMP", ipHeader + good.left(4), true, true, false },
        { "IP header length below 20", QByteArray::fromHex("44") + ipHeader.mid(1) + good, true, true, false },
        { "not IPv4", QByteArray::fromHex("65") + ipHeader.mid(1) + good, true, true, false },
        { "empty", QByteArray(), true, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int size = -1;
        EXPECT_EQ(IsEchoReply(c.packet, c.withIp, c.checkId, 7, 9, payload, &size), c.expected);
        if (c.expected) {
            EXPECT_EQ(size, 8 + payload.size());
        }
    }
}

TEST(IcmpEcho, RefusesWhatIsNotADottedAddressWithoutSending)
{
    quint32 v = 0;
    ASSERT_TRUE(ParseIPv4("192.168.2.205", &v));
    EXPECT_EQ(v, 0xC0A802CDu);
    ASSERT_TRUE(ParseIPv4("010.0.0.001", &v)); // octet fields may keep leading zeros
    EXPECT_EQ(v, 0x0A000001u);

    const char* bad[] = { "", "192.168.2", "192.168.2.256", "1.2.3.4.5", "a.b.c.d", "1..2.3", "-1.2.3.4", "0x7f.0.0.1",
        "1234.1.1.1", "converter.local" };
    for (const char* host : bad) {
        SCOPED_TRACE(host);
        EXPECT_FALSE(ParseIPv4(host, &v));
        TIcmpEcho ping;
        int replies = 0;
        ping.OnReply = [&](const TEchoResult&) { ++replies; };
        const TEchoResult r = ping.Ping(host);
        EXPECT_EQ(r.Status, TEchoStatus::esBadAddress);
        EXPECT_EQ(r.BytesReceived, 0);
        EXPECT_FALSE(r.Error.isEmpty());
        EXPECT_EQ(replies, 1);
    }
}

TEST(IcmpEcho, LoopbackAnswers)
{
    TIcmpEcho ping;
    ping.SetReceiveTimeoutMs(2000);
    ASSERT_EQ(ping.PacketSize(), 1024);
    TEchoResult reported;
    ping.OnReply = [&](const TEchoResult& r) { reported = r; };
    const TEchoResult r = ping.Ping("127.0.0.1");
    if (r.Status == TEchoStatus::esCannotRun) {
        // The platform permits neither socket: that must be said, not hidden
        // behind a time-out.
        EXPECT_FALSE(r.Error.isEmpty());
        EXPECT_EQ(reported.Status, TEchoStatus::esCannotRun);
        GTEST_SKIP() << r.Error.toStdString();
    }
    ASSERT_EQ(r.Status, TEchoStatus::esReply) << r.Error.toStdString();
    EXPECT_EQ(r.BytesReceived, 8 + 1024);
    EXPECT_EQ(r.FromAddress, "127.0.0.1");
    EXPECT_EQ(reported.Status, TEchoStatus::esReply);

    // A request without data is answered with the bare header.
    ping.SetPacketSize(0);
    EXPECT_EQ(ping.Ping("127.0.0.1").BytesReceived, 8);
    ping.SetPacketSize(70000);
    EXPECT_EQ(ping.PacketSize(), 65000);
}
