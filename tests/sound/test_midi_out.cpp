// The MIDI output, the note player and the mixer against back ends that record every call.
#include "doubles/MessageRecorder.h"
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
        auto output = std::make_unique<RecordingMidiOutput>(&log, std::move(names));
        output_ = output.get();
        sound->Midi().SetBackend(std::move(output));
    }
    MidiOut& Midi() { return sound->Midi(); }
    Mixer& GetMixer() { return sound->Volume(); }
    bool MidiNoteOn(int note, QString& text) { return sound->Player().NoteOn(note, text); }
    bool MidiNoteOff(int note, QString& text) { return sound->Player().NoteOff(note, text); }
    bool InitMidi(QString& text) { return sound->InitMidi(text); }

    Settings settings;
    std::unique_ptr<SoundSystem> sound;
    RecordingMidiOutput::Log log;
    RecordingMidiOutput* output_ = nullptr;
    RecordingMixerDevice::Log mixerLog;
    RecordingMixerDevice* mixerDevice = nullptr;
    QString message;
};

} // namespace

TEST_F(MidiOutTest, ANoteSendsProgramChangeNoteOnAndNoteOffAndClosesAfterTheNoteOff)
{
    ASSERT_TRUE(MidiNoteOn(60, message));
    EXPECT_EQ(log.messages, (Messages{0x00C9, 0x7F3C99}));
    EXPECT_TRUE(Midi().IsOpen());
    EXPECT_EQ(log.lastOpenedDevice, -1);

    ASSERT_TRUE(MidiNoteOn(62, message)) << "a second note reuses the open output";
    EXPECT_EQ(log.opens, 1);

    ASSERT_TRUE(MidiNoteOff(60, message));
    EXPECT_EQ(log.messages.back(), 0x3C89u);
    EXPECT_FALSE(Midi().IsOpen());
    EXPECT_EQ(log.closes, 1);

    settings.channel = 0;
    settings.patch = 25;
    ASSERT_TRUE(MidiNoteOn(64, message));
    EXPECT_EQ(log.messages[log.messages.size() - 2], 0x19C0u);
    EXPECT_EQ(log.messages.back(), 0x7F4090u);
}

TEST_F(MidiOutTest, ANoteOffOnAClosedOutputOpensSendsAndClosesAgain)
{
    ASSERT_FALSE(Midi().IsOpen());
    ASSERT_TRUE(MidiNoteOff(60, message));
    EXPECT_EQ(log.messages, (Messages{0x3C89}));
    EXPECT_EQ(log.opens, 1);
    EXPECT_EQ(log.closes, 1);
    EXPECT_FALSE(Midi().IsOpen());
    EXPECT_TRUE(Midi().CloseMidiOut(message)) << "closing a closed output is a no-op";
    EXPECT_EQ(log.closes, 1);
}

TEST_F(MidiOutTest, OpenAndSendFailuresGiveTheirMessages)
{
    output_->openError = 77;
    EXPECT_FALSE(MidiNoteOn(60, message));
    EXPECT_EQ(message, "Couldn't open midi out, error description is: The device is gone.");
    EXPECT_FALSE(Midi().IsOpen());

    output_->openError = 5;
    EXPECT_FALSE(MidiNoteOff(60, message));
    EXPECT_EQ(message, "Couldn't open midi out, error description is: Error code is: 5.");
    EXPECT_TRUE(log.messages.empty());

    output_->openError = 0;
    output_->sendError = 11;
    EXPECT_FALSE(MidiNoteOn(60, message));
    EXPECT_EQ(message, "Midi error. ReturnCode from ' midiOutShortMsg()' is: 11.");
    EXPECT_TRUE(log.messages.empty()) << "a failed program change prevents the note-on";

    message.clear();
    EXPECT_FALSE(MidiNoteOff(60, message));
    EXPECT_EQ(message, "Midi error. ReturnCode from ' midiOutShortMsg()' is: 11.");
    EXPECT_TRUE(Midi().IsOpen()) << "a failed note-off leaves the output open";
    output_->sendError = 0;
    ASSERT_TRUE(MidiNoteOn(60, message));
    EXPECT_EQ(log.opens, 1) << "and the next note reuses it";
}

TEST_F(MidiOutTest, AFailedCloseStillMarksTheOutputClosed)
{
    output_->closeError = 3;
    EXPECT_FALSE(MidiNoteOff(60, message));
    EXPECT_EQ(message, "Couldn't close midi out, error description is: Error code is: 3.");
    EXPECT_FALSE(Midi().IsOpen());
    EXPECT_EQ(log.messages, (Messages{0x3C89})) << "the note-off went out before the close";
}

