// Find, find next and replace over the walk orders and index spaces, the
// incremental search with its timer, and the search panel's handlers.
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using G = TExStringGrid;

class TFindGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    std::vector<QString> Marks;
    void SearchHighlight(const QString& Text, bool DoCase) override { Marks.push_back(Text + (DoCase ? "/case" : "")); }
    void SearchUnHighlight() override { Marks.push_back("-"); }
};

// Fixed row 0 and fixed column 0; normal cells in columns 1..2, rows 1..4.
struct TGrid {
    TFindGrid* g = new TFindGrid(nullptr);
    TGrid()
    {
        g->SetColCount(3);
        g->SetRowCount(5);
        const char* cells[4][2]
            = { { "apple", "Banana" }, { "", "pineapple" }, { "<b>bo</b>ld", "APPLE" }, { "grape", "x" } };
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 2; ++c)
                g->SetCells(c + 1, r + 1, cells[r][c]);
        g->SetCells(1, 0, "apex");
    }
    ~TGrid() { delete g; }
    TGrid(const TGrid&) = delete;
    TGrid& operator=(const TGrid&) = delete;
    TFindGrid* operator->() const { return g; }
    std::vector<QPoint> All(const QString& s, G::TFindParams p) const
    {
        std::vector<QPoint> out;
        for (QPoint c = g->FindFirst(s, p); c.x() >= 0; c = g->FindNext())
            out.push_back(c);
        return out;
    }
};

const QPoint None(-1, -1);

TEST(ExGridFind, FirstMatchByCaseStartFullTagsAndRange)
{
    struct Case {
        const char* Text;
        G::TFindParams Params;
        QPoint Expected;
    };
    const std::vector<Case> cases = {
        { "apple", {}, QPoint(1, 1) },
        { "APPLE", G::fnMatchCase, QPoint(2, 3) },
        { "an", G::fnDirectionLeftRight, QPoint(2, 1) },
        { "apple", G::fnMatchStart | G::fnBackward, QPoint(2, 3) },
        { "apple", G::fnMatchStart | G::fnMatchCase | G::fnBackward, QPoint(1, 1) },
        { "ple", G::fnMatchFull, None },
        { "Apple", G::fnMatchFull, QPoint(1, 1) },
        { "Apple", G::fnMatchFull | G::fnMatchCase, None },
        { "\"\"", {}, QPoint(1, 2) },
        { "", {}, None },
        { "bold", {}, None },
        { "bold", G::fnIgnoreHTMLTags, QPoint(1, 3) },
        { "apex", {}, None },
        { "apex", G::fnIncludeFixed, QPoint(1, 0) },
        { "gr*", G::fnMatchRegular, QPoint(1, 4) },
        { "x", G::fnBackward, QPoint(2, 4) },
    };
    for (const Case& c : cases) {
        TGrid t;
        EXPECT_EQ(t->FindFirst(c.Text, c.Params), c.Expected) << c.Text << " " << int(c.Params);
        EXPECT_FALSE(t->FindBusy());
    }
}

TEST(ExGridFind, FindBusyOnlyWhileTheWalkRuns)
{
    TGrid t;
    int busy = 0, idle = 0;
    t->OnGetDisplText = [&](TObject*, int, int, QString&) { ++(t->FindBusy() ? busy : idle); };
    for (const char* s : { "grape", "nowhere" }) {
        busy = idle = 0;
        t->FindFirst(s, {});
        EXPECT_GT(busy, 0) << s;
        EXPECT_EQ(idle, 0) << s;
        EXPECT_FALSE(t->FindBusy()) << s;
    }
}

TEST(ExGridFind, NothingToSearchGivesNoCell)
{
    TFindGrid g(nullptr);
    g.SetColCount(2);
    g.SetRowCount(3);
    g.SetFixedRightCols(1); // column 0 fixed left, column 1 fixed right
    g.SetCells(0, 1, "a");
    g.SetCells(1, 2, "a");
    EXPECT_EQ(g.FindFirst("a", {}), None);
    EXPECT_EQ(g.FindFirst("\"\"", {}), None);
}

