#include "controls/base/ExObjOptions.h"

// ---------------------------------------------------------------------------
// TSearchFooter

TSearchFooter::TSearchFooter(TObject* AOwner, bool DefaultCaptions)
    : FOwner(AOwner)
{
    if (DefaultCaptions) {
        FFindPrevCaption = QStringLiteral("Find &previous");
        FFindNextCaption = QStringLiteral("Find &next");
        FMatchCaseCaption = QStringLiteral("Match case");
        FHighLightCaption = QStringLiteral("Highlight");
        FHintClose = QStringLiteral("Close");
        FHintFindNext = QStringLiteral("Find next occurrence");
        FHintFindPrev = QStringLiteral("Find previous occurrence");
        FHintHighlight = QStringLiteral("Highlight occurrences");
    }
}

void TSearchFooter::Changed()
{
    if (OnChange)
        OnChange(this);
}

template <class T> void TSearchFooter::Store(T& Field, const T& Value, bool OnlyWhenChanged)
{
    if (OnlyWhenChanged && Field == Value)
        return;
    Field = Value;
    Changed();
}

void TSearchFooter::SetColor(TColor Value)
{
    Store(FColor, Value, false);
}

void TSearchFooter::SetColorTo(TColor Value)
{
    Store(FColorTo, Value, false);
}

void TSearchFooter::SetFont(const TFont* Value)
{
    FFont->Assign(Value);
    Changed();
}

void TSearchFooter::SetFindNextCaption(const QString& Value)
{
    Store(FFindNextCaption, Value, false);
}

void TSearchFooter::SetFindPrevCaption(const QString& Value)
{
    Store(FFindPrevCaption, Value, false);
}

void TSearchFooter::SetHighLightCaption(const QString& Value)
{
    Store(FHighLightCaption, Value, false);
}

void TSearchFooter::SetMatchCaseCaption(const QString& Value)
{
    Store(FMatchCaseCaption, Value, false);
}

void TSearchFooter::SetHintClose(const QString& Value)
{
    Store(FHintClose, Value, false);
}

void TSearchFooter::SetHintFindNext(const QString& Value)
{
    Store(FHintFindNext, Value, false);
}

void TSearchFooter::SetHintFindPrev(const QString& Value)
{
    Store(FHintFindPrev, Value, false);
}

void TSearchFooter::SetHintHighlight(const QString& Value)
{
    Store(FHintHighlight, Value, false);
}

void TSearchFooter::SetShowClose(bool Value)
{
    Store(FShowClose, Value, false);
}

void TSearchFooter::SetShowFindNext(bool Value)
{
    Store(FShowFindNext, Value, true);
}

void TSearchFooter::SetShowFindPrev(bool Value)
{
    Store(FShowFindPrev, Value, true);
}

void TSearchFooter::SetShowHighLight(bool Value)
{
    Store(FShowHighLight, Value, true);
}

void TSearchFooter::SetShowMatchCase(bool Value)
{
    Store(FShowMatchCase, Value, true);
}

void TSearchFooter::SetVisible(bool Value)
{
    Store(FVisible, Value, true);
}

void TSearchFooter::SetAutoThemeAdapt(bool Value)
{
    Store(FAutoThemeAdapt, Value, false);
}

void TSearchFooter::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TSearchFooter*>(Source);
    if (!src)
        return;
    AlwaysHighLight = src->AlwaysHighLight;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
    FFindNextCaption = src->FFindNextCaption;
    FFindPrevCaption = src->FFindPrevCaption;
    FFont->Assign(src->FFont.get());
    FHighLightCaption = src->FHighLightCaption;
    FHintClose = src->FHintClose;
    FHintFindNext = src->FHintFindNext;
    FHintFindPrev = src->FHintFindPrev;
    FHintHighlight = src->FHintHighlight;
    FMatchCaseCaption = src->FMatchCaseCaption;
    SearchActiveColumnOnly = src->SearchActiveColumnOnly;
    SearchColumn = src->SearchColumn;
    SearchMatchStart = src->SearchMatchStart;
    SearchHiddenRows = src->SearchHiddenRows;
    SearchDirection = src->SearchDirection;
    FShowClose = src->FShowClose;
    FShowFindNext = src->FShowFindNext;
    FShowFindPrev = src->FShowFindPrev;
    FShowHighLight = src->FShowHighLight;
    FShowMatchCase = src->FShowMatchCase;
    FVisible = src->FVisible;
}

// ---------------------------------------------------------------------------
// TNavigation

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value)
{
    if (FAdvanceDirection == Value)
        return;
    FAdvanceDirection = Value;
    if (OnChange)
        OnChange(this);
}

void TNavigation::SetAdvanceInsert(bool Value)
{
    if (FAdvanceInsert == Value)
        return;
    FAdvanceInsert = Value;
    if (OnChange)
        OnChange(this);
}

void TNavigation::SetAdvanceAuto(bool Value)
{
    if (FAdvanceAuto == Value)
        return;
    FAdvanceAuto = Value;
    if (Value)
        AdvanceOnEnter = true;
}

void TNavigation::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TNavigation*>(Source);
    if (!src)
        return;
    const bool keepScroll = KeepScrollOnSort;
    static_cast<TNavigationFields&>(*this) = *src;
    KeepScrollOnSort = keepScroll;
    FAdvanceDirection = src->FAdvanceDirection;
    FAdvanceInsert = src->FAdvanceInsert;
    FAdvanceAuto = src->FAdvanceAuto;
}

