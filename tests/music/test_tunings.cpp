// Tunings: the three standard ones reproduce the documented tables, and every other
// tuning gives a board, a staff, pitches and patterns that hold together.
#include "core/Settings.h"
#include "core/NoteNames.h"
#include "music/Notes.h"
#include "music/PatternLayout.h"
#include "music/Patterns.h"
#include "music/Scales.h"
#include "music/Tunings.h"

#include "doubles/PatternHelpers.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Offsets = std::vector<int>;
// The documented pattern table, offsets from the key anchor: rows low B (five-string
// bass only), then strings E A D G B E; columns patterns 1..5.
using Table = std::array<std::array<Offsets, 5>, 7>;

const Table kMajor = {{
    {{{-3, -2, 0}, {0, 2}, {2, 4, 5}, {-8, -7, -5}, {-5, -3, -2}}},
    {{{-3, -1, 0}, {-1, 0, 2}, {2, 4, 5}, {4, 5, 7}, {7, 9}}},
    {{{-3, -1, 0}, {-1, 0, 2}, {2, 4}, {4, 6, 7}, {6, 7, 9}}},
    {{{-3, -1}, {-1, 1, 2}, {1, 2, 4}, {4, 6, 7}, {6, 7, 9}}},
    {{{-4, -3, -1}, {-1, 1, 2}, {1, 2, 4}, {4, 6}, {6, 8, 9}}},
    {{{-3, -2, 0}, {0, 2}, {2, 4, 5}, {4, 5, 7}, {7, 9, 10}}},
    {{{-3, -1, 0}, {-1, 0, 2}, {2, 4, 5}, {4, 5, 7}, {7, 9}}},
}};
const Table kMinor = {{
    {{{0, 1, 3}, {3, 5}, {5, 7, 8}, {7, 8, 10}, {10, 12, 13}}},
    {{{0, 2, 3}, {2, 3, 5}, {5, 7, 8}, {7, 8, 10}, {10, 12}}},
    {{{0, 2, 3}, {2, 3, 5}, {5, 7}, {7, 9, 10}, {9, 10, 12}}},
    {{{0, 2}, {2, 4, 5}, {4, 5, 7}, {7, 9, 10}, {9, 10, 12}}},
    {{{-1, 0, 2}, {2, 4, 5}, {4, 5, 7}, {7, 9}, {9, 11, 12}}},
    {{{0, 1, 3}, {3, 5}, {5, 7, 8}, {7, 8, 10}, {10, 12, 13}}},
    {{{0, 2, 3}, {2, 3, 5}, {5, 7, 8}, {7, 8, 10}, {10, 12}}},
}};

// A location stands for its fret and every fret twelve away, so offsets are compared
// by their place in the octave.
std::multiset<int> Places(const Offsets& offsets)
{
    std::multiset<int> places;
    for (int offset : offsets)
        places.insert(((offset % 12) + 12) % 12);
    return places;
}

std::multiset<int> PlacesOnString(const Pattern& pattern, int stringNum)
{
    Offsets offsets;
    for (const FretNoteLoc& location : pattern.locations)
        if (location.stringNum == stringNum)
            offsets.push_back(location.fretOffset);
    return Places(offsets);
}

Tuning Known(const char* id)
{
    for (const Tuning& tuning : KnownTunings())
        if (tuning.id == QLatin1String(id))
            return tuning;
    ADD_FAILURE() << "no tuning " << id;
    return {};
}

} // namespace

TEST(Tunings, TheThreeStandardTuningsAreTheThreeInstruments)
{
    const std::pair<InstrumentKind, int> standards[] = {{InstrumentKind::SixStringGuitar, 0},
                                                        {InstrumentKind::FourStringBass, 1},
                                                        {InstrumentKind::FiveStringBass, 2}};
    for (const auto& [kind, guitarType] : standards) {
        EXPECT_EQ(InstrumentOf(StandardTuning(kind)), Instrument::FromGuitarType(guitarType));
        EXPECT_EQ(GuitarTypeOf(kind), guitarType);
        QString problem;
        EXPECT_EQ(TuningFromSettings(guitarType, QString(), QString(), problem), StandardTuning(kind));
        EXPECT_TRUE(problem.isEmpty());
    }
}

