#pragma once
// A named, process-wide mark with the life of a named mutex: the first process
// that creates the name holds it until the object is freed or the process ends
// however it ends; a later creator gets ERROR_ALREADY_EXISTS.
//
// Built on an exclusive flock of a lock file named after the mutex name in the
// runtime folder ($SORVEX_RUNTIME_DIR, else $XDG_RUNTIME_DIR, else /tmp); the
// kernel drops the lock when the process dies. The lock file is private to
// the user (mode 0600). A lock file that cannot be created or opened is not a
// running copy: LastError is then ERROR_ACCESS_DENIED and ErrorText says why.

#include <QString>
#include <cstdint>

constexpr uint32_t ERROR_SUCCESS = 0;
constexpr uint32_t ERROR_ACCESS_DENIED = 5;
constexpr uint32_t ERROR_ALREADY_EXISTS = 183;

class TNamedMutex {
public:
    explicit TNamedMutex(const QString& Name);
    ~TNamedMutex();
    TNamedMutex(const TNamedMutex&) = delete;
    TNamedMutex& operator=(const TNamedMutex&) = delete;

    // The last-error code of the creation: 0 when this object holds the name.
    uint32_t LastError() const { return FLastError; }
    const QString& LockFileName() const { return FLockFile; }
    // The system's reason when the lock file could not be used; empty otherwise.
    const QString& ErrorText() const { return FErrorText; }

private:
    int FFd = -1;
    uint32_t FLastError = ERROR_SUCCESS;
    QString FLockFile;
    QString FErrorText;
};

// The folder for lock files and other per-user run-time marks.
QString RuntimeDir();
