// The note listener on synthetic sounds: every pitch heard once as its MIDI note and
// soon enough, nothing from silence, noise or hum, a held note answering once, the mute
// window and the noise threshold, and the level meter.
#include "support/TestSignals.h"

#include "listen/Biquad.h"
#include "listen/NoteListener.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace listening;
using namespace listening::testing;

namespace {

std::vector<PlayedNote> Hear(NoteListener& listener, const Samples& samples, std::size_t block = 256)
{
    std::vector<PlayedNote> played;
    for (std::size_t at = 0; at < samples.size(); at += block)
        listener.Process(std::span(samples).subspan(at, std::min(block, samples.size() - at)), played);
    return played;
}

ListenOptions RangeFrom(int lowest)
{
    ListenOptions options;
    options.lowestMidi = lowest;
    return options;
}

struct Range {
    const char* name;
    int lowest;     // of the instrument
    int first, last;
    double latency; // seconds from onset to answer
};

const Range ranges[] = {
    {"guitar", 40, 40, 77, 0.060},
    {"bass", 28, 28, 44, 0.110},
    {"five-string B0", 23, 23, 23, 0.150},
};

// The one note heard is midi, judged within limit seconds of the onset.
void ExpectHeardOnceInTime(const std::vector<PlayedNote>& played, int midi, std::size_t onset, int rate, double limit)
{
    ASSERT_EQ(played.size(), 1u) << "MIDI " << midi;
    EXPECT_EQ(played[0].midi, midi) << "heard " << played[0].hz << " Hz";
    EXPECT_LE(double(played[0].decidedFrame - std::int64_t(onset)) / rate, limit) << "MIDI " << midi;
}

} // namespace

class NoteListenerRates : public ::testing::TestWithParam<int> {};

TEST_P(NoteListenerRates, EveryPitchIsHeardOnceAsItsNoteSoonAfterItsOnset)
{
    const int rate = GetParam();
    for (const Range& range : ranges) {
        for (int midi = range.first; midi <= range.last; ++midi) {
            NoteListener listener(rate, RangeFrom(range.lowest));
            Samples sound = Silence(rate, 0.3);
            const auto onset = static_cast<std::int64_t>(sound.size());
            Append(sound, PluckedTone(rate, HzOfMidi(midi), 1.5));
            Append(sound, Silence(rate, 0.3));
            const std::vector<PlayedNote> played = Hear(listener, sound);
            ASSERT_EQ(played.size(), 1u) << range.name << " MIDI " << midi << " at " << rate;
            EXPECT_EQ(played[0].midi, midi) << range.name << " at " << rate << " heard " << played[0].hz << " Hz";
            EXPECT_NEAR(double(played[0].onsetFrame - onset) / rate, 0.0, 0.005) << range.name << " MIDI " << midi;
            EXPECT_LE(double(played[0].decidedFrame - onset) / rate, range.latency) << range.name << " MIDI " << midi;
        }
    }
}

