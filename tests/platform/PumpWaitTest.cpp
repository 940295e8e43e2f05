#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "platform/PumpWait.h"

namespace ebook {
namespace {

using namespace std::chrono;

TEST(PumpWait, WaitsTheTimeAskedWhileThePumpRuns) {
  int pumped = 0;
  MessagePump previous = SetMessagePump([&] { ++pumped; });
  const auto begin = steady_clock::now();
  PumpWait(10);
  const auto waited = steady_clock::now() - begin;
  PumpWait(0);
  SetMessagePump(previous);
  EXPECT_GE(waited, milliseconds(10));
  EXPECT_GE(pumped, 2);
}

// The wait lasts the time asked at any uptime, including where a signed 32-bit millisecond
// count would already have overflowed (24.8 days) or an unsigned one wrapped (49.7 days).
TEST(PumpWait, LastsTheTimeAskedAtEveryUptime) {
  const int64_t day = 24LL * 3600 * 1000;
  for (int64_t uptimeMs :
       {int64_t{0}, int64_t{25}, (int64_t{1} << 31) - 5, int64_t{1} << 31, (int64_t{1} << 32) - 5,
        (int64_t{1} << 32) + 3, 400 * day, 100000 * day}) {
    milliseconds now{uptimeMs};
    MonotonicClock previousClock = SetMonotonicClock([&] { return nanoseconds(now); });
    int pumped = 0;
    MessagePump previousPump = SetMessagePump([&] {
      ++pumped;
      now += milliseconds(1);  // each round of messages takes a millisecond of this clock
    });
    PumpWait(10);
    SetMessagePump(previousPump);
    SetMonotonicClock(previousClock);
    EXPECT_EQ(now - milliseconds(uptimeMs), milliseconds(10)) << "uptime " << uptimeMs << " ms";
    EXPECT_EQ(pumped, 10) << "uptime " << uptimeMs << " ms";
  }
}

}  // namespace
}  // namespace ebook
