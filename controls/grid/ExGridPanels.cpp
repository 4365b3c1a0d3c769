// The grid's own small controls: the footer strip, the search bar, the
// filter drop-down lists and the drag windows.

#include "controls/grid/ExGridPanels.h"

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExObjCheckBox.h"
#include "controls/base/ExObjGridButton.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/ImageList.h"

#include <memory>

QString ExpandFooterTemplate(const QString& Template, const std::function<QString(int)>& CellText)
{
    QString out;
    qsizetype i = 0;
    for (;;) {
        const qsizetype p = Template.indexOf(QLatin1String("<#"), i);
        if (p < 0)
            break;
        const qsizetype q = Template.indexOf(QLatin1Char('>'), p + 2);
        // An open placeholder is plain text, so the expansion always ends.
        if (q < 0)
            break;
        out += QStringView(Template).mid(i, p - i);
        bool ok = false;
        const int n = QStringView(Template).mid(p + 2, q - p - 2).toInt(&ok, 10);
        if (ok && CellText)
            out += CellText(n);
        i = q + 1;
    }
    out += QStringView(Template).mid(i);
    return out;
}

namespace {

bool HasLightEdge(const TExStringGrid* G)
{
    const TGridLook l = G->Look();
    return !G->Flat()
        && (l == TGridLook::glSoft || l == TGridLook::glVRK || l == TGridLook::glXP || l == TGridLook::glListView);
}

void Line(TCanvas* C, TColor Color, int X1, int Y1, int X2, int Y2)
{
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

void Fill(TCanvas* C, TColor Color, const TRect& R)
{
    if (R.Right <= R.Left || R.Bottom <= R.Top)
        return;
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
}

} // namespace

// ---------------------------------------------------------------------------
// Footer panel

TFooterPanel::TFooterPanel(TExStringGrid* AGrid)
    : TCustomPanel(AGrid)
    , FGrid(AGrid)
{
    SetBevelOuter(bvNone);
    SetBorderWidth(0);
    SetShowCaption(false);
    SetHeight(0);
    SetAlign(alBottom);
    // The hint texts come per column from the grid; a hint of its own makes
    // the hint timer start for the strip at all.
    SetHint(QStringLiteral(" "));
}

void TFooterPanel::CreateWnd()
{
    TCustomPanel::CreateWnd();
    const TFloatingFooter* ff = FGrid->FloatingFooter();
    SetHeight(ff->Visible() ? ff->Height() : 0);
    if (FGrid->OnCreatedFloatingFooter)
        FGrid->OnCreatedFloatingFooter(FGrid);
}

int TFooterPanel::CellsWidth() const
{
    int w = 0;
    for (int c = 0; c < FGrid->FixedCols(); ++c)
        w += FGrid->ColWidths(c);
    for (int c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount(); ++c)
        w += FGrid->ColWidths(c);
    return w;
}

TRect TFooterPanel::Mirror(const TRect& R) const
{
    if (!FGrid->UseRightToLeftAlignment())
        return R;
    const int cw = ClientWidth();
    return TRect(cw - R.Right, R.Top, cw - R.Left, R.Bottom);
}

int TFooterPanel::ColumnAt(int X) const
{
    if (FGrid->UseRightToLeftAlignment())
        X = ClientWidth() - 1 - X;
    // A column covers [its left edge, its left edge + width): the fixed
    // columns first, then the scrolled-in ones from LeftCol, as painted.
    int left = 0;
    for (int c = 0; c < FGrid->FixedCols(); ++c) {
        left += FGrid->ColWidths(c);
        if (X < left)
            return c;
    }
    for (int c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount(); ++c) {
        left += FGrid->ColWidths(c);
        if (X < left)
            return c;
    }
    return -1;
}

void TFooterPanel::Paint()
{
    TCanvas* c = Canvas();
    if (BiDiMode() != FGrid->BiDiMode())
        SetBiDiMode(FGrid->BiDiMode());
    const TFloatingFooter* ff = FGrid->FloatingFooter();
    int w = 0;
    switch (ff->FooterStyle()) {
    case TFooterStyle::fsFixedLastRow:
        w = PaintFixedLastRow(c);
        break;
    case TFooterStyle::fsColumnPreview:
        w = PaintPreview(c, false);
        break;
    case TFooterStyle::fsCustomPreview:
        w = PaintPreview(c, true);
        break;
    case TFooterStyle::fsCustomPaint:
        // The event paints on the panel's erased background.
        Fill(c, Color(), ClientRect());
        if (FGrid->OnFooterPaint)
            FGrid->OnFooterPaint(this, ff->Column(), Mirror(ClientRect()), c);
        w = ClientWidth();
        break;
    }
    if (ff->BorderColor() != clNone) {
        const TRect top = Mirror(TRect(0, 0, w, 1));
        Line(c, ff->BorderColor(), top.Left, 0, top.Right, 0);
    }
}

int TFooterPanel::PaintFixedLastRow(TCanvas* C)
{
    TExStringGrid* g = FGrid;
    const TFloatingFooter* ff = g->FloatingFooter();
    const int h = ClientHeight();
    const int cw = ClientWidth();
    const int w = CellsWidth();
    const bool rtl = g->UseRightToLeftAlignment();
    auto mx = [&](int x) { return rtl ? cw - 1 - x : x; };
    Fill(C, ff->Color(), Mirror(TRect(0, 0, w, h)));
    Fill(C, g->Color(), Mirror(TRect(w, 0, cw, h)));

    const bool vert = (g->Options() & goFixedVertLine) != 0;
    const bool horz = (g->Options() & goFixedHorzLine) != 0;
    const bool light = HasLightEdge(g);
    std::vector<std::pair<int, bool>> cols;
    for (int c = 0; c < g->FixedCols(); ++c)
        cols.emplace_back(c, false);
    for (int c = std::max(g->LeftCol(), g->FixedCols()); c < g->ColCount(); ++c)
        cols.emplace_back(c, true);

    int x = 0;
    for (const auto& [c, scrolled] : cols) {
        if (vert && light)
            Line(C, clWhite, mx(x), 0, mx(x), h);
        const int x0 = x;
        x += g->ColWidths(c);
        const TColor pen = scrolled && g->Look() != TGridLook::glVista ? clGray : g->GridLineColor();
        if (horz)
            Line(C, pen, mx(x0), 0, mx(x - 1), 0);
        if (vert)
            Line(C, pen, mx(x - 1), 0, mx(x - 1), h);
    }

    const int lastRow = g->RowCount() - 1;
    const int top = horz ? 1 : 0;
    TBrush brush;
    TFont font;
    x = 0;
    for (std::size_t k = 0; k < cols.size(); ++k) {
        const auto [c, scrolled] = cols[k];
        const int start = x;
        x += g->ColWidths(c);
        const int real = g->RealColIndex(c);
        if (!g->IsBaseCell(real, lastRow))
            continue;
        int right = x;
        const TPoint span = g->CellSpan(real, lastRow);
        for (int s = 1; s <= span.X && k + std::size_t(s) < cols.size(); ++s)
            right += g->ColWidths(cols[k + std::size_t(s)].first);
        TRect r(start, top, right - 1, h);
        if (horz && light)
            ++r.Left;
        const TRect mr = Mirror(r);
        if (scrolled) {
            if (g->OnGetCellColor) {
                brush.SetColor(clNone);
                font.Assign(g->Font());
                g->OnGetCellColor(g, lastRow, real, TGridDrawState(gdFixed), &brush, &font);
                if (brush.Color() != clNone)
                    Fill(C, brush.Color(), mr);
            }
            const TColor own = g->Colors(real, lastRow);
            if (own != clNone)
                Fill(C, own, mr);
            if (g->OnFooterPaint) {
                g->OnFooterPaint(this, c, mr, C);
                continue;
            }
        }
        g->PaintGridCell(C, real, lastRow, mr, TGridDrawState(gdFixed));
    }
    return x;
}

void TFooterPanel::PaintPreviewFrame(TCanvas* C, int W)
{
    const int h = ClientHeight();
    const TRect r = Mirror(TRect(0, 0, W, h));
    Fill(C, FGrid->FloatingFooter()->Color(), r);
    Line(C, clGray, r.Left, h - 1, r.Right, h - 1);
    Line(C, clGray, r.Right - 1, 0, r.Right - 1, h);
    Line(C, clWhite, r.Left, 0, r.Right, 0);
    Line(C, clWhite, r.Left, 0, r.Left, h);
    Fill(C, FGrid->Color(), Mirror(TRect(W, 0, ClientWidth(), h)));
}

int TFooterPanel::PaintPreview(TCanvas* C, bool Template)
{
    TExStringGrid* g = FGrid;
    const TFloatingFooter* ff = g->FloatingFooter();
    const int w = CellsWidth();
    PaintPreviewFrame(C, w);
    const TRect r = Mirror(TRect(0, 0, w, ClientHeight()));
    // A preview shows the row's text as it is, never in the selection's colour.
    const TColor selText = g->FSelectionTextColor;
    g->FSelectionTextColor = clBlack;
    struct TRestore {
        TExStringGrid* G;
        TColor Color;
        ~TRestore() { G->FSelectionTextColor = Color; }
    } restore { g, selText };

    const int row = g->Row();
    if (!Template) {
        if (g->OnFooterPaint) {
            g->OnFooterPaint(this, ff->Column(), r, C);
        } else {
            TRect inner = r;
            InflateRect(inner, -1, -1);
            if (ff->Column() >= 0 && ff->Column() < g->TotalColCount() && row >= 0 && row < g->RowCount())
                g->PaintGridCell(C, ff->Column(), row, inner, TGridDrawState());
        }
        return w;
    }
    C->Font()->Assign(g->Font());
    if (g->IsDesigning()) {
        TRect tr = r;
        C->Brush()->SetStyle(TBrushStyle::bsClear);
        DrawText(C, ff->CustomTemplate(), tr, DT_SINGLELINE | DT_LEFT);
        return w;
    }
    const QString text = ExpandFooterTemplate(ff->CustomTemplate(), [g, row](int n) {
        if (n < 0 || n >= g->TotalColCount() || row < 0 || row >= g->RowCount())
            return QString();
        return g->Cells(n, row);
    });
    THTMLDrawInput in;
    in.Canvas = C;
    in.Text = text;
    in.Rect = TRect(r.Left, r.Top + 2, r.Right, r.Bottom + 2);
    in.Images = g->GetGridImageList();
    in.PictureContainer = g->PictureContainer();
    in.PictureCache = g->FPictureCache.get();
    in.WordWrap = !g->EnhTextSize();
    in.ShadowColor = clGray;
    in.HoverColor = clNone;
    in.HoverFontColor = clNone;
    in.URLColor = g->URLColor();
    THTMLDrawOutput out;
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    DrawHTMLText(in, out);
    return w;
}

void TFooterPanel::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_HINTSHOW) {
        auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
        const int col = ColumnAt(info->CursorPos.X);
        QString hint;
        if (FGrid->OnGridHint && col >= 0)
            FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, col, hint);
        info->HintStr = hint;
        FLastHintX = ShowHint() && col >= 0 ? col : -1;
        Message.Result = ShowHint() ? 0 : 1;
        return;
    }
    TCustomPanel::WndProc(Message);
}

