// Row and column extents beside a plain vector of the same extents: every
// change, then sums and lookups anywhere, whatever came before them.
#include "platform/controls/Grids.h"
#include "platform/runtime/SysUtils.h"
#include "tests/platform/controls/GridsTestFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

// The extents as a list, with the operations done the plain way.
struct TModel {
    int Default = 20;
    std::vector<int> Items;

    qint64 Sum(int first, int last) const
    {
        first = std::max(first, 0);
        last = std::min(last, int(Items.size()) - 1);
        qint64 s = 0;
        for (int i = first; i <= last; ++i)
            s += Items[std::size_t(i)];
        return s;
    }
};

void ExpectSame(const TGridExtents& e, const TModel& m, std::mt19937& rnd, const char* step)
{
    const int n = int(m.Items.size());
    ASSERT_EQ(e.Count(), n) << step;
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(e.Get(i), m.Items[std::size_t(i)]) << step << " item " << i;
    // Every prefix, a few ranges, and a lookup at each item's edges.
    qint64 prefix = 0;
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(e.Sum(0, i - 1), prefix) << step << " before " << i;
        prefix += m.Items[std::size_t(i)];
    }
    ASSERT_EQ(e.Sum(-5, n + 5), prefix) << step;
    for (int k = 0; k < 20 && n > 0; ++k) {
        const int a = int(rnd() % unsigned(n)), b = int(rnd() % unsigned(n));
        ASSERT_EQ(e.Sum(a, b), m.Sum(a, b)) << step << " " << a << ".." << b;
    }
    // A set of items read at once, the first and last among them.
    std::vector<int> some;
    for (int i = int(rnd() % 3); i < n; i += 1 + int(rnd() % 4))
        some.push_back(i);
    if (n > 0 && (some.empty() || some.back() != n - 1))
        some.push_back(n - 1);
    const std::vector<int> got = e.GetSet(some);
    ASSERT_EQ(got.size(), some.size()) << step;
    for (std::size_t k = 0; k < some.size(); ++k)
        ASSERT_EQ(got[k], m.Items[std::size_t(some[k])]) << step << " set item " << some[k];
    for (const int lw : { 0, 1 }) {
        // The model's lookup: the first item whose span ends past pos.
        std::vector<qint64> ends;
        qint64 end = 0;
        for (const int v : m.Items)
            ends.push_back(end += v + lw);
        const auto modelAt = [&](qint64 pos) {
            return pos < 0 ? -1 : int(std::upper_bound(ends.begin(), ends.end(), pos) - ends.begin());
        };
        qint64 start = 0;
        for (int i = 0; i < n; ++i) {
            for (const qint64 pos : { start - 1, start, start + m.Items[std::size_t(i)] + lw - 1 })
                ASSERT_EQ(e.IndexAt(pos, lw), modelAt(pos)) << step << " pos " << pos << " lw " << lw;
            start += m.Items[std::size_t(i)] + lw;
        }
        ASSERT_EQ(e.IndexAt(start, lw), n) << step;
    }
}

