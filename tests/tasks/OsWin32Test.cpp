#include "tasks/OsWin32.h"

#include "tasks/WeftInit.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

TEST(OsWin32, ClockArithmetic)
{
    const int64_t now = OsTimeGetTime64();
    EXPECT_TRUE(OsHasElapsed64(now, 0));
    EXPECT_FALSE(OsHasElapsed64(now - 1000000, INFINITE));
    EXPECT_TRUE(OsHasElapsed64(now - 100, 50));
    EXPECT_FALSE(OsHasElapsed64(now, 100000));
    EXPECT_EQ(OsElapsedSince(10, (int64_t(1) << 32) - 16), 26);
    EXPECT_EQ(OsElapsedSince(30, 10), 20);
    EXPECT_GE(OsElapsedTime64(now), 0);
}

TEST(OsWin32, Interlocked64)
{
    alignas(8) int64_t v = 0;
    EXPECT_EQ(OsInterlockedIncrement64(v), 1);
    EXPECT_EQ(OsInterlockedExchangeAdd64(v, 10), 1);
    EXPECT_EQ(OsInterlockedDecrement64(v), 10);
    EXPECT_EQ(OsInterlockedCompareExchange64(v, 99, 5), 10);
    EXPECT_EQ(v, 10);
    EXPECT_EQ(OsInterlockedCompareExchange64(v, 99, 10), 10);
    EXPECT_EQ(v, 99);
}

TEST(OsWin32, AffinityText)
{
    EXPECT_EQ(OsAffinityMaskToString(5), QStringLiteral("02"));
    EXPECT_EQ(OsStringToAffinityMask(QStringLiteral("A0")), 0x401u);
    EXPECT_EQ(OsStringToAffinityMask(QStringLiteral("0-0!")), 1u);
    EXPECT_EQ(OsAffinityMaskToString(uint64_t(1) << 63), QStringLiteral("$"));
    EXPECT_NE(OsGetProcessAffinityMask(), 0u);
    EXPECT_EQ(OsValidateThreadAffinityMask(~uint64_t(0)), OsGetProcessAffinityMask());
    // the first processor this process may run on (CI may restrict the set)
    const uint64_t mask = OsGetProcessAffinityMask();
    const QString first = OsAffinityMaskToString(mask & (~mask + 1));
    std::thread([first] {
        const QString before = OsGetThreadAffinity();
        EXPECT_EQ(OsSetThreadAffinity(first), first);
        EXPECT_EQ(OsSetThreadAffinity(before), before);
    }).join();
}

TEST(OsWin32, HiddenWindowsCountAndSurviveFailingHandlers)
{
    std::thread([] {
        std::vector<QString> reported;
        SetMessageExceptionHandler([&](std::exception_ptr e) {
            try {
                std::rethrow_exception(e);
            } catch (const std::exception& ex) {
                reported.push_back(QString::fromUtf8(ex.what()));
            }
        });
        const int before = OsHiddenWindowCount();
        std::vector<int> got;
        HWND a = OsAllocateHWnd([&](TMessage& m) {
            if (m.Msg == WM_USER + 1)
                throw std::runtime_error("handler failed");
            got.push_back(int(m.WParam));
        });
        HWND b = OsAllocateHWnd([](TMessage&) {});
        EXPECT_EQ(OsHiddenWindowCount(), before + 2);
        PostMessage(a, WM_USER, 1);
        PostMessage(a, WM_USER + 1);
        PostMessage(a, WM_USER, 2);
        EXPECT_EQ(ProcessMessages(), 3);
        EXPECT_EQ(got, (std::vector<int>{1, 2}));
        EXPECT_EQ(reported, (std::vector<QString>{QStringLiteral("handler failed")}));
        OsDeallocateHWnd(b);
        EXPECT_TRUE(OsHiddenWindowClassRegistered());
        OsDeallocateHWnd(a);
        OsDeallocateHWnd(a);  // a second free changes nothing
        EXPECT_EQ(OsHiddenWindowCount(), before);
        EXPECT_EQ(OsHiddenWindowClassRegistered(), before > 0);
        SetMessageExceptionHandler(nullptr);
    }).join();
}

