#include "TestSupport.h"
#include "lessons/FakeViews.h"

#include "lessons/LessonGeneral.h"
#include "sound/MidiOut.h"
#include "sound/RecordingMidiOutput.h"

#include <gtest/gtest.h>

namespace {

class DrillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        GuitarType = 0;
        FlatSymbolPref = true;
        table.Initialize();
        qint16 scale = 1;
        QString key = QStringLiteral("C");
        table.SetScale(scale, key);
        SetMidiOutput(std::make_unique<RecordingMidiOutput>(&midi));
        SeedDrillRandom(1234);
        PlayNoteOnPrompt = false;
        PrevNoteEchoDuration = 0;
    }
    void TearDown() override { SetMidiOutput(nullptr); }

    void Pool(std::initializer_list<const char*> names)
    {
        VisiblePatNotes.Clear();
        int key = 1;
        for (const char* name : names)
            VisiblePatNotes.Add({QString::number(key), QString::fromLatin1(name)}, QString::number(key++));
    }
    bool Send(qint32 event)
    {
        message.clear();
        return lesson.Sequencer(event, &form, &sheet, &board, table, message);
    }
    bool ClickFret(int string, int fret, bool right = false)
    {
        board.Press(string, fret, right);
        return Send(EventFretboardClick);
    }
    // Starts the lesson with prompt name by giving it a one-name pool.
    void PromptWith(const char* name)
    {
        Pool({name});
        Send(EventStartOver);
        ASSERT_EQ(lesson.GetActiveNoteName(), QString::fromLatin1(name));
    }

    notes& table = GetNotes();
    RecordingMidiOutput::Log midi;
    MessageRecorder recorder;
    FakeFretboard board{table};
    FakeSheet sheet;
    FakeStartupForm form;
    DrillLesson lesson;
    QString message;
};

} // namespace

TEST_F(DrillTest, TheFirstEventOnlyPromptsAndIsNotJudged)
{
    Pool({"A-1"});
    ASSERT_TRUE(ClickFret(1, 6)); // A-1 would be right, but this click only prompts
    EXPECT_EQ(lesson.intState, 1);
    EXPECT_EQ(lesson.GetActiveNoteName(), QStringLiteral("A-1"));
    EXPECT_EQ(sheet.shown(), QStringLiteral("A-1"));
    EXPECT_EQ(form.panels[QStringLiteral("Note")], QStringLiteral("A-1"));
    EXPECT_TRUE(recorder.statusTexts.isEmpty());
    EXPECT_TRUE(midi.messages.empty());
    EXPECT_TRUE(sheet.prompt.isEmpty()) << "no ear-training prompt in normal style";
}

TEST_F(DrillTest, ARightAnswerSoundsTheNoteArmsTheTimeoutAndPromptsAnew)
{
    Pool({"A-1", "C-1"});
    PrevNoteEchoDuration = 500;
    EchoEnabled = true;
    Send(EventStartOver);
    const QString first = lesson.GetActiveNoteName();
    // A-1 is string 1 fret 5 (position 6); C-1 is string 2 fret 3 (position 4).
    ASSERT_TRUE(first == QStringLiteral("A-1") ? ClickFret(1, 6) : ClickFret(2, 4)) << message.toStdString();

    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Correct! Now try the next note."));
    const int midiNote = first == QStringLiteral("A-1") ? 45 : 48;
    EXPECT_EQ(midi.messages, (std::vector<quint32>{0x00C0, PackShortMessage(0x90, midiNote, 127)}));
    ASSERT_EQ(form.timeouts.size(), 1u);
    EXPECT_EQ(form.timeouts[0]->strNoteName, first);
    EXPECT_EQ(lesson.GetPlayingNote(), nullptr);
    EXPECT_NE(lesson.GetActiveNoteName(), first) << "a two-name pool avoids a repeat";
    EXPECT_EQ(sheet.shown(), lesson.GetActiveNoteName());
    EXPECT_EQ(sheet.echoes, QStringList{first});
    EXPECT_EQ(board.marks.last(), QString()) << "assistance marks are cleared";
    EXPECT_EQ(form.panels[QStringLiteral("Note")], lesson.GetActiveNoteName());
}

