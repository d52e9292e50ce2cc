// The model tests: everything below the widgets, on a QCoreApplication.
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv)
{
    TestEnvironment environment;
    if (!environment.IsValid())
        return 2;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Fretlore"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
