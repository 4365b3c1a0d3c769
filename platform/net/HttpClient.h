#pragma once
// A blocking HTTP/1.0 GET: one request, one reply read until the connection
// closes or Content-Length bytes have come. Redirects are returned, not
// followed. Used by the version check on the main thread, so every wait is
// bounded by a time-out.

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

enum class THttpError {
    heNone,
    heBadUrl, // not an http:// address with a host
    heBadHeader, // a request header that would break the request
    heConnect, // refused, unreachable, or the host name not found
    heConnectTimeout,
    heReadTimeout,
    heProtocol // a reply that is not HTTP, or cut short
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

class THttpClient {
public:
    int ConnectTimeoutMs() const { return FConnectTimeoutMs; }
    void SetConnectTimeoutMs(int ms) { FConnectTimeoutMs = ms; }
    // Limit for the whole reply once the request is sent.
    int ReadTimeoutMs() const { return FReadTimeoutMs; }
    void SetReadTimeoutMs(int ms) { FReadTimeoutMs = ms; }
    // Replies larger than this are refused rather than filling the memory.
    qint64 MaxReplyBytes() const { return FMaxReplyBytes; }
    void SetMaxReplyBytes(qint64 bytes) { FMaxReplyBytes = bytes; }

    // Sent in the order set, after Host; setting a name again replaces its value.
    void SetRequestHeader(const QString& name, const QString& value);
    void ClearRequestHeaders() { FHeaders.clear(); }
    const QList<std::pair<QString, QString>>& RequestHeaders() const { return FHeaders; }

    THttpResponse Get(const QString& url) const;

private:
    int FConnectTimeoutMs = 10000;
    int FReadTimeoutMs = 10000;
    qint64 FMaxReplyBytes = 16 * 1024 * 1024;
    QList<std::pair<QString, QString>> FHeaders;
};
