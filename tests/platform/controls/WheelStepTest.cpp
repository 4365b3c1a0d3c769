// Every control steps its wheel-down and wheel-up once per whole notch: a fast
// turn brings several notches in one event, a fine-grained wheel fractions of
// one.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "CoreTestSupport.h"

namespace {

// A turn of `delta` (WHEEL_DELTA a notch) reaching the control the way the
// form hands it on.
void Turn(TControl* c, int delta)
{
    c->Perform(CM_MOUSEWHEEL, WPARAM(WORD(std::int16_t(delta))) << 16, 0);
}

TEST(WheelSteps, OneStepPerWholeNotchAndFractionsStayWithTheControlThatTakesThem)
{
    struct Case {
        const char* name;
        bool innerTakes;
        std::vector<int> turns;
        QStringList log;
    };
    const Case cases[] = {
        { "one notch", true, { -120 }, { "down" } },
        { "two notches in one turn", true, { -240 }, { "down", "down" } },
        { "up", true, { 120, 360 }, { "up", "up", "up", "up" } },
        { "fractions add up to a notch", true, { -120, -60, -60 }, { "down", "down" } },
        // Before the control has taken a notch its fractions go on up.
        { "first fraction", true, { -60, -60 }, { "outer:-60", "down" } },
        { "turning back drops the rest", true, { -120, -60, 120 }, { "down", "up" } },
        { "not taken: the parent gets the turn", false, { -240 }, { "down", "down", "outer:-240" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShownForm f;
        auto* outer = new TProbe(f.Form, f.Form);
        outer->SetBounds(0, 0, 200, 100);
        auto* inner = new TProbe(f.Form, outer);
        QStringList log;
        const bool takes = c.innerTakes;
        inner->OnMouseWheelDown = [&log, takes](TObject*, TShiftState, TPoint, bool& handled) {
            log << QStringLiteral("down");
            handled = takes;
        };
        inner->OnMouseWheelUp = [&log, takes](TObject*, TShiftState, TPoint, bool& handled) {
            log << QStringLiteral("up");
            handled = takes;
        };
        outer->OnMouseWheel = [&log](TObject*, TShiftState, int delta, TPoint, bool& handled) {
            log << QStringLiteral("outer:%1").arg(delta);
            handled = true;
        };
        for (int d : c.turns)
            Turn(inner, d);
        EXPECT_EQ(log, c.log);
    }
}

TEST(WheelSteps, AHandlerFreeingTheControlEndsTheSteps)
{
    ShownForm f;
    auto* victim = new TProbe(f.Form, f.Form);
    int steps = 0;
    victim->OnMouseWheelDown = [&steps, victim](TObject*, TShiftState, TPoint, bool& handled) {
        ++steps;
        handled = true;
        delete victim;
    };
    Turn(victim, -360);
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(f->ControlCount(), 0);
}

} // namespace
