#include "sound/SoundSystem.h"

#include "core/Rounding.h"
#include "core/Settings.h"
#include "sound/Mixer.h"
#include "sound/MidiOut.h"
#include "sound/RtMidiPorts.h"
#include "sound/SoundErrors.h"
#include "sound/SynthMixerDevice.h"
#include "sound/Synthesizer.h"
#include "sound/SystemMidiOutput.h"

#include <QSettings>

#include <fluidsynth.h>
#include <RtMidi.h>

#include <algorithm>

namespace {

constexpr int kBeepProgram = 80;           // GM "Lead 1 (square)"
constexpr int kBeepKey = 81;               // A, 880 Hz
constexpr int kBeepVelocity = 100;

} // namespace

quint32 StoredSynthLevel()
{
    // Read from the store, not from "MixerVolume": the synthesizer may well be made
    // before the settings are loaded.
    const auto store = OpenSettingsStore();
    bool ok = false;
    const double stored = store->value(QStringLiteral("General/MixerVolume")).toString().toDouble(&ok);
    const std::optional<qint32> level = ok ? RoundToInt<qint32>(stored) : std::nullopt;
    if (!level)
        return FirstRunSynthLevel;
    return static_cast<quint32>(std::clamp<qint32>(*level, 0, static_cast<qint32>(Synthesizer::MaxLevel)));
}

std::shared_ptr<Synthesizer> BuiltInSynthesizer()
{
    static const std::shared_ptr<Synthesizer> synthesizer = [] {
        SynthesizerOptions options;
        options.soundFonts = DefaultSoundFontCandidates();
        options.audioDrivers = DefaultAudioDrivers();
        options.level = StoredSynthLevel();
        return std::make_shared<Synthesizer>(options);
    }();
    return synthesizer;
}

void InstallSystemSound()
{
    NeverStartJackServer();
    QString ignored;
    CloseMidiOut(ignored);
    SetMidiOutput(std::make_unique<SystemMidiOutput>(BuiltInSynthesizer()));
    SetMixerDevice(std::make_unique<SynthMixerDevice>(BuiltInSynthesizer()));
}

int SoundBeep(Synthesizer& synth)
{
    const int channel = Channel == 15 ? 14 : 15;
    return synth.PlayTimedNote(channel, kBeepProgram, kBeepKey, kBeepVelocity, BeepDurationMs);
}

bool PlayBeepTone()
{
    if (!EnableSound)
        return false;
    Synthesizer& synth = *BuiltInSynthesizer();
    return synth.StartAudio() == SoundErrNone && SoundBeep(synth) == SoundErrNone;
}

SoundSystemInfo DescribeSound()
{
    SoundSystemInfo info;
    info.fluidSynthVersion = QString::fromUtf8(fluid_version_str());
    info.rtMidiVersion = QString::fromStdString(RtMidi::getVersion());
    const auto synth = BuiltInSynthesizer();
    info.soundFont = synth->SoundFontPath();
    info.audioDriver = synth->AudioDriverName();
    info.audioBufferMs = synth->OutputBufferMs();
    RtMidiPorts ports;
    ports.Refresh();
    for (int i = 0; i < ports.Count(); ++i)
        info.midiPorts.append(ports.Name(i));
    return info;
}
