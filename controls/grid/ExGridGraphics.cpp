// The cell graphic store: a cell's one graphic record, its size in the cell,
// and the per-cell queries that sit with it (display text, node indent, the
// sort indicator).

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>

TCellGraphic* TExStringGrid::GetCellGraphic(int ACol, int ARow)
{
    TCellGraphic* result = nullptr;
    if (TObject* o = (ACol >= 0 && ARow >= 0) ? GetGraphicObjectEx(ACol, ARow) : nullptr) {
        result = dynamic_cast<TCellGraphic*>(o);
        if (!result)
            return nullptr;
    }
    if (ACol != 0 || !FMouseActions || !FMouseActions->HotmailRowSelect() || !FCellGraphic)
        return result;
    if (ARow != 0)
        return RowCheckRecord(RowSelectFlag(RowSelectIndex(ARow)), 0);
    // The header's box: all, some (angle 1) or none of the normal rows.
    const int sel = FRowSelect.Count(FixedRows(), RowCount() + NumHiddenRows());
    const int normal = RowCount() - FixedRows();
    return RowCheckRecord(sel >= normal, sel != 0 && sel < normal ? 1 : 0);
}

TCellGraphic* TExStringGrid::RowCheckRecord(bool Checked, int Angle)
{
    TCellGraphic* g = FCellGraphic;
    g->SetCellType(ctRowCheckBox);
    g->SetCellAngle(Angle);
    g->SetCellTransparent(FControlLook && FControlLook->ControlStyle() == TGridControlStyle::csFlat);
    g->SetCellBoolean(Checked);
    return g;
}

TCellType TExStringGrid::GetCellType(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return ctEmpty;
    TObject* o = GetGraphicObjectEx(ACol, ARow);
    auto* g = dynamic_cast<TCellGraphic*>(o);
    if (o && !g)
        return ctEmpty;
    if (ACol == 0 && FMouseActions && FMouseActions->HotmailRowSelect())
        return ctRowCheckBox;
    return g ? g->CellType() : ctEmpty;
}

TCellGraphic* TExStringGrid::CreateCellGraphic(int ACol, int ARow)
{
    // Storing the record frees the cell's own record it replaces and makes
    // the cell's properties; the text is not touched.
    auto* g = new TCellGraphic();
    SetGraphicObjectEx(ACol, ARow, g);
    if (GetGraphicObjectEx(ACol, ARow) != g) {
        // Not stored (the grid is going): the caller still gets a record to
        // fill, kept by the scratch slot's rules of no cell.
        delete g;
        return FCellGraphic;
    }
    if (FNumHidden > 0 && DisplColIndex(ACol) != ACol)
        RepaintCell(DisplColIndex(ACol), ARow);
    return g;
}

bool TExStringGrid::RemoveCellGraphic(int ACol, int ARow)
{
    if (!GetCellGraphic(ACol, ARow))
        return false;
    // The cell's own record is freed with the slot; the scratch row check box
    // is the grid's and stays.
    if (HasCellProperties(ACol, ARow))
        SetGraphicObjectEx(ACol, ARow, nullptr);
    if (!IsDestroying())
        RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

bool TExStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType AType)
{
    if (GetCellType(ACol, ARow) != AType)
        return false;
    return RemoveCellGraphic(ACol, ARow);
}

bool TExStringGrid::HasCellGraphicOfType(int ACol, int ARow, std::initializer_list<TCellType> Types)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && std::find(Types.begin(), Types.end(), g->CellType()) != Types.end();
}

TPoint TExStringGrid::GetCellGraphicSize(int ACol, int ARow)
{
    return CalcCellGraphicSize(ACol, ARow, 0);
}

namespace {

bool IsBeside(const TCellGraphic* g)
{
    return g->CellHAlign() == haBeforeText || g->CellHAlign() == haAfterText;
}
bool IsStacked(const TCellGraphic* g)
{
    return g->CellVAlign() == vaUnderText || g->CellVAlign() == vaAboveText;
}

} // namespace

