// Rich text in the string grid: cell texts into and out of its rich edits,
// the plain text a file writer saves, superscript of the selection, and the
// in-place rich editor driven by real typing: the row growing with its
// lines, the arrows and Tab handed to the grid, the end of the edit when the
// focus goes back to the grid.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <QWidget>
#include <vector>

#include "common/GridOnForm.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExRichEdit.h"
#include "platform/controls/RtfCodec.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Exceptions.h"

namespace {

QString Q(const char* s)
{
    return QString::fromUtf8(s);
}

// Bold, red, a superscript 2 and a character outside Windows-1252.
const char* const RichCell = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}"
                             "{\\colortbl ;\\red255\\green0\\blue0;}\\pard\\f0\\fs20 \\b Bold\\b0  \\cf1 red\\cf0  "
                             "x\\up4 2\\up0  \\u937?}";

TEST(ExGridRich, RoundTripThroughTheRichEditKeepsEveryLook)
{
    TExStringGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(3);
    g.SetCellEx(1, 1, Q(RichCell));

    g.CellToRich(1, 1, g.RichEdit());
    EXPECT_EQ(g.RichEdit()->GetText(), Q("Bold red x2 Ω"));
    const QString rtf = g.RichToString(g.RichEdit());
    EXPECT_TRUE(rtf.startsWith(Q("{\\rtf1")));
    for (const QChar c : rtf)
        ASSERT_LT(c.unicode(), 0x100) << "8-bit text";
    EXPECT_TRUE(rtf.contains(Q("\\u937?"))) << rtf.toStdString();
    const TRtfDocument d = ReadRtf(QStringView(rtf));
    EXPECT_EQ(d, ReadRtf(QByteArray(RichCell)));
    ASSERT_EQ(d.Paragraphs.size(), 1u);
    const auto& runs = d.Paragraphs[0].Runs;
    ASSERT_EQ(runs.size(), 6u);
    EXPECT_EQ(runs[0].Text, Q("Bold"));
    EXPECT_TRUE(runs[0].Format.Bold);
    EXPECT_EQ(runs[2].Text, Q("red"));
    EXPECT_EQ(runs[2].Format.Color, RGB(255, 0, 0));
    EXPECT_EQ(runs[4].Text, Q("2"));
    EXPECT_EQ(runs[4].Format.Offset, 40);
    EXPECT_EQ(runs[5].Text, Q(" Ω"));

    g.RichToCell(2, 1, g.RichEdit());
    EXPECT_EQ(g.GetCellEx(2, 1), rtf);

    // What a file writer saves: the plain text, or the RTF without line ends.
    g.SetSaveWithRTF(false);
    EXPECT_EQ(g.GetSaveCellText(2, 1), Q("Bold red x2 Ω"));
    g.SetSaveWithRTF(true);
    const QString kept = g.GetSaveCellText(2, 1);
    EXPECT_FALSE(kept.contains(u'\r') || kept.contains(u'\n'));
    EXPECT_EQ(ReadRtf(QStringView(kept)), d);

    // An empty cell clears the rich edit.
    g.CellToRich(3, 2, g.RichEdit());
    EXPECT_EQ(g.RichEdit()->GetText(), QString());
}

TEST(ExGridRich, CellToRichHandsTheTextOverWhole)
{
    // Characters beyond 8 bits written into an RTF cell as they are.
    TExStringGrid g(nullptr);
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetCellEx(1, 1, QString::fromUtf16(u"{\\rtf1 \u03A9\u20AC\u4E2D \\b b}"));
    g.CellToRich(1, 1, g.RichEdit());
    EXPECT_EQ(g.RichEdit()->GetText(), QString::fromUtf16(u"\u03A9\u20AC\u4E2D b"));
    // A plain cell shows as it is.
    g.SetCellEx(1, 1, QString::fromUtf16(u"\u4E2D\r\nline"));
    g.CellToRich(1, 1, g.RichEdit());
    EXPECT_EQ(g.RichEdit()->GetText(), QString::fromUtf16(u"\u4E2D\r\nline"));
}

TEST(ExGridRich, SuperscriptAndSubscriptOfTheSelection)
{
    TExStringGrid g(nullptr);
    TExRichEdit* e = g.RichEdit();
    e->SetText(Q("x2 y"));
    e->SetSelStart(1);
    e->SetSelLength(1);
    EXPECT_TRUE(e->IsSelNormal());
    e->SelSuperscript();
    EXPECT_TRUE(e->IsSelSuperscript());
    EXPECT_FALSE(e->IsSelNormal());
    EXPECT_FALSE(e->IsSelSubscript());
    EXPECT_TRUE(g.RichToString(e).contains(Q("\\up4 2"))) << g.RichToString(e).toStdString();
    e->SetSelStart(3);
    e->SetSelLength(1);
    e->SelSubscript();
    EXPECT_TRUE(e->IsSelSubscript());
    EXPECT_TRUE(g.RichToString(e).contains(Q("\\dn4 y"))) << g.RichToString(e).toStdString();
    // Only the offset changes: the bold of the selection stays.
    e->SetSelBold(true);
    e->SelNormal();
    EXPECT_TRUE(e->IsSelNormal());
    EXPECT_TRUE(e->SelBold());
    e->SetSelStart(1);
    e->SetSelLength(1);
    EXPECT_TRUE(e->IsSelSuperscript());
}

