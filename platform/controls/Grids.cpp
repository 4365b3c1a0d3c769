// The grid's model: extents, the cell store, geometry, dimensions, the current
// cell and selection, and scrolling.
#include "platform/controls/Grids.h"

#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <utility>

#include "platform/runtime/SysUtils.h"

namespace {

const QString& EmptyText()
{
    static const QString empty;
    return empty;
}

[[noreturn]] void InvalidOp(const char* msg)
{
    throw EInvalidGridOperation(QString::fromLatin1(msg));
}

constexpr const char* SIndexOutOfRange = "Grid index out of range";
constexpr const char* SFixedColTooBig = "Fixed column count must be less than column count";
constexpr const char* SFixedRowTooBig = "Fixed row count must be less than row count";

// Position of a cell index after moving `from` to `to`.
void MoveAdjust(int& pos, int from, int to)
{
    if (pos == from) {
        pos = to;
        return;
    }
    const int lo = std::min(from, to);
    const int hi = std::max(from, to);
    if (pos >= lo && pos <= hi)
        pos += from > to ? 1 : -1;
}

} // namespace

TGridRect GridRect(TGridCoord a, TGridCoord b)
{
    return { std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y) };
}

bool PointInGridRect(int col, int row, const TGridRect& r)
{
    return col >= r.Left && col <= r.Right && row >= r.Top && row <= r.Bottom;
}

// ---------------------------------------------------------------------------
// TGridExtents

namespace {

// Index of item k after the run of n items at `from` moved to start at `to`.
int RangeMovedIndex(int k, int from, int n, int to)
{
    if (k >= from && k < from + n)
        return to + (k - from);
    const int rest = k < from ? k : k - n;
    return rest >= to ? rest + n : rest;
}

// For a permutation of the items from `first`: new index by old index.
std::vector<int> InversePermutation(int first, const std::vector<int>& order)
{
    std::vector<int> inverse(order.size(), -1);
    for (std::size_t k = 0; k < order.size(); ++k) {
        const int old = order[k] - first;
        if (old < 0 || old >= int(order.size()) || inverse[std::size_t(old)] >= 0)
            InvalidOp("Grid row order is not a permutation");
        inverse[std::size_t(old)] = first + int(k);
    }
    return inverse;
}

// Orders (key, value) pairs with keys of 0 or more by key, keeping equal
// keys in their order: a radix sort on the keys' two halves for many pairs,
// whose keys after a reordering of rows come in no order at all.
template <class T> void SortByKey(std::vector<std::pair<int, T>>& v)
{
    const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (std::is_sorted(v.begin(), v.end(), byKey))
        return;
    if (v.size() < 4096) {
        std::stable_sort(v.begin(), v.end(), byKey);
        return;
    }
    std::vector<std::pair<int, T>> out(v.size());
    std::vector<std::size_t> start(std::size_t(1) << 16);
    for (const int shift : { 0, 16 }) {
        const auto digit = [shift](const std::pair<int, T>& e) { return (unsigned(e.first) >> shift) & 0xFFFFu; };
        std::fill(start.begin(), start.end(), 0);
        for (const auto& e : v)
            ++start[digit(e)];
        std::size_t at = 0;
        for (std::size_t& s : start)
            at += std::exchange(s, at);
        for (auto& e : v)
            out[start[digit(e)]++] = std::move(e);
        v.swap(out);
    }
}

// Rebuilds a map's keys from `first` on through newKey (old key -> new key).
// The entries are read out, the range dropped at once, and the entries put
// back in key order at the end: a reordering of many rows does not search
// the tree once per key.
template <class Map, class F> void RekeyFrom(Map& m, int first, F newKey)
{
    std::vector<std::pair<int, typename Map::mapped_type>> moved;
    const auto from = m.lower_bound(first);
    for (auto it = from; it != m.end(); ++it)
        if (const int key = newKey(it->first); key >= 0)
            moved.emplace_back(key, it->second);
    if (from == m.begin())
        m.clear();
    else
        m.erase(from, m.end());
    SortByKey(moved);
    for (const auto& [key, value] : moved)
        m.emplace_hint(m.end(), key, value);
}

// Extents that code may set near the int range saturate instead of wrapping.
int SaturatedExtent(qint64 v)
{
    return int(std::clamp<qint64>(v, 0, std::numeric_limits<int>::max()));
}

// Index maps of the set operations: where an item goes when the items at
// `rows` leave (-1 for those), and where an old item goes when new ones come
// in at `places` (the j-th new item passes every old item from places[j] - j).
int SetDeletedIndex(const std::vector<int>& rows, int k)
{
    const auto it = std::lower_bound(rows.begin(), rows.end(), k);
    return it != rows.end() && *it == k ? -1 : k - int(it - rows.begin());
}

int SetInsertedIndex(const std::vector<int>& places, int k)
{
    int lo = 0, hi = int(places.size());
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (places[std::size_t(mid)] - mid <= k)
            lo = mid + 1;
        else
            hi = mid;
    }
    return k + lo;
}

} // namespace

void TGridExtents::SetCount(int n)
{
    n = std::max(0, n);
    if (n < FCount) {
        FExceptions.erase(FExceptions.lower_bound(n), FExceptions.end());
        Stale(n);
    }
    if (FDense)
        FItems.resize(std::size_t(n), FDefault);
    FCount = n;
    ++FVersion;
}

void TGridExtents::SetDefault(int v)
{
    FDefault = std::max(0, v);
    FExceptions.clear();
    FDense = false;
    FItems = {};
    FTree = {};
    FTreeValid = 0;
    ++FVersion;
}

void TGridExtents::MakeDenseIfMany()
{
    if (FDense || FExceptions.size() <= FewExceptions || FExceptions.size() * DenseShare <= std::size_t(FCount))
        return;
    FItems.assign(std::size_t(FCount), FDefault);
    // Exceptions at or past the count (set before the count grew to them)
    // would come back with it: the array keeps only the items there are.
    for (const auto& [k, v] : FExceptions)
        if (k >= 0 && k < FCount)
            FItems[std::size_t(k)] = v;
    FExceptions.clear();
    FDense = true;
}

int TGridExtents::Get(int i) const
{
    if (FDense)
        return i >= 0 && i < FCount ? FItems[std::size_t(i)] : FDefault;
    if (FExceptions.empty())
        return FDefault;
    // Among many exceptions the tree answers from a few neighbouring nodes
    // where a search of the exceptions would go down a long way.
    if (UsesTree() && i >= 0 && i < FCount)
        return int(FDefault + DeltaSum(i, i + 1));
    const auto it = FExceptions.find(i);
    return it == FExceptions.end() ? FDefault : it->second;
}

void TGridExtents::Set(int i, int v)
{
    v = std::max(0, v);
    if (FDense) {
        if (i < 0 || i >= FCount)
            return;
        const qint64 change = qint64(v) - FItems[std::size_t(i)];
        FItems[std::size_t(i)] = v;
        if (change != 0 && i < FTreeValid)
            for (qint64 j = i + 1; j <= FTreeValid; j += j & -j)
                FTree[std::size_t(j)] += change;
        ++FVersion;
        return;
    }
    // The old extent from the exceptions: asking the tree could make it.
    const auto it = FExceptions.find(i);
    const qint64 change = qint64(v) - (it == FExceptions.end() ? FDefault : it->second);
    if (v == FDefault) {
        if (it != FExceptions.end())
            FExceptions.erase(it);
    } else if (it != FExceptions.end()) {
        it->second = v;
    } else {
        FExceptions.emplace(i, v);
    }
    // The nodes that hold carry the change on; later ones read it when made.
    if (change != 0 && i >= 0 && i < FTreeValid)
        for (qint64 j = i + 1; j <= FTreeValid; j += j & -j)
            FTree[std::size_t(j)] += change;
    ++FVersion;
    MakeDenseIfMany();
}

void TGridExtents::Move(int from, int to)
{
    if (from == to)
        return;
    MoveRange(from, 1, to);
}

void TGridExtents::Scale(int m, int d)
{
    if (d == 0)
        return;
    // Past the int range MulDiv gives -1: such an extent saturates.
    const auto scaled = [m, d](int v) {
        return qint64(v) * m / d >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                                    : std::max(0, MulDiv(v, m, d));
    };
    FDefault = scaled(FDefault);
    for (auto& [k, v] : FExceptions)
        v = scaled(v);
    for (int& v : FItems)
        v = scaled(v);
    Stale(0);
    ++FVersion;
}

void TGridExtents::Grow(int step)
{
    const auto grown = [step](int v) { return v > 0 && qint64(v) + step > 0 ? SaturatedExtent(qint64(v) + step) : v; };
    FDefault = grown(FDefault);
    for (int& v : FItems)
        v = grown(v);
    for (auto it = FExceptions.begin(); it != FExceptions.end();) {
        it->second = grown(it->second);
        it = it->second == FDefault ? FExceptions.erase(it) : std::next(it);
    }
    Stale(0);
    ++FVersion;
}

void TGridExtents::Insert(int at, int n)
{
    if (n <= 0 || at < 0 || at > FCount)
        return;
    if (FDense)
        FItems.insert(FItems.begin() + at, std::size_t(n), FDefault);
    else
        RekeyFrom(FExceptions, at, [n](int k) { return k + n; });
    Stale(at);
    FCount += n;
    ++FVersion;
}

void TGridExtents::Delete(int at, int n)
{
    n = std::min(n, FCount - at);
    if (n <= 0 || at < 0)
        return;
    if (FDense)
        FItems.erase(FItems.begin() + at, FItems.begin() + at + n);
    else
        RekeyFrom(FExceptions, at, [at, n](int k) { return k < at + n ? -1 : k - n; });
    Stale(at);
    FCount -= n;
    ++FVersion;
}

void TGridExtents::MoveRange(int from, int n, int to)
{
    if (n <= 0 || from == to || from < 0 || to < 0 || from + n > FCount || to + n > FCount)
        return;
    if (FDense) {
        const auto b = FItems.begin();
        if (from < to)
            std::rotate(b + from, b + from + n, b + to + n);
        else
            std::rotate(b + to, b + from, b + from + n);
    } else {
        RekeyFrom(FExceptions, std::min(from, to), [=](int k) { return RangeMovedIndex(k, from, n, to); });
    }
    Stale(std::min(from, to));
    ++FVersion;
}

