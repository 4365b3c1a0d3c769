// The text layer of a cell: plain, mark-up and rich text, the cell's
// background picture, the selection rectangle and the sort indicator; the
// display text's number format and the text measuring of auto-sizing.

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExUtil.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/ExRichEdit.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/ImageList.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTextPlain = 0, kTextHTML = 1, kTextRich = 2, kTextFormula = 3;

void Line(TCanvas* Canvas, int X1, int Y1, int X2, int Y2)
{
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

} // namespace

void TExStringGrid::DrawGlyphTransparent(TCanvas* Canvas, TBitmap* Glyph, int X, int Y)
{
    if (!Glyph || Glyph->Empty())
        return;
    if (Glyph->Transparent()) {
        Canvas->Draw(X, Y, Glyph);
        return;
    }
    TNotifyEvent saved = std::move(Glyph->OnChange);
    Glyph->OnChange = nullptr;
    Glyph->SetTransparent(true);
    Canvas->Draw(X, Y, Glyph);
    Glyph->SetTransparent(false);
    Glyph->OnChange = std::move(saved);
}

// ---------------------------------------------------------------------------
// Display text

QString TExStringGrid::GetFormattedCell(int ACol, int ARow)
{
    const QString text = GetCellEx(ACol, ARow);
    if (!OnGetFloatFormat)
        return text;
    const int kind = ClassifyCellNumber(text);
    if (kind != 0 && kind != 1 && kind != 5)
        return text;
    bool isFloat = true;
    QString fmt = GetFloatFormat(ACol, ARow);
    OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (!isFloat || fmt.isEmpty())
        return text;
    // A value or pattern that does not fit shows the text as it is.
    try {
        if (fmt.contains(QLatin1Char('d')))
            return Format(fmt, { TVarRec(Ints(ACol, ARow)) });
        return Format(fmt, { TVarRec(Floats(ACol, ARow)) });
    } catch (...) {
        return text;
    }
}

bool TExStringGrid::IsSortedHeaderCell(int RCol, int ARow)
{
    if (!FSortSettings || !IsSortIndicatorCell(RCol, ARow) || FixedRows() <= 0)
        return false;
    const bool sorted = RCol == FSortSettings->Column || (FSortIndexes && FSortIndexes->FindIndex(RCol) >= 0);
    return sorted && (RCol >= FixedCols() || FSortSettings->FixedCols);
}

// ---------------------------------------------------------------------------
// The text layer

