// How long the note table takes to rebuild on a key, scale or spelling change, and a
// fretboard look-up: both run on every redraw-triggering change.
#include "core/Settings.h"
#include "music/Notes.h"

#include <benchmark/benchmark.h>

static void BM_SetScale(benchmark::State& state)
{
    GuitarType = 0;
    notes& table = GetNotes();
    table.Initialize();
    for (auto _ : state) {
        qint16 scale = 1;
        QString key = QStringLiteral("C");
        table.SetScale(scale, key);
        benchmark::DoNotOptimize(table.GetNoteObjects().Count());
    }
}
BENCHMARK(BM_SetScale);

static void BM_FretboardLookupAllCells(benchmark::State& state)
{
    GuitarType = 0;
    notes& table = GetNotes();
    table.Initialize();
    qint16 scale = 1;
    QString key = QStringLiteral("C");
    table.SetScale(scale, key);
    for (auto _ : state)
        for (int s = 1; s <= 6; ++s)
            for (int f = 1; f <= 14; ++f)
                benchmark::DoNotOptimize(table.GetNoteObjFromFretBoard(s, f));
}
BENCHMARK(BM_FretboardLookupAllCells);

BENCHMARK_MAIN();