void TGridExtents::Permute(int first, const std::vector<int>& order)
{
    if (order.empty())
        return;
    const std::vector<int> inverse = InversePermutation(first, order);
    const int end = first + int(order.size());
    if (FDense) {
        if (first < 0 || end > FCount)
            InvalidOp("Grid row order is not a permutation");
        std::vector<int> old(FItems.begin() + first, FItems.begin() + end);
        for (std::size_t k = 0; k < order.size(); ++k)
            FItems[std::size_t(first) + k] = old[std::size_t(order[k] - first)];
    } else {
        RekeyFrom(FExceptions, first, [&](int k) { return k < end ? inverse[std::size_t(k - first)] : k; });
    }
    Stale(first);
    ++FVersion;
}

void TGridExtents::Exchange(int a, int b)
{
    const int va = Get(a), vb = Get(b);
    Set(a, vb);
    Set(b, va);
}

// The keys come in ascending, so the set is walked beside them once, never
// searched per key.
void TGridExtents::DeleteSet(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    if (FDense) {
        std::size_t out = std::size_t(std::max(rows.front(), 0)), j = 0;
        for (std::size_t i = out; i < FItems.size(); ++i) {
            if (j < rows.size() && rows[j] == int(i)) {
                ++j;
                continue;
            }
            FItems[out++] = FItems[i];
        }
        FItems.resize(out);
        FCount = int(out);
    } else {
        std::size_t j = 0;
        RekeyFrom(FExceptions, rows.front(), [&](int k) {
            while (j < rows.size() && rows[j] < k)
                ++j;
            return j < rows.size() && rows[j] == k ? -1 : k - int(j);
        });
        FCount -= int(rows.size());
    }
    Stale(rows.front());
    ++FVersion;
}

void TGridExtents::InsertSet(const std::vector<int>& places)
{
    if (places.empty())
        return;
    const std::size_t n = places.size();
    if (FDense) {
        // From the end, each old item moves up by the new ones before it.
        std::size_t i = FItems.size();
        FItems.resize(FItems.size() + n, FDefault);
        std::size_t j = n, out = FItems.size();
        while (out > 0 && j > 0) {
            --out;
            if (places[j - 1] == int(out)) {
                FItems[out] = FDefault;
                --j;
            } else {
                FItems[out] = FItems[--i];
            }
        }
    } else {
        // The j-th new item passes every old item from places[j] - j on.
        std::size_t j = 0;
        RekeyFrom(FExceptions, places.front(), [&](int k) {
            while (j < n && places[j] - int(j) <= k)
                ++j;
            return k + int(j);
        });
    }
    Stale(places.front());
    FCount += int(n);
    ++FVersion;
}

std::vector<int> TGridExtents::GetSet(const std::vector<int>& items) const
{
    std::vector<int> out(items.size(), FDefault);
    if (FDense) {
        for (std::size_t k = 0; k < items.size(); ++k)
            if (items[k] >= 0 && items[k] < FCount)
                out[k] = FItems[std::size_t(items[k])];
    } else if (!FExceptions.empty() && !items.empty()) {
        auto it = FExceptions.lower_bound(items.front());
        for (std::size_t k = 0; k < items.size() && it != FExceptions.end(); ++k) {
            while (it != FExceptions.end() && it->first < items[k])
                ++it;
            if (it != FExceptions.end() && it->first == items[k])
                out[k] = it->second;
        }
    }
    return out;
}

// The nodes from FTreeValid + 1 to `upTo` are made from the exceptions, the
// way a whole tree is made in one pass (each node added to its parent once
// it is whole); of the nodes that hold, only those whose parent lies beyond
// them add in, and they are the ones a sum up to FTreeValid reads. A node
// covers only items before it, so the nodes past `upTo` can wait.
void TGridExtents::MakeTree(int upTo) const
{
    if (FTree.size() != std::size_t(FCount) + 1) {
        FTree.resize(std::size_t(FCount) + 1);
        FTreeValid = std::min(FTreeValid, FCount);
    }
    const qint64 n = std::min(upTo, FCount);
    const qint64 v = FTreeValid;
    if (v >= n)
        return;
    if (FDense) {
        for (qint64 j = v + 1; j <= n; ++j)
            FTree[std::size_t(j)] = qint64(FItems[std::size_t(j - 1)]) - FDefault;
    } else {
        std::fill(FTree.begin() + v + 1, FTree.begin() + n + 1, 0);
        for (auto it = FExceptions.lower_bound(int(v)); it != FExceptions.end() && it->first < n; ++it)
            FTree[std::size_t(it->first + 1)] = qint64(it->second) - FDefault;
    }
    for (qint64 j = v; j > 0; j -= j & -j)
        if (const qint64 parent = j + (j & -j); parent <= n)
            FTree[std::size_t(parent)] += FTree[std::size_t(j)];
    for (qint64 j = v + 1; j <= n; ++j)
        if (const qint64 parent = j + (j & -j); parent <= n)
            FTree[std::size_t(parent)] += FTree[std::size_t(j)];
    FTreeValid = int(n);
}

// The two prefixes' walks down the tree meet, and from there on cancel: a
// short range costs a few steps wherever it lies.
qint64 TGridExtents::DeltaSum(int first, int end) const
{
    if (end > FTreeValid)
        MakeTree(end);
    qint64 sum = 0;
    qint64 i = end, j = first;
    while (i != j) {
        if (i > j) {
            sum += FTree[std::size_t(i)];
            i -= i & -i;
        } else {
            sum -= FTree[std::size_t(j)];
            j -= j & -j;
        }
    }
    return sum;
}

qint64 TGridExtents::Sum(int first, int last) const
{
    first = std::max(first, 0);
    last = std::min(last, FCount - 1);
    if (last < first)
        return 0;
    qint64 sum = qint64(last - first + 1) * FDefault;
    if (UsesTree())
        return sum + DeltaSum(first, last + 1);
    for (auto it = FExceptions.lower_bound(first); it != FExceptions.end() && it->first <= last; ++it)
        sum += it->second - FDefault;
    return sum;
}

int TGridExtents::IndexAt(qint64 pos, int lineWidth) const
{
    if (pos < 0)
        return -1;
    const qint64 unit = qint64(FDefault) + lineWidth;
    if (!UsesTree()) {
        // Runs of default items between the exceptions.
        int i = 0;
        qint64 start = 0;
        auto inRun = [&](int end) {
            const qint64 run = qint64(end - i) * unit;
            if (unit > 0 && pos < start + run)
                return true;
            start += run;
            return false;
        };
        for (const auto& [k, v] : FExceptions) {
            if (k >= FCount)
                break;
            if (inRun(k))
                return i + int((pos - start) / unit);
            start += qint64(v) + lineWidth;
            if (pos < start)
                return k;
            i = k + 1;
        }
        return inRun(FCount) ? i + int((pos - start) / unit) : FCount;
    }
    MakeTree(FCount);
    // Down the tree: the most items whose spans end at or before pos.
    int at = 0;
    qint64 rest = pos;
    int step = 1;
    while (step <= FCount / 2)
        step *= 2;
    for (; step > 0; step /= 2) {
        const int next = at + step;
        if (next > FCount)
            continue;
        const qint64 span = FTree[std::size_t(next)] + qint64(step) * unit;
        if (span <= rest) {
            at = next;
            rest -= span;
        }
    }
    return at;
}

// ---------------------------------------------------------------------------
// TGridCellStore

TObject* TGridCellStore::TRowObjects::Find(int col) const
{
    if (col < FFirst.first || Empty())
        return nullptr;
    if (col == FFirst.first)
        return FFirst.second;
    for (const auto& [c, o] : FMore)
        if (c >= col)
            return c == col ? o : nullptr;
    return nullptr;
}

bool TGridCellStore::TRowObjects::Set(int col, TObject* object)
{
    if (Empty()) {
        FFirst = { col, object };
        return true;
    }
    if (col == FFirst.first) {
        FFirst.second = object;
        return false;
    }
    if (col < FFirst.first) {
        FMore.insert(FMore.begin(), FFirst);
        FFirst = { col, object };
        return true;
    }
    auto it = std::lower_bound(FMore.begin(), FMore.end(), col, [](const auto& e, int c) { return e.first < c; });
    if (it != FMore.end() && it->first == col) {
        it->second = object;
        return false;
    }
    FMore.insert(it, { col, object });
    return true;
}

bool TGridCellStore::TRowObjects::Erase(int col)
{
    if (Empty() || col < FFirst.first)
        return false;
    if (col == FFirst.first) {
        if (FMore.empty()) {
            FFirst = { -1, nullptr };
        } else {
            FFirst = FMore.front();
            FMore.erase(FMore.begin());
        }
        return true;
    }
    return std::erase_if(FMore, [col](const auto& e) { return e.first == col; }) > 0;
}

TGridCellStore::TObjectList TGridCellStore::TRowObjects::Take()
{
    TObjectList list;
    if (Empty())
        return list;
    list.reserve(1 + FMore.size());
    list.push_back(FFirst);
    list.insert(list.end(), FMore.begin(), FMore.end());
    *this = TRowObjects();
    return list;
}

