#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStringList>
#include <QTabBar>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Mask.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/SysUtils.h"

namespace {

// A form shown offscreen that owns and frees everything a test puts on it.
struct TestForm {
    TForm* Form;
    TestForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 400, 300);
        Form->Show();
    }
    ~TestForm() { delete Form; }
    template <class T> T* Add(int left = 10, int top = 10, TWinControl* parent = nullptr)
    {
        auto* c = new T(Form);
        c->SetParent(parent ? parent : Form);
        c->SetLeft(left);
        c->SetTop(top);
        return c;
    }
};

TEST(CheckBox, OnClickFollowsEveryStateChange)
{
    TestForm f;
    auto* cb = f.Add<TCheckBox>();
    int clicks = 0;
    cb->OnClick = [&](TObject*) { ++clicks; };

    cb->SetChecked(true); // by code: the configurator relies on this click
    EXPECT_EQ(clicks, 1);
    cb->SetChecked(true); // no change, no click
    EXPECT_EQ(clicks, 1);
    cb->SetState(cbUnchecked);
    EXPECT_EQ(clicks, 2);

    input::Click(cb, { 5, 8 }); // the user: toggled once, one click
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 3);
    input::Key(cb, VK_SPACE, {}, u' ');
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 4);

    // Toggle cycles through grayed only when allowed.
    struct Case {
        bool allowGrayed;
        TCheckBoxState from, to;
    } cases[] = {
        { false, cbUnchecked, cbChecked },
        { false, cbChecked, cbUnchecked },
        { true, cbUnchecked, cbGrayed },
        { true, cbGrayed, cbChecked },
        { true, cbChecked, cbUnchecked },
    };
    for (const Case& c : cases) {
        cb->SetAllowGrayed(c.allowGrayed);
        cb->SetState(c.from);
        cb->Toggle();
        EXPECT_EQ(cb->State(), c.to) << c.allowGrayed << " " << c.from;
    }
}

TEST(RadioButton, CheckingOneClearsItsSiblingsOnly)
{
    TestForm f;
    auto* groupA = f.Add<TPanel>(0, 0);
    auto* groupB = f.Add<TPanel>(0, 100);
    TRadioButton* a[3];
    for (int i = 0; i < 3; ++i)
        a[i] = f.Add<TRadioButton>(5, 2 + 20 * i, groupA);
    auto* b = f.Add<TRadioButton>(5, 5, groupB);
    QStringList log;
    for (int i = 0; i < 3; ++i)
        a[i]->OnClick = [&log, i](TObject*) { log << QString("a%1").arg(i); };
    b->OnClick = [&log](TObject*) { log << "b"; };

    b->SetChecked(true);
    a[0]->SetChecked(true);
    a[2]->SetChecked(true);
    EXPECT_FALSE(a[0]->Checked());
    EXPECT_TRUE(a[2]->Checked());
    EXPECT_TRUE(b->Checked()); // another parent, another group
    a[2]->SetChecked(false); // clearing fires nothing
    EXPECT_EQ(log, (QStringList { "b", "a0", "a2" }));

    input::Click(a[1], { 5, 8 });
    input::Click(a[1], { 5, 8 }); // already checked: stays, no second click
    EXPECT_TRUE(a[1]->Checked());
    EXPECT_EQ(log.last(), "a1");
    EXPECT_EQ(log.count("a1"), 1);
}

TEST(Edit, EventsComeInTheToolkitsOrder)
{
    TestForm f;
    auto* e = f.Add<TEdit>();
    QStringList log;
    e->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { log << QString("down:%1").arg(k); };
    e->OnKeyPress = [&](TObject*, char16_t& k) {
        log << QString("press:%1").arg(QChar(k));
        if (k == u'x')
            k = 0; // refused: the edit never sees it
    };
    e->OnChange = [&](TObject* s) { log << "change:" + static_cast<TEdit*>(s)->Text(); };
    e->OnKeyUp = [&](TObject*, WORD& k, TShiftState) { log << QString("up:%1").arg(k); };
    e->SetFocus();

    input::Key(e, 'A', {}, u'a');
    EXPECT_EQ(log, (QStringList { "down:65", "press:a", "change:a", "up:65" }));
    log.clear();
    input::Key(e, 'X', {}, u'x');
    EXPECT_EQ(log, (QStringList { "down:88", "press:x", "up:88" }));
    log.clear();

    // Code changes fire OnChange too, once per real change.
    e->SetText("abc");
    e->SetText("abc");
    e->Clear();
    EXPECT_EQ(log, (QStringList { "change:abc", "change:" }));

    // Text given before the widget exists changes once, not again when the
    // widget is made.
    auto* early = new TEdit(f.Form);
    int changes = 0;
    early->OnChange = [&](TObject*) { ++changes; };
    early->SetText("early");
    early->SetParent(f.Form);
    EXPECT_EQ(early->Text(), "early");
    EXPECT_EQ(changes, 1);
}

