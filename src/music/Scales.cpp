#include "music/Scales.h"

#include "core/NoteNames.h"
#include "music/Notes.h"

#include <QCoreApplication>

#include <array>

namespace {

constexpr std::array<const char*, kKeyCount> kKeyNames = {
    QT_TRANSLATE_NOOP("KeyNames", "A"),      QT_TRANSLATE_NOOP("KeyNames", "B flat"),
    QT_TRANSLATE_NOOP("KeyNames", "B"),      QT_TRANSLATE_NOOP("KeyNames", "C"),
    QT_TRANSLATE_NOOP("KeyNames", "D flat"), QT_TRANSLATE_NOOP("KeyNames", "D"),
    QT_TRANSLATE_NOOP("KeyNames", "E flat"), QT_TRANSLATE_NOOP("KeyNames", "E"),
    QT_TRANSLATE_NOOP("KeyNames", "F"),      QT_TRANSLATE_NOOP("KeyNames", "G flat"),
    QT_TRANSLATE_NOOP("KeyNames", "G"),      QT_TRANSLATE_NOOP("KeyNames", "A flat")};

constexpr std::array<const char*, kScaleCount> kScaleNames = {
    QT_TRANSLATE_NOOP("KeyNames", "Major"), QT_TRANSLATE_NOOP("KeyNames", "Minor")};

constexpr std::array<int, 7> kMajorSteps = {2, 2, 1, 2, 2, 2, 1};
constexpr std::array<int, 7> kMinorSteps = {2, 1, 2, 2, 1, 2, 2};

QString FlatOf(QChar letter)
{
    switch (letter.toLatin1()) {
    case 'A': return QStringLiteral("Bb");
    case 'C': return QStringLiteral("Db");
    case 'D': return QStringLiteral("Eb");
    case 'F': return QStringLiteral("Gb");
    case 'G': return QStringLiteral("Ab");
    default: return QString();
    }
}

QString SharpOf(QChar letter)
{
    switch (letter.toLatin1()) {
    case 'B': return QStringLiteral("A#");
    case 'D': return QStringLiteral("C#");
    case 'E': return QStringLiteral("D#");
    case 'G': return QStringLiteral("F#");
    case 'A': return QStringLiteral("G#");
    default: return QString();
    }
}

// The scale names a level of this letter holds, in the order flat, natural, sharp.
QStringList NamesOnLetter(const QStringList& scaleNames, const QString& letter)
{
    QStringList names;
    const auto firstMatching = [&](auto&& matches) {
        for (const QString& name : scaleNames)
            if (matches(name))
                return name;
        return QString();
    };
    const QString flat = firstMatching([&](const QString& n) { return n.contains(letter + QLatin1Char('b')); });
    const QString natural = firstMatching([&](const QString& n) { return n == letter; });
    const QString sharp = firstMatching([&](const QString& n) { return n.contains(letter + QLatin1Char('#')); });
    for (const QString& name : {flat, natural, sharp})
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    return names;
}

} // namespace

QString KeyName(int key)
{
    return key >= 1 && key <= kKeyCount ? QString::fromLatin1(kKeyNames[static_cast<size_t>(key - 1)]) : QString();
}

QString ScaleName(int scale)
{
    return scale >= 1 && scale <= kScaleCount ? QString::fromLatin1(kScaleNames[static_cast<size_t>(scale - 1)])
                                              : QString();
}

QString NormalizeKeyName(QString key, bool flats)
{
    if (key.contains(QLatin1String("flat")))
        key = key.left(1) + QLatin1Char('b');
    if (key.isEmpty())
        return key;
    // Case matters: the natural key "B" is no flat.
    const QString respelled = flats ? (key.contains(QLatin1Char('#')) ? FlatOf(key.at(0)) : QString())
                                    : (key.contains(QLatin1Char('b')) ? SharpOf(key.at(0)) : QString());
    return respelled.isEmpty() ? key : respelled;
}

QStringList ScaleNoteNames(int key, int scale, bool flats)
{
    if (key < 1 || key > kKeyCount || (scale != ScaleMajor && scale != ScaleMinor))
        return {};
    const auto& steps = scale == ScaleMinor ? kMinorSteps : kMajorSteps;
    QStringList names;
    int position = key; // the root in the table's first octave
    for (int step : steps) {
        names.append(WithoutOctave(NoteNameAt(position, flats)));
        position += step;
    }
    return names;
}

std::vector<std::vector<Note>> NotesOnStaffLevels(const Notes& table, const QStringList& scaleNames)
{
    const Instrument& instrument = table.GetInstrument();
    std::vector<std::vector<Note>> levels;
    for (int level = 1; level <= instrument.StaffLevelCount(); ++level) {
        std::vector<Note> found;
        const int step = instrument.LevelStep(level);
        for (const QString& name : NamesOnLetter(scaleNames, QString(instrument.StaffLetter(level)))) {
            // "A" matches "A-1", not "A#-1" nor "Ab-1"; of its octaves, the one written here.
            const bool flat = name.contains(QLatin1Char('b'));
            for (const Note& note : table.All()) {
                if (note.name.size() == name.size() + 2 && note.name.startsWith(name)
                    && Instrument::WrittenStep(note.position, flat) == step) {
                    found.push_back(note);
                    break;
                }
            }
        }
        levels.push_back(std::move(found));
    }
    return levels;
}