// The size by kind shared by both measures; InRect applies the differences
// of the measure for a given rectangle.
static TPoint KindSize(TExStringGrid* Grid, TCellGraphic* g, int ACol, int ARow, bool HasText, bool InRect, int W,
    int H, double Factor, int ExtraHeight)
{
    TCanvas* canvas = Grid->Canvas();
    TCustomImageList* images = Grid->GetGridImageList();
    const int ilw = images ? images->Width() : 0;
    const int ilh = images ? images->Height() : 0;
    const bool beside = IsBeside(g);
    const bool stacked = IsStacked(g);
    auto textHeight = [&] { return canvas->TextHeight(QStringLiteral("gh")); };
    TPoint r(0, 0);
    switch (g->CellType()) {
    case ctIcon:
    case ctBitmap: {
        const auto* gr = dynamic_cast<TGraphic*>(g->CellType() == ctIcon ? g->CellIcon : g->CellBitmap);
        const int w = gr ? gr->Width() : 0;
        const int h = gr ? gr->Height() : 0;
        if (InRect)
            r = TPoint(w, h);
        else {
            r.X = (beside || !HasText) ? w : 0;
            r.Y = (g->CellType() == ctIcon || stacked || !HasText) ? h : 0;
        }
        break;
    }
    case ctImageList:
    case ctDataImage:
        r.X = (beside || !HasText || (InRect && g->CellType() == ctDataImage)) ? ilw : 0;
        r.Y = (stacked || !HasText || InRect) ? ilh : 0;
        break;
    case ctPicture:
    case ctFilePicture:
        if (InRect) {
            g->GetPictureSize(W, H, HasText, r);
            r = TPoint(int(Round(r.X / Factor)), int(Round(r.Y / Factor)));
        } else {
            const TPoint cs = Grid->CellSize(ACol, ARow);
            g->GetPictureSize(cs.X - Grid->HorizontalTextMargin() - 1,
                cs.Y - Grid->VerticalTextMargin() - ExtraHeight - 1, HasText, r);
        }
        break;
    case ctButton:
    case ctBitButton: {
        const int bw = g->CellIndex() & 0xFFFF;
        const int bh = int(unsigned(g->CellIndex()) >> 16);
        r = TPoint(bw, bh);
        if (HasText) {
            if (g->CellHAlign() == haCenter)
                r.X = 0;
            else if (g->CellHAlign() == haFull)
                r.X = canvas->TextWidth(g->CellText()) + 4;
            else if (stacked)
                r.X = 0;
            if (!stacked)
                r.Y = 0;
        } else if (g->CellHAlign() == haFull) {
            canvas->Font()->Assign(Grid->Font());
            r.X = canvas->TextWidth(g->CellText()) + 4;
        }
        break;
    }
    case ctInterface: {
        auto* obj = dynamic_cast<IGridCellGraphic*>(g->CellBitmap);
        r = obj ? TPoint(obj->GetWidth(), obj->GetHeight()) : TPoint(0, 0);
        if (InRect) {
            const TRect cr = Grid->CellRect(Grid->DisplColIndex(ACol), ARow);
            if (r.X == 0)
                r.X = cr.Width();
            if (r.Y == 0)
                r.Y = cr.Height();
        } else if (r.X == 0 || r.Y == 0)
            r = Grid->CellSize(ACol, ARow);
        break;
    }
    case ctProgressPie:
        r = TPoint(20, 20);
        break;
    case ctRadioButton:
        r = TPoint(Grid->ControlLook()->RadioSize(), Grid->ControlLook()->RadioSize());
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
        r = TPoint(Grid->ControlLook()->CheckSize(), Grid->ControlLook()->CheckSize());
        break;
    case ctRadio: {
        const auto* items = dynamic_cast<TStrings*>(g->CellBitmap);
        const int n = items ? items->Count() : 0;
        if (g->CellBoolean()) {
            for (int i = 0; i < n; ++i)
                r.X += canvas->TextWidth(items->Strings(i)) + 12;
            r.Y = textHeight();
        } else {
            r.X = 12;
            for (int i = 0; i < n; ++i)
                r.X = std::max(r.X, canvas->TextWidth(items->Strings(i)) + 12);
            r.Y = (InRect ? textHeight() : std::max(16, textHeight())) * n;
        }
        break;
    }
    case ctRating:
        if (!InRect)
            r = TPoint(g->CellAngle() * 18, 16);
        break;
    case ctImages: {
        const auto* l = dynamic_cast<TIntList*>(g->CellBitmap);
        const int n = l ? l->Count() : 0;
        r = g->CellBoolean() ? TPoint(n * ilw, ilh) : TPoint(ilw, n * ilh);
        break;
    }
    case ctProgress:
    case ctXPProgress:
        if (InRect)
            r = TPoint(Grid->ColWidths(Grid->DisplColIndex(ACol)), Grid->RowHeights(ARow));
        break;
    case ctShape:
        if (InRect) {
            const int side = Grid->RowHeights(ARow) - 2 * Grid->XYOffset().Y;
            r = TPoint(side, side);
        }
        break;
    case ctNode:
        if (InRect)
            r = TPoint(20, 20);
        break;
    default:
        break;
    }
    return r;
}

