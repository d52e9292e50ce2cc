#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

QSettings Store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fretlore"),
                     QStringLiteral("Fretlore"));
}

void StoreValue(const char* key, const QString& text)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fretlore"),
                    QStringLiteral("Fretlore"));
    store.setValue(QStringLiteral("General/") + QLatin1String(key), text);
    store.sync();
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fretlore"),
                        QStringLiteral("Fretlore"));
        store.clear();
        store.sync();
        ResetSettingsToUnloaded();
    }
};

} // namespace

TEST_F(SettingsTest, EmptyStoreGivesTheDefaultsAndFirstSaveWritesAllTwenty)
{
    QString message;
    ASSERT_TRUE(LoadSettings(message)) << message.toStdString();
    EXPECT_EQ(CurDeviceName, QString());
    EXPECT_EQ(MixerVolume, 64);
    EXPECT_EQ(Channel, 0);
    EXPECT_TRUE(EnableSound);
    EXPECT_EQ(CurrLessonKey, 1);
    EXPECT_TRUE(BeepOnError);
    EXPECT_TRUE(FlatSymbolPref);
    EXPECT_EQ(CurrLearnerKey, -1);
    EXPECT_EQ(WebBrowserPath, QString());
    EXPECT_EQ(TestDuration, 30);
    EXPECT_EQ(FretboardStyle, 1);
    EXPECT_TRUE(PlayNoteOnPrompt);
    EXPECT_EQ(GuitarType, 0);
    EXPECT_TRUE(EchoEnabled);
    EXPECT_EQ(CurrCustomKey, 4);
    EXPECT_EQ(CurrCustomScale, 1);
    EXPECT_EQ(CurrCustomPattern, 1);
    EXPECT_TRUE(BluesNotesOnly);
    EXPECT_EQ(Patch, 0);
    EXPECT_EQ(NoteMaxDuration, 10);

    ASSERT_TRUE(SaveSettings(message)) << message.toStdString();
    QSettings store = Store();
    store.beginGroup(QStringLiteral("General"));
    const QStringList keys = store.childKeys();
    EXPECT_EQ(keys.size(), 20);
    EXPECT_EQ(store.value(QStringLiteral("EnableSound")).toString(), QStringLiteral("True"));
    EXPECT_EQ(store.value(QStringLiteral("CurrLearnerKey")).toString(), QStringLiteral("-1"));
    EXPECT_EQ(store.value(QStringLiteral("TestDuration")).toString(), QStringLiteral("30"));
    EXPECT_EQ(store.value(QStringLiteral("CurDeviceName")).toString(), QString());
}

TEST_F(SettingsTest, ValuesSurviveASaveAndLoad)
{
    QString message;
    ASSERT_TRUE(LoadSettings(message));
    CurDeviceName = QStringLiteral("Port with spaces: 1");
    MixerVolume = 40000;
    GuitarType = 2;
    BluesNotesOnly = false;
    Channel = 9;
    ASSERT_TRUE(SaveSettings(message));
    ResetSettingsToUnloaded();
    ASSERT_TRUE(LoadSettings(message));
    EXPECT_EQ(CurDeviceName, QStringLiteral("Port with spaces: 1"));
    EXPECT_EQ(MixerVolume, 40000);
    EXPECT_EQ(GuitarType, 2);
    EXPECT_FALSE(BluesNotesOnly);
    EXPECT_EQ(Channel, 9);
    QSettings store = Store();
    EXPECT_EQ(store.value(QStringLiteral("General/BluesNotesOnly")).toString(), QStringLiteral("False"));
}