void TGridCellStore::TRowObjects::Put(TObjectList&& list)
{
    *this = TRowObjects();
    std::erase_if(list, [](const auto& e) { return !e.second || e.first < 0; });
    if (list.empty())
        return;
    std::sort(list.begin(), list.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    FFirst = list.front();
    list.erase(list.begin());
    FMore = std::move(list);
}

template <class F> std::size_t TGridCellStore::TRowObjects::Remap(F newCol)
{
    TObjectList list = Take();
    const std::size_t before = list.size();
    for (auto& e : list)
        e.first = newCol(e.first);
    Put(std::move(list));
    return before - Size();
}

int TGridCellStore::SlotOf(int row) const
{
    return row < 0 || row >= int(FRows.size()) ? -1 : FRows[std::size_t(row)];
}

int TGridCellStore::SlotFor(int row)
{
    if (row >= int(FRows.size()))
        FRows.resize(std::size_t(row) + 1, -1);
    int slot = FRows[std::size_t(row)];
    if (slot < 0) {
        slot = NewSlot();
        FRows[std::size_t(row)] = slot;
    }
    return slot;
}

int TGridCellStore::NewSlot()
{
    if (!FFreeSlots.empty()) {
        const int slot = FFreeSlots.back();
        FFreeSlots.pop_back();
        return slot;
    }
    FTexts.emplace_back();
    FObjects.emplace_back();
    FHeld.push_back(false);
    return int(FTexts.size()) - 1;
}

void TGridCellStore::FreeSlot(int slot)
{
    if (slot < 0)
        return;
    TRowTexts().swap(FTexts[std::size_t(slot)]);
    // The objects' side is read only for slots that hold some.
    if (FHeld[std::size_t(slot)]) {
        FObjectCount -= FObjects[std::size_t(slot)].Size();
        FObjects[std::size_t(slot)] = TRowObjects();
        FHeld[std::size_t(slot)] = false;
    }
    FFreeSlots.push_back(slot);
}

void TGridCellStore::DropIfEmpty(int row)
{
    if (row < 0 || row >= int(FRows.size()))
        return;
    int& slot = FRows[std::size_t(row)];
    if (slot < 0)
        return;
    if (!FTexts[std::size_t(slot)].empty() || FHeld[std::size_t(slot)])
        return;
    FreeSlot(slot);
    slot = -1;
    TrimRows();
}

void TGridCellStore::TrimRows()
{
    while (!FRows.empty() && FRows.back() < 0)
        FRows.pop_back();
}

const QString& TGridCellStore::Text(int col, int row) const
{
    const int slot = SlotOf(row);
    if (slot < 0 || col < 0)
        return EmptyText();
    const TRowTexts& r = FTexts[std::size_t(slot)];
    return col < int(r.size()) ? r[std::size_t(col)] : EmptyText();
}

TObject* TGridCellStore::Object(int col, int row) const
{
    if (FObjectCount == 0 || col < 0)
        return nullptr;
    const int slot = SlotOf(row);
    return slot < 0 || !FHeld[std::size_t(slot)] ? nullptr : FObjects[std::size_t(slot)].Find(col);
}

void TGridCellStore::SetText(int col, int row, const QString& text)
{
    ++FTextEdits;
    if (row < 0 || col < 0 || row >= FRowLimit || col >= FColLimit)
        return;
    if (text.isEmpty()) {
        // Nothing stored there: keep it that way.
        const int slot = SlotOf(row);
        if (slot < 0 || col >= int(FTexts[std::size_t(slot)].size()))
            return;
    }
    TRowTexts& r = FTexts[std::size_t(SlotFor(row))];
    if (col >= int(r.size()))
        // The whole row at once, so that filling it allocates once.
        r.resize(std::size_t(std::max(col + 1, FColCount)));
    r[std::size_t(col)] = text;
}

void TGridCellStore::SetObject(int col, int row, TObject* object)
{
    if (row < 0 || col < 0 || row >= FRowLimit || col >= FColLimit)
        return;
    if (!object && !Object(col, row))
        return;
    if (object) {
        const int slot = SlotFor(row);
        FObjectCount += FObjects[std::size_t(slot)].Set(col, object) ? 1 : 0;
        FHeld[std::size_t(slot)] = true;
        return;
    }
    const int slot = FRows[std::size_t(row)];
    FObjects[std::size_t(slot)].Erase(col);
    FHeld[std::size_t(slot)] = !FObjects[std::size_t(slot)].Empty();
    --FObjectCount;
    DropIfEmpty(row);
}

void TGridCellStore::SetRowLimit(int rows)
{
    ++FTextEdits;
    FRowLimit = std::max(0, rows);
    if (FRowLimit < int(FRows.size())) {
        for (std::size_t i = std::size_t(FRowLimit); i < FRows.size(); ++i)
            FreeSlot(FRows[i]);
        FRows.resize(std::size_t(FRowLimit));
        TrimRows();
    }
}

void TGridCellStore::SetColCount(int cols)
{
    FColCount = std::max(0, cols);
    FColLimit = std::max(FColLimit, FColCount);
}

void TGridCellStore::MoveColumn(int from, int to)
{
    ++FTextEdits;
    if (from == to || from < 0 || to < 0)
        return;
    const int lo = std::min(from, to);
    const int hi = std::max(from, to);
    // Free slots are empty and pass.
    for (std::size_t i = 0; i < FTexts.size(); ++i) {
        TRowTexts& r = FTexts[i];
        if (int(r.size()) > lo) {
            if (int(r.size()) <= hi)
                r.resize(std::size_t(hi) + 1);
            auto b = r.begin();
            if (from < to)
                std::rotate(b + from, b + from + 1, b + to + 1);
            else
                std::rotate(b + to, b + from, b + from + 1);
        }
        if (FHeld[i])
            FObjects[i].Remap([=](int c) { return RangeMovedIndex(c, from, 1, to); });
    }
}

void TGridCellStore::PermuteColumns(int first, const std::vector<int>& order)
{
    ++FTextEdits;
    if (order.empty())
        return;
    const std::vector<int> inverse = InversePermutation(first, order);
    const int end = first + int(order.size());
    if (first < 0 || end > FColLimit)
        InvalidOp(SIndexOutOfRange);
    TRowTexts moved(order.size());
    for (std::size_t i = 0; i < FTexts.size(); ++i) {
        TRowTexts& r = FTexts[i];
        if (int(r.size()) > first) {
            if (int(r.size()) < end)
                r.resize(std::size_t(end));
            for (std::size_t k = 0; k < order.size(); ++k)
                moved[k] = std::move(r[std::size_t(order[k])]);
            std::move(moved.begin(), moved.end(), r.begin() + first);
        }
        if (FHeld[i])
            FObjects[i].Remap([&](int c) { return c >= first && c < end ? inverse[std::size_t(c - first)] : c; });
    }
}

void TGridCellStore::MoveRow(int from, int to)
{
    MoveRows(from, 1, to);
}

void TGridCellStore::DropColumn(int col, bool closeUp)
{
    ++FTextEdits;
    // Slot by slot, in memory order; free slots are empty and pass.
    bool emptied = false;
    for (std::size_t i = 0; i < FTexts.size(); ++i) {
        TRowTexts& texts = FTexts[i];
        if (col < int(texts.size())) {
            if (closeUp)
                texts.erase(texts.begin() + col);
            else
                texts[std::size_t(col)] = QString();
        }
        if (!FHeld[i])
            continue;
        TRowObjects& objects = FObjects[i];
        const std::size_t gone = objects.Remap([=](int c) { return c == col ? -1 : (closeUp && c > col ? c - 1 : c); });
        FObjectCount -= gone;
        FHeld[i] = !objects.Empty();
        emptied = emptied || (gone > 0 && objects.Empty() && texts.empty());
    }
    if (emptied)
        for (int row = int(FRows.size()) - 1; row >= 0; --row)
            DropIfEmpty(row);
}

std::vector<int> TGridCellStore::RowsWithObjects(int first, int last) const
{
    std::vector<int> rows;
    if (FObjectCount == 0)
        return rows;
    last = std::min(last, int(FRows.size()) - 1);
    for (int r = std::max(first, 0); r <= last; ++r) {
        const int slot = FRows[std::size_t(r)];
        if (slot >= 0 && FHeld[std::size_t(slot)])
            rows.push_back(r);
    }
    return rows;
}

void TGridCellStore::DeleteColumn(int col)
{
    if (col < 0 || col >= FColLimit)
        return;
    DropColumn(col, true);
    --FColLimit;
    FColCount = std::min(FColCount, FColLimit);
}

void TGridCellStore::ClearColumn(int col)
{
    if (col >= 0)
        DropColumn(col, false);
}

void TGridCellStore::ClearRow(int row)
{
    ++FTextEdits;
    if (row >= 0 && row < int(FRows.size())) {
        FreeSlot(FRows[std::size_t(row)]);
        FRows[std::size_t(row)] = -1;
        TrimRows();
    }
}

void TGridCellStore::InsertRows(int at, int n)
{
    ++FTextEdits;
    if (n <= 0 || at < 0 || at > FRowLimit)
        return;
    if (at < int(FRows.size()))
        FRows.insert(FRows.begin() + at, std::size_t(n), -1);
    FRowLimit += n;
}

void TGridCellStore::DeleteRows(int at, int n)
{
    ++FTextEdits;
    n = std::min(n, FRowLimit - at);
    if (n <= 0 || at < 0)
        return;
    if (at < int(FRows.size())) {
        const int end = std::min(at + n, int(FRows.size()));
        for (int i = at; i < end; ++i)
            FreeSlot(FRows[std::size_t(i)]);
        FRows.erase(FRows.begin() + at, FRows.begin() + end);
        TrimRows();
    }
    FRowLimit -= n;
}

void TGridCellStore::MoveRows(int from, int n, int to)
{
    ++FTextEdits;
    if (n <= 0 || from == to || from < 0 || to < 0 || from + n > FRowLimit || to + n > FRowLimit)
        return;
    const int lo = std::min(from, to);
    if (lo < int(FRows.size())) {
        const int hi = std::max(from, to) + n;
        if (hi > int(FRows.size()))
            FRows.resize(std::size_t(hi), -1);
        auto b = FRows.begin();
        if (to < from)
            std::rotate(b + to, b + from, b + from + n);
        else
            std::rotate(b + from, b + from + n, b + to + n);
        TrimRows();
    }
}

void TGridCellStore::PermuteRows(int first, const std::vector<int>& order)
{
    ++FTextEdits;
    if (order.empty())
        return;
    // Only a permutation of the range is taken.
    (void)InversePermutation(first, order);
    const int n = int(order.size());
    if (first < 0 || first + n > FRowLimit)
        InvalidOp(SIndexOutOfRange);
    if (first < int(FRows.size())) {
        if (first + n > int(FRows.size()))
            FRows.resize(std::size_t(first + n), -1);
        std::vector<int> moved(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k)
            moved[std::size_t(k)] = FRows[std::size_t(order[std::size_t(k)])];
        std::copy(moved.begin(), moved.end(), FRows.begin() + first);
        TrimRows();
    }
}

void TGridCellStore::ExchangeRows(int a, int b)
{
    ++FTextEdits;
    if (a < 0 || b < 0 || a >= FRowLimit || b >= FRowLimit)
        InvalidOp(SIndexOutOfRange);
    if (a == b || std::min(a, b) >= int(FRows.size()))
        return;
    if (std::max(a, b) >= int(FRows.size()))
        FRows.resize(std::size_t(std::max(a, b)) + 1, -1);
    std::swap(FRows[std::size_t(a)], FRows[std::size_t(b)]);
    TrimRows();
}

void TGridCellStore::DeleteRowSet(const std::vector<int>& rows)
{
    ++FTextEdits;
    if (rows.empty())
        return;
    std::size_t out = std::size_t(std::max(rows.front(), 0)), j = 0;
    for (std::size_t i = out; i < FRows.size(); ++i) {
        if (j < rows.size() && rows[j] == int(i)) {
            FreeSlot(FRows[i]);
            ++j;
            continue;
        }
        FRows[out++] = FRows[i];
    }
    if (out < FRows.size())
        FRows.resize(out);
    TrimRows();
    FRowLimit -= int(rows.size());
}

void TGridCellStore::InsertRowSet(const std::vector<int>& places)
{
    ++FTextEdits;
    if (places.empty())
        return;
    const std::size_t n = places.size();
    if (std::size_t(places.front()) < FRows.size()) {
        std::vector<int> out;
        out.reserve(FRows.size() + n);
        std::size_t i = 0, j = 0;
        while (i < FRows.size()) {
            if (j < n && places[j] == int(out.size())) {
                out.push_back(-1);
                ++j;
            } else {
                out.push_back(FRows[i++]);
            }
        }
        FRows.swap(out);
        TrimRows();
    }
    FRowLimit += int(n);
}

TGridStoredRow TGridCellStore::TakeRow(int row)
{
    ++FTextEdits;
    TGridStoredRow cells;
    if (row < 0 || row >= int(FRows.size()) || FRows[std::size_t(row)] < 0)
        return cells;
    int& slot = FRows[std::size_t(row)];
    cells.Texts.swap(FTexts[std::size_t(slot)]);
    if (FHeld[std::size_t(slot)]) {
        cells.Objects = FObjects[std::size_t(slot)].Take();
        FObjectCount -= cells.Objects.size();
        FHeld[std::size_t(slot)] = false;
    }
    FreeSlot(slot);
    slot = -1;
    TrimRows();
    return cells;
}

void TGridCellStore::PutRow(int row, TGridStoredRow&& cells)
{
    ++FTextEdits;
    if (row < 0 || row >= FRowLimit)
        return;
    ClearRow(row);
    TRowObjects objects;
    objects.Put(std::move(cells.Objects));
    cells.Objects.clear();
    if (cells.Texts.empty() && objects.Empty())
        return;
    const int slot = SlotFor(row);
    FColLimit = std::max(FColLimit, int(cells.Texts.size()));
    FTexts[std::size_t(slot)].swap(cells.Texts);
    cells.Texts.clear();
    if (!objects.Empty()) {
        FColLimit = std::max(FColLimit, objects.LastCol() + 1);
        FObjectCount += objects.Size();
        FObjects[std::size_t(slot)] = std::move(objects);
        FHeld[std::size_t(slot)] = true;
    }
}

void TGridCellStore::Clear()
{
    ++FTextEdits;
    FTexts.clear();
    FObjects.clear();
    FFreeSlots.clear();
    FHeld.clear();
    FRows.clear();
    FObjectCount = 0;
}

void TGridCellStore::PrefetchColumn(int col, int row) const
{
    // The objects' steps are the objects-only walk's.
    PrefetchObjects(row);
    PrefetchTexts(col, row);
}

void TGridCellStore::PrefetchTexts(int col, int row) const
{
    // Three steps, each for rows whose previous step has had time to land:
    // the row's entries, then its texts, then the text itself.
    if (const int s = SlotOf(row + 16); s >= 0)
        __builtin_prefetch(&FTexts[std::size_t(s)]);
    if (const int s = SlotOf(row + 8); s >= 0) {
        const TRowTexts& texts = FTexts[std::size_t(s)];
        if (col >= 0 && col < int(texts.size()))
            __builtin_prefetch(texts.data() + col);
    }
    if (const int s = SlotOf(row + 4); s >= 0) {
        const TRowTexts& texts = FTexts[std::size_t(s)];
        if (col >= 0 && col < int(texts.size()))
            __builtin_prefetch(texts[std::size_t(col)].constData());
    }
}

void TGridCellStore::PrefetchObjects(int row) const
{
    if (const int s = SlotOf(row + 16); s >= 0)
        __builtin_prefetch(&FObjects[std::size_t(s)]);
    if (const int s = SlotOf(row + 8); s >= 0)
        __builtin_prefetch(FObjects[std::size_t(s)].First());
}

int TGridCellStore::StoredRowCount() const
{
    return int(FRows.size());
}

int TGridCellStore::StoredColCount() const
{
    int n = 0;
    for (const TRowTexts& texts : FTexts)
        n = std::max(n, int(texts.size()));
    for (const TRowObjects& objects : FObjects)
        if (!objects.Empty())
            n = std::max(n, objects.LastCol() + 1);
    return n;
}

// ---------------------------------------------------------------------------
// TCustomGrid: construction and dimensions

TCustomGrid::TCustomGrid(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FColWidths.SetDefault(64);
    FRowHeights.SetDefault(24);
    FColWidths.SetCount(5);
    FRowHeights.SetCount(5);
    FOptions = TGridOptions(goFixedVertLine) | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    FColor = clWindow;
    FParentColor = false;
    FTabStop = true;
    // The grid fires OnClick itself (after a selection, a cursor move), not on
    // every button release.
    FControlStyle = TControlStyle(csCaptureMouse) | csOpaque | csDoubleClicks;
    Initialize();
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid()
{
    // The editor is owned by the grid as a component and freed after this
    // part of the grid: it must not call back into it.
    if (FInplaceEdit)
        FInplaceEdit->SetGrid(nullptr);
    FInplaceEdit = nullptr;
    // The bars die with the widget, after this part of the grid.
    for (QScrollBar*& sb : FBarWidget) {
        if (sb)
            QObject::disconnect(sb, nullptr, nullptr, nullptr);
        sb = nullptr;
    }
}

void TCustomGrid::Initialize()
{
    FTopLeft = { FFixedCols, FFixedRows };
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions.testFlag(goRowSelect))
        FAnchor.X = ColCount() - 1;
}

void TCustomGrid::SetColCount(int v)
{
    if (v == ColCount())
        return;
    v = std::max(1, v);
    if (v <= FFixedCols)
        SetFixedCols(v - 1);
    ChangeSize(v, RowCount());
    if (FOptions.testFlag(goRowSelect)) {
        FAnchor.X = ColCount() - 1;
        InvalidateGrid();
    }
}

void TCustomGrid::SetRowCount(int v)
{
    if (v == RowCount())
        return;
    v = std::max(1, v);
    if (v <= FFixedRows)
        SetFixedRows(v - 1);
    ChangeSize(ColCount(), v);
}

void TCustomGrid::SetFixedCols(int v)
{
    if (v == FFixedCols)
        return;
    if (v < 0)
        InvalidOp(SIndexOutOfRange);
    if (v >= ColCount())
        InvalidOp(SFixedColTooBig);
    FFixedCols = v;
    Initialize();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditor();
}

void TCustomGrid::SetFixedRows(int v)
{
    if (v == FFixedRows)
        return;
    if (v < 0)
        InvalidOp(SIndexOutOfRange);
    if (v >= RowCount())
        InvalidOp(SFixedRowTooBig);
    FFixedRows = v;
    Initialize();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditor();
}

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount)
{
    const int oldCols = ColCount();
    const int oldRows = RowCount();
    FColWidths.SetCount(NewColCount);
    FRowHeights.SetCount(NewRowCount);
    if (int(FTabStops.size()) > NewColCount)
        FTabStops.resize(std::size_t(NewColCount));
    // An editor on a cell that leaves the grid closes without storing.
    if (FInplaceEdit && (FInplaceCol >= NewColCount || FInplaceRow >= NewRowCount)) {
        FInplaceCol = FInplaceRow = -1;
        FInplaceEdit->HideEdit();
    }

    const TGridCoord newCurrent { std::min(FCurrent.X, NewColCount - 1), std::min(FCurrent.Y, NewRowCount - 1) };
    if (!(newCurrent == FCurrent)) {
        MoveCurrent(newCurrent.X, newCurrent.Y, true, true);
        // A refused move must still not leave the cursor outside the grid.
        if (FCurrent.X >= NewColCount || FCurrent.Y >= NewRowCount) {
            FCurrent = newCurrent;
            FAnchor = newCurrent;
        }
    }
    if (!(FAnchor == FCurrent))
        MoveAnchor(FCurrent);
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, NewColCount - 1));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, NewRowCount - 1));
    SizeChanged(oldCols, oldRows);
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditor();
}

