// The update lock (counted by the paints that reach the cells), focus
// arrival with AlwaysEdit, the search bar's accelerators and the mouse
// cursor per select mode, through real input on the offscreen platform.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/Messages.h"
#include "platform/controls/StdCtrls.h"
#include "tests/common/GridOnForm.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <string>
#include <vector>

namespace {

class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::FSizeFixed;
    using TExStringGrid::FSizeFixedR;
    using TExStringGrid::TExStringGrid;
};

struct TPaintedGrid : TGridOnForm<TProbeGrid> {
    int Paints = 0;
    TPaintedGrid()
        : TGridOnForm<TProbeGrid>(4, 8, 220, 160)
    {
        Grid->OnPainted = [this](TObject*) { ++Paints; };
        Flush();
    }
    // The paints asked for so far reach the window.
    int Flush()
    {
        QApplication::processEvents();
        const int n = Paints;
        Paints = 0;
        return n;
    }
};

} // namespace

TEST(ExGridLock, NestedBracketsPaintOnceAtTheEnd)
{
    TPaintedGrid f;
    TProbeGrid* g = f.Grid;
    g->BeginUpdate();
    g->BeginUpdate();
    g->SetCells(1, 1, QStringLiteral("a"));
    g->Invalidate();
    EXPECT_EQ(f.Flush(), 0);
    g->EndUpdate();
    EXPECT_TRUE(g->LockUpdate());
    g->Repaint();
    EXPECT_EQ(f.Flush(), 0) << "still locked";
    g->EndUpdate();
    EXPECT_FALSE(g->LockUpdate());
    EXPECT_EQ(f.Flush(), 1);
    g->EndUpdate(); // one too many: the count stays at 0 and repaints once
    EXPECT_EQ(g->UpdateCount(), 0);
    EXPECT_EQ(f.Flush(), 1);
}

TEST(ExGridLock, HidingBetweenTheCallsNeitherLocksForGoodNorLowersTooMuch)
{
    {
        TPaintedGrid f;
        TProbeGrid* g = f.Grid;
        g->BeginUpdate();
        g->BeginUpdate();
        g->SetVisible(false);
        g->EndUpdate();
        g->EndUpdate();
        EXPECT_EQ(g->UpdateCount(), 0);
        g->SetVisible(true);
        EXPECT_EQ(f.Flush(), 1) << "shown again, the grid paints";
        g->Invalidate();
        EXPECT_EQ(f.Flush(), 1) << "and keeps painting";
    }
    {
        TPaintedGrid f;
        TProbeGrid* g = f.Grid;
        g->SetVisible(false);
        g->BeginUpdate();
        g->SetVisible(true);
        EXPECT_EQ(f.Flush(), 0) << "locked while hidden still holds";
        g->BeginUpdate();
        g->EndUpdate();
        EXPECT_TRUE(g->LockUpdate());
        g->EndUpdate();
        EXPECT_EQ(g->UpdateCount(), 0);
        EXPECT_EQ(f.Flush(), 1);
    }
}

TEST(ExGridLock, StartAndResetUpdate)
{
    TPaintedGrid f;
    TProbeGrid* g = f.Grid;
    g->StartUpdate();
    g->StartUpdate();
    g->Invalidate();
    g->ResetUpdate();
    EXPECT_EQ(g->UpdateCount(), 0);
    EXPECT_EQ(f.Flush(), 1) << "a repaint asked for in the bracket comes after it";
    g->BeginUpdate();
    g->ResetUpdate();
    g->Invalidate();
    EXPECT_EQ(f.Flush(), 1) << "ResetUpdate ends a BeginUpdate too";
    g->SetLockUpdate(true);
    EXPECT_TRUE(g->LockUpdate());
    g->SetLockUpdate(false);
    EXPECT_FALSE(g->LockUpdate());
}

