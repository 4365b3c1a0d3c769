// The edits' clipboard messages, positions of characters, lines as shown and
// window re-creation, through real keys on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "common/GridOnForm.h"
#include "common/TestUtil.h"
#include "platform/controls/Clipbrd.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Grids.h"
#include "platform/controls/StdCtrls.h"

namespace {

// An edit of any kind that logs the messages a descendant would see, and
// may refuse a paste or take only its digits.
template <class E> class TLogEdit : public E {
public:
    using E::E;
    QStringList Log;
    bool RefusePaste = false;
    bool DigitsOnly = false;

    void WndProc(TMessage& m) override
    {
        switch (m.Msg) {
        case WM_COPY:
            Log << "copy";
            break;
        case WM_CUT:
            Log << "cut";
            break;
        case WM_CLEAR:
            Log << "clear";
            break;
        case WM_PASTE:
            Log << "paste";
            if (RefusePaste)
                return;
            if (DigitsOnly) {
                QString digits;
                for (QChar c : Clipboard()->AsText())
                    if (c.isDigit())
                        digits += c;
                this->SetSelText(digits);
                return;
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Log << QStringLiteral("%1 %2").arg(m.Msg == WM_KEYDOWN ? "key" : "syskey").arg(m.WParam);
            break;
        case WM_CHAR:
            Log << QStringLiteral("char %1").arg(m.WParam);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Log << (m.Msg == WM_SETFOCUS ? "setfocus" : "killfocus");
            break;
        default:
            break;
        }
        E::WndProc(m);
    }
    using E::RecreateWnd;
};

class TLogEditGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;

protected:
    TInplaceEdit* CreateEditor() override { return new TLogEdit<TInplaceEdit>(this); }
};

// One edit to drive: a TEdit, a TMemo or a grid's in-place editor, on a
// shown form, focused, with its own clipboard in place of the system's.
struct EditOnForm {
    enum Kind { Edit, Memo, Inplace };
    Kind kind;
    TMemoryClipboard clip;
    TClipboard* oldClip;
    std::unique_ptr<TGridOnForm<TLogEditGrid>> grid;
    TForm* form = nullptr;
    TCustomEdit* edit = nullptr;
    QStringList* log = nullptr;

    explicit EditOnForm(Kind k)
        : kind(k)
        , oldClip(SetClipboard(&clip))
    {
        if (k == Inplace) {
            grid = std::make_unique<TGridOnForm<TLogEditGrid>>(4, 4, 300, 200);
            form = grid->Form;
            grid->Grid->SetOptions(grid->Grid->Options() | goEditing);
            grid->Grid->SetColWidths(1, 200);
            grid->Grid->SetRowHeights(1, 60);
            grid->Grid->SetCol(1);
            grid->Grid->SetRow(1);
            input::Key(grid->Grid, VK_F2);
            auto* e = static_cast<TLogEdit<TInplaceEdit>*>(grid->Grid->InplaceEditor());
            edit = e;
            log = &e->Log;
        } else {
            form = new TForm(nullptr);
            form->SetBounds(20, 20, 400, 300);
            form->Show();
            if (k == Edit) {
                auto* e = new TLogEdit<TEdit>(form);
                edit = e;
                log = &e->Log;
            } else {
                auto* e = new TLogEdit<TMemo>(form);
                edit = e;
                log = &e->Log;
            }
            edit->SetParent(form);
            edit->SetBounds(10, 10, 200, k == Memo ? 80 : 24);
            edit->SetFocus();
        }
    }
    ~EditOnForm()
    {
        if (!grid)
            delete form;
        SetClipboard(oldClip);
    }
    template <class F> void Each(F f)
    {
        if (auto* e = dynamic_cast<TLogEdit<TEdit>*>(edit))
            f(e);
        else if (auto* m = dynamic_cast<TLogEdit<TMemo>*>(edit))
            f(m);
        else
            f(static_cast<TLogEdit<TInplaceEdit>*>(edit));
    }
    void SetRefuse(bool refuse, bool digits)
    {
        Each([&](auto* e) {
            e->RefusePaste = refuse;
            e->DigitsOnly = digits;
        });
    }
    void Start(const QString& text, int selStart, int selLength)
    {
        edit->SetText(text);
        edit->SetSelStart(selStart);
        edit->SetSelLength(selLength);
        log->clear();
    }
    const char* Name() const { return kind == Edit ? "edit" : kind == Memo ? "memo" : "in-place"; }
};

const EditOnForm::Kind AllKinds[] = { EditOnForm::Edit, EditOnForm::Memo, EditOnForm::Inplace };

} // namespace