TEST(ExGridRich, TheRichEditsAreMadeOnFirstUseOwnedAndHidden)
{
    TExStringGrid g(nullptr);
    TExRichEdit* conv = g.RichEdit();
    EXPECT_EQ(g.RichEdit(), conv);
    EXPECT_EQ(g.GetRichEdit(), conv);
    EXPECT_EQ(conv->Owner(), &g);
    EXPECT_EQ(conv->Parent(), &g);
    EXPECT_FALSE(conv->Visible());
    EXPECT_EQ(conv->BoundsRect(), Rect(0, 0, 0, 0));
    TExRichEdit* inplace = g.InplaceRichEdit();
    EXPECT_NE(inplace, conv);
    EXPECT_EQ(g.InplaceRichEdit(), inplace);
    EXPECT_FALSE(inplace->Visible());

    int changes = 0;
    g.OnRichEditSelectionChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &g);
        ++changes;
    };
    inplace->SetText(Q("abc"));
    changes = 0;
    inplace->SetSelStart(2);
    EXPECT_GE(changes, 1);

    EXPECT_THROW(TExRichEdit(nullptr), EInvalidCast);
}

// A shown grid with the in-place rich editor open on cell (1, row), as the
// grid opens it: over the cell, borderless, loaded while locked, focused.
struct RichEditing {
    TGridOnForm<TExStringGrid> On;
    TExStringGrid* G;
    TExRichEdit* E = nullptr;
    std::vector<int> EndRowSize;

    RichEditing(int width, int height, int rows = 8)
        : On(4, rows, width, height)
        , G(On.Grid)
    {
        // Real focus changes need the active window.
        On.Form->Widget()->activateWindow();
        QCoreApplication::processEvents();
        G->SizeWhileTyping()->Height = true;
        G->OnEndRowSize = [this](TObject* Sender, int ARow) {
            EXPECT_EQ(Sender, G);
            EndRowSize.push_back(ARow);
        };
    }

    void Open(int row, const QString& text)
    {
        G->SetCol(1);
        G->SetRow(row);
        G->SetCellEx(G->RealCol(), row, text);
        E = G->InplaceRichEdit();
        const TRect r = G->CellRect(1, row);
        E->SetBorderStyle(bsNone);
        E->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        E->MarkLocked();
        G->CellToRich(G->RealCol(), row, E);
        E->SetSelStart(int(E->GetText().size()));
        E->SetEnabled(true);
        E->SetVisible(true);
        E->SetFocus();
        E->MarkUnlocked();
    }

    // The height of a text of n lines in the editor.
    int TextHeight(int lines)
    {
        TExRichEdit probe(G);
        probe.SetBorderStyle(bsNone);
        probe.SetBounds(0, 0, E ? E->Width() : 50, 20);
        QStringList l;
        for (int i = 0; i < lines; ++i)
            l << Q("a");
        probe.SetText(l.join(Q("\r\n")));
        return probe.ContentSize().cy;
    }

    void NewLine(const QString& text)
    {
        input::Key(E, VK_RETURN, {}, u'\r');
        input::Type(E, text);
    }
};

TEST(ExGridRich, TypingALineTooManyGrowsTheRowOncePerGrowth)
{
    RichEditing t(300, 300);
    const int two = t.TextHeight(2);
    // Two lines fit the row; the third does not.
    t.G->SetRowHeights(2, two + 5);
    t.Open(2, Q("a"));
    t.NewLine(Q("b"));
    EXPECT_EQ(t.G->RowHeights(2), two + 5);
    EXPECT_TRUE(t.EndRowSize.empty());

    t.NewLine(Q("c"));
    const int three = t.E->ContentSize().cy;
    EXPECT_EQ(three, t.TextHeight(3));
    EXPECT_EQ(t.G->RowHeights(2), three + 10);
    EXPECT_EQ(t.E->Height(), three + 9);
    EXPECT_EQ(t.EndRowSize, std::vector<int>({ 2 }));

    // More on the same line asks for no more room.
    input::Type(t.E, Q("cc"));
    EXPECT_EQ(t.EndRowSize.size(), 1u);

    t.NewLine(Q("d"));
    const int four = t.E->ContentSize().cy;
    EXPECT_EQ(t.G->RowHeights(2), four + 10);
    EXPECT_EQ(t.EndRowSize, std::vector<int>({ 2, 2 }));
    EXPECT_EQ(t.E->GetText(), Q("a\r\nb\r\nccc\r\nd"));
}

