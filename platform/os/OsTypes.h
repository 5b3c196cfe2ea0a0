#pragma once
// Kernel-style basic types, wait results and error codes shared by the waits,
// the message windows and the task framework above them. Numbers keep the
// values the framework's callers compare against.

#include <cstdint>

using DWORD = uint32_t;
using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
// A message window: 0 is no window. Handles are never reused within a run.
using HWND = uintptr_t;

// Time-outs are milliseconds; INFINITE waits without limit, 0 only polls.
constexpr DWORD INFINITE = 0xFFFFFFFFu;

// Results of the waits: WAIT_OBJECT_0 + i for the i-th object (or, for the
// message-aware waits, WAIT_OBJECT_0 + count when the thread's queue has input).
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED_0 = 0x80;
constexpr DWORD WAIT_IO_COMPLETION = 0xC0;   // never returned: no APCs here
constexpr DWORD WAIT_TIMEOUT = 0x102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

// Last-error codes set by the routines of this layer.
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_NOT_OWNER = 288;
constexpr DWORD ERROR_TOO_MANY_POSTS = 298;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_TIMEOUT = 1460;
constexpr DWORD ERROR_TOO_MANY_HANDLES = 4;

// The first message id a program may use for its own messages; registered
// message ids lie in 0xC000..0xFFFF.
constexpr UINT WM_USER = 0x0400;

// The calling thread's last-error code.
DWORD GetLastError();
void SetLastError(DWORD code);

// The calling thread's 32-bit id (the kernel's tid, read once per thread).
DWORD GetCurrentThreadId();
// True on the process's first thread (its tid is the pid): the thread that
// runs main() and with it Qt's event loop.
bool IsMainThread();

// The monotonic millisecond clock (never wraps, never goes back).
uint64_t OsMonotonicMs();
// The same clock in microseconds, for the waits' deadlines.
uint64_t OsMonotonicUs();
