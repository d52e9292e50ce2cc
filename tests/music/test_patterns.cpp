#include "TestSupport.h"

#include "music/Notes.h"
#include "music/ScalePatterns.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <set>

namespace {

class PatternsTest : public ::testing::Test {
protected:
    void SetUp() override { LoadDefaultSettings(); }

    notes& Build(int guitarType, int key = 4, qint16 scale = 1)
    {
        GuitarType = guitarType;
        FlatSymbolPref = false;
        notes& table = GetNotes();
        table.Initialize();
        QString keyName = KeyNames.Item(key);
        table.SetScale(scale, keyName);
        return table;
    }

    // The fret positions (1 = open string) of a string that pattern patternNum marks.
    static std::vector<int> Marked(int string, int patternNum, int key, qint16 scale, bool blues = false)
    {
        std::vector<int> positions;
        for (qint16 position = 1; position <= 14; ++position) {
            const auto nums = GetPatternNumsAtFret(qint16(string), position, key, scale, blues);
            if (std::find(nums.begin(), nums.end(), QString::number(patternNum)) != nums.end())
                positions.push_back(position);
        }
        return positions;
    }

    static QString NoteAt(notes& table, int string, int position)
    {
        const NotePtr note = table.GetNoteObjFromFretBoard(string, position);
        return note ? note->strNoteName : QString();
    }

    // The offsets of one string of a pattern, as "a b c".
    static QString Row(const Pattern& pattern, int string)
    {
        QStringList offsets;
        for (const FretNoteLoc& location : pattern.FretNoteLocs)
            if (location.intStringNum == string)
                offsets << QString::number(location.intFretNum);
        return offsets.join(QLatin1Char(' '));
    }
};

} // namespace

TEST_F(PatternsTest, TwelvePatternsNamedAndNumberedPerScale)
{
    Build(0);
    ASSERT_EQ(ScalePatterns.Count(), 12);
    for (int key = 1; key <= 12; ++key) {
        const Pattern& pattern = ScalePatterns.Item(QString::number(key));
        const int number = (key - 1) % 6 + 1;
        EXPECT_EQ(pattern.Key, QString::number(key));
        EXPECT_EQ(pattern.intPatternNum, number);
        EXPECT_EQ(pattern.intScale, key <= 6 ? 1 : 2);
        EXPECT_EQ(pattern.strName,
                  number == 6 ? QStringLiteral("All Patterns") : QStringLiteral("Pattern %1").arg(number));
    }
    Build(0); // rebuilt, not appended
    EXPECT_EQ(ScalePatterns.Count(), 12);
}

TEST_F(PatternsTest, LocationCountsPerInstrument)
{
    for (int guitarType : {0, 1}) {
        Build(guitarType);
        EXPECT_EQ(ScalePatterns.Item(QStringLiteral("1")).FretNoteLocs.Count(), 17);
        EXPECT_EQ(ScalePatterns.Item(QStringLiteral("6")).FretNoteLocs.Count(), 50);
    }

    Build(2);
    const int counts[] = {20, 19, 20, 20, 19, 59};
    for (int key = 1; key <= 12; ++key)
        EXPECT_EQ(ScalePatterns.Item(QString::number(key)).FretNoteLocs.Count(), counts[(key - 1) % 6]) << key;
    const FretNoteLocs& first = ScalePatterns.Item(QStringLiteral("1")).FretNoteLocs;
    for (int i = 1; i <= first.Count(); ++i) {
        if (i <= 3)
            EXPECT_EQ(first.Item(i).intStringNum, 1) << "the low B row comes first";
        else
            EXPECT_GE(first.Item(i).intStringNum, 2) << "the other rows move up one string";
    }
    EXPECT_EQ(first.Item(first.Count()).intStringNum, 7);
}