TEST_F(SettingsTest, NumbersAreFlooredExceptTheVolumeWhichRoundsHalfToEven)
{
    StoreValue("Channel", QStringLiteral("3.9"));
    StoreValue("MixerVolume", QStringLiteral("64.5"));
    StoreValue("EnableSound", QStringLiteral("0"));
    StoreValue("BeepOnError", QStringLiteral("tRUE"));
    StoreValue("FlatSymbolPref", QStringLiteral("-1"));
    QString message;
    ASSERT_TRUE(LoadSettings(message)) << message.toStdString();
    EXPECT_EQ(Channel, 3);
    EXPECT_EQ(MixerVolume, 64);
    EXPECT_FALSE(EnableSound);
    EXPECT_TRUE(BeepOnError);
    EXPECT_TRUE(FlatSymbolPref);

    StoreValue("MixerVolume", QStringLiteral("65.5"));
    ASSERT_TRUE(LoadSettings(message));
    EXPECT_EQ(MixerVolume, 66);
}

TEST_F(SettingsTest, AWordWhereABooleanBelongsStopsTheLoad)
{
    StoreValue("EnableSound", QStringLiteral("yes"));
    QString message;
    EXPECT_FALSE(LoadSettings(message));
    EXPECT_TRUE(message.contains(QStringLiteral("EnableSound")));
    EXPECT_TRUE(message.contains(QStringLiteral("\"yes\"")));
}

TEST_F(SettingsTest, AnOverflowStopsTheLoadWithEarlierSettingsLoadedAndLaterOnesUntouched)
{
    StoreValue("Patch", QStringLiteral("40000"));
    StoreValue("CurrCustomPattern", QStringLiteral("3"));
    QString message;
    EXPECT_FALSE(LoadSettings(message));
    EXPECT_TRUE(message.contains(QStringLiteral("Patch")));
    EXPECT_TRUE(message.contains(QStringLiteral("40000")));
    // Settings 1..18 were converted before the failure...
    EXPECT_EQ(MixerVolume, 64);
    EXPECT_EQ(CurrCustomPattern, 3);
    EXPECT_TRUE(BluesNotesOnly);
    // ...the failing one and the ones after it keep what they held.
    EXPECT_EQ(Patch, 0);
    EXPECT_EQ(NoteMaxDuration, 0);
}

TEST_F(SettingsTest, AFailedLoadNeverOverwritesTheStoredSettings)
{
    StoreValue("Patch", QStringLiteral("40000"));
    StoreValue("WebBrowserPath", QStringLiteral("/usr/bin/firefox"));
    StoreValue("NoteMaxDuration", QStringLiteral("25"));
    QString message;
    ASSERT_FALSE(LoadSettings(message));
    ASSERT_TRUE(SettingsLoadFailed());

    EXPECT_FALSE(SaveSettings(message));
    EXPECT_FALSE(message.isEmpty());
    QSettings store = Store();
    EXPECT_EQ(store.value(QStringLiteral("General/Patch")).toString(), QStringLiteral("40000"));
    EXPECT_EQ(store.value(QStringLiteral("General/NoteMaxDuration")).toString(), QStringLiteral("25"));
    EXPECT_EQ(store.value(QStringLiteral("General/WebBrowserPath")).toString(), QStringLiteral("/usr/bin/firefox"));

    // Once the value is fixed, a load succeeds and saving works again.
    StoreValue("Patch", QStringLiteral("5"));
    ASSERT_TRUE(LoadSettings(message));
    EXPECT_TRUE(SaveSettings(message));
}

TEST_F(SettingsTest, NumbersOutOfTheirTypeOrNotNumbersFail)
{
    QString message;
    StoreValue("GuitarType", QStringLiteral("3000000000"));
    EXPECT_FALSE(LoadSettings(message));
    EXPECT_TRUE(message.contains(QStringLiteral("GuitarType")));

    StoreValue("GuitarType", QStringLiteral("0"));
    StoreValue("TestDuration", QString());
    EXPECT_FALSE(LoadSettings(message));
    EXPECT_TRUE(message.contains(QStringLiteral("TestDuration")));

    StoreValue("TestDuration", QStringLiteral("-32768.5"));
    EXPECT_FALSE(LoadSettings(message)); // floors to -32769
    StoreValue("TestDuration", QStringLiteral(" 45 "));
    EXPECT_TRUE(LoadSettings(message)) << message.toStdString();
    EXPECT_EQ(TestDuration, 45);
}
