#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>

#include "platform/controls/Buttons.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/PlatformInfo.h"

namespace {

struct TButtonForm {
    TForm* Form = new TForm(nullptr);
    TPanel* Panel;
    TButtonForm()
    {
        Form->SetBounds(0, 0, 200, 100);
        Panel = new TPanel(Form);
        Panel->SetParent(Form);
        Panel->SetBounds(0, 0, 200, 100);
        Form->Show();
    }
    ~TButtonForm() { delete Form; }
    TSpeedButton* Add(int left)
    {
        auto* b = new TSpeedButton(Form);
        b->SetParent(Panel);
        b->SetBounds(left, 10, 30, 22);
        return b;
    }
};

TEST(SpeedButton, ReportsPressAndReleaseWhereverTheReleaseIs)
{
    TButtonForm f;
    TSpeedButton* b = f.Add(10);
    QStringList log;
    b->OnMouseDown
        = [&](TObject*, TMouseButton, TShiftState, int x, int y) { log << QString("down %1,%2").arg(x).arg(y); };
    b->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) { log << QString("up %1,%2").arg(x).arg(y); };
    b->OnClick = [&](TObject*) { log << "click"; };

    input::MouseDown(b, mbLeft, TPoint(5, 5));
    EXPECT_EQ(b->State(), bsDown);
    EXPECT_EQ(GetCaptureControl(), b);
    // Dragged off, the face comes up; the release far away still reaches it.
    input::MouseMove(b, TPoint(100, 60));
    EXPECT_EQ(b->State(), bsUp);
    input::MouseUp(b, mbLeft, TPoint(100, 60));
    EXPECT_EQ(GetCaptureControl(), nullptr);
    input::Click(b, TPoint(5, 5));
    EXPECT_EQ(log, QStringList({ "down 5,5", "up 100,60", "down 5,5", "up 5,5", "click" }));
}

TEST(SpeedButton, HotWhileTheMouseIsOver)
{
    TButtonForm f;
    TSpeedButton* b = f.Add(10);
    TSpeedButton* other = f.Add(100);
    input::MouseMove(b, TPoint(5, 5));
    EXPECT_TRUE(b->Hot());
    input::MouseMove(other, TPoint(5, 5));
    EXPECT_FALSE(b->Hot());
    EXPECT_TRUE(other->Hot());
}

TEST(SpeedButton, GroupKeepsOneButtonDown)
{
    TButtonForm f;
    TSpeedButton* a = f.Add(10);
    TSpeedButton* b = f.Add(50);
    a->SetDown(true); // outside a group nothing stays down
    EXPECT_FALSE(a->Down());
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    input::Click(a, TPoint(5, 5));
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->State(), bsExclusive);
    input::Click(b, TPoint(5, 5));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    // The last one stays down unless all may be up.
    input::Click(b, TPoint(5, 5));
    EXPECT_TRUE(b->Down());
    b->SetAllowAllUp(true);
    input::Click(b, TPoint(5, 5));
    EXPECT_FALSE(b->Down());
}

// The face follows the theme: pressed and raised differ, and the classic
// frame differs from the themed button.
TEST(SpeedButton, PaintsThemedOrClassicFaces)
{
    auto picture = [](bool themes, bool press) {
        TPlatformInfo facts = PlatformInfo();
        facts.ThemesActive = themes;
        TPlatformInfoScope scope(facts);
        TButtonForm f;
        TSpeedButton* b = f.Add(10);
        b->SetCaption("A");
        if (press)
            input::MouseDown(b, mbLeft, TPoint(5, 5));
        QImage img = f.Panel->PaintToImage().copy(10, 10, 30, 22);
        if (press)
            input::MouseUp(b, mbLeft, TPoint(5, 5));
        return img;
    };
    const QImage themed = picture(true, false);
    const QImage themedDown = picture(true, true);
    const QImage classic = picture(false, false);
    const QImage classicDown = picture(false, true);
    EXPECT_NE(themed, themedDown);
    EXPECT_NE(classic, classicDown);
    EXPECT_NE(themed, classic);
    // The classic raised frame: a light top-left and a dark bottom-right line.
    EXPECT_GT(qGray(classic.pixel(1, 1)), qGray(classic.pixel(28, 20)));
}

} // namespace
