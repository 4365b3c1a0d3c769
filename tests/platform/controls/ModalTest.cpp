// A whole workflow driven from the main form down through nested modal
// forms, with the watchdog catching a modal loop that does not end.
#include <QTimer>
#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ModalDriver.h"

namespace {

// A button in miniature: clicks, hands its modal result to its form, and
// answers Enter on its form when it is the default one.
class TMiniButton : public TCustomControl {
public:
    TMiniButton(TCustomForm* form, TModalResult result, bool isDefault = false)
        : TCustomControl(form)
        , Result(result)
        , Default(isDefault)
    {
        SetParent(form);
        SetBounds(0, 0, 60, 24);
        SetTabStop(true);
    }
    void Click() override
    {
        TCustomControl::Click();
        if (Result != mrNone)
            if (TCustomForm* f = GetParentForm(this))
                f->SetModalResult(Result);
    }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_DIALOGKEY && Default && m.WParam == VK_RETURN) {
            Click();
            m.Result = 1;
            return;
        }
        TCustomControl::WndProc(m);
    }
    TModalResult Result;
    bool Default;
};

class TNameForm : public TForm {
public:
    explicit TNameForm(TComponent* owner)
        : TForm(owner)
    {
        SetCaption("Project name");
        Edit = new TLineEditProbe(this, this);
        Ok = new TMiniButton(this, mrOk, true);
        Ok->SetTop(40);
        More = new TMiniButton(this, mrNone);
        More->SetTop(70);
        More->OnClick = [this](TObject*) { OpenDetails(); };
    }
    QString ClassName() const override { return QStringLiteral("TNameForm"); }
    void OpenDetails();
    TLineEditProbe* Edit;
    TMiniButton* Ok;
    TMiniButton* More;
    TModalResult DetailsResult = mrNone;
};

class TDetailsForm : public TForm {
public:
    using TForm::TForm;
    QString ClassName() const override { return QStringLiteral("TDetailsForm"); }
};

void TNameForm::OpenDetails()
{
    TDetailsForm details(nullptr);
    DetailsResult = details.ShowModal();
}

class TMainWindow : public TForm {
public:
    explicit TMainWindow(TComponent* owner)
        : TForm(owner)
    {
        Names = new TNameForm(this);
        NewButton = new TMiniButton(this, mrNone);
        NewButton->OnClick = [this](TObject*) {
            Names->Edit->Edit()->clear();
            if (Names->ShowModal() == mrOk)
                ProjectName = Names->Edit->Text();
            else
                ProjectName = "(cancelled)";
        };
    }
    TNameForm* Names;
    TMiniButton* NewButton;
    QString ProjectName;
};

TEST(Modal, TheTestTypesIntoAModalFormConfirmsAndTheCallerGetsTheResult)
{
    ModalDriver driver(5000);
    TMainWindow main(nullptr);
    main.Show();
    driver.OnForm("Project name", [](TCustomForm* f) {
        auto* names = static_cast<TNameForm*>(f);
        EXPECT_TRUE(names->IsModal());
        EXPECT_EQ(Screen->ActiveForm(), names);
        names->Edit->SetFocus();
        input::Type(names->Edit, "Plant_7");
        input::Key(names->Edit, VK_RETURN);
    });
    input::Click(main.NewButton, { 5, 5 });
    EXPECT_EQ(main.ProjectName, "Plant_7");
    EXPECT_FALSE(main.Names->Showing());
    EXPECT_FALSE(main.Names->IsModal());

    // The same form again, this time closed with its close button.
    driver.OnForm("TNameForm", [](TCustomForm* f) { f->Close(); });
    input::Click(main.NewButton, { 5, 5 });
    EXPECT_EQ(main.ProjectName, "Plant_7"); // the first handler still matches
    EXPECT_TRUE(driver.Failures().isEmpty());
}

TEST(Modal, NestedModalFormsAndMessageBoxesAreDrivenInTurn)
{
    ModalDriver driver(5000);
    TMainWindow main(nullptr);
    main.Show();
    QStringList order;
    driver.OnForm(std::function<void(TDetailsForm*)>([&](TDetailsForm* d) {
        order << "details";
        // A question inside the nested form, answered by the driver.
        if (MessageDlg("Use defaults?", mtConfirmation, mbYesNo) == mrYes)
            d->SetModalResult(mrYes);
    }));
    driver.OnForm(
        "TNameForm",
        [&](TCustomForm* f) {
            auto* names = static_cast<TNameForm*>(f);
            order << "names";
            input::Click(names->More, { 1, 1 });
            order << "back";
            names->Edit->SetFocus();
            input::Type(names->Edit, "X1");
            input::Click(names->Ok, { 1, 1 });
        },
        1);
    driver.AnswerMessageBox(mrYes);
    input::Click(main.NewButton, { 5, 5 });
    EXPECT_EQ(order, (QStringList { "names", "details", "back" }));
    EXPECT_EQ(main.Names->DetailsResult, mrYes);
    EXPECT_EQ(main.ProjectName, "X1");
    EXPECT_EQ(driver.MessageTexts(), QStringList { "Use defaults?" });

    // The one-shot handler is used up: a second opening has no handler,
    // which fails and cancels instead of hanging.
    input::Click(main.NewButton, { 5, 5 });
    EXPECT_EQ(main.ProjectName, "(cancelled)");
    ASSERT_EQ(driver.Failures().size(), 1);
    EXPECT_TRUE(driver.Failures()[0].contains("No handler"));
}

TEST(Modal, TheWatchdogEndsAModalLoopThatNeverFinishes)
{
    ModalDriver driver(100);
    TMainWindow main(nullptr);
    driver.OnForm("TNameForm", [](TCustomForm*) {});
    input::Click(main.NewButton, { 5, 5 });
    EXPECT_EQ(main.ProjectName, "(cancelled)");
    ASSERT_EQ(driver.Failures().size(), 1);
    EXPECT_TRUE(driver.Failures()[0].contains("did not close in time"));
}

TEST(Modal, CloseQueryCanKeepAModalFormOpenAndShowModalRefusesAVisibleForm)
{
    ModalDriver driver(5000);
    TNameForm names(nullptr);
    int asked = 0;
    names.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    driver.OnForm("TNameForm", [](TCustomForm* f) {
        f->SetModalResult(mrOk); // refused by the first close query
        QTimer::singleShot(0, [f]() { f->SetModalResult(mrCancel); });
    });
    EXPECT_EQ(names.ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);

    names.Show();
    EXPECT_THROW(names.ShowModal(), EInvalidOperation);
}

} // namespace
