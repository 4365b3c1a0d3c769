#pragma once
// The category panel group: collapsible panels stacked in one scrolling
// column, each with a gradient header, a caption and a chevron.

#include <algorithm>
#include <vector>

// Stacking and scrolling arithmetic of a category panel group, apart from the
// widgets so that it can be reasoned about alone. Panels stand one under the
// other in the order of their tops, as top-aligned controls do: setting a
// panel's top moves it in the order (ahead of a panel at the same top), and
// the stack then closes every gap. A collapsed panel shows its header only
// and keeps its expanded height for when it opens again.
class TCategoryStack {
public:
    struct Item {
        int sortTop = 0;
        int expandedHeight = 0;
        bool collapsed = false;
        bool visible = true;
    };

    int HeaderHeight = 24;
    int ClientHeight = 0;
    int LineSize = 8; // pixels of one scroll line

    // Appends a panel under the last one; returns its index.
    int Add(int expandedHeight);
    void Remove(int index);
    int Count() const { return int(FItems.size()); }
    const Item& At(int index) const { return FItems[std::size_t(index)]; }

    void SetTop(int index, int top);
    void SetExpandedHeight(int index, int height);
    void SetCollapsed(int index, bool collapsed);
    void SetVisible(int index, bool visible);

    // Displayed height: the header alone when collapsed.
    int Height(int index) const;
    // Visible panels, top first.
    std::vector<int> Order() const;
    // Top of a panel in the group's client area (scrolling applied).
    int Top(int index) const;
    int ContentHeight() const;
    int MaxScroll() const { return std::max(0, ContentHeight() - ClientHeight); }
    int ScrollPos() const { return FScroll; }
    // Clamped to 0 .. MaxScroll; returns the position taken.
    int SetScrollPos(int pos);
    // Lines down (positive) or up (negative).
    int ScrollLines(int lines) { return SetScrollPos(FScroll + lines * LineSize); }
    // A wheel turn of `delta` (120 a notch, positive away from the user, which
    // scrolls up) scrolls `linesPerNotch` lines a notch; partial notches add up.
    int Wheel(int delta, int linesPerNotch);
    // Closes the gaps; called by every setter and after the client height
    // changes.
    void Relayout(int moved = -1);

private:
    std::vector<Item> FItems;
    std::vector<int> FOrder;
    std::vector<int> FContentTop;
    int FScroll = 0;
    int FWheelRest = 0;
};
