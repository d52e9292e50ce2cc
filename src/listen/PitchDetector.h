#pragma once
// One pitch estimate from a stretch of mono samples. The note listener decides when to
// ask and what to make of the answers; a detector only measures.

#include <cstddef>
#include <span>

namespace listening {

struct PitchEstimate {
    double hz = 0.0;       // 0: no pitch found
    double clarity = 0.0;  // 0..1, how periodic the stretch is (1: perfectly)
};

class PitchDetector {
public:
    virtual ~PitchDetector() = default;
    // window: the latest samples, oldest first, at most the size the detector was made for.
    virtual PitchEstimate Estimate(std::span<const float> window) = 0;
};

// MIDI note number (69 = A4 = 440 Hz) of a frequency, with fractions, and back.
double MidiOfHz(double hz);
double HzOfMidi(double midi);

} // namespace listening
