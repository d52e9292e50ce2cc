#include "records/PracticeProgress.h"

#include "records/PracticeWeakNotes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace {

constexpr qint64 kJulianDayOf1970 = 2440588;

struct Group {
    int count = 0;
    int right = 0;
    std::vector<int> times;

    void Add(bool correct, int responseMs)
    {
        ++count;
        right += correct ? 1 : 0;
        times.push_back(responseMs);
    }

    AnswerFigures Figures() const
    {
        AnswerFigures figures{count, right, 0};
        if (times.empty())
            return figures;
        std::vector<int> sorted = times;
        const auto middle = sorted.begin() + std::ptrdiff_t(sorted.size() / 2);
        std::nth_element(sorted.begin(), middle, sorted.end());
        double median = *middle;
        if (sorted.size() % 2 == 0)
            median = (median + *std::max_element(sorted.begin(), middle)) / 2.0;
        figures.medianResponseMs = int(std::nearbyint(median)); // halves to even
        return figures;
    }
};

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

struct ProgressAccumulator::Groups {
    // Strings and frets beyond 63 and note indexes beyond 127 share a slot; the
    // fretboard has 14 positions a string and the note names stop at octave 9.
    static constexpr int kSlots = 64;
    static int Slot(const FretPosition& p) { return (p.string & (kSlots - 1)) * kSlots + (p.fret & (kSlots - 1)); }

    Group overall;
    std::vector<Group> positions = std::vector<Group>(kSlots * kSlots);
    std::vector<Group> notes = std::vector<Group>(128);
    std::map<qint64, Group> days;
    // Answers come mostly in time order, so the day of the last one is usually the next's.
    qint64 lastDay = std::numeric_limits<qint64>::min();
    Group* lastDayGroup = nullptr;
};

qint64 LocalDay(qint64 utcMs, int utcOffsetSeconds)
{
    return FloorDiv(utcMs + qint64(utcOffsetSeconds) * 1000, kDayMs);
}

qint64 PeriodStartMs(ProgressPeriod period, qint64 nowMs)
{
    switch (period) {
    case ProgressPeriod::Last7Days: return nowMs - 7 * kDayMs;
    case ProgressPeriod::Last30Days: return nowMs - 30 * kDayMs;
    case ProgressPeriod::All: break;
    }
    return std::numeric_limits<qint64>::min();
}

ProgressAccumulator::ProgressAccumulator() : groups_(std::make_unique<Groups>()) {}

ProgressAccumulator::~ProgressAccumulator() = default;

void ProgressAccumulator::Add(qint64 localDay, std::optional<FretPosition> position, int noteIndex, bool correct,
                              int responseMs)
{
    Groups& g = *groups_;
    g.overall.Add(correct, responseMs);
    if (position)
        g.positions[std::size_t(Groups::Slot(*position))].Add(correct, responseMs);
    if (noteIndex >= 0)
        g.notes[std::size_t(noteIndex & 127)].Add(correct, responseMs);
    if (localDay != g.lastDay || !g.lastDayGroup) {
        g.lastDay = localDay;
        g.lastDayGroup = &g.days[localDay];
    }
    g.lastDayGroup->Add(correct, responseMs);
}

void ProgressAccumulator::Add(const PracticeAnswer& answer, int utcOffsetSeconds)
{
    Add(LocalDay(answer.answeredAtMs, utcOffsetSeconds), AttributedPosition(answer), NoteIndex(answer.promptNote),
        answer.correct, answer.responseMs);
}

ProgressFigures ProgressAccumulator::Figures() const
{
    const Groups& g = *groups_;
    ProgressFigures result;
    result.overall = g.overall.Figures();

    for (int slot = 0; slot < Groups::kSlots * Groups::kSlots; ++slot)
        if (const Group& group = g.positions[std::size_t(slot)]; group.count > 0)
            result.positions.push_back({{slot / Groups::kSlots, slot % Groups::kSlots}, group.Figures()});

    for (int noteIndex = 0; noteIndex < int(g.notes.size()); ++noteIndex) {
        const Group& group = g.notes[std::size_t(noteIndex)];
        if (group.count == 0)
            continue;
        const AnswerFigures figures = group.Figures();
        const double errorRate = double(figures.count - figures.right + 1) / double(figures.count + 2);
        result.weakestNotes.push_back(
            {noteIndex, figures, Weakness(errorRate, figures.medianResponseMs, result.overall.medianResponseMs)});
    }
    std::sort(result.weakestNotes.begin(), result.weakestNotes.end(), [](const NoteFigures& a, const NoteFigures& b) {
        if (a.weakness != b.weakness)
            return a.weakness > b.weakness;
        if (a.figures.count != b.figures.count)
            return a.figures.count > b.figures.count;
        return a.noteIndex < b.noteIndex;
    });
    if (result.weakestNotes.size() > 5)
        result.weakestNotes.resize(5);

    for (const auto& [day, group] : g.days)
        result.days.push_back({QDate::fromJulianDay(kJulianDayOf1970 + day), group.Figures()});
    return result;
}
