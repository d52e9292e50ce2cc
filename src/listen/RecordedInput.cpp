#include "listen/RecordedInput.h"

#include <algorithm>
#include <cmath>

namespace listening {

RecordedInput::RecordedInput()
    : RecordedInput({InputDevice{QStringLiteral("Recorded input"), 1, {44100, 48000, 96000}, true}})
{
}

RecordedInput::RecordedInput(QList<InputDevice> devices) : devices_(std::move(devices)) {}

RecordedInput::~RecordedInput()
{
    Close();
}

void RecordedInput::SetSound(std::vector<float> samples)
{
    Stop();
    sound_ = std::move(samples);
}

InputStatus RecordedInput::Open(const QString& name, int sampleRate)
{
    Close();
    deviceName_ = name;
    if (devices_.isEmpty())
        return status_ = InputStatus::NoDevice;
    auto device = std::find_if(devices_.begin(), devices_.end(), [&](const InputDevice& d) {
        return name.isEmpty() ? d.isDefault : d.name == name;
    });
    if (device == devices_.end())
        return status_ = InputStatus::DeviceMissing;
    deviceName_ = device->name;
    if (nextOpenFailure_ != InputStatus::Open) {
        status_ = std::exchange(nextOpenFailure_, InputStatus::Open);
        return status_;
    }
    QList<int> usable;
    for (int rate : device->sampleRates)
        if (IsSupportedRate(rate))
            usable.append(rate);
    if (usable.isEmpty())
        return status_ = InputStatus::RateUnsupported;
    const int wanted = sampleRate > 0 ? sampleRate : 48000;
    sampleRate_ = *std::min_element(usable.begin(), usable.end(), [wanted](int a, int b) {
        return std::abs(a - wanted) < std::abs(b - wanted);
    });
    return status_ = InputStatus::Open;
}

InputStatus RecordedInput::Start()
{
    if (status_ == InputStatus::Running)
        return status_;
    if (status_ != InputStatus::Open)
        return status_;
    ResetDelivery();
    position_ = 0;
    silenced_ = false;
    reportedBroken_ = false;
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
    return status_ = InputStatus::Running;
}

void RecordedInput::Stop()
{
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
    if (status_ == InputStatus::Running)
        status_ = InputStatus::Open;
}

void RecordedInput::Close()
{
    Stop();
    if (status_ == InputStatus::Open)
        status_ = InputStatus::Closed;
    sampleRate_ = 0;
}

void RecordedInput::Vanish(bool reported)
{
    silenced_ = true;
    if (reported)
        reportedBroken_ = true;
}

InputStatus RecordedInput::Status() const
{
    if (reportedBroken_ && status_ == InputStatus::Running)
        return InputStatus::Vanished;
    return status_;
}

void RecordedInput::Run(std::stop_token stop)
{
    const auto frames = static_cast<std::size_t>(bufferFrames_);
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(frames) / sampleRate_ / speed_));
    std::vector<float> block(frames);
    auto next = Clock::now();
    while (!stop.stop_requested()) {
        next += period;
        std::this_thread::sleep_until(next); // the pace of a device's clock
        if (silenced_)
            continue;
        const std::size_t at = position_.load();
        for (std::size_t i = 0; i < frames; ++i)
            block[i] = at + i < sound_.size() ? sound_[at + i] : 0.0f;
        position_.store(at + frames);
        Deliver(block.data(), frames, 1);
    }
}

} // namespace listening
