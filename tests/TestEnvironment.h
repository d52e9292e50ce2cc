#pragma once
// Every test process runs against its own temporary XDG folders and settings path, so
// no test ever reads or writes the real user's settings or data.

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

class TestEnvironment {
public:
    TestEnvironment()
    {
        const QString config = home_.filePath(QStringLiteral("config"));
        const QString data = home_.filePath(QStringLiteral("data"));
        QDir().mkpath(config);
        QDir().mkpath(data);
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        qputenv("XDG_DATA_HOME", data.toLocal8Bit());
        qputenv("HOME", home_.path().toLocal8Bit());
        qputenv("JACK_NO_START_SERVER", "1");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    }
    bool IsValid() const { return home_.isValid(); }

private:
    QTemporaryDir home_;
};
