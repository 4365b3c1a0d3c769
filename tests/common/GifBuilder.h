#pragma once
// GIF files built byte by byte for tests: a palette of four colours, frames
// with graphic control extensions, and image data coded without compression
// tables.

#include <QByteArray>

#include <vector>

namespace testgif {

// A small hand-built GIF. Its image data uses 3-bit codes with a clear code
// after every two pixels, so the code size never grows and no compression
// table is needed to write it.

inline void PutWord(QByteArray& b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

// Coded image bytes as stored: minimum code size 2, then sub-blocks of at
// most 255 bytes and the terminator.
inline QByteArray ImageData(const QByteArray& bytes)
{
    QByteArray out(1, char(2));
    for (qsizetype i = 0; i < bytes.size(); i += 255) {
        const QByteArray chunk = bytes.mid(i, 255);
        out.append(char(chunk.size()));
        out.append(chunk);
    }
    out.append(char(0));
    return out;
}

inline QByteArray LzwLiterals(const std::vector<int>& pixels)
{
    const int clear = 4;
    const int eoi = 5;
    std::vector<int> codes { clear };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i > 0 && i % 2 == 0)
            codes.push_back(clear);
        codes.push_back(pixels[i]);
    }
    codes.push_back(eoi);
    QByteArray bytes;
    unsigned acc = 0;
    int bits = 0;
    for (int c : codes) {
        acc |= unsigned(c) << bits;
        bits += 3;
        while (bits >= 8) {
            bytes.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        bytes.append(char(acc & 0xFF));
    return ImageData(bytes);
}

struct GifFrameSpec {
    int Delay;
    int Transparent; // -1 for none
    int Disposal;
    int Left, Top, Width, Height;
    std::vector<int> Pixels;
};

// Palette: 0 black, 1 red, 2 green, 3 blue.
inline QByteArray BuildGif(int w, int h, const std::vector<GifFrameSpec>& frames, bool loop = true)
{
    QByteArray b("GIF89a");
    PutWord(b, w);
    PutWord(b, h);
    b.append(char(0x81)); // global table of 4 colours
    b.append(char(0));
    b.append(char(0));
    const unsigned char pal[] = { 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255 };
    b.append(reinterpret_cast<const char*>(pal), sizeof pal);
    if (loop) {
        b.append("\x21\xFF\x0B", 3);
        b.append("NETSCAPE2.0");
        b.append("\x03\x01\x00\x00\x00", 5);
    }
    for (const GifFrameSpec& f : frames) {
        b.append("\x21\xF9\x04", 3);
        b.append(char((f.Disposal << 2) | (f.Transparent >= 0 ? 1 : 0)));
        PutWord(b, f.Delay);
        b.append(char(f.Transparent >= 0 ? f.Transparent : 0));
        b.append(char(0));
        b.append(char(0x2C));
        PutWord(b, f.Left);
        PutWord(b, f.Top);
        PutWord(b, f.Width);
        PutWord(b, f.Height);
        b.append(char(0));
        b.append(LzwLiterals(f.Pixels));
    }
    b.append(char(0x3B));
    return b;
}

inline const std::vector<GifFrameSpec> kThreeFrames = {
    { 10, -1, 1, 0, 0, 4, 4, { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 } },
    { 25, 0, 1, 1, 1, 2, 2, { 2, 0, 0, 2 } },
    { 0, -1, 1, 2, 0, 2, 1, { 3, 3 } },
};

// Image data of `count` pixels of one colour, coded as tightly as the format
// allows: each code one pixel longer than the last until the table is full,
// then the longest code again and again (about 2,700 pixels a byte), so a
// test file can hold frames of millions of pixels in a few kilobytes.
inline QByteArray LzwFill(qint64 count, int colour)
{
    const int clear = 4, eoi = 5;
    QByteArray bytes;
    unsigned acc = 0;
    int bits = 0;
    int size = 3;
    auto put = [&](int code) {
        acc |= unsigned(code) << bits;
        bits += size;
        while (bits >= 8) {
            bytes.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    put(clear);
    put(colour);
    qint64 out = 1;
    int next = 6;
    while (out < count) {
        const int code = next < 4096 ? next : 4095;
        put(code);
        out += code - 4; // entry k holds k - 4 pixels
        if (next < 4096 && ++next == (1 << size) && size < 12)
            ++size;
    }
    put(eoi);
    if (bits > 0)
        bytes.append(char(acc & 0xFF));
    return ImageData(bytes);
}

// A GIF of `frames` frames of w x h pixels in red at the screen's origin.
inline QByteArray FilledFramesGif(int screenW, int screenH, int frames, int w, int h)
{
    QByteArray b("GIF89a");
    PutWord(b, screenW);
    PutWord(b, screenH);
    b.append(char(0x81));
    b.append(char(0));
    b.append(char(0));
    const unsigned char pal[] = { 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255 };
    b.append(reinterpret_cast<const char*>(pal), sizeof pal);
    const QByteArray pixels = LzwFill(qint64(w) * h, 1);
    for (int i = 0; i < frames; ++i) {
        b.append("\x21\xF9\x04\x04\x01\x00\x00\x00", 8); // disposal 1, delay 1
        b.append(char(0x2C));
        PutWord(b, 0);
        PutWord(b, 0);
        PutWord(b, w);
        PutWord(b, h);
        b.append(char(0));
        b.append(pixels);
    }
    b.append(char(0x3B));
    return b;
}

} // namespace testgif
