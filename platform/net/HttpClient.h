#pragma once
// A blocking HTTP/1.0 GET: one request, one reply read until the connection
// closes or Content-Length bytes have come. Redirects are returned, not
// followed. Every wait, the host name's look-up included, is bounded by a
// time-out, and a request can be cancelled from another thread, so a worker
// running it can always be stopped and joined at once.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>
#include <utility>

enum class THttpError {
    heNone,
    heBadUrl, // not an http:// address with a host
    heBadHeader, // a request header that would break the request
    heConnect, // refused, unreachable, or the host name not found
    heConnectTimeout, // no address or no connection within the time-out
    heReadTimeout,
    heProtocol, // a reply that is not HTTP, or cut short
    heCancelled // the caller gave up
};

struct THttpResponse {
    THttpError Error = THttpError::heNone;
    QString ErrorText;
    int StatusCode = 0;
    QString ReasonPhrase;
    QList<std::pair<QString, QString>> Headers;
    QByteArray Body;

    // A whole reply came and its status is 2xx.
    bool Succeeded() const { return Error == THttpError::heNone && StatusCode >= 200 && StatusCode < 300; }
    // First header of that name, compared without case.
    QString Header(const QString& name) const;
};

// Reads a reply as it comes off the wire, in pieces of any size: the status
// line and headers, then the body up to Content-Length or the end of the
// connection. Work is linear in the bytes fed.
class THttpReplyReader {
public:
    enum class TState { NeedMore, Complete, Failed };

    // `peer` names the server in error texts.
    explicit THttpReplyReader(const QString& peer = QString(), qint64 maxReplyBytes = 16 * 1024 * 1024);

    // Takes the next bytes; nothing more is taken once complete or failed.
    TState Feed(const QByteArray& bytes);
    // The peer closed the connection: what came is the whole reply, or it
    // was cut short.
    TState Closed();
    TState State() const { return FState; }
    // The reply so far; its Error says why it failed.
    const THttpResponse& Response() const { return FResponse; }

    // A header block that never ends is no reply.
    static constexpr qsizetype MaxHeaderBytes = 64 * 1024;

private:
    TState Fail(const QString& text);
    TState ParseHead(qsizetype end, qsizetype sep);

    QString FPeer;
    qint64 FMaxReplyBytes;
    TState FState = TState::NeedMore;
    THttpResponse FResponse;
    QByteArray FBuf;
    qsizetype FScanned = 0; // the blank line is searched for from here on
    qsizetype FBodyStart = -1; // -1: the header block is not complete yet
    std::optional<qint64> FContentLength;
};

// Address texts for a host name, in the order to try; empty when it has none.
// It may take as long as the name service does: the client runs it beside
// the request and stops waiting at its time-out.
using THostResolver = std::function<QStringList(const QString& host)>;
// The system's name service.
QStringList System_Resolve(const QString& host);

class THttpClient {
public:
    // Limit for finding the host's address and connecting.
    int ConnectTimeoutMs() const { return FConnectTimeoutMs; }
    void SetConnectTimeoutMs(int ms) { FConnectTimeoutMs = ms; }
    // Limit for the whole reply once connected.
    int ReadTimeoutMs() const { return FReadTimeoutMs; }
    void SetReadTimeoutMs(int ms) { FReadTimeoutMs = ms; }
    // Limit for the whole request, look-up to last byte; 0 for none.
    int TotalTimeoutMs() const { return FTotalTimeoutMs; }
    void SetTotalTimeoutMs(int ms) { FTotalTimeoutMs = ms; }
    // Replies larger than this are refused rather than filling the memory.
    qint64 MaxReplyBytes() const { return FMaxReplyBytes; }
    void SetMaxReplyBytes(qint64 bytes) { FMaxReplyBytes = bytes; }

    // Sent in the order set, after Host; setting a name again replaces its value.
    void SetRequestHeader(const QString& name, const QString& value);
    void ClearRequestHeaders() { FHeaders.clear(); }
    const QList<std::pair<QString, QString>>& RequestHeaders() const { return FHeaders; }

    // Looks up host names; empty means the system's name service. Not asked
    // for an address written as numbers.
    THostResolver Resolver;

    // Blocks the calling thread until the reply is read, a time-out passes
    // or `cancel` turns true (looked at every few milliseconds).
    THttpResponse Get(const QString& url, const std::atomic<bool>* cancel = nullptr) const;

private:
    int FConnectTimeoutMs = 10000;
    int FReadTimeoutMs = 10000;
    int FTotalTimeoutMs = 0;
    qint64 FMaxReplyBytes = 16 * 1024 * 1024;
    QList<std::pair<QString, QString>> FHeaders;
};
