#pragma once
// The scale enumerator: the seven note names of the current key and scale in the
// preferred spelling, and the scale notes written on each staff level.
//
// The spelling is global: every name follows FlatSymbolPref whatever the key, so
// F major with sharps reads F G A A# C D E.

#include "core/Collection.h"
#include "music/Note.h"

#include <QString>
#include <QtGlobal>

// What the enumerator reads of a staff level. The staff's level type derives from it,
// so the music model needs nothing of the views.
struct SheetNoteLevelData {
    qint16 intSheetNoteLevel = 0; // 1 = lowest level
    QString strBaseNoteName;      // the level's letter, "A" to "G"
};

class EnumScale {
public:
    // Rebuilds the scale's names, root first, from the key's root and the scale's steps
    // (intScale 1 major, 2 minor). strKey comes back normalized to the preference:
    // "B flat" becomes "A#" with sharps and "Bb" with flats, and an earlier result
    // converts again. A key without a root in the note table, or another scale
    // identifier, leaves the scale empty.
    void SetupScaleEnumerator(qint16& intScale, QString& strKey);

    // The Notes of noteObjects (the note table, ascending) written on this level:
    // flat, natural, sharp, each the first above the notes given to the level asked
    // before. Ask every level once, in ascending order from level 1, after each
    // SetupScaleEnumerator: level 1 restarts the search at the bottom of the table.
    Collection<NotePtr> GetNoteObjsFromSheetNote(const SheetNoteLevelData& objSheetNoteLevel,
                                                 const Collection<NotePtr>& noteObjects);

    // Names without octave digit ("C#"), root first. Refilled in place, so a holder
    // sees the names of the latest scale.
    const Collection<QString>& GetScaleNotesNameCollection() const { return collScaleNoteNames; }

private:
    static QString NormalizeKeyName(QString& key, bool flatPreferred);
    static int GetRootIndex(const QString& key);
    int GetNextStep(qint16 intScale);
    QString GetNextNoteName(const QString& letter);
    NotePtr GetNextNoteObj(const QString& name, const Collection<NotePtr>& noteObjects);
    QString FlatCandidate() const;
    QString NaturalCandidate() const;
    QString SharpCandidate() const;
    bool IsFresh(const QString& candidate) const;

    qint16 intStepPos = 1;
    Collection<QString> collScaleNoteNames;
    Collection<QString> collReturnedNames;
    QString strCurrBaseNoteName;
    qint16 intNotePos = 0;
};