TEST(GridExtents, SumsAndLookupsFollowEveryChangeWithFewOrManyExceptions)
{
    // A few exceptions are walked, more read through the tree, and where many
    // items differ the extents are one array: each kind (and the changes from
    // one to the next as sets add exceptions), with zero extents among them
    // (a hidden column, a collapsed row).
    struct {
        int count, every;
    } const kinds[] = { { 12, 2 }, { 1500, 30 }, { 300, 2 } };
    for (const auto [count, every] : kinds) {
        SCOPED_TRACE(count);
        std::mt19937 rnd { unsigned(count) };
        TGridExtents e;
        TModel m;
        e.SetDefault(m.Default);
        e.SetCount(count);
        m.Items.assign(std::size_t(count), m.Default);
        auto anyHeight = [&] { return int(rnd() % 5) == 0 ? 0 : int(10 + rnd() % 30); };
        auto anyItem = [&] { return int(rnd() % unsigned(m.Items.size())); };
        for (int r = 0; r < count; r += every) {
            const int h = anyHeight();
            e.Set(r, h);
            m.Items[std::size_t(r)] = h;
        }
        ExpectSame(e, m, rnd, "filled");
        for (int round = 0; round < 60; ++round) {
            const int n = int(m.Items.size());
            const char* step = "";
            switch (rnd() % 11) {
            case 0: {
                step = "set";
                for (int k = 0; k < 5; ++k) {
                    const int i = anyItem(), h = anyHeight();
                    e.Set(i, h);
                    m.Items[std::size_t(i)] = h;
                }
                break;
            }
            case 1: {
                step = "insert";
                const int at = int(rnd() % unsigned(n + 1)), k = 1 + int(rnd() % 4);
                e.Insert(at, k);
                m.Items.insert(m.Items.begin() + at, std::size_t(k), m.Default);
                break;
            }
            case 2: {
                step = "delete";
                const int at = anyItem(), k = std::min(1 + int(rnd() % 4), n - at);
                if (n - k < 4)
                    continue;
                e.Delete(at, k);
                m.Items.erase(m.Items.begin() + at, m.Items.begin() + at + k);
                break;
            }
            case 3: {
                step = "move run";
                const int k = 1 + int(rnd() % 3);
                const int from = int(rnd() % unsigned(n - k + 1)), to = int(rnd() % unsigned(n - k + 1));
                e.MoveRange(from, k, to);
                std::vector<int> run(m.Items.begin() + from, m.Items.begin() + from + k);
                m.Items.erase(m.Items.begin() + from, m.Items.begin() + from + k);
                m.Items.insert(m.Items.begin() + to, run.begin(), run.end());
                break;
            }
            case 4: {
                step = "permute";
                const int first = anyItem(), k = std::min(n - first, 2 + int(rnd() % 40));
                std::vector<int> order(static_cast<std::size_t>(k));
                std::iota(order.begin(), order.end(), first);
                std::shuffle(order.begin(), order.end(), rnd);
                e.Permute(first, order);
                const std::vector<int> old = m.Items;
                for (int j = 0; j < k; ++j)
                    m.Items[std::size_t(first + j)] = old[std::size_t(order[std::size_t(j)])];
                break;
            }
            case 5: {
                step = "exchange";
                const int a = anyItem(), b = anyItem();
                e.Exchange(a, b);
                std::swap(m.Items[std::size_t(a)], m.Items[std::size_t(b)]);
                break;
            }
            case 6: {
                step = "delete set";
                std::vector<int> rows;
                for (int i = int(rnd() % 3); i < n && int(rows.size()) < n - 4; i += 1 + int(rnd() % 7))
                    rows.push_back(i);
                e.DeleteSet(rows);
                for (auto it = rows.rbegin(); it != rows.rend(); ++it)
                    m.Items.erase(m.Items.begin() + *it);
                break;
            }
            case 7: {
                step = "insert set";
                std::vector<int> places;
                for (int i = int(rnd() % 5); i < n; i += 1 + int(rnd() % 9))
                    places.push_back(i);
                e.InsertSet(places);
                for (const int p : places)
                    m.Items.insert(m.Items.begin() + p, m.Default);
                break;
            }
            case 8: {
                step = "count";
                const int to = std::max(4, n + int(rnd() % 21) - 10);
                e.SetCount(to);
                m.Items.resize(std::size_t(to), m.Default);
                break;
            }
            case 9: {
                step = "scale";
                e.Scale(3, 2);
                for (int& v : m.Items)
                    v = std::max(0, MulDiv(v, 3, 2));
                m.Default = MulDiv(m.Default, 3, 2);
                break;
            }
            default: {
                step = "grow";
                e.Grow(-2);
                for (int& v : m.Items)
                    v = v > 0 && v - 2 > 0 ? v - 2 : v;
                m.Default = m.Default > 2 ? m.Default - 2 : m.Default;
                break;
            }
            }
            ExpectSame(e, m, rnd, step);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(GridExtents, AMillionMixedRowsAnswerAtTheFarEnd)
{
    // Every second row taller; the far rows' tops and the rows under points
    // there, after a change near the top that moves them all.
    constexpr int Rows = 1000000;
    TGridExtents e;
    e.SetDefault(18);
    e.SetCount(Rows);
    for (int r = 1; r < Rows; r += 2)
        e.Set(r, 24);
    const auto top = [](qint64 r) { return r / 2 * 42 + (r % 2) * 18; };
    EXPECT_EQ(e.Sum(0, Rows - 2), top(Rows - 1));
    EXPECT_EQ(e.IndexAt(top(Rows - 1)), Rows - 1);
    EXPECT_EQ(e.IndexAt(top(999990) + 17), 999990);
    e.Set(3, 124); // one row 100 px taller
    EXPECT_EQ(e.Sum(0, 999989), top(999990) + 100);
    EXPECT_EQ(e.IndexAt(top(999990) + 100), 999990);
    e.Delete(0, 1); // every row moves up one: the odd ones are short now
    EXPECT_EQ(e.Get(999988), 24);
    EXPECT_EQ(e.Get(999989), 18);
    const qint64 total = top(Rows) + 100 - 18;
    EXPECT_EQ(e.Sum(0, Rows - 2), total);
    EXPECT_EQ(e.IndexAt(total - 1), Rows - 2);
    EXPECT_EQ(e.IndexAt(total), Rows - 1); // past the end
    EXPECT_EQ(e.IndexAt(-1), -1);
}

} // namespace

namespace {

TEST(GridGeometry, RowsOfMixedAndZeroHeightsAreFoundAtEveryPixelFarDown)
{
    // Enough sized rows for the sums to come from the tree; rows without
    // height among them hold no pixel.
    GridFixture f(4, 3000, 300, 200);
    THookGrid& g = *f.Grid;
    const auto height = [](int r) { return r % 7 == 3 ? 0 : r % 2 ? 31 : 12; };
    for (int r = 1; r < 3000; ++r)
        g.SetRowHeights(r, height(r));
    g.SetTopRow(2900);
    ASSERT_EQ(g.TopRow(), 2900);
    const int lw = g.GridLineWidth();
    // The row under each pixel row of the client and a little beyond, as the
    // heights lay them out from the top row down.
    std::vector<int> expected;
    for (int y = 0; y < g.RowHeights(0) + lw; ++y)
        expected.push_back(0);
    const int client = g.ClientRect().Height();
    for (int r = g.TopRow(); r < 3000 && int(expected.size()) < client + 40; ++r) {
        if (height(r) > 0 && int(expected.size()) < client) {
            EXPECT_EQ(g.CellRect(1, r).Top, int(expected.size())) << r;
        }
        for (int y = 0; y < height(r) + lw; ++y)
            expected.push_back(r);
    }
    for (int y = 0; y < int(expected.size()); ++y)
        ASSERT_EQ(g.MouseCoord(5, y).Y, expected[std::size_t(y)]) << y;
    // A click below rows without height lands on the row under it.
    const int target = 2902; // just after 2901, which has no height
    ASSERT_GT(height(target), 0);
    f.Click(1, target);
    EXPECT_EQ(g.Row(), target);
}

} // namespace
