#include "lessons/ActivitySwitcher.h"

#include "core/Messages.h"
#include "core/Settings.h"
#include "lessons/ActivityViews.h"
#include "lessons/LessonFreePlay.h"
#include "lessons/LessonShowMe.h"
#include "lessons/Lessons.h"

#include <QCoreApplication>

namespace {

QString StatusTextOf(Activity activity)
{
    switch (activity) {
    case Activity::ShowMe:
        return QCoreApplication::translate("FrmStartup", "Click on sheet or fretboard to show associated note.");
    case Activity::Drill:
        return QCoreApplication::translate("FrmStartup", "Click on the fretboard to show the note position.");
    case Activity::WeakNotes:
        return QCoreApplication::translate("FrmStartup",
                                           "Weak notes come more often, never the same place twice in a row. "
                                           "Click on the fretboard to show the note position.");
    case Activity::FreePlay:
        return QCoreApplication::translate("FrmStartup", "Click on either sheet or fretboard to sound the note.");
    case Activity::PatternPlay:
        return QCoreApplication::translate("FrmStartup", "Change the selectors to see where the pattern moves.");
    }
    return QString();
}

} // namespace

ActivitySwitcher::ActivitySwitcher(const Settings& settings, Lessons& lessons, LessonFreePlay& freePlay,
                                   LessonShowMe& showMe, ActivityHost* host, QObject* parent)
    : QObject(parent)
    , settings_(settings)
    , lessons_(lessons)
    , freePlay_(freePlay)
    , showMe_(showMe)
    , host_(host)
{
}

DrillLesson* ActivitySwitcher::CurrentLesson() const
{
    return lessons_.Lesson(settings_.currLessonKey);
}

LessonInterface* ActivitySwitcher::CurrentReceiver() const
{
    switch (current_) {
    case Activity::ShowMe:
        return &showMe_;
    case Activity::Drill:
        return CurrentLesson();
    case Activity::WeakNotes:
        return practice_;
    case Activity::FreePlay:
        return &freePlay_;
    case Activity::PatternPlay:
        return nullptr;
    }
    return nullptr;
}

void ActivitySwitcher::SetActivity(Activity activity, bool switchTab)
{
    if (switching_)
        return;
    switching_ = true;
    current_ = activity;
    const bool patternPlay = activity == Activity::PatternPlay;
    if (!patternPlay)
        emit trainerActivityChosen(activity);
    if (switchTab)
        emit pageRequested(patternPlay ? 1 : 0);
    SetStatusText(StatusTextOf(activity));
    emit activitySet(activity);
    switching_ = false;
}

bool ActivitySwitcher::StartOver()
{
    LessonInterface* receiver = CurrentReceiver();
    if (!receiver)
        return true;
    QString message;
    if (receiver->StartOver(message))
        return true;
    ShowMessage(message, MsgPlain);
    return false;
}

void ActivitySwitcher::AfterPress(bool ok, const QString& message)
{
    if (!ok) {
        ShowMessage(message, MsgPlain);
        return;
    }
    if ((current_ == Activity::FreePlay || current_ == Activity::ShowMe) && host_)
        host_->SetNotePanel(CurrentReceiver()->GetActiveNoteName());
}

void ActivitySwitcher::FretboardPressed(std::optional<FretPosition> cell, bool secondary, AnswerInput input)
{
    LessonInterface* receiver = CurrentReceiver();
    if (!receiver)
        return;
    QString message;
    const bool ok = receiver->FretboardPressed(cell, secondary, message, input);
    AfterPress(ok, message);
}

void ActivitySwitcher::NotePlayed(int midi)
{
    LessonInterface* receiver = CurrentReceiver();
    if (!receiver)
        return;
    QString message;
    if (!receiver->NotePlayed(midi, message))
        ShowMessage(message, MsgPlain);
}

void ActivitySwitcher::FretboardReleased()
{
    if (LessonInterface* receiver = CurrentReceiver())
        receiver->FretboardReleased();
}

void ActivitySwitcher::StaffPressed(std::optional<int> level, bool secondary)
{
    LessonInterface* receiver = CurrentReceiver();
    if (!receiver)
        return;
    // The drills have no use for a level's second note.
    const bool second = secondary && current_ != Activity::Drill && current_ != Activity::WeakNotes;
    QString message;
    const bool ok = receiver->StaffPressed(level, second, message);
    AfterPress(ok, message);
}

void ActivitySwitcher::StaffHovered(std::optional<int> level)
{
    LessonInterface* receiver = CurrentReceiver();
    if (!receiver || current_ != Activity::FreePlay)
        return;
    QString message;
    const bool ok = receiver->StaffHovered(level, message);
    AfterPress(ok, message);
}

void ActivitySwitcher::StaffReleased()
{
    if (LessonInterface* receiver = CurrentReceiver())
        receiver->StaffReleased();
}