TEST(Edit, TextRulesAndSelection)
{
    TestForm f;
    auto* e = f.Add<TEdit>();
    e->SetFocus();
    e->SetCharCase(ecUpperCase);
    input::Type(e, "ab1");
    EXPECT_EQ(e->Text(), "AB1");
    e->SetCharCase(ecNormal);

    e->SetText("");
    e->SetMaxLength(3);
    input::Type(e, "abcdef");
    EXPECT_EQ(e->Text(), "abc");

    e->SetMaxLength(0);
    e->SetNumbersOnly(true);
    e->SetText("");
    input::Type(e, "1a2-3");
    EXPECT_EQ(e->Text(), "123");
    e->SetNumbersOnly(false);

    e->SetText("hello world");
    e->SetSelStart(6);
    e->SetSelLength(5);
    EXPECT_EQ(e->SelText(), "world");
    e->SetSelText("there");
    EXPECT_EQ(e->Text(), "hello there");
    e->SelectAll();
    EXPECT_EQ(e->SelLength(), 11);

    e->SetReadOnly(true);
    input::Type(e, "zz");
    EXPECT_EQ(e->Text(), "hello there");

    // A password character hides what is shown, not what Text gives.
    e->SetReadOnly(false);
    e->SetPasswordChar(u'*');
    e->SetText("");
    input::Type(e, "pw1");
    EXPECT_EQ(e->Text(), "pw1");
    auto* shown = qobject_cast<QLineEdit*>(e->Widget());
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown->displayText(), "pw1");
    EXPECT_EQ(shown->displayText().size(), 3);
    e->SetPasswordChar(0);
    EXPECT_EQ(shown->displayText(), "pw1");
}

