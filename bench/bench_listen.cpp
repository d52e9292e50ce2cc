// Cost of listening: the note listener over two seconds with a note every half second
// (the GUI thread's share of real time is the time over 2 s), and one McLeod estimate per window size.
#include "support/TestSignals.h"

#include "listen/McLeodPitch.h"
#include "listen/NoteListener.h"

#include <benchmark/benchmark.h>

using namespace listening;
using namespace listening::testing;

namespace {

Samples NotesEveryHalfSecond(int rate, double seconds)
{
    Samples stream;
    for (int i = 0; double(stream.size()) < seconds * rate; ++i) {
        Append(stream, Silence(rate, 0.1));
        Append(stream, PluckedTone(rate, HzOfMidi(28 + (i * 7) % 40), 0.4));
    }
    return stream;
}

void BM_NoteListenerTwoSecondsOfInput(benchmark::State& state)
{
    const int rate = static_cast<int>(state.range(0));
    const int lowest = static_cast<int>(state.range(1));
    const Samples stream = NotesEveryHalfSecond(rate, 2.0);
    std::vector<PlayedNote> played;
    for (auto _ : state) {
        ListenOptions options;
        options.lowestMidi = lowest;
        NoteListener listener(rate, options);
        played.clear();
        for (std::size_t at = 0; at < stream.size(); at += 480)
            listener.Process(std::span(stream).subspan(at, std::min<std::size_t>(480, stream.size() - at)), played);
        benchmark::DoNotOptimize(played.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(stream.size()));
    state.counters["notes"] = static_cast<double>(played.size());
}
BENCHMARK(BM_NoteListenerTwoSecondsOfInput)
    ->ArgsProduct({{44100, 48000, 96000}, {23, 40}})
    ->Unit(benchmark::kMillisecond);

void BM_McLeodEstimate(benchmark::State& state)
{
    const int rate = 48000;
    const auto window = static_cast<std::size_t>(state.range(0));
    const Samples tone = PluckedTone(rate, 110.0, 0.5);
    McLeodPitch pitch(rate, 29.0, 1400.0, window);
    const std::span<const float> samples(tone.data() + 2000, window);
    for (auto _ : state)
        benchmark::DoNotOptimize(pitch.Estimate(samples));
}
BENCHMARK(BM_McLeodEstimate)->Arg(1024)->Arg(3600)->Arg(9600)->Unit(benchmark::kMicrosecond);

} // namespace
