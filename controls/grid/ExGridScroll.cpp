// The string grid's scroll bars and scrolling: the four scroll types,
// proportional thumbs, the scroll messages with their hints, synchronous
// scrolling, the in-cell scroll bar, scrolling while dragging, and the two
// point-to-cell tests.

#include "controls/base/EsgHTMLE.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridWindows.h"
#include "controls/grid/ExScrollControl.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ScrollBar.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cstdint>

// ---------------------------------------------------------------------------
// Point to cell

void TExStringGrid::ScreenToCell(TPoint pt, int& ACol, int& ARow)
{
    const TPoint p = ScreenToClient(pt);
    MouseToCell(p.X, p.Y, ACol, ARow);
}

bool TExStringGrid::IsSizingPosition(int x, int y)
{
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    if (c < 0 || r < 0)
        return false;
    const TRect rc = CellRect(c, r);
    bool sizing = false;
    // The first normal row counts too: a press just below the header sizes.
    if (r <= FixedRows() && Options().testFlag(goColSizing))
        sizing = std::abs(x - rc.Left) < 4 || std::abs(rc.Right - x) < 4;
    if (c <= FixedCols() && Options().testFlag(goRowSizing))
        sizing = std::abs(y - rc.Top) < 4 || std::abs(rc.Bottom - y) < 4;
    return sizing;
}

// ---------------------------------------------------------------------------
// Property setters

void TExStringGrid::SetScrollBars(TScrollStyle Value)
{
    FScrollBarsEx = Value;
    TBaseGrid::SetScrollBars(Value);
    // The client area changed with the bars: aligned children follow.
    Realign();
}

void TExStringGrid::SetScrollType(TScrollType v)
{
    if (v != FScrollType) {
        FScrollType = v;
        if (v == TScrollType::ssFlat || v == TScrollType::ssEncarta) {
            InitFlatScrollBars();
            UpdateFlatScrollBars();
        } else {
            DoneFlatScrollBars();
        }
        if (HandleAllocated()) {
            if (v == TScrollType::ssMetro) {
                CreateMetroScrollControls();
                SetScrollBars(ssNone);
            } else if (vscrlctrl || hscrlctrl) {
                delete vscrlctrl;
                vscrlctrl = nullptr;
                delete hscrlctrl;
                hscrlctrl = nullptr;
                SetScrollBars(ssBoth);
            }
        }
    }
    ApplyFlatScrollStyle();
}

void TExStringGrid::SetScrollColor(TColor v)
{
    FScrollColor = v;
    ApplyFlatScrollColor();
}

void TExStringGrid::SetScrollWidth(int v)
{
    FScrollWidth = v;
    ApplyFlatScrollWidth();
}

void TExStringGrid::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    if (Value) {
        UpdateProportionalVertScroll();
        UpdateProportionalHorzScroll();
    } else if (FFlatScrollInit && FScrollType == TScrollType::ssNormal) {
        DoneFlatScrollBars();
        for (int bar : { SB_VERT, SB_HORZ }) {
            TGridScrollInfo si = GetScrollInfo(bar);
            si.Page = 0;
            SetScrollInfo(bar, si);
        }
    }
}

