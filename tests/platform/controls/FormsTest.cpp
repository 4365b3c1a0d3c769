// Forms and the application: focus and OnEnter/OnExit, closing, the main
// form ending the run, exceptions from handlers, hints, dialogs and services.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "common/TestUtil.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/StdCtrls.h"

namespace {

QStringList FocusLog(std::initializer_list<TProbe*> probes)
{
    QStringList out;
    for (TProbe* p : probes)
        for (const QString& s : p->Log)
            out << p->Name() + ":" + s;
    return out;
}

TEST(Focus, MovingTheFocusExitsTheOldChainThenEntersTheNewOne)
{
    ShownForm f;
    auto* panel1 = new TProbe(f.Form, f.Form);
    panel1->SetName("p1");
    auto* panel2 = new TProbe(f.Form, f.Form);
    panel2->SetName("p2");
    auto* a = new TProbe(f.Form, panel1);
    a->SetName("a");
    auto* b = new TProbe(f.Form, panel2);
    b->SetName("b");
    for (TProbe* p : { panel1, panel2, a, b })
        p->LogFocus = true;
    a->SetFocus();
    for (TProbe* p : { panel1, panel2, a, b })
        p->Log.clear();

    QStringList order;
    a->OnExit = [&](TObject*) { order << "a:exit"; };
    panel1->OnExit = [&](TObject*) { order << "p1:exit"; };
    panel2->OnEnter = [&](TObject*) { order << "p2:enter"; };
    b->OnEnter = [&](TObject*) { order << "b:enter"; };
    b->SetFocus();
    EXPECT_EQ(order, (QStringList { "a:exit", "p1:exit", "p2:enter", "b:enter" }));
    EXPECT_EQ(f->ActiveControl(), b);
    EXPECT_TRUE(b->Focused());
    EXPECT_FALSE(a->Focused());
}

TEST(Focus, PopupsAndWindowDeactivationDoNotEndAnEdit)
{
    ShownForm f;
    auto* a = new TProbe(f.Form, f.Form);
    a->SetName("a");
    auto* b = new TProbe(f.Form, f.Form);
    b->SetName("b");
    a->LogFocus = b->LogFocus = true;
    a->SetFocus();
    a->Log.clear();

    struct Case {
        input::FocusReason reason;
        bool endsEdit;
    };
    for (const Case& c : { Case { input::FocusReason::Popup, false }, Case { input::FocusReason::ActiveWindow, false },
             Case { input::FocusReason::Tab, true } }) {
        a->Log.clear();
        b->Log.clear();
        input::FocusOut(a, c.reason);
        if (c.endsEdit)
            input::FocusIn(b, c.reason);
        else
            input::FocusIn(a, c.reason);
        if (c.endsEdit) {
            EXPECT_EQ(FocusLog({ a, b }), (QStringList { "a:onexit", "b:onenter" }));
            EXPECT_EQ(f->ActiveControl(), b);
        } else {
            EXPECT_TRUE(FocusLog({ a, b }).isEmpty()) << int(c.reason);
            EXPECT_EQ(f->ActiveControl(), a);
        }
    }
}

TEST(Focus, TabShowsWhereTheFocusIsOnCheckBoxesAndComboBoxes)
{
    // The style hides the focus frame of these controls until the keyboard
    // moves the focus; a Tab user must still see where it went.
    ShownForm f;
    auto* edit = new TEdit(f.Form);
    edit->SetParent(f.Form);
    edit->SetBounds(10, 10, 100, 21);
    auto* check = new TCheckBox(f.Form);
    check->SetParent(f.Form);
    check->SetBounds(10, 40, 120, 17);
    check->SetCaption(QStringLiteral("Read Back"));
    auto* combo = new TComboBox(f.Form);
    combo->SetParent(f.Form);
    combo->SetBounds(10, 70, 120, 21);
    combo->Items()->Add(QStringLiteral("Firmware"));
    combo->SetItemIndex(0);

    // Focused by code in the active window: no frame yet.
    f->Widget()->activateWindow();
    QCoreApplication::processEvents();
    check->SetFocus();
    const QImage checkByCode = check->Widget()->grab().toImage();
    combo->SetFocus();
    const QImage comboByCode = combo->Widget()->grab().toImage();

    edit->SetFocus();
    input::Key(edit, VK_TAB);
    ASSERT_EQ(f->FocusedControl(), check);
    EXPECT_NE(check->Widget()->grab().toImage(), checkByCode);
    input::Key(check, VK_TAB);
    ASSERT_EQ(f->FocusedControl(), combo);
    EXPECT_NE(combo->Widget()->grab().toImage(), comboByCode);
}

TEST(Focus, HiddenOrDisabledControlsCannotTakeTheFocus)
{
    ShownForm f;
    auto* a = new TProbe(f.Form, f.Form);
    a->SetEnabled(false);
    EXPECT_FALSE(a->CanFocus());
    EXPECT_THROW(a->SetFocus(), EInvalidOperation);
    // A form not yet shown remembers its active control for when it shows.
    TForm later(nullptr);
    auto* first = new TProbe(&later, &later);
    auto* second = new TProbe(&later, &later);
    later.SetActiveControl(second);
    EXPECT_EQ(later.FocusedControl(), nullptr);
    later.Show();
    EXPECT_EQ(later.FocusedControl(), second);
    (void)first;
}

TEST(Forms, AFormBuildsItsWidgetsWhenFirstShownWithEverythingSetBefore)
{
    // Filled in code as the program's forms are, then shown: nothing is
    // built before, and what was set holds after.
    TForm form(nullptr);
    form.SetBounds(10, 10, 300, 200);
    form.SetCaption("Later");
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(5, 6, 200, 150);
    form.SetColor(TColor(0x00336699));
    auto* edit = new TEdit(&form);
    edit->SetParent(panel);
    edit->SetBounds(10, 12, 120, 22);
    edit->SetText("typed before");
    edit->Font()->SetName("DejaVu Sans");
    edit->Font()->SetSize(13);
    edit->Font()->SetStyle(TFontStyle::fsBold);
    auto* combo = new TComboBox(&form);
    combo->SetParent(panel);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(10, 40, 120, 22);
    combo->Items()->Add("one");
    combo->Items()->Add("two");
    combo->SetItemIndex(1);
    auto* off = new TButton(&form);
    off->SetParent(panel);
    off->SetBounds(10, 70, 80, 25);
    off->SetCaption("Off");
    off->SetEnabled(false);
    auto* hidden = new TCheckBox(&form);
    hidden->SetParent(panel);
    hidden->SetVisible(false);
    auto* last = new TButton(&form);
    last->SetParent(panel);
    last->SetBounds(100, 70, 80, 25);
    last->SetTabOrder(0);
    combo->SetFocus();

    for (TWinControl* c : std::initializer_list<TWinControl*> { &form, panel, edit, combo, off, hidden, last })
        EXPECT_FALSE(c->HandleAllocated()) << c->ClassName().toStdString();
    EXPECT_EQ(combo->Text(), "two");

    form.Show();
    QWidget* fw = form.WidgetIfAllocated();
    ASSERT_TRUE(fw && fw->isVisible());
    EXPECT_EQ(fw->windowTitle(), "Later");
    EXPECT_EQ(fw->size(), QSize(300, 200));
    QWidget* pw = panel->WidgetIfAllocated();
    ASSERT_TRUE(pw);
    EXPECT_EQ(pw->parentWidget(), fw);
    EXPECT_EQ(pw->geometry(), QRect(5, 6, 200, 150));
    EXPECT_EQ(fw->grab().toImage().pixelColor(290, 190), ColorToQColor(TColor(0x00336699)));
    auto* ew = qobject_cast<QLineEdit*>(edit->WidgetIfAllocated());
    ASSERT_TRUE(ew);
    EXPECT_EQ(ew->parentWidget(), pw);
    EXPECT_EQ(ew->geometry(), QRect(10, 12, 120, 22));
    EXPECT_EQ(ew->text(), "typed before");
    EXPECT_EQ(ew->font(), edit->Font()->ToQFont());
    EXPECT_EQ(ew->font().family(), "DejaVu Sans");
    EXPECT_TRUE(ew->font().bold());
    QWidget* cw = combo->WidgetIfAllocated();
    EXPECT_EQ(cw->parentWidget(), pw);
    EXPECT_TRUE(cw->isVisible());
    EXPECT_EQ(cw->geometry(), QRect(10, 40, 120, 22));
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Items()->Count(), 2);
    ASSERT_TRUE(off->WidgetIfAllocated());
    EXPECT_FALSE(off->WidgetIfAllocated()->isEnabled());
    EXPECT_TRUE(off->WidgetIfAllocated()->isVisible());
    ASSERT_TRUE(hidden->WidgetIfAllocated());
    EXPECT_FALSE(hidden->WidgetIfAllocated()->isVisible());
    // The focus asked for before showing is where it lands, and the tab
    // order set before is the one the keyboard follows.
    EXPECT_EQ(form.FocusedControl(), combo);
    EXPECT_EQ(panel->GetTabOrderList(), (std::vector<TWinControl*> { last, edit, combo, off, hidden }));
    input::Key(combo, VK_TAB);
    EXPECT_EQ(form.FocusedControl(), last);
    input::Key(last, VK_TAB);
    EXPECT_EQ(form.FocusedControl(), edit);
}

