#pragma once
// The music model: the 60-name note table in the preferred spelling, one Note per
// name, and the instrument's figures (strings, open strings, staff letters, fret
// widths, neck taper, ledger lines). One instance for the whole run: GetNotes().
//
// Note names: letter, "#" or "b", "-", octave digit 0..4 that increases at A, not at C
// ("G#-0" is followed by "A-1"). Strings count from the lowest (1); fret positions
// from the open string (1) to fret 13 (14).

#include "core/Collection.h"
#include "music/EnumScale.h"
#include "music/Note.h"

#include <QString>
#include <QtGlobal>

#include <utility>
#include <vector>

// Tables filled by the note table, shared by the views.
extern Collection<QString> NoteNames;       // 60 reduced names, ascending pitch
extern Collection<QString> OpenStringNames; // lowest string first
extern Collection<QString> BaseNoteNames;   // staff letters, level 1 first (more than needed)
extern Collection<double> FretWidths;       // 14 column widths in percent of the board

// Keys "1".."12" ("A", "B flat", ... "A flat") and scales "1" "Major", "2" "Minor",
// keyed by their identifier as text. The items are the English names the program
// reasons with ("B flat" is respelled by SetScale); translate them for display with
// QCoreApplication::translate(KeyScaleNamesContext, name).
extern Collection<QString> KeyNames;
extern Collection<QString> ScaleNames;
inline constexpr char KeyScaleNamesContext[] = "KeyNames";

// A ledger-line row: staff level and signed count (positive below the staff,
// negative above).
struct ExtraLineRow {
    int intLevel;
    int intLineCount;
};

class notes {
public:
    int GetTaperMin() const;
    int GetTaperMax() const;
    int GetStringAmount() const;
    int GetSheetNoteLevelAmount() const;

    // Builds the shared tables for the current instrument. Makes no Note objects:
    // SetScale must follow.
    void Initialize();

    // Rebuilds NoteNames and the Note objects in the current spelling, then sets up the
    // key and scale; strKey comes back as the normalized key name.
    void SetScale(qint16& intScale, QString& strKey);

    // Throws CollectionError for a name or position that is not in the table.
    NotePtr GetNoteObject(const QString& name) const;
    NotePtr GetNoteObject(int position) const;
    const Collection<NotePtr>& GetNoteObjects() const { return collNotes; }
    // The Note of that name, or null when the table does not hold it (yet).
    NotePtr FindNoteObject(const QString& name) const;

    // The Note at a string (1 = lowest) and fret position (1 = open string), or null
    // while the table does not hold the computed name.
    NotePtr GetNoteObjFromFretBoard(int intStringNum, int intFretNum) const;

    // The ledger-line rows of the current instrument, in table order.
    std::vector<ExtraLineRow> GetExtraLineRows() const;

    // The scale's seven note names without octave digit, root first; strKey comes back
    // normalized (see EnumScale::SetupScaleEnumerator). The collection is refilled in
    // place by every later call.
    const Collection<QString>& CalcNewScaleValues(qint16& intScale, QString& strKey);
    const Collection<QString>& GetScaleNotesNameCollection() const
    {
        return objEnumScale.GetScaleNotesNameCollection();
    }
    // The scale notes written on a staff level; ask the levels in ascending order
    // from level 1 after every SetScale (see EnumScale).
    Collection<NotePtr> GetNoteObjsFromSheetNote(const SheetNoteLevelData& objSheetNoteLevel);

    void LoadPatterns();
    void LoadKeys();
    void LoadScales();

    // 1-based position of name in NoteNames; 0 when absent.
    static int GetNameIndex(const QString& name);
    // The two-form table name reduced to the preferred spelling ("A#Bb-0" -> "Bb-0").
    static QString SplitDualName(const QString& dualName, bool flatPreferred);

    // Octaves the instrument sounds above its names' own (MidiKeyFromNoteName): 1 for
    // the guitar, 0 for both basses.
    int GetOctaveOffset() const;

private:
    // The concert-pitch MIDI key of a table name on the current instrument.
    int GetMidiIndexFromName(const QString& name) const;
    void LoadNoteNames(bool flatPreferred);
    void LoadOpenStringNames();
    void LoadFretWidths();
    void LoadBaseNoteNames();

    Collection<NotePtr> collNotes;
    EnumScale objEnumScale;
};

// The one note table of the program.
notes& GetNotes();
