// The MIDI output, the note player and the mixer against back ends that record every call.
#include "doubles/RecordingMidiOutput.h"
#include "doubles/RecordingMixerDevice.h"

#include "core/Settings.h"
#include "sound/SoundSystem.h"

#include <gtest/gtest.h>

namespace {

using Messages = std::vector<quint32>;

class MidiOutTest : public ::testing::Test {
protected:
    MidiOutTest()
    {
        settings = Settings::Defaults();
        settings.enableSound = true;
        settings.channel = 9;
        settings.patch = 0;
        auto mixer = std::make_unique<RecordingMixerDevice>(&mixerLog);
        mixerDevice = mixer.get();
        sound = std::make_unique<SoundSystem>(settings, nullptr, std::move(mixer));
        Install({});
    }
    void Install(QStringList names)
    {
        log = {};
        auto backend = std::make_unique<RecordingMidiOutput>(&log, std::move(names));
        output = backend.get();
        sound->Midi().SetBackend(std::move(backend));
    }
    MidiOut& Midi() { return sound->Midi(); }
    Mixer& Volume() { return sound->Volume(); }
    bool NoteOn(int note) { return sound->Player().NoteOn(note, message); }
    bool NoteOff(int note) { return sound->Player().NoteOff(note, message); }

    Settings settings;
    std::unique_ptr<SoundSystem> sound;
    RecordingMidiOutput::Log log;
    RecordingMidiOutput* output = nullptr;
    RecordingMixerDevice::Log mixerLog;
    RecordingMixerDevice* mixerDevice = nullptr;
    QString message;
};

} // namespace

TEST_F(MidiOutTest, ANoteSendsProgramChangeNoteOnAndNoteOffAndClosesAfterTheNoteOff)
{
    ASSERT_TRUE(NoteOn(60));
    EXPECT_EQ(log.messages, (Messages{0x00C9, 0x7F3C99}));
    EXPECT_TRUE(Midi().IsOpen());
    EXPECT_EQ(log.lastOpenedDevice, -1);
    ASSERT_TRUE(NoteOn(62)) << "a second note reuses the open output";
    EXPECT_EQ(log.opens, 1);
    ASSERT_TRUE(NoteOff(60));
    EXPECT_EQ(log.messages.back(), 0x3C89u);
    EXPECT_FALSE(Midi().IsOpen());
    EXPECT_EQ(log.closes, 1);

    settings.channel = 0;
    settings.patch = 25;
    ASSERT_TRUE(NoteOn(64));
    EXPECT_EQ(log.messages[log.messages.size() - 2], 0x19C0u);
    EXPECT_EQ(log.messages.back(), 0x7F4090u);

    // A note-off on a closed output opens, sends and closes again.
    log = {};
    ASSERT_TRUE(NoteOff(64));
    ASSERT_TRUE(NoteOff(60));
    EXPECT_EQ(log.messages, (Messages{0x4080, 0x3C80}));
    EXPECT_EQ(log.opens, 1);
    EXPECT_EQ(log.closes, 2);
    EXPECT_FALSE(Midi().IsOpen());
    EXPECT_TRUE(Midi().CloseMidiOut(message)) << "closing a closed output is a no-op";
    EXPECT_EQ(log.closes, 2);
}

TEST_F(MidiOutTest, OpenSendAndCloseFailuresGiveTheirMessages)
{
    output->openError = 77;
    EXPECT_FALSE(NoteOn(60));
    EXPECT_EQ(message, "Couldn't open midi out, error description is: The device is gone.");
    EXPECT_FALSE(Midi().IsOpen());
    output->openError = 5;
    EXPECT_FALSE(NoteOff(60));
    EXPECT_EQ(message, "Couldn't open midi out, error description is: Error code is: 5.");
    EXPECT_TRUE(log.messages.empty());

    output->openError = 0;
    output->sendError = 11;
    EXPECT_FALSE(NoteOn(60));
    EXPECT_EQ(message, "Midi error. ReturnCode from ' midiOutShortMsg()' is: 11.");
    EXPECT_TRUE(log.messages.empty()) << "a failed program change prevents the note-on";
    message.clear();
    EXPECT_FALSE(NoteOff(60));
    EXPECT_EQ(message, "Midi error. ReturnCode from ' midiOutShortMsg()' is: 11.");
    EXPECT_TRUE(Midi().IsOpen()) << "a failed note-off leaves the output open";
    output->sendError = 0;
    ASSERT_TRUE(NoteOn(60));
    EXPECT_EQ(log.opens, 1) << "and the next note reuses it";

    output->closeError = 3;
    log.messages.clear();
    EXPECT_FALSE(NoteOff(60));
    EXPECT_EQ(message, "Couldn't close midi out, error description is: Error code is: 3.");
    EXPECT_FALSE(Midi().IsOpen()) << "a failed close still marks the output closed";
    EXPECT_EQ(log.messages, (Messages{0x3C89})) << "the note-off went out before the close";
}