TEST_F(PatternsTest, AllPatternsIsTheAscendingUnionOfTheFive)
{
    Build(2); // strings: 1 low B, 2..7 the guitar's 1..6
    const QStringList major = {"-8 -7 -5 -3 -2 0 2 4 5", "-3 -1 0 2 4 5 7 9", "-3 -1 0 2 4 6 7 9",
                               "-3 -1 1 2 4 6 7 9", "-4 -3 -1 1 2 4 6 8 9", "-3 -2 0 2 4 5 7 9 10",
                               "-3 -1 0 2 4 5 7 9"};
    const QStringList minor = {"0 1 3 5 7 8 10 12 13", "0 2 3 5 7 8 10 12", "0 2 3 5 7 9 10 12",
                               "0 2 4 5 7 9 10 12", "-1 0 2 4 5 7 9 11 12", "0 1 3 5 7 8 10 12 13",
                               "0 2 3 5 7 8 10 12"};
    for (int string = 1; string <= 7; ++string) {
        EXPECT_EQ(Row(ScalePatterns.Item(QStringLiteral("6")), string), major[string - 1]) << string;
        EXPECT_EQ(Row(ScalePatterns.Item(QStringLiteral("12")), string), minor[string - 1]) << string;
    }
}

TEST_F(PatternsTest, TheMinorPatterns)
{
    Build(2);
    // Pattern by pattern, string by string from the low B.
    const QStringList minor[5] = {
        {"0 1 3", "0 2 3", "0 2 3", "0 2", "-1 0 2", "0 1 3", "0 2 3"},
        {"3 5", "2 3 5", "2 3 5", "2 4 5", "2 4 5", "3 5", "2 3 5"},
        {"5 7 8", "5 7 8", "5 7", "4 5 7", "4 5 7", "5 7 8", "5 7 8"},
        {"7 8 10", "7 8 10", "7 9 10", "7 9 10", "7 9", "7 8 10", "7 8 10"},
        {"10 12 13", "10 12", "9 10 12", "9 10 12", "9 11 12", "10 12 13", "10 12"},
    };
    for (int number = 1; number <= 5; ++number)
        for (int string = 1; string <= 7; ++string)
            EXPECT_EQ(Row(ScalePatterns.Item(QString::number(6 + number)), string), minor[number - 1][string - 1])
                << "pattern " << number << " string " << string;
}

// Every location, placed in every key, sounds a note of the scale; the flags mark the
// root and the degrees outside the pentatonic subset (4 and 7 major, 2 and 6 minor).
TEST_F(PatternsTest, LocationsAreScaleNotesAndTheirFlagsFollowTheDegree)
{
    for (int guitarType : {0, 2}) {
        for (qint16 scale : {qint16(1), qint16(2)}) {
            for (int key = 1; key <= 12; ++key) {
                notes& table = Build(guitarType, key, scale);
                const Collection<QString>& scaleNames = table.GetScaleNotesNameCollection();
                const std::set<int> outside = scale == 1 ? std::set<int>{4, 7} : std::set<int>{2, 6};
                for (const Pattern& pattern : ScalePatterns) {
                    if (pattern.intScale != scale)
                        continue;
                    for (const FretNoteLoc& location : pattern.FretNoteLocs) {
                        if (location.intStringNum > table.GetStringAmount())
                            continue;
                        const int position = ((location.intFretNum + key + 4) % 12 + 12) % 12 + 1;
                        const QString name = NoteAt(table, location.intStringNum, position);
                        const QString pitch = name.left(name.size() - 2);
                        int degree = 0;
                        for (int i = 1; i <= scaleNames.Count(); ++i)
                            if (scaleNames.Item(i) == pitch)
                                degree = i;
                        ASSERT_NE(degree, 0) << name.toStdString() << " not in key " << key << " scale " << scale;
                        EXPECT_EQ(location.boolIsRootNote, degree == 1) << name.toStdString();
                        EXPECT_EQ(location.boolIsNoteAdditional, outside.count(degree) == 1) << name.toStdString();
                    }
                }
            }
        }
    }
}

