// The balloon tool tip: asks its tool for the text just before it shows,
// never takes activation, wraps at its width, falls back to the info colours,
// hides on a press, after its delay or when the mouse leaves; and the date
// picker's change notification to its parent.
#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>

#include "platform/controls/BalloonTip.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Notifications.h"
#include "platform/graphics/Bitmaps.h"
#include "tests/common/TestUtil.h"

namespace {

// A tool that answers the tip's questions and logs its notifications.
class TTipTool : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    QString Answer = QStringLiteral("Cell text");
    TBalloonTip* Tip = nullptr;
    QStringList Log;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_NOTIFY) {
            auto* info = reinterpret_cast<TNMTTDispInfo*>(Message.LParam);
            if (info->hdr.code == TTN_GETDISPINFO) {
                Log << QStringLiteral("text");
                info->Text = Answer;
                if (Tip)
                    Tip->SetTitle(QStringLiteral("Title"), btiInfo);
            } else if (info->hdr.code == TTN_SHOW) {
                Log << QStringLiteral("show");
            } else if (info->hdr.code == TTN_POP) {
                Log << QStringLiteral("pop");
            } else if (info->hdr.code == DTN_DATETIMECHANGE) {
                const auto* dt = reinterpret_cast<TNMDateTimeChange*>(Message.LParam);
                Log << QStringLiteral("date %1-%2-%3").arg(dt->st.wYear).arg(dt->st.wMonth).arg(dt->st.wDay);
            }
            return;
        }
        TCustomControl::WndProc(Message);
    }
};

struct TTipFixture {
    TForm Form { nullptr };
    TTipTool* Tool;
    TBalloonTip* Tip;
    TTipFixture()
    {
        Form.SetBounds(50, 50, 300, 200);
        Form.Show();
        Tool = new TTipTool(&Form);
        Tool->SetParent(&Form);
        Tool->SetBounds(10, 10, 200, 100);
        Tip = new TBalloonTip(&Form);
        Tool->Tip = Tip;
        Tip->SetTool(Tool);
        Tip->SetDelay(TTipDelay::tdInitial, 10);
    }
};

