#include "platform/net/HttpClient.h"

#include <QUrl>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

QString THttpResponse::Header(const QString& name) const
{
    for (const auto& h : Headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return QString();
}

// ---------------------------------------------------------------------------
// Reply reader

THttpReplyReader::THttpReplyReader(const QString& peer, qint64 maxReplyBytes)
    : FPeer(peer)
    , FMaxReplyBytes(maxReplyBytes)
{
}

THttpReplyReader::TState THttpReplyReader::Fail(const QString& text)
{
    FResponse.Error = THttpError::heProtocol;
    FResponse.ErrorText = text;
    FResponse.Body.clear();
    FBuf.clear();
    return FState = TState::Failed;
}

THttpReplyReader::TState THttpReplyReader::Feed(const QByteArray& bytes)
{
    if (FState != TState::NeedMore)
        return FState;
    FBuf += bytes;
    if (FBodyStart < 0) {
        // Only the new bytes, and the three before them, can complete the
        // blank line: each byte is looked at a bounded number of times.
        const qsizetype from = std::max<qsizetype>(0, FScanned - 3);
        const qsizetype crlf = FBuf.indexOf("\r\n\r\n", from);
        const qsizetype bare = FBuf.indexOf("\n\n", from);
        FScanned = FBuf.size();
        if (crlf < 0 && bare < 0) {
            // No blank line can start within the limit any more. Judged on
            // what came, not on how it was cut into pieces.
            if (FBuf.size() > MaxHeaderBytes + 3)
                return Fail(QStringLiteral("The reply header from %1 is too large").arg(FPeer));
            return FState;
        }
        const bool useBare = bare >= 0 && (crlf < 0 || bare < crlf);
        const qsizetype end = useBare ? bare : crlf;
        if (end > MaxHeaderBytes)
            return Fail(QStringLiteral("The reply header from %1 is too large").arg(FPeer));
        if (ParseHead(end, useBare ? 2 : 4) == TState::Failed)
            return FState;
    }
    if (FContentLength && FBuf.size() - FBodyStart >= *FContentLength) {
        FResponse.Body = FBuf.mid(FBodyStart, *FContentLength);
        FBuf.clear();
        return FState = TState::Complete;
    }
    if (FBuf.size() > FMaxReplyBytes)
        return Fail(QStringLiteral("The reply from %1 is too large").arg(FPeer));
    return FState;
}

THttpReplyReader::TState THttpReplyReader::Closed()
{
    if (FState != TState::NeedMore)
        return FState;
    if (FBodyStart < 0)
        return Fail(FBuf.isEmpty() ? QStringLiteral("%1 closed the connection without a reply").arg(FPeer)
                                   : QStringLiteral("%1 closed the connection inside the reply header").arg(FPeer));
    const qsizetype got = FBuf.size() - FBodyStart;
    if (FContentLength && got < *FContentLength)
        return Fail(
            QStringLiteral("The reply from %1 was cut short: %2 of %3 bytes").arg(FPeer).arg(got).arg(*FContentLength));
    FResponse.Body = FBuf.mid(FBodyStart);
    FBuf.clear();
    return FState = TState::Complete;
}

THttpReplyReader::TState THttpReplyReader::ParseHead(qsizetype end, qsizetype sep)
{
    THttpResponse& r = FResponse;
    const QList<QByteArray> lines = FBuf.left(end).split('\n');
    const QByteArray status = lines.value(0).trimmed();
    // "HTTP/1.0 200 OK"
    if (!status.startsWith("HTTP/"))
        return Fail(QStringLiteral("The reply is not HTTP"));
    const qsizetype sp = status.indexOf(' ');
    const QByteArray code = sp < 0 ? QByteArray() : status.mid(sp + 1, 3);
    bool ok = code.size() == 3 && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!ok || (status.size() > sp + 4 && status.at(sp + 4) != ' '))
        return Fail(QStringLiteral("Bad status line \"%1\"").arg(QString::fromLatin1(status.left(80))));
    r.StatusCode = code.toInt();
    r.ReasonPhrase = QString::fromLatin1(status.mid(sp + 5)).trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QString name = QString::fromLatin1(line.left(colon)).trimmed();
        const QString value = QString::fromLatin1(line.mid(colon + 1)).trimmed();
        r.Headers.append({ name, value });
        if (name.compare(QLatin1String("Content-Length"), Qt::CaseInsensitive) == 0) {
            const qint64 n = value.toLongLong(&ok);
            if (!ok || n < 0 || (FContentLength && *FContentLength != n))
                return Fail(QStringLiteral("Bad Content-Length \"%1\"").arg(value.left(80)));
            FContentLength = n;
        } else if (name.compare(QLatin1String("Transfer-Encoding"), Qt::CaseInsensitive) == 0
            && value.compare(QLatin1String("identity"), Qt::CaseInsensitive) != 0) {
            return Fail(QStringLiteral("Transfer-Encoding \"%1\" is not supported").arg(value.left(80)));
        }
    }
    // These replies never carry a body.
    if (r.StatusCode == 204 || r.StatusCode == 304 || (r.StatusCode >= 100 && r.StatusCode < 200))
        FContentLength = 0;
    FBodyStart = end + sep;
    return FState;
}

