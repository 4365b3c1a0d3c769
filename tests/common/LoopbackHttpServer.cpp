#include "common/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testutil {

int ListenOnLoopback(int backlog, quint16* port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, backlog) != 0)
        return -1;
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    *port = ntohs(a.sin_port);
    return fd;
}

void SendAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + done, size_t(data.size() - done), MSG_NOSIGNAL);
        if (n <= 0)
            return;
        done += n;
    }
}

TLoopbackHttpServer::TLoopbackHttpServer(TBehaviour behaviour)
    : FBehaviour(std::move(behaviour))
{
    FListen = ListenOnLoopback(8, &FPort);
    FThread = std::thread([this] { Loop(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer()
{
    FStop = true;
    FThread.join();
    ::close(FListen);
}

QByteArray TLoopbackHttpServer::Request()
{
    std::lock_guard<std::mutex> g(FLock);
    return FRequest;
}

void TLoopbackHttpServer::Answer(int status, const QByteArray& body, bool silent)
{
    std::lock_guard<std::mutex> g(FLock);
    FStatus = status;
    FBody = body;
    FSilent = silent;
}

void TLoopbackHttpServer::Loop()
{
    while (!FStop) {
        pollfd p { FListen, POLLIN, 0 };
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const int c = ::accept(FListen, nullptr, nullptr);
        if (c < 0)
            continue;
        ++FConnections;
        QByteArray req;
        char buf[1024];
        while (!FStop && !req.contains("\r\n\r\n")) {
            pollfd q { c, POLLIN, 0 };
            if (::poll(&q, 1, 20) <= 0)
                continue;
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            req.append(buf, n);
        }
        {
            std::lock_guard<std::mutex> g(FLock);
            FRequest = req;
        }
        if (FBehaviour)
            FBehaviour(c, FStop);
        else
            AnswerScripted(c);
        ::close(c);
    }
}

void TLoopbackHttpServer::AnswerScripted(int fd)
{
    int status;
    QByteArray body;
    bool silent;
    {
        std::lock_guard<std::mutex> g(FLock);
        status = FStatus;
        body = FBody;
        silent = FSilent;
    }
    if (silent) {
        while (!FStop)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return;
    }
    SendAll(fd, "HTTP/1.0 " + QByteArray::number(status) + " X\r\nContent-Type: text/html\r\n\r\n" + body);
}

} // namespace testutil
