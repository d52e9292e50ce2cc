// "Practise weak notes": the weighted choice of the next position.
#include "records/PracticeWeakNotes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int kOpenStringMidi[] = {40, 45, 50, 55, 59, 64}; // the guitar, lowest string first

int PitchClass(FretPosition p) // 0 is C
{
    return (kOpenStringMidi[p.string - 1] + p.fret - 1) % 12;
}

// Every position of G major on the guitar's whole fretboard.
std::vector<FretPosition> GMajorPool()
{
    const std::vector<int> gMajor = {7, 9, 11, 0, 2, 4, 6};
    std::vector<FretPosition> pool;
    for (int s = 1; s <= 6; ++s)
        for (int f = 1; f <= 14; ++f)
            if (std::find(gMajor.begin(), gMajor.end(), PitchClass({s, f})) != gMajor.end())
                pool.push_back({s, f});
    return pool;
}

constexpr int kFSharp = 6;

} // namespace

TEST(WeakNotes, ALearnerWhoAlwaysMissesFSharpGetsItAtLeastThreeTimesAsOftenAndNeverTheSamePositionTwice)
{
    const std::vector<FretPosition> pool = GMajorPool();
    const auto fSharpPositions = std::count_if(pool.begin(), pool.end(),
                                               [](FretPosition p) { return PitchClass(p) == kFSharp; });
    ASSERT_GT(fSharpPositions, 0);
    constexpr int kPrompts = 1000;
    const double uniformFSharp = double(kPrompts) * double(fSharpPositions) / double(pool.size());

    std::mt19937_64 seeds(2024);
    std::mt19937 pace(7);
    std::vector<PositionAnswer> recent; // newest first, as the store hands them out
    std::optional<FretPosition> previous;
    int fSharpPrompts = 0;
    int repeats = 0;
    for (int i = 0; i < kPrompts; ++i) {
        const auto chosen = ChooseWeakPosition(pool, recent, previous, seeds());
        ASSERT_TRUE(chosen.has_value());
        const FretPosition prompt = pool[*chosen];
        repeats += prompt == previous ? 1 : 0;
        previous = prompt;
        const bool fSharp = PitchClass(prompt) == kFSharp;
        fSharpPrompts += fSharp ? 1 : 0;
        // Misses count at the prompted position; the pace is the same for every note.
        recent.insert(recent.begin(), PositionAnswer{prompt, !fSharp, 800 + int(pace() % 1200)});
    }
    EXPECT_EQ(repeats, 0);
    for (std::uint64_t seed = 0; seed < 20; ++seed)
        EXPECT_EQ(ChooseWeakPosition(pool, recent, previous, seed), ChooseWeakPosition(pool, recent, previous, seed))
            << "the same seed, the same choice";
    EXPECT_GE(fSharpPrompts, 3.0 * uniformFSharp)
        << fSharpPrompts << " F# prompts against " << uniformFSharp << " from a uniform draw";
    // The previous position comes back only when it is the whole pool, however weak it is.
    std::vector<PositionAnswer> lopsided(10, PositionAnswer{{1, 2}, true, 1000});
    lopsided.push_back({{1, 1}, false, 1000});
    for (std::uint64_t seed = 0; seed < 200; ++seed)
        EXPECT_EQ(ChooseWeakPosition(std::vector<FretPosition>{{1, 1}, {1, 2}}, lopsided, FretPosition{1, 1}, seed), 1U);
    EXPECT_EQ(ChooseWeakPosition(std::vector<FretPosition>{{3, 5}}, {}, FretPosition{3, 5}, 1), 0U);
    EXPECT_FALSE(ChooseWeakPosition({}, {}, std::nullopt, 1).has_value());
}

TEST(WeakNotes, WeightsFollowErrorsPaceRecencyAndUnansweredPositions)
{
    const FretPosition known{1, 1}, missed{1, 2}, never{1, 3}, slow{1, 4}, recovered{1, 5}, slipping{1, 6};
    const std::vector<FretPosition> pool = {known, missed, never, slow, recovered, slipping};
    std::vector<PositionAnswer> recent; // newest first
    for (int i = 0; i < 4; ++i) {
        recent.push_back({known, true, 1000});
        recent.push_back({missed, false, 1000});
        recent.push_back({slow, true, 3000});
        recent.push_back({recovered, true, 1000}); // right lately ...
        recent.push_back({slipping, false, 1000}); // wrong lately ...
    }
    for (int i = 0; i < 4; ++i) {
        recent.push_back({recovered, false, 1000}); // ... wrong before
        recent.push_back({slipping, true, 1000});   // ... right before
    }
    const std::vector<double> w = WeakNoteWeights(pool, recent);
    ASSERT_EQ(w.size(), pool.size());
    EXPECT_GT(w[2], w[1]) << "a position never answered is the weakest of all";
    EXPECT_GT(w[1], 10 * w[0]) << "a missed position far outweighs a known one";
    EXPECT_GT(w[3], w[0]) << "a slow position outweighs an equally right, quick one";
    EXPECT_GT(w[5], w[4]) << "recent answers count more than older ones";
    EXPECT_GT(w[0], 0.0) << "a known position still comes up now and then";
}
