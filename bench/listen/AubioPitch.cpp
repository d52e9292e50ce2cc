#include "AubioPitch.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <stdexcept>

namespace listening {

struct AubioPitch::Handles {
    aubio_pitch_t* pitch = nullptr;
    fvec_t* input = nullptr;
    fvec_t* output = nullptr;
    ~Handles()
    {
        if (pitch)
            del_aubio_pitch(pitch);
        if (input)
            del_fvec(input);
        if (output)
            del_fvec(output);
    }
};

AubioPitch::AubioPitch(const std::string& method, int sampleRate, std::size_t windowSize)
    : handles_(std::make_unique<Handles>()), windowSize_(windowSize),
      // aubio 0.4.9 reports a confidence for its YIN methods only (0 for the others).
      hasConfidence_(method == "yin" || method == "yinfast")
{
    const auto size = static_cast<uint_t>(windowSize);
    // hop = window: every call hands aubio a whole new window.
    handles_->pitch = new_aubio_pitch(method.c_str(), size, size, static_cast<uint_t>(sampleRate));
    handles_->input = new_fvec(size);
    handles_->output = new_fvec(1);
    if (!handles_->pitch || !handles_->input || !handles_->output)
        throw std::runtime_error("aubio could not make the pitch detector " + method);
    aubio_pitch_set_unit(handles_->pitch, "Hz");
    aubio_pitch_set_silence(handles_->pitch, -120.0f); // the listener gates by level itself
}

AubioPitch::~AubioPitch() = default;

PitchEstimate AubioPitch::Estimate(std::span<const float> window)
{
    if (window.size() > windowSize_)
        window = window.last(windowSize_);
    smpl_t* data = handles_->input->data;
    const std::size_t pad = windowSize_ - window.size();
    std::fill(data, data + pad, 0.0f);
    std::copy(window.begin(), window.end(), data + pad);
    aubio_pitch_do(handles_->pitch, handles_->input, handles_->output);
    const double hz = handles_->output->data[0];
    if (!(hz > 0.0))
        return {};
    return {hz, hasConfidence_ ? double(aubio_pitch_get_confidence(handles_->pitch)) : 1.0};
}

} // namespace listening
