// Test main for the kernel-object layer: a QCoreApplication on the main
// thread, so the main thread's message queue is pumped by Qt's event loop as
// in the program.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
