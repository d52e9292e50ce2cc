// How long a note takes from PlaySound to a sounding voice in the built-in synthesizer
// (the audible latency adds the audio driver's buffer on top), and how long the
// SoundFont takes to load at the first note of a run.
#include "core/Settings.h"
#include "sound/SoundErrors.h"
#include "sound/SoundSystem.h"
#include "sound/Synthesizer.h"
#include "sound/SystemMidiOutput.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>

#include <vector>

namespace {

std::shared_ptr<Synthesizer> RenderingSynth(const QStringList& soundFonts)
{
    SynthesizerOptions options;
    options.soundFonts = soundFonts;
    return std::make_shared<Synthesizer>(options);
}

// The synthesizer's next audio period, as its driver would ask for it.
void RenderPeriod(Synthesizer& synth)
{
    static std::vector<float> left(128), right(128);
    synth.Render(left, right);
}

void BM_PlaySoundToSynthesizer(benchmark::State& state)
{
    const auto synth = RenderingSynth(DefaultSoundFontCandidates());
    if (synth->LoadSoundFont() != SoundErrNone) {
        state.SkipWithError("no SoundFont");
        return;
    }
    Settings settings = Settings::Defaults();
    SoundSystem sound(settings, std::make_unique<SystemMidiOutput>(synth), nullptr);
    NotePlayer& player = sound.Player();
    QString message;
    for (auto _ : state) {
        player.NoteOn(60, message);
        state.PauseTiming();
        if (synth->ActiveVoices() == 0)
            state.SkipWithError("the note did not reach the synthesizer");
        player.NoteOff(60, message);
        RenderPeriod(*synth);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlaySoundToSynthesizer);

void BM_SoundFontLoad(benchmark::State& state, const char* path)
{
    if (!QFileInfo(QString::fromUtf8(path)).isFile()) {
        state.SkipWithError("SoundFont not installed");
        return;
    }
    for (auto _ : state) {
        const auto synth = RenderingSynth({QString::fromUtf8(path)});
        if (synth->LoadSoundFont() != SoundErrNone)
            state.SkipWithError("SoundFont did not load");
    }
}
BENCHMARK_CAPTURE(BM_SoundFontLoad, TimGM6mb, "/usr/share/sounds/sf2/TimGM6mb.sf2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SoundFontLoad, DefaultGM, "/usr/share/sounds/sf2/default-GM.sf2")->Unit(benchmark::kMillisecond);

} // namespace