TEST(Forms, AComboBoxWithoutItsWidgetYetAnswersAsOneWithIt)
{
    // Each step runs on a combo box whose widget waits and on one whose
    // widget exists; both answer alike after every step and once the
    // waiting one gets its widget.
    using Step = std::function<void(TComboBox&)>;
    struct Case {
        const char* name;
        TComboBoxStyle style;
        std::vector<Step> steps;
    };
    auto add = [](const char* t) { return Step([t](TComboBox& c) { c.Items()->Add(t); }); };
    auto select = [](int i) { return Step([i](TComboBox& c) { c.SetItemIndex(i); }); };
    auto text = [](const char* t) { return Step([t](TComboBox& c) { c.SetText(t); }); };
    auto erase = [](int i) { return Step([i](TComboBox& c) { c.Items()->Delete(i); }); };
    auto insert = [](int i, const char* t) { return Step([i, t](TComboBox& c) { c.Items()->Insert(i, t); }); };
    auto put = [](int i, const char* t) { return Step([i, t](TComboBox& c) { c.Items()->SetStrings(i, t); }); };
    const Step clear = [](TComboBox& c) { c.Items()->Clear(); };
    const Case cases[] = {
        { "edit: text before items", csDropDown, { text("free"), add("a"), add("b"), erase(0) } },
        { "edit: select, insert before, delete it", csDropDown,
            { add("a"), add("b"), add("c"), select(1), insert(0, "z"), erase(2), erase(2) } },
        { "edit: typed text of an item, renamed item", csDropDown,
            { add("a"), add("b"), text("b"), put(1, "bb"), select(0), put(0, "x"), clear } },
        { "edit: delete the last selected", csDropDown, { add("a"), add("b"), select(1), erase(1), erase(0) } },
        { "list: select by text, unknown text, empty text", csDropDownList,
            { add("a"), add("b"), text("b"), text("nope"), put(1, "c"), text(""), select(5) } },
        { "list: delete around the selection", csDropDownList,
            { add("a"), add("b"), add("c"), select(2), erase(0), erase(1), add("d"), clear } },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TForm hiddenForm(nullptr);
        auto* waiting = new TComboBox(&hiddenForm);
        waiting->SetParent(&hiddenForm);
        waiting->SetStyle(k.style);
        TComboBox made(nullptr);
        made.SetStyle(k.style);
        made.HandleNeeded();
        auto same = [&](int step) {
            SCOPED_TRACE(step);
            EXPECT_EQ(waiting->Items()->Text(), made.Items()->Text());
            EXPECT_EQ(waiting->ItemIndex(), made.ItemIndex());
            EXPECT_EQ(waiting->Text(), made.Text());
        };
        for (size_t i = 0; i < k.steps.size(); ++i) {
            k.steps[i](*waiting);
            k.steps[i](made);
            same(int(i));
        }
        EXPECT_FALSE(waiting->HandleAllocated());
        hiddenForm.Show();
        ASSERT_TRUE(waiting->HandleAllocated());
        same(-1);
    }
}

