// Grid members the settings objects call whose real work comes with later
// method families.

#include "controls/grid/ExGrid.h"

// Stores the count; the footer rows' painting and editing rules come later.
void TExStringGrid::SetFixedFooters(int Value)
{
    if (Value == FFixedFooters)
        return;
    FFixedFooters = Value;
    Invalidate();
}

// No drop target yet: the drop unit supplies it.
std::unique_ptr<TObject> TExStringGrid::CreateGridDropTarget()
{
    return nullptr;
}

// The window takes no drops yet.
bool TExStringGrid::RegisterGridDropTarget(TObject*)
{
    return false;
}

// Nothing is registered yet.
void TExStringGrid::RevokeGridDropTarget() { }
