#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/test_hooks.h"
#include "platform/winbase/time_api.h"

namespace {

class ManualClockTest : public ::testing::Test {
protected:
    void SetUp() override { win32_test::UseManualClock(true); }
    void TearDown() override { win32_test::UseManualClock(false); }
};

TEST_F(ManualClockTest, CountersFollowTheManualClock) {
    LARGE_INTEGER frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    LARGE_INTEGER count;
    ASSERT_TRUE(QueryPerformanceCounter(&count));
    EXPECT_EQ(count.QuadPart, 0);
    EXPECT_EQ(timeGetTime(), 0u);

    win32_test::AdvanceClockMicroseconds(1500);
    ASSERT_TRUE(QueryPerformanceCounter(&count));
    EXPECT_EQ(count.QuadPart, frequency.QuadPart * 1500 / 1000000);
    EXPECT_EQ(timeGetTime(), 1u);

    // The millisecond timer wraps at 32 bits.
    win32_test::AdvanceClockMicroseconds((1ull << 32) * 1000);
    EXPECT_EQ(timeGetTime(), 1u);
}

TEST_F(ManualClockTest, SleepersWakeOnlyWhenTheClockReachesTheirDeadline) {
    std::atomic<int> wakeUps{0};
    std::atomic<bool> stop{false};
    std::thread sleeper([&] {
        while (!stop.load()) {
            Sleep(50);
            wakeUps.fetch_add(1);
        }
    });
    for (int round = 1; round <= 3; ++round) {
        win32_test::WaitForSleepers(1);
        EXPECT_EQ(wakeUps.load(), round - 1);
        win32_test::AdvanceClockMicroseconds(49999);  // one microsecond short
        win32_test::WaitForSleepers(1);               // still asleep: returns at once
        EXPECT_EQ(wakeUps.load(), round - 1);
        if (round == 3) {
            stop.store(true);
        }
        win32_test::AdvanceClockMicroseconds(1);
    }
    sleeper.join();
    EXPECT_EQ(wakeUps.load(), 3);
    EXPECT_EQ(timeGetTime(), 150u);
}

TEST_F(ManualClockTest, LeavingTheManualClockReleasesSleepers) {
    // Shared with the thread, which outlives the test if it is never released.
    auto woke = std::make_shared<std::promise<void>>();
    std::future<void> returned = woke->get_future();
    std::thread sleeper([woke] {
        Sleep(1000000);
        woke->set_value();
    });
    win32_test::WaitForSleepers(1);
    win32_test::UseManualClock(false);
    // Released, the sleeper returns at once; kept asleep, it would sleep 1000 real seconds.
    const bool released = returned.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (released) {
        sleeper.join();
    } else {
        sleeper.detach();
    }
    ASSERT_TRUE(released) << "a sleeper of the manual clock still sleeps after leaving it";
    Sleep(0);  // the real clock: returns at once
}

// A stop request ends a SleepUnless on either clock without the clock moving, as a thread
// joining a streaming thread needs.
TEST(InterruptibleSleepTest, WakeEndsTheSleepAtOnceOnEitherClock) {
    for (const bool manual : {true, false}) {
        win32_test::UseManualClock(manual);
        std::atomic<bool> stop{false};
        std::atomic<int> steps{0};
        std::thread sleeper([&] {
            SleepUnless(600000, stop);
            steps.fetch_add(1);
        });
        if (manual) {
            win32_test::WaitForSleepers(1);
        }
        stop.store(true);
        WakeSleepers();
        sleeper.join();
        EXPECT_EQ(steps.load(), 1) << manual;
        if (manual) {
            EXPECT_EQ(timeGetTime(), 0u) << "the clock stood still";
        }
        SleepUnless(600000, stop);  // already set: returns at once
        win32_test::UseManualClock(false);
    }
}

TEST(RealClockTest, NeverRunsBackwards) {
    LARGE_INTEGER frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 1000000000);
    LARGE_INTEGER previous;
    QueryPerformanceCounter(&previous);
    for (int i = 0; i < 1000; ++i) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        ASSERT_GE(now.QuadPart, previous.QuadPart);
        previous = now;
    }
}

}  // namespace