TEST(EditClipboard, ClipboardKeysReachWndProcBeforeTheWidgetActs)
{
    struct Case {
        const char* name;
        WORD vk;
        TShiftState shift;
        const char* message;
        const char* text; // "hello" with "ell" selected, "XY" on the clipboard
        const char* clip;
    };
    const Case cases[] = {
        { "Ctrl+C", 'C', ssCtrl, "copy", "hello", "ell" },
        { "Ctrl+Insert", VK_INSERT, ssCtrl, "copy", "hello", "ell" },
        { "Ctrl+X", 'X', ssCtrl, "cut", "ho", "ell" },
        { "Shift+Delete", VK_DELETE, ssShift, "cut", "ho", "ell" },
        { "Ctrl+V", 'V', ssCtrl, "paste", "hXYo", "XY" },
        { "Shift+Insert", VK_INSERT, ssShift, "paste", "hXYo", "XY" },
    };
    for (EditOnForm::Kind kind : AllKinds) {
        EditOnForm f(kind);
        ASSERT_NE(f.edit, nullptr);
        for (const Case& c : cases) {
            f.Start(QStringLiteral("hello"), 1, 3);
            f.clip.SetAsText(QStringLiteral("XY"));
            input::Key(f.edit, c.vk, c.shift);
            EXPECT_EQ(f.log->count(QString::fromLatin1(c.message)), 1) << f.Name() << " " << c.name;
            EXPECT_EQ(f.edit->GetText(), QString::fromLatin1(c.text)) << f.Name() << " " << c.name;
            EXPECT_EQ(f.clip.AsText(), QString::fromLatin1(c.clip)) << f.Name() << " " << c.name;
        }
        // The key comes first, then its character, then the paste.
        f.Start(QStringLiteral("hello"), 1, 3);
        input::Key(f.edit, 'V', ssCtrl);
        EXPECT_EQ(f.log->filter(QRegularExpression("^(key 86|char 22|paste)$")),
            QStringList({ "key 86", "char 22", "paste" }))
            << f.Name();

        // A descendant refuses a paste, or takes only what it accepts.
        f.SetRefuse(true, false);
        f.Start(QStringLiteral("hello"), 1, 3);
        f.clip.SetAsText(QStringLiteral("a1b2"));
        input::Key(f.edit, 'V', ssCtrl);
        input::Key(f.edit, VK_INSERT, ssShift);
        EXPECT_EQ(f.log->count("paste"), 2) << f.Name();
        EXPECT_EQ(f.edit->GetText(), QStringLiteral("hello")) << f.Name();
        f.SetRefuse(false, true);
        input::Key(f.edit, 'V', ssCtrl);
        EXPECT_EQ(f.edit->GetText(), QStringLiteral("h12o")) << f.Name();
        f.SetRefuse(false, false);

        // A character handler that drops Ctrl+V's character stops the paste.
        f.edit->OnKeyPress = [](TObject*, char16_t& k) {
            if (k == 22)
                k = 0;
        };
        f.Start(QStringLiteral("hello"), 1, 3);
        input::Key(f.edit, 'V', ssCtrl);
        EXPECT_EQ(f.log->count("paste"), 0) << f.Name();
        EXPECT_EQ(f.edit->GetText(), QStringLiteral("hello")) << f.Name();
        f.edit->OnKeyPress = nullptr;
    }
}

