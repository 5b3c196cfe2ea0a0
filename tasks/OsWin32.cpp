#include "tasks/OsWin32.h"

#include "platform/rtl/Exception.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <dlfcn.h>
#include <mutex>
#include <sched.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <unordered_set>

// --- Clock -----------------------------------------------------------------

int64_t OsTimeGetTime64()
{
    return int64_t(OsMonotonicMs());
}

int64_t OsElapsedTime64(int64_t startTime)
{
    return OsTimeGetTime64() - startTime;
}

bool OsHasElapsed64(int64_t startTime, DWORD timeout)
{
    if (timeout == 0)
        return true;
    if (timeout == INFINITE)
        return false;
    return OsElapsedTime64(startTime) > int64_t(timeout);
}

int64_t OsElapsedSince(int64_t midTime, int64_t startTime)
{
    if (midTime < startTime)
        midTime += int64_t(1) << 32;
    return midTime - startTime;
}

// --- Interlocked -----------------------------------------------------------

int64_t OsInterlockedIncrement64(int64_t& addend)
{
    return std::atomic_ref<int64_t>(addend).fetch_add(1) + 1;
}

int64_t OsInterlockedDecrement64(int64_t& addend)
{
    return std::atomic_ref<int64_t>(addend).fetch_sub(1) - 1;
}

int64_t OsInterlockedExchangeAdd64(int64_t& addend, int64_t value)
{
    return std::atomic_ref<int64_t>(addend).fetch_add(value);
}

int64_t OsInterlockedCompareExchange64(int64_t& destination, int64_t exchange, int64_t comparand)
{
    std::atomic_ref<int64_t>(destination).compare_exchange_strong(comparand, exchange);
    return comparand;
}

// --- Hidden windows --------------------------------------------------------

namespace {

// The windows made here; a window whose thread ended is gone from the
// platform and is dropped from the set when next counted.
std::mutex gWndHandlerLock;
std::unordered_set<HWND> gWndHandlers;

}  // namespace

HWND OsAllocateHWnd(TWndMethod wndProcMethod, DWORD, HWND)
{
    if (!wndProcMethod)
        throw Exception(QStringLiteral("Unable to create OsWin32 hidden window. %1")
                            .arg(QStringLiteral("No window procedure")));
    const HWND wnd = AllocateMessageWindow(std::move(wndProcMethod));
    if (wnd == 0)
        throw Exception(QStringLiteral("Unable to create OsWin32 hidden window. %1").arg(GetLastError()));
    std::lock_guard lock(gWndHandlerLock);
    gWndHandlers.insert(wnd);
    return wnd;
}

void OsDeallocateHWnd(HWND wnd)
{
    if (wnd == 0)
        return;
    DeallocateMessageWindow(wnd);
    std::lock_guard lock(gWndHandlerLock);
    gWndHandlers.erase(wnd);
}

int OsHiddenWindowCount()
{
    std::lock_guard lock(gWndHandlerLock);
    std::erase_if(gWndHandlers, [](HWND w) { return !IsMessageWindow(w); });
    return int(gWndHandlers.size());
}

bool OsHiddenWindowClassRegistered()
{
    return OsHiddenWindowCount() > 0;
}

// --- Handles, waits, threads -----------------------------------------------

void OsCloseHandleAndNull(THandle& handle)
{
    handle.reset();
}

DWORD OsWaitForTwoObjects(const THandle& obj0, const THandle& obj1, bool waitAll, DWORD timeout_ms)
{
    const THandle h[2] = {obj0, obj1};
    return WaitForMultipleObjects(h, waitAll, timeout_ms);
}

void OsYield()
{
    std::this_thread::yield();
}

// --- Affinity --------------------------------------------------------------

namespace {

const QString kAffinityAlphabet =
    QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz@$");

TOsAffinityMask MaskOf(const cpu_set_t& set)
{
    TOsAffinityMask m = 0;
    for (int i = 0; i < 64; ++i)
        if (CPU_ISSET(i, &set))
            m |= TOsAffinityMask(1) << i;
    return m;
}

cpu_set_t SetOf(TOsAffinityMask m)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int i = 0; i < 64; ++i)
        if (m & (TOsAffinityMask(1) << i))
            CPU_SET(i, &set);
    return set;
}

}  // namespace

QString OsAffinityMaskToString(TOsAffinityMask mask)
{
    QString s;
    for (int i = 0; i < 64; ++i)
        if (mask & (TOsAffinityMask(1) << i))
            s += kAffinityAlphabet[i];
    return s;
}

TOsAffinityMask OsStringToAffinityMask(const QString& text)
{
    TOsAffinityMask m = 0;
    for (QChar c : text) {
        const qsizetype i = kAffinityAlphabet.indexOf(c);
        if (i >= 0)
            m |= TOsAffinityMask(1) << i;
    }
    return m;
}

TOsAffinityMask OsGetSystemAffinityMask()
{
    const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
    if (n <= 0)
        return 1;
    return n >= 64 ? ~TOsAffinityMask(0) : (TOsAffinityMask(1) << n) - 1;
}

