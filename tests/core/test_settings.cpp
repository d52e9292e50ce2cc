// The settings table: defaults, conversions, the failure rules, and a way out of one
// unreadable setting.
#include "core/Settings.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto store = SettingsStore::Open();
        store->clear();
        store->sync();
    }
    static void Store(const char* key, const QString& text)
    {
        const auto store = SettingsStore::Open();
        store->setValue(QStringLiteral("General/") + QLatin1String(key), text);
        store->sync();
    }
    static QString Stored(const char* key)
    {
        return SettingsStore::Open()->value(QStringLiteral("General/") + QLatin1String(key)).toString();
    }
    bool Load(Settings& settings)
    {
        message.clear();
        return store.LoadSettings(settings, message);
    }

    SettingsStore store;
    QString message;
};

} // namespace

TEST_F(SettingsTest, AnEmptyStoreGivesTheDefaultsAndASaveWritesEveryKeyToReadBack)
{
    const Settings defaults{.curDeviceName = {}, .mixerVolume = 64, .enableSound = true, .currLessonKey = 1,
                            .beepOnError = true, .flatSymbolPref = true, .currLearnerKey = -1, .webBrowserPath = {},
                            .testDuration = 30, .fretboardStyle = 1,
                            .playNoteOnPrompt = true, .echoEnabled = true, .currCustomKey = 4, .currCustomScale = 1,
                            .currCustomPattern = 1, .pentatonicOnly = true, .noteMaxDuration = 10,
                            .inputThreshold = -50};
    Settings settings;
    ASSERT_TRUE(Load(settings)) << message.toStdString();
    EXPECT_EQ(settings, defaults);
    EXPECT_EQ(Settings::Defaults(), defaults);
    ASSERT_TRUE(store.SaveSettings(settings, message)) << message.toStdString();
    const auto raw = SettingsStore::Open();
    raw->beginGroup(QStringLiteral("General"));
    EXPECT_EQ(raw->childKeys().size(), 27);
    EXPECT_EQ(Stored("LeftHandedNeck"), QStringLiteral("False"));
    EXPECT_EQ(Stored("LowestStringOnTop"), QStringLiteral("False"));
    EXPECT_EQ(Stored("ListenEnabled"), QStringLiteral("False"));
    EXPECT_EQ(Stored("EnableSound"), QStringLiteral("True"));
    EXPECT_EQ(Stored("BluesNotesOnly"), QStringLiteral("True"));
    EXPECT_EQ(Stored("CurrLearnerKey"), QStringLiteral("-1"));

    settings.curDeviceName = QStringLiteral("Port with spaces: 1");
    settings.mixerVolume = 40000;
    settings.guitarType = 2;
    settings.pentatonicOnly = false;
    settings.noteMaxDuration = 300;
    settings.leftHandedNeck = true;
    settings.lowestStringOnTop = true;
    settings.listenEnabled = true;
    settings.inputDevice = QStringLiteral("ALSA: USB Audio, hw:1,0");
    settings.inputThreshold = -62;
    ASSERT_TRUE(store.SaveSettings(settings, message));
    Settings reloaded;
    ASSERT_TRUE(Load(reloaded));
    EXPECT_EQ(reloaded, settings);
    EXPECT_EQ(Stored("BluesNotesOnly"), QStringLiteral("False"));
}

// Stored texts convert by their setting's type.
TEST_F(SettingsTest, StoredTextsConvertByTheirType)
{
    Store("Channel", QStringLiteral("3.9"));       // floored
    Store("MixerVolume", QStringLiteral("65.5"));  // halves to even
    Store("EnableSound", QStringLiteral("0"));
    Store("BeepOnError", QStringLiteral("tRUE"));
    Store("FlatSymbolPref", QStringLiteral("-1"));
    Store("TestDuration", QStringLiteral(" 45 "));
    Settings settings;
    ASSERT_TRUE(Load(settings)) << message.toStdString();
    EXPECT_EQ(settings.channel, 3);
    EXPECT_EQ(settings.mixerVolume, 66);
    EXPECT_FALSE(settings.enableSound);
    EXPECT_TRUE(settings.beepOnError);
    EXPECT_TRUE(settings.flatSymbolPref);
    EXPECT_EQ(settings.testDuration, 45);
    Store("MixerVolume", QStringLiteral("64.5"));
    ASSERT_TRUE(Load(settings));
    EXPECT_EQ(settings.mixerVolume, 64);
}