TEST_P(NoteListenerRates, SilenceRoomNoiseAndMainsHumGiveNoNote)
{
    const int rate = GetParam();
    const std::size_t tenSeconds = static_cast<std::size_t>(10 * rate);
    const std::pair<const char*, Samples> sounds[] = {
        {"digital silence", Silence(rate, 10.0)},
        {"quiet room", PinkNoise(tenSeconds, 0.003, 1)},
        {"loud room", PinkNoise(tenSeconds, 0.05, 2)},
        {"white noise", WhiteNoise(tenSeconds, 0.05, 3)},
        {"50 Hz hum", Hum(rate, 10.0, 50.0, 0.1)},
        {"60 Hz hum", Hum(rate, 10.0, 60.0, 0.1)},
    };
    for (const auto& [name, sound] : sounds) {
        for (const int lowest : {23, 28, 40}) {
            NoteListener listener(rate, RangeFrom(lowest));
            EXPECT_TRUE(Hear(listener, sound).empty()) << name << ", lowest note " << lowest;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, NoteListenerRates, ::testing::Values(44100, 48000, 96000));

// A2 rings for 1.5 s, then E3: both are heard once, unless A2 began inside the mute
// window (the program's own note, still ringing a little when the learner answers).
TEST(NoteListener, AHeldNoteAnswersOnceTheNextNoteAgainAndTheMuteWindowHidesItsOwn)
{
    const int rate = 48000;
    for (const bool muted : {false, true}) {
        NoteListener listener(rate, RangeFrom(40));
        Samples sound = Silence(rate, 0.2);
        Append(sound, PluckedTone(rate, HzOfMidi(45), 1.5, 0.6));
        const auto answer = static_cast<std::int64_t>(sound.size());
        Append(sound, PluckedTone(rate, HzOfMidi(52), 1.0, 0.6));
        if (muted)
            listener.MuteUntil(listener.FramesOf(1.5));
        EXPECT_EQ(listener.MutedAt(listener.FramesOf(1.0)), muted);
        const std::vector<PlayedNote> played = Hear(listener, sound);
        ASSERT_EQ(played.size(), muted ? 1u : 2u) << "muted " << muted;
        EXPECT_EQ(played.front().midi, muted ? 52 : 45);
        EXPECT_EQ(played.back().midi, 52);
        EXPECT_NEAR(double(played.back().onsetFrame - answer) / rate, 0.0, 0.005);
    }
}

TEST(NoteListener, AHeldNoteOverHumAndNoiseAnswersOnce)
{
    const int rate = 44100;
    NoteListener listener(rate, RangeFrom(28));
    Samples sound = Silence(rate, 0.2);
    Append(sound, PluckedTone(rate, HzOfMidi(33), 6.0, 0.5));
    const Samples mains = Hum(rate, double(sound.size()) / rate, 50.0, 0.02);
    const Samples room = PinkNoise(sound.size(), 0.01, 7);
    for (std::size_t i = 0; i < sound.size(); ++i)
        sound[i] += mains[i] + room[i];
    const std::vector<PlayedNote> played = Hear(listener, sound);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].midi, 33);
}

// An acoustic bass's body booms below the note, louder than the note for its first
// 100 ms and not in tune with it (a sampled one does so at about 62 Hz). The note is
// still heard as itself, in time.
TEST(NoteListener, ABoomBelowTheNoteDoesNotPullItsPitch)
{
    const int rate = 48000;
    for (const int midi : {38, 40, 43, 45, 50, 52}) {
        NoteListener listener(rate, RangeFrom(28));
        Samples sound = Silence(rate, 0.3);
        const auto onset = sound.size();
        Append(sound, PluckedTone(rate, HzOfMidi(midi), 1.0, 0.3));
        for (std::size_t i = 0; i < sound.size() - onset; ++i) {
            const double t = double(i) / rate;
            sound[onset + i] += static_cast<float>(0.6 * std::exp(-t / 0.08) * std::sin(2.0 * M_PI * 62.0 * t));
        }
        ExpectHeardOnceInTime(Hear(listener, sound), midi, onset, rate, 0.110);
    }
}

// A note bent up a semitone into pitch over its first 45 ms (or a distorted one that
// takes as long to settle) is judged by where it arrives, within the guitar's 60 ms.
TEST(NoteListener, ANoteBentIntoPitchIsHeardWhereItArrivesInTime)
{
    const int rate = 48000;
    for (const int midi : {55, 60, 64, 67, 72}) {
        NoteListener listener(rate, RangeFrom(40));
        Samples sound = Silence(rate, 0.3);
        const auto onset = sound.size();
        const double to = HzOfMidi(midi), from = HzOfMidi(midi - 1), bend = 0.045;
        double phase = 0.0;
        for (int i = 0; i < rate; ++i) {
            const double t = double(i) / rate;
            phase += 2.0 * M_PI * (t < bend ? from + (to - from) * t / bend : to) / rate;
            double x = 0.0;
            for (int k = 1; k <= 6; ++k)
                x += std::sin(k * phase) / k;
            sound.push_back(static_cast<float>(0.3 * std::min(1.0, t / 0.002) * std::exp(-t / 0.5) * x));
        }
        ExpectHeardOnceInTime(Hear(listener, sound), midi, onset, rate, 0.060);
    }
}

