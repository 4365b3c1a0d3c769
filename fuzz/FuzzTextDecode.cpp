// Decodes arbitrary bytes as a text file with each fallback encoding, then
// checks that encoding the text and decoding it again gives it back wherever
// the target encoding can hold it.

#include "platform/runtime/FileUtils.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr TTextEncoding kEncodings[] = { TTextEncoding::Ansi, TTextEncoding::UTF8, TTextEncoding::UTF8NoBOM,
    TTextEncoding::UTF16LE, TTextEncoding::UTF16BE };

bool HasLoneSurrogate(const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i;
        else if (s[i].isSurrogate())
            return true;
    }
    return false;
}

// Whether `text` survives being written in `enc`.
bool Holds(TTextEncoding enc, const QString& text)
{
    switch (enc) {
    case TTextEncoding::Ansi:
        return AnsiToUnicode(UnicodeToAnsi(text)) == text;
    case TTextEncoding::UTF8:
    case TTextEncoding::UTF8NoBOM:
        return !HasLoneSurrogate(text);
    case TTextEncoding::UTF16LE:
    case TTextEncoding::UTF16BE:
        return true;
    }
    return false;
}

void CheckRoundTrip(const QString& text)
{
    for (TTextEncoding enc : kEncodings) {
        if (!Holds(enc, text))
            continue;
        const QByteArray bytes = EncodeText(text, enc);
        if (!bytes.startsWith(EncodingPreamble(enc)))
            std::abort();
        // Without a mark of its own, text whose bytes look like a mark reads
        // differently; the mark-carrying encodings always read back.
        const bool marked = !EncodingPreamble(enc).isEmpty();
        const bool looksMarked
            = bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
        if (!marked && looksMarked)
            continue;
        TTextEncoding detected;
        if (DecodeText(bytes, enc, &detected) != text || detected != enc)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (TTextEncoding fallback : kEncodings) {
        TTextEncoding detected = fallback;
        const QString text = DecodeText(bytes, fallback, &detected);
        const QByteArray preamble = EncodingPreamble(detected);
        const qsizetype mark = !preamble.isEmpty() && bytes.startsWith(preamble) ? preamble.size() : 0;
        if (detected != fallback && mark == 0)
            std::abort(); // only a byte-order mark changes the encoding
        // Single-byte and UTF-16 texts come back byte for byte.
        if (detected == TTextEncoding::Ansi && UnicodeToAnsi(text) != bytes)
            std::abort();
        if ((detected == TTextEncoding::UTF16LE || detected == TTextEncoding::UTF16BE) && (size - mark) % 2 == 0
            && EncodeText(text, detected).mid(preamble.size()) != bytes.mid(mark))
            std::abort();
        CheckRoundTrip(text);
    }
    return 0;
}
