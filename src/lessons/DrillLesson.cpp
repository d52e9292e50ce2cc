#include "lessons/DrillLesson.h"

#include "core/Messages.h"
#include "core/Selection.h"
#include "core/Settings.h"
#include "lessons/ActivityViews.h"
#include "lessons/AnswerRecorder.h"
#include "lessons/TimedTest.h"
#include "music/Notes.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("LessonGeneral", text);
}

constexpr int kRepeatRedraws = 5;

} // namespace


QString DrillLesson::CongratulationText()
{
    return Tr("Congratulations! You got it - if you want to, click on the sheet to hear the next note's sound.");
}

QString DrillLesson::PromptText()
{
    return Tr("Please click on the sheet to hear this note's sound.");
}

std::mt19937& DrillLesson::Random()
{
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

std::optional<FretPosition> DrillLesson::PickQuestion(const std::vector<FretPosition>& pool)
{
    if (pool.empty())
        return std::nullopt;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const size_t index = std::min(pool.size() - 1, static_cast<size_t>(std::floor(pool.size() * uniform(Random()))));
    return pool[index];
}

DrillLesson::Question DrillLesson::PickVisiblePatternNote()
{
    if (!context_.notes || !context_.selection)
        return {};
    const std::optional<FretPosition> cell =
        PickQuestion(QuestionPool(context_.notes->GetInstrument(), *context_.selection));
    if (!cell)
        return {};
    const std::optional<Note> note = context_.notes->GetNoteObjFromFretBoard(cell->string, cell->fret);
    return note ? Question{note->name, cell} : Question{};
}

void DrillLesson::Ask(const Question& question)
{
    testNoteName_ = question.name;
    promptPosition_ = question.position;
    promptShownMs_ = SteadyNowMs();
    assisted_ = false;
}

qint64 DrillLesson::SteadyNowMs() const
{
    if (context_.steadyClockMs)
        return context_.steadyClockMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

PracticeAnswer DrillLesson::MakeAnswer(FretPosition answered, const Note& answer, AnswerInput input) const
{
    PracticeAnswer a;
    a.answeredAtMs = QDateTime::currentMSecsSinceEpoch();
    if (const Settings* settings = context_.settings) {
        a.learnerKey = settings->currLearnerKey >= 0 ? settings->currLearnerKey : kNoLearner;
        a.lessonKey = settings->currLessonKey;
    }
    const bool testRunning = context_.test && context_.test->GetState() == TimedTest::State::Running;
    a.activity = testRunning ? PracticeActivity::Test : PracticeActivity::Drill;
    a.instrument = static_cast<int>(context_.notes->GetInstrument().Type());
    if (const Selection* selection = context_.selection) {
        a.key = selection->key;
        a.scale = selection->scale;
        a.pattern = selection->pattern;
    }
    a.promptNote = testNoteName_;
    a.promptPosition = promptPosition_;
    a.answerPosition = answered;
    a.answerNote = answer.name;
    a.correct = answer.name == testNoteName_;
    a.responseMs = static_cast<int>(std::clamp<qint64>(SteadyNowMs() - promptShownMs_, 0, INT_MAX));
    a.assisted = assisted_;
    a.input = input;
    return a;
}

void DrillLesson::ShowNoteInStatusBar(const QString& name)
{
    if (context_.host)
        context_.host->SetNotePanel(name);
}

void DrillLesson::NewPrompt()
{
    playingNote_.reset();
    Ask(PickVisiblePatternNote());
    if (context_.staff) {
        context_.staff->ShowNote(QString());
        context_.staff->ShowNote(testNoteName_);
        context_.staff->Refresh();
    }
    ShowNoteInStatusBar(testNoteName_);
    if (context_.settings && context_.settings->playNoteOnPrompt && context_.staff)
        context_.staff->SetPrompt(PromptText(), false);
}

bool DrillLesson::StartOver(QString&)
{
    NewPrompt();
    state_ = State::Prompted;
    return true;
}

bool DrillLesson::FretboardPressed(std::optional<FretPosition> cell, bool secondary, QString& message,
                                   AnswerInput input)
{
    if (state_ == State::NoPrompt) {
        // The first event only brings up the first question.
        NewPrompt();
        state_ = State::Prompted;
        return true;
    }
    if (context_.test)
        context_.test->FretboardPressed();
    if (!cell || !context_.notes)
        return true;
    // Any button but the primary one answers with the string's open note.
    const FretPosition answered{cell->string, secondary ? 1 : cell->fret};
    const std::optional<Note> answer = context_.notes->GetNoteObjFromFretBoard(answered.string, answered.fret);
    if (!answer)
        return true;
    if (testNoteName_.isEmpty())
        return WrongAnswer(*answer, input, message); // nothing was asked: no answer to keep
    PracticeAnswer kept = MakeAnswer(answered, *answer, input);
    return Judge(kept, *answer, message);
}

bool DrillLesson::Judge(PracticeAnswer& kept, const Note& answer, QString& message)
{
    OnAnswer(kept);
    const bool ok = kept.correct ? RightAnswer(answer, kept.input, message) : WrongAnswer(answer, kept.input, message);
    // Only queued: the answer has been judged and sounded already.
    if (context_.recorder)
        context_.recorder->Record(kept);
    return ok;
}

bool DrillLesson::NotePlayed(int midi, QString& message)
{
    if (state_ == State::NoPrompt) {
        NewPrompt();
        state_ = State::Prompted;
        return true;
    }
    if (!context_.notes)
        return true;
    if (context_.test)
        context_.test->FretboardPressed();
    const Note heard = NoteOfPitch(*context_.notes, midi);
    const std::optional<Note> prompt = context_.notes->GetNoteObject(testNoteName_);
    if (!prompt)
        return WrongAnswer(heard, AnswerInput::Microphone, message);
    const bool right = heard.midi == prompt->midi;
    // The ear cannot tell strings apart: a right note counts where it was asked, a wrong
    // one where the board first has it.
    const std::optional<FretPosition> where = right && promptPosition_ ? promptPosition_ : LowestCellOf(heard);
    PracticeAnswer kept = MakeAnswer(where.value_or(FretPosition{}), heard, AnswerInput::Microphone);
    kept.correct = right;
    return Judge(kept, heard, message);
}

std::optional<FretPosition> DrillLesson::LowestCellOf(const Note& note) const
{
    const Instrument& instrument = context_.notes->GetInstrument();
    for (int fret = 1; fret <= kFretPositions; ++fret)
        for (int string = instrument.StringCount(); string >= 1; --string) {
            const std::optional<Note> at = context_.notes->GetNoteObjFromFretBoard(string, fret);
            if (at && at->midi == note.midi)
                return FretPosition{string, fret};
        }
    return std::nullopt;
}

bool DrillLesson::RightAnswer(const Note& answer, AnswerInput input, QString& message)
{
    SetStatusText(Tr("Correct! Now try the next note."));
    const bool earTraining = context_.settings && context_.settings->playNoteOnPrompt;
    if (earTraining && context_.staff)
        context_.staff->SetPrompt(CongratulationText(), true);
    if (input == AnswerInput::Microphone) {
        // No button is held: nothing to wait for.
        GenerateNextNote();
        return true;
    }
    if (!PlayNote(answer, false, message))
        return false;
    if (context_.host)
        context_.host->StartNoteTimeout(answer);
    if (earTraining)
        nextNotePending_ = true;
    else
        GenerateNextNote();
    return true;
}

bool DrillLesson::WrongAnswer(const Note& answer, AnswerInput input, QString& message)
{
    playingNote_.reset();
    const bool played = input == AnswerInput::Microphone;
    if (context_.settings && context_.settings->playNoteOnPrompt) {
        if (context_.staff)
            context_.staff->SetPrompt(PromptText(), false);
        // The wrongly chosen note sounds while the button is held.
        if (!played && !PlayNote(answer, true, message))
            return false;
    } else if (context_.settings && context_.settings->beepOnError && context_.host) {
        context_.host->Beep();
    }
    if (played)
        SetStatusText(Tr("Incorrect! You played %1. Click on sheetnote for assistance.").arg(answer.name));
    else
        SetStatusText(Tr("Incorrect! Click on sheetnote for assistance."));
    return true;
}

void DrillLesson::FretboardReleased()
{
    if (nextNotePending_) {
        nextNotePending_ = false;
        GenerateNextNote();
    }
    StopPlayingNote();
}

bool DrillLesson::StaffPressed(std::optional<int> level, bool, QString& message)
{
    if (state_ == State::NoPrompt) {
        NewPrompt();
        state_ = State::Prompted;
        return true;
    }
    if (level && context_.staff) {
        assisted_ = true;
        if (context_.board) {
            context_.board->MarkNote(context_.staff->ShownNoteAt(*level));
            context_.board->Refresh();
        }
        if (context_.test)
            context_.test->CountAssist();
    }
    if (!context_.settings || !context_.settings->playNoteOnPrompt) {
        playingNote_.reset();
        return true;
    }
    if (context_.staff)
        context_.staff->SetPrompt(PromptText(), false);
    const std::optional<Note> prompt = context_.notes && !testNoteName_.isEmpty()
        ? context_.notes->GetNoteObject(testNoteName_) : std::nullopt;
    if (!prompt) {
        playingNote_.reset();
        return true;
    }
    return PlayNote(*prompt, true, message); // the prompt sounds while the button is held
}

void DrillLesson::GenerateNextNote()
{
    const QString previous = testNoteName_;
    Question candidate = PickVisiblePatternNote();
    for (int redraw = 0; redraw < kRepeatRedraws && candidate.name == testNoteName_; ++redraw)
        candidate = PickVisiblePatternNote();
    if (candidate.name.isEmpty())
        candidate = {testNoteName_, promptPosition_};
    Ask(candidate);
    if (context_.staff) {
        context_.staff->ShowNote(QString());
        if (context_.settings && context_.settings->playNoteOnPrompt && context_.settings->echoEnabled)
            context_.staff->ShowEcho(previous);
        context_.staff->ShowNote(candidate.name);
        context_.staff->Refresh();
    }
    ShowNoteInStatusBar(candidate.name);
    if (context_.board) {
        context_.board->MarkNote(QString());
        context_.board->Refresh();
    }
    if (context_.test)
        context_.test->CountRightAnswer();
}
