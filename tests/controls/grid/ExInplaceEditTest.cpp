// The default text editor through real keys on the offscreen platform: the
// character rules per editor kind with their beeps, the length limits, the
// full-cell advance, pastes, lookup completion, the keys that end an edit and
// the events an edit fires in their order.

#include "controls/grid/ExInplaceEdit.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/Messages.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <stdexcept>

#include <string>
#include <vector>

namespace {

// Counts the beeps instead of sounding them.
class TBeepCounter : public IBeepService {
public:
    TBeepCounter() { FOld = services::SetBeepService(this); }
    ~TBeepCounter() override { services::SetBeepService(FOld); }
    void Beep() override { ++Count; }
    int Count = 0;

private:
    IBeepService* FOld = nullptr;
};

class TClipboardScope {
public:
    TClipboardScope() { FOld = SetClipboard(&Board); }
    ~TClipboardScope() { SetClipboard(FOld); }
    TMemoryClipboard Board;

private:
    TClipboard* FOld = nullptr;
};

class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::FEditing;
    using TExStringGrid::FValidating;
    using TExStringGrid::TExStringGrid;
};

// 4 columns and 5 rows of 50 by 20 pixels with one fixed row and column, on a
// form beside an edit that can take the focus away.
struct TEditForm : TGridOnForm<TProbeGrid> {
    std::vector<std::string> Log;
    TEdit* Other = nullptr;
    TEditForm()
        : TGridOnForm<TProbeGrid>(4, 5, 300, 200)
    {
        Grid->SetOptions(Grid->Options() | goEditing);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(0, 210, 80, 20);
        Grid->SetFocus();
    }
    TInplaceEdit* Editor() const { return Grid->InplaceEditor(); }
    QString EditorText() const { return Editor() ? Editor()->GetText() : QString(); }
    bool Editing() const { return Grid->EditorMode() && Editor() && Editor()->Visible(); }
    void At(int c, int r)
    {
        Grid->SetCol(c);
        Grid->SetRow(r);
    }
    // F2 on the grid; the grid's F2 remembers the cell's value for the
    // validation first.
    void F2()
    {
        Grid->RememberCellValue(Grid->Col(), Grid->Row());
        input::Key(Grid, VK_F2);
    }
    // Every kind of cell the test names, as the application's event says.
    void Kind(TEditorType k)
    {
        Grid->OnGetEditorType = [k](TObject*, int, int, TEditorType& e) { e = k; };
    }
    void Pump()
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    // The events an edit fires, and a mark where posted messages start to run.
    void Watch()
    {
        Grid->OnCellValidate = [this](TObject*, int c, int r, QString& v, bool&) {
            Log.push_back("validate " + std::to_string(c) + "," + std::to_string(r) + " " + v.toStdString());
        };
        Grid->OnCellsChanged = [this](TObject*, const TRect&) { Log.push_back("cells changed"); };
        Grid->OnAutoAdvance = [this](TObject*, int, int, int& r, int& c, bool&) {
            Log.push_back("advance to " + std::to_string(c) + "," + std::to_string(r));
        };
        Grid->OnEditingDone = [this](TObject*) { Log.push_back("editing done"); };
        Grid->OnEditCellDone = [this](TObject*, int c, int r) {
            Log.push_back("cell done " + std::to_string(c) + "," + std::to_string(r));
        };
    }
    void PumpMarked()
    {
        Log.push_back("--");
        Pump();
    }
};

} // namespace

// ---------------------------------------------------------------------------
// Characters by kind

