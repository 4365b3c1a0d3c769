#include "controls/grid/ExScrollControl.h"

#include "controls/grid/ExGrid.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>

TScrollControl::TScrollControl(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    TControl::SetColor(clSilver);
}

void TScrollControl::SetColor(TColor v)
{
    if (v == Color())
        return;
    TCustomControl::SetColor(v);
    Invalidate();
}

void TScrollControl::SetScrollWidth(int v)
{
    FScrollWidth = v;
    Invalidate();
}

void TScrollControl::SetDirection(TScrollDirection v)
{
    FDirection = v;
    Invalidate();
}

TExStringGrid* TScrollControl::Grid() const
{
    return dynamic_cast<TExStringGrid*>(Parent());
}

bool TScrollControl::Axis(TAxis& a) const
{
    TExStringGrid* g = Grid();
    if (!g)
        return false;
    if (FDirection == TScrollDirection::sdVertical) {
        a.Count = g->RowCount();
        a.Fixed = g->FixedRows();
        a.Visible = g->VisibleRowCount();
        a.First = g->TopRow();
        a.FixedExtent = a.Fixed > 0 ? int(g->RowHeightsSum(0, a.Fixed - 1)) : 0;
        const int footers = std::min(g->FixedFooters(), a.Count);
        a.FooterExtent = footers > 0 ? int(g->RowHeightsSum(a.Count - footers, a.Count - 1)) : 0;
        a.FirstExtent = a.Count > 0 ? g->RowHeights(0) : 0;
        a.Length = Height();
    } else {
        a.Count = g->ColCount();
        a.Fixed = g->FixedCols();
        a.Visible = g->VisibleColCount();
        a.First = g->LeftCol();
        a.FixedExtent = a.Fixed > 0 ? int(g->ColWidthsSum(0, a.Fixed - 1)) : 0;
        a.FirstExtent = a.Count > 0 ? g->ColWidths(0) : 0;
        a.Length = Width();
    }
    // Nothing to scroll, and nothing to divide by.
    return a.Count - a.Fixed > 0 && a.Visible < a.Count - a.Fixed;
}

bool TScrollControl::Thumb(int& Position, int& Size) const
{
    TAxis a;
    if (!Axis(a))
        return false;
    const int track = a.Length - a.FixedExtent - a.FooterExtent;
    const double r = double(a.Visible) / a.Count;
    const double p = double(a.First - a.Fixed) / (a.Count - a.Fixed);
    Position = a.FixedExtent + int(Round(track * p));
    Size = std::max(20, int(Round(track * r)));
    if (Position + Size > a.Length)
        Position = a.Length - Size;
    return true;
}

void TScrollControl::SetFirst(int v)
{
    TExStringGrid* g = Grid();
    if (FDirection == TScrollDirection::sdVertical)
        g->SetTopRow(v);
    else
        g->SetLeftCol(v);
    Invalidate();
}

void TScrollControl::Paint()
{
    int pos = 0, size = 0;
    if (!Thumb(pos, size))
        return;
    TCanvas* c = Canvas();
    c->Pen()->SetColor(Color());
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (FDirection == TScrollDirection::sdVertical)
        c->Rectangle(0, pos, FScrollWidth, pos + size);
    else
        c->Rectangle(pos, 0, pos + size, FScrollWidth);
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    int pos = 0, size = 0;
    if (!Thumb(pos, size))
        return;
    TAxis a;
    Axis(a);
    const int at = FDirection == TScrollDirection::sdVertical ? Y : X;
    if (at >= pos && at < pos + size) {
        FDownOnScroller = true;
        FDownPos = at;
        FDownRow = a.First;
    } else if (at < pos) {
        SetFirst(std::max(a.Fixed, a.First - a.Visible));
    } else {
        SetFirst(std::min(a.First + a.Visible, a.Count - a.Visible));
    }
}

void TScrollControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    TAxis a;
    if (!FDownOnScroller || !Axis(a) || a.Length - a.FirstExtent <= 0)
        return;
    const int at = FDirection == TScrollDirection::sdVertical ? Y : X;
    const int moved = int(Round(double(at - FDownPos) / (a.Length - a.FirstExtent) * a.Count));
    const int first = std::max(a.Fixed, std::min(moved + FDownRow, a.Count - a.Visible));
    if (first != a.First)
        SetFirst(first);
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FDownOnScroller = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TScrollControl::WndProc(TMessage& Message)
{
    // Drawn over the grid: the cells show around the thumb.
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TCustomControl::WndProc(Message);
}
