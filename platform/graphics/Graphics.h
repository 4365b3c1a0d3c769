#pragma once
// Fonts, pens, brushes and the canvas. The canvas draws through QPainter on any
// paint device and keeps the toolkit's conventions: LineTo leaves out its end
// point, right and bottom edges of rectangles are exclusive, text under a solid
// brush gets an opaque background, a brush or pen of clNone is clear, and
// shapes are drawn without antialiasing.

#include "platform/graphics/Colors.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Types.h"

#include <QFlags>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPen>
#include <QRegion>
#include <QString>

#include <array>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QPainter;
class QPaintDevice;
class TCanvas;

// ---------------------------------------------------------------------------
// Graphics objects

// Base of font, pen and brush: OnChange fires after every change.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;
    // Counts changes, so a canvas can tell that an object changed without
    // taking its OnChange.
    unsigned Generation() const { return FGeneration; }

protected:
    virtual void Changed();

private:
    unsigned FGeneration = 0;
};

enum class TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

enum class TFontPitch { fpDefault, fpVariable, fpFixed };
enum class TFontQuality {
    fqDefault,
    fqDraft,
    fqProof,
    fqNonAntialiased,
    fqAntialiased,
    fqClearType,
    fqClearTypeNatural
};
using TFontCharset = unsigned char;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;

// The screen resolution fonts are measured against.
inline constexpr int ScreenPixelsPerInch = 96;

class TFont : public TGraphicsObject {
public:
    static constexpr const char* DefaultName = "Tahoma";
    static constexpr int DefaultHeight = -11; // 8 points at 96 dpi

    TFont() = default;

    QString Name() const { return FName; }
    void SetName(const QString& v);
    // Points; Height in pixels (negative: character height without internal leading).
    int Size() const;
    void SetSize(int points);
    int Height() const { return FHeight; }
    void SetHeight(int pixels);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset v);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch v);
    // Escapement of the text line in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenths);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality v);
    int PixelsPerInch() const { return ScreenPixelsPerInch; }

    void Assign(const TPersistent* Source) override;
    bool SameAs(const TFont& other) const;
    // The Qt font this font draws with (pixel sized, for a 96 dpi device).
    QFont ToQFont() const;
    // Counts the changes that reach the Qt font: all but the colour, which a
    // grid switches for every selected cell.
    unsigned ShapeGeneration() const { return FShapeGeneration; }

private:
    void ShapeChanged();

    unsigned FShapeGeneration = 0;
    QString FName = QString::fromLatin1(DefaultName);
    int FHeight = DefaultHeight;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = TFontPitch::fpDefault;
    int FOrientation = 0;
    TFontQuality FQuality = TFontQuality::fqDefault;
};

enum class TPenStyle {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psUserStyle,
    psAlternate
};
enum class TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode v);
    // A pen of psClear or clNone draws nothing.
    bool IsClear() const { return FStyle == TPenStyle::psClear || FColor == clNone; }

    void Assign(const TPersistent* Source) override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = TPenStyle::psSolid;
    TPenMode FMode = TPenMode::pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TColor Color() const { return FColor; }
    // Setting a colour on a clear brush makes it solid, as the toolkit does.
    void SetColor(TColor v);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle v);
    // A brush of bsClear or clNone paints nothing.
    bool IsClear() const { return FStyle == TBrushStyle::bsClear || FColor == clNone; }

    void Assign(const TPersistent* Source) override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
};

// ---------------------------------------------------------------------------
// Canvas constants

using TCopyMode = unsigned;
inline constexpr TCopyMode cmBlackness = 0x00000042;
inline constexpr TCopyMode cmDstInvert = 0x00550009;
inline constexpr TCopyMode cmMergeCopy = 0x00C000CA;
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;
inline constexpr TCopyMode cmPatCopy = 0x00F00021;
inline constexpr TCopyMode cmPatInvert = 0x005A0049;
inline constexpr TCopyMode cmPatPaint = 0x00FB0A09;
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;
inline constexpr TCopyMode cmSrcErase = 0x00440328;
inline constexpr TCopyMode cmSrcInvert = 0x00660046;
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;

