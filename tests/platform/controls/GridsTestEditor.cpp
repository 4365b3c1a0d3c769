// The in-place editor: opened by F2, by typing and by goAlwaysShowEditor,
// closed by Enter and Esc, with the editing hooks in order.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include "tests/platform/controls/GridsTestFixture.h"

namespace {

struct EditFixture : GridFixture {
    EditFixture()
    {
        AddOptions(goEditing);
        Grid->SetCells(2, 3, QStringLiteral("abc"));
        Grid->SetCol(2);
        Grid->SetRow(3);
        Grid->Log.clear();
    }
    TInplaceEdit* Editor() const { return Grid->InplaceEditor(); }
};

TEST(GridEditor, F2OpensOverTheCellAndEnterStoresAndCloses)
{
    EditFixture f;
    f.Key(VK_F2);
    ASSERT_TRUE(f.EditorShowing());
    EXPECT_TRUE(f.Grid->EditorMode());
    EXPECT_EQ(f.Editor()->BoundsRect(), f.Grid->CellRect(2, 3));
    EXPECT_EQ(f.Editor()->GetText(), QStringLiteral("abc"));
    EXPECT_EQ(f.Editor()->SelLength(), 0); // F2 edits at the end
    EXPECT_EQ(f.Editor()->SelStart(), 3);
    EXPECT_TRUE(f.Editor()->Focused());

    f.Type(QStringLiteral("d"));
    EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("abcd")); // the grid takes each change
    f.Key(VK_RETURN, {}, u'\r');
    EXPECT_FALSE(f.EditorShowing());
    EXPECT_FALSE(f.Grid->EditorMode());
    EXPECT_TRUE(f.Grid->Focused());
    EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("abcd"));
    EXPECT_EQ(f.Grid->Log, QStringList({ "show", "mask 2,3", "get 2,3", "set 2,3=abcd", "hide", "set 2,3=abcd" }));

    f.Grid->Log.clear();
    f.Key(VK_RETURN, {}, u'\r'); // Enter toggles: open again, all selected
    ASSERT_TRUE(f.EditorShowing());
    EXPECT_EQ(f.Editor()->SelLength(), 4);
    EXPECT_EQ(f.Grid->Log, QStringList({ "show", "mask 2,3", "get 2,3" }));
}

TEST(GridEditor, TypingOnTheGridOpensTheEditorWithTheCharacter)
{
    EditFixture f;
    QString pressed;
    f.Grid->OnKeyPress = [&](TObject*, char16_t& k) { pressed += QChar(k); };
    f.Type(QStringLiteral("xy"));
    ASSERT_TRUE(f.EditorShowing());
    EXPECT_EQ(f.Editor()->GetText(), QStringLiteral("xy")); // the first character replaced the text
    EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("xy"));
    EXPECT_EQ(pressed, QStringLiteral("xy")); // the grid's OnKeyPress sees every character
    EXPECT_EQ(f.Grid->Log.first(), QStringLiteral("show"));

    // Without goEditing a character does not open anything.
    f.Key(VK_RETURN, {}, u'\r');
    f.Grid->SetOptions(f.Grid->Options() & ~TGridOptions(goEditing));
    f.Type(QStringLiteral("z"));
    EXPECT_FALSE(f.EditorShowing());
    EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("xy"));
}

TEST(GridEditor, EscGivesTheCellItsTextBackAndCloses)
{
    EditFixture f;
    f.Key(VK_F2);
    f.Type(QStringLiteral("zz"));
    EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("abczz"));
    f.Grid->Log.clear();
    f.Key(VK_ESCAPE, {}, 27);
    EXPECT_FALSE(f.EditorShowing());
    EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("abc"));
    EXPECT_EQ(f.Grid->Log, QStringList({ "hide" })); // nothing of the editor's text is written
}

TEST(GridEditor, EscKeepsACellWhoseEditTextIsTransformed)
{
    // The editor shows the cell in another form; cancelling must not write
    // that form into the cell, whether something was typed or not.
    for (const bool typed : { false, true }) {
        EditFixture f;
        QStringList written;
        f.Grid->OnGetEditText = [](TObject*, int, int, QString& v) { v = v.toUpper(); };
        f.Grid->OnSetEditText = [&](TObject*, int, int, const QString& v) { written << v; };
        f.Key(VK_F2);
        EXPECT_EQ(f.Editor()->GetText(), QStringLiteral("ABC"));
        if (typed)
            f.Type(QStringLiteral("x"));
        f.Key(VK_ESCAPE, {}, 27);
        EXPECT_FALSE(f.EditorShowing());
        EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("abc")) << typed;
        EXPECT_FALSE(written.contains(QStringLiteral("ABC"))) << written.join('|').toStdString();
    }
}

