#include "lessons/Lessons.h"

#include "core/Settings.h"
#include "lessons/NumberedLessons.h"

#include <utility>

LessonsItem& Lessons::Add(const QString& key, std::unique_ptr<LessonInterface> objLesson)
{
    Collection::Add(LessonsItem{key, std::move(objLesson)}, key);
    return Item(Count());
}

void AddNumberedLessons(Lessons& collLessons)
{
    collLessons.Add(QStringLiteral("1"), std::make_unique<LessonOne>());
    collLessons.Add(QStringLiteral("2"), std::make_unique<LessonTwo>());
    collLessons.Add(QStringLiteral("3"), std::make_unique<LessonThree>());
    collLessons.Add(QStringLiteral("4"), std::make_unique<LessonFour>());
    collLessons.Add(QStringLiteral("5"), std::make_unique<LessonFive>());
    collLessons.Add(QStringLiteral("6"), std::make_unique<LessonSix>());
}

LessonInterface* GetCurrentLesson(const Lessons& collLessons)
{
    const LessonsItem* item = collLessons.Find(QString::number(CurrLessonKey));
    return item ? item->objLesson.get() : nullptr;
}