void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseMove(Shift, X, Y);
    const int col = ColumnAt(X);
    // Another column: the shown hint goes, so that the next one asks again.
    if (ShowHint() && FLastHintX >= 0 && col != FLastHintX) {
        if (Application)
            Application->CancelHint();
        FLastHintX = col;
    }
}

void TFooterPanel::MouseLeave()
{
    TCustomPanel::MouseLeave();
    FLastHintX = -1;
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    TExStringGrid* g = FGrid;
    if (g->OnClick)
        g->OnClick(g);
    // The column under the mouse as painted and hinted: scrolled columns
    // included.
    const int col = ColumnAt(X);
    if (col >= 0 && g->OnClickCell)
        g->OnClickCell(g, g->RowCount() - 1, col);
}

// ---------------------------------------------------------------------------
// Search panel

namespace {

TExGridButton* NewButton(TSearchPanel* Panel, const char* Glyph, const char* Disabled)
{
    auto* b = new TExGridButton(Panel);
    b->SetParent(Panel);
    TBitmap bmp;
    bmp.LoadFromResourceName(QString::fromLatin1(Glyph));
    b->SetGlyph(&bmp);
    if (Disabled) {
        bmp.LoadFromResourceName(QString::fromLatin1(Disabled));
        b->SetGlyphDisabled(&bmp);
    }
    return b;
}

} // namespace

