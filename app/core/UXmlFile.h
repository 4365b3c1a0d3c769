#pragma once
// Reading the tool's own XML files (the settings file and the project files
// the image builder compiles) so that a damaged file is told apart from a
// missing one: a missing file is normal and gives the defaults, a damaged one
// is reported and never taken for defaults.

#include <QString>

class TXmlDocument;

enum class TXmlFileState { Missing, Loaded, Damaged };

struct TXmlFileRead {
    TXmlFileState State = TXmlFileState::Missing;
    // Why a damaged file could not be read, without its name: the report
    // names the file once.
    QString Reason;
};

// Loads `path` into `xml`. Nothing at the path is Missing; a folder, a pipe or
// a device in its place, a file larger than `maxSize` bytes (0: no limit of
// its own) or one that is not well-formed XML is Damaged, checked before
// anything is read from it.
TXmlFileRead Read_Xml_File(TXmlDocument& xml, const QString& path, qint64 maxSize = 0);

// An error text of the file layer without the file name it quotes, so a
// report that names the file names it once.
QString File_Error_Reason(const QString& error, const QString& path);
