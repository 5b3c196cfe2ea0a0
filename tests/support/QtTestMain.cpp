// GoogleTest main for suites that need the offscreen Qt application.
#include "platform/ui/Forms.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(CreateQtApplication(argc, argv));
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
