// An edit from start to end through the grid's own decision: which editor a
// cell gets (none, the text editor, a special one), a custom editor link
// opened, left and stored by real keys, the rich-text editor, and a picture of
// the editors open over their cells.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExEditLink.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExInplaceEdit.h"
#include "controls/grid/ExRichEdit.h"
#include "platform/controls/BalloonTip.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

namespace {

void Pump()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// A link whose control is a plain edit.
class TEditBoxLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TEdit* Edit = nullptr;
    TWinControl* GetEditControl() override { return Edit; }
    void CreateEditor(TWinControl* AParent) override
    {
        if (!Edit) {
            Edit = new TEdit(AParent);
            Edit->OnKeyDown
                = [this](TObject* Sender, WORD& Key, TShiftState Shift) { EditKeyDown(Sender, Key, Shift); };
        }
        Edit->SetParent(AParent);
    }
    // Called inside the edit's own key handling: the edit stays for the
    // next edit, hidden.
    void DestroyEditor() override
    {
        if (Edit)
            Edit->Hide();
    }
    QString GetEditorValue() override { return Edit ? Edit->Text() : QString(); }
    void SetEditorValue(const QString& Value) override
    {
        if (Edit)
            Edit->SetText(Value);
    }
};

// Counts the writes an edit makes.
class TCountingGrid : public TExStringGrid {
public:
    using TExStringGrid::FEditActive;
    using TExStringGrid::FSpecialEditor;
    using TExStringGrid::FStartEditChar;
    using TExStringGrid::InvalidEntryBalloon;
    using TExStringGrid::TExStringGrid;
    int Writes = 0;
    void SetEditedCellText(int ACol, int ARow, const QString& Value) override
    {
        ++Writes;
        TExStringGrid::SetEditedCellText(ACol, ARow, Value);
    }
};

struct TCycleForm : TGridOnForm<TCountingGrid> {
    std::vector<std::string> Log;
    TCycleForm()
        : TGridOnForm<TCountingGrid>(4, 5, 300, 200)
    {
        Grid->SetOptions(Grid->Options() | goEditing);
        Grid->OnEditingDone = [this](TObject*) { Log.push_back("editing done"); };
        Grid->OnEditCellDone = [this](TObject*, int c, int r) {
            Log.push_back("cell done " + std::to_string(c) + "," + std::to_string(r));
        };
    }
    void Kind(TEditorType k)
    {
        Grid->OnGetEditorType = [k](TObject*, int, int, TEditorType& e) { e = k; };
    }
    void At(int c, int r)
    {
        Grid->SetCol(c);
        Grid->SetRow(r);
    }
};

} // namespace

TEST(ExGridEditCycle, TheKindDecidesWhichEditorShows)
{
    struct TCase {
        const char* Name;
        TEditorType Kind;
        bool TextEditor, EditMode, Special;
    };
    using K = TEditorType;
    const std::vector<TCase> cases = {
        { "normal", K::edNormal, true, true, false },
        { "numeric", K::edNumeric, true, true, false },
        { "password", K::edPassword, true, true, false },
        { "none: never edited", K::edNone, false, false, false },
        { "data check box without a box: edit state only", K::edDataCheckBox, false, true, true },
        { "custom without a link: edit state only", K::edCustom, false, true, true },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TCycleForm f;
        f.Kind(t.Kind);
        f.At(1, 1);
        input::Key(f.Grid, VK_F2);
        const bool shown = f.Grid->InplaceEditor() && f.Grid->InplaceEditor()->Visible();
        EXPECT_EQ(shown, t.TextEditor);
        EXPECT_EQ(f.Grid->EditMode(), t.EditMode);
        EXPECT_EQ(f.Grid->FSpecialEditor, t.Special);
        EXPECT_EQ(f.Grid->CurrentEditor(), t.Kind);
        if (t.TextEditor)
            EXPECT_NE(dynamic_cast<TExInplaceEdit*>(f.Grid->InplaceEditor()), nullptr);
        // The next store ends an edit state without a control.
        if (t.Special) {
            f.Grid->HideCellEdit();
            EXPECT_FALSE(f.Grid->EditMode());
            Pump();
            EXPECT_EQ(f.Log, (std::vector<std::string> { "editing done", "cell done 1,1" }));
        }
    }
}

TEST(ExGridEditCycle, ACellControlCellShowsNoEditor)
{
    TCycleForm f;
    f.Grid->AddCheckBox(1, 1, false, false);
    f.At(1, 1);
    input::Key(f.Grid, VK_F2);
    EXPECT_FALSE(f.Grid->EditMode());
    EXPECT_FALSE(f.Grid->InplaceEditor() && f.Grid->InplaceEditor()->Visible());
}

