// Bad values in the settings store: what the window does with them.
#include "FaultFixture.h"

#include <cstring>

namespace {

using BadSettings = FaultTest;

QString Stored(const char* key)
{
    return SettingsStore::Open()->value(QStringLiteral("General/") + QLatin1String(key)).toString();
}

} // namespace

// Accepted, the offer resets that one setting and keeps the others; declined, the window
// stays empty and nothing is written back; a settings file that cannot be written says so.
TEST_F(BadSettings, AnUnreadableSettingCanBeResetOnItsOwn)
{
    const std::pair<const char*, const char*> stored[] = {
        {"Channel", "9"}, {"TestDuration", "45"}, {"Patch", "40"}, {"CurrCustomKey", "6"}, {"BeepOnError", "False"},
    };
    const std::pair<const char*, const char*> resets[] = {{"Channel", "0"}, {"BeepOnError", "True"}, {"Patch", "0"}};
    for (const auto& [badKey, defaultText] : resets) {
        SCOPED_TRACE(badKey);
        ClearSettings();
        recorder.answers = {MsgYes};
        for (const auto& [key, text] : stored)
            StoreSetting(QLatin1String(key), QLatin1String(text));
        StoreSetting(QLatin1String(badKey), QStringLiteral("not a number"));
        ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << recorder.allMessages().toStdString();
        EXPECT_EQ(Stored(badKey), QLatin1String(defaultText));
        for (const auto& [key, text] : stored) {
            if (std::strcmp(key, badKey) != 0) {
                EXPECT_EQ(Stored(key), QLatin1String(text)) << key;
            }
        }
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
    EXPECT_EQ(recorder.shown[1].style, int(MsgYesNo));
    EXPECT_TRUE(recorder.shown[1].text.startsWith(QStringLiteral("The stored setting \"Patch\"")));
    Exit();
    EXPECT_EQ(Stored("Patch"), QStringLiteral("y"));
    EXPECT_EQ(Stored("TestDuration"), QString()) << "the settings were saved";

    ClearSettings();
    StoreSetting(QStringLiteral("Channel"), QStringLiteral("x"));
    const QByteArray before = ReadBytes(SettingsStore::FileName());
    recorder.answers = {MsgYes};
    {
        const FileSizeLimit full(16);
        ASSERT_EQ(Launch(), FrmStartup::LoadResult::WithoutContent);
    }
    EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("The setting \"Channel\" could not be reset")))
        << recorder.lastMessage().toStdString();
    Exit();
    EXPECT_EQ(ReadBytes(SettingsStore::FileName()), before);
}

// Values outside what a setting means, and texts far longer than any: the program starts
// or says why not, and plays in each activity sending only well-formed MIDI.
TEST_F(BadSettings, OutOfRangeValuesNeitherCrashNorSendBrokenMidi)
{
    const QByteArray huge(200000, 'x');
    const std::pair<const char*, std::vector<QByteArray>> cases[] = {
        {"CurDeviceName", {"No such port", "\t\n<RECORD>", "x", huge}},
        {"MixerVolume", {"-1", "-2147483648", "2147483647", "65536"}},
        {"Channel", {"-1", "16", "99", "32767", "-32768"}},
        {"CurrLessonKey", {"0", "-1", "7", "32767", "-32768"}},
        {"CurrLearnerKey", {"0", "-2", "32767", "-32768"}},
        {"WebBrowserPath", {"/nonexistent/browser", "\x01\x02", huge}},
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
        for (const QByteArray& text : values) {
            SCOPED_TRACE(std::string(key) + " = '" + text.left(20).toStdString() + "'");
            ClearSettings();
            recorder.shown.clear();
            midi.messages.clear();
            StoreSetting(QLatin1String(key), QString::fromLatin1(text));
            const bool isHuge = text.size() == huge.size();
            if (Launch() != FrmStartup::LoadResult::Ready) {
                EXPECT_FALSE(isHuge) << "a long text stopped the start";
                EXPECT_FALSE(recorder.shown.empty()) << "the start stopped without a word";
                Exit();
                continue;
            }
            AnswerPrompt(true);
            Press({1, 1});
            Press({Board().StringCount(), 14}, Qt::RightButton);
            window->mnuShowMe->trigger();
            Press({1, 3});
            window->mnuFreePlay->trigger();
            Press({1, 5});
            window->mnuPatternPlay->trigger();
            window->mnuDrillMode->trigger();
            window->Sound().Timeout().Tick();
            EXPECT_TRUE(AllMessagesWellFormed());
            Exit();
            if (isHuge) {
                EXPECT_EQ(Stored(key), QString::fromLatin1(huge)) << "a long text is kept whole";
            }
        }
}

// A settings file that is not one reads as empty, and a good one is left behind.
TEST_F(BadSettings, AGarbledSettingsFileStartsOnDefaults)
{
    const QString path = SettingsStore::FileName();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QByteArray garbage(5000, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919) % 251);
    WriteBytes(path, garbage);
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << recorder.allMessages().toStdString();
    EXPECT_EQ(window->GetSettings().testDuration, 30);
    Exit();
    EXPECT_EQ(Stored("TestDuration"), QStringLiteral("30"));
}