// Background modes for text and hatched brushes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Edge drawing (DrawEdge).
inline constexpr unsigned BDR_RAISEDOUTER = 0x0001;
inline constexpr unsigned BDR_SUNKENOUTER = 0x0002;
inline constexpr unsigned BDR_RAISEDINNER = 0x0004;
inline constexpr unsigned BDR_SUNKENINNER = 0x0008;
inline constexpr unsigned BDR_OUTER = 0x0003;
inline constexpr unsigned BDR_INNER = 0x000C;
inline constexpr unsigned BDR_RAISED = 0x0005;
inline constexpr unsigned BDR_SUNKEN = 0x000A;
inline constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr unsigned BF_LEFT = 0x0001;
inline constexpr unsigned BF_TOP = 0x0002;
inline constexpr unsigned BF_RIGHT = 0x0004;
inline constexpr unsigned BF_BOTTOM = 0x0008;
inline constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr unsigned BF_TOPRIGHT = BF_TOP | BF_RIGHT;
inline constexpr unsigned BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
inline constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr unsigned BF_MIDDLE = 0x0800;
inline constexpr unsigned BF_SOFT = 0x1000;
inline constexpr unsigned BF_ADJUST = 0x2000;
inline constexpr unsigned BF_FLAT = 0x4000;
inline constexpr unsigned BF_MONO = 0x8000;

using TRegion = QRegion;

// ---------------------------------------------------------------------------
// TCanvas