TEST_F(MidiOutTest, TheDeviceListStartsWithTheMapperAndKeysEachDeviceByItsId)
{
    MidiDevices none;
    ASSERT_TRUE(Midi().GetMidiDevices(none, message));
    ASSERT_EQ(none.Count(), 1) << "no devices: only the mapper";
    EXPECT_EQ(none.Item(QStringLiteral("-1")), "Midi Mapper");

    Install({QStringLiteral("Synth A"), QString::fromUtf8("USB MIDI\0garbage", 16), QStringLiteral("Synth A")});
    MidiDevices devices;
    ASSERT_TRUE(Midi().GetMidiDevices(devices, message));
    ASSERT_EQ(devices.Count(), 4);
    EXPECT_EQ(devices.Item(2), "Synth A");
    EXPECT_EQ(devices.KeyAt(2), "0");
    EXPECT_EQ(devices.Item(QStringLiteral("1")), "USB MIDI") << "cut at the first NUL";
    EXPECT_EQ(devices.KeyAt(4), "2");

    // The configured name finds the first device of exactly that name.
    const auto idOf = [this](const char* name) {
        qint32 id = 99;
        EXPECT_TRUE(Midi().FindMidiDeviceId(QString::fromUtf8(name), id, message));
        return id;
    };
    EXPECT_EQ(idOf("Synth A"), 0);
    EXPECT_EQ(idOf("USB MIDI"), 1);
    EXPECT_EQ(idOf("Midi Mapper"), -1);
    EXPECT_EQ(idOf(""), -1);
    EXPECT_EQ(idOf("usb midi"), -1) << "names compare case-sensitively";

    // A capability error keeps the items listed so far, and finds nothing.
    output->capsError = 77;
    MidiDevices some;
    EXPECT_FALSE(Midi().GetMidiDevices(some, message));
    EXPECT_EQ(message, "Error getting Midi device capabilities. Function 'midiOutGetDevCaps()' error description is: "
                       "The device is gone.");
    EXPECT_EQ(some.Count(), 1);
    qint32 id = 4;
    message.clear();
    EXPECT_FALSE(Midi().FindMidiDeviceId(QStringLiteral("Synth A"), id, message));
    EXPECT_TRUE(message.startsWith("Error getting Midi device capabilities."));
    EXPECT_EQ(id, 4);
}