// A maximum length binds what the user types or pastes (and what code inserts
// at the selection), never a text set whole from code.
TEST(Edit, MaxLengthLimitsTheUserNotTheCode)
{
    TestForm f;
    auto* e = f.Add<TEdit>();
    e->SetFocus();

    // Set from code: kept whole, before and after the window exists, and
    // beyond the widget's own default limit when there is no maximum.
    auto* early = new TEdit(f.Form);
    early->SetMaxLength(4);
    early->SetText("abcdefgh");
    early->SetParent(f.Form);
    EXPECT_EQ(early->Text(), "abcdefgh");
    e->SetMaxLength(4);
    e->SetText("abcdefgh");
    EXPECT_EQ(e->Text(), "abcdefgh");
    e->SetMaxLength(0);
    const QString huge(40000, QLatin1Char('x'));
    e->SetText(huge);
    EXPECT_EQ(e->Text(), huge);

    struct Case {
        const char* name;
        const char* start;
        int max;
        int selStart, selLength;
        std::function<void()> act;
        const char* expected;
    };
    QClipboard* clip = QApplication::clipboard();
    const Case cases[] = {
        { "typing stops at the limit", "ab", 5, 2, 0, [&] { input::Type(e, "cdefg"); }, "abcde" },
        { "typing into an over-long text is refused", "abcdefgh", 4, 8, 0, [&] { input::Type(e, "x"); },
            "abcdefgh" },
        { "deleting from an over-long text works", "abcdefgh", 4, 8, 0, [&] { input::Key(e, VK_BACK, {}, 8); },
            "abcdefg" },
        { "typing over a selection takes what fits", "abcde", 5, 1, 2, [&] { input::Type(e, "XYZ"); }, "aXYde" },
        { "a paste is cut to the room left", "abc", 5, 1, 0,
            [&] {
                clip->setText("XYZ");
                e->PasteFromClipboard();
            },
            "aXYbc" },
        { "a paste over a selection", "abcde", 5, 1, 2,
            [&] {
                clip->setText("XYZ");
                e->PasteFromClipboard();
            },
            "aXYde" },
        { "Ctrl+V is cut as well", "ab", 4, 2, 0,
            [&] {
                clip->setText("cdefg");
                input::Key(e, 'V', ssCtrl);
            },
            "abcd" },
        { "SelText from code is limited", "abc", 4, 3, 0, [&] { e->SetSelText("defg"); }, "abcd" },
        { "no limit", "ab", 0, 2, 0, [&] { input::Type(e, "cdefg"); }, "abcdefg" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e->SetMaxLength(0);
        e->SetText(c.start);
        e->SetMaxLength(c.max);
        e->SetSelStart(c.selStart);
        e->SetSelLength(c.selLength);
        c.act();
        EXPECT_EQ(e->Text(), c.expected);
    }

    // The masked edit without a mask and the combo box's edit follow the same
    // rule; a list item is shown whole.
    auto* m = f.Add<TMaskEdit>(10, 40);
    m->SetMaxLength(3);
    m->SetText("abcdef");
    EXPECT_EQ(m->Text(), "abcdef");
    auto* cb = f.Add<TComboBox>(10, 70);
    cb->Items()->Add("a long item of the list");
    cb->SetMaxLength(3);
    cb->SetText("abcdef");
    EXPECT_EQ(cb->Text(), "abcdef");
    cb->SetItemIndex(0);
    EXPECT_EQ(cb->Text(), "a long item of the list");
    cb->SetText("");
    cb->SetFocus();
    input::Type(cb, "wxyz");
    EXPECT_EQ(cb->Text(), "wxy");
}

// The mouse resting on a control shows that control's hint: a move that the
// Qt widget does not want (a button not pressed) stays with the control and
// is not taken by the parent as well.
TEST(StdControls, HoverKeepsTheMouseAndShowsTheHint)
{
    TestForm f;
    f.Form->SetShowHint(true);
    const int pause = Application->HintPause();
    Application->SetHintPause(1);
    TWinControl* controls[] = { f.Add<TCheckBox>(10, 10), f.Add<TRadioButton>(10, 40), f.Add<TButton>(10, 70),
        f.Add<TComboBox>(10, 110), f.Add<TEdit>(10, 140) };
    for (TWinControl* c : controls) {
        SCOPED_TRACE(c->ClassName().toStdString());
        c->SetHint(c->ClassName() + " hint");
        Application->CancelHint();
        input::MouseMove(c, { 3, 3 });
        EXPECT_EQ(MouseControl(), c);
        QElapsedTimer waited;
        waited.start();
        while (!(Application->HintWindow() && Application->HintWindow()->Showing()) && waited.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
        ASSERT_NE(Application->HintWindow(), nullptr);
        EXPECT_TRUE(Application->HintWindow()->Showing());
        EXPECT_EQ(Application->HintWindow()->Caption(), c->ClassName() + " hint");
        Application->HintMouseMessage(nullptr);
    }
    Application->SetHintPause(pause);
    delete Application->HintWindow(); // the application lets go of it
}

TEST(MaskEdit, TypingGoesThroughTheMask)
{
    TestForm f;
    auto* m = f.Add<TMaskEdit>();
    m->SetEditMask("000-000;0;_");
    EXPECT_EQ(m->EditText(), "___-___");
    int changes = 0;
    m->OnChange = [&](TObject*) { ++changes; };
    struct CountBeeps : IBeepService {
        int n = 0;
        void Beep() override { ++n; }
    } beeps;
    IBeepService* oldBeep = services::SetBeepService(&beeps);
    m->SetFocus();
    m->SetSelStart(0);
    input::Type(m, "12x34"); // x is refused with a beep, the literal is stepped over
    services::SetBeepService(oldBeep);
    EXPECT_EQ(beeps.n, 1);
    EXPECT_EQ(m->EditText(), "123-4__");
    EXPECT_EQ(m->Text(), "1234");
    EXPECT_EQ(changes, 4);
    EXPECT_THROW(m->ValidateEdit(), EDBEditError);
    EXPECT_EQ(m->SelStart(), 5); // on the first missing digit

    input::Key(m, VK_BACK, {}, 8);
    EXPECT_EQ(m->EditText(), "123-___");
    input::Type(m, "456");
    EXPECT_NO_THROW(m->ValidateEdit());

    m->SetText("98");
    EXPECT_EQ(m->EditText(), "98_-___");
    m->SetSelStart(4);
    m->SetSelText("7a6"); // code goes through the mask as well
    EXPECT_EQ(m->EditText(), "98_-7__");
    m->SetEditMask(""); // the text stays, now unmasked
    EXPECT_FALSE(m->IsMasked());
    EXPECT_EQ(m->Text(), "98 7");
}

TEST(MaskEdit, LeavingAnIncompleteEntryIsRefused)
{
    TestForm f;
    auto* m = f.Add<TMaskEdit>();
    auto* other = f.Add<TEdit>(10, 60);
    m->SetEditMask("00;1;_");
    // An untouched edit may be left empty.
    m->SetFocus();
    other->SetFocus();
    EXPECT_TRUE(other->Focused());
    m->SetFocus();
    input::Type(m, "1");
    TMessage msg { CM_EXIT, 0, 0, 0 };
    EXPECT_THROW(m->WndProc(msg), EDBEditError);
}

TEST(ComboBox, ItemIndexAndTextInBothStyles)
{
    TestForm f;
    for (TComboBoxStyle style : { csDropDown, csDropDownList }) {
        SCOPED_TRACE(style == csDropDown ? "csDropDown" : "csDropDownList");
        auto* cb = f.Add<TComboBox>();
        cb->SetStyle(style);
        QStringList events;
        cb->OnChange = [&](TObject*) { events << "change"; };
        cb->Items()->Add("RS232");
        cb->Items()->Add("RS485");
        cb->Items()->Add("CAN");
        EXPECT_EQ(cb->ItemIndex(), -1);
        EXPECT_EQ(cb->Text(), "");

        cb->SetItemIndex(1);
        EXPECT_EQ(cb->Text(), "RS485");
        cb->SetText("can"); // an item's text, in another case
        EXPECT_EQ(cb->ItemIndex(), style == csDropDownList ? 2 : -1);
        cb->SetText("CAN");
        EXPECT_EQ(cb->ItemIndex(), 2);
        cb->SetText("other");
        if (style == csDropDownList) {
            EXPECT_EQ(cb->Text(), "CAN"); // a list shows only its items
            EXPECT_EQ(cb->ItemIndex(), 2);
        } else {
            EXPECT_EQ(cb->Text(), "other");
            EXPECT_EQ(cb->ItemIndex(), -1);
        }
        cb->SetItemIndex(-1);
        EXPECT_EQ(cb->Text(), "");
        cb->SetItemIndex(7); // out of range: nothing selected
        EXPECT_EQ(cb->ItemIndex(), -1);
        EXPECT_TRUE(events.isEmpty()); // code changes fire nothing
    }
}

TEST(ComboBox, UserChoicesFireClickThenSelectOrChange)
{
    TestForm f;
    auto* cb = f.Add<TComboBox>();
    cb->SetStyle(csDropDownList);
    cb->Items()->SetCommaText("1200,2400,4800");
    cb->SetItemIndex(0);
    QStringList log;
    cb->OnClick = [&](TObject*) { log << "click"; };
    cb->OnChange = [&](TObject* s) { log << "change:" + static_cast<TComboBox*>(s)->Text(); };
    cb->OnDropDown = [&](TObject*) { log << "dropdown"; };
    cb->OnCloseUp = [&](TObject*) { log << "closeup"; };
    cb->SetFocus();

    input::Key(cb, VK_DOWN);
    EXPECT_EQ(cb->ItemIndex(), 1);
    EXPECT_EQ(log, (QStringList { "click", "change:2400" }));

    log.clear();
    cb->OnSelect = [&](TObject*) { log << "select"; };
    input::Key(cb, VK_DOWN);
    EXPECT_EQ(log, (QStringList { "click", "select" })); // OnSelect replaces OnChange

    log.clear();
    cb->SetDroppedDown(true);
    cb->SetDroppedDown(false);
    EXPECT_EQ(log, (QStringList { "dropdown", "closeup" }));

    // Typing in the edit style is a change.
    auto* ed = f.Add<TComboBox>(10, 60);
    int changes = 0;
    ed->OnChange = [&](TObject*) { ++changes; };
    ed->SetFocus();
    input::Type(ed, "12");
    EXPECT_EQ(ed->Text(), "12");
    EXPECT_EQ(changes, 2);
}

TEST(ListBox, SelectionByCodeIsQuietByUserClicks)
{
    TestForm f;
    auto* lb = f.Add<TListBox>();
    for (const char* s : { "alpha", "beta", "gamma" })
        lb->Items()->Add(s);
    int clicks = 0;
    lb->OnClick = [&](TObject*) { ++clicks; };
    lb->SetItemIndex(2);
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_TRUE(lb->Selected(2));
    EXPECT_EQ(clicks, 0);
    lb->SetFocus();
    input::Key(lb, VK_UP);
    EXPECT_EQ(lb->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    lb->Items()->Delete(1);
    EXPECT_EQ(lb->Items()->Count(), 2);
    EXPECT_THROW(lb->Selected(5), EListError);

    lb->SetMultiSelect(true);
    lb->SetSelected(0, true);
    lb->SetSelected(1, true);
    EXPECT_EQ(lb->SelCount(), 2);
}

TEST(Memo, LinesAndText)
{
    TestForm f;
    auto* m = f.Add<TMemo>();
    int changes = 0;
    m->OnChange = [&](TObject*) { ++changes; };
    m->Lines()->Add("one");
    m->Lines()->Add("two");
    EXPECT_EQ(m->Text(), "one\r\ntwo");
    EXPECT_EQ(m->Lines()->Count(), 2);
    m->Lines()->Insert(1, "mid");
    m->Lines()->Delete(0);
    EXPECT_EQ(m->Lines()->Text(), "mid\r\ntwo\r\n");
    m->Lines()->SetText("a\r\nb\r\n"); // no empty last line
    EXPECT_EQ(m->Lines()->Count(), 2);
    EXPECT_GE(changes, 5);
    m->Lines()->Clear();
    EXPECT_EQ(m->Lines()->Count(), 0);
}

TEST(Button, ModalResultReachesTheFormBeforeOnClick)
{
    TestForm f;
    auto* ok = f.Add<TButton>();
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    auto* cancel = f.Add<TButton>(100, 10);
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    auto* edit = f.Add<TEdit>(10, 60);
    TModalResult seen = -1;
    ok->OnClick = [&](TObject*) { seen = f.Form->ModalResult(); };

    input::Click(ok, { 5, 5 });
    EXPECT_EQ(seen, mrOk);
    f.Form->SetModalResult(mrNone);

    // Enter in an edit presses the default button, Esc the cancel button.
    edit->SetFocus();
    seen = -1;
    input::Key(edit, VK_RETURN, {}, 13);
    EXPECT_EQ(seen, mrOk);
    input::Key(edit, VK_ESCAPE, {}, 27);
    EXPECT_EQ(f.Form->ModalResult(), mrCancel);
}

TEST(PageControl, SwitchingPages)
{
    TestForm f;
    auto* pc = f.Add<TPageControl>(0, 0);
    pc->SetBounds(0, 0, 300, 200);
    TTabSheet* s[3];
    for (int i = 0; i < 3; ++i) {
        s[i] = new TTabSheet(f.Form);
        s[i]->SetPageControl(pc);
        s[i]->SetCaption(QString("Page %1").arg(i));
    }
    QStringList log;
    pc->OnChange = [&](TObject*) { log << "change"; };
    s[0]->OnHide = [&](TObject*) { log << "hide0"; };
    s[1]->OnShow = [&](TObject*) { log << "show1"; };

    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), s[0]); // the first page shows at first
    pc->SetActivePageIndex(1); // by code: no OnChange
    EXPECT_EQ(log, (QStringList { "show1", "hide0" }));
    EXPECT_TRUE(s[1]->Visible());
    EXPECT_FALSE(s[0]->Visible());
    EXPECT_EQ(s[1]->BoundsRect(), pc->DisplayRect());

    log.clear();
    bool allow = false;
    pc->OnChanging = [&](TObject*, bool& a) { a = allow; };
    pc->UserSelectedTab(2); // refused
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    allow = true;
    pc->UserSelectedTab(2);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_EQ(log, (QStringList { "change" }));

    // A hidden tab keeps its page; the tab indexes close up.
    s[0]->SetTabVisible(false);
    EXPECT_EQ(s[0]->PageIndex(), 0);
    EXPECT_EQ(s[0]->TabIndex(), -1);
    EXPECT_EQ(s[2]->TabIndex(), 1);
    pc->SetActivePage(s[2]);
    s[2]->SetTabVisible(false); // the shown page's tab goes: the next shows
    EXPECT_EQ(pc->ActivePage(), s[1]);
    delete s[1];
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_NE(pc->ActivePage(), s[1]);
}

TEST(PageControl, TabsTurnByMouseAndCtrlTab)
{
    TestForm f;
    auto* pc = f.Add<TPageControl>(0, 0);
    pc->SetBounds(0, 0, 300, 200);
    TTabSheet* s[3];
    for (int i = 0; i < 3; ++i) {
        s[i] = new TTabSheet(f.Form);
        s[i]->SetPageControl(pc);
        s[i]->SetCaption(QString("Page %1").arg(i));
    }
    auto* onPage = f.Add<TEdit>(10, 10, s[2]);
    auto* outside = f.Add<TEdit>(10, 250);
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };

    // A click lands on the tab row the window system puts inside the control.
    auto* bar = pc->Widget()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    const QPointF at = bar->tabRect(2).center();
    for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease }) {
        QMouseEvent e(type, at, bar->mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &e);
    }
    EXPECT_EQ(pc->ActivePage(), s[2]);
    EXPECT_EQ(changes, 1);

    // Ctrl+Tab from a control on a page turns forward and wraps; the page
    // control takes the focus the hidden page's control had.
    onPage->SetFocus();
    input::Key(onPage, VK_TAB, ssCtrl);
    EXPECT_EQ(pc->ActivePage(), s[0]);
    EXPECT_EQ(f.Form->FocusedControl(), pc);
    input::Key(pc, VK_TAB, TShiftState(ssCtrl) | ssShift);
    EXPECT_EQ(pc->ActivePage(), s[2]);
    EXPECT_EQ(changes, 3);
    // Elsewhere on the form Ctrl+Tab leaves the pages alone.
    outside->SetFocus();
    input::Key(outside, VK_TAB, ssCtrl);
    EXPECT_EQ(pc->ActivePage(), s[2]);
}

