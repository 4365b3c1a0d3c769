#include "platform/controls/ClipboardFormats.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {
struct TFormatNames {
    QMutex Mutex;
    QHash<UINT, QString> Names;
};

TFormatNames& Formats()
{
    static TFormatNames f;
    return f;
}
} // namespace

UINT RegisterClipboardFormat(const QString& Name)
{
    const UINT id = RegisterWindowMessage(Name);
    if (id == 0)
        return 0;
    TFormatNames& f = Formats();
    QMutexLocker lock(&f.Mutex);
    if (!f.Names.contains(id))
        f.Names.insert(id, Name);
    return id;
}

QString GetClipboardFormatName(UINT Format)
{
    TFormatNames& f = Formats();
    QMutexLocker lock(&f.Mutex);
    return f.Names.value(Format);
}

QString ClipboardFormatMimeType(UINT Format)
{
    const QString name = GetClipboardFormatName(Format);
    if (name.isEmpty())
        return QString();
    QString quoted = name;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QStringLiteral("application/x-morv-format;name=\"%1\"").arg(quoted);
}
