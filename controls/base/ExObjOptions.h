#pragma once
// The grid's enumerations and its option objects: search footer, navigation,
// mouse actions, synchronised grid, row bands and focus helper. The objects
// hold values and announce changes; the grid decides what they steer.

#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Object.h"

#include <QString>
#include <functional>
#include <memory>

class TExStringGrid;

enum class TEditorType {
    edNormal,
    edSpinEdit,
    edComboEdit,
    edComboList,
    edEditBtn,
    edCheckBox,
    edDateEdit,
    edDateEditUpDown,
    edTimeEdit,
    edButton,
    edDataCheckBox,
    edNumeric,
    edPositiveNumeric,
    edFloat,
    edCapital,
    edMixedCase,
    edPassword,
    edUnitEditBtn,
    edLowerCase,
    edUpperCase,
    edFloatSpinEdit,
    edTimeSpinEdit,
    edDateSpinEdit,
    edNumericEditBtn,
    edFloatEditBtn,
    edCustom,
    edRichEdit,
    edNone,
    edDateTimeEdit,
    edValidChars,
    edTrackbarDropDown,
    edMemoDropDown,
    edCalculatorDropDown,
    edTimePickerDropDown,
    edDetailDropDown,
    edGridDropDown,
    edColorPickerDropDown,
    edImagePickerDropDown,
    edExGridDropDown,
    edPositiveFloat,
    edNumericUnitEditBtn,
    edFloatUnitEditBtn,
    edMaskEditBtn
};

enum class TSortStyle {
    ssAutomatic,
    ssAlphabetic,
    ssNumeric,
    ssDate,
    ssAlphaNoCase,
    ssAlphaCase,
    ssShortDateEU,
    ssShortDateUS,
    ssCustom,
    ssFinancial,
    ssAnsiAlphaCase,
    ssAnsiAlphaNoCase,
    ssRaw,
    ssHTML,
    ssImages,
    ssCheckBox,
    ssDateTime,
    ssTime,
    ssAlphaNumeric,
    ssAlphaNumericNoCase
};

// Column or cell calculation kinds of the base grid.
enum class TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };

enum class TCellBorder { cbTop = 1, cbLeft = 2, cbRight = 4, cbBottom = 8 };
enum class TCellGradientDirection { GradientVertical, GradientHorizontal };
enum class TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum class TSearchDirection { sdTopBottom, sdLeftRight };
enum class THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum class TClipboardPasteAction { paReplace, paInsert };
enum class TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum class TInsertPosition { pInsertBefore, pInsertAfter };
enum class TCursorAdvance { caDefault, caSnake, caLoop };
enum class TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum class TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum class TWheelAction { waMoveSelection, waScroll };
enum class TArrowDirection { arrUp, arrDown, arrLeft, arrRight };
enum class TExGridButtonStyle { tasButton, tasCheck };

// ---------------------------------------------------------------------------
// Search footer: plain fields are the search settings; the look and the
// captions go through setters that fire OnChange.

class TSearchFooter : public TPersistent {
public:
    // With DefaultCaptions the captions and hints start with their English texts.
    TSearchFooter(TObject* AOwner, bool DefaultCaptions);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value);

    QString FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const QString& Value);
    QString FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const QString& Value);
    QString HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const QString& Value);
    QString MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const QString& Value);
    QString HintClose() const { return FHintClose; }
    void SetHintClose(const QString& Value);
    QString HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const QString& Value);
    QString HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const QString& Value);
    QString HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const QString& Value);

    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value);
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);

    // Copies the published settings of another search footer, all but
    // AutoSearch and SearchFixedCells; fires nothing.
    void Assign(const TPersistent* Source) override;

    bool AlwaysHighLight = false;
    bool AutoSearch = true;
    bool SearchActiveColumnOnly = false;
    int SearchColumn = -1;
    bool SearchMatchStart = false;
    bool SearchFixedCells = false;
    bool SearchHiddenRows = false;
    TSearchDirection SearchDirection = TSearchDirection::sdTopBottom;
    QString LastSearch;
    TNotifyEvent OnChange;

    TObject* Owner() const { return FOwner; }

private:
    void Changed();
    template <class T> void Store(T& Field, const T& Value, bool OnlyWhenChanged);

    TObject* FOwner;
    TColor FColor = 0xFFFFFF;
    TColor FColorTo = clBtnFace;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    QString FFindNextCaption, FFindPrevCaption, FHighLightCaption, FMatchCaseCaption;
    QString FHintClose, FHintFindNext, FHintFindPrev, FHintHighlight;
    bool FShowClose = true;
    bool FShowFindNext = true;
    bool FShowFindPrev = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
};

// ---------------------------------------------------------------------------
// Keyboard and clipboard behaviour.

// The plain settings of TNavigation, copied as one by Assign.
struct TNavigationFields {
    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AlwaysEdit = false;
    bool AdvanceOnEnter = false;
    bool AdvanceOnEnterLoop = true;
    bool AdvanceAutoEdit = true;
    bool AdvanceSkipReadOnlyCells = true;
    bool AutoGotoWhenSorted = false;
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false;
    bool AllowCtrlEnter = true;
    bool AllowSmartClipboard = false;
    bool AllowRTFClipboard = false;
    bool AllowFmtClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardRowGrow = true;
    bool AllowClipboardColGrow = true;
    bool AppendOnArrowDown = false;
    bool EditSelectAll = true;
    TInsertPosition InsertPosition = TInsertPosition::pInsertBefore;
    TClipboardPasteAction ClipboardPasteAction = TClipboardPasteAction::paReplace;
    bool ComboGetUpDown = true;
    TCursorAdvance CursorAdvance = TCursorAdvance::caDefault;
    bool CursorWalkEditor = false;
    bool CursorWalkAlwaysEdit = true;
    bool CursorMoveRows = false;
    bool MoveRowOnSort = false;
    bool KeepScrollOnSort = false;
    bool MoveScrollOnly = false;
    bool ImproveMaskSel = false;
    bool LeftRightRowSelect = true;
    bool CopyHTMLTagsToClipboard = true;
    bool KeepHorizScroll = false;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = THomeEndAction::heFirstLastColumn;
    bool SkipFixedCells = true;
    bool SkipDisabledRows = true;
    bool TabToNextAtEnd = false;
    TAdvanceDirection TabAdvanceDirection = TAdvanceDirection::adLeftRight;
};

