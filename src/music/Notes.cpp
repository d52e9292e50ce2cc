#include "music/Notes.h"

#include "core/Settings.h"
#include "music/Pitch.h"

#include <array>

Collection<QString> NoteNames;
Collection<QString> OpenStringNames;
Collection<QString> BaseNoteNames;
Collection<double> FretWidths;

namespace {

constexpr std::array<const char*, 12> kDualNames = {
    "A", "A#Bb", "B", "C", "C#Db", "D", "D#Eb", "E", "F", "F#Gb", "G", "G#Ab"};

constexpr std::array<double, 14> kFretWidths = {
    3, 10.6, 10, 8.4, 9, 8.8, 8.4, 6.8, 7.2, 6, 6.4, 5.6, 5.6, 4.4};

struct Instrument {
    int strings;
    std::vector<const char*> openStrings;
    int staffLevels;
    int octaveOffset; // how its names sound (see MidiKeyFromNoteName)
    std::vector<ExtraLineRow> ledgerLines;
};

const Instrument& CurrentInstrument()
{
    static const Instrument guitar{6, {"E-0", "A-1", "D-1", "G-1", "B-2", "E-2"}, 23, GuitarOctaveOffset,
        {{1, 3}, {2, 3}, {3, 2}, {4, 2}, {5, 1}, {6, 1},
         {18, -1}, {19, -1}, {20, -2}, {21, -2}, {22, -3}, {23, -3}}};
    static const Instrument fourStringBass{4, {"E-0", "A-1", "D-1", "G-1"}, 17, BassOctaveOffset,
        {{1, 1}, {13, -1}, {14, -1}, {15, -2}, {16, -2}, {17, -3}}};
    static const Instrument fiveStringBass{5, {"B-0", "E-0", "A-1", "D-1", "G-1"}, 20, BassOctaveOffset,
        {{1, 2}, {2, 2}, {3, 1}, {4, 1}, {16, -1}, {17, -1}, {18, -2}, {19, -2}, {20, -3}}};
    switch (GuitarType) {
    case 1:
        return fourStringBass;
    case 2:
        return fiveStringBass;
    default:
        return guitar;
    }
}

} // namespace

notes& GetNotes()
{
    static notes instance;
    return instance;
}

int notes::GetTaperMin() const
{
    return FretboardStyle == 0 ? 50 : 60;
}

int notes::GetTaperMax() const
{
    return FretboardStyle == 0 ? 55 : 60;
}

int notes::GetStringAmount() const
{
    return CurrentInstrument().strings;
}

int notes::GetSheetNoteLevelAmount() const
{
    return CurrentInstrument().staffLevels;
}

int notes::GetOctaveOffset() const
{
    return CurrentInstrument().octaveOffset;
}

std::vector<ExtraLineRow> notes::GetExtraLineRows() const
{
    return CurrentInstrument().ledgerLines;
}

void notes::Initialize()
{
    LoadBaseNoteNames();
    LoadNoteNames(FlatSymbolPref);
    LoadOpenStringNames();
    LoadFretWidths();
    LoadPatterns();
    LoadKeys();
    LoadScales();
}

void notes::SetScale(qint16& intScale, QString& strKey)
{
    collNotes.Clear();
    LoadNoteNames(FlatSymbolPref);
    for (const QString& name : NoteNames) {
        auto note = std::make_shared<Note>();
        note->strNoteName = name;
        note->intNoteMidiIndex = static_cast<qint16>(GetMidiIndexFromName(name));
        collNotes.Add(std::move(note), name);
    }
    CalcNewScaleValues(intScale, strKey);
}

NotePtr notes::GetNoteObject(const QString& name) const
{
    return collNotes.Item(name);
}

NotePtr notes::GetNoteObject(int position) const
{
    return collNotes.Item(position);
}

NotePtr notes::GetNoteObjFromFretBoard(int intStringNum, int intFretNum) const
{
    if (intStringNum < 1 || intStringNum > OpenStringNames.Count())
        return nullptr;
    const int position = GetNameIndex(OpenStringNames.Item(intStringNum)) + intFretNum - 1;
    if (position < 1 || position > NoteNames.Count())
        return nullptr;
    return FindNoteObject(NoteNames.Item(position));
}

NotePtr notes::FindNoteObject(const QString& name) const
{
    const NotePtr* note = collNotes.Find(name);
    return note ? *note : nullptr;
}

int notes::GetNameIndex(const QString& name)
{
    int position = 1;
    for (const QString& entry : NoteNames) {
        if (entry == name)
            return position;
        ++position;
    }
    return 0;
}

int notes::GetMidiIndexFromName(const QString& name) const
{
    return MidiKeyFromNoteName(name, GetOctaveOffset());
}

QString notes::SplitDualName(const QString& dualName, bool flatPreferred)
{
    if (!dualName.contains(QLatin1Char('#')))
        return dualName;
    return flatPreferred ? dualName.mid(2) : dualName.left(2) + dualName.mid(4);
}

void notes::LoadNoteNames(bool flatPreferred)
{
    NoteNames.Clear();
    for (int position = 1; position <= 60; ++position) {
        const QString dualName = QString::fromLatin1(kDualNames[(position - 1) % 12])
            + QLatin1Char('-') + QString::number((position - 1) / 12);
        NoteNames.Add(SplitDualName(dualName, flatPreferred));
    }
}

void notes::LoadOpenStringNames()
{
    OpenStringNames.Clear();
    for (const char* name : CurrentInstrument().openStrings)
        OpenStringNames.Add(QString::fromLatin1(name));
}

void notes::LoadFretWidths()
{
    FretWidths.Clear();
    for (double width : kFretWidths)
        FretWidths.Add(width);
}

void notes::LoadBaseNoteNames()
{
    BaseNoteNames.Clear();
    if (GuitarType == 2)
        for (const char* letter : {"B", "C", "D"})
            BaseNoteNames.Add(QString::fromLatin1(letter));
    for (const char* letter : {"E", "F", "G", "A"})
        BaseNoteNames.Add(QString::fromLatin1(letter));
    for (int round = 0; round < 3; ++round)
        for (const char* letter : {"B", "C", "D", "E", "F", "G", "A"})
            BaseNoteNames.Add(QString::fromLatin1(letter));
}
