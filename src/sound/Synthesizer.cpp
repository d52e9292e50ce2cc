#include "sound/Synthesizer.h"

#include "sound/SoundErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fluidsynth.h>

#include <algorithm>

namespace {

struct SettingsDeleter {
    void operator()(fluid_settings_t* p) const { delete_fluid_settings(p); }
};
struct SynthDeleter {
    void operator()(fluid_synth_t* p) const { delete_fluid_synth(p); }
};
struct SequencerDeleter {
    void operator()(fluid_sequencer_t* p) const { delete_fluid_sequencer(p); }
};
struct AudioDeleter {
    void operator()(fluid_audio_driver_t* p) const { delete_fluid_audio_driver(p); }
};
struct EventDeleter {
    void operator()(fluid_event_t* p) const { delete_fluid_event(p); }
};

void CollectOption(void* data, const char*, const char* option)
{
    static_cast<QStringList*>(data)->append(QString::fromUtf8(option));
}

QStringList CompiledAudioDrivers(fluid_settings_t* settings)
{
    QStringList drivers;
    fluid_settings_foreach_option(settings, "audio.driver", &drivers, CollectOption);
    return drivers;
}

float GainOf(quint32 level)
{
    return Synthesizer::MaxGain * static_cast<float>(std::min(level, Synthesizer::MaxLevel))
        / static_cast<float>(Synthesizer::MaxLevel);
}

} // namespace

// Declared in the order they are made; members are destroyed in reverse, so the audio
// driver stops rendering before the sequencer and synthesizer go.
struct Synthesizer::Handles {
    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings;
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth;
    std::unique_ptr<fluid_sequencer_t, SequencerDeleter> sequencer;
    fluid_seq_id_t synthClient = -1;
    std::unique_ptr<fluid_audio_driver_t, AudioDeleter> audio;
};

void NeverStartJackServer()
{
    qputenv("JACK_NO_START_SERVER", "1");
}

QStringList DefaultSoundFontCandidates()
{
    static const char* const relative[] = {
        "sounds/sf2/TimGM6mb.sf2",
        "sounds/sf2/default-GM.sf2",
        "sounds/sf2/FluidR3_GM.sf2",
        "soundfonts/default.sf2",
        "soundfonts/FluidR3_GM.sf2",
    };
    QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    if (!dirs.contains(QStringLiteral("/usr/share")))
        dirs.append(QStringLiteral("/usr/share"));
    QStringList candidates;
    for (const char* file : relative)
        for (const QString& dir : dirs)
            candidates.append(dir + QLatin1Char('/') + QLatin1String(file));
    return candidates;
}

QStringList DefaultAudioDrivers()
{
    return {QStringLiteral("pipewire"), QStringLiteral("pulseaudio"), QStringLiteral("alsa"), QStringLiteral("jack")};
}

Synthesizer::Synthesizer(SynthesizerOptions options)
    : options_(std::move(options)), handles_(std::make_unique<Handles>())
{
    handles_->settings.reset(new_fluid_settings());
    if (!handles_->settings)
        return;
    fluid_settings_t* settings = handles_->settings.get();
    fluid_settings_setnum(settings, "synth.sample-rate", options_.sampleRate);
    fluid_settings_setint(settings, "synth.threadsafe-api", 1);
    fluid_settings_setint(settings, "audio.period-size", options_.periodSize);
    fluid_settings_setint(settings, "audio.periods", options_.periods);
    fluid_settings_setstr(settings, "audio.jack.id", "Fretlore");
    fluid_settings_setint(settings, "audio.jack.autoconnect", 1);
    handles_->synth.reset(new_fluid_synth(settings));
    if (handles_->synth)
        SetLevel(options_.level);
}

Synthesizer::~Synthesizer() = default;

bool Synthesizer::IsCreated() const
{
    return handles_->synth != nullptr;
}

int Synthesizer::LoadSoundFont()
{
    if (!IsCreated())
        return SoundErrNoSynthesizer;
    if (!soundFontPath_.isEmpty())
        return SoundErrNone;
    int result = SoundErrNoSoundFont;
    for (const QString& path : options_.soundFonts) {
        if (!QFileInfo(path).isFile())
            continue;
        if (fluid_synth_sfload(handles_->synth.get(), QFile::encodeName(path).constData(), 1) == FLUID_FAILED) {
            result = SoundErrSoundFontLoad;
            continue;
        }
        soundFontPath_ = path;
        return SoundErrNone;
    }
    return result;
}

