// The bytes the MIDI routines send to a real port: a JACK server of our own with
// jack_midi_dump listening, picked from the device list. Every wait polls for what it
// needs, up to a bound that only a machine too busy to run anything would reach.
#include "doubles/JackServer.h"

#include "core/Settings.h"
#include "music/Notes.h"
#include "sound/RtMidiPorts.h"
#include "sound/SoundSystem.h"
#include "sound/SystemMidiOutput.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>
#include <memory>
#include <optional>

namespace {

constexpr int kWaitMs = 30000;

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

// Our server, the program's sound on the system back end, and a jack_midi_dump to listen.
class JackPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dumpProgram_ = QStandardPaths::findExecutable(QStringLiteral("jack_midi_dump"));
        if (dumpProgram_.isEmpty())
            GTEST_SKIP() << "jack_midi_dump is not installed (Debian package jackd2)";
        server_.emplace(/*synchronous=*/true, kWaitMs / 1000);
        if (!server_->Error().isEmpty())
            GTEST_SKIP() << server_->Error().toStdString();
        settings = Settings::Defaults();
        settings.enableSound = true;
        settings.channel = 9;
        settings.patch = 0;
        sound.emplace(settings, std::make_unique<SystemMidiOutput>(nullptr), nullptr);
    }
    void TearDown() override
    {
        // Our clients leave first; then the server, while jack_midi_dump still lives to
        // answer it (a dead client makes jackd wait seconds for it).
        sound.reset();
        idle_.reset();
        if (server_)
            server_->Stop();
        dump_.reset();
    }

    // Starts jack_midi_dump and waits until its port can be connected to: it registers
    // the port before it activates, and the server refuses connections in between.
    void StartDump()
    {
        dump_.emplace(dumpProgram_, QStringList{QStringLiteral("fretlore-dump")});
        ASSERT_TRUE(WaitForDevice(kDumpPort)) << "jack_midi_dump's port is not listed: " << DumpOutput();
        const JackClient probe = OpenClient("fretlore-probe", JackPortIsOutput, true);
        ASSERT_TRUE(probe);
        const char* source = jack_port_name(jack_port_by_name(probe.get(), "fretlore-probe:port"));
        for (QDeadlineTimer deadline(kWaitMs);; QThread::msleep(20)) {
            const int result = jack_connect(probe.get(), source, "fretlore-dump:input");
            if (result == 0 || result == EEXIST)
                return;
            ASSERT_FALSE(deadline.hasExpired()) << "jack_midi_dump never became active: " << DumpOutput();
        }
    }
    // Waits until the device list shows name.
    bool WaitForDevice(const QString& name)
    {
        for (QDeadlineTimer deadline(kWaitMs); !deadline.hasExpired(); QThread::msleep(20)) {
            MidiDevices devices;
            QString message;
            if (!sound->Midi().GetMidiDevices(devices, message))
                return false;
            if (std::find(devices.begin(), devices.end(), name) != devices.end())
                return true;
        }
        return false;
    }
    // Waits until jack_midi_dump has printed count messages ("   0: 99 3c 7f note on")
    // and returns their bytes ("99 3c 7f").
    std::vector<QString> Dumped(size_t count)
    {
        static const QRegularExpression line(QStringLiteral("^\\s*\\d+:((?: [0-9a-f]{2})+)"),
                                             QRegularExpression::MultilineOption);
        std::vector<QString> received;
        for (QDeadlineTimer deadline(kWaitMs); !deadline.hasExpired() && received.size() < count;) {
            received.clear();
            for (auto it = line.globalMatch(dump_->Output(100)); it.hasNext();)
                received.push_back(it.next().captured(1).trimmed());
        }
        return received;
    }
    std::string DumpOutput() { return dump_ ? dump_->Output().toStdString() : std::string(); }

    const QString kDumpPort = QStringLiteral("fretlore-dump:input");
    std::optional<JackServer> server_;
    QString dumpProgram_;
    std::optional<Child> dump_;
    JackClient idle_;
    Settings settings;
    std::optional<SoundSystem> sound;
    QString message;
};

} // namespace

