#include "listen/McLeodPitch.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <stdexcept>

namespace listening {

namespace {
constexpr float murkyBelow = 0.75f;  // the best key maximum's height
constexpr double murkyCutoff = 0.97;
} // namespace

double MidiOfHz(double hz)
{
    return 69.0 + 12.0 * std::log2(hz / 440.0);
}

double HzOfMidi(double midi)
{
    return 440.0 * std::exp2((midi - 69.0) / 12.0);
}

// One real-to-complex and one complex-to-real plan over the same buffers.
struct McLeodPitch::Fft {
    explicit Fft(std::size_t n)
        : size(n), real(fftwf_alloc_real(n)), spectrum(fftwf_alloc_complex(n / 2 + 1))
    {
        if (!real || !spectrum)
            throw std::bad_alloc();
        forward = fftwf_plan_dft_r2c_1d(static_cast<int>(n), real, spectrum, FFTW_ESTIMATE);
        backward = fftwf_plan_dft_c2r_1d(static_cast<int>(n), spectrum, real, FFTW_ESTIMATE);
        if (!forward || !backward)
            throw std::runtime_error("FFTW could not plan the autocorrelation");
    }
    ~Fft()
    {
        if (forward)
            fftwf_destroy_plan(forward);
        if (backward)
            fftwf_destroy_plan(backward);
        fftwf_free(spectrum);
        fftwf_free(real);
    }
    Fft(const Fft&) = delete;
    Fft& operator=(const Fft&) = delete;

