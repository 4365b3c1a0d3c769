#include "platform/controls/CategoryPanels.h"

#include <numeric>

int TCategoryStack::Add(int expandedHeight)
{
    Item it;
    it.expandedHeight = std::max(0, expandedHeight);
    it.sortTop = ContentHeight() + FScroll;
    FItems.push_back(it);
    Relayout();
    return Count() - 1;
}

void TCategoryStack::Remove(int index)
{
    if (index < 0 || index >= Count())
        return;
    FItems.erase(FItems.begin() + index);
    Relayout();
}

void TCategoryStack::SetTop(int index, int top)
{
    if (index < 0 || index >= Count())
        return;
    // Tops are given in client coordinates, as the program sees them.
    FItems[std::size_t(index)].sortTop = top + FScroll;
    Relayout(index);
}

void TCategoryStack::SetExpandedHeight(int index, int height)
{
    if (index < 0 || index >= Count())
        return;
    FItems[std::size_t(index)].expandedHeight = std::max(0, height);
    Relayout();
}

void TCategoryStack::SetCollapsed(int index, bool collapsed)
{
    if (index < 0 || index >= Count())
        return;
    FItems[std::size_t(index)].collapsed = collapsed;
    Relayout();
}

void TCategoryStack::SetVisible(int index, bool visible)
{
    if (index < 0 || index >= Count())
        return;
    FItems[std::size_t(index)].visible = visible;
    Relayout();
}

int TCategoryStack::Height(int index) const
{
    const Item& it = At(index);
    return it.collapsed ? HeaderHeight : it.expandedHeight;
}

std::vector<int> TCategoryStack::Order() const
{
    return FOrder;
}

int TCategoryStack::Top(int index) const
{
    if (index < 0 || index >= Count())
        return 0;
    return FContentTop[std::size_t(index)] - FScroll;
}

int TCategoryStack::ContentHeight() const
{
    int h = 0;
    for (int i : FOrder)
        h += Height(i);
    return h;
}

int TCategoryStack::SetScrollPos(int pos)
{
    FScroll = std::clamp(pos, 0, MaxScroll());
    return FScroll;
}

int TCategoryStack::Wheel(int delta, int linesPerNotch)
{
    if (linesPerNotch < 1)
        return FScroll;
    FWheelRest += delta;
    const int notches = FWheelRest / 120;
    FWheelRest -= notches * 120;
    return ScrollLines(-notches * linesPerNotch);
}

void TCategoryStack::Relayout(int moved)
{
    FOrder.clear();
    for (int i = 0; i < Count(); ++i)
        if (FItems[std::size_t(i)].visible)
            FOrder.push_back(i);
    std::stable_sort(FOrder.begin(), FOrder.end(), [&](int a, int b) {
        const int ta = FItems[std::size_t(a)].sortTop;
        const int tb = FItems[std::size_t(b)].sortTop;
        if (ta != tb)
            return ta < tb;
        return a == moved && b != moved;
    });
    FContentTop.assign(FItems.size(), 0);
    int y = 0;
    for (int i : FOrder) {
        FContentTop[std::size_t(i)] = y;
        FItems[std::size_t(i)].sortTop = y;
        y += Height(i);
    }
    FScroll = std::clamp(FScroll, 0, MaxScroll());
}
