// The numbered lessons, show me and free play, the activity switch and the timed test.
#include "lessons/DrillFixture.h"

#include "lessons/ActivitySwitcher.h"
#include "lessons/LessonFreePlay.h"
#include "lessons/LessonShowMe.h"
#include "lessons/Lessons.h"
#include "lessons/NumberedLessons.h"

#include <QSignalSpy>

// Every lesson starts in C major; only the custom lesson drills the learner's own key,
// scale and pattern, and follows a new key and scale.
TEST(Lessons, SixLessonsWithTheirStartingValues)
{
    struct Row { const char* name; LessonType type; int validPattern, selectedPattern; };
    const Row rows[] = {
        {"Lesson 1 - Start", LessonType::FixedScale, 4, 4},
        {"Lesson 2 - Learn second pattern", LessonType::FixedScale, 1, 1},
        {"Lesson 3 - Cover the rest", LessonType::FixedScale, 3, 3},
        {"Lesson 4 - Complete fretboard", LessonType::FixedScale, 6, 6},
        {"Lesson 5 - Custom scales", LessonType::CustomScale, 0, 4},
        {"Lesson 6 - Complete clear fretboard", LessonType::FixedScale, 0, 0},
    };
    Lessons lessons;
    lessons.AddNumberedLessons();
    ASSERT_EQ(lessons.Count(), 6);
    Settings settings = Settings::Defaults();
    settings.currCustomKey = 9;
    settings.currCustomScale = ScaleMinor;
    settings.currCustomPattern = 2;
    settings.pentatonicOnly = false;
    for (int key = 1; key <= 6; ++key) {
        const Row& row = rows[key - 1];
        DrillLesson* lesson = lessons.Lesson(key);
        ASSERT_NE(lesson, nullptr);
        EXPECT_EQ(lesson->name, QLatin1String(row.name));
        EXPECT_EQ(lesson->type, row.type);
        EXPECT_EQ(lesson->validPatterns, std::vector<int>{row.validPattern});
        const bool custom = row.type == LessonType::CustomScale;
        const Selection selection = LessonSelection(*lesson, settings);
        EXPECT_EQ(selection.key, custom ? 9 : 4);
        EXPECT_EQ(selection.scale, custom ? ScaleMinor : ScaleMajor);
        EXPECT_EQ(selection.visiblePatterns, std::vector<int>{custom ? 2 : row.selectedPattern});
        EXPECT_TRUE(selection.hideInvalidNotes);
        EXPECT_FALSE(selection.pentatonicOnly);
        lesson->ReInitialize(7, ScaleMinor);
        EXPECT_EQ(lesson->key, custom ? 7 : 4);
    }
    EXPECT_EQ(lessons.Lesson(0), nullptr);
    EXPECT_EQ(lessons.Lesson(7), nullptr);
}

namespace {

class FreeActivityTest : public DrillFixture {
protected:
    void Ready(LessonInterface& activity)
    {
        activity.SetContext(Context());
        activity.StartOver(message); // the first event only sets it up
    }
    // A level of the staff that holds two notes (sharp or flat and natural).
    int TwoNoteLevel() const
    {
        for (int level = 1; level <= 23; ++level)
            if (staff.NotesAt(level).size() == 2)
                return level;
        return 0;
    }

    LessonFreePlay freePlay;
    LessonShowMe showMe;
};

} // namespace

