#pragma once
// What measuring text has cost on this thread: the characters the canvas'
// text-width cache keeps as keys (bounded, however long the texts measured)
// and the characters laid out to measure widths (a cache hit lays out none).
// For tests and benchmarks that check a layout's cost without timing it.

#include <QtGlobal>

struct TTextMeasureStats {
    qint64 CachedChars = 0;
    qint64 LaidOutChars = 0;
};

TTextMeasureStats TextMeasureStats();
