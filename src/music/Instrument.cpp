#include "music/Instrument.h"

#include "core/NoteNames.h"

#include <algorithm>
#include <string_view>

namespace {

// Note-table positions of the open strings, lowest first.
constexpr int kLowB = 3;  // "B-0"
constexpr int kLowE = 8;  // "E-0"
constexpr int kA = 13;    // "A-1"
constexpr int kD = 18;    // "D-1"
constexpr int kG = 23;    // "G-1"
constexpr int kB = 27;    // "B-2"
constexpr int kHighE = 32; // "E-2"

// MIDI number of "A-0": A1 on the guitar, A0 on the basses.
constexpr int kGuitarA0 = 33;
constexpr int kBassA0 = 21;

// The written bottom lines: "E-1" in the treble clef, "G-0" in the bass clef.
constexpr int kTrebleBottomLine = 20; // "E-1"
constexpr int kBassBottomLine = 11;   // "G-0"

constexpr char kLetters[] = "ABCDEFG";

} // namespace

Instrument::Instrument()
    : Instrument(Family::Guitar, {kLowE, kA, kD, kG, kB, kHighE})
{
}

Instrument::Instrument(Family family, std::vector<int> openStrings)
    : family_(family)
    , openStrings_(std::move(openStrings))
{
}

Instrument Instrument::FromGuitarType(int guitarType)
{
    switch (guitarType) {
    case static_cast<int>(InstrumentType::FourStringBass):
        return Instrument(Family::Bass, {kLowE, kA, kD, kG});
    case static_cast<int>(InstrumentType::FiveStringBass):
        return Instrument(Family::Bass, {kLowB, kLowE, kA, kD, kG});
    default:
        return Instrument();
    }
}

InstrumentType Instrument::Type() const
{
    if (family_ == Family::Guitar)
        return InstrumentType::Guitar;
    return StringCount() <= 4 ? InstrumentType::FourStringBass : InstrumentType::FiveStringBass;
}

int SemitonesAboveE(int position)
{
    return ((position - kLowE) % 12 + 12) % 12;
}

int Instrument::OpenStringPosition(int stringNum) const
{
    if (stringNum < 1 || stringNum > StringCount())
        return 0;
    return openStrings_[static_cast<size_t>(stringNum - 1)];
}

int Instrument::PositionAt(int stringNum, int fretNum) const
{
    const int open = OpenStringPosition(stringNum);
    if (open == 0 || fretNum < 1 || fretNum > kFretPositions)
        return 0;
    const int position = open + fretNum - 1;
    return position <= kNoteTableSize ? position : 0;
}

int Instrument::MidiNumber(int position) const
{
    return (IsBass() ? kBassA0 : kGuitarA0) + position - 1;
}

int Instrument::WrittenStep(int position, bool flat)
{
    // The natural letter of the sharp spelling gives the line or space.
    const QString name = NoteNameAt(position, false);
    const int letter = static_cast<int>(std::string_view(kLetters).find(name.at(0).toLatin1()));
    const bool accidental = name.size() > 1 && name.at(1) == QLatin1Char('#');
    return (position - 1) / 12 * 7 + letter + (flat && accidental ? 1 : 0);
}

int Instrument::LowestOpenPosition() const
{
    return openStrings_.empty() ? kLowE : *std::min_element(openStrings_.begin(), openStrings_.end());
}

int Instrument::HighestOpenPosition() const
{
    return openStrings_.empty() ? kLowE : *std::max_element(openStrings_.begin(), openStrings_.end());
}

int Instrument::LowestStep() const
{
    return StaffStep(LowestOpenPosition());
}

int Instrument::HighestStep() const
{
    // Reach the top note in either spelling: the basses' "Ab-2" needs an "A" level.
    return WrittenStep(std::min(HighestOpenPosition() + kFretPositions - 1, kNoteTableSize), true);
}

int Instrument::StaffLevelCount() const
{
    return HighestStep() - LowestStep() + 1;
}

QChar Instrument::StaffLetter(int level) const
{
    const int step = LowestStep() + level - 1;
    return QLatin1Char(kLetters[((step % 7) + 7) % 7]);
}

int Instrument::BottomLineLevel() const
{
    return StaffStep(UsesBassClef() ? kBassBottomLine : kTrebleBottomLine) - LowestStep() + 1;
}

bool Instrument::NeedsLedgerLines(int level) const
{
    const int bottom = BottomLineLevel();
    return level < bottom - 1 || level > bottom + 9;
}

std::vector<LedgerRow> Instrument::LedgerRows() const
{
    std::vector<LedgerRow> rows;
    const int bottom = BottomLineLevel();
    const int top = bottom + 8;
    for (int level = 1; level <= StaffLevelCount(); ++level) {
        if (!NeedsLedgerLines(level))
            continue;
        // One line on every second level between the note and the staff.
        rows.push_back(level < bottom ? LedgerRow{level, (bottom - level) / 2}
                                      : LedgerRow{level, -((level - top) / 2)});
    }
    return rows;
}

const std::array<double, kFretPositions>& FretWidths()
{
    static constexpr std::array<double, kFretPositions> widths = {
        3, 10.6, 10, 8.4, 9, 8.8, 8.4, 6.8, 7.2, 6, 6.4, 5.6, 5.6, 4.4};
    return widths;
}

int TaperMin(FretboardStyle style)
{
    return style == FretboardStyle::Realistic ? 50 : 60;
}

int TaperMax(FretboardStyle style)
{
    return style == FretboardStyle::Realistic ? 55 : 60;
}
