#include "platform/graphics/Graphics.h"

#include "platform/graphics/PlatformInfo.h"
#include "platform/graphics/TextLineClip.h"
#include "platform/graphics/TextMeasureStats.h"

#include <QBrush>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygon>

#include <array>
#include <cmath>
#include <cstdlib>

namespace {

// Half away from zero, as the system's MulDiv.
int mulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const long long p = static_cast<long long>(number) * numerator;
    const long long half = std::llabs(denominator) / 2;
    const bool neg = (p < 0) != (denominator < 0);
    const long long q = (std::llabs(p) + half) / std::llabs(denominator);
    return static_cast<int>(neg ? -q : q);
}

// Everything outside any device, for "no clip" regions.
const QRect Everything(-0x1000000, -0x1000000, 0x2000000, 0x2000000);

} // namespace

// ---------------------------------------------------------------------------
// Graphics objects

void TGraphicsObject::Changed()
{
    ++FGeneration;
    if (OnChange)
        OnChange(this);
}

void TFont::SetName(const QString& v)
{
    if (v.isEmpty() || v == FName)
        return;
    FName = v;
    ShapeChanged();
}

int TFont::Size() const
{
    return -mulDiv(FHeight, 72, ScreenPixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-mulDiv(points, ScreenPixelsPerInch, 72));
}

void TFont::SetHeight(int pixels)
{
    if (pixels == FHeight)
        return;
    FHeight = pixels;
    ShapeChanged();
}

void TFont::SetStyle(TFontStyles v)
{
    if (v == FStyle)
        return;
    FStyle = v;
    ShapeChanged();
}

void TFont::SetColor(TColor v)
{
    if (v == FColor)
        return;
    FColor = v;
    Changed();
}

void TFont::SetCharset(TFontCharset v)
{
    if (v == FCharset)
        return;
    FCharset = v;
    ShapeChanged();
}

void TFont::SetPitch(TFontPitch v)
{
    if (v == FPitch)
        return;
    FPitch = v;
    ShapeChanged();
}

void TFont::SetOrientation(int tenths)
{
    if (tenths == FOrientation)
        return;
    FOrientation = tenths;
    ShapeChanged();
}

void TFont::SetQuality(TFontQuality v)
{
    if (v == FQuality)
        return;
    FQuality = v;
    ShapeChanged();
}

void TFont::ShapeChanged()
{
    ++FShapeGeneration;
    Changed();
}

bool TFont::SameAs(const TFont& o) const
{
    return FName == o.FName && FHeight == o.FHeight && FStyle == o.FStyle && FColor == o.FColor
        && FCharset == o.FCharset && FPitch == o.FPitch && FOrientation == o.FOrientation && FQuality == o.FQuality;
}

void TFont::Assign(const TPersistent* Source)
{
    if (auto f = dynamic_cast<const TFont*>(Source)) {
        if (f == this || SameAs(*f))
            return;
        if (FName != f->FName || FHeight != f->FHeight || FStyle != f->FStyle || FCharset != f->FCharset
            || FPitch != f->FPitch || FOrientation != f->FOrientation || FQuality != f->FQuality)
            ++FShapeGeneration;
        FName = f->FName;
        FHeight = f->FHeight;
        FStyle = f->FStyle;
        FColor = f->FColor;
        FCharset = f->FCharset;
        FPitch = f->FPitch;
        FOrientation = f->FOrientation;
        FQuality = f->FQuality;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

QFont TFont::ToQFont() const
{
    QFont f(FName);
    f.setBold(FStyle.testFlag(TFontStyle::fsBold));
    f.setItalic(FStyle.testFlag(TFontStyle::fsItalic));
    f.setUnderline(FStyle.testFlag(TFontStyle::fsUnderline));
    f.setStrikeOut(FStyle.testFlag(TFontStyle::fsStrikeOut));
    if (FPitch == TFontPitch::fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter);
    }
    // Kerning would make a string's advance differ from the sum of its parts,
    // which the grid's text measuring relies on.
    f.setKerning(false);
    if (FQuality == TFontQuality::fqNonAntialiased || FQuality == TFontQuality::fqDraft)
        f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);

    int h = FHeight;
    if (h == 0)
        h = DefaultHeight;
    if (h < 0) {
        f.setPixelSize(-h);
    } else {
        // A positive height is the whole cell (ascent plus descent).
        f.setPixelSize(100);
        const QFontMetrics fm(f);
        const int cell = std::max(1, fm.ascent() + fm.descent());
        f.setPixelSize(std::max(1, int(std::lround(h * 100.0 / cell))));
    }
    return f;
}

void TPen::SetColor(TColor v)
{
    if (v == FColor)
        return;
    FColor = v;
    Changed();
}

void TPen::SetWidth(int v)
{
    if (v < 0)
        v = 0;
    if (v == FWidth)
        return;
    FWidth = v;
    Changed();
}

void TPen::SetStyle(TPenStyle v)
{
    if (v == FStyle)
        return;
    FStyle = v;
    Changed();
}

void TPen::SetMode(TPenMode v)
{
    if (v == FMode)
        return;
    FMode = v;
    Changed();
}

