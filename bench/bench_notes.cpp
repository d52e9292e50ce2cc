// How long the note table takes to build on an instrument or spelling change, and a
// fretboard look-up of every cell.
#include "music/Notes.h"

#include <benchmark/benchmark.h>

static void BM_SetScale(benchmark::State& state)
{
    for (auto _ : state) {
        const Notes table(Instrument(), true);
        benchmark::DoNotOptimize(table.All().size());
    }
}
BENCHMARK(BM_SetScale);

static void BM_FretboardLookupAllCells(benchmark::State& state)
{
    const Notes table(Instrument(), true);
    for (auto _ : state)
        for (int s = 1; s <= 6; ++s)
            for (int f = 1; f <= 14; ++f)
                benchmark::DoNotOptimize(table.GetNoteObjFromFretBoard(s, f));
}
BENCHMARK(BM_FretboardLookupAllCells);

BENCHMARK_MAIN();
