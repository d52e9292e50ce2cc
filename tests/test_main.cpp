// Every test process gets its own temporary XDG directories and settings path, so no
// test ever touches the real user's settings or data.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    const QString config = home.filePath(QStringLiteral("config"));
    const QString data = home.filePath(QStringLiteral("data"));
    QDir().mkpath(config);
    QDir().mkpath(data);
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    qputenv("HOME", home.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fretlore"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
