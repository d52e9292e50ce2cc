// End to end through a real sound server: a JACK server of our own (dummy driver, no
// sound card), a recorded guitar note played into our input by sndfile-jackplay,
// captured by the RtAudio input's JACK back end and heard as its MIDI number; then the
// server goes away under the running input, which must stop cleanly with its text.
#include "support/JackPlay.h"
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
    ASSERT_TRUE(files.isValid());
    const QString right = files.filePath(QStringLiteral("a2.wav"));
    const QString other = files.filePath(QStringLiteral("e3.wav"));
    ASSERT_TRUE(WriteWav(right, RecordedNote(45, kRate)));
    ASSERT_TRUE(WriteWav(other, RecordedNote(52, kRate)));

    Listener listener(std::make_unique<RtAudioInput>());
    const QString system = QStringLiteral("JACK: system");
    bool listed = false;
    for (QDeadlineTimer deadline(5000); !listed && !deadline.hasExpired(); QTest::qWait(50)) {
        for (const InputDevice& device : listener.Devices())
            listed = listed || device.name == system;
    }
    ASSERT_TRUE(listed) << "the server's capture ports are not in the input list";

    QSignalSpy played(&listener, &Listener::notePlayed);
    QSignalSpy stopped(&listener, &Listener::listeningStopped);
    ASSERT_TRUE(listener.Start(system, 44100)) << listener.ErrorText().toStdString();
    EXPECT_EQ(listener.SampleRate(), kRate) << "a JACK input runs at the server's rate";
    for (QDeadlineTimer deadline(5000); listener.Input().FramesDelivered() == 0 && !deadline.hasExpired();)
        QTest::qWait(20);
    ASSERT_GT(listener.Input().FramesDelivered(), 0) << "the server never ran our client";

    ASSERT_TRUE(PlayInto(player, right));
    for (QDeadlineTimer deadline(5000); played.count() < 1 && !deadline.hasExpired();)
        played.wait(100);
    ASSERT_EQ(played.count(), 1);
    EXPECT_EQ(played.at(0).at(0).toInt(), 45);

    ASSERT_TRUE(PlayInto(player, other));
    for (QDeadlineTimer deadline(5000); played.count() < 2 && !deadline.hasExpired();)
        played.wait(100);
    ASSERT_EQ(played.count(), 2);
    EXPECT_EQ(played.at(1).at(0).toInt(), 52);

    // The server goes away under the running input.
    jack.Stop();
    for (QDeadlineTimer deadline(5000); stopped.isEmpty() && !deadline.hasExpired();)
        stopped.wait(100);
    ASSERT_EQ(stopped.count(), 1);
    EXPECT_EQ(stopped.at(0).at(0).value<InputStatus>(), InputStatus::Vanished);
    EXPECT_EQ(stopped.at(0).at(1).toString(),
              "The input JACK: system stopped delivering sound (was it unplugged?). Listening is off.");
    EXPECT_FALSE(listener.IsListening());
    EXPECT_EQ(played.count(), 2);
}

TEST(JackInput, WithoutAServerNoneIsStartedAndTheListSaysSoQuickly)
{
    const ScopedEnv serverName("JACK_DEFAULT_SERVER", "fretlore-no-such-server");
    unsetenv("JACK_NO_START_SERVER");
    RtAudioInput input;
    EXPECT_EQ(qgetenv("JACK_NO_START_SERVER"), "1");
    const QDeadlineTimer deadline(3000);
    for (const InputDevice& device : input.Devices())
        EXPECT_FALSE(device.name.startsWith(QStringLiteral("JACK:"))) << device.name.toStdString();
    EXPECT_FALSE(deadline.hasExpired()) << "asking for the inputs waited for a server";
    EXPECT_NE(input.Open(QStringLiteral("JACK: system"), 48000), InputStatus::Open);
    EXPECT_FALSE(input.ErrorText().isEmpty());
}
