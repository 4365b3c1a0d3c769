// Writes the English language file of the built-in texts, for the build to put
// into the program folder's LANGUAGE folder beside the configurator.
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

#include "app/core/ULanguageFile.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <English.lng to write>\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    const QByteArray bytes = Lang_File_Bytes(Lang_Default_Table());
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(f.errorString()));
        return 1;
    }
    return 0;
}
