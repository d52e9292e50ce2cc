// The drill: prompting, judging fretboard presses, sounding, staff assistance and the
// timed test's counting, on fake views.
#include "lessons/DrillFixture.h"

#include "music/PatternLayout.h"

using DrillTest = DrillFixture;

// The first press only prompts; a wrong answer beeps (when asked to) and keeps the
// question; a right one, here by the secondary button's open string, sounds and asks again.
TEST_F(DrillTest, TheFirstEventOnlyPromptsThenAnswersAreJudged)
{
    drill.script = {kA1, kC1};
    ASSERT_TRUE(Press(kA1));
    EXPECT_EQ(drill.GetActiveNoteName(), QStringLiteral("A-1"));
    EXPECT_EQ(staff.shown, QStringLiteral("A-1"));
    EXPECT_EQ(host.notePanel, QStringLiteral("A-1"));
    EXPECT_TRUE(recorder.statusTexts.isEmpty()) << "not judged";
    EXPECT_TRUE(staff.prompt.isEmpty()) << "no ear-training prompt in normal style";

    ASSERT_TRUE(Press({1, 1}));
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Incorrect! Click on sheetnote for assistance."));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(drill.GetActiveNoteName(), QStringLiteral("A-1"));
    settings.beepOnError = false;
    ASSERT_TRUE(Press({1, 2}));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_TRUE(player.events.empty());

    ASSERT_TRUE(Press({2, 9}, /*secondary=*/true)) << message.toStdString(); // string 2 is tuned to A-1
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Correct! Now try the next note."));
    EXPECT_EQ(player.events, (std::vector<RecordingPlayer::Event>{{true, MidiOf("A-1")}})) << "the timeout stops it";
    ASSERT_EQ(host.timeouts.size(), 1u);
    EXPECT_EQ(host.timeouts[0].name, QStringLiteral("A-1"));
    EXPECT_EQ(drill.GetActiveNoteName(), QStringLiteral("C-1"));
    EXPECT_EQ(staff.shown, QStringLiteral("C-1"));
    EXPECT_EQ(board.lastMark(), QString()) << "assistance marks are cleared";
    EXPECT_EQ(host.notePanel, QStringLiteral("C-1"));
    EXPECT_TRUE(staff.echoes.isEmpty()) << "no echo in normal style";
}

TEST_F(DrillTest, AQuestionRepeatsOnlyWhenThePoolHoldsNothingElse)
{
    selection.ShowOnly(4);
    drill.StartOver(message);
    for (int i = 0; i < 30; ++i) {
        const QString before = drill.GetActiveNoteName();
        ASSERT_TRUE(Answer(true));
        EXPECT_NE(drill.GetActiveNoteName(), before) << "a pool of many notes avoids a repeat";
    }
    // One note at every cell of the pool: the same question comes back.
    drill.script = {kA1, kA1, kA1, kA1, kA1, kA1, kA1};
    drill.StartOver(message);
    ASSERT_TRUE(Press(kA1));
    EXPECT_EQ(drill.GetActiveNoteName(), QStringLiteral("A-1"));
}

TEST_F(DrillTest, AnEmptyPoolAsksNothingAndNoAnswerIsRight)
{
    selection.ShowOnly(3);
    selection.visiblePatterns.clear(); // pattern 3 drilled, but none shown: no visible cell
    ASSERT_TRUE(QuestionPool(notes.GetInstrument(), selection).empty());
    drill.StartOver(message);
    EXPECT_EQ(drill.GetActiveNoteName(), QString());
    EXPECT_EQ(staff.shown, QString());
    ASSERT_TRUE(Press({1, 1}));
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Incorrect! Click on sheetnote for assistance."));
}

TEST_F(DrillTest, QuestionsAreDrawnUniformlyOverThePoolsCells)
{
    selection.ShowOnly(4);
    const auto pool = QuestionPool(notes.GetInstrument(), selection);
    std::map<QString, int> cellsPerName;
    for (const FretPosition& cell : pool)
        ++cellsPerName[notes.GetNoteObjFromFretBoard(cell.string, cell.fret)->name];
    std::map<QString, int> asked;
    const int draws = 6000;
    for (int i = 0; i < draws; ++i) {
        drill.StartOver(message);
        ++asked[drill.GetActiveNoteName()];
    }
    for (const auto& [name, cells] : cellsPerName)
        EXPECT_NEAR(asked[name] / double(draws), cells / double(pool.size()), 0.03) << name.toStdString();
}

