#pragma once
// The settings file Morvantile.xml beside the program: the remembered
// project, the last device address, the language and the four user options.
// It is read item by item at start and rewritten whole on every close.

#include <QString>

#include "platform/runtime/FileUtils.h"

class TXmlDocument;

// Program_Folder + "/Morvantile.xml".
QString Settings_File_Name();

// Fills Project_Name, Last_IP_Address, Language_Name and the four option
// flags from the settings file, loaded into `xml`. A missing file, or one that
// is not well-formed XML, gives the defaults; otherwise every item that is
// missing takes its own default and the others are read as they stand.
// Project_Folder is cleared: restoring the project is the caller's business.
void Read_Settings(TXmlDocument& xml);

// The defaults of a first start.
void Default_Settings();

// Rebuilds `xml` from the shared state and writes it atomically to the
// settings file; on failure the previous file stays as it was.
TSaveResult Write_Settings(TXmlDocument& xml);
