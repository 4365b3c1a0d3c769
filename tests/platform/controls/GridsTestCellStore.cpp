// The string grid's cell store against a plain table of rows and columns:
// random edits and row and column moves, and after each one every cell's
// text and object must be where the table has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "platform/controls/Grids.h"

namespace {

struct TModelCell {
    QString Text;
    TObject* Object = nullptr;
};
using TModelRow = std::vector<TModelCell>;

struct TModel {
    std::vector<TModelRow> Rows; // RowLimit rows of ColLimit cells
    int Cols = 0;
    TModelRow Blank() const { return TModelRow(std::size_t(Cols)); }
};

std::vector<int> Pick(std::mt19937& rnd, int n, int count)
{
    std::vector<int> all(static_cast<std::size_t>(n));
    std::iota(all.begin(), all.end(), 0);
    std::shuffle(all.begin(), all.end(), rnd);
    all.resize(std::size_t(std::min(n, count)));
    std::sort(all.begin(), all.end());
    return all;
}

void ExpectSame(const TGridCellStore& s, const TModel& m, int step)
{
    ASSERT_EQ(s.RowLimit(), int(m.Rows.size())) << step;
    ASSERT_EQ(s.ColLimit(), m.Cols) << step;
    int lastUsed = -1;
    std::vector<int> withObjects;
    for (int r = 0; r < int(m.Rows.size()); ++r) {
        if (std::any_of(m.Rows[std::size_t(r)].begin(), m.Rows[std::size_t(r)].end(),
                [](const TModelCell& c) { return c.Object != nullptr; }))
            withObjects.push_back(r);
        for (int c = 0; c < m.Cols; ++c) {
            const TModelCell& cell = m.Rows[std::size_t(r)][std::size_t(c)];
            ASSERT_EQ(s.Text(c, r), cell.Text) << "step " << step << " cell " << c << "," << r;
            ASSERT_EQ(s.Object(c, r), cell.Object) << "step " << step << " cell " << c << "," << r;
            if (!cell.Text.isEmpty() || cell.Object)
                lastUsed = r;
        }
    }
    ASSERT_EQ(s.RowsWithObjects(0, s.RowLimit() - 1), withObjects) << step;
    ASSERT_GE(s.StoredRowCount(), lastUsed + 1) << step;
    ASSERT_LE(s.StoredRowCount(), s.RowLimit()) << step;
}

TEST(GridCellStore, RandomEditsAndMovesKeepEveryCellInPlace)
{
    TObject tags[5];
    std::mt19937 rnd(17);
    for (int run = 0; run < 20; ++run) {
        TGridCellStore s;
        TModel m;
        m.Cols = 4;
        s.SetColCount(4);
        s.SetRowLimit(12);
        m.Rows.assign(12, m.Blank());
        for (int step = 0; step < 300; ++step) {
            const int rows = int(m.Rows.size());
            auto row = [&] { return rows ? int(rnd() % unsigned(rows)) : 0; };
            auto col = [&] { return int(rnd() % unsigned(m.Cols)); };
            switch (rnd() % 14) {
            case 0:
            case 1: {
                const int r = row(), c = col();
                const QString t = rnd() % 4 ? QStringLiteral("t%1").arg(step) : QString();
                s.SetText(c, r, t);
                if (r < rows)
                    m.Rows[std::size_t(r)][std::size_t(c)].Text = t;
                break;
            }
            case 2:
            case 3: {
                const int r = row(), c = col();
                TObject* o = rnd() % 3 ? &tags[rnd() % 5] : nullptr;
                s.SetObject(c, r, o);
                if (r < rows)
                    m.Rows[std::size_t(r)][std::size_t(c)].Object = o;
                break;
            }
            case 4: {
                const int at = int(rnd() % unsigned(rows + 1)), n = 1 + int(rnd() % 3);
                s.InsertRows(at, n);
                m.Rows.insert(m.Rows.begin() + at, std::size_t(n), m.Blank());
                break;
            }
            case 5: {
                if (rows == 0)
                    break;
                const int at = row(), n = std::min(1 + int(rnd() % 3), rows - at);
                s.DeleteRows(at, n);
                m.Rows.erase(m.Rows.begin() + at, m.Rows.begin() + at + n);
                break;
            }
            case 6: {
                if (rows < 2)
                    break;
                const int n = 1 + int(rnd() % unsigned(std::min(3, rows - 1)));
                const int from = int(rnd() % unsigned(rows - n + 1)), to = int(rnd() % unsigned(rows - n + 1));
                s.MoveRows(from, n, to);
                std::vector<TModelRow> block(m.Rows.begin() + from, m.Rows.begin() + from + n);
                m.Rows.erase(m.Rows.begin() + from, m.Rows.begin() + from + n);
                m.Rows.insert(m.Rows.begin() + to, block.begin(), block.end());
                break;
            }
            case 7: {
                if (rows < 2)
                    break;
                const int first = int(rnd() % unsigned(rows - 1));
                const int n = 2 + int(rnd() % unsigned(rows - first - 1));
                std::vector<int> order(static_cast<std::size_t>(n));
                std::iota(order.begin(), order.end(), first);
                std::shuffle(order.begin(), order.end(), rnd);
                s.PermuteRows(first, order);
                std::vector<TModelRow> old = m.Rows;
                for (int k = 0; k < n; ++k)
                    m.Rows[std::size_t(first + k)] = old[std::size_t(order[std::size_t(k)])];
                break;
            }
            case 8: {
                const std::vector<int> gone = Pick(rnd, rows, 1 + int(rnd() % 3));
                if (gone.empty())
                    break;
                s.DeleteRowSet(gone);
                for (auto it = gone.rbegin(); it != gone.rend(); ++it)
                    m.Rows.erase(m.Rows.begin() + *it);
                break;
            }
            case 9: {
                const int n = 1 + int(rnd() % 3);
                const std::vector<int> places = Pick(rnd, rows + n, n);
                s.InsertRowSet(places);
                for (int p : places)
                    m.Rows.insert(m.Rows.begin() + p, m.Blank());
                break;
            }
            case 10: {
                const int from = col(), to = col();
                s.MoveColumn(from, to);
                for (TModelRow& r : m.Rows) {
                    const TModelCell cell = r[std::size_t(from)];
                    r.erase(r.begin() + from);
                    r.insert(r.begin() + to, cell);
                }
                break;
            }
            case 11: {
                const int c = col();
                if (rnd() % 2 && m.Cols > 2) {
                    s.DeleteColumn(c);
                    for (TModelRow& r : m.Rows)
                        r.erase(r.begin() + c);
                    --m.Cols;
                    // The grid widens again as a column insertion would.
                    s.SetColCount(m.Cols + 1);
                    ++m.Cols;
                    for (TModelRow& r : m.Rows)
                        r.emplace_back();
                } else {
                    s.ClearColumn(c);
                    for (TModelRow& r : m.Rows)
                        r[std::size_t(c)] = TModelCell();
                }
                break;
            }
            case 12: {
                const int from = row(), to = row();
                if (rows == 0)
                    break;
                if (rnd() % 4 == 0) {
                    s.ClearRow(from);
                    m.Rows[std::size_t(from)] = m.Blank();
                    break;
                }
                TGridStoredRow taken = s.TakeRow(from);
                s.PutRow(to, std::move(taken));
                TModelRow moved = m.Rows[std::size_t(from)];
                m.Rows[std::size_t(from)] = m.Blank();
                m.Rows[std::size_t(to)] = moved;
                break;
            }
            case 13: {
                const int limit = int(rnd() % 16);
                s.SetRowLimit(limit);
                m.Rows.resize(std::size_t(limit), m.Blank());
                break;
            }
            }
            ExpectSame(s, m, step);
            if (HasFatalFailure())
                return;
        }
    }
}

} // namespace