TEST(ExGridEditCycle, ACustomPopupLinkOpensAtTheCellAndStoresOnce)
{
    TCycleForm f;
    TEditBoxLink link(nullptr);
    link.EditStyle = TEditStyle::esPopup;
    link.PopupWidth = 120;
    link.PopupHeight = 24;
    f.Grid->SetEditLink(&link);
    f.Kind(TEditorType::edCustom);
    f.Grid->SetCells(1, 2, "old");
    f.Grid->SetCells(1, 3, "keep");
    std::vector<std::string> props;
    f.Grid->OnGetEditorProp = [&](TObject*, int c, int r, TEditLink* l) {
        props.push_back(std::to_string(c) + "," + std::to_string(r) + (l == &link ? " link" : " none"));
    };
    f.At(1, 3);

    // Up stores the typed value once and moves up.
    input::Key(f.Grid, VK_F2);
    ASSERT_NE(link.Edit, nullptr);
    ASSERT_NE(link.PopupForm(), nullptr);
    const TRect cell = f.Grid->CellRect(1, 3);
    const TPoint at = f.Grid->ClientToScreen(TPoint(cell.Left, cell.Top));
    EXPECT_EQ(link.PopupForm()->Left(), at.X);
    EXPECT_EQ(link.PopupForm()->Top(), at.Y);
    EXPECT_EQ(link.Edit->Text(), "keep");
    EXPECT_EQ(props, (std::vector<std::string> { "1,3 link" }));
    link.Edit->SetText("new");
    input::Key(link.Edit, VK_UP);
    Pump();
    EXPECT_EQ(f.Grid->Cells(1, 3), "new");
    EXPECT_EQ(f.Grid->Writes, 1);
    EXPECT_EQ(f.Grid->Row(), 2);
    EXPECT_FALSE(f.Grid->EditMode());
    EXPECT_EQ(f.Log, (std::vector<std::string> { "editing done", "cell done 1,3" }));

    // Esc keeps the old text.
    f.Log.clear();
    input::Key(f.Grid, VK_F2);
    ASSERT_TRUE(link.Edit);
    EXPECT_EQ(link.Edit->Text(), "old");
    link.Edit->SetText("typed");
    input::Key(link.Edit, VK_ESCAPE);
    Pump();
    EXPECT_EQ(f.Grid->Cells(1, 2), "old");
    EXPECT_EQ(f.Grid->Row(), 2);
    EXPECT_EQ(f.Grid->Writes, 2);
    EXPECT_EQ(f.Log, (std::vector<std::string> { "editing done", "cell done 1,2" }));
    f.Grid->SetEditLink(nullptr);
}

TEST(ExGridEditCycle, TheCharacterThatOpenedTheEditReachesTheLinksControl)
{
    TCycleForm f;
    TEditBoxLink link(nullptr);
    f.Grid->SetEditLink(&link);
    f.Kind(TEditorType::edCustom);
    f.At(1, 1);
    // As a character typed on the grid leaves it for the editor.
    f.Grid->FStartEditChar = u'q';
    input::Key(f.Grid, VK_F2);
    EXPECT_EQ(f.Grid->FStartEditChar, 0);
    Pump();
    ASSERT_NE(link.Edit, nullptr);
    EXPECT_TRUE(link.Edit->Visible());
    EXPECT_TRUE(link.Edit->Text().endsWith("q"));
    f.Grid->SetEditLink(nullptr);
}

TEST(ExGridEditCycle, TheRichEditorLoadsAndStoresTheCell)
{
    TCycleForm f;
    f.Kind(TEditorType::edRichEdit);
    f.At(1, 1);
    f.Grid->SetCells(1, 1, "plain");
    input::Key(f.Grid, VK_F2);
    Pump();
    TExRichEdit* rich = f.Grid->InplaceRichEdit();
    ASSERT_TRUE(rich->Visible());
    EXPECT_EQ(rich->GetText(), "plain");
    const TRect cell = f.Grid->CellRect(1, 1);
    EXPECT_EQ(rich->Left(), cell.Left);
    EXPECT_EQ(rich->Width(), cell.Width() - 1);
    rich->SetText("rich");
    f.Grid->SetFocus();
    Pump();
    EXPECT_FALSE(rich->Visible());
    EXPECT_TRUE(f.Grid->Cells(1, 1).startsWith("{\\rtf"));
    EXPECT_EQ(f.Grid->RichToPlainText(f.Grid->Cells(1, 1)).trimmed(), "rich");
    EXPECT_EQ(f.Log, (std::vector<std::string> { "editing done", "cell done 1,1" }));
}

// ---------------------------------------------------------------------------
// The picture

namespace {

// One grid of the picture with its editor open on (1, 1).
TCountingGrid* PictureGrid(TForm* Form, int X, int Y, int RowHeight)
{
    auto* g = new TCountingGrid(Form);
    g->SetParent(Form);
    g->SetBounds(X, Y, 180, RowHeight + 22);
    g->SetDefaultColWidth(80);
    g->SetColCount(2);
    g->SetRowCount(2);
    g->SetRowHeights(1, RowHeight);
    g->SetOptions(g->Options() | goEditing);
    return g;
}

} // namespace