TPoint TExStringGrid::CalcCellGraphicSize(int ACol, int ARow, int ExtraHeight)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return TPoint(0, 0);
    const bool hasText = !GetCellEx(ACol, ARow).isEmpty();
    TPoint r = KindSize(this, g, ACol, ARow, hasText, false, 0, 0, 1.0, ExtraHeight);
    const bool button = g->CellType() == ctButton || g->CellType() == ctBitButton;
    const bool keepsWidth = g->CellType() == ctRating || (button && !hasText && !g->CellText().isEmpty());
    if (g->CellVAlign() == vaFull || (g->CellHAlign() == haFull && !keepsWidth)) {
        // The cell's place on screen, where its real column shows.
        const TRect cr = CellRect(DisplColIndex(ACol), ARow);
        if (g->CellVAlign() == vaFull)
            r.Y = cr.Height();
        if (g->CellHAlign() == haFull)
            r.X = cr.Width();
    }
    return r;
}

TPoint TExStringGrid::CalcCellGraphicSizeInRect(int ACol, int ARow, int W, int H, double Factor)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return TPoint(0, 0);
    const bool hasText = !GetCellEx(ACol, ARow).isEmpty();
    return KindSize(this, g, ACol, ARow, hasText, true, W, H, Factor > 0 ? Factor : 1.0, 0);
}

TIntList* TExStringGrid::GetCellImages(int ACol, int ARow)
{
    if (GetCellType(ACol, ARow) != ctImages)
        return nullptr;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? dynamic_cast<TIntList*>(g->CellBitmap) : nullptr;
}

qintptr TExStringGrid::CellImageSortValue(int ACol, int ARow)
{
    const TCellType t = GetCellType(ACol, ARow);
    if (t != ctBitmap && t != ctIcon && t != ctImageList)
        return -1;
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return -1;
    if (t == ctBitmap)
        return qintptr(g->CellBitmap);
    if (t == ctIcon)
        return qintptr(g->CellIcon);
    return g->CellIndex();
}

void TExStringGrid::DoGetDisplText(int ACol, int ARow, QString& Value)
{
    TBaseGrid::DoGetDisplText(ACol, ARow, Value);
    if (FURLShowInText) {
        static const char* const Prefixes[]
            = { "HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FILE://", "FTP://" };
        for (const char* p : Prefixes) {
            QString linked;
            if (TextToHTML(Value, QString::fromLatin1(p), linked)) {
                Value = linked;
                break;
            }
        }
    }
    if (ACol != 1 || !FGrouping || !FGrouping->ShowGroupCount || ARow < 0)
        return;
    const auto* node = dynamic_cast<const TCellGraphic*>(GetGraphicObjectEx(0, ARow));
    if (!node || node->CellType() != ctNode)
        return;
    const int n = node->CellIndex() - node->CellErrFrom() - 1;
    if (FGrouping->GroupCountFormat.isEmpty()) {
        Value += QStringLiteral(" (") + QString::number(n) + QStringLiteral(")");
        return;
    }
    try {
        Value += Format(FGrouping->GroupCountFormat, { TVarRec(n) });
    } catch (const EConvertError&) {
        // A format that does not take one integer shows no count.
    }
}

int TExStringGrid::GetNodeIndent(int ARow) const
{
    if (!HasNodes() || ARow < 0 || !HasCellProperties(0, ARow) || !FCellNode)
        return 0;
    const TCellProperties* p = const_cast<TExStringGrid*>(this)->GetCellProperties(0, ARow);
    return p->NodeLevel() * FCellNode->NodeIndent();
}

bool TExStringGrid::IsSortIndicatorCell(int ACol, int ARow)
{
    if (IsMergedCell(ACol, ARow))
        ARow += CellSpan(ACol, ARow).Y;
    return FSortSettings && ARow == FSortSettings->Row() && FSortSettings->Show() && RowCount() > FixedRows() + 1;
}
