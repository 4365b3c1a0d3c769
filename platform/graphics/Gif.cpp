#include "platform/graphics/Gif.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace gif {
namespace {

class Reader {
public:
    explicit Reader(const QByteArray& data)
        : FData(reinterpret_cast<const uint8_t*>(data.constData()))
        , FSize(data.size())
    {
    }
    bool Has(qsizetype n) const { return FPos + n <= FSize; }
    int Byte() { return Has(1) ? FData[FPos++] : -1; }
    int Word()
    {
        if (!Has(2))
            return -1;
        const int v = FData[FPos] | (FData[FPos + 1] << 8);
        FPos += 2;
        return v;
    }
    const uint8_t* Take(qsizetype n)
    {
        if (!Has(n))
            return nullptr;
        const uint8_t* p = FData + FPos;
        FPos += n;
        return p;
    }
    // Reads a chain of data sub-blocks up to the zero terminator; false when
    // the data ends first.
    bool SubBlocks(std::vector<uint8_t>* into)
    {
        for (;;) {
            const int len = Byte();
            if (len < 0)
                return false;
            if (len == 0)
                return true;
            const uint8_t* p = Take(len);
            if (!p)
                return false;
            if (into)
                into->insert(into->end(), p, p + len);
        }
    }

private:
    const uint8_t* FData;
    qsizetype FSize;
    qsizetype FPos = 0;
};

using Palette = std::vector<QRgb>;

bool ReadPalette(Reader& r, int packed, Palette& pal)
{
    const int count = 1 << ((packed & 7) + 1);
    const uint8_t* p = r.Take(count * 3);
    if (!p)
        return false;
    pal.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        pal[static_cast<size_t>(i)] = qRgb(p[i * 3], p[i * 3 + 1], p[i * 3 + 2]);
    return true;
}

// LZW decoding of one image's pixel indices. Returns false for a code that is
// not in the table yet; pixels past the end of the image are ignored, and a
// stream that stops early leaves the remaining indices at 0 (reported through
// `complete`).
bool Lzw(const std::vector<uint8_t>& data, int minCodeSize, uint8_t* pixels, size_t total, bool& complete)
{
    complete = false;
    if (minCodeSize < 1 || minCodeSize > 11)
        return false;
    const int clear = 1 << minCodeSize;
    const int eoi = clear + 1;
    // Plain arrays: this loop runs once per pixel.
    uint16_t prefix[4096] = {};
    uint8_t suffix[4096] = {};
    uint8_t stack[4097];
    for (int i = 0; i < clear; ++i)
        suffix[i] = static_cast<uint8_t>(i);
    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    int prev = -1;
    int first = 0;
    size_t out = 0;
    uint32_t bits = 0;
    int bitCount = 0;
    size_t pos = 0;
    for (;;) {
        while (bitCount < codeSize && pos < data.size()) {
            bits |= uint32_t(data[pos++]) << bitCount;
            bitCount += 8;
        }
        if (bitCount < codeSize)
            break; // data ran out without an end code
        const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            prev = -1;
            continue;
        }
        if (code == eoi) {
            complete = out >= total;
            return true;
        }
        if (prev < 0) {
            if (code > clear)
                return false;
            first = code;
            if (out < total)
                pixels[out++] = static_cast<uint8_t>(code);
            prev = code;
            continue;
        }
        int sp = 0;
        int c = code;
        if (code >= next) {
            if (code != next)
                return false;
            stack[sp++] = static_cast<uint8_t>(first);
            c = prev;
        }
        while (c > eoi) {
            if (sp >= 4096)
                return false;
            stack[sp++] = suffix[c];
            c = prefix[c];
        }
        if (c >= clear)
            return false;
        first = c;
        stack[sp++] = static_cast<uint8_t>(c);
        while (sp > 0 && out < total)
            pixels[out++] = stack[--sp];
        if (next < 4096) {
            prefix[next] = static_cast<uint16_t>(prev);
            suffix[next] = static_cast<uint8_t>(first);
            ++next;
            if (next == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        prev = code;
    }
    complete = out >= total;
    return true;
}

// Maps the n-th stored row of an interlaced image to its screen row.
int InterlacedRow(int n, int height)
{
    static const int start[4] = { 0, 4, 2, 1 };
    static const int step[4] = { 8, 8, 4, 2 };
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = height > start[pass] ? (height - start[pass] + step[pass] - 1) / step[pass] : 0;
        if (n < rows)
            return start[pass] + n * step[pass];
        n -= rows;
    }
    return height - 1;
}

void SetError(QString* error, const char* text)
{
    if (error)
        *error = QString::fromLatin1(text);
}

} // namespace

