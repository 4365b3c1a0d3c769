// The in-place editor and the grid's side of editing: showing, loading,
// placing and hiding the editor, and taking its text.
#include "platform/controls/Grids.h"

#include "platform/controls/EditWidgets.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

using controls_private::PlainToToolkit;
using controls_private::ToolkitToPlain;
using controls_private::ToPlainBreaks;

// ---------------------------------------------------------------------------
// TInplaceEdit

TInplaceEdit::TInplaceEdit(TComponent* AOwner)
    : TCustomMaskEdit(AOwner)
{
    FTabStop = false;
    FBorderStyle = bsNone;
    FAutoSelect = false;
    FVisible = false;
    FEditRect = Rect(2, 2, 0, 0);
}

TInplaceEdit::~TInplaceEdit() = default;

QWidget* TInplaceEdit::CreateWidget()
{
    // A password takes the single-line edit, as the toolkit's editor drops
    // its multi-line style for one.
    if (PasswordChar() != 0)
        return TCustomMaskEdit::CreateWidget();
    auto* w = new TEditTextWidget();
    QObject::connect(w, &QPlainTextEdit::textChanged, w, [this] { TextChangedByWidget(); });
    return w;
}

void TInplaceEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated())) {
        ++FSettingText;
        m->setPlainText(ToPlainBreaks(FText));
        --FSettingText;
        m->setFrameShape(QFrame::NoFrame);
        // The inset around the text is the editor's too, in its colour.
        m->setAutoFillBackground(true);
        m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        m->setTabChangesFocus(true);
        m->setReadOnly(FReadOnly);
        m->setContextMenuPolicy(IsMasked() ? Qt::NoContextMenu : Qt::DefaultContextMenu);
        m->setAcceptDrops(!IsMasked());
        UpdateEditRect();
    }
    // A window made anew comes up over its siblings, the grid's scroll bars too.
    RaiseGridScrollBars();
}

void TInplaceEdit::RaiseGridScrollBars()
{
    if (FGrid)
        for (int bar : { SB_HORZ, SB_VERT })
            if (QScrollBar* sb = FGrid->ScrollBarWidget(bar))
                sb->raise();
}

QString TInplaceEdit::WidgetText() const
{
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated())) {
        QString s = m->toPlainText();
        s.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        return s;
    }
    return TCustomMaskEdit::WidgetText();
}

void TInplaceEdit::SetWidgetText(const QString& s)
{
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated()))
        m->setPlainText(ToPlainBreaks(s));
    else
        TCustomMaskEdit::SetWidgetText(s);
}

int TInplaceEdit::SelStart() const
{
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated()))
        return PlainToToolkit(m->toPlainText(), m->textCursor().selectionStart());
    return TCustomMaskEdit::SelStart();
}

int TInplaceEdit::CaretPos() const
{
    return CaretPosition();
}

void TInplaceEdit::SetSelStart(int v)
{
    HandleNeeded();
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated())) {
        QTextCursor c = m->textCursor();
        c.setPosition(ToolkitToPlain(m->toPlainText(), std::max(0, v)));
        m->setTextCursor(c);
    } else {
        TCustomMaskEdit::SetSelStart(v);
    }
}

int TInplaceEdit::SelLength() const
{
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated())) {
        const QString plain = m->toPlainText();
        const QTextCursor c = m->textCursor();
        return PlainToToolkit(plain, c.selectionEnd()) - PlainToToolkit(plain, c.selectionStart());
    }
    return TCustomMaskEdit::SelLength();
}

void TInplaceEdit::SetSelLength(int v)
{
    HandleNeeded();
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated())) {
        const QString plain = m->toPlainText();
        QTextCursor c = m->textCursor();
        const int start = PlainToToolkit(plain, c.selectionStart());
        c.setPosition(ToolkitToPlain(plain, start));
        c.setPosition(ToolkitToPlain(plain, start + std::max(0, v)), QTextCursor::KeepAnchor);
        m->setTextCursor(c);
    } else {
        TCustomMaskEdit::SetSelLength(v);
    }
}

void TInplaceEdit::SetSelText(const QString& v)
{
    HandleNeeded();
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated()))
        m->textCursor().insertText(ToPlainBreaks(v));
    else
        TCustomMaskEdit::SetSelText(v);
}

