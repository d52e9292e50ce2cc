// Keys and scales in both spellings. The scale notes on each staff level are the tuning
// and staff tests' (every tuning, key and scale).
#include "core/NoteNames.h"
#include "music/Scales.h"

#include <gtest/gtest.h>

namespace {

QString ScaleText(int key, int scale, bool flats)
{
    return ScaleNoteNames(key, scale, flats).join(QLatin1Char(' '));
}

} // namespace

// Key and scale names, and each scale printed in both spellings.
TEST(Scales, PrintedScalesInBothSpellings)
{
    struct Row {
        int key;
        const char* name;
        const char* majorSharp;
        const char* majorFlat;
        const char* minorSharp;
        const char* minorFlat;
    };
    const Row rows[] = {
        {1, "A", "A B C# D E F# G#", "A B Db D E Gb Ab", "A B C D E F G", "A B C D E F G"},
        {2, "B flat", "A# C D D# F G A", "Bb C D Eb F G A", "A# C C# D# F F# G#", "Bb C Db Eb F Gb Ab"},
        {4, "C", "C D E F G A B", "C D E F G A B", "C D D# F G G# A#", "C D Eb F G Ab Bb"},
        {6, "D", "D E F# G A B C#", "D E Gb G A B Db", "D E F G A A# C", "D E F G A Bb C"},
        {9, "F", "F G A A# C D E", "F G A Bb C D E", "F G G# A# C C# D#", "F G Ab Bb C Db Eb"},
        {12, "A flat", "G# A# C C# D# F G", "Ab Bb C Db Eb F G", "G# A# B C# D# E F#", "Ab Bb B Db Eb E Gb"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(KeyName(row.key), QLatin1String(row.name));
        EXPECT_EQ(ScaleText(row.key, ScaleMajor, false), QLatin1String(row.majorSharp)) << row.key;
        EXPECT_EQ(ScaleText(row.key, ScaleMajor, true), QLatin1String(row.majorFlat)) << row.key;
        EXPECT_EQ(ScaleText(row.key, ScaleMinor, false), QLatin1String(row.minorSharp)) << row.key;
        EXPECT_EQ(ScaleText(row.key, ScaleMinor, true), QLatin1String(row.minorFlat)) << row.key;
    }
    EXPECT_EQ(KeyName(13), QString());
    EXPECT_EQ(ScaleName(ScaleMajor), QStringLiteral("Major"));
    EXPECT_EQ(ScaleName(ScaleMinor), QStringLiteral("Minor"));
    EXPECT_EQ(ScaleName(3), QString());
    EXPECT_EQ(ScaleText(0, ScaleMajor, true), QString());
    EXPECT_EQ(ScaleText(4, 3, true), QString()) << "only scales 1 and 2 exist";
}

TEST(Scales, KeyNamesFollowTheSpellingBothWays)
{
    EXPECT_EQ(NormalizeKeyName(QStringLiteral("B flat"), false), QStringLiteral("A#"));
    EXPECT_EQ(NormalizeKeyName(QStringLiteral("B flat"), true), QStringLiteral("Bb"));
    EXPECT_EQ(NormalizeKeyName(QStringLiteral("B"), true), QStringLiteral("B")) << "a natural is no flat";
    EXPECT_EQ(NormalizeKeyName(QStringLiteral("A"), false), QStringLiteral("A"));
    const std::pair<const char*, const char*> pairs[] = {
        {"A#", "Bb"}, {"C#", "Db"}, {"D#", "Eb"}, {"F#", "Gb"}, {"G#", "Ab"}};
    for (const auto& [sharp, flat] : pairs) {
        EXPECT_EQ(NormalizeKeyName(QLatin1String(sharp), true), QLatin1String(flat));
        EXPECT_EQ(NormalizeKeyName(QLatin1String(flat), false), QLatin1String(sharp));
    }
}