void TPen::Assign(const TPersistent* Source)
{
    if (auto p = dynamic_cast<const TPen*>(Source)) {
        if (p == this)
            return;
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor v)
{
    if (v == FColor && !(FStyle == TBrushStyle::bsClear && v != clNone))
        return;
    FColor = v;
    if (FStyle == TBrushStyle::bsClear && v != clNone)
        FStyle = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle v)
{
    if (v == FStyle)
        return;
    FStyle = v;
    Changed();
}

void TBrush::Assign(const TPersistent* Source)
{
    if (auto b = dynamic_cast<const TBrush*>(Source)) {
        if (b == this)
            return;
        FColor = b->FColor;
        FStyle = b->FStyle;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

// ---------------------------------------------------------------------------
// Canvas helpers

namespace {

bool rasterOps(QPainter* p)
{
    return p->paintEngine() && p->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
}

// Maps a pen mode to a composition mode and, for the fixed-colour modes, the
// colour to draw with. Returns false when nothing is to be drawn.
bool penModeComposition(TPenMode mode, QPainter::CompositionMode& cm, QColor& color)
{
    cm = QPainter::CompositionMode_SourceOver;
    switch (mode) {
    case TPenMode::pmNop:
        return false;
    case TPenMode::pmBlack:
        color = Qt::black;
        break;
    case TPenMode::pmWhite:
        color = Qt::white;
        break;
    case TPenMode::pmCopy:
        break;
    case TPenMode::pmNot:
        cm = QPainter::RasterOp_NotDestination;
        break;
    case TPenMode::pmNotCopy:
        cm = QPainter::RasterOp_NotSource;
        break;
    case TPenMode::pmMergePenNot:
        cm = QPainter::RasterOp_SourceOrNotDestination;
        break;
    case TPenMode::pmMaskPenNot:
        cm = QPainter::RasterOp_SourceAndNotDestination;
        break;
    case TPenMode::pmMergeNotPen:
        cm = QPainter::RasterOp_NotSourceOrDestination;
        break;
    case TPenMode::pmMaskNotPen:
        cm = QPainter::RasterOp_NotSourceAndDestination;
        break;
    case TPenMode::pmMerge:
        cm = QPainter::RasterOp_SourceOrDestination;
        break;
    case TPenMode::pmNotMerge:
        cm = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    case TPenMode::pmMask:
        cm = QPainter::RasterOp_SourceAndDestination;
        break;
    case TPenMode::pmNotMask:
        cm = QPainter::RasterOp_NotSourceOrNotDestination;
        break;
    case TPenMode::pmXor:
        cm = QPainter::RasterOp_SourceXorDestination;
        break;
    case TPenMode::pmNotXor:
        cm = QPainter::RasterOp_NotSourceXorDestination;
        break;
    }
    return true;
}

void setComposition(QPainter* p, QPainter::CompositionMode cm)
{
    if (cm >= QPainter::RasterOp_SourceOrDestination && !rasterOps(p))
        cm = QPainter::CompositionMode_SourceOver;
    p->setCompositionMode(cm);
}

Qt::BrushStyle qtBrushStyle(TBrushStyle s)
{
    switch (s) {
    case TBrushStyle::bsSolid:
        return Qt::SolidPattern;
    case TBrushStyle::bsClear:
        return Qt::NoBrush;
    case TBrushStyle::bsHorizontal:
        return Qt::HorPattern;
    case TBrushStyle::bsVertical:
        return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal:
        return Qt::FDiagPattern; // "\\\\"
    case TBrushStyle::bsBDiagonal:
        return Qt::BDiagPattern; // "////"
    case TBrushStyle::bsCross:
        return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

QPen qtPen(const TPen& pen, QColor color)
{
    if (pen.IsClear())
        return QPen(Qt::NoPen);
    const int w = std::max(1, pen.Width());
    QPen p(color);
    p.setWidth(w);
    if (w > 1) {
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
    } else {
        p.setCapStyle(Qt::SquareCap);
        p.setJoinStyle(Qt::MiterJoin);
    }
    // Dashes of the system's cosmetic pens, in pixels.
    switch (pen.Style()) {
    case TPenStyle::psDash:
        p.setDashPattern({ 18.0 / w, 6.0 / w });
        break;
    case TPenStyle::psDot:
        p.setDashPattern({ 3.0 / w, 3.0 / w });
        break;
    case TPenStyle::psDashDot:
        p.setDashPattern({ 9.0 / w, 6.0 / w, 3.0 / w, 6.0 / w });
        break;
    case TPenStyle::psDashDotDot:
        p.setDashPattern({ 9.0 / w, 3.0 / w, 3.0 / w, 3.0 / w, 3.0 / w, 3.0 / w });
        break;
    case TPenStyle::psAlternate:
        p.setDashPattern({ 1.0, 1.0 });
        break;
    default:
        break;
    }
    return p;
}

void normalize(int& x1, int& y1, int& x2, int& y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
}

} // namespace

// ---------------------------------------------------------------------------
// TCanvas

TCanvas::TCanvas()
{
    syncBrush();
}

TCanvas::~TCanvas()
{
    if (FPainter && FPainter->isActive())
        FPainter->end();
}

bool TCanvas::BeginDraw(QPaintDevice* device)
{
    EndDraw();
    if (!device)
        return false;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(device))
        return false;
    FDevice = device;
    FPainter = std::move(painter);
    FPainterFontSet = false;
    FPenSetup.Valid = false;
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, true);
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    applyClip();
    return true;
}

void TCanvas::EndDraw()
{
    if (FPainter) {
        if (FPainter->isActive())
            FPainter->end();
        FPainter.reset();
    }
    FDevice = nullptr;
}

TSize TCanvas::DeviceSize() const
{
    if (!FDevice)
        return {};
    return { FDevice->width(), FDevice->height() };
}

static bool DeviceHasOwnResolution(const QPaintDevice* device)
{
    return device && (device->devType() == QInternal::Image || device->devType() == QInternal::Printer);
}

int TCanvas::PixelsPerInchX() const
{
    return DeviceHasOwnResolution(FDevice) ? FDevice->logicalDpiX() : PlatformInfo().ScreenDpi;
}

int TCanvas::PixelsPerInchY() const
{
    return DeviceHasOwnResolution(FDevice) ? FDevice->logicalDpiY() : PlatformInfo().ScreenDpi;
}

int TCanvas::SetBkMode(int mode)
{
    syncBrush();
    const int old = FBkMode;
    FBkMode = mode == TRANSPARENT ? TRANSPARENT : OPAQUE;
    return old;
}

TColor TCanvas::SetBkColor(TColor c)
{
    syncBrush();
    const TColor old = FBkColor;
    FBkColor = c;
    return old;
}

void TCanvas::syncBrush() const
{
    // A changed brush sets the background from it, as the toolkit's canvas
    // does when it selects the brush; SetBkMode/SetBkColor hold until then.
    if (FBrushGeneration == FBrush.Generation())
        return;
    FBrushGeneration = FBrush.Generation();
    if (FBrush.IsClear()) {
        FBkMode = TRANSPARENT;
    } else {
        FBkMode = OPAQUE;
        FBkColor = FBrush.Color();
    }
}

const QFont& TCanvas::QtFont() const
{
    if (FFontGeneration != FFont.ShapeGeneration()) {
        const TFontShape shape { FFont.Name(), FFont.Height(), FFont.Style(), FFont.Charset(), FFont.Pitch(),
            FFont.Orientation(), FFont.Quality() };
        TRecentFont* recent = nullptr;
        for (TRecentFont& r : FRecentFonts)
            if (r.Metrics && r.Shape == shape)
                recent = &r;
        if (!recent) {
            recent = &FRecentFonts[FNextRecentFont++ % FRecentFonts.size()];
            recent->Shape = shape;
            recent->Font = FFont.ToQFont();
            recent->Metrics.emplace(recent->Font);
            recent->Line = { recent->Metrics->ascent(), recent->Metrics->descent(), recent->Metrics->leading() };
        }
        FQFont = recent->Font;
        FMetrics = recent->Metrics;
        FLineMetrics = recent->Line;
        FFontGeneration = FFont.ShapeGeneration();
    }
    return FQFont;
}

const TCanvas::TLineMetrics& TCanvas::LineMetrics() const
{
    QtFont();
    return FLineMetrics;
}

void TCanvas::requireTextFont()
{
    const QFont& font = QtFont();
    // Setting a font on the painter resolves it for the device anew: the
    // painter keeps the one it has while that is still the font set last.
    if (FPainterFontSet && FPainterFontSource.isCopyOf(font) && FPainter->font().isCopyOf(FPainterFont))
        return;
    FPainter->setFont(font);
    FPainterFont = FPainter->font();
    FPainterFontSource = font;
    FPainterFontSet = true;
}

const QFontMetrics& TCanvas::FontMetrics() const
{
    QtFont();
    return *FMetrics;
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

bool TCanvas::RequirePen()
{
    if (!FPainter)
        return false;
    syncBrush();
    QPainter* p = FPainter.get();
    const Qt::BGMode bgMode = FBkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode;
    // The painter still has the pen set up last for this pen and background
    // (lines drawn one after another): nothing to set up.
    TPenSetup& s = FPenSetup;
    if (s.Valid && s.Color == FPen.Color() && s.Width == FPen.Width() && s.Style == FPen.Style()
        && s.Mode == FPen.Mode() && s.BkMode == FBkMode && s.BkColor == FBkColor && p->pen() == s.Pen
        && p->compositionMode() == s.Composition && p->backgroundMode() == bgMode
        && p->background().style() == Qt::SolidPattern && p->background().color() == s.Background)
        return true;
    s.Valid = false;
    QPainter::CompositionMode cm;
    QColor color = ColorToQColor(FPen.Color());
    if (FPen.IsClear() || !penModeComposition(FPen.Mode(), cm, color)) {
        p->setPen(Qt::NoPen);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return false;
    }
    s.Pen = qtPen(FPen, color);
    s.Background = ColorToQColor(FBkColor);
    p->setPen(s.Pen);
    setComposition(p, cm);
    // Gaps of dashed lines take the background colour in OPAQUE mode.
    p->setBackgroundMode(bgMode);
    p->setBackground(s.Background);
    s.Composition = p->compositionMode();
    s.Color = FPen.Color();
    s.Width = FPen.Width();
    s.Style = FPen.Style();
    s.Mode = FPen.Mode();
    s.BkMode = FBkMode;
    s.BkColor = FBkColor;
    s.Valid = true;
    return true;
}

bool TCanvas::RequireBrush()
{
    if (!FPainter)
        return false;
    syncBrush();
    FPainter->setBackgroundMode(FBkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    FPainter->setBackground(ColorToQColor(FBkColor));
    // Hatches line up with the device, not with the shape.
    FPainter->setBrushOrigin(-FOrigin.X, -FOrigin.Y);
    if (FBrush.IsClear()) {
        FPainter->setBrush(Qt::NoBrush);
        return false;
    }
    FPainter->setBrush(QBrush(ColorToQColor(FBrush.Color()), qtBrushStyle(FBrush.Style())));
    return true;
}

// Shapes: the pen mode applies to outline and fill alike.
bool TCanvas::requireShape()
{
    if (!FPainter)
        return false;
    const bool pen = RequirePen();
    const bool brush = RequireBrush();
    if (!pen) {
        QPainter::CompositionMode cm;
        QColor dummy;
        if (!penModeComposition(FPen.Mode(), cm, dummy))
            return false;
        setComposition(FPainter.get(), cm);
    }
    return pen || brush;
}

void TCanvas::applyClip()
{
    if (!FPainter)
        return;
    FPainter->resetTransform();
    if (FHasClip)
        FPainter->setClipRegion(FClip);
    else
        FPainter->setClipping(false);
    FPainter->translate(FOrigin.X, FOrigin.Y);
}

// Whether an axis-parallel line of the painter's pen paints the same pixels
// as filling them: a thin opaque solid pen drawn over, without antialiasing,
// under at most a whole-pixel translation.
static bool fillsLikeLine(const QPainter* p)
{
    const QPen& pen = p->pen();
    if (pen.style() != Qt::SolidLine || pen.widthF() > 1 || pen.brush().style() != Qt::SolidPattern
        || pen.color().alpha() != 255 || p->compositionMode() != QPainter::CompositionMode_SourceOver
        || p->testRenderHint(QPainter::Antialiasing))
        return false;
    const QTransform& t = p->transform();
    return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}

// Whether the canvas' pen, set up, would draw lines along an axis as
// fillsLikeLine tells, and in which colour. If so, the painter is set up as
// RequirePen sets it, but for the pen itself, which a fill does not use.
bool TCanvas::requireLineFill(QColor& color)
{
    if (FPen.IsClear() || FPen.Width() > 1)
        return false;
    switch (FPen.Style()) {
    case TPenStyle::psSolid:
    case TPenStyle::psInsideFrame:
    case TPenStyle::psUserStyle:
        break;
    default:
        return false; // dashed
    }
    QPainter::CompositionMode cm;
    color = ColorToQColor(FPen.Color());
    if (!penModeComposition(FPen.Mode(), cm, color) || cm != QPainter::CompositionMode_SourceOver
        || color.alpha() != 255 || FPainter->testRenderHint(QPainter::Antialiasing))
        return false;
    const QTransform& t = FPainter->transform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    QPainter* p = FPainter.get();
    syncBrush();
    if (p->compositionMode() != QPainter::CompositionMode_SourceOver)
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const Qt::BGMode bgMode = FBkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode;
    if (p->backgroundMode() != bgMode)
        p->setBackgroundMode(bgMode);
    const QColor background = ColorToQColor(FBkColor);
    if (p->background().style() != Qt::SolidPattern || p->background().color() != background)
        p->setBackground(background);
    return true;
}

// A thin solid line along an axis from a to b (device columns), without its
// end point, covers exactly a rectangle, which fills without the stroker.
void TCanvas::fillAxisLine(TPoint a, TPoint b, const QColor& color)
{
    const int dx = b.X - a.X, dy = b.Y - a.Y;
    const int sx = dx > 0 ? 1 : dx < 0 ? -1 : 0;
    const int sy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    const QPoint e(b.X - sx, b.Y - sy);
    FPainter->fillRect(
        QRect(QPoint(std::min(a.X, e.x()), std::min(a.Y, e.y())), QPoint(std::max(a.X, e.x()), std::max(a.Y, e.y()))),
        color);
}

void TCanvas::lineExcludingEnd(TPoint a, TPoint b)
{
    if (a == b)
        return;
    a.X = OrientedX(a.X);
    b.X = OrientedX(b.X);
    QPainter* p = FPainter.get();
    if (p->pen().width() > 1) {
        p->drawLine(a.X, a.Y, b.X, b.Y);
        return;
    }
    const int dx = b.X - a.X, dy = b.Y - a.Y;
    if (dy == 0 || dx == 0 || std::abs(dx) == std::abs(dy)) {
        // Straight and diagonal lines: stop one step short of the end point.
        const int sx = dx > 0 ? 1 : dx < 0 ? -1 : 0;
        const int sy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
        if ((dx == 0 || dy == 0) && fillsLikeLine(p)) {
            fillAxisLine(a, b, p->pen().color());
            return;
        }
        p->drawLine(a.X, a.Y, b.X - sx, b.Y - sy);
        return;
    }
    // Other slopes: draw the whole line with the end pixel clipped away.
    p->save();
    QRegion region = FHasClip ? FClip.translated(-FOrigin.X, -FOrigin.Y) : QRegion(Everything);
    region -= QRegion(b.X, b.Y, 1, 1);
    p->setClipRegion(region);
    p->drawLine(a.X, a.Y, b.X, b.Y);
    p->restore();
}

void TCanvas::MoveTo(int x, int y)
{
    FPenPos = { x, y };
}

void TCanvas::LineTo(int x, int y)
{
    const TPoint a = FPenPos, b(x, y);
    QColor color;
    if (FPainter && a != b && (a.X == b.X || a.Y == b.Y) && requireLineFill(color)) {
        // Grid lines, cell by cell: a fill needs no pen set up.
        Changing();
        fillAxisLine(TPoint(OrientedX(a.X), a.Y), TPoint(OrientedX(b.X), b.Y), color);
        Changed();
    } else if (FPainter && RequirePen()) {
        Changing();
        lineExcludingEnd(a, b);
        Changed();
    }
    FPenPos = b;
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    normalize(x1, y1, x2, y2);
    orientRect(x1, x2);
    if (x2 <= x1 || y2 <= y1 || !requireShape())
        return;
    Changing();
    QPainter* p = FPainter.get();
    if (p->pen().style() == Qt::NoPen) {
        // Without a pen the system fills one pixel less to the right and bottom.
        if (x2 - x1 > 1 && y2 - y1 > 1)
            p->fillRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1), p->brush());
    } else {
        const int w = std::max(1, FPen.Width());
        if (FPen.Style() == TPenStyle::psInsideFrame && w > 1) {
            const int in = w / 2;
            x1 += in;
            y1 += in;
            x2 -= (w - 1) / 2;
            y2 -= (w - 1) / 2;
        }
        // Fill inside the outline, then the outline, so that a raster-op pen
        // (XOR rubber bands) touches each pixel once.
        if (p->brush().style() != Qt::NoBrush && x2 - x1 > 2 && y2 - y1 > 2)
            p->fillRect(QRect(x1 + 1, y1 + 1, x2 - x1 - 2, y2 - y1 - 2), p->brush());
        const QBrush brush = p->brush();
        p->setBrush(Qt::NoBrush);
        p->drawRect(QRect(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1)));
        p->setBrush(brush);
    }
    Changed();
}

void TCanvas::FillRect(const TRect& given)
{
    if (!FPainter || given.IsEmpty() || FBrush.IsClear())
        return;
    const TRect r = Oriented(given);
    Changing();
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (FBrush.Style() == TBrushStyle::bsSolid) {
        // A solid fill needs no brush set up on the painter (a cell's
        // background, a gradient's bands).
        syncBrush();
        FPainter->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), ColorToQColor(FBrush.Color()));
    } else {
        RequireBrush();
        FPainter->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), FPainter->brush());
    }
    Changed();
}

