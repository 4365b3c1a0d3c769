// The string grid's default cell editor: the toolkit's in-place edit with the
// grid's character rules per editor kind, clipboard filtering, lookup
// completion, cursor walking and the validation of its text.
#pragma once

#include "platform/controls/Grids.h"

class TExStringGrid;

class TExInplaceEdit : public TInplaceEdit {
public:
    explicit TExInplaceEdit(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TExInplaceEdit"); }

    TExStringGrid* Grid() const { return FGrid; }

    // Loads the current cell: text, mask and limit, then the cell's colour,
    // font and alignment, and the application's editor properties.
    void LoadEditorText();
    // Places the window over the current cell (a merged area whole).
    void PlaceEditorText();

    // The window shows right-aligned text; setting it makes the window anew.
    bool VAlign() const { return FValign; }
    void SetVAlign(bool v);
    // Maximum text length; 0 or less: none.
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int v) { FLengthLimit = v; }
    // Lookup completion armed.
    bool Workmode = true;
    // The cell last loaded (display column, row).
    int ColE() const { return FColE; }
    int RowE() const { return FRowE; }

    void UpdateContents() override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateWnd() override;
    void UpdateEditRect() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DblClick() override;
    void DoEnter() override;
    void DoExit() override;
    void Change() override;

private:
    // The key-down message before the toolkit's key processing; false when
    // the key goes no further.
    bool KeyDownMessage(WORD& Key, TShiftState Shift);
    // The character filter by kind; answers a TCharStep.
    int FilterChar(char16_t& Key, LPARAM KeyData);
    // A full cell (MaxEditLength reached at the end) advances as Enter does.
    void CheckFullCell();
    void SendEnter();
    void DoLookup();
    void Paste();
    void SizeRowForText();
    // A refused value: the text as the validation left it, selected or with
    // the caret at CaretAt (-1: the end).
    void AfterRefusedValidation(int CaretAt);
    // Left at the start or Right at the end walks to the next cell; false
    // when the key was consumed.
    bool CursorWalk(WORD& Key);
    // Sets the text without OnEditChange.
    void SetTextQuietly(const QString& Value);

    int FSelKeyDown = 0;
    int FOldSelStart = 0;
    int FLengthLimit = 0;
    bool FValign = false;
    bool FGotFocus = false;
    TExStringGrid* FGrid = nullptr;
    int FColE = -1;
    int FRowE = -1;
    bool FAltBack = false;
    // The key-down message marked a move by Up or Down.
    bool FRowMoved = false;
    bool FSettingRect = false;
    // The window taking the focus while it is being lost.
    HWND FFocusTarget = 0;
};