void TCustomGrid::SetDefaultColWidth(int v)
{
    FColWidths.SetDefault(v);
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int v)
{
    FRowHeights.SetDefault(v);
    RowHeightsChanged();
}

void TCustomGrid::SetColWidths(int i, int v)
{
    if (i < 0 || i >= ColCount())
        InvalidOp(SIndexOutOfRange);
    if (FColWidths.Get(i) == std::max(0, v))
        return;
    FColWidths.Set(i, v);
    ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int i, int v)
{
    if (i < 0 || i >= RowCount())
        InvalidOp(SIndexOutOfRange);
    if (FRowHeights.Get(i) == std::max(0, v))
        return;
    FRowHeights.Set(i, v);
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int v)
{
    v = std::max(0, v);
    if (v == FGridLineWidth)
        return;
    FGridLineWidth = v;
    ColWidthsChanged();
    RowHeightsChanged();
}

bool TCustomGrid::TabStops(int i) const
{
    return i < 0 || i >= int(FTabStops.size()) || FTabStops[std::size_t(i)];
}

void TCustomGrid::SetTabStops(int i, bool v)
{
    if (i < 0 || i >= ColCount())
        InvalidOp(SIndexOutOfRange);
    if (int(FTabStops.size()) <= i)
        FTabStops.resize(std::size_t(ColCount()), true);
    FTabStops[std::size_t(i)] = v;
}

