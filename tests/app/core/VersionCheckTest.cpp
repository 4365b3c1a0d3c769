// The main window's periodic version check: it runs beside the event loop
// against a small HTTP server on 127.0.0.1, ends within its time-out however
// slow the name service is, re-arms the timer for two hours once it has
// ended, and stops at once when the window goes away.
#include "app/core/LbButton.h"
#include "app/core/SharedStateGuard.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/USoftOptions.h"
#include "common/LoopbackHttpServer.h"
#include "common/TestUtil.h"
#include "platform/controls/Messages.h"
#include "platform/controls/StdCtrls.h"

#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <thread>

namespace {

const QString Script_Path = QStringLiteral("/cgi-bin/version_check.php");

// Held by the test until it opens it. Shared, because a look-up given up on
// finishes alone after the test.
struct TGate {
    std::atomic<bool> Open { false };
    std::atomic<int> Waiting { 0 };
    void Wait()
    {
        ++Waiting;
        const auto cap = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!Open && std::chrono::steady_clock::now() < cap)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
};

class VersionCheckTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Folder = testutil::TempDir();
        Program_Folder_Source = [f = Folder]() { return f; };
    }
    void TearDown() override
    {
        Gate->Open = true;
        Window.reset();
        Program_Folder_Source = nullptr;
    }
    // The main window with both internet options on, its timer armed.
    TFMorvantinoFirmWare* Start()
    {
        Window = std::make_unique<TFMorvantinoFirmWare>(nullptr);
        Window->DoCreate();
        Opt_Enable_Internet = Opt_Enable_Update = true;
        Window->Arm_Update_Timer();
        return Window.get();
    }
    // Runs the event loop until a timer posted now has fired: the window is
    // answering.
    static bool Answering()
    {
        bool ran = false;
        QTimer::singleShot(0, [&ran] { ran = true; });
        return testutil::PumpUntil([&ran] { return ran; }, 2000);
    }
    bool CheckEnds() const
    {
        TFMorvantinoFirmWare* w = Window.get();
        return testutil::PumpUntil([w] { return !w->Version_Check_Running(); });
    }

    QString Folder;
    std::unique_ptr<TFMorvantinoFirmWare> Window;
    std::shared_ptr<TGate> Gate = std::make_shared<TGate>();
};

// The server holds each answer until the test releases it: meanwhile the
// window answers, the timer stays off (an OK of the options dialog does not
// arm it), and only the ended check arms it, for two hours.
TEST_F(VersionCheckTest, RunsBesideTheWindowAndReArmsForTwoHoursOnceEnded)
{
    std::atomic<bool> release { false };
    std::atomic<const char*> answer { "" };
    testutil::TLoopbackHttpServer server([&](int fd, const std::atomic<bool>& stop) {
        while (!release && !stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        testutil::SendAll(fd, QByteArray("HTTP/1.0 200 OK\r\n\r\n") + answer.load());
    });
    ASSERT_TRUE(server.Listening());
    Version_Script_Url = server.Url(Script_Path);
    TFMorvantinoFirmWare* w = Start();
    TTimer* t = w->Timer_Update;
    ASSERT_TRUE(t->Enabled());
    EXPECT_EQ(t->Interval(), 60000u);

    const struct {
        const char* answer;
        bool newer;
    } rounds[] = { { "VER. 1.103", true }, { "VER. 1.102", false } };
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.answer);
        release = false;
        answer = r.answer;
        const int before = server.Connections();
        t->Fire();
        ASSERT_TRUE(testutil::PumpUntil([&] { return server.Connections() > before; }));
        EXPECT_TRUE(Answering());
        EXPECT_TRUE(w->Version_Check_Running());
        EXPECT_FALSE(t->Enabled());
        w->Arm_Update_Timer();
        EXPECT_FALSE(t->Enabled());

        release = true;
        ASSERT_TRUE(CheckEnds());
        EXPECT_TRUE(t->Enabled());
        EXPECT_EQ(t->Interval(), 7200000u);
        EXPECT_EQ(w->LL_Update->Visible(), r.newer);
        if (r.newer) {
            EXPECT_EQ(w->LL_Update->Caption(),
                "<a href=\"https://www.example.com/download.html#KM41208\">" + Lang(19) + "</a>");
        }
    }
    EXPECT_TRUE(server.Request().startsWith("GET /cgi-bin/version_check.php?nomesw=RT41208 HTTP/1.0\r\n"));

    // Options switched off while the check ran: its end arms nothing.
    release = false;
    t->Fire();
    Opt_Enable_Update = false;
    w->Arm_Update_Timer();
    release = true;
    ASSERT_TRUE(CheckEnds());
    EXPECT_FALSE(t->Enabled());
}

