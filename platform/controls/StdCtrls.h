#pragma once
// The standard controls: label, link label, edit, memo, combo box, check box,
// radio button, list box and push button. The windowed ones wrap a Qt widget
// and keep the toolkit's event order: key-down, character, change, key-up for
// an edit; a check box's OnClick also fires when code changes Checked; a combo
// box's OnChange fires for the user's edits and choices, not for code.

#include <QString>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/runtime/Classes.h"

class QLineEdit;
class QPlainTextEdit;
class QComboBox;
class QListWidget;
class QAbstractButton;

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TSysLinkType { sltURL, sltID };

// ---------------------------------------------------------------------------
// Labels

// A windowless caption painted with the canvas. "&x" underlines x and makes
// Alt+x focus FocusControl.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TLabel"); }

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);

    void SetText(const QString& v) override;
    void WndProc(TMessage& Message) override;

    // Sizes the label to its text when AutoSize is on (the right edge stays
    // put for right-aligned text).
    virtual void AdjustBounds();

protected:
    void Paint() override;
    void FontChanged() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Draws (or measures, with DT_CALCRECT) the caption on `canvas`.
    virtual void DoDrawText(TCanvas* canvas, TRect& rect, unsigned flags);
    unsigned DrawTextFlags() const;

private:
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// True when `ch` is the accelerator marked with "&" in `caption`.
bool IsAccel(char16_t ch, const QString& caption);

// A caption holding HTML anchors (<a href="target">text</a>); the anchors are
// drawn as links and a click on one fires OnLinkClick with its target (the
// href; an anchor with only an id gives the id and sltID).
class TLinkLabel : public TGraphicControl {
public:
    explicit TLinkLabel(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TLinkLabel"); }

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    void SetText(const QString& v) override;

    // The caption's segments: plain text and anchors, in order.
    struct TSegment {
        QString text;
        QString link; // empty for plain text
        TSysLinkType type = sltURL;
        bool isLink = false;
    };
    static std::vector<TSegment> ParseCaption(const QString& caption);
    // The anchor at a client point, or nullptr.
    const TSegment* LinkAt(TPoint p) const;
    // Client rectangle of the i-th segment as last laid out.
    TRect SegmentRect(int index) const;

    std::function<void(TObject* Sender, const QString& Link, TSysLinkType LinkType)> OnLinkClick;

protected:
    void Paint() override;
    void FontChanged() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void AdjustBounds();
    void LayoutSegments(TCanvas* canvas);

private:
    bool FAutoSize = true;
    std::vector<TSegment> FSegments;
    std::vector<TRect> FRects;
    int FHot = -1;
    TCursor FSavedCursor = crDefault;
};

// ---------------------------------------------------------------------------
// Edits

// The edit box: a single-line QLineEdit (TCustomMemo uses a multi-line one).
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;
    QString ClassName() const override { return QStringLiteral("TEdit"); }

    QString GetText() const override;
    void SetText(const QString& v) override;

