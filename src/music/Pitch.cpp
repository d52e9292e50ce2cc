#include "music/Pitch.h"

namespace {

// Semitones of each natural above the A that begins its octave.
int SemitonesAboveA(QChar letter)
{
    switch (letter.unicode()) {
    case u'A': return 0;
    case u'B': return 2;
    case u'C': return 3;
    case u'D': return 5;
    case u'E': return 7;
    case u'F': return 8;
    case u'G': return 10;
    default: return -1;
    }
}

constexpr int MidiKeyOfLowestA = 21; // A0, the piano's lowest key

} // namespace

int MidiKeyFromNoteName(QStringView name, int octaveOffset)
{
    if (name.isEmpty())
        return -1;
    int semitone = SemitonesAboveA(name.front());
    if (semitone < 0)
        return -1;
    qsizetype at = 1;
    if (at < name.size() && name[at] == u'#') {
        ++semitone;
        ++at;
    } else if (at < name.size() && name[at] == u'b') {
        --semitone;
        ++at;
    }
    if (at >= name.size() || name[at] != u'-')
        return -1;
    const QStringView digits = name.mid(at + 1);
    if (digits.isEmpty() || digits.size() > 2)
        return -1;
    int octave = 0;
    for (const QChar digit : digits) {
        if (digit < u'0' || digit > u'9')
            return -1;
        octave = octave * 10 + (digit.unicode() - u'0');
    }
    // "Ab" belongs to the top of its octave, like the "G#" it shares a key with.
    semitone = (semitone + 12) % 12;
    const int key = MidiKeyOfLowestA + 12 * (octave + octaveOffset) + semitone;
    return key >= 0 && key <= 127 ? key : -1;
}
