// The bytes the MIDI routines send to a real port: a JACK server of our own (dummy
// driver, no sound card) with jack_midi_dump listening, picked from the device list.
#include "TestSupport.h"

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

#include <optional>

#include <unistd.h>

namespace {

constexpr int kStartSeconds = 10;

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

// Leaves the silent back end installed, however the test ends.
struct SystemOutputGuard {
    ~SystemOutputGuard() { SetMidiOutput(nullptr); }
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

} // namespace

TEST(JackPort, ANoteReachesARealPortAsTheExactBytes)
{
    const QString jackd = QStandardPaths::findExecutable(QStringLiteral("jackd"));
    const QString dump = QStandardPaths::findExecutable(QStringLiteral("jack_midi_dump"));
    const QString wait = QStandardPaths::findExecutable(QStringLiteral("jack_wait"));
    if (jackd.isEmpty() || dump.isEmpty() || wait.isEmpty())
        GTEST_SKIP() << "jackd, jack_midi_dump or jack_wait is not installed (Debian package jackd2)";

    LoadDefaultSettings();
    const QString server = QStringLiteral("fretlore-test-%1-%2")
                               .arg(::getpid())
                               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const ScopedEnv noStart("JACK_NO_START_SERVER", "1");
    const ScopedEnv serverName("JACK_DEFAULT_SERVER", server.toLocal8Bit());
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    // Declared in this order so that the server stops first, while its clients still
    // live to answer (a dead client makes jackd wait seconds for it).
    const ShmCleanup cleanup{server};
    std::optional<Child> monitor;
    const SystemOutputGuard guard;
    // Synchronous: on a busy machine an asynchronous server drops the output of a
    // client that finished its cycle late.
    Child jack(jackd,
               {QStringLiteral("--no-realtime"), QStringLiteral("--sync"), QStringLiteral("-n"), server, QStringLiteral("-d"),
                QStringLiteral("dummy"), QStringLiteral("-r"), QStringLiteral("48000"), QStringLiteral("-p"),
                QStringLiteral("256")},
               environment);
    QProcess waiter;
    waiter.setProcessEnvironment(environment);
    waiter.start(wait, {QStringLiteral("-s"), server, QStringLiteral("-w"), QStringLiteral("-t"),
                        QString::number(kStartSeconds)});
    const bool up = waiter.waitForFinished((kStartSeconds + 2) * 1000) && waiter.exitCode() == 0 && jack.IsRunning();
    if (!up)
        GTEST_SKIP() << "the dummy JACK server did not start here: " << jack.Output().toStdString();

    monitor.emplace(dump, QStringList{QStringLiteral("fretlore-dump")}, environment);
    const QString portName = QStringLiteral("fretlore-dump:input");

    // Everything the program sends goes through the routines and the system back end.
    SetMidiOutput(std::make_unique<SystemMidiOutput>(nullptr));
    CurDeviceName = portName;
    EnableSound = true;
    Channel = 9;
    Patch = 0;
    QString message;
    MidiDevices devices;
    for (QDeadlineTimer deadline(5000); !deadline.hasExpired(); QThread::msleep(100)) {
        devices.Clear();
        ASSERT_TRUE(GetMidiDevices(devices, message)) << message.toStdString();
        if (std::find(devices.begin(), devices.end(), portName) != devices.end())
            break;
    }
    ASSERT_TRUE(FindMidiDeviceId(MidiDeviceId, message)) << message.toStdString();
    ASSERT_GE(MidiDeviceId, 0) << "jack_midi_dump's port is not in the device list: " << monitor->Output().toStdString();
    EXPECT_EQ(devices.Item(MidiDeviceId + 2), portName);

    ASSERT_TRUE(MidiNoteOn(60, message)) << message.toStdString();
    ASSERT_TRUE(MidiNoteOff(60, message)) << message.toStdString();
    EXPECT_EQ(MidiOutHandle, 0u);

    const std::vector<QString> expected{QStringLiteral("c9 00"), QStringLiteral("99 3c 7f"), QStringLiteral("89 3c 00")};
    std::vector<QString> received;
    for (QDeadlineTimer deadline(5000); !deadline.hasExpired() && received.size() < expected.size();) {
        monitor->Process().waitForReadyRead(100);
        received = DumpedMessages(monitor->Output());
    }
    EXPECT_EQ(received, expected) << monitor->Output().toStdString();

    SetMidiOutput(nullptr); // our JACK client leaves first
    jack.Stop();
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
    SetMidiOutput(std::make_unique<SystemMidiOutput>(nullptr));
    MidiDevices devices;
    QString message;
    EXPECT_TRUE(GetMidiDevices(devices, message)) << message.toStdString();
    ASSERT_GE(devices.Count(), 1);
    EXPECT_EQ(devices.Item(1), "Midi Mapper");
    for (int position = 2; position <= devices.Count(); ++position)
        EXPECT_FALSE(devices.Item(position).isEmpty());

    MidiDeviceId = devices.Count() - 1; // one past the last port
    EXPECT_FALSE(OpenMidiOut(message));
    EXPECT_EQ(message, "Couldn't open midi out, error description is: There is no MIDI output device with this number.");
    MidiDeviceId = -1;
    EXPECT_FALSE(OpenMidiOut(message)) << "the mapper needs a synthesizer";
    SetMidiOutput(nullptr);
}
