#include "controls/grid/ExInplaceEdit.h"

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/Messages.h"
#include "platform/controls/Services.h"
#include "platform/runtime/SysUtils.h"

namespace {

// The key-data bit the toolkit sets for the keypad's decimal key.
bool IsKeypadDecimal(LPARAM KeyData)
{
    return (KeyData & KF_KEYDATA_KEYPAD_DECIMAL) == KF_KEYDATA_KEYPAD_DECIMAL;
}

// Kinds whose Enter makes a line break while LineFeedOnEnter is on.
bool TakesLineFeed(TEditorType Kind)
{
    switch (Kind) {
    case TEditorType::edNormal:
    case TEditorType::edCapital:
    case TEditorType::edMixedCase:
    case TEditorType::edLowerCase:
    case TEditorType::edUpperCase:
    case TEditorType::edValidChars:
        return true;
    default:
        return false;
    }
}

// The outcome of the character filter.
enum class TCharStep {
    Pass, // to the edit, then the full-cell check
    Refused, // dropped, the full-cell check still runs
    Ended, // dropped, nothing further
};

} // namespace

TExInplaceEdit::TExInplaceEdit(TComponent* AOwner)
    : TInplaceEdit(AOwner)
    , FGrid(dynamic_cast<TExStringGrid*>(AOwner))
{
}

// ---------------------------------------------------------------------------
// Loading and placing

void TExInplaceEdit::CreateWnd()
{
    Workmode = true;
    TInplaceEdit::CreateWnd();
    if (FGrid)
        FLengthLimit = FGrid->GetEditLimit();
}

void TExInplaceEdit::UpdateContents()
{
    LoadEditorText();
}

void TExInplaceEdit::LoadEditorText()
{
    if (!FGrid) {
        TInplaceEdit::UpdateContents();
        return;
    }
    // The kind decides the window's style before the text goes in.
    SetPasswordChar(FGrid->EditControl == TEditorType::edPassword ? FGrid->PasswordChar() : char16_t(0));
    SetWordWrap(FGrid->WordWrap());
    FGrid->FNoEditChange = true;
    try {
        TInplaceEdit::UpdateContents();
    } catch (...) {
        FGrid->FNoEditChange = false;
        throw;
    }
    FGrid->FNoEditChange = false;
    const int col = FGrid->Col(), row = FGrid->Row();
    const TAlignment align = FGrid->EditorVisuals(col, row);
    SetColor(FGrid->Canvas()->Brush()->Color());
    Font()->Assign(FGrid->Canvas()->Font());
    SetAlignment(FValign ? taRightJustify : align);
    FColE = col;
    FRowE = row;
    FLengthLimit = FGrid->GetEditLimit();
    FGrid->DoGetEditorProp(FGrid->RealColIndex(col), row, nullptr);
    SelectAll();
}

void TExInplaceEdit::PlaceEditorText()
{
    if (!FGrid)
        return;
    const TRect r = FGrid->EditorRect();
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    UpdateEditRect();
}

void TExInplaceEdit::UpdateEditRect()
{
    if (FSettingRect) {
        TInplaceEdit::UpdateEditRect();
        return;
    }
    // The text sits where the grid draws it in the cell.
    FSettingRect = true;
    SetEditRect(TRect(3, 3, Width() - 2, Height()));
    FSettingRect = false;
}

void TExInplaceEdit::SetVAlign(bool v)
{
    if (FValign == v)
        return;
    FValign = v;
    if (v)
        SetAlignment(taRightJustify);
    RecreateWnd();
}

// ---------------------------------------------------------------------------
// Focus

void TExInplaceEdit::DoEnter()
{
    TInplaceEdit::DoEnter();
    if (!FGrid)
        return;
    FGotFocus = true;
    FGrid->FNoEditChange = false;
    FLengthLimit = FGrid->GetEditLimit();
    SetMaxLength(FLengthLimit);
    TNavigation* nav = FGrid->Navigation();
    if (IsMasked() && !FGrid->LButFlg && nav->ImproveMaskSel) {
        SetSelStart(0);
        SetSelLength(1);
        return;
    }
    if (!nav->EditSelectAll)
        SetSelStart(int(GetText().size()));
    if (FGrid->LButFlg) {
        const TPoint p = ScreenToClient(MouseCursorPos());
        if (p.X >= 0 && p.X <= Width() && p.Y >= 0 && p.Y <= Height()) {
            const int at = CharFromPos(p);
            if (at >= 0) {
                SetSelStart(at);
                SetSelLength(0);
                FGrid->LButFlg = false;
            }
        }
    }
}

