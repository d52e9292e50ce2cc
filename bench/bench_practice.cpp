// The practice records: what recording an answer costs the user's thread (it must
// never hold up a prompt or a sound), how long the progress figures take for a large
// history, and how big the file grows.
#include "records/PracticeStore.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

namespace {

constexpr const char* kNotes[] = {"E-0", "F-0", "F#-0", "G-0", "G#-0", "A-1",
                                  "Bb-1", "B-1", "C-1", "C#-1", "D-1", "Eb-1"};

// A plausible answer: one learner on the guitar, spread over the last 60 days.
PracticeAnswer SampleAnswer(std::mt19937& random, qint64 nowMs)
{
    PracticeAnswer a;
    a.answeredAtMs = nowMs - qint64(random() % (60LL * 24 * 3600 * 1000));
    a.learnerKey = 1;
    a.activity = PracticeActivity::Practice;
    a.lessonKey = 6;
    a.key = 4;
    a.scale = 1;
    a.pattern = 6;
    const FretPosition prompt{int(random() % 6) + 1, int(random() % 14) + 1};
    a.promptPosition = prompt;
    a.promptNote = QString::fromLatin1(kNotes[(prompt.string * 5 + prompt.fret) % 12]);
    a.correct = random() % 5 != 0;
    a.answerPosition = a.correct ? prompt : FretPosition{int(random() % 6) + 1, int(random() % 14) + 1};
    a.answerNote = a.correct ? a.promptNote : QString::fromLatin1(kNotes[random() % 12]);
    a.responseMs = 600 + int(random() % 4000);
    return a;
}

// A store in dir holding count answers, all written.
std::unique_ptr<PracticeStore> FilledStore(const QTemporaryDir& dir, int count, qint64 nowMs)
{
    auto store = std::make_unique<PracticeStore>(dir.filePath(PracticeStore::FileName()));
    QString message;
    if (!store->Open(message))
        return nullptr;
    std::mt19937 random(7);
    for (int i = 0; i < count; ++i)
        store->Record(SampleAnswer(random, nowMs));
    return store->WaitUntilWritten(600000) ? std::move(store) : nullptr;
}

} // namespace

// One Record() call on the user's thread, each timed on its own while the writer
// thread writes the earlier ones; reported as median and 99th percentile.
static void BM_RecordAnswer(benchmark::State& state)
{
    QTemporaryDir dir;
    PracticeStore store(dir.filePath(PracticeStore::FileName()));
    QString message;
    if (!store.Open(message)) {
        state.SkipWithError(qPrintable(message));
        return;
    }
    std::mt19937 random(3);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    std::vector<double> micros;
    std::vector<double> idle; // the same clock readings around nothing: what the machine adds
    for (auto _ : state) {
        const PracticeAnswer answer = SampleAnswer(random, now);
        const auto start = std::chrono::steady_clock::now();
        store.Record(answer);
        const auto end = std::chrono::steady_clock::now();
        const auto idleEnd = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        idle.push_back(std::chrono::duration<double, std::micro>(idleEnd - end).count());
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    std::sort(idle.begin(), idle.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["max_us"] = micros.back();
    state.counters["idle_p99_us"] = idle[idle.size() * 99 / 100];
    state.counters["idle_max_us"] = idle.back();
    store.WaitUntilWritten(600000);
}
BENCHMARK(BM_RecordAnswer)->UseManualTime()->Iterations(20000)->Unit(benchmark::kMicrosecond);

// Everything the progress window shows, over 100 000 answers of one learner.
static void BM_ProgressFigures(benchmark::State& state)
{
    QTemporaryDir dir;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const auto store = FilledStore(dir, int(state.range(0)), now);
    if (!store) {
        state.SkipWithError("the store could not be filled");
        return;
    }
    ProgressFilter filter;
    filter.learnerKey = 1;
    filter.nowMs = now;
    filter.period = ProgressPeriod(state.range(1));
    QString message;
    std::vector<double> millis;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        ProgressFigures figures;
        if (!store->Progress(filter, figures, message))
            state.SkipWithError(qPrintable(message));
        benchmark::DoNotOptimize(figures.positions.size());
        millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    // On a busy machine the fastest run is the one least disturbed by other processes.
    std::sort(millis.begin(), millis.end());
    state.counters["fastest_ms"] = millis.front();
    state.counters["median_ms"] = millis[millis.size() / 2];
}
BENCHMARK(BM_ProgressFigures)
    ->Args({100000, int(ProgressPeriod::All)})
    ->Args({100000, int(ProgressPeriod::Last30Days)})
    ->Args({100000, int(ProgressPeriod::Last7Days)})
    ->Unit(benchmark::kMillisecond);

// The weak-note history read when "Practise weak notes" starts.
static void BM_RecentAnswers(benchmark::State& state)
{
    QTemporaryDir dir;
    const auto store = FilledStore(dir, 100000, QDateTime::currentMSecsSinceEpoch());
    if (!store) {
        state.SkipWithError("the store could not be filled");
        return;
    }
    QString message;
    std::vector<PositionAnswer> answers;
    for (auto _ : state) {
        if (!store->RecentAnswers(1, 0, QStringLiteral("standard"), int(state.range(0)), answers, message))
            state.SkipWithError(qPrintable(message));
        benchmark::DoNotOptimize(answers.size());
    }
}
BENCHMARK(BM_RecentAnswers)->Arg(2000)->Unit(benchmark::kMillisecond);

// "Export practice…" of 100 000 answers to CSV, on the user's thread.
static void BM_ExportCsv(benchmark::State& state)
{
    QTemporaryDir dir;
    const auto store = FilledStore(dir, 100000, QDateTime::currentMSecsSinceEpoch());
    if (!store) {
        state.SkipWithError("the store could not be filled");
        return;
    }
    const QHash<int, QString> names{{1, QStringLiteral("Ann")}};
    QString message;
    for (auto _ : state)
        if (!store->ExportCsv(dir.filePath(QStringLiteral("out.csv")), std::nullopt, names, message))
            state.SkipWithError(qPrintable(message));
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

// The file size for 100 000 answers, once they are checkpointed into the file itself;
// the time is that of writing them all through the store.
static void BM_FileSizePer100000(benchmark::State& state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        auto store = FilledStore(dir, 100000, QDateTime::currentMSecsSinceEpoch());
        if (!store) {
            state.SkipWithError("the store could not be filled");
            return;
        }
        store.reset(); // the last connection's close moves the log into the file
        state.counters["bytes"] = double(QFileInfo(dir.filePath(PracticeStore::FileName())).size());
    }
}
BENCHMARK(BM_FileSizePer100000)->Iterations(1)->Unit(benchmark::kMillisecond);

