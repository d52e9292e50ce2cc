// What the drill keeps of every answer, and "Practise weak notes": the drill whose
// questions follow the learner's weak positions.
#include "lessons/DrillFixture.h"

#include "lessons/WeakNotesPractice.h"
#include "music/PatternLayout.h"

#include <algorithm>
#include <map>

namespace {

constexpr FretPosition kA1{1, 6}; // string 1, fret 5: "A-1"
constexpr FretPosition kC1{2, 4}; // string 2, fret 3: "C-1"
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

// The drill and the weak-note practice side by side on G major over the whole board,
// the guitar's whole fretboard of pattern 6.
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
    // asked for F#.
    int Drill(DrillLesson& lesson, int prompts)
    {
        lesson.StartOver(message);
        int fSharps = 0;
        for (int i = 0; i < prompts; ++i) {
            const QString asked = lesson.GetActiveNoteName();
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

    WeakNotesPractice practice;
};

} // namespace

TEST_F(WeakNotesTest, ALearnerWhoAlwaysMissesFSharpGetsItThreeTimesAsOftenAsTheLessonsAsk)
{
    const auto pool = QuestionPool(notes.GetInstrument(), selection);
    int fSharpCells = 0;
    for (const FretPosition& cell : pool)
        fSharpCells += IsFSharp(notes.GetNoteObjFromFretBoard(cell.string, cell.fret)->name) ? 1 : 0;
    ASSERT_GT(fSharpCells, 0);
    constexpr int kPrompts = 1000;
    const double uniform = kPrompts * double(fSharpCells) / double(pool.size());

    const int inLesson = Drill(drill, kPrompts);
    EXPECT_LT(inLesson, 2 * uniform) << "the lessons keep their uniform draw";
    const int inPractice = Drill(practice, kPrompts);
    EXPECT_GE(inPractice, 3 * uniform) << inPractice << " F# prompts against " << uniform << " uniform";
}

TEST_F(WeakNotesTest, PracticeNeverAsksThePositionJustAskedAndDrawsFromTheLearnersOwnAnswers)
{
    const auto pool = QuestionPool(notes.GetInstrument(), selection);
    ASSERT_NE(std::find(pool.begin(), pool.end(), kA1), pool.end());
    ASSERT_NE(std::find(pool.begin(), pool.end(), kC1), pool.end());
    // Every position answered right, quickly; then learner 2 keeps missing the A at
    // kA1, and whoever practised without a learner keeps missing the C at kC1.
    for (const int learner : {2, int(kNoLearner)}) {
        for (int round = 0; round < 3; ++round)
            for (const FretPosition& cell : pool) {
                PracticeAnswer right;
                right.learnerKey = learner;
                right.promptPosition = right.answerPosition = cell;
                right.correct = true;
                right.responseMs = 900;
                kept.answers.push_back(right);
            }
        for (int i = 0; i < 5; ++i) {
            PracticeAnswer missed;
            missed.learnerKey = learner;
            missed.promptPosition = learner == 2 ? kA1 : kC1;
            missed.answerPosition = {1, 1};
            missed.responseMs = 900;
            kept.answers.push_back(missed);
        }
    }
    const auto firstQuestions = [&](int learner) {
        settings.currLearnerKey = static_cast<qint16>(learner);
        std::map<QString, int> asked;
        for (int i = 0; i < 200; ++i) {
            practice.StartOver(message);
            ++asked[practice.GetActiveNoteName()];
        }
        EXPECT_EQ(kept.reads.back(), std::make_pair(learner, 0)) << "the learner's answers on the guitar";
        return asked;
    };
    auto asked = firstQuestions(2);
    EXPECT_GT(asked[QStringLiteral("A-1")], 2 * asked[QStringLiteral("C-1")]);
    asked = firstQuestions(kNoLearner);
    EXPECT_GT(asked[QStringLiteral("C-1")], 2 * asked[QStringLiteral("A-1")]);

    std::optional<FretPosition> previous;
    practice.StartOver(message);
    for (int i = 0; i < 400; ++i) {
        practice.FretboardPressed(CellOf(practice.GetActiveNoteName()), false, message);
        const PracticeAnswer& answer = kept.answers.back();
        ASSERT_EQ(answer.activity, PracticeActivity::Practice);
        ASSERT_NE(answer.promptPosition, previous) << "the same position twice in a row at question " << i;
        previous = answer.promptPosition;
    }
}