// The first note of a run, as the program plays it: sound started for the port chosen
// in the options, then the guitar's open low E, which must arrive on that port as E2.
// Then switching ports closes the connection to the last one while its process thread
// runs: many switches, each with a note on the way, all arrive and nothing crashes.
TEST_F(JackPortTest, NotesReachTheChosenPortAtTheirRealPitchAcrossPortSwitches)
{
    StartDump();
    idle_ = OpenClient("fretlore-idle", JackPortIsInput, /*activate=*/true);
    ASSERT_TRUE(idle_);
    const QString otherPort = QStringLiteral("fretlore-idle:port");
    ASSERT_TRUE(WaitForDevice(otherPort));
    settings.curDeviceName = kDumpPort;
    const std::optional<Note> lowE = Notes(Instrument::FromGuitarType(0), true).GetNoteObjFromFretBoard(1, 1);
    ASSERT_TRUE(lowE);
    ASSERT_TRUE(sound->InitMidi(message)) << message.toStdString();
    ASSERT_TRUE(sound->Player().NoteOn(lowE->midi, message)) << message.toStdString();
    ASSERT_TRUE(sound->Player().NoteOff(lowE->midi, message)) << message.toStdString();
    EXPECT_FALSE(sound->Midi().IsOpen());

    constexpr int kSwitches = 5;
    for (int i = 0; i < kSwitches; ++i) {
        for (const QString& port : {kDumpPort, otherPort}) {
            qint32 id = -1;
            ASSERT_TRUE(sound->Midi().FindMidiDeviceId(port, id, message)) << message.toStdString();
            sound->Midi().SetDeviceId(id);
            ASSERT_TRUE(sound->Player().NoteOn(60 + i, message)) << message.toStdString();
            ASSERT_TRUE(sound->Player().NoteOff(60 + i, message)) << message.toStdString();
        }
    }
    // Program change, then note on and off of key 40 (0x28) on channel 10; then each
    // switch's note on the dump's port.
    std::vector<QString> expected{QStringLiteral("c9 00"), QStringLiteral("99 28 7f"), QStringLiteral("89 28 00")};
    for (int i = 0; i < kSwitches; ++i) {
        const QString key = QStringLiteral("%1").arg(60 + i, 2, 16, QLatin1Char('0'));
        expected.insert(expected.end(), {QStringLiteral("c9 00"), QStringLiteral("99 %1 7f").arg(key),
                                         QStringLiteral("89 %1 00").arg(key)});
    }
    EXPECT_EQ(Dumped(expected.size()), expected) << DumpOutput();
}

// A port whose client has not (yet) activated is listed, but the server refuses to
// connect to it: opening it says so instead of sending every note into nothing.
TEST_F(JackPortTest, APortTheServerWillNotConnectToCannotBeOpened)
{
    idle_ = OpenClient("fretlore-idle", JackPortIsInput, /*activate=*/false);
    ASSERT_TRUE(idle_);
    settings.curDeviceName = QStringLiteral("fretlore-idle:port");
    ASSERT_TRUE(WaitForDevice(settings.curDeviceName));
    EXPECT_FALSE(sound->InitMidi(message));
    EXPECT_EQ(message, "Unable to open the MIDI device. Couldn't open midi out, error description is: "
                       "The MIDI port could not be opened.");
    EXPECT_FALSE(sound->Midi().IsOpen());
}

TEST(MidiPorts, TheListHoldsWhateverMidiSystemsThereAreAndNeverFails)
{
    // ALSA client and port numbers change between runs and are left out of the names.
    EXPECT_EQ(StableMidiPortName(QStringLiteral("Midi Through:Midi Through Port-0 14:0")),
              "Midi Through:Midi Through Port-0");
    EXPECT_EQ(StableMidiPortName(QStringLiteral("USB Keystation 61:USB Keystation 61 MIDI 1 24:0")),
              "USB Keystation 61:USB Keystation 61 MIDI 1");
    EXPECT_EQ(StableMidiPortName(QStringLiteral("fretlore-dump:input")), "fretlore-dump:input");

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
