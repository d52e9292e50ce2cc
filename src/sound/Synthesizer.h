#pragma once
// The FluidSynth synthesizer behind the "Midi Mapper" device. One object owns every
// FluidSynth handle (settings, synthesizer, sequencer, audio driver) and frees them in
// reverse order. The SoundFont and the audio output are started on first need and
// retried after a failure, so opening and closing the device around a note costs
// nothing and never cuts a sounding note's release.
//
// Thread use: every member is called on one thread (the GUI thread). FluidSynth's own
// audio thread only renders; it never calls back into this object.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <span>

struct SynthesizerOptions {
    QStringList soundFonts;   // tried in order; the first that loads is kept
    QStringList audioDrivers; // tried in order; empty: render on request only
    int sampleRate = 48000;
    int periodSize = 128;     // frames per audio period
    int periods = 2;          // 2 x 128 frames at 48 kHz: 5.3 ms of output buffer
    quint32 level = 39321;    // volume 0..MaxLevel, see SetLevel
};

class Synthesizer {
public:
    static constexpr quint32 MaxLevel = 65535;

    explicit Synthesizer(SynthesizerOptions options);
    ~Synthesizer();
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    // False when FluidSynth refused to create the synthesizer; every call below then
    // fails with SoundErrNoSynthesizer.
    bool IsCreated() const;

    // 0 or a SoundError. Both do nothing once they have succeeded.
    int LoadSoundFont();
    int StartAudio(); // loads the SoundFont first; without drivers only that
    bool IsAudioRunning() const;

    // One packed short message (status in bits 0-7, data in 8-15 and 16-23).
    // A note-off for a note that has already died away is not an error.
    int Send(quint32 message);

    // Master volume, 0 (silent) to MaxLevel (FluidSynth gain MaxGain), linear.
    void SetLevel(quint32 level);
    quint32 Level() const { return level_; }
    static constexpr float MaxGain = 1.0f;

    // Sounds key on channel with program for durationMs; the note-off is scheduled on
    // the synthesizer's own sample clock, so nothing has to wake up to stop it.
    int PlayTimedNote(int channel, int program, int key, int velocity, int durationMs);

    // Renders the next frames into left and right (equal sizes). Only without an audio
    // output, which would be rendering at the same time: false then.
    bool Render(std::span<float> left, std::span<float> right);

    int ActiveVoices() const;
    QString SoundFontPath() const { return soundFontPath_; }
    QString AudioDriverName() const { return audioDriver_; }
    // The output buffer the audio driver was asked for, in milliseconds.
    double OutputBufferMs() const;

private:
    struct Handles;
    int EnsureSequencer();

    SynthesizerOptions options_;
    std::unique_ptr<Handles> handles_;
    quint32 level_ = 0;
    QString soundFontPath_;
    QString audioDriver_;
};

// The SoundFonts looked for, small and quick to load first: TimGM6mb (6 MB, ~0.1 s),
// then Debian's default-GM link (often the 148 MB FluidR3, ~0.5 s), then FluidR3 and
// the places other distributions use.
QStringList DefaultSoundFontCandidates();

// PipeWire (when FluidSynth was built with it), PulseAudio, ALSA, then JACK, which
// only ever joins a server that already runs.
QStringList DefaultAudioDrivers();

// Keeps the JACK library from starting a server of its own (a stall of seconds).
// Call before anything that may load JACK.
void NeverStartJackServer();
