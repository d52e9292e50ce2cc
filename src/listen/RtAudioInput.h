#pragma once
// The system's audio inputs through RtAudio: PulseAudio (and PipeWire through it), ALSA
// and JACK, whichever exist. Inputs are named "<system>: <device>", e.g. "ALSA: hw:USB
// Audio,0" or "JACK: system". A JACK server is used only when one runs: this class never
// lets JACK start one.

#include "listen/AudioInput.h"

#include <atomic>
#include <memory>
#include <mutex>

class RtAudio;

namespace listening {

class RtAudioInput final : public AudioInput {
public:
    RtAudioInput();
    ~RtAudioInput() override;

    QList<InputDevice> devices() override;
    InputStatus open(const QString& name, int sampleRate) override;
    InputStatus start() override;
    void stop() override;
    void close() override;

    InputStatus status() const override;
    QString errorText() const override;
    QString deviceName() const override { return deviceName_; }
    int sampleRate() const override { return sampleRate_; }
    int bufferFrames() const override { return bufferFrames_; }

    // The JACK client name the input registers (its ports are "<name>:inport 0", ...).
    static constexpr const char* JackClientName = "fretlore-input";

private:
    struct Candidate;
    static int onAudio(void* output, void* input, unsigned int frames, double streamTime,
                       unsigned int status, void* self);
    static void onError(int type, const std::string& text);
    QList<Candidate> candidates();
    InputStatus setStatus(InputStatus status, const QString& detail = {});

    std::unique_ptr<RtAudio> audio_;
    QString deviceName_;
    int sampleRate_ = 0;
    int bufferFrames_ = 0;
    int channels_ = 0;
    InputStatus status_ = InputStatus::Closed;
    QString detail_;
    std::atomic<bool> broken_{false};   // set from RtAudio's threads
    mutable std::mutex brokenTextMutex_;
    QString brokenText_;
};

} // namespace listening