TEST_F(DrillTest, AWrongAnswerBeepsAndKeepsThePrompt)
{
    PromptWith("A-1");
    ASSERT_TRUE(ClickFret(1, 1)); // E-0
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Incorrect! Click on sheetnote for assistance."));
    EXPECT_EQ(form.beeps, 1);
    EXPECT_TRUE(midi.messages.empty());
    EXPECT_EQ(lesson.GetActiveNoteName(), QStringLiteral("A-1"));

    BeepOnError = false;
    ASSERT_TRUE(ClickFret(1, 2));
    EXPECT_EQ(form.beeps, 1);
}

TEST_F(DrillTest, ARightClickAnswersWithTheOpenString)
{
    PromptWith("A-1");
    ASSERT_TRUE(ClickFret(2, 9, /*right=*/true)); // string 2 is tuned to A-1
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Correct! Now try the next note."));
    EXPECT_FALSE(board.boolRightButtonClicked);
}

TEST_F(DrillTest, EnharmonicSpellingsMatchOnlyWhenTheTableNamesThemAlike)
{
    PromptWith("A#-0"); // a stale sharp prompt while the table spells flats
    ASSERT_TRUE(ClickFret(1, 1));
    ASSERT_TRUE(ClickFret(1, 1));
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Incorrect! Click on sheetnote for assistance."));
}

TEST_F(DrillTest, WithoutSoundARightAnswerStillTimesOutAndAdvances)
{
    EnableSound = false;
    Pool({"A-1", "C-1"});
    Send(EventStartOver);
    const QString first = lesson.GetActiveNoteName();
    ASSERT_TRUE(first == QStringLiteral("A-1") ? ClickFret(1, 6) : ClickFret(2, 4));
    EXPECT_TRUE(midi.messages.empty());
    EXPECT_EQ(form.timeouts.size(), 1u);
    EXPECT_NE(lesson.GetActiveNoteName(), first);
}

TEST_F(DrillTest, ASinglePositionPoolRepeatsItsPrompt)
{
    PromptWith("A-1");
    ASSERT_TRUE(ClickFret(1, 6));
    EXPECT_EQ(lesson.GetActiveNoteName(), QStringLiteral("A-1"));
    EXPECT_EQ(form.timeouts.size(), 1u);
}

// The drill's timed notes through the real note timeout: a right answer replacing a
// note that still sounds stops it, unless the new answer struck the same key again.
TEST_F(DrillTest, ARightAnswerStopsTheTimedNoteBeforeItUnlessItIsTheSameKey)
{
    NoteTimeout timeout;
    form.noteTimeout = &timeout;
    Pool({"A-1", "C-1"});
    Send(EventStartOver);
    const auto answer = [this] {
        // A-1 is string 1 fret 5 (position 6), MIDI 45; C-1 string 2 fret 3, MIDI 48.
        const bool a = lesson.GetActiveNoteName() == QStringLiteral("A-1");
        EXPECT_TRUE(a ? ClickFret(1, 6) : ClickFret(2, 4)) << message.toStdString();
        return a ? 45 : 48;
    };
    const int first = answer();
    const int second = answer();
    ASSERT_NE(first, second);
    EXPECT_EQ(midi.messages, (std::vector<quint32>{0x00C0, PackShortMessage(0x90, first, 127), 0x00C0,
                                                   PackShortMessage(0x90, second, 127),
                                                   PackShortMessage(0x80, first, 0)}));
    timeout.Tick();
    EXPECT_EQ(midi.messages.back(), PackShortMessage(0x80, second, 0));
    EXPECT_EQ(midi.messages.size(), 6u);

    // One name in the pool: the same key answered twice sounds on, and the timer's one
    // note-off ends it.
    midi.messages.clear();
    PromptWith("A-1");
    ASSERT_TRUE(ClickFret(1, 6));
    ASSERT_TRUE(ClickFret(2, 1)) << "A-1 again, on the open A string";
    EXPECT_EQ(midi.messages, (std::vector<quint32>{0x00C0, PackShortMessage(0x90, 45, 127), 0x00C0,
                                                   PackShortMessage(0x90, 45, 127)}));
    timeout.Tick();
    EXPECT_EQ(midi.messages.back(), PackShortMessage(0x80, 45, 0));
    EXPECT_EQ(midi.messages.size(), 5u);
    form.noteTimeout = nullptr;
}

