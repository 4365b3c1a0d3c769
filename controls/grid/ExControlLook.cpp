#include "controls/grid/ExControlLook.h"

#include "controls/grid/ExGrid.h"

TControlLook::TControlLook(TExStringGrid* AGrid)
    : FGrid(AGrid)
    , FUnCheckedGlyph(std::make_unique<TBitmap>())
    , FCheckedGlyph(std::make_unique<TBitmap>())
    , FRadioOffGlyph(std::make_unique<TBitmap>())
    , FRadioOnGlyph(std::make_unique<TBitmap>())
    , FDropDownHeader(std::make_unique<THeaderAppearance>(AGrid))
    , FDropDownFooter(std::make_unique<TFooterAppearance>(AGrid))
{
    Init();
}

TControlLook::~TControlLook() = default;

void TControlLook::Init()
{
    FColor = clBlack;
    FCommentColor = clRed;
    ProgressBorderColor = clGray;
    FFixedGradientFrom = clNone;
    FFixedGradientTo = clNone;
    FFixedGradientMirrorFrom = clNone;
    FFixedGradientMirrorTo = clNone;
    FFixedGradientHoverFrom = clGray;
    FFixedGradientHoverTo = clWhite;
    FFixedGradientHoverBorder = clSilver;
    FFixedGradientDownFrom = clGray;
    FFixedGradientDownTo = clSilver;
    FFixedGradientDownBorder = clGray;
    // Through the setters, so the grid's hover and down mirrors start at clNone too.
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
}

template <class T> void TControlLook::Store(T& Field, const T& Value)
{
    Field = Value;
    if (FGrid)
        FGrid->RepaintGrid();
}

void TControlLook::StoreGlyph(TBitmap* Glyph, const TBitmap* Value)
{
    Glyph->Assign(Value);
    if (FGrid)
        FGrid->RepaintGrid();
}

void TControlLook::SetCheckSize(int Value)
{
    Store(FCheckBoxSize, Value);
}
void TControlLook::SetCheckedGlyph(const TBitmap* Value)
{
    StoreGlyph(FCheckedGlyph.get(), Value);
}
void TControlLook::SetUnCheckedGlyph(const TBitmap* Value)
{
    StoreGlyph(FUnCheckedGlyph.get(), Value);
}
void TControlLook::SetRadioSize(int Value)
{
    Store(FRadioSize, Value);
}
void TControlLook::SetRadioOnGlyph(const TBitmap* Value)
{
    StoreGlyph(FRadioOnGlyph.get(), Value);
}
void TControlLook::SetRadioOffGlyph(const TBitmap* Value)
{
    StoreGlyph(FRadioOffGlyph.get(), Value);
}
void TControlLook::SetColor(TColor Value)
{
    Store(FColor, Value);
}
void TControlLook::SetCommentColor(TColor Value)
{
    Store(FCommentColor, Value);
}
void TControlLook::SetControlStyle(TGridControlStyle Value)
{
    Store(FControlStyle, Value);
}
void TControlLook::SetDropDownAlwaysVisible(bool Value)
{
    Store(FDropDownAlwaysVisible, Value);
}
void TControlLook::SetSpinButtonsAlwaysVisible(bool Value)
{
    Store(FSpinButtonsAlwaysVisible, Value);
}
void TControlLook::SetFlatButton(bool Value)
{
    Store(FFlatButton, Value);
}
void TControlLook::SetNoDisabledCheckRadioLook(bool Value)
{
    Store(FNoDisabledCheckRadioLook, Value);
}
void TControlLook::SetNoDisabledButtonLook(bool Value)
{
    Store(FNoDisabledButtonLook, Value);
}
void TControlLook::SetProgressMarginX(int Value)
{
    Store(FProgressMarginX, Value);
}
void TControlLook::SetProgressMarginY(int Value)
{
    Store(FProgressMarginY, Value);
}
void TControlLook::SetProgressXP(bool Value)
{
    Store(FProgressXP, Value);
}

namespace {

using TGridColorSetter = void (TExStringGrid::*)(TColor);

// Stores a fixed gradient colour and hands it to the grid's colour of the same
// state; clNone is handed on only where Always says so.
void Forward(TExStringGrid* Grid, TColor& Field, TColor Value, TGridColorSetter Setter, bool Always)
{
    Field = Value;
    if (Grid && (Always || Value != clNone))
        (Grid->*Setter)(Value);
}

} // namespace

void TControlLook::SetFixedGradientFrom(TColor Value)
{
    Forward(FGrid, FFixedGradientFrom, Value, &TExStringGrid::SetVRKGradientFrom, false);
}

void TControlLook::SetFixedGradientTo(TColor Value)
{
    Forward(FGrid, FFixedGradientTo, Value, &TExStringGrid::SetVRKGradientTo, false);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor Value)
{
    Forward(FGrid, FFixedGradientMirrorFrom, Value, &TExStringGrid::SetVRKGradientMirrorFrom, true);
}

