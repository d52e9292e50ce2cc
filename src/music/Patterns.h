#pragma once
// Scale pattern records: a pattern is a fingering box, the fretboard locations at
// which the notes of a key and scale are played in one hand position. Locations are
// fret offsets from the key's anchor (see ScalePatterns.h), so one pattern serves
// every key.

#include "core/Collection.h"

#include <QString>
#include <QtGlobal>

struct FretNoteLoc {
    qint16 intStringNum = 0;           // 1 = lowest string of the instrument
    qint16 intFretNum = 0;             // offset from the key anchor; may be negative
    bool boolIsRootNote = false;       // the scale's root
    bool boolIsNoteAdditional = false; // outside the scale's pentatonic subset
};

class FretNoteLocs : public Collection<FretNoteLoc> {
public:
    // Appends a location (without key) and returns it.
    FretNoteLoc& Add(qint16 intStringNum, qint16 intFretNum, bool boolIsRootNote,
                     bool boolIsNoteAdditional);
};

struct Pattern {
    QString Key;              // its key in ScalePatterns, "1".."12"
    qint16 intPatternNum = 0; // 1..5, 6 "All Patterns"
    qint16 intScale = 0;      // 1 major, 2 minor
    QString strName;          // "Pattern 1".."Pattern 5", "All Patterns" (untranslated)
    ::FretNoteLocs FretNoteLocs;
};

class Patterns : public Collection<Pattern> {
public:
    // Stores the pattern under key (without key when empty) and returns it.
    Pattern& Add(const QString& key, qint16 intPatternNum, qint16 intScale, const QString& strName,
                 ::FretNoteLocs locations);
};