void TCustomGrid::SetOptions(TGridOptions v)
{
    if (v == FOptions)
        return;
    if (v.testFlag(goRowSelect))
        v &= ~TGridOptions(goAlwaysShowEditor);
    const TGridOptions old = FOptions;
    FOptions = v;
    if (!FEditorMode) {
        if (v.testFlag(goAlwaysShowEditor))
            ShowEditor();
        else
            HideEditor();
    }
    if (v.testFlag(goRowSelect))
        MoveCurrent(FCurrent.X, FCurrent.Y, true, false);
    const TGridOptions lines = TGridOptions(goFixedVertLine) | goVertLine | goFixedHorzLine | goHorzLine;
    if ((old ^ v) & lines) {
        // The line widths count in the layout.
        ColWidthsChanged();
        RowHeightsChanged();
    } else {
        InvalidateGrid();
    }
}

void TCustomGrid::SetFixedColor(TColor v)
{
    if (v == FFixedColor)
        return;
    FFixedColor = v;
    InvalidateGrid();
}

void TCustomGrid::SetDefaultDrawing(bool v)
{
    if (v == FDefaultDrawing)
        return;
    FDefaultDrawing = v;
    InvalidateGrid();
}

void TCustomGrid::SetScrollBarAlways(int bar, bool v)
{
    bar = bar == SB_VERT ? SB_VERT : SB_HORZ;
    if (FBarAlways[bar] == v)
        return;
    FBarAlways[bar] = v;
    UpdateScrollRange();
}

void TCustomGrid::SetScrollBars(TScrollStyle v)
{
    if (v == FScrollBars)
        return;
    FScrollBars = v;
    UpdateScrollRange();
}

void TCustomGrid::ChangeScale(int M, int D)
{
    if (M == D || D == 0)
        return;
    FColWidths.Scale(M, D);
    FRowHeights.Scale(M, D);
    ColWidthsChanged();
    RowHeightsChanged();
}

void TCustomGrid::GrowExtents(int Step)
{
    if (Step == 0)
        return;
    FColWidths.Grow(Step);
    FRowHeights.Grow(Step);
    ColWidthsChanged();
    RowHeightsChanged();
}

// ---------------------------------------------------------------------------
// Hooks with the toolkit's default behaviour

bool TCustomGrid::SelectCell(int, int)
{
    return true;
}

bool TCustomGrid::CanGridAcceptKey(WORD, TShiftState)
{
    return true;
}

bool TCustomGrid::CanEditAcceptKey(char16_t)
{
    return true;
}

bool TCustomGrid::CanEditModify()
{
    return FCanEditModify;
}

QString TCustomGrid::GetEditText(int, int)
{
    return QString();
}

void TCustomGrid::SetEditText(int, int, const QString&) { }

QString TCustomGrid::GetEditMask(int, int)
{
    return QString();
}

int TCustomGrid::GetEditLimit()
{
    return 0;
}

void TCustomGrid::TopLeftChanged()
{
    if (FEditorMode && FInplaceEdit)
        FInplaceEdit->UpdateLoc(EditorRect());
}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditor();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditor();
}

void TCustomGrid::SizeChanged(int, int) { }

void TCustomGrid::ColumnMoved(int, int) { }

void TCustomGrid::RowMoved(int, int) { }

bool TCustomGrid::BeginColumnDrag(int&, int&, TPoint)
{
    return true;
}
bool TCustomGrid::CheckColumnDrag(int&, int&, TPoint)
{
    return true;
}
bool TCustomGrid::EndColumnDrag(int&, int&, TPoint)
{
    return true;
}
bool TCustomGrid::BeginRowDrag(int&, int&, TPoint)
{
    return true;
}
bool TCustomGrid::CheckRowDrag(int&, int&, TPoint)
{
    return true;
}
bool TCustomGrid::EndRowDrag(int&, int&, TPoint)
{
    return true;
}

// ---------------------------------------------------------------------------
// Moving and deleting rows and columns

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex)
        return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
        InvalidOp(SIndexOutOfRange);
    FColWidths.Move(FromIndex, ToIndex);
    if (!FTabStops.empty()) {
        FTabStops.resize(std::size_t(ColCount()), true);
        const bool stop = FTabStops[std::size_t(FromIndex)];
        FTabStops.erase(FTabStops.begin() + FromIndex);
        FTabStops.insert(FTabStops.begin() + ToIndex, stop);
    }
    MoveAdjust(FCurrent.X, FromIndex, ToIndex);
    MoveAdjust(FAnchor.X, FromIndex, ToIndex);
    if (FInplaceCol >= 0)
        MoveAdjust(FInplaceCol, FromIndex, ToIndex);
    InvalidateGrid();
    ColumnMoved(FromIndex, ToIndex);
    ColWidthsChanged();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex)
        return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        InvalidOp(SIndexOutOfRange);
    FRowHeights.Move(FromIndex, ToIndex);
    MoveAdjust(FCurrent.Y, FromIndex, ToIndex);
    MoveAdjust(FAnchor.Y, FromIndex, ToIndex);
    if (FInplaceRow >= 0)
        MoveAdjust(FInplaceRow, FromIndex, ToIndex);
    InvalidateGrid();
    RowMoved(FromIndex, ToIndex);
    RowHeightsChanged();
}

void TCustomGrid::DeleteColumn(int ACol)
{
    MoveColumn(ACol, ColCount() - 1);
    SetColCount(ColCount() - 1);
}

void TCustomGrid::DeleteRow(int ARow)
{
    MoveRow(ARow, RowCount() - 1);
    SetRowCount(RowCount() - 1);
}

void TCustomGrid::RowsInserted(int, int) { }
void TCustomGrid::RowsDeleted(int, int) { }
void TCustomGrid::RowsMoved(int, int, int) { }
void TCustomGrid::RowsPermuted(int, const std::vector<int>&) { }
void TCustomGrid::ColumnsPermuted(int, const std::vector<int>&) { }

void TCustomGrid::RowsExchanged(int ARow1, int ARow2)
{
    const int lo = std::min(ARow1, ARow2), hi = std::max(ARow1, ARow2);
    std::vector<int> order(std::size_t(hi - lo + 1));
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = lo + int(k);
    std::swap(order.front(), order.back());
    RowsPermuted(lo, order);
}
void TCustomGrid::RowSetDeleted(const std::vector<int>&) { }
void TCustomGrid::RowSetInserted(const std::vector<int>&) { }

template <class F> void TCustomGrid::RowsRenumbered(F newRow, int oldRowCount)
{
    const int rows = RowCount();
    auto follow = [&](int& row) {
        const int r = newRow(row);
        row = r < 0 ? std::min(row, rows - 1) : r;
    };
    // An editor whose row left closes without storing.
    if (FInplaceRow >= 0) {
        const int r = newRow(FInplaceRow);
        if (r < 0) {
            FInplaceCol = FInplaceRow = -1;
            if (FInplaceEdit)
                FInplaceEdit->HideEdit();
        } else {
            FInplaceRow = r;
        }
    }
    follow(FCurrent.Y);
    follow(FAnchor.Y);
    FCurrent.Y = std::clamp(FCurrent.Y, std::min(FFixedRows, rows - 1), rows - 1);
    FAnchor.Y = std::clamp(FAnchor.Y, std::min(FFixedRows, rows - 1), rows - 1);
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, rows - 1));
    if (rows != oldRowCount)
        SizeChanged(ColCount(), oldRowCount);
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditor();
}

void TCustomGrid::InsertRows(int ARow, int ACount)
{
    if (ARow < 0 || ARow > RowCount())
        InvalidOp(SIndexOutOfRange);
    if (ACount <= 0)
        return;
    const int oldRows = RowCount();
    FRowHeights.Insert(ARow, ACount);
    RowsInserted(ARow, ACount);
    RowsRenumbered([=](int r) { return r >= ARow ? r + ACount : r; }, oldRows);
}

void TCustomGrid::DeleteRows(int ARow, int ACount)
{
    if (ARow < 0 || ARow >= RowCount())
        InvalidOp(SIndexOutOfRange);
    // At least one row stays, as with RowCount.
    ACount = std::min(ACount, RowCount() - std::max(ARow, 1));
    if (ACount <= 0)
        return;
    const int oldRows = RowCount();
    if (oldRows - ACount <= FFixedRows)
        SetFixedRows(oldRows - ACount - 1);
    FRowHeights.Delete(ARow, ACount);
    RowsDeleted(ARow, ACount);
    RowsRenumbered([=](int r) { return r < ARow ? r : r >= ARow + ACount ? r - ACount : -1; }, oldRows);
}

void TCustomGrid::MoveRows(int FromIndex, int ACount, int ToIndex)
{
    if (ACount <= 0 || FromIndex == ToIndex)
        return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex + ACount > RowCount() || ToIndex + ACount > RowCount())
        InvalidOp(SIndexOutOfRange);
    FRowHeights.MoveRange(FromIndex, ACount, ToIndex);
    RowsMoved(FromIndex, ACount, ToIndex);
    RowsRenumbered([=](int r) { return RangeMovedIndex(r, FromIndex, ACount, ToIndex); }, RowCount());
}