TEST(OsWin32, WindowsOfAnEndedThreadLeaveTheCount)
{
    const int before = OsHiddenWindowCount();
    std::thread([] { OsAllocateHWnd([](TMessage&) {}); }).join();
    EXPECT_EQ(OsHiddenWindowCount(), before);
}

TEST(OsWin32, WaitForTwoObjectsReportsInOrder)
{
    THandle a = CreateEvent(true, false), b = CreateEvent(true, true);
    EXPECT_EQ(OsWaitForTwoObjects(a, b, false, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(OsWaitForTwoObjects(a, b, true, 0), WAIT_TIMEOUT);
    SetEvent(a);
    EXPECT_EQ(OsWaitForTwoObjects(a, b, false, 0), WAIT_OBJECT_0);
    EXPECT_EQ(OsWaitForTwoObjects(a, b, true, 0), WAIT_OBJECT_0);
    OsCloseHandleAndNull(a);
    EXPECT_FALSE(a);
}

TEST(OsWin32, ProcessFigures)
{
    TOsProcessMemoryCounters c;
    ASSERT_TRUE(OsGetProcessMemory(c));
    EXPECT_EQ(c.cb, sizeof(TOsProcessMemoryCounters));
    EXPECT_GT(c.WorkingSetSize, 0u);
    EXPECT_GE(c.PeakWorkingSetSize, c.WorkingSetSize);
    TDateTime created = 0;
    int64_t user = -1, kernel = -1;
    ASSERT_TRUE(OsGetProcessTimes(created, user, kernel));
    EXPECT_GE(user, 0);
    EXPECT_GE(kernel, 0);
    // Started within the last day, in UTC.
    const TDateTime nowUtc = QDateTimeToDateTime(QDateTime::currentDateTimeUtc().toLocalTime()) -
                             double(QDateTime::currentDateTime().offsetFromUtc()) / SecsPerDay;
    EXPECT_LT(std::abs(nowUtc - created), 1.0);
    EXPECT_FALSE(OsGetProcessMemory(999999999, c));
    TDateTime dt;
    ASSERT_TRUE(OsFileTimeToDateTime(OsDateTimeToFileTime(EncodeDate(2026, 12, 10)), dt));
    EXPECT_NEAR(dt, EncodeDate(2026, 12, 10), 1e-9);
    EXPECT_EQ(OsFileTimeToMicroSeconds(12345678), 1234567);
}

TEST(OsWin32, LibrariesAndMissingPlatformFunctions)
{
    EXPECT_NE(OsLoadLibrary(QStringLiteral("libc.so.6")), nullptr);
    EXPECT_EQ(OsLoadLibrary(QStringLiteral("LIBC.so.6")), OsLoadLibrary(QStringLiteral("libc.so.6")))
        << "names compare without letter case";
    EXPECT_NE(OsGetProcAddress(QStringLiteral("libc.so.6"), QStringLiteral("getpid")), nullptr);
    EXPECT_EQ(OsGetProcAddress(QStringLiteral("no-such-library.so"), QStringLiteral("x")), nullptr);
    SetLastError(0);
    EXPECT_FALSE(OsGetNumaHighestNodeNumber(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    SetLastError(0);
    EXPECT_EQ(OsGetSystemFirmwareTable(0, 0, nullptr, 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    std::vector<TOsLogicalProcessorInfo> info(3);
    EXPECT_FALSE(OsGetLogicalProcessorInfo(info));
    EXPECT_TRUE(info.empty());
}

TEST(WeftInit, RegistersTheFrameworkMessagesOnce)
{
    QString error;
    ASSERT_TRUE(weft::initialize(&error)) << error.toStdString();
    EXPECT_TRUE(weft::initialized());
    EXPECT_GE(CWeftTaskMsg_NewMessage, 0xC000u);
    EXPECT_NE(CWeftTaskMsg_NewMessage, CWeftTaskMsg_Terminated);
    EXPECT_NE(CWeftTaskMsg_Terminated, CWeftPoolMsg);
    const UINT first = CWeftPoolMsg;
    EXPECT_TRUE(weft::initialize());
    EXPECT_EQ(CWeftPoolMsg, first);
}
