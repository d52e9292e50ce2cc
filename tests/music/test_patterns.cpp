// Scale patterns as properties over every instrument, key and scale, with a few of the
// placements worked out by hand, and the board layout and question pool made from them.
#include "core/NoteNames.h"
#include "music/Notes.h"
#include "music/PatternLayout.h"
#include "music/Patterns.h"
#include "music/Scales.h"

#include "doubles/PatternHelpers.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The scale degree (1..7) of the note at a cell, 0 outside the scale.
int Degree(const Notes& table, const QStringList& scaleNames, FretPosition cell)
{
    const auto note = table.GetNoteObjFromFretBoard(cell.string, cell.fret);
    return note ? static_cast<int>(scaleNames.indexOf(WithoutOctave(note->name))) + 1 : 0;
}

} // namespace

// Twelve patterns, five boxes and "All Patterns" per scale; their root flags mark the
// key's note (in key A the anchor is fret position 6 on the lowest string).
TEST(Patterns, TwelveNamedPatternsFiveBoxesAndAllPerScale)
{
    const Notes guitar(Instrument(), false);
    for (const Pattern& pattern : ScalePatterns(guitar.GetInstrument()))
        for (const FretNoteLoc& location : pattern.locations) {
            const auto note = guitar.GetNoteObjFromFretBoard(location.stringNum, ((location.fretOffset + 5) % 12 + 12) % 12 + 1);
            ASSERT_TRUE(note);
            EXPECT_EQ(location.isRoot, WithoutOctave(note->name) == QStringLiteral("A")) << note->name.toStdString();
        }
    for (int type : {0, 2}) {
        const Patterns& patterns = ScalePatterns(Instrument::FromGuitarType(type));
        ASSERT_EQ(patterns.Count(), 12);
        for (int i = 1; i <= 12; ++i) {
            const Pattern& pattern = patterns.Item(QString::number(i));
            EXPECT_EQ(pattern.number, (i - 1) % 6 + 1);
            EXPECT_EQ(pattern.scale, i <= 6 ? ScaleMajor : ScaleMinor);
        }
        EXPECT_EQ(patterns.Item(QStringLiteral("12")).name, QStringLiteral("All Patterns"));
    }
}

