#include "TestSupport.h"

#include "music/Notes.h"
#include "music/NoteTimeout.h"
#include "music/Pitch.h"
#include "sound/MidiOut.h"
#include "sound/RecordingMidiOutput.h"

#include <gtest/gtest.h>

namespace {

class NotesTest : public ::testing::Test {
protected:
    void SetUp() override { LoadDefaultSettings(); }

    notes& Build(int guitarType, bool flats = true, int style = 1)
    {
        GuitarType = guitarType;
        FlatSymbolPref = flats;
        FretboardStyle = style;
        notes& table = GetNotes();
        table.Initialize();
        qint16 scale = 1;
        QString key = QStringLiteral("C");
        table.SetScale(scale, key);
        return table;
    }

    static QString At(notes& table, int string, int fret)
    {
        const NotePtr note = table.GetNoteObjFromFretBoard(string, fret);
        return note ? note->strNoteName : QStringLiteral("<none>");
    }
    static int MidiAt(notes& table, int string, int fret)
    {
        const NotePtr note = table.GetNoteObjFromFretBoard(string, fret);
        return note ? note->intNoteMidiIndex : -1;
    }
};

} // namespace

TEST_F(NotesTest, TheTableHoldsOneSpellingOfEachOfSixtyNotes)
{
    Build(0, /*flats=*/false);
    ASSERT_EQ(NoteNames.Count(), 60);
    EXPECT_EQ(NoteNames.Item(2), QStringLiteral("A#-0"));
    EXPECT_EQ(NoteNames.Item(60), QStringLiteral("G#-4"));
    EXPECT_EQ(NoteNames.Item(13), QStringLiteral("A-1"));
    EXPECT_EQ(NoteNames.Item(16), QStringLiteral("C-1"));
    EXPECT_EQ(NoteNames.Item(17), QStringLiteral("C#-1"));
    EXPECT_EQ(notes::GetNameIndex(QStringLiteral("E-0")), 8);
    EXPECT_EQ(notes::GetNameIndex(QStringLiteral("Bb-0")), 0);
    const QStringList sharps(NoteNames.begin(), NoteNames.end());

    Build(0, /*flats=*/true);
    EXPECT_EQ(NoteNames.Item(2), QStringLiteral("Bb-0"));
    EXPECT_EQ(NoteNames.Item(60), QStringLiteral("Ab-4"));
    const QStringList flats(NoteNames.begin(), NoteNames.end());

    for (int i = 0; i < 60; ++i) {
        const bool accidental = sharps[i].contains(QLatin1Char('#'));
        EXPECT_EQ(accidental, flats[i].contains(QLatin1Char('b'))) << i;
        if (!accidental) {
            EXPECT_EQ(sharps[i], flats[i]) << "naturals are spelled alike";
        }
        for (const char* never : {"Cb", "Fb", "E#", "B#"}) {
            EXPECT_FALSE(sharps[i].startsWith(QLatin1String(never)));
            EXPECT_FALSE(flats[i].startsWith(QLatin1String(never)));
        }
    }
    EXPECT_EQ(notes::SplitDualName(QStringLiteral("A#Bb-0"), false), QStringLiteral("A#-0"));
    EXPECT_EQ(notes::SplitDualName(QStringLiteral("C-3"), true), QStringLiteral("C-3"));
}

TEST_F(NotesTest, GuitarFretboardAndMidiNumbers)
{
    notes& table = Build(0);
    EXPECT_EQ(table.GetStringAmount(), 6);
    EXPECT_EQ(table.GetSheetNoteLevelAmount(), 23);
    EXPECT_EQ(At(table, 1, 1), QStringLiteral("E-0"));
    EXPECT_EQ(At(table, 1, 6), QStringLiteral("A-1"));
    EXPECT_EQ(At(table, 5, 1), QStringLiteral("B-2"));
    EXPECT_EQ(At(table, 6, 14), QStringLiteral("F-3"));
    EXPECT_EQ(table.GetNoteObject(1)->strNoteName, QStringLiteral("A-0"));
    EXPECT_THROW(table.GetNoteObject(QStringLiteral("A#-0")), CollectionError);
    EXPECT_EQ(table.GetNoteObjFromFretBoard(7, 1), nullptr);
}

