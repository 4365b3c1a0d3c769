#pragma once
// The platform's rich edit bound to a string grid. The grid
// keeps two, made on first use: RichEdit, hidden, which converts between a
// cell's RTF text and formatted text and measures it, and InplaceRichEdit,
// the in-place editor of rich-text cells. This adds superscript and subscript
// of the selection, Tab and the vertical arrows handed to the grid, the end
// of the edit when the focus goes back to the grid, and the edited row
// growing while typing (SizeWhileTyping's Height).

#include "platform/controls/RichEdit.h"

class TExStringGrid;

class TExRichEdit : public TRichEdit {
public:
    // The owner must be a string grid (EInvalidCast otherwise).
    explicit TExRichEdit(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TExRichEdit"); }

    TExStringGrid* Grid() const { return FGrid; }

    // Makes the window again with the control's settings.
    void ReCreate();

    // The vertical offset of the selected characters: 0, +40 or -40 twips
    // (nothing else of their look changes), and whether the selection has it.
    void SelNormal() { SetSelOffset(0); }
    void SelSuperscript() { SetSelOffset(40); }
    void SelSubscript() { SetSelOffset(-40); }
    bool IsSelNormal() const { return SelOffset() == 0; }
    bool IsSelSuperscript() const { return SelOffset() == 40; }
    bool IsSelSubscript() const { return SelOffset() == -40; }

    // While locked (the grid loads the cell's text), size requests do not
    // grow the row.
    void MarkLocked() { FLocked = true; }
    void MarkUnlocked() { FLocked = false; }
    bool Locked() const { return FLocked; }

    // The size the grid's hidden rich edit last asked for to show its whole
    // content.
    int ReqHeight() const { return FReqHeight; }
    int ReqWidth() const { return FReqWidth; }

    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void RequestResize(const TRect& Rect) override;

private:
    TExStringGrid* FGrid = nullptr;
    int FReqHeight = 0;
    int FReqWidth = 0;
    bool FLocked = false;
};