TEST(EditClipboard, ContextMenuActionsSendTheMessages)
{
    struct Case {
        const char* caption;
        const char* message;
        const char* text;
    };
    const Case cases[] = {
        { "Cu&t", "cut", "ho" },
        { "&Copy", "copy", "hello" },
        { "&Paste", "paste", "hXYo" },
        { "Delete", "clear", "ho" },
    };
    for (EditOnForm::Kind kind : { EditOnForm::Edit, EditOnForm::Memo }) {
        EditOnForm f(kind);
        // The program's clipboard has text while the system's has none:
        // Paste is offered all the same.
        QApplication::clipboard()->clear();
        for (const Case& c : cases) {
            f.Start(QStringLiteral("hello"), 1, 3);
            f.clip.SetAsText(QStringLiteral("XY"));
            QWidget* w = f.edit->Widget();
            QContextMenuEvent ev(QContextMenuEvent::Keyboard, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(w, &ev);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr) << f.Name();
            QAction* action = nullptr;
            for (QAction* a : menu->actions())
                if (a->text().section('\t', 0, 0) == QLatin1String(c.caption))
                    action = a;
            ASSERT_NE(action, nullptr) << f.Name() << " " << c.caption;
            EXPECT_TRUE(action->isEnabled()) << f.Name() << " " << c.caption;
            action->trigger();
            menu->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(*f.log, QStringList({ QString::fromLatin1(c.message) })) << f.Name() << " " << c.caption;
            EXPECT_EQ(f.edit->GetText(), QString::fromLatin1(c.text)) << f.Name() << " " << c.caption;
        }
        // Nothing to paste: the entry is there but not offered.
        f.clip.Clear();
        QWidget* w = f.edit->Widget();
        QContextMenuEvent ev(QContextMenuEvent::Keyboard, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(w, &ev);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            if (a->text().startsWith(QLatin1String("&Paste")))
                EXPECT_FALSE(a->isEnabled()) << f.Name();
        menu->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST(EditClipboard, ReadOnlyAndPasswordEditsKeepTheirTextAndSecret)
{
    EditOnForm f(EditOnForm::Edit);
    f.Start(QStringLiteral("hello"), 1, 3);
    f.clip.SetAsText(QStringLiteral("XY"));
    f.edit->SetReadOnly(true);
    input::Key(f.edit, 'V', ssCtrl);
    input::Key(f.edit, 'X', ssCtrl);
    EXPECT_EQ(f.edit->GetText(), QStringLiteral("hello"));
    EXPECT_EQ(f.clip.AsText(), QStringLiteral("XY"));
    input::Key(f.edit, 'C', ssCtrl); // copying is no change
    EXPECT_EQ(f.clip.AsText(), QStringLiteral("ell"));
    f.edit->SetReadOnly(false);

    f.edit->SetPasswordChar(u'*');
    f.Start(QStringLiteral("secret"), 0, 6);
    f.clip.SetAsText(QStringLiteral("XY"));
    input::Key(f.edit, 'C', ssCtrl);
    input::Key(f.edit, 'X', ssCtrl);
    EXPECT_EQ(f.clip.AsText(), QStringLiteral("XY"));
    EXPECT_EQ(f.edit->GetText(), QStringLiteral("secret"));

    // A single-line edit pastes the first line of a text.
    f.edit->SetPasswordChar(0);
    f.Start(QStringLiteral("ab"), 2, 0);
    f.clip.SetAsText(QStringLiteral("cd\r\nef"));
    input::Key(f.edit, 'V', ssCtrl);
    EXPECT_EQ(f.edit->GetText(), QStringLiteral("abcd"));
}

TEST(EditClipboard, AltBackspaceArrivesAsASystemKeyAndUndoes)
{
    for (EditOnForm::Kind kind : AllKinds) {
        EditOnForm f(kind);
        f.Start(QStringLiteral("ab"), 2, 0);
        input::Type(f.edit, QStringLiteral("c"));
        ASSERT_EQ(f.edit->GetText(), QStringLiteral("abc")) << f.Name();
        f.log->clear();
        input::Key(f.edit, VK_BACK, ssAlt);
        EXPECT_EQ(f.log->filter(QRegularExpression("key")), QStringList({ "syskey 8" })) << f.Name();
        EXPECT_EQ(f.edit->GetText(), QStringLiteral("ab")) << f.Name();
    }
}

namespace {

// Leftmost and rightmost columns holding a dark (text) pixel inside the
// frame, -1 when none.
std::pair<int, int> Ink(TWinControl* c)
{
    const QImage img = c->Widget()->grab().toImage();
    int lo = -1, hi = -1;
    for (int x = 4; x < img.width() - 4; ++x)
        for (int y = 4; y < img.height() - 4; ++y)
            if (qGray(img.pixel(x, y)) < 128) {
                lo = lo < 0 ? x : lo;
                hi = x;
                break;
            }
    return { lo, hi };
}

// The lines as the widget lays them out: the distinct tops of its caret
// positions, in order.
std::vector<int> ShownLineTops(TCustomEdit* e)
{
    std::set<int> tops;
    const int len = int(e->GetText().size());
    for (int i = 0; i <= len; ++i)
        tops.insert(e->PosFromChar(i).Y);
    return { tops.begin(), tops.end() };
}

} // namespace

TEST(EditPositions, CharactersAndPointsMapBothWays)
{
    EditOnForm f(EditOnForm::Edit);
    TCustomEdit* e = f.edit;
    e->SetBounds(10, 10, 200, 24);
    struct Case {
        TAlignment align;
        char16_t password;
        const char* text;
    };
    const Case cases[] = {
        { taLeftJustify, 0, "abcdef" },
        { taRightJustify, 0, "abcdef" },
        { taCenter, 0, "abcdef" },
        { taLeftJustify, u'*', "abcdef" },
    };
    for (const Case& c : cases) {
        e->SetAlignment(c.align);
        e->SetPasswordChar(c.password);
        e->SetText(QString::fromLatin1(c.text));
        const int len = int(e->GetText().size());
        const auto [lo, hi] = Ink(e);
        ASSERT_GE(lo, 0);
        const int y = e->Height() / 2;
        if (c.password == 0) { // the mask glyph has bearings of its own
            EXPECT_LE(std::abs(e->PosFromChar(0).X - lo), 2) << c.align;
            EXPECT_LE(std::abs(e->PosFromChar(len).X - hi), 2) << c.align;
        }
        for (int i = 0; i < len; ++i) {
            const TPoint p = e->PosFromChar(i);
            EXPECT_LT(p.X, e->PosFromChar(i + 1).X) << i;
            EXPECT_EQ(e->CharFromPos(TPoint(p.X + 1, y)), i) << c.align << " " << i;
        }
        EXPECT_EQ(e->PosFromChar(-1), TPoint(-1, -1));
        EXPECT_EQ(e->PosFromChar(len + 1), TPoint(-1, -1));
    }

    // A text wider than the edit scrolls to its caret: the points follow.
    e->SetPasswordChar(0);
    e->SetAlignment(taLeftJustify);
    e->SetText(QString(60, QLatin1Char('w')));
    e->SetSelStart(60);
    e->Widget()->grab(); // painted once, as shown
    const TPoint end = e->PosFromChar(60);
    EXPECT_GT(end.X, 0);
    EXPECT_LE(end.X, e->Width());
    EXPECT_LT(e->PosFromChar(0).X, 0);
    EXPECT_EQ(e->CharFromPos(TPoint(e->PosFromChar(55).X + 1, 10)), 55);

    // A memo: the second line lies below the first, line breaks count two.
    EditOnForm m(EditOnForm::Memo);
    m.edit->SetText(QStringLiteral("ab\r\ncd"));
    const TPoint a = m.edit->PosFromChar(0);
    const TPoint c = m.edit->PosFromChar(4);
    EXPECT_GT(c.Y, a.Y);
    EXPECT_LE(std::abs(c.X - a.X), 1);
    EXPECT_EQ(m.edit->CharFromPos(TPoint(c.X + 1, c.Y + 2)), 4);
    EXPECT_EQ(m.edit->PosFromChar(7), TPoint(-1, -1));
}

TEST(EditPositions, LinesCountAsShownWithWordWrap)
{
    for (EditOnForm::Kind kind : { EditOnForm::Memo, EditOnForm::Inplace }) {
        EditOnForm f(kind);
        TCustomEdit* e = f.edit;
        if (kind == EditOnForm::Memo)
            e->SetBounds(10, 10, 120, 150);
        else
            static_cast<TInplaceEdit*>(e)->SetWordWrap(true);
        e->SetText(QStringLiteral("alpha beta gamma delta epsilon zeta eta theta\r\niota\r\n"));
        testutil::SaveWidgetPng(e->Widget(), QStringLiteral("edit_wrapped_lines_%1").arg(int(kind)));
        const std::vector<int> tops = ShownLineTops(e);
        ASSERT_GT(tops.size(), 3u) << f.Name(); // the long line wraps
        EXPECT_EQ(e->LineCount(), int(tops.size())) << f.Name();
        const int len = int(e->GetText().size());
        for (int i = 0; i <= len; ++i) {
            e->SetSelStart(i);
            const int shown = int(std::find(tops.begin(), tops.end(), e->PosFromChar(i).Y) - tops.begin());
            EXPECT_EQ(e->CaretLine(), shown) << f.Name() << " " << i;
        }
        // Without wrapping, a line of text is a line.
        if (kind == EditOnForm::Memo)
            static_cast<TMemo*>(e)->SetWordWrap(false);
        else
            static_cast<TInplaceEdit*>(e)->SetWordWrap(false);
        EXPECT_EQ(e->LineCount(), 3) << f.Name();
        e->SetSelStart(len);
        EXPECT_EQ(e->CaretLine(), 2) << f.Name();
    }
    // A single-line edit has one line.
    EditOnForm f(EditOnForm::Edit);
    f.edit->SetText(QStringLiteral("one two"));
    EXPECT_EQ(f.edit->LineCount(), 1);
    EXPECT_EQ(f.edit->CaretLine(), 0);
}

TEST(EditRecreate, ANewWindowKeepsTextSelectionAndFocusQuietly)
{
    for (EditOnForm::Kind kind : AllKinds) {
        EditOnForm f(kind);
        TCustomEdit* e = f.edit;
        int enters = 0, exits = 0;
        e->OnEnter = [&](TObject*) { ++enters; };
        e->OnExit = [&](TObject*) { ++exits; };
        f.Start(QStringLiteral("hello world"), 8, 0);
        for (int i = 0; i < 3; ++i)
            input::Key(e, VK_LEFT, ssShift); // the caret at the selection's start
        ASSERT_EQ(e->SelStart(), 5) << f.Name();
        ASSERT_EQ(e->SelLength(), 3) << f.Name();
        f.log->clear();
        const QPointer<QWidget> old = e->Widget();
        // A child window (an edit's button) moves into the new window.
        auto* child = new TPanel(f.form);
        child->SetParent(e);
        child->SetBounds(2, 2, 8, 8);

        if (kind == EditOnForm::Edit)
            e->SetAlignment(taRightJustify);
        else if (kind == EditOnForm::Memo)
            static_cast<TMemo*>(e)->SetWordWrap(false);
        else
            static_cast<TInplaceEdit*>(e)->SetWordWrap(true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        EXPECT_TRUE(!old || old != e->Widget()) << f.Name();
        EXPECT_EQ(e->GetText(), QStringLiteral("hello world")) << f.Name();
        EXPECT_EQ(e->SelStart(), 5) << f.Name();
        EXPECT_EQ(e->SelLength(), 3) << f.Name();
        EXPECT_TRUE(e->Focused()) << f.Name();
        // The window's focus (the form's window is not active offscreen).
        EXPECT_EQ(e->Widget()->window()->focusWidget(), e->Widget()) << f.Name();
        EXPECT_TRUE(e->Widget()->isVisible()) << f.Name();
        EXPECT_TRUE(f.log->isEmpty()) << f.Name() << " " << f.log->join(',').toStdString();
        EXPECT_EQ(enters, 0) << f.Name();
        EXPECT_EQ(exits, 0) << f.Name();
        ASSERT_TRUE(child->HandleAllocated());
        EXPECT_EQ(child->Widget()->parentWidget(), e->Widget()) << f.Name();
        EXPECT_TRUE(child->Widget()->isVisible()) << f.Name();
        // The caret is still at the selection's start.
        input::Key(e, VK_LEFT, ssShift);
        EXPECT_EQ(e->SelStart(), 4) << f.Name();
        EXPECT_EQ(e->SelLength(), 4) << f.Name();
        delete child;
        if (kind == EditOnForm::Edit) {
            const auto [lo, hi] = Ink(e);
            EXPECT_GT(lo, e->Width() / 3); // now right-aligned
        }
        if (kind == EditOnForm::Inplace)
            EXPECT_TRUE(f.grid->Grid->InplaceEditor()->EditorVisible());
        e->OnEnter = nullptr;
        e->OnExit = nullptr;
    }
}
