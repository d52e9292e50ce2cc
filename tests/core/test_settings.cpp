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

TEST_F(SettingsTest, AnEmptyStoreGivesTheDefaultsAndAFirstSaveWritesEveryKey)
{
    Settings settings;
    ASSERT_TRUE(Load(settings)) << message.toStdString();
    Settings expected;
    expected.mixerVolume = 64;
    expected.enableSound = true;
    expected.currLessonKey = 1;
    expected.beepOnError = true;
    expected.flatSymbolPref = true;
    expected.currLearnerKey = -1;
    expected.testDuration = 30;
    expected.fretboardStyle = 1;
    expected.playNoteOnPrompt = true;
    expected.echoEnabled = true;
    expected.currCustomKey = 4;
    expected.currCustomScale = 1;
    expected.currCustomPattern = 1;
    expected.pentatonicOnly = true;
    expected.noteMaxDuration = 10;
    expected.inputThreshold = -50;
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(Settings::Defaults(), expected);

    ASSERT_TRUE(store.SaveSettings(settings, message)) << message.toStdString();
    const auto raw = SettingsStore::Open();
    raw->beginGroup(QStringLiteral("General"));
    EXPECT_EQ(raw->childKeys().size(), 25);
    EXPECT_EQ(Stored("ListenEnabled"), QStringLiteral("False"));
    EXPECT_EQ(Stored("EnableSound"), QStringLiteral("True"));
    EXPECT_EQ(Stored("BluesNotesOnly"), QStringLiteral("True"));
    EXPECT_EQ(Stored("CurrLearnerKey"), QStringLiteral("-1"));
}

TEST_F(SettingsTest, StoredTextsConvertByTheirType)
{
    struct Case {
        const char* key;
        const char* text;
        bool loads;
    };
    const Case cases[] = {
        {"Channel", "3.9", true},          // floored
        {"MixerVolume", "64.5", true},     // halves to even
        {"EnableSound", "0", true},
        {"BeepOnError", "tRUE", true},
        {"FlatSymbolPref", "-1", true},
        {"TestDuration", " 45 ", true},
        {"EnableSound", "yes", false},
        {"Patch", "40000", false},          // beyond 16 bits
        {"GuitarType", "3000000000", false}, // beyond 32 bits
        {"TestDuration", "", false},
        {"TestDuration", "-32768.5", false}, // floors to -32769
    };
    for (const Case& c : cases) {
        SetUp();
        Store(c.key, QString::fromLatin1(c.text));
        Settings settings;
        EXPECT_EQ(Load(settings), c.loads) << c.key << "=" << c.text;
        if (!c.loads) {
            EXPECT_TRUE(message.contains(QLatin1String(c.key))) << message.toStdString();
            EXPECT_TRUE(store.ResetFailedSettingQuestion(message).contains(SettingsStore::FileName()))
                << "the offer names the file";
            EXPECT_EQ(store.FailedKey(), QLatin1String(c.key));
        }
    }
    SetUp();
    Store("Channel", QStringLiteral("3.9"));
    Store("MixerVolume", QStringLiteral("65.5"));
    Store("FlatSymbolPref", QStringLiteral("-1"));
    Settings settings;
    ASSERT_TRUE(Load(settings));
    EXPECT_EQ(settings.channel, 3);
    EXPECT_EQ(settings.mixerVolume, 66);
    EXPECT_TRUE(settings.flatSymbolPref);
}

TEST_F(SettingsTest, ValuesSurviveASaveAndALoad)
{
    Settings settings = Settings::Defaults();
    settings.curDeviceName = QStringLiteral("Port with spaces: 1");
    settings.mixerVolume = 40000;
    settings.guitarType = 2;
    settings.pentatonicOnly = false;
    settings.noteMaxDuration = 300;
    settings.listenEnabled = true;
    settings.inputDevice = QStringLiteral("ALSA: USB Audio, hw:1,0");
    settings.inputThreshold = -62;
    ASSERT_TRUE(store.SaveSettings(settings, message));
    Settings reloaded;
    ASSERT_TRUE(Load(reloaded));
    EXPECT_EQ(reloaded, settings);
    EXPECT_EQ(Stored("BluesNotesOnly"), QStringLiteral("False"));
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