TEST(Forms, AskingForAControlsWindowBuildsItAtOnce)
{
    // Asked for its window, a control of a hidden form gets one inside its
    // parents' windows at once, also when its own came first for its state.
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* combo = new TComboBox(&form);
    combo->SetParent(panel);
    combo->SetBounds(3, 4, 100, 22);
    combo->Items()->Add("one");
    auto* edit = new TEdit(&form);
    edit->SetParent(panel);
    EXPECT_FALSE(form.HandleAllocated());

    QWidget* ew = edit->Widget();
    ASSERT_TRUE(ew);
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_EQ(ew->parentWidget(), panel->WidgetIfAllocated());
    EXPECT_EQ(panel->WidgetIfAllocated()->parentWidget(), form.WidgetIfAllocated());
    QWidget* cw = combo->WidgetIfAllocated();
    EXPECT_EQ(cw->parentWidget(), panel->WidgetIfAllocated());
    EXPECT_EQ(cw->geometry(), QRect(3, 4, 100, 22));
    EXPECT_FALSE(form.WidgetIfAllocated()->isVisible());
    EXPECT_NE(edit->Handle(), HWND {});
}

TEST(Closing, CloseQueryAndCloseActionDecide)
{
    auto* form = new TForm(nullptr);
    form->Show();
    bool allow = false;
    TCloseAction action = caHide;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form->OnClose = [&](TObject*, TCloseAction& a) { a = action; };

    form->Close();
    EXPECT_TRUE(form->Showing());
    allow = true;
    action = caNone;
    form->Close();
    EXPECT_TRUE(form->Showing());
    action = caHide;
    form->Close();
    EXPECT_FALSE(form->Showing());

    // caFree frees the form once the current events are done; the window
    // system's close button goes the same way.
    form->Show();
    action = caFree;
    const std::uint64_t serial = ControlSerial(form);
    QWidget* w = form->Widget();
    w->close();
    EXPECT_NE(FindControlBySerial(serial), nullptr);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(FindControlBySerial(serial), nullptr);
}