TEST(TrackAndProgressBar, PositionStaysInRange)
{
    TestForm f;
    auto* tb = f.Add<TTrackBar>();
    int changes = 0;
    tb->OnChange = [&](TObject*) { ++changes; };
    tb->SetMax(20);
    tb->SetPosition(25);
    EXPECT_EQ(tb->Position(), 20);
    tb->SetPosition(20);
    tb->SetMin(21); // drags the position along
    EXPECT_EQ(tb->Position(), 21);
    EXPECT_EQ(changes, 2);

    auto* pb = f.Add<TProgressBar>(10, 100);
    pb->SetPosition(95);
    pb->StepIt();
    EXPECT_EQ(pb->Position(), 100);
    pb->SetMax(50);
    EXPECT_EQ(pb->Position(), 50);
}

TEST(DateTimePicker, DateAndTimeParts)
{
    TestForm f;
    auto* dt = f.Add<TDateTimePicker>();
    int changes = 0;
    dt->OnChange = [&](TObject*) { ++changes; };
    dt->SetDateTime(EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 0, 0));
    dt->SetDate(EncodeDate(2025, 1, 2));
    EXPECT_DOUBLE_EQ(dt->DateTime(), EncodeDate(2025, 1, 2) + EncodeTime(13, 45, 0, 0));
    dt->SetTime(EncodeTime(8, 0, 0, 0));
    EXPECT_DOUBLE_EQ(dt->Date(), EncodeDate(2025, 1, 2));
    EXPECT_NEAR(dt->Time(), EncodeTime(8, 0, 0, 0), 1e-9);
    EXPECT_EQ(changes, 0); // code changes are not the user's

    struct Case {
        const char* picker;
        const char* qt;
    } cases[] = {
        { "dd/MM/yyyy", "dd/MM/yyyy" },
        { "d MMMM yy", "d MMMM yy" },
        { "hh:mm tt", "hh:mm AP" },
        { "HH:mm:ss", "HH:mm:ss" },
        { "'Day' d", "'Day' d" },
        { "yyy-M-d x", "yyyy-M-d 'x'" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(TDateTimePicker::ToDisplayFormat(c.picker), c.qt) << c.picker;
}

TEST(Label, AutoSizeAccelAndLinks)
{
    TestForm f;
    auto* l = f.Add<TLabel>();
    l->SetCaption("&Name");
    const int w1 = l->Width();
    l->SetCaption("&Name of the project");
    EXPECT_GT(l->Width(), w1);
    l->SetAlignment(taRightJustify);
    const int right = l->Left() + l->Width();
    l->SetCaption("&N");
    EXPECT_EQ(l->Left() + l->Width(), right); // right-aligned text keeps its right edge

    auto* e = f.Add<TEdit>(10, 60);
    l->SetFocusControl(e);
    TMessage m { CM_DIALOGCHAR, u'n', 0, 0 };
    l->WndProc(m);
    EXPECT_EQ(m.Result, 1);
    EXPECT_TRUE(e->Focused());
    EXPECT_TRUE(IsAccel(u'x', "E&xit"));
    EXPECT_FALSE(IsAccel(u'x', "A&&x"));

    auto* ll = f.Add<TLinkLabel>(10, 120);
    ll->SetCaption(R"(New version: <a href="https://example.test/dl#KM41208">download</a>)");
    const auto segments = TLinkLabel::ParseCaption(ll->Caption());
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[1].text, "download");
    EXPECT_EQ(segments[1].link, "https://example.test/dl#KM41208");
    QString clicked;
    ll->OnLinkClick = [&](TObject*, const QString& link, TSysLinkType type) {
        clicked = link;
        EXPECT_EQ(type, sltURL);
    };
    const TRect r = ll->SegmentRect(1);
    input::Click(ll, { r.Left + 2, r.Top + 2 });
    EXPECT_EQ(clicked, segments[1].link);
    clicked.clear();
    input::Click(ll, { 1, 2 }); // on the plain text
    EXPECT_TRUE(clicked.isEmpty());

    const auto id = TLinkLabel::ParseCaption("<a id=\"x1\">go</a> <a>plain");
    ASSERT_EQ(id.size(), 2u);
    EXPECT_EQ(id[0].type, sltID);
    EXPECT_FALSE(id[1].isLink); // unfinished anchor stays text
}

TEST(PopupMenu, ChosenItemClicksAfterTheMenu)
{
    TestForm f;
    auto* pm = new TPopupMenu(f.Form);
    QStringList log;
    auto add = [&](const QString& caption) {
        auto* i = new TMenuItem(f.Form);
        i->SetCaption(caption);
        i->OnClick = [&log, caption](TObject*) { log << caption; };
        pm->Items()->Add(i);
        return i;
    };
    TMenuItem* copy = add("&Copy");
    add("-");
    TMenuItem* wrap = add("Wrap");
    wrap->SetAutoCheck(true);
    pm->OnPopup = [&](TObject*) { log << "popup"; };

    TPopupTracker old = TPopupMenu::SetTracker([&](TPopupMenu*, int, int) { return pm->Items()->Find("wrap"); });
    pm->Popup(100, 100);
    EXPECT_EQ(log, (QStringList { "popup", "Wrap" }));
    EXPECT_TRUE(wrap->Checked());
    copy->SetEnabled(false);
    TPopupMenu::SetTracker([&](TPopupMenu*, int, int) { return copy; });
    pm->Popup(0, 0); // a disabled item does nothing
    EXPECT_EQ(log.size(), 3);
    TPopupMenu::SetTracker(old);

    // The real menu: entries in order, a separator, disabled entries greyed.
    QStringList shown;
    QTimer watchdog; // a menu that stays open must not hang the run
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activePopupWidget())
            w->close();
    });
    watchdog.start(3000);
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            shown << (a->isSeparator() ? "-" : a->text() + (a->isEnabled() ? "" : "(off)"));
        menu->setActiveAction(menu->actions().last());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    pm->Popup(50, 50);
    EXPECT_EQ(shown, (QStringList { "&Copy(off)", "-", "Wrap" }));
    EXPECT_FALSE(wrap->Checked()); // chosen again: toggled back
    EXPECT_EQ(log.last(), "Wrap");

    // Radio items of one group exclude each other; freeing an item unlinks it.
    auto* r1 = add("r1");
    auto* r2 = add("r2");
    r1->SetRadioItem(true);
    r2->SetRadioItem(true);
    r1->SetChecked(true);
    r2->SetChecked(true);
    EXPECT_FALSE(r1->Checked());
    const int n = pm->Items()->Count();
    delete r1;
    EXPECT_EQ(pm->Items()->Count(), n - 1);
}

