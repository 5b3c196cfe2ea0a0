#pragma once
// Timing utilities of the serial layer: the 55 ms tick timer, the one-message
// yield, and the layer's critical sections.

#include <cstdint>
#include <mutex>

// Critical sections: the owning thread may enter again.
using TSerCriticalSection = std::recursive_mutex;
using TSerLock = std::lock_guard<std::recursive_mutex>;

struct EventTimer {
    int32_t StartTicks = 0;
    int32_t ExpireTicks = 0;
};

constexpr int32_t MaxTicks = 39045157;
constexpr int TickMs = 55;

// The current tick: milliseconds since start divided by 55.
int32_t CurrentTick();
void NewTimer(EventTimer& ET, int32_t Ticks);
bool TimerExpired(const EventTimer& ET);
int32_t RemainingTime(const EventTimer& ET);
// Waits Ticks ticks; with Yield the calling thread's messages are handled
// meanwhile. Returns the last SafeYield result (0 without Yield).
int DelayTicks(int32_t Ticks, bool Yield);
// Handles one waiting message of the calling thread's queue; 1 when one was
// handled, 0 when the queue was empty.
int SafeYield();
// Tests replace the tick source.
void SetTickSource(int32_t (*Source)());