void TExStringGrid::SetHighlightColor(TColor Value)
{
    if (Value == FHighlightColor)
        return;
    FHighlightColor = Value;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TExStringGrid::SetHighlightTextColor(TColor Value)
{
    if (Value == FHighlightTextColor)
        return;
    FHighlightTextColor = Value;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Flat scroll bars: the toolkit grid's bars always offer the flat looks.

void TExStringGrid::InitFlatScrollBars()
{
    FFlatScrollInit = true;
}

void TExStringGrid::DoneFlatScrollBars()
{
    if (!FFlatScrollInit)
        return;
    FFlatScrollInit = false;
    SetScrollBarLook({});
}

void TExStringGrid::SetFlatScrollProp(int Index, int Value)
{
    if (!FFlatScrollInit)
        return;
    TScrollBarLook look = ScrollBarLook();
    switch (Index) {
    case WSB_PROP_VSTYLE:
    case WSB_PROP_HSTYLE:
        look.Style = Value;
        break;
    case WSB_PROP_VBKGCOLOR:
    case WSB_PROP_HBKGCOLOR:
        look.Color = TColor(Value);
        break;
    case WSB_PROP_CXVSCROLL:
    case WSB_PROP_CYHSCROLL:
        look.Size = Value;
        break;
    default:
        return;
    }
    SetScrollBarLook(look);
}

void TExStringGrid::SetFlatScrollInfo(int Code, const TGridScrollInfo& ScrollInfo)
{
    if (FFlatScrollInit)
        SetScrollInfo(Code, ScrollInfo);
}

// The toolkit grid shows a bar exactly while its cells do not all fit,
// which is what the flat bars are asked to do.
void TExStringGrid::ShowFlatScrollBar(int Code, bool Show)
{
    (void)Code, (void)Show;
}

void TExStringGrid::UpdateFlatVertScroll()
{
    if (FFlatScrollInit && (FScrollBarsEx == ssVertical || FScrollBarsEx == ssBoth))
        SetFlatScrollInfo(SB_VERT, GetScrollInfo(SB_VERT));
}

void TExStringGrid::UpdateFlatHorzScroll()
{
    if (FFlatScrollInit && (FScrollBarsEx == ssHorizontal || FScrollBarsEx == ssBoth))
        SetFlatScrollInfo(SB_HORZ, GetScrollInfo(SB_HORZ));
}

void TExStringGrid::ApplyFlatScrollStyle()
{
    int style = 0;
    switch (FScrollType) {
    case TScrollType::ssNormal:
        style = FSB_REGULAR_MODE;
        break;
    case TScrollType::ssFlat:
        style = FSB_FLAT_MODE;
        break;
    case TScrollType::ssEncarta:
        style = FSB_ENCARTA_MODE;
        break;
    case TScrollType::ssMetro:
        return;
    }
    SetFlatScrollProp(WSB_PROP_VSTYLE, style);
    SetFlatScrollProp(WSB_PROP_HSTYLE, style);
}

void TExStringGrid::ApplyFlatScrollColor()
{
    if (FScrollColor == clNone)
        return;
    SetFlatScrollProp(WSB_PROP_VBKGCOLOR, int(FScrollColor));
    SetFlatScrollProp(WSB_PROP_HBKGCOLOR, int(FScrollColor));
}

void TExStringGrid::ApplyFlatScrollWidth()
{
    SetFlatScrollProp(WSB_PROP_CXVSCROLL, FScrollWidth);
    SetFlatScrollProp(WSB_PROP_CYHSCROLL, FScrollWidth);
}

void TExStringGrid::UpdateFlatScrollBars()
{
    if (!FFlatScrollInit)
        return;
    ApplyFlatScrollStyle();
    ApplyFlatScrollColor();
    ApplyFlatScrollWidth();
    const bool rows = VisibleRowCount() + FixedRows() < RowCount();
    ShowFlatScrollBar(SB_VERT, rows);
    if (rows)
        UpdateFlatVertScroll();
    const bool cols = VisibleColCount() + FixedCols() < ColCount();
    ShowFlatScrollBar(SB_HORZ, cols);
    if (cols)
        UpdateFlatHorzScroll();
}

// ---------------------------------------------------------------------------
// Proportional thumbs. The bar's range is chosen so that its reachable part
// stays 0..127 and the page is the share of the cells in view.

namespace {
struct TExtentSums {
    qint64 Fixed = 0, Total = 0, Before = 0, Normal = 0;
};

// The page is the share e of the normal cells in view; the thumb keeps at
// least one step of the 128 positions (fixed cells taller than the grid
// leave e at or below 0), so that it never vanishes and still reaches the
// last position.
void SetProportionalRange(TGridScrollInfo& si, float e)
{
    si.Min = 0;
    si.Max = std::max(GridScrollMax, int((e + 127.0f) / (1.0f - e)));
    si.Page = si.Max - (GridScrollMax - 1);
}

template <class Sum> TExtentSums ExtentSums(int lw, int fixedCount, int count, int first, Sum sum)
{
    TExtentSums s;
    s.Normal = count > fixedCount ? sum(fixedCount, count - 1) : 0;
    s.Fixed = lw + qint64(fixedCount) * lw + (fixedCount > 0 ? sum(0, fixedCount - 1) : 0);
    s.Total = lw + qint64(count - fixedCount) * lw + s.Normal;
    s.Before = lw + qint64(first - fixedCount) * lw + (first > fixedCount ? sum(fixedCount, first - 1) : 0);
    return s;
}
} // namespace

void TExStringGrid::UpdateProportionalHorzScroll()
{
    if (IsLoading() || IsDesigning() || !FScrollProportional || FScrollLock)
        return;
    const TExtentSums s = ExtentSums(
        GridLineWidth(), FixedCols(), ColCount(), LeftCol(), [this](int a, int b) { return ColWidthsSum(a, b); });
    // Normal columns without width leave nothing to be proportional to.
    if (s.Normal <= 0)
        return;
    const int w = Width();
    const float e = float(w - s.Fixed) / float(s.Total);
    if (e >= 0.9999f)
        return;
    if (s.Fixed + s.Total - w < 5)
        return;
    TGridScrollInfo si = GetScrollInfo(SB_HORZ);
    SetProportionalRange(si, e);
    if (w < s.Total)
        si.Pos = int(double(s.Before) / double(s.Total - w) * 128);
    SetScrollInfo(SB_HORZ, si);
    UpdateFlatHorzScroll();
}

void TExStringGrid::UpdateProportionalVertScroll()
{
    if (IsLoading() || IsDesigning() || !FScrollProportional || FScrollLock)
        return;
    if (VisibleRowCount() + FixedRows() >= RowCount())
        return;
    const TExtentSums s = ExtentSums(
        GridLineWidth(), FixedRows(), RowCount(), TopRow(), [this](int a, int b) { return RowHeightsSum(a, b); });
    if (s.Total == 0)
        return;
    const int h = Height();
    const float e = float(h - s.Fixed) / float(s.Total);
    if (e >= 0.9999f)
        return;
    TGridScrollInfo si = GetScrollInfo(SB_VERT);
    SetProportionalRange(si, e);
    si.Pos = h < s.Total ? int(double(s.Before) / double(s.Total - h) * 128) : 127;
    SetScrollInfo(SB_VERT, si);
    UpdateFlatVertScroll();
}

// ---------------------------------------------------------------------------
// Metro scroll controls

void TExStringGrid::CreateMetroScrollControls()
{
    if (!vscrlctrl) {
        vscrlctrl = new TScrollControl(this);
        vscrlctrl->SetDirection(TScrollDirection::sdVertical);
        vscrlctrl->SetParent(this);
        vscrlctrl->SetWidth(6);
        vscrlctrl->SetAlign(alRight);
        vscrlctrl->SetVisible(true);
    }
    if (!hscrlctrl) {
        hscrlctrl = new TScrollControl(this);
        hscrlctrl->SetDirection(TScrollDirection::sdHorizontal);
        hscrlctrl->SetParent(this);
        hscrlctrl->SetHeight(6);
        hscrlctrl->SetAlign(alBottom);
        hscrlctrl->SetVisible(true);
    }
}

void TExStringGrid::InvalidateMetroScrollControls()
{
    for (TScrollControl* c : { vscrlctrl, hscrlctrl })
        if (c)
            c->Invalidate();
}

void TExStringGrid::ScrollWindowCreated()
{
    if (!IsDesigning() && FScrollType == TScrollType::ssMetro)
        CreateMetroScrollControls();
    // The in-cell scroll bar's requests reach the grid as its scroll messages.
    if (FCellScrollBar)
        FCellScrollBar->OnScroll = [this](TObject*, TScrollCode Code, int& ScrollPos) {
            Perform(WM_VSCROLL, WPARAM(Code) | (WPARAM(WORD(ScrollPos)) << 16), LPARAM(FCellScrollBar->Handle()));
            ScrollPos = FCellScrollBar->Position();
        };
    if (FScrollType != TScrollType::ssNormal && !IsLoading()) {
        InitFlatScrollBars();
        ApplyFlatScrollWidth();
        ApplyFlatScrollColor();
    }
}

// ---------------------------------------------------------------------------
// Scroll messages

bool TExStringGrid::ScrollWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_HSCROLL:
        WMScroll(Message, true);
        return true;
    case WM_VSCROLL:
        WMScroll(Message, false);
        return true;
    case WM_GETDLGCODE:
        TBaseGrid::WndProc(Message);
        if (FNavigation->AutoGotoWhenSorted || !Options().testFlag(goEditing))
            Message.Result |= DLGC_WANTCHARS;
        return true;
    case CM_DRAG:
        DragOver(Message);
        return false;
    default:
        return false;
    }
}