void TExStringGrid::PaintCellText(TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    const int glw = GridLineWidth();
    const TGridOptions opts = Options();
    TRect R = C.Rect;
    TColor urlColor = FURLColor;

    bool fixedSel = false;
    IsFixedCell(C.ACol, C.ARow, fixedSel);
    const bool rowSelected = opts.testFlag(goRowSelect) && RowSelect(C.SelRow) && C.RCol >= FixedCols()
        && C.RCol < ColCount() - FixedRightCols();
    if ((C.State.testFlag(gdSelected) || rowSelected) && !fixedSel) {
        if (FShowSelection) {
            if (FSelectionColor != clNone)
                cv->Brush()->SetColor(FSelectionColor);
            if (FSelectionTextColor != clNone && Enabled())
                cv->Font()->SetColor(FSelectionTextColor);
            urlColor = FSelectionTextColor;
        } else if (!Focused() || HasCheckBox(C.RCol, C.ARow)) {
            cv->Brush()->SetColor(C.BrushColor);
            cv->Font()->SetColor(C.FontColor);
            urlColor = FURLColor;
        }
    }

    QString text = GetFormattedCell(C.RCol, C.ARow);
    int kind = CellTextType(text, FEnableHTML);
    if (kind == kTextFormula) {
        text = GetCellValueText(C.RCol, C.ARow);
        kind = CellTextType(text, FEnableHTML);
    }
    int errPos = 0, errLen = 0;
    GetMarker(C.RCol, C.ARow, errPos, errLen);
    bool password = false;
    DoIsPasswordCell(C.RCol, C.ARow, password);
    if (password)
        text.fill(QChar(FPasswordChar));

    bool fixedCell = false;
    IsFixedCell(C.RCol, C.ARow, fixedCell);
    if (fixedCell) {
        R.Left += glw;
        R.Top += glw;
    }
    const bool hadClip = cv->HasClip();
    TRegion savedClip;
    if (C.ScrollOffset > 0) {
        if (hadClip)
            savedClip = cv->ClipRegion();
        cv->IntersectClipRect(C.Rect);
        R.Top -= C.ScrollOffset;
    }
    auto releaseClip = [&] {
        if (C.ScrollOffset > 0)
            cv->SelectClipRgn(hadClip ? &savedClip : nullptr);
    };

    if (C.FilterGlyph && FFilterDropDown) {
        TBitmap* g = FFilter && FFilter->HasFilter(C.RCol) ? FFilterDropDown->GlyphActive() : FFilterDropDown->Glyph();
        if (!g || g->Empty())
            DrawResourceBitmap(
                cv, FixedColor(), TRect(R.Right - 16, R.Top, R.Right, R.Top + 16), QStringLiteral("ESGFILT"));
        else
            DrawGlyphTransparent(cv, g, R.Right - 16, R.Top);
        R = C.Rect;
    }

    // Disjunct selection shows the cell's own colours outside the selected rows or columns.
    const TMouseActions* ma = FMouseActions;
    if (C.RCol >= FixedCols() && C.ARow >= FixedRows() && !FMouseDown
        && ((ma->DisjunctRowSelect() && !RowSelect(C.SelRow)) || (ma->DisjunctColSelect() && !ColSelect(C.ACol)))) {
        urlColor = FURLColor;
        cv->Brush()->SetColor(Color());
        cv->Font()->SetColor(Font()->Color());
        GetCellColor(C.RCol, C.ARow, C.State, cv->Brush(), cv->Font());
        if (FZoomFactor != 0)
            cv->Font()->SetSize(cv->Font()->Size() + FZoomFactor);
    }

    PaintCellBackGround(C, R);
    if (FSelectionRectangle)
        PaintSelectionRectangle(C, R);

    if (!C.TextAllowed) {
        releaseClip();
        return;
    }

    R.Left += FXYOffset.X;
    R.Top += FXYOffset.Y;
    if (!FXYOffsetTopLeftOnly)
        R.Right -= FXYOffset.X;

    C.TextHeight = cv->TextHeight(QStringLiteral("hg"));
    int indent = 0;
    if (C.GraphicHAlign == haBeforeText) {
        R.Left += C.GraphicWidth;
        if (C.HAlign == taLeftJustify)
            indent = C.GraphicWidth;
    } else if (C.GraphicHAlign == haAfterText) {
        R.Right -= C.GraphicWidth;
    } else if (C.GraphicHAlign == haLeft) {
        indent = C.GraphicWidth;
    }
    if (C.GraphicVAlign == vaAboveText)
        R.Top += C.GraphicHeight;
    else if (C.GraphicVAlign == vaUnderText)
        R.Bottom -= C.GraphicHeight;
    if (C.RCol == 0 && HasNodes() && !IsNode(C.ARow))
        R.Left += GetNodeIndent(C.ARow);
    // A line of text the tree's indentation would cut at the cell's edge
    // moves back left to fit, but not onto the row's tree: the glyph and
    // the branch reach the indentation plus 4.
    if (C.RCol == 0 && HasNodes() && kind == kTextPlain && C.HAlign == taLeftJustify && !text.isEmpty()) {
        const int treeRight = GetNodeIndent(C.ARow) + 4;
        if (R.Left > treeRight)
            R.Left = std::max(
                treeRight, std::min(R.Left, R.Right - cv->TextWidth(text.left(text.indexOf(QLatin1Char('\r'))))));
    }

    if (kind == kTextHTML) {
        PaintHTMLText(C, text, R, urlColor);
    } else if (kind == kTextRich) {
        C.TextLeft = R.Left;
        cv->Pen()->SetColor(cv->Brush()->Color());
        if (!(C.State.testFlag(gdSelected) && !C.State.testFlag(gdFocused) && FSelectionColor == clNone))
            cv->FillRect(R);
        cv->Brush()->SetStyle(TBrushStyle::bsClear);
        TRect rr = R;
        const TCanvas::TOrientation o = BeginLeftToRight(cv, rr);
        DrawRichTextCell(C.RCol, C.ARow, rr, cv);
        EndLeftToRight(cv, o);
        cv->Brush()->SetStyle(TBrushStyle::bsSolid);
        cv->Font()->SetColor(clBlack);
    } else {
        PaintPlainText(C, text, R, indent, errPos, errLen, urlColor);
    }
    releaseClip();
}