TEST(ExGridLock, TheScrollRangeCatchesUpWhenTheBracketCloses)
{
    // Rows come in one by one, then all but two go again with the grid
    // scrolled down: inside a bracket the bars wait, after it they and the
    // top row are those of a twin grid changed without one.
    struct Bracket {
        const char* Name;
        void (*Open)(TExStringGrid&);
        void (*Close)(TExStringGrid&);
    } const brackets[] = {
        { "begin and end, nested",
            [](TExStringGrid& g) {
                g.BeginUpdate();
                g.BeginUpdate();
            },
            [](TExStringGrid& g) {
                g.EndUpdate();
                EXPECT_TRUE(g.LockUpdate());
                g.EndUpdate();
            } },
        { "start and reset", [](TExStringGrid& g) { g.StartUpdate(); }, [](TExStringGrid& g) { g.ResetUpdate(); } },
    };
    for (const Bracket& b : brackets) {
        SCOPED_TRACE(b.Name);
        TPaintedGrid f, twin;
        const auto same = [&](const char* step) {
            for (const int bar : { SB_VERT, SB_HORZ }) {
                EXPECT_EQ(f.Grid->ScrollBarShowing(bar), twin.Grid->ScrollBarShowing(bar)) << step;
                EXPECT_EQ(f.Grid->GetScrollInfo(bar).Max, twin.Grid->GetScrollInfo(bar).Max) << step;
                EXPECT_EQ(f.Grid->GetScrollInfo(bar).Pos, twin.Grid->GetScrollInfo(bar).Pos) << step;
            }
            EXPECT_EQ(f.Grid->TopRow(), twin.Grid->TopRow()) << step;
        };
        for (TExStringGrid* g : { f.Grid, twin.Grid })
            g->SetRowCount(2);
        ASSERT_FALSE(f.Grid->ScrollBarShowing(SB_VERT));
        b.Open(*f.Grid);
        for (TExStringGrid* g : { f.Grid, twin.Grid })
            for (int r = 0; r < 60; ++r)
                g->AddRow();
        EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_VERT)) << "waits inside the bracket";
        b.Close(*f.Grid);
        ASSERT_TRUE(twin.Grid->ScrollBarShowing(SB_VERT));
        same("rows added");
        for (TExStringGrid* g : { f.Grid, twin.Grid })
            g->SetTopRow(50);
        same("scrolled");
        b.Open(*f.Grid);
        for (TExStringGrid* g : { f.Grid, twin.Grid })
            while (g->RowCount() > 2)
                g->RemoveRows(g->RowCount() - 1, 1);
        b.Close(*f.Grid);
        ASSERT_FALSE(twin.Grid->ScrollBarShowing(SB_VERT));
        same("rows removed");
    }
}

// ---------------------------------------------------------------------------
// Focus

