#pragma once
// The McLeod pitch method (McLeod & Wyvill, "A smarter way to find pitch", 2005): the
// normalised square difference function of a window, its key
// maxima, and the first of them that comes close to the highest. Autocorrelation goes
// through FFTW, so a window of several thousand samples costs some microseconds.

#include "listen/PitchDetector.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace listening {

class McLeodPitch final : public PitchDetector {
public:
    // Finds pitches from minHz to maxHz in windows of up to maxWindow samples.
    // cutoff: a key maximum counts when it reaches this share of the highest (0.8..0.97).
    // checkHarmonics: look at the spectrum for an octave or twelfth found below the note
    // (see harmonicCorrection); off, it is the plain method.
    McLeodPitch(int sampleRate, double minHz, double maxHz, std::size_t maxWindow, double cutoff = 0.85,
                bool checkHarmonics = true);
    ~McLeodPitch() override;

    PitchEstimate Estimate(std::span<const float> window) override;

private:
    struct Fft;
    struct Peak {
        std::size_t lag;
        float value;
    };
    void Autocorrelate(std::span<const float> window);
    bool SquareDifference(std::span<const float> window, std::size_t longestLag);
    std::optional<Peak> ChoosePeak(std::size_t shortestLag, std::size_t longestLag) const;
    std::pair<double, double> RefineLag(std::size_t lag, std::size_t longestLag) const;
    int HarmonicCorrection(std::span<const float> window, double hz);
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