void TCustomGrid::DeleteRowSet(const std::vector<int>& Rows)
{
    if (Rows.empty())
        return;
    if (Rows.front() < 0 || Rows.back() >= RowCount() || int(Rows.size()) >= RowCount())
        InvalidOp(SIndexOutOfRange);
    const int oldRows = RowCount();
    const int n = int(Rows.size());
    if (oldRows - n <= FFixedRows)
        SetFixedRows(oldRows - n - 1);
    FRowHeights.DeleteSet(Rows);
    RowSetDeleted(Rows);
    RowsRenumbered([&](int r) { return SetDeletedIndex(Rows, r); }, oldRows);
}

void TCustomGrid::InsertRowSet(const std::vector<int>& Places)
{
    if (Places.empty())
        return;
    if (Places.front() < 0 || Places.back() >= RowCount() + int(Places.size()))
        InvalidOp(SIndexOutOfRange);
    const int oldRows = RowCount();
    FRowHeights.InsertSet(Places);
    RowSetInserted(Places);
    RowsRenumbered([&](int r) { return SetInsertedIndex(Places, r); }, oldRows);
}

void TCustomGrid::PermuteRows(int First, const std::vector<int>& Order)
{
    if (Order.empty())
        return;
    if (First < 0 || First + int(Order.size()) > RowCount())
        InvalidOp(SIndexOutOfRange);
    const std::vector<int> inverse = InversePermutation(First, Order);
    FRowHeights.Permute(First, Order);
    RowsPermuted(First, Order);
    const int end = First + int(Order.size());
    RowsRenumbered([&](int r) { return r >= First && r < end ? inverse[std::size_t(r - First)] : r; }, RowCount());
}

void TCustomGrid::PermuteColumns(int First, const std::vector<int>& Order)
{
    if (Order.empty())
        return;
    if (First < 0 || First + int(Order.size()) > ColCount())
        InvalidOp(SIndexOutOfRange);
    const std::vector<int> inverse = InversePermutation(First, Order);
    const int end = First + int(Order.size());
    FColWidths.Permute(First, Order);
    if (!FTabStops.empty()) {
        FTabStops.resize(std::size_t(ColCount()), true);
        const std::vector<bool> stops(FTabStops);
        for (std::size_t k = 0; k < Order.size(); ++k)
            FTabStops[std::size_t(First) + k] = stops[std::size_t(Order[k])];
    }
    const auto follow = [&](int& c) {
        if (c >= First && c < end)
            c = inverse[std::size_t(c - First)];
    };
    follow(FCurrent.X);
    follow(FAnchor.X);
    if (FInplaceCol >= 0)
        follow(FInplaceCol);
    InvalidateGrid();
    ColumnsPermuted(First, Order);
    ColWidthsChanged();
}

void TCustomGrid::ExchangeRows(int ARow1, int ARow2)
{
    if (ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        InvalidOp(SIndexOutOfRange);
    if (ARow1 == ARow2)
        return;
    FRowHeights.Exchange(ARow1, ARow2);
    RowsExchanged(ARow1, ARow2);
    RowsRenumbered([=](int r) { return r == ARow1 ? ARow2 : r == ARow2 ? ARow1 : r; }, RowCount());
}

// ---------------------------------------------------------------------------
// Geometry

TGridAxisDrawInfo TCustomGrid::AxisInfo(bool horz, int extent) const
{
    TGridAxisDrawInfo a;
    a.Extents = horz ? &FColWidths : &FRowHeights;
    const TGridOptions lines
        = horz ? (TGridOptions(goFixedVertLine) | goVertLine) : (TGridOptions(goFixedHorzLine) | goHorzLine);
    a.EffectiveLineWidth = (FOptions & lines) ? std::min(FGridLineWidth, TGridAxisDrawInfo::MaxExtent) : 0;
    a.FixedCellCount = horz ? FFixedCols : FFixedRows;
    a.FirstGridCell = horz ? FTopLeft.X : FTopLeft.Y;
    a.GridCellCount = horz ? ColCount() : RowCount();
    a.GridExtent = std::clamp(extent, 0, TGridAxisDrawInfo::MaxExtent);
    const int lw = a.EffectiveLineWidth;
    int fixed = 0;
    for (int i = 0; i < a.FixedCellCount; ++i) {
        fixed += a.Extent(i) + lw;
        if (fixed > a.GridExtent)
            break;
    }
    a.FixedBoundary = std::min(fixed, a.GridExtent);
    a.FullVisBoundary = a.FixedBoundary;
    a.GridBoundary = a.FixedBoundary;
    a.LastFullVisibleCell = a.FirstGridCell - 1;
    int pos = a.FixedBoundary;
    for (int i = a.FirstGridCell; i < a.GridCellCount; ++i) {
        const int next = pos + a.Extent(i) + lw;
        // The line after the last cell may run past the edge.
        if (next > a.GridExtent + lw) {
            a.GridBoundary = a.GridExtent;
            break;
        }
        a.LastFullVisibleCell = i;
        a.FullVisBoundary = next;
        a.GridBoundary = std::min(next, a.GridExtent);
        pos = next;
        if (pos >= a.GridExtent)
            break;
    }
    // A cell wider than the client still counts as one page.
    if (a.LastFullVisibleCell < a.FirstGridCell && a.FirstGridCell < a.GridCellCount)
        a.LastFullVisibleCell = a.FirstGridCell;
    return a;
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& info) const
{
    const TRect cr = ClientRect();
    const TDrawInfoKey key { cr.Width(), cr.Height(), FTopLeft, FFixedCols, FFixedRows, FGridLineWidth,
        unsigned(FOptions & (TGridOptions(goFixedVertLine) | goVertLine | goFixedHorzLine | goHorzLine)),
        FColWidths.Version(), FRowHeights.Version() };
    if (!(key == FDrawInfoKey)) {
        CalcDrawInfoXY(FDrawInfo, cr.Width(), cr.Height());
        FDrawInfoKey = key;
    }
    info = FDrawInfo;
}

void TCustomGrid::CalcDrawInfoXY(TGridDrawInfo& info, int UseWidth, int UseHeight) const
{
    info.Horz = AxisInfo(true, UseWidth);
    info.Vert = AxisInfo(false, UseHeight);
}

int TCustomGrid::VisibleColCount() const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return std::max(0, info.Horz.LastFullVisibleCell - FTopLeft.X + 1);
}

int TCustomGrid::VisibleRowCount() const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return std::max(0, info.Vert.LastFullVisibleCell - FTopLeft.Y + 1);
}

int TCustomGrid::GridWidth() const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return info.Horz.GridBoundary;
}

int TCustomGrid::GridHeight() const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return info.Vert.GridBoundary;
}

// Start of a cell in client coordinates, -1 when it does not show.
int TCustomGrid::LinePos(const TGridAxisDrawInfo& axis, int line) const
{
    if (line < 0 || line >= axis.GridCellCount)
        return -1;
    int pos = 0;
    int start = 0;
    if (line >= axis.FixedCellCount) {
        // Past the cell after the last full one nothing shows.
        if (line < axis.FirstGridCell || line > axis.LastFullVisibleCell + 1)
            return -1;
        pos = axis.FixedBoundary;
        start = axis.FirstGridCell;
    }
    // The cells before it, summed at once: their count does not matter.
    const qint64 end = pos + axis.Extents->Sum(start, line - 1) + qint64(line - start) * axis.EffectiveLineWidth;
    return end < axis.GridExtent ? int(end) : -1;
}

TRect TCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom) const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    auto axis = [this](const TGridAxisDrawInfo& a, int lo, int hi, int& smin, int& smax) {
        if (lo > hi)
            std::swap(lo, hi);
        lo = std::max(lo, 0);
        hi = std::min({ hi, a.GridCellCount - 1, std::max(a.LastFullVisibleCell + 1, a.FixedCellCount - 1) });
        if (lo > hi)
            return false;
        // Scrolled-away cells of the block start at the first cell shown.
        if (lo >= a.FixedCellCount && lo < a.FirstGridCell) {
            if (hi < a.FirstGridCell)
                return false;
            lo = a.FirstGridCell;
        }
        smin = LinePos(a, lo);
        if (smin < 0)
            return false;
        int pos = smin;
        int end = smin;
        for (int i = lo; i <= hi; ++i) {
            if (i >= a.FixedCellCount && i < a.FirstGridCell) {
                i = a.FirstGridCell - 1;
                pos = a.FixedBoundary;
                continue;
            }
            if (pos >= a.GridExtent)
                break;
            end = pos + a.Extent(i);
            pos = end + a.EffectiveLineWidth;
        }
        smax = std::min(end, a.GridExtent);
        return smax > smin;
    };
    TRect r;
    if (!axis(info.Horz, ALeft, ARight, r.Left, r.Right) || !axis(info.Vert, ATop, ABottom, r.Top, r.Bottom))
        return TRect();
    return Mirrored(r);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    return BoxRect(ACol, ARow, ACol, ARow);
}

TGridCoord TCustomGrid::CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& info) const
{
    // The cell is looked up, not walked to: rows without height between
    // the first shown one and the point cost nothing.
    auto calc = [](const TGridAxisDrawInfo& a, int n) {
        if (n < 0)
            return -1;
        const int lw = a.EffectiveLineWidth;
        if (n < a.FixedBoundary) {
            const int i = a.Extents->IndexAt(n, lw);
            return i < a.FixedCellCount ? i : -1;
        }
        const int first = a.FirstGridCell;
        const qint64 start = a.Extents->Sum(0, first - 1) + qint64(first) * lw;
        const int i = a.Extents->IndexAt(start + (n - a.FixedBoundary), lw);
        return i >= first && i < a.GridCellCount ? i : -1;
    };
    return { calc(info.Horz, X), calc(info.Vert, Y) };
}

TRect TCustomGrid::Mirrored(const TRect& r) const
{
    if (!UseRightToLeftAlignment())
        return r;
    const int w = ClientRect().Width();
    return Rect(w - r.Right, r.Top, w - r.Left, r.Bottom);
}

