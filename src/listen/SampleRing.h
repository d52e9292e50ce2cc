#pragma once
// A single-producer, single-consumer ring of float samples. The audio thread pushes and
// the GUI thread pops; neither ever waits or allocates. When the reader falls behind
// the writer drops what does not fit and counts it, rather than overwrite samples the
// reader may be copying.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace listening {

class SampleRing {
public:
    // capacity: at least this many samples fit; rounded up to a power of two.
    explicit SampleRing(std::size_t capacity)
    {
        std::size_t size = 1;
        while (size < capacity)
            size <<= 1;
        buffer_.assign(size, 0.0f);
        mask_ = size - 1;
    }

    std::size_t Capacity() const { return buffer_.size(); }

    // Producer side. Returns how many samples were stored (the rest were dropped).
    std::size_t Push(const float* samples, std::size_t count)
    {
        const std::uint64_t write = write_.load(std::memory_order_relaxed);
        const std::uint64_t read = read_.load(std::memory_order_acquire);
        const std::size_t room = buffer_.size() - static_cast<std::size_t>(write - read);
        const std::size_t stored = std::min(room, count);
        for (std::size_t i = 0; i < stored; ++i)
            buffer_[(write + i) & mask_] = samples[i];
        write_.store(write + stored, std::memory_order_release);
        if (stored < count)
            dropped_.fetch_add(count - stored, std::memory_order_relaxed);
        return stored;
    }

    // Consumer side: appends everything available to out and returns the count.
    std::size_t PopAll(std::vector<float>& out)
    {
        const std::uint64_t read = read_.load(std::memory_order_relaxed);
        const std::uint64_t write = write_.load(std::memory_order_acquire);
        const std::size_t available = static_cast<std::size_t>(write - read);
        const std::size_t start = out.size();
        out.resize(start + available);
        for (std::size_t i = 0; i < available; ++i)
            out[start + i] = buffer_[(read + i) & mask_];
        read_.store(read + available, std::memory_order_release);
        return available;
    }

    // Consumer side: forgets everything queued.
    void Clear() { read_.store(write_.load(std::memory_order_acquire), std::memory_order_release); }

    // Samples lost because the reader fell behind, since the ring was made.
    std::uint64_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }

private:
    std::vector<float> buffer_;
    std::size_t mask_ = 0;
    std::atomic<std::uint64_t> write_{0};
    std::atomic<std::uint64_t> read_{0};
    std::atomic<std::uint64_t> dropped_{0};
};

} // namespace listening
