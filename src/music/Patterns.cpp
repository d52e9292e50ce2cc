#include "music/Patterns.h"

#include <utility>

FretNoteLoc& FretNoteLocs::Add(qint16 intStringNum, qint16 intFretNum, bool boolIsRootNote,
                               bool boolIsNoteAdditional)
{
    Collection::Add(FretNoteLoc{intStringNum, intFretNum, boolIsRootNote, boolIsNoteAdditional});
    return Item(Count());
}

Pattern& Patterns::Add(const QString& key, qint16 intPatternNum, qint16 intScale, const QString& strName,
                       ::FretNoteLocs locations)
{
    Collection::Add(Pattern{key, intPatternNum, intScale, strName, std::move(locations)}, key);
    return Item(Count());
}
