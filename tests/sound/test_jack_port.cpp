// The bytes the MIDI routines send to a real port: a JACK server of our own (dummy
// driver, no sound card) with jack_midi_dump listening, picked from the device list.
// Every wait polls for what it needs, up to a bound that only a machine too busy to
// run anything would reach.
#include "core/Settings.h"
#include "music/Notes.h"
#include "sound/SoundSystem.h"

#include "music/Notes.h"
#include "sound/MidiOut.h"
#include "sound/RtMidiPorts.h"
#include "sound/SystemMidiOutput.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>
#include <memory>
#include <optional>

#include <unistd.h>

namespace {

constexpr int kWaitSeconds = 30;

// A child process that is always stopped, however the test ends.
class Child {
public:
    Child(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
    {
        process_.setProgram(program);
        process_.setArguments(arguments);
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start();
        process_.waitForStarted(5000);
    }
    ~Child() { Stop(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

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
    bool IsRunning() const { return process_.state() == QProcess::Running; }
    QString Output()
    {
        process_.waitForReadyRead(10);
        output_ += QString::fromLocal8Bit(process_.readAll());
        return output_;
    }
    QProcess& Process() { return process_; }

private:
    QProcess process_;
    QString output_;
};

// Sets an environment variable for the test and puts the old value back.
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

// Removes what a server of this name may leave in /dev/shm (the semaphore of a client
// that outlived it).
struct ShmCleanup {
    QString server;
    ~ShmCleanup()
    {
        QDir shm(QStringLiteral("/dev/shm"));
        for (const QString& file : shm.entryList({QStringLiteral("jack*") + server + QLatin1Char('*')}, QDir::Files))
            shm.remove(file);
    }
};

// Byte groups from jack_midi_dump lines such as "   0: 99 3c 7f note on ...".
std::vector<QString> DumpedMessages(const QString& output)
{
    static const QRegularExpression line(QStringLiteral("^\\s*\\d+:((?: [0-9a-f]{2})+)"),
                                         QRegularExpression::MultilineOption);
    std::vector<QString> messages;
    for (auto it = line.globalMatch(output); it.hasNext();)
        messages.push_back(it.next().captured(1).trimmed());
    return messages;
}

struct ClientCloser {
    void operator()(jack_client_t* client) const { jack_client_close(client); }
};
using JackClient = std::unique_ptr<jack_client_t, ClientCloser>;

// A JACK client of the test's own with one MIDI port; active or not.
JackClient OpenClient(const char* name, unsigned long portFlags, bool activate)
{
    JackClient client(jack_client_open(name, JackNoStartServer, nullptr));
    if (!client || !jack_port_register(client.get(), "port", JACK_DEFAULT_MIDI_TYPE, portFlags, 0))
        return nullptr;
    if (activate && jack_activate(client.get()) != 0)
        return nullptr;
    return client;
}

// Our server, the program's sound routines on the system back end, and a
// jack_midi_dump to listen.
class JackPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString jackd = QStandardPaths::findExecutable(QStringLiteral("jackd"));
        dumpProgram_ = QStandardPaths::findExecutable(QStringLiteral("jack_midi_dump"));
        const QString wait = QStandardPaths::findExecutable(QStringLiteral("jack_wait"));
        if (jackd.isEmpty() || dumpProgram_.isEmpty() || wait.isEmpty())
            GTEST_SKIP() << "jackd, jack_midi_dump or jack_wait is not installed (Debian package jackd2)";

        settings = Settings::Defaults();
        const QString server = QStringLiteral("fretlore-test-%1-%2")
                                   .arg(::getpid())
                                   .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        cleanup_.server = server;
        noStart_.emplace("JACK_NO_START_SERVER", "1");
        serverName_.emplace("JACK_DEFAULT_SERVER", server.toLocal8Bit());
        environment_ = QProcessEnvironment::systemEnvironment();

        // Synchronous: on a busy machine an asynchronous server drops the output of a
        // client that finished its cycle late.
        jack_.emplace(jackd,
                      QStringList{QStringLiteral("--no-realtime"), QStringLiteral("--sync"), QStringLiteral("-n"), server,
                                  QStringLiteral("-d"), QStringLiteral("dummy"), QStringLiteral("-r"),
                                  QStringLiteral("48000"), QStringLiteral("-p"), QStringLiteral("256")},
                      environment_);
        QProcess waiter;
        waiter.setProcessEnvironment(environment_);
        waiter.start(wait, {QStringLiteral("-s"), server, QStringLiteral("-w"), QStringLiteral("-t"),
                            QString::number(kWaitSeconds)});
        const bool up = waiter.waitForFinished((kWaitSeconds + 5) * 1000) && waiter.exitCode() == 0 && jack_->IsRunning();
        if (!up)
            GTEST_SKIP() << "the dummy JACK server did not start here: " << jack_->Output().toStdString();

        // Everything the program sends goes through its sound and the system back end.
        settings.enableSound = true;
        settings.channel = 9;
        settings.patch = 0;
        sound.emplace(settings, std::make_unique<SystemMidiOutput>(nullptr), nullptr);
    }

    void TearDown() override
    {
        // Our JACK clients leave first; then the server, while jack_midi_dump still
        // lives to answer it (a dead client makes jackd wait seconds for it).
        sound.reset();
        idle_.reset();
        if (jack_)
            jack_->Stop();
        dump_.reset();
    }

    // Starts jack_midi_dump and waits until its port can be connected to: it registers
    // the port before it activates, and the server refuses connections in between.
    void StartDump()
    {
        dump_.emplace(dumpProgram_, QStringList{QStringLiteral("fretlore-dump")}, environment_);
        ASSERT_TRUE(WaitForDevice(kDumpPort)) << "jack_midi_dump's port is not in the device list: " << DumpOutput();
        ASSERT_TRUE(WaitUntilConnectable(kDumpPort)) << "jack_midi_dump's client never became active: " << DumpOutput();
    }

    // Waits until the device list shows name.
    bool WaitForDevice(const QString& name)
    {
        for (QDeadlineTimer deadline(kWaitSeconds * 1000);; QThread::msleep(20)) {
            MidiDevices devices;
            QString message;
            if (!sound->Midi().GetMidiDevices(devices, message))
                return false;
            if (std::find(devices.begin(), devices.end(), name) != devices.end())
                return true;
            if (deadline.hasExpired())
                return false;
        }
    }

    // Waits until the server accepts a connection to port, by connecting a port of a
    // client of our own to it.
    static bool WaitUntilConnectable(const QString& port)
    {
        const JackClient probe = OpenClient("fretlore-probe", JackPortIsOutput, true);
        if (!probe)
            return false;
        const char* source = jack_port_name(jack_port_by_name(probe.get(), "fretlore-probe:port"));
        const QByteArray target = port.toLocal8Bit();
        for (QDeadlineTimer deadline(kWaitSeconds * 1000);; QThread::msleep(20)) {
            const int result = jack_connect(probe.get(), source, target.constData());
            if (result == 0 || result == EEXIST)
                return true;
            if (deadline.hasExpired())
                return false;
        }
    }

    // Waits until jack_midi_dump has printed count messages; returns what it printed.
    std::vector<QString> DumpedAfterWaitingFor(size_t count)
    {
        std::vector<QString> received;
        for (QDeadlineTimer deadline(kWaitSeconds * 1000); !deadline.hasExpired() && received.size() < count;) {
            dump_->Process().waitForReadyRead(100);
            received = DumpedMessages(dump_->Output());
        }
        return received;
    }
    std::string DumpOutput() { return dump_ ? dump_->Output().toStdString() : std::string(); }

    const QString kDumpPort = QStringLiteral("fretlore-dump:input");

    // Declared in this order so that they go in reverse: the server's shared memory is
    // cleaned up last.
    ShmCleanup cleanup_;
    std::optional<ScopedEnv> noStart_;
    std::optional<ScopedEnv> serverName_;
    QProcessEnvironment environment_;
    QString dumpProgram_;
    std::optional<Child> dump_;
    std::optional<Child> jack_;
    JackClient idle_;
    Settings settings;
    std::optional<SoundSystem> sound;
};

} // namespace

// The first note of a run, as the program plays it: sound started for the port chosen
// in the options, then the guitar's open low E, which must arrive on that port as E2.
TEST_F(JackPortTest, TheFirstNoteOfARunReachesTheChosenPortAtItsRealPitch)
{
    StartDump();
    settings.curDeviceName = kDumpPort;
    const Notes guitar(Instrument::FromGuitarType(0), true);
    const std::optional<Note> lowE = guitar.GetNoteObjFromFretBoard(1, 1);
    ASSERT_TRUE(lowE);

    QString message;
    ASSERT_TRUE(sound->InitMidi(message)) << message.toStdString();
    ASSERT_TRUE(sound->Player().NoteOn(lowE->midi, message)) << message.toStdString();
    ASSERT_TRUE(sound->Player().NoteOff(lowE->midi, message)) << message.toStdString();
    EXPECT_FALSE(sound->Midi().IsOpen());

    // Program change, then note on and off of key 40 (0x28) on channel 10.
    const std::vector<QString> expected{QStringLiteral("c9 00"), QStringLiteral("99 28 7f"), QStringLiteral("89 28 00")};
    EXPECT_EQ(DumpedAfterWaitingFor(expected.size()), expected) << DumpOutput();
}

// A port whose client has not (yet) activated is listed, but the server refuses to
// connect to it: opening it says so instead of sending every note into nothing.
TEST_F(JackPortTest, APortTheServerWillNotConnectToCannotBeOpened)
{
    idle_ = OpenClient("fretlore-idle", JackPortIsInput, /*activate=*/false);
    ASSERT_TRUE(idle_);
    const QString idlePort = QStringLiteral("fretlore-idle:port");
    ASSERT_TRUE(WaitForDevice(idlePort));
    settings.curDeviceName = idlePort;
    QString message;
    EXPECT_FALSE(sound->InitMidi(message));
    EXPECT_EQ(message, "Unable to open the MIDI device. Couldn't open midi out, error description is: "
                       "The MIDI port could not be opened.");
    EXPECT_FALSE(sound->Midi().IsOpen());
}

// Switching ports closes the connection to the last one while its process thread runs:
// many switches, each with a note on the way, all arrive and nothing crashes.
TEST_F(JackPortTest, SwitchingBetweenPortsLosesNoNoteAndClosesCleanly)
{
    StartDump();
    idle_ = OpenClient("fretlore-idle", JackPortIsInput, /*activate=*/true);
    ASSERT_TRUE(idle_);
    const QString otherPort = QStringLiteral("fretlore-idle:port");
    ASSERT_TRUE(WaitForDevice(otherPort));

    constexpr int kSwitches = 5;
    QString message;
    for (int i = 0; i < kSwitches; ++i) {
        for (const QString& port : {kDumpPort, otherPort}) {
            qint32 id = -1;
            ASSERT_TRUE(sound->Midi().FindMidiDeviceId(port, id, message)) << message.toStdString();
            sound->Midi().SetDeviceId(id);
            ASSERT_TRUE(sound->Player().NoteOn(60 + i, message)) << message.toStdString();
            ASSERT_TRUE(sound->Player().NoteOff(60 + i, message)) << message.toStdString();
        }
    }
    const std::vector<QString> received = DumpedAfterWaitingFor(3 * kSwitches);
    ASSERT_EQ(received.size(), size_t{3 * kSwitches}) << DumpOutput();
    for (int i = 0; i < kSwitches; ++i) {
        const QString key = QStringLiteral("%1").arg(60 + i, 2, 16, QLatin1Char('0'));
        EXPECT_EQ(received[3 * i + 1], QStringLiteral("99 ") + key + QStringLiteral(" 7f")) << i;
        EXPECT_EQ(received[3 * i + 2], QStringLiteral("89 ") + key + QStringLiteral(" 00")) << i;
    }
}

TEST(MidiPortNames, AlsaClientAndPortNumbersAreLeftOut)
{
    EXPECT_EQ(StableMidiPortName(QStringLiteral("Midi Through:Midi Through Port-0 14:0")),
              "Midi Through:Midi Through Port-0");
    EXPECT_EQ(StableMidiPortName(QStringLiteral("USB Keystation 61:USB Keystation 61 MIDI 1 24:0")),
              "USB Keystation 61:USB Keystation 61 MIDI 1");
    EXPECT_EQ(StableMidiPortName(QStringLiteral("fretlore-dump:input")), "fretlore-dump:input");
}

TEST(MidiPorts, TheListHoldsWhateverMidiSystemsThereAreAndNeverFails)
{
    // Here there may be no ALSA sequencer and no JACK server: RtMidi throws for the one
    // and warns for the other, and the list still comes back.
    MidiOut midi(std::make_unique<SystemMidiOutput>(nullptr));
    MidiDevices devices;
    QString message;
    EXPECT_TRUE(midi.GetMidiDevices(devices, message)) << message.toStdString();
    ASSERT_GE(devices.Count(), 1);
    EXPECT_EQ(devices.Item(1), "Midi Mapper");
    for (int position = 2; position <= devices.Count(); ++position)
        EXPECT_FALSE(devices.Item(position).isEmpty());

    midi.SetDeviceId(devices.Count() - 1); // one past the last port
    EXPECT_FALSE(midi.OpenMidiOut(message));
    EXPECT_EQ(message, "Couldn't open midi out, error description is: There is no MIDI output device with this number.");
    midi.SetDeviceId(-1);
    EXPECT_FALSE(midi.OpenMidiOut(message)) << "the mapper needs a synthesizer";
}
