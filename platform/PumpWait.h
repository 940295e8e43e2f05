#pragma once
// A wait that keeps the application responsive. The core has no event loop of its own: the
// window installs a pump (one that calls QCoreApplication::processEvents) and PumpWait runs it
// while the time passes. Without a pump the wait simply sleeps.

#include <chrono>
#include <functional>

namespace ebook {

using MessagePump = std::function<void()>;
// Installs the pump run by PumpWait (empty: none) and returns the previous one.
MessagePump SetMessagePump(MessagePump pump);

// The monotonic clock PumpWait measures with: time since an arbitrary fixed point, never going
// back. The default is std::chrono::steady_clock (the system's uptime clock); tests install a
// clock of their own to wait at any uptime.
using MonotonicClock = std::function<std::chrono::nanoseconds()>;
// Installs `clock` (empty: the default) and returns the previous one.
MonotonicClock SetMonotonicClock(MonotonicClock clock);

// Waits `ms` milliseconds while running the pump: the pump runs at least once, then again after
// short naps (at most a millisecond each, so the wait does not hold a processor busy) until the
// time is over. The wait lasts the time asked whatever the uptime: the clock is 64-bit and never
// wraps. ms <= 0 runs the pump once and returns.
void PumpWait(int ms);

}  // namespace ebook
