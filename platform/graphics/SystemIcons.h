#pragma once
// The system image list: small (16 x 16) and large (32 x 32) icons by index,
// for an existing file or folder, or for a file type by its extension. The
// pictures are our own generic glyphs, the same on every machine, so
// offscreen pictures are stable.

#include <QImage>
#include <QString>

namespace systemicons {

inline constexpr int IconFile = 0; // a generic document
inline constexpr int IconFolder = 1;
inline constexpr int IconCount = 2;

// Name: an icon index when it is a number, an existing file or folder, else
// an extension ("txt", ".txt") or file name whose type's icon is wanted. A
// null image for an index out of range.
QImage Icon(const QString& Name, bool Large);
QImage IconByIndex(int Index, bool Large);

} // namespace systemicons
