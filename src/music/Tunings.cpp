#include "music/Tunings.h"

#include "core/NoteNames.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

struct KindInfo {
    InstrumentKind kind;
    const char* id;
    const char* name;
    Instrument::Family family;
    int stringCount;
    int guitarType;
};

constexpr KindInfo kKinds[] = {
    {InstrumentKind::SixStringGuitar, "guitar6", QT_TRANSLATE_NOOP("Tunings", "Six-string guitar"),
     Instrument::Family::Guitar, 6, 0},
    {InstrumentKind::SevenStringGuitar, "guitar7", QT_TRANSLATE_NOOP("Tunings", "Seven-string guitar"),
     Instrument::Family::Guitar, 7, 0},
    {InstrumentKind::FourStringBass, "bass4", QT_TRANSLATE_NOOP("Tunings", "Four-string bass"),
     Instrument::Family::Bass, 4, 1},
    {InstrumentKind::FiveStringBass, "bass5", QT_TRANSLATE_NOOP("Tunings", "Five-string bass"),
     Instrument::Family::Bass, 5, 2},
    {InstrumentKind::SixStringBass, "bass6", QT_TRANSLATE_NOOP("Tunings", "Six-string bass"),
     Instrument::Family::Bass, 6, 2},
};

const KindInfo& InfoOf(InstrumentKind kind)
{
    return *std::find_if(std::begin(kKinds), std::end(kKinds), [kind](const KindInfo& info) { return info.kind == kind; });
}

const KindInfo* InfoOfId(const QString& id)
{
    const auto found = std::find_if(std::begin(kKinds), std::end(kKinds),
                                    [&id](const KindInfo& info) { return id == QLatin1String(info.id); });
    return found == std::end(kKinds) ? nullptr : found;
}

// Open strings by name, lowest first.
std::vector<int> Strings(std::initializer_list<const char*> names)
{
    std::vector<int> positions;
    for (const char* name : names)
        positions.push_back(NotePosition(QString::fromLatin1(name)));
    return positions;
}

Tuning Make(const char* id, const char* name, InstrumentKind kind, std::initializer_list<const char*> strings)
{
    return {QString::fromLatin1(id), name, kind, Strings(strings)};
}