TSearchPanel::TSearchPanel(TExStringGrid* AGrid)
    : TCustomPanel(AGrid)
    , FGrid(AGrid)
{
    SetBevelOuter(bvNone);
    SetShowCaption(false);
    SetParentBackground(false);

    FEdit = new TRetEdit(this);
    FEdit->SetParent(this);
    FEdit->SetWidth(110);
    FEdit->OnChange = [this](TObject*) { EditChange(); };
    FEdit->OnReturn = [this](TObject*) { Fire(OnForwardClick); };
    FEdit->OnCtrlReturn = [this](TObject*) { Fire(OnBackwardClick); };
    FEdit->OnKeyDown = [](TObject*, WORD&, TShiftState) {};

    FForwardButton = NewButton(this, "ESGARDOWN", "ESGARDOWND");
    FForwardButton->SetBounds(140, 5, 90, 23);
    FForwardButton->SetEnabled(false);
    FForwardButton->SetParentFont(true);
    FForwardButton->OnClick = [this](TObject*) { Fire(OnForwardClick); };

    FBackwardButton = NewButton(this, "ESGARUP", "ESGARUPD");
    FBackwardButton->SetBounds(235, 5, 90, 23);
    FBackwardButton->SetEnabled(false);
    FBackwardButton->SetParentFont(true);
    FBackwardButton->OnClick = [this](TObject*) { Fire(OnBackwardClick); };

    FExitButton = NewButton(this, "ESGCLOSE", nullptr);
    TBitmap bmp;
    bmp.LoadFromResourceName(QStringLiteral("ESGCLOSEH"));
    FExitButton->SetGlyphHot(&bmp);
    bmp.LoadFromResourceName(QStringLiteral("ESGCLOSED"));
    FExitButton->SetGlyphDown(&bmp);
    FExitButton->SetBounds(5, 7, 14, 14);
    FExitButton->SetShowCaption(false);
    FExitButton->OnClick = [this](TObject*) { Fire(OnExitClick); };

    FHiliteButton = NewButton(this, "ESGHI", "ESGHID");
    FHiliteButton->SetBounds(330, 5, 90, 23);
    FHiliteButton->SetStyle(TExGridButtonStyle::tasCheck);
    FHiliteButton->SetEnabled(false);
    FHiliteButton->OnClick = [this](TObject*) { Fire(OnHighlightClick); };

    FMatchCase = new TExCheckBox(this);
    FMatchCase->SetParent(this);
    FMatchCase->SetTransparent(true);
    FMatchCase->SetText(QString());
    LayoutControls();
}

