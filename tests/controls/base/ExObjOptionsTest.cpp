// The grid's option objects: starting values, setter side effects and which
// settings Assign copies; one table of fields per object.
#include "controls/base/ExObjOptions.h"
#include "common/FieldTable.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(ExObjOptions, SearchFooterStartsAndAssignsAllButAutoSearchAndFixedCells)
{
    using T = TSearchFooter;
    const std::vector<Field<T>> fields = {
        PLAIN(T, AlwaysHighLight, 0, 1, true),
        PLAIN(T, AutoSearch, 1, 0, false),
        PROP(T, Color, 0xFFFFFF, 0x123456, true),
        PROP(T, ColorTo, int(clBtnFace), 0x654321, true),
        PLAIN(T, SearchActiveColumnOnly, 0, 1, true),
        PLAIN(T, SearchColumn, -1, 4, true),
        PLAIN(T, SearchMatchStart, 0, 1, true),
        PLAIN(T, SearchFixedCells, 0, 1, false),
        PLAIN(T, SearchHiddenRows, 0, 1, true),
        PLAIN(T, SearchDirection, 0, 1, true),
        PROP(T, ShowClose, 1, 0, true),
        PROP(T, ShowFindNext, 1, 0, true),
        PROP(T, ShowFindPrev, 1, 0, true),
        PROP(T, ShowHighLight, 1, 0, true),
        PROP(T, ShowMatchCase, 1, 0, true),
        PROP(T, Visible, 0, 1, true),
    };
    CheckStartAndAssign(fields, [] { return std::make_unique<T>(nullptr, false); });

    T src(nullptr, true), dst(nullptr, false);
    src.Font()->SetSize(14);
    src.LastSearch = "abc";
    dst.Assign(&src);
    EXPECT_EQ(dst.FindNextCaption(), "Find &next");
    EXPECT_EQ(dst.HintHighlight(), "Highlight occurrences");
    EXPECT_EQ(dst.Font()->Size(), 14);
    EXPECT_NE(dst.Font(), src.Font());
    EXPECT_TRUE(dst.LastSearch.isEmpty()); // not a published setting
}

TEST(ExObjOptions, SearchFooterCaptionsStartEmptyWithoutTheFlag)
{
    TSearchFooter plain(nullptr, false);
    TSearchFooter english(nullptr, true);
    const QStringList empty
        = { plain.FindPrevCaption(), plain.FindNextCaption(), plain.MatchCaseCaption(), plain.HighLightCaption(),
              plain.HintClose(), plain.HintFindNext(), plain.HintFindPrev(), plain.HintHighlight() };
    for (const QString& s : empty)
        EXPECT_TRUE(s.isEmpty());
    const QStringList texts = { english.FindPrevCaption(), english.FindNextCaption(), english.MatchCaseCaption(),
        english.HighLightCaption(), english.HintClose(), english.HintFindNext(), english.HintFindPrev(),
        english.HintHighlight() };
    EXPECT_EQ(texts,
        (QStringList { "Find &previous", "Find &next", "Match case", "Highlight", "Close", "Find next occurrence",
            "Find previous occurrence", "Highlight occurrences" }));
}

TEST(ExObjOptions, SearchFooterFiresOnChangeAlwaysOrOnlyOnAChange)
{
    TSearchFooter f(nullptr, false);
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    struct Case {
        const char* name;
        std::function<void()> set; // sets the value it already has
        int expected;
    };
    const Case cases[] = {
        { "Color", [&] { f.SetColor(f.Color()); }, 1 },
        { "ColorTo", [&] { f.SetColorTo(f.ColorTo()); }, 1 },
        { "Caption", [&] { f.SetFindNextCaption(f.FindNextCaption()); }, 1 },
        { "Hint", [&] { f.SetHintClose(f.HintClose()); }, 1 },
        { "Font", [&] { f.SetFont(f.Font()); }, 1 },
        { "ShowClose", [&] { f.SetShowClose(true); }, 1 },
        { "AutoThemeAdapt", [&] { f.SetAutoThemeAdapt(false); }, 1 },
        { "ShowFindNext", [&] { f.SetShowFindNext(true); }, 0 },
        { "ShowFindPrev", [&] { f.SetShowFindPrev(true); }, 0 },
        { "ShowHighLight", [&] { f.SetShowHighLight(true); }, 0 },
        { "ShowMatchCase", [&] { f.SetShowMatchCase(true); }, 0 },
        { "Visible", [&] { f.SetVisible(false); }, 0 },
        { "Visible changed", [&] { f.SetVisible(true); }, 1 },
    };
    for (const Case& c : cases) {
        changes = 0;
        c.set();
        EXPECT_EQ(changes, c.expected) << c.name;
    }
}