TEST(ExGridEditCycle, PictureOfTheEditorsOverTheirCells)
{
    TForm form(nullptr);
    form.SetBounds(10, 10, 400, 300);
    form.Show();
    struct TShot {
        const char* Text;
        TEditorType Kind;
        TAlignment Align;
        bool Wrap;
        int X, Y, RowHeight;
    };
    const std::vector<TShot> shots = {
        { "left text", TEditorType::edNormal, taLeftJustify, false, 5, 5, 20 },
        { "1234.5", TEditorType::edFloat, taRightJustify, false, 200, 5, 20 },
        { "secret", TEditorType::edPassword, taLeftJustify, false, 5, 55, 20 },
        { "one two three four five", TEditorType::edNormal, taLeftJustify, true, 200, 55, 50 },
    };
    std::vector<TCountingGrid*> grids;
    for (const TShot& s : shots) {
        TCountingGrid* g = PictureGrid(&form, s.X, s.Y, s.RowHeight);
        g->SetWordWrap(s.Wrap);
        g->SetCells(1, 1, s.Text);
        const TEditorType kind = s.Kind;
        const TAlignment align = s.Align;
        g->OnGetEditorType = [kind](TObject*, int, int, TEditorType& e) { e = kind; };
        g->OnGetAlignment = [align](TObject*, int, int, TAlignment& h, TVAlignment&) { h = align; };
        grids.push_back(g);
    }
    TCountingGrid* richGrid = PictureGrid(&form, 5, 135, 20);
    richGrid->SetCells(1, 1, "{\\rtf1 {\\b bold} text}");
    richGrid->OnGetEditorType = [](TObject*, int, int, TEditorType& e) { e = TEditorType::edRichEdit; };
    TCountingGrid* linkGrid = PictureGrid(&form, 200, 135, 20);
    linkGrid->SetCells(1, 1, "linked");
    linkGrid->OnGetEditorType = [](TObject*, int, int, TEditorType& e) { e = TEditorType::edCustom; };
    TEditBoxLink link(nullptr);
    linkGrid->SetEditLink(&link);
    TCountingGrid* refused = PictureGrid(&form, 5, 185, 20);
    refused->SetCells(1, 1, "ok");
    refused->SetInvalidEntryTitle("Invalid entry");
    refused->SetInvalidEntryText("Enter a number");
    refused->SetInvalidEntryIcon(TInvalidEntryIcon::ieError);
    refused->OnCellValidate = [](TObject*, int, int, QString&, bool& valid) { valid = false; };
    Pump();

    // One text editor shows at a time (the focus leaving ends an edit): each
    // is pictured while it is open.
    struct TPart {
        QImage Image;
        QRect Area;
    };
    std::vector<TPart> parts;
    for (TCountingGrid* g : grids) {
        g->SetFocus();
        input::Key(g, VK_F2);
        Pump();
        // The caret at the start: no selection in the picture.
        g->InplaceEditor()->SetSelStart(0);
        g->InplaceEditor()->SetSelLength(0);
        EXPECT_TRUE(g->InplaceEditor()->Visible());
        parts.push_back({ form.PaintToImage(), QRect(g->Left(), g->Top(), g->Width(), g->Height()) });
    }
    richGrid->SetFocus();
    input::Key(richGrid, VK_F2);
    Pump();
    linkGrid->SetFocus();
    input::Key(linkGrid, VK_F2);
    Pump();
    refused->SetFocus();
    refused->RememberCellValue(1, 1); // as the grid's F2 does
    input::Key(refused, VK_F2);
    Pump();
    refused->InplaceEditor()->SelectAll();
    input::Type(refused->InplaceEditor(), "x");
    input::Key(refused->InplaceEditor(), VK_RETURN);
    ASSERT_TRUE(richGrid->InplaceRichEdit()->Visible());
    ASSERT_NE(link.Edit, nullptr);
    ASSERT_TRUE(link.Edit->Visible());
    ASSERT_TRUE(refused->InplaceEditor()->Visible());

    QImage img = form.PaintToImage();
    {
        QPainter p(&img);
        for (const TPart& part : parts)
            p.drawImage(part.Area.topLeft(), part.Image, part.Area);
    }
    // The balloon is a window of its own: drawn where it shows.
    TBalloonTip* tip = refused->InvalidEntryBalloon();
    ASSERT_TRUE(tip && tip->Visible());
    {
        const TPoint tl = form.ScreenToClient(tip->ClientToScreen(TPoint(0, 0)));
        QPainter p(&img);
        p.drawImage(tl.X, tl.Y, tip->PaintToImage());
    }
    testutil::SaveImagePng(img, "grid_edit_editors");
    EXPECT_TRUE(testutil::MatchesGolden(img, "grid_edit_editors"));
    linkGrid->SetEditLink(nullptr);
}