void TCanvas::FrameRect(const TRect& given)
{
    if (!FPainter || given.IsEmpty() || FBrush.IsClear())
        return;
    const TRect r = Oriented(given);
    Changing();
    RequireBrush();
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QBrush b = FPainter->brush();
    const int w = r.Width(), h = r.Height();
    FPainter->fillRect(QRect(r.Left, r.Top, w, 1), b);
    if (h > 1)
        FPainter->fillRect(QRect(r.Left, r.Bottom - 1, w, 1), b);
    if (h > 2) {
        FPainter->fillRect(QRect(r.Left, r.Top + 1, 1, h - 2), b);
        if (w > 1)
            FPainter->fillRect(QRect(r.Right - 1, r.Top + 1, 1, h - 2), b);
    }
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    normalize(x1, y1, x2, y2);
    orientRect(x1, x2);
    if (x2 <= x1 || y2 <= y1 || !requireShape())
        return;
    Changing();
    FPainter->drawRoundedRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1), x3 / 2.0, y3 / 2.0);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    normalize(x1, y1, x2, y2);
    orientRect(x1, x2);
    if (x2 <= x1 || y2 <= y1 || !requireShape())
        return;
    Changing();
    FPainter->drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    Changed();
}

void TCanvas::drawShape(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    normalize(x1, y1, x2, y2);
    if (FOrientation.RightToLeft) {
        // Mirrored, a counter-clockwise sweep runs clockwise: the radials swap.
        orientRect(x1, x2);
        const int w = FOrientation.Width;
        x3 = w - x3;
        x4 = w - x4;
        std::swap(x3, x4);
        std::swap(y3, y4);
    }
    if (x2 <= x1 || y2 <= y1)
        return;
    const bool ok = kind == 0 ? RequirePen() : requireShape();
    if (!ok)
        return;
    Changing();
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    auto angle = [&](int x, int y) { return std::atan2(-(y - cy), x - cx) * 180.0 / M_PI; };
    const double a1 = angle(x3, y3);
    double span = angle(x4, y4) - a1;
    while (span <= 0)
        span += 360.0; // equal radials give the whole ellipse
    const QRect r(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    const int a16 = int(std::lround(a1 * 16)), s16 = int(std::lround(span * 16));
    if (kind == 0)
        FPainter->drawArc(r, a16, s16);
    else if (kind == 1)
        FPainter->drawPie(r, a16, s16);
    else
        FPainter->drawChord(r, a16, s16);
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    drawShape(0, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    drawShape(1, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    drawShape(2, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    if (points.size() < 2 || !requireShape())
        return;
    Changing();
    QPolygon poly;
    for (const TPoint& pt : points)
        poly << QPoint(OrientedX(pt.X), pt.Y);
    FPainter->drawPolygon(poly, Qt::OddEvenFill);
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    if (points.size() < 2 || !RequirePen())
        return;
    Changing();
    if (FPainter->pen().width() > 1) {
        QPolygon poly;
        for (const TPoint& pt : points)
            poly << QPoint(OrientedX(pt.X), pt.Y);
        FPainter->drawPolyline(poly);
    } else {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            lineExcludingEnd(points[i], points[i + 1]);
    }
    Changed();
}

void TCanvas::PolyBezier(std::span<const TPoint> points)
{
    if (points.size() < 4 || (points.size() - 1) % 3 != 0 || !RequirePen())
        return;
    Changing();
    QPainterPath path(QPointF(OrientedX(points[0].X), points[0].Y));
    for (size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(OrientedX(points[i].X), points[i].Y, OrientedX(points[i + 1].X), points[i + 1].Y,
            OrientedX(points[i + 2].X), points[i + 2].Y);
    FPainter->setBrush(Qt::NoBrush);
    FPainter->drawPath(path);
    Changed();
}

QImage* TCanvas::rasterImage() const
{
    if (FDevice && FDevice->devType() == QInternal::Image)
        return static_cast<QImage*>(FDevice);
    return nullptr;
}

TColor TCanvas::Pixels(int x, int y) const
{
    const QImage* img = rasterImage();
    if (!img)
        return clNone;
    const int dx = OrientedX(x) + FOrigin.X, dy = y + FOrigin.Y;
    if (!img->rect().contains(dx, dy) || (FHasClip && !FClip.contains(QPoint(dx, dy))))
        return clNone;
    return QColorToColor(QColor::fromRgb(img->pixel(dx, dy)));
}

void TCanvas::SetPixels(int x, int y, TColor c)
{
    if (!FPainter || c == clNone)
        return;
    Changing();
    FPainter->setCompositionMode(QPainter::CompositionMode_Source);
    FPainter->fillRect(QRect(OrientedX(x), y, 1, 1), ColorToQColor(c));
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Changed();
}

// The device pixels a drawing can reach: the device within the canvas' clip.
// Loops that draw pixel by pixel walk only these.
static QRect paintableRect(const QPainter* p, bool hasClip, const QRegion& clip)
{
    const QPaintDevice* d = p->device();
    QRect r = d ? QRect(0, 0, d->width(), d->height()) : Everything;
    if (hasClip)
        r &= clip.boundingRect();
    return r;
}

void TCanvas::DrawFocusRect(const TRect& given)
{
    if (!FPainter || given.IsEmpty())
        return;
    const TRect r = Oriented(given);
    Changing();
    QPainter* p = FPainter.get();
    p->save();
    // Every other pixel of the frame inverted, in a pattern fixed to the
    // device, so a second call restores the surface.
    const bool canInvert = rasterOps(p);
    p->setCompositionMode(canInvert ? QPainter::RasterOp_NotDestination : QPainter::CompositionMode_SourceOver);
    const QColor color = canInvert ? QColor(Qt::white) : QColor(Qt::gray);
    auto dot = [&](int x, int y) {
        if (((x + FOrigin.X + y + FOrigin.Y) & 1) == 0)
            p->fillRect(QRect(x, y, 1, 1), color);
    };
    // Only the dots that can show are walked: the frame of a merged area of
    // a million rows reaches far past the device. The pattern stays fixed to
    // the device, so a frame drawn in parts matches one drawn whole.
    const QRect shown = paintableRect(p, FHasClip, FClip).translated(-FOrigin.X, -FOrigin.Y);
    const int left = std::max(r.Left, shown.left()), right = std::min(r.Right, shown.right() + 1);
    const int top = std::max(r.Top + 1, shown.top()), bottom = std::min(r.Bottom - 1, shown.bottom() + 1);
    auto across = [&](int y) {
        if (y >= shown.top() && y <= shown.bottom())
            for (int x = left; x < right; ++x)
                dot(x, y);
    };
    auto down = [&](int x) {
        if (x >= shown.left() && x <= shown.right())
            for (int y = top; y < bottom; ++y)
                dot(x, y);
    };
    across(r.Top);
    if (r.Bottom - 1 > r.Top)
        across(r.Bottom - 1);
    down(r.Left);
    if (r.Right - 1 > r.Left)
        down(r.Right - 1);
    p->restore();
    Changed();
}

void TCanvas::InvertRect(const TRect& given)
{
    if (!FPainter || given.IsEmpty() || !rasterOps(FPainter.get()))
        return;
    const TRect r = Oriented(given);
    Changing();
    FPainter->setCompositionMode(QPainter::RasterOp_NotDestination);
    FPainter->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::white);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Changed();
}

void TCanvas::Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width)
{
    FPen.SetWidth(1);
    r.Bottom--;
    r.Right--;
    while (width > 0) {
        --width;
        const TPoint topLeft(r.Left, r.Top), bottomRight(r.Right, r.Bottom);
        const TPoint topRight(r.Right, r.Top);
        TPoint bottomLeft(r.Left, r.Bottom);
        FPen.SetColor(topColor);
        Polyline({ bottomLeft, topLeft, topRight });
        FPen.SetColor(bottomColor);
        bottomLeft.X--;
        Polyline({ topRight, bottomRight, bottomLeft });
        InflateRect(r, -1, -1);
    }
    r.Bottom++;
    r.Right++;
}

bool TCanvas::DrawEdge(TRect& rc, unsigned edge, unsigned flags)
{
    // Palette indices of the edge colours by inner (row) and outer (column)
    // border kind; -1 draws nothing.
    enum : signed char {
        N = -1,
        HL = 20, // button highlight
        LT = 22, // 3-D light
        SH = 16, // button shadow
        DK = 21, // 3-D dark shadow
        FACE = 15,
        WIN = 5,
        FRAME = 6
    };
    static const signed char LTInnerNormal[16] = { N, N, N, N, N, HL, HL, N, N, DK, DK, N, N, N, N, N };
    static const signed char LTOuterNormal[16] = { N, LT, SH, N, HL, LT, SH, N, DK, LT, SH, N, N, LT, SH, N };
    static const signed char RBInnerNormal[16] = { N, N, N, N, N, SH, SH, N, N, LT, LT, N, N, N, N, N };
    static const signed char RBOuterNormal[16] = { N, DK, HL, N, SH, DK, HL, N, LT, DK, HL, N, N, DK, HL, N };
    static const signed char OuterMono[16]
        = { N, FRAME, FRAME, FRAME, WIN, FRAME, FRAME, FRAME, WIN, FRAME, FRAME, FRAME, WIN, FRAME, FRAME, FRAME };
    static const signed char InnerMono[16] = { N, N, N, N, N, WIN, WIN, WIN, N, WIN, WIN, WIN, N, WIN, WIN, WIN };
    static const signed char OuterFlat[16] = { N, SH, SH, SH, FACE, SH, SH, SH, FACE, SH, SH, SH, FACE, SH, SH, SH };
    static const signed char InnerFlat[16]
        = { N, N, N, N, N, FACE, FACE, FACE, N, FACE, FACE, FACE, N, FACE, FACE, FACE };

    const unsigned idx = edge & (BDR_INNER | BDR_OUTER);
    signed char ltInner, rbInner, ltOuter, rbOuter;
    if (flags & BF_MONO) {
        ltInner = rbInner = InnerMono[idx];
        ltOuter = rbOuter = OuterMono[idx];
    } else if (flags & BF_FLAT) {
        ltInner = rbInner = InnerFlat[idx];
        ltOuter = rbOuter = OuterFlat[idx];
    } else {
        ltInner = LTInnerNormal[idx];
        ltOuter = LTOuterNormal[idx];
        rbInner = RBInnerNormal[idx];
        rbOuter = RBOuterNormal[idx];
    }

    TRect in = rc;
    if (FPainter) {
        Changing();
        QPainter* p = FPainter.get();
        p->save();
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setBrush(Qt::NoBrush);
        auto line = [&](signed char color, int x1, int y1, int x2, int y2) {
            if (color == N)
                return;
            QPen pen(ColorToQColor(GetSysColor(color)));
            pen.setWidth(1);
            pen.setCapStyle(Qt::SquareCap);
            p->setPen(pen);
            lineExcludingEnd({ x1, y1 }, { x2, y2 });
        };
        const int lbPlus = (flags & BF_BOTTOMLEFT) == BF_BOTTOMLEFT;
        const int rtPlus = (flags & BF_TOPRIGHT) == BF_TOPRIGHT;
        const int rbPlus = (flags & BF_BOTTOMRIGHT) == BF_BOTTOMRIGHT;
        const int ltPlus = (flags & BF_TOPLEFT) == BF_TOPLEFT;
        if (flags & BF_TOP)
            line(ltOuter, in.Left, in.Top, in.Right, in.Top);
        if (flags & BF_LEFT)
            line(ltOuter, in.Left, in.Top, in.Left, in.Bottom);
        if (flags & BF_BOTTOM)
            line(rbOuter, in.Right - 1, in.Bottom - 1, in.Left - 1, in.Bottom - 1);
        if (flags & BF_RIGHT)
            line(rbOuter, in.Right - 1, in.Bottom - 1, in.Right - 1, in.Top - 1);
        if (flags & BF_TOP)
            line(ltInner, in.Left + ltPlus, in.Top + 1, in.Right - rtPlus, in.Top + 1);
        if (flags & BF_LEFT)
            line(ltInner, in.Left + 1, in.Top + ltPlus, in.Left + 1, in.Bottom - lbPlus);
        if (flags & BF_BOTTOM)
            line(rbInner, in.Right - 1 - rbPlus, in.Bottom - 2, in.Left - 1 + lbPlus, in.Bottom - 2);
        if (flags & BF_RIGHT)
            line(rbInner, in.Right - 2, in.Bottom - 1 - rbPlus, in.Right - 2, in.Top - 1 + rtPlus);
        p->restore();
    }
    if (flags & (BF_MIDDLE | BF_ADJUST)) {
        const int add = (InnerMono[idx] != N ? 1 : 0) + (OuterMono[idx] != N ? 1 : 0);
        if (flags & BF_LEFT)
            in.Left += add;
        if (flags & BF_RIGHT)
            in.Right -= add;
        if (flags & BF_TOP)
            in.Top += add;
        if (flags & BF_BOTTOM)
            in.Bottom -= add;
        if ((flags & BF_MIDDLE) && FPainter && !in.IsEmpty())
            FPainter->fillRect(QRect(Oriented(in).Left, in.Top, in.Width(), in.Height()),
                ColorToQColor(GetSysColor((flags & BF_MONO) ? WIN : FACE)));
        if (flags & BF_ADJUST)
            rc = in;
    }
    if (FPainter)
        Changed();
    return true;
}

// ---------------------------------------------------------------------------
// Text

TCanvas::TTextMetrics TCanvas::TextMetrics() const
{
    const QFontMetrics& fm = FontMetrics();
    TTextMetrics m;
    m.Ascent = FLineMetrics.Ascent;
    m.Descent = FLineMetrics.Descent;
    m.Height = m.Ascent + m.Descent;
    m.ExternalLeading = std::max(0, FLineMetrics.Leading);
    m.InternalLeading = std::max(0, m.Height - QtFont().pixelSize());
    m.AveCharWidth = fm.averageCharWidth();
    m.MaxCharWidth = fm.maxWidth();
    return m;
}

QString SymbolToUnicode(const QString& text)
{
    static const char16_t kGreekUpper[] = u"\u0391\u0392\u03A7\u0394\u0395\u03A6\u0393\u0397\u0399\u03D1\u039A"
                                          u"\u039B\u039C\u039D\u039F\u03A0\u0398\u03A1\u03A3\u03A4\u03A5\u03C2"
                                          u"\u03A9\u039E\u03A8\u0396";
    struct Sign {
        char16_t From, To;
    };
    static const Sign kSigns[] = { { 0xA3, 0x2264 }, { 0xA5, 0x221E }, { 0xAC, 0x2190 }, { 0xAD, 0x2191 },
        { 0xAE, 0x2192 }, { 0xAF, 0x2193 }, { 0xB0, 0x00B0 }, { 0xB1, 0x00B1 }, { 0xB3, 0x2265 }, { 0xB4, 0x00D7 },
        { 0xB7, 0x2022 }, { 0xB8, 0x00F7 }, { 0xB9, 0x2260 }, { 0xBB, 0x2248 }, { 0xD6, 0x221A }, { 0xE5, 0x2211 },
        { 0xF2, 0x222B } };
    QString out = text;
    for (QChar& ch : out) {
        const char16_t u = ch.unicode();
        if (u >= 'A' && u <= 'Z')
            ch = QChar(kGreekUpper[u - 'A']);
        else if (u >= 'a' && u <= 'z')
            ch = QChar(kGreekUpper[u - 'a']).toLower();
        else
            for (const Sign& sign : kSigns)
                if (sign.From == u)
                    ch = QChar(sign.To);
    }
    return out;
}

// Text in a "Symbol" face: when the machine has no symbol face to stand in
// for it, the face's code points are shown as the characters they stand for
// (a list bullet stays a bullet) instead of a fallback font's Latin letters.
static QString SymbolFaceText(const TFont& font, const QString& text)
{
    if (font.Name().compare(QLatin1String("Symbol"), Qt::CaseInsensitive) != 0)
        return text;
    static const bool symbolFace
        = QFontInfo(QFont(QStringLiteral("Symbol"))).family().contains(QLatin1String("Symbol"), Qt::CaseInsensitive);
    return symbolFace ? text : SymbolToUnicode(text);
}

namespace {

// Widths of recently measured texts: a grid measures the same cell texts
// on every repaint (ellipsis checks, alignment), and laying a text out costs
// far more than a look-up.
// A screen of a grid holds several hundred texts. A long text is measured
// afresh each time: kept as a key it would make the cache's memory grow with
// every long text shown, and measuring it costs more than its hash anyway.
struct TWidthCache {
    struct TEntry {
        QFont Font;
        QString Text;
        int Width = 0;
        bool HasInk = false;
        QRect Ink; // relative to the start of the baseline
    };
    static constexpr size_t Size = 4096; // a power of two
    static constexpr qsizetype MaxText = 256; // characters of the longest text kept
    std::array<TEntry, Size> Entries;
    size_t Next = 0;
    TTextMeasureStats Stats;

    template <class Measure> TEntry& entry(const QFont& font, const QString& text, Measure measure)
    {
        const size_t slot = qHash(text) & (Size - 2); // two ways per hash
        for (size_t i = slot; i < slot + 2; ++i)
            if (Entries[i].Text == text && Entries[i].Font == font)
                return Entries[i];
        TEntry& e = Entries[slot + (Next++ & 1)];
        Stats.CachedChars += text.size() - e.Text.size();
        e.Font = font;
        e.Text = text;
        e.Width = measure();
        e.HasInk = false;
        return e;
    }
};

TWidthCache& WidthCache()
{
    thread_local TWidthCache cache;
    return cache;
}

} // namespace

TTextMeasureStats TextMeasureStats()
{
    return WidthCache().Stats;
}

// The one place that lays a text out to measure its advance.
static int MeasureAdvance(const QFontMetrics& fm, const TFont& font, const QString& text)
{
    WidthCache().Stats.LaidOutChars += text.size();
    return fm.horizontalAdvance(SymbolFaceText(font, text));
}

int TCanvas::TextWidth(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    const QFont& font = QtFont(); // brings the metrics up to date
    if (text.size() > TWidthCache::MaxText)
        return MeasureAdvance(*FMetrics, FFont, text);
    return WidthCache().entry(font, text, [&] { return MeasureAdvance(*FMetrics, FFont, text); }).Width;
}

TRect TCanvas::TextBounds(const QString& text) const
{
    if (text.isEmpty())
        return {};
    int width = 0;
    QRect ink;
    const QFont& font = QtFont(); // brings the metrics up to date
    if (text.size() > TWidthCache::MaxText) {
        width = MeasureAdvance(*FMetrics, FFont, text);
        ink = FMetrics->tightBoundingRect(SymbolFaceText(FFont, text));
    } else {
        auto& e = WidthCache().entry(font, text, [&] { return MeasureAdvance(*FMetrics, FFont, text); });
        if (!e.HasInk) {
            e.Ink = FMetrics->tightBoundingRect(SymbolFaceText(FFont, text));
            e.HasInk = true;
        }
        width = e.Width;
        ink = e.Ink;
    }
    // A pixel round the glyphs' boxes for their rounding.
    ink = ink.isEmpty() ? QRect() : ink.adjusted(-1, -1, 1, 1).translated(0, FLineMetrics.Ascent);
    const QRect box = QRect(0, 0, width, FLineMetrics.Ascent + FLineMetrics.Descent).united(ink);
    return TRect(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
}

int TCanvas::TextHeight(const QString&) const
{
    // The line's height, whatever the text: nothing to lay out.
    const TLineMetrics& lm = LineMetrics();
    return lm.Ascent + lm.Descent;
}

TSize TCanvas::TextExtent(const QString& text) const
{
    const TLineMetrics& lm = LineMetrics();
    return { text.isEmpty() ? 0 : MeasureAdvance(*FMetrics, FFont, text), lm.Ascent + lm.Descent };
}

// A line the painter's direct form draws exactly as the laid-out form does:
// no line or paragraph breaks or other control characters, no right-to-left
// script, and no underline
// or strike-out, which the two forms place differently at small sizes.
static bool plainLine(const QFont& font, const QString& text)
{
    if (font.underline() || font.strikeOut())
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x2028 || u == 0x2029 || (u >= 0x0590 && u < 0x0900) || (u >= 0xFB1D && u < 0xFF00))
            return false;
    }
    return true;
}

void TCanvas::DrawTextLine(int x, int y, const QString& given, bool rtl)
{
    if (!FPainter)
        return;
    const QString text = SymbolFaceText(FFont, given);
    syncBrush();
    QPainter* p = FPainter.get();
    const QFont& font = QtFont();
    const QFontMetrics& fm = *FMetrics;
    const TLineMetrics& lm = FLineMetrics;
    // Measuring lays the text out once more: only a background or a right
    // alignment needs the width.
    const bool mirrored = FOrientation.RightToLeft;
    const bool measure = !text.isEmpty() && (FBkMode == OPAQUE || rtl || mirrored);
    const int w = measure ? fm.horizontalAdvance(text) : 0;
    const int h = lm.Ascent + lm.Descent;
    // Mirrored, the text's cell moves and the glyphs keep their shape.
    if (mirrored)
        x = FFont.Orientation() != 0 ? FOrientation.Width - x : FOrientation.Width - x - w;
    const bool shown = FFont.Color() != clNone && !text.isEmpty();
    if (FFont.Orientation() == 0 && !rtl && (!shown || plainLine(font, text))) {
        // A straight plain line draws in place, without saving the painter
        // and without a layout (the same pixels as the laid-out form below):
        // what it switches is switched back, but for the pen and the font,
        // which every drawing sets up for itself.
        const QPainter::CompositionMode oldMode = p->compositionMode();
        if (oldMode != QPainter::CompositionMode_SourceOver)
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (FBkMode == OPAQUE && w > 0)
            p->fillRect(QRect(x, y, w, h), ColorToQColor(FBkColor));
        if (shown) {
            // An opaque painter would fill the text's cell once more.
            const Qt::BGMode oldBg = p->backgroundMode();
            if (oldBg != Qt::TransparentMode)
                p->setBackgroundMode(Qt::TransparentMode);
            const Qt::LayoutDirection oldDirection = p->layoutDirection();
            if (oldDirection != Qt::LeftToRight)
                p->setLayoutDirection(Qt::LeftToRight);
            requireTextFont();
            // A pen the painter already has is not made again.
            const QColor color = ColorToQColor(FFont.Color());
            if (FTextPenColor != color) {
                FTextPen = QPen(color);
                FTextPenColor = color;
            }
            p->setPen(FTextPen);
            p->drawText(QPoint(x, y + lm.Ascent), text);
            if (oldDirection != Qt::LeftToRight)
                p->setLayoutDirection(oldDirection);
            if (oldBg != Qt::TransparentMode)
                p->setBackgroundMode(oldBg);
        }
        if (oldMode != QPainter::CompositionMode_SourceOver)
            p->setCompositionMode(oldMode);
        return;
    }
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setBackgroundMode(Qt::TransparentMode); // the cell is filled below, once
    p->translate(x, y);
    if (FFont.Orientation() != 0)
        p->rotate(-FFont.Orientation() / 10.0);
    if (FBkMode == OPAQUE && w > 0)
        p->fillRect(QRect(0, 0, w, h), ColorToQColor(FBkColor));
    if (FFont.Color() != clNone && !text.isEmpty()) {
        p->setFont(font);
        p->setPen(ColorToQColor(FFont.Color()));
        p->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        // Draw into the measured cell so the advance equals TextWidth.
        const int flags = Qt::TextSingleLine | Qt::AlignTop | Qt::TextDontClip | (rtl ? Qt::AlignRight : Qt::AlignLeft);
        p->drawText(QRect(0, 0, measure ? std::max(w, 1) : 0x3FFFFF, h), flags, text);
    }
    p->restore();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (FPainter) {
        Changing();
        DrawTextLine(x, y, text, false);
        Changed();
    }
    FPenPos = { x + TextWidth(text), y };
}

bool TextLineInside(const TCanvas& canvas, const TRect& r, int x, int y, const QString& text)
{
    const TFont& font = *canvas.Font();
    if (canvas.DrawingOrientation().RightToLeft || font.Orientation() != 0
        || (font.Style() & (TFontStyle::fsUnderline | TFontStyle::fsStrikeOut)))
        return false;
    TRect b = canvas.TextBounds(text);
    if (b.IsEmpty())
        return true;
    b.Left += x;
    b.Right += x;
    b.Top += y;
    b.Bottom += y;
    return b.Left >= r.Left && b.Top >= r.Top && b.Right <= r.Right && b.Bottom <= r.Bottom;
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text)
{
    if (!FPainter)
        return;
    Changing();
    QPainter* p = FPainter.get();
    const TRect o = Oriented(r);
    // A clip of its own costs the painter more than the text: a line that
    // stays inside the rectangle (most cells' texts) is drawn without one.
    const bool clip = !TextLineInside(*this, r, x, y, text);
    if (clip) {
        p->save();
        p->setClipRect(QRect(o.Left, o.Top, o.Width(), o.Height()), Qt::IntersectClip);
    }
    if (!FBrush.IsClear() && !r.IsEmpty())
        p->fillRect(QRect(o.Left, o.Top, o.Width(), o.Height()), ColorToQColor(BkColor()));
    DrawTextLine(x, y, text, false);
    if (clip)
        p->restore();
    Changed();
}

// ---------------------------------------------------------------------------
// Pictures

void TCanvas::Draw(int x, int y, const QImage& image)
{
    if (!FPainter || image.isNull())
        return;
    Changing();
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter->drawImage(QPoint(FOrientation.RightToLeft ? FOrientation.Width - x - image.width() : x, y), image);
    Changed();
}

void TCanvas::StretchDraw(const TRect& given, const QImage& image)
{
    if (!FPainter || image.isNull() || given.IsEmpty())
        return;
    const TRect r = Oriented(given);
    Changing();
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter->drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), image);
    Changed();
}

