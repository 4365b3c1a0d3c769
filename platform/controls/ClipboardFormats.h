#pragma once
// Registered clipboard formats: one stable id per name for the whole run, and
// the MIME type under which data of that format travels on the clipboard and
// in drag and drop. Ids share the range (and the name table) of registered
// window messages, so a format never takes the id of another name's message.

#include <QString>

#include "platform/controls/Messages.h"

// The id of a format name (case ignored), in 0xC000..0xFFFF; 0 for an empty
// name or when the range is used up.
UINT RegisterClipboardFormat(const QString& Name);
// The name a format was registered with; empty for an unknown id.
QString GetClipboardFormatName(UINT Format);
// "application/x-morv-format;name=\"<name>\"" for a registered format (the
// name as first registered, quotes and backslashes escaped); empty otherwise.
QString ClipboardFormatMimeType(UINT Format);
