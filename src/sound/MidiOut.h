#pragma once
// The program's MIDI output: opened lazily for a note, closed after every note-off.

#include "core/Collection.h"
#include "sound/MidiOutput.h"

#include <QString>

#include <memory>

extern MidiHandle MidiOutHandle; // 0 when closed
extern qint32 MidiDeviceId;      // -1 the built-in synthesizer, 0..n-1 the ports

// Installs the back end every routine below talks to; returns the previous one.
// Closes nothing: callers close the output first.
std::unique_ptr<MidiOutput> SetMidiOutput(std::unique_ptr<MidiOutput> output);
MidiOutput& CurrentMidiOutput();

// The device list: "Midi Mapper" under key "-1", then each output device's name under
// its id as decimal text. Position p belongs to device id p - 2.
using MidiDevices = Collection<QString>;

// Fills devices (which should come in empty). On a failure the items added so far stay.
bool GetMidiDevices(MidiDevices& devices, QString& message);
// The id of the first device named exactly "CurDeviceName"; -1 (the mapper) when none is.
bool FindMidiDeviceId(qint32& id, QString& message);

// Starts sound when "EnableSound" is on: sets MidiDeviceId to the id of "CurDeviceName"
// and opens the output there (an output already open stays on its device until the
// next note-off closes it), reads the volume control's bounds into
// MixerMinValue/MixerMaxValue and its level into "MixerVolume".
bool InitMidi(QString& message);

bool OpenMidiOut(QString& message);
bool CloseMidiOut(QString& message);
QString GetMidiErrorText(qint32 code);

// Program change ("Patch") and note on at velocity 127 on "Channel".
bool MidiNoteOn(int noteNumber, QString& message);
// Note off, then close the output (a closed output is reopened for it).
bool MidiNoteOff(int noteNumber, QString& message);