TEST_F(PatternsTest, KeyAnchorFretOffset)
{
    EXPECT_EQ(GetKeyFretOffset(1), 6);
    EXPECT_EQ(GetKeyFretOffset(12), 17);
    EXPECT_EQ(GetKeyFretOffset(0), 0);
    EXPECT_EQ(GetKeyFretOffset(13), 0);
}

TEST_F(PatternsTest, PlacingPatternsInKeyA)
{
    notes& table = Build(0, 1);
    EXPECT_EQ(Marked(1, 1, 1, 1), (std::vector<int>{3, 5, 6}));
    EXPECT_EQ(NoteAt(table, 1, 3), QStringLiteral("F#-0"));
    EXPECT_EQ(NoteAt(table, 1, 5), QStringLiteral("G#-0"));
    EXPECT_EQ(NoteAt(table, 1, 6), QStringLiteral("A-1"));
    const FretNoteLocs& first = ScalePatterns.Item(QStringLiteral("1")).FretNoteLocs;
    EXPECT_FALSE(first.Item(1).boolIsRootNote); // F#
    EXPECT_TRUE(first.Item(2).boolIsNoteAdditional); // G#
    EXPECT_TRUE(first.Item(3).boolIsRootNote); // A

    EXPECT_EQ(Marked(1, 5, 1, 1), (std::vector<int>{1, 3, 13})) << "offsets beyond the board wrap by 12";
    EXPECT_EQ(Marked(1, 1, 1, 1, /*blues=*/true), (std::vector<int>{3, 6})) << "G# is outside the pentatonic";

    const Collection<QString> nums = GetPatternNumsAtFret(1, 6, 1, 1, false);
    EXPECT_EQ(QStringList(nums.begin(), nums.end()), QStringList({"1", "2", "6"}))
        << "in table order, once per matching location";
    const Collection<QString> minorNums = GetPatternNumsAtFret(1, 6, 1, 2, false);
    EXPECT_EQ(QStringList(minorNums.begin(), minorNums.end()), QStringList({"1", "5", "6", "6"}))
        << "only the asked scale's patterns; offsets 0 and 12 of All Patterns both land here";
}

TEST_F(PatternsTest, PlacingPatternOneInKeyAFlat)
{
    notes& table = Build(0, 12);
    EXPECT_EQ(Marked(1, 1, 12, 1), (std::vector<int>{2, 4, 5, 14}));
    EXPECT_EQ(NoteAt(table, 1, 2), QStringLiteral("F-0"));
    EXPECT_EQ(NoteAt(table, 1, 14), QStringLiteral("F-1"));
    EXPECT_EQ(NoteAt(table, 1, 5), QStringLiteral("G#-0"));
}

TEST_F(PatternsTest, PlacingPatternsOnTheLowBString)
{
    notes& table = Build(2, 1);
    EXPECT_EQ(Marked(1, 1, 1, 1), (std::vector<int>{3, 4, 6}));
    EXPECT_EQ(NoteAt(table, 1, 3), QStringLiteral("C#-0"));
    EXPECT_EQ(NoteAt(table, 1, 4), QStringLiteral("D-0"));
    EXPECT_EQ(NoteAt(table, 1, 6), QStringLiteral("E-0"));
    EXPECT_EQ(Marked(1, 1, 1, 1, /*blues=*/true), (std::vector<int>{3, 6})) << "D is outside the pentatonic";

    // Offsets -8 and -7 of pattern 4 lie below the nut in key A: they mark frets 9 and 10.
    EXPECT_EQ(Marked(1, 4, 1, 1), (std::vector<int>{1, 10, 11, 13}));
    EXPECT_EQ(NoteAt(table, 1, 10), QStringLiteral("G#-0"));
    EXPECT_EQ(NoteAt(table, 1, 11), QStringLiteral("A-1"));
}