// The five boxes of the standard tunings are the documented shapes, string by string,
// with the low B row first on the five-string bass.
TEST(Tunings, StandardPatternsAreTheDocumentedTable)
{
    struct Case {
        int guitarType;
        std::vector<int> rows; // table rows of strings 1..n
    };
    const Case cases[] = {{0, {1, 2, 3, 4, 5, 6}}, {1, {1, 2, 3, 4}}, {2, {0, 1, 2, 3, 4}}};
    for (const Case& c : cases) {
        const Patterns& patterns = ScalePatterns(Instrument::FromGuitarType(c.guitarType));
        for (int scale : {ScaleMajor, ScaleMinor}) {
            const Table& table = scale == ScaleMajor ? kMajor : kMinor;
            for (int number = 1; number <= 5; ++number) {
                const Pattern& pattern = patterns.Item(QString::number((scale - 1) * 6 + number));
                for (size_t s = 0; s < c.rows.size(); ++s) {
                    const Offsets& expected = table[static_cast<size_t>(c.rows[s])][static_cast<size_t>(number - 1)];
                    EXPECT_EQ(PlacesOnString(pattern, static_cast<int>(s) + 1), Places(expected))
                        << "type " << c.guitarType << " scale " << scale << " pattern " << number << " string " << s + 1;
                }
            }
            // "All Patterns" holds the union of the five, each place once.
            const Pattern& all = patterns.Item(QString::number(scale * 6));
            for (size_t s = 0; s < c.rows.size(); ++s) {
                std::set<int> unionPlaces;
                for (const Offsets& offsets : table[static_cast<size_t>(c.rows[s])])
                    for (int place : Places(offsets))
                        unionPlaces.insert(place);
                const std::multiset<int> held = PlacesOnString(all, static_cast<int>(s) + 1);
                EXPECT_EQ(std::set<int>(held.begin(), held.end()), unionPlaces);
            }
        }
    }
    const Patterns& guitar = ScalePatterns(Instrument());
    EXPECT_EQ(guitar.Item(QStringLiteral("1")).locations.Count(), 17);
    EXPECT_EQ(guitar.Item(QStringLiteral("6")).locations.Count(), 50);
    EXPECT_TRUE(BoxesHoldEveryDegree(Instrument()));
}

TEST(Tunings, DropDLowersStringOneAndAddsALedgerLineBelowTheStaff)
{
    const Instrument dropD = InstrumentOf(Known("guitar6-drop-d"));
    const Notes table(dropD, false);
    EXPECT_EQ(table.GetNoteObjFromFretBoard(1, 1)->name, QStringLiteral("D-0"));
    EXPECT_EQ(table.GetNoteObjFromFretBoard(1, 1)->midi, 38);
    EXPECT_EQ(table.GetNoteObjFromFretBoard(2, 1)->name, QStringLiteral("A-1")) << "the other strings stay";
    EXPECT_EQ(dropD.StaffLetter(1), QLatin1Char('D'));
    EXPECT_EQ(dropD.BottomLineLevel(), Instrument().BottomLineLevel() + 1);
    EXPECT_EQ(dropD.LedgerRows().front(), (LedgerRow{1, 4}));
    EXPECT_EQ(Instrument().LedgerRows().front(), (LedgerRow{1, 3}));
    // The top of the staff is untouched.
    EXPECT_EQ(dropD.LedgerRows().back().lineCount, Instrument().LedgerRows().back().lineCount);
}

