// End to end through a real sound server: a JACK server of our own (dummy driver, no
// sound card), a recorded guitar note played into our input by sndfile-jackplay,
// captured by the RtAudio input's JACK back end and heard as its MIDI number; then the
// server goes away under the running input, which must stop cleanly with its text.
#include "doubles/JackServer.h"
#include "support/TestSignals.h"

#include "listen/Listener.h"
#include "listen/RtAudioInput.h"
#include "listen/WavFile.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace listening;
using namespace listening::testing;

namespace {

constexpr int kRate = JackServer::kRate;

// A recorded nylon-guitar note from freepats at its own pitch, or a synthetic one when
// freepats is not installed; with a little silence before it.
MonoSound recordedNote(int midi)
{
    MonoSound sound{silence(kRate, 0.2), kRate};
    const std::vector<GusSample> patch = readGusPatch(QStringLiteral("/usr/share/midi/freepats/Tone_000/024_Nylon_Guitar.pat"));
    const double hz = hzOfMidi(midi);
    for (const GusSample& sample : patch) {
        if (hz >= sample.lowHz && hz < sample.highHz) {
            append(sound.samples, playGusSample(sample, hz, kRate, 1.0));
            return sound;
        }
    }
    append(sound.samples, pluckedTone(kRate, hz, 1.0));
    return sound;
}

bool play(const QString& player, const QString& file)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(player, {QStringLiteral("--autoconnect=%1:inport 0").arg(QLatin1String(RtAudioInput::JackClientName)), file});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

} // namespace

TEST(JackInput, ARecordedNotePlayedIntoTheServerIsHeardAsItsMidiNumber)
{
    const QString player = QStandardPaths::findExecutable(QStringLiteral("sndfile-jackplay"));
    if (player.isEmpty())
        GTEST_SKIP() << "sndfile-jackplay (sndfile-tools) is not installed";
    JackServer jack;
    if (!jack.Error().isEmpty())
        GTEST_SKIP() << jack.Error().toStdString();
    QTemporaryDir files;
    const QString right = files.filePath(QStringLiteral("a2.wav"));
    const QString other = files.filePath(QStringLiteral("e3.wav"));
    ASSERT_TRUE(writeWav(right, recordedNote(45)));
    ASSERT_TRUE(writeWav(other, recordedNote(52)));

    Listener listener(std::make_unique<RtAudioInput>());
    const QString system = QStringLiteral("JACK: system");
    bool listed = false;
    for (QDeadlineTimer deadline(5000); !listed && !deadline.hasExpired(); QTest::qWait(50)) {
        for (const InputDevice& device : listener.devices())
            listed = listed || device.name == system;
    }
    ASSERT_TRUE(listed) << "the server's capture ports are not in the input list";

    QSignalSpy played(&listener, &Listener::notePlayed);
    QSignalSpy stopped(&listener, &Listener::listeningStopped);
    ASSERT_TRUE(listener.start(system, 44100)) << listener.errorText().toStdString();
    EXPECT_EQ(listener.sampleRate(), kRate) << "a JACK input runs at the server's rate";
    for (QDeadlineTimer deadline(5000); listener.input().framesDelivered() == 0 && !deadline.hasExpired();)
        QTest::qWait(20);
    ASSERT_GT(listener.input().framesDelivered(), 0) << "the server never ran our client";

    ASSERT_TRUE(play(player, right));
    for (QDeadlineTimer deadline(5000); played.count() < 1 && !deadline.hasExpired();)
        played.wait(100);
    ASSERT_TRUE(play(player, other));
    for (QDeadlineTimer deadline(5000); played.count() < 2 && !deadline.hasExpired();)
        played.wait(100);
    ASSERT_EQ(played.count(), 2);
    EXPECT_EQ(played.at(0).at(0).toInt(), 45);
    EXPECT_EQ(played.at(1).at(0).toInt(), 52);

    // The server goes away under the running input.
    jack.Stop();
    for (QDeadlineTimer deadline(5000); stopped.isEmpty() && !deadline.hasExpired();)
        stopped.wait(100);
    ASSERT_EQ(stopped.count(), 1);
    EXPECT_EQ(stopped.at(0).at(0).value<InputStatus>(), InputStatus::Vanished);
    EXPECT_EQ(stopped.at(0).at(1).toString(),
              "The input JACK: system stopped delivering sound (was it unplugged?). Listening is off.");
    EXPECT_FALSE(listener.isListening());
    EXPECT_EQ(played.count(), 2);
}

TEST(JackInput, WithoutAServerNoneIsStartedAndTheListSaysSoQuickly)
{
    const ScopedEnv serverName("JACK_DEFAULT_SERVER", "fretlore-no-such-server");
    unsetenv("JACK_NO_START_SERVER");
    RtAudioInput input;
    EXPECT_EQ(qgetenv("JACK_NO_START_SERVER"), "1");
    const QDeadlineTimer deadline(3000);
    for (const InputDevice& device : input.devices())
        EXPECT_FALSE(device.name.startsWith(QStringLiteral("JACK:"))) << device.name.toStdString();
    EXPECT_FALSE(deadline.hasExpired()) << "asking for the inputs waited for a server";
    EXPECT_NE(input.open(QStringLiteral("JACK: system"), 48000), InputStatus::Open);
    EXPECT_FALSE(input.errorText().isEmpty());
}
