#pragma once
// The PROFINET device description (GSDML) of the converter: a fixed document
// with the station name and the cyclic data lengths of the project's
// parameter file.

#include <QByteArray>
#include <QString>
#include <QStringList>

class TXmlNode;

// Longest cyclic data in either direction; the document's IOConfigData says
// the same.
inline constexpr int GSDML_Max_Length = 1440;

struct TPROFINET_Parameters {
    int Output_Length = 512; // PROFINET_NB_IN
    int Input_Length = 512; // PROFINET_NB_OUT
    QString Station_Name = QStringLiteral("SERIAL"); // PROFINET_NAME_STA
};

// The values under the parameter file's root (a null root: all defaults).
TPROFINET_Parameters PROFINET_Parameters_Of(const TXmlNode& root);

// The document's lines. Raises Exception, naming the key, for a length
// outside 1..GSDML_Max_Length, and for a station name holding a character no
// XML file can carry.
QStringList PROFINET_XML_Lines(const TPROFINET_Parameters& p);
// The lines as the file holds them: UTF-8 with its byte-order mark, CR LF
// after every line.
QByteArray PROFINET_XML_Bytes(const TPROFINET_Parameters& p);

// Asks for the folder (the proposed name fixed), confirms an overwrite and
// writes the file.
void Create_PROFINET_XML(const QString& fileName);
// Reads the project's parameter file. False, with the file reported once,
// when it is there but cannot be read.
bool Load_PROFINET_Parameters(TPROFINET_Parameters& p);
// Writes the document to `path`; nothing is written when the parameter file
// is damaged or a value is out of range (Exception), and a failed save is
// reported.
void Write_PROFINET_XML(const QString& path);