void TExStringGrid::PaintHTMLText(TCellPaintContext& C, const QString& Text, TRect R, TColor URLColor)
{
    TCanvas* cv = C.Canvas;
    if (C.FilterGlyph)
        R.Right -= 18;
    R.Left -= 1;
    const bool sorted = IsSortedHeaderCell(C.RCol, C.ARow);
    if (sorted)
        R.Right -= 10;
    THTMLDrawInput in;
    in.Canvas = cv;
    in.Text = Text;
    in.Rect = R;
    in.Images = GetGridImageList();
    in.ShadowOffset = 1;
    in.WordWrap = !FEnhTextSize;
    in.URLColor = URLColor;
    in.ShadowColor = TColor(0x808080);
    in.PictureContainer = FPictureContainer;
    in.BiDiMode = int(BiDiMode());
    if (!Text.isEmpty())
        C.TextLeft = R.Left + 1;
    THTMLDrawOutput out;
    const TCanvas::TOrientation o = BeginLeftToRight(cv, in.Rect);
    DrawHTMLText(in, out);
    EndLeftToRight(cv, o);
    if (sorted) {
        C.SortGlyphY = C.VAlign == TVAlignment::vtaTop ? R.Top + 8
            : C.VAlign == TVAlignment::vtaCenter       ? R.Top + (R.Bottom - R.Top) / 2
                                                       : R.Bottom - 8;
        const int pos = FSortIndexes ? FSortIndexes->FindIndex(C.RCol) : -1;
        if (pos < 1 || FSortSettings->IndexShow)
            DrawSortIndicator(cv, C.RCol, C.SortGlyphY, R.Right + 2);
    }
    C.TextWidth = out.XSize + 2;
}

void TExStringGrid::PaintPlainText(
    TCellPaintContext& C, QString& Text, TRect R, int Indent, int ErrPos, int ErrLen, TColor URLColor)
{
    TCanvas* cv = C.Canvas;
    if (C.HAlign == taCenter && FSortSettings && C.ARow == FSortSettings->Row() && FSortSettings->Show()
        && C.RCol == FSortSettings->Column)
        R.Left += 10;
    const bool url = FURLShow && IsURL(GetCellEx(C.RCol, C.ARow));
    if (url) {
        if (!FURLFull)
            StripURLProtocol(Text);
        cv->Font()->SetStyle(cv->Font()->Style() | TFontStyle::fsUnderline);
        cv->Font()->SetColor(URLColor);
    }
    unsigned flags = DT_EDITCONTROL;
    if (CountLines(Text, FMultilinecells) == 1 && !C.WordWrap) {
        Text = ExtractFirstLine(Text, false);
        flags = DT_SINGLELINE;
        if (FEnhTextSize)
            flags |= DT_END_ELLIPSIS;
    }
    if (C.WordWrap && !FMultilinecells && FEnhTextSize)
        flags |= DT_END_ELLIPSIS;
    const unsigned vflag = C.VAlign == TVAlignment::vtaTop ? DT_TOP
        : C.VAlign == TVAlignment::vtaCenter               ? DT_VCENTER
                                                           : DT_BOTTOM;
    FVAlign = vflag;
    const unsigned hflag = C.HAlign == taRightJustify ? DT_RIGHT : C.HAlign == taCenter ? DT_CENTER : DT_LEFT;
    flags |= DT_EXPANDTABS | DT_NOPREFIX | hflag | vflag;
    if (C.WordWrap || FMultilinecells)
        flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else
        flags |= DT_SINGLELINE;
    flags = BiDiTextFlags(flags);

    const int oldBk = cv->SetBkMode(TRANSPARENT);
    if (C.FilterGlyph)
        R.Right -= 16;
    // The text's own width: beside a graphic, and where tree lines must
    // stop short of it.
    const bool treeColumn = C.RCol == 0 && HasNodes();
    if ((C.Graphic || treeColumn) && !Text.isEmpty()) {
        TRect m = R;
        DrawText(cv, Text, m, flags | DT_CALCRECT);
        if (C.Graphic)
            C.TextWidth = m.Right - R.Left + 2;
        const int w = std::min(m.Width(), R.Width());
        C.TextLeft = hflag == DT_RIGHT ? R.Right - w : hflag == DT_CENTER ? R.Left + (R.Width() - w) / 2 : R.Left;
    }
    TRect tr = R;
    const TCanvas::TOrientation o = BeginLeftToRight(cv, tr);
    DrawText(cv, Text, tr, flags);
    if (ErrLen > 0 && (!C.Graphic || C.Graphic->CellType() == ctEmpty || C.Graphic->CellType() == ctValue))
        DrawErrorUnderline(this, cv, Text, ErrLen, ErrPos, C.TextHeight, tr);
    EndLeftToRight(cv, o);

    if (IsSortedHeaderCell(C.RCol, C.ARow)) {
        TRect s = C.Rect;
        if (C.FilterGlyph)
            s.Right -= 16;
        const int w = std::max(0, std::min(s.Right - s.Left - 16, cv->TextWidth(Text)));
        int x = s.Left + 8;
        if (C.HAlign == taLeftJustify)
            x = s.Left + w + 10 + Indent;
        else if (C.HAlign == taRightJustify)
            x = s.Right - w - 10;
        C.SortGlyphY = C.VAlign == TVAlignment::vtaTop ? s.Top + 8
            : C.VAlign == TVAlignment::vtaCenter       ? s.Top + (s.Bottom - s.Top) / 2
                                                       : s.Bottom - 8;
        const int pos = FSortIndexes ? FSortIndexes->FindIndex(C.RCol) : -1;
        if (pos < 1 || FSortSettings->IndexShow)
            DrawSortIndicator(cv, C.RCol, C.SortGlyphY, x);
    }
    if (url)
        cv->Font()->SetStyle(cv->Font()->Style() & ~TFontStyles(TFontStyle::fsUnderline));
    cv->SetBkMode(oldBk);
}