TEST(ExGridFind, WalkOrdersAndFindNextPastTheEnd)
{
    TGrid t;
    using V = std::vector<QPoint>;
    EXPECT_EQ(t.All("a", {}), (V { { 1, 1 }, { 1, 4 }, { 2, 1 }, { 2, 2 }, { 2, 3 } }));
    EXPECT_EQ(t.All("a", G::fnDirectionLeftRight), (V { { 1, 1 }, { 2, 1 }, { 2, 2 }, { 2, 3 }, { 1, 4 } }));
    EXPECT_EQ(t.All("a", G::fnBackward), (V { { 2, 3 }, { 2, 2 }, { 2, 1 }, { 1, 4 }, { 1, 1 } }));
    // After the miss the next find starts over.
    EXPECT_EQ(t->SearchCellPos(), None);
    EXPECT_EQ(t->FindNext(), QPoint(2, 3));
}

TEST(ExGridFind, IgnoredColumnsOnlyAcross)
{
    TGrid t;
    t->IgnoreColumns()->Add(1);
    EXPECT_EQ(t->FindFirst("apple", G::fnDirectionLeftRight), QPoint(2, 2));
    EXPECT_EQ(t->FindFirst("apple", {}), QPoint(1, 1));
}

TEST(ExGridFind, RestrictedFindNextAdvancesInsideItsRowOrColumn)
{
    TGrid t;
    using V = std::vector<QPoint>;
    t->SetCells(1, 2, "pear");
    t->SetRow(2);
    t->SetCol(2);
    EXPECT_EQ(t.All("p", G::fnFindInCurrentRow), (V { { 1, 2 }, { 2, 2 } }));
    EXPECT_EQ(t.All("p", G::fnFindInCurrentRow | G::fnDirectionLeftRight), (V { { 1, 2 }, { 2, 2 } }));
    EXPECT_EQ(t.All("a", G::fnFindInCurrentCol), (V { { 2, 1 }, { 2, 2 }, { 2, 3 } }));
    t->SetFindCol(1);
    EXPECT_EQ(t.All("a", G::fnFindInPresetCol | G::fnDirectionLeftRight), (V { { 1, 1 }, { 1, 2 }, { 1, 4 } }));
    t->SetFindRow(3);
    EXPECT_EQ(t.All("l", G::fnFindInPresetRow), (V { { 1, 3 }, { 2, 3 } }));
    t->SetSelection(TGridRect { 2, 2, 2, 3 });
    EXPECT_EQ(t.All("apple", G::fnSelectedCells), (V { { 2, 2 }, { 2, 3 } }));
}

TEST(ExGridFind, HiddenRowsAndColumns)
{
    TGrid t;
    t->HideRow(2); // "" and "pineapple"
    EXPECT_EQ(t->FindFirst("pine", {}), None);
    // Real rows: the hidden row keeps its place.
    EXPECT_EQ(t->FindFirst("pine", G::fnIncludeHiddenRows), QPoint(2, 2));
    EXPECT_EQ(t->FindFirst("grape", G::fnIncludeHiddenRows), QPoint(1, 4));
    EXPECT_EQ(t->FindFirst("grape", {}), QPoint(1, 3));
    // The kept texts of the hidden row read "" in a column added later.
    t->SetColCount(4);
    t->SetCells(3, 1, "f");
    t->SetCells(3, 3, "f");
    t->SetCells(3, 4, "f");
    t->SetFindCol(3);
    EXPECT_EQ(t->FindFirst("\"\"", G::fnIncludeHiddenRows | G::fnFindInPresetCol), QPoint(3, 2));

    TGrid h;
    h->HideColumn(1);
    EXPECT_EQ(h->FindFirst("grape", {}), None);
    EXPECT_EQ(h->FindFirst("Banana", {}), QPoint(1, 1));
    EXPECT_EQ(h->FindFirst("grape", G::fnIncludeHiddenColumns), QPoint(1, 4));
    EXPECT_EQ(h->FindFirst("Banana", G::fnIncludeHiddenColumns), QPoint(2, 1));
}

