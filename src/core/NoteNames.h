#pragma once
// The 60 semitone names of the note table, ascending from "A-0": a letter, "#" or "b"
// by the spelling preference, "-", and an octave digit 0..4 that increases at A, not at
// C ("G#-0" is followed by "A-1"). Position p (1-based) has the letter cycle index
// (p - 1) mod 12 and the digit (p - 1) div 12.

#include <QString>

inline constexpr int kNoteTableSize = 60;

// The name at a table position in the preferred spelling ("Bb-0" or "A#-0" at 2);
// empty outside 1..60.
QString NoteNameAt(int position, bool flats);

// The table position of a name in either spelling; 0 when it names no table note.
int NotePosition(const QString& name);

// A note name of the scheme ("F#-1", "Gb-1", "A-2": letter, "#" or "b", "-", octave
// digit that rises at A) as its place from "A-0": 12 times the octave plus the
// semitones above A, octaves 0..9. Both spellings of a sound give the same index
// ("Ab-0" and "G#-0" are 11). -1 for anything else.
int NoteIndex(const QString& noteName);
// The name of a note index in sharp or flat spelling; empty for a negative index.
QString NoteNameOfIndex(int noteIndex, bool flats);

// A two-form name reduced to the preferred spelling: "A#Bb-0" gives "A#-0" with sharps
// and "Bb-0" with flats; a name without "#" is returned as it is.
QString SplitDualName(const QString& dualName, bool flats);

// The name without its "-" and octave digit ("C#-2" gives "C#").
QString WithoutOctave(const QString& name);
