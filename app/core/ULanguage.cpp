#include "app/core/ULanguage.h"

#include "app/core/UComon.h"
#include "app/core/ULanguageFile.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

#include <QFileInfo>

QStringList LanguageTable;
int Lang_Count = 0;

namespace {
const QChar Pilcrow(0x00B6);
} // namespace

void Init_Lang_Default()
{
    LanguageTable = Lang_Default_Table();
    Lang_Count = Lang_Table_Size;
}

bool Load_Lang_File(const QString& fileName, QString* error)
{
    // Only a regular file within the read limit is read: a FIFO cannot hold
    // the start up.
    const TReadResult read = ReadFileBytes(fileName);
    if (!read) {
        if (error)
            *error = read.Error;
        return false;
    }
    const QString content = DecodeText(read.Bytes);
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
    return true;
}

void Load_Language()
{
    Init_Lang_Default();
    QString file = Join_Path(Language_Folder, Language_Name + QStringLiteral(".lng"));
    if (!FileExists(file)) {
        Language_Name = QStringLiteral("English");
        file = Join_Path(Language_Folder, English_Lang_File_Name);
        if (!FileExists(file))
            return;
    }
    // The language stays chosen, so that the file is used again once it can
    // be read; meanwhile the user knows why the texts are English.
    QString reason;
    if (!Load_Lang_File(file, &reason))
        Show_File_Read_Error(file, reason + QStringLiteral("; the built-in English texts are shown"));
}

void Write_English_Lang_File()
{
    const QString file = Join_Path(Language_Folder, English_Lang_File_Name);
    if (Language_Folder.isEmpty() || QFileInfo::exists(file) || QFileInfo(file).isSymLink())
        return;
    // Only a copy of the built-in texts: a folder that takes no file leaves
    // them in use, as they are without it, so a failure is not reported.
    SaveFileAtomic(file, Lang_File_Bytes(Lang_Default_Table()));
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