// The grid's background picture or gradient behind a cell without a colour of its own.
void TExStringGrid::PaintCellBackGround(TCellPaintContext& C, const TRect& R)
{
    const TBackGround* bg = FBackGround;
    if (!bg)
        return;
    TCanvas* cv = C.Canvas;
    const int glw = GridLineWidth();
    const bool fixed = C.State.testFlag(gdFixed);
    const TBackGroundCells cells = bg->Cells();
    const bool passes = ((cells == TBackGroundCells::bcFixed || cells == TBackGroundCells::bcAll) && fixed)
        || ((cells == TBackGroundCells::bcNormal || cells == TBackGroundCells::bcAll) && !fixed);
    if (!passes)
        return;
    TBitmap* bmp = bg->Bitmap();
    const bool ownColor = Colors(C.RCol, C.ARow) != clNone;
    if (bmp && !bmp->Empty() && !ownColor && !(FShowSelection && C.State.testFlag(gdSelected))) {
        const TRect P(R.Left + 1 - glw, R.Top + 1 - glw, R.Right, R.Bottom);
        if (bg->Display() == TBackGroundDisplay::bdTile) {
            const bool normal = cells == TBackGroundCells::bcNormal;
            const int c0 = normal ? FixedCols() : 0, r0 = normal ? FixedRows() : 0;
            const qint64 sx = C.ACol > c0 ? ColWidthsSum(c0, C.ACol - 1) : 0;
            const qint64 sy = C.ARow > r0 ? RowHeightsSum(r0, C.ARow - 1) : 0;
            const int bw = bmp->Width(), bh = bmp->Height();
            int phaseY = int(sy % bh);
            for (int y = P.Top - 1; y < P.Bottom; phaseY = 0) {
                const int hgt = std::min(bh - phaseY, P.Bottom - y);
                int phaseX = int(sx % bw);
                for (int x = P.Left - 1; x < P.Right; phaseX = 0) {
                    const int wid = std::min(bw - phaseX, P.Right - x);
                    cv->CopyRect(TRect(x, y, x + wid, y + hgt), bmp->Canvas(),
                        TRect(phaseX, phaseY, phaseX + wid, phaseY + hgt));
                    x += wid;
                }
                y += hgt;
            }
        } else {
            const TRect place(bg->Left(), bg->Top(), bg->Left() + bmp->Width(), bg->Top() + bmp->Height());
            const TRect part(std::max(P.Left, place.Left), std::max(P.Top, place.Top), std::min(P.Right, place.Right),
                std::min(P.Bottom, place.Bottom));
            if (part.Left < part.Right && part.Top < part.Bottom)
                cv->CopyRect(part, bmp->Canvas(),
                    TRect(part.Left - place.Left, part.Top - place.Top, part.Right - place.Left,
                        part.Bottom - place.Top));
        }
        cv->SetBkMode(TRANSPARENT);
    }
    const TBackGroundDisplay d = bg->Display();
    if (d != TBackGroundDisplay::bdGradientHorz && d != TBackGroundDisplay::bdGradientVert)
        return;
    const TCellType t = C.Graphic ? C.Graphic->CellType() : ctNone;
    const bool control = t == ctCheckBox || t == ctDataCheckBox || t == ctRadio || t == ctButton || t == ctRadioButton;
    const bool selected = FShowSelection
        && ((C.State.testFlag(gdSelected) && !C.State.testFlag(gdFocused))
            || (C.State.testFlag(gdFocused) && Options().testFlag(goDrawFocusSelected)));
    if ((ownColor && !control) || selected)
        return;
    const TRect G(R.Left - 1, R.Top - glw, R.Right, R.Bottom + glw - 1);
    const bool horz = d == TBackGroundDisplay::bdGradientHorz;
    const int range = horz ? ClientWidth() : ClientHeight();
    const TColor from
        = InterpolateColor(ColorToRGB(bg->Color()), ColorToRGB(bg->ColorTo()), 0, horz ? G.Left : G.Top, range);
    const TColor to
        = InterpolateColor(ColorToRGB(bg->Color()), ColorToRGB(bg->ColorTo()), 0, horz ? G.Right : G.Bottom, range);
    cv->Brush()->SetColor(to);
    cv->Pen()->SetColor(to);
    DrawGradient(cv, from, to, horz, G, 128);
}

