#pragma once
// Minimal RIFF/WAVE reading and writing for recorded test input: PCM 16/24/32-bit and
// 32-bit float, any channel count (read back as mono, channels averaged).

#include <QString>

#include <vector>

namespace listening {

struct MonoSound {
    std::vector<float> samples;   // -1..1
    int sampleRate = 0;
};

// Empty samples and a rate of 0 when the file cannot be read or is no WAV file we know;
// error (if given) then says why.
MonoSound ReadWav(const QString& path, QString* error = nullptr);

// Writes 16-bit PCM mono (samples clamped to -1..1). False when the file cannot be written.
bool WriteWav(const QString& path, const MonoSound& sound);

} // namespace listening
