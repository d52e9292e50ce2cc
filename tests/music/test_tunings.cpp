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
    EXPECT_EQ(guitar.Item(QStringLiteral("6")).locations.Count(), 50);
}

// A lower lowest string lowers the staff's first level and adds ledger lines below it;
// the other strings and the top of the staff stay.
TEST(Tunings, TheLowestStringSetsTheBottomOfTheStaff)
{
    const Instrument six;
    struct Row { const char* id; int strings; const char* lowest; int midi; char letter; int bottomLine, ledgerLines; };
    const Row rows[] = {{"guitar6-drop-d", 6, "D-0", 38, 'D', 9, 4}, {"guitar7-standard", 7, "B-0", 35, 'B', 11, 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const Instrument tuned = InstrumentOf(Known(row.id));
        const Notes table(tuned, false);
        ASSERT_EQ(tuned.StringCount(), row.strings);
        EXPECT_EQ(table.GetNoteObjFromFretBoard(1, 1)->name, QLatin1String(row.lowest));
        EXPECT_EQ(table.GetNoteObjFromFretBoard(1, 1)->midi, row.midi);
        EXPECT_EQ(table.GetNoteObjFromFretBoard(row.strings - 4, 1)->name, QStringLiteral("A-1"));
        EXPECT_EQ(table.GetNoteObjFromFretBoard(row.strings, 1)->midi, 64);
        EXPECT_FALSE(tuned.UsesBassClef());
        EXPECT_EQ(tuned.StaffLetter(1), QLatin1Char(row.letter));
        EXPECT_EQ(tuned.BottomLineLevel(), row.bottomLine);
        EXPECT_EQ(tuned.LedgerRows().front(), (LedgerRow{1, row.ledgerLines}));
        EXPECT_EQ(tuned.LedgerRows().back().lineCount, six.LedgerRows().back().lineCount);
    }
}

// Every string a half step down: the same shapes a fret higher, as if in the key a half
// step up. The seven-string: the guitar's boxes with the low B string added, which sounds
// as the E string's notes five frets higher.
TEST(Tunings, BoxesFollowATuningAndFallBackToTheWholeNeck)
{
    const Instrument standard;
    struct Relation { const char* id; int stringShift, keyShift; };
    for (const Relation& r : {Relation{"guitar6-half-step-down", 0, 1}, Relation{"guitar7-standard", 1, 0}}) {
        const Instrument tuned = InstrumentOf(Known(r.id));
        for (int key = 1; key <= kKeyCount; ++key)
            for (int p = 1; p <= 5; ++p)
                for (int s = 1; s <= 6; ++s)
                    EXPECT_EQ(Held(tuned, s + r.stringShift, p, key, ScaleMajor),
                              Held(standard, s, p, (key - 1 + r.keyShift) % kKeyCount + 1, ScaleMajor))
                        << r.id << " key " << key << " pattern " << p << " string " << s;
    }
    EXPECT_EQ(TuningShiftFromStandard(InstrumentOf(Known("guitar6-half-step-down"))), -1);
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

// Whatever the tuning, spelling, key and scale: each staff level holds the scale notes
// of its letter in the range, ascending, each once; every note the drill can ask about
// is written on some level and sounds at its concert pitch.
TEST(Tunings, EveryPoolNoteHasAStaffLevelAndARealPitch)
{
    std::vector<Tuning> tunings = KnownTunings();
    for (const char* text : {"guitar6: A-0 A-0 A-0 A-0 A-0 A-0", "guitar7: G-2 G-2 G-2 G-2 G-2 G-2 G-2",
                             "bass6: A-0 A-0 A-0 D-2 D-2 D-2"})
        tunings.push_back(*ParseCustomTuning(QString::fromLatin1(text)));
    for (const Tuning& tuning : tunings) {
        SCOPED_TRACE(CustomTuningText(tuning).toStdString());
        const Instrument instrument = InstrumentOf(tuning);
        const int lowE = instrument.IsBass() ? 28 : 40;
        for (bool flats : {false, true}) {
            const Notes table(instrument, flats);
            for (int key = 1; key <= kKeyCount; ++key) {
                for (int scale : {ScaleMajor, ScaleMinor}) {
                    const QStringList scaleNames = ScaleNoteNames(key, scale, flats);
                    const auto levels = NotesOnStaffLevels(table, scaleNames);
                    ASSERT_EQ(static_cast<int>(levels.size()), instrument.StaffLevelCount());
                    std::set<int> written;
                    for (int level = 1; level <= instrument.StaffLevelCount(); ++level) {
                        for (const Note& note : levels[static_cast<size_t>(level - 1)]) {
                            EXPECT_EQ(note.name.at(0), instrument.StaffLetter(level)) << note.name.toStdString();
                            EXPECT_TRUE(scaleNames.contains(WithoutOctave(note.name)));
                            EXPECT_TRUE(written.empty() || note.position > *written.rbegin()) << "ascending, once";
                            written.insert(note.position);
                        }
                    }
                    for (const FretPosition& cell : QuestionPool(instrument, Showing(key, scale, 0))) {
                        const std::optional<Note> note = table.GetNoteObjFromFretBoard(cell.string, cell.fret);
                        ASSERT_TRUE(note);
                        EXPECT_TRUE(written.count(note->position)) << note->name.toStdString();
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

// The three instruments' "GuitarType" alone are their standard tunings; a stored tuning
// that cannot be read falls back to the instrument's standard with a message naming it.
TEST(Tunings, StoredTuningsAndTheirFallBacks)
{
    using K = InstrumentKind;
    for (const auto& [kind, guitarType] : {std::pair{K::SixStringGuitar, 0}, {K::FourStringBass, 1}, {K::FiveStringBass, 2}}) {
        EXPECT_EQ(InstrumentOf(StandardTuning(kind)), Instrument::FromGuitarType(guitarType));
        EXPECT_EQ(GuitarTypeOf(kind), guitarType);
    }
    struct Case { int guitarType; const char* id; const char* custom; K standard; QStringList says; };
    const Case cases[] = {
        {0, "", "", K::SixStringGuitar, {}},
        {1, "bass4-tenor", "", K::FourStringBass, {"\"bass4-tenor\"", "four-string bass"}},
        {2, "", "", K::FiveStringBass, {}},
        {0, "custom", "guitar6: nonsense", K::SixStringGuitar, {"guitar6: nonsense"}},
        // A program that knows only "GuitarType" changed the instrument: it wins, silently.
        {1, "guitar6-drop-d", "", K::FourStringBass, {}},
        {9, "", "", K::SixStringGuitar, {}},
    };
    QString problem;
    for (const Case& c : cases) {
        EXPECT_EQ(TuningFromSettings(c.guitarType, QLatin1String(c.id), QLatin1String(c.custom), problem),
                  StandardTuning(c.standard)) << c.id;
        EXPECT_EQ(problem.isEmpty(), c.says.isEmpty()) << c.id << ": " << problem.toStdString();
        for (const QString& part : c.says)
            EXPECT_TRUE(problem.contains(part)) << problem.toStdString();
    }
}