void TExStringGrid::PaintSelectionRectangle(TCellPaintContext& C, const TRect& R)
{
    const TGridRect sel = Selection();
    const int col = C.ACol, row = C.ARow;
    if (col < sel.Left || col > sel.Right || row < sel.Top || row > sel.Bottom || C.State.testFlag(gdFixed))
        return;
    TCanvas* cv = C.Canvas;
    const int glw = GridLineWidth();
    TGridRect S = sel;
    if (IsMergedCell(C.RCol, row)) {
        int bc = 0, br = 0;
        ResolveBaseCell(RealColIndex(sel.Left), sel.Top, bc, br);
        S.Left = S.Right = DisplColIndex(bc);
        S.Top = S.Bottom = br;
    }
    const TColor color = FSelectionRectangleColor;
    cv->Pen()->SetColor(color);
    cv->Pen()->SetWidth(2);
    const bool right = S.Right == col;
    if (S.Left == col)
        Line(cv, R.Left + 1 - glw, R.Bottom, R.Left + 1 - glw, R.Top - glw);
    if (right)
        Line(cv, R.Right - 1, R.Bottom, R.Right - 1, R.Top - glw);
    if (S.Top == row)
        Line(cv, R.Left - glw, R.Top + 1 - glw, right ? R.Right - 1 : R.Right, R.Top + 1 - glw);
    if (S.Bottom == row)
        Line(cv, R.Left - glw, R.Bottom, right ? R.Right - 1 : R.Right, R.Bottom);
    if (FSelectionResizer && col == sel.Right && row == sel.Bottom) {
        const TColor old = cv->Brush()->Color();
        cv->Brush()->SetColor(color);
        cv->FillRect(TRect(R.Right - 4, R.Bottom - 4, R.Right, R.Bottom));
        cv->Brush()->SetColor(old);
    }
    cv->Pen()->SetWidth(1);
}