TEST(ExGridFocus, AlwaysEditOpensTheEditorWhenTheFocusArrives)
{
    struct Case {
        const char* Name;
        bool CheckBox;
        bool ReadOnly;
        bool FromEditor;
        bool Opens;
    };
    const std::vector<Case> cases = {
        { "a text cell", false, false, false, true },
        { "a check-box cell", true, false, false, false },
        { "a read-only cell", false, true, false, false },
        { "focus back from the editor", false, false, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGridOnForm<TProbeGrid> f(4, 8, 220, 160);
        TProbeGrid* g = f.Grid;
        auto* other = new TEdit(f.Form);
        other->SetParent(f.Form);
        other->SetTop(170);
        g->SetOptions(g->Options() | goEditing);
        g->Navigation()->AlwaysEdit = true;
        g->SetCol(1);
        g->SetRow(2);
        // The text editor exists from its first use on.
        g->ShowInplaceEdit();
        g->HideInplaceEdit();
        ASSERT_FALSE(g->EditorMode());
        if (c.CheckBox)
            g->AddCheckBox(1, 2, false, false);
        g->OnCanEditCell = [&](TObject*, int, int, bool& CanEdit) { CanEdit = !c.ReadOnly; };
        input::FocusOut(g);
        if (c.FromEditor)
            g->Perform(WM_SETFOCUS, WPARAM(g->InplaceEditor()->Handle()), 0);
        else
            input::FocusIn(g);
        EXPECT_EQ(g->EditorMode(), c.Opens);
    }
}

TEST(ExGridFocus, DeactivatingTheWindowLeavesTheEditorOpen)
{
    TGridOnForm<TProbeGrid> f(4, 8, 220, 160);
    TProbeGrid* g = f.Grid;
    g->SetOptions(g->Options() | goEditing);
    std::vector<std::string> log;
    g->OnExit = [&](TObject*) { log.push_back("exit"); };
    input::Key(g, VK_F2);
    ASSERT_TRUE(g->EditorMode());
    input::FocusOut(g->InplaceEditor(), input::FocusReason::ActiveWindow);
    input::FocusIn(g->InplaceEditor(), input::FocusReason::ActiveWindow);
    EXPECT_TRUE(g->EditorMode());
    input::FocusOut(g->InplaceEditor(), input::FocusReason::Popup);
    EXPECT_TRUE(g->EditorMode());
    EXPECT_TRUE(log.empty());
}

// ---------------------------------------------------------------------------
// The search bar's accelerators

TEST(ExGridFocus, AltNRunsFindNextOnlyWhileTheBarShows)
{
    TGridOnForm<TProbeGrid> f(4, 8, 220, 160);
    TProbeGrid* g = f.Grid;
    std::vector<TExStringGrid::TSearchAction> actions;
    g->OnSearchFooterAction
        = [&](TObject*, const QString&, int, int, TExStringGrid::TSearchAction a) { actions.push_back(a); };
    g->SearchFooter()->SetFindNextCaption(QStringLiteral("Find &next"));
    g->SearchFooter()->SetFindPrevCaption(QStringLiteral("Find &previous"));
    g->SearchFooter()->SetVisible(true);
    g->SetFocus();
    input::Key(g, 'N', TShiftState(ssAlt), u'n');
    EXPECT_TRUE(actions.empty()) << "nothing to find: the buttons are disabled";
    g->SearchPanel()->EditControl()->SetText(QStringLiteral("B2"));
    actions.clear(); // the typed text searched already
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'x', 0), 0) << "no accelerator";
    input::Key(g, 'N', TShiftState(ssAlt), u'n');
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0], TExStringGrid::TSearchAction::saFindNext);
    input::Key(g, 'P', TShiftState(ssAlt), u'p');
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[1], TExStringGrid::TSearchAction::saFindPrevious);

    g->SearchFooter()->SetVisible(false);
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'n', 0), 0) << "hidden: not consumed";
    input::Key(g, 'N', TShiftState(ssAlt), u'n');
    EXPECT_EQ(actions.size(), 2u);
}

// ---------------------------------------------------------------------------
// The mouse cursor

TEST(ExGridCursor, PerSelectModeAndOverFixedBorders)
{
    using M = TExStringGrid::TMouseSelectMode;
    struct Case {
        const char* Name;
        M Mode;
        bool Selector, SizeCol, SizeRow;
        TCursor Cursor;
    };
    const std::vector<Case> cases = {
        { "column selection", M::msColumn, false, false, false, 8011 },
        { "row selection", M::msRow, false, false, false, 8010 },
        { "all cells", M::msAll, false, false, false, 8012 },
        { "resizing", M::msResize, false, false, false, 8012 },
        { "cell selector", M::msNormal, true, false, false, 8014 },
        { "a fixed column border", M::msNormal, false, true, false, crHSplit },
        { "a fixed row border", M::msNormal, false, false, true, crVSplit },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGridOnForm<TProbeGrid> f(4, 8, 220, 160);
        TProbeGrid* g = f.Grid;
        g->FMouseSelectMode = c.Mode;
        g->FCellSelectorMode = c.Selector;
        g->FSizeFixed = c.SizeCol;
        g->FSizeFixedR = c.SizeRow;
        input::MouseMove(g, TPoint(75, 50));
        EXPECT_EQ(WindowCursor(g), c.Cursor);
    }
    TGridOnForm<TProbeGrid> f(4, 8, 220, 160);
    TProbeGrid* g = f.Grid;
    std::vector<std::string> asked;
    g->OnGetCellCursor = [&](TObject*, int ACol, int ARow, int, int, TCursor& ACursor) {
        asked.push_back(std::to_string(ACol) + "," + std::to_string(ARow));
        ACursor = crHandPoint;
    };
    input::MouseMove(g, TPoint(75, 50));
    EXPECT_EQ(asked, std::vector<std::string>({ "1,2" }));
    EXPECT_EQ(WindowCursor(g), crHandPoint);
}
