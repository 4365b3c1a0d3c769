// The stand-alone scroll bar: scroll requests with their codes, the handler's
// say over the position, limits, mouse input and painting into a canvas.
#include <QImage>
#include <gtest/gtest.h>
#include <vector>

#include "common/TestUtil.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBar.h"
#include "platform/graphics/Bitmaps.h"

namespace {

struct TScrollSeen {
    TScrollCode Code;
    int Pos;
};

struct TBarOnForm {
    TForm Form { nullptr };
    TScrollBar* Bar;
    std::vector<TScrollSeen> Seen;
    int Changes = 0;

    TBarOnForm()
    {
        Form.SetBounds(0, 0, 200, 200);
        Bar = new TScrollBar(&Form);
        Bar->SetParent(&Form);
        Bar->SetKind(sbVertical);
        Bar->SetBounds(10, 10, 17, 150);
        Bar->SetParams(10, 0, 100);
        Bar->SetPageSize(10);
        Bar->SetSmallChange(2);
        Bar->SetLargeChange(25);
        Bar->OnScroll = [this](TObject*, TScrollCode code, int& pos) { Seen.push_back({ code, pos }); };
        Bar->OnChange = [this](TObject*) { ++Changes; };
        Form.Show();
    }
};

TEST(ScrollBar, EachRequestFiresOnScrollWithItsCodeAndTheNewPosition)
{
    struct TCase {
        WORD Code;
        int Track;
        TScrollCode Expected;
        int Pos;
    };
    const TCase cases[] = {
        { SB_LINEDOWN, 0, scLineDown, 12 },
        { SB_LINEUP, 0, scLineUp, 8 },
        { SB_PAGEDOWN, 0, scPageDown, 35 },
        { SB_PAGEUP, 0, scPageUp, 0 }, // 10 - 25 stays at Min
        { SB_THUMBTRACK, 42, scTrack, 42 },
        { SB_THUMBPOSITION, 57, scPosition, 57 },
        { SB_TOP, 0, scTop, 0 },
        { SB_BOTTOM, 0, scBottom, 100 },
        { SB_ENDSCROLL, 0, scEndScroll, 10 },
    };
    for (const TCase& c : cases) {
        TBarOnForm f;
        f.Bar->Perform(WM_VSCROLL, WPARAM(c.Code) | (WPARAM(c.Track) << 16));
        ASSERT_EQ(f.Seen.size(), 1u) << c.Code;
        EXPECT_EQ(f.Seen[0].Code, c.Expected) << c.Code;
        EXPECT_EQ(f.Bar->Position(), c.Pos) << c.Code;
        // Before the limits: the handler sees the unclamped request.
        if (c.Code == SB_PAGEUP) {
            EXPECT_EQ(f.Seen[0].Pos, -15);
        }
        EXPECT_EQ(f.Changes, c.Pos != 10 ? 1 : 0) << c.Code;
        // The other direction's message is not this bar's.
        f.Bar->Perform(WM_HSCROLL, SB_LINEDOWN);
        EXPECT_EQ(f.Seen.size(), 1u);
    }
}

TEST(ScrollBar, HandlerDecidesThePositionWithinTheLimits)
{
    TBarOnForm f;
    f.Bar->OnScroll = [](TObject*, TScrollCode, int& pos) { pos = 70; };
    f.Bar->Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(f.Bar->Position(), 70);
    f.Bar->OnScroll = [](TObject*, TScrollCode, int& pos) { pos = 500; };
    f.Bar->Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(f.Bar->Position(), 100);
}

TEST(ScrollBar, ParamsKeepThePositionInRangeAndRefuseAnEmptyOne)
{
    TBarOnForm f;
    f.Bar->SetParams(150, 0, 120);
    EXPECT_EQ(f.Bar->Position(), 120);
    EXPECT_EQ(f.Changes, 1);
    f.Bar->SetMax(50);
    EXPECT_EQ(f.Bar->Position(), 50);
    EXPECT_THROW(f.Bar->SetParams(0, 10, 5), EInvalidOperation);
    EXPECT_THROW(f.Bar->SetPageSize(52), EInvalidOperation);
    f.Bar->SetPageSize(51);
    EXPECT_EQ(f.Bar->PageSize(), 51);
    f.Bar->SetKind(sbHorizontal); // width and height swap
    EXPECT_EQ(f.Bar->Width(), 150);
    EXPECT_EQ(f.Bar->Height(), 17);
}

TEST(ScrollBar, ClickOnTheLowerArrowIsALineDownThenTheEnd)
{
    TBarOnForm f;
    input::Click(f.Bar, TPoint(8, 150 - 6));
    ASSERT_GE(f.Seen.size(), 2u);
    EXPECT_EQ(f.Seen[0].Code, scLineDown);
    EXPECT_EQ(f.Seen.back().Code, scEndScroll);
    EXPECT_EQ(f.Bar->Position(), 12);
}

TEST(ScrollBar, PaintsItsThumbWhereThePositionIsIntoACanvasAlsoWhenHidden)
{
    TBarOnForm f;
    f.Bar->Hide(); // as the one that paints scroll bars into cells
    auto paint = [&](int pos) {
        f.Bar->SetPosition(pos);
        TBitmap bmp;
        bmp.SetSize(17, 150);
        bmp.Canvas()->Brush()->SetColor(clFuchsia);
        bmp.Canvas()->FillRect(Rect(0, 0, 17, 150));
        f.Bar->PaintTo(bmp.Canvas(), 0, 0);
        return bmp.ToImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage top = paint(0);
    const QImage bottom = paint(90);
    testutil::SaveImagePng(bottom, QStringLiteral("scrollbar_painted_at_90"));
    for (const QImage& img : { top, bottom }) // painted over the whole bar
        for (QPoint p : { QPoint(1, 1), QPoint(8, 75), QPoint(15, 148) })
            EXPECT_NE(img.pixel(p), qRgb(255, 0, 255));
    EXPECT_NE(top, bottom);
}

} // namespace
