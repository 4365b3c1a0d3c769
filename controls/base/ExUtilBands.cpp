#include "controls/base/ExUtilDraw.h"

#include "platform/graphics/Graphics.h"

#include <algorithm>

void DrawGradientBands(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect, int Steps)
{
    const int span = Horizontal ? Rect.Width() : Rect.Height();
    if (!Canvas || span <= 0 || (Horizontal ? Rect.Height() : Rect.Width()) <= 0)
        return;
    const TColor from = ColorToRGB(FromColor);
    const TColor to = ColorToRGB(ToColor);
    // More bands than pixels would paint some twice and skip none: one per pixel.
    Steps = std::clamp(Steps, 1, span);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int i = 0; i < Steps; ++i) {
        const int a = span * i / Steps;
        const int b = span * (i + 1) / Steps;
        auto mix = [&](int f, int t) { return f + (Steps == 1 ? 0 : (t - f) * i / (Steps - 1)); };
        Canvas->Brush()->SetColor(RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
            mix(GetBValue(from), GetBValue(to))));
        Canvas->FillRect(Horizontal ? TRect(Rect.Left + a, Rect.Top, Rect.Left + b, Rect.Bottom)
                                    : TRect(Rect.Left, Rect.Top + a, Rect.Right, Rect.Top + b));
    }
}