void TExInplaceEdit::DoExit()
{
    if (!FGrid) {
        TInplaceEdit::DoExit();
        return;
    }
    TExStringGrid* g = FGrid;
    g->FStartEditChar = 0;
    const QString text = GetText();
    if (g->Lookup() && g->LookupHistory() && g->LookupItems()->IndexOf(text) < 0)
        g->LookupItems()->Add(text);
    TInplaceEdit::DoExit();
    if (FAltBack)
        return;
    const bool toGrid = FFocusTarget != 0 && g->HandleAllocated() && FFocusTarget == g->Handle();
    if (!toGrid && g->EditorMode()) {
        g->ValidateCell(text);
        SetTextQuietly(g->Cells(g->RealColIndex(g->Col()), g->Row()));
        g->HideEditor();
        g->FEditing = false;
        g->FEditMode = false;
        g->HandleSelectCell(FColE, FRowE);
    }
    if (FRowE >= 0 && FRowE < g->RowCount() && FColE >= 0 && FColE < g->ColCount())
        SetTextQuietly(g->Cells(g->RealColIndex(g->Col()), g->Row()));
    g->EditorTextChanged(GetText(), -1);
    if (FGotFocus) {
        FGotFocus = false;
        g->NotifyEditingDone(g->RealColIndex(FColE), FRowE);
    }
}

void TExInplaceEdit::SetTextQuietly(const QString& Value)
{
    if (GetText() == Value)
        return;
    const bool saved = FGrid->FNoEditChange;
    FGrid->FNoEditChange = true;
    SetText(Value);
    FGrid->FNoEditChange = saved;
}

// ---------------------------------------------------------------------------
// Keys

void TExInplaceEdit::AfterRefusedValidation(int CaretAt)
{
    SetText(FGrid->FNewCellText);
    if (FGrid->Navigation()->EditSelectAll)
        SelectAll();
    else
        SetSelStart(CaretAt < 0 ? int(GetText().size()) : CaretAt);
}

bool TExInplaceEdit::KeyDownMessage(WORD& Key, TShiftState Shift)
{
    TExStringGrid* g = FGrid;
    TNavigation* nav = g->Navigation();
    FOldSelStart = CaretPos();
    FRowMoved = false;
    const bool ctrl = Shift.testFlag(ssCtrl);
    const bool shift = Shift.testFlag(ssShift);
    const bool multiLine = g->WordWrap() || g->Multilinecells();

    if (Key == VK_ESCAPE) {
        SetText(g->OriginalCellValue());
        g->HideInplaceEdit();
    }
    if (ctrl && Key == 'A' && !Shift.testFlag(ssAlt)) {
        SelectAll();
        Key = 0;
        return false;
    }
    if (ctrl && Key == VK_RETURN && !(nav->AllowCtrlEnter && multiLine)) {
        Key = 0;
        return false;
    }
    const QString text = GetText();
    const QString savedOld = g->FOldCellText;
    const auto refused = [&](int CaretAt) {
        AfterRefusedValidation(CaretAt);
        g->FOldCellText = savedOld;
        Key = 0;
        return false;
    };
    const auto validateWritten = [&]() {
        {
            const bool saved = g->FValidating;
            g->FValidating = true;
            g->HandleSetEditText(g->Col(), g->Row(), text);
            g->FValidating = saved;
        }
        return g->ValidateCell(text);
    };

    if (Key == VK_TAB && g->EditorWantsTab()) {
        if (g->ValidateCell(text)) {
            SetTextQuietly(g->FNewCellText);
            g->HideInplaceEdit();
            if (g->Options().testFlag(goTabs))
                g->AdvanceOnTab(shift);
            else
                PostMessage(g, WM_KEYDOWN, VK_TAB, 0);
            Key = 0;
            return false;
        }
        return refused(-1);
    }
    const int len = int(text.size());
    if (nav->CursorWalkEditor && shift && !ctrl
        && ((Key == VK_LEFT && CaretPos() == 0) || (Key == VK_RIGHT && CaretPos() == len))) {
        if (validateWritten()) {
            SetTextQuietly(g->FNewCellText);
            g->HideInplaceEdit();
            if (g->CanFocus())
                g->SetFocus();
            Key = 0;
            return false;
        }
        Invalidate();
        return refused(len);
    }
    if ((Key == VK_UP && CaretLine() == 0) || (Key == VK_DOWN && CaretLine() >= LineCount() - 1)) {
        if (!validateWritten())
            return refused(len);
        SetTextQuietly(g->FNewCellText);
        FRowMoved = true;
    }
    if (Key == VK_RETURN && !ctrl && !nav->LineFeedOnEnter) {
        if (!g->ValidateCell(text))
            return refused(-1);
        SetTextQuietly(g->FNewCellText);
    }
    if (!ctrl && !shift && Key == VK_HOME)
        SetSelStart(0);
    if (!ctrl && !shift && Key == VK_END)
        SetSelStart(int(GetText().size()));
    if (ctrl && Key == VK_RETURN && nav->LineFeedOnEnter) {
        char16_t enter = 13;
        TInplaceEdit::KeyPress(enter);
        Key = 0;
        return false;
    }
    return true;
}

void TExInplaceEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    if (!FGrid) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    TExStringGrid* g = FGrid;
    FSelKeyDown = CaretPos();
    if (Key == VK_BACK || Key == VK_DELETE)
        Workmode = false;
    // Inside a text of several lines the arrows move the caret only.
    if ((Key == VK_UP && CaretLine() > 0) || (Key == VK_DOWN && CaretLine() < LineCount() - 1))
        return;
    if (Key == VK_RETURN) {
        const bool multiLine = g->WordWrap() || g->Multilinecells();
        if (!g->Navigation()->AllowCtrlEnter && multiLine)
            g->FEditing = false;
        if ((Shift.testFlag(ssShift) || Shift.testFlag(ssCtrl)) && g->SizeWhileTyping()->Height && g->Multilinecells())
            SizeRowForText();
    }
    if (Key != VK_BACK && Key != VK_DELETE && Key != VK_UP && Key != VK_DOWN && Key != VK_RETURN)
        Workmode = true;
    g->EditorKeyNotify(Key, Shift);
    TInplaceEdit::KeyDown(Key, Shift);
}

void TExInplaceEdit::SizeRowForText()
{
    TExStringGrid* g = FGrid;
    const bool synch = g->ColumnSize()->SynchWithGrid;
    g->ColumnSize()->SynchWithGrid = false;
    const int lines = CountLines(GetText() + QStringLiteral("\r\n "), true);
    if (lines < g->MaxRowLineCount(g->Row()))
        g->AutoSizeRow(g->Row(), 0);
    else
        g->SetRowHeightForLines(g->Row(), lines, g->VerticalTextMargin());
    g->ColumnSize()->SynchWithGrid = synch;
    if (g->OnEndRowSize)
        g->OnEndRowSize(g, g->Row());
}

