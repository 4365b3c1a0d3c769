#include "platform/net/UdpEndpoint.h"

#include <QByteArray>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct TDatagram {
    QByteArray Data;
    QString Address;
    quint16 Port = 0;
    std::thread::id Thread;
};

// Collects what an endpoint receives, for the test thread to wait on.
class TInbox {
public:
    TUdpEndpoint::TReadEvent Handler(std::function<void(const TDatagram&)> also = {})
    {
        return [this, also](const QByteArray& data, const QString& addr, quint16 port) {
            const TDatagram d { data, addr, port, std::this_thread::get_id() };
            if (also)
                also(d);
            std::lock_guard<std::mutex> g(FLock);
            FItems.push_back(d);
            FChanged.notify_all();
        };
    }
    bool WaitFor(size_t count, int ms = 5000)
    {
        std::unique_lock<std::mutex> g(FLock);
        return FChanged.wait_for(g, std::chrono::milliseconds(ms), [&] { return FItems.size() >= count; });
    }
    std::vector<TDatagram> Items()
    {
        std::lock_guard<std::mutex> g(FLock);
        return FItems;
    }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    std::vector<TDatagram> FItems;
};

} // namespace

// A command goes out, the peer answers from its listener thread to the port
// the command came from, as the converter does.
TEST(UdpEndpoint, ExchangesDatagramsOnListenerThreads)
{
    TInbox toolInbox;
    TInbox deviceInbox;
    TUdpEndpoint tool;
    TUdpEndpoint device;
    tool.SetBindAddress("127.0.0.1");
    device.SetBindAddress("127.0.0.1");
    tool.OnRead = toolInbox.Handler();
    device.OnRead = deviceInbox.Handler([&device](const TDatagram& d) {
        if (d.Data == "F_TEST")
            device.SendText(d.Address, d.Port, "SEARCH STATUS=0 now 3 ");
    });
    QString error;
    ASSERT_TRUE(tool.Start(&error)) << error.toStdString();
    ASSERT_TRUE(device.Start(&error)) << error.toStdString();
    EXPECT_TRUE(tool.Active());
    EXPECT_NE(tool.LocalPort(), 0);
    EXPECT_NE(tool.LocalPort(), device.LocalPort());

    ASSERT_TRUE(tool.SendText("127.0.0.1", device.LocalPort(), "F_TEST", &error)) << error.toStdString();
    ASSERT_TRUE(toolInbox.WaitFor(1));
    const TDatagram reply = toolInbox.Items().at(0);
    EXPECT_EQ(reply.Data, "SEARCH STATUS=0 now 3 ");
    EXPECT_EQ(reply.Address, "127.0.0.1");
    EXPECT_EQ(reply.Port, device.LocalPort());
    EXPECT_NE(reply.Thread, std::this_thread::get_id());
    // The device answers from inside its handler, before its inbox records
    // the request: wait for that too.
    ASSERT_TRUE(deviceInbox.WaitFor(1));
    EXPECT_NE(deviceInbox.Items().at(0).Thread, std::this_thread::get_id());
    EXPECT_EQ(deviceInbox.Items().at(0).Port, tool.LocalPort());

    // Device records are binary: every byte value, zeros included, arrives as
    // sent; text goes one byte per character.
    QByteArray record(1006, '\0');
    for (int i = 0; i < record.size(); ++i)
        record[i] = char(i * 7);
    ASSERT_TRUE(tool.Send("127.0.0.1", device.LocalPort(), record));
    ASSERT_TRUE(tool.SendText("127.0.0.1", device.LocalPort(), QString::fromUtf8("\xc3\xa9")));
    ASSERT_TRUE(tool.Send("127.0.0.1", device.LocalPort(), QByteArray()));
    ASSERT_TRUE(deviceInbox.WaitFor(4));
    const auto got = deviceInbox.Items();
    EXPECT_EQ(got.at(1).Data, record);
    EXPECT_EQ(got.at(2).Data, QByteArray("\xe9"));
    EXPECT_EQ(got.at(3).Data, QByteArray());
}

TEST(UdpEndpoint, ManyDatagramsFromSeveralThreads)
{
    TInbox inbox;
    TUdpEndpoint receiver;
    TUdpEndpoint sender;
    receiver.SetBindAddress("127.0.0.1");
    receiver.OnRead = inbox.Handler();
    ASSERT_TRUE(receiver.Start());
    ASSERT_TRUE(sender.Start()); // any address, as the tool binds
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i)
                sender.Send("127.0.0.1", receiver.LocalPort(), QByteArray::number(t * 100 + i));
        });
    for (auto& t : threads)
        t.join();
    ASSERT_TRUE(inbox.WaitFor(100));
    std::vector<int> seen;
    for (const auto& d : inbox.Items())
        seen.push_back(d.Data.toInt());
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()) - seen.begin(), 100);
}

TEST(UdpEndpoint, ErrorsComeBackAsValues)
{
    TUdpEndpoint a;
    QString error;
    EXPECT_FALSE(a.Send("127.0.0.1", 10000, "F_TEST", &error));
    EXPECT_FALSE(error.isEmpty());

    const char* badBinds[] = { "not an address", "999.1.1.1", "192.0.2.1" /* not an address of this host */ };
    for (const char* addr : badBinds) {
        SCOPED_TRACE(addr);
        TUdpEndpoint e;
        e.SetBindAddress(addr);
        error.clear();
        EXPECT_FALSE(e.Start(&error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(e.Active());
    }

    a.SetBindAddress("127.0.0.1");
    ASSERT_TRUE(a.Start());
    TUdpEndpoint taken;
    taken.SetBindAddress("127.0.0.1");
    taken.SetBindPort(a.LocalPort());
    EXPECT_FALSE(taken.Start(&error));
    EXPECT_FALSE(a.Send("127.0.0.1", 0, "x", &error));
    EXPECT_FALSE(a.Send("::1", 10000, "x", &error)); // an IPv4 endpoint
}

TEST(UdpEndpoint, StopsAndStartsAgainAndMayStopFromItsOwnHandler)
{
    TInbox inbox;
    TUdpEndpoint peer;
    peer.SetBindAddress("127.0.0.1");
    ASSERT_TRUE(peer.Start());

    TUdpEndpoint e;
    e.SetBindAddress("127.0.0.1");
    e.OnRead = inbox.Handler([&e](const TDatagram& d) {
        if (d.Data == "quit")
            e.Stop();
    });
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(e.Start());
        ASSERT_TRUE(e.Start()); // already active: nothing happens
        const quint16 port = e.LocalPort();
        ASSERT_TRUE(peer.Send("127.0.0.1", port, "hello"));
        ASSERT_TRUE(inbox.WaitFor(size_t(round) * 2 + 1));
        e.Stop();
        EXPECT_FALSE(e.Active());
        EXPECT_EQ(e.LocalPort(), 0);
        EXPECT_FALSE(e.Send("127.0.0.1", port, "x"));

        ASSERT_TRUE(e.Start());
        ASSERT_TRUE(peer.Send("127.0.0.1", e.LocalPort(), "quit"));
        ASSERT_TRUE(inbox.WaitFor(size_t(round) * 2 + 2));
        for (int i = 0; i < 200 && e.Active(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_FALSE(e.Active());
    }
}