TEST(ApplicationRun, ClosingTheMainFormEndsRunAndFormsAreCreatedInOrder)
{
    Application->Initialize();
    TForm* mainForm = nullptr;
    TForm* second = nullptr;
    QStringList created;
    Application->CreateForm(mainForm);
    mainForm->SetName("Main");
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), mainForm);
    EXPECT_EQ(Application->ComponentCount(), 2);
    EXPECT_FALSE(mainForm->Visible());

    QTimer::singleShot(0, [&]() {
        created << (mainForm->Showing() ? "main shown" : "main hidden");
        mainForm->Close();
    });
    Application->Run();
    EXPECT_EQ(created, QStringList { "main shown" });
    EXPECT_TRUE(Application->Terminated());
    Application->DestroyComponents();
    Application->ResetTerminated();
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(Exceptions, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn)
{
    ModalDriver driver;
    ShownForm f;
    auto* probe = new TProbe(f.Form, f.Form);
    int clicks = 0;
    probe->OnClick = [&](TObject*) {
        ++clicks;
        if (clicks == 1)
            throw EConvertError("'abc' is not a valid integer value");
    };
    probe->OnKeyDown = [](TObject*, WORD&, TShiftState) { throw std::runtime_error("plain failure"); };
    input::Click(probe, { 1, 1 });
    input::Click(probe, { 1, 1 });
    EXPECT_EQ(clicks, 2);
    input::Key(probe, 'A');
    ASSERT_EQ(driver.Messages().size(), 2u);
    EXPECT_EQ(driver.Messages()[0].Text, "'abc' is not a valid integer value.");
    EXPECT_EQ(driver.Messages()[0].DlgType, mtError);
    EXPECT_EQ(driver.Messages()[1].Text, "plain failure.");

    // OnException replaces the box; EAbort stays silent.
    QStringList seen;
    Application->OnException = [&](TObject*, const Exception& e) { seen << e.Message(); };
    probe->OnClick = [](TObject*) { throw EInvalidOperation("custom"); };
    input::Click(probe, { 1, 1 });
    probe->OnClick = [](TObject*) { throw EAbort("silent"); };
    input::Click(probe, { 1, 1 });
    Application->OnException = nullptr;
    EXPECT_EQ(seen, QStringList { "custom" });
    EXPECT_EQ(driver.Messages().size(), 2u);

    // A failing paint is reported once the paint is over, not inside it.
    struct TBadPaint : TProbe {
        using TProbe::TProbe;
        void Paint() override { throw EInvalidGraphic("bad picture"); }
    };
    // On a form never shown, so that only this paint runs.
    TForm hidden(nullptr);
    auto* bad = new TBadPaint(&hidden, &hidden);
    bad->PaintToImage();
    EXPECT_EQ(driver.Messages().size(), 2u);
    QCoreApplication::processEvents();
    ASSERT_EQ(driver.Messages().size(), 3u);
    EXPECT_EQ(driver.Messages()[2].Text, "bad picture.");
    delete bad;
    EXPECT_TRUE(driver.Failures().isEmpty());
}