int TExInplaceEdit::FilterChar(char16_t& Key, LPARAM KeyData)
{
    TExStringGrid* g = FGrid;
    TNavigation* nav = g->Navigation();
    const TFormatSettings& fs = FormatSettings;
    const QChar decimal = fs.DecimalSeparator;
    const bool ctrl = CurrentShiftState().testFlag(ssCtrl);
    const bool multiLine = g->WordWrap() || g->Multilinecells();
    const QString text = GetText();
    const TEditorType kind = g->EditControl;

    if (Key == u'.' && IsKeypadDecimal(KeyData) && g->ExcelStyleDecimalSeparator())
        Key = decimal.unicode();
    if (Key == 1 && ctrl)
        return int(TCharStep::Ended);
    if (Key == 10 && ctrl && !(nav->AllowCtrlEnter && multiLine))
        return int(TCharStep::Ended);
    if (FLengthLimit > 0 && text.size() >= FLengthLimit && SelLength() == 0 && Key != 8 && Key != 27 && Key != 13)
        return int(TCharStep::Ended);
    if (Key == 13 && nav->LineFeedOnEnter && TakesLineFeed(kind)) {
        SetSelText(QStringLiteral("\r\n"));
        Key = 0;
        return int(TCharStep::Ended);
    }

    const auto beep = [&] {
        Beep();
        Key = 0;
        return int(TCharStep::Refused);
    };
    const bool control = Key == 8 || Key == 9 || Key == 13 || Key == 27;
    const bool digit = Key >= u'0' && Key <= u'9';
    switch (kind) {
    case TEditorType::edNormal:
    case TEditorType::edPassword:
        break;
    case TEditorType::edNumeric:
        if (Key == u'-') {
            if (SelStart() != 0 || text.contains(QLatin1Char('-')))
                return beep();
        } else if (!control && !digit) {
            return beep();
        }
        break;
    case TEditorType::edPositiveNumeric:
        if (!control && !digit)
            return beep();
        break;
    case TEditorType::edFloat:
    case TEditorType::edPositiveFloat: {
        const QString sel = SelText();
        const bool minusAllowed = kind == TEditorType::edFloat;
        if (QChar(Key) == decimal) {
            if (text.contains(decimal) && !sel.contains(decimal)) {
                Key = 0;
                return int(TCharStep::Ended);
            }
        } else if (QChar(Key) == fs.ThousandSeparator) {
            Key = 0;
            return int(TCharStep::Ended);
        } else if (Key == u'-' && minusAllowed) {
            if ((SelStart() != 0 || text.contains(QLatin1Char('-'))) && !sel.contains(QLatin1Char('-'))) {
                Beep();
                Key = 0;
                return int(TCharStep::Ended);
            }
        } else if (!control && !digit && Key != u',' && Key != u'.') {
            // Ctrl shortcuts keep working; anything else is dropped quietly.
            if (!ctrl) {
                Key = 0;
                return int(TCharStep::Refused);
            }
        }
        break;
    }
    case TEditorType::edCapital:
    case TEditorType::edUpperCase:
        Key = QChar(Key).toUpper().unicode();
        break;
    case TEditorType::edLowerCase:
        Key = QChar(Key).toLower().unicode();
        break;
    case TEditorType::edMixedCase:
        if (Key >= 32) {
            const int at = SelStart();
            SetSelText(QString(QChar(Key)));
            SetText(CapitalizeName(GetText()));
            SetSelStart(at + 1);
            Key = 0;
        }
        break;
    case TEditorType::edValidChars:
        if (Key != 8 && Key != 13) {
            const QString& valid = g->ValidChars();
            const bool ok = valid.isEmpty() ? (Key <= 255 && g->ValidCharSet.test(Key)) : valid.contains(QChar(Key));
            if (!ok)
                return beep();
        }
        break;
    default:
        Key = 0;
        return int(TCharStep::Refused);
    }
    return int(Key == 0 ? TCharStep::Refused : TCharStep::Pass);
}

void TExInplaceEdit::CheckFullCell()
{
    TExStringGrid* g = FGrid;
    TNavigation* nav = g->Navigation();
    const int limit = g->MaxEditLength();
    const QString text = GetText();
    if (nav->AdvanceAuto() && nav->AdvanceOnEnter && limit > 0 && text.size() == limit && SelLength() == 0
        && CaretPos() == limit)
        SendEnter();
}

void TExInplaceEdit::SendEnter()
{
    // As the user's Enter: validated at its key-down, then the grid advances.
    PostMessage(this, WM_KEYDOWN, VK_RETURN, 0);
    PostMessage(this, WM_CHAR, 13, 0);
}

void TExInplaceEdit::KeyPress(char16_t& Key)
{
    if (!FGrid) {
        TInplaceEdit::KeyPress(Key);
        return;
    }
    TInplaceEdit::KeyPress(Key);
}

void TExInplaceEdit::KeyUp(WORD& Key, TShiftState Shift)
{
    if (!FGrid) {
        TInplaceEdit::KeyUp(Key, Shift);
        return;
    }
    TExStringGrid* g = FGrid;
    TNavigation* nav = g->Navigation();
    if ((Key == VK_LEFT || Key == VK_RIGHT) && nav->CursorWalkEditor && Shift == TShiftState()) {
        if (!CursorWalk(Key))
            return;
    }
    if (Key != 0)
        TInplaceEdit::KeyUp(Key, Shift);
    DoLookup();
    if (!EditorVisible())
        return;
    if (g->SizeWhileTyping()->Width)
        g->AutoSizeCol(g->Col(), 0);
    if (g->SizeWhileTyping()->Height && g->WordWrap()) {
        const bool synch = g->ColumnSize()->SynchWithGrid;
        g->ColumnSize()->SynchWithGrid = false;
        g->AutoSizeRow(g->Row(), 0);
        g->ColumnSize()->SynchWithGrid = synch;
        if (g->OnEndRowSize)
            g->OnEndRowSize(g, g->Row());
    }
    if (CaretPos() > 0)
        g->EditorTextChanged(GetText(), CaretPos());
}

