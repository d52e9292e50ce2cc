// What the drill keeps of every answer, and "Practise weak notes": the drill whose
// questions follow the learner's weak positions.
#include "lessons/DrillFixture.h"

#include "lessons/WeakNotesPractice.h"
#include "music/PatternLayout.h"

namespace {

constexpr int kKeyG = 11;
constexpr int kFSharp = 9; // semitones above A

bool IsFSharp(const QString& name)
{
    return NoteIndex(name) % 12 == kFSharp;
}

using DrillAnswers = DrillFixture;

} // namespace

TEST_F(DrillAnswers, EveryPressOnACellIsKeptWithWhatWasAskedAndHowItWent)
{
    enum class Look { None, AtThePrompt, BesideTheLevels }; // at the staff, before answering
    struct Case {
        const char* what;
        Look look;
        FretPosition pressed;
        bool secondary;
        FretPosition answered;
        const char* answerNote;
        bool correct;
        bool assisted;
    };
    const Case cases[] = {
        {"right", Look::None, kA1, false, kA1, "A-1", true, false},
        {"wrong", Look::None, kC1, false, kC1, "C-1", false, false},
        {"secondary button: the open string", Look::None, {3, 9}, true, {3, 1}, "D-1", false, false},
        {"after a look at the staff", Look::AtThePrompt, kA1, false, kA1, "A-1", true, true},
        {"a look beside every level is no help", Look::BesideTheLevels, kA1, false, kA1, "A-1", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kept.answers.clear();
        Prompt(kA1);
        clockMs += 1234; // the learner thinks
        if (c.look == Look::AtThePrompt)
            drill.StaffPressed(staff.LevelOf(QStringLiteral("A-1")), false, message);
        else if (c.look == Look::BesideTheLevels)
            drill.StaffPressed(std::nullopt, false, message);
        ASSERT_TRUE(Press(c.pressed, c.secondary)) << message.toStdString();
        ASSERT_EQ(kept.answers.size(), 1U);
        const PracticeAnswer& a = kept.answers.front();
        EXPECT_EQ(a.promptNote, QStringLiteral("A-1"));
        EXPECT_EQ(a.promptPosition, kA1);
        EXPECT_EQ(a.answerPosition, c.answered);
        EXPECT_EQ(a.answerNote, QLatin1String(c.answerNote));
        EXPECT_EQ(a.correct, c.correct);
        EXPECT_EQ(a.assisted, c.assisted);
        EXPECT_EQ(a.responseMs, 1234);
    }

    // A wrong answer leaves the question: the next answer's time still runs from it,
    // and a look at the staff before it still counts.
    kept.answers.clear();
    Prompt(kA1);
    clockMs += 500;
    ASSERT_TRUE(drill.StaffPressed(staff.LevelOf(QStringLiteral("A-1")), false, message));
    Press(kC1);
    clockMs += 700;
    Press(kA1);
    ASSERT_EQ(kept.answers.size(), 2U);
    EXPECT_EQ(kept.answers[1].responseMs, 1200);
    EXPECT_TRUE(kept.answers[1].assisted);
    // The next question starts afresh.
    clockMs += 300;
    Answer(true);
    ASSERT_EQ(kept.answers.size(), 3U);
    EXPECT_EQ(kept.answers[2].responseMs, 300);
    EXPECT_FALSE(kept.answers[2].assisted);

    // Presses beside the cells, and the press that only brings the first question, are no answers.
    kept.answers.clear();
    ASSERT_TRUE(drill.FretboardPressed(std::nullopt, false, message));
    ScriptedDrill fresh;
    fresh.SetContext(context);
    ASSERT_TRUE(fresh.FretboardPressed(kA1, false, message));
    EXPECT_TRUE(kept.answers.empty());
}

TEST_F(DrillAnswers, APlayedNoteCountsWhereItWasAskedWhenRightAndWhereTheBoardFirstHasItWhenWrong)
{
    struct Case {
        const char* what;
        int midi;
        bool earTraining;
        bool correct;
        QString heard;
        FretPosition where;
    };
    const Case cases[] = {
        // A-1 is also the open A string: a right note keeps the asked place.
        {"the prompt", 45, false, true, QStringLiteral("A-1"), kA1},
        {"the prompt, ear training", 45, true, true, QStringLiteral("A-1"), kA1},
        {"B-1", 47, false, false, QStringLiteral("B-1"), {2, 3}},
        {"an A below the guitar's strings", 33, false, false, QStringLiteral("A-0"), {}},
        {"a bass's E below the note table", 28, false, false, QStringLiteral("E"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.playNoteOnPrompt = c.earTraining;
        kept.answers.clear();
        player.events.clear();
        drill.script = {kA1, kC1};
        drill.StartOver(message); // asks kA1, then kC1
        ASSERT_EQ(drill.GetActiveNoteName(), QStringLiteral("A-1"));
        ASSERT_TRUE(drill.NotePlayed(c.midi, message)) << message.toStdString();
        ASSERT_EQ(kept.answers.size(), 1U);
        const PracticeAnswer& a = kept.answers[0];
        EXPECT_EQ(a.input, AnswerInput::Microphone);
        EXPECT_EQ(a.correct, c.correct);
        EXPECT_EQ(a.answerNote, c.heard);
        EXPECT_EQ(a.answerPosition, c.where);
        EXPECT_EQ(a.promptPosition, kA1);
        EXPECT_TRUE(player.events.empty()) << "the instrument has sounded it already";
        // No button will be released: a right answer moves on at once.
        EXPECT_EQ(drill.GetActiveNoteName(), c.correct ? QStringLiteral("C-1") : QStringLiteral("A-1"));
    }
}

TEST_F(DrillAnswers, AnAnswerSaysWhoGaveItInWhichLessonAndActivityAndHow)
{
    settings.currLearnerKey = 3;
    settings.currLessonKey = 4;
    Prompt(kA1);
    ASSERT_TRUE(drill.FretboardPressed(kA1, false, message, AnswerInput::Keyboard));
    recorder.answers = {MsgOk};
    test.ArmTest();
    Answer(false); // starts the test
    settings.currLearnerKey = -1;
    test.Stop();
    Answer(true);
    ASSERT_EQ(kept.answers.size(), 3U);

    const PracticeAnswer& first = kept.answers[0];
    EXPECT_EQ(first.learnerKey, 3);
    EXPECT_EQ(first.lessonKey, 4);
    EXPECT_EQ(first.activity, PracticeActivity::Drill);
    EXPECT_EQ(first.instrument, 0);
    EXPECT_EQ(first.tuning, QStringLiteral("standard"));
    EXPECT_EQ(first.key, 4);
    EXPECT_EQ(first.scale, ScaleMajor);
    EXPECT_EQ(first.pattern, kAllPatterns);
    EXPECT_EQ(first.input, AnswerInput::Keyboard);
    EXPECT_GT(first.answeredAtMs, 1'600'000'000'000LL) << "wall-clock time of the answer";
    EXPECT_EQ(kept.answers[1].activity, PracticeActivity::Test);
    EXPECT_EQ(kept.answers[1].input, AnswerInput::Mouse);
    EXPECT_EQ(kept.answers[2].activity, PracticeActivity::Drill);
    EXPECT_EQ(kept.answers[2].learnerKey, kNoLearner);
}

namespace {

// The drill and the weak-note practice side by side on G major over the whole board.
class WeakNotesTest : public DrillFixture {
protected:
    WeakNotesTest()
    {
        selection.key = kKeyG;
        selection.ShowOnly(kAllPatterns);
        staff.SetScale(notes, kKeyG, ScaleMajor);
        ActivityContext practiceContext = context;
        practiceContext.test = nullptr; // no timed test in practice
        practice.SetContext(practiceContext);
    }

    // A learner who always misses F# first, then finds it where it was asked; every
    // other note at once. Each press takes a second. Returns how many of the questions
    // asked for F#, and counts the positions asked twice in a row.
    int Drill(DrillLesson& lesson, int prompts)
    {
        lesson.StartOver(message);
        int fSharps = 0;
        std::optional<FretPosition> previous;
        for (int i = 0; i < prompts; ++i) {
            const QString asked = lesson.GetActiveNoteName();
            repeats += lesson.PromptPosition() == previous ? 1 : 0;
            previous = lesson.PromptPosition();
            if (IsFSharp(asked)) {
                ++fSharps;
                clockMs += 1000;
                lesson.FretboardPressed(CellOf(asked, false), false, message);
            }
            clockMs += 1000;
            lesson.FretboardPressed(*lesson.PromptPosition(), false, message);
            lesson.FretboardReleased();
        }
        return fSharps;
    }
    // How many of count fresh starts of the practice ask for F#, for a learner.
    int FirstQuestionsOnFSharp(int learner, int count)
    {
        settings.currLearnerKey = static_cast<qint16>(learner);
        int fSharps = 0;
        for (int i = 0; i < count; ++i) {
            practice.StartOver(message);
            fSharps += IsFSharp(practice.GetActiveNoteName()) ? 1 : 0;
        }
        EXPECT_EQ(kept.reads.back(), std::make_pair(learner, 0)) << "the learner's answers on the guitar";
        return fSharps;
    }

    WeakNotesPractice practice;
    int repeats = 0;
};

} // namespace

// The lessons keep their uniform draw; the practice starts from the answers of the
// learner at hand, goes on from its own, and never asks one position twice in a row.
TEST_F(WeakNotesTest, ALearnerWhoAlwaysMissesFSharpGetsItThreeTimesAsOftenAsTheLessonsAsk)
{
    const auto pool = QuestionPool(notes.GetInstrument(), selection);
    int fSharpCells = 0;
    for (const FretPosition& cell : pool)
        fSharpCells += IsFSharp(notes.GetNoteObjFromFretBoard(cell.string, cell.fret)->name) ? 1 : 0;
    ASSERT_GT(fSharpCells, 0);
    const double share = double(fSharpCells) / double(pool.size());
    constexpr int kPrompts = 1000;

    settings.currLearnerKey = kNoLearner;
    const int inLesson = Drill(drill, kPrompts);
    EXPECT_LT(inLesson, 2 * share * kPrompts) << "the lessons keep their uniform draw";
    EXPECT_LT(FirstQuestionsOnFSharp(2, 200), 2 * share * 200) << "learner 2 has answered nothing";
    EXPECT_GE(FirstQuestionsOnFSharp(kNoLearner, 200), 3 * share * 200);
    repeats = 0;
    const int inPractice = Drill(practice, kPrompts);
    EXPECT_GE(inPractice, 3 * share * kPrompts) << inPractice << " F# prompts against " << share * kPrompts;
    EXPECT_EQ(repeats, 0);
}
