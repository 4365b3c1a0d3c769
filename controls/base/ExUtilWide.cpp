// The wide-encoded cell text and the "HTML Format" clipboard block.

#include "controls/base/ExUtil.h"

namespace {

const QLatin1String kWideMarker("|\\");

QString Digits8(int value)
{
    return QStringLiteral("%1").arg(value, 8, 10, QLatin1Char('0'));
}

} // namespace

QString EncodeWideText(const QString& Wide)
{
    QString s;
    s.reserve(2 + 2 * Wide.length());
    s += kWideMarker;
    for (QChar c : Wide) {
        s += QChar(c.unicode() >> 8);
        s += QChar(c.unicode() & 0xFF);
    }
    return s;
}

QString DecodeWideText(const QString& Text)
{
    if (!Text.startsWith(kWideMarker))
        return Text;
    const int pairs = (int(Text.length()) - 2) / 2;
    QString s(pairs, Qt::Uninitialized);
    for (int i = 0; i < pairs; ++i) {
        const unsigned hi = Text[2 + 2 * i].unicode();
        const unsigned lo = Text[3 + 2 * i].unicode();
        s[i] = QChar(static_cast<char16_t>((hi * 256 + lo) & 0xFFFF));
    }
    return s;
}

void WriteHTMLClipboardFragment(QString& Text)
{
    // The offsets count characters and the block is declared as ISO-8859-1:
    // characters beyond it go in as numeric references, so they survive and
    // every character stays one byte.
    QString fragment;
    fragment.reserve(Text.length());
    for (int i = 0; i < Text.length(); ++i) {
        const QChar c = Text[i];
        if (c.unicode() <= 0xFF) {
            fragment += c;
            continue;
        }
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < Text.length() && Text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, Text[i + 1]);
            ++i;
        }
        fragment += QStringLiteral("&#%1;").arg(static_cast<uint>(code));
    }
    const int f = int(fragment.length());
    QString s;
    s += QLatin1String("Version:1.0\r\n");
    s += QLatin1String("StartHTML:") + Digits8(97) + QLatin1String("\r\n");
    s += QLatin1String("EndHTML:") + Digits8(f + 306) + QLatin1String("\r\n");
    s += QLatin1String("StartFragment:") + Digits8(274) + QLatin1String("\r\n");
    s += QLatin1String("EndFragment:") + Digits8(f + 274) + QLatin1String("\r\n");
    s += QLatin1String("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    s += QLatin1String("<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\">"
                       "</head><body><!--StartFragment-->");
    s += fragment;
    s += QLatin1String("<!--EndFragment--></body></html>");
    Text = s;
}
