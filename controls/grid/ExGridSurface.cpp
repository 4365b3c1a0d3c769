// The grid's surface beyond its cells: the whole paint step, the window
// border, the background outside the cells, the resize lines, the
// translucent frame around the current cell, the balloon tool tips and the
// notifications of child date-time pickers. Also the least forms of the
// editing members the custom editor link reaches.
#include "controls/grid/ExGrid.h"

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExObjWindows.h"
#include "controls/base/ExUtil.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExEditLink.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridUnit.h"
#include "platform/controls/BalloonTip.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Notifications.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/runtime/DateUtils.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <array>

namespace {

constexpr int MaxBalloonText = 2048;
constexpr int MaxBalloonTitle = 100;
constexpr TColor FocusFrameColor = TColor(0xFDD397);
constexpr unsigned char FocusFrameOpacity = 230;

bool LookHasBorder(TGridLook Look)
{
    switch (Look) {
    case TGridLook::glSoft:
    case TGridLook::glVRK:
    case TGridLook::glXP:
    case TGridLook::glListView:
    case TGridLook::glVista:
    case TGridLook::glWin7:
    case TGridLook::glOffice2007:
        return true;
    default:
        return false;
    }
}

void PolyLine(TCanvas* C, std::initializer_list<TPoint> Points)
{
    auto it = Points.begin();
    C->MoveTo(it->X, it->Y);
    for (++it; it != Points.end(); ++it)
        C->LineTo(it->X, it->Y);
}

} // namespace

// ---------------------------------------------------------------------------
// The paint step

void TExStringGrid::Paint()
{
    TCanvas* cv = Canvas();
    cv->Pen()->SetStyle(TPenStyle::psSolid);
    cv->Brush()->SetStyle(TBrushStyle::bsSolid);
    TBaseGrid::Paint();

    if (EditorMode() && InplaceEditor() && InplaceEditor()->Visible()) {
        const bool lines = Options().testFlag(goHorzLine) || Options().testFlag(goVertLine);
        cv->Pen()->SetColor(GridLineWidth() < 1 || !lines ? Color() : GridLineColor());
        cv->Pen()->SetWidth(1);
        cv->Brush()->SetStyle(TBrushStyle::bsClear);
        // On the grid lines around the cell: a cell's own lines are its
        // right and bottom pixels.
        const TRect r = CellRect(Col(), Row());
        cv->Rectangle(r.Left - 1, r.Top - 1, r.Right, r.Bottom);
        cv->Brush()->SetStyle(TBrushStyle::bsSolid);
    }

    cv->Pen()->SetColor(clBlack);
    const TBitmap* bmp = FBackGround->Bitmap();
    if ((bmp && !bmp->Empty()) || FBackGround->ColorTo() != clNone)
        PaintGridBackground();

    if (OnPainted)
        OnPainted(this);
    PaintNCBorder(cv);
}

// ---------------------------------------------------------------------------
// The window border

void TExStringGrid::PaintNCBorder()
{
    // Only a paint reaches the window's pixels; the border comes last in it.
    if (FUpdateCount == 0)
        Invalidate();
}

void TExStringGrid::PaintNCBorder(TCanvas* ACanvas)
{
    if (!ACanvas || !LookHasBorder(FLook) || FBorderStyle == bsNone || FBorderColor == clNone || FFlat)
        return;
    const int w = Width(), h = Height();
    TPen* pen = ACanvas->Pen();
    TPen saved;
    saved.Assign(pen);
    pen->SetStyle(TPenStyle::psSolid);
    pen->SetMode(TPenMode::pmCopy);
    pen->SetWidth(1);
    pen->SetColor(FBorderColor);
    if (FFitCellsInGrid) {
        PolyLine(ACanvas, { TPoint(1, h), TPoint(1, 1), TPoint(w - 2, 1), TPoint(w - 2, h - 2), TPoint(1, h - 2) });
        if (Parent()) {
            pen->SetColor(Parent()->Color());
            PolyLine(ACanvas, { TPoint(0, h), TPoint(0, 0), TPoint(w - 1, 0), TPoint(w - 1, h - 1), TPoint(0, h - 1) });
        }
    } else if (FIsComCtl6) {
        PolyLine(ACanvas, { TPoint(0, h - 1), TPoint(0, 0), TPoint(w - 1, 0), TPoint(w - 1, h - 1), TPoint(0, h - 1) });
    }
    pen->Assign(&saved);
}

