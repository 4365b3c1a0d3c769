#include <gtest/gtest.h>

#include "platform/controls/CategoryPanels.h"

namespace {

std::vector<int> Tops(const TCategoryStack& s)
{
    std::vector<int> r;
    for (int i = 0; i < s.Count(); ++i)
        r.push_back(s.Top(i));
    return r;
}

TCategoryStack ThreePanels()
{
    TCategoryStack s;
    s.HeaderHeight = 24;
    s.ClientHeight = 200;
    s.Add(100);
    s.Add(150);
    s.Add(80);
    return s;
}

TEST(CategoryStack, CollapseExpandAndHideCloseTheGaps)
{
    TCategoryStack s = ThreePanels();
    EXPECT_EQ(Tops(s), (std::vector<int> { 0, 100, 250 }));
    EXPECT_EQ(s.ContentHeight(), 330);

    s.SetCollapsed(1, true);
    EXPECT_EQ(s.Height(1), 24);
    EXPECT_EQ(Tops(s), (std::vector<int> { 0, 100, 124 }));

    // A height set while collapsed is the height it opens to.
    s.SetExpandedHeight(1, 60);
    EXPECT_EQ(s.Height(1), 24);
    s.SetCollapsed(1, false);
    EXPECT_EQ(Tops(s), (std::vector<int> { 0, 100, 160 }));

    s.SetVisible(0, false);
    EXPECT_EQ(s.Order(), (std::vector<int> { 1, 2 }));
    EXPECT_EQ(s.Top(1), 0);
    EXPECT_EQ(s.Top(2), 60);
    s.SetVisible(0, true); // comes back where it was
    EXPECT_EQ(s.Order(), (std::vector<int> { 0, 1, 2 }));
}

TEST(CategoryStack, SettingTopsReorders)
{
    TCategoryStack s = ThreePanels();
    s.SetTop(2, 0); // onto the first panel's top: goes ahead of it
    EXPECT_EQ(s.Order(), (std::vector<int> { 2, 0, 1 }));
    EXPECT_EQ(Tops(s), (std::vector<int> { 80, 180, 0 }));

    // The ordering a form does: each top is the previous top plus its height.
    int top = 0;
    for (int i : { 1, 0, 2 }) {
        s.SetTop(i, top);
        top = s.Top(i) + s.Height(i);
    }
    EXPECT_EQ(s.Order(), (std::vector<int> { 1, 0, 2 }));
    EXPECT_EQ(Tops(s), (std::vector<int> { 150, 0, 250 }));

    s.SetTop(1, 1000); // far below: last, without a gap
    EXPECT_EQ(s.Order(), (std::vector<int> { 0, 2, 1 }));
    EXPECT_EQ(s.Top(1), 180);
}

TEST(CategoryStack, WheelScrollsByLinesAndClamps)
{
    TCategoryStack s = ThreePanels();
    ASSERT_EQ(s.MaxScroll(), 130);

    EXPECT_EQ(s.Wheel(-120, 3), 24); // a notch towards the user: 3 lines of 8 down
    EXPECT_EQ(Tops(s), (std::vector<int> { -24, 76, 226 }));
    EXPECT_EQ(s.Wheel(120, 3), 0);
    EXPECT_EQ(s.Wheel(-60, 3), 0); // half a notch waits for the other half
    EXPECT_EQ(s.Wheel(-60, 3), 24);
    EXPECT_EQ(s.Wheel(-120, 0), 24); // no wheel lines: nothing
    EXPECT_EQ(s.Wheel(-1200, 3), 130); // clamped at the end
    EXPECT_EQ(s.ScrollLines(-1), 122);

    // Collapsing while scrolled shrinks the range and pulls the position in.
    s.SetCollapsed(1, true);
    EXPECT_EQ(s.MaxScroll(), 4);
    EXPECT_EQ(s.ScrollPos(), 4);

    // A top given while scrolled is in client coordinates.
    s.SetTop(2, -4);
    EXPECT_EQ(s.Order(), (std::vector<int> { 2, 0, 1 }));
    EXPECT_EQ(s.Top(2), -4);
}

} // namespace
