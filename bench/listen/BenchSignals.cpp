#include "BenchSignals.h"

#include "listen/Biquad.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace listening::testing {

void AddNoise(Samples& signal, double snrDb, std::size_t from, std::size_t count, std::uint32_t seed)
{
    const double level = Rms(signal, from, count) * std::pow(10.0, -snrDb / 20.0);
    const Samples noise = WhiteNoise(signal.size(), level, seed);
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] += noise[i];
}

void ApplyHighPass(Samples& signal, int rate, double cutoffHz)
{
    auto filter = listening::Biquad::HighPass(rate, cutoffHz);
    for (float& s : signal)
        s = filter(s);
}

std::size_t AttackStart(const Samples& note)
{
    float peak = 0.0f;
    for (float x : note)
        peak = std::max(peak, std::fabs(x));
    for (std::size_t i = 0; i < note.size(); ++i)
        if (std::fabs(note[i]) >= 0.1f * peak)
            return i;
    return 0;
}

struct GmRenderer::Handles {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    ~Handles()
    {
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }
};

GmRenderer::GmRenderer(const QString& soundFont, int rate) : handles_(std::make_unique<Handles>()), rate_(rate)
{
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    handles_->settings = new_fluid_settings();
    if (!handles_->settings)
        return;
    fluid_settings_setnum(handles_->settings, "synth.sample-rate", rate);
    fluid_settings_setnum(handles_->settings, "synth.gain", 0.5);
    handles_->synth = new_fluid_synth(handles_->settings);
    if (handles_->synth && fluid_synth_sfload(handles_->synth, soundFont.toLocal8Bit().constData(), 1) == FLUID_FAILED) {
        delete_fluid_synth(handles_->synth);
        handles_->synth = nullptr;
    }
}

GmRenderer::~GmRenderer() = default;

bool GmRenderer::Ok() const
{
    return handles_->synth != nullptr;
}

Samples GmRenderer::Render(int program, int midi, double seconds, double tail)
{
    Samples out;
    if (!Ok())
        return out;
    fluid_synth_t* synth = handles_->synth;
    fluid_synth_system_reset(synth);
    fluid_synth_program_change(synth, 0, program);
    const auto held = static_cast<int>(seconds * rate_);
    const auto after = static_cast<int>(tail * rate_);
    out.resize(static_cast<std::size_t>(held + after));
    Samples right(out.size());
    fluid_synth_noteon(synth, 0, midi, 100);
    fluid_synth_write_float(synth, held, out.data(), 0, 1, right.data(), 0, 1);
    fluid_synth_noteoff(synth, 0, midi);
    fluid_synth_write_float(synth, after, out.data() + held, 0, 1, right.data() + held, 0, 1);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = 0.5f * (out[i] + right[i]);
    return out;
}

} // namespace listening::testing
