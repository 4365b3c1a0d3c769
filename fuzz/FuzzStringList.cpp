// Splits arbitrary text into a string list as lines, as comma text and as
// delimited text with a random delimiter and quote character, and checks the
// round trips the formats guarantee. Input: the delimiter and the quote
// character as two UTF-16 code units, one option byte (bit 0 strict
// delimiter, bit 1 a NUL quote character), then the text as UTF-8.

#include "platform/runtime/Classes.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QStringList Items(const TStrings& list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << list.Strings(i);
    return out;
}

// Reads `text` into a list and writes it back; the written form must read
// back to the same items.
void CheckCommaText(const QString& text, bool strict)
{
    TStringList list;
    list.SetStrictDelimiter(strict);
    list.SetCommaText(text);
    const QStringList items = Items(list);
    TStringList again;
    again.SetStrictDelimiter(strict);
    again.SetCommaText(list.CommaText());
    if (Items(again) != items)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const QChar delim(char16_t(data[0] | (data[1] << 8)));
    const bool strict = (data[4] & 1) != 0;
    const QChar quote = (data[4] & 2) ? QChar() : QChar(char16_t(data[2] | (data[3] << 8)));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 5), qsizetype(size - 5));

    // Lines: the text of the list reads back to the same lines.
    TStringList lines;
    lines.SetText(text);
    for (int i = 0; i < lines.Count(); ++i)
        if (lines.Strings(i).contains(QLatin1Char('\r')) || lines.Strings(i).contains(QLatin1Char('\n')))
            std::abort();
    TStringList linesAgain;
    linesAgain.SetText(lines.Text());
    if (Items(linesAgain) != Items(lines))
        std::abort();

    CheckCommaText(text, strict);
    // Items that came from lines, whatever they hold, survive comma text too.
    for (bool s : { false, true }) {
        lines.SetStrictDelimiter(s);
        TStringList back;
        back.SetStrictDelimiter(s);
        back.SetCommaText(lines.CommaText());
        if (Items(back) != Items(lines))
            std::abort();
    }

    TStringList list;
    list.SetDelimiter(delim);
    list.SetQuoteChar(quote);
    list.SetStrictDelimiter(strict);
    list.SetDelimitedText(text);
    const QString written = list.DelimitedText();
    // A round trip needs a quote character distinct from the delimiter, and a
    // delimiter and quote that are no blanks unless blanks are plain
    // characters.
    const bool guaranteed
        = !quote.isNull() && quote != delim && (strict || (delim.unicode() > u' ' && quote.unicode() > u' '));
    if (guaranteed) {
        TStringList again;
        again.SetDelimiter(delim);
        again.SetQuoteChar(quote);
        again.SetStrictDelimiter(strict);
        again.SetDelimitedText(written);
        if (Items(again) != Items(list))
            std::abort();
    }
    // The items of any list survive comma text.
    TStringList comma;
    comma.SetStrictDelimiter(strict);
    comma.SetCommaText(list.CommaText());
    if (Items(comma) != Items(list))
        std::abort();
    return 0;
}
