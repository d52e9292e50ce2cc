#pragma once
// What the pattern tests ask of every instrument: a selection showing one pattern, and
// the frets of a string that a pattern holds.

#include "core/Selection.h"
#include "music/Patterns.h"

#include <algorithm>
#include <vector>

inline Selection Showing(int key, int scale, int pattern, bool pentatonic = false)
{
    Selection selection;
    selection.key = key;
    selection.scale = scale;
    selection.ShowOnly(pattern);
    selection.pentatonicOnly = pentatonic;
    return selection;
}

// The fret positions of a string that a pattern holds in a key and scale.
inline std::vector<int> Held(const Instrument& instrument, int stringNum, int pattern, int key, int scale,
                             bool pentatonic = false)
{
    std::vector<int> frets;
    for (int fret = 1; fret <= kFretPositions; ++fret) {
        const auto numbers = GetPatternNumsAtFret(ScalePatterns(instrument), stringNum, fret, key, scale, pentatonic);
        if (std::find(numbers.begin(), numbers.end(), pattern) != numbers.end())
            frets.push_back(fret);
    }
    return frets;
}
