#include "lessons/Lessons.h"

#include "core/Selection.h"
#include "core/Settings.h"
#include "lessons/NumberedLessons.h"

void Lessons::AddNumberedLessons()
{
    for (int number = 1; number <= 6; ++number) {
        const QString key = QString::number(number);
        Add(LessonsItem{key, MakeNumberedLesson(number)}, key);
    }
}

DrillLesson* Lessons::Lesson(int key) const
{
    const LessonsItem* item = Find(QString::number(key));
    return item ? item->lesson.get() : nullptr;
}

Selection LessonSelection(const LessonInterface& lesson, const Settings& settings)
{
    Selection selection;
    const bool custom = lesson.type == LessonType::CustomScale;
    selection.key = custom ? settings.currCustomKey : lesson.key;
    selection.scale = custom ? settings.currCustomScale : lesson.scale;
    selection.ShowOnly(custom ? settings.currCustomPattern : lesson.selectedPattern);
    selection.hideInvalidNotes = lesson.hideInvalidNotes;
    selection.pentatonicOnly = settings.pentatonicOnly;
    return selection;
}
