// Grouping, drag and drop, balloon, modified-row, drag-scroll and progress
// settings, the floating footer and the filter drop-down.

#include "controls/grid/ExGridOptions.h"

#include "controls/grid/ExGrid.h"

// ---------------------------------------------------------------------------
// TGrouping

void TGrouping::Assign(const TPersistent* Source)
{
    if (const auto* src = dynamic_cast<const TGrouping*>(Source))
        static_cast<TGroupingLook&>(*this) = *src;
}

// ---------------------------------------------------------------------------
// TDragDropSettings

namespace {
bool GRtfDragDrop = false;
}

void SetRtfDragDrop(bool Value)
{
    GRtfDragDrop = Value;
}
bool RtfDragDrop()
{
    return GRtfDragDrop;
}

TDragDropSettings::TDragDropSettings(TExStringGrid* AGrid)
    : FGrid(AGrid)
{
}

void TDragDropSettings::SetOleDropRTF(bool Value)
{
    SetRtfDragDrop(Value);
    FOleDropRTF = Value;
}

void TDragDropSettings::SetOleDropTarget(bool Value)
{
    FOleDropTarget = Value;
    if (!FGrid || FGrid->IsDesigning())
        return;
    // A window holds one registration: the old one goes before a new target
    // replaces (and frees) the old target.
    if (FGrid->FOleDropTargetAssigned) {
        FGrid->RevokeGridDropTarget();
        FGrid->FOleDropTargetAssigned = false;
    }
    if (!Value)
        return;
    FGrid->FGridDropTarget = FGrid->CreateGridDropTarget();
    FGrid->FOleDropTargetAssigned
        = FGrid->FGridDropTarget && FGrid->RegisterGridDropTarget(FGrid->FGridDropTarget.get());
}

void TDragDropSettings::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TDragDropSettings*>(Source);
    if (!src)
        return;
    static_cast<TDragDropFlags&>(*this) = *src;
    FOleDropRTF = src->FOleDropRTF;
    FOleDropTarget = src->FOleDropTarget;
}

// ---------------------------------------------------------------------------
// TBalloonSettings

void TBalloonSettings::SetEnable(bool Value)
{
    FEnable = Value;
    if (OnEnableChange)
        OnEnableChange(this);
}

void TBalloonSettings::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TBalloonSettings*>(Source);
    if (!src)
        return;
    TextColor = src->TextColor;
    BackgroundColor = src->BackgroundColor;
    InitialDelay = src->InitialDelay;
    AutoHideDelay = src->AutoHideDelay;
    ReshowDelay = src->ReshowDelay;
    FEnable = src->FEnable;
}

// ---------------------------------------------------------------------------
// TShowModified

void TShowModified::SetColor(TColor Value)
{
    FColor = Value;
    if (OnChange)
        OnChange(this);
}

void TShowModified::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TShowModified*>(Source);
    if (!src)
        return;
    FColor = src->FColor;
    Enabled = src->Enabled;
}

// ---------------------------------------------------------------------------
// TDragScrollOptions

void TDragScrollDelays::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TDragScrollDelays*>(Source);
    if (!src)
        return;
    InitialDelay = src->InitialDelay;
    RepeatDelay = src->RepeatDelay;
}

void TDragScrollMargins::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TDragScrollMargins*>(Source);
    if (!src)
        return;
    TopMargin = src->TopMargin;
    BottomMargin = src->BottomMargin;
    LeftMargin = src->LeftMargin;
    RightMargin = src->RightMargin;
}

TDragScrollOptions::TDragScrollOptions()
    : FDelays(std::make_unique<TDragScrollDelays>())
    , FMargins(std::make_unique<TDragScrollMargins>())
{
}

TDragScrollOptions::~TDragScrollOptions() = default;

void TDragScrollOptions::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TDragScrollOptions*>(Source);
    if (!src)
        return;
    FMargins->Assign(src->FMargins.get());
    FDelays->Assign(src->FDelays.get());
    Active = src->Active;
}

// ---------------------------------------------------------------------------
// TGridProgressAppearance

void TGridProgressAppearance::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TGridProgressAppearance::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TGridProgressAppearance*>(Source);
    if (!src)
        return;
    F = src->F;
    Changed();
}