TEST_F(NotesTest, FourStringBass)
{
    notes& table = Build(1, /*flats=*/false);
    EXPECT_EQ(table.GetStringAmount(), 4);
    EXPECT_EQ(table.GetSheetNoteLevelAmount(), 17);
    EXPECT_EQ(At(table, 4, 14), QStringLiteral("G#-2"));
    Build(1, /*flats=*/true);
    EXPECT_EQ(At(table, 4, 14), QStringLiteral("Ab-2"));
}

TEST_F(NotesTest, FiveStringBassSharesNoStringNumbersWithTheFour)
{
    notes& table = Build(2);
    EXPECT_EQ(table.GetStringAmount(), 5);
    EXPECT_EQ(table.GetSheetNoteLevelAmount(), 20);
    EXPECT_EQ(At(table, 1, 1), QStringLiteral("B-0"));
    EXPECT_EQ(At(table, 2, 1), QStringLiteral("E-0"));
    EXPECT_EQ(At(table, 5, 14), QStringLiteral("Ab-2"));
    ASSERT_EQ(BaseNoteNames.Count(), 28);
    EXPECT_EQ(BaseNoteNames.Item(1), QStringLiteral("B"));
    EXPECT_EQ(BaseNoteNames.Item(4), QStringLiteral("E"));
}

TEST(Pitch, ANameSoundsAtConcertPitchAnOctaveLowerOnTheBasses)
{
    const auto guitar = [](const char* name) { return MidiKeyFromNoteName(QString::fromLatin1(name), GuitarOctaveOffset); };
    const auto bass = [](const char* name) { return MidiKeyFromNoteName(QString::fromLatin1(name), BassOctaveOffset); };
    EXPECT_EQ(bass("A-0"), 21) << "the piano's lowest A";
    EXPECT_EQ(guitar("A-0"), 33);
    EXPECT_EQ(guitar("E-0"), 40);
    EXPECT_EQ(bass("E-0"), 28);
    EXPECT_EQ(bass("C-3"), 60) << "middle C";
    EXPECT_EQ(guitar("C-2"), 60);
    EXPECT_EQ(bass("A-4"), 69) << "the A of 440 Hz";

    // Octaves begin at A: C lies above B of the same digit, and G#/Ab end the octave.
    EXPECT_EQ(guitar("B-1"), 47);
    EXPECT_EQ(guitar("C-1"), 48);
    EXPECT_EQ(bass("G#-2"), 56);
    EXPECT_EQ(bass("Ab-2"), 56) << "the top of octave 2, not the key below A-2";
    EXPECT_EQ(bass("A-3"), 57);
    EXPECT_EQ(guitar("A#-1"), guitar("Bb-1"));
    EXPECT_EQ(guitar("D#-3"), guitar("Eb-3"));
    EXPECT_EQ(guitar("G#-4"), 92) << "the table's top note on the guitar";

    for (const char* notAName : {"", "A", "A-", "H-1", "a-1", "A#b-1", "A--1", "Bb1", "C-x", "C-1x", "E-100"})
        EXPECT_EQ(guitar(notAName), -1) << notAName;
    EXPECT_EQ(MidiKeyFromNoteName(u"A-0", -2), -1) << "below MIDI 0";
    EXPECT_EQ(MidiKeyFromNoteName(u"G-7", GuitarOctaveOffset), 127);
    EXPECT_EQ(MidiKeyFromNoteName(u"G#-7", GuitarOctaveOffset), -1) << "above MIDI 127";
}

