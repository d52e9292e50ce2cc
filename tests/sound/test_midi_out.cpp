// The MIDI routines and the mixer against back ends that record every call.
#include "TestSupport.h"

#include "sound/MidiOut.h"
#include "sound/Mixer.h"
#include "sound/RecordingMidiOutput.h"
#include "sound/RecordingMixerDevice.h"

#include <gtest/gtest.h>

namespace {

using Messages = std::vector<quint32>;

class MidiOutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        EnableSound = true;
        Channel = 9;
        Patch = 0;
        MidiDeviceId = -1;
        MixerMinValue = 0;
        MixerMaxValue = 65000;
        Install({});
        auto mixer = std::make_unique<RecordingMixerDevice>(&mixerLog);
        mixerDevice = mixer.get();
        SetMixerDevice(std::move(mixer));
    }
    void TearDown() override
    {
        SetMidiOutput(nullptr);
        SetMixerDevice(nullptr);
    }
    void Install(QStringList names)
    {
        log = {};
        auto output = std::make_unique<RecordingMidiOutput>(&log, std::move(names));
        output_ = output.get();
        SetMidiOutput(std::move(output));
    }

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
    EXPECT_NE(MidiOutHandle, 0u);
    EXPECT_EQ(log.lastOpenedDevice, -1);

    ASSERT_TRUE(MidiNoteOn(62, message)) << "a second note reuses the open output";
    EXPECT_EQ(log.opens, 1);

    ASSERT_TRUE(MidiNoteOff(60, message));
    EXPECT_EQ(log.messages.back(), 0x3C89u);
    EXPECT_EQ(MidiOutHandle, 0u);
    EXPECT_EQ(log.closes, 1);

    Channel = 0;
    Patch = 25;
    ASSERT_TRUE(MidiNoteOn(64, message));
    EXPECT_EQ(log.messages[log.messages.size() - 2], 0x19C0u);
    EXPECT_EQ(log.messages.back(), 0x7F4090u);
}

TEST_F(MidiOutTest, ANoteOffOnAClosedOutputOpensSendsAndClosesAgain)
{
    ASSERT_EQ(MidiOutHandle, 0u);
    ASSERT_TRUE(MidiNoteOff(60, message));
    EXPECT_EQ(log.messages, (Messages{0x3C89}));
    EXPECT_EQ(log.opens, 1);
    EXPECT_EQ(log.closes, 1);
    EXPECT_EQ(MidiOutHandle, 0u);
    EXPECT_TRUE(CloseMidiOut(message)) << "closing a closed output is a no-op";
    EXPECT_EQ(log.closes, 1);
}

TEST_F(MidiOutTest, OpenAndSendFailuresGiveTheirMessages)
{
    output_->openError = 77;
    EXPECT_FALSE(MidiNoteOn(60, message));
    EXPECT_EQ(message, "Couldn't open midi out, error description is: The device is gone.");
    EXPECT_EQ(MidiOutHandle, 0u);

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
    EXPECT_NE(MidiOutHandle, 0u) << "a failed note-off leaves the output open";
    output_->sendError = 0;
    ASSERT_TRUE(MidiNoteOn(60, message));
    EXPECT_EQ(log.opens, 1) << "and the next note reuses it";
}

TEST_F(MidiOutTest, AFailedCloseStillMarksTheOutputClosed)
{
    output_->closeError = 3;
    EXPECT_FALSE(MidiNoteOff(60, message));
    EXPECT_EQ(message, "Couldn't close midi out, error description is: Error code is: 3.");
    EXPECT_EQ(MidiOutHandle, 0u);
    EXPECT_EQ(log.messages, (Messages{0x3C89})) << "the note-off went out before the close";
}