// Every cell a pattern holds is a note of the scale; the flags mark the root and the
// degrees the pentatonic subset leaves out (4 and 7 major, 2 and 6 minor); the five
// boxes together are "All Patterns"; a minor pattern lies where its relative major's does.
TEST(Patterns, PropertiesOverEveryInstrumentKeyAndScale)
{
    for (int type : {0, 1, 2}) {
        const Instrument instrument = Instrument::FromGuitarType(type);
        const Notes table(instrument, false);
        for (int key = 1; key <= kKeyCount; ++key) {
            for (int scale : {ScaleMajor, ScaleMinor}) {
                const QStringList names = ScaleNoteNames(key, scale, false);
                const std::set<int> outside = scale == ScaleMajor ? std::set<int>{4, 7} : std::set<int>{2, 6};
                const int relativeMajor = (key - 1 + 3) % 12 + 1;
                for (int s = 1; s <= instrument.StringCount(); ++s) {
                    for (int f = 1; f <= kFretPositions; ++f) {
                        const FretPosition cell{s, f};
                        const int degree = Degree(table, names, cell);
                        const auto all = GetPatternNumsAtFret(ScalePatterns(instrument), s, f, key, scale, false);
                        const auto pentatonic = GetPatternNumsAtFret(ScalePatterns(instrument), s, f, key, scale, true);
                        bool inBox = false;
                        for (int number : all) {
                            ASSERT_NE(degree, 0) << "type " << type << " key " << key << " cell " << s << "/" << f;
                            inBox = inBox || number != kAllPatterns;
                        }
                        const bool inAll = std::count(all.begin(), all.end(), kAllPatterns) > 0;
                        EXPECT_EQ(inBox, inAll) << "the boxes together are All Patterns";
                        EXPECT_EQ(!pentatonic.empty(), !all.empty() && outside.count(degree) == 0)
                            << "the pentatonic filter leaves out exactly the two degrees";
                        if (scale == ScaleMinor) {
                            for (int p = 1; p <= 5; ++p) {
                                const auto minor = Held(instrument, s, p, key, ScaleMinor);
                                const auto major = Held(instrument, s, p, relativeMajor, ScaleMajor);
                                EXPECT_EQ(minor, major) << "pattern " << p << " key " << key;
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(Patterns, PlacementsWorkedByHand)
{
    const Instrument guitar;
    EXPECT_EQ(Held(guitar, 1, 1, 1, ScaleMajor), (std::vector<int>{3, 5, 6})) << "F#, G#, A in A major";
    EXPECT_EQ(Held(guitar, 1, 1, 1, ScaleMajor, true), (std::vector<int>{3, 6})) << "G# is outside the pentatonic";
    EXPECT_EQ(Held(guitar, 1, 5, 1, ScaleMajor), (std::vector<int>{1, 3, 13})) << "offsets beyond the board wrap";
    EXPECT_EQ(Held(guitar, 1, 1, 12, ScaleMajor), (std::vector<int>{2, 4, 5, 14}));
    EXPECT_EQ(GetPatternNumsAtFret(ScalePatterns(guitar), 1, 6, 1, ScaleMinor, false), (std::vector<int>{1, 5, 6, 6}))
        << "once per matching location, in table order";

    const Instrument five = Instrument::FromGuitarType(2);
    EXPECT_EQ(Held(five, 1, 1, 1, ScaleMajor), (std::vector<int>{3, 4, 6})) << "the low B string: C#, D, E";
    EXPECT_EQ(Held(five, 1, 4, 1, ScaleMajor), (std::vector<int>{1, 10, 11, 13})) << "below the nut: twelve higher";
}

TEST(PatternLayout, HighlightsTheVisiblePatternsAndTrimsTheCopyAtTheFarEnd)
{
    const Instrument guitar;
    // Pattern 5 of A major repeats at both ends of the board; the copy that joins the
    // middle frets stays.
    const PatternLayout layout(guitar, Showing(1, ScaleMajor, 5));
    for (int s = 1; s <= 6; ++s) {
        for (int f = 1; f <= kFretPositions; ++f) {
            const FretPosition cell{s, f};
            if (!layout.PatternContains(cell, 5))
                EXPECT_FALSE(layout.IsHighlighted(cell));
            else if (f >= 12)
                EXPECT_FALSE(layout.IsHighlighted(cell)) << "string " << s << " fret " << f;
            else
                EXPECT_TRUE(layout.IsHighlighted(cell)) << "string " << s << " fret " << f;
        }
    }
    // "All Patterns" is never trimmed.
    const PatternLayout all(guitar, Showing(1, ScaleMajor, kAllPatterns));
    for (int s = 1; s <= 6; ++s)
        for (int f = 1; f <= kFretPositions; ++f)
            EXPECT_EQ(all.IsHighlighted({s, f}), all.PatternContains({s, f}, kAllPatterns));

    const PatternLayout none(guitar, Showing(4, ScaleMajor, 0));
    EXPECT_FALSE(none.IsHighlighted({1, 1})) << "pattern 0 highlights nothing";
    EXPECT_TRUE(none.PatternContainsAndIsVisible({1, 2}, 0)) << "and hides nothing";
}

TEST(PatternLayout, TheQuestionPoolIsTheVisibleCellsOfThePattern)
{
    const Instrument guitar;
    const Selection c4 = Showing(4, ScaleMajor, 4);
    const PatternLayout layout(guitar, c4);
    const auto pool = QuestionPool(guitar, c4);
    ASSERT_FALSE(pool.empty());
    for (const FretPosition& cell : pool)
        EXPECT_TRUE(layout.PatternContains(cell, 4) && layout.IsHighlighted(cell));

    // Without a pattern the drill asks about every cell of "All Patterns", one entry per cell.
    const auto everything = QuestionPool(guitar, Showing(4, ScaleMajor, 0));
    const PatternLayout allLayout(guitar, Showing(4, ScaleMajor, 0));
    size_t cells = 0;
    for (int s = 1; s <= 6; ++s)
        for (int f = 1; f <= kFretPositions; ++f)
            cells += allLayout.PatternContains({s, f}, kAllPatterns) ? 1 : 0;
    EXPECT_EQ(everything.size(), cells);

    // The pentatonic filter shrinks the pool to the pentatonic notes.
    const Notes table(guitar, false);
    const QStringList names = ScaleNoteNames(4, ScaleMajor, false);
    for (const FretPosition& cell : QuestionPool(guitar, Showing(4, ScaleMajor, 4, true))) {
        const int degree = Degree(table, names, cell);
        EXPECT_NE(degree, 4);
        EXPECT_NE(degree, 7);
    }
}