TEST(ExInplaceEdit, CharactersFollowTheKindsRules)
{
    struct TCase {
        const char* Name;
        TEditorType Kind;
        QString Start;
        bool AtStart; // Home before typing, else End
        QString Typed;
        QString Expected;
        int Beeps;
    };
    using K = TEditorType;
    const std::vector<TCase> cases = {
        { "numeric: minus at 0", K::edNumeric, "12", true, "-", "-12", 0 },
        { "numeric: second minus beeps", K::edNumeric, "12", true, "--", "-12", 1 },
        { "numeric: minus inside beeps", K::edNumeric, "12", false, "-", "12", 1 },
        { "numeric: letter beeps", K::edNumeric, "", false, "1a2", "12", 1 },
        { "positive numeric: minus beeps", K::edPositiveNumeric, "", false, "-5", "5", 1 },
        { "float: one decimal point", K::edFloat, "", false, "1.5.2", "1.52", 0 },
        { "float: thousand separator dropped", K::edFloat, "", false, "1,5", "15", 0 },
        { "float: letter dropped quietly", K::edFloat, "", false, "1x5", "15", 0 },
        { "float: minus at 0", K::edFloat, "", false, "-1.5", "-1.5", 0 },
        { "float: minus inside beeps", K::edFloat, "1", false, "-", "1", 1 },
        { "positive float: minus dropped quietly", K::edPositiveFloat, "", false, "-1.5", "1.5", 0 },
        { "upper case", K::edUpperCase, "", false, "abC", "ABC", 0 },
        { "capital", K::edCapital, "", false, "ab", "AB", 0 },
        { "lower case", K::edLowerCase, "", false, "AbC", "abc", 0 },
        { "mixed case", K::edMixedCase, "", false, "john smith", "John Smith", 0 },
        { "password takes all", K::edPassword, "", false, "p w!", "p w!", 0 },
        { "normal takes all", K::edNormal, "", false, "a-1.,", "a-1.,", 0 },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TBeepCounter beeps;
        TEditForm f;
        f.Kind(t.Kind);
        f.At(1, 1);
        f.Grid->SetCells(1, 1, t.Start);
        f.F2();
        ASSERT_TRUE(f.Editing());
        input::Key(f.Editor(), t.AtStart ? VK_HOME : VK_END);
        input::Type(f.Editor(), t.Typed);
        f.Pump();
        EXPECT_EQ(f.EditorText(), t.Expected);
        EXPECT_EQ(beeps.Count, t.Beeps);
    }
}

TEST(ExInplaceEdit, ValidCharsAndItsSet)
{
    struct TCase {
        const char* Name;
        QString Valid;
        const char* Set;
        QString Typed, Expected;
        int Beeps;
    };
    const std::vector<TCase> cases = {
        { "the text", "abc", "", "abxc", "abc", 1 },
        { "the set when the text is empty", "", "xy", "xayb", "xy", 2 },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TBeepCounter beeps;
        TEditForm f;
        f.Kind(TEditorType::edValidChars);
        f.Grid->SetValidChars(t.Valid);
        for (const char* c = t.Set; *c; ++c)
            f.Grid->ValidCharSet.set(static_cast<unsigned char>(*c));
        f.At(1, 1);
        f.F2();
        input::Type(f.Editor(), t.Typed);
        EXPECT_EQ(f.EditorText(), t.Expected);
        EXPECT_EQ(beeps.Count, t.Beeps);
    }
}

TEST(ExInplaceEdit, LengthLimitStopsTypingButNotEditing)
{
    TBeepCounter beeps;
    TEditForm f;
    f.Grid->SetMaxEditLength(3);
    f.At(1, 1);
    f.F2();
    input::Type(f.Editor(), "abcd");
    EXPECT_EQ(f.EditorText(), "abc");
    input::Key(f.Editor(), VK_BACK);
    EXPECT_EQ(f.EditorText(), "ab");
    // Two letters selected: a typed one replaces them.
    f.Editor()->SetSelStart(0);
    f.Editor()->SetSelLength(2);
    input::Type(f.Editor(), "z");
    EXPECT_EQ(f.EditorText(), "z");
    EXPECT_EQ(beeps.Count, 0);
    // A megabyte typed into a limited cell ends at the limit.
    f.Editor()->SelectAll();
    input::Type(f.Editor(), QString(2000, QLatin1Char('q')));
    EXPECT_EQ(f.EditorText(), "qqq");
}

