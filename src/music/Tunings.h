#pragma once
// The instruments and tunings the program knows. A tuning is a list of open strings
// (note-table positions, lowest string first) on an instrument of the guitar family
// (treble clef, sounding an octave below its written notes) or the bass family (bass
// clef). The three standard tunings of "GuitarType" 0, 1 and 2 are among them; the
// learner may also set up a tuning of their own.

#include "core/Settings.h"
#include "music/Instrument.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class InstrumentKind { SixStringGuitar, SevenStringGuitar, FourStringBass, FiveStringBass, SixStringBass };

struct Tuning {
    QString id;                   // what "Tuning" stores, e.g. "guitar6-drop-d"
    const char* name = "";        // untranslated, e.g. "Drop D" (context "Tunings")
    InstrumentKind kind = InstrumentKind::SixStringGuitar;
    std::vector<int> openStrings; // note-table positions, lowest string first

    bool operator==(const Tuning& other) const { return id == other.id && openStrings == other.openStrings; }
};

inline constexpr char kCustomTuningId[] = "custom";

// Every known tuning, instrument by instrument, the standard one first.
const std::vector<Tuning>& KnownTunings();
// The instruments in menu order, and each one's name (untranslated, context "Tunings").
const std::vector<InstrumentKind>& InstrumentKinds();
const char* InstrumentKindName(InstrumentKind kind);
Instrument::Family FamilyOf(InstrumentKind kind);
int StringCountOf(InstrumentKind kind);
Tuning StandardTuning(InstrumentKind kind);
// The "GuitarType" an instrument is stored under for programs that know only the
// three: 0 guitar, 1 four-string bass, 2 five- and six-string bass.
int GuitarTypeOf(InstrumentKind kind);

// The instrument of this family and string count, if the program knows one.
std::optional<InstrumentKind> KindOf(const Instrument& instrument);
// How many semitones most strings stand above (negative: below) the instrument's
// standard tuning; ties go to the smaller shift. 0 for an instrument it does not know.
int TuningShiftFromStandard(const Instrument& instrument);

// The instrument a tuning is played on.
Instrument InstrumentOf(const Tuning& tuning);

// A custom tuning as stored in "CustomTuning": the instrument's id, a colon, and the
// open strings' names, lowest first ("guitar6: D-0 A-1 D-1 G-1 B-2 E-2").
QString CustomTuningText(const Tuning& tuning);
// The tuning that text describes; none when it names no instrument, a note outside the
// staff's reach, or not as many strings as the instrument has.
std::optional<Tuning> ParseCustomTuning(const QString& text);
// The lowest and highest note-table positions an open string of this family may have:
// every note up to fret 13 stays within the staff's reach.
int LowestOpenString(Instrument::Family family);
int HighestOpenString(Instrument::Family family);

// The tuning the settings name: "Tuning" (a known id, "custom" with "CustomTuning", or
// empty for the standard tuning of "GuitarType"). An unknown or unreadable one gives
// the standard tuning of "GuitarType" and a message saying so in problem.
Tuning TuningFromSettings(int guitarType, const QString& tuningId, const QString& customText, QString& problem);
Tuning TuningFromSettings(const Settings& settings, QString& problem);
// The instrument of the settings' tuning, any problem left unsaid.
Instrument InstrumentFromSettings(const Settings& settings);
// Stores a tuning: its id (or "custom" and its text) and the "GuitarType" it falls under.
void StoreTuning(const Tuning& tuning, Settings& settings);
