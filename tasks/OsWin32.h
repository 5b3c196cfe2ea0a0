#pragma once
// Small operating-system routines the task framework stands on: the 64-bit
// millisecond clock, 64-bit interlocked operations, hidden message windows
// that bring notifications to the thread that made them, affinity masks as
// text, process memory and time figures, and a cache of loaded libraries.
//
// The clock is the monotonic clock itself (64 bits never wrap), and every
// window is a message window of platform/os, owned by the calling thread.

#include "platform/os/MessageWindow.h"
#include "platform/os/OsTypes.h"
#include "platform/os/Waitable.h"
#include "platform/rtl/DateUtils.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <vector>

// --- Clock -----------------------------------------------------------------

// Milliseconds on the monotonic clock; never wraps.
int64_t OsTimeGetTime64();
int64_t OsElapsedTime64(int64_t startTime);
// timeout 0 has always elapsed, INFINITE never; otherwise true when more than
// timeout ms have passed since startTime.
bool OsHasElapsed64(int64_t startTime, DWORD timeout);
// The difference of two 32-bit tick readings kept in 64-bit numbers,
// allowing one wrap-around of the 32-bit tick.
int64_t OsElapsedSince(int64_t midTime, int64_t startTime);

// --- 64-bit interlocked operations -------------------------------------------
// The target must lie on an 8-byte boundary, and every other thread must
// reach it through these (or std::atomic_ref) too.

int64_t OsInterlockedIncrement64(int64_t& addend);
int64_t OsInterlockedDecrement64(int64_t& addend);
// Returns the old value.
int64_t OsInterlockedExchangeAdd64(int64_t& addend, int64_t value);
// Returns the value found; exchange was stored when it equalled comparand.
int64_t OsInterlockedCompareExchange64(int64_t& destination, int64_t exchange, int64_t comparand);

// --- Hidden windows ------------------------------------------------------------

// Extended style and parent every caller of the framework passes; kept for
// the callers' sake, the windows are message-only whatever is given.
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;
constexpr HWND HWND_MESSAGE = HWND(-3);

// A window owned by the calling thread whose messages run wndProcMethod on
// that thread. A failure of the handler does not leave the window procedure:
// it goes to the application's exception handler (SetMessageExceptionHandler
// in platform/os) and is dropped when none is installed; the message's
// Result is then what the record held. Raises "Unable to create OsWin32
// hidden window. %s" when no window can be made.
HWND OsAllocateHWnd(TWndMethod wndProcMethod, DWORD style = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                    HWND parentWindow = HWND_MESSAGE);
// Frees a window (0 is ignored); call it on the window's own thread.
void OsDeallocateHWnd(HWND wnd);
// Windows made by OsAllocateHWnd and not yet freed.
int OsHiddenWindowCount();
// True while at least one such window lives (the window class is registered
// by the first allocation and unregistered with the last window).
bool OsHiddenWindowClassRegistered();

// --- Handles, waits, threads -------------------------------------------------

// Releases the variable's object and empties the variable.
void OsCloseHandleAndNull(THandle& handle);
// The multiple-object wait over the two objects in this order.
DWORD OsWaitForTwoObjects(const THandle& obj0, const THandle& obj1, bool waitAll, DWORD timeout_ms);
// Gives up the rest of the time slice.
void OsYield();
// The NT-family code paths are the ones that exist here.
constexpr bool OsIsWinNT() { return true; }

// --- Affinity ------------------------------------------------------------------
// Masks are 64 bits; the text alphabet covers all 64 positions.

using TOsAffinityMask = uint64_t;
QString OsAffinityMaskToString(TOsAffinityMask mask);
TOsAffinityMask OsStringToAffinityMask(const QString& text);
TOsAffinityMask OsGetSystemAffinityMask();
TOsAffinityMask OsGetProcessAffinityMask();
TOsAffinityMask OsGetThreadAffinityMask();
QString OsGetSystemAffinity();
QString OsGetProcessAffinity();
QString OsGetThreadAffinity();
// Set what is allowed of the given text; return the affinity now in force.
QString OsSetProcessAffinity(const QString& text);
QString OsSetThreadAffinity(const QString& text);
// The same by mask, without reading the result back.
void OsSetThreadAffinityMask(TOsAffinityMask mask);
// Counts the calling thread's affinity changes made through this program's
// code (code that sets it by other means reports it with
// OsNoteThreadAffinityChanged), so a pooled thread can skip setting a mask
// it has already.
void OsNoteThreadAffinityChanged();
uint32_t OsThreadAffinityChanges();
TOsAffinityMask OsValidateProcessAffinityMask(TOsAffinityMask mask);
TOsAffinityMask OsValidateThreadAffinityMask(TOsAffinityMask mask);

