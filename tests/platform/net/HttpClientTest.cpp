#include "platform/net/HttpClient.h"

#include "common/LoopbackHttpServer.h"

#include <QElapsedTimer>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using testutil::ListenOnLoopback;
using testutil::SendAll;
using TTinyServer = testutil::TLoopbackHttpServer;

TTinyServer::TBehaviour Reply(QByteArray bytes, bool keepOpen = false)
{
    return [bytes, keepOpen](int fd, const std::atomic<bool>& stop) {
        SendAll(fd, bytes);
        while (keepOpen && !stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
}

void WaitUntilStopped(int, const std::atomic<bool>& stop)
{
    while (!stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

} // namespace

// The version check's request: HTTP/1.0, the query as given, the tool's own
// headers in their order.
TEST(HttpClient, SendsTheRequestAndReadsTheReply)
{
    TTinyServer server(Reply("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: 11\r\n\r\nVER. 1.103\n"));
    THttpClient http;
    http.SetRequestHeader("Accept", "text/html,*/*;q=0.8");
    http.SetRequestHeader("User-Agent", "Configurator");
    http.SetRequestHeader("accept", "text/html,application/xhtml+xml,*/*;q=0.8"); // replaces, keeps its place
    const THttpResponse r = http.Get(server.Url("/version/check.php?nomesw=RT41208"));
    ASSERT_EQ(r.Error, THttpError::heNone) << r.ErrorText.toStdString();
    EXPECT_TRUE(r.Succeeded());
    EXPECT_EQ(r.StatusCode, 200);
    EXPECT_EQ(r.ReasonPhrase, "OK");
    EXPECT_EQ(r.Header("content-type"), "text/html");
    EXPECT_EQ(r.Body, "VER. 1.103\n");
    EXPECT_EQ(server.Request(),
        QString("GET /version/check.php?nomesw=RT41208 HTTP/1.0\r\nHost: 127.0.0.1:%1\r\n"
                "Accept: text/html,application/xhtml+xml,*/*;q=0.8\r\nUser-Agent: Configurator\r\n\r\n")
            .arg(server.Port())
            .toLatin1());
}

TEST(HttpClient, ReadsTheBodyUntilCloseOrContentLength)
{
    struct Case {
        const char* what;
        TTinyServer::TBehaviour behaviour;
        int status;
        QByteArray body;
        THttpError error;
    };
    const QByteArray big(200000, 'b');
    const Case cases[] = {
        { "no length: body until close", Reply("HTTP/1.0 200 OK\r\n\r\nVER. 1.102"), 200, "VER. 1.102",
            THttpError::heNone },
        { "body in pieces",
            [](int fd, const std::atomic<bool>&) {
                SendAll(fd, "HTTP/1.0 200 OK\r\nServer: t\r\n");
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                SendAll(fd, "\r\nVER. ");
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                SendAll(fd, "1.102");
            },
            200, "VER. 1.102", THttpError::heNone },
        { "length reached while the server keeps the line open",
            Reply("HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\nVER.extra", true), 200, "VER.", THttpError::heNone },
        { "large body", Reply("HTTP/1.0 200 OK\r\nContent-Length: 200000\r\n\r\n" + big), 200, big,
            THttpError::heNone },
        { "bare line ends", Reply("HTTP/1.0 200 OK\nContent-Length: 2\n\nok"), 200, "ok", THttpError::heNone },
        { "empty body", Reply("HTTP/1.0 204 No Content\r\n\r\n", true), 204, "", THttpError::heNone },
        { "redirect returned, not followed",
            Reply("HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:1/elsewhere\r\n\r\nmoved"), 302, "moved",
            THttpError::heNone },
        { "error status", Reply("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nno!"), 404, "no!",
            THttpError::heNone },
        { "cut short", Reply("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nVER. 1.1"), 200, "",
            THttpError::heProtocol },
        { "not HTTP", Reply("VER. 1.103\r\n\r\n"), 0, "", THttpError::heProtocol },
        { "bad status", Reply("HTTP/1.0 2x0 OK\r\n\r\n"), 0, "", THttpError::heProtocol },
        { "bad length", Reply("HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\n"), 200, "", THttpError::heProtocol },
        { "chunked", Reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n"), 200, "",
            THttpError::heProtocol },
        { "closed without reply", Reply(""), 0, "", THttpError::heProtocol },
        { "closed inside the header", Reply("HTTP/1.0 200 OK\r\nContent-"), 0, "", THttpError::heProtocol },
        { "header that never ends", Reply("HTTP/1.0 200 OK\r\nX: " + QByteArray(100000, 'h'), true), 0, "",
            THttpError::heProtocol },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTinyServer server(c.behaviour);
        THttpClient http;
        http.SetReadTimeoutMs(5000);
        const THttpResponse r = http.Get(server.Url("/v"));
        EXPECT_EQ(r.Error, c.error) << r.ErrorText.toStdString();
        EXPECT_EQ(r.Error == THttpError::heNone, r.ErrorText.isEmpty());
        if (c.error == THttpError::heNone) {
            EXPECT_EQ(r.StatusCode, c.status);
            EXPECT_EQ(r.Body, c.body);
        }
        EXPECT_FALSE(c.error != THttpError::heNone && r.Succeeded());
        EXPECT_EQ(server.Connections(), 1);
    }
}

TEST(HttpClient, GivesUpOnAServerThatNeverAnswers)
{
    TTinyServer server(WaitUntilStopped);
    THttpClient http;
    http.SetReadTimeoutMs(300);
    QElapsedTimer clock;
    clock.start();
    const THttpResponse r = http.Get(server.Url("/"));
    EXPECT_EQ(r.Error, THttpError::heReadTimeout);
    EXPECT_FALSE(r.Succeeded());
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_LT(clock.elapsed(), 5000);
}

// A listener whose queue is full lets the connection attempt hang, like a
// host that does not answer.
TEST(HttpClient, GivesUpConnectingAfterTheConnectTimeOut)
{
    quint16 port = 0;
    const int fd = ListenOnLoopback(0, &port);
    ASSERT_GE(fd, 0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
        fillers.push_back(c);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    THttpClient http;
    http.SetConnectTimeoutMs(300);
    http.SetReadTimeoutMs(300);
    QElapsedTimer clock;
    clock.start();
    const THttpResponse r = http.Get(QString("http://127.0.0.1:%1/").arg(port));
    EXPECT_EQ(r.Error, THttpError::heConnectTimeout) << r.ErrorText.toStdString();
    EXPECT_LT(clock.elapsed(), 5000);
    for (int c : fillers)
        ::close(c);
    ::close(fd);
}

TEST(HttpClient, RefusedAndInvalidRequestsFailAtOnce)
{
    // A port held by a socket that does not listen refuses connections, and no
    // other program can take it meanwhile.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len), 0);
    THttpClient http;
    THttpResponse r = http.Get(QString("http://127.0.0.1:%1/").arg(ntohs(a.sin_port)));
    ::close(fd);
    EXPECT_EQ(r.Error, THttpError::heConnect);
    EXPECT_FALSE(r.ErrorText.isEmpty());

    const char* badUrls[] = { "", "not a url", "https://127.0.0.1/", "ftp://127.0.0.1/", "http:///path" };
    for (const char* url : badUrls) {
        SCOPED_TRACE(url);
        EXPECT_EQ(http.Get(url).Error, THttpError::heBadUrl);
    }

    TTinyServer server(Reply("HTTP/1.0 200 OK\r\n\r\n"));
    const std::pair<const char*, const char*> badHeaders[]
        = { { "X-Test", "a\r\nInjected: 1" }, { "Bad Name", "v" }, { "", "v" }, { "X-Test", "a\nb" } };
    for (const auto& [name, value] : badHeaders) {
        SCOPED_TRACE(name);
        THttpClient h;
        h.SetRequestHeader(name, value);
        EXPECT_EQ(h.Get(server.Url("/")).Error, THttpError::heBadHeader);
    }
    EXPECT_EQ(server.Connections(), 0);
}

// --- Name look-up, overall limit and cancelling ------------------------------

namespace {

// A look-up that the test holds until it opens the gate. Shared, because a
// look-up given up on finishes alone after the test has ended.
struct TGate {
    std::atomic<bool> Open { false };
    std::atomic<int> Asked { 0 };
    void Wait() const
    {
        const auto cap = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!Open && std::chrono::steady_clock::now() < cap)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
};

} // namespace

TEST(HttpClient, LooksUpTheHostWithinTheConnectTimeOut)
{
    TTinyServer server(Reply("HTTP/1.0 200 OK\r\n\r\nok"));
    const QString url = QStringLiteral("http://version-script.test:%1/v").arg(server.Port());
    auto gate = std::make_shared<TGate>();
    struct Case {
        const char* what;
        THostResolver resolver;
        THttpError error;
    } cases[] = {
        { "found", [](const QString&) { return QStringList { "127.0.0.1" }; }, THttpError::heNone },
        { "a useless address first",
            [](const QString&) {
                return QStringList { "no address", "127.0.0.1" };
            },
            THttpError::heNone },
        { "not found", [](const QString&) { return QStringList(); }, THttpError::heConnect },
        { "the name service fails", [](const QString&) -> QStringList { throw std::runtime_error("down"); },
            THttpError::heConnect },
        // A name service that takes longer than the time-out: the request
        // ends at the time-out, not when the look-up does.
        { "no answer in time",
            [gate](const QString&) {
                gate->Wait();
                return QStringList { "127.0.0.1" };
            },
            THttpError::heConnectTimeout },
    };
    QStringList asked;
    std::mutex lock;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        THttpClient http;
        http.SetConnectTimeoutMs(300);
        http.Resolver = [&asked, &lock, fn = c.resolver](const QString& host) {
            {
                std::lock_guard<std::mutex> g(lock);
                asked << host;
            }
            return fn(host);
        };
        QElapsedTimer clock;
        clock.start();
        const THttpResponse r = http.Get(url);
        EXPECT_EQ(r.Error, c.error) << r.ErrorText.toStdString();
        EXPECT_LT(clock.elapsed(), 300 + 1500);
        if (c.error == THttpError::heNone) {
            EXPECT_EQ(r.Body, "ok");
            EXPECT_TRUE(server.Request().contains(
                QStringLiteral("\r\nHost: version-script.test:%1\r\n").arg(server.Port()).toLatin1()));
        }
        if (c.error == THttpError::heConnectTimeout) {
            EXPECT_GE(clock.elapsed(), 290);
        }
    }
    gate->Open = true;
    std::lock_guard<std::mutex> g(lock);
    EXPECT_EQ(asked, QStringList(std::size(cases), "version-script.test"));
    // An address written as numbers is not looked up.
    THttpClient http;
    http.Resolver = [](const QString&) -> QStringList { throw std::logic_error("asked"); };
    EXPECT_EQ(http.Get(server.Url("/v")).Error, THttpError::heNone);
}

TEST(HttpClient, TheTotalTimeOutBoundsLookUpConnectAndReply)
{
    TTinyServer server(WaitUntilStopped);
    THttpClient http;
    http.SetConnectTimeoutMs(5000);
    http.SetReadTimeoutMs(5000);
    http.SetTotalTimeoutMs(400);
    http.Resolver = [](const QString&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return QStringList { "127.0.0.1" };
    };
    QElapsedTimer clock;
    clock.start();
    const THttpResponse r = http.Get(QStringLiteral("http://version-script.test:%1/").arg(server.Port()));
    EXPECT_EQ(r.Error, THttpError::heReadTimeout) << r.ErrorText.toStdString();
    EXPECT_GE(clock.elapsed(), 390);
    EXPECT_LT(clock.elapsed(), 400 + 1500);
}

// Another thread gives up on the request: it ends at once, in the look-up or
// in the wait for the reply.
TEST(HttpClient, CancellingEndsTheRequestAtOnce)
{
    TTinyServer server(WaitUntilStopped);
    auto gate = std::make_shared<TGate>();
    const QString byName = QStringLiteral("http://version-script.test:%1/").arg(server.Port());
    const std::pair<const char*, QString> cases[] = { { "look-up", byName }, { "reply", server.Url("/") } };
    for (const auto& [what, url] : cases) {
        SCOPED_TRACE(what);
        THttpClient http;
        http.SetConnectTimeoutMs(20000);
        http.SetReadTimeoutMs(20000);
        http.Resolver = [gate](const QString&) {
            gate->Wait();
            return QStringList { "127.0.0.1" };
        };
        std::atomic<bool> cancel { false };
        std::thread canceller([&cancel] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            cancel = true;
        });
        QElapsedTimer clock;
        clock.start();
        const THttpResponse r = http.Get(url, &cancel);
        canceller.join();
        EXPECT_EQ(r.Error, THttpError::heCancelled) << r.ErrorText.toStdString();
        EXPECT_LT(clock.elapsed(), 2000);
    }
    gate->Open = true;
}

// The reader takes a reply in pieces of any size, as the network delivers
// it: the same reply whole, byte by byte or in odd pieces reads the same.
TEST(HttpReplyReader, PiecesOfAnySizeReadAsTheWholeReply)
{
    const struct {
        const char* what;
        QByteArray reply;
        bool closeAtEnd;
        THttpReplyReader::TState state;
        int status;
        QByteArray body;
    } cases[] = {
        { "length", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nVER. 1.103tail", false,
            THttpReplyReader::TState::Complete, 200, "VER. 1.103" },
        { "until close", "HTTP/1.0 200 OK\r\nX: y\r\n\r\nVER. 1.103", true, THttpReplyReader::TState::Complete, 200,
            "VER. 1.103" },
        { "bare line ends", "HTTP/1.0 404 No\n\nmissing", true, THttpReplyReader::TState::Complete, 404, "missing" },
        { "cut short", "HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nVER.", true, THttpReplyReader::TState::Failed, 0,
            "" },
        { "header without end", "HTTP/1.0 200 OK\r\nX: " + QByteArray(70000, 'h'), false,
            THttpReplyReader::TState::Failed, 0, "" },
        { "not HTTP", "SSH-2.0\r\n\r\n", false, THttpReplyReader::TState::Failed, 0, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const qsizetype piece : { qsizetype(1), qsizetype(7), c.reply.size() }) {
            SCOPED_TRACE(piece);
            THttpReplyReader reader(QStringLiteral("peer"));
            for (qsizetype at = 0; at < c.reply.size() && reader.State() == THttpReplyReader::TState::NeedMore;
                 at += piece)
                reader.Feed(c.reply.mid(at, piece));
            if (c.closeAtEnd)
                reader.Closed();
            ASSERT_EQ(reader.State(), c.state) << reader.Response().ErrorText.toStdString();
            if (c.state == THttpReplyReader::TState::Complete) {
                EXPECT_EQ(reader.Response().StatusCode, c.status);
                EXPECT_EQ(reader.Response().Body, c.body);
            } else {
                EXPECT_EQ(reader.Response().Error, THttpError::heProtocol);
                EXPECT_FALSE(reader.Response().ErrorText.isEmpty());
            }
        }
    }
}
