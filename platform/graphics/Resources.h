#pragma once
// The program's named bitmaps (check boxes, radio buttons, node, filter and
// arrow glyphs, button glyph strips, the colour spectrum). They are drawn by
// code on first use, so every build has the same pixels. Names ignore case,
// as resource names do. Each glyph's background is clFuchsia (255, 0, 255),
// also its bottom-left and top-left pixel, so both automatic transparency
// rules drop it.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace resources {

// Opaque RGB32 image of the named bitmap, or a null image for an unknown name.
QImage Bitmap(const QString& name);
bool Exists(const QString& name);
// All names, in their stored spelling.
QStringList Names();

// The program's numbered cursors (wheel panning 8000 to 8008, row selection
// 8010, column selection 8011, all cells and resizing 8012, cell selector
// 8014): a 32 x 32 ARGB picture, transparent around the drawing, and its hot
// spot. A null image for any other number.
QImage CursorPicture(int number, QPoint* hotSpot = nullptr);

// Raw-data resources: bytes kept under a name (case ignored), as a program
// module carries them. The program and tests register their own; registering
// a name again replaces its bytes.
void RegisterRawData(const QString& name, const QByteArray& data);
void UnregisterRawData(const QString& name);
// The bytes of the named raw-data resource; false (and Data untouched) when none.
bool FindRawData(const QString& name, QByteArray& data);

} // namespace resources