int Synthesizer::StartAudio()
{
    if (handles_->audio)
        return SoundErrNone;
    if (const int result = LoadSoundFont(); result != SoundErrNone)
        return result;
    if (options_.audioDrivers.isEmpty())
        return SoundErrNone; // rendered on request
    NeverStartJackServer();
    fluid_settings_t* settings = handles_->settings.get();
    const QStringList compiled = CompiledAudioDrivers(settings);
    for (const QString& driver : options_.audioDrivers) {
        if (!compiled.contains(driver))
            continue;
        fluid_settings_setstr(settings, "audio.driver", driver.toUtf8().constData());
        handles_->audio.reset(new_fluid_audio_driver(settings, handles_->synth.get()));
        if (handles_->audio) {
            audioDriver_ = driver;
            return SoundErrNone;
        }
    }
    return SoundErrNoAudio;
}

bool Synthesizer::IsAudioRunning() const
{
    return handles_->audio != nullptr;
}

int Synthesizer::Send(quint32 message)
{
    if (!IsCreated())
        return SoundErrNoSynthesizer;
    fluid_synth_t* synth = handles_->synth.get();
    const int status = static_cast<int>(message & 0xFF);
    const int channel = status & 0x0F;
    const int data1 = static_cast<int>((message >> 8) & 0x7F);
    const int data2 = static_cast<int>((message >> 16) & 0x7F);
    int result = FLUID_OK;
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth, channel, data1); // fails only for a note already gone
        break;
    case 0x90:
        if (data2 == 0)
            fluid_synth_noteoff(synth, channel, data1);
        else
            result = fluid_synth_noteon(synth, channel, data1, data2);
        break;
    case 0xA0: result = fluid_synth_key_pressure(synth, channel, data1, data2); break;
    case 0xB0: result = fluid_synth_cc(synth, channel, data1, data2); break;
    case 0xC0: result = fluid_synth_program_change(synth, channel, data1); break;
    case 0xD0: result = fluid_synth_channel_pressure(synth, channel, data1); break;
    case 0xE0: result = fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7)); break;
    default: return SoundErrBadMessage;
    }
    return result == FLUID_FAILED ? SoundErrSend : SoundErrNone;
}

void Synthesizer::SetLevel(quint32 level)
{
    level_ = std::min(level, MaxLevel);
    if (IsCreated())
        fluid_synth_set_gain(handles_->synth.get(), GainOf(level_));
}

int Synthesizer::EnsureSequencer()
{
    if (handles_->sequencer)
        return SoundErrNone;
    // Driven by the synthesizer's sample clock, not a system timer thread.
    handles_->sequencer.reset(new_fluid_sequencer2(0));
    if (!handles_->sequencer)
        return SoundErrNoSynthesizer;
    handles_->synthClient = fluid_sequencer_register_fluidsynth(handles_->sequencer.get(), handles_->synth.get());
    if (handles_->synthClient == FLUID_FAILED) {
        handles_->sequencer.reset();
        return SoundErrNoSynthesizer;
    }
    return SoundErrNone;
}

int Synthesizer::PlayTimedNote(int channel, int program, int key, int velocity, int durationMs)
{
    if (const int result = LoadSoundFont(); result != SoundErrNone)
        return result;
    if (const int result = EnsureSequencer(); result != SoundErrNone)
        return result;
    if (fluid_synth_program_change(handles_->synth.get(), channel, program) == FLUID_FAILED)
        return SoundErrSend;
    std::unique_ptr<fluid_event_t, EventDeleter> event(new_fluid_event());
    if (!event)
        return SoundErrSend;
    fluid_event_set_source(event.get(), -1);
    fluid_event_set_dest(event.get(), handles_->synthClient);
    fluid_event_note(event.get(), channel, static_cast<short>(key), static_cast<short>(velocity),
                     static_cast<unsigned int>(durationMs));
    return fluid_sequencer_send_at(handles_->sequencer.get(), event.get(), 0, 0) == FLUID_FAILED ? SoundErrSend
                                                                                                : SoundErrNone;
}

bool Synthesizer::Render(std::span<float> left, std::span<float> right)
{
    if (!IsCreated() || handles_->audio || left.size() != right.size())
        return false;
    return fluid_synth_write_float(handles_->synth.get(), static_cast<int>(left.size()), left.data(), 0, 1,
                                   right.data(), 0, 1)
        == FLUID_OK;
}

int Synthesizer::ActiveVoices() const
{
    return IsCreated() ? fluid_synth_get_active_voice_count(handles_->synth.get()) : 0;
}

double Synthesizer::OutputBufferMs() const
{
    return 1000.0 * options_.periodSize * options_.periods / options_.sampleRate;
}