TEST(ExObjOptions, NavigationStartsAndAssignsAllButKeepScrollOnSort)
{
    using T = TNavigation;
    const std::vector<Field<T>> fields = {
        PLAIN(T, AllowInsertRow, 0, 1, true),
        PLAIN(T, AllowDeleteRow, 0, 1, true),
        PLAIN(T, AlwaysEdit, 0, 1, true),
        PLAIN(T, AdvanceOnEnterLoop, 1, 0, true),
        PROP(T, AdvanceInsert, 0, 1, true),
        PLAIN(T, AdvanceAutoEdit, 1, 0, true),
        PLAIN(T, AdvanceSkipReadOnlyCells, 1, 0, true),
        PLAIN(T, AutoGotoWhenSorted, 0, 1, true),
        PLAIN(T, AutoGotoIncremental, 0, 1, true),
        PLAIN(T, AutoComboDropSize, 0, 1, true),
        PROP(T, AdvanceDirection, 0, 2, true),
        PLAIN(T, AllowClipboardShortCuts, 0, 1, true),
        PLAIN(T, AllowCtrlEnter, 1, 0, true),
        PLAIN(T, AllowSmartClipboard, 0, 1, true),
        PLAIN(T, AllowRTFClipboard, 0, 1, true),
        PLAIN(T, AllowFmtClipboard, 0, 1, true),
        PLAIN(T, AllowClipboardAlways, 0, 1, true),
        PLAIN(T, AllowClipboardRowGrow, 1, 0, true),
        PLAIN(T, AllowClipboardColGrow, 1, 0, true),
        PLAIN(T, AppendOnArrowDown, 0, 1, true),
        PLAIN(T, EditSelectAll, 1, 0, true),
        PLAIN(T, InsertPosition, 0, 1, true),
        PLAIN(T, ClipboardPasteAction, 0, 1, true),
        PLAIN(T, ComboGetUpDown, 1, 0, true),
        PLAIN(T, CursorAdvance, 0, 2, true),
        PLAIN(T, CursorWalkEditor, 0, 1, true),
        PLAIN(T, CursorWalkAlwaysEdit, 1, 0, true),
        PLAIN(T, CursorMoveRows, 0, 1, true),
        PLAIN(T, MoveRowOnSort, 0, 1, true),
        PLAIN(T, KeepScrollOnSort, 0, 1, false),
        PLAIN(T, MoveScrollOnly, 0, 1, true),
        PLAIN(T, ImproveMaskSel, 0, 1, true),
        PLAIN(T, LeftRightRowSelect, 1, 0, true),
        PLAIN(T, CopyHTMLTagsToClipboard, 1, 0, true),
        PLAIN(T, KeepHorizScroll, 0, 1, true),
        PLAIN(T, LineFeedOnEnter, 0, 1, true),
        PLAIN(T, HomeEndKey, 0, 1, true),
        PLAIN(T, SkipFixedCells, 1, 0, true),
        PLAIN(T, SkipDisabledRows, 1, 0, true),
        PLAIN(T, TabToNextAtEnd, 0, 1, true),
        PLAIN(T, TabAdvanceDirection, 0, 3, true),
        // AdvanceAuto last: turning it on also sets AdvanceOnEnter in the source.
        PLAIN(T, AdvanceOnEnter, 0, 1, true),
        PROP(T, AdvanceAuto, 0, 1, true),
    };
    CheckStartAndAssign(fields, [] { return std::make_unique<T>(); });
}