// ---------------------------------------------------------------------------
// TMouseActions

TMouseActions::TMouseActions(TObject* AOwner)
    : FOwner(AOwner)
{
}

bool TMouseActions::IsDesigning()
{
    bool designing = false;
    if (OnIsDesigning)
        OnIsDesigning(this, designing);
    return designing;
}

void TMouseActions::Fire(const TNotifyEvent& Event)
{
    if (Event)
        Event(this);
}

void TMouseActions::SetHotmailRowSelect(bool Value)
{
    FHotmailRowSelect = Value;
    if (Value) {
        FDisjunctRowSelect = true;
        CheckAllCheck = true;
    }
    Fire(OnInvalidate);
}

void TMouseActions::SetEditOnDblClickOnly(bool Value)
{
    FEditOnDblClickOnly = Value;
    if (Value)
        Fire(OnDisableEdit);
}

void TMouseActions::SetDisjunctRowSelect(bool Value)
{
    FDisjunctRowSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool Value)
{
    FDisjunctColSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool Value)
{
    FDisjunctCellSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetWheelAction(TWheelAction Value)
{
    if (FWheelAction == Value)
        return;
    FWheelAction = Value;
    Fire(OnChange);
}

void TMouseActions::SetFixedComboValues(const TStrings* Value)
{
    FFixedComboValues->Assign(Value);
}

void TMouseActions::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TMouseActions*>(Source);
    if (!src)
        return;
    AllColumnSize = src->AllColumnSize;
    AllRowSize = src->AllRowSize;
    AllSelect = src->AllSelect;
    AutoSizeColOnDblClick = src->AutoSizeColOnDblClick;
    CaretPositioning = src->CaretPositioning;
    CheckAllCheck = src->CheckAllCheck;
    ColSelect = src->ColSelect;
    DirectComboClose = src->DirectComboClose;
    DirectComboDrop = src->DirectComboDrop;
    DirectDateClose = src->DirectDateClose;
    DirectDateDrop = src->DirectDateDrop;
    DirectEdit = src->DirectEdit;
    FDisjunctRowSelect = src->FDisjunctRowSelect;
    DisjunctRowSelectNoCtrl = src->DisjunctRowSelectNoCtrl;
    FDisjunctColSelect = src->FDisjunctColSelect;
    FDisjunctCellSelect = src->FDisjunctCellSelect;
    FixedRowsEdit = src->FixedRowsEdit;
    FixedRowsEditor = src->FixedRowsEditor;
    FixedColsEditor = src->FixedColsEditor;
    FixedColsEdit = src->FixedColsEdit;
    MoveRowOnNodeClick = src->MoveRowOnNodeClick;
    NoAutoRangeScroll = src->NoAutoRangeScroll;
    NodeAllExpandContract = src->NodeAllExpandContract;
    NoScrollOnPartialRow = src->NoScrollOnPartialRow;
    PreciseCheckBoxCheck = src->PreciseCheckBoxCheck;
    PreciseNodeClick = src->PreciseNodeClick;
    RangeSelectAndEdit = src->RangeSelectAndEdit;
    RowSelect = src->RowSelect;
    RowSelectPersistent = src->RowSelectPersistent;
    SelectOnRightClick = src->SelectOnRightClick;
    SizeFixedCol = src->SizeFixedCol;
    SizeFixedRow = src->SizeFixedRow;
    WheelIncrement = src->WheelIncrement;
    FWheelAction = src->FWheelAction;
}

// ---------------------------------------------------------------------------
// TSyncGrid

void TSyncGrid::SetGrid(TExStringGrid* Value)
{
    if (Value == FOwnerGrid && Value)
        return;
    FGrid = Value;
}

void TSyncGrid::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TSyncGrid*>(Source);
    if (!src)
        return;
    SetGrid(src->FGrid);
    ScrollVertical = src->ScrollVertical;
    ScrollHorizontal = src->ScrollHorizontal;
    SelectionColumn = src->SelectionColumn;
    SelectionRow = src->SelectionRow;
    MoveColumn = src->MoveColumn;
    MoveRow = src->MoveRow;
}

// ---------------------------------------------------------------------------
// TBands

void TBands::ChangedWhileActive()
{
    if (FActive && OnChange)
        OnChange(this);
}

void TBands::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    if (OnChange)
        OnChange(this);
}

void TBands::SetPrimaryColor(TColor Value)
{
    FPrimaryColor = Value;
    ChangedWhileActive();
}

void TBands::SetPrimaryLength(int Value)
{
    FPrimaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    ChangedWhileActive();
}

void TBands::SetSecondaryColor(TColor Value)
{
    FSecondaryColor = Value;
    ChangedWhileActive();
}

void TBands::SetSecondaryLength(int Value)
{
    FSecondaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    ChangedWhileActive();
}

void TBands::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TBands*>(Source);
    if (!src)
        return;
    FActive = src->FActive;
    FPrimaryColor = src->FPrimaryColor;
    FSecondaryColor = src->FSecondaryColor;
    FPrimaryLength = src->FPrimaryLength;
    FSecondaryLength = src->FSecondaryLength;
    Print = src->Print;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

// ---------------------------------------------------------------------------
// TFocusHelper

void TFocusHelper::Assign(const TPersistent* Source)
{
    if (const auto* src = dynamic_cast<const TFocusHelper*>(Source))
        Enabled = src->Enabled;
}
