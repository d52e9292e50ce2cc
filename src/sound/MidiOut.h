#pragma once
// The program's MIDI output: opened lazily for a note, closed after every note-off.

#include "sound/MidiOutput.h"

#include <QString>

#include <memory>

extern MidiHandle MidiOutHandle; // 0 when closed
extern qint32 MidiDeviceId;      // -1 the built-in synthesizer, 0..n-1 the ports

// Installs the back end every routine below talks to; returns the previous one.
// Closes nothing: callers close the output first.
std::unique_ptr<MidiOutput> SetMidiOutput(std::unique_ptr<MidiOutput> output);
MidiOutput& CurrentMidiOutput();

bool OpenMidiOut(QString& message);
bool CloseMidiOut(QString& message);
QString GetMidiErrorText(qint32 code);

// Program change ("Patch") and note on at velocity 127 on "Channel".
bool MidiNoteOn(int noteNumber, QString& message);
// Note off, then close the output (a closed output is reopened for it).
bool MidiNoteOff(int noteNumber, QString& message);
