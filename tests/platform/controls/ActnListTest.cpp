// Actions and their control links, reading order inherited from the parent,
// and the theme-changed notification reaching every control.
#include "platform/controls/ActnList.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ThemeChange.h"
#include "platform/graphics/ImageList.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <utility>

namespace {

class TLoggingControl : public TGraphicControl {
public:
    TLoggingControl(TWinControl* parent, QStringList& log, QString name)
        : TGraphicControl(parent)
        , Log(log)
        , Tag(std::move(name))
    {
        SetParent(parent);
    }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_THEMECHANGED || m.Msg == CM_SYSFONTCHANGED) {
            Log << QStringLiteral("%1:%2").arg(Tag, m.Msg == WM_THEMECHANGED ? "theme" : "notify");
            delete std::exchange(Victim, nullptr);
        }
        TGraphicControl::WndProc(m);
    }
    QStringList& Log;
    QString Tag;
    TControl* Victim = nullptr;
};

TEST(ActionLink, ControlFollowsTheActionWhileLinked)
{
    TPanel panel(nullptr);
    auto* action = new TAction(&panel);
    action->SetCaption(QStringLiteral("Go"));
    action->SetHint(QStringLiteral("Start"));
    panel.SetAction(action);
    EXPECT_EQ(panel.Action(), action);
    EXPECT_EQ(panel.Caption(), "Go");
    EXPECT_EQ(panel.Hint(), "Start");

    action->SetEnabled(false);
    action->SetVisible(false);
    action->SetCaption(QStringLiteral("Run"));
    EXPECT_FALSE(panel.Enabled());
    EXPECT_FALSE(panel.Visible());
    EXPECT_EQ(panel.Caption(), "Run");

    panel.SetCaption(QStringLiteral("Mine")); // changed by hand: no longer linked
    panel.SetHint(QStringLiteral("Mine too"));
    action->SetCaption(QStringLiteral("Stop"));
    action->SetHint(QStringLiteral("Halt"));
    EXPECT_EQ(panel.Caption(), "Mine");
    EXPECT_EQ(panel.Hint(), "Mine too");
    // A plain control has nothing to check: the link ignores it.
    action->SetChecked(true);
    action->SetGroupIndex(2);

    panel.SetAction(nullptr);
    EXPECT_EQ(action->ClientCount(), 0);
}

TEST(ActionLink, ClickRunsTheActionUnlessOnClickIsSet)
{
    TPanel panel(nullptr);
    auto* action = new TAction(&panel);
    int executed = 0, clicked = 0;
    action->OnExecute = [&](TObject* sender) {
        EXPECT_EQ(sender, action);
        ++executed;
    };
    panel.SetAction(action);
    panel.Click();
    EXPECT_EQ(executed, 1);
    action->SetEnabled(false); // a disabled action does not run
    panel.SetEnabled(true);
    panel.Click();
    EXPECT_EQ(executed, 1);
    panel.OnClick = [&](TObject*) { ++clicked; };
    panel.Click();
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(executed, 1);

    delete action; // the control forgets a freed action
    EXPECT_EQ(panel.Action(), nullptr);
    panel.OnClick = nullptr;
    panel.Click();
}

TEST(ActionLink, ImageIndexReachesLinksBeforeAndAfterItIsStored)
{
    // Per-value setters see the old value still stored; Change sees the new.
    struct TRecordingLink : TActionLink {
        QStringList Log;
        void SetImageIndex(int v) override
        {
            Log << QStringLiteral("set %1 over %2").arg(v).arg(Action()->ImageIndex());
        }
        void Change() override { Log << QStringLiteral("changed %1").arg(Action()->ImageIndex()); }
    };
    TAction action(nullptr);
    EXPECT_EQ(action.ImageIndex(), -1);
    TRecordingLink link;
    link.SetAction(&action);
    TImageList images(16, 16);
    action.SetImageIndex(3);
    action.SetImageIndex(3); // unchanged: nobody hears of it
    action.SetImages(&images);
    action.SetCaption(QStringLiteral("Go"));
    EXPECT_EQ(action.Images(), &images);
    EXPECT_EQ(link.Log, (QStringList { "set 3 over -1", "changed 3", "changed 3", "changed 3" }));
}

TEST(BiDiMode, ChildrenFollowTheirParentUntilSetThemselves)
{
    TPanel outer(nullptr);
    auto* inner = new TPanel(&outer);
    inner->SetParent(&outer);
    auto* leaf = new TPanel(&outer);
    leaf->SetParent(inner);
    EXPECT_EQ(leaf->BiDiMode(), bdLeftToRight);
    EXPECT_FALSE(leaf->UseRightToLeftAlignment());

    outer.SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(inner->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(leaf->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(leaf->ParentBiDiMode());
    EXPECT_TRUE(leaf->UseRightToLeftAlignment());
    EXPECT_FALSE(outer.ParentBiDiMode());

    inner->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_FALSE(inner->ParentBiDiMode());
    EXPECT_FALSE(inner->UseRightToLeftAlignment());
    EXPECT_TRUE(inner->UseRightToLeftReading());
    outer.SetBiDiMode(bdLeftToRight); // inner has its own now, and so has leaf through it
    EXPECT_EQ(inner->BiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_EQ(leaf->BiDiMode(), bdRightToLeftReadingOnly);

    inner->SetParentBiDiMode(true);
    EXPECT_EQ(leaf->BiDiMode(), bdLeftToRight);

    // A control placed on a parent takes the parent's mode.
    outer.SetBiDiMode(bdRightToLeft);
    TPanel late(nullptr);
    late.SetParent(&outer);
    EXPECT_EQ(late.BiDiMode(), bdRightToLeft);
    late.SetParent(nullptr);
}

TEST(ThemeChange, EveryControlHearsBothMessagesParentsFirst)
{
    QStringList log;
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.Show();
    auto* killer = new TLoggingControl(&form, log, "k");
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    new TLoggingControl(panel, log, "b");
    killer->Victim = new TLoggingControl(panel, log, "c"); // freed before its turn
    new TLoggingControl(&form, log, "a");

    NotifyThemeChanged();
    EXPECT_EQ(log, (QStringList { "k:theme", "b:theme", "a:theme", "k:notify", "b:notify", "a:notify" }));
}

} // namespace
