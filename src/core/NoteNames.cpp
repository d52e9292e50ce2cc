#include "core/NoteNames.h"

#include <array>

namespace {

constexpr std::array<const char*, 12> kDualNames = {
    "A", "A#Bb", "B", "C", "C#Db", "D", "D#Eb", "E", "F", "F#Gb", "G", "G#Ab"};

} // namespace

QString SplitDualName(const QString& dualName, bool flats)
{
    if (!dualName.contains(QLatin1Char('#')))
        return dualName;
    return flats ? dualName.mid(2) : dualName.left(2) + dualName.mid(4);
}

QString NoteNameAt(int position, bool flats)
{
    if (position < 1 || position > kNoteTableSize)
        return QString();
    return NoteNameOfIndex(position - 1, flats);
}

int NotePosition(const QString& name)
{
    // Only the table's own spellings: "Cb-1" or "E#-0" name no table note.
    const int position = NoteIndex(name) + 1;
    const bool tableName = NoteNameAt(position, false) == name || NoteNameAt(position, true) == name;
    return tableName ? position : 0;
}

QString WithoutOctave(const QString& name)
{
    return name.left(name.size() - 2);
}

int NoteIndex(const QString& noteName)
{
    // Semitones above A of the letters A to G.
    constexpr std::array<int, 7> kLetterSemitones = {0, 2, 3, 5, 7, 8, 10};
    const int dash = noteName.indexOf(QLatin1Char('-'));
    if (dash < 1 || dash > 2 || noteName.size() == dash + 1)
        return -1;
    const char letter = noteName.at(0).toLatin1();
    if (letter < 'A' || letter > 'G')
        return -1;
    int accidental = 0;
    if (dash == 2) {
        const QChar sign = noteName.at(1);
        if (sign == QLatin1Char('#'))
            accidental = 1;
        else if (sign == QLatin1Char('b'))
            accidental = -1;
        else
            return -1;
    }
    bool isNumber = false;
    const int octave = QStringView(noteName).mid(dash + 1).toInt(&isNumber);
    if (!isNumber || octave < 0 || octave > 9)
        return -1;
    const int semitones = kLetterSemitones[std::size_t(letter - 'A')] + accidental;
    // A flat lies below the A that starts the next octave: "Ab-0" is "G#-0".
    return 12 * octave + (semitones < 0 ? semitones + 12 : semitones);
}

QString NoteNameOfIndex(int noteIndex, bool flats)
{
    if (noteIndex < 0)
        return QString();
    return SplitDualName(QLatin1String(kDualNames[std::size_t(noteIndex % 12)]) + QLatin1Char('-')
                             + QString::number(noteIndex / 12),
                         flats);
}