// Characters of the "Symbol" face's code page as the Unicode characters they
// stand for (0xB7 a bullet, letters Greek); the canvas shows Symbol text so
// when the machine has no symbol face.
QString SymbolToUnicode(const QString& text);

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // Attaches the canvas to a device. Pen, brush, font, pen position, copy
    // mode, clip and origin are the canvas' own and survive re-attaching, so a
    // bitmap may re-attach its canvas (after a resize) without losing them.
    // Returns false (and stays detached) when the device cannot be painted,
    // e.g. an empty image; drawing while detached does nothing.
    bool BeginDraw(QPaintDevice* device);
    void EndDraw();
    bool HandleAllocated() const { return FPainter != nullptr; }
    QPainter* Painter() const { return FPainter.get(); }
    QPaintDevice* Device() const { return FDevice; }
    // The device size (0 x 0 when not attached).
    TSize DeviceSize() const;
    // The device's pixels per logical inch: an image's own resolution, a
    // printer's; the screen's (PlatformInfo) for windows and when detached.
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;

    TFont* Font() { return &FFont; }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    const TFont* Font() const { return &FFont; }
    const TPen* Pen() const { return &FPen; }
    const TBrush* Brush() const { return &FBrush; }
    void SetFont(const TFont* v) { FFont.Assign(v); }
    void SetPen(const TPen* v) { FPen.Assign(v); }
    void SetBrush(const TBrush* v) { FBrush.Assign(v); }

    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint p) { FPenPos = p; }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode v) { FCopyMode = v; }

    // Background mode used by text and hatches. Changing the brush sets it
    // again from the brush (OPAQUE in the brush colour, TRANSPARENT when clear).
    int BkMode() const
    {
        syncBrush();
        return FBkMode;
    }
    int SetBkMode(int mode);
    TColor BkColor() const
    {
        syncBrush();
        return FBkColor;
    }
    TColor SetBkColor(TColor c);

    // Lines and shapes.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void RoundRect(const TRect& r, int cx, int cy) { RoundRect(r.Left, r.Top, r.Right, r.Bottom, cx, cy); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Counter-clockwise from the radial through (x3, y3) to the one through (x4, y4).
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Polygon(std::span<const TPoint> points);
    void Polygon(std::initializer_list<TPoint> points)
    {
        Polygon(std::span<const TPoint>(points.begin(), points.size()));
    }
    // Polyline leaves out the last point, as LineTo does.
    void Polyline(std::span<const TPoint> points);
    void Polyline(std::initializer_list<TPoint> points)
    {
        Polyline(std::span<const TPoint>(points.begin(), points.size()));
    }
    // 3n+1 points: start, then two control points and an end point per curve.
    void PolyBezier(std::span<const TPoint> points);
    void PolyBezier(std::initializer_list<TPoint> points)
    {
        PolyBezier(std::span<const TPoint>(points.begin(), points.size()));
    }
    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor c);
    // A dotted rectangle drawn by inverting; drawing it twice restores the surface.
    void DrawFocusRect(const TRect& r);
    // Inverts the pixels of the rectangle.
    void InvertRect(const TRect& r);
    // 3-D frame of `width` pixels: top/left in topColor, bottom/right in
    // bottomColor; the rectangle shrinks by the frame width.
    void Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width);
    // Edges in the system's 3-D colours; BF_ADJUST shrinks rect by the drawn edge.
    bool DrawEdge(TRect& r, unsigned edge, unsigned flags);

    // Text. TextOut places the top-left of the text cell at (x, y) and moves
    // the pen position to its end.
    void TextOut(int x, int y, const QString& text);
    // Text clipped to r; under a solid brush r is filled first.
    void TextRect(const TRect& r, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    TSize TextExtent(const QString& text) const;
    // Ascent, descent, internal and external leading of the current font.
    struct TTextMetrics {
        int Height = 0, Ascent = 0, Descent = 0, InternalLeading = 0, ExternalLeading = 0, AveCharWidth = 0,
            MaxCharWidth = 0;
    };
    TTextMetrics TextMetrics() const;

    // Pictures. Any graphic with Width(), Height() and Draw(TCanvas*, const TRect&)
    // can be drawn (TBitmap, TPicture's graphics).
    void Draw(int x, int y, const QImage& image);
    void StretchDraw(const TRect& r, const QImage& image);
    template <class G>
    requires requires(G& g, TCanvas* c, const TRect& r)
    {
        g.Width();
        g.Height();
        g.Draw(c, r);
    }
    void Draw(int x, int y, G* graphic)
    {
        if (graphic)
            graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
    }
    template <class G>
    requires requires(G& g, TCanvas* c, const TRect& r) { g.Draw(c, r); }
    void StretchDraw(const TRect& r, G* graphic)
    {
        if (graphic)
            graphic->Draw(this, r);
    }
    // Copies src's pixels from source to dest (scaled) under CopyMode.
    void CopyRect(const TRect& dest, const TCanvas* src, const TRect& source);
    // The device's pixels of r (in logical coordinates); a null image when the
    // device cannot be read back.
    QImage GrabRect(const TRect& r) const;

    // Clipping and origin. Rectangles are in logical coordinates.
    TRect ClipRect() const;
    bool HasClip() const { return FHasClip; }
    TRegion ClipRegion() const; // in device coordinates
    void SelectClipRect(const TRect* r); // nullptr removes the clip
    void SelectClipRgn(const TRegion* rgn); // device coordinates; nullptr removes the clip
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    // Saves clip, origin and background mode; RestoreDC(-1) restores the last,
    // RestoreDC(n) the state returned by the n-th SaveDC (and drops later ones).
    int SaveDC();
    bool RestoreDC(int saved);
    // Moves the logical origin: logical (0, 0) maps to device `Origin()`.
    TPoint Origin() const { return FOrigin; }
    void SetOrigin(TPoint p);
    void MoveOrigin(int dx, int dy) { SetOrigin({ FOrigin.X + dx, FOrigin.Y + dy }); }

    // Drawing orientation. Right to left mirrors every x about `Width` (a
    // right-to-left control's client width): rectangles, lines, points and
    // the places of texts and pictures move; glyphs and pictures keep their
    // shape. A caller that lays a part out mirrored itself switches back to
    // left to right around it.
    struct TOrientation {
        bool RightToLeft = false;
        int Width = 0;
    };
    TOrientation DrawingOrientation() const { return FOrientation; }
    void SetDrawingOrientation(TOrientation o) { FOrientation = o; }
    // Maps a rectangle (its columns [Left, Right)) or a pixel column between
    // drawing and device coordinates; each mapping is its own inverse.
    TRect Oriented(const TRect& r) const
    {
        return FOrientation.RightToLeft
            ? TRect(FOrientation.Width - r.Right, r.Top, FOrientation.Width - r.Left, r.Bottom)
            : r;
    }
    int OrientedX(int x) const { return FOrientation.RightToLeft ? FOrientation.Width - 1 - x : x; }

    // The change events fire around every drawing operation.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Draws one line of text with its cell's top-left at (x, y), in the font
    // colour, over the background when the background mode is OPAQUE.
    void DrawTextLine(int x, int y, const QString& text, bool rtl);
    // The Qt font the canvas draws with (kept in step with Font()).
    const QFont& QtFont() const;
    // Metrics of QtFont(), kept with it: every measure of the canvas uses them.
    const QFontMetrics& FontMetrics() const;
    // The line measures of QtFont(), read once per font: asking the metrics
    // looks the font's engine up each time.
    struct TLineMetrics {
        int Ascent = 0, Descent = 0, Leading = 0;
    };
    const TLineMetrics& LineMetrics() const;
    // The box one line of text may paint, relative to its top-left: its cell
    // (advance by line height) and the glyphs' ink. Remembered with the
    // text's width.
    TRect TextBounds(const QString& text) const;

    // Selects the pen (and its mode) or the brush and background into the
    // painter; false when the pen or brush draws nothing.
    bool RequirePen();
    bool RequireBrush();
    void Changing();
    void Changed();

private:
    struct TSavedState {
        bool HasClip;
        TRegion Clip;
        TPoint Origin;
        int BkMode;
        TColor BkColor;
    };
    void syncBrush() const;
    // Sets the painter's font to QtFont() unless it already has it.
    void requireTextFont();
    // The columns [x1, x2) of a shape, in device coordinates.
    void orientRect(int& x1, int& x2) const
    {
        if (FOrientation.RightToLeft) {
            const int l = FOrientation.Width - x2;
            x2 = FOrientation.Width - x1;
            x1 = l;
        }
    }
    bool requireShape();
    void applyClip();
    void lineExcludingEnd(TPoint a, TPoint b);
    bool requireLineFill(QColor& color);
    void fillAxisLine(TPoint a, TPoint b, const QColor& color);
    void drawShape(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void drawTextCell(int x, int y, const QString& text, const TRect* clip, bool opaqueRect);
    QImage* rasterImage() const;

    TFont FFont;
    mutable QFont FQFont;
    mutable std::optional<QFontMetrics> FMetrics;
    mutable TLineMetrics FLineMetrics;
    mutable unsigned FFontGeneration = ~0u;
    // The last fonts drawn with: a control switching between a few fonts
    // (a grid's fixed and normal cells) gets the same Qt font back, which
    // measures and draws without being resolved again.
    struct TFontShape {
        QString Name;
        int Height = 0;
        TFontStyles Style;
        TFontCharset Charset = 0;
        TFontPitch Pitch = TFontPitch::fpDefault;
        int Orientation = 0;
        TFontQuality Quality = TFontQuality::fqDefault;
        bool operator==(const TFontShape&) const = default;
    };
    struct TRecentFont {
        TFontShape Shape;
        QFont Font;
        std::optional<QFontMetrics> Metrics;
        TLineMetrics Line;
    };
    mutable std::array<TRecentFont, 4> FRecentFonts;
    mutable unsigned FNextRecentFont = 0;
    // The font last set on the painter for text, and the font it was made from.
    QFont FPainterFont;
    QFont FPainterFontSource;
    bool FPainterFontSet = false;
    // The pen last set for text, and its colour (none yet: invalid).
    QPen FTextPen;
    QColor FTextPenColor;
    // The pen set up by RequirePen, and what it was set up from.
    struct TPenSetup {
        bool Valid = false;
        TColor Color = clNone, BkColor = clNone;
        int Width = 0, BkMode = 0;
        TPenStyle Style = TPenStyle::psSolid;
        TPenMode Mode = TPenMode::pmCopy;
        QPen Pen;
        int Composition = 0; // a QPainter::CompositionMode
        QColor Background;
    };
    TPenSetup FPenSetup;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    mutable unsigned FBrushGeneration = ~0u;
    mutable int FBkMode = OPAQUE;
    mutable TColor FBkColor = clWhite;
    TPoint FOrigin;
    TOrientation FOrientation;
    bool FHasClip = false;
    TRegion FClip;
    std::vector<TSavedState> FSaved;
    QPaintDevice* FDevice = nullptr;
    std::unique_ptr<QPainter> FPainter;
};

// Attaches a canvas to a device for one scope.
class TCanvasLock {
public:
    TCanvasLock(TCanvas* c, QPaintDevice* d)
        : FCanvas(c)
    {
        FCanvas->BeginDraw(d);
    }
    ~TCanvasLock() { FCanvas->EndDraw(); }
    TCanvasLock(const TCanvasLock&) = delete;
    TCanvasLock& operator=(const TCanvasLock&) = delete;

private:
    TCanvas* FCanvas;
};
