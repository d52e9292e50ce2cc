#include "sound/SoundSystem.h"

#include "core/Rounding.h"
#include "core/Settings.h"
#include "sound/RtMidiPorts.h"
#include "sound/SoundErrors.h"
#include "sound/SynthMixerDevice.h"
#include "sound/Synthesizer.h"
#include "sound/SystemMidiOutput.h"

#include <QCoreApplication>
#include <QSettings>

#include <fluidsynth.h>
#include <RtMidi.h>

#include <algorithm>

namespace {

constexpr int kBeepProgram = 80; // GM "Lead 1 (square)"
constexpr int kBeepKey = 81;     // A, 880 Hz
constexpr int kBeepVelocity = 100;

QString Tr(const char* text)
{
    return QCoreApplication::translate("MidiOut", text);
}

} // namespace

quint32 StoredSynthLevel()
{
    // Read from the store, not from the settings: the synthesizer may well be made
    // before the settings are loaded.
    const auto store = SettingsStore::Open();
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

SoundSystem::SoundSystem(Settings& settings)
    : settings_(settings)
    , synthesizer_((NeverStartJackServer(), BuiltInSynthesizer()))
    , midi_(std::make_unique<SystemMidiOutput>(synthesizer_))
    , mixer_(std::make_unique<SynthMixerDevice>(synthesizer_))
    , timeout_(*this, settings)
{
}

SoundSystem::SoundSystem(Settings& settings, std::unique_ptr<MidiOutput> output, std::unique_ptr<MixerDevice> volume)
    : settings_(settings)
    , midi_(std::move(output))
    , mixer_(std::move(volume))
    , timeout_(*this, settings)
{
}

SoundSystem::~SoundSystem()
{
    QString ignored;
    timeout_.StopNow(ignored);
}

void SoundSystem::Sounding(std::chrono::milliseconds length)
{
    if (soundingHook_)
        soundingHook_(std::chrono::steady_clock::now() + length + ReleaseTime);
}

bool SoundSystem::NoteOn(int midi, QString& message)
{
    if (!settings_.enableSound)
        return true;
    // A held note is told again at its note-off; until then it lasts at most this long.
    Sounding(std::chrono::milliseconds(100 * std::max<int>(settings_.noteMaxDuration, 10)));
    return midi_.NoteOn(midi, settings_.channel, settings_.patch, message);
}

bool SoundSystem::NoteOff(int midi, QString& message)
{
    if (!settings_.enableSound)
        return true;
    Sounding(std::chrono::milliseconds(0));
    return midi_.NoteOff(midi, settings_.channel, message);
}

bool SoundSystem::InitMidi(QString& message)
{
    if (!settings_.enableSound)
        return true;
    QString detail;
    // The chosen device first, so the first note of a run reaches it.
    qint32 id = -1;
    if (!midi_.FindMidiDeviceId(settings_.curDeviceName, id, detail)) {
        message = Tr("Unable to get the MIDI device. ") + detail;
        return false;
    }
    midi_.SetDeviceId(id);
    if (!midi_.OpenMidiOut(detail)) {
        message = Tr("Unable to open the MIDI device. ") + detail;
        return false;
    }
    if (!mixer_.InitMixer(detail)) {
        message = Tr("Unable to read the current MIDI volume range. ") + detail;
        return false;
    }
    if (!mixer_.GetVolume(settings_.mixerVolume, detail)) {
        message = Tr("Unable to read the current MIDI device volume. ") + detail;
        return false;
    }
    return true;
}

bool SoundSystem::ApplyVolume(QString& message)
{
    if (!settings_.enableSound)
        return true;
    return mixer_.SetVolume(settings_.mixerVolume, message);
}

int SoundBeep(Synthesizer& synth, int userChannel)
{
    const int channel = userChannel == 15 ? 14 : 15;
    return synth.PlayTimedNote(channel, kBeepProgram, kBeepKey, kBeepVelocity, BeepDurationMs);
}

bool SoundSystem::PlayBeepTone()
{
    if (!settings_.enableSound || !synthesizer_)
        return false;
    Sounding(std::chrono::milliseconds(BeepDurationMs));
    return synthesizer_->StartAudio() == SoundErrNone && SoundBeep(*synthesizer_, settings_.channel) == SoundErrNone;
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
