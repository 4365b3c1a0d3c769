// Random sequences of row operations against a plain model of the rows.

#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/grid/ExGrid.h"
#include "tests/controls/grid/GridRowsTestSupport.h"

namespace {

// All rows in real order; hidden ones keep their level.
struct TModelRow {
    QString text;
    int height = 0;
    int modified = 0;
    bool selected = false;
    bool hidden = false;
    int level = 0;
};

struct TModel {
    std::vector<TModelRow> rows;
    int level = 0;
    std::vector<int> Displayed() const
    {
        std::vector<int> d;
        for (int i = 0; i < int(rows.size()); ++i)
            if (!rows[std::size_t(i)].hidden)
                d.push_back(i);
        return d;
    }
    // Where rows go in before displayed row d: after the hidden rows that
    // precede it.
    int InsertPlace(int d) const
    {
        const std::vector<int> shown = Displayed();
        return d < int(shown.size()) ? shown[std::size_t(d)] : int(rows.size());
    }
};

void Check(TRowsGrid& g, const TModel& m, int defaultHeight)
{
    const std::vector<int> shown = m.Displayed();
    ASSERT_EQ(g.RowCount(), int(shown.size()));
    ASSERT_EQ(g.TotalRowCount(), int(m.rows.size()));
    for (int d = 0; d < int(shown.size()); ++d) {
        const TModelRow& r = m.rows[std::size_t(shown[std::size_t(d)])];
        ASSERT_EQ(g.Cells(0, d), r.text) << "displayed " << d;
        ASSERT_EQ(g.RowHeights(d), r.height ? r.height : defaultHeight) << "displayed " << d;
        ASSERT_EQ(g.ModifiedRows()->GetInteger(d), r.modified) << "displayed " << d;
        ASSERT_EQ(g.RowSelectFlag(d), r.selected) << "displayed " << d;
        ASSERT_EQ(g.RealRowIndex(d), shown[std::size_t(d)]);
        ASSERT_EQ(g.DisplRowIndex(shown[std::size_t(d)]), d);
    }
    for (int i = 0; i < int(m.rows.size()); ++i)
        ASSERT_EQ(g.HiddenRowLevel(i), m.rows[std::size_t(i)].hidden ? m.rows[std::size_t(i)].level : -1)
            << "real " << i;
}

TEST(ExGridRowsProperty, RandomSequencesMatchThePlainModel)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::mt19937 rnd(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd); };
        auto g = std::make_unique<TRowsGrid>(nullptr);
        g->SetColCount(3);
        g->SetFixedRows(0);
        const int n0 = pick(2, 20);
        g->SetRowCount(n0);
        TModel m;
        int serial = 0;
        auto fresh = [&]() { return QStringLiteral("t%1").arg(serial++); };
        for (int r = 0; r < n0; ++r) {
            m.rows.push_back({ fresh(), 0, 0, false, false, 0 });
            g->SetCells(0, r, m.rows.back().text);
            g->ModifiedRows()->Insert(r, 0);
        }
        for (int step = 0; step < 60; ++step) {
            const int count = g->RowCount();
            const int total = g->TotalRowCount();
            const int op = pick(0, 10);
            SCOPED_TRACE(testing::Message() << "step " << step << " op " << op);
            if (op == 0) { // hide a real range, never every displayed row
                const int a = pick(0, total - 1), b = pick(a, std::min(total - 1, a + 4));
                int hiding = 0;
                for (int i = a; i <= b; ++i)
                    hiding += !m.rows[std::size_t(i)].hidden;
                if (hiding >= count)
                    continue;
                g->HideRows(a, b);
                for (int i = a; i <= b; ++i)
                    if (!m.rows[std::size_t(i)].hidden)
                        m.rows[std::size_t(i)].hidden = true, m.rows[std::size_t(i)].level = 0;
            } else if (op == 1) { // show a real range
                const int a = pick(0, total - 1), b = pick(a, std::min(total - 1, a + 6));
                g->UnHideRows(a, b);
                if (m.rows[std::size_t(a)].hidden)
                    for (int i = a; i <= b; ++i)
                        m.rows[std::size_t(i)].hidden = false;
            } else if (op == 2) { // a filter level
                std::vector<int> list;
                for (int d = 0; d < count; ++d)
                    if (pick(0, 2) == 0)
                        list.push_back(d);
                if (int(list.size()) >= count)
                    list.pop_back();
                const std::vector<int> shown = m.Displayed();
                g->HideRowList(list);
                ++m.level;
                for (int d : list)
                    m.rows[std::size_t(shown[std::size_t(d)])].hidden = true,
                    m.rows[std::size_t(shown[std::size_t(d)])].level = m.level;
            } else if (op == 3) { // undo the last filter level
                if (m.level == 0)
                    continue;
                g->EndFilterLevel();
                for (TModelRow& r : m.rows)
                    if (r.hidden && r.level == m.level)
                        r.hidden = false;
                --m.level;
            } else if (op == 4) { // insert
                const int d = pick(0, count), k = pick(1, 3);
                const int at = m.InsertPlace(d);
                g->InsertRows(d, k);
                for (int i = 0; i < k; ++i)
                    m.rows.insert(m.rows.begin() + at, TModelRow {});
            } else if (op == 5) { // remove
                if (count < 2)
                    continue;
                const int d = pick(0, count - 1), k = std::min(pick(1, 3), count - 1);
                const std::vector<int> shown = m.Displayed();
                const int cut = std::min(k, count - d);
                if (d == 0 && cut >= count)
                    continue;
                g->RemoveRows(d, k);
                for (int i = cut - 1; i >= 0; --i)
                    m.rows.erase(m.rows.begin() + shown[std::size_t(d + i)]);
            } else if (op == 6) { // move
                const int c = pick(1, 3), from = pick(0, count - 1), to = pick(0, count);
                g->MoveRows(from, to, c);
                int t = from + c <= to ? to - c : to;
                if (t == from || from + c > count || t + c > count)
                    continue;
                const std::vector<int> shown = m.Displayed();
                std::vector<TModelRow> run;
                for (int i = 0; i < c; ++i)
                    run.push_back(m.rows[std::size_t(shown[std::size_t(from + i)])]);
                for (int i = c - 1; i >= 0; --i)
                    m.rows.erase(m.rows.begin() + shown[std::size_t(from + i)]);
                const int at = m.InsertPlace(t);
                m.rows.insert(m.rows.begin() + at, run.begin(), run.end());
            } else if (op == 7) { // clear a row's cells
                const int d = pick(0, count - 1);
                g->ClearRowCells(d);
                m.rows[std::size_t(m.Displayed()[std::size_t(d)])].text.clear();
            } else if (op == 8) { // text, height and flags of a row
                const int d = pick(0, count - 1);
                TModelRow& r = m.rows[std::size_t(m.Displayed()[std::size_t(d)])];
                r.text = fresh();
                r.height = pick(0, 1) ? 30 + pick(0, 9) : 0;
                r.modified = pick(0, 1);
                r.selected = pick(0, 1);
                g->SetCells(0, d, r.text);
                g->SetRowHeights(d, r.height ? r.height : g->DefaultRowHeight());
                g->ModifiedRows()->SetInteger(d, r.modified);
                g->SetRowSelect(d, r.selected);
            } else if (op == 9) { // remove the selected rows
                std::vector<int> keep;
                const std::vector<int> shown = m.Displayed();
                int sel = 0;
                for (int d : shown)
                    sel += m.rows[std::size_t(d)].selected;
                if (sel >= count)
                    continue;
                g->MouseActions()->SetDisjunctRowSelect(true);
                g->RemoveSelectedRows();
                g->MouseActions()->SetDisjunctRowSelect(false);
                for (int i = int(shown.size()) - 1; i >= 0; --i)
                    if (m.rows[std::size_t(shown[std::size_t(i)])].selected)
                        m.rows.erase(m.rows.begin() + shown[std::size_t(i)]);
                for (TModelRow& r : m.rows)
                    if (!r.hidden)
                        r.selected = false;
                // The hidden rows' flags were cleared as well: the flags of the
                // displayed rows go, those kept with hidden rows come back.
            } else { // show everything
                g->UnHideRowsAll();
                for (TModelRow& r : m.rows)
                    r.hidden = false;
            }
            Check(*g, m, g->DefaultRowHeight());
            if (HasFailure())
                return;
        }
    }
}

} // namespace
