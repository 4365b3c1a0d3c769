// Waiting for registry changes: a value written under the watched key or a
// sub-key wakes the waiter; other keys do not; Cancel releases it.
#include "common/TestUtil.h"
#include "platform/runtime/Registry.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

class RegChangeWaiter : public ::testing::Test {
protected:
    void SetUp() override { TRegistry::SetStorageFile(testutil::TempDir() + "/registry.ini"); }
    void TearDown() override { TRegistry::SetStorageFile(QString()); }

    static void Write(const QString& key, const QString& name)
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteInteger(name, 1);
    }
};

TEST_F(RegChangeWaiter, WakesForValuesUnderTheKeyOnly)
{
    TRegChangeWaiter waiter(HKEY_CURRENT_USER, "Software\\Maker\\Common");
    struct Case {
        HKEY root;
        QString key;
        bool wakes;
    };
    const Case cases[] = {
        { HKEY_CURRENT_USER, "\\Software\\Maker\\Common", true },
        { HKEY_CURRENT_USER, "\\software\\maker\\COMMON\\General", true }, // sub-key, any case
        { HKEY_CURRENT_USER, "\\Software\\Maker", false }, // the parent
        { HKEY_CURRENT_USER, "\\Software\\Maker\\CommonX", false }, // a sibling sharing the prefix
        { HKEY_LOCAL_MACHINE, "\\Software\\Maker\\Common", false }, // another root
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        waiter.Reset();
        TRegistry reg;
        reg.SetRootKey(c.root);
        ASSERT_TRUE(reg.OpenKey(c.key, true));
        reg.WriteString("Theme", "2");
        EXPECT_EQ(waiter.Wait(0), c.wakes);
    }
    // Removing a value is a change too.
    waiter.Reset();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Maker\\Common", false));
    EXPECT_TRUE(reg.DeleteValue("Theme"));
    EXPECT_TRUE(waiter.Wait(0));
}

TEST_F(RegChangeWaiter, AChangeWakesAWaitingThreadAndCancelReleasesIt)
{
    TRegChangeWaiter waiter(HKEY_CURRENT_USER, "Software\\Watched");
    std::atomic<int> result { -1 };
    std::thread t([&] { result = waiter.Wait() ? 1 : 0; });
    Write("\\Software\\Watched", "A");
    t.join();
    EXPECT_EQ(result, 1);

    waiter.Reset();
    std::thread t2([&] { result = waiter.Wait() ? 1 : 0; });
    waiter.Cancel();
    t2.join();
    EXPECT_EQ(result, 0);
    Write("\\Software\\Watched", "B");
    EXPECT_FALSE(waiter.Wait(0)); // cancelled for good
    EXPECT_TRUE(waiter.Cancelled());
}

} // namespace
