// The grid's own windows: the mark-up hint window (size, place on its monitor,
// images of the grid it shows for, its picture), the fixed-cell editors
// (validation, Return, leaving), the mark-up control editors and the Return edit.
#include <QWidget>
#include <gtest/gtest.h>

#include "common/GridOnForm.h"
#include "common/TestUtil.h"
#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGridUnit.h"
#include "controls/grid/ExGridWindows.h"
#include "controls/grid/GridWindowsFixture.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"

namespace {

// ---------------------------------------------------------------------------
// Hint window

// The text's size as the canvas measures it with the hint window's font.
TSize MarkupSize(const THTMLHintWindow* hint, const QString& text, const TImageList* images = nullptr)
{
    TBitmap bmp;
    bmp.SetSize(1, 1);
    bmp.Canvas()->SetFont(hint->Font());
    THTMLDrawInput in;
    in.Canvas = bmp.Canvas();
    in.Text = text;
    in.Rect = Rect(0, 0, 1008, 0);
    in.Images = images;
    in.CheckHeight = true;
    THTMLDrawOutput out;
    DrawHTMLText(in, out);
    return { out.XSize, out.YSize };
}

TSize LineSize(const THintWindow* hint, const QString& fontName, const QString& text)
{
    TBitmap bmp;
    bmp.SetSize(1, 1);
    bmp.Canvas()->SetFont(hint->Font());
    bmp.Canvas()->Font()->SetName(fontName);
    TRect r = Rect(0, 0, 1008, 0);
    DrawText(bmp.Canvas(), text, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return { r.Width(), r.Height() };
}

TEST(HTMLHintWindow, MarkupIsSixteenWiderWideTextEightBothFourTaller)
{
    TForm owner(nullptr);
    auto* hint = new THTMLHintWindow(&owner);
    SetHintFontName(QStringLiteral("DejaVu Serif"));
    const QString markup = QStringLiteral("<B>Bold</B> and <FONT color=\"clRed\">red</FONT>");
    hint->ActivateHint(Bounds(20, 30, 0, 0), markup);
    const TSize m = MarkupSize(hint, markup);
    EXPECT_EQ(hint->BoundsRect(), Bounds(20, 30, m.cx + 16, m.cy + 4));
    EXPECT_EQ(hint->TextWidth(), m.cx);
    EXPECT_TRUE(hint->Widget()->isVisible());
    EXPECT_EQ(hint->Widget()->geometry(), QRect(20, 30, m.cx + 16, m.cy + 4));

    // A wide-encoded hint is measured (and drawn) in the hint font.
    const QString wideText = QStringLiteral("Wide hint \u00e9\u00e8");
    hint->ActivateHint(Bounds(20, 30, 0, 0), EncodeWideText(wideText));
    const TSize w = LineSize(hint, QStringLiteral("DejaVu Serif"), wideText);
    ASSERT_NE(w.cx, LineSize(hint, hint->Font()->Name(), wideText).cx); // the font matters
    EXPECT_EQ(hint->WideCaption(), wideText);
    EXPECT_EQ(hint->BoundsRect(), Bounds(20, 30, w.cx + 8, w.cy + 4));
    EXPECT_EQ(hint->CalcHintRect(1008, EncodeWideText(wideText)), Rect(0, 0, w.cx, w.cy));
    EXPECT_EQ(hint->CalcHintRect(1008, markup), Rect(0, 0, m.cx, m.cy));
    SetHintFontName(QString());
}

TEST(HTMLHintWindow, StaysOnItsMonitorNeverOffItsLeftOrTopEdge)
{
    TForm owner(nullptr);
    auto* hint = new THTMLHintWindow(&owner);
    const TMonitor mon = Screen->MonitorFromPoint(TPoint(0, 0));
    const TRect s = mon.BoundsRect;
    const QString shortText = QStringLiteral("Hint");
    const TSize sz = MarkupSize(hint, shortText);
    const int w = sz.cx + 16;
    const int h = sz.cy + 4;
    QString longText;
    while (MarkupSize(hint, longText).cx < s.Width() + 50)
        longText += QStringLiteral("A long hint text ");
    const int lw = MarkupSize(hint, longText).cx + 16;

    struct TCase {
        const char* What;
        QString Text;
        TPoint At;
        TRect Expected;
    };
    const TCase cases[] = {
        { "fits", shortText, TPoint(s.Left + 10, s.Top + 10), Bounds(s.Left + 10, s.Top + 10, w, h) },
        { "past the right edge", shortText, TPoint(s.Right - 5, s.Top + 10),
            Bounds(s.Right - 2 - w, s.Top + 10, w, h) },
        { "past the bottom", shortText, TPoint(s.Left + 10, s.Bottom - 3),
            Bounds(s.Left + 10, s.Bottom - 2 - h, w, h) },
        { "both", shortText, TPoint(s.Right - 1, s.Bottom - 1), Bounds(s.Right - 2 - w, s.Bottom - 2 - h, w, h) },
        { "wider than the monitor", longText, TPoint(s.Left + 100, s.Top + 10), Bounds(s.Left, s.Top + 10, lw, h) },
    };
    for (const TCase& c : cases) {
        hint->ActivateHint(Bounds(c.At.X, c.At.Y, 0, 0), c.Text);
        EXPECT_EQ(hint->BoundsRect(), c.Expected) << c.What;
    }
}

TEST(HTMLHintWindow, TakesTheImagesOfTheGridItShowsForAndPaintsThem)
{
    TGridOnForm<TWindowsTestGrid> f(3, 3, 200, 100);
    TCustomImageList images(16, 16);
    TBitmap red;
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(TColor(0x0000FF));
    red.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images.Add(&red);
    f.Grid->SetImagesForTest(&images);

    auto* hint = new THTMLHintWindow(f.Form);
    hint->SetColor(clInfoBk);
    const QString text = QStringLiteral("<IMG src=\"idx:0\"> <B>Cell</B> <FONT color=\"clBlue\">hint</FONT>");
    hint->ActivateHintData(Bounds(40, 40, 0, 0), text, f.Grid);
    EXPECT_EQ(hint->Images(), &images);
    const TSize m = MarkupSize(hint, text, &images);
    EXPECT_EQ(hint->BoundsRect(), Bounds(40, 40, m.cx + 16, m.cy + 4));

    const QImage shot = hint->PaintToImage();
    testutil::SaveImagePng(shot, QStringLiteral("exgrid_html_hint"));
    EXPECT_TRUE(testutil::MatchesGolden(shot, QStringLiteral("exgrid_html_hint")));
    // The image sits at the left of the text, 4 pixels in.
    EXPECT_EQ(QColor(shot.pixel(4 + 8, shot.height() / 2)), QColor(255, 0, 0));
    // Frame: light at the top-left, dark at the bottom-right.
    EXPECT_EQ(QColor(shot.pixel(0, 0)), ColorToQColor(cl3DLight));
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 1, shot.height() - 1)), ColorToQColor(cl3DDkShadow));

    // Shown for anything but a grid the hint has no images.
    TPanel other(nullptr);
    hint->ActivateHintData(Bounds(40, 40, 0, 0), text, &other);
    EXPECT_EQ(hint->Images(), nullptr);
    EXPECT_EQ(hint->PictureContainer(), nullptr);
}

