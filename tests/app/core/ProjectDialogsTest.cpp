// The new-project, open-project and About dialogs, on their own and driven
// from the main window's buttons.
#include "app/core/LbButton.h"
#include "app/core/SharedStateGuard.h"
#include "app/core/UAbout.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/UNew_Project.h"
#include "app/core/UOpenConf.h"
#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <memory>

namespace {

class TFakeShell : public IShellService {
public:
    bool OpenUrl(const QString& url) override
    {
        Opened << url;
        return true;
    }
    QStringList Opened;
};

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

QStringList Items(TListBox* list)
{
    QStringList items;
    for (int i = 0; i < list->Items()->Count(); ++i)
        items << list->Items()->Get(i);
    return items;
}

class ProjectDialogsTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Folder = testutil::TempDir();
        Program_Folder_Source = [f = Folder]() { return f; };
        Window = std::make_unique<TFMorvantinoFirmWare>(nullptr);
        Window->DoCreate();
        NewProject = std::make_unique<TFNew_Project>(nullptr);
        OpenConf = std::make_unique<TFOpenConf>(nullptr);
        About = std::make_unique<TFAbout>(nullptr);
        FNew_Project = NewProject.get();
        FOpenConf = OpenConf.get();
        FAbout = About.get();
    }
    void TearDown() override
    {
        About.reset();
        OpenConf.reset();
        NewProject.reset();
        Window.reset();
        Program_Folder_Source = nullptr;
    }
    QString Projects() const { return Folder + "/PROJECTS"; }
    void MakeFolder(const QString& name) { ASSERT_TRUE(ForceDirectories(Projects() + "/" + name)); }

    // Presses New, types `name` into the dialog and confirms with Enter.
    // Returns the dialog's modal result and the texts of the boxes shown.
    std::pair<TModalResult, QStringList> NewWithName(const QString& name)
    {
        ModalDriver driver;
        TModalResult result = mrNone;
        driver.OnForm("TFNew_Project", [&](TCustomForm* f) {
            auto* d = static_cast<TFNew_Project*>(f);
            EXPECT_TRUE(d->E_New_Proj->Text().isEmpty()); // emptied on every show
            input::Type(d->E_New_Proj, name);
            input::Key(d->E_New_Proj, VK_RETURN);
            if (d->ModalResult() == mrNone) // refused: the dialog stays open
                d->Btn_Cancel->Click();
            result = d->ModalResult();
        });
        Window->Btn_New->Click();
        EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
        return { result, driver.MessageTexts() };
    }

    QString Folder;
    std::unique_ptr<TFMorvantinoFirmWare> Window;
    std::unique_ptr<TFNew_Project> NewProject;
    std::unique_ptr<TFOpenConf> OpenConf;
    std::unique_ptr<TFAbout> About;
};

TEST_F(ProjectDialogsTest, NewProjectFromTheMainWindow)
{
    // An empty name: text 107, nothing made, still no project.
    auto [result, boxes] = NewWithName("");
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(boxes, QStringList { Lang(107) });
    EXPECT_TRUE(Project_Folder.isEmpty());
    EXPECT_TRUE(Entries(Projects()).isEmpty());

    // A new name: the folder with an empty "bin" becomes the active project.
    std::tie(result, boxes) = NewWithName("Plant A");
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(Project_Name, "Plant A");
    EXPECT_EQ(Project_Folder, Projects() + "/Plant A");
    EXPECT_EQ(File_ParGen, Projects() + "/Plant A/ParGen.xml");
    EXPECT_EQ(Entries(Project_Folder), QStringList { "bin" });
    EXPECT_TRUE(Entries(Project_Folder + "/bin").isEmpty());
    EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang(11));
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), "Plant A");

    // The same name again, also in another letter case: text 106, and the
    // active project stays.
    for (const char* again : { "Plant A", "PLANT a" }) {
        std::tie(result, boxes) = NewWithName(again);
        EXPECT_EQ(result, mrCancel) << again;
        EXPECT_EQ(boxes, QStringList { Lang(106) }) << again;
    }
    EXPECT_EQ(Project_Folder, Projects() + "/Plant A");
    EXPECT_EQ(Entries(Projects()), QStringList { "Plant A" });

    // Names that would leave PROJECTS or that Windows refuses: text 105 and
    // nothing created anywhere.
    for (const char* bad : { "../Escaped", "..", "a/b", "bad.", "bad ", "NUL" }) {
        std::tie(result, boxes) = NewWithName(bad);
        EXPECT_EQ(result, mrCancel) << bad;
        EXPECT_EQ(boxes, QStringList { Lang(105) }) << bad;
    }
    EXPECT_EQ(Entries(Projects()), QStringList { "Plant A" });
    EXPECT_EQ(Entries(Folder), QStringList({ "LANGUAGE", "MASTER", "PROJECTS" }));
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), "Plant A");
}

