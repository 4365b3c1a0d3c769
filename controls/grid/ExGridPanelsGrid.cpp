// The grid's side of its footer strip, search bar and filter lists: making
// them, handing the search footer's settings on, and the keys that keep the
// last row above the search bar.

#include "controls/base/ExObjCheckBox.h"
#include "controls/base/ExObjGridButton.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "controls/grid/ExGridWindows.h"

TFooterPanel* TExStringGrid::FooterPanel() const
{
    return static_cast<TFooterPanel*>(FFooterPanel);
}

void TExStringGrid::CreatePanels()
{
    auto* footer = new TFooterPanel(this);
    footer->SetParent(this);
    footer->SetVisible(FFloatingFooter->Visible());
    FFooterPanel = footer;

    FSearchPanel = new TSearchPanel(this);
    FSearchPanel->SetParent(this);
    FSearchPanel->SetVisible(false);
    FSearchPanel->SetHeight(0);
    FSearchPanel->SetAlign(alBottom);
    FSearchPanel->OnEditChange = [this](TObject*) { SearchPanelEvent(&TExStringGrid::SearchFooterEditChange); };
    FSearchPanel->OnForwardClick = [this](TObject*) { SearchPanelEvent(&TExStringGrid::SearchFooterFindNext); };
    FSearchPanel->OnBackwardClick = [this](TObject*) { SearchPanelEvent(&TExStringGrid::SearchFooterFindPrevious); };
    FSearchPanel->OnExitClick = [this](TObject*) { SearchPanelEvent(&TExStringGrid::SearchFooterClose); };
    FSearchPanel->OnHighlightClick = [this](TObject*) { SearchPanelEvent(&TExStringGrid::SearchFooterHighlight); };
    FSearchFooter->OnChange = [this](TObject*) { UpdateSearchFooter(); };

    FFilterDropList = new TDropList(this);
    FFilterDropList->SetParent(this);
    FFilterDropList->SetVisible(false);
    FFilterDropList->SetBounds(0, 0, 0, 0);
    FFilterDropList->OnSelect = [this](TObject* Sender, int Index) { FilterDropDownSelect(Sender, Index); };

    FFilterDropCheckList = new TDropCheckList(this);
    FFilterDropCheckList->SetParent(this);
    FFilterDropCheckList->SetVisible(false);
    FFilterDropCheckList->SetBounds(0, 0, 0, 0);
    FFilterDropCheckList->OnSelect = [this](TObject* Sender, int Index) {
        // The filter reads the boxes from the grid's own flags.
        TDropCheckList* list = FFilterDropCheckList;
        for (int i = 0; i < list->Items()->Count(); ++i)
            SetFilterChecked(i, list->Checked(i));
        FilterDropDownCheck(Sender, Index);
    };
}

void TExStringGrid::SearchPanelEvent(void (TExStringGrid::*Handler)(TObject*))
{
    TSearchPanel* p = FSearchPanel;
    FSearchPanelState.Text = p->EditControl()->GetText();
    FSearchPanelState.HighlightDown = p->HiliteButton()->Down();
    FSearchPanelState.MatchCase = p->MatchCase()->Checked();
    (this->*Handler)(p);
    // The close handler may have hidden the panel; the edit keeps its colour.
    if (FSearchPanel)
        FSearchPanel->EditControl()->SetColor(FSearchPanelState.EditColor);
}

int TExStringGrid::SearchPanelHeight() const
{
    return FSearchPanel && FSearchPanel->Visible() ? FSearchPanel->Height() : 0;
}

void TExStringGrid::RepaintSearchPanel()
{
    if (FSearchPanel && FSearchPanel->Visible())
        FSearchPanel->Invalidate();
}