// ---------------------------------------------------------------------------
// Fixed-cell editors

template <class E> class FixedCellEditor : public ::testing::Test {
protected:
    FixedCellEditor()
        : F(5, 4, 300, 120)
    {
        F.Grid->HiddenCol = 1;
        F.Grid->SetCells(3, 0, QStringLiteral("Old"));
        Other = new TEdit(F.Form);
        Other->SetParent(F.Form);
        Other->SetBounds(0, 125, 80, 20);
        Editor = new E(F.Grid);
        Editor->SetCol(3); // real column 3 shows as column 2
        Editor->SetRow(0);
        Editor->SetBounds(100, 0, 60, 20);
        Editor->SetText(QStringLiteral("New"));
        Editor->Show();
        Editor->SetFocus();
    }
    TGridOnForm<TWindowsTestGrid> F;
    TEdit* Other;
    E* Editor;
};

using FixedCellEditorTypes = ::testing::Types<TGridTransEdit, TGridTransCombo>;
TYPED_TEST_SUITE(FixedCellEditor, FixedCellEditorTypes);

TYPED_TEST(FixedCellEditor, RefusedTextKeepsTheEditorAndMovesTheGridToTheShownColumn)
{
    auto* grid = this->F.Grid;
    EXPECT_EQ(this->Editor->Grid(), grid);
    EXPECT_EQ(this->Editor->Parent(), grid);
    grid->SetCol(1);
    grid->SetRow(2);
    int asked = 0;
    grid->OnCellValidate = [&](TObject* Sender, int ACol, int ARow, QString& Value, bool& Valid) {
        ++asked;
        EXPECT_EQ(Sender, grid);
        EXPECT_EQ(ACol, 3);
        EXPECT_EQ(ARow, 0);
        EXPECT_EQ(Value, QStringLiteral("New"));
        EXPECT_TRUE(Valid);
        Valid = false;
    };
    bool done = false;
    grid->OnEditingDone = [&](TObject*) { done = true; };
    EXPECT_FALSE(this->Editor->StopEdit());
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(done);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_EQ(grid->Cells(3, 0), QStringLiteral("Old"));
    EXPECT_TRUE(this->Editor->Visible());
    EXPECT_TRUE(this->Editor->Focused());

    // Leaving a refused edit does not end it either.
    this->Other->SetFocus();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(this->Editor->Visible());
    EXPECT_TRUE(this->Editor->Focused());
    EXPECT_EQ(grid->Cells(3, 0), QStringLiteral("Old"));
}