TEST(ExObjOptions, NavigationSetterSideEffects)
{
    TNavigation n;
    int changes = 0;
    n.OnChange = [&](TObject*) { ++changes; };
    n.SetAdvanceDirection(TAdvanceDirection::adLeftRight);
    n.SetAdvanceInsert(false);
    EXPECT_EQ(changes, 0);
    n.SetAdvanceDirection(TAdvanceDirection::adTopBottom);
    n.SetAdvanceInsert(true);
    EXPECT_EQ(changes, 2);
    n.SetAdvanceAuto(true);
    EXPECT_TRUE(n.AdvanceOnEnter);
    n.AdvanceOnEnter = false;
    n.SetAdvanceAuto(false);
    EXPECT_FALSE(n.AdvanceOnEnter);
}

TEST(ExObjOptions, MouseActionsStartAndAssignAllButThreeSettings)
{
    using T = TMouseActions;
    const std::vector<Field<T>> fields = {
        PLAIN(T, AllColumnSize, 0, 1, true),
        PLAIN(T, AllRowSize, 0, 1, true),
        PLAIN(T, AllSelect, 0, 1, true),
        PLAIN(T, AutoSizeColOnDblClick, 1, 0, true),
        PLAIN(T, CaretPositioning, 0, 1, true),
        PLAIN(T, ColSelect, 0, 1, true),
        PLAIN(T, DirectComboClose, 0, 1, true),
        PLAIN(T, DirectComboDrop, 0, 1, true),
        PLAIN(T, DirectDateClose, 0, 1, true),
        PLAIN(T, DirectDateDrop, 0, 1, true),
        PLAIN(T, DirectEdit, 0, 1, true),
        PROP(T, DisjunctColSelect, 0, 1, true),
        PROP(T, DisjunctCellSelect, 0, 1, true),
        PLAIN(T, DisjunctRowSelectNoCtrl, 0, 1, true),
        PROP(T, EditOnDblClickOnly, 0, 1, false),
        PLAIN(T, FixedRowsEdit, 0, 1, true),
        PLAIN(T, FixedRowsEditor, 0, 2, true),
        PLAIN(T, FixedColsEditor, 0, 1, true),
        PLAIN(T, FixedColsEdit, 0, 1, true),
        PLAIN(T, MoveRowOnNodeClick, 0, 1, true),
        PLAIN(T, NoAutoRangeScroll, 0, 1, true),
        PLAIN(T, NodeAllExpandContract, 0, 1, true),
        PLAIN(T, NoScrollOnPartialRow, 0, 1, true),
        PLAIN(T, PreciseCheckBoxCheck, 0, 1, true),
        PLAIN(T, PreciseNodeClick, 1, 0, true),
        PLAIN(T, RangeSelectAndEdit, 0, 1, true),
        PLAIN(T, RowSelect, 0, 1, true),
        PLAIN(T, RowSelectPersistent, 0, 1, true),
        PLAIN(T, SelectOnRightClick, 0, 1, true),
        PLAIN(T, SizeFixedCol, 0, 1, true),
        PLAIN(T, SizeFixedRow, 0, 1, true),
        PLAIN(T, WheelIncrement, 0, 3, true),
        PROP(T, WheelAction, 0, 1, true),
        // HotmailRowSelect also sets DisjunctRowSelect and CheckAllCheck in
        // the source; those two are copied, HotmailRowSelect is not.
        PROP(T, HotmailRowSelect, 0, 1, false),
        PROP(T, DisjunctRowSelect, 0, 1, true),
        PLAIN(T, CheckAllCheck, 0, 1, true),
    };
    CheckStartAndAssign(fields, [] { return std::make_unique<T>(nullptr); });

    T src(nullptr), dst(nullptr);
    src.FixedComboValues()->Add("a");
    dst.Assign(&src);
    EXPECT_EQ(dst.FixedComboValues()->Count(), 0);
    TStringList values;
    values.Add("x");
    dst.SetFixedComboValues(&values);
    values.Add("y");
    EXPECT_EQ(dst.FixedComboValues()->Count(), 1); // a copy
}

