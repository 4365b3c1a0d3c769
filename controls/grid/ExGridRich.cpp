// The string grid's rich text: its two rich edits, the conversions between
// cell texts and rich edits, and the in-place editing steps the rich editor
// reaches.

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridUnit.h"
#include "controls/grid/ExRichEdit.h"
#include "platform/runtime/Classes.h"

namespace {

// Sets a flag for the length of a scope.
struct TFlagScope {
    bool& Flag;
    explicit TFlagScope(bool& flag)
        : Flag(flag)
    {
        Flag = true;
    }
    ~TFlagScope() { Flag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;
};

} // namespace

TExRichEdit* TExStringGrid::RichEdit()
{
    if (!FRichEdit) {
        auto* edit = new TExRichEdit(this);
        edit->SetVisible(false);
        edit->SetParent(this);
        edit->SetBounds(0, 0, 0, 0);
        edit->SetBorderStyle(bsNone);
        // Only a grid that has its window gives the converter one; a grid
        // that never shows needs none for converting.
        if (HandleAllocated())
            SetWindowTransparentStyle(edit);
        FRichEdit = edit;
    }
    return FRichEdit;
}

TExRichEdit* TExStringGrid::InplaceRichEdit()
{
    if (!FInplaceRichEdit) {
        auto* edit = new TExRichEdit(this);
        edit->SetVisible(false);
        edit->SetParent(this);
        edit->OnSelectionChange = [this](TObject*) {
            if (OnRichEditSelectionChange)
                OnRichEditSelectionChange(this);
        };
        FInplaceRichEdit = edit;
    }
    return FInplaceRichEdit;
}

void TExStringGrid::CellToRich(int ACol, int ARow, TRichEdit* ARichEdit)
{
    const QString s = GetCellEx(ACol, ARow);
    if (s.isEmpty())
        ARichEdit->Clear();
    else
        ARichEdit->LoadFromText(s);
}

QString TExStringGrid::RichToString(TRichEdit* ARichEdit)
{
    if (IsDestroying())
        return QString();
    TMemoryStream stream;
    ARichEdit->SaveToStream(&stream);
    return QString::fromLatin1(stream.Bytes());
}

void TExStringGrid::RichToCell(int ACol, int ARow, TRichEdit* ARichEdit)
{
    SetCellEx(ACol, ARow, RichToString(ARichEdit));
}

QString TExStringGrid::RichToPlainText(const QString& RichText)
{
    TExRichEdit* edit = RichEdit();
    edit->LoadFromText(RichText);
    return edit->GetText();
}

bool TExStringGrid::HideInplaceRichEdit()
{
    // Storing moves the focus, which reports back here.
    if (FStoringRichEdit)
        return true;
    if (!FInplaceRichEdit || !FInplaceRichEdit->Visible())
        return false;
    TFlagScope storing(FStoringRichEdit);
    // The store of the edit: value, hiding, and the end of the edit announced.
    EditControl = TEditorType::edRichEdit;
    if (EditorMode())
        HideEditor();
    StoreEditorValue(Col(), Row());
    FEditMode = false;
    return true;
}
