#include "core/Settings.h"

#include "core/Rounding.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>

#include <cmath>
#include <variant>

namespace {

// How a stored text becomes the in-memory value.
enum class Conversion {
    Text,
    Boolean,
    RoundedInt32, // nearest, halves to even
    FloorInt16,
    FloorInt32,
};

struct SettingDef {
    const char* key;
    Conversion conversion;
    std::variant<QString Settings::*, bool Settings::*, qint16 Settings::*, qint32 Settings::*> member;
    const char* defaultText;
};

const SettingDef kSettings[] = {
    {"CurDeviceName", Conversion::Text, &Settings::curDeviceName, ""},
    {"MixerVolume", Conversion::RoundedInt32, &Settings::mixerVolume, "64"},
    {"Channel", Conversion::FloorInt16, &Settings::channel, "0"},
    {"EnableSound", Conversion::Boolean, &Settings::enableSound, "1"},
    {"CurrLessonKey", Conversion::FloorInt16, &Settings::currLessonKey, "1"},
    {"BeepOnError", Conversion::Boolean, &Settings::beepOnError, "1"},
    {"FlatSymbolPref", Conversion::Boolean, &Settings::flatSymbolPref, "1"},
    {"CurrLearnerKey", Conversion::FloorInt16, &Settings::currLearnerKey, "-1"},
    {"WebBrowserPath", Conversion::Text, &Settings::webBrowserPath, ""},
    {"TestDuration", Conversion::FloorInt16, &Settings::testDuration, "30"},
    {"FretboardStyle", Conversion::FloorInt32, &Settings::fretboardStyle, "1"},
    {"PlayNoteOnPrompt", Conversion::Boolean, &Settings::playNoteOnPrompt, "1"},
    {"GuitarType", Conversion::FloorInt32, &Settings::guitarType, "0"},
    {"EchoEnabled", Conversion::Boolean, &Settings::echoEnabled, "1"},
    {"CurrCustomKey", Conversion::FloorInt16, &Settings::currCustomKey, "4"},
    {"CurrCustomScale", Conversion::FloorInt16, &Settings::currCustomScale, "1"},
    {"CurrCustomPattern", Conversion::FloorInt16, &Settings::currCustomPattern, "1"},
    {"BluesNotesOnly", Conversion::Boolean, &Settings::pentatonicOnly, "1"},
    {"Patch", Conversion::FloorInt16, &Settings::patch, "0"},
    {"NoteMaxDuration", Conversion::FloorInt16, &Settings::noteMaxDuration, "10"},
    {"Tuning", Conversion::Text, &Settings::tuning, ""},
    {"CustomTuning", Conversion::Text, &Settings::customTuning, ""},
    {"LeftHandedNeck", Conversion::Boolean, &Settings::leftHandedNeck, "0"},
    {"LowestStringOnTop", Conversion::Boolean, &Settings::lowestStringOnTop, "0"},
    {"ListenEnabled", Conversion::Boolean, &Settings::listenEnabled, "0"},
    {"InputDevice", Conversion::Text, &Settings::inputDevice, ""},
    {"InputThreshold", Conversion::FloorInt16, &Settings::inputThreshold, "-50"},
};

QString Tr(const char* text)
{
    return QCoreApplication::translate("Settings", text);
}

std::optional<double> ParseNumber(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

template <typename Int>
std::optional<Int> FloorToInt(double value)
{
    const double floored = std::floor(value);
    if (floored < static_cast<double>(std::numeric_limits<Int>::min())
        || floored > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(floored);
}

std::optional<bool> ParseBoolean(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto number = ParseNumber(trimmed))
        return *number != 0.0;
    return std::nullopt;
}

template <typename Int>
bool ConvertNumber(Conversion conversion, const QString& text, Int& target)
{
    const auto number = ParseNumber(text);
    if (!number)
        return false;
    const auto value = conversion == Conversion::RoundedInt32 ? RoundToInt<Int>(*number) : FloorToInt<Int>(*number);
    if (!value)
        return false;
    target = *value;
    return true;
}

// Converts text into the setting's member; false when the text does not fit.
bool Convert(const SettingDef& def, const QString& text, Settings& settings)
{
    return std::visit(
        [&](auto member) -> bool {
            auto& target = settings.*member;
            using V = std::remove_reference_t<decltype(target)>;
            if constexpr (std::is_same_v<V, QString>) {
                target = text;
                return true;
            } else if constexpr (std::is_same_v<V, bool>) {
                const auto value = ParseBoolean(text);
                if (value)
                    target = *value;
                return value.has_value();
            } else {
                return ConvertNumber(def.conversion, text, target);
            }
        },
        def.member);
}

QString Describe(const SettingDef& def, const QString& text)
{
    QString expected;
    switch (def.conversion) {
    case Conversion::Boolean:
        expected = Tr("True, False or a number");
        break;
    case Conversion::FloorInt16:
        expected = Tr("a number from -32768 to 32767");
        break;
    default:
        expected = Tr("a number from -2147483648 to 2147483647");
        break;
    }
    return Tr("The stored setting \"%1\" has the value \"%2\", but it must be %3.")
        .arg(QString::fromLatin1(def.key), text, expected);
}

QString ToStoredText(const SettingDef& def, const Settings& settings)
{
    return std::visit(
        [&](auto member) -> QString {
            const auto& value = settings.*member;
            using V = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<V, QString>)
                return value;
            else if constexpr (std::is_same_v<V, bool>)
                return value ? QStringLiteral("True") : QStringLiteral("False");
            else
                return QString::number(value);
        },
        def.member);
}

const SettingDef* FindDef(const QString& key)
{
    for (const SettingDef& def : kSettings)
        if (key == QLatin1String(def.key))
            return &def;
    return nullptr;
}

// The default as a save writes it: booleans as "True" or "False".
QString StoredDefault(const SettingDef& def)
{
    const QString text = QString::fromLatin1(def.defaultText);
    if (def.conversion != Conversion::Boolean)
        return text;
    return ParseBoolean(text).value_or(false) ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

Settings Settings::Defaults()
{
    Settings settings;
    for (const SettingDef& def : kSettings)
        Convert(def, QString::fromLatin1(def.defaultText), settings);
    return settings;
}

std::unique_ptr<QSettings> SettingsStore::Open()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fretlore"),
                                       QStringLiteral("Fretlore"));
}

