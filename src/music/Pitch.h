#pragma once
// Concert pitch of the note table's names, as MIDI key numbers (60 = middle C,
// 69 = the A of 440 Hz, 0..127).

#include <QStringView>

// How many octaves an instrument family sounds above the names' own octave. The names
// are the same on every instrument, but a bass sounds an octave below a guitar: the
// bass's "E-0" is E1 (MIDI 28), the guitar's "E-0" is E2 (MIDI 40).
inline constexpr int BassOctaveOffset = 0;
inline constexpr int GuitarOctaveOffset = 1;

// The MIDI key of a table name such as "E-0", "C#-2" or "Bb-1" sounded by an instrument
// of the given octave offset.
//
// A name is a letter A..G, an optional "#" (one semitone up) or "b" (one down), "-" and
// an octave number of one or two digits. Octaves begin at A, not at C: "A-n" is MIDI
// 21 + 12 * (n + octaveOffset), and the rest of the octave lies above it, "G#-n" (the
// same key as "Ab-n") eleven semitones up, just below "A-(n+1)". So "Ab-n" is not the
// key below "A-n" but the top of octave n, as in the note table.
//
// Returns -1 for text that is not such a name and for a key outside 0..127.
int MidiKeyFromNoteName(QStringView name, int octaveOffset);
