// Reads arbitrary bytes as a reply to the version request, as a misbehaving
// or hostile server could send them, through the reader the HTTP client uses
// on the wire. The first byte sets the size of the pieces the bytes arrive
// in (0: all at once). The reading never fails, keeps within its limits, and
// reads the same whatever the pieces.

#include "FuzzSupport.h"
#include "platform/net/HttpClient.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return Fuzz_Default_Max_Len(argc, argv);
}

namespace {

constexpr qint64 Max_Reply = 256 * 1024;

THttpReplyReader Read(const QByteArray& reply, qsizetype piece)
{
    THttpReplyReader reader(QStringLiteral("peer"), Max_Reply);
    for (qsizetype at = 0; at < reply.size() && reader.State() == THttpReplyReader::TState::NeedMore; at += piece)
        reader.Feed(reply.mid(at, piece));
    reader.Closed();
    return reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray reply(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const qsizetype piece = data[0] == 0 ? std::max<qsizetype>(1, reply.size()) : qsizetype(data[0]);

    const THttpReplyReader whole = Read(reply, std::max<qsizetype>(1, reply.size()));
    const THttpReplyReader pieces = Read(reply, piece);
    for (const THttpReplyReader* r : { &whole, &pieces }) {
        const THttpResponse& resp = r->Response();
        switch (r->State()) {
        case THttpReplyReader::TState::Complete:
            if (resp.Error != THttpError::heNone || resp.StatusCode < 0 || resp.StatusCode > 999
                || resp.Body.size() > reply.size() || resp.Body.size() > Max_Reply)
                std::abort();
            break;
        case THttpReplyReader::TState::Failed:
            if (resp.Error != THttpError::heProtocol || resp.ErrorText.isEmpty() || !resp.Body.isEmpty()
                || resp.Succeeded())
                std::abort();
            break;
        default:
            std::abort(); // a closed connection always ends the reply
        }
    }
    if (whole.State() != pieces.State() || whole.Response().StatusCode != pieces.Response().StatusCode
        || whole.Response().Body != pieces.Response().Body || whole.Response().Headers != pieces.Response().Headers)
        std::abort();
    return 0;
}