void TInplaceEdit::SetPasswordChar(char16_t v)
{
    if (v == PasswordChar())
        return;
    // Between plain and password the window changes kind: it is made anew.
    if (HandleAllocated() && (v != 0) != (PasswordChar() != 0)) {
        FPasswordChar = v;
        RecreateWnd();
    } else {
        TCustomMaskEdit::SetPasswordChar(v);
    }
}

void TInplaceEdit::SetWordWrap(bool v)
{
    if (FWordWrap == v)
        return;
    FWordWrap = v;
    RecreateWnd();
}

void TInplaceEdit::SetEditRect(const TRect& r)
{
    FEditRect = r;
    UpdateEditRect();
}

void TInplaceEdit::UpdateEditRect()
{
    if (auto* m = qobject_cast<QPlainTextEdit*>(WidgetIfAllocated())) {
        // The text sits inside the formatting rectangle, as the grid draws
        // it in the cell; a right or bottom edge not set is the editor's.
        const TRect& r = FEditRect;
        const int right = r.Right > r.Left ? std::max(0, Width() - r.Right) : 0;
        const int bottom = r.Bottom > r.Top ? std::max(0, Height() - r.Bottom) : 0;
        m->document()->setDocumentMargin(0);
        if (auto* t = dynamic_cast<TEditTextWidget*>(m))
            t->setViewportMargins(std::max(0, r.Left), std::max(0, r.Top), right, bottom);
        QTextOption option = m->document()->defaultTextOption();
        const Qt::Alignment align = FAlignment == taRightJustify ? Qt::AlignRight
            : FAlignment == taCenter                             ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft;
        if (option.alignment() != align) {
            option.setAlignment(align);
            m->document()->setDefaultTextOption(option);
        }
        m->ensureCursorVisible();
    }
}

void TInplaceEdit::Deselect()
{
    SetSelStart(int(RawText().size()));
}

void TInplaceEdit::UpdateContents()
{
    if (!FGrid)
        return;
    SetText(QString());
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
    SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    SetMaxLength(FGrid->GetEditLimit());
    SelectAll();
}

void TInplaceEdit::Move(const TRect& loc)
{
    UpdateLoc(loc);
}

void TInplaceEdit::UpdateLoc(const TRect& loc)
{
    // A cell scrolled out of view takes the editor with it.
    if (loc.Width() <= 0 || loc.Height() <= 0) {
        HideEdit();
        return;
    }
    HandleNeeded();
    SetBounds(loc.Left, loc.Top, loc.Width(), loc.Height());
    FShown = true;
    SetVisible(true);
    if (QWidget* w = WidgetIfAllocated())
        w->raise();
    RaiseGridScrollBars();
    UpdateEditRect();
    if (FGrid && FGrid->Focused() && CanFocus())
        SetFocus();
}

void TInplaceEdit::HideEdit()
{
    if (!FShown)
        return;
    FShown = false;
    // The focus goes back to the grid before the editor disappears, so that
    // the window system does not pass it on to another control.
    if (Focused() && FGrid && FGrid->CanFocus())
        FGrid->SetFocus();
    SetVisible(false);
}

bool TInplaceEdit::EditCanModify() const
{
    return !FGrid || FGrid->CanEditModify();
}

void TInplaceEdit::TypeChar(char16_t ch)
{
    TMessage m { WM_CHAR, ch, 0, 0 };
    WndProc(m);
    const auto out = static_cast<char16_t>(m.WParam);
    if (out == 0 || !FShown)
        return;
    if (out == 8) {
        if (SelLength() == 0 && SelStart() > 0) {
            const int caret = SelStart();
            const int back = caret >= 2 && RawText().mid(caret - 2, 2) == QLatin1String("\r\n") ? 2 : 1;
            SetSelStart(caret - back);
            SetSelLength(back);
        }
        SetSelText(QString());
    } else if (out >= 32) {
        SetSelText(QString(QChar(out)));
    }
}