std::vector<Tuning> BuildKnownTunings()
{
    using K = InstrumentKind;
    return {
        Make("guitar6-standard", QT_TRANSLATE_NOOP("Tunings", "Standard"), K::SixStringGuitar,
             {"E-0", "A-1", "D-1", "G-1", "B-2", "E-2"}),
        Make("guitar6-half-step-down", QT_TRANSLATE_NOOP("Tunings", "Half-step down"), K::SixStringGuitar,
             {"D#-0", "G#-0", "C#-1", "F#-1", "A#-2", "D#-2"}),
        Make("guitar6-whole-step-down", QT_TRANSLATE_NOOP("Tunings", "Whole-step down"), K::SixStringGuitar,
             {"D-0", "G-0", "C-1", "F-1", "A-2", "D-2"}),
        Make("guitar6-drop-d", QT_TRANSLATE_NOOP("Tunings", "Drop D"), K::SixStringGuitar,
             {"D-0", "A-1", "D-1", "G-1", "B-2", "E-2"}),
        Make("guitar6-drop-c", QT_TRANSLATE_NOOP("Tunings", "Drop C"), K::SixStringGuitar,
             {"C-0", "G-0", "C-1", "F-1", "A-2", "D-2"}),
        Make("guitar6-dadgad", QT_TRANSLATE_NOOP("Tunings", "DADGAD"), K::SixStringGuitar,
             {"D-0", "A-1", "D-1", "G-1", "A-2", "D-2"}),
        Make("guitar6-open-d", QT_TRANSLATE_NOOP("Tunings", "Open D"), K::SixStringGuitar,
             {"D-0", "A-1", "D-1", "F#-1", "A-2", "D-2"}),
        Make("guitar6-open-g", QT_TRANSLATE_NOOP("Tunings", "Open G"), K::SixStringGuitar,
             {"D-0", "G-0", "D-1", "G-1", "B-2", "D-2"}),
        Make("guitar6-open-e", QT_TRANSLATE_NOOP("Tunings", "Open E"), K::SixStringGuitar,
             {"E-0", "B-1", "E-1", "G#-1", "B-2", "E-2"}),
        Make("guitar7-standard", QT_TRANSLATE_NOOP("Tunings", "Standard (low B)"), K::SevenStringGuitar,
             {"B-0", "E-0", "A-1", "D-1", "G-1", "B-2", "E-2"}),
        Make("guitar7-drop-a", QT_TRANSLATE_NOOP("Tunings", "Drop A"), K::SevenStringGuitar,
             {"A-0", "E-0", "A-1", "D-1", "G-1", "B-2", "E-2"}),
        Make("bass4-standard", QT_TRANSLATE_NOOP("Tunings", "Standard"), K::FourStringBass,
             {"E-0", "A-1", "D-1", "G-1"}),
        Make("bass4-drop-d", QT_TRANSLATE_NOOP("Tunings", "Drop D"), K::FourStringBass, {"D-0", "A-1", "D-1", "G-1"}),
        Make("bass4-half-step-down", QT_TRANSLATE_NOOP("Tunings", "Half-step down"), K::FourStringBass,
             {"D#-0", "G#-0", "C#-1", "F#-1"}),
        Make("bass5-standard", QT_TRANSLATE_NOOP("Tunings", "Standard (low B)"), K::FiveStringBass,
             {"B-0", "E-0", "A-1", "D-1", "G-1"}),
        Make("bass6-standard", QT_TRANSLATE_NOOP("Tunings", "Standard (B to C)"), K::SixStringBass,
             {"B-0", "E-0", "A-1", "D-1", "G-1", "C-2"}),
    };
}

QString KindName(InstrumentKind kind)
{
    return QCoreApplication::translate("Tunings", InstrumentKindName(kind));
}

} // namespace

const std::vector<Tuning>& KnownTunings()
{
    static const std::vector<Tuning> tunings = BuildKnownTunings();
    return tunings;
}

const std::vector<InstrumentKind>& InstrumentKinds()
{
    static const std::vector<InstrumentKind> kinds = [] {
        std::vector<InstrumentKind> all;
        for (const KindInfo& info : kKinds)
            all.push_back(info.kind);
        return all;
    }();
    return kinds;
}

const char* InstrumentKindName(InstrumentKind kind)
{
    return InfoOf(kind).name;
}

Instrument::Family FamilyOf(InstrumentKind kind)
{
    return InfoOf(kind).family;
}

int StringCountOf(InstrumentKind kind)
{
    return InfoOf(kind).stringCount;
}

Tuning StandardTuning(InstrumentKind kind)
{
    // The list holds each instrument's standard tuning first.
    const auto& tunings = KnownTunings();
    return *std::find_if(tunings.begin(), tunings.end(), [kind](const Tuning& tuning) { return tuning.kind == kind; });
}

int GuitarTypeOf(InstrumentKind kind)
{
    return InfoOf(kind).guitarType;
}

std::optional<InstrumentKind> KindOf(const Instrument& instrument)
{
    for (const KindInfo& info : kKinds)
        if (info.family == instrument.GetFamily() && info.stringCount == instrument.StringCount())
            return info.kind;
    return std::nullopt;
}

int TuningShiftFromStandard(const Instrument& instrument)
{
    const std::optional<InstrumentKind> kind = KindOf(instrument);
    if (!kind)
        return 0;
    const std::vector<int>& standard = StandardTuning(*kind).openStrings;
    std::map<int, int> votes;
    for (size_t s = 0; s < standard.size(); ++s)
        ++votes[instrument.OpenStrings()[s] - standard[s]];
    int best = 0;
    int bestVotes = 0;
    for (const auto& [shift, count] : votes)
        if (count > bestVotes || (count == bestVotes && std::abs(shift) < std::abs(best))) {
            best = shift;
            bestVotes = count;
        }
    return best;
}