TEST(Tunings, TheSevenStringsLowBSoundsBelowTheGuitarsE)
{
    const Instrument seven = InstrumentOf(Known("guitar7-standard"));
    const Notes table(seven, false);
    EXPECT_EQ(seven.StringCount(), 7);
    EXPECT_FALSE(seven.UsesBassClef());
    EXPECT_EQ(table.GetNoteObjFromFretBoard(1, 1)->name, QStringLiteral("B-0"));
    EXPECT_EQ(table.GetNoteObjFromFretBoard(1, 1)->midi, 35);
    EXPECT_EQ(table.GetNoteObjFromFretBoard(7, 1)->midi, 64);
    EXPECT_EQ(seven.StaffLetter(1), QLatin1Char('B'));
    EXPECT_EQ(seven.LedgerRows().front(), (LedgerRow{1, 5})) << "B below the treble staff: five lines";
    EXPECT_EQ(GuitarTypeOf(InstrumentKind::SevenStringGuitar), 0);
    // The guitar's boxes with the low B string added, which sounds as the E string's
    // notes five frets higher.
    const Instrument six;
    for (int key = 1; key <= 12; ++key)
        for (int p = 1; p <= 5; ++p)
            for (int s = 1; s <= 6; ++s)
                EXPECT_EQ(Held(seven, s + 1, p, key, ScaleMajor), Held(six, s, p, key, ScaleMajor));
}

TEST(Tunings, BoxesFollowATuningAndFallBackToTheWholeNeck)
{
    // Every string a half step down: the same shapes a fret higher, as if in the key a
    // half step up.
    const Instrument halfDown = InstrumentOf(Known("guitar6-half-step-down"));
    const Instrument standard;
    for (int p = 1; p <= 5; ++p)
        for (int s = 1; s <= 6; ++s)
            EXPECT_EQ(Held(halfDown, s, p, 1, ScaleMajor), Held(standard, s, p, 2, ScaleMajor));
    EXPECT_EQ(TuningShiftFromStandard(halfDown), -1);
    EXPECT_EQ(TuningShiftFromStandard(InstrumentOf(Known("guitar6-drop-d"))), 0) << "one string dropped";

    for (const Tuning& tuning : KnownTunings())
        EXPECT_TRUE(BoxesHoldEveryDegree(InstrumentOf(tuning))) << tuning.id.toStdString();

    // Strings a semitone apart leave the boxes without some degrees: each pattern then
    // holds the scale's notes along the whole string.
    const std::optional<Tuning> clustered = ParseCustomTuning(QStringLiteral("bass4: E-0 F-0 F#-0 G-0"));
    ASSERT_TRUE(clustered);
    const Instrument odd = InstrumentOf(*clustered);
    EXPECT_FALSE(BoxesHoldEveryDegree(odd));
    const Notes table(odd, false);
    const QStringList names = ScaleNoteNames(1, ScaleMajor, false);
    for (int s = 1; s <= 4; ++s) {
        std::vector<int> scaleFrets;
        for (int f = 1; f <= kFretPositions; ++f)
            if (names.contains(WithoutOctave(table.GetNoteObjFromFretBoard(s, f)->name)))
                scaleFrets.push_back(f);
        for (int p = 1; p <= 5; ++p)
            EXPECT_EQ(Held(odd, s, p, 1, ScaleMajor), scaleFrets);
    }
}

// Whatever the tuning, every note the drill can ask about is written on some staff
// level and sounds at its concert pitch.
TEST(Tunings, EveryPoolNoteHasAStaffLevelAndARealPitch)
{
    std::vector<Tuning> tunings = KnownTunings();
    for (const char* text : {"guitar6: A-0 A-0 A-0 A-0 A-0 A-0", "guitar7: G-2 G-2 G-2 G-2 G-2 G-2 G-2",
                             "bass6: A-0 A-0 A-0 D-2 D-2 D-2"})
        tunings.push_back(*ParseCustomTuning(QString::fromLatin1(text)));
    for (const Tuning& tuning : tunings) {
        const Instrument instrument = InstrumentOf(tuning);
        const int lowE = instrument.IsBass() ? 28 : 40;
        for (bool flats : {false, true}) {
            const Notes table(instrument, flats);
            for (int key = 1; key <= 12; ++key) {
                for (int scale : {ScaleMajor, ScaleMinor}) {
                    std::set<int> written;
                    for (const auto& level : NotesOnStaffLevels(table, ScaleNoteNames(key, scale, flats)))
                        for (const Note& note : level)
                            written.insert(note.position);
                    for (const FretPosition& cell : QuestionPool(instrument, Showing(key, scale, 0))) {
                        const std::optional<Note> note = table.GetNoteObjFromFretBoard(cell.string, cell.fret);
                        ASSERT_TRUE(note) << tuning.id.toStdString();
                        EXPECT_TRUE(written.count(note->position))
                            << CustomTuningText(tuning).toStdString() << " " << note->name.toStdString();
                        const int open = instrument.OpenStringPosition(cell.string);
                        EXPECT_EQ(note->midi, lowE + open - NotePosition(QStringLiteral("E-0")) + cell.fret - 1);
                    }
                }
            }
        }
    }
}