    int MaxLength() const { return FMaxLength; }
    virtual void SetMaxLength(int v);
    char16_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char16_t v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase v);
    bool NumbersOnly() const { return FNumbersOnly; }
    void SetNumbersOnly(bool v) { FNumbersOnly = v; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool v) { FAutoSelect = v; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v) { FHideSelection = v; }

    // The formatting rectangle, in client coordinates: the part of the edit
    // the text uses, so that child controls placed inside the edit (buttons)
    // stay clear of it. Once set, the text starts at its top instead of
    // being centred. The whole client area until set.
    TRect TextRect() const;
    void SetTextRect(const TRect& r);

    // Selection: the caret is SelStart when SelLength is 0.
    virtual int SelStart() const;
    virtual void SetSelStart(int v);
    virtual int SelLength() const;
    virtual void SetSelLength(int v);
    QString SelText() const;
    // Replaces the selection (or inserts at the caret).
    virtual void SetSelText(const QString& v);
    void SelectAll();
    void ClearSelection() { SetSelText(QString()); }
    void Clear() { SetText(QString()); }
    // The clipboard operations, through Clipboard(); WM_COPY, WM_CUT and
    // WM_PASTE (the keys and the context menu send them) end here unless a
    // descendant's WndProc takes them. A password edit gives nothing to the
    // clipboard; a read-only one takes no cut or paste; a single-line edit
    // pastes the text up to its first line break.
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    bool CanUndo() const;
    void Undo();

    // The character under a client point: the caret position nearest to it
    // (line breaks counting two).
    int CharFromPos(TPoint p) const;
    // The client point of a character's top-left corner; the text's length
    // gives the point after the last character, any other position outside
    // the text (-1, -1).
    TPoint PosFromChar(int Index) const;
    // The caret's line and the number of lines as shown: a line that wraps
    // counts once per line it takes. A single-line edit has one line.
    int CaretLine() const;
    int LineCount() const;

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    // WM_COPY, WM_CUT, WM_PASTE, WM_CLEAR and WM_UNDO do the edit's work.
    void DefaultHandler(TMessage& Message) override;
    // Makes the window anew, as a change of its style asks (alignment, word
    // wrap), keeping text, selection and focus; a window not made yet takes
    // the style when it is made. The change is no focus change: neither the
    // control nor the form hears of one.
    void RecreateWnd();
    // The moving end of the selection.
    int CaretPosition() const;
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void ApplyColor() override;
    void KeyPress(char16_t& Key) override;
    void DoEnter() override;
    // The text changed (by the user or by code): OnChange.
    virtual void Change();
    // Called by the widget on every text change.
    void TextChangedByWidget();
    QLineEdit* LineEdit() const;
    QPlainTextEdit* TextEdit() const;
    QString ConvertCase(const QString& s) const;
    void BoundsChanged(const TRect& oldBounds) override;
    // The widget's text with line breaks as the toolkit gives them.
    virtual QString WidgetText() const;
    virtual void SetWidgetText(const QString& s);
    // The text as the widget holds it, and setting it with OnChange when it
    // differs (case rule not applied).
    QString RawText() const { return HandleAllocated() ? WidgetText() : FText; }
    void SetRawText(const QString& v);

    int FMaxLength = 0;
    char16_t FPasswordChar = 0;
    bool FReadOnly = false;
    TEditCharCase FCharCase = ecNormal;
    bool FNumbersOnly = false;
    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = bsSingle;
    TAlignment FAlignment = taLeftJustify;
    bool FModified = false;
    bool FHideSelection = true;
    int FSettingText = 0;

private:
    void ApplyTextRect();
    TRect FTextRect;
    bool FHasTextRect = false;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

// Lines of a memo, read from and written to its widget.
class TCustomMemo;
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo)
        : FMemo(memo)
    {
    }
    int Count() const override;
    QString Get(int Index) const override;
    void Put(int Index, const QString& S) override;
    void Insert(int Index, const QString& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void SetText(const QString& Value) override;

private:
    QStringList Lines() const;
    void SetLines(const QStringList& lines);
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;
    QString ClassName() const override { return QStringLiteral("TMemo"); }

    TStrings* Lines() const { return FLines.get(); }
    void SetLines(const TStrings* v) { FLines->Assign(v); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }

    int SelStart() const override;
    void SetSelStart(int v) override;
    int SelLength() const override;
    void SetSelLength(int v) override;
    void SetSelText(const QString& v) override;
    void SetMaxLength(int v) override;
    void WndProc(TMessage& Message) override;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void KeyPress(char16_t& Key) override;
    QString WidgetText() const override;
    void SetWidgetText(const QString& s) override;

private:
    friend class TMemoStrings;
    std::unique_ptr<TMemoStrings> FLines;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};

// ---------------------------------------------------------------------------
// Combo box

