#include "platform/net/UdpEndpoint.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QObject>
#include <QSemaphore>
#include <QThread>
#include <QUdpSocket>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>

struct TUdpEndpoint::TImpl {
    QThread Thread;
    QObject* Context = nullptr; // lives on Thread; the socket is its child
    QUdpSocket* Socket = nullptr;
    // Guards the descriptor that senders on other threads write to while the
    // listener may be closing it.
    std::mutex SendLock;
    int Descriptor = -1;
    bool IPv6 = false;
    std::atomic<quint16> Port { 0 };
    std::atomic<bool> Active { false };

    // Runs on Thread. From inside the socket's own signal the socket may not
    // be deleted at once.
    void CloseSocket(bool insideSignal)
    {
        std::lock_guard<std::mutex> guard(SendLock);
        Descriptor = -1;
        Active = false;
        Port = 0;
        if (Socket) {
            Socket->close();
            if (insideSignal)
                Socket->deleteLater();
            else
                delete Socket;
        }
        Socket = nullptr;
    }
};

namespace {

QString PeerText(const QHostAddress& a)
{
    bool ok = false;
    const quint32 v4 = a.toIPv4Address(&ok);
    return ok ? QHostAddress(v4).toString() : a.toString();
}

bool Resolve(const QString& host, bool wantIPv6, QHostAddress& out, QString& error)
{
    QHostAddress a;
    if (!a.setAddress(host)) {
        const QHostInfo info = QHostInfo::fromName(host);
        for (const QHostAddress& c : info.addresses()) {
            if (c.protocol() == QAbstractSocket::IPv4Protocol || wantIPv6) {
                a = c;
                break;
            }
        }
        if (a.isNull()) {
            error = QStringLiteral("Cannot resolve \"%1\"").arg(host);
            return false;
        }
    }
    if (a.protocol() == QAbstractSocket::IPv6Protocol && !wantIPv6) {
        bool ok = false;
        const quint32 v4 = a.toIPv4Address(&ok);
        if (!ok) {
            error = QStringLiteral("\"%1\" is not an IPv4 address").arg(host);
            return false;
        }
        a = QHostAddress(v4);
    }
    out = a;
    return true;
}

} // namespace

TUdpEndpoint::TUdpEndpoint()
    : FImpl(std::make_unique<TImpl>())
{
}

TUdpEndpoint::~TUdpEndpoint()
{
    Stop();
}

bool TUdpEndpoint::Active() const
{
    return FImpl->Active;
}

quint16 TUdpEndpoint::LocalPort() const
{
    return FImpl->Port;
}

bool TUdpEndpoint::Start(QString* error)
{
    if (FImpl->Active)
        return true;
    Stop(); // joins a listener that an earlier Stop from OnRead left ending

    QHostAddress bindAddr(QHostAddress::AnyIPv4);
    if (!FBindAddress.isEmpty() && !bindAddr.setAddress(FBindAddress)) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a local address").arg(FBindAddress);
        return false;
    }

    TImpl* impl = FImpl.get();
    impl->Thread.setObjectName(QStringLiteral("UdpListener"));
    impl->Thread.start();
    impl->Context = new QObject;
    impl->Context->moveToThread(&impl->Thread);

    bool bound = false;
    QString problem;
    const quint16 bindPort = FBindPort;
    const TReadEvent onRead = OnRead;
    QMetaObject::invokeMethod(
        impl->Context,
        [&, impl] {
            auto* s = new QUdpSocket(impl->Context);
            if (!s->bind(bindAddr, bindPort)) {
                problem = s->errorString();
                delete s;
                return;
            }
            QObject::connect(s, &QUdpSocket::readyRead, s, [impl, s, onRead] {
                while (impl->Socket == s && s->hasPendingDatagrams()) {
                    const QNetworkDatagram d = s->receiveDatagram();
                    if (!d.isValid() || !onRead)
                        continue;
                    try {
                        onRead(d.data(), PeerText(d.senderAddress()), quint16(d.senderPort()));
                    } catch (...) {
                    }
                }
            });
            std::lock_guard<std::mutex> guard(impl->SendLock);
            impl->Socket = s;
            impl->Descriptor = int(s->socketDescriptor());
            impl->IPv6 = s->localAddress().protocol() != QAbstractSocket::IPv4Protocol;
            impl->Port = s->localPort();
            impl->Active = true;
            bound = true;
        },
        Qt::BlockingQueuedConnection);

    if (!bound) {
        Stop();
        if (error)
            *error = QStringLiteral("Cannot open a UDP port on %1: %2").arg(bindAddr.toString(), problem);
        return false;
    }
    return true;
}

