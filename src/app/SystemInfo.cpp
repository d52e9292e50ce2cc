#include "app/SystemInfo.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSysInfo>
#include <QtGlobal>

#include <fluidsynth.h>
#include <rtmidi/RtMidi.h>

#include <utility>

namespace {

SoundInfoProvider& CurrentProvider()
{
    static SoundInfoProvider provider;
    return provider;
}

// Gives the texts below their translation context.
class SystemInfo {
    Q_DECLARE_TR_FUNCTIONS(SystemInfo)

public:
    static QList<SystemInfoItem> PlatformItems()
    {
        return {
            {tr("Program"), QStringLiteral("Fretlore ") + QStringLiteral(FRETLORE_VERSION)},
            {tr("Operating system"), QSysInfo::prettyProductName()},
            {tr("Kernel"), QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()},
            {tr("Processor"), QSysInfo::currentCpuArchitecture()},
            {tr("Qt version"), tr("%1 (built with %2)")
                                   .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR))},
            {tr("Display platform"), QGuiApplication::platformName()},
            {tr("FluidSynth version"), QString::fromLatin1(fluid_version_str())},
            {tr("RtMidi version"), QString::fromStdString(RtMidi::getVersion())},
        };
    }

    static SystemInfoItem NoSoundItem() { return {tr("Sound"), tr("Not started")}; }
};

} // namespace

SoundInfoProvider SetSoundInfoProvider(SoundInfoProvider provider)
{
    return std::exchange(CurrentProvider(), std::move(provider));
}

QList<SystemInfoItem> CollectSystemInfo()
{
    QList<SystemInfoItem> items = SystemInfo::PlatformItems();
    if (const SoundInfoProvider& provider = CurrentProvider())
        items += provider();
    else
        items.append(SystemInfo::NoSoundItem());
    return items;
}

QString SystemInfoText(const QList<SystemInfoItem>& items)
{
    QString text;
    for (const SystemInfoItem& item : items)
        text += item.strName + QStringLiteral(": ") + item.strValue + QLatin1Char('\n');
    return text;
}
