#pragma once
// Sounds for the listening tests and benchmark: synthetic plucked tones, noise, mains
// hum and real recorded notes from GUS patches (freepats).

#include <QString>

#include <cstdint>
#include <vector>

namespace listening::testing {

using Samples = std::vector<float>;

// A plucked-string-like tone: harmonics 1..12 with falling amplitude, a 2 ms attack and
// an exponential decay (upper harmonics faster). Peak about amplitude.
Samples PluckedTone(int rate, double hz, double seconds, double amplitude = 0.5);
Samples Silence(int rate, double seconds);
Samples WhiteNoise(std::size_t count, double rms, std::uint32_t seed);
// Pink (1/f) noise, as a room's background is.
Samples PinkNoise(std::size_t count, double rms, std::uint32_t seed);
// Mains hum: baseHz and its harmonics up to 8, as a ground loop gives, slowly wavering.
Samples Hum(int rate, double seconds, double baseHz, double rms);

double Rms(const Samples& samples, std::size_t from = 0, std::size_t count = SIZE_MAX);
// Appends b to a.
void Append(Samples& a, const Samples& b);

// One sample of a Gravis UltraSound patch (.pat): a real recording and its root pitch.
struct GusSample {
    QString name;
    int rate = 0;
    double rootHz = 0.0;         // the pitch it was recorded at
    double lowHz = 0.0;          // the key range it serves
    double highHz = 0.0;
    bool looping = false;
    std::size_t loopStart = 0;   // in samples
    std::size_t loopEnd = 0;
    Samples data;
};
// The samples of a patch file; empty when the file cannot be read or is no GUS patch
// (error, if given, says why).
std::vector<GusSample> ReadGusPatch(const QString& path, QString* error = nullptr);
// The sample played at hz for seconds (looping its sustain as a synthesizer does, then
// a 30 ms fade), resampled to rate. Sample offsets of the result are at rate.
Samples PlayGusSample(const GusSample& sample, double hz, int rate, double seconds);

// The General MIDI SoundFont Debian installs (timgm6mb), or empty when there is none.
QString DefaultSoundFont();

} // namespace listening::testing
