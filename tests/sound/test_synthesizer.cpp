// The real FluidSynth synthesizer, rendered without an audio device.

#include "core/Settings.h"

#include "sound/SoundErrors.h"
#include "sound/SoundSystem.h"
#include "sound/SynthMixerDevice.h"
#include "sound/Synthesizer.h"
#include "sound/SystemMidiOutput.h"

#include <QSettings>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kRate = 48000;

std::shared_ptr<Synthesizer> RenderingSynth(QStringList soundFonts = DefaultSoundFontCandidates(),
                                             QStringList drivers = {})
{
    SynthesizerOptions options;
    options.soundFonts = std::move(soundFonts);
    options.audioDrivers = std::move(drivers);
    options.sampleRate = kRate;
    options.level = Synthesizer::MaxLevel;
    return std::make_shared<Synthesizer>(options);
}

// RMS of both channels over the next milliseconds of output.
double RenderRms(Synthesizer& synth, int milliseconds)
{
    const size_t frames = static_cast<size_t>(kRate) * static_cast<size_t>(milliseconds) / 1000;
    std::vector<float> left(frames), right(frames);
    EXPECT_TRUE(synth.Render(left, right));
    double sum = 0;
    for (size_t i = 0; i < frames; ++i)
        sum += double(left[i]) * left[i] + double(right[i]) * right[i];
    return std::sqrt(sum / double(2 * frames));
}

class SynthesizerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = Settings::Defaults();
        synth = RenderingSynth();
        ASSERT_TRUE(synth->IsCreated());
        ASSERT_EQ(synth->LoadSoundFont(), SoundErrNone)
            << "no General MIDI SoundFont: scripts/setup installs timgm6mb-soundfont";
        sound = std::make_unique<SoundSystem>(settings, std::make_unique<SystemMidiOutput>(synth),
                                              std::make_unique<SynthMixerDevice>(synth));
    }
    bool MidiNoteOn(int note, QString& text) { return sound->Player().NoteOn(note, text); }
    bool MidiNoteOff(int note, QString& text) { return sound->Player().NoteOff(note, text); }
    Mixer& GetMixer() { return sound->Volume(); }

    // RMS of 200 ms of a middle C played through the MIDI routines.
    double NoteLevel()
    {
        EXPECT_TRUE(MidiNoteOn(60, message)) << message.toStdString();
        const double level = RenderRms(*synth, 200);
        EXPECT_TRUE(MidiNoteOff(60, message)) << message.toStdString();
        RenderRms(*synth, 2000); // let it die away
        return level;
    }

    Settings settings;
    std::shared_ptr<Synthesizer> synth;
    std::unique_ptr<SoundSystem> sound;
    QString message;
};

} // namespace

// A note and the beep sound clearly and die away by themselves; messages the synthesizer
// cannot take are errors, a note-off for a silent note is harmless.
TEST_F(SynthesizerTest, ANoteAndTheBeepAreClearlyAudibleAndDieAway)
{
    EXPECT_LT(RenderRms(*synth, 50), 1e-6) << "silent before any note";
    ASSERT_TRUE(MidiNoteOn(60, message)) << message.toStdString();
    EXPECT_GT(synth->ActiveVoices(), 0);
    const double held = RenderRms(*synth, 300);
    EXPECT_GT(held, 0.01);

    ASSERT_TRUE(MidiNoteOff(60, message)) << message.toStdString();
    EXPECT_FALSE(sound->Midi().IsOpen());
    const double releasing = RenderRms(*synth, 20);
    EXPECT_GT(releasing, held / 20) << "closing the output must not cut the release";
    RenderRms(*synth, 1000);
    EXPECT_LT(RenderRms(*synth, 100), held / 100);

    ASSERT_EQ(SoundBeep(*synth, settings.channel), SoundErrNone);
    const double tone = RenderRms(*synth, BeepDurationMs - 20);
    EXPECT_GT(tone, 0.005);
    RenderRms(*synth, 1000);
    EXPECT_LT(RenderRms(*synth, 100), tone / 100);

    EXPECT_EQ(synth->Send(0x0000F0), SoundErrBadMessage);
    EXPECT_EQ(synth->Send(0x3C80), SoundErrNone);
    EXPECT_EQ(synth->Send(0x7F3C90), SoundErrNone);
    EXPECT_EQ(synth->Send(0x003C90), SoundErrNone) << "velocity 0 is a note-off";
    RenderRms(*synth, 1000);
    EXPECT_LT(RenderRms(*synth, 100), held / 100);
}

