#pragma once
// What only the accuracy benchmark plays: noise at a given SNR, a laptop microphone's
// high-pass, and General MIDI notes rendered offline by FluidSynth.

#include "support/TestSignals.h"

#include <memory>

namespace listening::testing {

// Adds white noise snrDb below the RMS of signal[from, from + count).
void AddNoise(Samples& signal, double snrDb, std::size_t from, std::size_t count, std::uint32_t seed);
// Second-order Butterworth high-pass at cutoffHz (a laptop microphone at 150 Hz).
void ApplyHighPass(Samples& signal, int rate, double cutoffHz);
// Where the note becomes audible: the first sample reaching a tenth of its peak.
std::size_t AttackStart(const Samples& note);

// FluidSynth rendering without any audio driver.
class GmRenderer {
public:
    GmRenderer(const QString& soundFont, int rate);
    ~GmRenderer();
    GmRenderer(const GmRenderer&) = delete;
    GmRenderer& operator=(const GmRenderer&) = delete;
    bool Ok() const;
    // program (0-based GM), key held for seconds, then rendered on for tail seconds.
    Samples Render(int program, int midi, double seconds, double tail = 0.2);

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    int rate_;
};

} // namespace listening::testing
