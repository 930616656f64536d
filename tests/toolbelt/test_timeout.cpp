#include "SystemTime.h"
#include "TimeOut.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

namespace {

std::uint32_t g_fakeNow = 0;
std::uint32_t FakeTicks() {
    return g_fakeNow;
}

class FakeClock : public ::testing::Test {
protected:
    void SetUp() override { SetTickSource(&FakeTicks); }
    void TearDown() override { SetTickSource(nullptr); }
};

TEST_F(FakeClock, ZeroLimitExpiresAfterOneMillisecondAndTheCounterMayWrap) {
    g_fakeNow = 0xFFFFFFFFu - 9; // 10 ms before the wrap
    CTimeOut zero, at19(19), at20(20);
    zero.Reset();
    EXPECT_EQ(zero.IsTimeOut(), 0);
    g_fakeNow += 1;
    EXPECT_EQ(zero.IsTimeOut(), 1);
    g_fakeNow -= 1;
    at19.Reset();
    at20.Reset();
    g_fakeNow = 10; // 10 ms after it: 20 ms elapsed
    EXPECT_EQ(at19.IsTimeOut(), 1);
    EXPECT_EQ(at20.IsTimeOut(), 0);
    at20.SetTime(19);
    EXPECT_EQ(at20.IsTimeOut(), 1);
    CTimeOut copy = at19;
    EXPECT_EQ(copy.IsTimeOut(), 1);
}

// Only the lower bound: a loaded machine may take longer than 5 ms anywhere.
TEST(SystemTicks, AdvanceWithRealTime) {
    CTimeOut t(5);
    t.Reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(7));
    EXPECT_EQ(t.IsTimeOut(), 1);
}

TEST(ElapsedTime, SplitsIntoClockFields) {
    SYSTEMTIME st{};
    ElapsedTimeToSystemTime(3723004, &st);
    EXPECT_EQ(std::tie(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds),
              std::make_tuple(1, 2, 3, 4));
    EXPECT_EQ(st.wYear + st.wMonth + st.wDay + st.wDayOfWeek, 0);

    ElapsedTimeToSystemTime(25 * 3600000 + 59 * 60000, &st);
    EXPECT_EQ(std::tie(st.wHour, st.wMinute), std::make_tuple(25, 59));

    ElapsedTimeToSystemTime(-1, &st);
    EXPECT_EQ(st.wHour + st.wMinute + st.wSecond + st.wMilliseconds, 0);
    ElapsedTimeToSystemTime(5, nullptr);
}

} // namespace
