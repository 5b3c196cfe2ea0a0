#include "platform/os/NamedMutex.h"
#include "tests/support/PlainUser.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class NamedMutex : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QByteArray oldRuntime = qgetenv("SORVEX_RUNTIME_DIR");
    void SetUp() override { qputenv("SORVEX_RUNTIME_DIR", dir.path().toUtf8()); }
    void TearDown() override { qputenv("SORVEX_RUNTIME_DIR", oldRuntime); }
};

}  // namespace

TEST_F(NamedMutex, HeldNameIsAlreadyExistsAndTheLockFileIsPrivate)
{
    TNamedMutex first("{x}");
    ASSERT_EQ(first.LastError(), ERROR_SUCCESS);
    EXPECT_EQ(QFileInfo(first.LockFileName()).permissions() & 0x0777,
              QFileDevice::ReadUser | QFileDevice::WriteUser);
    TNamedMutex second("{x}");
    EXPECT_EQ(second.LastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(second.ErrorText().isEmpty());
}

// Neither a folder the user may not write nor a lock file that cannot be
// opened is a running copy.
TEST_F(NamedMutex, UnusableLockFileIsNotARunningCopy)
{
    {
        // something that cannot be opened as the lock file, even by root
        QDir(dir.path()).mkdir("sorvex-_blocked_.lock");
        TNamedMutex m("{blocked}");
        EXPECT_EQ(m.LockFileName(), dir.path() + "/sorvex-_blocked_.lock");
        EXPECT_EQ(m.LastError(), ERROR_ACCESS_DENIED);
        EXPECT_FALSE(m.ErrorText().isEmpty());
    }
    QDir(dir.path()).mkdir("ro");
    qputenv("SORVEX_RUNTIME_DIR", (dir.path() + "/ro").toUtf8());
    QFile::setPermissions(dir.path() + "/ro", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    TPlainUser user(dir.path());
    TNamedMutex m("{ro}");
    EXPECT_EQ(m.LastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(m.ErrorText().isEmpty());
}