void TExStringGrid::DrawSortIndicator(TCanvas* Canvas, int ACol, int Y, int X)
{
    TSortSettings* ss = FSortSettings;
    if (!ss)
        return;
    if (ss->IndexShow) {
        const int pos = FSortIndexes ? FSortIndexes->FindIndex(ACol) : -1;
        if (pos < 0)
            return;
        const bool glyphs = !ss->IndexUpGlyph()->Empty() && !ss->IndexDownGlyph()->Empty();
        Canvas->Brush()->SetColor(ss->IndexColor);
        Canvas->Pen()->SetColor(clBlack);
        const int oldBk = Canvas->SetBkMode(TRANSPARENT);
        FPaintFont.Assign(Canvas->Font());
        Canvas->Font()->SetColor(clBlack);
        Canvas->Font()->SetSize(6);
        const bool ascending = FSortIndexes->GetSortDirections(pos);
        if (!ascending) {
            if (!glyphs)
                Canvas->Polygon({ TPoint(X - 7, Y - 5), TPoint(X + 7, Y - 5), TPoint(X, Y + 8) });
            else
                DrawGlyphTransparent(Canvas, ss->IndexUpGlyph(), X - 7, Y - 7);
            Canvas->TextOut(X - 2, Y - 4, QString::number(pos + 1));
        } else {
            if (!glyphs)
                Canvas->Polygon({ TPoint(X - 6, Y + 8), TPoint(X + 6, Y + 8), TPoint(X, Y - 4) });
            else
                DrawGlyphTransparent(Canvas, ss->IndexDownGlyph(), X - 7, Y - 7);
            Canvas->TextOut(X - 2, Y - 2, QString::number(pos + 1));
        }
        Canvas->Font()->Assign(&FPaintFont);
        Canvas->SetBkMode(oldBk);
        return;
    }
    const bool glyphs = !ss->UpGlyph()->Empty() && !ss->DownGlyph()->Empty();
    Canvas->Pen()->SetWidth(1);
    if (ss->Direction == TSortDirection::sdDescending) {
        if (!glyphs) {
            Canvas->Pen()->SetColor(clWhite);
            Canvas->MoveTo(X + 4, Y - 4);
            Canvas->LineTo(X, Y + 4);
            Canvas->Pen()->SetColor(TColor(0x808080));
            Canvas->LineTo(X - 4, Y - 4);
            Canvas->LineTo(X + 4, Y - 4);
        } else {
            DrawGlyphTransparent(Canvas, ss->DownGlyph(), X - 4, Y - 4);
            Canvas->SetBkColor(FixedColor());
        }
    } else {
        if (!glyphs) {
            Canvas->Pen()->SetColor(clWhite);
            Canvas->MoveTo(X - 4, Y + 4);
            Canvas->LineTo(X + 4, Y + 4);
            Canvas->LineTo(X, Y - 4);
            Canvas->Pen()->SetColor(TColor(0x808080));
            Canvas->LineTo(X - 4, Y + 4);
        } else {
            DrawGlyphTransparent(Canvas, ss->UpGlyph(), X - 4, Y - 4);
            Canvas->SetBkColor(FixedColor());
        }
    }
    Canvas->Pen()->SetColor(clBlack);
}

void TExStringGrid::DrawRichTextCell(int ACol, int ARow, const TRect& R, TCanvas* Canvas)
{
    if (IsDesigning())
        return;
    TExRichEdit* edit = RichEdit();
    CellToRich(ACol, ARow, edit);
    // A selected cell shows its text in the selection's text colour; the
    // focused current cell keeps its own colours unless the focus is drawn
    // selected.
    const bool focusedCurrent
        = ACol == RealCol() && ARow == Row() && Focused() && !Options().testFlag(goDrawFocusSelected);
    if (!FSelectionRTFKeep && IsSelected(DisplColIndex(ACol), ARow) && !focusedCurrent
        && FSelectionTextColor != clNone) {
        edit->SelectAll();
        edit->SetSelColor(FSelectionTextColor);
    }
    // The target in twips, inset on all sides by the cell offset at the
    // canvas' resolution.
    const int dpiX = std::max(1, Canvas->PixelsPerInchX());
    const int dpiY = std::max(1, Canvas->PixelsPerInchY());
    const double inset = FXYOffset.X * dpiX / 96.0;
    const int left = int(std::lround((R.Left + inset) * 1440.0 / dpiX));
    const int top = int(std::lround((R.Top + inset) * 1440.0 / dpiY));
    const int right = left + int(std::lround((R.Width() - 2 * inset) * 1440.0 / dpiX));
    const int bottom = top + int(std::lround((R.Height() - 2 * inset) * 1440.0 / dpiY));
    edit->DrawTo(Canvas, TRect(left, top, right, bottom));
}

