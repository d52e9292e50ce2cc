#pragma once
// Turns a stream of mono samples into "note played" events, once per note, judged at
// its onset. Plain C++ on the caller's thread; time is counted in frames of the stream.
//
// How: the stream is cut into ticks of about 2.5 ms. A note begins where a sample's
// magnitude is above the noise threshold and at least twice the highest of ~1.25
// periods of the lowest note before the last 10 ms (a sustained or ringing sound never
// rises like that, nor do noise and hum; the 10 ms let an attack that builds over a few
// milliseconds count too). Once two periods of the lowest note have sounded after the
// attack (its first 10 ms), the pitch detector looks at the latest two such periods,
// tick by tick (so no octave of a low note can pass for the note, and the attack soon
// leaves the window), as heard, above 250 Hz and, for notes under C2, below six times
// the lowest note; then at the latest four periods of the pitch it found. The note is
// reported when four estimates in a row (10 ms) agree on one MIDI note with some
// clarity; when none agree within the give-up time it is not reported at all. A held
// note never answers twice because only an onset starts a judgement.

#include "listen/Biquad.h"
#include "listen/PitchDetector.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace listening {

struct ListenOptions {
    int lowestMidi = 40;          // lowest note to hear (guitar E2 = 40, bass E1 = 28, B0 = 23)
    int highestMidi = 88;         // highest (E6)
    double thresholdDb = -50.0;   // a note's peak must reach this (dBFS) to count
};

struct PlayedNote {
    int midi = 0;                 // the note heard, concert pitch
    double hz = 0.0;              // its measured fundamental
    double clarity = 0.0;         // 0..1
    std::int64_t onsetFrame = 0;  // where it began, in frames since the stream began
    std::int64_t decidedFrame = 0;// when it was judged (the latest frame then consumed)
};

struct LevelReading {
    double rmsDb = -120.0;        // over the samples since the previous reading, dBFS
    double peakDb = -120.0;
    bool clipped = false;         // samples at full scale
    std::int64_t frames = 0;      // how many samples the reading covers
};

using DetectorFactory = std::function<std::unique_ptr<PitchDetector>(
    int sampleRate, double minHz, double maxHz, std::size_t maxWindow)>;

// The detector the listener uses unless told otherwise.
std::unique_ptr<PitchDetector> MakeDefaultDetector(int sampleRate, double minHz, double maxHz,
                                                   std::size_t maxWindow);

class NoteListener {
public:
    explicit NoteListener(int sampleRate, ListenOptions options = {}, DetectorFactory factory = {});
    ~NoteListener();
    NoteListener(const NoteListener&) = delete;
    NoteListener& operator=(const NoteListener&) = delete;

    // Consumes samples in stream order; appends the notes judged within them.
    void Process(std::span<const float> samples, std::vector<PlayedNote>& played);

    // Nothing that begins before frame is reported, nor anything judged before it: the
    // program's own note and its release must not answer for the learner.
    void MuteUntil(std::int64_t frame);
    bool MutedAt(std::int64_t frame) const { return frame < muteEnd_; }

    void SetThresholdDb(double db);
    double ThresholdDb() const { return options_.thresholdDb; }

    int SampleRate() const { return sampleRate_; }
    const ListenOptions& Options() const { return options_; }
    std::int64_t Position() const { return position_; }
    // Frames since a sample rose above -80 dBFS (since the start when none has).
    std::int64_t FramesSinceSound() const { return position_ - lastSoundFrame_; }
    // Level since the previous call (for a meter and the clipping warning).
    LevelReading TakeLevel();

    // Stream-time helpers.
    std::int64_t FramesOf(double seconds) const;
    double SecondsOf(std::int64_t frames) const;

private:
    void EndTick(std::vector<PlayedNote>& played);
    void Judge(std::vector<PlayedNote>& played);
    PitchEstimate EstimateLatest(std::size_t n);

    int sampleRate_;
    ListenOptions options_;
    std::unique_ptr<PitchDetector> detector_;

    // Sizes in frames.
    std::size_t tick_;
    std::size_t window_;          // two periods of the lowest note
    std::size_t referenceTicks_;  // how far back the onset looks for the level so far
    std::int64_t refractory_;     // no new onset this soon after one
    std::int64_t attack_;         // left out of the judgement after an onset
    std::int64_t giveUp_;         // no judgement this long after an onset: nothing heard
    double threshold_;            // linear peak

    std::int64_t position_ = 0;
    std::vector<float> recent_;   // the latest samples
    std::vector<float> upper_;    // the same through the high-pass
    Biquad upperFilter_;
    bool lowerLook_;              // the lowest note is below lowerCeilingHz
    std::vector<float> lower_;    // the same through the low-pass (when lowerLook_)
    std::array<Biquad, 2> lowerFilter_;  // in a row, for a steeper fall above the cut-off
    std::vector<float> tickPeaks_;// the last referenceTicks_ tick peaks, oldest first
    std::size_t tickFill_ = 0;
    float tickPeak_ = 0.0f;
    float reference_ = 0.0f;      // highest peak of the ticks in tickPeaks_
    bool warm_ = false;           // seen enough of the stream to judge a rise

    bool tracking_ = false;
    std::int64_t onsetFrame_ = 0;
    std::int64_t lastOnset_ = -(std::int64_t(1) << 40);
    int runMidi_ = -1;
    int runLength_ = 0;
    double runHz_ = 0.0;
    double runClarity_ = 0.0;

    std::int64_t muteEnd_ = 0;
    std::int64_t lastSoundFrame_ = 0;

    double levelSquares_ = 0.0;
    float levelPeak_ = 0.0f;
    int levelClipped_ = 0;
    std::int64_t levelFrames_ = 0;
};

} // namespace listening