int TCustomGrid::LogicalX(int X) const
{
    return UseRightToLeftAlignment() ? ClientRect().Width() - 1 - X : X;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridCoord c = CalcCoordFromPoint(LogicalX(X), Y, info);
    if (c.X < 0)
        c.Y = -1;
    else if (c.Y < 0)
        c.X = -1;
    return c;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TCustomGrid::CalcMaxTopLeft(TGridCoord coord, const TGridDrawInfo& info) const
{
    // Walks back from the cell until the client is full: the cost is one
    // screen, whatever the count.
    auto calcMax = [](const TGridAxisDrawInfo& a, int start) {
        int result = std::max(start, a.FixedCellCount);
        int line = a.GridExtent + a.EffectiveLineWidth;
        for (int i = start; i >= a.FixedCellCount; --i) {
            const int extent = a.Extent(i);
            if (extent > 0) {
                line -= extent + a.EffectiveLineWidth;
                if (line < a.FixedBoundary) {
                    if (result == start && a.Extent(start) <= 0)
                        result = i;
                    break;
                }
                result = i;
            }
        }
        return result;
    };
    return { calcMax(info.Horz, coord.X), calcMax(info.Vert, coord.Y) };
}

TGridCoord TCustomGrid::MaxTopLeft() const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return CalcMaxTopLeft({ ColCount() - 1, RowCount() - 1 }, info);
}

// ---------------------------------------------------------------------------
// Current cell, selection and scrolling

TGridRect TCustomGrid::Selection() const
{
    return GridRect(FCurrent, FAnchor);
}

void TCustomGrid::SetSelection(const TGridRect& r)
{
    const TGridRect old = Selection();
    FAnchor = r.TopLeft();
    FCurrent = r.BottomRight();
    SelectionMoved(old);
}

void TCustomGrid::SetCol(int v)
{
    if (v != FCurrent.X)
        FocusCell(v, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int v)
{
    if (v != FCurrent.Y)
        FocusCell(FCurrent.X, v, true);
}

void TCustomGrid::SetLeftCol(int v)
{
    if (v != FTopLeft.X)
        MoveTopLeft(v, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int v)
{
    if (v != FTopLeft.Y)
        MoveTopLeft(FTopLeft.X, v);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEditor();
    Click();
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        InvalidOp(SIndexOutOfRange);
    if (!SelectCell(ACol, ARow))
        return;
    const TGridRect oldSel = Selection();
    const TGridCoord oldCurrent = FCurrent;
    FCurrent = { ACol, ARow };
    if (!FOptions.testFlag(goAlwaysShowEditor))
        HideEditor();
    if (MoveAnchor || !FOptions.testFlag(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.testFlag(goRowSelect))
            FAnchor.X = ColCount() - 1;
    }
    if (FOptions.testFlag(goRowSelect))
        FCurrent.X = FFixedCols;
    if (Show)
        ClampInView(FCurrent);
    SelectionMoved(oldSel);
    InvalidateCell(oldCurrent.X, oldCurrent.Y);
    InvalidateCell(ACol, ARow);
}

void TCustomGrid::MoveAnchor(TGridCoord NewAnchor)
{
    if (!FOptions.testFlag(goRangeSelect)) {
        MoveCurrent(NewAnchor.X, NewAnchor.Y, true, true);
        return;
    }
    const TGridRect oldSel = Selection();
    FAnchor = NewAnchor;
    if (FOptions.testFlag(goRowSelect))
        FAnchor.X = ColCount() - 1;
    ClampInView(NewAnchor);
    SelectionMoved(oldSel);
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel)
{
    const TGridRect sel = Selection();
    if (sel == OldSel)
        return;
    InvalidateGridRect(OldSel);
    InvalidateGridRect(sel);
}

void TCustomGrid::ClampInView(TGridCoord coord)
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    if (coord.X > info.Horz.LastFullVisibleCell || coord.Y > info.Vert.LastFullVisibleCell || coord.X < FTopLeft.X
        || coord.Y < FTopLeft.Y) {
        const TGridCoord old = FTopLeft;
        const TGridCoord maxTopLeft = CalcMaxTopLeft(coord, info);
        if (coord.X >= FFixedCols) {
            if (coord.X < FTopLeft.X)
                FTopLeft.X = coord.X;
            else if (coord.X > info.Horz.LastFullVisibleCell)
                FTopLeft.X = maxTopLeft.X;
        }
        if (coord.Y >= FFixedRows) {
            if (coord.Y < FTopLeft.Y)
                FTopLeft.Y = coord.Y;
            else if (coord.Y > info.Vert.LastFullVisibleCell)
                FTopLeft.Y = maxTopLeft.Y;
        }
        TopLeftMoved(old);
    }
}

void TCustomGrid::ScrollInView(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return;
    ClampInView({ ACol, ARow });
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
    // The top-left stays on a scrollable cell.
    ALeft = std::clamp(ALeft, FFixedCols, std::max(FFixedCols, ColCount() - 1));
    ATop = std::clamp(ATop, FFixedRows, std::max(FFixedRows, RowCount() - 1));
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y)
        return;
    const TGridCoord old = FTopLeft;
    FTopLeft = { ALeft, ATop };
    TopLeftMoved(old);
}

void TCustomGrid::TopLeftMoved(TGridCoord OldTopLeft)
{
    if (FTopLeft == OldTopLeft)
        return;
    UpdateScrollPos();
    if (!ScrollPixels(OldTopLeft))
        InvalidateGrid();
    TopLeftChanged();
}

bool TCustomGrid::ScrollPixels(TGridCoord OldTopLeft)
{
    QWidget* w = WidgetIfAllocated();
    if (!w || !w->isVisible() || !w->updatesEnabled() || FGridState != gsNormal)
        return false;
    const bool horz = OldTopLeft.Y == FTopLeft.Y;
    if (!horz && OldTopLeft.X != FTopLeft.X)
        return false;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridAxisDrawInfo& a = horz ? info.Horz : info.Vert;
    const TGridExtents& extents = horz ? FColWidths : FRowHeights;
    const int oldTop = horz ? OldTopLeft.X : OldTopLeft.Y;
    const int newTop = horz ? FTopLeft.X : FTopLeft.Y;
    const int lw = a.EffectiveLineWidth;
    const qint64 area = a.GridExtent - a.FixedBoundary;
    // Only a view filled before and after may shift: otherwise the blank
    // after the last cell would move with it.
    const auto fills
        = [&](int top) { return extents.Sum(top, a.GridCellCount - 1) + qint64(lw) * (a.GridCellCount - top) >= area; };
    const int lo = std::min(oldTop, newTop);
    const int hi = std::max(oldTop, newTop);
    const qint64 delta = extents.Sum(lo, hi - 1) + qint64(lw) * (hi - lo);
    if (area <= 0 || delta >= area || !fills(oldTop) || !fills(newTop))
        return false;
    int d = int(newTop > oldTop ? -delta : delta);
    if (horz && UseRightToLeftAlignment())
        d = -d;
    // The pixels already painted move; the window system asks for the strip
    // that comes into view. The bars and the editor are not part of it.
    if (horz) {
        const TRect shifted = Mirrored(Rect(a.FixedBoundary, 0, a.GridExtent, info.Vert.GridExtent));
        w->scroll(d, 0, QRect(shifted.Left, shifted.Top, shifted.Width(), shifted.Height()));
    } else {
        w->scroll(0, d, QRect(0, a.FixedBoundary, info.Horz.GridExtent, int(area)));
    }
    // A selection reaching past the edge was drawn cut off there.
    InvalidateGridRect(Selection());
    return true;
}

// ---------------------------------------------------------------------------
// Scroll bars

bool TCustomGrid::NeedsScroll(bool horz, int extent) const
{
    TGridAxisDrawInfo a = AxisInfo(horz, extent);
    const int last = a.GridCellCount - 1;
    if (last < a.FixedCellCount)
        return false;
    // Everything fits when the last cell shows from the first scrollable one.
    a.FirstGridCell = a.FixedCellCount;
    int line = a.GridExtent + a.EffectiveLineWidth;
    for (int i = last; i >= a.FixedCellCount; --i) {
        line -= a.Extent(i) + a.EffectiveLineWidth;
        if (line < a.FixedBoundary)
            return true;
    }
    return false;
}

void TCustomGrid::FlushScrollRange()
{
    if (FScrollRangePending && !ScrollRangeDeferred())
        UpdateScrollRange();
}

void TCustomGrid::UpdateScrollRange()
{
    if (ScrollRangeDeferred()) {
        FScrollRangePending = true;
        return;
    }
    FScrollRangePending = false;
    const bool canV = FScrollBars == ssVertical || FScrollBars == ssBoth;
    const bool canH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    bool v = false, h = false, needV = false, needH = false;
    for (int pass = 0; pass < 2; ++pass) {
        const int cw = Width() - (v ? ScrollBarSize : 0);
        const int ch = Height() - (h ? ScrollBarSize : 0);
        needV = NeedsScroll(false, ch);
        needH = NeedsScroll(true, cw);
        v = canV && (needV || FBarAlways[SB_VERT]);
        h = canH && (needH || FBarAlways[SB_HORZ]);
    }
    const bool changed = v != FBarShown[SB_VERT] || h != FBarShown[SB_HORZ] || needV != FBarEnabled[SB_VERT]
        || needH != FBarEnabled[SB_HORZ];
    FBarShown[SB_VERT] = v;
    FBarShown[SB_HORZ] = h;
    FBarEnabled[SB_VERT] = needV;
    FBarEnabled[SB_HORZ] = needH;
    // With everything in view there is nothing to scroll (the keys scroll a
    // grid without bars too, so only the fit counts).
    TGridCoord top = FTopLeft;
    if (!needH)
        top.X = FFixedCols;
    if (!needV)
        top.Y = FFixedRows;
    if (!(top == FTopLeft)) {
        const TGridCoord old = FTopLeft;
        FTopLeft = top;
        TopLeftMoved(old);
    }
    if (changed) {
        PlaceScrollBars();
        Invalidate(); // the corner between the bars too
        if (FEditorMode && FInplaceEdit)
            FInplaceEdit->UpdateLoc(EditorRect());
    }
    UpdateScrollPos();
}