void TSearchPanel::Fire(const TNotifyEvent& Event)
{
    if (Event)
        Event(this);
}

void TSearchPanel::SetColorTo(TColor Value)
{
    FColorTo = Value;
    Invalidate();
}

void TSearchPanel::LayoutControls()
{
    const bool rtl = FGrid->UseRightToLeftAlignment();
    auto place = [&](TControl* c, int left, int top) {
        c->SetBounds(rtl ? Width() - c->Width() - left : left, top, c->Width(), c->Height());
    };
    place(FEdit, 25, 6);
    place(FForwardButton, 140, 5);
    place(FBackwardButton, 235, 5);
    place(FExitButton, 5, 7);
    place(FHiliteButton, 330, 5);
    place(FMatchCase, FHiliteButton->Visible() ? 425 : 330, 8);
}

void TSearchPanel::ApplyTexts()
{
    auto hint = [](TControl* c, const QString& h) {
        c->SetHint(h);
        c->SetShowHint(!h.isEmpty());
    };
    FForwardButton->SetCaption(FindNextCaption);
    hint(FForwardButton, HintFindNext);
    FBackwardButton->SetCaption(FindPrevCaption);
    hint(FBackwardButton, HintFindPrev);
    hint(FExitButton, HintClose);
    FHiliteButton->SetCaption(HighLightCaption);
    hint(FHiliteButton, HintHighlight);
    FMatchCase->SetText(MatchCaseCaption);
}

void TSearchPanel::CreateWnd()
{
    TCustomPanel::CreateWnd();
    LayoutControls();
    if (FGrid->OnCreatedSearchFooter)
        FGrid->OnCreatedSearchFooter(FGrid);
}