namespace {

// The character that opened the editor, posted to it so that it arrives after
// whatever the grid does once the editor is shown (placing the caret), as a
// typed key would.
UINT EditorCharMessage()
{
    static const UINT id = RegisterWindowMessage(QStringLiteral("GridEditorChar"));
    return id;
}

} // namespace

void TInplaceEdit::WndProc(TMessage& Message)
{
    if (Message.Msg == EditorCharMessage()) {
        if (FShown)
            TypeChar(static_cast<char16_t>(Message.WParam));
        return;
    }
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        // A multi-line edit takes Enter and Esc itself; Tab when the grid
        // moves by Tab.
        Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTALLKEYS;
        if (FGrid && FGrid->Options().testFlag(goTabs))
            Message.Result |= DLGC_WANTTAB;
        return;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
        if (!EditCanModify())
            return;
        break;
    default:
        break;
    }
    TCustomMaskEdit::WndProc(Message);
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    const bool ctrl = Shift.testFlag(ssCtrl);
    const bool forward = FGrid->Options().testFlag(goAlwaysShowEditor);
    const int len = int(RawText().size());
    const int start = SelStart();
    const int end = start + SelLength();
    const int caret = CaretPos();
    const bool leftSide = caret == 0 && start == 0 && (end == 0 || end == len);
    const bool rightSide = caret == len && (start == 0 || end == start) && end == len;
    auto sendToParent = [&] {
        FGrid->KeyDownFromEditor(Key, Shift);
        Key = 0;
    };
    auto parentEvent = [&] {
        if (FGrid->OnKeyDown)
            FGrid->OnKeyDown(FGrid, Key, Shift);
    };
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
        sendToParent();
        break;
    case VK_INSERT:
        if (Shift == TShiftState())
            sendToParent();
        else if (Shift == TShiftState(ssShift) && !EditCanModify())
            Key = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (forward && (ctrl || leftSide))
            sendToParent();
        break;
    case VK_RIGHT:
    case VK_END:
        if (forward && (ctrl || rightSide))
            sendToParent();
        break;
    case VK_TAB:
        if (!Shift.testFlag(ssAlt))
            sendToParent();
        break;
    case VK_DELETE:
        if (ctrl)
            sendToParent();
        else if (!EditCanModify())
            Key = 0;
        break;
    case 'V':
    case 'X':
        if (ctrl && !EditCanModify())
            Key = 0;
        break;
    case VK_F2:
        parentEvent();
        if (Key == VK_F2) {
            Deselect();
            return;
        }
        break;
    default:
        break;
    }
    if (Key != 0) {
        parentEvent();
        if (Key != 0)
            TCustomMaskEdit::KeyDown(Key, Shift);
    }
}

void TInplaceEdit::KeyPress(char16_t& Key)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyPress(Key);
        return;
    }
    FGrid->KeyPressFromEditor(Key);
    if (Key >= 32 && !FGrid->CanEditAcceptKey(Key)) {
        Key = 0;
        QApplication::beep();
    }
    switch (Key) {
    case 9:
    case 27:
        Key = 0;
        break;
    case 13: {
        // Enter selects the whole text, or takes the selection away when
        // all of it is selected.
        const int len = int(RawText().size());
        if (SelStart() == 0 && SelLength() == len)
            Deselect();
        else
            SelectAll();
        Key = 0;
        break;
    }
    case 8:
    case 22:
    case 24:
        if (!EditCanModify())
            Key = 0;
        break;
    default:
        if (Key >= 32 && !EditCanModify())
            Key = 0;
        break;
    }
    if (Key >= 32 && !IsMasked() && FMaxLength > 0 && SelLength() == 0 && int(RawText().size()) >= FMaxLength)
        Key = 0;
    if (Key != 0)
        TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(WORD& Key, TShiftState Shift)
{
    if (FGrid)
        FGrid->KeyUpFromEditor(Key, Shift);
    else
        TCustomMaskEdit::KeyUp(Key, Shift);
}

void TInplaceEdit::DblClick()
{
    if (FGrid)
        FGrid->DblClickFromEditor();
}

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    return FGrid ? FGrid->MouseWheelFromEditor(Shift, WheelDelta, MousePos)
                 : TCustomMaskEdit::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TInplaceEdit::DoExit()
{
    // An incomplete mask must not raise while the grid hides or moves the
    // editor; TWinControl's handling only fires OnExit.
    TWinControl::DoExit();
}

