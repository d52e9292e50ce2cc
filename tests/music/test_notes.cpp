// The note table, the three instruments and what follows from them, checked against
// the worked examples of the design: names, fret positions, staff, ledger lines, pitch.
#include "music/Instrument.h"
#include "music/NoteNames.h"
#include "music/Notes.h"

#include <gtest/gtest.h>

#include <numeric>

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

TEST(NoteNames, OneSpellingOfEachOfSixtyNotesOctavesTurningAtA)
{
    EXPECT_EQ(NoteNameAt(2, false), QStringLiteral("A#-0"));
    EXPECT_EQ(NoteNameAt(2, true), QStringLiteral("Bb-0"));
    EXPECT_EQ(NoteNameAt(60, false), QStringLiteral("G#-4"));
    EXPECT_EQ(NoteNameAt(60, true), QStringLiteral("Ab-4"));
    EXPECT_EQ(NoteNameAt(12, false), QStringLiteral("G#-0"));
    EXPECT_EQ(NoteNameAt(13, false), QStringLiteral("A-1")) << "the digit rises at A";
    EXPECT_EQ(NoteNameAt(16, false), QStringLiteral("C-1"));
    EXPECT_EQ(NoteNameAt(0, false), QString());
    EXPECT_EQ(NoteNameAt(61, true), QString());
    for (int position = 1; position <= kNoteTableSize; ++position) {
        const QString sharp = NoteNameAt(position, false);
        const QString flat = NoteNameAt(position, true);
        EXPECT_EQ(sharp.contains(QLatin1Char('#')), flat.contains(QLatin1Char('b'))) << position;
        if (!sharp.contains(QLatin1Char('#')))
            EXPECT_EQ(sharp, flat) << "naturals are spelled alike";
        for (const char* never : {"Cb", "Fb", "E#", "B#"})
            EXPECT_FALSE(sharp.startsWith(QLatin1String(never)) || flat.startsWith(QLatin1String(never)));
        EXPECT_EQ(NotePosition(sharp), position);
        EXPECT_EQ(NotePosition(flat), position);
    }
    EXPECT_EQ(NotePosition(QStringLiteral("E-0")), 8);
    EXPECT_EQ(NotePosition(QStringLiteral("H-2")), 0);
    EXPECT_EQ(SplitDualName(QStringLiteral("A#Bb-0"), false), QStringLiteral("A#-0"));
    EXPECT_EQ(SplitDualName(QStringLiteral("A#Bb-0"), true), QStringLiteral("Bb-0"));
    EXPECT_EQ(WithoutOctave(QStringLiteral("C#-2")), QStringLiteral("C#"));
}

TEST(Instruments, FretboardPositionsOfTheThreeInstruments)
{
    const Notes guitar = Table(InstrumentType::Guitar);
    EXPECT_EQ(guitar.GetInstrument().StringCount(), 6);
    EXPECT_EQ(At(guitar, 1, 1), QStringLiteral("E-0"));
    EXPECT_EQ(At(guitar, 1, 6), QStringLiteral("A-1"));
    EXPECT_EQ(At(guitar, 5, 1), QStringLiteral("B-2"));
    EXPECT_EQ(At(guitar, 6, 14), QStringLiteral("F-3"));
    EXPECT_EQ(At(guitar, 7, 1), QStringLiteral("<none>"));
    EXPECT_EQ(At(guitar, 1, 15), QStringLiteral("<none>"));

    const Notes bass = Table(InstrumentType::FourStringBass, true);
    EXPECT_EQ(bass.GetInstrument().StringCount(), 4);
    EXPECT_EQ(At(bass, 4, 14), QStringLiteral("Ab-2"));

    const Notes five = Table(InstrumentType::FiveStringBass);
    EXPECT_EQ(five.GetInstrument().StringCount(), 5);
    EXPECT_EQ(At(five, 1, 1), QStringLiteral("B-0"));
    EXPECT_EQ(At(five, 2, 1), QStringLiteral("E-0")) << "string numbers are not shared between the basses";
    EXPECT_EQ(At(five, 5, 14), QStringLiteral("G#-2"));

    EXPECT_EQ(Instrument::FromGuitarType(7).Type(), InstrumentType::Guitar) << "an unknown instrument is the guitar";
}