TColor Pixel(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return TColor(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

} // namespace

TEST(BalloonTip, RestingMouseAsksForTheTextThenShowsUnactivatedAtThePoint)
{
    TTipFixture f;
    f.Tool->SetFocus();
    input::MouseMove(f.Tool, TPoint(20, 30));
    EXPECT_TRUE(f.Tool->Log.isEmpty()); // nothing before the delay
    ASSERT_TRUE(testutil::PumpUntil([&] { return f.Tip->Active(); }, 3000));
    EXPECT_EQ(f.Tool->Log, QStringList({ "text", "show" }));
    EXPECT_EQ(f.Tip->TipText(), "Cell text");
    EXPECT_EQ(f.Tip->Title(), "Title");
    EXPECT_EQ(f.Tip->Anchor(), f.Tool->ClientToScreen(TPoint(20, 30)));
    // The stem's point is at the anchor.
    EXPECT_EQ(f.Tip->Top(), f.Tip->Anchor().Y);
    EXPECT_TRUE(f.Tip->WindowMask().contains(QPoint(f.Tip->Anchor().X - f.Tip->Left(), 1)));
    EXPECT_FALSE(f.Tip->ActivatesOnShow());
    EXPECT_FALSE(f.Tip->AcceptsFocus());
    EXPECT_EQ(f.Form.FocusedControl(), f.Tool);

    input::MouseDown(f.Tool, mbLeft, TPoint(20, 30));
    input::MouseUp(f.Tool, mbLeft, TPoint(20, 30));
    EXPECT_FALSE(f.Tip->Active());
    EXPECT_FALSE(f.Tip->Visible());
    EXPECT_EQ(f.Tool->Log.last(), "pop");
}

TEST(BalloonTip, EmptyTextShowsNothingAndTheAutoHideDelayEndsATip)
{
    TTipFixture f;
    f.Tool->Answer.clear();
    EXPECT_FALSE(f.Tip->Popup(TPoint(100, 100)));
    EXPECT_FALSE(f.Tip->Visible());
    EXPECT_EQ(f.Tool->Log, QStringList({ "text" }));

    f.Tool->Answer = QStringLiteral("x");
    f.Tip->SetDelay(TTipDelay::tdAutoPop, 20);
    ASSERT_TRUE(f.Tip->Popup(TPoint(100, 100)));
    ASSERT_TRUE(testutil::PumpUntil([&] { return !f.Tip->Active(); }, 3000));
    EXPECT_EQ(f.Tool->Log.last(), "pop");
    EXPECT_EQ(f.Tip->Delay(TTipDelay::tdInitial), 10);
    f.Tip->SetDelay(TTipDelay::tdInitial, -1);
    EXPECT_EQ(f.Tip->Delay(TTipDelay::tdInitial), 500); // back to the default
    f.Tip->SetTitle(QStringLiteral("t"), 7);
    EXPECT_EQ(f.Tip->TitleIcon(), btiNone);
}

TEST(BalloonTip, TextWrapsAtTheMaximumWidthAndColoursFallBackToTheInfoColours)
{
    TTipFixture f;
    f.Tool->Answer = QStringLiteral("one two three four five six seven eight nine ten eleven twelve");
    f.Tip->SetMaxTipWidth(120);
    ASSERT_TRUE(f.Tip->Popup(TPoint(100, 100)));
    TBitmap probe;
    probe.SetSize(1, 1);
    probe.Canvas()->SetFont(f.Tip->Font());
    const int line = probe.Canvas()->TextHeight(QStringLiteral("Ag"));
    EXPECT_LE(f.Tip->TextRect().Width(), 120);
    EXPECT_GE(f.Tip->TextRect().Height(), 3 * line);

    // A point of the body's padding, below the text.
    const TPoint inside(f.Tip->BodyRect().Right - 4, f.Tip->BodyRect().Bottom - 4);
    EXPECT_EQ(Pixel(f.Tip->PaintToImage(), inside.X, inside.Y), ColorToRGB(clInfoBk));
    f.Tip->SetTipBkColor(TColor(0x00FFCC));
    EXPECT_EQ(Pixel(f.Tip->PaintToImage(), inside.X, inside.Y), TColor(0x00FFCC));
}

TEST(BalloonTip, PictureOfATipWithTitleIconAndWrappedText)
{
    TTipFixture f;
    f.Tool->Answer = QStringLiteral("The value must lie between 0 and 255; the cell keeps its old value.");
    f.Tool->Tip = nullptr;
    f.Tip->SetTitle(QStringLiteral("Invalid entry"), btiWarning);
    f.Tip->SetMaxTipWidth(200);
    ASSERT_TRUE(f.Tip->Popup(TPoint(100, 100)));
    // The window's shape cuts what lies outside the balloon: white there.
    QImage img = f.Tip->PaintToImage().convertToFormat(QImage::Format_RGB32);
    const QRegion shape = f.Tip->WindowMask();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!shape.contains(QPoint(x, y)))
                img.setPixel(x, y, qRgb(255, 255, 255));
    testutil::SaveImagePng(img, QStringLiteral("balloon_tip"));
    EXPECT_TRUE(testutil::MatchesGolden(img, QStringLiteral("balloon_tip")));
}

TEST(DateTimePickerNotify, TheParentHearsOfAChangeBeforeOnChange)
{
    TForm form(nullptr);
    form.SetBounds(50, 50, 300, 200);
    form.Show();
    auto* host = new TTipTool(&form);
    host->SetParent(&form);
    host->SetBounds(0, 0, 250, 100);
    auto* picker = new TDateTimePicker(&form);
    picker->SetParent(host);
    picker->SetBounds(10, 10, 150, 22);
    picker->SetDateTime(45356.0); // 2024-03-05
    picker->OnChange = [&](TObject*) { host->Log << QStringLiteral("change"); };
    picker->SetFocus();
    input::Key(picker, VK_UP);
    ASSERT_FALSE(host->Log.isEmpty());
    EXPECT_TRUE(host->Log.first().startsWith("date 20"));
    EXPECT_EQ(host->Log.last(), "change");
}