TEST_F(ProjectDialogsTest, ProjectNamesThatCanBecomeFolders)
{
    // Leading blanks, inner dots and device-like names that Windows accepts
    // are fine; the name is never trimmed.
    const struct {
        const char* name;
        bool valid;
    } cases[] = {
        { "Plant A", true },
        { " lead", true },
        { "v1.2", true },
        { "COM10", true },
        { "console", true },
        { ".", false },
        { "..", false },
        { "../x", false },
        { "a\\b", false },
        { "a:b", false },
        { "a*", false },
        { "a?", false },
        { "a\"b", false },
        { "a<b", false },
        { "a>b", false },
        { "a|b", false },
        { "tab\there", false },
        { "name.", false },
        { "name ", false },
        { "   ", false },
        { "CON", false },
        { "com1", false },
        { "Lpt9.txt", false },
        { "aux.", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Is_Valid_Project_Folder_Name(c.name), c.valid) << c.name;

    // A plain file of that name: the folder cannot be made (text 105).
    ASSERT_TRUE(SaveFileAtomic(Projects() + "/Notes", "x").Ok);
    EXPECT_EQ(TFNew_Project::Create_Project("Notes"), TNew_Project_Error::Invalid);
    EXPECT_TRUE(Project_Folder.isEmpty());
}

TEST_F(ProjectDialogsTest, OpenListsFoldersSortedAndPreselectsTheActiveProject)
{
    for (const char* name : { "beta", "Plant A", "_tools", "Alpha" })
        MakeFolder(name);
    ASSERT_TRUE(SaveFileAtomic(Projects() + "/readme.txt", "x").Ok);
    // The active project's folder as the tool's home system would give it,
    // in another letter case than the folder on disk.
    Project_Name = "plant a";
    Project_Folder = Projects() + "/PLANT A";

    ModalDriver driver;
    driver.OnForm(
        "TFOpenConf",
        [](TCustomForm* f) {
            auto* d = static_cast<TFOpenConf*>(f);
            // Upper-case order: "_" sorts after the letters.
            EXPECT_EQ(Items(d->ListBox1), QStringList({ "Alpha", "beta", "Plant A", "_tools" }));
            EXPECT_EQ(d->SL, Items(d->ListBox1));
            EXPECT_EQ(d->ListBox1->ItemIndex(), 2);
            EXPECT_EQ(d->Name_Conf, "Plant A");
            EXPECT_EQ(d->Search_Open_Conf("BETA"), 1);
            EXPECT_EQ(d->Search_Open_Conf("gamma"), -1);
            d->Btn_OK->Click();
        },
        1);
    Window->Btn_Open->Click();
    EXPECT_EQ(Project_Name, "Plant A");
    EXPECT_EQ(Project_Folder, Projects() + "/Plant A");
    EXPECT_EQ(File_HART_Variables, Projects() + "/Plant A/HART_Variables.xml");
    EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang(11));
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), "Plant A");

    // A click in the list chooses; Cancel leaves the active project alone.
    driver.OnForm(
        "TFOpenConf",
        [](TCustomForm* f) {
            auto* d = static_cast<TFOpenConf*>(f);
            d->ListBox1->SetItemIndex(1);
            d->ListBox1->Click();
            EXPECT_EQ(d->Name_Conf, "beta");
            d->Btn_Cancel->Click();
        },
        1);
    Window->Btn_Open->Click();
    EXPECT_EQ(Project_Folder, Projects() + "/Plant A");

    // With no active project the first folder is preselected.
    Project_Folder.clear();
    driver.OnForm(
        "TFOpenConf",
        [](TCustomForm* f) {
            auto* d = static_cast<TFOpenConf*>(f);
            EXPECT_EQ(d->ListBox1->ItemIndex(), 0);
            EXPECT_EQ(d->Name_Conf, "Alpha");
            d->Btn_OK->Click();
        },
        1);
    Window->Btn_Open->Click();
    EXPECT_EQ(Project_Folder, Projects() + "/Alpha");
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

