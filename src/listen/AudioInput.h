#pragma once
// Audio input behind a small interface: list the inputs by name, open one at a sample
// rate, start and stop it. Whatever the back end, its audio thread only calls
// Deliver(), which mixes the frames down to mono into a lock-free ring and bumps atomic
// counters; the owner drains the ring on its own thread (see Listener). Nothing here is
// a QObject, and nothing on the audio thread allocates, locks or signals.

#include "listen/SampleRing.h"

#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace listening {

// What became of the last request, or of a running input. The texts are InputStatusText().
enum class InputStatus {
    Closed,           // nothing open
    Open,             // open and stopped
    Running,          // delivering samples
    NoDevice,         // this computer has no audio input at all
    DeviceMissing,    // the named input is not (or no longer) in the list
    OpenFailed,       // the back end refused to open it (busy, no permission, ...)
    RateUnsupported,  // the input runs at none of the rates we can work with
    Vanished,         // it stopped delivering while running (unplugged, server gone)
};

// A user-readable sentence for status, naming the device where that helps.
QString InputStatusText(InputStatus status, const QString& deviceName = {});

struct InputDevice {
    QString name;              // unique in the list, stable across runs: store this
    int channels = 0;          // input channels
    QList<int> sampleRates;    // rates it offers (may be just the one a server runs at)
    bool isDefault = false;    // the system's default input
};

// Sample rates the detection works at.
inline bool IsSupportedRate(int rate) { return rate >= 22050 && rate <= 192000; }

class AudioInput {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~AudioInput() = default;
    AudioInput(const AudioInput&) = delete;
    AudioInput& operator=(const AudioInput&) = delete;

    // The inputs there are now. May take some milliseconds (asks every back end).
    virtual QList<InputDevice> Devices() = 0;

    // Opens the input called name (empty: the system's default) at sampleRate, or at the
    // nearest rate it offers when it cannot run at that one (0: its own preferred rate).
    // Returns Open or the reason it failed; ErrorText() then says more.
    virtual InputStatus Open(const QString& name, int sampleRate) = 0;
    virtual InputStatus Start() = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;

    // Open, Running, Closed, or the failure; Vanished once the back end reported that
    // the stream broke (the owner also notices a stream that just goes quiet: see
    // LastDelivery()).
    virtual InputStatus Status() const = 0;
    virtual QString ErrorText() const = 0;
    virtual QString DeviceName() const = 0;   // of the open input
    virtual int SampleRate() const = 0;       // the rate it actually runs at, 0 when closed
    virtual int BufferFrames() const = 0;     // frames per callback, 0 when closed

    // Consumer side (the owner's thread).
    SampleRing& Samples() { return ring_; }
    // Frames the audio thread has delivered since open (read with LastDelivery()).
    std::int64_t FramesDelivered() const { return frames_.load(std::memory_order_acquire); }
    // When the audio thread last delivered; Clock's epoch before the first delivery.
    Clock::time_point LastDelivery() const
    {
        return Clock::time_point(Clock::duration(lastDelivery_.load(std::memory_order_acquire)));
    }
    // Overruns the back end reported (samples lost in the driver).
    std::uint64_t Overruns() const { return overruns_.load(std::memory_order_relaxed); }

protected:
    AudioInput() : ring_(1 << 18) {}

    // Audio thread: mixes interleaved frames down to mono and queues them.
    void Deliver(const float* interleaved, std::size_t frames, int channels)
    {
        float mono[512];
        std::size_t done = 0;
        while (done < frames) {
            const std::size_t chunk = std::min<std::size_t>(frames - done, std::size(mono));
            for (std::size_t i = 0; i < chunk; ++i) {
                const float* frame = interleaved + (done + i) * static_cast<std::size_t>(channels);
                float sum = 0.0f;
                for (int c = 0; c < channels; ++c)
                    sum += frame[c];
                mono[i] = sum / static_cast<float>(channels);
            }
            ring_.Push(mono, chunk);
            done += chunk;
        }
        frames_.fetch_add(static_cast<std::int64_t>(frames), std::memory_order_release);
        lastDelivery_.store(Clock::now().time_since_epoch().count(), std::memory_order_release);
    }
    void NoteOverrun() { overruns_.fetch_add(1, std::memory_order_relaxed); }

    // Owner's thread, before a (re)start: nothing old is left to drain.
    void ResetDelivery()
    {
        ring_.Clear();
        frames_.store(0, std::memory_order_release);
        lastDelivery_.store(Clock::now().time_since_epoch().count(), std::memory_order_release);
    }

private:
    SampleRing ring_;
    std::atomic<std::int64_t> frames_{0};
    std::atomic<Clock::rep> lastDelivery_{0};
    std::atomic<std::uint64_t> overruns_{0};
};

} // namespace listening