class TNavigation : public TPersistent, public TNavigationFields {
public:
    TNavigation() = default;

    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection Value);
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool Value);
    // Turning it on also turns on AdvanceOnEnter.
    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool Value);

    // Copies every published setting but KeepScrollOnSort; fires nothing.
    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    TAdvanceDirection FAdvanceDirection = TAdvanceDirection::adLeftRight;
    bool FAdvanceInsert = false;
    bool FAdvanceAuto = false;
};

// ---------------------------------------------------------------------------
// Mouse behaviour.

// Sender, out: whether the owner is being designed.
using TIsDesigningEvent = std::function<void(TObject* Sender, bool& Designing)>;

class TMouseActions : public TPersistent {
public:
    explicit TMouseActions(TObject* AOwner);

    // Turning it on also turns on DisjunctRowSelect and CheckAllCheck; both
    // ways it fires OnInvalidate.
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool Value);
    // Turning it on fires OnDisableEdit.
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool Value);
    // While designing, turning one of the three on turns the other two off;
    // at run time they combine.
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value);
    // The same flag as DisjunctRowSelect, set without side effects.
    void SetDisjunctRowSelectDirect(bool Value) { FDisjunctRowSelect = Value; }
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction Value);
    TStringList* FixedComboValues() const { return FFixedComboValues.get(); }
    void SetFixedComboValues(const TStrings* Value);

    // Copies every published setting but EditOnDblClickOnly, FixedComboValues
    // and HotmailRowSelect; fires nothing.
    void Assign(const TPersistent* Source) override;

    bool AllColumnSize = false;
    bool AllRowSize = false;
    bool AllSelect = false;
    bool AutoSizeColOnDblClick = true;
    bool CaretPositioning = false;
    bool CheckAllCheck = false;
    bool ColSelect = false;
    bool DirectComboClose = false;
    bool DirectComboDrop = false;
    bool DirectDateClose = false;
    bool DirectDateDrop = false;
    bool DirectEdit = false;
    bool DisjunctRowSelectNoCtrl = false;
    bool FixedRowsEdit = false;
    TGridFixedCellEditor FixedRowsEditor = TGridFixedCellEditor::fceEdit;
    TGridFixedCellEditor FixedColsEditor = TGridFixedCellEditor::fceEdit;
    bool FixedColsEdit = false;
    bool MoveRowOnNodeClick = false;
    bool NoAutoRangeScroll = false;
    bool NodeAllExpandContract = false;
    bool NoScrollOnPartialRow = false;
    bool PreciseCheckBoxCheck = false;
    bool PreciseNodeClick = true;
    bool RangeSelectAndEdit = false;
    bool RowSelect = false;
    bool RowSelectPersistent = false;
    bool SelectOnRightClick = false;
    bool SizeFixedCol = false;
    bool SizeFixedRow = false;
    int WheelIncrement = 0;

    TNotifyEvent OnChange;
    TIsDesigningEvent OnIsDesigning;
    TNotifyEvent OnInvalidate;
    TNotifyEvent OnDisableEdit;

    TObject* Owner() const { return FOwner; }

private:
    bool IsDesigning();
    void Fire(const TNotifyEvent& Event);

    TObject* FOwner;
    bool FHotmailRowSelect = false;
    bool FEditOnDblClickOnly = false;
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    TWheelAction FWheelAction = TWheelAction::waMoveSelection;
    std::unique_ptr<TStringList> FFixedComboValues = std::make_unique<TStringList>();
};

// ---------------------------------------------------------------------------
// Another grid kept in step with the owner grid.

class TSyncGrid : public TPersistent {
public:
    explicit TSyncGrid(TExStringGrid* AOwnerGrid)
        : FOwnerGrid(AOwnerGrid)
    {
    }

    TExStringGrid* Grid() const { return FGrid; }
    // The owner grid itself is refused.
    void SetGrid(TExStringGrid* Value);
    TExStringGrid* OwnerGrid() const { return FOwnerGrid; }

    void Assign(const TPersistent* Source) override;

    bool ScrollVertical = false;
    bool ScrollHorizontal = false;
    bool SelectionColumn = false;
    bool SelectionRow = false;
    bool MoveColumn = false;
    bool MoveRow = false;

private:
    TExStringGrid* FOwnerGrid;
    TExStringGrid* FGrid = nullptr;
};

// ---------------------------------------------------------------------------
// Alternating row colours.

class TBands : public TPersistent {
public:
    TBands() = default;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // The colours and lengths fire OnChange only while the bands are active.
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    int TotalLength() const { return FTotalLength; }

    // Copies the settings and fires nothing.
    void Assign(const TPersistent* Source) override;

    bool Print = false;
    TNotifyEvent OnChange;

private:
    void ChangedWhileActive();

    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    int FSecondaryLength = 1;
    int FTotalLength = 2;
};

class TFocusHelper : public TPersistent {
public:
    void Assign(const TPersistent* Source) override;
    bool Enabled = false;
};