// A right click shows the pop-up menu of the control under the mouse, or of
// the nearest parent that has one, unless OnContextPopup handles the click.
TEST(PopupMenu, RightClickShowsTheControlsOrItsParentsMenu)
{
    TestForm f;
    auto* panel = f.Add<TPanel>(10, 10);
    panel->SetBounds(10, 10, 200, 100);
    auto* inner = f.Add<TPanel>(5, 5, panel);
    inner->SetBounds(5, 5, 50, 40);
    auto* menu = new TPopupMenu(f.Form);
    panel->SetPopupMenu(menu);

    struct Shown {
        TComponent* Component;
        TPoint At;
    };
    std::vector<Shown> shown;
    TPopupTracker old = TPopupMenu::SetTracker([&](TPopupMenu* m, int x, int y) {
        shown.push_back({ m->PopupComponent(), TPoint(x, y) });
        return nullptr;
    });
    input::Click(inner, { 3, 4 }, mbRight);
    input::Click(panel, { 150, 50 }, mbRight);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].Component, panel); // inner has none: the parent's shows
    EXPECT_EQ(shown[0].At, inner->ClientToScreen({ 3, 4 }));
    EXPECT_EQ(shown[1].At, panel->ClientToScreen({ 150, 50 }));

    panel->OnContextPopup = [](TObject*, TPoint, bool& handled) { handled = true; };
    input::Click(panel, { 150, 50 }, mbRight);
    EXPECT_EQ(shown.size(), 2u);

    // A freed menu is forgotten.
    delete menu;
    EXPECT_FALSE(panel->HasPopupMenu());
    TPopupMenu::SetTracker(old);
}