TEST_F(DrillTest, EarTrainingPreviewsThePromptAndWaitsForTheRelease)
{
    settings.playNoteOnPrompt = true;
    settings.echoEnabled = true;
    drill.script = {kA1, kC1};
    drill.StartOver(message);
    EXPECT_EQ(staff.prompt, DrillLesson::PromptText());

    // The staff sounds the prompt while the button is held.
    ASSERT_TRUE(drill.StaffPressed(std::nullopt, false, message));
    EXPECT_EQ(drill.GetPlayingNote()->name, QStringLiteral("A-1"));
    drill.StaffReleased();
    EXPECT_EQ(player.events.back(), (RecordingPlayer::Event{false, MidiOf("A-1")}));

    // A wrong answer sounds the chosen note while held; no beep in this style.
    ASSERT_TRUE(drill.FretboardPressed(FretPosition{1, 1}, false, message));
    EXPECT_EQ(drill.GetPlayingNote()->name, QStringLiteral("E-0"));
    EXPECT_EQ(host.beeps, 0);
    drill.FretboardReleased();
    EXPECT_EQ(player.events.back(), (RecordingPlayer::Event{false, MidiOf("E-0")}));

    // A right answer congratulates with the picture; the question changes on release.
    ASSERT_TRUE(drill.FretboardPressed(kA1, false, message));
    EXPECT_EQ(staff.prompt, DrillLesson::CongratulationText());
    EXPECT_TRUE(staff.promptPicture);
    EXPECT_EQ(drill.GetActiveNoteName(), QStringLiteral("A-1"));
    drill.FretboardReleased();
    EXPECT_EQ(drill.GetActiveNoteName(), QStringLiteral("C-1"));
    EXPECT_EQ(staff.echoes, QStringList{QStringLiteral("A-1")}) << "the previous question echoes";
}

TEST_F(DrillTest, ASoundFailureEndsTheEventWithItsMessageAndKeepsTheQuestion)
{
    Prompt(kA1);
    player.failError = QStringLiteral("Midi error. ReturnCode from ' midiOutShortMsg()' is: 5.");
    EXPECT_FALSE(drill.FretboardPressed(kA1, false, message));
    EXPECT_EQ(message, player.failError);
    EXPECT_EQ(drill.GetActiveNoteName(), QStringLiteral("A-1"));
    EXPECT_TRUE(host.timeouts.empty());
}

// A press beside the cells starts an armed test and counts without being judged; a
// staff press on a level counts as assistance and shows its note on the board. The
// clock ends the test with its score, stored on Yes, and arms it afresh.
TEST_F(DrillTest, ATimedTestCountsPressesRightAnswersAndAssistanceUntilTheClockEndsIt)
{
    settings.currLessonKey = 2;
    Prompt(kA1);
    ArmTest();
    ASSERT_EQ(test.GetState(), TimedTest::State::Armed);
    ASSERT_TRUE(drill.FretboardPressed(std::nullopt, false, message));
    EXPECT_EQ(test.GetState(), TimedTest::State::Running);
    EXPECT_TRUE(test.IsClockRunning());
    EXPECT_TRUE(recorder.statusTexts.isEmpty());

    const int promptLevel = staff.LevelOf(QStringLiteral("A-1"));
    ASSERT_GT(promptLevel, 0);
    ASSERT_TRUE(drill.StaffPressed(promptLevel, false, message));
    EXPECT_EQ(board.lastMark(), QStringLiteral("A-1"));
    ASSERT_TRUE(drill.StaffPressed(promptLevel + 1, false, message));
    EXPECT_EQ(board.lastMark(), QString()) << "a level showing nothing marks nothing";
    ASSERT_TRUE(drill.StaffPressed(std::nullopt, false, message)); // beside the levels: not counted
    EXPECT_TRUE(player.events.empty()) << "normal style sounds nothing on the staff";

    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Answer(true));
    ASSERT_TRUE(Answer(false));
    const TimedTest::Results results = test.GetTestResults();
    EXPECT_EQ(results.count, 5);
    EXPECT_EQ(results.right, 3);
    EXPECT_EQ(results.assists, 2);

    recorder.answers = {MsgYes, MsgOk};
    for (int second = 0; second < 30; ++second)
        test.Tick();
    ASSERT_GE(recorder.shown.size(), 3u);
    EXPECT_EQ(recorder.shown[recorder.shown.size() - 2].text,
              QStringLiteral("Your score is 10.00%. Do you want to add this to the score database?"));
    EXPECT_EQ(recorder.lastMessage(),
              QStringLiteral("The test will restart with your first fretboard-click and will last 30 seconds."));
    EXPECT_FALSE(test.IsClockRunning());
    ASSERT_EQ(scores.Count(), 1);
    EXPECT_EQ(scores.Item(1).fltValue, ComputeTestScore(5, 3, 2, 30));
    EXPECT_EQ(scores.Item(1).intLearnerKey, 1);
    EXPECT_EQ(scores.Item(1).intLessonKey, 2);

    // Armed again, the next press starts afresh at 1/0/0.
    ASSERT_EQ(test.GetState(), TimedTest::State::Armed);
    ASSERT_TRUE(Answer(false));
    EXPECT_EQ(test.GetTestResults().count, 1);
    EXPECT_EQ(test.GetTestResults().right, 0);
    EXPECT_EQ(test.GetTestResults().assists, 0);
}