// ---------------------------------------------------------------------------
// TFloatingFooter

TFloatingFooter::TFloatingFooter(TExStringGrid* AGrid)
    : FGrid(AGrid)
{
}

bool TFloatingFooter::HidesLastRow() const
{
    return FVisible && FFooterStyle == TFooterStyle::fsFixedLastRow;
}

void TFloatingFooter::InvalidatePanel()
{
    if (FGrid && FGrid->FFooterPanel)
        FGrid->FFooterPanel->Invalidate();
}

void TFloatingFooter::Invalidate()
{
    InvalidatePanel();
}

void TFloatingFooter::SetVisible(bool Value)
{
    FVisible = Value;
    if (!FGrid)
        return;
    if (TCustomPanel* panel = FGrid->FFooterPanel) {
        panel->SetHeight(Value ? FHeight - 1 : 0);
        panel->SetVisible(Value);
    }
    FGrid->SetFixedFooters(HidesLastRow() ? 1 : 0);
    FGrid->FHideLastRow = HidesLastRow();
    FGrid->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value)
{
    FFooterStyle = Value;
    if (!FGrid)
        return;
    FGrid->FHideLastRow = HidesLastRow();
    FGrid->Invalidate();
    InvalidatePanel();
}

void TFloatingFooter::SetHeight(int Value)
{
    FHeight = Value;
    if (FGrid && FGrid->FFooterPanel && Value > 0)
        FGrid->FFooterPanel->SetHeight(Value - 1);
}

void TFloatingFooter::SetColor(TColor Value)
{
    FColor = Value;
    InvalidatePanel();
}

void TFloatingFooter::SetColumn(int Value)
{
    FColumn = Value;
    InvalidatePanel();
}

void TFloatingFooter::SetCustomTemplate(const QString& Value)
{
    FCustomTemplate = Value;
    InvalidatePanel();
}

void TFloatingFooter::SetShowHint(bool Value)
{
    FShowHint = Value;
    if (FGrid && FGrid->FFooterPanel)
        FGrid->FFooterPanel->SetShowHint(Value);
}

void TFloatingFooter::SetBorderColor(TColor Value)
{
    if (FBorderColor == Value)
        return;
    FBorderColor = Value;
    InvalidatePanel();
}

TColumnCalcType TFloatingFooter::ColumnCalc(int ACol) const
{
    const int row = FGrid->RowCount() - 1;
    if (!FGrid->HasCellProperties(ACol, row))
        return TColumnCalcType::acNONE;
    return FGrid->GetCellProperties(ACol, row)->CalcType();
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value)
{
    FGrid->GetCellProperties(ACol, FGrid->RowCount() - 1)->SetCalcType(Value);
    FGrid->RecalcFooterColumn(ACol, FGrid->RowCount() - 1);
}

void TFloatingFooter::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TFloatingFooter*>(Source);
    if (!src)
        return;
    CalculateHiddenRows = src->CalculateHiddenRows;
    FColor = src->FColor;
    FColumn = src->FColumn;
    FCustomTemplate = src->FCustomTemplate;
    FFooterStyle = src->FFooterStyle;
    SetVisible(src->FVisible);
    FShowHint = src->FShowHint;
}

// ---------------------------------------------------------------------------
// TFilterDropDown

TFilterDropDown::TFilterDropDown()
    : FFont(std::make_unique<TFont>())
    , FGlyph(std::make_unique<TBitmap>())
    , FGlyphActive(std::make_unique<TBitmap>())
{
    const auto changed = [this](TObject*) {
        if (OnChange)
            OnChange(this);
    };
    FGlyph->OnChange = changed;
    FGlyphActive->OnChange = changed;
}

TFilterDropDown::~TFilterDropDown() = default;

void TFilterDropDown::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TFilterDropDown*>(Source);
    if (!src)
        return;
    Color = src->Color;
    ColumnWidth = src->ColumnWidth;
    FFont->Assign(src->FFont.get());
    Height = src->Height;
    Width = src->Width;
    FGlyph->Assign(src->FGlyph.get());
    FGlyphActive->Assign(src->FGlyphActive.get());
}