// ---------------------------------------------------------------------------
// Background outside the cells

void TExStringGrid::PaintGridBackground()
{
    TCanvas* cv = Canvas();
    const TBackGroundDisplay display = FBackGround->Display();
    const bool gradient
        = display == TBackGroundDisplay::bdGradientHorz || display == TBackGroundDisplay::bdGradientVert;
    // Nothing is free while both rows and columns run on beyond the view.
    const bool rowsBeyond = TopRow() + VisibleRowCount() < RowCount();
    const bool colsBeyond = LeftCol() + VisibleColCount() < ColCount();
    if ((rowsBeyond && colsBeyond) || (gradient && FBackGround->ColorTo() == clNone))
        return;

    TRect cr = ClientRect();
    if (FSearchFooter->Visible())
        cr.Bottom -= 32;
    if (FFloatingFooter->Visible() && FFooterPanel)
        cr.Bottom -= FFooterPanel->Height();
    const int glw = GridLineWidth();
    TRegion region;
    const TRect lastCol = CellRect(ColCount() - 1, TopRow());
    if (!lastCol.IsEmpty() && lastCol.Right + glw < cr.Right)
        region += QRect(lastCol.Right + glw, cr.Top, cr.Right - lastCol.Right - glw, cr.Height());
    const TRect lastRow = CellRect(LeftCol(), RowCount() - 1);
    if (!lastRow.IsEmpty() && lastRow.Bottom + glw < cr.Bottom)
        region += QRect(cr.Left, lastRow.Bottom + glw, cr.Width(), cr.Bottom - lastRow.Bottom - glw);
    if (region.isEmpty())
        return;

    // The canvas clips in device coordinates.
    const int saved = cv->SaveDC();
    TRegion clip = region.translated(cv->Origin().X, cv->Origin().Y);
    if (cv->HasClip())
        clip = clip.intersected(cv->ClipRegion());
    cv->SelectClipRgn(&clip);
    TBitmap* bmp = FBackGround->Bitmap();
    const bool hasBitmap = bmp && !bmp->Empty();
    if (!hasBitmap && gradient) {
        DrawGradient(
            cv, FBackGround->Color(), FBackGround->ColorTo(), display == TBackGroundDisplay::bdGradientHorz, cr, 128);
    } else if (hasBitmap && display != TBackGroundDisplay::bdTile) {
        cv->Draw(FBackGround->Left(), FBackGround->Top(), bmp);
    } else if (hasBitmap) {
        const TBackGroundCells cells = FBackGround->Cells();
        TPoint start(cr.Left, cr.Top);
        if (cells == TBackGroundCells::bcNormal) {
            // The top-left of the first normal cell, wherever the view is scrolled.
            start.X = (FixedCols() > 0 ? int(ColWidthsSum(0, FixedCols() - 1)) : 0) + FixedCols() * glw;
            start.Y = (FixedRows() > 0 ? int(RowHeightsSum(0, FixedRows() - 1)) : 0) + FixedRows() * glw;
        }
        start.X += FXYOffset.X;
        start.Y += FXYOffset.Y;
        if (cells != TBackGroundCells::bcFixed) {
            --start.X;
            --start.Y;
        }
        const int bw = bmp->Width(), bh = bmp->Height();
        for (int y = start.Y; y < cr.Bottom; y += bh) {
            for (int x = start.X; x < cr.Right; x += bw) {
                const int wid = std::min(bw, cr.Right - x), hgt = std::min(bh, cr.Bottom - y);
                cv->CopyRect(TRect(x, y, x + wid, y + hgt), bmp->Canvas(), TRect(0, 0, wid, hgt));
            }
        }
    }
    cv->RestoreDC(saved);
}

