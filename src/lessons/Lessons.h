#pragma once
// The numbered lessons of the drill, keyed by their number as text ("1".."6"). The
// main window fills one at start-up and keeps it for the whole run; the setting
// "CurrLessonKey" names the current one.

#include "core/Collection.h"
#include "lessons/DrillLesson.h"

#include <memory>

struct Selection;
struct Settings;

struct LessonsItem {
    QString key;
    std::unique_ptr<DrillLesson> lesson;
};

class Lessons : public Collection<LessonsItem> {
public:
    // Lessons 1..6 under "1".."6".
    void AddNumberedLessons();
    // The lesson under key; null when there is none.
    DrillLesson* Lesson(int key) const;
};

// The key, scale and pattern a lesson drills: its own, or for the custom-scale lesson
// the learner's choice in the settings. Visible patterns: the one pattern.
Selection LessonSelection(const LessonInterface& lesson, const Settings& settings);
