// Keys and scales of the note table: the key and scale lists and the forwarders to
// the scale enumerator.
#include "music/Notes.h"

#include <QCoreApplication>

#include <array>

Collection<QString> KeyNames;
Collection<QString> ScaleNames;

namespace {

constexpr std::array<const char*, 12> kKeyNames = {
    QT_TRANSLATE_NOOP("KeyNames", "A"),      QT_TRANSLATE_NOOP("KeyNames", "B flat"),
    QT_TRANSLATE_NOOP("KeyNames", "B"),      QT_TRANSLATE_NOOP("KeyNames", "C"),
    QT_TRANSLATE_NOOP("KeyNames", "D flat"), QT_TRANSLATE_NOOP("KeyNames", "D"),
    QT_TRANSLATE_NOOP("KeyNames", "E flat"), QT_TRANSLATE_NOOP("KeyNames", "E"),
    QT_TRANSLATE_NOOP("KeyNames", "F"),      QT_TRANSLATE_NOOP("KeyNames", "G flat"),
    QT_TRANSLATE_NOOP("KeyNames", "G"),      QT_TRANSLATE_NOOP("KeyNames", "A flat")};

constexpr std::array<const char*, 2> kScaleNames = {
    QT_TRANSLATE_NOOP("KeyNames", "Major"), QT_TRANSLATE_NOOP("KeyNames", "Minor")};

template <size_t N>
void Refill(Collection<QString>& list, const std::array<const char*, N>& names)
{
    list.Clear();
    int identifier = 1;
    for (const char* name : names)
        list.Add(QString::fromLatin1(name), QString::number(identifier++));
}

} // namespace

void notes::LoadKeys()
{
    Refill(KeyNames, kKeyNames);
}

void notes::LoadScales()
{
    Refill(ScaleNames, kScaleNames);
}

const Collection<QString>& notes::CalcNewScaleValues(qint16& intScale, QString& strKey)
{
    objEnumScale.SetupScaleEnumerator(intScale, strKey);
    return objEnumScale.GetScaleNotesNameCollection();
}

Collection<NotePtr> notes::GetNoteObjsFromSheetNote(const SheetNoteLevelData& objSheetNoteLevel)
{
    return objEnumScale.GetNoteObjsFromSheetNote(objSheetNoteLevel, collNotes);
}