TEST(ExInplaceEdit, AFullCellAdvancesAsEnter)
{
    TEditForm f;
    f.Watch();
    f.Grid->Navigation()->AdvanceOnEnter = true;
    f.Grid->Navigation()->SetAdvanceAuto(true);
    f.Grid->SetMaxEditLength(4);
    f.At(1, 1);
    f.F2();
    input::Type(f.Editor(), "abcd");
    f.Pump();
    EXPECT_EQ(f.Grid->Cells(1, 1), "abcd");
    EXPECT_EQ(f.Grid->Col(), 2);
    EXPECT_EQ(f.Grid->Row(), 1);
}

// ---------------------------------------------------------------------------
// Paste

TEST(ExInplaceEdit, PasteIsFilteredByKindAndLimit)
{
    struct TCase {
        const char* Name;
        TEditorType Kind;
        int Limit;
        QString Start, Clip, Expected;
    };
    using K = TEditorType;
    const std::vector<TCase> cases = {
        { "numeric takes 123 without its line break", K::edNumeric, 0, "", "123\r\n", "123" },
        { "positive numeric refuses a negative", K::edPositiveNumeric, 0, "", "-4", "" },
        { "numeric refuses a letter", K::edNumeric, 0, "1", "x", "1" },
        { "float takes a decimal", K::edFloat, 0, "", "2.5", "2.5" },
        { "upper case upper-cases", K::edUpperCase, 0, "", "ab", "AB" },
        { "a line break that fits once dropped", K::edNormal, 3, "", "abc\r\n", "abc" },
        { "too long for the limit", K::edNormal, 3, "", "abcd", "" },
        { "longer than the limit with the text", K::edNormal, 3, "ab", "cd", "ab" },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TClipboardScope clip;
        TEditForm f;
        f.Kind(t.Kind);
        f.Grid->SetMaxEditLength(t.Limit);
        f.At(1, 1);
        f.Grid->SetCells(1, 1, t.Start);
        f.F2();
        input::Key(f.Editor(), VK_END);
        Clipboard()->SetAsText(t.Clip);
        input::Key(f.Editor(), 'V', ssCtrl);
        EXPECT_EQ(f.EditorText(), t.Expected);
    }
}

TEST(ExInplaceEdit, PasteEventsMayRefuseOrChangeTheText)
{
    TClipboardScope clip;
    TEditForm f;
    std::vector<std::string> log;
    f.Grid->OnClipboardPaste = [&](TObject*, bool&) { log.push_back("paste"); };
    f.Grid->OnClipboardBeforePasteCell = [&](TObject*, int, int, QString& v, bool& allow) {
        log.push_back("before " + v.toStdString());
        v = v.toUpper();
        allow = v != "NO";
    };
    f.Grid->OnClipboardAfterPasteCell
        = [&](TObject*, int, int, const QString& v) { log.push_back("after " + v.toStdString()); };
    f.At(1, 1);
    f.F2();
    Clipboard()->SetAsText("no");
    input::Key(f.Editor(), 'V', ssCtrl);
    EXPECT_EQ(f.EditorText(), "");
    Clipboard()->SetAsText("yes");
    input::Key(f.Editor(), 'V', ssCtrl);
    EXPECT_EQ(f.EditorText(), "YES");
    EXPECT_EQ(log, (std::vector<std::string> { "paste", "before no", "paste", "before yes", "after YES" }));
}

// ---------------------------------------------------------------------------
// Lookup, multi-line caret moves

TEST(ExInplaceEdit, LookupCompletesFromTheFirstMatchingItem)
{
    TEditForm f;
    f.Grid->SetLookup(true);
    f.Grid->LookupItems()->Add("Alpha");
    f.Grid->LookupItems()->Add("Alps");
    f.At(1, 1);
    f.F2();
    input::Type(f.Editor(), "al");
    EXPECT_EQ(f.EditorText(), "alpha");
    EXPECT_EQ(f.Editor()->SelStart(), 2);
    EXPECT_EQ(f.Editor()->SelLength(), 3);
    // Backspace takes the completion away without completing again.
    input::Key(f.Editor(), VK_BACK);
    EXPECT_EQ(f.EditorText(), "al");
    EXPECT_EQ(f.Editor()->SelLength(), 0);
}

