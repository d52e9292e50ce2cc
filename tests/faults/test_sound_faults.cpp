// Sound that cannot start or goes away: the user is told, the drill carries on.
#include "FaultFixture.h"

#include "sound/Synthesizer.h"
#include "sound/SystemMidiOutput.h"

using SoundFaults = FaultTest;

// No SoundFont, a broken one, no audio device (a driver FluidSynth lacks): one message
// naming the cause, a silent working drill, and sound off stored at exit.
TEST_F(SoundFaults, ASynthesizerThatCannotStartMeansAMessageAndASilentDrill)
{
    const QString junk = dir.filePath(QStringLiteral("broken.sf2"));
    WriteBytes(junk, QByteArray("RIFF\x10\0\0\0sfbkLIST", 16) + QByteArray(3000, '\x55'));
    const std::tuple<QStringList, QStringList, const char*> cases[] = {
        {{QStringLiteral("/nonexistent/none.sf2")}, {}, "No General MIDI SoundFont was found"},
        {{junk}, {}, "SoundFont could not be loaded"},
        {DefaultSoundFontCandidates(), {QStringLiteral("no-such-driver")}, "No audio output could be opened"},
    };
    for (const auto& [soundFonts, drivers, cause] : cases) {
        SCOPED_TRACE(cause);
        ClearSettings();
        recorder.shown.clear();
        SynthesizerOptions synthOptions;
        synthOptions.soundFonts = soundFonts;
        synthOptions.audioDrivers = drivers;
        const auto synth = std::make_shared<Synthesizer>(synthOptions);
        FrmStartup::Options options = Options();
        options.sound = [this, synth](Settings& settings) {
            return std::make_unique<SoundSystem>(settings, std::make_unique<SystemMidiOutput>(synth),
                                                 std::make_unique<RecordingMixerDevice>(&mixer));
        };
        window = std::make_unique<FrmStartup>(options);
        window->show();
        ASSERT_EQ(window->Load(), FrmStartup::LoadResult::Ready) << recorder.allMessages().toStdString();
        ASSERT_EQ(recorder.shown.size(), 1u) << recorder.allMessages().toStdString();
        EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("Unable to open the MIDI device.")));
        EXPECT_TRUE(recorder.lastMessage().contains(QLatin1String(cause))) << recorder.lastMessage().toStdString();
        EXPECT_FALSE(window->GetSettings().enableSound);
        AnswerPrompt(true);
        window->Sound().Timeout().Tick();
        EXPECT_EQ(recorder.shown.size(), 1u) << "no more messages: " << recorder.allMessages().toStdString();
        EXPECT_EQ(window->StatusPanelText(QString()), QStringLiteral("Correct! Now try the next note."));
        Exit();
        EXPECT_EQ(SettingsStore::Open()->value(QStringLiteral("General/EnableSound")).toString(),
                  QStringLiteral("False"));
    }
}

// The port goes away while a note sounds: the next note says why; back, it sounds again.
TEST_F(SoundFaults, APortThatDisappearsWhileANoteSounds)
{
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready);
    ASSERT_TRUE(recorder.shown.empty()) << recorder.allMessages().toStdString();
    AnswerPrompt(true);
    ASSERT_FALSE(midi.messages.empty());
    EXPECT_EQ(midi.messages.back() & 0xF0, 0x90u) << "a note is sounding";
    ASSERT_TRUE(window->Sound().Midi().IsOpen());

    port->sendError = 77;
    port->closeError = 77;
    window->Sound().Timeout().Tick(); // the timed note-off
    window->Sound().Timeout().Tick(); // and the timer's stop
    EXPECT_FALSE(window->Sound().Timeout().IsActive()) << "the timer does not run on";

    recorder.shown.clear();
    AnswerPrompt(true);
    ASSERT_FALSE(recorder.shown.empty()) << "the next note tells the user";
    EXPECT_TRUE(recorder.lastMessage().contains(QStringLiteral("Midi error")) ||
                recorder.lastMessage().contains(QStringLiteral("The device is gone")))
        << recorder.lastMessage().toStdString();

    port->sendError = 0;
    port->closeError = 0;
    recorder.shown.clear();
    midi.messages.clear();
    AnswerPrompt(true);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.allMessages().toStdString();
    ASSERT_FALSE(midi.messages.empty()) << "sound comes back with the port";
    window->Sound().Timeout().Tick();
    EXPECT_EQ(midi.messages.back() & 0xF0, 0x80u) << "and its note is stopped";
    EXPECT_FALSE(window->Sound().Midi().IsOpen()) << "the output is closed after the note-off";
    EXPECT_TRUE(AllMessagesWellFormed());

    // Gone for good while a note sounds at exit: the failed close is reported, no crash.
    port->closeError = 77;
    AnswerPrompt(true);
    recorder.shown.clear();
    Exit();
    ASSERT_EQ(recorder.shown.size(), 1u) << recorder.allMessages().toStdString();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Couldn't close midi out, error description is: The device is gone."));
}
