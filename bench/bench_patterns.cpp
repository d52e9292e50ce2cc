// Costs of a key or scale change outside the note table itself: the staff asks every
// level for its scale notes, and every fretboard cell asks which patterns hold it.
#include "core/Settings.h"
#include "music/Notes.h"
#include "music/ScalePatterns.h"

#include <benchmark/benchmark.h>

namespace {

notes& GuitarInKeyOfA()
{
    GuitarType = 0;
    notes& table = GetNotes();
    table.Initialize();
    qint16 scale = 1;
    QString key = QStringLiteral("A");
    table.SetScale(scale, key);
    return table;
}

} // namespace

static void BM_StaffLevelsOfOneScale(benchmark::State& state)
{
    notes& table = GuitarInKeyOfA();
    for (auto _ : state)
        for (int level = 1; level <= table.GetSheetNoteLevelAmount(); ++level)
            benchmark::DoNotOptimize(table.GetNoteObjsFromSheetNote({qint16(level), BaseNoteNames.Item(level)}));
}
BENCHMARK(BM_StaffLevelsOfOneScale);

static void BM_PatternMembershipAllCells(benchmark::State& state)
{
    GuitarInKeyOfA();
    for (auto _ : state)
        for (qint16 s = 1; s <= 6; ++s)
            for (qint16 f = 1; f <= 14; ++f)
                benchmark::DoNotOptimize(GetPatternNumsAtFret(s, f, 1, 1, false));
}
BENCHMARK(BM_PatternMembershipAllCells);
