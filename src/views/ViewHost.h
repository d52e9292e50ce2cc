#pragma once
// What the views need of the window that holds them: the activity that receives their
// mouse events, the current lesson, the main window as the activities see it, the test
// clock that an armed test's first fretboard click starts, the caption, and the way
// out when the program cannot go on.

#include "lessons/LessonInterface.h"

class ViewHost {
public:
    virtual ~ViewHost() = default;
    // The current activity's receiver; null while playing with patterns.
    virtual LessonInterface* CurrentReceiver() = 0;
    // The numbered lesson keyed by CurrLessonKey; null when there is none.
    virtual LessonInterface* CurrentLesson() = 0;
    virtual StartupFormInterface* StartupForm() = 0;
    virtual void StartTestClock() = 0;
    virtual void GenerateStartupFormName() {}
    // Called after a message the program cannot recover from has been shown.
    virtual void EndProgram() = 0;
};