TEST_F(DrillTest, AnEmptyPoolPromptsNothingAndNoAnswerIsRight)
{
    Pool({});
    Send(EventStartOver);
    EXPECT_EQ(lesson.GetActiveNoteName(), QString());
    EXPECT_EQ(sheet.shown(), QString());
    ASSERT_TRUE(ClickFret(1, 1));
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Incorrect! Click on sheetnote for assistance."));
    lesson.GenerateNextNote();
    EXPECT_EQ(lesson.GetActiveNoteName(), QString());
}

TEST_F(DrillTest, StartOverMakesANewPromptFromTheCurrentPool)
{
    PromptWith("A-1");
    Pool({"C-1"});
    ASSERT_TRUE(Send(EventStartOver));
    EXPECT_EQ(lesson.GetActiveNoteName(), QStringLiteral("C-1"));
    EXPECT_EQ(lesson.intState, 1);
}

TEST_F(DrillTest, StaffClickShowsTheClickedNoteOnTheFretboard)
{
    PromptWith("A-1");
    sheet.PressLevel(QStringLiteral("Bb-1"));
    ASSERT_TRUE(Send(EventSheetClick));
    EXPECT_EQ(board.marks.last(), QStringLiteral("Bb-1")) << "the clicked note, not the prompt";
    EXPECT_TRUE(midi.messages.empty()) << "normal style plays nothing on a staff click";
}

TEST_F(DrillTest, EarTrainingPreviewsThePromptAndWaitsForTheButtonRelease)
{
    PlayNoteOnPrompt = true;
    PromptWith("A-1");
    EXPECT_EQ(sheet.prompt, GetPromptText());
    EXPECT_FALSE(sheet.promptPicture);

    // Staff click: the prompt sounds while the button is held.
    sheet.PressBeside();
    ASSERT_TRUE(Send(EventSheetClick));
    ASSERT_NE(lesson.GetPlayingNote(), nullptr);
    EXPECT_EQ(lesson.GetPlayingNote()->strNoteName, QStringLiteral("A-1"));
    EXPECT_EQ(midi.messages.back(), PackShortMessage(0x90, 45, 127));

    // Wrong answer: the chosen note sounds while held; no beep in this style.
    ASSERT_TRUE(ClickFret(1, 1));
    ASSERT_NE(lesson.GetPlayingNote(), nullptr);
    EXPECT_EQ(lesson.GetPlayingNote()->strNoteName, QStringLiteral("E-0"));
    EXPECT_EQ(form.beeps, 0);
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Incorrect! Click on sheetnote for assistance."));

    // Right answer: congratulations with the picture; the prompt stays until release.
    NextNotePending = false;
    ASSERT_TRUE(ClickFret(1, 6));
    EXPECT_EQ(sheet.prompt, GetCongratulationText());
    EXPECT_TRUE(sheet.promptPicture);
    EXPECT_TRUE(NextNotePending);
    EXPECT_EQ(lesson.GetPlayingNote(), nullptr);
    EXPECT_EQ(form.timeouts.size(), 1u);
    EXPECT_EQ(lesson.GetActiveNoteName(), QStringLiteral("A-1"));
}

