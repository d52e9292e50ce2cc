// Bad values in the settings store, one setting at a time.
#include "FaultFixture.h"

#include <cstring>

namespace {

const char* const kNumberKeys[] = {
    "MixerVolume", "Channel", "CurrLessonKey", "CurrLearnerKey", "TestDuration", "FretboardStyle",
    "GuitarType", "CurrCustomKey", "CurrCustomScale", "CurrCustomPattern", "Patch", "NoteMaxDuration",
};
const char* const kBooleanKeys[] = {
    "EnableSound", "BeepOnError", "FlatSymbolPref", "PlayNoteOnPrompt", "EchoEnabled", "BluesNotesOnly",
};

class BadSettings : public FaultTest {
protected:
    // Leaves the window and checks that the store holds what it held before.
    void ExitKeepingTheStore(const QByteArray& before)
    {
        Exit();
        EXPECT_EQ(SettingsFileBytes(), before) << "the stored settings were rewritten";
    }

    // Starts, plays a little in each activity, and leaves.
    void StartAndPlay()
    {
        const FrmStartup::LoadResult result = Launch();
        if (result != FrmStartup::LoadResult::Ready) {
            EXPECT_FALSE(recorder.shown.empty()) << "the start stopped without a word";
            Exit();
            return;
        }
        ASSERT_GT(Board().StringCount(), 0);
        ASSERT_TRUE(AnswerRight());
        ClickCell(1, 1);
        ClickCell(Board().StringCount(), 14, Qt::RightButton);
        window->mnuShowMe->trigger();
        ClickCell(1, 3);
        window->mnuFreePlay->trigger();
        ClickCell(1, 5);
        window->mnuPatternPlay->trigger();
        window->mnuDrillMode->trigger();
        window->Sound().Timeout().Tick();
        EXPECT_TRUE(AllMessagesWellFormed());
        Exit();
    }
};

} // namespace

// Text that is not a value of the setting's kind stops the load with a message naming
// the setting and the settings file, and offering to reset that setting. Declined, the
// window stays empty and nothing is written back.
TEST_F(BadSettings, UnreadableValuesAreNamedAndLeftInTheStore)
{
    const char* const unreadable[] = {"yes please", "12abc", "", "1e999", "99999999999", "0x10", "nan"};
    const auto check = [this](const char* key, const char* text) {
        SCOPED_TRACE(std::string(key) + " = '" + text + "'");
        ClearSettings();
        recorder.shown.clear();
        StoreSetting(QStringLiteral("Channel"), QStringLiteral("9"));
        StoreSetting(QLatin1String(key), QLatin1String(text));
        const QByteArray before = SettingsFileBytes();
        recorder.answers = {MsgNo};
        ASSERT_EQ(Launch(), FrmStartup::LoadResult::WithoutContent);
        ASSERT_EQ(recorder.shown.size(), 1u) << AllMessages().toStdString();
        EXPECT_EQ(recorder.shown.back().style, int(MsgYesNo));
        const QString shown = recorder.lastMessage();
        EXPECT_TRUE(shown.contains(QLatin1String(key))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QLatin1String(text)));
        EXPECT_TRUE(shown.contains(SettingsStore::FileName())) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Reset \"%1\" to its default value").arg(QLatin1String(key))));
        ExitKeepingTheStore(before);
    };
    for (const char* key : kNumberKeys)
        for (const char* text : unreadable)
            check(key, text);
    for (const char* key : kBooleanKeys)
        for (const char* text : {"yes", "", "on", "1e999"})
            check(key, text);
}

// Values of the right kind but outside what the setting means: the program starts or
// says why not, sends only well-formed MIDI, and does not crash.
TEST_F(BadSettings, OutOfRangeValuesNeitherCrashNorSendBrokenMidi)
{
    const std::pair<const char*, std::vector<const char*>> cases[] = {
        {"CurDeviceName", {"No such port", "\t\n<RECORD>", "x"}},
        {"MixerVolume", {"-1", "-2147483648", "2147483647", "65536"}},
        {"Channel", {"-1", "16", "99", "32767", "-32768"}},
        {"CurrLessonKey", {"0", "-1", "7", "32767", "-32768"}},
        {"CurrLearnerKey", {"0", "-2", "32767", "-32768"}},
        {"WebBrowserPath", {"/nonexistent/browser", "\x01\x02"}},
        {"TestDuration", {"0", "-5", "32767", "-32768"}},
        {"FretboardStyle", {"-1", "2", "2147483647"}},
        {"GuitarType", {"-1", "3", "7", "2147483647", "-2147483648"}},
        {"CurrCustomKey", {"0", "13", "-1", "32767"}},
        {"CurrCustomScale", {"0", "3", "-1", "32767"}},
        {"CurrCustomPattern", {"-1", "7", "99", "-32768", "32767"}},
        {"Patch", {"-1", "128", "255", "32767", "-32768"}},
        {"NoteMaxDuration", {"-1", "-32768", "32767"}},
        {"EnableSound", {"-7", "0.5"}},
        {"BeepOnError", {"2"}},
        {"FlatSymbolPref", {"-1"}},
        {"PlayNoteOnPrompt", {"0", "3"}},
        {"EchoEnabled", {"-1e300"}},
        {"BluesNotesOnly", {"0"}},
    };
    for (const auto& [key, values] : cases)
        for (const char* text : values) {
            SCOPED_TRACE(std::string(key) + " = '" + text + "'");
            ClearSettings();
            recorder.shown.clear();
            midi.messages.clear();
            StoreSetting(QLatin1String(key), QString::fromLatin1(text));
            StartAndPlay();
        }
}