TEST_F(MidiOutTest, TheDeviceListStartsWithTheMapperAndKeysEachDeviceByItsId)
{
    MidiDevices devices;
    ASSERT_TRUE(GetMidiDevices(devices, message));
    ASSERT_EQ(devices.Count(), 1) << "no devices: only the mapper";
    EXPECT_EQ(devices.Item(QStringLiteral("-1")), "Midi Mapper");

    Install({QStringLiteral("Synth A"), QString::fromUtf8("USB MIDI\0garbage", 16), QStringLiteral("Synth A")});
    MidiDevices more;
    ASSERT_TRUE(GetMidiDevices(more, message));
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
        CurDeviceName = name;
        qint32 id = 99;
        EXPECT_TRUE(FindMidiDeviceId(id, message));
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
    EXPECT_FALSE(GetMidiDevices(devices, message));
    EXPECT_EQ(message,
              "Error getting Midi device capabilities. Function 'midiOutGetDevCaps()' error description is: The "
              "device is gone.");
    EXPECT_EQ(devices.Count(), 1);

    qint32 id = 4;
    message.clear();
    EXPECT_FALSE(FindMidiDeviceId(id, message));
    EXPECT_TRUE(message.startsWith("Error getting Midi device capabilities."));
    EXPECT_EQ(id, 4);
}

TEST_F(MidiOutTest, InitMidiOpensTheConfiguredDeviceAndReadsVolumeRangeAndLevel)
{
    Install({QStringLiteral("Port one"), QStringLiteral("Port two")});
    CurDeviceName = QStringLiteral("Port two");
    MidiDeviceId = -1; // as the main window sets it before starting sound
    mixerLog.level = 30000;

    ASSERT_TRUE(InitMidi(message)) << message.toStdString();
    EXPECT_EQ(MidiDeviceId, 1);
    EXPECT_EQ(log.lastOpenedDevice, 1) << "the output is opened on the configured device";
    EXPECT_NE(MidiOutHandle, 0u) << "and stays open";
    EXPECT_EQ(MixerMinValue, 0);
    EXPECT_EQ(MixerMaxValue, 65535);
    EXPECT_EQ(MixerVolume, 30000);
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
    CurDeviceName = QStringLiteral("Port one");
    ASSERT_TRUE(InitMidi(message)) << message.toStdString();
    ASSERT_TRUE(MidiNoteOn(64, message));

    CurDeviceName = QStringLiteral("Port two");
    ASSERT_TRUE(InitMidi(message)) << message.toStdString();
    EXPECT_EQ(MidiDeviceId, 1);
    ASSERT_TRUE(MidiNoteOff(64, message));
    ASSERT_TRUE(MidiNoteOn(60, message));
    EXPECT_EQ(log.messages, (Messages{0x00C9, 0x7F4099, 0x4089, 0x00C9, 0x7F3C99}));
    EXPECT_EQ(log.devices, (std::vector<int>{0, 0, 0, 1, 1})) << "the sounding note ends where it began";
}

TEST_F(MidiOutTest, InitMidiDoesNothingWhileSoundIsOff)
{
    EnableSound = false;
    MixerVolume = 123;
    ASSERT_TRUE(InitMidi(message));
    EXPECT_EQ(log.opens, 0);
    EXPECT_EQ(mixerLog.opens, 0);
    EXPECT_EQ(MixerVolume, 123);
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
    EXPECT_EQ(MixerMaxValue, 65000) << "bounds untouched";

    mixerDevice->openError = 0;
    mixerDevice->controlError = 2;
    EXPECT_FALSE(InitMidi(message));
    EXPECT_EQ(message, "Unable to read the current MIDI volume range. Couldn't open the MIDI volume control.");

    mixerDevice->controlError = 0;
    mixerDevice->getError = 5;
    MixerVolume = 40000;
    EXPECT_FALSE(InitMidi(message));
    EXPECT_EQ(message, "Unable to read the current MIDI device volume. Mixer error code: 5. ");
    EXPECT_EQ(MixerVolume, 40000) << "a failed read keeps the user's volume";
    EXPECT_FALSE(GetMixer().IsOpen());
}

TEST_F(MidiOutTest, TheMixerIsOpenOnlyBetweenInitMixerAndTheNextReadOrSet)
{
    qint32 minimum = 0;
    qint32 maximum = -1;
    ASSERT_TRUE(GetMixer().InitMixer(message, minimum, maximum));
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, -1) << "-1 asks for no bound";
    EXPECT_TRUE(GetMixer().IsOpen());

    qint32 again = 12;
    qint32 againMax = 34;
    ASSERT_TRUE(GetMixer().InitMixer(message, again, againMax));
    EXPECT_EQ(again, 12) << "an open mixer writes no bounds";
    EXPECT_EQ(mixerLog.opens, 1);

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
    SetMixerDevice(std::make_unique<RecordingMixerDevice>(&mixerLog, MixerControl{3, 100, 1000}));
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