void TExStringGrid::UpdateSearchFooter()
{
    if (IsLoading() || !FSearchPanel)
        return;
    TSearchPanel* p = FSearchPanel;
    const TSearchFooter* f = FSearchFooter;
    if ((p->HiliteButton()->Down() && p->Visible() && !f->Visible()) || f->AlwaysHighLight)
        SearchUnHighlight();

    p->SetColor(f->Color());
    p->SetColorTo(f->ColorTo());
    p->FindNextCaption = f->FindNextCaption();
    p->FindPrevCaption = f->FindPrevCaption();
    p->MatchCaseCaption = f->MatchCaseCaption();
    p->HighLightCaption = f->HighLightCaption();
    p->HintFindNext = f->HintFindNext();
    p->HintFindPrev = f->HintFindPrev();
    p->HintClose = f->HintClose();
    p->HintHighlight = f->HintHighlight();
    p->Font()->Assign(f->Font());
    p->ApplyTexts();

    const TGridControlStyle style = FControlLook->ControlStyle();
    for (TExGridButton* b : { p->ForwardButton(), p->BackwardButton(), p->HiliteButton(), p->ExitButton() }) {
        if (f->AutoThemeAdapt()) {
            b->SetAutoThemeAdapt(true);
            b->SetFlat(true);
        } else {
            b->SetFlat(style == TGridControlStyle::csFlat || style == TGridControlStyle::csWinXP
                || style == TGridControlStyle::csTheme);
        }
    }

    auto show = [](TControl* c, bool v, int h) {
        c->SetVisible(v);
        c->SetHeight(v ? h : 0);
    };
    show(p->HiliteButton(), f->ShowHighLight(), 23);
    p->ExitButton()->SetVisible(f->ShowClose());
    show(p->MatchCase(), f->ShowMatchCase(), 18);
    show(p->BackwardButton(), f->ShowFindPrev(), 23);
    show(p->ForwardButton(), f->ShowFindNext(), 23);
    p->MatchCase()->SetTransparent(true);
    p->LayoutControls();

    p->SetVisible(f->Visible());
    if (f->Visible()) {
        p->SetHeight(32);
        ScrollAboveSearchPanel();
    } else {
        p->SetHeight(0);
    }
}

// ---------------------------------------------------------------------------
// Keys

// The default editor hands every key here first: Esc gives the cell its
// cached text back, Enter advances, other keys search incrementally.
void TExStringGrid::KeyPress(char16_t& Key)
{
    const auto consume = [&] {
        if (OnKeyPress)
            OnKeyPress(this, Key);
        Key = 0;
    };
    if (Key == 27 && Options().testFlag(goEditing) && FEditing) {
        RestoreCellCache();
        consume();
        return;
    }
    if (Key == 13) {
        if (!FNavigation->AdvanceOnEnter && !IsEditable(Col(), Row())) {
            consume();
            return;
        }
        const bool editorFocused = !Focused();
        if (editorFocused || HasCellControl(RealCol(), Row())) {
            AdvanceToNextCell(Col(), Row(), false, false, true, false, EditorMode() || FEditMode);
            if (!FNavigation->AdvanceAutoEdit) {
                consume();
                return;
            }
            if (HasCellControl(RealCol(), Row())) {
                consume();
                if (FNavigation->AdvanceOnEnter)
                    ShowInplaceEdit();
                return;
            }
        }
    }
    if (Key != 0 && !(Options() & goEditing) && FNavigation->AutoGotoWhenSorted)
        IncrementalSearchKey(QChar(Key));
    TBaseGrid::KeyPress(Key);
}

void TExStringGrid::KeyDown(WORD& Key, TShiftState Shift)
{
    const bool searchBar = FSearchFooter->Visible() && FSearchPanel;
    if (searchBar && Key == 'F' && Shift == TShiftState(ssCtrl)) {
        TRetEdit* edit = FSearchPanel->EditControl();
        if (edit->CanFocus())
            edit->SetFocus();
    }
    const bool atEnd = searchBar && TopRow() >= RowCount() - VisibleRowCount();
    const bool onLastRow = Row() == RowCount() - 1;
    auto consume = [&] {
        if (OnKeyDown)
            OnKeyDown(this, Key, Shift);
        Key = 0;
    };
    if (atEnd && onLastRow) {
        if (Key == VK_DOWN) {
            ScrollAboveSearchPanel();
            consume();
            return;
        }
        // The cursor does not wrap into the search bar.
        if ((Key == VK_RIGHT && Col() == ColCount() - 1) || (Key == VK_LEFT && Col() == FixedCols())) {
            consume();
            return;
        }
    }
    const bool walksToEnd = Key == VK_NEXT || Key == VK_END || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_DOWN;
    const bool moves = Key == VK_SHIFT || Key == VK_MENU || (Key >= VK_PRIOR && Key <= VK_DOWN);
    // Other keys must not scroll the rows under the search bar.
    const bool keepTop = atEnd && !moves;
    const bool suspend = atEnd && ((onLastRow && walksToEnd) || keepTop);
    const int top = TopRow();
    if (suspend)
        BeginUpdate();
    try {
        TBaseGrid::KeyDown(Key, Shift);
        if (keepTop && TopRow() != top)
            SetTopRow(top);
    } catch (...) {
        if (suspend)
            EndUpdate();
        throw;
    }
    if (suspend)
        EndUpdate();
    if (searchBar && walksToEnd && Row() == RowCount() - 1) {
        const int line = ClientHeight() - SearchPanelHeight() + 2;
        while (CellRect(Col(), Row()).Bottom > line && Row() <= RowCount() - 1) {
            const int before = TopRow();
            SetTopRow(before + 1);
            if (TopRow() == before)
                break; // the grid cannot scroll further
        }
    }
}