void TSearchPanel::Resize()
{
    TCustomPanel::Resize();
    // Mirrored positions follow the panel's width.
    if (FGrid->UseRightToLeftAlignment())
        LayoutControls();
}

void TSearchPanel::WndProc(TMessage& Message)
{
    TCustomPanel::WndProc(Message);
    // The grid turning right-to-left mirrors the controls at once.
    if (Message.Msg == CM_BIDIMODECHANGED || Message.Msg == CM_PARENTBIDIMODECHANGED)
        LayoutControls();
}

void TSearchPanel::EditChange()
{
    const bool any = !FEdit->GetText().isEmpty();
    FForwardButton->SetEnabled(any);
    FBackwardButton->SetEnabled(any);
    FHiliteButton->SetEnabled(any);
    Fire(OnEditChange);
}

void TSearchPanel::Paint()
{
    TCustomPanel::Paint();
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    if (FColorTo == clNone)
        Fill(c, Color(), r);
    else
        DrawGradientBands(c, Color(), FColorTo, false, r, 32);
    Line(c, FGrid->GridLineColor(), r.Left, 0, r.Right, 0);
}

// ---------------------------------------------------------------------------
// Filter drop-down lists

void DropListCancelMode(TWinControl* List)
{
    const TPoint p = List->ScreenToClient(MouseCursorPos());
    const TRect r = List->ClientRect();
    if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom)
        return;
    if (auto* g = dynamic_cast<TExStringGrid*>(List->Parent()))
        g->FFilterCol = -1;
    List->SetVisible(false);
}

TDropList::TDropList(TComponent* AOwner)
    : TListBox(AOwner)
{
}

void TDropList::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_CANCELMODE && Visible())
        DropListCancelMode(this);
    TListBox::WndProc(Message);
}

void TDropList::Choose()
{
    SetVisible(false);
    if (OnSelect)
        OnSelect(this, ItemIndex());
}

void TDropList::KeyPress(char16_t& Key)
{
    TListBox::KeyPress(Key);
    if (Key == 13)
        Choose();
}

void TDropList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListBox::MouseUp(Button, Shift, X, Y);
    Choose();
}

TDropCheckList::TDropCheckList(TComponent* AOwner)
    : TCheckListBox(AOwner)
{
}

void TDropCheckList::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_CANCELMODE && Visible())
        DropListCancelMode(this);
    TCheckListBox::WndProc(Message);
}

void TDropCheckList::ClickCheck()
{
    TCheckListBox::ClickCheck();
    if (OnSelect)
        OnSelect(this, -1);
}

// ---------------------------------------------------------------------------
// Drag windows

TNoActiveForm::TNoActiveForm(TComponent* AOwner)
    : TTopLevelWindow<TCustomControl>(AOwner)
{
    SetVisible(false);
    SetEnabled(false);
}

void TNoActiveForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
        Message.Result = MA_NOACTIVATE;
        return;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
    case WM_ACTIVATEAPP:
        TTopLevelWindow<TCustomControl>::WndProc(Message);
        Message.Result = 0;
        return;
    default:
        TTopLevelWindow<TCustomControl>::WndProc(Message);
    }
}

void TNoActiveForm::Paint()
{
    TCanvas* c = Canvas();
    Fill(c, Color(), ClientRect());
    // The thin border of the pop-up.
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(ClientRect());
}

THeaderDragButton::THeaderDragButton(TComponent* AOwner)
    : TTopLevelWindow<TCustomControl>(AOwner)
{
    SetVisible(false);
    SetColor(clBtnFace);
}

void THeaderDragButton::SetCaption(const QString& Value)
{
    FCaption = Value;
    Invalidate();
}

void THeaderDragButton::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    Fill(c, Color(), r);
    if (Grid)
        Grid->PaintCellExt(c, 0, 0, r, TGridDrawState(gdFixed));
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    if (Grid)
        c->Font()->Assign(Grid->FixedFont());
    if (!FCaption.contains(QLatin1String("</"))) {
        TRect tr = r;
        DrawText(c, FCaption, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    } else {
        THTMLDrawInput in;
        in.Canvas = c;
        in.Text = FCaption;
        in.Rect = r;
        in.Images = Grid ? Grid->GetGridImageList() : nullptr;
        THTMLDrawOutput out;
        DrawHTMLText(in, out);
    }
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
}
