// The application's hint window class can be switched; the hint's data
// reaches the window; monitors by point.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"

namespace {

class TRecordingHint : public THintWindow {
public:
    using THintWindow::THintWindow;
    QString ClassName() const override { return QStringLiteral("TRecordingHint"); }
    TRect CalcHintRect(int maxWidth, const QString& hint, TObject* AData) override
    {
        CalcData = AData;
        return THintWindow::CalcHintRect(maxWidth, hint, AData);
    }
    void ActivateHintData(TRect r, const QString& hint, TObject* AData) override
    {
        ShownData = AData;
        THintWindow::ActivateHintData(r, hint, AData);
    }
    TObject* CalcData = nullptr;
    TObject* ShownData = nullptr;
};

// Hands itself to the hint window as the hint's data.
class THintDataPanel : public TPanel {
public:
    using TPanel::TPanel;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == CM_HINTSHOW)
            reinterpret_cast<THintInfo*>(Message.LParam)->HintData = this;
        TPanel::WndProc(Message);
    }
};

TEST(HintWindowClass, NextHintUsesTheClassInForceAndGetsItsData)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* panel = new THintDataPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 100, 50);
    panel->SetHint(QStringLiteral("tip"));
    panel->SetShowHint(true);
    form.Show();

    SetHintWindowClass<TRecordingHint>();
    ASSERT_TRUE(Application->ActivateHint(panel, TPoint(10, 10)));
    auto* hint = dynamic_cast<TRecordingHint*>(Application->HintWindow());
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->CalcData, panel);
    EXPECT_EQ(hint->ShownData, panel);
    EXPECT_TRUE(hint->Widget()->isVisible());
    EXPECT_TRUE(hint->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(hint->Widget()->testAttribute(Qt::WA_ShowWithoutActivating));

    SetHintWindowClass(nullptr);
    ASSERT_TRUE(Application->ActivateHint(panel, TPoint(10, 10)));
    EXPECT_EQ(Application->HintWindow()->ClassName(), QStringLiteral("THintWindow"));
    Application->CancelHint();
    Application->DestroyComponents();
}

TEST(Screen, MonitorHoldingOrNearestToAPoint)
{
    const QRect g = QGuiApplication::primaryScreen()->geometry();
    for (TPoint p : { TPoint(g.x() + 5, g.y() + 5), TPoint(g.right() + 500, g.bottom() + 500), TPoint(-3000, -10) }) {
        const TMonitor m = Screen->MonitorFromPoint(p);
        EXPECT_EQ(m.BoundsRect, Bounds(g.x(), g.y(), g.width(), g.height()));
        EXPECT_EQ(m.Width(), g.width());
        EXPECT_EQ(m.Left(), g.x());
    }
    EXPECT_GE(Screen->MonitorCount(), 1);
}

} // namespace
