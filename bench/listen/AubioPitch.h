#pragma once
// For the comparison in the accuracy benchmark only (the listener uses McLeodPitch):
// aubio's pitch methods (yinfft, yin, yinfast, mcomb, ...) behind the detector interface,
// fed the latest window of a fixed size as aubio expects.

#include "listen/PitchDetector.h"

#include <memory>
#include <string>

namespace listening {

class AubioPitch final : public PitchDetector {
public:
    AubioPitch(const std::string& method, int sampleRate, std::size_t windowSize);
    ~AubioPitch() override;

    PitchEstimate Estimate(std::span<const float> window) override;

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    std::size_t windowSize_;
    bool hasConfidence_;
};

} // namespace listening
