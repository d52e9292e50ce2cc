#include "music/Patterns.h"

#include "music/Tunings.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <map>

namespace {

// Each box holds every scale note in a window of frets around the key's anchor, on every
// string; the five windows overlap and together span the neck's twelve frets. A minor
// box is its relative major's: three frets up.
struct Window {
    int first;
    int last;
};
constexpr std::array<Window, 5> kMajorWindows = {{{-4, 0}, {-1, 2}, {1, 5}, {4, 7}, {6, 10}}};
constexpr int kMinorShift = 3;
constexpr Window kWholeNeck = {0, 11};

constexpr std::array<int, 7> kMajorDegrees = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinorDegrees = {0, 2, 3, 5, 7, 8, 10};

constexpr std::array<const char*, 6> kPatternNames = {
    QT_TRANSLATE_NOOP("Patterns", "Pattern 1"), QT_TRANSLATE_NOOP("Patterns", "Pattern 2"),
    QT_TRANSLATE_NOOP("Patterns", "Pattern 3"), QT_TRANSLATE_NOOP("Patterns", "Pattern 4"),
    QT_TRANSLATE_NOOP("Patterns", "Pattern 5"), QT_TRANSLATE_NOOP("Patterns", "All Patterns")};

int Modulo12(int value)
{
    return ((value % 12) + 12) % 12;
}

bool InScale(int scale, int interval)
{
    const auto& degrees = scale == 2 ? kMinorDegrees : kMajorDegrees;
    return std::find(degrees.begin(), degrees.end(), interval) != degrees.end();
}

// Degrees outside the pentatonic subset: 4 and 7 of the major scale, 2 and 6 of the
// minor scale, as intervals above the root.
bool IsOutsidePentatonic(int scale, int interval)
{
    return scale == 2 ? interval == 2 || interval == 8 : interval == 5 || interval == 11;
}

// Where the boxes sit for a tuning: a tuning whose strings mostly stand lower than
// standard plays the same shapes that many frets higher.
int BoxShift(const Instrument& instrument)
{
    return -TuningShiftFromStandard(instrument);
}

Window PatternWindow(const Instrument& instrument, int scale, int patternNum, bool wholeNeck)
{
    if (wholeNeck)
        return kWholeNeck;
    const Window window = patternNum == kAllPatterns
        ? Window{kMajorWindows.front().first, kMajorWindows.back().last}
        : kMajorWindows[static_cast<size_t>(patternNum - 1)];
    const int shift = (scale == 2 ? kMinorShift : 0) + BoxShift(instrument);
    return {window.first + shift, window.last + shift};
}

FretNoteLocs BuildLocations(const Instrument& instrument, int scale, int patternNum, bool wholeNeck)
{
    FretNoteLocs locations;
    const Window window = PatternWindow(instrument, scale, patternNum, wholeNeck);
    for (int s = 1; s <= instrument.StringCount(); ++s) {
        const int stringInterval = SemitonesAboveE(instrument.OpenStringPosition(s));
        for (int offset = window.first; offset <= window.last; ++offset) {
            const int interval = Modulo12(offset + stringInterval);
            if (InScale(scale, interval))
                locations.Add({s, offset, interval == 0, IsOutsidePentatonic(scale, interval)});
        }
    }
    return locations;
}

Patterns BuildPatterns(const Instrument& instrument)
{
    const bool wholeNeck = !BoxesHoldEveryDegree(instrument);
    Patterns patterns;
    int key = 1;
    for (int scale = 1; scale <= 2; ++scale) {
        for (int number = 1; number <= kAllPatterns; ++number) {
            const QString patternKey = QString::number(key++);
            patterns.Add({patternKey, number, scale,
                          QString::fromLatin1(kPatternNames[static_cast<size_t>(number - 1)]),
                          BuildLocations(instrument, scale, number, wholeNeck)},
                         patternKey);
        }
    }
    return patterns;
}

} // namespace

bool BoxesHoldEveryDegree(const Instrument& instrument)
{
    for (int number = 1; number < kAllPatterns; ++number) {
        std::array<bool, 12> held{};
        for (const FretNoteLoc& location : BuildLocations(instrument, 1, number, false))
            held[static_cast<size_t>(Modulo12(location.fretOffset
                                              + SemitonesAboveE(instrument.OpenStringPosition(location.stringNum))))] = true;
        for (int degree : kMajorDegrees)
            if (!held[static_cast<size_t>(degree)])
                return false;
    }
    return true;
}

const Patterns& ScalePatterns(const Instrument& instrument)
{
    // A few instruments in a run; each table is built once.
    static std::map<std::vector<int>, Patterns> tables;
    auto found = tables.find(instrument.OpenStrings());
    if (found == tables.end())
        found = tables.emplace(instrument.OpenStrings(), BuildPatterns(instrument)).first;
    return found->second;
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
