#include "platform/net/HttpClient.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QUrl>
#include <algorithm>
#include <optional>

QString THttpResponse::Header(const QString& name) const
{
    for (const auto& h : Headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return QString();
}

namespace {

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

constexpr qsizetype MaxHeaderBytes = 64 * 1024;

qint64 Left(const QElapsedTimer& clock, int limitMs)
{
    return std::max<qint64>(0, limitMs - clock.elapsed());
}

struct THead {
    qsizetype BodyStart = -1; // -1: the header block is not complete yet
    std::optional<qint64> ContentLength;
};

// Parses status line and headers once the blank line has come. Returns an
// error text for a reply that is not HTTP.
QString ParseHead(const QByteArray& buf, THttpResponse& r, THead& head)
{
    qsizetype end = buf.indexOf("\r\n\r\n");
    qsizetype sep = 4;
    const qsizetype bare = buf.indexOf("\n\n");
    if (bare >= 0 && (end < 0 || bare < end)) {
        end = bare;
        sep = 2;
    }
    if (end < 0)
        return QString();
    const QList<QByteArray> lines = buf.left(end).split('\n');
    const QByteArray status = lines.value(0).trimmed();
    // "HTTP/1.0 200 OK"
    if (!status.startsWith("HTTP/"))
        return QStringLiteral("The reply is not HTTP");
    const qsizetype sp = status.indexOf(' ');
    const QByteArray code = sp < 0 ? QByteArray() : status.mid(sp + 1, 3);
    bool ok = code.size() == 3 && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!ok || (status.size() > sp + 4 && status.at(sp + 4) != ' '))
        return QStringLiteral("Bad status line \"%1\"").arg(QString::fromLatin1(status.left(80)));
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
            if (!ok || n < 0 || (head.ContentLength && *head.ContentLength != n))
                return QStringLiteral("Bad Content-Length \"%1\"").arg(value);
            head.ContentLength = n;
        } else if (name.compare(QLatin1String("Transfer-Encoding"), Qt::CaseInsensitive) == 0
            && value.compare(QLatin1String("identity"), Qt::CaseInsensitive) != 0) {
            return QStringLiteral("Transfer-Encoding \"%1\" is not supported").arg(value);
        }
    }
    // These replies never carry a body.
    if (r.StatusCode == 204 || r.StatusCode == 304 || (r.StatusCode >= 100 && r.StatusCode < 200))
        head.ContentLength = 0;
    head.BodyStart = end + sep;
    return QString();
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

THttpResponse THttpClient::Get(const QString& url) const
{
    THttpResponse r;
    auto fail = [&r](THttpError e, const QString& text) -> THttpResponse {
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

    QTcpSocket s;
    s.connectToHost(u.host(), port);
    if (!s.waitForConnected(std::max(0, FConnectTimeoutMs))) {
        if (s.error() == QAbstractSocket::SocketTimeoutError || s.state() != QAbstractSocket::UnconnectedState) {
            s.abort();
            return fail(THttpError::heConnectTimeout,
                QStringLiteral("No connection to %1 within %2 ms").arg(hostHeader).arg(FConnectTimeoutMs));
        }
        return fail(THttpError::heConnect, QStringLiteral("Cannot connect to %1: %2").arg(hostHeader, s.errorString()));
    }

    QElapsedTimer clock;
    clock.start();
    s.write(request);
    while (s.bytesToWrite() > 0) {
        if (Left(clock, FReadTimeoutMs) == 0 || !s.waitForBytesWritten(int(Left(clock, FReadTimeoutMs)))) {
            if (s.state() != QAbstractSocket::ConnectedState)
                break; // the server may answer and close before reading it all
            s.abort();
            return fail(
                THttpError::heReadTimeout, QStringLiteral("Sending the request to %1 timed out").arg(hostHeader));
        }
    }

    QByteArray buf;
    THead head;
    bool closed = false;
    for (;;) {
        buf += s.readAll();
        if (buf.size() > FMaxReplyBytes) {
            s.abort();
            return fail(THttpError::heProtocol, QStringLiteral("The reply from %1 is too large").arg(hostHeader));
        }
        if (head.BodyStart < 0) {
            const QString problem = ParseHead(buf, r, head);
            if (!problem.isEmpty()) {
                s.abort();
                return fail(THttpError::heProtocol, problem);
            }
            // A header that never ends is no reply; it would otherwise be
            // searched again on every read until the time-out.
            if (head.BodyStart < 0 && buf.size() > MaxHeaderBytes) {
                s.abort();
                return fail(
                    THttpError::heProtocol, QStringLiteral("The reply header from %1 is too large").arg(hostHeader));
            }
        }
        if (head.BodyStart >= 0 && head.ContentLength && buf.size() - head.BodyStart >= *head.ContentLength)
            break;
        if (closed)
            break;
        if (s.state() != QAbstractSocket::ConnectedState) {
            closed = true;
            continue; // take what is still buffered
        }
        const qint64 left = Left(clock, FReadTimeoutMs);
        if (left == 0 || (!s.waitForReadyRead(int(left)) && s.error() == QAbstractSocket::SocketTimeoutError)) {
            s.abort();
            r.Body.clear();
            return fail(THttpError::heReadTimeout,
                QStringLiteral("No complete reply from %1 within %2 ms").arg(hostHeader).arg(FReadTimeoutMs));
        }
    }
    s.abort();

    if (head.BodyStart < 0)
        return fail(THttpError::heProtocol,
            buf.isEmpty() ? QStringLiteral("%1 closed the connection without a reply").arg(hostHeader)
                          : QStringLiteral("%1 closed the connection inside the reply header").arg(hostHeader));
    r.Body = buf.mid(head.BodyStart);
    if (head.ContentLength) {
        if (r.Body.size() < *head.ContentLength)
            return fail(THttpError::heProtocol,
                QStringLiteral("The reply from %1 was cut short: %2 of %3 bytes")
                    .arg(hostHeader)
                    .arg(r.Body.size())
                    .arg(*head.ContentLength));
        r.Body.truncate(*head.ContentLength);
    }
    return r;
}