// ---------------------------------------------------------------------------
// Sizing lines

void TExStringGrid::DrawSizingLine(int X1, int Y1, int X2, int Y2)
{
    TCanvas* cv = Canvas();
    if (!cv || !cv->HandleAllocated())
        return;
    TPen* pen = cv->Pen();
    TPen saved;
    saved.Assign(pen);
    pen->SetColor(clBlack);
    pen->SetStyle(TPenStyle::psDot);
    pen->SetMode(TPenMode::pmXor);
    pen->SetWidth(1);
    cv->MoveTo(X1, Y1);
    cv->LineTo(X2, Y2);
    pen->Assign(&saved);
}

void TExStringGrid::DrawColSizingLine(int X)
{
    const TRect last = CellRect(LeftCol(), RowCount() - 1);
    DrawSizingLine(X, 0, X, std::max(Height(), last.Bottom));
}

void TExStringGrid::DrawRowSizingLine(int Y)
{
    const TRect last = CellRect(ColCount() - 1, TopRow());
    DrawSizingLine(0, Y, std::max(Width(), last.Right), Y);
}

// ---------------------------------------------------------------------------
// Focus frame

void TExStringGrid::ShowFocusWindow(const TRect& R)
{
    if (!FFocusWindow)
        return;
    FFocusWindow->Hide();
    const int w = R.Width() + 9, h = R.Height() + 9;

    TBitmap mask;
    MakeGlowMask(&mask, w, h, 3, 5, 4);
    TBitmap colour;
    colour.SetPixelFormat(TPixelFormat::pf24bit);
    colour.SetSize(w, h);
    colour.Canvas()->Brush()->SetColor(FocusFrameColor);
    colour.Canvas()->FillRect(Rect(0, 0, w, h));
    TGridAlphaMask alpha;
    alpha.MergeMask(&mask, &colour, FocusFrameColor);
    alpha.Opacity = FocusFrameOpacity;

    const TSize size { w, h };
    const TPoint origin(0, 0);
    TBlendFunction blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = alpha.Opacity;
    blend.AlphaFormat = AC_SRC_ALPHA;
    UpdateLayeredWindowDyn(
        FFocusWindow->Handle(), nullptr, nullptr, &size, alpha.Canvas(), &origin, clNone, &blend, ULW_ALPHA);

    // A frame: the outer rectangle, then the cell's the other way round.
    const int l = 4, t = 4, r = 4 + R.Width(), b = 4 + R.Height();
    const std::array<TPoint, 10> frame { TPoint(0, 0), TPoint(w, 0), TPoint(w, h), TPoint(0, h), TPoint(0, 0),
        TPoint(l, t), TPoint(l, b), TPoint(r, b), TPoint(r, t), TPoint(l, t) };
    FFocusWindow->SetWindowRegion(frame);

    const TPoint tl = ClientToScreen(TPoint(R.Left, R.Top));
    FFocusWindow->SetBounds(tl.X - 4, tl.Y - 4, w, h);
    SetHookedGrid(this);
    FFocusWindow->Show();
}

void TExStringGrid::HideFocusWindow()
{
    if (HookedGrid() == this)
        SetHookedGrid(nullptr);
    if (FFocusWindow)
        FFocusWindow->Hide();
}

// ---------------------------------------------------------------------------
// Notifications: balloon texts and date-time changes

void TExStringGrid::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_NOTIFY) {
        HandleNotify(Message);
        return;
    }
    TBaseGrid::Dispatch(Message);
}

QString TExStringGrid::BalloonCellText(int ACol, int ARow)
{
    QString text = GetCellEx(ACol, ARow);
    switch (CellTextType(text, FEnableHTML)) {
    case 1:
        text = StripHTMLTags(text);
        break;
    case 2:
        text = RichToPlainText(text);
        break;
    case 5:
        text = DecodeWideText(text);
        break;
    default:
        break;
    }
    qsizetype skip = 0;
    while (skip < text.size() && (text[skip] == u'\t' || text[skip] == u'\n' || text[skip] == u'\r'))
        ++skip;
    text.remove(0, skip);
    text.replace(u'\t', u' ');
    if (text.size() > MaxBalloonText)
        text = text.left(MaxBalloonText - 3) + QStringLiteral("...");
    return text;
}

