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

// The semitones from E up to a note-table position, 0..11: where a string stands
// against the low E string that the key anchors of the scale patterns are set on.
int SemitonesAboveE(int position);

class Instrument {
public:
    // The guitar family is written in the treble clef an octave above its sound; the
    // bass family in the bass clef, an octave above its sound as well.
    enum class Family { Guitar, Bass };

    // The six-string guitar in standard tuning.
    Instrument();
    // Any open strings, lowest first (note-table positions).
    Instrument(Family family, std::vector<int> openStrings);
    // The standard tuning of "GuitarType"; any value other than the three gives the guitar.
    static Instrument FromGuitarType(int guitarType);

    Family GetFamily() const { return family_; }
    bool IsBass() const { return family_ == Family::Bass; }
    bool operator==(const Instrument&) const = default;
    // The nearest of the three instruments, for what is drawn alike: the guitar family,
    // the four-string bass, and the basses of five strings or more.
    InstrumentType Type() const;
    const std::vector<int>& OpenStrings() const { return openStrings_; }
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
    // The line or space a level stands for, counted as WrittenStep counts.
    int LevelStep(int level) const { return LowestStep() + level - 1; }
    // The level of the bottom staff line (its top line lies eight levels higher).
    int BottomLineLevel() const;
    // True for the levels outside the staff and the spaces just beside it.
    bool NeedsLedgerLines(int level) const;
    // One row per level that needs ledger lines, the levels below the staff first.
    std::vector<LedgerRow> LedgerRows() const;

    // Lines and spaces counted from "A-0" (letters A..G, octave digits as in the note
    // names): the height a note is written at. A flat stands on the next letter up, so
    // "Ab-0" (the octave digit turns at A) is written just below "A-1".
    static int WrittenStep(int position, bool flat);

private:
    static int StaffStep(int position) { return WrittenStep(position, false); }
    int LowestOpenPosition() const;
    int HighestOpenPosition() const;
    int LowestStep() const;
    int HighestStep() const;

    Family family_ = Family::Guitar;
    std::vector<int> openStrings_;
};

// Widths of the 14 fret columns in percent of the board's length, open string first.
// They add up to 100.2, so the last column ends just beyond the board's edge.
const std::array<double, kFretPositions>& FretWidths();

// Distance between the outer strings at the nut and at the far end of the board.
int TaperMin(FretboardStyle style);
int TaperMax(FretboardStyle style);
