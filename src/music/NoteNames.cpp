#include "music/NoteNames.h"

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
    const QString dual = QString::fromLatin1(kDualNames[static_cast<size_t>((position - 1) % 12)])
        + QLatin1Char('-') + QString::number((position - 1) / 12);
    return SplitDualName(dual, flats);
}

int NotePosition(const QString& name)
{
    for (int position = 1; position <= kNoteTableSize; ++position)
        if (NoteNameAt(position, false) == name || NoteNameAt(position, true) == name)
            return position;
    return 0;
}

QString WithoutOctave(const QString& name)
{
    return name.left(name.size() - 2);
}