// A wrapped Qt widget reacts to the mouse and the wheel itself after the
// translation; a handler its reaction runs may throw as well.
TEST(Exceptions, AHandlerRunByAWrappedWidgetsOwnReactionIsShownToo)
{
    QStringList shown;
    Application->OnException = [&](TObject*, const Exception& e) { shown << e.Message(); };
    ShownForm f;
    auto* button = new TButton(f.Form);
    button->SetParent(f.Form);
    button->OnClick = [](TObject*) { throw EInvalidOperation("click"); };
    input::Click(button, { 5, 5 });

    auto* track = new TTrackBar(f.Form);
    track->SetParent(f.Form);
    track->SetTop(40);
    track->OnChange = [](TObject*) { throw EInvalidOperation("change"); };
    input::Wheel(track, { 10, 10 }, 1);

    auto* box = new TCheckBox(f.Form);
    box->SetParent(f.Form);
    box->SetTop(100);
    box->OnClick = [](TObject*) { throw EInvalidOperation("toggle"); };
    input::Click(box, { 5, 5 });

    Application->OnException = nullptr;
    EXPECT_EQ(shown, (QStringList { "click", "change", "toggle" }));
}

TEST(Forms, PositionCentresOnTheScreenOrTheMainFormAndResizeFires)
{
    TForm* mainForm = nullptr;
    Application->CreateForm(mainForm);
    mainForm->SetBounds(0, 0, 400, 300);
    mainForm->Show();
    const TRect area = Screen->WorkAreaRect();
    TForm dlg(nullptr);
    int resized = 0;
    dlg.OnResize = [&](TObject*) { ++resized; };
    dlg.SetBounds(5, 5, 200, 100);
    EXPECT_EQ(resized, 1);
    dlg.SetPosition(poScreenCenter);
    dlg.Show();
    EXPECT_EQ(dlg.Left(), area.Left + (area.Width() - 200) / 2);
    EXPECT_EQ(dlg.Top(), area.Top + (area.Height() - 100) / 2);
    dlg.Hide();
    dlg.SetPosition(poMainFormCenter);
    dlg.Show();
    EXPECT_EQ(dlg.Left(), mainForm->Left() + 100);
    EXPECT_EQ(dlg.Top(), mainForm->Top() + 100);
    dlg.Hide();
    dlg.SetPosition(poDesigned);
    dlg.SetBounds(7, 8, 200, 100);
    dlg.Show();
    EXPECT_EQ(dlg.BoundsRect(), Bounds(7, 8, 200, 100));
    EXPECT_EQ(resized, 1);
    dlg.SetClientWidth(250);
    EXPECT_EQ(resized, 2);
    Application->DestroyComponents();
}

