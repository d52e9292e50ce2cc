#pragma once
// The McLeod pitch method (McLeod & Wyvill, "A smarter way to find pitch", 2005): the
// normalised square difference function of a window, its key
// maxima, and the first of them that comes close to the highest. Autocorrelation goes
// through FFTW, so a window of several thousand samples costs some microseconds.

#include "listen/PitchDetector.h"

#include <memory>
#include <vector>

namespace listening {

class McLeodPitch final : public PitchDetector {
public:
    // Finds pitches from minHz to maxHz in windows of up to maxWindow samples.
    // cutoff: a key maximum counts when it reaches this share of the highest (0.8..0.97).
    // checkHarmonics: look at the spectrum for an octave or twelfth found below the note
    // (see harmonicCorrection); off, it is the plain method.
    McLeodPitch(int sampleRate, double minHz, double maxHz, std::size_t maxWindow, double cutoff = 0.9,
                bool checkHarmonics = true);
    ~McLeodPitch() override;

    PitchEstimate estimate(std::span<const float> window) override;

private:
    struct Fft;
    int harmonicCorrection(std::span<const float> window, double hz);
    int sampleRate_;
    double minHz_;
    double maxHz_;
    std::size_t maxWindow_;
    double cutoff_;
    bool checkHarmonics_;
    std::unique_ptr<Fft> fft_;
    std::vector<float> nsdf_;
    std::vector<float> centred_;
};

} // namespace listening
