#pragma once
// An instrument: its open strings and everything that follows from them, the staff it
// is written on (clef, levels, ledger lines) and the concert pitch of its notes.
//
// Strings count from the lowest-sounding (1); fret positions from the open string (1)
// to fret 13 (14). Staff levels are the lines and spaces of the staff, level 1 the
// lowest: the letter of the lowest open string. A sharp or flat shares its letter's level.

#include <QChar>
#include <QString>

#include <array>
#include <vector>

// The stored "GuitarType".
enum class InstrumentType { Guitar = 0, FourStringBass = 1, FiveStringBass = 2 };

// The stored "FretboardStyle".
enum class FretboardStyle { Realistic = 0, Simple = 1 };

inline constexpr int kFretPositions = 14; // the open string and frets 1..13

// A level that lies outside the five staff lines and the lines it needs: a positive
// count below the staff, a negative one above it.
struct LedgerRow {
    int level = 0;
    int lineCount = 0;
    bool operator==(const LedgerRow&) const = default;
};

class Instrument {
public:
    // The six-string guitar.
    Instrument();
    // Any value other than the three instruments gives the guitar.
    static Instrument FromGuitarType(int guitarType);

    InstrumentType Type() const { return type_; }
    bool IsBass() const { return type_ != InstrumentType::Guitar; }
    int StringCount() const { return static_cast<int>(openStrings_.size()); }
    // Note-table position of a string's open note (1 = lowest string); 0 outside.
    int OpenStringPosition(int stringNum) const;
    // Note-table position sounding at a string and fret position; 0 outside the board.
    int PositionAt(int stringNum, int fretNum) const;

    // Concert pitch of a note-table position: the guitar sounds an octave above the
    // basses for the same name ("E-0" is 40 on the guitar, 28 on the basses).
    int MidiNumber(int position) const;

    // Staff: bass clef for the basses, treble clef for the guitar.
    bool UsesBassClef() const { return IsBass(); }
    int StaffLevelCount() const;
    QChar StaffLetter(int level) const;
    // The level of the bottom staff line (its top line lies eight levels higher).
    int BottomLineLevel() const;
    // True for the levels outside the staff and the spaces just beside it.
    bool NeedsLedgerLines(int level) const;
    // One row per level that needs ledger lines, the levels below the staff first.
    std::vector<LedgerRow> LedgerRows() const;

private:
    Instrument(InstrumentType type, std::vector<int> openStrings);
    // Lines and spaces counted from "A-0" (letters A..G, octave digits as in the note
    // names): the height of a note on the staff.
    static int StaffStep(int position);
    int LowestStep() const;
    int HighestStep() const;

    InstrumentType type_ = InstrumentType::Guitar;
    std::vector<int> openStrings_;
};

// Widths of the 14 fret columns in percent of the board's length, open string first.
// They add up to 100.2, so the last column ends just beyond the board's edge.
const std::array<double, kFretPositions>& FretWidths();

// Distance between the outer strings at the nut and at the far end of the board.
int TaperMin(FretboardStyle style);
int TaperMax(FretboardStyle style);
