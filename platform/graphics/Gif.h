#pragma once
// GIF decoding of a file's first image. The decoder checks every length and
// code against the data and its tables, so damaged files fail instead of
// reading out of bounds.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

namespace gif {

// The first image of a GIF as stored: its rectangle on the logical screen,
// its colour indices (rows in screen order, interlacing undone) and its
// colour table. Frame choice, times and animation belong to the picture
// that holds the file; the decoder only shows the first image.
struct Image {
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    QRect Bounds; // the image's own rectangle on the screen
    QByteArray Indices; // Bounds.width() x Bounds.height() colour indices
    QList<QRgb> Palette; // the local table, else the global one
    int TransparentIndex = -1; // -1 when the image has no transparent colour

    // The logical screen (ARGB32) with the image at its rectangle, clear
    // elsewhere and where the image is transparent.
    QImage ToImage() const;
};

// At most this many pixels on the logical screen and in the image.
inline constexpr qint64 MaxScreenPixels = qint64(1) << 26;

// True for data longer than 4 bytes that starts with "GIF8".
bool IsGif(const QByteArray& data);

// Decodes the first image; what follows it is not read. Without a complete
// first image the result is false and `error` says why.
bool Decode(const QByteArray& data, Image& out, QString* error = nullptr);

} // namespace gif