// ---------------------------------------------------------------------------
// Name look-up

QStringList System_Resolve(const QString& host)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &list) != 0 || !list)
        return {};
    QStringList out;
    for (const addrinfo* a = list; a; a = a->ai_next) {
        char text[INET6_ADDRSTRLEN] = {};
        const void* raw = nullptr;
        if (a->ai_family == AF_INET)
            raw = &reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr;
        else if (a->ai_family == AF_INET6)
            raw = &reinterpret_cast<const sockaddr_in6*>(a->ai_addr)->sin6_addr;
        if (raw && ::inet_ntop(a->ai_family, raw, text, sizeof text)) {
            const QString t = QString::fromLatin1(text);
            if (!out.contains(t))
                out << t;
        }
    }
    ::freeaddrinfo(list);
    return out;
}

namespace {

using TClock = std::chrono::steady_clock;
// How often a wait looks at the cancel flag.
constexpr auto Slice = std::chrono::milliseconds(20);

bool IsToken(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u <= 32 || u >= 127 || QStringLiteral("()<>@,;:\\\"/[]?={}").contains(c))
            return false;
    }
    return true;
}

// A value that would end the header line early could smuggle in headers of
// its own.
bool IsSafeValue(const QString& s)
{
    return !s.contains(u'\r') && !s.contains(u'\n') && !s.contains(QChar(0));
}

QString ErrnoText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load();
}

TClock::time_point Earliest(TClock::time_point a, int ms, TClock::time_point total)
{
    return std::min(a + std::chrono::milliseconds(std::max(0, ms)), total);
}

enum class TWait { Ready, TimedOut, Cancelled };

TWait WaitFor(int fd, short events, TClock::time_point deadline, const std::atomic<bool>* cancel)
{
    for (;;) {
        if (Cancelled(cancel))
            return TWait::Cancelled;
        const auto now = TClock::now();
        if (now >= deadline)
            return TWait::TimedOut;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        pollfd p { fd, events, 0 };
        const int n = ::poll(&p, 1, int(std::min<qint64>(left.count() + 1, Slice.count())));
        if (n > 0)
            return TWait::Ready;
        if (n < 0 && errno != EINTR)
            return TWait::Ready; // the following call reports the error
    }
}

// A look-up that outlives its wait finishes alone: it owns its share of the
// result, so nothing it touches goes away under it.
struct TLookup {
    std::mutex Lock;
    std::condition_variable Done;
    bool Finished = false;
    QStringList Addresses;
};

