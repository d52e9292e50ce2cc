#include "sound/SoundSystem.h"

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

constexpr quint32 kFirstRunLevel = 39321; // 60 %: clearly audible, far from clipping
constexpr int kBeepProgram = 80;           // GM "Lead 1 (square)"
constexpr int kBeepKey = 81;               // A, 880 Hz
constexpr int kBeepVelocity = 100;

quint32 InitialLevel()
{
    const auto store = OpenSettingsStore();
    if (!store->contains(QStringLiteral("General/MixerVolume")))
        return kFirstRunLevel;
    return static_cast<quint32>(std::clamp<qint32>(MixerVolume, 0, static_cast<qint32>(Synthesizer::MaxLevel)));
}

} // namespace

std::shared_ptr<Synthesizer> BuiltInSynthesizer()
{
    static const std::shared_ptr<Synthesizer> synthesizer = [] {
        SynthesizerOptions options;
        options.soundFonts = DefaultSoundFontCandidates();
        options.audioDrivers = DefaultAudioDrivers();
        options.level = InitialLevel();
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