QImage TCanvas::GrabRect(const TRect& given) const
{
    const QImage* img = rasterImage();
    if (!img || given.IsEmpty())
        return {};
    const TRect r = Oriented(given);
    return img->copy(r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Width(), r.Height());
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas* src, const TRect& source)
{
    if (!FPainter || !src || dest.IsEmpty())
        return;
    const TRect od = Oriented(dest);
    const QRect d(od.Left, od.Top, od.Width(), od.Height());
    QPainter* p = FPainter.get();
    Changing();
    p->save();
    auto fill = [&](const QColor& c) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->fillRect(d, c);
    };
    QPainter::CompositionMode cm = QPainter::CompositionMode_Source;
    bool needSource = true;
    switch (FCopyMode) {
    case cmBlackness:
        fill(Qt::black);
        needSource = false;
        break;
    case cmWhiteness:
        fill(Qt::white);
        needSource = false;
        break;
    case cmDstInvert:
        if (rasterOps(p)) {
            p->setCompositionMode(QPainter::RasterOp_NotDestination);
            p->fillRect(d, Qt::white);
        }
        needSource = false;
        break;
    case cmPatCopy:
        if (!FBrush.IsClear())
            fill(ColorToQColor(FBrush.Color()));
        needSource = false;
        break;
    case cmPatInvert:
        if (!FBrush.IsClear()) {
            setComposition(p, QPainter::RasterOp_SourceXorDestination);
            p->fillRect(d, ColorToQColor(FBrush.Color()));
        }
        needSource = false;
        break;
    case cmSrcInvert:
        cm = QPainter::RasterOp_SourceXorDestination;
        break;
    case cmSrcAnd:
        cm = QPainter::RasterOp_SourceAndDestination;
        break;
    case cmSrcPaint:
        cm = QPainter::RasterOp_SourceOrDestination;
        break;
    case cmNotSrcCopy:
        cm = QPainter::RasterOp_NotSource;
        break;
    case cmMergePaint:
        cm = QPainter::RasterOp_NotSourceOrDestination;
        break;
    case cmSrcErase:
        cm = QPainter::RasterOp_SourceAndNotDestination;
        break;
    case cmNotSrcErase:
        cm = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    default:
        break;
    }
    if (needSource) {
        const QImage img = src->GrabRect(source);
        if (!img.isNull()) {
            setComposition(p, cm);
            p->drawImage(d, img);
        }
    }
    p->restore();
    Changed();
}

