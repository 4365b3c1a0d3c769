// The edits' clipboard messages, positions of characters, lines as shown and
// window re-creation, through real keys on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QClipboard>
#include <QCoreApplication>
#include <QMenu>
#include <QRegularExpression>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "common/GridOnForm.h"
#include "platform/controls/Clipbrd.h"
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