void TInplaceEdit::Change()
{
    TCustomMaskEdit::Change();
    // The grid hears of every change as the window system tells it.
    if (FGrid)
        FGrid->Perform(WM_COMMAND, WPARAM(EN_CHANGE) << 16, LPARAM(Handle()));
}

// ---------------------------------------------------------------------------
// The grid's side

TInplaceEdit* TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

bool TCustomGrid::IsActiveControl() const
{
    return Focused() || (FInplaceEdit && FInplaceEdit->Focused());
}

bool TCustomGrid::CanEditShow()
{
    return (FOptions & (TGridOptions(goRowSelect) | goEditing)) == TGridOptions(goEditing) && FEditorMode
        && !IsDesigning() && HandleAllocated() && (FOptions.testFlag(goAlwaysShowEditor) || IsActiveControl());
}

void TCustomGrid::LoadEditor()
{
    FInplaceCol = FCurrent.X;
    FInplaceRow = FCurrent.Y;
    // Loading is no edit: the grid does not take the loaded text back.
    ++FLoadingEditor;
    try {
        FInplaceEdit->UpdateContents();
    } catch (...) {
        --FLoadingEditor;
        throw;
    }
    --FLoadingEditor;
    FInplaceOriginal = FInplaceEdit->GetText();
    FInplaceChanged = false;
    FCanEditModify = FInplaceEdit->MaxLength() != -1;
    FInplaceEdit->SelectAll();
}

void TCustomGrid::UpdateEditor()
{
    // Asked once: a descendant's answer may cost a lookup per call.
    if (!CanEditShow())
        return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
        LoadEditor();
    } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        HideEdit();
        LoadEditor();
    }
    FInplaceEdit->Move(EditorRect());
}

TRect TCustomGrid::EditorRect()
{
    return CellRect(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::ShowEditor()
{
    FEditorMode = true;
    UpdateEditor();
}

void TCustomGrid::ShowEditorChar(char16_t Ch)
{
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->EditorVisible())
        PostMessage(FInplaceEdit, EditorCharMessage(), Ch);
}

void TCustomGrid::HideEditor()
{
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::HideEdit()
{
    if (!FInplaceEdit)
        return;
    try {
        UpdateText();
    } catch (...) {
        FInplaceCol = FInplaceRow = -1;
        FInplaceEdit->HideEdit();
        throw;
    }
    FInplaceCol = FInplaceRow = -1;
    FInplaceEdit->HideEdit();
}

void TCustomGrid::SetEditorMode(bool v)
{
    if (!v) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->EditorVisible())
        FInplaceEdit->Deselect();
}

void TCustomGrid::InvalidateEditor()
{
    FInplaceCol = FInplaceRow = -1;
    UpdateEditor();
}

void TCustomGrid::UpdateText()
{
    if (FInplaceEdit && FInplaceCol >= 0 && FInplaceRow >= 0 && !FLoadingEditor)
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->GetText());
}

void TCustomGrid::EditTextChanged()
{
    if (FInplaceEdit && FInplaceCol >= 0 && !FLoadingEditor)
        FInplaceChanged = true;
    UpdateText();
}

void TCustomGrid::RestoreEditText(int ACol, int ARow, const QString& LoadedText)
{
    SetEditText(ACol, ARow, LoadedText);
}

void TCustomGrid::CancelEdit()
{
    const int col = FInplaceCol;
    const int row = FInplaceRow;
    const bool changed = FInplaceChanged;
    // Showing the loaded text again is no edit: the cell gets back what it
    // had, not the editor's form of it.
    ++FLoadingEditor;
    try {
        FInplaceEdit->SetText(FInplaceOriginal);
    } catch (...) {
        --FLoadingEditor;
        throw;
    }
    --FLoadingEditor;
    FInplaceChanged = false;
    if (changed)
        RestoreEditText(col, row, FInplaceOriginal);
    if (!FOptions.testFlag(goAlwaysShowEditor)) {
        FInplaceCol = FInplaceRow = -1;
        HideEditor();
    } else {
        FInplaceEdit->SelectAll();
    }
}