TEST(GridEditor, ARefusedEditorLeavesTheCellPainted)
{
    EditFixture f;
    f.AddOptions(goDrawFocusSelected);
    f.Grid->RefuseEditShow = true;
    f.Key(VK_F2);
    EXPECT_TRUE(f.Grid->EditorMode());
    EXPECT_FALSE(f.EditorShowing());
    const QImage img = f.Grid->PaintToImage();
    const TRect r = f.Grid->CellRect(2, 3);
    const TColor hl = ColorToRGB(clHighlight);
    EXPECT_EQ(img.pixel(r.Right - 3, r.Bottom - 3) | 0xFF000000u, qRgb(hl & 0xFF, (hl >> 8) & 0xFF, (hl >> 16) & 0xFF));
}

TEST(GridEditor, FocusMessagesNameTheOtherWindow)
{
    EditFixture f;
    // Real focus changes need the active window.
    f.Form->Widget()->activateWindow();
    QCoreApplication::processEvents();
    f.Grid->SetFocus();
    f.Grid->FocusLog.clear();
    f.Key(VK_F2);
    ASSERT_TRUE(f.Editor()->Focused());
    const QString editor = QString::number(qulonglong(f.Editor()->Handle()));
    f.Key(VK_RETURN, {}, u'\r');
    ASSERT_TRUE(f.Grid->Focused());
    EXPECT_EQ(f.Grid->FocusLog, QStringList({ "kill " + editor, "set " + editor }));
}

TEST(GridEditor, NavigationKeysLeaveTheEditorForTheGrid)
{
    EditFixture f;
    f.Key(VK_F2);
    f.Type(QStringLiteral("1"));
    f.Key(VK_DOWN);
    EXPECT_FALSE(f.EditorShowing());
    EXPECT_EQ(f.Grid->Row(), 4);
    EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("abc1"));
    // Left and Right move the caret while editing.
    f.Key(VK_F2);
    f.Key(VK_LEFT);
    EXPECT_TRUE(f.EditorShowing());
    EXPECT_EQ(f.Grid->Col(), 2);
}

TEST(GridEditor, AlwaysShowEditorFollowsTheCursorAndEnterKeepsIt)
{
    EditFixture f;
    f.Grid->SetCells(2, 4, QStringLiteral("next"));
    f.AddOptions(goAlwaysShowEditor);
    ASSERT_TRUE(f.EditorShowing());
    EXPECT_EQ(f.Editor()->GetText(), QStringLiteral("abc"));
    f.Key(VK_DOWN);
    ASSERT_TRUE(f.EditorShowing());
    EXPECT_EQ(f.Editor()->GetText(), QStringLiteral("next"));
    EXPECT_EQ(f.Editor()->BoundsRect(), f.Grid->CellRect(2, 4));
    f.Key(VK_RETURN, {}, u'\r');
    EXPECT_TRUE(f.EditorShowing());
    // With the caret at the end of the text, Right goes on to the next cell.
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.Grid->Col(), 3);
    EXPECT_TRUE(f.EditorShowing());
}

TEST(GridEditor, MaskRefusesWhatItsSlotsDoNotTake)
{
    EditFixture f;
    f.Grid->Mask = QStringLiteral("000;1;_");
    f.Grid->SetCells(2, 3, QString());
    f.Key(VK_F2);
    f.Key(VK_HOME);
    f.Type(QStringLiteral("4x2"));
    EXPECT_EQ(f.Editor()->EditText(), QStringLiteral("42_"));
    f.Key(VK_RETURN, {}, u'\r');
    EXPECT_EQ(f.Grid->Cells(2, 3), QStringLiteral("42 ")); // the mask's text, blanks as spaces
}

TEST(GridEditor, ScrollingTheCellAwayHidesTheEditorUntilItComesBack)
{
    EditFixture f;
    f.Key(VK_F2);
    f.Grid->SetTopRow(10);
    EXPECT_FALSE(f.EditorShowing());
    EXPECT_TRUE(f.Grid->EditorMode());
    f.Grid->SetTopRow(1);
    EXPECT_TRUE(f.EditorShowing());
    EXPECT_EQ(f.Editor()->BoundsRect(), f.Grid->CellRect(2, 3));
}

TEST(GridEditor, ACodeChangeOfTheEditedCellShowsInTheEditor)
{
    EditFixture f;
    f.Key(VK_F2);
    f.Grid->SetCells(2, 3, QStringLiteral("by code"));
    EXPECT_EQ(f.Editor()->GetText(), QStringLiteral("by code"));
    f.Grid->SetCells(2, 3, QStringLiteral("two\r\nlines")); // the editor holds several lines
    EXPECT_EQ(f.Editor()->LineCount(), 2);
    EXPECT_EQ(f.Editor()->GetText(), QStringLiteral("two\r\nlines"));
    f.Editor()->SetSelStart(5); // positions count the line break as two characters
    EXPECT_EQ(f.Editor()->CaretLine(), 1);
    f.Grid->SetRowCount(3); // the edited row leaves the grid: the editor closes without storing
    EXPECT_FALSE(f.EditorShowing());
}

} // namespace