TEST(Panel, ClientAreaLeavesTheFrame)
{
    TestForm f;
    auto* p = f.Add<TPanel>(0, 0);
    p->SetBounds(0, 0, 200, 100);
    p->SetBevelInner(bvLowered);
    p->SetBevelWidth(2);
    p->SetBorderWidth(3);
    auto* child = f.Add<TPanel>(0, 0, p);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 193, 93));
}

TEST(ScrollBox, ScrollingMovesTheChildren)
{
    TestForm f;
    auto* box = f.Add<TScrollBox>(0, 0);
    box->SetBounds(0, 0, 120, 100);
    auto* top = f.Add<TEdit>(4, 4, box);
    auto* low = f.Add<TEdit>(4, 180, box);
    top->SetWidth(80);
    low->SetWidth(80);
    // Content 201 high in 100 (less the horizontal bar, which stays hidden).
    EXPECT_EQ(box->VertScrollBar()->Range(), 201);
    EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box->ClientWidth(), 120 - ScrollBarSize);

    box->Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(top->Top(), 4 - 8);
    box->Perform(WM_VSCROLL, SB_PAGEDOWN);
    box->Perform(WM_VSCROLL, SB_PAGEDOWN); // clamped at the end
    EXPECT_EQ(box->VertScrollBar()->Position(), 101);
    EXPECT_EQ(low->Top() + low->Height(), 100);
    box->Perform(WM_VSCROLL, SB_THUMBTRACK | (40 << 16)); // no tracking: waits
    EXPECT_EQ(box->VertScrollBar()->Position(), 101);
    box->Perform(WM_VSCROLL, SB_THUMBPOSITION | (40 << 16));
    EXPECT_EQ(top->Top(), 4 - 40);
    box->ScrollInView(top);
    EXPECT_EQ(top->Top(), 0);
}