// A slapped bass's low notes through a small microphone's 150 Hz cut-off: what is left
// above it (a slap's click, partials from the fifth up) no longer repeats at the note's
// period and passed for a note a major third up. The weak partials just above the note
// still tell it. freepats' recorded slap bass, played at each pitch as a sampler does.
TEST(NoteListener, ASlappedLowNoteThroughASmallMicrophoneIsHeardByItsLowestPartials)
{
    const std::vector<GusSample> patch = ReadGusPatch(QStringLiteral("/usr/share/midi/freepats/Tone_000/036_Slap_Bass_1.pat"));
    ASSERT_FALSE(patch.empty()) << "freepats is part of the test set-up";
    const int rate = 48000;
    for (const int midi : {23, 28, 29, 30, 31, 32}) {
        const bool lowB = midi == 23; // only a five-string goes below E1
        ListenOptions bass = RangeFrom(lowB ? 23 : 28);
        bass.highestMidi = 67; // G at the 24th fret
        NoteListener listener(rate, bass);
        Samples sound = Silence(rate, 0.3);
        const auto onset = sound.size();
        const double hz = HzOfMidi(midi);
        const auto sample = std::find_if(patch.begin(), patch.end(), [hz](const GusSample& s) { return hz < s.highHz; });
        Append(sound, PlayGusSample(sample != patch.end() ? *sample : patch.back(), hz, rate, 1.0));
        Biquad microphone = Biquad::HighPass(rate, 150.0);
        for (float& x : sound)
            x = microphone(x);
        ExpectHeardOnceInTime(Hear(listener, sound), midi, onset, rate, lowB ? 0.150 : 0.110);
    }
}

TEST(NoteListener, AMuteThatBeginsWhileANoteIsJudgedDropsIt)
{
    const int rate = 48000;
    NoteListener listener(rate, RangeFrom(40));
    Samples sound = Silence(rate, 0.2);
    Append(sound, PluckedTone(rate, HzOfMidi(45), 1.0, 0.6));
    std::vector<PlayedNote> played;
    // Up to 5 ms after the onset: the judgement has begun but is not done.
    const auto split = static_cast<std::size_t>(0.205 * rate);
    listener.Process(std::span(sound).first(split), played);
    listener.MuteUntil(listener.Position() + listener.FramesOf(0.5));
    listener.Process(std::span(sound).subspan(split), played);
    EXPECT_TRUE(played.empty());
}

TEST(NoteListener, ANoteBelowTheNoiseThresholdIsNotHeardUntilTheThresholdIsLowered)
{
    const int rate = 48000;
    Samples sound = Silence(rate, 0.2);
    Append(sound, PluckedTone(rate, HzOfMidi(57), 1.0, 0.01)); // peaks about -40 dBFS
    ListenOptions options = RangeFrom(40);
    options.thresholdDb = -30.0;
    NoteListener deaf(rate, options);
    EXPECT_TRUE(Hear(deaf, sound).empty());
    NoteListener hearing(rate, options);
    hearing.SetThresholdDb(-50.0);
    EXPECT_EQ(hearing.ThresholdDb(), -50.0);
    const std::vector<PlayedNote> played = Hear(hearing, sound);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].midi, 57);
}

TEST(NoteListener, TheLevelReadingGivesRmsAndPeakInDbfsAndFlagsClipping)
{
    const int rate = 48000;
    NoteListener listener(rate);
    Samples sine(rate / 10);
    for (std::size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * 1000.0 * double(i) / rate));
    Hear(listener, sine);
    LevelReading level = listener.TakeLevel();
    EXPECT_EQ(level.frames, rate / 10);
    EXPECT_NEAR(level.peakDb, -6.02, 0.05);
    EXPECT_NEAR(level.rmsDb, -9.03, 0.05);
    EXPECT_FALSE(level.clipped);

    Samples loud = sine;
    for (float& x : loud)
        x = std::clamp(x * 4.0f, -1.0f, 1.0f);
    Hear(listener, loud);
    level = listener.TakeLevel();
    EXPECT_TRUE(level.clipped);
    EXPECT_NEAR(level.peakDb, 0.0, 0.01);

    level = listener.TakeLevel();
    EXPECT_EQ(level.frames, 0);
    EXPECT_EQ(level.peakDb, -120.0);
}

TEST(NoteListener, SilenceIsCountedFromTheLastAudibleSample)
{
    const int rate = 44100;
    NoteListener listener(rate);
    Samples sound = PluckedTone(rate, 220.0, 0.2);
    Append(sound, Silence(rate, 3.0));
    Hear(listener, sound);
    EXPECT_NEAR(listener.SecondsOf(listener.FramesSinceSound()), 3.0, 0.05);
}