void TExStringGrid::ShowScrollHint(const QString& Prefix, int Index)
{
    QString s = Prefix + QString::number(Index);
    if (OnScrollHint)
        OnScrollHint(this, Index, s);
    FScrollHintWnd->SetColor(FHintColor);
    TRect r = FScrollHintWnd->CalcHintRect(100, s, nullptr);
    const TPoint pt = MouseCursorPos();
    r = Rect(pt.X + 10, pt.Y, pt.X + 10 + r.Width(), pt.Y + r.Height());
    FScrollHintWnd->ActivateHint(r, s);
    FShowScrollHint = true;
}

TGridRect TExStringGrid::FixedBackgroundCells() const
{
    TBitmap* bmp = FBackGround->Bitmap();
    if (FBackGround->Display() != TBackGroundDisplay::bdFixed || !bmp || bmp->Empty())
        return { -1, -1, -1, -1 };
    TGridRect r;
    MouseToCell(FBackGround->Left(), FBackGround->Top(), r.Left, r.Top);
    MouseToCell(FBackGround->Left() + bmp->Width(), FBackGround->Top() + bmp->Height(), r.Right, r.Bottom);
    return r;
}

void TExStringGrid::RepaintFixedBackground(const TGridRect& Old)
{
    if (Old.Left == -1 && Old.Top == -1 && Old.Right == -1 && Old.Bottom == -1)
        return;
    const TGridRect now = FixedBackgroundCells();
    if (now == Old)
        return;
    RepaintRect(Old);
    RepaintRect(now);
}

