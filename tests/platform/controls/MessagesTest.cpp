// Messages: Perform and SendMessage, the posted-message queue, registered ids,
// timers, and running work on the main thread for a worker.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "CoreTestSupport.h"
#include "common/TestUtil.h"

namespace {

using testutil::PumpUntil;

TEST(Messages, PostedMessagesArriveInOrderAndSkipAFreedControl)
{
    TForm form(nullptr);
    auto* a = new TProbe(&form, &form);
    auto* gone = new TProbe(&form, &form);
    const HWND goneHandle = gone->Handle();
    ASSERT_TRUE(PostMessage(a, WM_USER + 1, 1));
    ASSERT_TRUE(PostMessage(gone, WM_USER + 1, 99));
    ASSERT_TRUE(PostMessage(a, WM_USER + 2, 2));
    ASSERT_TRUE(PostMessage(a->Handle(), WM_USER + 3, 3));
    EXPECT_TRUE(a->Log.isEmpty()); // queued, not sent
    delete gone;
    EXPECT_EQ(FindControl(goneHandle), nullptr);
    EXPECT_FALSE(PostMessage(static_cast<TControl*>(nullptr), WM_USER));
    QCoreApplication::processEvents();
    EXPECT_EQ(a->Log, (QStringList { "user:1:1", "user:2:2", "user:3:3" }));
}

TEST(Messages, PostingFromAWorkerThreadReachesTheMainThread)
{
    TForm form(nullptr);
    auto* a = new TProbe(&form, &form);
    const HWND h = a->Handle();
    std::thread worker([h]() {
        for (int i = 0; i < 5; ++i)
            PostMessage(h, WM_USER + 7, static_cast<WPARAM>(i));
    });
    worker.join();
    PumpUntil([&] { return a->Log.size() == 5; });
    EXPECT_EQ(a->Log, (QStringList { "user:7:0", "user:7:1", "user:7:2", "user:7:3", "user:7:4" }));
}

TEST(Messages, SendMessageAndPerformReachWndProcWithTheResult)
{
    TForm form(nullptr);
    auto* a = new TProbe(&form, &form, DLGC_WANTARROWS | DLGC_WANTCHARS);
    EXPECT_EQ(a->Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
    EXPECT_EQ(SendMessage(a->Handle(), WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
    SendMessage(a, WM_USER + 4, 44);
    EXPECT_EQ(a->Log, QStringList { "user:4:44" });
    EXPECT_EQ(SendMessage(HWND(0), WM_USER), 0);
}

TEST(Messages, RegisteredIdsAreStablePerNameAndInTheirRange)
{
    const UINT done = RegisterWindowMessage("GridEditDone");
    const UINT shift = RegisterWindowMessage("DTPShiftFocus");
    EXPECT_GE(done, 0xC000u);
    EXPECT_LE(done, 0xFFFFu);
    EXPECT_NE(done, shift);
    EXPECT_EQ(RegisterWindowMessage("GridEditDone"), done);
    EXPECT_EQ(RegisterWindowMessage("grideditdone"), done);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST(Timers, ControlTimersDeliverWmTimerPerIdUntilKilledOrFreed)
{
    TForm form(nullptr);
    auto* a = new TProbe(&form, &form);
    EXPECT_EQ(SetTimer(a, 5, 1), 5u);
    EXPECT_EQ(SetTimer(a, 6, 1), 6u);
    PumpUntil([&] { return a->Log.contains("timer:5") && a->Log.contains("timer:6"); });
    EXPECT_TRUE(a->Log.contains("timer:5"));
    EXPECT_TRUE(a->Log.contains("timer:6"));
    EXPECT_TRUE(KillTimer(a, 5));
    EXPECT_FALSE(KillTimer(a, 5));
    a->Log.clear();
    PumpUntil([&] { return a->Log.count("timer:6") >= 3; });
    EXPECT_FALSE(a->Log.contains("timer:5"));
    // A freed control's timers die with it.
    delete a;
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    SUCCEED();
}

TEST(Timers, TimerComponentFiresWhileEnabledAndSurvivesBeingFreedByItsHandler)
{
    TComponent owner(nullptr);
    auto* t = new TTimer(&owner);
    int fired = 0;
    t->SetInterval(1);
    t->OnTimer = [&](TObject*) { ++fired; };
    PumpUntil([&] { return fired >= 2; });
    EXPECT_GE(fired, 2);
    t->SetEnabled(false);
    const int at = fired;
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(fired, at);

    bool freed = false;
    t->OnTimer = [&](TObject* s) {
        delete static_cast<TTimer*>(s);
        freed = true;
    };
    t->SetEnabled(true);
    PumpUntil([&] { return freed; });
    EXPECT_TRUE(freed);
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(Synchronize, RunsOnTheMainThreadAndCanBeCancelledWhileTheMainThreadWaits)
{
    std::atomic<bool> ran { false };
    std::atomic<bool> onMain { false };
    std::atomic<bool> finished { false };
    QThread* mainThread = QThread::currentThread();
    std::thread worker([&]() {
        Synchronize([&]() {
            onMain = QThread::currentThread() == mainThread;
            ran = true;
        });
        finished = true;
    });
    PumpUntil([&] { return finished.load(); });
    worker.join();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(onMain);

    // The main thread waits for the worker without pumping events: the
    // worker's cancel flag releases it instead of a deadlock.
    std::atomic<bool> stop { false };
    std::atomic<bool> result { true };
    std::atomic<bool> ranLate { false };
    std::thread blocked([&]() { result = Synchronize([&]() { ranLate = true; }, [&]() { return stop.load(); }); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop = true;
    blocked.join();
    EXPECT_FALSE(result);
    QCoreApplication::processEvents();
    EXPECT_FALSE(ranLate); // withdrawn, never runs later

    // An exception in the synchronised call reaches the worker.
    std::atomic<bool> caught { false };
    std::thread thrower([&]() {
        try {
            Synchronize([]() { throw EInvalidOperation("boom"); });
        } catch (const EInvalidOperation&) {
            caught = true;
        }
    });
    PumpUntil([&] { return caught.load(); });
    thrower.join();
    EXPECT_TRUE(caught);
}

} // namespace