TEST(ExGridRich, TheRowDoesNotGrowPastTheGridsBottomNorWhileLockedOrUnasked)
{
    struct Case {
        const char* what;
        int roomBelow; // beyond the two-line text height under the row's top
        bool lock;
        bool sizeWhileTyping;
        bool grows;
    };
    const Case cases[] = {
        { "room for two lines and the margin", 1, false, true, true },
        { "one pixel short", 0, false, true, false },
        { "locked", 1, true, true, false },
        { "not asked to size while typing", 1, false, false, false },
    };
    for (const Case& c : cases) {
        // Place row 3 so that the grid ends roomBelow pixels after what two
        // lines need there.
        RichEditing probe(300, 300);
        const int one = probe.TextHeight(1);
        const int two = probe.TextHeight(2);
        probe.G->SetDefaultRowHeight(one + 5);
        const int top = probe.G->CellRect(1, 3).Top;
        RichEditing t(300, top + two + 5 + c.roomBelow);
        t.G->SetDefaultRowHeight(one + 5);
        t.G->SizeWhileTyping()->Height = c.sizeWhileTyping;
        ASSERT_EQ(t.G->CellRect(1, 3).Top, top) << c.what;
        t.Open(3, Q("a"));
        if (c.lock)
            t.E->MarkLocked();
        t.NewLine(Q("b"));
        EXPECT_EQ(t.G->RowHeights(3) == two + 10, c.grows) << c.what;
        EXPECT_EQ(t.EndRowSize.size(), c.grows ? 1u : 0u) << c.what;
        if (!c.grows) {
            EXPECT_EQ(t.G->RowHeights(3), one + 5) << c.what;
        }
    }
}

TEST(ExGridRich, VerticalArrowsStayInAWordWrappingEditor)
{
    RichEditing t(300, 300);
    t.G->SetRowHeights(2, 60);
    t.Open(2, Q("first\r\nsecond"));
    t.E->SetSelStart(0);
    ASSERT_TRUE(t.G->WordWrap());
    input::Key(t.E, VK_DOWN);
    EXPECT_EQ(t.G->Row(), 2);
    EXPECT_TRUE(t.E->Focused());
    EXPECT_TRUE(t.E->Visible());
    EXPECT_EQ(t.E->SelStart(), 6); // the caret went down a line

    // Multi-line cells keep the arrows in the editor too.
    t.G->SetWordWrap(false);
    t.G->SetMultilinecells(true);
    input::Key(t.E, VK_UP);
    EXPECT_EQ(t.G->Row(), 2);
    EXPECT_EQ(t.E->SelStart(), 0);
}

TEST(ExGridRich, WithoutWordWrapDownMovesTheRowAndEndsTheEdit)
{
    RichEditing t(300, 300);
    t.G->SetWordWrap(false);
    t.Open(2, Q("{\\rtf1 \\b kept}"));
    input::Type(t.E, Q("!"));
    input::Key(t.E, VK_DOWN);
    EXPECT_EQ(t.G->Row(), 3);
    EXPECT_TRUE(t.G->Focused());
    EXPECT_FALSE(t.E->Visible());
    // Losing the focus to the grid stored the rich text.
    const QString stored = t.G->GetCellEx(1, 2);
    EXPECT_TRUE(IsRtfText(stored));
    EXPECT_EQ(ReadRtf(QStringView(stored)).PlainText(), Q("kept!"));
    EXPECT_TRUE(ReadRtf(QStringView(stored)).Paragraphs[0].Runs[0].Format.Bold);
}

TEST(ExGridRich, TabGoesToTheGridWithTabbingAndIsTypedWithout)
{
    RichEditing t(300, 300);
    t.Open(2, Q("x"));
    input::Key(t.E, VK_TAB, {}, u'\t');
    EXPECT_EQ(t.E->GetText(), Q("x\t"));
    EXPECT_EQ(t.G->Col(), 1);

    t.G->SetOptions(t.G->Options() | goTabs);
    input::Key(t.E, VK_TAB, {}, u'\t');
    EXPECT_EQ(t.G->Col(), 2);
    EXPECT_FALSE(t.E->Visible());
    EXPECT_EQ(ReadRtf(QStringView(t.G->GetCellEx(1, 2))).PlainText(), Q("x\t"));
}

TEST(ExGridRich, AFocusChangeTheGridMakesItselfEndsNothing)
{
    RichEditing t(300, 300);
    t.Open(2, Q("x"));
    t.G->InvokedFocusChange = true;
    t.G->SetFocus();
    t.G->InvokedFocusChange = false;
    EXPECT_TRUE(t.E->Visible());
    EXPECT_EQ(t.G->GetCellEx(1, 2), Q("x"));
    // Another focus loss, not to the grid, ends nothing either.
    t.E->SetFocus();
    auto* other = new TEdit(t.On.Form);
    other->SetParent(t.On.Form);
    other->SetFocus();
    EXPECT_TRUE(t.E->Visible());
    // Back in the editor, a focus loss to the grid stores and hides.
    t.E->SetFocus();
    t.G->SetFocus();
    EXPECT_FALSE(t.E->Visible());
    EXPECT_TRUE(IsRtfText(t.G->GetCellEx(1, 2)));
}

} // namespace
