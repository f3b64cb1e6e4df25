// Periodic timer, millisecond clock and recursive lock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "fgbase.h"
#include "timer.h"

namespace {

std::atomic<int> calls{0};
std::atomic<bool> inCall{false};
std::mutex idsLock;
std::set<std::thread::id> callerIds;

void Count(int) { ++calls; }

void RecordThread(int) {
    std::lock_guard<std::mutex> g(idsLock);
    callerIds.insert(std::this_thread::get_id());
    ++calls;
}

void SlowHandler(int) {
    inCall = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    inCall = false;
    ++calls;
}

void StopFromHandler(int) {
    ++calls;
    fg_set_timer(0, nullptr);
}

// Waits (without a deadline that could fail a slow machine's run) for n calls.
void WaitCalls(int n) {
    while (calls.load() < n)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls = 0;
        callerIds.clear();
    }
    void TearDown() override { fg_timer_close(); }
};

TEST_F(TimerTest, StoppingWhenNothingRunsSucceeds) {
    EXPECT_EQ(fg_set_timer(0, nullptr), 0);
    EXPECT_EQ(fg_set_timer(0, nullptr), 0);
}

TEST_F(TimerTest, NewPeriodReplacesTheRunningTimer) {
    ASSERT_EQ(fg_set_timer(3, Count), 0);
    WaitCalls(3);
    ASSERT_EQ(fg_set_timer(4, RecordThread), 0);
    calls = 0;
    {
        std::lock_guard<std::mutex> g(idsLock);
        callerIds.clear();
    }
    WaitCalls(10);
    fg_set_timer(0, nullptr);
    // Every call after the change came from one timer thread.
    std::lock_guard<std::mutex> g(idsLock);
    EXPECT_EQ(callerIds.size(), 1u);
    EXPECT_EQ(callerIds.count(std::this_thread::get_id()), 0u);
}

TEST_F(TimerTest, NoCallbackAfterStopReturns) {
    ASSERT_EQ(fg_set_timer(1, SlowHandler), 0);
    WaitCalls(2);
    // A call under way when the stop comes is finished before the stop returns.
    fg_set_timer(0, nullptr);
    EXPECT_FALSE(inCall.load());
    int seen = calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(calls.load(), seen);
    EXPECT_FALSE(inCall.load());
}

TEST_F(TimerTest, CloseStopsAndHandlerMayStopItself) {
    ASSERT_EQ(fg_timer_open(), 0);
    EXPECT_LE(fg_timer_start_time(), fg_time_ms());
    ASSERT_EQ(fg_set_timer(2, Count), 0);
    WaitCalls(2);
    fg_timer_close();
    int seen = calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(calls.load(), seen);

    calls = 0;
    ASSERT_EQ(fg_set_timer(1, StopFromHandler), 0);
    WaitCalls(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(calls.load(), 1);
    EXPECT_EQ(fg_set_timer(0, nullptr), 0);
}

TEST_F(TimerTest, RefusedPeriodReportsFailure) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(fg_set_timer(-5, Count), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "timeSetEvent() failed!\n");
    EXPECT_EQ(plat::timer_start(0, [](void*) {}, nullptr), 0);
    plat::timer_kill(12345);  // unknown ids are ignored
}

TEST_F(TimerTest, TimerObjectClosesTheLayer) {
    {
        FGTimer timer(0, Count);
        EXPECT_EQ(timer.timer_id, 0);
        EXPECT_EQ(timer.argument, -1);
        ASSERT_EQ(fg_set_timer(2, Count), 0);
        WaitCalls(2);
    }
    int seen = calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(calls.load(), seen);
}

TEST(Clock, NeverGoesBack) {
    uint32_t a = fg_time_ms();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    uint32_t b = fg_time_ms();
    EXPECT_GE(b, a);
}

TEST(Mutex, OwnerRelocksAndOthersWaitForTheLastUnlock) {
    FGMutex m(0);
    m.Lock();
    m.Lock();  // recursive: no deadlock
    std::atomic<bool> acquired{false};
    std::thread other([&] {
        m.Lock();
        acquired = true;
        m.Unlock();
    });
    m.Unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(acquired.load());
    m.Unlock();
    other.join();
    EXPECT_TRUE(acquired.load());
}

TEST(ColorScheme, CurrentIsTheDefault) {
    ASSERT_EQ(CScheme, &FGDefaultColorScheme);
    EXPECT_EQ(CScheme->color[2], 0x0000F8);
    EXPECT_EQ(CScheme->color[30], 0xFCE000);
    EXPECT_EQ(CScheme->color[33], 0xA8B8AC);
}

}  // namespace