TEST(Tunings, ACustomTuningRoundTripsThroughTheSettings)
{
    const std::optional<Tuning> custom = ParseCustomTuning(QStringLiteral("guitar6: C-0 G-0 D-1 G-1 C-2 D-2"));
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->id, QLatin1String(kCustomTuningId));
    EXPECT_EQ(CustomTuningText(*custom), QStringLiteral("guitar6: C-0 G-0 D-1 G-1 C-2 D-2"));

    Settings settings = Settings::Defaults();
    StoreTuning(*custom, settings);
    EXPECT_EQ(settings.guitarType, 0);
    SettingsStore store;
    QString message;
    ASSERT_TRUE(store.SaveSettings(settings, message)) << message.toStdString();
    Settings loaded = Settings::Defaults();
    ASSERT_TRUE(store.LoadSettings(loaded, message)) << message.toStdString();
    QString problem;
    EXPECT_EQ(TuningFromSettings(loaded, problem), *custom);
    EXPECT_TRUE(problem.isEmpty());

    // A known tuning on a bass stores the bass's "GuitarType" for programs that know only three.
    StoreTuning(Known("bass6-standard"), settings);
    EXPECT_EQ(settings.guitarType, 2);
    EXPECT_EQ(TuningFromSettings(settings, problem), Known("bass6-standard"));
    EXPECT_EQ(settings.customTuning, CustomTuningText(*custom)) << "the custom tuning is kept to come back to";

    // Texts that describe no tuning of the instrument.
    for (const char* bad : {"", "guitar6", "banjo5: D-2 G-0 B-1 D-1 G-1", "guitar6: E-0 A-1 D-1 G-1 B-2",
                            "guitar6: E-0 A-1 D-1 G-1 B-2 E-2 A-2", "guitar6: E-0 A-1 D-1 G-1 B-2 E-3",
                            "bass4: E-0 A-1 D-1 G-2", "bass4: E-0 A-1 D-1 X-1"})
        EXPECT_FALSE(ParseCustomTuning(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(ParseCustomTuning(QStringLiteral("  bass4 :E-0  A-1 D-1 G-1 "))) << "spaces as typed";
}

TEST(Tunings, AnUnknownStoredTuningFallsBackToStandardWithAMessage)
{
    QString problem;
    EXPECT_EQ(TuningFromSettings(1, QStringLiteral("bass4-tenor"), QString(), problem),
              StandardTuning(InstrumentKind::FourStringBass));
    EXPECT_TRUE(problem.contains(QStringLiteral("\"bass4-tenor\""))) << problem.toStdString();
    EXPECT_TRUE(problem.contains(QStringLiteral("four-string bass"))) << problem.toStdString();

    EXPECT_EQ(TuningFromSettings(0, QStringLiteral("custom"), QStringLiteral("guitar6: nonsense"), problem),
              StandardTuning(InstrumentKind::SixStringGuitar));
    EXPECT_TRUE(problem.contains(QStringLiteral("guitar6: nonsense")));

    // A program that knows only "GuitarType" changed the instrument: it wins, silently.
    EXPECT_EQ(TuningFromSettings(1, QStringLiteral("guitar6-drop-d"), QString(), problem),
              StandardTuning(InstrumentKind::FourStringBass));
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_EQ(TuningFromSettings(9, QString(), QString(), problem), StandardTuning(InstrumentKind::SixStringGuitar));
}