TEST_F(MidiOutTest, TheDeviceListStartsWithTheMapperAndKeysEachDeviceByItsId)
{
    MidiDevices devices;
    ASSERT_TRUE(Midi().GetMidiDevices(devices, message));
    ASSERT_EQ(devices.Count(), 1) << "no devices: only the mapper";
    EXPECT_EQ(devices.Item(QStringLiteral("-1")), "Midi Mapper");

    Install({QStringLiteral("Synth A"), QString::fromUtf8("USB MIDI\0garbage", 16), QStringLiteral("Synth A")});
    MidiDevices more;
    ASSERT_TRUE(Midi().GetMidiDevices(more, message));
    ASSERT_EQ(more.Count(), 4);
    EXPECT_EQ(more.Item(2), "Synth A");
    EXPECT_EQ(more.KeyAt(2), "0");
    EXPECT_EQ(more.Item(QStringLiteral("1")), "USB MIDI") << "cut at the first NUL";
    EXPECT_EQ(more.KeyAt(4), "2");
}

TEST_F(MidiOutTest, TheConfiguredNameFindsTheFirstDeviceOfThatExactName)
{
    Install({QStringLiteral("Synth A"), QStringLiteral("USB MIDI"), QStringLiteral("Synth A")});
    const auto idOf = [this](const QString& name) {
        qint32 id = 99;
        EXPECT_TRUE(Midi().FindMidiDeviceId(name, id, message));
        return id;
    };
    EXPECT_EQ(idOf(QStringLiteral("Synth A")), 0);
    EXPECT_EQ(idOf(QStringLiteral("USB MIDI")), 1);
    EXPECT_EQ(idOf(QStringLiteral("Midi Mapper")), -1);
    EXPECT_EQ(idOf(QString()), -1);
    EXPECT_EQ(idOf(QStringLiteral("usb midi")), -1) << "names compare case-sensitively";
}

TEST_F(MidiOutTest, ACapabilityErrorKeepsTheItemsListedSoFar)
{
    Install({QStringLiteral("Synth A")});
    output_->capsError = 77;
    MidiDevices devices;
    EXPECT_FALSE(Midi().GetMidiDevices(devices, message));
    EXPECT_EQ(message,
              "Error getting Midi device capabilities. Function 'midiOutGetDevCaps()' error description is: The "
              "device is gone.");
    EXPECT_EQ(devices.Count(), 1);

    qint32 id = 4;
    message.clear();
    EXPECT_FALSE(Midi().FindMidiDeviceId(QStringLiteral("Synth A"), id, message));
    EXPECT_TRUE(message.startsWith("Error getting Midi device capabilities."));
    EXPECT_EQ(id, 4);
}

