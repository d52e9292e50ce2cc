#pragma once
// The sound of the running program: the one built-in synthesizer, the back ends the
// application installs at start-up, the error beep and what the system information
// dialog shows.

#include <QString>
#include <QtGlobal>
#include <QStringList>

#include <memory>

class Synthesizer;

// The run's synthesizer, made on first use and kept until exit. Its SoundFont and audio
// output start when the "Midi Mapper" is first opened. Its first level is the stored
// "MixerVolume" (the desktop mixer kept the level between runs; we keep it there), or
// a comfortable default on a first run.
std::shared_ptr<Synthesizer> BuiltInSynthesizer();

// The stored "MixerVolume" held within 0..65535, or FirstRunSynthLevel when none (or
// no number) is stored.
quint32 StoredSynthLevel();
constexpr quint32 FirstRunSynthLevel = 39321; // 60 %: clearly audible, far from clipping

// Routes the MIDI routines and the mixer to the built-in synthesizer and the system's
// MIDI ports. The application calls it once at start-up; nothing is loaded or opened
// until sound is first used.
void InstallSystemSound();

// The error beep: a short tone through the built-in synthesizer. False when sound is
// off or the synthesizer cannot play; the caller then uses the desktop's own beep.
bool PlayBeepTone();
// The tone itself, on synth (its own channel, so the user's patch is left alone);
// 0 or a SoundError. The synthesizer ends it by itself.
int SoundBeep(Synthesizer& synth);
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
