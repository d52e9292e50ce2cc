#pragma once
// The note table of an instrument: the 60 semitones in the preferred spelling, each a
// Note with its concert pitch, and the note at every string and fret. A value: made
// anew when the instrument or the spelling changes.

#include "music/Instrument.h"
#include "music/Note.h"

#include <QString>

#include <optional>
#include <vector>

class Notes {
public:
    Notes() : Notes(Instrument(), true) {}
    Notes(Instrument instrument, bool flats);

    const Instrument& GetInstrument() const { return instrument_; }
    bool Flats() const { return flats_; }

    // The note of that name, spelled as the table spells it; none for another name.
    std::optional<Note> GetNoteObject(const QString& name) const;
    // The note at a table position 1..60; none outside.
    std::optional<Note> GetNoteObject(int position) const;
    // The note at a string (1 = lowest) and fret position (1 = open string); none off
    // the board.
    std::optional<Note> GetNoteObjFromFretBoard(int stringNum, int fretNum) const;
    // Every note, ascending.
    const std::vector<Note>& All() const { return notes_; }

private:
    Instrument instrument_;
    bool flats_ = true;
    std::vector<Note> notes_;
};
