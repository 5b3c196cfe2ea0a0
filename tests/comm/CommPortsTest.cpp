// The port list: registered pseudo-terminals are listed, numbered in text
// order, and probing tells a present port from a missing one.

#include "platform/comm/CommPorts.h"
#include "tests/support/PtyPair.h"

#include <gtest/gtest.h>

TEST(CommPorts, RegisteredPathsAreListedAndNumbered)
{
    PtyPair a;
    PtyPair b;
    const QStringList list = CommPortList();
    EXPECT_TRUE(list.contains(a.NearPath()));
    EXPECT_TRUE(list.contains(b.NearPath()));
    QStringList sorted = list;
    sorted.sort();
    EXPECT_EQ(list, sorted);
    EXPECT_EQ(CommPortPath(a.NearNumber()), a.NearPath());
    EXPECT_EQ(CommPortPath(0), QString());
    EXPECT_EQ(CommPortPath(list.size() + 1), QString());
    EXPECT_EQ(CommPortNumber(QStringLiteral("/dev/not-a-port")), 0);
}

TEST(CommPorts, ProbeTellsPresentFromMissing)
{
    PtyPair a;
    EXPECT_TRUE(CommPortExists(a.NearPath()));
    EXPECT_FALSE(CommPortExists(QStringLiteral("/dev/no-such-serial-port")));
    EXPECT_FALSE(CommPortExists(QStringLiteral("/dev/null")));
    EXPECT_FALSE(CommPortExists(QString()));
}