bool TExInplaceEdit::CursorWalk(WORD& Key)
{
    TExStringGrid* g = FGrid;
    TNavigation* nav = g->Navigation();
    const QString text = GetText();
    const auto hasControl
        = [g](int dc) { return dc >= 0 && dc < g->ColCount() && g->HasCellControl(g->RealColIndex(dc), g->Row()); };
    const auto walk = [&](bool Forward) {
        const TAdvanceDirection dir = nav->AdvanceDirection();
        nav->SetAdvanceDirection(TAdvanceDirection::adLeftRight);
        g->AdvanceToNextCell(g->Col(), g->Row(), true, true, Forward, false, true);
        nav->SetAdvanceDirection(dir);
        if (nav->CursorWalkAlwaysEdit) {
            Key = VK_RETURN;
        } else {
            g->HideInplaceEdit();
            Key = 0;
        }
    };
    if (Key == VK_LEFT) {
        if (SelLength() != 0 || FSelKeyDown != 0 || CaretPos() != 0)
            return false;
        Key = 0;
        if (g->Col() > g->FixedCols() && hasControl(g->Col() - 1)) {
            if (g->ValidateCell(text)) {
                g->HideInplaceEdit();
                g->SetCol(g->Col() - 1);
            }
            return false;
        }
        if (g->ValidateCell(text))
            g->HideInplaceEdit();
        walk(false);
    } else {
        if (SelLength() != 0 || FOldSelStart != int(text.size()))
            return false;
        Key = 0;
        const int n = g->CellSpan(g->RealCol(), g->Row()).X + 1;
        if (g->Col() < g->ColCount() - 1 - g->FixedRightCols() && hasControl(g->Col() + n)) {
            if (g->ValidateCell(text)) {
                g->HideInplaceEdit();
                g->SetCol(g->Col() + n);
            }
            return false;
        }
        walk(true);
    }
    return Key != 0;
}

void TExInplaceEdit::DoLookup()
{
    TExStringGrid* g = FGrid;
    if (!Workmode || SelLength() != 0 || !g->Lookup() || g->LookupItems()->Count() == 0)
        return;
    const QString text = GetText();
    const int caret = CaretPos();
    QString typed = text.left(caret);
    if (typed.isEmpty())
        return;
    const bool cs = g->LookupCaseSensitive();
    if (!cs)
        typed = typed.toUpper();
    TStringList* items = g->LookupItems();
    for (int i = 0; i < items->Count(); ++i) {
        const QString item = items->Strings(i);
        const QString cmp = cs ? item : item.toUpper();
        if (!cmp.startsWith(typed))
            continue;
        const QString tail = item.mid(typed.size(), 255);
        SetText(text.left(typed.size()) + tail);
        SetSelStart(int(typed.size()));
        SetSelLength(int(tail.size()));
        return;
    }
}

// ---------------------------------------------------------------------------
// Clipboard

