#pragma once
// Scale patterns: a pattern is a fingering box, the fretboard locations at which the
// notes of a key and scale are played in one hand position. Locations are fret offsets
// from the key's anchor, so one pattern serves every key.
//
// Key anchor: for key k (1 "A" .. 12 "A flat") an offset d stands for fret position
// k + 5 + d (position 1 = open string) on its string, and for every position 12 frets
// away from it: position k + 5 is where a low E string sounds the key's root.

#include "core/Collection.h"
#include "music/Instrument.h"

#include <QString>

#include <vector>

struct FretNoteLoc {
    int stringNum = 0;          // 1 = lowest string of the instrument
    int fretOffset = 0;         // from the key anchor; may be negative
    bool isRoot = false;        // the scale's root
    bool isAdditional = false;  // outside the scale's pentatonic subset
};

using FretNoteLocs = Collection<FretNoteLoc>;

inline constexpr int kAllPatterns = 6; // "All Patterns"; 1..5 are the single boxes

struct Pattern {
    QString key;          // its key in the table, "1".."12"
    int number = 0;       // 1..5, or kAllPatterns
    int scale = 0;        // 1 major, 2 minor
    QString name;         // "Pattern 1".."Pattern 5", "All Patterns" (untranslated)
    FretNoteLocs locations;
};

// Twelve patterns keyed "1".."12": "Pattern 1".."Pattern 5" and "All Patterns" of the
// major scale, then the same of the minor scale.
using Patterns = Collection<Pattern>;

// The pattern table of an instrument: each box holds every scale note within a window of
// frets around the key's anchor on every string, so the boxes follow the tuning (and are
// the classic five shapes in standard tuning). Built once per tuning.
const Patterns& ScalePatterns(const Instrument& instrument);

// True when every one of the five boxes holds every degree of the scale on this
// tuning; otherwise each pattern is the scale's notes over the whole neck.
bool BoxesHoldEveryDegree(const Instrument& instrument);

// Fret position (1 = open string) of the key's anchor: keys 1..12 give 6..17, any other
// value 0.
int GetKeyFretOffset(int key);

// The numbers of the patterns of a scale that hold a cell in a key, in table order, once
// per matching location. A location matches when (its offset + GetKeyFretOffset(key) -
// 1) and (fretNum - 1) leave the same remainder on division by 12 (the non-negative
// one), so a location below the nut marks the fret twelve higher. With pentatonicOnly,
// locations outside the pentatonic subset do not count.
std::vector<int> GetPatternNumsAtFret(const Patterns& patterns, int stringNum, int fretNum, int key, int scale,
                                      bool pentatonicOnly);
