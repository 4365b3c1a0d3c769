#pragma once
// The disjunct row selection of the string grid: one entry per row, moved
// with the rows by every edit that moves rows. An entry is 0 for a row that
// is not selected, else the row's place in the order of selection, so the
// selected rows in that order are derived from the entries and no second
// list can go stale.

#include <cstddef>
#include <vector>

class TRowSelectFlags {
public:
    std::size_t size() const { return FFlags.size(); }
    bool empty() const { return FFlags.empty(); }
    int operator[](std::size_t i) const { return FFlags[i]; }
    bool Test(int ARow) const { return ARow >= 0 && ARow < int(FFlags.size()) && FFlags[std::size_t(ARow)] != 0; }
    // New entries are not selected.
    void Grow(std::size_t Count);
    // Selects or unselects an existing entry; a row selected now comes last
    // in the order.
    void Set(int ARow, bool Value);
    // A place in the order for a row selected outside the entries (a hidden
    // row's record).
    int NewPlace();
    // Unselects every row; the entries stay.
    void Clear();
    // The entries for an edit that moves rows; the count and the order are
    // taken again when next asked for.
    std::vector<int>& Edit();
    // The selected rows among the entries From to To - 1.
    int Count(int From, int To) const;
    // Those rows in the order they were selected.
    const std::vector<int>& Ordered(int From, int To) const;

private:
    void Renumber();

    std::vector<int> FFlags;
    int FNext = 1;
    // Selected entries in the whole list; -1 after an edit, until counted.
    mutable int FSelected = 0;
    mutable std::vector<int> FOrdered;
    mutable int FOrderedFrom = 0, FOrderedTo = -1;
    mutable bool FOrderedValid = false;
};