void TExInplaceEdit::Paste()
{
    TExStringGrid* g = FGrid;
    TClipboard* cb = Clipboard();
    bool allow = cb->HasFormat(CF_TEXT);
    QString value = allow ? cb->AsText() : QString();
    if (g->OnClipboardPaste)
        g->OnClipboardPaste(this, allow);
    if (g->OnClipboardBeforePasteCell)
        g->OnClipboardBeforePasteCell(this, g->Col(), g->Row(), value, allow);
    if (!allow)
        return;
    // A line break that only ends the text is no part of the value.
    const int crlf = value.indexOf(QLatin1String("\r\n"));
    if (crlf >= 0 && crlf == value.size() - 2)
        value.chop(2);
    if (FLengthLimit > 0 && value.size() > FLengthLimit)
        return;
    const QString text = GetText();
    const int selStart = SelStart();
    const int selLength = SelLength();
    const QString newText = text.left(selStart) + value + text.mid(selStart + selLength);
    if (FLengthLimit > 0 && newText.size() > FLengthLimit)
        return;
    bool take = true;
    QString taken = newText;
    const int cls = ClassifyCellNumber(newText);
    switch (g->EditControl) {
    case TEditorType::edNumeric:
        take = cls == 0;
        break;
    case TEditorType::edPositiveNumeric:
        take = cls == 0 && !newText.contains(QLatin1Char('-'));
        break;
    case TEditorType::edFloat:
        take = cls == 0 || cls == 1;
        break;
    case TEditorType::edPositiveFloat:
        take = (cls == 0 || cls == 1) && !newText.contains(QLatin1Char('-'));
        break;
    case TEditorType::edValidChars:
        for (QChar c : newText)
            if (!g->ValidChars().contains(c))
                take = false;
        break;
    case TEditorType::edMixedCase:
        taken = CapitalizeName(newText);
        break;
    case TEditorType::edLowerCase:
        taken = newText.toLower();
        break;
    case TEditorType::edUpperCase:
        taken = newText.toUpper();
        break;
    default:
        break;
    }
    if (take && taken != text)
        SetText(taken);
    g->HandleSetEditText(g->Col(), g->Row(), GetText());
    if (selLength > 0) {
        SetSelStart(selStart);
        SetSelLength(int(value.size()));
    } else {
        SetSelStart(std::min(int(GetText().size()), selStart + int(value.size())));
        SetSelLength(0);
    }
    if (g->OnClipboardAfterPasteCell)
        g->OnClipboardAfterPasteCell(this, g->Col(), g->Row(), GetText());
}

// ---------------------------------------------------------------------------
// Window procedure

void TExInplaceEdit::WndProc(TMessage& Message)
{
    if (!FGrid) {
        TInplaceEdit::WndProc(Message);
        return;
    }
    TExStringGrid* g = FGrid;
    switch (Message.Msg) {
    case WM_KEYDOWN: {
        g->EditorMessageNotify(Message);
        auto key = static_cast<WORD>(Message.WParam);
        if (!KeyDownMessage(key, CurrentShiftState())) {
            Message.WParam = 0;
            return;
        }
        Message.WParam = key;
        TInplaceEdit::WndProc(Message);
        if (FRowMoved && g->MouseActions()->DisjunctRowSelect()) {
            g->ClearRowSelect();
            g->SetRowSelect(g->Row(), true);
        }
        return;
    }
    case WM_SYSKEYDOWN:
        if (Message.WParam == VK_BACK)
            FAltBack = true;
        break;
    case WM_SYSKEYUP:
        if (Message.WParam == VK_BACK)
            FAltBack = false;
        break;
    case WM_CHAR: {
        auto key = static_cast<char16_t>(Message.WParam);
        const auto step = TCharStep(FilterChar(key, Message.LParam));
        if (step == TCharStep::Pass) {
            Message.WParam = key;
            TInplaceEdit::WndProc(Message);
            const auto out = static_cast<char16_t>(Message.WParam);
            // Typed here so that the full-cell check sees the new text.
            if (out >= 32 && EditorVisible()) {
                SetSelText(QString(QChar(out)));
                Message.WParam = 0;
            } else if (out == 10 && EditorVisible()) {
                SetSelText(QStringLiteral("\r\n"));
                Message.WParam = 0;
            }
        } else {
            Message.WParam = 0;
        }
        if (step != TCharStep::Ended && EditorVisible())
            CheckFullCell();
        return;
    }
    case WM_PASTE:
        if (EditCanModify())
            Paste();
        return;
    case WM_COPY:
    case WM_CUT: {
        bool allow = true;
        const auto& handler = Message.Msg == WM_COPY ? g->OnClipboardCopy : g->OnClipboardCut;
        if (handler)
            handler(this, allow);
        if (!allow)
            return;
        break;
    }
    case WM_KILLFOCUS:
        FFocusTarget = HWND(Message.WParam);
        TInplaceEdit::WndProc(Message);
        FFocusTarget = 0;
        return;
    case WM_GETDLGCODE:
        TInplaceEdit::WndProc(Message);
        if (g->EditorWantsTab())
            Message.Result |= DLGC_WANTTAB;
        return;
    default:
        break;
    }
    TInplaceEdit::WndProc(Message);
}

void TExInplaceEdit::DblClick()
{
    TInplaceEdit::DblClick();
    if (FGrid && FGrid->OnDblClickCell)
        FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}

void TExInplaceEdit::Change()
{
    TInplaceEdit::Change();
    if (FGrid && !FGrid->FNoEditChange && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), GetText());
}