QString SettingsStore::FileName()
{
    return Open()->fileName();
}

bool SettingsStore::LoadSettings(Settings& settings, QString& message)
{
    const auto store = Open();
    store->beginGroup(QStringLiteral("General"));
    for (const SettingDef& def : kSettings) {
        const QString text = store->value(QString::fromLatin1(def.key), QString::fromLatin1(def.defaultText)).toString();
        if (!Convert(def, text, settings)) {
            message = Describe(def, text);
            loadFailed_ = true;
            failedKey_ = QString::fromLatin1(def.key);
            return false;
        }
    }
    loadFailed_ = false;
    failedKey_.clear();
    return true;
}

bool SettingsStore::SaveSettings(const Settings& settings, QString& message)
{
    if (loadFailed_) {
        message = Tr("The settings were not saved, because the stored settings could not "
                     "be read; they are left as they were.");
        return false;
    }
    const auto store = Open();
    if (!store->isWritable()) {
        message = Tr("The settings file \"%1\" cannot be written.").arg(store->fileName());
        return false;
    }
    store->beginGroup(QStringLiteral("General"));
    for (const SettingDef& def : kSettings)
        store->setValue(QString::fromLatin1(def.key), ToStoredText(def, settings));
    store->endGroup();
    store->sync();
    if (store->status() != QSettings::NoError) {
        message = Tr("The settings could not be written to \"%1\".").arg(store->fileName());
        return false;
    }
    return true;
}

QString SettingsStore::ResetFailedSettingQuestion(const QString& loadMessage) const
{
    const SettingDef* def = FindDef(failedKey_);
    if (!def)
        return loadMessage;
    return loadMessage + QStringLiteral("\n\n") + Tr("The settings are kept in the file \"%1\".").arg(FileName())
        + QStringLiteral("\n\n")
        + Tr("Reset \"%1\" to its default value, %2? The other settings stay as they are. "
             "With No, the main window stays empty and the file is left as it is.")
              .arg(failedKey_, StoredDefault(*def));
}

bool SettingsStore::ResetToDefault(const QString& key, QString& message)
{
    const SettingDef* def = FindDef(key);
    if (!def) {
        message = Tr("There is no setting \"%1\".").arg(key);
        return false;
    }
    // Written rather than removed: a removed value would let one stored for all users
    // show through, and that may be the bad one.
    const auto store = Open();
    const QString path = QStringLiteral("General/") + key;
    const QVariant stored = store->value(path);
    store->setValue(path, StoredDefault(*def));
    store->sync();
    if (store->status() != QSettings::NoError) {
        // Put back, or the next sync of any settings object would write it after all.
        if (stored.isValid())
            store->setValue(path, stored);
        else
            store->remove(path);
        message = Tr("The setting \"%1\" could not be reset, because the settings file \"%2\" cannot be written.")
                      .arg(key, store->fileName());
        return false;
    }
    return true;
}