// A very long text is kept whole and does not slow the start.
TEST_F(BadSettings, AHugeTextSettingIsCarriedThrough)
{
    const QString huge(200000, QLatin1Char('x'));
    StoreSetting(QStringLiteral("WebBrowserPath"), huge);
    StoreSetting(QStringLiteral("CurDeviceName"), huge);
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << AllMessages().toStdString();
    EXPECT_EQ(window->GetSettings().webBrowserPath, huge);
    Exit();
    EXPECT_EQ(SettingsStore::Open()->value(QStringLiteral("General/WebBrowserPath")).toString(), huge);
}

// A settings file that is not one at all reads as empty: the program starts on the
// defaults and leaves a good file behind.
TEST_F(BadSettings, AGarbledSettingsFileStartsOnDefaults)
{
    const QString path = SettingsStore::FileName();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QByteArray garbage(5000, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919) % 251);
    WriteBytes(path, garbage);
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << AllMessages().toStdString();
    EXPECT_EQ(window->GetSettings().testDuration, 30);
    Exit();
    EXPECT_EQ(SettingsStore::Open()->value(QStringLiteral("General/TestDuration")).toString(), QStringLiteral("30"));
}

// Accepted, the offer resets that one setting to its default and the program starts;
// every other stored setting is read and kept as it was. Each bad setting is offered in
// turn, and a settings file that cannot be written says so.
TEST_F(BadSettings, AnUnreadableSettingCanBeResetOnItsOwn)
{
    const std::pair<const char*, const char*> stored[] = {
        {"Channel", "9"}, {"TestDuration", "45"}, {"Patch", "40"}, {"CurrCustomKey", "6"}, {"BeepOnError", "False"},
    };
    const std::pair<const char*, const char*> resets[] = {{"Channel", "0"}, {"BeepOnError", "True"}, {"Patch", "0"}};
    const auto storedText = [](const char* key) {
        return SettingsStore::Open()->value(QStringLiteral("General/") + QLatin1String(key)).toString();
    };
    for (const auto& [badKey, defaultText] : resets) {
        SCOPED_TRACE(badKey);
        ClearSettings();
        recorder.shown.clear();
        recorder.answers = {MsgYes};
        for (const auto& [key, text] : stored)
            StoreSetting(QLatin1String(key), QLatin1String(text));
        StoreSetting(QLatin1String(badKey), QStringLiteral("not a number"));
        ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << AllMessages().toStdString();
        EXPECT_EQ(storedText(badKey), QLatin1String(defaultText));
        for (const auto& [key, text] : stored)
            if (std::strcmp(key, badKey) != 0)
                EXPECT_EQ(storedText(key), QLatin1String(text)) << key;
        EXPECT_EQ(window->GetSettings().testDuration, 45);
        Exit();
    }

    ClearSettings();
    recorder.shown.clear();
    StoreSetting(QStringLiteral("Channel"), QStringLiteral("x"));
    StoreSetting(QStringLiteral("Patch"), QStringLiteral("y"));
    recorder.answers = {MsgYes, MsgNo};
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::WithoutContent);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_TRUE(recorder.shown[1].text.startsWith(QStringLiteral("The stored setting \"Patch\"")));
    Exit();

    ClearSettings();
    recorder.shown.clear();
    StoreSetting(QStringLiteral("Channel"), QStringLiteral("x"));
    const QByteArray before = SettingsFileBytes();
    recorder.answers = {MsgYes};
    {
        const FileSizeLimit full(16);
        ASSERT_EQ(Launch(), FrmStartup::LoadResult::WithoutContent);
    }
    EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("The setting \"Channel\" could not be reset")))
        << recorder.lastMessage().toStdString();
    ExitKeepingTheStore(before);
}