// ---------------------------------------------------------------------------
// Measuring

TSize TExStringGrid::GetCellTextSize(int ACol, int ARow, bool VS, bool SB)
{
    return MeasureCellText(ACol, DisplColIndex(ACol), ARow, VS, SB);
}

TSize TExStringGrid::MeasureCellText(int ACol, int DCol, int ARow, bool VS, bool SB)
{
    TCanvas* cv = Canvas();
    QString text = GetFormattedCell(ACol, ARow);
    int kind = CellTextType(text, FEnableHTML);
    TGridDrawState state;
    // Displayed column for the fixed test, real column for the cell's own font.
    GetFontProperties(DCol, ACol, ARow, state, cv->Font(), cv->Brush(), false);
    if ((ARow < FixedRows() || DCol < FixedCols()) && FActiveCellShow && FActiveCellFont
        && FActiveCellFont->Style().testFlag(TFontStyle::fsBold))
        cv->Font()->SetStyle(cv->Font()->Style() | TFontStyle::fsBold);
    if (FZoomFactor != 0)
        cv->Font()->SetSize(cv->Font()->Size() + FZoomFactor);
    if (kind == kTextFormula) {
        text = GetCellValueText(ACol, ARow);
        kind = CellTextType(text, FEnableHTML);
    }
    TRect R = CellRect(DCol, ARow);
    if (FXYOffsetTopLeftOnly) {
        R.Left += FXYOffset.X;
        R.Top += FXYOffset.Y;
    } else {
        InflateRect(R, -FXYOffset.X, -FXYOffset.Y);
    }
    if (SB)
        R.Right -= 17;

    if (kind == kTextHTML) {
        if (!VS)
            R.Right = 65535;
        R.Bottom = 65535;
        THTMLDrawInput in;
        in.Canvas = cv;
        in.Text = text;
        in.Rect = TRect(0, 0, R.Width(), R.Height());
        in.Images = GetGridImageList();
        in.CheckHeight = true;
        in.WordWrap = VS;
        in.URLColor = FURLColor;
        in.PictureContainer = FPictureContainer;
        THTMLDrawOutput out;
        DrawHTMLText(in, out);
        return TSize(out.XSize + 2, out.YSize + 2);
    }

    if (kind == kTextRich && !IsDesigning()) {
        // The size the loaded content asks for at the cell's width; switching
        // the wrap makes the edit lay its text out again.
        TExRichEdit* edit = RichEdit();
        edit->Clear();
        CellToRich(ACol, ARow, edit);
        edit->SetBounds(0, 0, R.Width(), R.Height());
        edit->SetWordWrap(true);
        edit->SetWordWrap(false);
        edit->SetWordWrap(WordWrap());
        const TSize size = edit->ContentSize();
        return TSize(size.cx, size.cy + 4);
    }

    int angle = 0;
    const bool rotated = IsRotated(ACol, ARow, angle);
    int w = 0, h = 0;
    if (VS) {
        InflateRect(R, -2, -2);
        TRect m = R;
        unsigned flags = DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;
        flags |= rotated ? DT_SINGLELINE : DT_WORDBREAK;
        DrawText(cv, text, m, flags);
        h = m.Height();
        w = R.Width();
    } else {
        QString rest = text;
        int lines = 0;
        do {
            QString line = FMultilinecells ? ExtractFirstLine(rest, true) : std::exchange(rest, QString());
            if (kind == kTextPlain && FURLShow && !FURLFull && IsURL(line))
                StripURLProtocol(line);
            w = std::max(w, cv->TextWidth(line));
            ++lines;
        } while (!rest.isEmpty());
        h = lines * cv->TextHeight(QStringLiteral("gh"));
    }
    if (rotated) {
        // The bounding box of the turned text.
        const double a = angle * M_PI / 180.0, s = std::sin(a), c = std::cos(a);
        const int p = std::abs(int(std::trunc(w * c))), q = std::abs(int(std::trunc(h * s)));
        const int u = std::abs(int(std::trunc(w * s))), v = std::abs(int(std::trunc(h * c)));
        w = p + q + 12;
        h = u + v + 12;
    }
    return TSize(w, h);
}