TEST(Hints, TheShortHintShowsAndCmHintShowCanChangeOrCancelIt)
{
    ShownForm f;
    struct THinted : TProbe {
        using TProbe::TProbe;
        int Mode = 0;
        void WndProc(TMessage& m) override
        {
            if (m.Msg == CM_HINTSHOW) {
                auto* info = reinterpret_cast<THintInfo*>(m.LParam);
                if (Mode == 1)
                    info->HintStr += " (more)";
                m.Result = Mode == 2 ? 1 : 0;
                return;
            }
            TProbe::WndProc(m);
        }
    };
    auto* c = new THinted(f.Form, f.Form);
    c->SetHint("Save|Saves the project");
    c->SetShowHint(true);
    ASSERT_TRUE(Application->ActivateHint(c, c->ClientToScreen({ 2, 2 })));
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_EQ(Application->HintWindow()->Caption(), "Save");
    EXPECT_TRUE(Application->HintWindow()->Showing());
    c->Mode = 1;
    Application->ActivateHint(c, c->ClientToScreen({ 2, 2 }));
    EXPECT_EQ(Application->HintWindow()->Caption(), "Save (more)");
    Application->CancelHint();
    EXPECT_FALSE(Application->HintWindow()->Showing());
    c->Mode = 2;
    EXPECT_FALSE(Application->ActivateHint(c, c->ClientToScreen({ 2, 2 })));
    EXPECT_EQ(TApplication::GetLongHint(c->Hint()), "Saves the project");

    // Resting the mouse on the control shows the hint after HintPause;
    // leaving cancels it.
    c->Mode = 0;
    Application->SetHintPause(1);
    input::MouseMove(c, { 3, 3 });
    QElapsedTimer waited;
    waited.start();
    while (!Application->HintWindow()->Showing() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    EXPECT_TRUE(Application->HintWindow()->Showing());
    Application->HintMouseMessage(nullptr);
    EXPECT_FALSE(Application->HintWindow()->Showing());
    Application->SetHintPause(500);
    Application->DestroyComponents();
}

// ---------------------------------------------------------------------------
// Dialogs and services

TEST(Dialogs, MessageBoxFlagsGiveButtonsIconAndDefault)
{
    struct Case {
        UINT flags;
        TMsgDlgButtons buttons;
        TMsgDlgType type;
        unsigned def;
    };
    const Case cases[] = {
        { MB_OK, mbOK, mtCustom, mbOK },
        { MB_OKCANCEL | MB_ICONQUESTION, mbOKCancel, mtConfirmation, mbOK },
        { MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2, mbYesNoCancel, mtWarning, mbNo },
        { MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON3, mbYesNo, mtError, mbYes },
        { MB_ABORTRETRYIGNORE | MB_ICONINFORMATION, mbAbortRetryIgnore, mtInformation, mbAbort },
        { MB_RETRYCANCEL | MB_DEFBUTTON2, TMsgDlgButtons(mbRetry) | mbCancel, mtCustom, mbCancel },
    };
    for (const Case& c : cases) {
        const TMessageBoxRequest r = MessageBoxRequest("t", "c", c.flags);
        EXPECT_EQ(r.Buttons, c.buttons) << c.flags;
        EXPECT_EQ(r.DlgType, c.type) << c.flags;
        EXPECT_EQ(r.DefaultButton, c.def) << c.flags;
    }
}

TEST(Dialogs, MessageBoxesReturnTheAnswerAndCarryTheirCaption)
{
    ModalDriver driver;
    driver.AnswerMessageBox(mrYes);
    driver.AnswerMessageBox(mrNo);
    driver.AnswerMessageBox(mrIgnore);
    EXPECT_EQ(MessageDlg("Overwrite?", mtConfirmation, mbYesNoCancel), mrYes);
    EXPECT_EQ(MessageBox("Again?", "Tool", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox("Go on?", "Tool", MB_CANCELTRYCONTINUE), IDCONTINUE);
    ASSERT_EQ(driver.Messages().size(), 3u);
    EXPECT_EQ(driver.Messages()[0].Caption, "Confirmation");
    EXPECT_EQ(driver.Messages()[1].Caption, "Tool");
    // A box without an answer and without OK is a failure, answered Cancel.
    EXPECT_EQ(MessageDlg("Which?", mtConfirmation, mbYesNo), mrCancel);
    EXPECT_EQ(driver.Failures().size(), 1);
    EXPECT_EQ(MessageDlg("Done", mtInformation, mbOK), mrOk);
}

class FakeFiles : public IFileDialogService {
public:
    QString Answer;
    TFileDialogRequest Last;
    bool Execute(TFileDialogRequest& r) override
    {
        Last = r;
        if (Answer.isEmpty())
            return false;
        r.FileName = Answer;
        r.Files = QStringList { Answer };
        r.FilterIndex = 2;
        return true;
    }
};

TEST(Dialogs, SaveDialogAddsTheDefaultExtensionAndAsksBeforeOverwriting)
{
    FakeFiles files;
    IFileDialogService* previous = services::SetFileDialogService(&files);
    ModalDriver driver;
    const QString dir = testutil::TempDir();
    TSaveDialog dlg(nullptr);
    dlg.Filter = "Electronic Data Sheet (*.eds)|*.eds|All|*.*";
    dlg.DefaultExt = "*.eds";
    dlg.InitialDir = dir;
    dlg.Options |= ofOverwritePrompt;

    files.Answer = dir + "/device";
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, dir + "/device.eds");
    EXPECT_EQ(dlg.FilterIndex, 2);
    EXPECT_EQ(files.Last.InitialDir, dir);
    EXPECT_EQ(files.Last.Kind, TFileDialogKind::Save);

    QFile out(dir + "/device.eds");
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();
    driver.AnswerMessageBox(mrNo);
    dlg.FileName = "before";
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, "before");
    driver.AnswerMessageBox(mrYes);
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(driver.Messages().size(), 2u);

    files.Answer.clear();
    EXPECT_FALSE(dlg.Execute());
    services::SetFileDialogService(previous);
}