// PROJECTS that cannot take a new folder is reported as such, naming it,
// not as a name that is not valid.
TEST_F(ProjectDialogsTest, NewProjectInAProjectsFolderThatCannotBeWritten)
{
    ASSERT_TRUE(RemoveDir(Projects()));
    testutil::WriteFile(Projects(), "a file where the folder should be");
    auto [result, boxes] = NewWithName("Plant A");
    EXPECT_EQ(result, mrCancel);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_NE(boxes[0], Lang(105));
    EXPECT_TRUE(boxes[0].contains(Projects())) << boxes[0].toStdString();
    EXPECT_TRUE(Project_Folder.isEmpty());

    // A PROJECTS folder deleted since the start is simply made again.
    ASSERT_TRUE(DeleteFile(Projects()));
    std::tie(result, boxes) = NewWithName("Plant A");
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(Entries(Projects()), QStringList { "Plant A" });
}

// Folders made outside the tool: only names that can be opened are listed,
// and the exact name of the active project wins over a case-blind match.
TEST_F(ProjectDialogsTest, OpenListsOnlyOpenableNamesAndPrefersTheExactName)
{
    for (const char* name : { "Alpha", "ALPHA", "Beta", "a:b", "x?y", "back\\slash" })
        MakeFolder(name);
    const struct {
        const char* active;
        int index;
        const char* name;
    } cases[] = {
        { "Alpha", 1, "Alpha" },
        { "ALPHA", 0, "ALPHA" },
        { "alpha", 0, "ALPHA" }, // no exact match: the first case-blind one
        { "Beta", 2, "Beta" },
    };
    ModalDriver driver;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.active);
        Project_Folder = Projects() + "/" + c.active;
        driver.OnForm(
            "TFOpenConf",
            [&](TCustomForm* f) {
                auto* d = static_cast<TFOpenConf*>(f);
                EXPECT_EQ(Items(d->ListBox1), QStringList({ "ALPHA", "Alpha", "Beta" }));
                EXPECT_EQ(d->ListBox1->ItemIndex(), c.index);
                EXPECT_EQ(d->Name_Conf, c.name);
                d->ListBox1->SetFocus();
                input::Key(d->ListBox1, VK_RETURN, {}, 13);
            },
            1);
        Window->Btn_Open->Click();
        EXPECT_EQ(Project_Name, c.name);
        EXPECT_EQ(Project_Folder, Projects() + "/" + c.name);
    }

    // A double click on a name opens it at once.
    driver.OnForm(
        "TFOpenConf",
        [](TCustomForm* f) {
            auto* d = static_cast<TFOpenConf*>(f);
            ASSERT_EQ(d->ListBox1->ItemIndex(), 2);
            // As the window system delivers it: to the list's viewport, on
            // the first row.
            auto* list = qobject_cast<QListWidget*>(d->ListBox1->Widget());
            ASSERT_NE(list, nullptr);
            QWidget* view = list->viewport();
            const QPointF at = list->visualItemRect(list->item(0)).center();
            for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                     QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease }) {
                const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
                QMouseEvent e(type, at, view->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
                QCoreApplication::sendEvent(view, &e);
            }
        },
        1);
    Window->Btn_Open->Click();
    EXPECT_EQ(Project_Name, "ALPHA");
    EXPECT_EQ(Project_Folder, Projects() + "/ALPHA");
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

