// The thin scroll control of the metro scroll type: its thumb, paging,
// dragging, and doing nothing where there is nothing to scroll.

#include "controls/grid/ExScrollControl.h"
#include "controls/grid/ExGrid.h"
#include "tests/common/GridOnForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>

namespace {

// A grid without bars whose 20-pixel rows (21 with the line) show 20 normal
// rows, and a vertical control 400 pixels long beside them.
struct TControlOnGrid {
    TGridOnForm<TExStringGrid> F { 5, 100, 300, 20 * 21 };
    TScrollControl* C;
    TControlOnGrid()
    {
        F.Grid->SetScrollBars(ssNone);
        C = new TScrollControl(F.Grid);
        C->SetParent(F.Grid);
        C->SetBounds(290, 0, 6, 400);
        C->SetVisible(true);
    }
    TExStringGrid* G() const { return F.Grid; }
};

void Mouse(TControl* c, QEvent::Type type, int y)
{
    QWidget* w = static_cast<TWinControl*>(c)->WidgetIfAllocated();
    const QPointF p(2, y);
    QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton,
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(ExScrollControl, ThumbAlongTheTrackBelowTheFixedRows)
{
    TControlOnGrid t;
    ASSERT_EQ(t.G()->VisibleRowCount(), 20);
    int pos = 0, size = 0;
    // Track 400 - 20 = 380: a fifth of it, starting below the fixed row.
    ASSERT_TRUE(t.C->Thumb(pos, size));
    EXPECT_EQ(size, 76);
    EXPECT_EQ(pos, 20);
    // A footer row takes its height off the track: 360 / 5 = 72.
    t.G()->SetFixedFooters(1);
    ASSERT_TRUE(t.C->Thumb(pos, size));
    EXPECT_EQ(size, 72);
    t.G()->SetFixedFooters(0);
    // Never below 20 pixels; at the end it stays inside the control.
    t.G()->SetRowCount(1000);
    t.G()->SetTopRow(1000 - 20);
    ASSERT_TRUE(t.C->Thumb(pos, size));
    EXPECT_EQ(size, 20);
    EXPECT_EQ(pos, 400 - 20);
}

TEST(ExScrollControl, ClicksPageAndTheThumbDrags)
{
    TControlOnGrid t;
    int pos = 0, size = 0;
    ASSERT_TRUE(t.C->Thumb(pos, size));
    Mouse(t.C, QEvent::MouseButtonPress, pos + size + 10);
    Mouse(t.C, QEvent::MouseButtonRelease, pos + size + 10);
    EXPECT_EQ(t.G()->TopRow(), 21);
    // 20 + round(380 x 20 / 99) = 97.
    ASSERT_TRUE(t.C->Thumb(pos, size));
    EXPECT_EQ(pos, 97);
    for (int i = 0; i < 5; ++i) {
        Mouse(t.C, QEvent::MouseButtonPress, 399);
        Mouse(t.C, QEvent::MouseButtonRelease, 399);
    }
    EXPECT_EQ(t.G()->TopRow(), 80); // RowCount - visible rows
    Mouse(t.C, QEvent::MouseButtonPress, 5);
    EXPECT_EQ(t.G()->TopRow(), 60);
    Mouse(t.C, QEvent::MouseButtonRelease, 5);

    // Dragging 38 pixels: round(38 / (400 - 20) x 100) = 10 rows.
    ASSERT_TRUE(t.C->Thumb(pos, size));
    Mouse(t.C, QEvent::MouseButtonPress, pos + 1);
    Mouse(t.C, QEvent::MouseMove, pos + 1 + 38);
    EXPECT_EQ(t.G()->TopRow(), 70);
    Mouse(t.C, QEvent::MouseMove, pos + 1 - 380);
    EXPECT_EQ(t.G()->TopRow(), 1); // not above the fixed rows
    Mouse(t.C, QEvent::MouseButtonRelease, pos + 1 - 380);
    Mouse(t.C, QEvent::MouseMove, pos + 200);
    EXPECT_EQ(t.G()->TopRow(), 1); // released: moves do nothing
}

TEST(ExScrollControl, PaintsTheThumbOverTheCells)
{
    TControlOnGrid t;
    t.C->SetColor(TColor(0x0000FF)); // red
    int pos = 0, size = 0;
    ASSERT_TRUE(t.C->Thumb(pos, size));
    const QImage img = t.G()->WidgetIfAllocated()->grab().toImage();
    EXPECT_EQ(img.pixelColor(290 + 1, pos + size / 2), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(290 + 3, pos + size / 2), QColor(255, 0, 0));
    // Beside the 4-pixel thumb and above it the cells show through.
    EXPECT_NE(img.pixelColor(290 + 5, pos + size / 2), QColor(255, 0, 0));
    EXPECT_NE(img.pixelColor(290 + 1, pos - 3), QColor(255, 0, 0));
}

TEST(ExScrollControl, NothingToScrollDrawsAndDoesNothing)
{
    // Every row in view; no scrollable row; a control whose length is row
    // 0's height (nothing to divide a drag by); no grid at all.
    struct {
        const char* Name;
        std::function<void(TControlOnGrid&)> Setup;
    } cases[] = {
        { "all rows in view", [](TControlOnGrid& t) { t.G()->SetRowCount(10); } },
        { "no scrollable row", [](TControlOnGrid& t) { t.G()->SetRowCount(1); } },
        { "length of row 0",
            [](TControlOnGrid& t) {
                t.C->SetBounds(290, 0, 6, 20);
                t.G()->SetRowHeights(0, 20);
            } },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TControlOnGrid t;
        c.Setup(t);
        const int top = t.G()->TopRow();
        for (int y : { 1, 10, 19 }) {
            Mouse(t.C, QEvent::MouseButtonPress, y);
            Mouse(t.C, QEvent::MouseMove, y + 300);
            Mouse(t.C, QEvent::MouseButtonRelease, y + 300);
        }
        EXPECT_EQ(t.G()->TopRow(), top);
        t.G()->WidgetIfAllocated()->grab(); // paints without dividing by zero
    }

    TForm form(nullptr);
    form.Show();
    TScrollControl lone(nullptr);
    lone.SetParent(&form);
    lone.SetBounds(0, 0, 6, 100);
    int pos = 0, size = 0;
    EXPECT_FALSE(lone.Thumb(pos, size));
    Mouse(&lone, QEvent::MouseButtonPress, 50);
    Mouse(&lone, QEvent::MouseButtonRelease, 50);
    lone.WidgetIfAllocated()->grab();
}

} // namespace
