#pragma once
// What show me and free play have in common: they prompt nothing and judge nothing, so
// a press on the staff or the fretboard only shows, sounds and names the note pressed.
// Only the height of a staff press counts. The first event after the activity is taken
// up only sets it up.

#include "lessons/LessonInterface.h"

class FreeActivity : public LessonInterface {
public:
    bool StartOver(QString& message) final;
    bool FretboardPressed(std::optional<FretPosition> cell, bool secondary, QString& message,
                          AnswerInput input = AnswerInput::Mouse) final;
    bool StaffPressed(std::optional<int> level, bool secondary, QString& message) final;
    bool StaffHovered(std::optional<int> level, QString& message) final;
    bool AnswersStaffByHeight() const final { return true; }

    // The lowest and highest names a staff can show lie beyond the guitar's fretboard:
    // they are never drawn or sounded from the staff.
    static bool IsExcludedSheetName(const QString& name);

protected:
    FreeActivity(const QString& activityName, LessonType lessonType);

    virtual void SetUp() {}
    virtual bool OnFretboard(const Note& note, QString& message) = 0;
    virtual bool OnStaff(int level, bool secondary, QString& message) = 0;
    virtual void OnStaffHover(int level) { Q_UNUSED(level) }

    // The level's first note, or its second (the first when it has one) for a secondary
    // press; none for an empty level.
    std::optional<Note> LevelNote(int level, bool secondary) const;

private:
    // True when this event only set the activity up.
    bool SetUpOnFirstEvent();

    bool ready_ = false;
};
