// Arbitrary bytes as the project's ParGen.xml, the GSD file written into
// memory: the writer refuses (an unreadable file or a size above a DP slave's
// limit), or gives a file that keeps the checker's rules: CR LF after every
// line, Windows-1252 without a byte-order mark, modules numbered from 1 with
// the identifier 0x42 (inputs) before 0x82 (outputs), full 64-byte modules
// and one last, Max_Module equal to the modules and the slotCount, and the
// length keys equal to the module sums.

#include "app/tables/UProfibusGSD.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/XmlDom.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

int Key(const QList<QByteArray>& lines, const QByteArray& key)
{
    int found = -1;
    for (const QByteArray& l : lines)
        if (l.startsWith(key + '=')) {
            if (found >= 0)
                std::abort();
            bool ok = false;
            found = l.mid(key.size() + 1).toInt(&ok);
            if (!ok)
                std::abort();
        }
    if (found < 0)
        std::abort();
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TXmlDocument par;
    if (!par.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        return 0;
    QByteArray bytes;
    try {
        bytes = GSD_Bytes(GSD_Sizes_Of(par.DocumentElement()));
    } catch (const Exception&) {
        return 0;
    }
    if (!bytes.endsWith("\r\n") || bytes.startsWith("\xEF\xBB\xBF") || bytes.count('\n') != bytes.count("\r\n")
        || bytes.count('\r') != bytes.count("\r\n"))
        std::abort();
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray& l : lines)
        l.chop(1);

    static const QRegularExpression module(
        QStringLiteral("^Module=\"(DI|DO)  \\(PORT(\\d+)\\)    \" 0x(42|82),0x([0-9A-F]{2}),0x00,0x([0-9A-F]{2,})$"));
    static const QRegularExpression slot(QStringLiteral("^Slot\\((\\d+)\\) = \"Slot (\\d+)\" (\\d+) (\\d+)$"));
    int modules = 0, slotCount = 0, inBytes = 0, outBytes = 0;
    QList<int> diLengths, doLengths;
    bool sawDo = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString l = QString::fromLatin1(lines[i]);
        if (l.startsWith(QLatin1String("Module="))) {
            const auto m = module.match(l);
            if (!m.hasMatch())
                std::abort();
            ++modules;
            const bool isDo = m.captured(1) == QLatin1String("DO");
            if ((m.captured(3) == QLatin1String("82")) != isDo || (sawDo && !isDo))
                std::abort();
            sawDo = sawDo || isDo;
            if (m.captured(2).toInt() != modules || m.captured(5).toInt(nullptr, 16) != modules)
                std::abort();
            if (i + 2 >= lines.size() || lines[i + 1] != QByteArray::number(modules) || lines[i + 2] != "EndModule")
                std::abort();
            const int length = m.captured(4).toInt(nullptr, 16) + 1;
            if (length > 64)
                std::abort();
            (isDo ? doLengths : diLengths) << length;
            (isDo ? outBytes : inBytes) += length;
        }
        const auto s = slot.match(l);
        if (s.hasMatch()) {
            ++slotCount;
            for (int k = 1; k <= 4; ++k)
                if (s.captured(k).toInt() != slotCount)
                    std::abort();
        }
    }
    for (const QList<int>& group : { diLengths, doLengths })
        for (qsizetype k = 0; k + 1 < group.size(); ++k)
            if (group[k] != 64)
                std::abort();
    if (Key(lines, "Max_Module") != modules || slotCount != modules || Key(lines, "Max_Input_Len") != inBytes
        || Key(lines, "Max_Output_Len") != outBytes || Key(lines, "Max_Data_Len") != inBytes + outBytes)
        std::abort();
    return 0;
}