TEST_F(FreeActivityTest, FreePlaySoundsWhatIsPressedUntilTheRelease)
{
    Ready(freePlay);
    const int level = staff.LevelOf(QStringLiteral("C-1"));
    ASSERT_TRUE(freePlay.StaffPressed(level, false, message));
    EXPECT_EQ(staff.shown, QStringLiteral("C-1"));
    EXPECT_EQ(freePlay.GetActiveNoteName(), QStringLiteral("C-1"));
    freePlay.StaffReleased();
    EXPECT_EQ(player.events, (std::vector<RecordingPlayer::Event>{{true, MidiOf("C-1")}, {false, MidiOf("C-1")}}));

    ASSERT_TRUE(freePlay.FretboardPressed(FretPosition{1, 6}, false, message));
    EXPECT_EQ(freePlay.GetActiveNoteName(), QStringLiteral("A-1"));
    EXPECT_EQ(staff.shown, QStringLiteral("C-1")) << "a fretboard press leaves the staff";
    ASSERT_TRUE(freePlay.FretboardPressed(FretPosition{2, 9}, true, message));
    EXPECT_EQ(freePlay.GetActiveNoteName(), QStringLiteral("A-1")) << "secondary: the open string";

    // Hovering shows and names each level's note without sound.
    const size_t sounded = player.events.size();
    ASSERT_TRUE(freePlay.StaffHovered(staff.LevelOf(QStringLiteral("E-1")), message));
    EXPECT_EQ(staff.shown, QStringLiteral("E-1"));
    EXPECT_EQ(freePlay.GetActiveNoteName(), QStringLiteral("E-1"));
    EXPECT_EQ(player.events.size(), sounded);
}

// F major with sharps: the A level holds A and A#, the B level nothing. A secondary
// press reaches the second note of a level; free play says a line is empty, show me
// names what is missing in the spelling not preferred.
TEST_F(FreeActivityTest, ShowMeMarksSoundsAndNamesTheNoteAndBothReachEveryNoteOfALevel)
{
    const Notes sharps(Instrument(), false);
    staff.SetScale(sharps, 9, ScaleMajor);
    Ready(freePlay);
    Ready(showMe);
    EXPECT_TRUE(staff.wholeRange) << "set-up shows the whole range";
    const int two = TwoNoteLevel();
    ASSERT_GT(two, 0);
    const QString second = staff.NotesAt(two)[1].name;
    EXPECT_TRUE(second.contains(QLatin1Char('#')));
    ASSERT_TRUE(freePlay.StaffPressed(two, true, message));
    EXPECT_EQ(freePlay.GetActiveNoteName(), second);
    ASSERT_TRUE(showMe.StaffPressed(two, true, message));
    EXPECT_EQ(staff.shown, second);
    EXPECT_EQ(board.lastMark(), second);
    EXPECT_EQ(showMe.GetActiveNoteName(), second);
    EXPECT_EQ(player.events.back(), (RecordingPlayer::Event{true, sharps.GetNoteObject(second)->midi}));

    ASSERT_TRUE(showMe.FretboardPressed(FretPosition{1, 1}, false, message));
    EXPECT_EQ(staff.shown, QStringLiteral("E-0"));
    EXPECT_EQ(board.lastMark(), QStringLiteral("E-0"));

    const int empty = two + 1;
    ASSERT_TRUE(staff.NotesAt(empty).empty());
    ASSERT_TRUE(freePlay.StaffPressed(empty, false, message));
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("There isn't a note on this line. Please select another one."));
    ASSERT_TRUE(showMe.StaffPressed(empty, false, message));
    EXPECT_EQ(showMe.GetActiveNoteName(), QStringLiteral("No 'sharp' note")) << "flats preferred";
    settings.flatSymbolPref = false;
    EXPECT_EQ(showMe.GetActiveNoteName(), QStringLiteral("No 'flat' note"));
}

TEST_F(FreeActivityTest, TheNotesBeyondTheFretboardAreNeverDrawnOrSoundedFromTheStaff)
{
    staff.SetScale(notes, 7, ScaleMajor); // E flat major holds Eb
    Ready(showMe);
    Ready(freePlay);
    const int level = staff.LevelOf(QStringLiteral("Eb-0"));
    ASSERT_GT(level, 0);
    for (LessonInterface* activity : std::initializer_list<LessonInterface*>{&showMe, &freePlay}) {
        staff.shown.clear();
        player.events.clear();
        ASSERT_TRUE(activity->StaffPressed(level, false, message));
        EXPECT_TRUE(staff.shown.isEmpty());
        EXPECT_TRUE(player.events.empty());
    }
}

