#include "music/EnumScale.h"

#include "core/Settings.h"
#include "music/Notes.h"

#include <array>

namespace {

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

// The note name without its "-" and octave digit.
QString WithoutOctave(const QString& noteName)
{
    return noteName.left(noteName.size() - 2);
}

} // namespace

QString EnumScale::NormalizeKeyName(QString& key, bool flatPreferred)
{
    if (key.contains(QLatin1String("flat")))
        key = key.left(1) + QLatin1Char('b');
    if (key.isEmpty())
        return key;
    // Case matters: the natural key "B" is no flat.
    const QString respelled = flatPreferred
        ? (key.contains(QLatin1Char('#')) ? FlatOf(key.at(0)) : QString())
        : (key.contains(QLatin1Char('b')) ? SharpOf(key.at(0)) : QString());
    if (!respelled.isEmpty())
        key = respelled;
    return key;
}

int EnumScale::GetRootIndex(const QString& key)
{
    int position = 1;
    for (const QString& name : NoteNames) {
        const bool natural = name.size() > 1 && name.at(1) == QLatin1Char('-');
        if (key.size() == 1 ? natural && name.contains(key) : name.contains(key))
            return position;
        ++position;
    }
    return NoteNames.Count() + 1;
}

int EnumScale::GetNextStep(qint16 intScale)
{
    const auto& steps = intScale == 2 ? kMinorSteps : kMajorSteps;
    const int step = steps[static_cast<size_t>(intStepPos - 1)];
    intStepPos = intStepPos == 7 ? 1 : static_cast<qint16>(intStepPos + 1);
    return step;
}

void EnumScale::SetupScaleEnumerator(qint16& intScale, QString& strKey)
{
    collScaleNoteNames.Clear();
    NormalizeKeyName(strKey, FlatSymbolPref);
    if (strKey.isEmpty() || (intScale != 1 && intScale != 2))
        return;
    int position = GetRootIndex(strKey);
    intStepPos = 1;
    for (int degree = 1; degree <= 7; ++degree) {
        if (position > NoteNames.Count()) {
            collScaleNoteNames.Clear(); // no such root: no scale rather than a wrong one
            return;
        }
        collScaleNoteNames.Add(WithoutOctave(NoteNames.Item(position)));
        position += GetNextStep(intScale);
    }
}

bool EnumScale::IsFresh(const QString& candidate) const
{
    return !candidate.isEmpty() && !collReturnedNames.Contains(candidate);
}

QString EnumScale::FlatCandidate() const
{
    const QString flat = strCurrBaseNoteName + QLatin1Char('b');
    for (const QString& name : collScaleNoteNames)
        if (name.contains(flat))
            return name;
    return QString();
}

QString EnumScale::NaturalCandidate() const
{
    for (const QString& name : collScaleNoteNames)
        if (name == strCurrBaseNoteName)
            return name;
    return QString();
}

QString EnumScale::SharpCandidate() const
{
    const QString sharp = strCurrBaseNoteName + QLatin1Char('#');
    for (const QString& name : collScaleNoteNames)
        if (name.contains(sharp))
            return name;
    return QString();
}

QString EnumScale::GetNextNoteName(const QString& letter)
{
    if (!letter.isEmpty()) {
        collReturnedNames.Clear();
        strCurrBaseNoteName = letter;
    }
    QString answer;
    for (const QString& candidate : {FlatCandidate(), NaturalCandidate(), SharpCandidate()}) {
        if (IsFresh(candidate)) {
            answer = candidate;
            break;
        }
    }
    if (!answer.isEmpty())
        collReturnedNames.Add(answer, answer);
    return answer;
}

NotePtr EnumScale::GetNextNoteObj(const QString& name, const Collection<NotePtr>& noteObjects)
{
    if (name.isEmpty()) {
        intNotePos = 0;
        return nullptr;
    }
    for (int position = intNotePos + 1; position <= noteObjects.Count(); ++position) {
        const NotePtr& note = noteObjects.Item(position);
        // "A" matches "A-1", not "A#-1" nor "Ab-1".
        if (note->strNoteName.size() == name.size() + 2 && note->strNoteName.contains(name)) {
            intNotePos = static_cast<qint16>(position);
            return note;
        }
    }
    return nullptr;
}

Collection<NotePtr> EnumScale::GetNoteObjsFromSheetNote(const SheetNoteLevelData& objSheetNoteLevel,
                                                        const Collection<NotePtr>& noteObjects)
{
    Collection<NotePtr> result;
    if (objSheetNoteLevel.intSheetNoteLevel == 1)
        GetNextNoteObj(QString(), noteObjects);
    if (objSheetNoteLevel.strBaseNoteName.isEmpty())
        return result;
    for (QString name = GetNextNoteName(objSheetNoteLevel.strBaseNoteName); !name.isEmpty();
         name = GetNextNoteName(QString())) {
        // Past the top of the table there is nothing to add: no empty entries.
        if (NotePtr note = GetNextNoteObj(name, noteObjects))
            result.Add(std::move(note));
    }
    return result;
}