void TUdpEndpoint::Stop()
{
    TImpl* impl = FImpl.get();
    if (QThread::currentThread() == &impl->Thread) {
        // Called from OnRead: the thread cannot wait for itself.
        impl->CloseSocket(true);
        impl->Thread.quit();
        return;
    }
    if (impl->Thread.isRunning() && impl->Context) {
        // The listener may already be ending (a Stop from inside OnRead asked
        // its loop to quit), and a quitting loop never runs a queued call: so
        // the close is posted and waited for only while the thread lives.
        auto done = std::make_shared<QSemaphore>();
        QMetaObject::invokeMethod(
            impl->Context,
            [impl, done] {
                impl->CloseSocket(false);
                done->release();
            },
            Qt::QueuedConnection);
        while (!done->tryAcquire(1, 5) && !impl->Thread.isFinished()) { }
    }
    impl->Thread.quit();
    impl->Thread.wait();
    {
        // The thread has ended: the socket may now be closed from here.
        std::lock_guard<std::mutex> guard(impl->SendLock);
        impl->Descriptor = -1;
        impl->Active = false;
        impl->Port = 0;
        impl->Socket = nullptr; // deleted with its parent below
    }
    delete impl->Context;
    impl->Context = nullptr;
}

bool TUdpEndpoint::Send(const QString& host, quint16 port, const QByteArray& data, QString* error)
{
    TImpl* impl = FImpl.get();
    QString problem;
    QHostAddress to;
    if (!impl->Active) {
        problem = QStringLiteral("The UDP endpoint is not open");
    } else if (port == 0) {
        problem = QStringLiteral("Port 0 is not a destination");
    } else if (Resolve(host, impl->IPv6, to, problem)) {
        sockaddr_storage sa {};
        socklen_t len = 0;
        if (impl->IPv6) {
            auto* s6 = reinterpret_cast<sockaddr_in6*>(&sa);
            s6->sin6_family = AF_INET6;
            s6->sin6_port = htons(port);
            const Q_IPV6ADDR v6 = to.protocol() == QAbstractSocket::IPv4Protocol
                ? QHostAddress(QStringLiteral("::ffff:") + to.toString()).toIPv6Address()
                : to.toIPv6Address();
            std::memcpy(&s6->sin6_addr, &v6, sizeof v6);
            len = sizeof(sockaddr_in6);
        } else {
            auto* s4 = reinterpret_cast<sockaddr_in*>(&sa);
            s4->sin_family = AF_INET;
            s4->sin_port = htons(port);
            s4->sin_addr.s_addr = htonl(to.toIPv4Address());
            len = sizeof(sockaddr_in);
        }
        std::lock_guard<std::mutex> guard(impl->SendLock);
        if (impl->Descriptor < 0) {
            problem = QStringLiteral("The UDP endpoint is not open");
        } else {
            const ssize_t sent = ::sendto(impl->Descriptor, data.constData(), size_t(data.size()), MSG_NOSIGNAL,
                reinterpret_cast<const sockaddr*>(&sa), len);
            if (sent < 0)
                problem = QStringLiteral("Cannot send to %1:%2: %3")
                              .arg(host)
                              .arg(port)
                              .arg(QString::fromLocal8Bit(std::strerror(errno)));
            else if (sent != data.size())
                problem = QStringLiteral("The datagram to %1:%2 was cut short").arg(host).arg(port);
        }
    }
    if (problem.isEmpty())
        return true;
    if (error)
        *error = problem;
    return false;
}

bool TUdpEndpoint::SendText(const QString& host, quint16 port, const QString& text, QString* error)
{
    return Send(host, port, text.toLatin1(), error);
}
