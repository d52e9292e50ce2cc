#include "core/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool IsDataDir(const QString& path)
{
    return QFileInfo(path + QStringLiteral("/Images")).isDir();
}

QString& DataDirOverride()
{
    static QString dir;
    return dir;
}

} // namespace

void SetProgramDataDir(const QString& dir)
{
    DataDirOverride() = dir;
}

QString ProgramDataDir()
{
    if (!DataDirOverride().isEmpty())
        return QDir::cleanPath(DataDirOverride());
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        appDir + QStringLiteral("/data"),
        appDir + QStringLiteral("/../share/fretlore"),
        QStringLiteral(FRETLORE_INSTALL_DATA_DIR),
        QStringLiteral(FRETLORE_SOURCE_DATA_DIR),
    };
    for (const QString& candidate : candidates)
        if (IsDataDir(candidate))
            return QDir::cleanPath(candidate);
    return QDir::cleanPath(candidates[0]);
}

QString ProgramDataPath(const QString& relativePath)
{
    return ProgramDataDir() + QLatin1Char('/') + relativePath;
}

QString UserDataDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        return QString();
    return dir;
}
