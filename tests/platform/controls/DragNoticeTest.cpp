// Qt's drag events reach a windowed control as the toolkit's drag notices,
// with the client point, and a drop is preceded by a leave.

#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace {

class TDragTarget : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<QString> Notices;
    bool Accept = false;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == CM_DRAG) {
            Notices.push_back(QStringLiteral("%1:%2,%3")
                                  .arg(Message.WParam)
                                  .arg(GetXLParam(Message.LParam))
                                  .arg(GetYLParam(Message.LParam)));
            Message.Result = Accept ? 1 : 0;
            return;
        }
        TCustomControl::WndProc(Message);
    }
};

TEST(DragNotice, EnterMoveDropAndLeaveArriveWithTheClientPoint)
{
    TForm form(nullptr);
    form.SetBounds(10, 10, 200, 200);
    form.Show();
    auto* t = new TDragTarget(&form);
    t->SetParent(&form);
    t->SetBounds(20, 30, 100, 100);
    QWidget* w = t->WidgetIfAllocated();
    ASSERT_TRUE(w && w->acceptDrops());
    QMimeData data;

    QDragEnterEvent enter(QPoint(5, 6), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    EXPECT_TRUE(enter.isAccepted()); // so that the moves follow
    QDragMoveEvent refused(QPoint(7, 8), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &refused);
    EXPECT_FALSE(refused.isAccepted());
    t->Accept = true;
    QDragMoveEvent taken(QPoint(9, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &taken);
    EXPECT_TRUE(taken.isAccepted());
    QDropEvent drop(QPointF(11, 12), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &drop);
    EXPECT_TRUE(drop.isAccepted());

    const std::vector<QString> expected = { QString("%1:5,6").arg(dmDragEnter), QString("%1:7,8").arg(dmDragMove),
        QString("%1:9,10").arg(dmDragMove), QString("%1:0,0").arg(dmDragLeave), QString("%1:11,12").arg(dmDragDrop) };
    EXPECT_EQ(t->Notices, expected);

    // A drag that passes over and goes on.
    t->Notices.clear();
    QDragEnterEvent again(QPoint(1, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &again);
    QDragLeaveEvent leave;
    QApplication::sendEvent(w, &leave);
    EXPECT_EQ(
        t->Notices, (std::vector<QString> { QString("%1:1,2").arg(dmDragEnter), QString("%1:0,0").arg(dmDragLeave) }));
}

} // namespace
