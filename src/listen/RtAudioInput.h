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

    QList<InputDevice> Devices() override;
    InputStatus Open(const QString& name, int sampleRate) override;
    InputStatus Start() override;
    void Stop() override;
    void Close() override;

    InputStatus Status() const override;
    QString ErrorText() const override;
    QString DeviceName() const override { return deviceName_; }
    int SampleRate() const override { return sampleRate_; }
    int BufferFrames() const override { return bufferFrames_; }

    // The JACK client name the input registers (its ports are "<name>:inport 0", ...).
    static constexpr const char* JackClientName = "fretlore-input";

private:
    struct Candidate;
    static int OnAudio(void* output, void* input, unsigned int frames, double streamTime,
                       unsigned int status, void* self);
    static void OnError(int type, const std::string& text);
    QList<Candidate> Candidates();
    InputStatus SetStatus(InputStatus status, const QString& detail = {});
    // The JACK server went away under the running stream (RtAudio then closes it itself).
    bool DroppedByJack() const;

    std::unique_ptr<RtAudio> audio_;
    QString deviceName_;
    int sampleRate_ = 0;
    int bufferFrames_ = 0;
    int channels_ = 0;
    InputStatus status_ = InputStatus::Closed;
    bool droppedByJack_ = false;
    QString detail_;
    std::atomic<bool> broken_{false};   // set from RtAudio's threads
    mutable std::mutex brokenTextMutex_;
    QString brokenText_;
};

} // namespace listening
