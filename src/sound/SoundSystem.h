#pragma once
// The program's sound, owned by the application: the MIDI output, the volume control,
// the note player the activities sound through, the note timeout and the error beep.
// Its back ends are the built-in synthesizer and the system's MIDI ports, or recording
// ones in tests.

#include "core/NotePlayer.h"
#include "sound/MidiOut.h"
#include "sound/Mixer.h"
#include "sound/NoteTimeout.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

class Synthesizer;
struct Settings;

class SoundSystem : private NotePlayer {
public:
    // The built-in synthesizer ("Midi Mapper") and the system's MIDI ports. Nothing is
    // loaded or opened until sound is first used.
    explicit SoundSystem(Settings& settings);
    // Sound through these back ends.
    SoundSystem(Settings& settings, std::unique_ptr<MidiOutput> output, std::unique_ptr<MixerDevice> volume);
    ~SoundSystem() override;

    MidiOut& Midi() { return midi_; }
    Mixer& Volume() { return mixer_; }
    // Sounds notes on "Channel" with "Patch"; does nothing while "EnableSound" is off.
    NotePlayer& Player() { return *this; }
    NoteTimeout& Timeout() { return timeout_; }

    // Starts sound when "EnableSound" is on: takes the device named "CurDeviceName",
    // opens it, reads the volume control's bounds and its level into "MixerVolume".
    bool InitMidi(QString& message);
    // Sets the volume to "MixerVolume" when sound is on.
    bool ApplyVolume(QString& message);
    // The error beep: a short tone through the built-in synthesizer. False when sound
    // is off or the synthesizer cannot play; the caller then uses the desktop's beep.
    bool PlayBeepTone();

    // Told of every note the program sounds, with the time until which it may still be
    // heard: its longest duration (or its note-off) and its release. Listening stays
    // deaf until then, so the speaker never answers for the learner.
    using SoundingHook = std::function<void(std::chrono::steady_clock::time_point heardUntil)>;
    void SetSoundingHook(SoundingHook hook) { soundingHook_ = std::move(hook); }
    // How long a note rings on after its note-off.
    static constexpr std::chrono::milliseconds ReleaseTime{600};

private:
    void Sounding(std::chrono::milliseconds length);

    bool NoteOn(int midi, QString& message) override;
    bool NoteOff(int midi, QString& message) override;

    Settings& settings_;
    std::shared_ptr<Synthesizer> synthesizer_; // null when other back ends are given
    MidiOut midi_;
    Mixer mixer_;
    NoteTimeout timeout_;
    SoundingHook soundingHook_;
};

// The run's built-in synthesizer, made on first use and kept until exit. Its first level
// is the stored "MixerVolume", or a comfortable default on a first run.
std::shared_ptr<Synthesizer> BuiltInSynthesizer();
// The stored "MixerVolume" held within 0..65535, or FirstRunSynthLevel when none (or no
// number) is stored.
quint32 StoredSynthLevel();
constexpr quint32 FirstRunSynthLevel = 39321; // 60 %: clearly audible, far from clipping

// The beep itself, on synth (its own channel, so the user's patch is left alone); 0 or
// a SoundError. The synthesizer ends it by itself.
int SoundBeep(Synthesizer& synth, int userChannel);
constexpr int BeepDurationMs = 150;

// For the system information dialog.
struct SoundSystemInfo {
    QString fluidSynthVersion;
    QString rtMidiVersion;
    QString soundFont;   // empty until the synthesizer has loaded one
    QString audioDriver; // empty until audio runs
    double audioBufferMs = 0;
    QStringList midiPorts;
};
SoundSystemInfo DescribeSound();
