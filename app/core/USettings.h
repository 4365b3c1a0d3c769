#pragma once
// The settings file Morvantile.xml beside the program: the remembered
// project, the last device address, the language and the four user options.
// It is read item by item at start and rewritten whole on every close.

#include <QString>

#include "app/core/UXmlFile.h"
#include "platform/runtime/FileUtils.h"

class TXmlDocument;

// Program_Folder + "/Morvantile.xml".
QString Settings_File_Name();

// The largest settings file read; it holds a few hundred bytes when the tool
// writes it, and a larger one only delays the start.
inline constexpr qint64 Settings_File_Max_Size = 64 * 1024;

// Fills Project_Name, Last_IP_Address, Language_Name and the four option
// flags from the settings file, loaded into `xml`. The root is the first
// element, whatever stands before it; every item that is missing takes its
// own default and the others are read as they stand. A missing file gives
// the defaults. A file that is there but cannot be read also gives them, and
// is returned as Damaged for the caller to report; it is then left as it is
// unless the settings change (see Write_Settings).
// Project_Folder is cleared: restoring the project is the caller's business.
TXmlFileRead Read_Settings(TXmlDocument& xml);

// The defaults of a first start.
void Default_Settings();

// Rebuilds `xml` from the shared state and writes it atomically to the
// settings file; on failure the previous file stays as it was.
// When the file could not be read at start, it is not replaced while the
// settings are still the defaults the tool fell back on; once they differ,
// the user is asked first, and a No keeps the file (Ok, nothing written).
TSaveResult Write_Settings(TXmlDocument& xml);