// Text that is not a value of the setting's kind, or beyond its width, stops the load.
// The offer to reset it names the setting, the text and the settings file, and the
// store is not written over.
TEST_F(SettingsTest, UnreadableTextsAreNamedAndLeftInTheStore)
{
    const char* const numberKeys[] = {"MixerVolume",    "Channel",    "CurrLessonKey", "CurrLearnerKey",
                                      "TestDuration",   "FretboardStyle", "GuitarType", "CurrCustomKey",
                                      "CurrCustomScale", "CurrCustomPattern", "Patch", "NoteMaxDuration"};
    const char* const booleanKeys[] = {"EnableSound", "BeepOnError", "FlatSymbolPref",
                                       "PlayNoteOnPrompt", "EchoEnabled", "BluesNotesOnly"};
    const auto refused = [this](const char* key, const char* text) {
        SetUp();
        Store("Channel", QStringLiteral("9"));
        Store(key, QLatin1String(text));
        Settings settings;
        EXPECT_FALSE(Load(settings)) << key << " = '" << text << "'";
        EXPECT_EQ(store.FailedKey(), QLatin1String(key));
        const QString offer = store.ResetFailedSettingQuestion(message);
        for (const QString& part : {QString::fromLatin1(key), QString::fromLatin1(text), SettingsStore::FileName(),
                                    QStringLiteral("Reset \"%1\" to its default value").arg(QLatin1String(key))})
            EXPECT_TRUE(offer.contains(part)) << key << " = '" << text << "': " << offer.toStdString();
        EXPECT_FALSE(store.SaveSettings(Settings::Defaults(), message));
        EXPECT_EQ(Stored(key), QLatin1String(text));
    };
    for (const char* key : numberKeys)
        for (const char* text : {"yes please", "12abc", "", "1e999", "99999999999", "0x10", "nan"})
            refused(key, text);
    for (const char* key : booleanKeys)
        for (const char* text : {"yes", "", "on", "1e999"})
            refused(key, text);
    refused("Patch", "40000");              // beyond 16 bits
    refused("GuitarType", "3000000000");    // beyond 32 bits
    refused("TestDuration", "-32768.5");    // floors to -32769
}

TEST_F(SettingsTest, AFailedLoadKeepsWhatCameBeforeAndNeverOverwritesTheStore)
{
    Store("Patch", QStringLiteral("40000"));
    Store("CurrCustomPattern", QStringLiteral("3"));
    Store("WebBrowserPath", QStringLiteral("/usr/bin/firefox"));
    Settings settings;
    ASSERT_FALSE(Load(settings));
    EXPECT_EQ(settings.currCustomPattern, 3) << "settings before the bad one are loaded";
    EXPECT_EQ(settings.patch, 0) << "the bad one and the later ones keep what they held";
    EXPECT_EQ(settings.noteMaxDuration, 0);
    ASSERT_TRUE(store.LoadFailed());

    EXPECT_FALSE(store.SaveSettings(Settings::Defaults(), message));
    EXPECT_EQ(Stored("Patch"), QStringLiteral("40000"));
    EXPECT_EQ(Stored("WebBrowserPath"), QStringLiteral("/usr/bin/firefox"));

    // Resetting the one bad setting leaves the others alone and lets the load through.
    ASSERT_TRUE(store.ResetToDefault(QStringLiteral("Patch"), message));
    EXPECT_EQ(Stored("Patch"), QStringLiteral("0"));
    EXPECT_EQ(Stored("WebBrowserPath"), QStringLiteral("/usr/bin/firefox"));
    ASSERT_TRUE(Load(settings));
    EXPECT_EQ(settings.currCustomPattern, 3);
    EXPECT_TRUE(store.SaveSettings(settings, message));
    EXPECT_FALSE(store.ResetToDefault(QStringLiteral("NoSuchKey"), message));
}