void TCustomGrid::UpdateScrollPos()
{
    const TGridCoord maxTL = MaxTopLeft();
    auto pos = [](int top, int fixed, int max) {
        return max > fixed ? std::clamp(MulDiv(top - fixed, GridScrollMax, max - fixed), 0, GridScrollMax) : 0;
    };
    FScroll[SB_HORZ].Pos = pos(FTopLeft.X, FFixedCols, maxTL.X);
    FScroll[SB_VERT].Pos = pos(FTopLeft.Y, FFixedRows, maxTL.Y);
    for (int bar : { SB_HORZ, SB_VERT }) {
        if (!FTracking[bar])
            FScroll[bar].TrackPos = FScroll[bar].Pos;
        if (QScrollBar* sb = FBarWidget[bar]) {
            ++FUpdatingBars;
            const TGridScrollInfo& si = FScroll[bar];
            sb->setMinimum(si.Min);
            sb->setMaximum(si.Page > 0 ? std::max(si.Min, si.Max - si.Page + 1) : si.Max);
            sb->setPageStep(si.Page > 0 ? si.Page : 10);
            if (!FTracking[bar])
                sb->setValue(si.Pos);
            --FUpdatingBars;
        }
    }
}

TGridScrollInfo TCustomGrid::GetScrollInfo(int bar) const
{
    return FScroll[bar == SB_VERT ? SB_VERT : SB_HORZ];
}

void TCustomGrid::SetScrollInfo(int bar, const TGridScrollInfo& info)
{
    bar = bar == SB_VERT ? SB_VERT : SB_HORZ;
    FScroll[bar] = info;
    if (QScrollBar* sb = FBarWidget[bar]) {
        ++FUpdatingBars;
        sb->setMinimum(info.Min);
        sb->setMaximum(info.Page > 0 ? std::max(info.Min, info.Max - info.Page + 1) : info.Max);
        sb->setPageStep(info.Page > 0 ? info.Page : 10);
        sb->setValue(info.Pos);
        --FUpdatingBars;
    }
}

bool TCustomGrid::ScrollBarShowing(int bar) const
{
    return FBarShown[bar == SB_VERT ? SB_VERT : SB_HORZ];
}

void TCustomGrid::ShowScrollBar(int bar, bool show)
{
    bool& shown = FBarShown[bar == SB_VERT ? SB_VERT : SB_HORZ];
    if (shown == show)
        return;
    shown = show;
    PlaceScrollBars();
    Invalidate();
}

QScrollBar* TCustomGrid::ScrollBarWidget(int bar) const
{
    return FBarWidget[bar == SB_VERT ? SB_VERT : SB_HORZ];
}

TRect TCustomGrid::ClientRect() const
{
    TRect r = Rect(0, 0, Width(), Height());
    if (FBarShown[SB_VERT])
        r.Right = std::max(0, r.Right - ScrollBarSize);
    if (FBarShown[SB_HORZ])
        r.Bottom = std::max(0, r.Bottom - ScrollBarSize);
    return r;
}

void TCustomGrid::PlaceScrollBars()
{
    const TRect cr = ClientRect();
    if (QScrollBar* sb = FBarWidget[SB_VERT]) {
        sb->setGeometry(cr.Right, 0, ScrollBarSize, cr.Height());
        sb->setVisible(FBarShown[SB_VERT]);
        sb->setEnabled(FBarEnabled[SB_VERT]);
        sb->raise();
    }
    if (QScrollBar* sb = FBarWidget[SB_HORZ]) {
        sb->setGeometry(0, cr.Bottom, cr.Width(), ScrollBarSize);
        sb->setVisible(FBarShown[SB_HORZ]);
        sb->setEnabled(FBarEnabled[SB_HORZ]);
        sb->raise();
    }
}

void TCustomGrid::ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos, bool)
{
    const bool horz = ScrollBar == SB_HORZ;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridCoord maxTL = CalcMaxTopLeft({ ColCount() - 1, RowCount() - 1 }, info);
    const int minPos = horz ? FFixedCols : FFixedRows;
    const int maxPos = std::max(minPos, horz ? maxTL.X : maxTL.Y);
    const int old = horz ? FTopLeft.X : FTopLeft.Y;
    const TGridAxisDrawInfo& a = horz ? info.Horz : info.Vert;
    const int page = std::max(1, a.LastFullVisibleCell - a.FirstGridCell + 1);
    const int bar = horz ? SB_HORZ : SB_VERT;
    int pos = old;
    switch (ScrollCode) {
    case SB_LINEUP:
        pos = old - 1;
        break;
    case SB_LINEDOWN:
        pos = old + 1;
        break;
    case SB_PAGEUP:
        pos = old - page;
        break;
    case SB_PAGEDOWN:
        pos = old + page;
        break;
    case SB_THUMBTRACK:
        FTracking[bar] = true;
        FScroll[bar].TrackPos = Pos;
        if (FOptions.testFlag(goThumbTracking))
            pos = minPos + MulDiv(Pos, maxPos - minPos, GridScrollMax);
        break;
    case SB_THUMBPOSITION:
        FTracking[bar] = false;
        pos = minPos + MulDiv(Pos, maxPos - minPos, GridScrollMax);
        break;
    case SB_TOP:
        pos = minPos;
        break;
    case SB_BOTTOM:
        pos = maxPos;
        break;
    case SB_ENDSCROLL:
        FTracking[bar] = false;
        UpdateScrollPos();
        return;
    default:
        return;
    }
    pos = std::clamp(pos, minPos, maxPos);
    if (pos != old) {
        if (horz)
            MoveTopLeft(pos, FTopLeft.Y);
        else
            MoveTopLeft(FTopLeft.X, pos);
    }
    if (ScrollCode != SB_THUMBTRACK)
        UpdateScrollPos();
}

void TCustomGrid::HandleScrollMessage(int bar, TMessage& Message)
{
    ModifyScrollBar(bar, LoWord(Message.WParam), std::int16_t(HiWord(Message.WParam)), false);
    Message.Result = 0;
}

void TCustomGrid::ScrollBarAction(int bar, int action)
{
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        code = SB_LINEDOWN;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        code = SB_LINEUP;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = SB_PAGEDOWN;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = SB_PAGEUP;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = SB_TOP;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = SB_BOTTOM;
        break;
    default:
        return; // thumb drags arrive through ScrollBarTracked
    }
    Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, WPARAM(code));
    Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, WPARAM(SB_ENDSCROLL));
    // The thumb shows where the grid went, not where Qt would put it.
    if (QScrollBar* sb = FBarWidget[bar])
        sb->setSliderPosition(FScroll[bar].Pos);
}

void TCustomGrid::ScrollBarTracked(int bar, int value)
{
    Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, WPARAM(SB_THUMBTRACK) | (WPARAM(WORD(value)) << 16));
}

void TCustomGrid::ScrollBarReleased(int bar)
{
    QScrollBar* sb = FBarWidget[bar];
    const int value = sb ? sb->sliderPosition() : FScroll[bar].TrackPos;
    Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, WPARAM(SB_THUMBPOSITION) | (WPARAM(WORD(value)) << 16));
    Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, WPARAM(SB_ENDSCROLL));
}

QWidget* TCustomGrid::CreateWidget()
{
    QWidget* w = TCustomControl::CreateWidget();
    // The grid paints every pixel of its client, so the window system may
    // shift painted cells when scrolling.
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    for (int bar : { SB_HORZ, SB_VERT }) {
        auto* sb = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, w);
        sb->setFocusPolicy(Qt::NoFocus);
        sb->setTracking(true);
        StyleScrollBar(sb);
        sb->hide();
        FBarWidget[bar] = sb;
        QObject::connect(sb, &QAbstractSlider::actionTriggered, sb, [this, bar](int action) {
            if (!FUpdatingBars)
                ScrollBarAction(bar, action);
        });
        QObject::connect(sb, &QAbstractSlider::sliderMoved, sb, [this, bar](int value) {
            if (!FUpdatingBars)
                ScrollBarTracked(bar, value);
        });
        QObject::connect(sb, &QAbstractSlider::sliderReleased, sb, [this, bar] {
            if (!FUpdatingBars)
                ScrollBarReleased(bar);
        });
        QObject::connect(sb, &QObject::destroyed, w, [this, bar] { FBarWidget[bar] = nullptr; });
    }
    return w;
}

void TCustomGrid::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollRange();
    PlaceScrollBars();
    UpdateScrollPos();
    UpdateEditor();
}

void TCustomGrid::BoundsChanged(const TRect& oldBounds)
{
    TCustomControl::BoundsChanged(oldBounds);
    if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) {
        UpdateScrollRange();
        PlaceScrollBars();
        InvalidateGrid();
        UpdateEditor();
    }
}

void TCustomGrid::FontChanged()
{
    TCustomControl::FontChanged();
    InvalidateGrid();
}

// ---------------------------------------------------------------------------
// Repainting

void TCustomGrid::InvalidateGrid()
{
    // The cells only: the scroll bars repaint when they change.
    if (QWidget* w = WidgetIfAllocated()) {
        const TRect cr = ClientRect();
        w->update(0, 0, cr.Width(), cr.Height());
    }
}

void TCustomGrid::InvalidateGridRect(const TGridRect& r)
{
    if (!HandleAllocated())
        return;
    const TRect box = BoxRect(r.Left, r.Top, r.Right, r.Bottom);
    if (box.Width() <= 0 || box.Height() <= 0)
        return;
    // The lines after the cells belong to them.
    const int lw = std::min(FGridLineWidth, TGridAxisDrawInfo::MaxExtent);
    WidgetIfAllocated()->update(box.Left, box.Top, box.Width() + lw, box.Height() + lw);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow)
{
    InvalidateGridRect({ ACol, ARow, ACol, ARow });
}

void TCustomGrid::InvalidateCol(int ACol)
{
    if (!HandleAllocated())
        return;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    InvalidateGridRect({ ACol, 0, ACol, std::max(0, info.Vert.LastFullVisibleCell + 1) });
}

void TCustomGrid::InvalidateRow(int ARow)
{
    if (!HandleAllocated())
        return;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    InvalidateGridRect({ 0, ARow, std::max(0, info.Horz.LastFullVisibleCell + 1), ARow });
}
