// The note table, the three instruments and what follows from them, checked against
// the worked examples of the design: names, fret positions, staff, ledger lines, pitch.
#include "core/NoteNames.h"
#include "music/Instrument.h"
#include "music/Notes.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QString At(const Notes& table, int stringNum, int fretNum)
{
    const std::optional<Note> note = table.GetNoteObjFromFretBoard(stringNum, fretNum);
    return note ? note->name : QStringLiteral("<none>");
}

int MidiAt(const Notes& table, int stringNum, int fretNum)
{
    const std::optional<Note> note = table.GetNoteObjFromFretBoard(stringNum, fretNum);
    return note ? note->midi : -1;
}

Notes Table(InstrumentType type, bool flats = false)
{
    return Notes(Instrument::FromGuitarType(static_cast<int>(type)), flats);
}

QString Letters(const Instrument& instrument)
{
    QString letters;
    for (int level = 1; level <= instrument.StaffLevelCount(); ++level)
        letters += instrument.StaffLetter(level);
    return letters;
}

} // namespace

// Each instrument by its open strings (lowest first) and their pitches, the name at the
// last string's last fret, and its staff: letters, bottom line, ledger lines, clef. Up a
// string every fret is one semitone and names the note of that pitch.
TEST(Instruments, StringsPitchesAndStaffOfTheThreeInstruments)
{
    struct Row {
        InstrumentType type;
        QStringList open;
        std::vector<int> openMidi;
        const char* highest;
        const char* letters;
        int bottomLine;
        std::vector<LedgerRow> ledgers;
        bool bassClef;
    };
    const Row rows[] = {
        {InstrumentType::Guitar, {"E-0", "A-1", "D-1", "G-1", "B-2", "E-2"}, {40, 45, 50, 55, 59, 64}, "F-3",
         "EFGABCDEFGABCDEFGABCDEF", 8,
         {{1, 3}, {2, 3}, {3, 2}, {4, 2}, {5, 1}, {6, 1}, {18, -1}, {19, -1}, {20, -2}, {21, -2}, {22, -3}, {23, -3}},
         false},
        // The basses reach "G#-2", which spelled with flats is "Ab-2": one "A" level on top.
        {InstrumentType::FourStringBass, {"E-0", "A-1", "D-1", "G-1"}, {28, 33, 38, 43}, "G#-2", "EFGABCDEFGABCDEFGA", 3,
         {{1, 1}, {13, -1}, {14, -1}, {15, -2}, {16, -2}, {17, -3}, {18, -3}}, true},
        {InstrumentType::FiveStringBass, {"B-0", "E-0", "A-1", "D-1", "G-1"}, {23, 28, 33, 38, 43}, "G#-2",
         "BCDEFGABCDEFGABCDEFGA", 6,
         {{1, 2}, {2, 2}, {3, 1}, {4, 1}, {16, -1}, {17, -1}, {18, -2}, {19, -2}, {20, -3}, {21, -3}}, true},
    };
    for (const Row& row : rows) {
        const Notes table = Table(row.type);
        const Instrument& instrument = table.GetInstrument();
        const int strings = instrument.StringCount();
        ASSERT_EQ(strings, row.open.size());
        for (int s = 1; s <= strings; ++s) {
            EXPECT_EQ(At(table, s, 1), row.open[s - 1]);
            for (int f = 1; f <= kFretPositions; ++f) {
                EXPECT_EQ(MidiAt(table, s, f), row.openMidi[size_t(s - 1)] + f - 1) << s << "/" << f;
                EXPECT_EQ(table.GetNoteObject(At(table, s, f))->midi, MidiAt(table, s, f)) << s << "/" << f;
            }
        }
        EXPECT_EQ(At(table, strings, kFretPositions), QLatin1String(row.highest));
        EXPECT_EQ(At(table, strings + 1, 1), QStringLiteral("<none>"));
        EXPECT_EQ(At(table, 1, kFretPositions + 1), QStringLiteral("<none>"));
        EXPECT_EQ(Letters(instrument), QLatin1String(row.letters));
        EXPECT_EQ(instrument.BottomLineLevel(), row.bottomLine);
        EXPECT_EQ(instrument.LedgerRows(), row.ledgers);
        EXPECT_EQ(instrument.UsesBassClef(), row.bassClef);
    }
    EXPECT_EQ(At(Table(InstrumentType::FourStringBass, true), 4, 14), QStringLiteral("Ab-2"));
    EXPECT_EQ(Instrument::FromGuitarType(7).Type(), InstrumentType::Guitar) << "an unknown instrument is the guitar";
    // Each semitone up the table is one MIDI number up, whatever the spelling.
    const Notes flats = Table(InstrumentType::Guitar, true);
    for (int position = 2; position <= kNoteTableSize; ++position)
        EXPECT_EQ(flats.GetNoteObject(position)->midi - flats.GetNoteObject(position - 1)->midi, 1);
}
