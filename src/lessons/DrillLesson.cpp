#include "lessons/DrillLesson.h"

#include "core/Messages.h"
#include "core/Selection.h"
#include "core/Settings.h"
#include "lessons/ActivityViews.h"
#include "lessons/TimedTest.h"
#include "music/Notes.h"

#include <QCoreApplication>

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

QString DrillLesson::PickVisiblePatternNote()
{
    if (!context_.notes || !context_.selection)
        return QString();
    const std::optional<FretPosition> cell =
        PickQuestion(QuestionPool(context_.notes->GetInstrument(), *context_.selection));
    if (!cell)
        return QString();
    const std::optional<Note> note = context_.notes->GetNoteObjFromFretBoard(cell->string, cell->fret);
    return note ? note->name : QString();
}

void DrillLesson::ShowNoteInStatusBar(const QString& name)
{
    if (context_.host)
        context_.host->SetNotePanel(name);
}

void DrillLesson::NewPrompt()
{
    playingNote_.reset();
    testNoteName_ = PickVisiblePatternNote();
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

bool DrillLesson::FretboardPressed(std::optional<FretPosition> cell, bool secondary, QString& message)
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
    const int fret = secondary ? 1 : cell->fret;
    const std::optional<Note> answer = context_.notes->GetNoteObjFromFretBoard(cell->string, fret);
    if (!answer)
        return true;
    if (!testNoteName_.isEmpty() && answer->name == testNoteName_)
        return RightAnswer(*answer, message);
    return WrongAnswer(*answer, message);
}

bool DrillLesson::RightAnswer(const Note& answer, QString& message)
{
    SetStatusText(Tr("Correct! Now try the next note."));
    const bool earTraining = context_.settings && context_.settings->playNoteOnPrompt;
    if (earTraining && context_.staff)
        context_.staff->SetPrompt(CongratulationText(), true);
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

bool DrillLesson::WrongAnswer(const Note& answer, QString& message)
{
    playingNote_.reset();
    if (context_.settings && context_.settings->playNoteOnPrompt) {
        if (context_.staff)
            context_.staff->SetPrompt(PromptText(), false);
        // The wrongly chosen note sounds while the button is held.
        if (!PlayNote(answer, true, message))
            return false;
    } else if (context_.settings && context_.settings->beepOnError && context_.host) {
        context_.host->Beep();
    }
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
    QString candidate = PickVisiblePatternNote();
    for (int redraw = 0; redraw < kRepeatRedraws && candidate == testNoteName_; ++redraw)
        candidate = PickVisiblePatternNote();
    if (candidate.isEmpty())
        candidate = testNoteName_;
    testNoteName_ = candidate;
    if (context_.staff) {
        context_.staff->ShowNote(QString());
        if (context_.settings && context_.settings->playNoteOnPrompt && context_.settings->echoEnabled)
            context_.staff->ShowEcho(previous);
        context_.staff->ShowNote(candidate);
        context_.staff->Refresh();
    }
    ShowNoteInStatusBar(candidate);
    if (context_.board) {
        context_.board->MarkNote(QString());
        context_.board->Refresh();
    }
    if (context_.test)
        context_.test->CountRightAnswer();
}
