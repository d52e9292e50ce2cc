#pragma once
// The six drill lessons. They differ only in the values they start with; the drill
// itself is DrillLesson's. Key 4 is C, scale 1 major; pattern 6 is "All Patterns" and
// 0 none (the drill then draws from every position of pattern 6).
//
//   1 "Lesson 1 - Start"                     pattern 4
//   2 "Lesson 2 - Learn second pattern"      pattern 1
//   3 "Lesson 3 - Cover the rest"            pattern 3
//   4 "Lesson 4 - Complete fretboard"        all patterns, shown
//   5 "Lesson 5 - Custom scales"             the learner's own key, scale and pattern
//   6 "Lesson 6 - Complete clear fretboard"  no pattern shown

#include "lessons/DrillLesson.h"

class LessonOne : public DrillLesson {
public:
    LessonOne();
};

class LessonTwo : public DrillLesson {
public:
    LessonTwo();
};

class LessonThree : public DrillLesson {
public:
    LessonThree();
};

class LessonFour : public DrillLesson {
public:
    LessonFour();
};

// Uses the custom key, scale and pattern of the settings (lesson type 3); its own
// intKey and intScale follow the custom choice only through ReInitialize.
class LessonFive : public DrillLesson {
public:
    LessonFive();
    // Takes newKey and newScale as intKey and intScale. Throws std::out_of_range, and
    // changes nothing, when either does not fit 16 bits.
    void ReInitialize(qint32 newKey, qint32 newScale, StartupFormInterface* startupForm,
                      SheetInterface* objSheet, FretboardInterface* objFretboard, notes& objNotes) override;
};

class LessonSix : public DrillLesson {
public:
    LessonSix();
};
