#include "controls/gridio/ExGridIO.h"

#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"

#include <algorithm>

namespace gridio {

QByteArray ReadStreamBytes(TStream* Stream)
{
    QByteArray bytes;
    const qint64 left = Stream->Size() - Stream->Position();
    if (left > 0)
        bytes.reserve(qsizetype(left));
    constexpr qint64 BlockSize = 1 << 20;
    QByteArray block(BlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 n = Stream->Read(block.data(), BlockSize);
        if (n <= 0)
            break;
        bytes.append(block.constData(), qsizetype(n));
    }
    return bytes;
}

QByteArray ReadFileInBlocks(const QString& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    return ReadStreamBytes(&stream);
}

void SaveBytes(const QString& FileName, const QByteArray& Bytes)
{
    // The reason already names the file.
    Q_UNUSED(FileName);
    const TSaveResult r = SaveFileAtomic(FileName, Bytes);
    if (!r)
        throw EFCreateError(r.Error);
}

void CommitText(TTextFileWriter& Writer, QString& Rest)
{
    const TSaveResult r = Writer.Commit(Rest);
    if (!r)
        throw EFCreateError(r.Error);
}

QStringList SplitLines(const QString& Text)
{
    QStringList lines;
    const qsizetype n = Text.size();
    const QChar* d = Text.constData();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = d[i].unicode();
        if (u != 13 && u != 10)
            continue;
        lines.append(Text.mid(start, i - start));
        if (u == 13 && i + 1 < n && d[i + 1].unicode() == 10)
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(Text.mid(start));
    return lines;
}

QString JoinLines(const QStringList& Lines)
{
    qsizetype size = 0;
    for (const QString& l : Lines)
        size += l.size() + 2;
    QString out;
    out.reserve(size);
    for (const QString& l : Lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

int Percent(qint64 Part, qint64 Whole)
{
    const double v = double(Part) * 100.0 / double(std::max<qint64>(1, Whole));
    return int(v + 0.5);
}

} // namespace gridio
