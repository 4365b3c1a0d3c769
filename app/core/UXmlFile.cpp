#include "app/core/UXmlFile.h"

#include "platform/runtime/XmlDom.h"

#include <QFileInfo>

TXmlFileRead Read_Xml_File(TXmlDocument& xml, const QString& path, qint64 maxSize)
{
    xml.SetActive(true);
    xml.Clear();
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return {};
    // Opening a pipe or a device could block the start for good.
    if (!info.isFile())
        return { TXmlFileState::Damaged,
            info.exists() ? QStringLiteral("it is not a regular file") : QStringLiteral("it is a broken link") };
    if (maxSize > 0 && info.size() > maxSize)
        return { TXmlFileState::Damaged,
            QStringLiteral("it holds %1 bytes, more than the %2 bytes such a file may hold")
                .arg(info.size())
                .arg(maxSize) };
    QString error;
    if (!xml.LoadFromFile(path, &error))
        return { TXmlFileState::Damaged, File_Error_Reason(error, path) };
    return { TXmlFileState::Loaded, QString() };
}

QString File_Error_Reason(const QString& error, const QString& path)
{
    QString reason = error;
    const QString quoted = QLatin1Char('"') + path + QLatin1Char('"');
    for (const QString& form : { quoted + QStringLiteral(": "), QLatin1Char(' ') + quoted, quoted })
        reason.remove(form);
    reason = reason.trimmed();
    return reason.isEmpty() ? QStringLiteral("unknown error") : reason;
}