Instrument InstrumentOf(const Tuning& tuning)
{
    return Instrument(FamilyOf(tuning.kind), tuning.openStrings);
}

int LowestOpenString(Instrument::Family)
{
    return NotePosition(QStringLiteral("A-0"));
}

int HighestOpenString(Instrument::Family family)
{
    // A string up to a minor third above the highest standard one keeps its thirteenth
    // fret within the staff's ledger lines.
    return NotePosition(family == Instrument::Family::Guitar ? QStringLiteral("G-2") : QStringLiteral("D-2"));
}

QString CustomTuningText(const Tuning& tuning)
{
    QStringList names;
    for (int position : tuning.openStrings)
        names << NoteNameAt(position, false);
    return QLatin1String(InfoOf(tuning.kind).id) + QLatin1String(": ") + names.join(QLatin1Char(' '));
}

std::optional<Tuning> ParseCustomTuning(const QString& text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const KindInfo* info = InfoOfId(text.left(colon).trimmed());
    if (!info)
        return std::nullopt;
    const QStringList names = text.mid(colon + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (names.size() != info->stringCount)
        return std::nullopt;
    Tuning tuning{QString::fromLatin1(kCustomTuningId), QT_TRANSLATE_NOOP("Tunings", "Custom"), info->kind, {}};
    for (const QString& name : names) {
        const int position = NotePosition(name);
        if (position < LowestOpenString(info->family) || position > HighestOpenString(info->family))
            return std::nullopt;
        tuning.openStrings.push_back(position);
    }
    return tuning;
}

InstrumentKind KindOfGuitarType(int guitarType)
{
    switch (guitarType) {
    case 1:
        return InstrumentKind::FourStringBass;
    case 2:
        return InstrumentKind::FiveStringBass;
    default:
        return InstrumentKind::SixStringGuitar;
    }
}

Tuning TuningFromSettings(int guitarType, const QString& tuningId, const QString& customText, QString& problem)
{
    problem.clear();
    const InstrumentKind standardKind = KindOfGuitarType(guitarType);
    const Tuning standard = StandardTuning(standardKind);
    if (tuningId.isEmpty())
        return standard;

    std::optional<Tuning> chosen;
    if (tuningId == QLatin1String(kCustomTuningId)) {
        chosen = ParseCustomTuning(customText);
    } else {
        const auto& tunings = KnownTunings();
        const auto found = std::find_if(tunings.begin(), tunings.end(),
                                        [&tuningId](const Tuning& tuning) { return tuning.id == tuningId; });
        if (found != tunings.end())
            chosen = *found;
    }
    if (!chosen) {
        const QString stored = tuningId == QLatin1String(kCustomTuningId) ? customText : tuningId;
        problem = QCoreApplication::translate("Tunings",
                                              "The stored tuning \"%1\" is not one this program knows. The "
                                              "standard tuning of the %2 is used instead.")
                      .arg(stored, KindName(standardKind).toLower());
        return standard;
    }
    // "GuitarType" changed by a program that knows only the three instruments wins.
    if (GuitarTypeOf(chosen->kind) != GuitarTypeOf(standardKind))
        return standard;
    return *chosen;
}

Tuning TuningFromSettings(const Settings& settings, QString& problem)
{
    return TuningFromSettings(settings.guitarType, settings.tuning, settings.customTuning, problem);
}

Instrument InstrumentFromSettings(const Settings& settings)
{
    QString ignored;
    return InstrumentOf(TuningFromSettings(settings, ignored));
}

void StoreTuning(const Tuning& tuning, Settings& settings)
{
    settings.guitarType = GuitarTypeOf(tuning.kind);
    settings.tuning = tuning.id;
    // A custom tuning keeps its text even while another is chosen, to come back to.
    if (tuning.id == QLatin1String(kCustomTuningId))
        settings.customTuning = CustomTuningText(tuning);
}
