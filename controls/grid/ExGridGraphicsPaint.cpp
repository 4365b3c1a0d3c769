// The cell graphic painter: the graphic's layout in its cell, its box beside
// the text, and the drawing of every kind; the check box and radio button
// painters in the seven control styles.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/Resources.h"
#include "platform/graphics/ThemePainter.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/SysUtils.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The program glyphs the painter draws, masked once (their background made
// see-through) so that painting a cell converts no image.
enum TGlyph {
    gChk01,
    gChk02,
    gChk03,
    gChk04,
    gChk05,
    gChk06,
    gChk07,
    gChk08,
    gRad01,
    gRad02,
    gRad03,
    gRad04,
    gRad05,
    gRad06,
    gRad07,
    gRad08,
    gLeafClose,
    gLeafOpen,
    gXPNodeC,
    gXPNodeO,
    gGlyphCount
};

const QImage& Glyph(TGlyph Id)
{
    static QImage cache[gGlyphCount];
    static bool loaded[gGlyphCount] = {};
    if (!loaded[Id]) {
        static const char* const names[gGlyphCount] = { "ESGCHK01", "ESGCHK02", "ESGCHK03", "ESGCHK04", "ESGCHK05",
            "ESGCHK06", "ESGCHK07", "ESGCHK08", "ESGRAD01", "ESGRAD02", "ESGRAD03", "ESGRAD04", "ESGRAD05", "ESGRAD06",
            "ESGRAD07", "ESGRAD08", "ESGLEAFCLOSE", "ESGLEAFOPEN", "XPNODEC", "XPNODEO" };
        QImage img = resources::Bitmap(QString::fromLatin1(names[Id])).convertToFormat(QImage::Format_ARGB32);
        if (!img.isNull()) {
            // The automatic transparent colour: the bottom-left pixel.
            const QRgb key = img.pixel(0, img.height() - 1);
            for (int y = 0; y < img.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if (line[x] == key)
                        line[x] = qRgba(0, 0, 0, 0);
            }
        }
        cache[Id] = img;
        loaded[Id] = true;
    }
    return cache[Id];
}

// A glyph over a background colour, as a bitmap whose background pixels take
// that colour; clNone leaves them alone.
void DrawGlyphOver(TCanvas* Canvas, TGlyph Id, TColor Background, int X, int Y)
{
    const QImage& img = Glyph(Id);
    if (img.isNull())
        return;
    if (Background != clNone) {
        const TColor saved = Canvas->Brush()->Color();
        Canvas->Brush()->SetColor(Background);
        Canvas->FillRect(TRect(X, Y, X + img.width(), Y + img.height()));
        Canvas->Brush()->SetColor(saved);
    }
    Canvas->Draw(X, Y, img);
}

// The theme class data, looked up once themes are on; nullptr while they are off.
HTHEME Theme(const char* ClassName)
{
    if (!IsThemeActive())
        return nullptr;
    static HTHEME button = nullptr, progress = nullptr;
    HTHEME& t = ClassName[0] == 'b' ? button : progress;
    if (!t)
        t = OpenThemeData(QString::fromLatin1(ClassName));
    return t;
}

// The start of a graphic Size long placed at the low end, the high end or the
// middle of [Lo, Hi), one pixel in from the edge it keeps to.
enum class TPlace { Low, High, Middle };
int PlaceStart(TPlace Where, int Lo, int Hi, int Size)
{
    switch (Where) {
    case TPlace::High:
        return Hi - Size - 1;
    case TPlace::Middle:
        return Size < Hi - Lo ? Lo + (Hi - Lo - Size) / 2 : Lo + 1;
    default:
        return Lo + 1;
    }
}

bool IsCheckFamily(TCellType t)
{
    switch (t) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
    case ctRadioButton:
        return true;
    default:
        return false;
    }
}

void Line(TCanvas* Canvas, int X1, int Y1, int X2, int Y2)
{
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

} // namespace

// ---------------------------------------------------------------------------
// Numbers read by the painters

int TExStringGrid::LenientInts(int ACol, int ARow)
{
    try {
        return Ints(ACol, ARow);
    } catch (const Exception&) {
        return 0;
    }
}