TEST(ExInplaceEdit, UpInsideAWrappedTextMovesTheCaretOnly)
{
    TEditForm f;
    f.Watch();
    f.Grid->SetWordWrap(true);
    f.Grid->SetRowHeights(2, 60);
    f.Grid->SetCells(1, 2, "one\r\ntwo\r\nthree");
    f.At(1, 2);
    f.F2();
    ASSERT_TRUE(f.Editing());
    f.Editor()->SetSelStart(6); // line 2, after "tw"
    f.Editor()->SetSelLength(0);
    ASSERT_EQ(f.Editor()->CaretLine(), 1);
    input::Key(f.Editor(), VK_UP);
    EXPECT_EQ(f.Editor()->CaretLine(), 0);
    EXPECT_TRUE(f.Editing());
    EXPECT_EQ(f.Grid->Row(), 2);
    EXPECT_TRUE(f.Log.empty());
}

// ---------------------------------------------------------------------------
// Opening and closing

TEST(ExInplaceEdit, AnEditOpensByF2OrATypedCharacter)
{
    TEditForm f;
    f.At(1, 1);
    f.Grid->SetCells(1, 1, "old");
    f.F2();
    EXPECT_TRUE(f.Editing());
    EXPECT_EQ(f.EditorText(), "old");
    EXPECT_EQ(f.Grid->OriginalCellValue(), "old");
    input::Key(f.Editor(), VK_ESCAPE);
    f.Pump();
    EXPECT_FALSE(f.Editing());

    input::Type(f.Grid, "n");
    f.Pump();
    EXPECT_TRUE(f.Editing());
    EXPECT_EQ(f.EditorText(), "n");
}

TEST(ExInplaceEdit, KeysThatEndAnEditFireTheEventsInOrder)
{
    struct TCase {
        const char* Name;
        WORD Key;
        QString Cell; // afterwards
        int Col, Row; // cursor afterwards
        bool Editing; // the next cell's editor opened (AdvanceAutoEdit)
        std::vector<std::string> Log;
    };
    const std::vector<TCase> cases = {
        { "Enter", VK_RETURN, "ax", 2, 2, true,
            { "validate 1,2 ax", "cells changed", "advance to 2,2", "editing done", "--", "cell done 1,2" } },
        { "Esc", VK_ESCAPE, "a", 1, 2, false, { "editing done", "--", "cell done 1,2" } },
        { "Up", VK_UP, "ax", 1, 1, false,
            { "validate 1,2 ax", "cells changed", "editing done", "--", "cell done 1,2" } },
        { "Down", VK_DOWN, "ax", 1, 3, false,
            { "validate 1,2 ax", "cells changed", "editing done", "--", "cell done 1,2" } },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEditForm f;
        f.Grid->Navigation()->AdvanceOnEnter = true;
        f.Grid->SetCells(1, 2, "a");
        f.At(1, 2);
        f.Watch();
        f.F2();
        input::Key(f.Editor(), VK_END);
        input::Type(f.Editor(), "x");
        input::Key(f.Editor(), t.Key);
        f.PumpMarked();
        EXPECT_EQ(f.Grid->Cells(1, 2), t.Cell);
        EXPECT_EQ(f.Grid->Col(), t.Col);
        EXPECT_EQ(f.Grid->Row(), t.Row);
        EXPECT_EQ(f.Editing(), t.Editing);
        EXPECT_EQ(f.Log, t.Log);
        EXPECT_FALSE(f.Grid->FValidating);
    }
}

TEST(ExInplaceEdit, TheFocusMovingAwayEndsTheEdit)
{
    TEditForm f;
    f.Grid->SetCells(1, 2, "a");
    f.At(1, 2);
    f.Watch();
    f.F2();
    input::Key(f.Editor(), VK_END);
    input::Type(f.Editor(), "y");
    f.Other->SetFocus();
    f.PumpMarked();
    EXPECT_FALSE(f.Editing());
    EXPECT_EQ(f.Grid->Cells(1, 2), "ay");
    EXPECT_EQ(f.Log,
        (std::vector<std::string> { "validate 1,2 ay", "cells changed", "editing done", "--", "cell done 1,2" }));
}

