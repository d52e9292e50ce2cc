// Loading and saving the score store: the program loads it at start-up and writes it
// after every timed test, so both must stay quick as the results pile up. Loading must
// grow in step with the file, up to the 32767 results the keys allow.
#include "records/DbaseItems.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A saved score file of count results in dir, loaded into the returned store.
DbaseItems MakeScoreFile(const QTemporaryDir& dir, int count)
{
    DbaseItems scores(dir.filePath(QStringLiteral("Score.dat")));
    QString message;
    scores.GetDataFromFile(message);
    for (int i = 1; i <= count; ++i)
        scores.Add(qint16(i), qint16(1 + i % 5), qint16(1 + i % 6), float(i % 41) / 41.0F);
    scores.SetDataToFile(message);
    return scores;
}

} // namespace

static void BM_LoadScores(benchmark::State& state)
{
    QTemporaryDir dir;
    DbaseItems scores = MakeScoreFile(dir, int(state.range(0)));
    QString message;
    for (auto _ : state) {
        if (!scores.GetDataFromFile(message))
            state.SkipWithError(qPrintable(message));
        benchmark::DoNotOptimize(scores.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadScores)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);

static void BM_SaveScores(benchmark::State& state)
{
    QTemporaryDir dir;
    const DbaseItems scores = MakeScoreFile(dir, int(state.range(0)));
    QString message;
    for (auto _ : state)
        if (!scores.SetDataToFile(message))
            state.SkipWithError(qPrintable(message));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveScores)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
