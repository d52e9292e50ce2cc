#include "listen/NoteListener.h"

#include "listen/McLeodPitch.h"

#include <algorithm>
#include <cmath>

namespace listening {

namespace {

constexpr double tickSeconds = 0.0025;
constexpr float riseRatio = 2.0f;          // an onset at least doubles the peak level
constexpr std::size_t gapTicks = 4;        // ... of 10 ms before
constexpr double clarityNeeded = 0.5;        // agreement does the rest
constexpr int agreeingEstimates = 4;         // 10 ms of one answer
// The first milliseconds of a plucked note (pick noise, body thump, a sampler's attack)
// often repeat at an octave or a twelfth below the note: judge what follows them.
constexpr double attackSeconds = 0.010;
// A second look at the sound above this, where a note's harmonics are and a body's boom
// or a bass's thump is not (see EstimateLatest).
constexpr double upperCutoffHz = 250.0;
// A fundamental this periodic is believed over a clearer harmonic of it above the cutoff.
constexpr double clearFundamental = 0.8;
// And a third look below, for the notes under C2. On a bass's lowest strings what a small
// microphone leaves above its cut-off (the partials from the fifth up, a slap's click)
// may no longer repeat at the note's period; the partials just above the note still do.
// Taken only where neither look above is clear.
constexpr double lowerCeilingHz = 65.4;
constexpr double lowerCutoffPerLowest = 6.0;  // the cut-off over the lowest note's pitch
constexpr double lowerWhenBelow = 0.7;
// Once the pitch is known roughly, it is measured again over this many of its periods:
// the latest few milliseconds, past a pitch that is still settling (distortion, a bend
// into the note) earlier in the window.
constexpr double recentPeriods = 4.0;
// A plucked or slapped string sounds sharp at first and settles (up to half a semitone
// on a bass): a note is taken to be the nearest one 20 cents below what is measured, so
// that the window a note is heard in runs from 30 cents flat to 70 cents sharp.
constexpr double sharpAttack = 0.2;
constexpr double soundFloor = 1e-4;        // -80 dBFS
constexpr float clipLevel = 0.99f;
constexpr int clippedSamples = 3;          // this many at full scale in one reading

double LinearOfDb(double db)
{
    return std::pow(10.0, db / 20.0);
}

double DbOf(double linear)
{
    return linear > 1e-6 ? 20.0 * std::log10(linear) : -120.0;
}

} // namespace

std::unique_ptr<PitchDetector> MakeDefaultDetector(int sampleRate, double minHz, double maxHz, std::size_t maxWindow)
{
    return std::make_unique<McLeodPitch>(sampleRate, minHz, maxHz, maxWindow);
}

NoteListener::NoteListener(int sampleRate, ListenOptions options, DetectorFactory factory)
    : sampleRate_(sampleRate), options_(options), upperFilter_(Biquad::HighPass(sampleRate, upperCutoffHz)),
      lowerLook_(HzOfMidi(options.lowestMidi - 0.5) < lowerCeilingHz),
      lowerFilter_{Biquad::LowPass(sampleRate, lowerCutoffPerLowest * HzOfMidi(options.lowestMidi)),
                   Biquad::LowPass(sampleRate, lowerCutoffPerLowest * HzOfMidi(options.lowestMidi))}
{
    // Half a semitone of slack below the lowest note for a string tuned a little flat.
    const double minHz = HzOfMidi(options_.lowestMidi - 0.5);
    const double maxHz = HzOfMidi(options_.highestMidi + 0.5);
    const double longestPeriod = sampleRate_ / minHz;
    tick_ = std::max<std::size_t>(16, static_cast<std::size_t>(std::lround(sampleRate_ * tickSeconds)));
    window_ = static_cast<std::size_t>(std::ceil(2.0 * longestPeriod));
    referenceTicks_ = static_cast<std::size_t>(std::ceil(1.25 * longestPeriod / double(tick_)));
    refractory_ = FramesOf(0.05);
    attack_ = FramesOf(attackSeconds);
    giveUp_ = static_cast<std::int64_t>(window_) + FramesOf(0.1);
    threshold_ = LinearOfDb(options_.thresholdDb);
    recent_.reserve(2 * window_ + tick_);
    upper_.reserve(2 * window_ + tick_);
    if (lowerLook_)
        lower_.reserve(2 * window_ + tick_);
    tickPeaks_.reserve(referenceTicks_ + gapTicks);
    detector_ = factory ? factory(sampleRate_, minHz, maxHz, window_)
                        : MakeDefaultDetector(sampleRate_, minHz, maxHz, window_);
}

NoteListener::~NoteListener() = default;

std::int64_t NoteListener::FramesOf(double seconds) const
{
    return static_cast<std::int64_t>(std::llround(seconds * sampleRate_));
}

double NoteListener::SecondsOf(std::int64_t frames) const
{
    return static_cast<double>(frames) / sampleRate_;
}

void NoteListener::SetThresholdDb(double db)
{
    options_.thresholdDb = db;
    threshold_ = LinearOfDb(db);
}

void NoteListener::MuteUntil(std::int64_t frame)
{
    muteEnd_ = std::max(muteEnd_, frame);
    if (tracking_ && onsetFrame_ < muteEnd_)
        tracking_ = false;
}

LevelReading NoteListener::TakeLevel()
{
    LevelReading reading;
    reading.frames = levelFrames_;
    if (levelFrames_ > 0) {
        reading.rmsDb = DbOf(std::sqrt(levelSquares_ / static_cast<double>(levelFrames_)));
        reading.peakDb = DbOf(levelPeak_);
    }
    reading.clipped = levelClipped_ >= clippedSamples;
    levelSquares_ = 0.0;
    levelPeak_ = 0.0f;
    levelClipped_ = 0;
    levelFrames_ = 0;
    return reading;
}

void NoteListener::Process(std::span<const float> samples, std::vector<PlayedNote>& played)
{
    for (const float x : samples) {
        const float magnitude = std::fabs(x);
        levelSquares_ += double(x) * x;
        levelPeak_ = std::max(levelPeak_, magnitude);
        if (magnitude >= clipLevel)
            ++levelClipped_;
        ++levelFrames_;
        if (magnitude > soundFloor)
            lastSoundFrame_ = position_ + 1;

        // A rise over everything of the last periods: a new note begins here.
        if (warm_ && magnitude > riseRatio * reference_ && magnitude >= threshold_
            && position_ - lastOnset_ >= refractory_) {
            lastOnset_ = position_;
            if (position_ >= muteEnd_) {
                tracking_ = true;
                onsetFrame_ = position_;
                runMidi_ = -1;
                runLength_ = 0;
            }
        }

        recent_.push_back(x);
        upper_.push_back(upperFilter_(x));
        if (lowerLook_)
            lower_.push_back(lowerFilter_[1](lowerFilter_[0](x)));
        tickPeak_ = std::max(tickPeak_, magnitude);
        ++position_;
        if (++tickFill_ == tick_)
            EndTick(played);
    }
}

void NoteListener::EndTick(std::vector<PlayedNote>& played)
{
    if (tickPeaks_.size() == referenceTicks_ + gapTicks) {
        tickPeaks_.erase(tickPeaks_.begin());
        warm_ = true;
    }
    tickPeaks_.push_back(tickPeak_);
    // The level before the last 10 ms: an attack that takes a few milliseconds to
    // build (a soft pick, a distorted guitar, a note in noise) still doubles it.
    reference_ = *std::max_element(tickPeaks_.begin(),
                                   tickPeaks_.end() - static_cast<std::ptrdiff_t>(std::min(gapTicks, tickPeaks_.size() - 1)));
    tickPeak_ = 0.0f;
    tickFill_ = 0;

    if (tracking_)
        Judge(played);

    // Keep what the longest window needs, trimming in big steps.
    if (recent_.size() > 2 * window_) {
        const std::size_t drop = recent_.size() - window_;
        recent_.erase(recent_.begin(), recent_.begin() + static_cast<std::ptrdiff_t>(drop));
        upper_.erase(upper_.begin(), upper_.begin() + static_cast<std::ptrdiff_t>(drop));
        if (lowerLook_)
            lower_.erase(lower_.begin(), lower_.begin() + static_cast<std::ptrdiff_t>(drop));
    }
}

// The pitch of the latest n samples, as heard, above the upper cutoff and, for the
// lowest notes, below the lower one. A body resonance or thump below the note (a sampled
// acoustic bass has one that outweighs the note for 100 ms) can make the whole sound
// repeat at its own rate; the harmonics above it still repeat at the note's. So the
// clearest look wins, except that a filtered look must not trade a clear fundamental for
// one of its harmonics (the filter may have lost the fundamental).
PitchEstimate NoteListener::EstimateLatest(std::size_t n)
{
    const auto latest = [n](const std::vector<float>& samples) {
        return std::span<const float>(samples.data() + samples.size() - n, n);
    };
    PitchEstimate best = detector_->Estimate(latest(recent_));
    if (best.clarity >= 0.95) // this periodic, nothing below the note outweighs it
        return best;
    const auto consider = [&best](const PitchEstimate& other) {
        if (other.hz <= 0.0 || other.clarity <= best.clarity)
            return;
        if (best.hz > 0.0 && best.clarity >= clearFundamental) {
            const double ratio = other.hz / best.hz;
            if (ratio > 1.5 && std::fabs(ratio - std::round(ratio)) < 0.03 * ratio)
                return;
        }
        best = other;
    };
    consider(detector_->Estimate(latest(upper_)));
    if (lowerLook_ && best.clarity < lowerWhenBelow) {
        const PitchEstimate lower = detector_->Estimate(latest(lower_));
        if (lower.hz < lowerCeilingHz)
            consider(lower);
    }
    return best;
}

void NoteListener::Judge(std::vector<PlayedNote>& played)
{
    const std::int64_t sinceOnset = position_ - onsetFrame_;
    if (sinceOnset > giveUp_) {
        tracking_ = false;
        return;
    }
    if (sinceOnset < static_cast<std::int64_t>(window_) + attack_)
        return;

    // The latest two periods of the lowest note, all after the attack; then, for a
    // higher note, its latest few periods.
    PitchEstimate estimate = EstimateLatest(window_);
    if (estimate.hz > 0.0) {
        const auto recent = static_cast<std::size_t>(std::ceil(recentPeriods * sampleRate_ / estimate.hz));
        if (recent < window_ * 3 / 4) {
            const PitchEstimate closer = EstimateLatest(recent);
            if (closer.hz > 0.0 && closer.clarity >= clarityNeeded)
                estimate = closer;
        }
    }

    const bool usable = estimate.hz > 0.0 && estimate.clarity >= clarityNeeded;
    const int midi = usable ? static_cast<int>(std::lround(MidiOfHz(estimate.hz) - sharpAttack)) : -1;
    if (midi < options_.lowestMidi - 1 || midi > options_.highestMidi + 1) {
        runMidi_ = -1;
        runLength_ = 0;
        return;
    }
    if (midi == runMidi_) {
        ++runLength_;
    } else {
        runMidi_ = midi;
        runLength_ = 1;
    }
    runHz_ = estimate.hz;
    runClarity_ = estimate.clarity;
    if (runLength_ < agreeingEstimates)
        return;

    tracking_ = false;
    if (position_ < muteEnd_)
        return;
    played.push_back({runMidi_, runHz_, runClarity_, onsetFrame_, position_});
}

} // namespace listening