// ---------------------------------------------------------------------------
// Clipping and origin

TRect TCanvas::ClipRect() const
{
    QRect r;
    if (FHasClip)
        r = FClip.boundingRect();
    else if (FDevice)
        r = QRect(0, 0, FDevice->width(), FDevice->height());
    if (r.isEmpty())
        return {};
    return Oriented(TRect(
        r.left() - FOrigin.X, r.top() - FOrigin.Y, r.left() - FOrigin.X + r.width(), r.top() - FOrigin.Y + r.height()));
}

TRegion TCanvas::ClipRegion() const
{
    return FHasClip ? FClip : TRegion();
}

void TCanvas::SelectClipRect(const TRect* r)
{
    if (!r) {
        FHasClip = false;
        FClip = TRegion();
    } else {
        FHasClip = true;
        const TRect o = Oriented(*r);
        FClip = o.IsEmpty() ? TRegion() : TRegion(o.Left + FOrigin.X, o.Top + FOrigin.Y, o.Width(), o.Height());
    }
    applyClip();
}

void TCanvas::SelectClipRgn(const TRegion* rgn)
{
    FHasClip = rgn != nullptr;
    FClip = rgn ? *rgn : TRegion();
    applyClip();
}

void TCanvas::IntersectClipRect(const TRect& given)
{
    const TRect r = Oriented(given);
    const TRegion add = r.IsEmpty() ? TRegion() : TRegion(r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Width(), r.Height());
    FClip = FHasClip ? FClip.intersected(add) : add;
    FHasClip = true;
    applyClip();
}

void TCanvas::ExcludeClipRect(const TRect& given)
{
    if (!FHasClip)
        FClip = TRegion(FDevice ? QRect(0, 0, FDevice->width(), FDevice->height()) : Everything);
    FHasClip = true;
    const TRect r = Oriented(given);
    if (!r.IsEmpty())
        FClip -= TRegion(r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Width(), r.Height());
    applyClip();
}

int TCanvas::SaveDC()
{
    syncBrush();
    FSaved.push_back({ FHasClip, FClip, FOrigin, FBkMode, FBkColor });
    return int(FSaved.size());
}

bool TCanvas::RestoreDC(int saved)
{
    if (saved < 0)
        saved = int(FSaved.size()) + 1 + saved;
    if (saved < 1 || saved > int(FSaved.size()))
        return false;
    const TSavedState s = FSaved[size_t(saved - 1)];
    FSaved.resize(size_t(saved - 1));
    FHasClip = s.HasClip;
    FClip = s.Clip;
    FOrigin = s.Origin;
    syncBrush();
    FBkMode = s.BkMode;
    FBkColor = s.BkColor;
    applyClip();
    return true;
}

void TCanvas::SetOrigin(TPoint p)
{
    FOrigin = p;
    applyClip();
}