TOsAffinityMask OsGetProcessAffinityMask()
{
    // The main thread's mask is the process's.
    cpu_set_t set;
    if (::sched_getaffinity(::getpid(), sizeof set, &set) != 0)
        return 1;
    return MaskOf(set);
}

TOsAffinityMask OsGetThreadAffinityMask()
{
    cpu_set_t set;
    if (::sched_getaffinity(0, sizeof set, &set) != 0)
        return 1;
    return MaskOf(set);
}

QString OsGetSystemAffinity()
{
    return OsAffinityMaskToString(OsGetSystemAffinityMask());
}

QString OsGetProcessAffinity()
{
    return OsAffinityMaskToString(OsGetProcessAffinityMask());
}

QString OsGetThreadAffinity()
{
    return OsAffinityMaskToString(OsGetThreadAffinityMask());
}

QString OsSetProcessAffinity(const QString& text)
{
    const cpu_set_t set = SetOf(OsValidateProcessAffinityMask(OsStringToAffinityMask(text)));
    ::sched_setaffinity(::getpid(), sizeof set, &set);
    return OsGetProcessAffinity();
}

QString OsSetThreadAffinity(const QString& text)
{
    OsSetThreadAffinityMask(OsStringToAffinityMask(text));
    return OsGetThreadAffinity();
}

namespace {
thread_local uint32_t tThreadAffinityChanges = 0;
}  // namespace

void OsSetThreadAffinityMask(TOsAffinityMask mask)
{
    const cpu_set_t set = SetOf(OsValidateThreadAffinityMask(mask));
    ::sched_setaffinity(0, sizeof set, &set);
    ++tThreadAffinityChanges;
}

void OsNoteThreadAffinityChanged()
{
    ++tThreadAffinityChanges;
}

uint32_t OsThreadAffinityChanges()
{
    return tThreadAffinityChanges;
}

TOsAffinityMask OsValidateProcessAffinityMask(TOsAffinityMask mask)
{
    return mask & OsGetSystemAffinityMask();
}

TOsAffinityMask OsValidateThreadAffinityMask(TOsAffinityMask mask)
{
    return mask & OsGetProcessAffinityMask();
}

// --- Process figures -------------------------------------------------------

namespace {

QString ProcDir(TOsProcess process)
{
    return process == 0 ? QStringLiteral("/proc/self") : QStringLiteral("/proc/%1").arg(process);
}

bool ReadProcFile(const QString& path, QByteArray& out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    out = f.readAll();  // /proc files report size 0: read to the end
    return true;
}

// The fields of /proc/<pid>/stat after the command name (field 3 first).
bool StatFields(TOsProcess process, QList<QByteArray>& fields)
{
    QByteArray stat;
    if (!ReadProcFile(ProcDir(process) + QStringLiteral("/stat"), stat))
        return false;
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return false;
    fields = stat.mid(close + 2).trimmed().split(' ');
    return fields.size() > 20;
}

// Boot time in seconds since the epoch.
bool BootTime(int64_t& btime)
{
    QByteArray stat;
    if (!ReadProcFile(QStringLiteral("/proc/stat"), stat))
        return false;
    for (const QByteArray& line : stat.split('\n'))
        if (line.startsWith("btime ")) {
            bool ok = false;
            btime = line.mid(6).trimmed().toLongLong(&ok);
            return ok;
        }
    return false;
}

constexpr uint64_t kFileTimeEpochDiff = 116444736000000000ull;  // 1601 -> 1970 in 100 ns

}  // namespace