TEST(ExObjOptions, MouseActionsSetterSideEffects)
{
    TMouseActions m(nullptr);
    int invalidates = 0, disables = 0, changes = 0;
    m.OnInvalidate = [&](TObject*) { ++invalidates; };
    m.OnDisableEdit = [&](TObject*) { ++disables; };
    m.OnChange = [&](TObject*) { ++changes; };

    m.SetHotmailRowSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck);
    m.SetHotmailRowSelect(false);
    EXPECT_TRUE(m.DisjunctRowSelect()); // left as they are
    EXPECT_TRUE(m.CheckAllCheck);
    EXPECT_EQ(invalidates, 2);

    m.SetEditOnDblClickOnly(false);
    m.SetEditOnDblClickOnly(true);
    EXPECT_EQ(disables, 1);

    m.SetWheelAction(TWheelAction::waMoveSelection);
    m.SetWheelAction(TWheelAction::waScroll);
    EXPECT_EQ(changes, 1);

    // At run time the disjunct selections combine; while designing one excludes the others.
    m.SetDisjunctColSelect(true);
    m.SetDisjunctCellSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect() && m.DisjunctColSelect() && m.DisjunctCellSelect());
    m.OnIsDesigning = [](TObject*, bool& designing) { designing = true; };
    m.SetDisjunctColSelect(true);
    EXPECT_FALSE(m.DisjunctRowSelect());
    EXPECT_FALSE(m.DisjunctCellSelect());
    m.SetDisjunctRowSelectDirect(true);
    EXPECT_TRUE(m.DisjunctRowSelect() && m.DisjunctColSelect());
}

TEST(ExObjOptions, SyncGridRefusesItsOwnerAndAssignsGridAndFlags)
{
    // Only the grids' identities matter here.
    alignas(8) static char grids[3];
    auto* owner = reinterpret_cast<TExStringGrid*>(&grids[0]);
    auto* other = reinterpret_cast<TExStringGrid*>(&grids[1]);
    TSyncGrid sync(owner);
    sync.SetGrid(other);
    sync.SetGrid(owner);
    EXPECT_EQ(sync.Grid(), other);

    using T = TSyncGrid;
    const std::vector<Field<T>> fields = {
        PLAIN(T, ScrollVertical, 0, 1, true),
        PLAIN(T, ScrollHorizontal, 0, 1, true),
        PLAIN(T, SelectionColumn, 0, 1, true),
        PLAIN(T, SelectionRow, 0, 1, true),
        PLAIN(T, MoveColumn, 0, 1, true),
        PLAIN(T, MoveRow, 0, 1, true),
    };
    CheckStartAndAssign(fields, [owner] { return std::make_unique<T>(owner); });

    TSyncGrid fromOther(other);
    fromOther.SetGrid(owner);
    TSyncGrid mine(owner);
    mine.Assign(&fromOther); // through the setter: its own owner is refused
    EXPECT_EQ(mine.Grid(), nullptr);
}

TEST(ExObjOptions, BandsFireWhileActiveAndAssignWithTotalLength)
{
    TBands b;
    EXPECT_FALSE(b.Active());
    EXPECT_EQ(b.PrimaryColor(), clInfoBk);
    EXPECT_EQ(b.SecondaryColor(), clWindow);
    EXPECT_EQ(b.TotalLength(), 2);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.SetPrimaryColor(clRed);
    b.SetSecondaryLength(4);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(b.TotalLength(), 5);
    b.SetActive(true);
    b.SetActive(true);
    EXPECT_EQ(changes, 1);
    b.SetPrimaryLength(2);
    b.SetSecondaryColor(clBlue);
    EXPECT_EQ(changes, 3);

    TBands src;
    src.SetPrimaryLength(2);
    src.SetSecondaryLength(3);
    src.Print = true;
    src.SetPrimaryColor(clLime);
    TBands dst;
    int dstChanges = 0;
    dst.OnChange = [&](TObject*) { ++dstChanges; };
    dst.Assign(&src);
    EXPECT_EQ(dst.TotalLength(), 5);
    EXPECT_TRUE(dst.Print);
    EXPECT_EQ(dst.PrimaryColor(), clLime);
    EXPECT_EQ(dstChanges, 0);

    TFocusHelper fh, fh2;
    fh.Enabled = true;
    fh2.Assign(&fh);
    EXPECT_TRUE(fh2.Enabled);
    fh2.Assign(&src); // another class: ignored
    EXPECT_TRUE(fh2.Enabled);
}

} // namespace