// Every cell of the board sounds its concert pitch: the open strings, one semitone per
// fret up to the last, and the same rule on both basses.
TEST_F(NotesTest, EveryInstrumentSoundsItsStringsAtConcertPitch)
{
    struct Case {
        int guitarType;
        std::vector<int> openStrings; // lowest first
    };
    for (const Case& instrument : {Case{0, {40, 45, 50, 55, 59, 64}}, Case{1, {28, 33, 38, 43}},
                                   Case{2, {23, 28, 33, 38, 43}}}) {
        for (bool flats : {false, true}) {
            notes& table = Build(instrument.guitarType, flats);
            ASSERT_EQ(table.GetStringAmount(), static_cast<int>(instrument.openStrings.size()));
            for (int string = 1; string <= table.GetStringAmount(); ++string)
                for (int fret = 1; fret <= 14; ++fret)
                    EXPECT_EQ(MidiAt(table, string, fret), instrument.openStrings[string - 1] + fret - 1)
                        << "instrument " << instrument.guitarType << " string " << string << " position " << fret;
        }
    }
    notes& guitar = Build(0);
    EXPECT_EQ(guitar.GetOctaveOffset(), GuitarOctaveOffset);
    EXPECT_EQ(guitar.GetNoteObject(QStringLiteral("F-3"))->intNoteMidiIndex, 77);
    EXPECT_EQ(guitar.GetNoteObject(QStringLiteral("A-0"))->intNoteMidiIndex, 33);
    notes& bass = Build(1);
    EXPECT_EQ(bass.GetOctaveOffset(), BassOctaveOffset);
    EXPECT_EQ(bass.GetNoteObject(QStringLiteral("Ab-2"))->intNoteMidiIndex, 56);
    EXPECT_EQ(Build(2).GetNoteObject(QStringLiteral("E-0"))->intNoteMidiIndex, 28) << "as on the four-string bass";
}

TEST_F(NotesTest, StaffLettersTaperAndFretWidths)
{
    notes& table = Build(0, true, 0);
    ASSERT_EQ(BaseNoteNames.Count(), 25);
    QString letters;
    for (int level = 1; level <= table.GetSheetNoteLevelAmount(); ++level)
        letters += BaseNoteNames.Item(level);
    EXPECT_EQ(letters, QStringLiteral("EFGABCDEFGABCDEFGABCDEF"));
    EXPECT_EQ(table.GetTaperMin(), 50);
    EXPECT_EQ(table.GetTaperMax(), 55);
    FretboardStyle = 1;
    EXPECT_EQ(table.GetTaperMin(), 60);
    EXPECT_EQ(table.GetTaperMax(), 60);

    ASSERT_EQ(FretWidths.Count(), 14);
    double sum = 0;
    for (double width : FretWidths)
        sum += width;
    EXPECT_NEAR(sum, 100.2, 1e-9);
    EXPECT_EQ(FretWidths.Item(1), 3);
    EXPECT_EQ(FretWidths.Item(14), 4.4);
}

TEST_F(NotesTest, LedgerLineRowsPerInstrument)
{
    notes& table = Build(0);
    auto rows = table.GetExtraLineRows();
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows.front().intLevel, 1);
    EXPECT_EQ(rows.front().intLineCount, 3);
    EXPECT_EQ(rows.back().intLevel, 23);
    EXPECT_EQ(rows.back().intLineCount, -3);
    for (const auto& row : rows)
        EXPECT_NE(row.intLevel, 7) << "the space below the staff needs no ledger line";
    GuitarType = 1;
    EXPECT_EQ(table.GetExtraLineRows().size(), 6u);
    GuitarType = 2;
    rows = table.GetExtraLineRows();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[8].intLevel, 20);
}

