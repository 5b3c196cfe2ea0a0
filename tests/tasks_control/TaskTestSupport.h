#pragma once
// Helpers of the task framework's control tests: start-up, pumping the
// calling thread's message queue while waiting, and a count of the
// process's threads.

#include "platform/os/MessageWindow.h"
#include "tasks/WeftInit.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

inline void InitWeft()
{
    QString error;
    ASSERT_TRUE(weft::initialize(&error)) << error.toStdString();
}

// Pumps the calling thread's queue until done() or the time-out (ms).
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 10000)
{
    return RunMessageLoopUntil(done, timeout_ms);
}

inline int ProcessThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}
