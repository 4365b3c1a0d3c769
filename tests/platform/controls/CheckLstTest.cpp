// The check list box, and the cancel-mode message a control gets when the
// focus leaves it or its window deactivates.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>

#include "CoreTestSupport.h"
#include "platform/controls/CheckLst.h"
#include "platform/controls/Messages.h"

namespace {

// Counts the cancel-mode messages it gets and whom they name.
class TCancelProbe : public TProbe {
public:
    using TProbe::TProbe;
    int Cancels = 0;
    LPARAM Gainer = -1;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == CM_CANCELMODE) {
            ++Cancels;
            Gainer = Message.LParam;
        }
        TProbe::WndProc(Message);
    }
};

void ViewportClick(TWinControl* list, QPoint at)
{
    QWidget* vp = qobject_cast<QAbstractScrollArea*>(list->Widget())->viewport();
    for (QEvent::Type t : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease }) {
        const Qt::MouseButtons held = t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent e(t, QPointF(at), vp->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(vp, &e);
    }
}

} // namespace

TEST(CheckListBox, SpaceAndTheBoxToggleCodeDoesNotFire)
{
    ShownForm f;
    auto* list = new TCheckListBox(f.Form);
    list->SetParent(f.Form);
    list->SetBounds(10, 10, 150, 100);
    for (const char* s : { "one", "two", "three" })
        list->Items()->Add(s);
    int toggles = 0;
    list->OnClickCheck = [&](TObject* s) {
        EXPECT_EQ(s, list);
        ++toggles;
    };
    list->SetFocus();

    list->SetChecked(1, true); // from code: no event
    EXPECT_TRUE(list->Checked(1));
    EXPECT_EQ(toggles, 0);

    list->SetItemIndex(2);
    input::Key(list, VK_SPACE, {}, u' ');
    EXPECT_TRUE(list->Checked(2));
    EXPECT_EQ(toggles, 1);
    input::Key(list, VK_SPACE, {}, u' ');
    EXPECT_FALSE(list->Checked(2));
    EXPECT_EQ(toggles, 2);

    // A click on the box toggles once; a click on the text selects only.
    ViewportClick(list, QPoint(list->CheckWidth() / 2, 5));
    EXPECT_TRUE(list->Checked(0));
    EXPECT_EQ(toggles, 3);
    ViewportClick(list, QPoint(list->CheckWidth() + 30, 5));
    EXPECT_TRUE(list->Checked(0));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(toggles, 3);

    // A new item starts unchecked; out of range raises.
    list->Items()->Insert(0, "zero");
    EXPECT_FALSE(list->Checked(0));
    EXPECT_TRUE(list->Checked(1));
    EXPECT_THROW(list->Checked(9), EListError);
}

TEST(CancelMode, SentWhenTheFocusLeavesOrTheWindowDeactivates)
{
    ShownForm f;
    auto* a = new TCancelProbe(f.Form, f.Form);
    auto* b = new TCancelProbe(f.Form, f.Form);
    b->SetLeft(60);
    a->SetFocus();
    a->Cancels = b->Cancels = 0;

    b->SetFocus();
    EXPECT_EQ(a->Cancels, 1);
    EXPECT_EQ(a->Gainer, reinterpret_cast<LPARAM>(static_cast<TWinControl*>(b)));
    EXPECT_EQ(b->Cancels, 0);

    // The window losing activation: the focused control ends its mode but
    // keeps the focus.
    QEvent act(QEvent::WindowActivate);
    QApplication::sendEvent(f.Form->Widget(), &act);
    QEvent deact(QEvent::WindowDeactivate);
    QApplication::sendEvent(f.Form->Widget(), &deact);
    EXPECT_EQ(b->Cancels, 1);
    EXPECT_EQ(b->Gainer, 0);
    EXPECT_EQ(f->ActiveControl(), b);
}
