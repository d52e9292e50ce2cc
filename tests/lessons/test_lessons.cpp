#include "TestSupport.h"
#include "lessons/FakeViews.h"

#include "lessons/LessonGeneral.h"
#include "lessons/Lessons.h"
#include "lessons/NumberedLessons.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class LessonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        AddNumberedLessons(lessons);
    }

    LessonInterface& Lesson(const char* key) { return *lessons.Item(QString::fromLatin1(key)).objLesson; }

    Lessons lessons;
};

QStringList Entries(const Collection<QString>& list)
{
    return QStringList(list.begin(), list.end());
}

} // namespace

TEST_F(LessonsTest, SixLessonsWithTheirStartingValues)
{
    struct Row {
        const char* key;
        const char* name;
        int type;
        const char* validPattern;
        int selectedPattern;
    };
    const Row rows[] = {
        {"1", "Lesson 1 - Start", 2, "4", 4},
        {"2", "Lesson 2 - Learn second pattern", 2, "1", 1},
        {"3", "Lesson 3 - Cover the rest", 2, "3", 3},
        {"4", "Lesson 4 - Complete fretboard", 2, "6", 6},
        {"5", "Lesson 5 - Custom scales", 3, "0", 4},
        {"6", "Lesson 6 - Complete clear fretboard", 2, "0", 0},
    };
    ASSERT_EQ(lessons.Count(), 6);
    int position = 1;
    for (const Row& row : rows) {
        const LessonsItem& item = lessons.Item(position++);
        EXPECT_EQ(item.Key, QLatin1String(row.key));
        LessonInterface& lesson = *item.objLesson;
        EXPECT_EQ(lesson.strName, QLatin1String(row.name));
        EXPECT_EQ(lesson.intLessonType, row.type) << row.key;
        EXPECT_EQ(lesson.intKey, 4) << "C";
        EXPECT_EQ(lesson.intScale, 1) << "major";
        EXPECT_EQ(Entries(lesson.intValidPatterns), QStringList({row.validPattern})) << row.key;
        EXPECT_EQ(lesson.intSelectedPattern, row.selectedPattern) << row.key;
        EXPECT_TRUE(lesson.boolHideInvalidNotes);
        EXPECT_EQ(lesson.GetVersion(), QStringLiteral("1.0"));
        EXPECT_EQ(lesson.GetActiveNoteName(), QString());
        EXPECT_EQ(lesson.GetPlayingNote(), nullptr);
        qint16 count = -1, correct = -1, assists = -1;
        lesson.GetTestResults(count, correct, assists);
        EXPECT_EQ(count + correct + assists, 0);

        auto* drill = dynamic_cast<DrillLesson*>(&lesson);
        ASSERT_NE(drill, nullptr) << "numbered lessons drill through the engine";
        EXPECT_EQ(drill->intState, 0);
    }
}

TEST_F(LessonsTest, OnlyTheCustomLessonTakesANewKeyAndScale)
{
    notes& table = GetNotes();
    Lesson("2").ReInitialize(9, 2, nullptr, nullptr, nullptr, table);
    EXPECT_EQ(Lesson("2").intKey, 4);
    EXPECT_EQ(Lesson("2").intScale, 1);

    Lesson("5").ReInitialize(9, 2, nullptr, nullptr, nullptr, table);
    EXPECT_EQ(Lesson("5").intKey, 9);
    EXPECT_EQ(Lesson("5").intScale, 2);

    EXPECT_THROW(Lesson("5").ReInitialize(40000, 1, nullptr, nullptr, nullptr, table), std::out_of_range);
    EXPECT_THROW(Lesson("5").ReInitialize(1, -40000, nullptr, nullptr, nullptr, table), std::out_of_range);
    EXPECT_EQ(Lesson("5").intKey, 9) << "a refused value changes nothing";
    EXPECT_EQ(Lesson("5").intScale, 2);
}

TEST_F(LessonsTest, TheCurrentLessonFollowsCurrLessonKey)
{
    CurrLessonKey = 1;
    EXPECT_EQ(GetCurrentLesson(lessons), &Lesson("1")) << "a fresh installation starts lesson 1";
    CurrLessonKey = 6;
    EXPECT_EQ(GetCurrentLesson(lessons)->strName, QStringLiteral("Lesson 6 - Complete clear fretboard"));
    CurrLessonKey = 7;
    EXPECT_EQ(GetCurrentLesson(lessons), nullptr);
    CurrLessonKey = 0;
    EXPECT_EQ(GetCurrentLesson(lessons), nullptr);

    Lessons empty;
    empty.Add(QStringLiteral("1"), nullptr);
    CurrLessonKey = 1;
    EXPECT_EQ(GetCurrentLesson(empty), nullptr) << "an entry without a lesson is no lesson";
}

TEST_F(LessonsTest, AddReturnsTheNewEntryAndMissingKeysAreErrors)
{
    LessonsItem& added = lessons.Add(QString(), std::make_unique<LessonTwo>());
    EXPECT_EQ(&added, &lessons.Item(7));
    EXPECT_TRUE(added.Key.isEmpty());
    EXPECT_THROW(lessons.Item(QStringLiteral("8")), CollectionError);
    EXPECT_THROW(lessons.Add(QStringLiteral("3"), std::make_unique<LessonOne>()), CollectionError);
}

TEST_F(LessonsTest, ANumberedLessonDrillsThroughTheEngine)
{
    GuitarType = 0;
    notes& table = GetNotes();
    table.Initialize();
    qint16 scale = 1;
    QString key = QStringLiteral("C");
    table.SetScale(scale, key);
    SeedDrillRandom(7);
    VisiblePatNotes.Clear();
    VisiblePatNotes.Add({QStringLiteral("1"), QStringLiteral("A-1")}, QStringLiteral("1"));

    FakeFretboard board{table};
    FakeSheet sheet;
    FakeStartupForm form;
    MessageRecorder recorder;
    QString message;
    LessonInterface& lesson = Lesson("6");
    ASSERT_TRUE(lesson.Sequencer(EventStartOver, &form, &sheet, &board, table, message));
    EXPECT_EQ(lesson.GetActiveNoteName(), QStringLiteral("A-1"));
    EXPECT_EQ(sheet.shown(), QStringLiteral("A-1"));

    board.Press(1, 6); // A-1 on the low E string
    ASSERT_TRUE(lesson.Sequencer(EventFretboardClick, &form, &sheet, &board, table, message));
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Correct! Now try the next note."));
    EXPECT_EQ(Lesson("1").GetActiveNoteName(), QString()) << "each lesson keeps its own drill";
}
