// Loads arbitrary bytes as an in-memory INI file, reads every section and key
// the ways the settings readers do, then writes the file back and loads it
// again: every value must read back the same. Input: one option byte (bits
// 0-2 the encoding assumed without a byte-order mark, bit 3 case-sensitive
// names), then the file.

#include "platform/runtime/Classes.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/IniFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

namespace {

using TSnapshot = std::map<std::pair<QString, QString>, QString>;

const QString& IniPath()
{
    // A memory-backed folder where there is one: every atomic save syncs.
    // The file goes when the run ends.
    static const struct TTempFile {
        QString Path
            = (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath())
            + QStringLiteral("/morv-fuzz-ini-%1.ini").arg(QCoreApplication::applicationPid());
        ~TTempFile() { QFile::remove(Path); }
    } file;
    return file.Path;
}

// Every read call on every section and key; returns the values by name.
TSnapshot ReadAll(const TMemIniFile& ini, QStringList& sectionOrder)
{
    TSnapshot values;
    TStringList sections;
    ini.ReadSections(&sections);
    for (int s = 0; s < sections.Count(); ++s) {
        const QString section = sections.Strings(s);
        sectionOrder << section;
        TStringList keys, lines;
        ini.ReadSection(section, &keys);
        ini.ReadSectionValues(section, &lines);
        if (ini.SectionExists(section) != (keys.Count() > 0))
            std::abort();
        if (lines.Count() != keys.Count())
            std::abort();
        for (int k = 0; k < keys.Count(); ++k) {
            const QString key = keys.Strings(k);
            if (!ini.ValueExists(section, key))
                std::abort();
            const QString v = ini.ReadString(section, key, QStringLiteral("\x01missing"));
            if (v == QStringLiteral("\x01missing"))
                std::abort();
            ini.ReadInteger(section, key, -1);
            ini.ReadBool(section, key, true);
            ini.ReadFloat(section, key, 0.5);
            values.emplace(std::make_pair(section, key), v);
        }
    }
    return values;
}

// Aborts with the first difference, so a finding names the value it broke.
void ExpectSame(const TSnapshot& a, const QStringList& orderA, const TSnapshot& b, const QStringList& orderB)
{
    if (orderA != orderB) {
        std::fprintf(
            stderr, "sections differ: [%s] vs [%s]\n", qPrintable(orderA.join(u'|')), qPrintable(orderB.join(u'|')));
        std::abort();
    }
    for (const auto& [name, value] : a) {
        const auto it = b.find(name);
        if (it == b.end() || it->second != value) {
            std::fprintf(stderr, "[%s] %s: \"%s\" vs \"%s\"\n", qPrintable(name.first), qPrintable(name.second),
                qPrintable(value), it == b.end() ? "(missing)" : qPrintable(it->second));
            std::abort();
        }
    }
    if (a.size() != b.size()) {
        std::fprintf(stderr, "key count differs: %zu vs %zu\n", a.size(), b.size());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto fallback = static_cast<TTextEncoding>(data[0] % 5);
    const bool caseSensitive = (data[0] & 8) != 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString& path = IniPath();
    if (!SaveFileAtomic(path, bytes))
        std::abort();

    QStringList order;
    TSnapshot before;
    {
        TMemIniFile ini(path, fallback);
        ini.SetCaseSensitive(caseSensitive);
        ini.Rename(path, true); // parse again with the chosen case rule
        before = ReadAll(ini, order);

        // The whole file as lines and back gives the same values.
        TStringList lines;
        ini.GetStrings(&lines);
        TMemIniFile copy(QString(), fallback);
        copy.SetCaseSensitive(caseSensitive);
        copy.SetStrings(&lines);
        QStringList copyOrder;
        const TSnapshot copied = ReadAll(copy, copyOrder);
        ExpectSame(before, order, copied, copyOrder);

        ini.UpdateFile();
    }

    TMemIniFile again(path, fallback);
    again.SetCaseSensitive(caseSensitive);
    again.Rename(path, true);
    QStringList orderAgain;
    const TSnapshot reread = ReadAll(again, orderAgain);
    ExpectSame(before, order, reread, orderAgain);
    return 0;
}