// The configured device is opened and stays open for the first note of the run; the
// volume's range and level are read. A device chosen while a note sounds takes over
// after that note's note-off, which goes where its note began.
TEST_F(MidiOutTest, InitMidiOpensTheConfiguredDeviceAndReadsVolumeRangeAndLevel)
{
    Install({QStringLiteral("Port one"), QStringLiteral("Port two")});
    settings.curDeviceName = QStringLiteral("Port two");
    mixerLog.level = 30000;
    ASSERT_TRUE(sound->InitMidi(message)) << message.toStdString();
    EXPECT_EQ(Midi().DeviceId(), 1);
    EXPECT_EQ(log.lastOpenedDevice, 1);
    EXPECT_TRUE(Midi().IsOpen());
    EXPECT_EQ(Volume().MinValue(), 0);
    EXPECT_EQ(Volume().MaxValue(), 65535);
    EXPECT_EQ(settings.mixerVolume, 30000);
    EXPECT_FALSE(Volume().IsOpen());

    ASSERT_TRUE(NoteOn(64));
    ASSERT_TRUE(NoteOff(64));
    ASSERT_TRUE(NoteOn(60));
    settings.curDeviceName = QStringLiteral("Port one");
    ASSERT_TRUE(sound->InitMidi(message)) << message.toStdString();
    EXPECT_EQ(Midi().DeviceId(), 0);
    ASSERT_TRUE(NoteOff(60));
    ASSERT_TRUE(NoteOn(62));
    EXPECT_EQ(log.messages, (Messages{0x00C9, 0x7F4099, 0x4089, 0x00C9, 0x7F3C99, 0x3C89, 0x00C9, 0x7F3E99}));
    EXPECT_EQ(log.devices, (std::vector<int>{1, 1, 1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(log.opens, 3);
}

TEST_F(MidiOutTest, NothingIsOpenedOrSentWhileSoundIsOff)
{
    settings.enableSound = false;
    settings.mixerVolume = 123;
    ASSERT_TRUE(sound->InitMidi(message));
    ASSERT_TRUE(NoteOn(60));
    ASSERT_TRUE(NoteOff(60));
    EXPECT_EQ(log.opens, 0);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(mixerLog.opens, 0);
    EXPECT_EQ(settings.mixerVolume, 123);
}

TEST_F(MidiOutTest, EachInitMidiFailureNamesTheStepThatFailed)
{
    output->openError = 77;
    EXPECT_FALSE(sound->InitMidi(message));
    EXPECT_EQ(message, "Unable to open the MIDI device. Couldn't open midi out, error description is: The device is gone.");

    Install({QStringLiteral("Port one")});
    output->capsError = 6;
    EXPECT_FALSE(sound->InitMidi(message));
    EXPECT_EQ(message, "Unable to get the MIDI device. Error getting Midi device capabilities. Function "
                       "'midiOutGetDevCaps()' error description is: Error code is: 6.");

    output->capsError = 0;
    mixerDevice->openError = 1;
    EXPECT_FALSE(sound->InitMidi(message));
    EXPECT_EQ(message, "Unable to read the current MIDI volume range. Couldn't open the mixer.");
    EXPECT_EQ(Volume().MaxValue(), 65000) << "bounds untouched";

    mixerDevice->openError = 0;
    mixerDevice->controlError = 2;
    EXPECT_FALSE(sound->InitMidi(message));
    EXPECT_EQ(message, "Unable to read the current MIDI volume range. Couldn't open the MIDI volume control.");

    mixerDevice->controlError = 0;
    mixerDevice->getError = 5;
    settings.mixerVolume = 40000;
    EXPECT_FALSE(sound->InitMidi(message));
    EXPECT_EQ(message, "Unable to read the current MIDI device volume. Mixer error code: 5. ");
    EXPECT_EQ(settings.mixerVolume, 40000) << "a failed read keeps the user's volume";
    EXPECT_FALSE(Volume().IsOpen());
}

// The mixer is open only between InitMixer and the next read or write; volumes are held
// at the control's bounds; a failed write says why and closes it.
TEST_F(MidiOutTest, TheMixer)
{
    ASSERT_TRUE(Volume().InitMixer(message));
    EXPECT_TRUE(Volume().IsOpen());
    ASSERT_TRUE(Volume().InitMixer(message));
    EXPECT_EQ(mixerLog.opens, 1) << "an open mixer is not opened again";
    ASSERT_TRUE(Volume().SetVolume(20000, message));
    EXPECT_FALSE(Volume().IsOpen());
    EXPECT_EQ(mixerLog.closes, 1);
    qint32 volume = 0;
    ASSERT_TRUE(Volume().GetVolume(volume, message));
    EXPECT_EQ(volume, 20000);
    EXPECT_EQ(mixerLog.closes, 2);

    mixerDevice->setError = 9;
    EXPECT_FALSE(Volume().SetVolume(100, message));
    EXPECT_EQ(message, "Mixer error code: 9. ");
    EXPECT_FALSE(Volume().IsOpen());
    EXPECT_EQ(mixerLog.closes, 3);
    mixerDevice->openError = 4;
    EXPECT_FALSE(Volume().SetVolume(100, message));
    EXPECT_EQ(message, "Couldn't open the mixer.");

    Volume().SetDevice(std::make_unique<RecordingMixerDevice>(&mixerLog, MixerControl{3, 100, 1000}));
    for (const auto& [asked, held] : {std::pair{-5, 100}, std::pair{65000, 1000}}) {
        ASSERT_TRUE(Volume().SetVolume(asked, message));
        ASSERT_TRUE(Volume().GetVolume(volume, message));
        EXPECT_EQ(volume, held);
    }
}