TEST(ExGridFind, AutoGotoMovesTheCurrentCellAndOpensTheNode)
{
    TGrid t;
    t->FindFirst("pineapple", G::fnAutoGoto);
    EXPECT_EQ(t->Row(), 2);
    EXPECT_EQ(t->Col(), 2);

    t->MouseActions()->SetDisjunctRowSelect(true);
    t->SetRowSelect(1, true);
    t->FindFirst("grape", G::fnAutoGoto);
    EXPECT_EQ(t->Row(), 4);
    EXPECT_FALSE(t->RowSelect(1));
    EXPECT_TRUE(t->RowSelect(4));

    TGrid n;
    n->AddNode(1, 3);
    n->ContractNode(1);
    ASSERT_TRUE(n->IsHiddenRow(3));
    EXPECT_EQ(n->FindFirst("APPLE", G::fnMatchCase | G::fnIncludeHiddenRows | G::fnAutoGoto), QPoint(2, 3));
    EXPECT_FALSE(n->IsHiddenRow(3));
    EXPECT_EQ(n->Row(), 3);
}

TEST(ExGridFind, FindWideOnWideTexts)
{
    TGrid t;
    t->SetCells(2, 4, QString::fromUtf8("\xce\xb1\xce\xb2\xce\xb3"));
    EXPECT_EQ(t->FindWide(None, QString::fromUtf8("\xce\x92"), {}), QPoint(2, 4));
    EXPECT_EQ(t->FindWide(None, QString::fromUtf8("\xce\x92"), G::fnMatchCase), None);
}

TEST(ExGridFind, ReplaceCountsChangedCellsOnce)
{
    TGrid t;
    EXPECT_EQ(t->Replace("apple", "Apple", {}), 3);
    EXPECT_EQ(t->Cells(1, 1), "Apple");
    EXPECT_EQ(t->Cells(2, 2), "pineApple");
    EXPECT_EQ(t->Cells(2, 3), "Apple");
    // Nothing changes the second time.
    EXPECT_EQ(t->Replace("apple", "Apple", {}), 0);
    // A new text holding the old one does not loop.
    EXPECT_EQ(t->Replace("x", "xx", {}), 1);
    EXPECT_EQ(t->Cells(2, 4), "xx");
}

TEST(ExGridFind, ReplaceWritesStoredTextsOfHiddenRowsAndMarksRows)
{
    TGrid t;
    t->OnGetDisplText = [](TObject*, int, int, QString& v) {
        if (!v.isEmpty())
            v = "#" + v;
    };
    t->ShowModified()->Enabled = true;
    t->HideRow(2);
    EXPECT_EQ(t->Replace("apple", "pear", G::fnIncludeHiddenRows), 3);
    EXPECT_EQ(t->AllGridCells(1, 1), "pear");
    EXPECT_EQ(t->AllGridCells(2, 2), "pinepear");
    EXPECT_EQ(t->AllGridCells(2, 3), "pear");
    EXPECT_TRUE(t->RowModified(1));
    EXPECT_TRUE(t->RowModified(2)); // real row 3
    EXPECT_FALSE(t->RowModified(3));
}

struct TIncGrid {
    TExStringGrid* g = new TExStringGrid(nullptr);
    TIncGrid()
    {
        g->SetColCount(2);
        g->SetRowCount(6);
        int r = 1;
        for (const char* s : { "Alpha", "Beta", "Bravo", "<b>Delta</b>", "Charlie" })
            g->SetCells(1, r++, s);
    }
    ~TIncGrid() { delete g; }
    TIncGrid(const TIncGrid&) = delete;
    TIncGrid& operator=(const TIncGrid&) = delete;
};

