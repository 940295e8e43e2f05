#include "platform/PumpWait.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace ebook {
namespace {

using std::chrono::nanoseconds;

MessagePump& CurrentPump() {
  static MessagePump pump;
  return pump;
}

nanoseconds SteadyNow() { return std::chrono::steady_clock::now().time_since_epoch(); }

MonotonicClock& CurrentClock() {
  static MonotonicClock clock = SteadyNow;
  return clock;
}

// The longest nap between two rounds of the pump: short enough that timers and input are
// served promptly, long enough that the wait costs next to no processor time.
constexpr nanoseconds kMaxNap = std::chrono::milliseconds(1);

}  // namespace

MessagePump SetMessagePump(MessagePump pump) {
  return std::exchange(CurrentPump(), std::move(pump));
}

MonotonicClock SetMonotonicClock(MonotonicClock clock) {
  if (!clock) clock = SteadyNow;
  return std::exchange(CurrentClock(), std::move(clock));
}

void PumpWait(int ms) {
  const MonotonicClock& clock = CurrentClock();
  const nanoseconds deadline = clock() + std::chrono::milliseconds(std::max(ms, 0));
  for (;;) {
    if (const MessagePump& pump = CurrentPump()) pump();
    const nanoseconds now = clock();
    if (now >= deadline) return;
    std::this_thread::sleep_for(std::min(deadline - now, kMaxNap));
  }
}

}  // namespace ebook