bool OsGetProcessMemoryInfo(TOsProcess process, TOsProcessMemoryCounters& counters, DWORD cb)
{
    if (cb < sizeof(TOsProcessMemoryCounters)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    QByteArray status;
    if (!ReadProcFile(ProcDir(process) + QStringLiteral("/status"), status)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    auto kb = [&](const char* key) -> size_t {
        for (const QByteArray& line : status.split('\n'))
            if (line.startsWith(key)) {
                QByteArray v = line.mid(qsizetype(strlen(key))).trimmed();
                v.chop(v.endsWith(" kB") ? 3 : 0);
                return size_t(v.trimmed().toULongLong()) * 1024u;
            }
        return 0;
    };
    counters.WorkingSetSize = kb("VmRSS:");
    counters.PeakWorkingSetSize = kb("VmHWM:");
    counters.PagefileUsage = kb("VmData:");
    counters.PeakPagefileUsage = kb("VmPeak:");
    QList<QByteArray> f;
    if (StatFields(process, f))  // minflt is field 10, majflt 12
        counters.PageFaultCount = DWORD(f[7].toULongLong() + f[9].toULongLong());
    return true;
}

bool OsGetProcessMemory(TOsProcess process, TOsProcessMemoryCounters& counters)
{
    counters = TOsProcessMemoryCounters();
    counters.cb = sizeof(TOsProcessMemoryCounters);
    return OsGetProcessMemoryInfo(process, counters, counters.cb);
}

bool OsGetProcessMemory(TOsProcessMemoryCounters& counters)
{
    return OsGetProcessMemory(0, counters);
}

bool OsGetProcessTimes(TOsProcess process, TDateTime& creationTime, TDateTime& exitTime, int64_t& userTime,
                       int64_t& kernelTime)
{
    QList<QByteArray> f;
    int64_t btime = 0;
    if (!StatFields(process, f) || !BootTime(btime))
        return false;
    const long ticks = ::sysconf(_SC_CLK_TCK);
    if (ticks <= 0)
        return false;
    // utime, stime and starttime are fields 14, 15 and 22, in clock ticks.
    const uint64_t utime = f[11].toULongLong(), stime = f[12].toULongLong(), start = f[19].toULongLong();
    const uint64_t ticks100ns = 10000000u / uint64_t(ticks);
    const uint64_t created = kFileTimeEpochDiff + uint64_t(btime) * 10000000u + start * ticks100ns;
    if (!OsFileTimeToDateTime(created, creationTime))
        return false;
    exitTime = 0;  // a process we can read has not ended
    userTime = OsFileTimeToMicroSeconds(utime * ticks100ns);
    kernelTime = OsFileTimeToMicroSeconds(stime * ticks100ns);
    return true;
}

bool OsGetProcessTimes(TDateTime& creationTime, int64_t& userTime, int64_t& kernelTime)
{
    // Our own process: getrusage gives finer user and kernel times.
    TDateTime exitTime;
    if (!OsGetProcessTimes(0, creationTime, exitTime, userTime, kernelTime))
        return false;
    rusage ru;
    if (::getrusage(RUSAGE_SELF, &ru) == 0) {
        userTime = int64_t(ru.ru_utime.tv_sec) * 1000000 + ru.ru_utime.tv_usec;
        kernelTime = int64_t(ru.ru_stime.tv_sec) * 1000000 + ru.ru_stime.tv_usec;
    }
    return true;
}

bool OsFileTimeToDateTime(uint64_t fileTime, TDateTime& dateTime)
{
    // Days from 1601-01-01 to 1899-12-30.
    constexpr double kDays1601To1899 = 109205.0;
    if (fileTime >= 0x8000000000000000ull)  // as the system's conversion refuses it
        return false;
    dateTime = double(fileTime) / 864000000000.0 - kDays1601To1899;
    return true;
}

int64_t OsFileTimeToMicroSeconds(uint64_t fileTime)
{
    return int64_t(fileTime / 10u);
}

uint64_t OsDateTimeToFileTime(TDateTime dateTime)
{
    return uint64_t((dateTime + 109205.0) * 864000000000.0 + 0.5);
}

// --- Libraries -------------------------------------------------------------

namespace {

struct TLibraryCache {
    std::mutex Lock;  // first loads may race from two threads
    QStringList Names;
    QList<void*> Handles;
};

TLibraryCache& Libraries()
{
    static TLibraryCache c;
    return c;
}

void NotSupported()
{
    SetLastError(ERROR_NOT_SUPPORTED);
}

}  // namespace

TOsModule OsLoadLibrary(const QString& libFileName)
{
    TLibraryCache& c = Libraries();
    std::lock_guard lock(c.Lock);
    for (qsizetype i = 0; i < c.Names.size(); ++i)
        if (c.Names[i].compare(libFileName, Qt::CaseInsensitive) == 0) {
            if (!c.Handles[i])
                c.Handles[i] = ::dlopen(libFileName.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
            return c.Handles[i];
        }
    void* h = ::dlopen(libFileName.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (h) {
        c.Names.append(libFileName);
        c.Handles.append(h);
    }
    return h;
}

void* OsGetProcAddress(const QString& libFileName, const QString& procName)
{
    void* h = OsLoadLibrary(libFileName);
    return h ? ::dlsym(h, procName.toLatin1().constData()) : nullptr;
}

void OsUnloadLibrary()
{
    TLibraryCache& c = Libraries();
    std::lock_guard lock(c.Lock);
    for (void*& h : c.Handles)
        if (h) {
            ::dlclose(h);
            h = nullptr;
        }
}

bool OsGetLogicalProcessorInformation(void*, DWORD*)
{
    NotSupported();
    return false;
}

bool OsGetLogicalProcessorInformationEx(int, void*, DWORD*)
{
    NotSupported();
    return false;
}

bool OsGetThreadGroupAffinity(void*, void*)
{
    NotSupported();
    return false;
}

bool OsSetThreadGroupAffinity(void*, const void*, void*)
{
    NotSupported();
    return false;
}

UINT OsGetSystemFirmwareTable(DWORD, DWORD, void*, DWORD)
{
    NotSupported();
    return 0;
}

bool OsGetNumaHighestNodeNumber(unsigned long*)
{
    NotSupported();
    return false;
}

bool OsGetNumaProximityNodeEx(unsigned long, uint16_t*)
{
    NotSupported();
    return false;
}

bool OsGetLogicalProcessorInfo(std::vector<TOsLogicalProcessorInfo>& info)
{
    DWORD size = 0;
    bool ok = OsGetLogicalProcessorInformation(nullptr, &size);
    if (!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        info.resize(size / sizeof(TOsLogicalProcessorInfo));
        ok = OsGetLogicalProcessorInformation(info.data(), &size);
    }
    if (!ok)
        info.clear();
    return ok;
}
