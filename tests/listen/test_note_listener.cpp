// The note listener on synthetic sounds: every pitch heard once as its MIDI note and
// soon enough, nothing from silence, noise or hum, a held note answering once, the mute
// window and the noise threshold, and the level meter.
#include "support/TestSignals.h"

#include "listen/NoteListener.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace listening;
using namespace listening::testing;

namespace {

std::vector<PlayedNote> hear(NoteListener& listener, const Samples& samples, std::size_t block = 256)
{
    std::vector<PlayedNote> played;
    for (std::size_t at = 0; at < samples.size(); at += block)
        listener.process(std::span(samples).subspan(at, std::min(block, samples.size() - at)), played);
    return played;
}

ListenOptions rangeFrom(int lowest)
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

} // namespace

class NoteListenerRates : public ::testing::TestWithParam<int> {};

TEST_P(NoteListenerRates, EveryPitchIsHeardOnceAsItsNoteSoonAfterItsOnset)
{
    const int rate = GetParam();
    for (const Range& range : ranges) {
        for (int midi = range.first; midi <= range.last; ++midi) {
            NoteListener listener(rate, rangeFrom(range.lowest));
            Samples sound = silence(rate, 0.3);
            const auto onset = static_cast<std::int64_t>(sound.size());
            append(sound, pluckedTone(rate, hzOfMidi(midi), 1.5));
            append(sound, silence(rate, 0.3));
            const std::vector<PlayedNote> played = hear(listener, sound);
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
        {"digital silence", silence(rate, 10.0)},
        {"quiet room", pinkNoise(tenSeconds, 0.003, 1)},
        {"loud room", pinkNoise(tenSeconds, 0.05, 2)},
        {"white noise", whiteNoise(tenSeconds, 0.05, 3)},
        {"50 Hz hum", hum(rate, 10.0, 50.0, 0.1)},
        {"60 Hz hum", hum(rate, 10.0, 60.0, 0.1)},
    };
    for (const auto& [name, sound] : sounds) {
        for (const int lowest : {23, 28, 40}) {
            NoteListener listener(rate, rangeFrom(lowest));
            EXPECT_TRUE(hear(listener, sound).empty()) << name << ", lowest note " << lowest;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, NoteListenerRates, ::testing::Values(44100, 48000, 96000));

// Sounds that answer as given: a note held for seconds answers once and the next note
// again, also over hum and room noise; a note that begins while the program's own note
// is muted is not reported, the learner's answer after it is; a quiet note answers only
// once the noise threshold is below it. The last note heard is dated to its onset.
TEST(NoteListener, HeldNotesTheMuteWindowAndTheThreshold)
{
    struct Tone {
        int midi;
        double seconds;
        double amplitude = 0.6;
    };
    struct Case {
        const char* what;
        int rate;
        int lowest;
        std::vector<Tone> tones; // after 0.2 s of silence
        std::function<void(NoteListener&, Samples&)> prepare;
        std::vector<int> heard;
    };
    const Case cases[] = {
        {"a held note, then another", 48000, 40, {{45, 4.0}, {52, 1.0}}, {}, {45, 52}},
        {"a held bass note over hum and noise", 44100, 28, {{33, 6.0, 0.5}},
         [](NoteListener&, Samples& sound) {
             const Samples mains = hum(44100, double(sound.size()) / 44100, 50.0, 0.02);
             const Samples room = pinkNoise(sound.size(), 0.01, 7);
             for (std::size_t i = 0; i < sound.size(); ++i)
                 sound[i] += mains[i] + room[i];
         },
         {33}},
        // The program sounds A2 with its release until 1.5 s; the learner answers with
        // E3 at 1.7 s while the program's note still rings a little.
        {"the program's note muted", 48000, 40, {{45, 1.5}, {52, 1.0}},
         [](NoteListener& listener, Samples&) {
             listener.muteUntil(listener.framesOf(1.5));
             EXPECT_TRUE(listener.mutedAt(listener.framesOf(1.0)));
         },
         {52}},
        {"a note below the threshold", 48000, 40, {{57, 1.0, 0.01}}, // peaks about -40 dBFS
         [](NoteListener& listener, Samples&) { listener.setThresholdDb(-30.0); }, {}},
        {"the threshold lowered below it", 48000, 40, {{57, 1.0, 0.01}},
         [](NoteListener& listener, Samples&) {
             listener.setThresholdDb(-50.0);
             EXPECT_EQ(listener.thresholdDb(), -50.0);
         },
         {57}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NoteListener listener(c.rate, rangeFrom(c.lowest));
        Samples sound = silence(c.rate, 0.2);
        std::int64_t lastOnset = 0;
        for (const Tone& tone : c.tones) {
            lastOnset = static_cast<std::int64_t>(sound.size());
            append(sound, pluckedTone(c.rate, hzOfMidi(tone.midi), tone.seconds, tone.amplitude));
        }
        if (c.prepare)
            c.prepare(listener, sound);
        const std::vector<PlayedNote> played = hear(listener, sound);
        std::vector<int> heard;
        for (const PlayedNote& note : played)
            heard.push_back(note.midi);
        EXPECT_EQ(heard, c.heard);
        if (!played.empty()) {
            EXPECT_NEAR(double(played.back().onsetFrame - lastOnset) / c.rate, 0.0, 0.005);
        }
    }
}

TEST(NoteListener, AMuteThatBeginsWhileANoteIsJudgedDropsIt)
{
    const int rate = 48000;
    NoteListener listener(rate, rangeFrom(40));
    Samples sound = silence(rate, 0.2);
    append(sound, pluckedTone(rate, hzOfMidi(45), 1.0, 0.6));
    std::vector<PlayedNote> played;
    // Up to 5 ms after the onset: the judgement has begun but is not done.
    const auto split = static_cast<std::size_t>(0.205 * rate);
    listener.process(std::span(sound).first(split), played);
    listener.muteUntil(listener.position() + listener.framesOf(0.5));
    listener.process(std::span(sound).subspan(split), played);
    EXPECT_TRUE(played.empty());
}

// The level since the last reading in dBFS, clipping flagged; silence counted from the
// last audible sample.
TEST(NoteListener, TheLevelReadingAndTheSilenceSinceTheLastSound)
{
    const int rate = 48000;
    NoteListener listener(rate);
    Samples sine(rate / 10);
    for (std::size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * 1000.0 * double(i) / rate));
    hear(listener, sine);
    LevelReading level = listener.takeLevel();
    EXPECT_EQ(level.frames, rate / 10);
    EXPECT_NEAR(level.peakDb, -6.02, 0.05);
    EXPECT_NEAR(level.rmsDb, -9.03, 0.05);
    EXPECT_FALSE(level.clipped);

    for (float& x : sine)
        x = std::clamp(x * 4.0f, -1.0f, 1.0f);
    hear(listener, sine);
    level = listener.takeLevel();
    EXPECT_TRUE(level.clipped);
    EXPECT_NEAR(level.peakDb, 0.0, 0.01);
    level = listener.takeLevel();
    EXPECT_EQ(level.frames, 0);
    EXPECT_EQ(level.peakDb, -120.0);

    hear(listener, silence(rate, 3.0));
    EXPECT_NEAR(listener.secondsOf(listener.framesSinceSound()), 3.0, 0.05);
}
