#pragma once
// Whether a line of text needs a clip of its own: a clip costs the painter
// more than drawing a short text, and most cells' texts stay inside.

#include "platform/graphics/Graphics.h"

// Whether one line drawn by TCanvas::DrawTextLine with its cell's top-left at
// (x, y) paints only inside r (its cell and its glyphs' ink): straight, left
// to right, without underline or strike-out, which reach past the ink.
bool TextLineInside(const TCanvas& canvas, const TRect& r, int x, int y, const QString& text);
