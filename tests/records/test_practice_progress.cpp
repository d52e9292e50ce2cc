// The progress figures worked out from answers.
#include "PracticeTestSupport.h"

#include "records/PracticeProgress.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

qint64 Utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc()).toMSecsSinceEpoch();
}

const qint64 kNoon = Utc(2024, 3, 10, 12, 0);

std::vector<QString> NamesOf(const std::vector<NoteFigures>& notes)
{
    std::vector<QString> names;
    for (const NoteFigures& note : notes)
        names.push_back(NoteNameOfIndex(note.noteIndex, false));
    return names;
}

} // namespace

// Where an answer counts and the medians are the store's and the Progress window's tests.
TEST(PracticeProgress, NoAnswersGiveEmptyFiguresWithoutADivisionByZero)
{
    const ProgressFigures none = ProgressAccumulator().Figures();
    EXPECT_EQ(none.overall.Accuracy(), 0.0);
    EXPECT_EQ(none.overall.medianResponseMs, 0);
    EXPECT_TRUE(none.positions.empty() && none.weakestNotes.empty() && none.days.empty());
}

TEST(PracticeProgress, TheWeakestFiveNotesByErrorRateAndPace)
{
    ProgressAccumulator figures;
    const auto add = [&](const char* note, int right, int wrong, int responseMs) {
        const FretPosition somewhere{3, 3};
        for (int i = 0; i < right; ++i)
            figures.Add(Answer(kNoon, somewhere, QString::fromLatin1(note), responseMs), 0);
        for (int i = 0; i < wrong; ++i)
            figures.Add(Missed(Answer(kNoon, somewhere, QString::fromLatin1(note), responseMs), {2, 2},
                               QStringLiteral("B-1")),
                        0);
    };
    add("Gb-1", 0, 2, 1000); // with the F# below: 0 of 3 right -> (3 + 1) / (3 + 2) = 0.8
    add("F#-1", 0, 1, 1000);
    add("C-1", 4, 0, 3000);  // right but three times the usual pace: 1 / 6 + 0.5 = 0.667
    add("A-1", 1, 1, 1000);  // 2 / 4 = 0.5
    add("D-1", 1, 0, 1000);  // 1 / 3
    add("B-1", 3, 0, 1000);  // 1 / 5
    add("E-1", 10, 0, 1000); // 1 / 12: not among the five

    const ProgressFigures result = figures.Figures();
    EXPECT_EQ(result.overall.medianResponseMs, 1000);
    EXPECT_EQ(NamesOf(result.weakestNotes),
              (std::vector<QString>{"F#-1", "C-1", "A-1", "D-1", "B-1"}));
    ASSERT_FALSE(result.weakestNotes.empty());
    EXPECT_EQ(result.weakestNotes[0].figures.count, 3);
    EXPECT_EQ(result.weakestNotes[0].figures.right, 0);
    EXPECT_DOUBLE_EQ(result.weakestNotes[0].weakness, 0.8);
    EXPECT_NEAR(result.weakestNotes[1].weakness, 1.0 / 6.0 + 0.5, 1e-12);
}

TEST(PracticeProgress, DaysAreLocalCalendarDays)
{
    ProgressAccumulator figures;
    const int twoHoursEast = 2 * 3600;
    const FretPosition p{2, 3};
    figures.Add(Answer(Utc(2024, 3, 10, 21, 30), p, QStringLiteral("B-1"), 1200), twoHoursEast); // 23:30 local
    figures.Add(Answer(Utc(2024, 3, 10, 22, 30), p, QStringLiteral("B-1"), 600), twoHoursEast);  // 00:30 next day
    figures.Add(Missed(Answer(Utc(2024, 3, 11, 10, 0), p, QStringLiteral("B-1"), 1000), {1, 1}, QStringLiteral("E-0")),
                twoHoursEast);

    const ProgressFigures result = figures.Figures();
    ASSERT_EQ(result.days.size(), 2U);
    EXPECT_EQ(result.days[0].day, QDate(2024, 3, 10));
    EXPECT_EQ(result.days[0].figures.count, 1);
    EXPECT_EQ(result.days[0].figures.medianResponseMs, 1200);
    EXPECT_EQ(result.days[1].day, QDate(2024, 3, 11));
    EXPECT_EQ(result.days[1].figures.count, 2);
    EXPECT_DOUBLE_EQ(result.days[1].figures.Accuracy(), 0.5);
    EXPECT_EQ(result.days[1].figures.medianResponseMs, 800);
}
