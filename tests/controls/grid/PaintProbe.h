#pragma once
// Pixel probes for painted grids: dark ink and where it lies.

#include "platform/runtime/Types.h"

#include <QImage>

#include <utility>

namespace paintprobe {

inline bool Dark(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return qRed(c) + qGreen(c) + qBlue(c) < 3 * 128;
}

// The leftmost and rightmost columns with a dark pixel inside the box.
inline std::pair<int, int> InkSpan(const QImage& img, const TRect& box)
{
    int lo = -1, hi = -1;
    for (int x = box.Left; x < box.Right; ++x)
        for (int y = box.Top; y < box.Bottom; ++y)
            if (Dark(img, x, y)) {
                if (lo < 0)
                    lo = x;
                hi = x;
                break;
            }
    return { lo, hi };
}

} // namespace paintprobe