// Letters whose upper case is longer ("ß" gives "SS"): the key and the cells
// are upper-cased alike, so every spelling finds the cell, FindNext with the
// kept key goes on finding, and replacing changes what was found.
TEST(ExGridFind, CaseBlindFindReplaceAndIncrementalSearchWithLongerUpperCase)
{
    const QString strasse = QString::fromUtf16(u"Straße 5");
    const QString lowerKey = QString::fromUtf16(u"straße");
    struct Case {
        QString Key;
        G::TFindParams Params;
        QPoint Expected;
    };
    const Case cases[] = {
        { lowerKey, {}, QPoint(2, 2) },
        { "STRASSE", {}, QPoint(2, 2) },
        { "strasse 5", G::fnMatchFull, QPoint(2, 2) },
        { lowerKey, G::fnMatchStart, QPoint(2, 2) },
        { lowerKey + "*", G::fnMatchRegular, QPoint(2, 2) },
        { lowerKey, G::fnMatchCase, None },
        { "sse 5", G::fnMatchCase, None },
        { "sse 5", {}, QPoint(2, 2) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Key.toStdString() + " " + std::to_string(int(c.Params)));
        TGrid t;
        t->SetCells(2, 2, strasse);
        t->SetCells(2, 4, strasse);
        EXPECT_EQ(t->FindFirst(c.Key, c.Params), c.Expected);
        if (c.Expected != None) {
            EXPECT_EQ(t->FindNext(), QPoint(2, 4));
        }
    }

    TGrid t;
    t->SetCells(2, 2, strasse);
    t->SetCells(2, 4, QString::fromUtf16(u"Hauptstraße"));
    EXPECT_EQ(t->Replace(lowerKey, "Weg", {}), 2);
    EXPECT_EQ(t->Cells(2, 2), "Weg 5");
    EXPECT_EQ(t->Cells(2, 4), "HauptWeg");

    TIncGrid inc;
    inc.g->SetCells(1, 3, strasse);
    inc.g->Navigation()->AutoGotoIncremental = true;
    for (QChar k : QString::fromUtf16(u"straß"))
        inc.g->IncrementalSearchKey(k);
    EXPECT_EQ(inc.g->Row(), 3);
    EXPECT_EQ(inc.g->IncrSearchText(), QString::fromUtf16(u"straß"));
}

TEST(ExGridFind, IncrementalSearchBuildsAndForgetsItsText)
{
    TIncGrid t;
    TExStringGrid& g = *t.g;
    EXPECT_EQ(g.Search("DE"), 4); // tags stripped
    EXPECT_EQ(g.Search("BRAVOX"), -1);

    g.Navigation()->AutoGotoIncremental = true;
    EXPECT_EQ(g.IncrementalSearchKey('b'), 2);
    EXPECT_EQ(g.IncrementalSearchKey('r'), 3);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.IncrSearchText(), "br");
    for (int i = 0; i < 3; ++i)
        g.IncrementalSearchTick();
    EXPECT_EQ(g.IncrSearchText(), "br");
    EXPECT_EQ(g.IncrementalSearchKey(QChar(8)), 2); // back to "b"
    for (int i = 0; i < 4; ++i)
        g.IncrementalSearchTick();
    EXPECT_EQ(g.IncrSearchText(), "");
    EXPECT_EQ(g.IncrementalSearchKey('c'), 5);
    EXPECT_EQ(g.IncrementalSearchKey('z'), -1);
    EXPECT_EQ(g.IncrSearchText(), "");
    EXPECT_EQ(g.Row(), 5);

    // Without the incremental mode each key searches alone.
    g.Navigation()->AutoGotoIncremental = false;
    EXPECT_EQ(g.IncrementalSearchKey('b'), 2);
    EXPECT_EQ(g.IncrementalSearchKey('a'), 1);
    EXPECT_EQ(g.IncrSearchText(), "a");

    // The grid's own timer ages the text.
    g.Navigation()->AutoGotoIncremental = true;
    for (int i = 0; i < 4; ++i)
        g.Perform(WM_TIMER, 111, 0);
    EXPECT_EQ(g.IncrSearchText(), "");
}

TEST(ExGridFind, IncrementalSearchColumnFollowsSortSettings)
{
    TIncGrid t;
    TExStringGrid& g = *t.g;
    g.SetColCount(3);
    g.SetCells(2, 5, "Zulu");
    g.SortSettings()->SetShow(true);
    EXPECT_EQ(g.Search("Z"), -1); // Column -1
    g.SortSettings()->Column = 2;
    EXPECT_EQ(g.Search("Z"), 5);
}