class TCustomComboBox;
// Items of a combo box or list box, kept in the widget.
class TControlItems : public TStrings {
public:
    explicit TControlItems(TWinControl* owner)
        : FOwner(owner)
    {
    }
    int Count() const override;
    QString Get(int Index) const override;
    void Put(int Index, const QString& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void Insert(int Index, const QString& S) override;
    void Delete(int Index) override;
    void Clear() override;

private:
    friend class TCustomComboBox;
    // The combo box whose widget is not made yet: its items wait here.
    TCustomComboBox* WaitingCombo() const;
    TWinControl* FOwner;
    std::vector<TObject*> FObjects;
    QStringList FWaiting;
};

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;
    QString ClassName() const override { return QStringLiteral("TComboBox"); }

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle v);
    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* v) { FItems->Assign(v); }
    // -1 when nothing is selected. Setting it fires no event.
    int ItemIndex() const;
    void SetItemIndex(int v);
    // The edit text (csDropDown) or the selected item (csDropDownList);
    // setting it in list style selects the item of that text, if any.
    QString GetText() const override;
    void SetText(const QString& v) override;
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int v);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    // Height of an item of the list; setting 0 goes back to the font's own,
    // which is what it reads then.
    int ItemHeight() const;
    void SetItemHeight(int v);
    // Height of the selection field: the control is the field with a frame of
    // three pixels above and below it.
    int SelectionFieldHeight() const { return std::max(0, Height() - 2 * Selection_Frame); }
    void SetSelectionFieldHeight(int v) { SetHeight(std::max(0, v) + 2 * Selection_Frame); }
    // Width of the open list; never narrower than the control (0: the
    // control's width).
    int DroppedWidth() const { return std::max(FDroppedWidth, Width()); }
    void SetDroppedWidth(int v);
    void Clear();
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    void SelectAll();
    // The character position of the edit part under a client point (the
    // caret would stand before it); -1 without an edit part.
    int CharFromPos(TPoint p) const;

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    // Widget notifications (the user's actions).
    void UserEdited();
    void UserSelected(int index);
    void PopupShowing();
    void PopupHidden();
    // The widget placed its edit field: it is kept left of EditFieldRight.
    void FitEditField();

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void ApplyColor() override;
    virtual void Change();
    // OnSelect when assigned, otherwise OnChange.
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    // The client x the edit field must end at, for a control that paints its
    // own button; -1 leaves the field where the widget puts it.
    virtual int EditFieldRight() const { return -1; }
    QComboBox* Combo() const;

private:
    friend class TControlItems;
    static constexpr int Selection_Frame = 3;
    void ApplyItemHeight();
    TComboBoxStyle FStyle = csDropDown;
    std::unique_ptr<TControlItems> FItems;
    int FDropDownCount = 8;
    int FMaxLength = 0;
    int FItemHeight = 0;
    int FDroppedWidth = 0;
    int FInternal = 0;
    // Until the widget is made, the selected item is kept here (the items in
    // FItems, the edit text in FText) the way the widget would keep them.
    int FWaitingIndex = -1;
    bool FWaitingState = true;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};

// ---------------------------------------------------------------------------
// Buttons

// Base of the check box and the radio button: a QAbstractButton whose
// toggling goes through the control, so code and user changes run the same
// path.
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    // Alignment of the caption against the box: taRightJustify puts the
    // caption right of the box (the default), taLeftJustify left of it.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }
    // The user toggled the box (mouse or space).
    virtual void Toggle() = 0;
    void SetText(const QString& v) override;

protected:
    void CreateWnd() override;
    void ApplyColor() override;
    QAbstractButton* Button() const;
    // While set, state changes by code do not call Click.
    bool ClicksDisabled() const { return FClicksDisabled > 0; }
    int FClicksDisabled = 0;
    TAlignment FAlignment = taRightJustify;
    bool FWordWrap = false;
};

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TCheckBox"); }

    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    // A new state updates the box and calls Click (OnClick), whoever set it.
    void SetState(TCheckBoxState v);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    void Toggle() override;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// Radio buttons with the same parent form one group: checking one unchecks
// the others. OnClick fires when a button becomes checked.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TRadioButton"); }

    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    void Toggle() override;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;

private:
    bool FChecked = false;
};

// ---------------------------------------------------------------------------
// List box

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;
    QString ClassName() const override { return QStringLiteral("TListBox"); }

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* v) { FItems->Assign(v); }
    // The focused item (-1 for none); setting it selects that item alone and
    // fires no event.
    int ItemIndex() const;
    void SetItemIndex(int v);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool Selected(int index) const;
    void SetSelected(int index, bool v);
    int SelCount() const;
    int TopIndex() const;
    void SetTopIndex(int v);
    void Clear() { FItems->Clear(); }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);

    // The user changed the selection: Click (OnClick).
    void UserSelectionChanged();
    void WndProc(TMessage& Message) override;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void ApplyColor() override;
    QListWidget* List() const;

private:
    friend class TControlItems;
    std::unique_ptr<TControlItems> FItems;
    bool FMultiSelect = false;
    bool FSorted = false;
    int FInternal = 0;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};

// ---------------------------------------------------------------------------
// Push button

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TButton"); }

    // Enter anywhere on the form presses the default button, Esc the cancel
    // button.
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    // Given to the form when the button is clicked (0: none).
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int v) { FModalResult = v; }

    // OnClick, then the modal result to the form.
    void Click() override;
    void Toggle() override { Click(); }
    void WndProc(TMessage& Message) override;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};