TEST_F(ProjectDialogsTest, OpenOnAnEmptyListLeavesNoProjectActive)
{
    MakeFolder("Old");
    Project_Folder = Projects() + "/Old";
    OpenConf->Name_Conf = "Old";
    ASSERT_TRUE(RemoveDir(Projects() + "/Old"));

    ModalDriver driver;
    driver.OnForm("TFOpenConf", [](TCustomForm* f) {
        auto* d = static_cast<TFOpenConf*>(f);
        EXPECT_EQ(d->ListBox1->Items()->Count(), 0);
        EXPECT_EQ(d->ListBox1->ItemIndex(), -1);
        d->Btn_OK->Click();
    });
    Window->Btn_Open->Click();
    // The name kept from before named a folder that is gone.
    EXPECT_TRUE(OpenConf->Name_Conf.isEmpty());
    EXPECT_TRUE(Project_Folder.isEmpty());
    EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang(9));
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), Lang(10));
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

TEST_F(ProjectDialogsTest, EnterAndEscapeOnTheDialogs)
{
    MakeFolder("Alpha");
    MakeFolder("Beta");
    ModalDriver driver;
    TModalResult result = mrNone;
    const auto press = [&](TWinControl* focus, WORD key, char16_t ch) {
        focus->SetFocus();
        input::Key(focus, key, {}, ch);
        result = GetParentForm(focus)->ModalResult();
    };

    // Escape leaves each dialog from its edit or list.
    driver.OnForm(
        "TFNew_Project", [&](TCustomForm* f) { press(static_cast<TFNew_Project*>(f)->E_New_Proj, VK_ESCAPE, 27); }, 1);
    Window->Btn_New->Click();
    EXPECT_EQ(result, mrCancel);
    driver.OnForm(
        "TFOpenConf", [&](TCustomForm* f) { press(static_cast<TFOpenConf*>(f)->ListBox1, VK_ESCAPE, 27); }, 1);
    Window->Btn_Open->Click();
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(Project_Folder.isEmpty());
    // The About box's only control is its button: while a button has the
    // focus Escape is not the Cancel button's, so Enter (its own key) closes it.
    TModalResult onEscape = mrOk;
    driver.OnForm(
        "TFAbout",
        [&](TCustomForm* f) {
            auto* about = static_cast<TFAbout*>(f);
            press(about->LbButton1, VK_ESCAPE, 27);
            onEscape = result;
            press(about->LbButton1, VK_RETURN, 13);
        },
        1);
    Window->Btn_Info->Click();
    EXPECT_EQ(onEscape, mrNone);
    EXPECT_EQ(result, mrOk);

    // Enter in the open list opens the entry picked with the arrow keys.
    driver.OnForm(
        "TFOpenConf",
        [&](TCustomForm* f) {
            auto* d = static_cast<TFOpenConf*>(f);
            d->ListBox1->SetFocus();
            input::Key(d->ListBox1, VK_DOWN);
            press(d->ListBox1, VK_RETURN, 13);
        },
        1);
    Window->Btn_Open->Click();
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Project_Folder, Projects() + "/Beta");
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

TEST_F(ProjectDialogsTest, TextsComeFromTheLanguageTable)
{
    for (int i = 100; i < 300; ++i)
        LanguageTable[i] = QStringLiteral("T%1").arg(i);
    Window->Change_Language();

    TFNew_Project* n = NewProject.get();
    TFOpenConf* o = OpenConf.get();
    const std::pair<QString, int> texts[] = {
        { n->Caption(), 100 },
        { n->L_SW_Desc->Caption(), 101 },
        { n->Label1->Caption(), 102 },
        { n->Btn_OK->Caption(), 103 },
        { n->Btn_Cancel->Caption(), 104 },
        { n->E_New_Proj->Hint(), 108 },
        { n->Btn_OK->Hint(), 109 },
        { n->Btn_Cancel->Hint(), 110 },
        { o->Caption(), 200 },
        { o->L_SW_Desc->Caption(), 201 },
        { o->Label1->Caption(), 202 },
        { o->Btn_OK->Caption(), 203 },
        { o->Btn_Cancel->Caption(), 204 },
        { o->ListBox1->Hint(), 205 },
        { o->Btn_OK->Hint(), 206 },
        { o->Btn_Cancel->Hint(), 207 },
    };
    for (const auto& [text, index] : texts)
        EXPECT_EQ(text, QStringLiteral("T%1").arg(index));
    EXPECT_EQ(n->L_SW_Code->Caption(), "RT41208");
    EXPECT_EQ(o->L_SW_Code->Caption(), "RT41208");
    EXPECT_EQ(n->ClientWidth(), 331);
    EXPECT_EQ(n->ClientHeight(), 162);
    EXPECT_EQ(o->ClientWidth(), 377);
    EXPECT_EQ(o->ClientHeight(), 351);
    // The About dialog has no language texts.
    EXPECT_EQ(About->Caption(), "About...");
}