bool IsGif(const QByteArray& data)
{
    return data.size() > 4 && data.startsWith("GIF8");
}

bool Decode(const QByteArray& data, Image& out, QString* error)
{
    out = Image();
    if (!IsGif(data) || data.size() < 13) {
        SetError(error, "Not a GIF image");
        return false;
    }
    Reader r(data);
    r.Take(6);
    int screenW = r.Word();
    int screenH = r.Word();
    const int packed = r.Byte();
    r.Byte(); // background colour index: frames are composed on transparency
    r.Byte(); // aspect ratio
    Palette global;
    if ((packed & 0x80) && !ReadPalette(r, packed, global)) {
        SetError(error, "GIF colour table is truncated");
        return false;
    }
    const QList<QRgb> globalList(global.begin(), global.end());

    // The graphic control extension before the image gives its transparency.
    int transparent = -1;
    std::vector<uint8_t> pixels;
    const char* failure = nullptr;

    for (;;) {
        const int kind = r.Byte();
        if (kind == 0x3B || kind < 0)
            break;
        if (kind == 0x21) {
            const int label = r.Byte();
            if (label == 0xF9) {
                std::vector<uint8_t> gce;
                if (!r.SubBlocks(&gce)) {
                    failure = "GIF extension is truncated";
                    break;
                }
                if (gce.size() >= 4)
                    transparent = (gce[0] & 1) ? gce[3] : -1;
            } else if (label < 0 || !r.SubBlocks(nullptr)) {
                failure = "GIF extension is truncated";
                break;
            }
            continue;
        }
        if (kind != 0x2C) {
            failure = "Unknown GIF block";
            break;
        }
        const int left = r.Word();
        const int top = r.Word();
        const int w = r.Word();
        const int h = r.Word();
        const int flags = r.Byte();
        if (flags < 0 || left < 0 || top < 0 || w < 0 || h < 0) {
            failure = "GIF image descriptor is truncated";
            break;
        }
        Palette local;
        if ((flags & 0x80) && !ReadPalette(r, flags, local)) {
            failure = "GIF colour table is truncated";
            break;
        }
        const int minCode = r.Byte();
        std::vector<uint8_t> lzw;
        const bool whole = minCode >= 0 && r.SubBlocks(&lzw);
        // A screen of 0 takes the image's extent.
        if (screenW <= 0)
            screenW = left + w;
        if (screenH <= 0)
            screenH = top + h;
        if (screenW <= 0 || screenH <= 0 || qint64(screenW) * screenH > MaxScreenPixels) {
            failure = "GIF screen size is not usable";
            break;
        }
        const qint64 area = qint64(w) * h;
        if (area > MaxScreenPixels) {
            failure = "GIF image is too large";
            break;
        }
        Image& f = out;
        f.Bounds = QRect(left, top, w, h);
        f.Indices = QByteArray(static_cast<qsizetype>(area), '\0');
        auto* indices = reinterpret_cast<uint8_t*>(f.Indices.data());
        const bool interlaced = flags & 0x40;
        if (interlaced)
            pixels.assign(static_cast<size_t>(area), 0);
        bool complete = false;
        if (!whole || !Lzw(lzw, minCode, interlaced ? pixels.data() : indices, size_t(area), complete) || !complete) {
            failure = "GIF image data is damaged or truncated";
            break;
        }
        if (interlaced)
            for (int n = 0; n < h; ++n)
                std::copy_n(pixels.data() + static_cast<size_t>(n) * static_cast<size_t>(w), w,
                    indices + static_cast<size_t>(InterlacedRow(n, h)) * static_cast<size_t>(w));
        f.Palette = local.empty() ? globalList : QList<QRgb>(local.begin(), local.end());
        f.TransparentIndex = transparent;
        out.ScreenWidth = screenW;
        out.ScreenHeight = screenH;
        return true;
    }
    out = Image();
    SetError(error, failure ? failure : "GIF holds no image");
    return false;
}

QImage Image::ToImage() const
{
    if (ScreenWidth <= 0 || ScreenHeight <= 0)
        return QImage();
    QImage screen(ScreenWidth, ScreenHeight, QImage::Format_ARGB32);
    screen.fill(0);
    const QRect r = Bounds.intersected(screen.rect());
    const int w = Bounds.width();
    const auto* indices = reinterpret_cast<const uint8_t*>(Indices.constData());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(screen.scanLine(y));
        const uint8_t* src = indices + static_cast<size_t>(y - Bounds.top()) * static_cast<size_t>(w);
        for (int x = r.left(); x <= r.right(); ++x) {
            const int i = src[x - Bounds.left()];
            if (i != TransparentIndex && i < Palette.size())
                line[x] = Palette[i];
        }
    }
    return screen;
}

} // namespace gif
