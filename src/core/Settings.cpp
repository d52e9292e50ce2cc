#include "core/Settings.h"

#include "core/Rounding.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>

#include <cmath>
#include <variant>

QString CurDeviceName;
qint32 MixerVolume = 0;
qint16 Channel = 0;
bool EnableSound = false;
qint16 CurrLessonKey = 0;
bool BeepOnError = false;
bool FlatSymbolPref = false;
qint16 CurrLearnerKey = 0;
QString WebBrowserPath;
qint16 TestDuration = 0;
qint32 FretboardStyle = 0;
bool PlayNoteOnPrompt = false;
qint32 GuitarType = 0;
bool EchoEnabled = false;
qint16 CurrCustomKey = 0;
qint16 CurrCustomScale = 0;
qint16 CurrCustomPattern = 0;
bool BluesNotesOnly = false;
qint16 Patch = 0;
qint16 NoteMaxDuration = 0;

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
    std::variant<QString*, bool*, qint16*, qint32*> target;
    const char* defaultText;
};

const SettingDef kSettings[] = {
    {"CurDeviceName", Conversion::Text, &CurDeviceName, ""},
    {"MixerVolume", Conversion::RoundedInt32, &MixerVolume, "64"},
    {"Channel", Conversion::FloorInt16, &Channel, "0"},
    {"EnableSound", Conversion::Boolean, &EnableSound, "1"},
    {"CurrLessonKey", Conversion::FloorInt16, &CurrLessonKey, "1"},
    {"BeepOnError", Conversion::Boolean, &BeepOnError, "1"},
    {"FlatSymbolPref", Conversion::Boolean, &FlatSymbolPref, "1"},
    {"CurrLearnerKey", Conversion::FloorInt16, &CurrLearnerKey, "-1"},
    {"WebBrowserPath", Conversion::Text, &WebBrowserPath, ""},
    {"TestDuration", Conversion::FloorInt16, &TestDuration, "30"},
    {"FretboardStyle", Conversion::FloorInt32, &FretboardStyle, "1"},
    {"PlayNoteOnPrompt", Conversion::Boolean, &PlayNoteOnPrompt, "1"},
    {"GuitarType", Conversion::FloorInt32, &GuitarType, "0"},
    {"EchoEnabled", Conversion::Boolean, &EchoEnabled, "1"},
    {"CurrCustomKey", Conversion::FloorInt16, &CurrCustomKey, "4"},
    {"CurrCustomScale", Conversion::FloorInt16, &CurrCustomScale, "1"},
    {"CurrCustomPattern", Conversion::FloorInt16, &CurrCustomPattern, "1"},
    {"BluesNotesOnly", Conversion::Boolean, &BluesNotesOnly, "1"},
    {"Patch", Conversion::FloorInt16, &Patch, "0"},
    {"NoteMaxDuration", Conversion::FloorInt16, &NoteMaxDuration, "10"},
};

bool SettingsLoadFailedFlag = false;
// The setting the last LoadSettings stopped on; null after a load that succeeded.
const SettingDef* FailedSetting = nullptr;

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

// Converts text into the setting's global; false when the text does not fit.
bool Convert(const SettingDef& def, const QString& text)
{
    switch (def.conversion) {
    case Conversion::Text:
        *std::get<QString*>(def.target) = text;
        return true;
    case Conversion::Boolean:
        if (const auto value = ParseBoolean(text)) {
            *std::get<bool*>(def.target) = *value;
            return true;
        }
        return false;
    case Conversion::RoundedInt32:
        if (const auto number = ParseNumber(text))
            if (const auto value = RoundToInt<qint32>(*number)) {
                *std::get<qint32*>(def.target) = *value;
                return true;
            }
        return false;
    case Conversion::FloorInt16:
        if (const auto number = ParseNumber(text))
            if (const auto value = FloorToInt<qint16>(*number)) {
                *std::get<qint16*>(def.target) = *value;
                return true;
            }
        return false;
    case Conversion::FloorInt32:
        if (const auto number = ParseNumber(text))
            if (const auto value = FloorToInt<qint32>(*number)) {
                *std::get<qint32*>(def.target) = *value;
                return true;
            }
        return false;
    }
    return false;
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

QString ToStoredText(const SettingDef& def)
{
    return std::visit(
        [](auto* value) -> QString {
            using V = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<V, QString>)
                return *value;
            else if constexpr (std::is_same_v<V, bool>)
                return *value ? QStringLiteral("True") : QStringLiteral("False");
            else
                return QString::number(*value);
        },
        def.target);
}

} // namespace