TEST(ExGridFind, SearchPanelEditFindsFirstAndTurnsRedOnMiss)
{
    TGrid t;
    std::vector<QPoint> actions;
    t->OnSearchFooterAction = [&](TObject*, const QString&, int c, int r, G::TSearchAction a) {
        EXPECT_EQ(a, G::TSearchAction::saFindFirst);
        actions.emplace_back(c, r);
    };
    auto& panel = t->SearchPanelState();
    panel.Text = "zzz";
    t->SearchFooterEditChange(nullptr);
    EXPECT_EQ(panel.EditColor, clRed);
    panel.Text = "pine";
    t->SearchFooterEditChange(nullptr);
    EXPECT_EQ(panel.EditColor, clWindow);
    EXPECT_EQ(t->Row(), 2);
    EXPECT_EQ(t->Col(), 2);
    EXPECT_EQ(actions, (std::vector<QPoint> { None, { 2, 2 } }));

    // Highlighting: old marks go before the find, new ones after it.
    panel.HighlightDown = true;
    panel.MatchCase = true;
    panel.Text = "APPLE";
    t->SearchFooterEditChange(nullptr);
    EXPECT_EQ(t->Marks, (std::vector<QString> { "-", "APPLE/case" }));
    EXPECT_EQ(t->Row(), 3);

    // The handler may take the search over.
    t->OnSearchEditChange = [](TObject*, const QString&, bool& d) { d = false; };
    panel.Text = "zzz";
    t->SearchFooterEditChange(nullptr);
    EXPECT_EQ(panel.EditColor, clWindow);
}

TEST(ExGridFind, SearchPanelNextPreviousCloseAndHighlight)
{
    TGrid t;
    std::vector<G::TSearchAction> actions;
    t->OnSearchFooterAction = [&](TObject*, const QString&, int, int, G::TSearchAction a) { actions.push_back(a); };
    auto& panel = t->SearchPanelState();
    panel.Text = "a";
    t->SearchFooter()->SearchDirection = TSearchDirection::sdLeftRight;
    t->SearchFooterEditChange(nullptr);
    EXPECT_EQ(t->SearchCellPos(), QPoint(1, 1));
    t->SearchFooterFindNext(nullptr);
    EXPECT_EQ(t->SearchCellPos(), QPoint(2, 1));
    t->SearchFooterFindNext(nullptr);
    EXPECT_EQ(t->SearchCellPos(), QPoint(2, 2));
    t->SearchFooterFindPrevious(nullptr);
    EXPECT_EQ(t->SearchCellPos(), QPoint(2, 1));
    EXPECT_EQ(t->Row(), 1);
    EXPECT_EQ(t->Col(), 2);
    EXPECT_EQ(actions.back(), G::TSearchAction::saFindPrevious);

    // Without AutoSearch a changed text starts again from the top.
    t->SearchFooter()->AutoSearch = false;
    panel.Text = "grape";
    t->SearchFooterFindNext(nullptr);
    EXPECT_EQ(t->SearchCellPos(), QPoint(1, 4));
    EXPECT_EQ(t->SearchFooter()->LastSearch, "grape");
    panel.Text = "apple";
    t->SearchFooterFindNext(nullptr);
    EXPECT_EQ(t->SearchCellPos(), QPoint(1, 1));
    EXPECT_EQ(actions.back(), G::TSearchAction::saFindNext);

    panel.HighlightDown = true;
    t->SearchFooterHighlight(nullptr);
    panel.HighlightDown = false;
    t->SearchFooterHighlight(nullptr);
    EXPECT_EQ(t->Marks, (std::vector<QString> { "apple", "-" }));

    bool closed = false;
    t->OnSearchFooterClose = [&](TObject*) { closed = true; };
    t->SearchFooter()->SetVisible(true);
    t->SearchFooterClose(nullptr);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(t->SearchFooter()->Visible());
}

} // namespace
