// The open state, list sizes and fields of the combo box and the date-time
// picker, which the grid's in-place editors steer.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QStringList>

#include "platform/controls/ComCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/SysUtils.h"

namespace {

struct TShownForm {
    TForm* Form;
    TShownForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 400, 300);
        Form->Show();
    }
    ~TShownForm() { delete Form; }
    template <class T> T* Add(int left = 10, int top = 10)
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(left, top, c->Width(), c->Height());
        return c;
    }
};

TEST(ComboBoxList, ItemHeightAndDroppedWidthShapeTheOpenList)
{
    TShownForm f;
    auto* cb = f.Add<TComboBox>();
    cb->SetWidth(100);
    cb->Items()->SetCommaText("RS232,RS485,CAN");
    auto* qc = qobject_cast<QComboBox*>(cb->Widget());
    ASSERT_NE(qc, nullptr);

    struct Case {
        int itemHeight, droppedWidth, wantItem, wantWidthAtLeast;
    } cases[] = {
        { 0, 0, -1, 100 }, // the font's own items, the control's width
        { 24, 0, 24, 100 }, { 13, 260, 13, 260 }, { 13, 40, 13, 100 }, // never narrower than the control
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.itemHeight << "/" << c.droppedWidth);
        cb->SetItemHeight(c.itemHeight);
        cb->SetDroppedWidth(c.droppedWidth);
        EXPECT_EQ(cb->DroppedWidth(), std::max(c.droppedWidth, 100));
        cb->SetDroppedDown(true);
        ASSERT_TRUE(cb->DroppedDown());
        const int shown = qc->view()->visualRect(qc->model()->index(1, 0)).height();
        if (c.wantItem > 0)
            EXPECT_EQ(shown, c.wantItem);
        else
            EXPECT_GT(shown, 0);
        EXPECT_EQ(cb->ItemHeight(), c.wantItem > 0 ? c.wantItem : shown); // the font's own when not set
        EXPECT_GE(qc->view()->window()->width(), c.wantWidthAtLeast);
        if (c.droppedWidth > 100) {
            EXPECT_LT(qc->view()->window()->width(), c.droppedWidth + 20);
        }
        cb->SetDroppedDown(false);
        EXPECT_FALSE(cb->DroppedDown());
    }

    // The selection field is the control less its frame.
    cb->SetSelectionFieldHeight(14);
    EXPECT_EQ(cb->Height(), 20);
    EXPECT_EQ(cb->SelectionFieldHeight(), 14);
}

TEST(DateTimePickerFields, RightAndLeftMoveBetweenFieldsWhetherTypedOrSent)
{
    TShownForm f;
    auto* dt = f.Add<TDateTimePicker>();
    dt->SetFormat("dd/MM/yyyy");
    dt->SetDateTime(EncodeDate(2024, 3, 9));
    dt->SetFocus();
    ASSERT_EQ(dt->FieldCount(), 3);
    dt->SetCurrentField(0);
    QStringList keys;
    dt->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { keys << QString::number(k); };

    input::Key(dt, VK_RIGHT);
    EXPECT_EQ(dt->CurrentField(), 1);
    dt->Perform(WM_KEYDOWN, VK_RIGHT, 0); // as the grid's editor sends it
    EXPECT_EQ(dt->CurrentField(), 2);
    input::Key(dt, VK_RIGHT); // past the last field: back to the first
    EXPECT_EQ(dt->CurrentField(), 0);
    input::Key(dt, VK_LEFT);
    EXPECT_EQ(dt->CurrentField(), 2);
    EXPECT_EQ(keys, (QStringList { "39", "39", "39", "37" })); // OnKeyDown saw them all

    // A key the handler consumed does not move.
    dt->OnKeyDown = [](TObject*, WORD& k, TShiftState) { k = 0; };
    input::Key(dt, VK_RIGHT);
    EXPECT_EQ(dt->CurrentField(), 2);
    // Typing goes to the current field and stays there when it is full.
    dt->OnKeyDown = nullptr;
    dt->SetCurrentField(2);
    input::Type(dt, "2031");
    EXPECT_EQ(dt->DateTime(), EncodeDate(2031, 3, 9));
    EXPECT_EQ(dt->CurrentField(), 2);
    dt->SetCurrentField(0);
    input::Type(dt, "28");
    EXPECT_EQ(dt->DateTime(), EncodeDate(2031, 3, 28));
    EXPECT_EQ(dt->CurrentField(), 0);
    input::Key(dt, VK_RIGHT);
    input::Type(dt, "04");
    EXPECT_EQ(dt->DateTime(), EncodeDate(2031, 4, 28));
    EXPECT_EQ(dt->CurrentField(), 1);
}

TEST(DateTimePickerFields, CalendarOpensOnF4AndAltDownAndReportsItsState)
{
    TShownForm f;
    auto* dt = f.Add<TDateTimePicker>();
    dt->SetDateTime(EncodeDate(2024, 3, 9));
    dt->SetFocus();
    QStringList log;
    dt->OnDropDown
        = [&](TObject* s) { log << (static_cast<TDateTimePicker*>(s)->DroppedDown() ? "down:open" : "down"); };
    dt->OnCloseUp = [&](TObject* s) { log << (static_cast<TDateTimePicker*>(s)->DroppedDown() ? "up:open" : "up"); };

    EXPECT_FALSE(dt->DroppedDown());
    dt->Perform(WM_KEYDOWN, VK_F4, 0);
    EXPECT_TRUE(dt->DroppedDown());
    auto* edit = qobject_cast<QDateTimeEdit*>(dt->Widget()->findChild<QDateTimeEdit*>());
    ASSERT_NE(edit, nullptr);
    edit->calendarWidget()->window()->hide();
    EXPECT_FALSE(dt->DroppedDown());
    input::Key(dt, VK_DOWN, ssAlt);
    EXPECT_TRUE(dt->DroppedDown());
    edit->calendarWidget()->window()->hide();
    EXPECT_EQ(log, (QStringList { "down:open", "up", "down:open", "up" }));

    // A time picker and an up-down date picker have no calendar.
    for (auto setup :
        { +[](TDateTimePicker* p) { p->SetKind(dtkTime); }, +[](TDateTimePicker* p) { p->SetDateMode(dmUpDown); } }) {
        auto* other = f.Add<TDateTimePicker>(10, 60);
        setup(other);
        other->Perform(WM_KEYDOWN, VK_F4, 0);
        EXPECT_FALSE(other->DroppedDown());
    }
}

} // namespace