bool TExStringGrid::CellScrollBarMessage(TMessage& Message)
{
    TScrollBar* sb = FCellScrollBar;
    if (!sb || !sb->HandleAllocated() || Message.LParam != LPARAM(sb->Handle()))
        return false;
    const int old = sb->Position();
    int pos = old;
    switch (LoWord(Message.WParam)) {
    case SB_LINEUP:
        pos = std::max(sb->Min(), old - 10);
        break;
    case SB_LINEDOWN:
        pos = std::min(sb->Max(), old + 10);
        break;
    case SB_PAGEUP:
        pos = old - 100;
        break;
    case SB_PAGEDOWN:
        pos = old + 100;
        break;
    case SB_THUMBTRACK:
        pos = HiWord(Message.WParam);
        break;
    default:
        break;
    }
    sb->SetPosition(std::clamp(pos, sb->Min(), sb->Max()));
    if (sb->Position() != old && FCellScrollCol >= 0 && FCellScrollRow >= 0) {
        Message.Result = 0;
        SetScrollPosition(FCellScrollCol, FCellScrollRow, sb->Position());
        RepaintCell(FCellScrollCol, FCellScrollRow);
        DoScrollCell(FCellScrollCol, FCellScrollRow, sb->Position(), sb->Min(), sb->Max());
    }
    return true;
}

void TExStringGrid::DoScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)
{
    if (OnScrollCell)
        OnScrollCell(this, ACol, ARow, ScrollPosition, ScrollMin, ScrollMax);
}

