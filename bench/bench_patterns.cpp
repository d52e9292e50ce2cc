// Costs of a key or scale change outside the note table itself: the scale notes of
// every staff level, and which patterns hold each fretboard cell.
#include "music/Notes.h"
#include "music/Patterns.h"
#include "music/Scales.h"

#include <benchmark/benchmark.h>

static void BM_StaffLevelsOfOneScale(benchmark::State& state)
{
    const Notes table(Instrument(), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(NotesOnStaffLevels(table, ScaleNoteNames(1, 1, false)));
}
BENCHMARK(BM_StaffLevelsOfOneScale);

static void BM_PatternMembershipAllCells(benchmark::State& state)
{
    const Patterns& patterns = ScalePatterns(Instrument());
    for (auto _ : state)
        for (int s = 1; s <= 6; ++s)
            for (int f = 1; f <= 14; ++f)
                benchmark::DoNotOptimize(GetPatternNumsAtFret(patterns, s, f, 1, 1, false));
}
BENCHMARK(BM_PatternMembershipAllCells);
