#pragma once
// The six drill lessons. They differ only in the values they start with; the drill
// itself is DrillLesson's. Key 4 is C, scale 1 major; pattern 6 is "All Patterns" and
// 0 none (the drill then asks about every position of pattern 6).
//
//   1 "Lesson 1 - Start"                     pattern 4
//   2 "Lesson 2 - Learn second pattern"      pattern 1
//   3 "Lesson 3 - Cover the rest"            pattern 3
//   4 "Lesson 4 - Complete fretboard"        all patterns, shown
//   5 "Lesson 5 - Custom scales"             the learner's own key, scale and pattern
//   6 "Lesson 6 - Complete clear fretboard"  no pattern shown

#include "lessons/DrillLesson.h"

#include <memory>

// Lesson 5: its key and scale follow the learner's custom choice through ReInitialize.
class CustomScaleLesson : public DrillLesson {
public:
    void ReInitialize(int newKey, int newScale) override;
};

// Lesson n (1..6); null for any other number.
std::unique_ptr<DrillLesson> MakeNumberedLesson(int number);