TEST_F(FreeActivityTest, TheSwitcherRoutesPressesAndSwitchesOnce)
{
    Lessons lessons;
    lessons.AddNumberedLessons();
    Ready(freePlay);
    Ready(showMe);
    ActivitySwitcher switcher(settings, lessons, freePlay, showMe, &host);
    EXPECT_EQ(switcher.CurrentReceiver(), switcher.CurrentLesson());
    EXPECT_EQ(switcher.CurrentLesson(), lessons.Lesson(1));

    QSignalSpy chosen(&switcher, &ActivitySwitcher::trainerActivityChosen);
    QSignalSpy pages(&switcher, &ActivitySwitcher::pageRequested);
    // A switch asked for during a switch (the page change it causes) is refused.
    QObject::connect(&switcher, &ActivitySwitcher::pageRequested, &switcher,
            [&switcher] { switcher.SetActivity(Activity::Drill, false); });
    switcher.SetActivity(Activity::FreePlay, true);
    EXPECT_EQ(switcher.Current(), Activity::FreePlay);
    EXPECT_EQ(chosen.count(), 1);
    ASSERT_EQ(pages.count(), 1);
    EXPECT_EQ(pages.at(0).at(0).toInt(), 0);
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Click on either sheet or fretboard to sound the note."));

    switcher.FretboardPressed(FretPosition{1, 6}, false);
    EXPECT_EQ(host.notePanel, QStringLiteral("A-1")) << "free play names the note";

    switcher.SetActivity(Activity::PatternPlay, false);
    EXPECT_EQ(switcher.CurrentReceiver(), nullptr);
    player.events.clear();
    switcher.FretboardPressed(FretPosition{1, 6}, false);
    EXPECT_TRUE(player.events.empty()) << "nobody hears presses while playing with patterns";
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Change the selectors to see where the pattern moves."));

    settings.currLessonKey = 9;
    EXPECT_EQ(switcher.CurrentLesson(), nullptr);
}

using TimedTestTest = DrillFixture;

TEST_F(TimedTestTest, ArmingNeedsALearnerAndAsks)
{
    settings.currLearnerKey = -1;
    test.ArmTest();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("You must create and select a learner first")));
    EXPECT_TRUE(recorder.lastMessage().contains(QStringLiteral("\nPlease use the 'Score/Learners' menu functions")));
    EXPECT_EQ(recorder.shown.back().style, MsgInformation);
    EXPECT_EQ(test.GetState(), TimedTest::State::None);

    settings.currLearnerKey = 2;
    recorder.answers = {MsgCancel};
    test.ArmTest();
    EXPECT_EQ(recorder.lastMessage(),
              QStringLiteral("The test will start with your first fretboard-click and will last 30 seconds."));
    EXPECT_EQ(test.GetState(), TimedTest::State::None);
    recorder.answers = {MsgOk};
    test.ArmTest();
    EXPECT_EQ(test.GetState(), TimedTest::State::Armed);
}

TEST(TestScore, TheScoreFiguresAndTheirText)
{
    EXPECT_EQ(ComputeTestScore(5, 2, 2, 30), 0.0f);
    EXPECT_EQ(ComputeTestScore(1, 1, 0, 30), 0.5f);
    EXPECT_EQ(ComputeTestScore(3, 1, 2, 30), 0.0f) << "more assists than right answers";
    EXPECT_EQ(ComputeTestScore(0, 0, 0, 30), 0.0f) << "no press made, no division by zero";
    EXPECT_EQ(FormatTestScore(0.5f), QStringLiteral("50.00"));
    EXPECT_EQ(FormatTestScore(0.005f), QStringLiteral(".50"));
}
