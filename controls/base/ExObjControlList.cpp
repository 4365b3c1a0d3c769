// The list of controls placed on cells.

#include "controls/base/ExObj.h"

#include "platform/controls/Controls.h"
#include "platform/runtime/Exceptions.h"

// ---------------------------------------------------------------------------
// TControlList

TControlList::~TControlList()
{
    Clear();
}

void TControlList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TControlList::AddControl(int X, int Y, TControl* AControl)
{
    FItems.push_back(std::make_unique<TControlItem>(X, Y, AControl));
}

int TControlList::ControlIndex(int X, int Y) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)]->X() == X && FItems[size_t(i)]->Y() == Y)
            return i;
    return -1;
}

TControlItem* TControlList::GetControl(int Index) const
{
    CheckIndex(Index);
    return FItems[size_t(Index)].get();
}

bool TControlList::HasHandle(HWND Handle) const
{
    for (const auto& item : FItems)
        if (auto* wc = dynamic_cast<TWinControl*>(item->Control()); wc && wc->Handle() == Handle)
            return true;
    return false;
}

void TControlList::RemoveControl(int Index)
{
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
}

void TControlList::Clear()
{
    FItems.clear();
}
