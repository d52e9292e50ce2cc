#pragma once
// An input for tests and demonstrations that plays samples from memory (or a WAV file)
// on its own thread, block by block at the pace of a real device, then delivers silence
// as a live microphone would. It can be told to refuse to open, or to vanish mid-stream
// with or without an error report.

#include "listen/AudioInput.h"
#include "listen/WavFile.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace listening {

class RecordedInput final : public AudioInput {
public:
    // One input called "Recorded input" offering 44100, 48000 and 96000 Hz.
    RecordedInput();
    explicit RecordedInput(QList<InputDevice> devices);
    ~RecordedInput() override;

    // What Start() plays, at whatever rate the input was opened at.
    void SetSound(std::vector<float> samples);
    // speed > 1 delivers faster than real time.
    void SetSpeed(double speed) { speed_ = speed; }
    void SetBufferFrames(int frames) { bufferFrames_ = frames; }
    // The next Open() fails with this status (OpenFailed, RateUnsupported, ...).
    void FailNextOpen(InputStatus status) { nextOpenFailure_ = status; }
    // The stream stops delivering. With reported, the back end says so (as RtAudio's
    // error callback would); without, it just goes quiet (as a dying server may).
    void Vanish(bool reported);

    // Samples played so far (from the audio thread's point of view).
    std::size_t Played() const { return position_.load(); }

    QList<InputDevice> Devices() override { return devices_; }
    InputStatus Open(const QString& name, int sampleRate) override;
    InputStatus Start() override;
    void Stop() override;
    void Close() override;
    InputStatus Status() const override;
    QString ErrorText() const override { return InputStatusText(Status(), deviceName_); }
    QString DeviceName() const override { return deviceName_; }
    int SampleRate() const override { return sampleRate_; }
    int BufferFrames() const override { return status_ == InputStatus::Closed ? 0 : bufferFrames_; }

private:
    void Run(std::stop_token stop);

    QList<InputDevice> devices_;
    std::vector<float> sound_;
    double speed_ = 1.0;
    int bufferFrames_ = 256;
    InputStatus nextOpenFailure_ = InputStatus::Open;
    InputStatus status_ = InputStatus::Closed;
    QString deviceName_;
    int sampleRate_ = 0;
    std::atomic<std::size_t> position_{0};
    std::atomic<bool> silenced_{false};
    std::atomic<bool> reportedBroken_{false};
    std::jthread thread_;
};

} // namespace listening
