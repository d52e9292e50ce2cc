#pragma once
// The pattern table and where a pattern lies on the fretboard for a key.
//
// Key anchor: for key k (1 "A" .. 12 "A flat") a location with offset d stands for
// fret position k + 5 + d (position 1 = open string) on its string, and for every
// position 12 frets away from it. Position k + 5 is where the lowest E string
// sounds the key's root (fret 5 for A).

#include "music/Patterns.h"

#include <QtGlobal>

// Twelve patterns, keys "1".."12": "Pattern 1".."Pattern 5" and "All Patterns" of the
// major scale, then the same of the minor scale. Filled by notes::LoadPatterns (run
// by notes::Initialize) for the current GuitarType. On the five-string bass every
// pattern starts with its locations on the low B string as string 1 and the others
// move up one string. Rows for strings the instrument lacks are kept and never match.
extern Patterns ScalePatterns;

// Fret position (1 = open string) of the key's anchor: keys 1..12 give 6..17, any
// other value 0.
qint16 GetKeyFretOffset(qint32 intKey);

// The membership rule. The pattern numbers, as text, of the patterns of scale intScale
// (1 major, 2 minor) in ScalePatterns that hold the fretboard cell at string
// intStringNum (1 = lowest) and fret position intFretNum (1 = open string .. 14) in
// key intKey, in ScalePatterns order, once per matching location. A location matches
// when (its offset + GetKeyFretOffset(intKey) - 1) and (intFretNum - 1) leave the same
// non-negative remainder on division by 12; so a location below the nut (possible on
// the low B string) marks the fret twelve higher. With boolBluesNotesOnly, locations
// outside the pentatonic subset do not count.
Collection<QString> GetPatternNumsAtFret(qint16 intStringNum, qint16 intFretNum, qint32 intKey,
                                         qint16 intScale, bool boolBluesNotesOnly);