// A name service that never answers: the check still ends at its time-out,
// with no information, and the window answers all along.
TEST_F(VersionCheckTest, ASlowNameLookUpEndsWithinTheTimeOut)
{
    Version_Script_Url = QStringLiteral("http://version-script.test") + Script_Path;
    TFMorvantinoFirmWare* w = Start();
    std::shared_ptr<TGate> gate = Gate;
    w->HTTP1.Resolver = [gate](const QString& host) {
        EXPECT_EQ(host, "version-script.test");
        gate->Wait();
        return QStringList { "127.0.0.1" };
    };
    w->LL_Update->SetVisible(true);
    QElapsedTimer clock;
    clock.start();
    w->Timer_Update->Fire();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(Answering());
    ASSERT_TRUE(CheckEnds());
    EXPECT_GE(clock.elapsed(), Version_Check_Timeout - 50);
    // The margin only keeps a loaded machine from failing it.
    EXPECT_LT(clock.elapsed(), Version_Check_Timeout + 1500);
    EXPECT_EQ(Gate->Waiting, 1);
    EXPECT_FALSE(w->LL_Update->Visible());
    EXPECT_TRUE(w->Timer_Update->Enabled());
    EXPECT_EQ(w->Timer_Update->Interval(), 7200000u);
}

// Closing the program while a check waits, for the name service or for the
// server, neither waits for the check nor lets its answer reach a freed
// window; the options dialog's own check stops the same way.
TEST_F(VersionCheckTest, ClosingDuringACheckStopsItAtOnce)
{
    // Silent until the client goes away.
    testutil::TLoopbackHttpServer server([](int fd, const std::atomic<bool>& stop) {
        char byte = 0;
        while (!stop) {
            pollfd p { fd, POLLIN, 0 };
            if (::poll(&p, 1, 10) > 0 && ::recv(fd, &byte, 1, 0) <= 0)
                return;
        }
    });
    ASSERT_TRUE(server.Listening());
    const QString byName = QStringLiteral("http://version-script.test:%1").arg(server.Port()) + Script_Path;
    const std::pair<const char*, QString> cases[] = { { "look-up", byName }, { "reply", server.Url(Script_Path) } };
    for (const auto& [what, url] : cases) {
        SCOPED_TRACE(what);
        Version_Script_Url = url;
        TFMorvantinoFirmWare* w = Start();
        std::shared_ptr<TGate> gate = Gate;
        w->HTTP1.Resolver = [gate](const QString&) {
            gate->Wait();
            return QStringList { "127.0.0.1" };
        };
        const int before = server.Connections();
        const int waiting = Gate->Waiting;
        w->Timer_Update->Fire();
        ASSERT_TRUE(testutil::PumpUntil([&] { return server.Connections() > before || Gate->Waiting > waiting; }));
        QElapsedTimer clock;
        clock.start();
        Window.reset();
        EXPECT_LT(clock.elapsed(), 1000);
        testutil::PumpUntil([] { return false; }, 100);
    }

    Version_Script_Url = server.Url(Script_Path);
    Start();
    Opt_Enable_Internet = Opt_Enable_Update = true;
    auto options = std::make_unique<TFSoftOptions>(nullptr);
    options->Show();
    const int before = server.Connections();
    options->Btn_Check_Update->Click();
    ASSERT_TRUE(testutil::PumpUntil([&] { return server.Connections() > before; }));
    QElapsedTimer clock;
    clock.start();
    options.reset();
    EXPECT_LT(clock.elapsed(), 1000);
    testutil::PumpUntil([] { return false; }, 100);
}

} // namespace