void TControlLook::SetFixedGradientMirrorTo(TColor Value)
{
    Forward(FGrid, FFixedGradientMirrorTo, Value, &TExStringGrid::SetVRKGradientMirrorTo, true);
}

void TControlLook::SetFixedGradientHoverFrom(TColor Value)
{
    Forward(FGrid, FFixedGradientHoverFrom, Value, &TExStringGrid::SetVRKGradientHoverFrom, false);
}

void TControlLook::SetFixedGradientHoverTo(TColor Value)
{
    Forward(FGrid, FFixedGradientHoverTo, Value, &TExStringGrid::SetVRKGradientHoverTo, false);
}

void TControlLook::SetFixedGradientHoverMirrorFrom(TColor Value)
{
    Forward(FGrid, FFixedGradientHoverMirrorFrom, Value, &TExStringGrid::SetVRKGradientHoverMirrorFrom, true);
}

void TControlLook::SetFixedGradientHoverMirrorTo(TColor Value)
{
    Forward(FGrid, FFixedGradientHoverMirrorTo, Value, &TExStringGrid::SetVRKGradientHoverMirrorTo, true);
}

void TControlLook::SetFixedGradientHoverBorder(TColor Value)
{
    Forward(FGrid, FFixedGradientHoverBorder, Value, &TExStringGrid::SetVRKGradientHoverBorder, false);
}

void TControlLook::SetFixedGradientDownFrom(TColor Value)
{
    Forward(FGrid, FFixedGradientDownFrom, Value, &TExStringGrid::SetVRKGradientDownFrom, false);
}

void TControlLook::SetFixedGradientDownTo(TColor Value)
{
    Forward(FGrid, FFixedGradientDownTo, Value, &TExStringGrid::SetVRKGradientDownTo, false);
}

void TControlLook::SetFixedGradientDownMirrorFrom(TColor Value)
{
    Forward(FGrid, FFixedGradientDownMirrorFrom, Value, &TExStringGrid::SetVRKGradientDownMirrorFrom, true);
}

void TControlLook::SetFixedGradientDownMirrorTo(TColor Value)
{
    Forward(FGrid, FFixedGradientDownMirrorTo, Value, &TExStringGrid::SetVRKGradientDownMirrorTo, true);
}

void TControlLook::SetFixedGradientDownBorder(TColor Value)
{
    Forward(FGrid, FFixedGradientDownBorder, Value, &TExStringGrid::SetVRKGradientDownBorder, false);
}

void TControlLook::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TControlLook*>(Source);
    if (!s || s == this)
        return;
    FCheckBoxSize = s->FCheckBoxSize;
    FRadioSize = s->FRadioSize;
    FControlStyle = s->FControlStyle;
    FCheckedGlyph->Assign(s->FCheckedGlyph.get());
    FUnCheckedGlyph->Assign(s->FUnCheckedGlyph.get());
    FRadioOnGlyph->Assign(s->FRadioOnGlyph.get());
    FRadioOffGlyph->Assign(s->FRadioOffGlyph.get());
    FProgressMarginX = s->FProgressMarginX;
    FProgressMarginY = s->FProgressMarginY;
    FCommentColor = s->FCommentColor;
    FColor = s->FColor;
    ProgressBorderColor = s->ProgressBorderColor;
    CheckAlwaysActive = s->CheckAlwaysActive;
    RadioAlwaysActive = s->RadioAlwaysActive;
    FFixedGradientFrom = s->FFixedGradientFrom;
    FFixedGradientTo = s->FFixedGradientTo;
    FFixedGradientMirrorFrom = s->FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = s->FFixedGradientMirrorTo;
    FFixedGradientHoverFrom = s->FFixedGradientHoverFrom;
    FFixedGradientHoverTo = s->FFixedGradientHoverTo;
    FFixedGradientHoverMirrorFrom = s->FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverMirrorTo = s->FFixedGradientHoverMirrorTo;
    FFixedGradientHoverBorder = s->FFixedGradientHoverBorder;
    FFixedGradientDownFrom = s->FFixedGradientDownFrom;
    FFixedGradientDownTo = s->FFixedGradientDownTo;
    FFixedGradientDownMirrorFrom = s->FFixedGradientDownMirrorFrom;
    FFixedGradientDownMirrorTo = s->FFixedGradientDownMirrorTo;
    FFixedGradientDownBorder = s->FFixedGradientDownBorder;
    FDropDownAlwaysVisible = s->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = s->FSpinButtonsAlwaysVisible;
    DropDownCount = s->DropDownCount;
    FDropDownFooter->Assign(s->FDropDownFooter.get());
    FDropDownHeader->Assign(s->FDropDownHeader.get());
    HintMaxWidth = s->HintMaxWidth;
}
