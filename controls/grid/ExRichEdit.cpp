#include "controls/grid/ExRichEdit.h"

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/runtime/Exceptions.h"

namespace {

TExStringGrid* GridOwner(TComponent* AOwner)
{
    auto* grid = dynamic_cast<TExStringGrid*>(AOwner);
    if (!grid)
        throw EInvalidCast(QStringLiteral("A grid rich edit must be owned by a string grid"));
    return grid;
}

} // namespace

TExRichEdit::TExRichEdit(TComponent* AOwner)
    : TRichEdit(AOwner)
    , FGrid(GridOwner(AOwner))
{
}

void TExRichEdit::ReCreate()
{
    if (HandleAllocated())
        CreateWnd();
}

void TExRichEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        TRichEdit::WndProc(Message);
        Message.Result |= DLGC_WANTTAB;
        return;
    case WM_KILLFOCUS:
        // While the grid moves the focus itself it ends nothing; the
        // inherited handling runs in every case.
        if (!FGrid->InvokedFocusChange && Message.WParam != 0 && FGrid->HandleAllocated()
            && HWND(Message.WParam) == FGrid->Handle())
            FGrid->HideInplaceEdit();
        TRichEdit::WndProc(Message);
        return;
    default:
        TRichEdit::WndProc(Message);
        return;
    }
}

void TExRichEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    TRichEdit::KeyDown(Key, Shift);
    // The key goes to the grid, which moves its cursor; the editor, which
    // has lost the focus by then, does not take it as well.
    if (Key == VK_TAB) {
        if (FGrid->Options().testFlag(goTabs)) {
            FGrid->SetFocus();
            WORD key = Key;
            FGrid->KeyDownFromEditor(key, Shift);
            FGrid->ShowInplaceEdit();
            Key = 0;
        }
    } else if (Key == VK_UP || Key == VK_DOWN) {
        if (!FGrid->WordWrap() && !FGrid->Multilinecells()) {
            FGrid->SetFocus();
            WORD key = Key;
            FGrid->KeyDownFromEditor(key, Shift);
            Key = 0;
        }
    }
}

void TExRichEdit::RequestResize(const TRect& Rect)
{
    if (!IsDesigning()) {
        // The hidden rich edit measures: it asks for its whole content.
        if (FGrid->FRichEdit == this) {
            FReqWidth = Rect.Width();
            FReqHeight = Rect.Height();
        }
        // The in-place editor grows the edited row while the user types,
        // never past the grid's bottom.
        if (FGrid->FInplaceRichEdit == this && FGrid->SizeWhileTyping()->Height && !FLocked) {
            const int h = Rect.Height();
            const int row = FGrid->Row();
            if (FGrid->RowHeights(row) < h + 5 && FGrid->CellRect(FGrid->Col(), row).Top + h + 5 < FGrid->Height()) {
                SetHeight(h + 9);
                FGrid->SetRowHeights(row, h + 10);
                if (FGrid->OnEndRowSize)
                    FGrid->OnEndRowSize(FGrid, row);
            }
        }
    }
    TRichEdit::RequestResize(Rect);
}