TEST_F(NotesTest, AHeldNoteStaysValidAfterTheTableIsRebuilt)
{
    notes& table = Build(0, /*flats=*/true);
    const NotePtr held = table.GetNoteObject(QStringLiteral("Bb-0"));
    Build(0, /*flats=*/false);
    EXPECT_EQ(held->strNoteName, QStringLiteral("Bb-0"));
    EXPECT_EQ(held->intNoteMidiIndex, 34);
    EXPECT_EQ(table.GetNoteObject(QStringLiteral("A#-0"))->intNoteMidiIndex, 34);
}

TEST_F(NotesTest, NotesSoundThroughTheMidiOutputOnlyWhenSoundIsOn)
{
    notes& table = Build(0);
    RecordingMidiOutput::Log log;
    SetMidiOutput(std::make_unique<RecordingMidiOutput>(&log));
    Channel = 9;
    Patch = 0;
    const NotePtr note = table.GetNoteObject(QStringLiteral("A-0"));
    QString message;

    EnableSound = false;
    EXPECT_TRUE(note->PlaySound(message));
    EXPECT_TRUE(note->StopSound(message));
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(log.opens, 0);

    EnableSound = true;
    ASSERT_TRUE(note->PlaySound(message));
    ASSERT_TRUE(note->StopSound(message));
    EXPECT_EQ(log.messages, (std::vector<quint32>{0x00C9, 0x7F2199, 0x2189})); // A-0 is 33
    EXPECT_EQ(MidiOutHandle, 0u) << "closed after the note off";
    SetMidiOutput(nullptr);
}

TEST_F(NotesTest, NoteTimeoutStopsTheRememberedNoteThenItself)
{
    notes& table = Build(0);
    RecordingMidiOutput::Log log;
    SetMidiOutput(std::make_unique<RecordingMidiOutput>(&log));
    EnableSound = true;
    NoteMaxDuration = 0;

    NoteTimeout timeout;
    timeout.StartNoteTimeout(table.GetNoteObject(QStringLiteral("E-0")));
    EXPECT_EQ(NoteMaxDuration, 10);
    EXPECT_EQ(timeout.Interval(), 1000);
    EXPECT_TRUE(timeout.IsActive());

    timeout.Tick();
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0], 0x2880u); // note off E-0 (40) on channel 0
    EXPECT_TRUE(timeout.IsActive());
    timeout.Tick();
    EXPECT_FALSE(timeout.IsActive());
    EXPECT_EQ(log.messages.size(), 1u);

    SetMidiOutput(nullptr);
}

TEST_F(NotesTest, ANoteThatANewTimedNoteReplacesIsStoppedUnlessItIsTheSameKey)
{
    notes& table = Build(0);
    RecordingMidiOutput::Log log;
    SetMidiOutput(std::make_unique<RecordingMidiOutput>(&log));
    EnableSound = true;
    NoteTimeout timeout;

    // Another key: the replaced note is stopped at once, the new one at the tick.
    timeout.StartNoteTimeout(table.GetNoteObject(QStringLiteral("E-0")));
    timeout.StartNoteTimeout(table.GetNoteObject(QStringLiteral("A-0")));
    EXPECT_EQ(log.messages, (std::vector<quint32>{0x2880})) << "E-0 (40) off";
    timeout.Tick();
    EXPECT_EQ(log.messages, (std::vector<quint32>{0x2880, 0x2180})) << "then A-0 (33) off";
    timeout.Tick();
    EXPECT_FALSE(timeout.IsActive());

    // The same key struck again, even as another Note after a rebuild of the table:
    // a note-off now would cut the new note, so only the tick sends one.
    log.messages.clear();
    timeout.StartNoteTimeout(table.GetNoteObject(QStringLiteral("Bb-0")));
    Build(0, /*flats=*/false);
    timeout.StartNoteTimeout(table.GetNoteObject(QStringLiteral("A#-0")));
    EXPECT_TRUE(log.messages.empty());
    timeout.Tick();
    EXPECT_EQ(log.messages, (std::vector<quint32>{0x2280})) << "A#-0 (34) off, once";
    SetMidiOutput(nullptr);
}
