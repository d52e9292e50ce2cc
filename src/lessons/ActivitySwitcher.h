#pragma once
// Which activity runs and who hears the views' presses. The main window asks it to
// switch and does the window's part (menu marks, tabs, the boards) on its signals; the
// views' presses come here and go to the current activity: the current lesson in the
// drill, the weak-note practice, the free-play or show-me object, nobody while playing
// with patterns.

#include "lessons/LessonInterface.h"

#include <QObject>

class ActivityHost;
class DrillLesson;
class Lessons;
class LessonFreePlay;
class LessonShowMe;
struct Settings;

class ActivitySwitcher : public QObject {
    Q_OBJECT
public:
    ActivitySwitcher(const Settings& settings, Lessons& lessons, LessonFreePlay& freePlay, LessonShowMe& showMe,
                     ActivityHost* host, QObject* parent = nullptr);

    // The drill of "Practise weak notes"; without one that activity hears nothing.
    void SetPractice(DrillLesson* practice) { practice_ = practice; }

    Activity Current() const { return current_; }
    // The lesson under "CurrLessonKey"; null when there is none.
    DrillLesson* CurrentLesson() const;
    // Who hears the views: null while playing with patterns.
    LessonInterface* CurrentReceiver() const;

    // Switches to activity. A switch asked for while one is under way (a tab change it
    // caused) is refused. switchTab selects the activity's page as well.
    void SetActivity(Activity activity, bool switchTab);

    // The current activity starts over. False after its failure has been shown: the
    // program cannot go on.
    bool StartOver();

    // The views' presses, handed on. A failure's message is shown; in show me and free
    // play the "Note" panel then names the activity's note.
    void FretboardPressed(std::optional<FretPosition> cell, bool secondary, AnswerInput input = AnswerInput::Mouse);
    void FretboardReleased();
    // A note played on the instrument (MIDI number), for the current activity.
    void NotePlayed(int midi);
    void StaffPressed(std::optional<int> level, bool secondary);
    void StaffHovered(std::optional<int> level);
    void StaffReleased();

signals:
    // A trainer-page activity (show me, drill, weak notes, free play) was chosen: its menu entry
    // carries the mark, and the trainer page shows the drill's selection again.
    void trainerActivityChosen(Activity activity);
    // The page of the activity, 0 "Trainer" or 1 "Patterns", is to be shown.
    void pageRequested(int page);
    // The switch is complete.
    void activitySet(Activity activity);

private:
    void AfterPress(bool ok, const QString& message);

    const Settings& settings_;
    Lessons& lessons_;
    LessonFreePlay& freePlay_;
    LessonShowMe& showMe_;
    DrillLesson* practice_ = nullptr;
    ActivityHost* host_ = nullptr;
    Activity current_ = Activity::Drill;
    bool switching_ = false;
};