TEST_F(DrillTest, ASoundFailureEndsTheEventWithItsMessageAndKeepsThePrompt)
{
    auto failing = std::make_unique<RecordingMidiOutput>(&midi);
    failing->sendError = 5;
    SetMidiOutput(std::move(failing));
    PromptWith("A-1");
    EXPECT_FALSE(ClickFret(1, 6));
    EXPECT_EQ(message, QStringLiteral("Midi error. ReturnCode from ' midiOutShortMsg()' is: 5."));
    EXPECT_EQ(lesson.GetActiveNoteName(), QStringLiteral("A-1"));
    EXPECT_TRUE(form.timeouts.empty());
}

TEST_F(DrillTest, ATimedTestCountsClicksRightAnswersAndAssistance)
{
    Pool({"A-1", "C-1"});
    Send(EventStartOver);
    TestState = TestArmed;

    board.PressBeside();
    ASSERT_TRUE(Send(EventFretboardClick)); // starts the test, hits nothing
    EXPECT_EQ(TestState, TestRunning);
    qint16 n = 0, r = 0, s = 0;
    lesson.GetTestResults(n, r, s);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(r, 0);

    for (int i = 0; i < 3; ++i) {
        const QString prompt = lesson.GetActiveNoteName();
        ASSERT_TRUE(prompt == QStringLiteral("A-1") ? ClickFret(1, 6) : ClickFret(2, 4));
    }
    ASSERT_TRUE(ClickFret(1, 1)); // wrong
    sheet.PressLevel(QStringLiteral("E-0"));
    ASSERT_TRUE(Send(EventSheetClick));
    sheet.PressBeside();
    ASSERT_TRUE(Send(EventSheetClick)); // beside every level: no assistance
    lesson.GetTestResults(n, r, s);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(r, 3);
    EXPECT_EQ(s, 1);

    // Once the test is over a click resets the counters.
    TestState = TestTimeOver;
    ASSERT_TRUE(ClickFret(1, 1));
    lesson.GetTestResults(n, r, s);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(s, 0);
}

TEST_F(DrillTest, ReArmingRestartsTheCountersAtOne)
{
    PromptWith("A-1");
    TestState = TestArmed;
    ClickFret(1, 6);
    ClickFret(1, 6);
    TestState = TestArmed;
    ClickFret(1, 1);
    qint16 n = 0, r = 0, s = 0;
    lesson.GetTestResults(n, r, s);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(s, 0);
}

TEST(DrillPick, DrawsUniformlyOverPositions)
{
    ResetSelection();
    for (const char* name : {"A-1", "A-1", "C-1"})
        VisiblePatNotes.Add({QString(), QString::fromLatin1(name)});
    DrillLesson lesson;
    SeedDrillRandom(99);
    int a = 0;
    const int draws = 6000;
    for (int i = 0; i < draws; ++i)
        a += PickVisiblePatternNote(lesson) == QStringLiteral("A-1") ? 1 : 0;
    EXPECT_NEAR(a / double(draws), 2.0 / 3.0, 0.03);
    VisiblePatNotes.Clear();
    EXPECT_EQ(PickVisiblePatternNote(lesson), QString());
}

TEST(DrillScore, TheScoreFigures)
{
    EXPECT_NEAR(ComputeTestScore(12, 10, 0, 30), 0.7576f, 0.0001f);
    EXPECT_EQ(ComputeTestScore(5, 2, 2, 30), 0.0f);
    EXPECT_EQ(ComputeTestScore(1, 1, 0, 30), 0.5f);
    EXPECT_EQ(ComputeTestScore(3, 1, 2, 30), 0.0f) << "more assists than right answers";
    EXPECT_EQ(ComputeTestScore(0, 0, 0, 30), 0.0f) << "no click made, no division by zero";
    EXPECT_FLOAT_EQ(ComputeTestScore(3, 1, 0, 10), 1.0f / 6.0f);
}