TEST_F(ProjectDialogsTest, AboutShowsTheProductAndOpensTheMakersPage)
{
    TFakeShell shell;
    IShellService* previous = services::SetShellService(&shell);
    ModalDriver driver;
    driver.OnForm("TFAbout", [](TCustomForm* f) {
        auto* a = static_cast<TFAbout*>(f);
        EXPECT_EQ(a->Label2->Caption(), "Modbus Slave / HART Master - Converter");
        EXPECT_EQ(a->Label9->Caption(), "RT41208");
        EXPECT_EQ(a->Label10->Caption(), "1.102");
        EXPECT_EQ(a->Label12->Caption(), "LQ41208");
        EXPECT_EQ(a->ClientWidth(), 425);
        EXPECT_EQ(a->ClientHeight(), 148);
        // With the texts in place every label keeps a gap to the OK button
        // and stays inside the window.
        for (TControl* l : { a->Label3, a->Label6, a->Label8, a->Label9, a->Label10, a->Label12, a->Label4 }) {
            TRect around = l->BoundsRect();
            InflateRect(around, 6, 0);
            TRect overlap;
            EXPECT_FALSE(IntersectRect(overlap, around, a->LbButton1->BoundsRect())) << l->Name().toStdString();
            EXPECT_LE(l->Left() + l->Width(), a->ClientWidth()) << l->Name().toStdString();
        }
        EXPECT_LE(a->LbButton1->Left() + a->LbButton1->Width(), a->ClientWidth());
        a->Label4->Click();
        a->Image2->Click();
        EXPECT_EQ(a->ModalResult(), mrNone);
        a->LbButton1->Click();
        EXPECT_EQ(a->ModalResult(), mrOk);
    });
    Window->Btn_Info->Click();
    services::SetShellService(previous);
    ASSERT_EQ(shell.Opened.size(), 2);
    for (const QString& url : shell.Opened) {
        EXPECT_EQ(url, Maker_Home_Page);
        EXPECT_TRUE(url.contains("frompg=RT41208"));
    }
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

TEST_F(ProjectDialogsTest, Pictures)
{
    for (const char* name : { "Boiler 1", "Boiler 2", "Pump station" })
        MakeFolder(name);
    Project_Folder = Projects() + "/Boiler 2";
    ModalDriver driver;
    const auto shoot = [](TCustomForm* f, const char* name, QSize size) {
        const QImage img = f->PaintToImage();
        testutil::SaveImagePng(img, name);
        EXPECT_EQ(img.size(), size) << name;
        EXPECT_TRUE(testutil::MatchesGolden(img, name)) << name;
        f->SetModalResult(mrCancel);
    };
    driver.OnForm("TFNew_Project", [&](TCustomForm* f) {
        input::Type(static_cast<TFNew_Project*>(f)->E_New_Proj, "Boiler 3");
        shoot(f, "new_project", QSize(331, 162));
    });
    driver.OnForm("TFOpenConf", [&](TCustomForm* f) { shoot(f, "open_conf", QSize(377, 351)); });
    driver.OnForm("TFAbout", [&](TCustomForm* f) { shoot(f, "about", QSize(425, 148)); });
    Window->Btn_New->Click();
    Window->Btn_Open->Click();
    Window->Btn_Info->Click();
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

} // namespace