TEST(Image, DestRectFollowsStretchCenterProportional)
{
    TestForm f;
    auto* img = f.Add<TImage>(0, 0);
    img->SetBounds(0, 0, 100, 50);
    img->Picture()->Bitmap()->SetSize(20, 40);
    struct Case {
        bool stretch, center, proportional;
        TRect dest;
    } cases[] = {
        { false, false, false, Rect(0, 0, 20, 40) },
        { false, true, false, Rect(40, 5, 60, 45) },
        { true, false, false, Rect(0, 0, 100, 50) },
        { true, true, true, Rect(37, 0, 62, 50) },
    };
    for (const Case& c : cases) {
        img->SetStretch(c.stretch);
        img->SetCenter(c.center);
        img->SetProportional(c.proportional);
        EXPECT_EQ(img->DestRect(), c.dest) << c.stretch << c.center << c.proportional;
    }
}

// Disabled standard controls show their text in the system's grey, never in
// their font colour, and keep their own background.
TEST(StandardControls, DisabledTextIsGray)
{
    struct Case {
        const char* name;
        std::function<TWinControl*(TestForm&)> make;
        bool probeBack; // an empty spot right of the text shows Color
    };
    const Case cases[] = {
        { "edit",
            [](TestForm& f) {
                auto* c = f.Add<TEdit>();
                c->SetText("WWW");
                return c;
            },
            true },
        { "mask edit",
            [](TestForm& f) {
                auto* c = f.Add<TMaskEdit>();
                c->SetText("WWW");
                return c;
            },
            true },
        { "memo",
            [](TestForm& f) {
                auto* c = f.Add<TMemo>();
                c->Lines()->Add("WWW");
                return c;
            },
            true },
        { "combo box",
            [](TestForm& f) {
                auto* c = f.Add<TComboBox>();
                c->SetText("WWW");
                return c;
            },
            true },
        { "drop-down list",
            [](TestForm& f) {
                auto* c = f.Add<TComboBox>();
                c->SetStyle(csDropDownList);
                c->Items()->Add("WWW");
                c->SetItemIndex(0);
                return c;
            },
            false },
        { "list box",
            [](TestForm& f) {
                auto* c = f.Add<TListBox>();
                c->Items()->Add("WWW");
                return c;
            },
            true },
        { "check box",
            [](TestForm& f) {
                auto* c = f.Add<TCheckBox>();
                c->SetCaption("WWW");
                return c;
            },
            false },
        { "radio button",
            [](TestForm& f) {
                auto* c = f.Add<TRadioButton>();
                c->SetCaption("WWW");
                return c;
            },
            false },
        { "button",
            [](TestForm& f) {
                auto* c = f.Add<TButton>();
                c->SetCaption("WWW");
                return c;
            },
            false },
        { "date-time picker",
            [](TestForm& f) {
                auto* c = f.Add<TDateTimePicker>();
                c->SetKind(dtkTime);
                c->SetFormat("HH:mm");
                return c;
            },
            false },
    };
    const QColor gray = ColorToQColor(clGrayText);
    const QColor back(255, 255, 200);
    auto count = [](const QImage& img, const std::function<bool(QColor)>& pred) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += pred(img.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    auto isRed = [](QColor c) { return c.red() >= 200 && c.green() <= 60 && c.blue() <= 60; };
    auto isGray = [&](QColor c) {
        return std::abs(c.red() - gray.red()) <= 6 && std::abs(c.green() - gray.green()) <= 6
            && std::abs(c.blue() - gray.blue()) <= 6;
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TestForm f;
        TWinControl* c = k.make(f);
        c->SetBounds(10, 10, 160, 60);
        c->Font()->SetName("Verdana");
        c->Font()->SetSize(14);
        c->Font()->SetStyle(TFontStyle::fsBold);
        c->Font()->SetColor(clRed);
        c->SetColor(RGB(back.red(), back.green(), back.blue()));

        const QImage on = c->PaintToImage();
        ASSERT_GT(count(on, isRed), 20);
        c->SetEnabled(false);
        const QImage off = c->PaintToImage();
        EXPECT_EQ(count(off, isRed), 0);
        EXPECT_GT(count(off, isGray), count(on, isGray) + 20);
        if (k.probeBack) {
            EXPECT_EQ(off.pixelColor(c->Width() * 2 / 3, c->Height() - 8), back);
        }
    }
}

} // namespace
