// Feeds arbitrary mark-up to the tag stripper, the highlighter and the
// control-tag helpers. Input: the mark-up, then after a NUL the search text.

#include "controls/base/EsgHTMLE.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf(QChar(0));
    const QString text = split < 0 ? input : input.left(split);
    const QString search = split < 0 ? QString() : input.mid(split + 1);

    StripHTMLTags(text);
    const QString highlighted = HighlightHTMLText(text, search, QStringLiteral("HI"), false);
    UnhighlightHTMLText(highlighted, QStringLiteral("HI"));
    HighlightHTMLText(text, search, QStringLiteral("E"), true);

    // Encoding then decoding gives the text back, with or without named entities.
    for (bool named : { false, true })
        if (DecodeHTMLEntities(EncodeHTMLEntities(text, named), named) != text)
            std::abort();
    DecodeHTMLEntities(text, true);
    HTMLColorFromHex(text);

    if (HasHTMLControls(text)) {
        QString id = GetNextHTMLControlID(text, QString());
        for (int guard = 0; !id.isEmpty() && guard < 64; ++guard) {
            QString value;
            GetHTMLControlValue(text, id, value);
            GetHTMLControlProp(text, id);
            GetHTMLControlMaxLen(text, id);
            QString copy = text;
            if (!SetHTMLControlValue(copy, id, search))
                std::abort(); // the ID came from the text itself
            id = GetNextHTMLControlID(text, id);
        }
        ClearHTMLRadioControls(text);
    }
    // An unknown ID leaves the text as it was.
    QString copy = text;
    if (!SetHTMLControlValue(copy, QStringLiteral("\x01no such id"), search) && copy != text)
        std::abort();
    return 0;
}
