// Seam for keys, scales and scale patterns: the note table calls these from
// Initialize and SetScale. They hold no data until the key and scale tables exist.
#include "music/Notes.h"

Collection<QString> notes::CalcNewScaleValues(qint16&, QString&)
{
    return collScaleNoteNames;
}

void notes::LoadPatterns() {}
void notes::LoadKeys() {}
void notes::LoadScales() {}