TYPED_TEST(FixedCellEditor, AcceptedTextAsTheHandlerLeftItIsStoredAfterEditingDone)
{
    auto* grid = this->F.Grid;
    grid->OnCellValidate = [](TObject*, int, int, QString& Value, bool&) { Value = Value.toUpper(); };
    QString atDone;
    grid->OnEditingDone = [&](TObject* Sender) {
        EXPECT_EQ(Sender, grid);
        atDone = grid->Cells(3, 0);
    };
    EXPECT_TRUE(this->Editor->StopEdit());
    EXPECT_EQ(atDone, QStringLiteral("Old"));
    EXPECT_EQ(grid->Cells(3, 0), QStringLiteral("NEW"));
    EXPECT_FALSE(this->Editor->Visible());
}

TYPED_TEST(FixedCellEditor, ReturnKeepsTheEditOpenLeavingEndsIt)
{
    auto* grid = this->F.Grid;
    bool sawReturn = false;
    this->Editor->OnKeyPress = [&](TObject*, char16_t& k) { sawReturn = sawReturn || k == 13; };
    input::Key(this->Editor, VK_RETURN);
    EXPECT_FALSE(sawReturn); // swallowed before anything handles it
    EXPECT_TRUE(this->Editor->Visible());
    EXPECT_TRUE(this->Editor->Focused());
    EXPECT_EQ(grid->Cells(3, 0), QStringLiteral("Old"));
    EXPECT_EQ(this->Editor->Text(), QStringLiteral("New"));

    this->Other->SetFocus();
    EXPECT_FALSE(this->Editor->Visible());
    EXPECT_EQ(grid->Cells(3, 0), QStringLiteral("New"));
}

TYPED_TEST(FixedCellEditor, WithoutAGridStopEditOnlyHides)
{
    auto* loose = new TypeParam(this->F.Form);
    EXPECT_EQ(loose->Grid(), nullptr);
    loose->SetParent(this->F.Form);
    loose->Show();
    EXPECT_TRUE(loose->StopEdit());
    EXPECT_FALSE(loose->Visible());
}

// ---------------------------------------------------------------------------
// Mark-up control editors

template <class E> class CellControlEditor : public ::testing::Test {
protected:
    CellControlEditor()
        : F(5, 4, 300, 120)
    {
        F.Grid->SetCol(2);
        F.Grid->SetRow(1);
        F.Grid->FCtrlID = QStringLiteral("c1");
        Editor = new E(F.Form);
        Editor->SetParent(F.Grid);
        Editor->SetBounds(100, 20, 60, 20);
        Editor->Show();
        After = new TEdit(F.Form);
        After->SetParent(F.Form);
        After->SetBounds(0, 125, 80, 20);
        After->SetTabStop(true);
        Editor->OnExit = [this](TObject*) { ++Exits; };
        Editor->SetFocus();
    }
    TGridOnForm<TWindowsTestGrid> F;
    E* Editor;
    TEdit* After;
    int Exits = 0;
};

using CellControlEditorTypes = ::testing::Types<TControlEdit, TControlCombo>;
TYPED_TEST_SUITE(CellControlEditor, CellControlEditorTypes);

