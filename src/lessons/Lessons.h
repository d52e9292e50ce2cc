#pragma once
// The numbered lessons of the drill, keyed by their number as text ("1".."6"). The
// main window fills one Lessons at start-up and keeps it for the whole run; the
// setting CurrLessonKey names the current one.

#include "core/Collection.h"
#include "lessons/LessonInterface.h"

#include <memory>

struct LessonsItem {
    QString Key;
    std::unique_ptr<LessonInterface> objLesson;
};

class Lessons : public Collection<LessonsItem> {
public:
    // Stores objLesson under key (without key when empty) and returns the new entry.
    LessonsItem& Add(const QString& key, std::unique_ptr<LessonInterface> objLesson);
};

// Adds LessonOne..LessonSix under "1".."6", in that order.
void AddNumberedLessons(Lessons& collLessons);

// The lesson keyed by CurrLessonKey; null when there is no such entry or it holds no
// lesson (the caller reports that and ends the program).
LessonInterface* GetCurrentLesson(const Lessons& collLessons);
