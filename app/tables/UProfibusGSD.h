#pragma once
// The PROFIBUS DP device description (GSD, revision 5) of the converter's
// PROFIBUS slave model: fixed text with the cyclic data sizes of the
// project's parameter file cut into modules of 64 bytes.

#include <QByteArray>
#include <QString>
#include <QStringList>

class TXmlNode;

// The most a DP slave carries in either direction.
inline constexpr int GSD_Max_Length = 244;

struct TGSD_Sizes {
    int NB_In = 0; // PROFINET_NB_IN: the converter's incoming bytes, the master's outputs
    int NB_Out = 0; // PROFINET_NB_OUT: its outgoing bytes, the master's inputs
};

// The sizes under the parameter file's root (null root, missing key or no
// number: 0).
TGSD_Sizes GSD_Sizes_Of(const TXmlNode& root);

// The file's lines. A negative size counts as 0; a size above GSD_Max_Length
// raises Exception naming its key.
QStringList GSD_Lines(TGSD_Sizes sizes);
// The lines as the file holds them: Windows-1252, CR LF after every line.
QByteArray GSD_Bytes(const TGSD_Sizes& sizes);

// The file name for the chosen one: unchanged when the first ".gsd" of its
// lower-case form ends it, else with ".gsd" appended.
QString GSD_File_Name(const QString& chosen);

// The sizes of the last run, read by Load_GSD_Sizes.
extern int GSD_NB_IN;
extern int GSD_NB_OUT;

// Reads the sizes of the project's parameter file (0 for a missing file).
// False, with the file reported once, when it is there but cannot be read.
bool Load_GSD_Sizes();
// Reads the sizes, asks for the file name, confirms an overwrite and writes.
void Create_PROFIBUS_GSD();
// Writes the file for GSD_NB_IN and GSD_NB_OUT; a size out of range
// (Exception) writes nothing, a failed save is reported.
void Write_GSD_File(const QString& FileName);
