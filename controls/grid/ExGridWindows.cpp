#include "controls/grid/ExGridWindows.h"

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridUnit.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/ImageList.h"

namespace {

// Width the hint text is laid out in: 1024 less 16.
constexpr int HintMeasureWidth = 1008;
// Height added to the text.
constexpr int HintMarginY = 4;

bool IsWideHint(const QString& hint)
{
    return CellTextType(hint, true) == 5;
}

// Wide-encoded hints show in the font of the grid that last showed a cell
// hint; before any did, in the window's own.
void UseHintFont(TCanvas* c)
{
    if (!HintFontName().isEmpty())
        c->Font()->SetName(HintFontName());
}

// The edit and combo of a mark-up control: Return and Tab end the control's
// edit. True when the key was one of them.
bool CellControlKey(TWinControl* Control, char16_t& Key, const std::function<void()>& DoExit)
{
    auto* grid = dynamic_cast<TExStringGrid*>(Control->Parent());
    if (!grid || (Key != 13 && Key != 9))
        return false;
    if (Key == 13) {
        Key = 0;
        DoExit();
        grid->SetFocus();
        return true;
    }
    Key = 0;
    DoExit();
    if (grid->Navigation() && grid->Navigation()->AdvanceAuto())
        grid->AdvanceToNextCell(grid->Col(), grid->Row(), true, false, true, false, true);
    else
        grid->FocusNextCellControl(grid->Col(), grid->Row(), grid->FCtrlID);
    return true;
}

// Ends the edit of a fixed cell: the grid validates the text; refused, the
// grid moves to the cell and the editor stays; accepted, the text is stored
// and the editor hides.
template <class Editor> bool StopFixedCellEdit(Editor* E, TExStringGrid* Grid, int ACol, int ARow)
{
    if (!Grid) {
        E->Hide();
        return true;
    }
    QString text = E->Text();
    bool valid = true;
    if (Grid->OnCellValidate)
        Grid->OnCellValidate(Grid, ACol, ARow, text, valid);
    if (!valid) {
        // The grid's cursor counts shown columns; the editor keeps a real one.
        // A fixed cell is no target of the select-cell check: the cursor is
        // put there directly.
        Grid->FocusCell(Grid->DisplColIndex(ACol), ARow);
        if (E->CanFocus())
            E->SetFocus();
        return false;
    }
    if (Grid->OnEditingDone)
        Grid->OnEditingDone(Grid);
    Grid->SetCells(ACol, ARow, text);
    E->Hide();
    return true;
}

template <class Editor> void PlaceOnGrid(Editor* E, TComponent* AOwner, TExStringGrid*& Grid)
{
    E->SetVisible(false);
    Grid = dynamic_cast<TExStringGrid*>(AOwner);
    if (Grid)
        E->SetParent(Grid);
}

} // namespace

// ---------------------------------------------------------------------------
// THTMLHintWindow

THTMLHintWindow::THTMLHintWindow(TComponent* AOwner)
    : THintWindow(AOwner)
{
}

void THTMLHintWindow::SetText(const QString& v)
{
    THintWindow::SetText(v);
    Invalidate();
}

void THTMLHintWindow::ActivateHintData(TRect r, const QString& hint, TObject* AData)
{
    if (auto* grid = dynamic_cast<TExStringGrid*>(AData)) {
        FImages = grid->GridImages();
        FPictureContainer = grid->PictureContainer();
    } else {
        FImages = nullptr;
        FPictureContainer = nullptr;
    }
    THintWindow::ActivateHintData(r, hint, AData);
}

TSize THTMLHintWindow::MeasureHint(const QString& hint, const TRect& Bounds, QString* Decoded) const
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas* c = scratch.Canvas();
    c->SetFont(Font());
    if (IsWideHint(hint)) {
        UseHintFont(c);
        const QString wide = DecodeWideText(hint);
        if (Decoded)
            *Decoded = wide;
        TRect r = Bounds;
        DrawText(c, wide, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        return { r.Width(), r.Height() };
    }
    THTMLDrawInput in;
    in.Canvas = c;
    in.Text = hint;
    in.Rect = Bounds;
    in.Images = FImages;
    in.PictureContainer = FPictureContainer;
    in.CheckHeight = true;
    THTMLDrawOutput out;
    DrawHTMLText(in, out);
    return { out.XSize, out.YSize };
}

TRect THTMLHintWindow::CalcHintRect(int maxWidth, const QString& hint, TObject* AData)
{
    (void)AData;
    const TSize s = MeasureHint(hint, Rect(0, 0, maxWidth, 0), nullptr);
    return Rect(0, 0, s.cx, s.cy);
}

void THTMLHintWindow::ActivateHint(TRect r, const QString& hint)
{
    SetText(hint);
    r.Right = r.Left + HintMeasureWidth;
    const bool wide = IsWideHint(hint);
    QString decoded;
    const TSize s = MeasureHint(hint, r, wide ? &decoded : nullptr);
    // Room beside the text: mark-up needs more for its pictures and links.
    const int p = wide ? 8 : 16;
    if (wide)
        FWideCaption = decoded;
    FTextWidth = s.cx;
    FTextHeight = s.cy;
    r.Right = r.Left + FTextWidth + p;
    r.Bottom = r.Top + FTextHeight + HintMarginY;

    // Kept on the monitor nearest its top-left corner: shifted left and up to
    // end 2 pixels inside it, but never off its left or top edge.
    const TMonitor mon = Screen->MonitorFromPoint(TPoint(r.Left, r.Top));
    if (mon.Width() < r.Right - mon.Left()) {
        r.Left = mon.Left() + mon.Width() + r.Left - r.Right - 2;
        r.Left = std::max(r.Left, mon.Left());
        r.Right = r.Left + p + FTextWidth;
    }
    if (mon.Height() < r.Bottom - mon.Top()) {
        r.Bottom = mon.Top() + mon.Height() - 2;
        r.Top = r.Bottom - FTextHeight - HintMarginY;
        if (r.Top < mon.Top()) {
            r.Top = mon.Top();
            r.Bottom = r.Top + FTextHeight + HintMarginY;
        }
    }
    ShowTopMostNoActivate(r);
    Invalidate();
}