TWait Resolve(const THostResolver& resolver, const QString& host, TClock::time_point deadline,
    const std::atomic<bool>* cancel, QStringList& addresses)
{
    auto lookup = std::make_shared<TLookup>();
    THostResolver fn = resolver ? resolver : THostResolver(System_Resolve);
    std::thread([lookup, fn, host]() {
        QStringList found;
        try {
            found = fn(host);
        } catch (...) {
            found.clear();
        }
        {
            std::lock_guard<std::mutex> g(lookup->Lock);
            lookup->Addresses = found;
            lookup->Finished = true;
        }
        lookup->Done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> g(lookup->Lock);
    for (;;) {
        if (lookup->Finished) {
            addresses = lookup->Addresses;
            return TWait::Ready;
        }
        if (Cancelled(cancel))
            return TWait::Cancelled;
        const auto now = TClock::now();
        if (now >= deadline)
            return TWait::TimedOut;
        lookup->Done.wait_for(g, std::min<TClock::duration>(Slice, deadline - now));
    }
}

bool IsNumericAddress(const QString& host)
{
    in6_addr buf {};
    const QByteArray h = host.toLatin1();
    return ::inet_pton(AF_INET, h.constData(), &buf) == 1 || ::inet_pton(AF_INET6, h.constData(), &buf) == 1;
}

class TSocket {
public:
    ~TSocket()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
    int Fd = -1;
};

// Connects to one address. Returns Ready with Fd set, or with `error` set
// when that address failed.
TWait ConnectTo(const QString& address, quint16 port, TClock::time_point deadline, const std::atomic<bool>* cancel,
    TSocket& s, int& error)
{
    sockaddr_storage to {};
    socklen_t len = 0;
    const QByteArray a = address.toLatin1();
    auto* v4 = reinterpret_cast<sockaddr_in*>(&to);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&to);
    if (::inet_pton(AF_INET, a.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        len = sizeof *v4;
    } else if (::inet_pton(AF_INET6, a.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        len = sizeof *v6;
    } else {
        error = EINVAL;
        return TWait::Ready;
    }
    s.Fd = ::socket(to.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s.Fd < 0) {
        error = errno;
        return TWait::Ready;
    }
    if (::connect(s.Fd, reinterpret_cast<sockaddr*>(&to), len) == 0)
        return TWait::Ready;
    if (errno != EINPROGRESS) {
        error = errno;
        return TWait::Ready;
    }
    const TWait w = WaitFor(s.Fd, POLLOUT, deadline, cancel);
    if (w != TWait::Ready)
        return w;
    int soError = 0;
    socklen_t soLen = sizeof soError;
    if (::getsockopt(s.Fd, SOL_SOCKET, SO_ERROR, &soError, &soLen) != 0)
        soError = errno;
    error = soError;
    return TWait::Ready;
}

} // namespace

void THttpClient::SetRequestHeader(const QString& name, const QString& value)
{
    for (auto& h : FHeaders) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0) {
            h.second = value;
            return;
        }
    }
    FHeaders.append({ name, value });
}