// --- Process figures -----------------------------------------------------------

// The process memory counters record; sizes in bytes. On Linux: the working
// set is the resident set (VmRSS, peak VmHWM), the page-file usage the
// private data (VmData), its peak the peak virtual size (VmPeak); page
// faults are minor plus major faults.
struct TOsProcessMemoryCounters {
    DWORD cb = 0;
    DWORD PageFaultCount = 0;
    size_t PeakWorkingSetSize = 0;
    size_t WorkingSetSize = 0;
    size_t QuotaPeakPagedPoolUsage = 0;
    size_t QuotaPagedPoolUsage = 0;
    size_t QuotaPeakNonPagedPoolUsage = 0;
    size_t QuotaNonPagedPoolUsage = 0;
    size_t PagefileUsage = 0;
    size_t PeakPagefileUsage = 0;
};

// A process is named by its id; 0 is the calling process.
using TOsProcess = int;

bool OsGetProcessMemory(TOsProcessMemoryCounters& counters);
bool OsGetProcessMemory(TOsProcess process, TOsProcessMemoryCounters& counters);
// Creation time as a UTC date-time; user and kernel time in microseconds.
bool OsGetProcessTimes(TDateTime& creationTime, int64_t& userTime, int64_t& kernelTime);
bool OsGetProcessTimes(TOsProcess process, TDateTime& creationTime, TDateTime& exitTime, int64_t& userTime,
                       int64_t& kernelTime);
// A file time counts 100-nanosecond units since 1 January 1601 (UTC).
bool OsFileTimeToDateTime(uint64_t fileTime, TDateTime& dateTime);
int64_t OsFileTimeToMicroSeconds(uint64_t fileTime);
uint64_t OsDateTimeToFileTime(TDateTime dateTime);

// --- Libraries and dynamically bound functions -----------------------------------

using TOsModule = void*;
// Loads a shared library once per name (letter case ignored); 0 when it
// cannot be loaded.
TOsModule OsLoadLibrary(const QString& libFileName);
void* OsGetProcAddress(const QString& libFileName, const QString& procName);
// Unloads every cached library; the names stay known.
void OsUnloadLibrary();

// The processor-topology functions of the Windows kernel do not exist here
// (the processor environment reads sysfs instead): their wrappers fail with
// the last error ERROR_NOT_SUPPORTED and return false or 0, as they did on
// systems that lacked them. The memory query works.
bool OsGetProcessMemoryInfo(TOsProcess process, TOsProcessMemoryCounters& counters, DWORD cb);
bool OsGetLogicalProcessorInformation(void* buffer, DWORD* returnLength);
bool OsGetLogicalProcessorInformationEx(int relationshipType, void* buffer, DWORD* returnedLength);
bool OsGetThreadGroupAffinity(void* thread, void* groupAffinity);
bool OsSetThreadGroupAffinity(void* thread, const void* groupAffinity, void* previousGroupAffinity);
UINT OsGetSystemFirmwareTable(DWORD firmwareTableProviderSignature, DWORD firmwareTableID, void* buffer,
                              DWORD bufferSize);
bool OsGetNumaHighestNodeNumber(unsigned long* highestNodeNumber);
bool OsGetNumaProximityNodeEx(unsigned long proximityId, uint16_t* nodeNumber);

struct TOsLogicalProcessorInfo {
    uint64_t ProcessorMask = 0;
    int Relationship = 0;
    uint64_t Data[2] = {0, 0};
};
bool OsGetLogicalProcessorInfo(std::vector<TOsLogicalProcessorInfo>& info);