    std::size_t size;
    float* real;
    fftwf_complex* spectrum;
    fftwf_plan forward = nullptr;
    fftwf_plan backward = nullptr;
};

McLeodPitch::McLeodPitch(int sampleRate, double minHz, double maxHz, std::size_t maxWindow, double cutoff,
                         bool checkHarmonics)
    : sampleRate_(sampleRate), minHz_(minHz), maxHz_(maxHz), maxWindow_(maxWindow), cutoff_(cutoff),
      checkHarmonics_(checkHarmonics)
{
    std::size_t n = 1;
    while (n < 2 * maxWindow)
        n <<= 1;
    fft_ = std::make_unique<Fft>(n);
    nsdf_.resize(maxWindow / 2 + 2);
}

McLeodPitch::~McLeodPitch() = default;

PitchEstimate McLeodPitch::Estimate(std::span<const float> window)
{
    if (window.size() > maxWindow_)
        window = window.last(maxWindow_);
    const auto shortestLag = static_cast<std::size_t>(std::floor(sampleRate_ / maxHz_));
    const std::size_t longestLag =
        std::min<std::size_t>(window.size() / 2, static_cast<std::size_t>(std::ceil(sampleRate_ / minHz_)));
    if (longestLag < shortestLag + 2)
        return {};
    if (!SquareDifference(window, longestLag))
        return {};
    const std::optional<Peak> chosen = ChoosePeak(shortestLag, longestLag);
    if (!chosen)
        return {};
    const auto [lag, top] = RefineLag(chosen->lag, longestLag);
    double hz = sampleRate_ / lag;
    if (checkHarmonics_)
        hz *= HarmonicCorrection(window, hz);
    return {hz, std::min(1.0, top)};
}

// Autocorrelation r(tau) of the mean-free window, zero-padded so that it does not wrap;
// leaves the window itself in centred_ and r(tau) * size in the FFT's real buffer.
void McLeodPitch::Autocorrelate(std::span<const float> window)
{
    const std::size_t length = window.size();
    double mean = 0.0;
    for (float x : window)
        mean += x;
    mean /= static_cast<double>(length);
    float* real = fft_->real;
    for (std::size_t i = 0; i < length; ++i)
        real[i] = window[i] - static_cast<float>(mean);
    std::fill(real + length, real + fft_->size, 0.0f);
    fftwf_execute(fft_->forward);
    for (std::size_t k = 0; k < fft_->size / 2 + 1; ++k) {
        fftwf_complex& c = fft_->spectrum[k];
        c[0] = c[0] * c[0] + c[1] * c[1];
        c[1] = 0.0f;
    }
    centred_.assign(real, real + length);
    fftwf_execute(fft_->backward);
}

// The normalised square difference nsdf_[0..longestLag]. False for a silent window.
bool McLeodPitch::SquareDifference(std::span<const float> window, std::size_t longestLag)
{
    Autocorrelate(window);
    const std::vector<float>& x = centred_;
    const std::size_t length = x.size();
    const float* r = fft_->real;
    const double scale = 1.0 / static_cast<double>(fft_->size);
    // m(tau) = sum of x[j]^2 + x[j+tau]^2 over the overlap, updated lag by lag.
    double energy = 0.0;
    for (float v : x)
        energy += double(v) * v;
    if (energy < 1e-12)
        return false;
    double m = 2.0 * energy;
    for (std::size_t tau = 0; tau <= longestLag; ++tau) {
        if (tau > 0)
            m -= double(x[tau - 1]) * x[tau - 1] + double(x[length - tau]) * x[length - tau];
        nsdf_[tau] = m > 1e-12 ? static_cast<float>(2.0 * r[tau] * scale / m) : 0.0f;
    }
    return true;
}

// Key maxima: the highest point of each positive lobe after the first zero crossing;
// the first of them that comes within the cutoff of the highest.
std::optional<McLeodPitch::Peak> McLeodPitch::ChoosePeak(std::size_t shortestLag, std::size_t longestLag) const
{
    Peak peaks[64];
    std::size_t peakCount = 0;
    std::size_t tau = 1;
    while (tau <= longestLag && nsdf_[tau] > 0.0f)
        ++tau;
    while (tau <= longestLag && peakCount < std::size(peaks)) {
        while (tau <= longestLag && nsdf_[tau] <= 0.0f)
            ++tau;
        Peak best{0, -1.0f};
        while (tau <= longestLag && nsdf_[tau] > 0.0f) {
            if (nsdf_[tau] > best.value)
                best = {tau, nsdf_[tau]};
            ++tau;
        }
        // A lobe cut off by the end of the lags may not have reached its top.
        const bool complete = tau <= longestLag || best.lag + 1 < longestLag;
        if (best.lag >= shortestLag && best.lag > 0 && complete)
            peaks[peakCount++] = best;
    }
    if (peakCount == 0)
        return std::nullopt;
    float highest = 0.0f;
    for (std::size_t i = 0; i < peakCount; ++i)
        highest = std::max(highest, peaks[i].value);
    // In a murky stretch (a distorted attack, a note still settling) a key maximum well
    // below the best is more often a strong partial than the period: be stricter there.
    const double cutoff = highest < murkyBelow ? std::max(cutoff_, murkyCutoff) : cutoff_;
    return *std::find_if(peaks, peaks + peakCount, [&](const Peak& p) { return p.value >= cutoff * highest; });
}

// A parabola through the peak and its neighbours gives the lag between samples and the
// height of its top.
std::pair<double, double> McLeodPitch::RefineLag(std::size_t lag, std::size_t longestLag) const
{
    const double left = nsdf_[lag - 1], centre = nsdf_[lag], right = lag + 1 <= longestLag ? nsdf_[lag + 1] : centre;
    const double curve = left - 2.0 * centre + right;
    double shift = 0.0, top = centre;
    if (curve < 0.0) {
        shift = std::clamp(0.5 * (left - right) / curve, -0.5, 0.5);
        top = centre - 0.25 * (left - right) * shift;
    }
    return {static_cast<double>(lag) + shift, top};
}

// A note's attack (body resonances, a second sample layered in) can repeat more exactly
// over two or three of its periods than over one, and the square difference then finds
// an octave or a twelfth below the note. The spectrum tells: when the partials that are
// no multiple of m*hz hold next to nothing, the note is m*hz. For the twelfth "next to
// nothing" is looser (30 %): an open string a twelfth below rings along with the note
// (A2 under E4) and fills its subharmonic partials, while a real low note has most of
// its power in its first two partials, which are no multiple of three.
int McLeodPitch::HarmonicCorrection(std::span<const float> window, double hz)
{
    const std::size_t length = window.size();
    float* real = fft_->real;
    for (std::size_t i = 0; i < length; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (double(i) + 0.5) / double(length));
        real[i] = static_cast<float>(centred_[i] * hann);
    }
    std::fill(real + length, real + fft_->size, 0.0f);
    fftwf_execute(fft_->forward);
    const std::size_t bins = fft_->size / 2 + 1;
    const double binHz = double(sampleRate_) / double(fft_->size);
    // The strongest power within a quarter of hz around f.
    const auto partial = [&](double f) {
        const auto from = static_cast<std::size_t>(std::max(0.0, (f - 0.25 * hz) / binHz));
        const auto to = std::min(bins - 1, static_cast<std::size_t>((f + 0.25 * hz) / binHz));
        double best = 0.0;
        for (std::size_t k = from; k <= to; ++k) {
            const fftwf_complex& c = fft_->spectrum[k];
            best = std::max(best, double(c[0]) * c[0] + double(c[1]) * c[1]);
        }
        return best;
    };
    const double top = std::min(0.45 * sampleRate_, 5000.0);
    int factor = 1;
    for (const int m : {2, 3}) {
        const double f0 = hz * factor;
        if (f0 * m > maxHz_)
            continue;
        double others = 0.0, multiples = 0.0;
        for (int k = 1; k * f0 < top; ++k)
            (k % m ? others : multiples) += partial(k * f0);
        if (multiples > 0.0 && others < (m == 3 ? 0.3 : 0.05) * multiples)
            factor *= m;
    }
    return factor;
}

} // namespace listening