double TExStringGrid::LenientFloats(int ACol, int ARow)
{
    try {
        return Floats(ACol, ARow);
    } catch (const Exception&) {
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Layout

TCellGraphic* TExStringGrid::GetCellGraphicLayout(
    int RCol, int ARow, int& W, int& H, bool& TextAllowed, TCellHAlign& HAlign, TCellVAlign& VAlign)
{
    W = 0;
    H = 0;
    TextAllowed = true;
    HAlign = haLeft;
    VAlign = vaTop;
    TCellGraphic* g = GetCellGraphic(RCol, ARow);
    if (!g)
        return nullptr;
    HAlign = g->CellHAlign();
    VAlign = g->CellVAlign();
    TCustomImageList* images = GetGridImageList();
    const int check = FControlLook ? FControlLook->CheckSize() : 15;
    switch (g->CellType()) {
    case ctBitmap:
        if (const auto* b = dynamic_cast<const TGraphic*>(g->CellBitmap)) {
            W = b->Width();
            H = b->Height();
        }
        break;
    case ctIcon:
        if (const auto* i = dynamic_cast<const TGraphic*>(g->CellIcon)) {
            W = i->Width();
            H = i->Height();
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (images) {
            W = images->Width();
            H = images->Height();
            TextAllowed = g->CellType() == ctImageList;
        }
        break;
    case ctCheckBox:
    case ctTriStateCheckBox:
        W = H = check;
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        W = H = check;
        TextAllowed = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
        TextAllowed = false;
        break;
    case ctImages: {
        const auto* l = dynamic_cast<const TIntList*>(g->CellBitmap);
        const int n = l ? l->Count() : 0;
        const int iw = images ? images->Width() : 0, ih = images ? images->Height() : 0;
        W = g->CellBoolean() ? n * iw : iw;
        H = g->CellBoolean() ? ih : n * ih;
        break;
    }
    case ctPicture:
    case ctFilePicture: {
        const TPoint cs = CellSize(RCol, ARow);
        TPoint r(0, 0);
        g->GetPictureSize(
            cs.X - HorizontalTextMargin() - 1, cs.Y - VerticalTextMargin() - 1, !GetCellEx(RCol, ARow).isEmpty(), r);
        W = r.X;
        H = r.Y;
        break;
    }
    case ctButton:
    case ctBitButton:
        W = g->CellIndex() & 0xFFFF;
        H = int(unsigned(g->CellIndex()) >> 16);
        break;
    case ctProgressPie:
        W = H = 20;
        break;
    case ctInterface:
        if (auto* obj = dynamic_cast<IGridCellGraphic*>(g->CellBitmap)) {
            W = obj->GetWidth();
            H = obj->GetHeight();
        }
        break;
    case ctRadioButton:
        W = H = (FControlLook ? FControlLook->RadioSize() : 10) + 4;
        break;
    case ctShape:
        W = H = RowHeights(ARow) - 2 * FXYOffset.Y;
        break;
    case ctRating:
        W = 18 * g->CellAngle();
        H = 16;
        TextAllowed = false;
        break;
    default:
        break;
    }
    return g;
}

// ---------------------------------------------------------------------------
// The graphic

void TExStringGrid::PaintCellGraphic(TRect& Rect, TCellGraphic* Graphic, TVAlignment VA, TCellPaintContext& C)
{
    if (!Graphic)
        return;
    TCanvas* cv = C.Canvas;
    const TCellType type = Graphic->CellType();
    TRect R = Rect;
    const TRect& given = Rect;
    const int W = C.GraphicWidth, H = C.GraphicHeight;
    if (type != ctNode && type != ctProgress && type != ctRangeIndicator && type != ctXPProgress) {
        R.Left += FXYOffset.X - 1;
        R.Right -= FXYOffset.X - 1;
        R.Top += FXYOffset.Y - 1;
        R.Bottom -= FXYOffset.Y - 1;
    }
    int tw = C.TextWidth;
    if (tw > 0)
        tw += 2;

    // The graphic's box, beside the text by the graphic's alignment.
    TRect G = R;
    const int rw = R.Right - R.Left;
    switch (C.GraphicHAlign) {
    case haLeft:
    case haRight:
    case haCenter:
        G.Left = PlaceStart(C.GraphicHAlign == haLeft ? TPlace::Low
                : C.GraphicHAlign == haRight          ? TPlace::High
                                                      : TPlace::Middle,
            R.Left, R.Right, W);
        break;
    case haBeforeText:
        if (C.HAlign == taRightJustify)
            G.Left = R.Right - tw - W;
        else if (C.HAlign == taCenter)
            G.Left = R.Left + (rw - tw - W) / 2;
        else
            G.Left = R.Left + 1;
        if (G.Left < R.Left)
            G.Left = R.Left + 1;
        break;
    case haAfterText:
        if (C.HAlign == taRightJustify)
            G.Left = R.Right - W - 1;
        else if (C.HAlign == taCenter)
            G.Left = std::max(R.Left + 1, tw + R.Left + (rw - tw - W) / 2);
        else
            G.Left = R.Left + tw;
        break;
    case haFull:
        break;
    }
    if (C.GraphicHAlign != haFull)
        G.Right = G.Left + W;

    TCellVAlign va = C.GraphicVAlign;
    if (IsCheckFamily(type) && VA != FVAlignment)
        va = VA == TVAlignment::vtaCenter ? vaCenter : VA == TVAlignment::vtaBottom ? vaBottom : vaTop;
    switch (va) {
    case vaTop:
    case vaAboveText:
    case vaBottom:
    case vaCenter:
        G.Top = PlaceStart(va == vaBottom ? TPlace::High
                : va == vaCenter          ? TPlace::Middle
                                          : TPlace::Low,
            R.Top, R.Bottom, H);
        break;
    case vaUnderText:
        G.Top = R.Bottom - H;
        break;
    case vaFull:
        break;
    }
    if (va == vaUnderText)
        G.Bottom = R.Bottom;
    else if (va != vaFull)
        G.Bottom = G.Top + H;

    switch (type) {
    case ctBitmap:
        if (auto* b = dynamic_cast<TBitmap*>(Graphic->CellBitmap)) {
            if (Graphic->CellTransparent())
                DrawGlyphTransparent(cv, b, G.Left, G.Top);
            else
                cv->Draw(G.Left, G.Top, static_cast<TGraphic*>(b));
        }
        break;
    case ctIcon:
        if (auto* i = dynamic_cast<TGraphic*>(Graphic->CellIcon))
            cv->Draw(G.Left, G.Top, i);
        break;
    case ctImageList:
        if (TCustomImageList* il = GetGridImageList())
            il->Draw(cv, G.Left, G.Top, Graphic->CellIndex());
        break;
    case ctDataImage:
        if (TCustomImageList* il = GetGridImageList()) {
            // A cell value that is no number, or an index below the list,
            // shows no image.
            const int idx = LenientInts(C.RCol, C.ARow) + Graphic->CellIndex();
            if (idx >= 0 && idx < il->Count())
                il->Draw(cv, G.Left, G.Top, idx);
        }
        break;
    case ctImages: {
        TCustomImageList* il = GetGridImageList();
        const auto* l = dynamic_cast<const TIntList*>(Graphic->CellBitmap);
        if (!il || !l)
            break;
        int x = G.Left, y = G.Top;
        for (int i = 0; i < l->Count(); ++i) {
            il->Draw(cv, x, y, l->Integers(i));
            if (Graphic->CellBoolean())
                x += il->Width();
            else
                y += il->Height();
        }
        break;
    }
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
    case ctRadioButton: {
        const bool dataKind = type == ctDataCheckBox || type == ctVirtCheckBox || type == ctRowCheckBox;
        if (C.HAlign == taRightJustify) {
            const int e = dataKind ? R.Right : R.Right - tw;
            G.Left = std::max(R.Left + 1, e - W - 1);
        } else if (C.HAlign == taCenter) {
            if (dataKind || tw < 1)
                G.Left = R.Left + std::max(0, R.Right - W - R.Left) / 2;
            else
                G.Left = std::max(R.Left + 1, R.Left + std::max(0, R.Right - tw - R.Left) / 2 - W);
        } else
            G.Left = R.Left + 1;
        G.Right = G.Left + W;
        bool enabled = true;
        CanEditCell(C.RCol, C.ARow, enabled);
        const TGridControlStyle style = FControlLook ? FControlLook->ControlStyle() : TGridControlStyle::csClassic;
        if (type == ctCheckBox || type == ctRowCheckBox)
            DrawCheckBox(G, Graphic->CellBoolean(), enabled, Graphic->CellAngle() > 0, style, false, cbUnchecked, cv);
        else if (type == ctDataCheckBox || type == ctVirtCheckBox)
            DrawCheckBox(G, GetCellEx(C.RCol, C.ARow) == GetCheckTrue(C.RCol, C.ARow), enabled, false, style, false,
                cbUnchecked, cv);
        else if (type == ctTriStateCheckBox)
            DrawCheckBox(G, false, enabled, Graphic->CellAngle() > 0, style, true, Graphic->CellCheckBoxState(), cv);
        else {
            const int s = FControlLook ? FControlLook->RadioSize() : 10;
            G.Left += FXYOffset.X;
            G = TRect(G.Left, G.Top, G.Left + s, G.Top + s);
            // An unchecked button names no item, so no cell text can check it.
            DrawRadioButton(cv, G, 1, Graphic->CellBoolean() ? 0 : -2, false, !enabled, nullptr, false, C.RCol, C.ARow,
                style, 1, false);
        }
        break;
    }
    case ctRadio: {
        bool enabled = true;
        CanEditCell(C.RCol, C.ARow, enabled);
        const TStrings* items = GetRadioStrings(C.RCol, C.ARow);
        DrawRadioButton(cv, R, items ? items->Count() : 0, Graphic->CellIndex(), Graphic->CellBoolean(), !enabled,
            items, C.State.testFlag(gdSelected), C.RCol, C.ARow,
            FControlLook ? FControlLook->ControlStyle() : TGridControlStyle::csClassic, 1, false);
        break;
    }
    case ctRotated:
        PaintRotatedText(R, G, Graphic, C);
        break;
    case ctNode:
        PaintNodeGlyph(R, C);
        break;
    case ctPicture:
        if (auto* pic = dynamic_cast<TPicture*>(Graphic->CellBitmap)) {
            if (TStretchMode(Graphic->CellAngle()) != TStretchMode::noStretch)
                cv->StretchDraw(G, pic->Graphic());
            else
                cv->Draw(G.Left, G.Top, pic->Graphic());
        }
        break;
    case ctFilePicture:
        if (const auto* fp = dynamic_cast<const TFilePicture*>(Graphic->CellBitmap))
            fp->DrawPicture(cv, G);
        break;
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
        PaintProgress(R, Graphic, C);
        break;
    case ctProgressPie:
        DrawProgressPie(
            cv, TRect(G.Left, G.Top, G.Left + 20, G.Top + 20), Graphic->CellColor(), false, Graphic->CellAngle());
        break;
    case ctComment: {
        if (!FControlLook || FControlLook->CommentColor() == clNone)
            break;
        const TColor own = TColor(Graphic->CellIndex());
        const TColor color = own == clNone ? FControlLook->CommentColor() : own;
        cv->Pen()->SetColor(color);
        cv->Brush()->SetColor(color);
        cv->Polygon({ TPoint(given.Right - 7, given.Top), TPoint(given.Right - 2, given.Top),
            TPoint(given.Right - 2, given.Top + 5) });
        cv->Brush()->SetColor(Color());
        break;
    }
    case ctButton:
    case ctBitButton:
    case ctExpand:
        // A button larger than its cell moves, then shrinks, into it: its
        // whole frame shows.
        if (type != ctExpand) {
            const auto fit = [](int& lo, int& hi, int min, int max) {
                if (hi > max) {
                    lo -= hi - max;
                    hi = max;
                }
                lo = std::max(lo, min);
            };
            fit(G.Left, G.Right, given.Left, given.Right);
            fit(G.Top, G.Bottom, given.Top, given.Bottom);
        }
        PaintCellButton(R, G, Graphic, C);
        break;
    case ctInterface:
        if (auto* obj = dynamic_cast<IGridCellGraphic*>(Graphic->CellBitmap))
            obj->Draw(cv, TRect(R.Left - 1, R.Top - 1, R.Right, R.Bottom), C.RCol, C.ARow, C.State.testFlag(gdSelected),
                this);
        break;
    case ctShape:
        DrawCellShape(cv, G.Left, G.Top, Graphic->CellColor(), TColor(Graphic->CellIndex()),
            TCellShape(Graphic->CellAngle()), G.Height() - 1, G.Width() - 1);
        break;
    case ctRating: {
        // Half steps: 3.7 shows three and a half stars.
        const double rating = std::trunc(LenientFloats(C.RCol, C.ARow) * 2) / 2;
        const TColor fill = TColor(Graphic->CellIndex()), empty = Graphic->CellColor();
        int x = G.Left;
        for (int i = 0; i < Graphic->CellAngle(); ++i) {
            const TColor c = i + 1 > rating ? empty : fill;
            DrawCellShape(cv, x, G.Top, c, c, TCellShape::csStar, 16, 16);
            if (i < rating && rating < i + 1)
                DrawCellShape(cv, x, G.Top, fill, fill, TCellShape::csHalfStar, 16, 16);
            x += 18;
        }
        break;
    }
    default:
        break;
    }
}

void TExStringGrid::PaintRotatedText(TRect R, const TRect& G, TCellGraphic* Graphic, TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    const int angle = Graphic->CellAngle();
    const QString text = GetCellEx(C.RCol, C.ARow);
    // The text's origin from its extents in the paint canvas' font.
    const TSize ext = cv->TextExtent(text);
    TRect F(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    const double theta = angle * 3.14159265358979323846 / 180.0;
    const double c = std::cos(theta), s = std::sin(theta);
    PlaceRotatedText(F, C.HAlign, C.VAlign, int(std::fabs(c * ext.cy)), int(std::fabs(s * ext.cx)),
        int(std::fabs(s * ext.cy)), int(std::fabs(c * ext.cx)), angle);
    const int oldOrientation = cv->Font()->Orientation();
    cv->Font()->SetOrientation(angle * 10);
    InflateRect(R, -2, -2);
    const TBrushStyle oldStyle = cv->Brush()->Style();
    cv->Brush()->SetStyle(TBrushStyle::bsClear);
    cv->TextRect(R, F.Left, F.Top, text);
    cv->Brush()->SetStyle(oldStyle);
    cv->Font()->SetOrientation(oldOrientation);
    if (IsSortedHeaderCell(C.RCol, C.ARow)) {
        const int pos = FSortIndexes ? FSortIndexes->FindIndex(C.RCol) : -1;
        if (pos < 1 || FSortSettings->IndexShow)
            DrawSortIndicator(cv, C.RCol, G.Top + 8, G.Right - 10);
    }
}

void TExStringGrid::PaintProgress(TRect R, TCellGraphic* Graphic, TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    const int mx = FControlLook ? FControlLook->ProgressMarginX() : 2;
    const int my = FControlLook ? FControlLook->ProgressMarginY() : 2;
    switch (Graphic->CellType()) {
    case ctProgress: {
        const double value = LenientFloats(C.RCol, C.ARow);
        const TGridControlStyle style = FControlLook ? FControlLook->ControlStyle() : TGridControlStyle::csClassic;
        HTHEME theme = Theme("progress");
        if ((style == TGridControlStyle::csWinXP || style == TGridControlStyle::csTheme) && FIsWinXP && theme
            && FControlLook->ProgressXP()) {
            InflateRect(R, -mx, -my);
            DrawThemeBackground(theme, cv, PP_BAR, 0, R);
            InflateRect(R, -2, -2);
            const int w = int(Round(ClampPercent(value) * (R.Right - R.Left) / 100));
            DrawThemeBackground(theme, cv, PP_CHUNK, 1, TRect(R.Left, R.Top, R.Left + w, R.Bottom));
            break;
        }
        InflateRect(R, -2, -2);
        const TColor fg = Graphic->CellColor(), bk = Graphic->CellColor2();
        TColor fgText = TColor(Graphic->CellIndex()), bkText = TColor(Graphic->CellAngle());
        if (!Graphic->CellBoolean()) {
            fgText = TColor(ColorToRGB(fg) ^ 0xFFFFFF);
            bkText = TColor(ColorToRGB(bk) ^ 0xFFFFFF);
        }
        DrawProgressBar(cv, R, fg, false, FControlLook ? FControlLook->ProgressBorderColor : clGray,
            Graphic->CellText(), Graphic->CellErrLen(), Graphic->CellErrFrom(), my, mx, value, bkText, bk, fgText);
        break;
    }
    case ctRangeIndicator:
        InflateRect(R, -mx, -my);
        DrawBalanceBar(cv, R, LenientInts(C.RCol, C.ARow), Graphic->CellColor2(), Graphic->CellColor(),
            Graphic->CellBoolean(), Graphic->CellIndex());
        break;
    case ctXPProgress: {
        InflateRect(R, -mx, -my);
        R.Right -= 1;
        R.Bottom -= 1;
        const int lo = Graphic->CellErrFrom(), hi = Graphic->CellErrLen();
        // An empty range has nothing done.
        const int percent
            = hi == lo ? 0 : int(Round(std::abs(double(LenientInts(C.RCol, C.ARow)) - lo) / (double(hi) - lo) * 100));
        const TGridProgressAppearance* pa = FProgressAppearance;
        if (!pa)
            break;
        TLevelProgressSettings s;
        s.Level0Color = pa->Level0Color();
        s.Level0ColorTo = pa->Level0ColorTo();
        s.Level1Color = pa->Level1Color();
        s.Level1ColorTo = pa->Level1ColorTo();
        s.Level2Color = pa->Level2Color();
        s.Level2ColorTo = pa->Level2ColorTo();
        s.Level3Color = pa->Level3Color();
        s.Level3ColorTo = pa->Level3ColorTo();
        s.Level1Perc = pa->Level1Perc();
        s.Level2Perc = pa->Level2Perc();
        s.BorderColor = pa->BorderColor();
        s.ShowBorder = pa->ShowBorder();
        s.Stacked = pa->Stacked();
        s.ShowPercentage = pa->ShowPercentage();
        s.Font = Font();
        s.CompleteFontColor = pa->CompleteFontColor();
        s.CompletionSmooth = pa->CompletionSmooth();
        s.ShowGradient = pa->ShowGradient();
        s.Steps = pa->Steps();
        s.UnCompleteColor = pa->UnCompleteColor() == clNone ? Color() : pa->UnCompleteColor();
        DrawLevelProgressBar(cv, R, percent, s);
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Node glyphs

void TExStringGrid::PaintNodeGlyph(TRect& R, TCellPaintContext& C)
{
    if (!FCellNode)
        return;
    TCanvas* cv = C.Canvas;
    const int row = C.ARow;
    const int NI = FCellNode->NodeIndent();
    const int indent = GetNodeIndent(row);
    const int mid = R.Top + (R.Bottom - R.Top) / 2;
    R.Left = indent - NI;
    if (FCellNode->ShowTree() && row >= FixedRows()) {
        cv->Pen()->SetColor(FCellNode->TreeColor());
        cv->Pen()->SetWidth(1);
        const int x = R.Left + NI / 2 + 2;
        const int next = row + 1 < RowCount() ? GetNodeIndent(row + 1) : 0;
        if (next > 0 && !(GetNodeState(row) && next < indent))
            Line(cv, x, mid, x, R.Bottom);
        if (row > 0 && GetNodeIndent(row - 1) >= indent)
            Line(cv, x, R.Top, x, R.Top + 6);
        if (C.ACol < FixedCols() && !FFlat
            && (FLook == TGridLook::glSoft || FLook == TGridLook::glVRK || FLook == TGridLook::glXP
                || FLook == TGridLook::glListView))
            R.Left += 1;
    }
    R.Left = indent - NI / 2 - 4;

    TColor bg = cv->Brush()->Color();
    if (bg == clNone)
        bg = FixedCols() >= 1 ? FixedColor() : Color();
    if (ShowSelection()) {
        const bool disjunct = FMouseActions && FMouseActions->DisjunctRowSelect();
        if ((C.State.testFlag(gdSelected) && !disjunct)
            || (disjunct && RowSelect(C.SelRow) && Options().testFlag(goRowSelect) && C.RCol >= FixedCols()))
            bg = SelectionColor();
    }

    const bool collapsed = GetNodeState(row);
    const int rh = R.Bottom - R.Top;
    const TNodeType type = FCellNode->NodeType();
    const TBitmap* expand = FCellNode->ExpandGlyph();
    const TBitmap* contract = FCellNode->ContractGlyph();
    if (type == TNodeType::cnLeaf) {
        R.Top += (rh - 12) / 2;
        DrawGlyphOver(cv, collapsed ? gLeafClose : gLeafOpen, bg, R.Left, R.Top);
        return;
    }
    if (type == TNodeType::cnXP) {
        R.Left += 4;
        R.Top += (rh - 10) / 2;
        DrawGlyphOver(cv, collapsed ? gXPNodeC : gXPNodeO, bg, R.Left, R.Top);
        return;
    }
    if (type == TNodeType::cnGlyph && expand && !expand->Empty() && contract && !contract->Empty()) {
        const TBitmap* glyph = collapsed ? contract : expand;
        const int y = R.Top + (rh - contract->Height()) / 2;
        DrawBitmapTransparent(cv, glyph, bg, TRect(R.Left, y, R.Left + glyph->Width(), y + glyph->Height()));
        return;
    }
    if (type == TNodeType::cn3D) {
        cv->Brush()->SetColor(FCellNode->Color);
        cv->FillRect(R);
        TRect f = R;
        cv->Frame3D(f, clWhite, TColor(0x808080), 1);
    }
    cv->Brush()->SetColor(FCellNode->Color);
    const int left = R.Left + 4, top = R.Top + std::max(0, rh - 8) / 2;
    TRect box(left, top, left + 8, top + 8);
    if (type == TNodeType::cnFlat) {
        cv->Pen()->SetColor(FCellNode->NodeColor);
        cv->Pen()->SetWidth(1);
        cv->Rectangle(box.Left, box.Top, box.Right + 1, box.Bottom + 1);
        Line(cv, box.Left + 2, box.Top + 4, box.Left + 7, box.Top + 4);
        if (collapsed)
            Line(cv, box.Left + 4, box.Top + 2, box.Left + 4, box.Top + 7);
    } else {
        cv->FillRect(box);
        cv->DrawEdge(box, collapsed ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_SOFT);
    }
}

// ---------------------------------------------------------------------------
// Cell buttons and expand glyphs

void TExStringGrid::PaintCellButton(TRect R, TRect G, TCellGraphic* Graphic, TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    const TCellType type = Graphic->CellType();
    // Where the box sits in its cell, for the hit test that adds it to the
    // cell's rectangle.
    const TRect cell = CellRect(C.ACol, C.ARow);
    Graphic->SetCellValue(
        double((unsigned(G.Top - cell.Top) & 0xFFFFu) << 16 | (unsigned(G.Left - cell.Left) & 0xFFFFu)));
    const TColor oldBk = cv->SetBkColor(clBtnFace);
    bool enabled = true;
    if (!(FControlLook && FControlLook->NoDisabledButtonLook()))
        CanEditCell(C.RCol, C.ARow, enabled);
    int style = FControlLook && FControlLook->FlatButton() ? 2 : (FIsWinXP ? 0 : 1);
    if (FFlat && FTones.Background.BrushColor != clNone)
        style = 3;
    int state = Graphic->CellBoolean() ? 2 : (FHoverButton == TPoint(C.ACol, C.ARow) ? 1 : 0);
    if (!enabled && type != ctExpand)
        state = 3;
    if (type == ctExpand)
        G = TRect(R.Right - 13, R.Top, R.Right, R.Top + 13);
    DrawCellButton(cv, Handle(), G, FTones, state, style);
    if (state == 2)
        OffsetRect(G, 1, 1);
    const QString caption = Graphic->CellText();
    if (type == ctBitButton) {
        auto* glyph = dynamic_cast<TBitmap*>(Graphic->CellBitmap);
        if (glyph && !glyph->Empty()) {
            int dy = (G.Height() - glyph->Height()) / 2;
            if (dy < 1)
                dy = 3;
            const int dx = G.Width() - glyph->Width();
            if (dx < 1 || !caption.isEmpty()) {
                DrawGlyphTransparent(cv, glyph, G.Left + 3, G.Top + dy);
                G.Left += glyph->Width() + 4;
            } else
                DrawGlyphTransparent(cv, glyph, G.Left + dx / 2, G.Top + dy);
        }
    }
    G.Left += 1;
    const int oldMode = cv->SetBkMode(TRANSPARENT);
    if (style == 3) {
        const TColorTone* tones[] = { &FTones.Background, &FTones.Hover, &FTones.Selected, &FTones.Disabled };
        cv->Font()->SetColor(tones[state]->TextColor);
    }
    if (type == ctExpand) {
        cv->Pen()->SetColor(clBlack);
        cv->Pen()->SetWidth(1);
        if (!Graphic->CellVar.toBool())
            cv->Polyline(
                { TPoint(R.Right - 10, R.Top + 5), TPoint(R.Right - 7, R.Top + 8), TPoint(R.Right - 3, R.Top + 4) });
        else
            cv->Polyline(
                { TPoint(R.Right - 10, R.Top + 8), TPoint(R.Right - 7, R.Top + 5), TPoint(R.Right - 3, R.Top + 9) });
    } else {
        unsigned flags = DT_CENTER | DT_VCENTER | DT_NOPREFIX;
        flags |= caption.contains(QLatin1Char('\r')) ? DT_WORDBREAK : DT_SINGLELINE;
        DrawText(cv, caption, G, flags);
    }
    cv->SetBkMode(oldMode);
    cv->SetBkColor(oldBk);
}

// ---------------------------------------------------------------------------
// Check boxes and radio buttons

void TExStringGrid::DrawCheckBox(const TRect& R, bool Checked, bool Enabled, bool Grayed, TGridControlStyle Style,
    bool TriState, TCheckBoxState TriStateValue, TCanvas* ACanvas)
{
    TCanvas* cv = ACanvas ? ACanvas : Canvas();
    if (FControlLook && (FControlLook->NoDisabledCheckRadioLook() || FControlLook->CheckAlwaysActive))
        Enabled = true;
    if (TriState) {
        Checked = TriStateValue == cbChecked;
        Grayed = TriStateValue == cbGrayed;
    }
    const int size = FControlLook ? FControlLook->CheckSize() : 15;
    if (Style == TGridControlStyle::csTheme && !(FIsWinXP && FIsComCtl6 && Theme("button")))
        Style = TGridControlStyle::csClassic;
    switch (Style) {
    case TGridControlStyle::csWinXP:
    case TGridControlStyle::csVRK: {
        // Checked, unchecked; the disabled pair follows the enabled one.
        const int base = Style == TGridControlStyle::csVRK ? gChk01 : gChk05;
        cv->Draw(R.Left, R.Top, Glyph(TGlyph(base + (Enabled ? 0 : 2) + (Checked ? 0 : 1))));
        break;
    }
    case TGridControlStyle::csGlyph:
        if (FControlLook)
            DrawGlyphTransparent(
                cv, Checked ? FControlLook->CheckedGlyph() : FControlLook->UnCheckedGlyph(), R.Left, R.Top);
        break;
    case TGridControlStyle::csKestrin: {
        cv->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
        cv->Pen()->SetColor(clBtnFace);
        cv->Pen()->SetWidth(1);
        cv->Rectangle(R);
        cv->Pen()->SetColor(clBtnHighlight);
        cv->MoveTo(R.Left, R.Bottom);
        cv->LineTo(R.Left, R.Top);
        cv->LineTo(R.Right, R.Top);
        cv->Pen()->SetColor(clBtnShadow);
        cv->LineTo(R.Right, R.Bottom);
        cv->LineTo(R.Left, R.Bottom);
        if (Checked) {
            cv->Pen()->SetColor(Enabled && FControlLook ? FControlLook->Color() : TColor(0x808080));
            const int t = R.Top - 1, b = R.Bottom - 1, half = size / 2;
            Line(cv, R.Left + 2, R.Top + half, R.Left + 2, b - 1);
            Line(cv, R.Left + 3, t + half, R.Left + 3, b - 2);
            Line(cv, R.Left + 2, b - 1, R.Right - 2, t + 3);
            Line(cv, R.Left + 3, b - 1, R.Right - 1, t + 3);
        }
        break;
    }
    case TGridControlStyle::csTheme: {
        int state = Enabled ? CBS_UNCHECKEDNORMAL : CBS_UNCHECKEDDISABLED;
        if (Grayed)
            state = Enabled ? CBS_MIXEDNORMAL : CBS_MIXEDDISABLED;
        else if (Checked)
            state = Enabled ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED;
        DrawThemeBackground(Theme("button"), cv, BP_CHECKBOX, state, TRect(R.Left, R.Top, R.Left + size, R.Top + size));
        break;
    }
    case TGridControlStyle::csClassic:
    case TGridControlStyle::csFlat: {
        const int l = R.Left + (R.Width() - size) / 2, t = R.Top + (R.Height() - size) / 2;
        TRect box(l, t, l + size, t + size);
        unsigned state = DFCS_BUTTONCHECK;
        if (Checked)
            state |= DFCS_CHECKED;
        if (Grayed)
            state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
        if (Style == TGridControlStyle::csFlat)
            state |= DFCS_FLAT;
        if (!Enabled)
            state |= DFCS_INACTIVE;
        DrawFrameControl(cv, box, DFC_BUTTON, state);
        break;
    }
    }
}

void TExStringGrid::DrawRadioButton(TCanvas* ACanvas, const TRect& R, int Count, int Index, bool Horizontal,
    bool Disabled, const TStrings* Items, bool Selected, int ACol, int ARow, TGridControlStyle Style, double Zoom,
    bool Upward)
{
    if (FControlLook && (FControlLook->NoDisabledCheckRadioLook() || FControlLook->RadioAlwaysActive))
        Disabled = false;
    if (Count <= 0)
        return;
    TCanvas* cv = ACanvas;
    const int dir = Upward ? -1 : 1;
    const int oldMode = cv->SetBkMode(TRANSPARENT);
    if (Style == TGridControlStyle::csTheme && !(FIsWinXP && Theme("button")))
        Style = TGridControlStyle::csClassic;
    const int S = FControlLook ? FControlLook->RadioSize() : 10;
    const int h = cv->TextHeight(QStringLiteral("gh"));
    const int h16 = std::max(16, h);
    const bool bitmaps = Style == TGridControlStyle::csWinXP || Style == TGridControlStyle::csVRK
        || Style == TGridControlStyle::csGlyph;
    if (Selected && ShowSelection() && SelectionTextColor() != clNone)
        cv->Font()->SetColor(SelectionTextColor());
    const QString cellText = Index == -1 ? GetCellEx(ACol, ARow) : QString();
    // Brush changes set the background mode again: the texts go transparent each.
    auto textOut = [cv](int x, int y, const QString& s) {
        cv->SetBkMode(TRANSPARENT);
        cv->TextOut(x, y, s);
    };
    int offset = 0;
    for (int i = 1; i <= Count; ++i) {
        const QString text = Items && Items->Count() >= i ? Items->Strings(i - 1) : QString();
        const bool checked = (Index == -1 && text == cellText) || i == Index + 1;
        int x = 0, y = 0;
        if (Style == TGridControlStyle::csClassic || Style == TGridControlStyle::csFlat) {
            const int zs = int(Round(Zoom * S));
            if (Horizontal) {
                x = (i - 1) * S + offset + R.Left + 2;
                y = R.Top + (R.Height() - S) / 2;
                textOut(x + zs, y - 2, text);
                offset += cv->TextWidth(text);
            } else {
                y = R.Top + h * (i - 1) * dir + 2;
                if (!text.isEmpty()) {
                    x = R.Left + 2;
                    textOut(x + int(Round(Zoom * (S + 4))), y - 2, text);
                } else
                    x = R.Left + (R.Width() - zs) / 2;
            }
            const int box = Style == TGridControlStyle::csFlat ? int(Round(Zoom * (S + 2))) : zs;
            TRect b(x, y, x + box, y + box);
            unsigned state = DFCS_BUTTONRADIO;
            if (Style == TGridControlStyle::csFlat)
                state |= DFCS_FLAT;
            if (Disabled)
                state |= DFCS_INACTIVE;
            if (checked)
                state |= DFCS_CHECKED;
            DrawFrameControl(cv, b, DFC_BUTTON, state);
            continue;
        }
        if (Horizontal) {
            x = offset + R.Left + 16 * i - 14;
            y = R.Top + (R.Height() - 16) / 2;
            textOut(x + 16, bitmaps ? y + 1 : y - 2, text);
            offset += cv->TextWidth(text);
        } else {
            y = R.Top + h16 * (i - 1) * dir + 2;
            if (!text.isEmpty()) {
                x = R.Left + 2;
                if (bitmaps)
                    textOut(R.Left + 18, y + 1, text);
                else
                    textOut(R.Left + 20, y - 2, text);
            } else
                x = R.Left + (R.Width() - 16) / 2;
        }
        switch (Style) {
        case TGridControlStyle::csKestrin: {
            cv->Pen()->SetWidth(1);
            cv->Pen()->SetColor(clBtnFace);
            cv->Brush()->SetColor(clBtnFace);
            cv->Polygon({ TPoint(x + 2, y + 8), TPoint(x + 8, y + 2), TPoint(x + 14, y + 8), TPoint(x + 8, y + 14) });
            const TColor upper = checked ? TColor(0x808080) : clWhite;
            const TColor lower = checked ? clWhite : TColor(0x808080);
            cv->Pen()->SetColor(upper);
            cv->Polyline({ TPoint(x + 2, y + 8), TPoint(x + 8, y + 2), TPoint(x + 14, y + 8) });
            cv->Pen()->SetColor(lower);
            cv->Polyline({ TPoint(x + 14, y + 8), TPoint(x + 8, y + 14), TPoint(x + 2, y + 8) });
            if (checked) {
                const TColor dot = FControlLook ? FControlLook->Color() : clBlack;
                cv->Pen()->SetColor(dot);
                cv->Brush()->SetColor(dot);
                cv->Polygon(
                    { TPoint(x + 6, y + 8), TPoint(x + 8, y + 6), TPoint(x + 10, y + 8), TPoint(x + 8, y + 10) });
            }
            break;
        }
        case TGridControlStyle::csTheme: {
            int state = checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL;
            if (Disabled)
                state = checked ? RBS_CHECKEDDISABLED : RBS_UNCHECKEDDISABLED;
            DrawThemeBackground(Theme("button"), cv, BP_RADIOBUTTON, state, TRect(x, y, x + 16, y + 16));
            break;
        }
        case TGridControlStyle::csGlyph:
            if (FControlLook)
                DrawGlyphTransparent(cv, checked ? FControlLook->RadioOnGlyph() : FControlLook->RadioOffGlyph(), x, y);
            break;
        default: {
            const int base = Style == TGridControlStyle::csVRK ? gRad01 : gRad05;
            cv->Draw(x, y, Glyph(TGlyph(base + (Disabled ? 2 : 0) + (checked ? 0 : 1))));
            break;
        }
        }
    }
    cv->SetBkMode(oldMode);
}