std::unique_ptr<QSettings> OpenSettingsStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Fretlore"), QStringLiteral("Fretlore"));
}

bool LoadSettings(QString& message)
{
    const auto store = OpenSettingsStore();
    store->beginGroup(QStringLiteral("General"));
    for (const SettingDef& def : kSettings) {
        const QString text = store->value(QString::fromLatin1(def.key),
                                          QString::fromLatin1(def.defaultText)).toString();
        if (!Convert(def, text)) {
            message = Describe(def, text);
            SettingsLoadFailedFlag = true;
            FailedSetting = &def;
            return false;
        }
    }
    SettingsLoadFailedFlag = false;
    FailedSetting = nullptr;
    return true;
}

bool SaveSettings(QString& message)
{
    if (SettingsLoadFailedFlag) {
        message = Tr("The settings were not saved, because the stored settings could not "
                     "be read; they are left as they were.");
        return false;
    }
    const auto store = OpenSettingsStore();
    if (!store->isWritable()) {
        message = Tr("The settings file \"%1\" cannot be written.").arg(store->fileName());
        return false;
    }
    store->beginGroup(QStringLiteral("General"));
    for (const SettingDef& def : kSettings)
        store->setValue(QString::fromLatin1(def.key), ToStoredText(def));
    store->endGroup();
    store->sync();
    if (store->status() != QSettings::NoError) {
        message = Tr("The settings could not be written to \"%1\".").arg(store->fileName());
        return false;
    }
    return true;
}

bool SettingsLoadFailed()
{
    return SettingsLoadFailedFlag;
}

namespace {

// The default as SaveSettings writes it: booleans as "True" or "False".
QString StoredDefault(const SettingDef& def)
{
    const QString text = QString::fromLatin1(def.defaultText);
    if (def.conversion != Conversion::Boolean)
        return text;
    return ParseBoolean(text).value_or(false) ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QString ResetFailedSettingQuestion(const QString& loadMessage)
{
    if (!FailedSetting)
        return loadMessage;
    return loadMessage + QStringLiteral("\n\n")
        + Tr("The settings are kept in the file \"%1\".").arg(OpenSettingsStore()->fileName())
        + QStringLiteral("\n\n")
        + Tr("Reset \"%1\" to its default value, %2? The other settings stay as they are. "
             "With No, the main window stays empty and the file is left as it is.")
              .arg(QString::fromLatin1(FailedSetting->key), StoredDefault(*FailedSetting));
}

bool ResetFailedSetting(QString& message)
{
    if (!FailedSetting)
        return true;
    // Written rather than removed: a removed value would let one stored for all users
    // show through, and that may be the bad one.
    const auto store = OpenSettingsStore();
    const QString key = QString::fromLatin1(FailedSetting->key);
    const QString path = QStringLiteral("General/") + key;
    const QVariant stored = store->value(path);
    store->setValue(path, StoredDefault(*FailedSetting));
    store->sync();
    if (store->status() != QSettings::NoError) {
        // Put back, or the next sync of any settings object would write it after all.
        if (stored.isValid())
            store->setValue(path, stored);
        else
            store->remove(path);
        message = Tr("The setting \"%1\" could not be reset, because the settings file \"%2\" "
                     "cannot be written.")
                      .arg(key, store->fileName());
        return false;
    }
    return true;
}

void ResetSettingsToUnloaded()
{
    for (const SettingDef& def : kSettings)
        std::visit([](auto* value) { *value = {}; }, def.target);
    SettingsLoadFailedFlag = false;
    FailedSetting = nullptr;
}