TEST(Instruments, NotesSoundAtConcertPitchByOneRule)
{
    const Notes guitar = Table(InstrumentType::Guitar);
    const std::pair<const char*, int> guitarPitches[] = {{"E-0", 40}, {"A-1", 45}, {"D-1", 50}, {"G-1", 55},
                                                         {"B-2", 59}, {"E-2", 64}, {"F-3", 77}};
    for (const auto& [name, midi] : guitarPitches)
        EXPECT_EQ(guitar.GetNoteObject(QString::fromLatin1(name))->midi, midi) << name;
    EXPECT_EQ(MidiAt(guitar, 1, 1), 40);
    EXPECT_EQ(MidiAt(guitar, 6, 14), 77);

    for (InstrumentType bassType : {InstrumentType::FourStringBass, InstrumentType::FiveStringBass}) {
        const Notes bass = Table(bassType);
        const std::pair<const char*, int> bassPitches[] = {{"E-0", 28}, {"A-1", 33}, {"G-1", 43}, {"G#-2", 56}};
        for (const auto& [name, midi] : bassPitches)
            EXPECT_EQ(bass.GetNoteObject(QString::fromLatin1(name))->midi, midi) << name;
    }
    EXPECT_EQ(MidiAt(Table(InstrumentType::FiveStringBass), 1, 1), 23);
    // Each semitone up the table is one MIDI number up, whatever the spelling.
    const Notes flats = Table(InstrumentType::Guitar, true);
    for (int position = 2; position <= kNoteTableSize; ++position)
        EXPECT_EQ(flats.GetNoteObject(position)->midi - flats.GetNoteObject(position - 1)->midi, 1);
}

TEST(Instruments, StaffLevelsLettersAndLedgerLines)
{
    const Instrument guitar = Instrument::FromGuitarType(0);
    EXPECT_EQ(Letters(guitar), QStringLiteral("EFGABCDEFGABCDEFGABCDEF"));
    EXPECT_EQ(guitar.BottomLineLevel(), 8);
    EXPECT_EQ(guitar.LedgerRows(), (std::vector<LedgerRow>{{1, 3}, {2, 3}, {3, 2}, {4, 2}, {5, 1}, {6, 1},
                                                          {18, -1}, {19, -1}, {20, -2}, {21, -2}, {22, -3}, {23, -3}}));
    EXPECT_FALSE(guitar.NeedsLedgerLines(7)) << "the space just below the staff";
    EXPECT_FALSE(guitar.NeedsLedgerLines(17));
    EXPECT_FALSE(guitar.UsesBassClef());

    // The basses reach "G#-2", which spelled with flats is "Ab-2": one "A" level on top.
    const Instrument bass = Instrument::FromGuitarType(1);
    EXPECT_EQ(Letters(bass), QStringLiteral("EFGABCDEFGABCDEFGA"));
    EXPECT_EQ(bass.BottomLineLevel(), 3);
    EXPECT_EQ(bass.LedgerRows(), (std::vector<LedgerRow>{{1, 1}, {13, -1}, {14, -1}, {15, -2}, {16, -2}, {17, -3}, {18, -3}}));
    EXPECT_TRUE(bass.UsesBassClef());

    const Instrument five = Instrument::FromGuitarType(2);
    EXPECT_EQ(Letters(five), QStringLiteral("BCDEFGABCDEFGABCDEFGA"));
    EXPECT_EQ(five.BottomLineLevel(), 6);
    EXPECT_EQ(five.LedgerRows(), (std::vector<LedgerRow>{{1, 2}, {2, 2}, {3, 1}, {4, 1}, {16, -1}, {17, -1},
                                                        {18, -2}, {19, -2}, {20, -3}, {21, -3}}));
}

TEST(Instruments, FretWidthsAndTaper)
{
    const auto& widths = FretWidths();
    EXPECT_NEAR(std::accumulate(widths.begin(), widths.end(), 0.0), 100.2, 1e-9);
    EXPECT_EQ(widths.front(), 3);
    EXPECT_EQ(widths.back(), 4.4);
    EXPECT_EQ(TaperMin(FretboardStyle::Realistic), 50);
    EXPECT_EQ(TaperMax(FretboardStyle::Realistic), 55);
    EXPECT_EQ(TaperMin(FretboardStyle::Simple), 60);
    EXPECT_EQ(TaperMax(FretboardStyle::Simple), 60);
}
