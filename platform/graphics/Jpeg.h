#pragma once
// JPEG encoding and decoding on libjpeg (library interface version 62).
// Corrupt or truncated data is a reported failure, never an abort.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace jpeg {

struct EncodeOptions {
    int Quality = 90; // 1..100, clamped
    bool Grayscale = false; // one channel instead of colour
    bool Progressive = false;
};

// Encodes an image (any format; alpha is dropped onto white). Returns false
// and sets `error` when libjpeg reports a failure or the image is empty.
bool Encode(const QImage& image, const EncodeOptions& options, QByteArray& out, QString* error = nullptr);

// Decodes JPEG bytes into a 32-bit RGB image (Format_RGB32). Returns false and
// sets `error` for data that is not a complete JPEG stream; `image` is then
// left null.
bool Decode(const QByteArray& data, QImage& image, QString* error = nullptr);

// Reads only the frame header: width, height and component count.
bool ReadHeader(const QByteArray& data, int& width, int& height, int& components, QString* error = nullptr);

// True when the bytes begin with the JPEG start-of-image marker.
bool LooksLikeJpeg(const QByteArray& data);

} // namespace jpeg
