// End to end through a real sound server: a JACK server of our own (dummy driver, no
// sound card), a recorded guitar note played into our input by sndfile-jackplay,
// captured by the RtAudio input's JACK back end and heard as its MIDI number; then the
// server goes away under the running input, which must stop cleanly with its text.
#include "support/TestSignals.h"

#include "listen/Listener.h"
#include "listen/RtAudioInput.h"
#include "listen/WavFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace listening;
using namespace listening::testing;

namespace {

constexpr int kRate = 48000;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// A server that is always stopped, and what it leaves in /dev/shm removed.
class JackServer {
public:
    JackServer(const QString& jackd, const QString& name) : name_(name)
    {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(jackd, {QStringLiteral("--no-realtime"), QStringLiteral("-n"), name, QStringLiteral("-d"),
                               QStringLiteral("dummy"), QStringLiteral("-r"), QString::number(kRate),
                               QStringLiteral("-p"), QStringLiteral("256")});
        process_.waitForStarted(5000);
    }
    ~JackServer()
    {
        Stop();
        QDir shm(QStringLiteral("/dev/shm"));
        for (const QString& file : shm.entryList({QStringLiteral("jack*") + name_ + QLatin1Char('*')}, QDir::Files))
            shm.remove(file);
    }
    void Stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(8000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    bool running() const { return process_.state() == QProcess::Running; }
    QString output() { return QString::fromLocal8Bit(process_.readAll()); }

private:
    QString name_;
    QProcess process_;
};

// A recorded nylon-guitar note from freepats at its own pitch, or a synthetic one when
// freepats is not installed; with a little silence before it.
MonoSound RecordedNote(int midi)
{
    MonoSound sound{Silence(kRate, 0.2), kRate};
    const std::vector<GusSample> patch = ReadGusPatch(QStringLiteral("/usr/share/midi/freepats/Tone_000/024_Nylon_Guitar.pat"));
    const double hz = HzOfMidi(midi);
    for (const GusSample& sample : patch) {
        if (hz >= sample.lowHz && hz < sample.highHz) {
            Append(sound.samples, PlayGusSample(sample, hz, kRate, 1.0));
            return sound;
        }
    }
    Append(sound.samples, PluckedTone(kRate, hz, 1.0));
    return sound;
}

bool Play(const QString& player, const QString& file)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(player, {QStringLiteral("--autoconnect=%1:inport 0").arg(QLatin1String(RtAudioInput::JackClientName)), file});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

} // namespace

TEST(JackInput, ARecordedNotePlayedIntoTheServerIsHeardAsItsMidiNumber)
{
    const QString jackd = QStandardPaths::findExecutable(QStringLiteral("jackd"));
    const QString wait = QStandardPaths::findExecutable(QStringLiteral("jack_wait"));
    const QString player = QStandardPaths::findExecutable(QStringLiteral("sndfile-jackplay"));
    if (jackd.isEmpty() || wait.isEmpty() || player.isEmpty())
        GTEST_SKIP() << "jackd, jack_wait (Debian jackd2) or sndfile-jackplay (sndfile-tools) is not installed";

    const QString server = QStringLiteral("fretlore-listen-%1-%2")
                               .arg(::getpid())
                               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const ScopedEnv noStart("JACK_NO_START_SERVER", "1");
    const ScopedEnv serverName("JACK_DEFAULT_SERVER", server.toLocal8Bit());
    QTemporaryDir files;
    ASSERT_TRUE(files.isValid());
    const QString right = files.filePath(QStringLiteral("a2.wav"));
    const QString other = files.filePath(QStringLiteral("e3.wav"));
    ASSERT_TRUE(WriteWav(right, RecordedNote(45)));
    ASSERT_TRUE(WriteWav(other, RecordedNote(52)));

    JackServer jack(jackd, server);
    QProcess waiter;
    waiter.start(wait, {QStringLiteral("-s"), server, QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("10")});
    if (!(waiter.waitForFinished(12000) && waiter.exitCode() == 0 && jack.running()))
        GTEST_SKIP() << "the dummy JACK server did not start here: " << jack.output().toStdString();

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

    ASSERT_TRUE(Play(player, right));
    for (QDeadlineTimer deadline(5000); played.count() < 1 && !deadline.hasExpired();)
        played.wait(100);
    ASSERT_EQ(played.count(), 1);
    EXPECT_EQ(played.at(0).at(0).toInt(), 45);

    ASSERT_TRUE(Play(player, other));
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