void THTMLHintWindow::Paint()
{
    TCanvas* c = Canvas();
    const TRect cr = ClientRect();
    c->Brush()->SetColor(Color());
    c->FillRect(cr);

    const int w = cr.Width();
    const int h = cr.Height();
    c->Pen()->SetColor(cl3DLight);
    c->MoveTo(0, h - 2);
    c->LineTo(0, 0);
    c->LineTo(w - 1, 0);
    c->Pen()->SetColor(cl3DDkShadow);
    c->MoveTo(0, h - 1);
    c->LineTo(w - 1, h - 1);
    c->LineTo(w - 1, -1);

    TRect tr = cr;
    tr.Left += 4;
    tr.Right -= 4;
    tr.Top = cr.Top + (cr.Height() - FTextHeight) / 2;
    tr.Bottom = tr.Top + FTextHeight + 8;
    c->Brush()->SetStyle(TBrushStyle::bsClear);

    if (IsWideHint(Text())) {
        UseHintFont(c);
        DrawText(c, FWideCaption, tr, DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    THTMLDrawInput in;
    in.Canvas = c;
    in.Text = Text();
    in.Rect = tr;
    in.Images = FImages;
    in.PictureContainer = FPictureContainer;
    // The renderer's colour arguments in its order: link, link hover
    // background, link hover text, shadow.
    in.URLColor = clGray;
    in.HoverColor = clNone;
    in.HoverFontColor = clNone;
    in.ShadowColor = clBlue;
    THTMLDrawOutput out;
    DrawHTMLText(in, out);
}

// ---------------------------------------------------------------------------
// Fixed-cell editors

TGridTransEdit::TGridTransEdit(TComponent* AOwner)
    : TEdit(AOwner)
{
    SetBorderStyle(bsNone);
    PlaceOnGrid(this, AOwner, FGrid);
}

bool TGridTransEdit::StopEdit()
{
    return StopFixedCellEdit(this, FGrid, FCol, FRow);
}

void TGridTransEdit::KeyPress(char16_t& Key)
{
    if (Key == 13)
        Key = 0;
    TEdit::KeyPress(Key);
}

void TGridTransEdit::DoExit()
{
    TEdit::DoExit();
    if (Visible())
        StopEdit();
}

TGridTransCombo::TGridTransCombo(TComponent* AOwner)
    : TComboBox(AOwner)
{
    PlaceOnGrid(this, AOwner, FGrid);
}

bool TGridTransCombo::StopEdit()
{
    return StopFixedCellEdit(this, FGrid, FCol, FRow);
}

void TGridTransCombo::KeyPress(char16_t& Key)
{
    if (Key == 13)
        Key = 0;
    TComboBox::KeyPress(Key);
}

void TGridTransCombo::DoExit()
{
    TComboBox::DoExit();
    if (Visible())
        StopEdit();
}

// ---------------------------------------------------------------------------
// Mark-up control editors

TControlEdit::TControlEdit(TComponent* AOwner)
    : TMaskEdit(AOwner)
{
    SetVisible(false);
}

void TControlEdit::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_WANTSPECIALKEY) {
        if (Message.WParam == VK_RETURN) {
            Message.Result = 0;
            return;
        }
        if (Message.WParam == VK_TAB) {
            Message.Result = 1;
            return;
        }
    }
    TMaskEdit::WndProc(Message);
}

void TControlEdit::KeyPress(char16_t& Key)
{
    if (CellControlKey(this, Key, [this] { DoExit(); }))
        return;
    TMaskEdit::KeyPress(Key);
}

TControlCombo::TControlCombo(TComponent* AOwner)
    : TComboBox(AOwner)
{
    SetVisible(false);
}

void TControlCombo::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_WANTSPECIALKEY && Message.WParam == VK_TAB) {
        Message.Result = 1;
        return;
    }
    TComboBox::WndProc(Message);
}

void TControlCombo::KeyPress(char16_t& Key)
{
    if (CellControlKey(this, Key, [this] { DoExit(); }))
        return;
    TComboBox::KeyPress(Key);
}

// ---------------------------------------------------------------------------
// TRetEdit

TRetEdit::TRetEdit(TComponent* AOwner)
    : TEdit(AOwner)
{
}

void TRetEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        // As a multi-line edit it takes Return from the form.
        TEdit::WndProc(Message);
        Message.Result |= DLGC_WANTALLKEYS;
        return;
    case WM_KEYDOWN:
        if (Message.WParam == VK_RETURN) {
            if (KeyDataToShiftState(Message.LParam).testFlag(ssCtrl)) {
                if (OnCtrlReturn)
                    OnCtrlReturn(this);
            } else if (OnReturn) {
                OnReturn(this);
            }
            return;
        }
        break;
    case WM_CHAR:
        if (Message.WParam == 13 || Message.WParam == 10) {
            if (OnKeyPress) {
                char16_t key = static_cast<char16_t>(Message.WParam);
                OnKeyPress(this, key);
            }
            Message.WParam = 0;
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TEdit::WndProc(Message);
}