TEST(ExInplaceEdit, AnUnchangedTextIsValidatedOnlyWithAlwaysValidate)
{
    for (bool always : { false, true }) {
        SCOPED_TRACE(always);
        TEditForm f;
        f.Grid->SetAlwaysValidate(always);
        f.Grid->SetCells(1, 1, "same");
        f.At(1, 1);
        f.Watch();
        f.F2();
        input::Key(f.Editor(), VK_RETURN);
        const bool validated = !f.Log.empty() && f.Log.front() == "validate 1,1 same";
        EXPECT_EQ(validated, always);
    }
}

TEST(ExInplaceEdit, ARefusalKeepsTheEditorOpenWithTheOldText)
{
    TEditForm f;
    f.Grid->SetCells(1, 1, "ok");
    f.Grid->SetInvalidEntryTitle("Wrong");
    f.Grid->SetInvalidEntryText("Not a value");
    f.Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = v != "bad"; };
    f.At(1, 1);
    f.F2();
    f.Editor()->SelectAll();
    input::Type(f.Editor(), "bad");
    input::Key(f.Editor(), VK_RETURN);
    f.Pump();
    EXPECT_TRUE(f.Editing());
    EXPECT_EQ(f.Grid->Cells(1, 1), "ok");
    EXPECT_EQ(f.EditorText(), "ok");
    EXPECT_EQ(f.Grid->Col(), 1);
    EXPECT_EQ(f.Grid->Row(), 1);
    EXPECT_FALSE(f.Grid->RowModified(1));
}

TEST(ExInplaceEdit, ARaisingValidationLeavesTheFlagsAtRest)
{
    TEditForm f;
    f.Grid->SetCells(1, 1, "old");
    f.Grid->OnCellValidate = [](TObject*, int, int, QString&, bool&) { throw std::runtime_error("handler"); };
    f.At(1, 1);
    f.F2();
    f.Editor()->SelectAll();
    input::Type(f.Editor(), "new");
    input::Key(f.Editor(), VK_RETURN); // the event loop shows the error
    f.Pump();
    EXPECT_EQ(f.Grid->Cells(1, 1), "old");
    EXPECT_FALSE(f.Grid->FValidating);
    EXPECT_FALSE(f.Grid->FEditing);
    EXPECT_EQ(f.Grid->UpdateCount(), 0);
}

TEST(ExInplaceEdit, ShowEditProcessWritesEachKeyIntoTheCell)
{
    TEditForm f;
    f.Grid->SetShowEditProcess(true);
    f.At(1, 1);
    f.F2();
    input::Type(f.Editor(), "ab");
    EXPECT_EQ(f.Grid->Cells(1, 1), "ab");
}

TEST(ExInplaceEdit, TheEditorTakesTheCellsAlignmentAndPasswordLook)
{
    TEditForm f;
    f.Grid->SetCells(1, 1, "12");
    f.Grid->SetCells(2, 1, "secret");
    f.Grid->OnGetAlignment = [](TObject*, int, int c, TAlignment& h, TVAlignment&) {
        if (c == 1)
            h = taRightJustify;
    };
    f.Grid->OnGetEditorType = [](TObject*, int c, int, TEditorType& e) {
        if (c == 2)
            e = TEditorType::edPassword;
    };
    f.At(1, 1);
    f.F2();
    auto* editor = dynamic_cast<TExInplaceEdit*>(f.Editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->VAlign());
    EXPECT_EQ(editor->Alignment(), taRightJustify);
    EXPECT_EQ(editor->PasswordChar(), 0);
    input::Key(f.Editor(), VK_ESCAPE);
    f.At(2, 1);
    f.F2();
    EXPECT_FALSE(editor->VAlign());
    EXPECT_EQ(editor->PasswordChar(), f.Grid->PasswordChar());
    EXPECT_EQ(f.EditorText(), "secret");
}