TEST(Services, OnlyHttpHttpsAndMailtoLinksAreOpened)
{
    struct FakeShell : IShellService {
        QStringList opened;
        bool OpenUrl(const QString& url) override
        {
            opened << url;
            return true;
        }
    } shell;
    IShellService* previous = services::SetShellService(&shell);
    const struct {
        const char* url;
        bool ok;
    } cases[] = {
        { "http://example.com/page?frompg=RT41208", true },
        { "HTTPS://example.com/#KM41208", true },
        { "mailto:info@example.com", true },
        { "file:///etc/passwd", false },
        { "/usr/bin/xterm", false },
        { "javascript:alert(1)", false },
        { "ftp://example.com", false },
        { "http://", false },
        { " http://example.com", false },
        { "http://example.com/\n--flag", false },
        { "", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenURL(c.url), c.ok) << c.url;
    EXPECT_EQ(shell.opened.size(), 3);
    services::SetShellService(previous);
}

TEST(Services, ReplacedClockAndBeepAreUsed)
{
    struct FixedClock : IClockService {
        TDateTime Now() override { return 45000.5; }
        std::uint64_t TickCount() override { return 1234; }
    } clock;
    struct CountingBeep : IBeepService {
        int n = 0;
        void Beep() override { ++n; }
    } beep;
    services::SetClockService(&clock);
    services::SetBeepService(&beep);
    EXPECT_EQ(services::ClockService()->Now(), 45000.5);
    EXPECT_EQ(GetTickCount64(), 1234u);
    Beep();
    EXPECT_EQ(beep.n, 1);
    services::SetClockService(nullptr);
    services::SetBeepService(nullptr);
    EXPECT_NE(services::ClockService(), &clock);
}

} // namespace
