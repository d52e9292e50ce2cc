#include "music/Patterns.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace {

using Offsets = std::vector<int>;
// Rows: the low B string of the five-string bass, then strings 1 (low E) to 6 (high E).
using Shape = std::array<Offsets, 7>;
constexpr int kLowBRow = 0;

// The major patterns, offsets from the key anchor.
const std::array<Shape, 5>& MajorShapes()
{
    static const std::array<Shape, 5> shapes = {{
        {{{-3, -2, 0}, {-3, -1, 0}, {-3, -1, 0}, {-3, -1}, {-4, -3, -1}, {-3, -2, 0}, {-3, -1, 0}}},
        {{{0, 2}, {-1, 0, 2}, {-1, 0, 2}, {-1, 1, 2}, {-1, 1, 2}, {0, 2}, {-1, 0, 2}}},
        {{{2, 4, 5}, {2, 4, 5}, {2, 4}, {1, 2, 4}, {1, 2, 4}, {2, 4, 5}, {2, 4, 5}}},
        {{{-8, -7, -5}, {4, 5, 7}, {4, 6, 7}, {4, 6, 7}, {4, 6}, {4, 5, 7}, {4, 5, 7}}},
        {{{-5, -3, -2}, {7, 9}, {6, 7, 9}, {6, 7, 9}, {6, 8, 9}, {7, 9, 10}, {7, 9}}},
    }};
    return shapes;
}

// Semitones of each row's open string above the low E string, modulo 12.
constexpr std::array<int, 7> kRowIntervals = {7, 0, 5, 10, 3, 7, 0};

constexpr std::array<const char*, 6> kPatternNames = {
    QT_TRANSLATE_NOOP("Patterns", "Pattern 1"), QT_TRANSLATE_NOOP("Patterns", "Pattern 2"),
    QT_TRANSLATE_NOOP("Patterns", "Pattern 3"), QT_TRANSLATE_NOOP("Patterns", "Pattern 4"),
    QT_TRANSLATE_NOOP("Patterns", "Pattern 5"), QT_TRANSLATE_NOOP("Patterns", "All Patterns")};

int Modulo12(int value)
{
    return ((value % 12) + 12) % 12;
}

// A minor pattern is the major one of its relative major: three frets up. On the low
// B string patterns 4 and 5 go an octave further, so they stay above the nut.
Offsets MinorOffsets(int patternNum, int row)
{
    const int shift = row == kLowBRow && patternNum >= 4 ? 15 : 3;
    Offsets offsets = MajorShapes()[static_cast<size_t>(patternNum - 1)][static_cast<size_t>(row)];
    for (int& offset : offsets)
        offset += shift;
    return offsets;
}

Offsets SinglePatternOffsets(int scale, int patternNum, int row)
{
    if (scale == 2)
        return MinorOffsets(patternNum, row);
    return MajorShapes()[static_cast<size_t>(patternNum - 1)][static_cast<size_t>(row)];
}

// "All Patterns" holds each offset of the five once, ascending.
Offsets PatternOffsets(int scale, int patternNum, int row)
{
    if (patternNum != kAllPatterns)
        return SinglePatternOffsets(scale, patternNum, row);
    Offsets all;
    for (int single = 1; single < kAllPatterns; ++single) {
        const Offsets offsets = SinglePatternOffsets(scale, single, row);
        all.insert(all.end(), offsets.begin(), offsets.end());
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

// Degrees outside the pentatonic subset: 4 and 7 of the major scale, 2 and 6 of the
// minor scale, as intervals above the root.
bool IsOutsidePentatonic(int scale, int interval)
{
    return scale == 2 ? interval == 2 || interval == 8 : interval == 5 || interval == 11;
}

FretNoteLocs BuildLocations(int scale, int patternNum, bool withLowB)
{
    FretNoteLocs locations;
    const int firstRow = withLowB ? kLowBRow : 1;
    for (int row = firstRow; row < static_cast<int>(kRowIntervals.size()); ++row) {
        const int stringNum = row == kLowBRow ? 1 : row + (withLowB ? 1 : 0);
        for (int offset : PatternOffsets(scale, patternNum, row)) {
            const int interval = Modulo12(offset + kRowIntervals[static_cast<size_t>(row)]);
            locations.Add({stringNum, offset, interval == 0, IsOutsidePentatonic(scale, interval)});
        }
    }
    return locations;
}

Patterns BuildPatterns(bool withLowB)
{
    Patterns patterns;
    int key = 1;
    for (int scale = 1; scale <= 2; ++scale) {
        for (int number = 1; number <= kAllPatterns; ++number) {
            const QString patternKey = QString::number(key++);
            patterns.Add({patternKey, number, scale,
                          QString::fromLatin1(kPatternNames[static_cast<size_t>(number - 1)]),
                          BuildLocations(scale, number, withLowB)},
                         patternKey);
        }
    }
    return patterns;
}

} // namespace

const Patterns& ScalePatterns(const Instrument& instrument)
{
    static const Patterns standard = BuildPatterns(false);
    static const Patterns withLowB = BuildPatterns(true);
    return instrument.Type() == InstrumentType::FiveStringBass ? withLowB : standard;
}

int GetKeyFretOffset(int key)
{
    return key >= 1 && key <= 12 ? key + 5 : 0;
}

std::vector<int> GetPatternNumsAtFret(const Patterns& patterns, int stringNum, int fretNum, int key, int scale,
                                      bool pentatonicOnly)
{
    std::vector<int> numbers;
    const int keyOffset = GetKeyFretOffset(key);
    const int cell = Modulo12(fretNum - 1);
    for (const Pattern& pattern : patterns) {
        if (pattern.scale != scale)
            continue;
        for (const FretNoteLoc& location : pattern.locations) {
            if (location.stringNum != stringNum || Modulo12(location.fretOffset + keyOffset - 1) != cell)
                continue;
            if (location.isAdditional && pentatonicOnly)
                continue;
            numbers.push_back(pattern.number);
        }
    }
    return numbers;
}
