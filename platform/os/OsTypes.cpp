#include "platform/os/OsTypes.h"

#include <ctime>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
thread_local DWORD tLastError = 0;
thread_local DWORD tThreadId = 0;
}  // namespace

DWORD GetLastError()
{
    return tLastError;
}

void SetLastError(DWORD code)
{
    tLastError = code;
}

DWORD GetCurrentThreadId()
{
    if (tThreadId == 0)
        tThreadId = static_cast<DWORD>(::syscall(SYS_gettid));
    return tThreadId;
}

bool IsMainThread()
{
    return GetCurrentThreadId() == static_cast<DWORD>(::getpid());
}

uint64_t OsMonotonicUs()
{
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

uint64_t OsMonotonicMs()
{
    return OsMonotonicUs() / 1000u;
}
