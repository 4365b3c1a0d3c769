#include "controls/grid/EsgEditLayout.h"

#include <QImage>
#include <algorithm>

#include "platform/graphics/PlatformInfo.h"

namespace esg_layout {

namespace {
constexpr int kEditFrame = 2;
}

TRect InnerClient(const TCustomEdit* Edit)
{
    TRect r = Edit->ClientRect();
    if (Edit->BorderStyle() == bsSingle)
        InflateRect(r, -kEditFrame, -kEditFrame);
    return r;
}

int FontTextHeight(const TFont* Font)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas;
    TCanvasLock lock(&canvas, &scratch);
    canvas.Font()->Assign(Font);
    return canvas.TextHeight(QStringLiteral("0"));
}

int MinEditHeight(const TFont* Font, int Extra)
{
    const int h = FontTextHeight(Font);
    return h + std::min(h, SystemFontTextHeight()) / 4 + Extra;
}

bool GrowToMinHeight(TCustomEdit* Edit, int MinHeight)
{
    if (Edit->Height() >= MinHeight)
        return false;
    Edit->SetHeight(MinHeight);
    return true;
}

void PlaceRightButton(const TCustomEdit* Edit, TControl* Button)
{
    // In a bordered edit the rule keeps a further pixel inside the frame on
    // each side (the toolkit's 5 against 1, counted from the outer edge).
    const TRect c = InnerClient(Edit);
    const int bw = Button->Width();
    Button->SetBounds(c.Right - bw - 1, c.Top, bw, c.Bottom - c.Top - 1);
}

} // namespace esg_layout
