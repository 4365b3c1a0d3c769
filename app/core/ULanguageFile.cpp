#include "app/core/ULanguageFile.h"

#include "app/core/ULanguageTexts.h"

QStringList Lang_Default_Table()
{
    QStringList table(Lang_Table_Size, QStringLiteral(" "));
    for (int i = 0; i < Lang_Default_Text_Count; ++i) {
        const TLangDefaultText& t = Lang_Default_Texts[i];
        if (t.Index >= 0 && t.Index < Lang_Table_Size)
            table[t.Index] = QString::fromUtf16(t.Text);
    }
    return table;
}

QByteArray Lang_File_Bytes(const QStringList& texts)
{
    const QChar pilcrow(0x00B6);
    // The loader trims blanks and control characters from a line and its text.
    auto trimmed = [](QChar c) { return c.unicode() <= u' '; };
    QString out = QStringLiteral("Language file of the configurator's built-in English texts\r\n");
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString& text = texts.at(i);
        const bool keep = text.isEmpty() || trimmed(text.front()) || trimmed(text.back());
        out += QStringLiteral("STR") + QString::number(i) + QStringLiteral(" = ")
            + (keep ? pilcrow + text + pilcrow : text) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}