THttpResponse THttpClient::Get(const QString& url, const std::atomic<bool>* cancel) const
{
    const TClock::time_point start = TClock::now();
    const TClock::time_point total
        = FTotalTimeoutMs > 0 ? start + std::chrono::milliseconds(FTotalTimeoutMs) : TClock::time_point::max();
    auto fail = [](THttpError e, const QString& text) -> THttpResponse {
        THttpResponse r;
        r.Error = e;
        r.ErrorText = text;
        return r;
    };

    const QUrl u(url, QUrl::StrictMode);
    if (!u.isValid() || u.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) != 0 || u.host().isEmpty())
        return fail(THttpError::heBadUrl, QStringLiteral("\"%1\" is not an http address").arg(url));
    const quint16 port = quint16(u.port(80));

    QByteArray target = u.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (u.hasQuery())
        target += '?' + u.query(QUrl::FullyEncoded).toLatin1();

    QString hostHeader = u.host(QUrl::FullyEncoded);
    if (hostHeader.contains(u':'))
        hostHeader = '[' + hostHeader + ']';
    if (port != 80)
        hostHeader += ':' + QString::number(port);

    QByteArray request = "GET " + target + " HTTP/1.0\r\n";
    bool customHost = false;
    for (const auto& h : FHeaders)
        customHost = customHost || h.first.compare(QLatin1String("Host"), Qt::CaseInsensitive) == 0;
    if (!customHost)
        request += "Host: " + hostHeader.toLatin1() + "\r\n";
    for (const auto& h : FHeaders) {
        if (!IsToken(h.first) || !IsSafeValue(h.second))
            return fail(THttpError::heBadHeader, QStringLiteral("Request header \"%1\" is not valid").arg(h.first));
        request += h.first.toLatin1() + ": " + h.second.toUtf8() + "\r\n";
    }
    request += "\r\n";

    const THttpResponse cancelled = fail(THttpError::heCancelled, QStringLiteral("The request was cancelled"));
    const int connectBudget = std::min(FConnectTimeoutMs, FTotalTimeoutMs > 0 ? FTotalTimeoutMs : FConnectTimeoutMs);
    const THttpResponse connectTimedOut = fail(THttpError::heConnectTimeout,
        QStringLiteral("No connection to %1 within %2 ms").arg(hostHeader).arg(connectBudget));

    // Finding the address counts against the connect time-out: a slow name
    // service must not hold the caller past it.
    const TClock::time_point connectDeadline = Earliest(start, FConnectTimeoutMs, total);
    const QString host = u.host();
    QStringList addresses;
    if (IsNumericAddress(host)) {
        addresses << host;
    } else {
        const TWait w = Resolve(Resolver, host, connectDeadline, cancel, addresses);
        if (w == TWait::Cancelled)
            return cancelled;
        if (w == TWait::TimedOut)
            return connectTimedOut;
        if (addresses.isEmpty())
            return fail(THttpError::heConnect,
                QStringLiteral("Cannot connect to %1: the host name was not found").arg(hostHeader));
    }

    TSocket s;
    int error = 0;
    for (const QString& address : addresses) {
        TSocket attempt;
        error = 0;
        const TWait w = ConnectTo(address, port, connectDeadline, cancel, attempt, error);
        if (w == TWait::Cancelled)
            return cancelled;
        if (w == TWait::TimedOut)
            return connectTimedOut;
        if (error == 0) {
            std::swap(s.Fd, attempt.Fd);
            break;
        }
    }
    if (s.Fd < 0)
        return fail(
            THttpError::heConnect, QStringLiteral("Cannot connect to %1: %2").arg(hostHeader, ErrnoText(error)));

    const TClock::time_point readDeadline = Earliest(TClock::now(), FReadTimeoutMs, total);
    const int readBudget = FTotalTimeoutMs > 0 ? std::min(FReadTimeoutMs, FTotalTimeoutMs) : FReadTimeoutMs;
    const THttpResponse readTimedOut = fail(THttpError::heReadTimeout,
        QStringLiteral("No complete reply from %1 within %2 ms").arg(hostHeader).arg(readBudget));

    qsizetype sent = 0;
    while (sent < request.size()) {
        const TWait w = WaitFor(s.Fd, POLLOUT, readDeadline, cancel);
        if (w == TWait::Cancelled)
            return cancelled;
        if (w == TWait::TimedOut)
            return fail(
                THttpError::heReadTimeout, QStringLiteral("Sending the request to %1 timed out").arg(hostHeader));
        const ssize_t n = ::send(s.Fd, request.constData() + sent, size_t(request.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0)
            break; // the server may answer and close before reading it all
        sent += n;
    }

    THttpReplyReader reader(hostHeader, FMaxReplyBytes);
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    while (reader.State() == THttpReplyReader::TState::NeedMore) {
        const TWait w = WaitFor(s.Fd, POLLIN, readDeadline, cancel);
        if (w == TWait::Cancelled)
            return cancelled;
        if (w == TWait::TimedOut)
            return readTimedOut;
        const ssize_t n = ::recv(s.Fd, chunk.data(), size_t(chunk.size()), 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0)
            reader.Closed(); // a reset ends the reply like a close
        else
            reader.Feed(QByteArray(chunk.constData(), n));
    }
    return reader.Response();
}
