#include "app/core/ULanguage.h"

#include "app/core/UComon.h"
#include "app/core/ULanguageTexts.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

QStringList LanguageTable;
int Lang_Count = 0;

namespace {
constexpr int LangSlots = 2900;
const QChar Pilcrow(0x00B6);
} // namespace

void Init_Lang_Default()
{
    LanguageTable.clear();
    LanguageTable.reserve(LangSlots);
    for (int i = 0; i < LangSlots; ++i)
        LanguageTable.append(QStringLiteral(" "));
    for (int i = 0; i < Lang_Default_Text_Count; ++i) {
        const TLangDefaultText& t = Lang_Default_Texts[i];
        if (t.Index >= 0 && t.Index < LangSlots)
            LanguageTable[t.Index] = QString::fromUtf16(t.Text);
    }
    Lang_Count = LangSlots;
}

void Load_Lang_File(const QString& fileName)
{
    QString content;
    try {
        content = LoadTextFile(fileName);
    } catch (const Exception&) {
        // A file that exists but cannot be read leaves the texts as they are.
        return;
    }
    // Split by hand: a pattern match gives up on text holding a lone
    // surrogate, which would make the whole file one line.
    TStringList lines;
    lines.SetText(content);
    for (int i = 0; i < lines.Count(); ++i) {
        const QString line = Trim(lines.Strings(i));
        if (!line.startsWith(QLatin1String("STR")))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        // The one character just before "=" is the separator, not the index.
        const int indexLen = eq - 1 - 3;
        if (indexLen <= 0)
            continue;
        int index = 0;
        if (!TryStrToInt(Trim(line.mid(3, indexLen)), index))
            continue;
        if (index < 0 || index >= Lang_Count)
            continue;
        QString text = Trim(line.mid(eq + 1));
        if (text.isEmpty())
            continue;
        const int comment = text.indexOf(QLatin1String("/#/"));
        if (comment >= 0) {
            text = Trim(text.left(comment));
            // A text that was nothing but a comment keeps the slot as it was.
            if (text.isEmpty())
                continue;
        }
        if (text.startsWith(Pilcrow)) {
            text.remove(0, 1);
            const int close = text.indexOf(Pilcrow);
            if (close >= 0)
                text = text.left(close);
        }
        LanguageTable[index] = text;
    }
}

void Load_Language()
{
    Init_Lang_Default();
    const QString file = Join_Path(Language_Folder, Language_Name + QStringLiteral(".lng"));
    if (FileExists(file)) {
        Load_Lang_File(file);
        return;
    }
    Language_Name = QStringLiteral("English");
    const QString english = Join_Path(Language_Folder, QStringLiteral("English.lng"));
    if (FileExists(english))
        Load_Lang_File(english);
}

std::set<int>* Lang_Use_Recorder = nullptr;

QString Lang(int index)
{
    if (Lang_Use_Recorder)
        Lang_Use_Recorder->insert(index);
    if (index < 0 || index >= LanguageTable.size())
        return QStringLiteral(" ");
    return LanguageTable.at(index);
}
