#include "lessons/NumberedLessons.h"

#include "music/Scales.h"

#include <QCoreApplication>

#include <array>

namespace {

struct LessonDefinition {
    const char* name;
    LessonType type;
    int validPattern;
    int selectedPattern;
};

constexpr std::array<LessonDefinition, 6> kLessons = {{
    {QT_TRANSLATE_NOOP("Lessons", "Lesson 1 - Start"), LessonType::FixedScale, 4, 4},
    {QT_TRANSLATE_NOOP("Lessons", "Lesson 2 - Learn second pattern"), LessonType::FixedScale, 1, 1},
    {QT_TRANSLATE_NOOP("Lessons", "Lesson 3 - Cover the rest"), LessonType::FixedScale, 3, 3},
    {QT_TRANSLATE_NOOP("Lessons", "Lesson 4 - Complete fretboard"), LessonType::FixedScale, 6, 6},
    {QT_TRANSLATE_NOOP("Lessons", "Lesson 5 - Custom scales"), LessonType::CustomScale, 0, 4},
    {QT_TRANSLATE_NOOP("Lessons", "Lesson 6 - Complete clear fretboard"), LessonType::FixedScale, 0, 0},
}};

constexpr int kKeyC = 4;

} // namespace

void CustomScaleLesson::ReInitialize(int newKey, int newScale)
{
    key = newKey;
    scale = newScale;
}

std::unique_ptr<DrillLesson> MakeNumberedLesson(int number)
{
    if (number < 1 || number > static_cast<int>(kLessons.size()))
        return nullptr;
    const LessonDefinition& definition = kLessons[static_cast<size_t>(number - 1)];
    std::unique_ptr<DrillLesson> lesson = definition.type == LessonType::CustomScale
        ? std::make_unique<CustomScaleLesson>()
        : std::make_unique<DrillLesson>();
    lesson->name = QCoreApplication::translate("Lessons", definition.name);
    lesson->type = definition.type;
    lesson->key = kKeyC;
    lesson->scale = ScaleMajor;
    lesson->validPatterns = {definition.validPattern};
    lesson->selectedPattern = definition.selectedPattern;
    lesson->hideInvalidNotes = true;
    return lesson;
}