void TExStringGrid::WMScroll(TMessage& Message, bool Horz)
{
    if (!Horz && IsDesigning()) {
        TBaseGrid::WndProc(Message);
        return;
    }
    if (!Horz && CellScrollBarMessage(Message))
        return;
    const int code = LoWord(Message.WParam);
    int pos = HiWord(Message.WParam);
    const int fixed = Horz ? FixedCols() : FixedRows();
    const int count = Horz ? ColCount() : RowCount();
    const int visible = Horz ? VisibleColCount() : VisibleRowCount();
    auto thumbIndex = [&](int p) { return fixed + MulDiv(p, count - visible - fixed, GridScrollMax); };

    const bool hints = FScrollHints == TScrollHintType::shBoth
        || FScrollHints == (Horz ? TScrollHintType::shHorizontal : TScrollHintType::shVertical);
    if (hints) {
        if (code == SB_ENDSCROLL) {
            FScrollHintWnd->SetVisible(false);
            FShowScrollHint = false;
        }
        if (code == SB_THUMBTRACK)
            ShowScrollHint(Horz ? QStringLiteral("Col : ") : QStringLiteral("Row : "), thumbIndex(pos));
    }
    // The flat bar's thumb takes room from the track: its position is
    // stretched back over the whole range.
    if (Horz && code == SB_THUMBPOSITION && FFlatScrollInit && ColCount() > 0) {
        const int v = int(Round(VisibleColCount() * 128.0 / ColCount()));
        if (v != 128) {
            pos = int(Round(pos * 127.0 / (128 - v)));
            Message.WParam = WPARAM(code) | (WPARAM(WORD(pos)) << 16);
        }
    }
    if (code == SB_THUMBTRACK && FScrollSynch) {
        if (Horz)
            SetLeftCol(thumbIndex(pos));
        else
            SetTopRow(thumbIndex(pos));
    }
    const TGridRect background = FixedBackgroundCells();
    if (Horz && FixedCols() == 0 && thumbIndex(pos) >= Col())
        HideInplaceEdit();
    if (!Horz && FSearchFooter->Visible() && (code == SB_LINEDOWN || code == SB_ENDSCROLL)
        && LastRowAboveSearchPanel()) {
        Message.Result = 0;
        return;
    }

    TBaseGrid::WndProc(Message);

    if (!Horz && FSearchFooter->Visible()) {
        if (code == SB_LINEUP && TopRow() == RowCount() - VisibleRowCount())
            SetTopRow(TopRow() - 1);
        else if ((code == SB_LINEDOWN || code == SB_ENDSCROLL) && TopRow() == RowCount() - VisibleRowCount())
            ScrollAboveSearchPanel();
    }
    if (code != SB_THUMBTRACK)
        RepaintFixedBackground(background);
    if (Horz && code == SB_ENDSCROLL) {
        if (UseRightToLeftAlignment() && HasCellProps())
            Invalidate();
        else if (ColCount() == 1)
            Repaint();
    }
    UpdateFlatVertScroll();
    UpdateFlatHorzScroll();
    if (HasCheckBox(Col(), Row()))
        HideEditor();
    if (Horz && FFooterPanel)
        FFooterPanel->Invalidate();
    InvalidateMetroScrollControls();
}

// ---------------------------------------------------------------------------
// Scrolling while something is dragged over the grid

void TExStringGrid::StopDragScroll()
{
    FDragScrollTimer.reset();
}

void TExStringGrid::DragOver(TMessage& Message)
{
    const int code = int(Message.WParam);
    if (!FDragScrollOptions->Active || code == dmDragLeave) {
        StopDragScroll();
        return;
    }
    if (code != dmDragEnter && code != dmDragMove)
        return;
    const int x = GetXLParam(Message.LParam);
    const int y = GetYLParam(Message.LParam);
    const TDragScrollMargins* m = FDragScrollOptions->Margins();
    const int previous = FDragScrollDir;
    FDragScrollDir = 0;
    if (y < m->TopMargin)
        FDragScrollDir |= dsdUp;
    else if (y > Height() - m->BottomMargin)
        FDragScrollDir |= dsdDown;
    if (x < m->LeftMargin)
        FDragScrollDir |= dsdLeft;
    else if (x > Width() - m->RightMargin)
        FDragScrollDir |= dsdRight;
    if (FDragScrollDir == 0) {
        StopDragScroll();
        return;
    }
    const unsigned initial = unsigned(std::max(0, FDragScrollOptions->Delays()->InitialDelay));
    if (!FDragScrollTimer) {
        FDragScrollTimer = std::make_unique<TTimer>(nullptr);
        FDragScrollTimer->SetInterval(initial);
        FDragScrollTimer->OnTimer = [this](TObject*) { DragScrollTimerTick(); };
        FDragScrollTimer->SetEnabled(true);
    } else if (previous != 0) {
        FDragScrollTimer->SetInterval(initial);
    }
}

void TExStringGrid::DragScrollTimerTick()
{
    if (!FDragScrollOptions->Active) {
        StopDragScroll();
        return;
    }
    FDragScrollTimer->SetInterval(unsigned(std::max(0, FDragScrollOptions->Delays()->RepeatDelay)));
    bool canScroll = true;
    if (OnDragScroll)
        OnDragScroll(this, TopRow(), LeftCol(), FDragScrollDir, canScroll);
    if (!canScroll)
        return;
    if ((FDragScrollDir & dsdUp) && TopRow() > FixedRows())
        SetTopRow(TopRow() - 1);
    if ((FDragScrollDir & dsdDown) && TopRow() + VisibleRowCount() < RowCount())
        SetTopRow(TopRow() + 1);
    if ((FDragScrollDir & dsdLeft) && LeftCol() > FixedCols())
        SetLeftCol(LeftCol() - 1);
    if ((FDragScrollDir & dsdRight) && VisibleColCount() + LeftCol() < ColCount())
        SetLeftCol(LeftCol() + 1);
    InvalidateMetroScrollControls();
}