void TExStringGrid::HandleNotify(TMessage& Message)
{
    auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam);
    if (!hdr) {
        TBaseGrid::Dispatch(Message);
        return;
    }
    switch (hdr->code) {
    case DTN_DATETIMECHANGE: {
        if (OnDateTimeChange) {
            const TSystemTime& st = reinterpret_cast<TNMDateTimeChange*>(hdr)->st;
            TDateTime value = 0;
            TDateTime date = 0, time = 0;
            if (st.wYear != 0 && st.wMonth != 0 && st.wDay != 0 && TryEncodeDate(st.wYear, st.wMonth, st.wDay, date)
                && TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, time))
                value = date + time;
            OnDateTimeChange(this, Col(), Row(), value);
        }
        TBaseGrid::Dispatch(Message);
        return;
    }
    case TTN_GETDISPINFO: {
        if (!FBalloon->Enable())
            return;
        const TPoint p = ScreenToClient(MouseCursorPos());
        int c = -1, r = -1;
        MouseToCell(p.X, p.Y, c, r);
        if (c < 0 || r < 0)
            return;
        c = RealColIndex(c);
        ResolveBaseCell(c, r, c, r);
        QString text = BalloonCellText(c, r);
        QString title = QStringLiteral(" ");
        TBalloonIcon icon = biInfo;
        QString t, x;
        TBalloonIcon i = biInfo;
        if (IsBalloon(c, r, t, x, i)) {
            title = t;
            text = x;
            icon = i;
        }
        if (OnCellBalloon)
            OnCellBalloon(this, c, r, title, text, icon);
        FLastBalloonPos = TPoint(c, r);
        FToolTipBuffer = text;
        reinterpret_cast<TNMTTDispInfo*>(hdr)->Text = FToolTipBuffer;
        if (title.size() > MaxBalloonTitle)
            title = title.left(MaxBalloonTitle - 3) + QStringLiteral("...");
        if (FHToolTip) {
            FHToolTip->SetMaxTipWidth(300);
            if (FBalloon->BackgroundColor != clNone)
                FHToolTip->SetTipBkColor(FBalloon->BackgroundColor);
            if (FBalloon->TextColor != clNone)
                FHToolTip->SetTipTextColor(FBalloon->TextColor);
            FHToolTip->SetTitle(title, int(icon));
        }
        return;
    }
    case TTN_SHOW:
    case TTN_POP:
        return;
    default:
        TBaseGrid::Dispatch(Message);
        return;
    }
}

void TExStringGrid::CreateToolTipWindow()
{
    if (FHToolTip)
        return;
    FHToolTip = new TBalloonTip(this);
}

void TExStringGrid::DestroyToolTipWindow()
{
    delete FHToolTip;
    FHToolTip = nullptr;
}

void TExStringGrid::AddBalloonTool(int Icon, const QString& Title)
{
    if (!FHToolTip || !Parent())
        return;
    FHToolTip->SetTool(this);
    FHToolTip->SetTitle(Title.left(255), Icon);
}

// ---------------------------------------------------------------------------
// The custom editor and the least editing members it reaches

void TExStringGrid::SetEditLink(TEditLink* Value)
{
    if (FEditLink == Value)
        return;
    if (FEditLink)
        FEditLink->RemoveFreeNotification(this);
    FEditLink = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TExStringGrid::StoreEditorValue(int ACol, int ARow)
{
    if (IsDestroying())
        return;
    if (EditControl != TEditorType::edCustom || !FEditLink || !FEditMode)
        return;
    FEditMode = false;
    SetEditedCellText(RealColIndex(ACol), ARow, FEditLink->GetEditorValue());
    if (FEditLink->EditStyle != TEditStyle::esPopup)
        FEditLink->SetVisible(false);
    FEditLink->RestoreWinProc();
}
