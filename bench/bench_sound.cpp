// How long a note takes from PlaySound to a sounding voice in the built-in synthesizer
// (the audible latency adds the audio driver's buffer on top), and how long the
// SoundFont takes to load at the first note of a run.
#include "core/Settings.h"
#include "music/Note.h"
#include "sound/MidiOut.h"
#include "sound/SoundErrors.h"
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
    SetMidiOutput(std::make_unique<SystemMidiOutput>(synth));
    EnableSound = true;
    Channel = 0;
    Patch = 0;
    MidiDeviceId = -1;
    Note note;
    note.intNoteMidiIndex = 60;
    QString message;
    for (auto _ : state) {
        note.PlaySound(message);
        state.PauseTiming();
        if (synth->ActiveVoices() == 0)
            state.SkipWithError("the note did not reach the synthesizer");
        note.StopSound(message);
        RenderPeriod(*synth);
        state.ResumeTiming();
    }
    SetMidiOutput(nullptr);
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