TYPED_TEST(CellControlEditor, ReturnEndsTheControlAndGivesTheGridTheFocus)
{
    input::Key(this->Editor, VK_RETURN);
    EXPECT_GE(this->Exits, 1);
    EXPECT_TRUE(this->F.Grid->Focused());
    EXPECT_TRUE(this->F.Grid->Advances.empty());
    EXPECT_TRUE(this->F.Grid->NextControls.empty());
}

TYPED_TEST(CellControlEditor, TabMovesToTheNextCellOrTheCellsNextControl)
{
    auto* grid = this->F.Grid;
    input::Key(this->Editor, VK_TAB);
    EXPECT_EQ(this->Exits, 1);
    ASSERT_EQ(grid->NextControls.size(), 1u);
    EXPECT_EQ(grid->NextControls[0].Col, 2);
    EXPECT_EQ(grid->NextControls[0].Row, 1);
    EXPECT_EQ(grid->NextControls[0].ID, QStringLiteral("c1"));
    EXPECT_FALSE(this->After->Focused()); // Tab is the control's, not the form's
    EXPECT_TRUE(grid->Advances.empty());

    grid->Navigation()->SetAdvanceAuto(true);
    input::Key(this->Editor, VK_TAB);
    ASSERT_EQ(grid->Advances.size(), 1u);
    const auto& a = grid->Advances[0];
    EXPECT_EQ(a.Col, 2);
    EXPECT_EQ(a.Row, 1);
    EXPECT_TRUE(a.Force);
    EXPECT_FALSE(a.AutoEdit);
    EXPECT_TRUE(a.Forward);
    EXPECT_FALSE(a.Internal);
    EXPECT_TRUE(a.ShowEditor);
    EXPECT_EQ(grid->NextControls.size(), 1u);
}

TYPED_TEST(CellControlEditor, OffAGridReturnAndTabAreOrdinaryKeys)
{
    auto* loose = new TypeParam(this->F.Form);
    loose->SetParent(this->F.Form);
    loose->SetBounds(200, 125, 60, 20);
    loose->Show();
    int exits = 0;
    loose->OnExit = [&](TObject*) { ++exits; };
    loose->SetFocus();
    input::Key(loose, VK_RETURN);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(this->F.Grid->Advances.empty());
    EXPECT_TRUE(this->F.Grid->NextControls.empty());
}

// ---------------------------------------------------------------------------
// The Return edit

TEST(RetEdit, ReturnAndCtrlReturnEachFireTheirOwnEventOnly)
{
    struct TCase {
        TShiftState Shift;
        int Returns;
        int CtrlReturns;
    };
    for (const TCase& c : { TCase { {}, 1, 0 }, TCase { ssCtrl, 0, 1 } }) {
        TForm form(nullptr);
        form.SetBounds(0, 0, 200, 100);
        auto* def = new TButton(&form);
        def->SetParent(&form);
        def->SetBounds(0, 50, 60, 24);
        def->SetDefault(true);
        int clicks = 0;
        def->OnClick = [&](TObject*) { ++clicks; };
        auto* edit = new TRetEdit(&form);
        edit->SetParent(&form);
        edit->SetBounds(0, 0, 100, 20);
        edit->SetText(QStringLiteral("find"));
        form.Show();
        edit->SetFocus();
        int returns = 0, ctrlReturns = 0, keyDowns = 0;
        std::vector<char16_t> pressed;
        edit->OnReturn = [&](TObject* s) {
            EXPECT_EQ(s, edit);
            ++returns;
        };
        edit->OnCtrlReturn = [&](TObject*) { ++ctrlReturns; };
        edit->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keyDowns; };
        edit->OnKeyPress = [&](TObject*, char16_t& k) {
            pressed.push_back(k);
            k = u'x'; // discarded
        };
        input::Key(edit, VK_RETURN, c.Shift);
        EXPECT_EQ(returns, c.Returns);
        EXPECT_EQ(ctrlReturns, c.CtrlReturns);
        EXPECT_EQ(keyDowns, 0);
        EXPECT_EQ(clicks, 0); // the form's default button does not take it
        EXPECT_EQ(edit->Text(), QStringLiteral("find"));
        for (char16_t k : pressed)
            EXPECT_TRUE(k == 13 || k == 10);

        // Other keys are the edit's own.
        edit->OnKeyPress = nullptr;
        edit->SetSelStart(4);
        input::Type(edit, QStringLiteral("s"));
        EXPECT_EQ(keyDowns, 1);
        EXPECT_EQ(edit->Text(), QStringLiteral("finds"));
    }
}

} // namespace