TEST_F(SynthesizerTest, TheVolumeControlScalesTheOutput)
{
    ASSERT_TRUE(GetMixer().InitMixer(message));
    ASSERT_TRUE(GetMixer().SetVolume(65535, message));
    const double full = NoteLevel();
    ASSERT_TRUE(GetMixer().SetVolume(16384, message));
    const double quarter = NoteLevel();
    ASSERT_TRUE(GetMixer().SetVolume(0, message));
    const double none = NoteLevel();

    EXPECT_GT(full, 0.01);
    EXPECT_NEAR(quarter / full, 0.25, 0.03);
    EXPECT_LT(none, full / 1000) << "only the reverb of earlier notes is left";
    qint32 volume = -1;
    ASSERT_TRUE(GetMixer().GetVolume(volume, message));
    EXPECT_EQ(volume, 0);
}

// No SoundFont, one that is none, no audio output (a driver this FluidSynth does not
// have stands for a desktop without audio): InitMidi says which, and the device list
// still works.
TEST(SynthesizerFailures, WhatStopsTheSynthesizerIsSaidReadably)
{
    QTemporaryFile junk;
    ASSERT_TRUE(junk.open());
    junk.write("RIFF this is not a SoundFont");
    junk.flush();
    const std::tuple<QStringList, QStringList, const char*> cases[] = {
        {{QStringLiteral("/nonexistent/none.sf2")}, {},
         "No General MIDI SoundFont was found (install the package timgm6mb-soundfont)."},
        {{junk.fileName()}, {}, "The General MIDI SoundFont could not be loaded."},
        {DefaultSoundFontCandidates(), {QStringLiteral("no-such-driver")},
         "No audio output could be opened (PipeWire, PulseAudio, ALSA and JACK were tried)."},
    };
    for (const auto& [soundFonts, drivers, cause] : cases) {
        Settings settings = Settings::Defaults();
        QString message;
        const auto synth = RenderingSynth(soundFonts, drivers);
        SoundSystem sound(settings, std::make_unique<SystemMidiOutput>(synth), nullptr);
        EXPECT_FALSE(sound.InitMidi(message));
        EXPECT_EQ(message, QStringLiteral("Unable to open the MIDI device. Couldn't open midi out, error description is: ")
                               + QLatin1String(cause));
        EXPECT_FALSE(sound.Midi().IsOpen());
        EXPECT_FALSE(synth->IsAudioRunning());
        MidiDevices devices;
        EXPECT_TRUE(sound.Midi().GetMidiDevices(devices, message)) << "the device list still works";
        EXPECT_EQ(devices.Item(1), "Midi Mapper");
    }
}

TEST(BuiltInSynthesizerLevel, StartsAtTheStoredVolumeOrAnAudibleDefault)
{
    const auto empty = SettingsStore::Open();
    empty->clear();
    empty->sync();
    EXPECT_EQ(StoredSynthLevel(), FirstRunSynthLevel);
    const auto storeVolume = [](const char* text) {
        const auto store = SettingsStore::Open();
        store->setValue(QStringLiteral("General/MixerVolume"), QString::fromLatin1(text));
        store->sync();
        return StoredSynthLevel();
    };
    EXPECT_EQ(storeVolume("40000"), 40000u);
    EXPECT_EQ(storeVolume("0"), 0u) << "a muted synthesizer stays muted";
    EXPECT_EQ(storeVolume("70000"), Synthesizer::MaxLevel);
    EXPECT_EQ(storeVolume("-3"), 0u);
    EXPECT_EQ(storeVolume("loud"), FirstRunSynthLevel);
}
