#pragma once
// A one-thread HTTP peer on 127.0.0.1 for tests of the HTTP client and the
// version check: it reads each request header, then either hands the
// connection to the test's behaviour or answers the scripted reply.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace testutil {

// A listening socket on an ephemeral loopback port; -1 when it cannot listen.
int ListenOnLoopback(int backlog, quint16* port);
// Sends all of `data`, stopping quietly when the peer goes away.
void SendAll(int fd, const QByteArray& data);

class TLoopbackHttpServer {
public:
    // Called on the server's thread with the accepted connection once its
    // request header has been read; `stop` turns true when the server closes.
    using TBehaviour = std::function<void(int fd, const std::atomic<bool>& stop)>;

    // Without a behaviour every request gets the reply set by Answer().
    explicit TLoopbackHttpServer(TBehaviour behaviour = nullptr);
    ~TLoopbackHttpServer();
    TLoopbackHttpServer(const TLoopbackHttpServer&) = delete;
    TLoopbackHttpServer& operator=(const TLoopbackHttpServer&) = delete;

    bool Listening() const { return FListen >= 0; }
    quint16 Port() const { return FPort; }
    QString Url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(FPort).arg(path); }
    int Connections() const { return FConnections; }
    // The last request header read.
    QByteArray Request();
    // The scripted reply: the status with `body`, or, when `silent`, no answer
    // at all until the server closes.
    void Answer(int status, const QByteArray& body, bool silent = false);

private:
    void Loop();
    void AnswerScripted(int fd);

    TBehaviour FBehaviour;
    int FListen = -1;
    quint16 FPort = 0;
    std::atomic<bool> FStop { false };
    std::atomic<int> FConnections { 0 };
    std::mutex FLock;
    QByteArray FRequest;
    int FStatus = 200;
    QByteArray FBody;
    bool FSilent = false;
    std::thread FThread;
};

} // namespace testutil
