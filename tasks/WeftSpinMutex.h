#pragma once
// A lock for short sections that many threads take at a high rate (a pool's
// bookkeeping): a thread that finds it taken spins briefly, since the holder
// is about to leave, then yields its processor a few times (a holder that
// lost its processor may get it back), and only then sleeps on a futex.
// Unlocking makes a system call only when someone sleeps, which is costly
// on virtual machines. Not recursive; usable with std::lock_guard and
// std::unique_lock.

#include "tasks/WeftSync.h"

#include <atomic>
#include <cstdint>
#include <linux/futex.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

class TWeftSpinMutex {
public:
    void lock()
    {
        for (int i = 0; i < CSpin; ++i) {
            if (FState.load(std::memory_order_relaxed) == 0 && try_lock())
                return;
            CpuRelax();
        }
        for (int i = 0; i < CYields; ++i) {
            ::sched_yield();
            if (FState.load(std::memory_order_relaxed) == 0 && try_lock())
                return;
        }
        // 2: taken, and someone may sleep on it.
        while (FState.exchange(2, std::memory_order_acquire) != 0)
            ::syscall(SYS_futex, reinterpret_cast<uint32_t*>(&FState), FUTEX_WAIT_PRIVATE, 2, nullptr, nullptr, 0);
    }
    bool try_lock()
    {
        uint32_t expected = 0;
        return FState.compare_exchange_strong(expected, 1, std::memory_order_acquire, std::memory_order_relaxed);
    }
    void unlock()
    {
        if (FState.exchange(0, std::memory_order_release) == 2)
            ::syscall(SYS_futex, reinterpret_cast<uint32_t*>(&FState), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
    }

private:
    static constexpr int CSpin = 200;
    static constexpr int CYields = 8;
    std::atomic<uint32_t> FState{0};
};
