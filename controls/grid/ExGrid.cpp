#include "controls/grid/ExGrid.h"

#include "platform/graphics/Colors.h"

TExStringGrid::TExStringGrid(TComponent* AOwner)
    : TBaseGrid(AOwner)
{
}

TExStringGrid::~TExStringGrid() = default;

void TExStringGrid::SetComponentStyle(TVRKStyle) { }
void TExStringGrid::SetColorTones(const TColorTones&) { }

void TExStringGrid::RepaintGrid() { Invalidate(); }

void TExStringGrid::SetVRKGradientFrom(TColor v)
{
    FVRKGradFrom = ColorToRGB(v);
    Invalidate();
}

void TExStringGrid::SetVRKGradientTo(TColor v)
{
    FVRKGradTo = ColorToRGB(v);
    Invalidate();
}

void TExStringGrid::SetVRKGradientMirrorFrom(TColor v)
{
    FVRKGradMirrorFrom = ColorToRGB(v);
    Invalidate();
}

void TExStringGrid::SetVRKGradientMirrorTo(TColor v)
{
    FVRKGradMirrorTo = ColorToRGB(v);
    Invalidate();
}

void TExStringGrid::ApplyColumnStretch(int) { }
void TExStringGrid::QSort() { }
void TExStringGrid::QSortIndexed() { }
