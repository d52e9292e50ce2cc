#include "lessons/NumberedLessons.h"

#include <QCoreApplication>

#include <limits>
#include <stdexcept>

namespace {

constexpr qint16 kKeyC = 4;
constexpr qint16 kMajor = 1;

void Define(DrillLesson& lesson, const char* name, LessonType type, qint16 validPattern,
            qint16 selectedPattern)
{
    lesson.strName = QCoreApplication::translate("Lessons", name);
    lesson.intLessonType = type;
    lesson.intKey = kKeyC;
    lesson.intScale = kMajor;
    lesson.intValidPatterns.Add(QString::number(validPattern));
    lesson.intSelectedPattern = selectedPattern;
    lesson.boolHideInvalidNotes = true;
}

qint16 To16Bit(qint32 value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw std::out_of_range("Lesson key or scale out of range: " + std::to_string(value));
    return static_cast<qint16>(value);
}

} // namespace

LessonOne::LessonOne()
{
    Define(*this, QT_TRANSLATE_NOOP("Lessons", "Lesson 1 - Start"), LessonFixedScale, 4, 4);
}

LessonTwo::LessonTwo()
{
    Define(*this, QT_TRANSLATE_NOOP("Lessons", "Lesson 2 - Learn second pattern"), LessonFixedScale, 1, 1);
}

LessonThree::LessonThree()
{
    Define(*this, QT_TRANSLATE_NOOP("Lessons", "Lesson 3 - Cover the rest"), LessonFixedScale, 3, 3);
}

LessonFour::LessonFour()
{
    Define(*this, QT_TRANSLATE_NOOP("Lessons", "Lesson 4 - Complete fretboard"), LessonFixedScale, 6, 6);
}

LessonFive::LessonFive()
{
    Define(*this, QT_TRANSLATE_NOOP("Lessons", "Lesson 5 - Custom scales"), LessonCustomScale, 0, 4);
}

void LessonFive::ReInitialize(qint32 newKey, qint32 newScale, StartupFormInterface*, SheetInterface*,
                              FretboardInterface*, notes&)
{
    const qint16 key = To16Bit(newKey);
    const qint16 scale = To16Bit(newScale);
    intKey = key;
    intScale = scale;
}

LessonSix::LessonSix()
{
    Define(*this, QT_TRANSLATE_NOOP("Lessons", "Lesson 6 - Complete clear fretboard"), LessonFixedScale, 0, 0);
}