TEST_F(MidiOutTest, InitMidiOpensTheConfiguredDeviceAndReadsVolumeRangeAndLevel)
{
    Install({QStringLiteral("Port one"), QStringLiteral("Port two")});
    settings.curDeviceName = QStringLiteral("Port two");
    mixerLog.level = 30000;

    ASSERT_TRUE(InitMidi(message)) << message.toStdString();
    EXPECT_EQ(Midi().DeviceId(), 1);
    EXPECT_EQ(log.lastOpenedDevice, 1) << "the output is opened on the configured device";
    EXPECT_TRUE(Midi().IsOpen()) << "and stays open";
    EXPECT_EQ(GetMixer().MinValue(), 0);
    EXPECT_EQ(GetMixer().MaxValue(), 65535);
    EXPECT_EQ(settings.mixerVolume, 30000);
    EXPECT_FALSE(GetMixer().IsOpen());

    // The first note of the run goes there, like every later one.
    ASSERT_TRUE(MidiNoteOn(64, message));
    ASSERT_TRUE(MidiNoteOff(64, message));
    ASSERT_TRUE(MidiNoteOn(60, message));
    EXPECT_EQ(log.messages, (Messages{0x00C9, 0x7F4099, 0x4089, 0x00C9, 0x7F3C99}));
    EXPECT_EQ(log.devices, (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(log.opens, 2);
}

TEST_F(MidiOutTest, ADeviceChosenWhileANoteSoundsTakesOverAfterItsNoteOff)
{
    Install({QStringLiteral("Port one"), QStringLiteral("Port two")});
    settings.curDeviceName = QStringLiteral("Port one");
    ASSERT_TRUE(InitMidi(message)) << message.toStdString();
    ASSERT_TRUE(MidiNoteOn(64, message));

    settings.curDeviceName = QStringLiteral("Port two");
    ASSERT_TRUE(InitMidi(message)) << message.toStdString();
    EXPECT_EQ(Midi().DeviceId(), 1);
    ASSERT_TRUE(MidiNoteOff(64, message));
    ASSERT_TRUE(MidiNoteOn(60, message));
    EXPECT_EQ(log.messages, (Messages{0x00C9, 0x7F4099, 0x4089, 0x00C9, 0x7F3C99}));
    EXPECT_EQ(log.devices, (std::vector<int>{0, 0, 0, 1, 1})) << "the sounding note ends where it began";
}

TEST_F(MidiOutTest, NothingIsOpenedOrSentWhileSoundIsOff)
{
    settings.enableSound = false;
    settings.mixerVolume = 123;
    ASSERT_TRUE(InitMidi(message));
    ASSERT_TRUE(MidiNoteOn(60, message));
    ASSERT_TRUE(MidiNoteOff(60, message));
    EXPECT_EQ(log.opens, 0) << "the player sends nothing while sound is off";
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(mixerLog.opens, 0);
    EXPECT_EQ(settings.mixerVolume, 123);
}

TEST_F(MidiOutTest, EachInitMidiFailureNamesTheStepThatFailed)
{
    output_->openError = 77;
    EXPECT_FALSE(InitMidi(message));
    EXPECT_EQ(message, "Unable to open the MIDI device. Couldn't open midi out, error description is: The device is gone.");

    Install({QStringLiteral("Port one")});
    output_->capsError = 6;
    EXPECT_FALSE(InitMidi(message));
    EXPECT_EQ(message,
              "Unable to get the MIDI device. Error getting Midi device capabilities. Function "
              "'midiOutGetDevCaps()' error description is: Error code is: 6.");

    output_->capsError = 0;
    mixerDevice->openError = 1;
    EXPECT_FALSE(InitMidi(message));
    EXPECT_EQ(message, "Unable to read the current MIDI volume range. Couldn't open the mixer.");
    EXPECT_EQ(GetMixer().MaxValue(), 65000) << "bounds untouched";

    mixerDevice->openError = 0;
    mixerDevice->controlError = 2;
    EXPECT_FALSE(InitMidi(message));
    EXPECT_EQ(message, "Unable to read the current MIDI volume range. Couldn't open the MIDI volume control.");

    mixerDevice->controlError = 0;
    mixerDevice->getError = 5;
    settings.mixerVolume = 40000;
    EXPECT_FALSE(InitMidi(message));
    EXPECT_EQ(message, "Unable to read the current MIDI device volume. Mixer error code: 5. ");
    EXPECT_EQ(settings.mixerVolume, 40000) << "a failed read keeps the user's volume";
    EXPECT_FALSE(GetMixer().IsOpen());
}

TEST_F(MidiOutTest, TheMixerIsOpenOnlyBetweenInitMixerAndTheNextReadOrSet)
{
    ASSERT_TRUE(GetMixer().InitMixer(message));
    EXPECT_EQ(GetMixer().MaxValue(), 65535);
    EXPECT_TRUE(GetMixer().IsOpen());
    ASSERT_TRUE(GetMixer().InitMixer(message));
    EXPECT_EQ(mixerLog.opens, 1) << "an open mixer is not opened again";

    ASSERT_TRUE(GetMixer().SetVolume(20000, message));
    EXPECT_FALSE(GetMixer().IsOpen());
    EXPECT_EQ(mixerLog.closes, 1);
    qint32 volume = 0;
    ASSERT_TRUE(GetMixer().GetVolume(volume, message));
    EXPECT_EQ(volume, 20000);
    EXPECT_EQ(mixerLog.closes, 2);
}

TEST_F(MidiOutTest, VolumesOutsideTheControlsBoundsAreHeldAtTheBounds)
{
    GetMixer().SetDevice(std::make_unique<RecordingMixerDevice>(&mixerLog, MixerControl{3, 100, 1000}));
    qint32 volume = 0;
    ASSERT_TRUE(GetMixer().SetVolume(-5, message));
    ASSERT_TRUE(GetMixer().GetVolume(volume, message));
    EXPECT_EQ(volume, 100);
    ASSERT_TRUE(GetMixer().SetVolume(65000, message));
    ASSERT_TRUE(GetMixer().GetVolume(volume, message));
    EXPECT_EQ(volume, 1000);
}

TEST_F(MidiOutTest, AFailedSetReportsTheMixerCodeAndClosesTheMixer)
{
    mixerDevice->setError = 9;
    EXPECT_FALSE(GetMixer().SetVolume(100, message));
    EXPECT_EQ(message, "Mixer error code: 9. ");
    EXPECT_FALSE(GetMixer().IsOpen());
    EXPECT_EQ(mixerLog.closes, 1);

    mixerDevice->openError = 4;
    EXPECT_FALSE(GetMixer().SetVolume(100, message));
    EXPECT_EQ(message, "Couldn't open the mixer.");
}
