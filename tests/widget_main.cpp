// The widget tests: views, windows and the program under faults, on a QApplication
// (offscreen unless a test run says otherwise).
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    TestEnvironment environment;
    if (!environment.IsValid())
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fretlore"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
