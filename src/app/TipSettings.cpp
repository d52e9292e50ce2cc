#include "app/TipSettings.h"

#include "app/FrmTip.h"

#include <QSettings>
#include <QString>

namespace {

// The executable's file name: the tip switch is filed under it, not under "Fretlore".
const QString kProgramFileName = QStringLiteral("fretlore");
const QString kTipKey = QStringLiteral("Options/Show Tips at Startup");

} // namespace

std::unique_ptr<QSettings> OpenTipSettingsStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Fretlore"), kProgramFileName);
}

int ReadShowTipsAtStartup()
{
    const QString text = OpenTipSettingsStore()->value(kTipKey, QStringLiteral("1")).toString();
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 1;
}

void StoreShowTipsAtStartup(bool show)
{
    const auto store = OpenTipSettingsStore();
    store->setValue(kTipKey, show ? QStringLiteral("1") : QStringLiteral("0"));
    store->sync();
}

bool ShowTipOfTheDay(QWidget* parent)
{
    FrmTip tip(parent);
    if (tip.UnloadedAtLoad())
        return false;
    tip.exec();
    return true;
}

void ReEnableTipsAtStartup(QWidget* parent)
{
    StoreShowTipsAtStartup(true);
    ShowTipOfTheDay(parent);
}
