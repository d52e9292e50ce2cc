// "Practise weak notes": the weighted choice of the next position. How often a weak note
// comes up in a whole practice is the weak-note drill's test.
#include "records/PracticeWeakNotes.h"

#include <gtest/gtest.h>

#include <vector>

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

// The previous position comes back only when it is the whole pool, however weak it is;
// the same seed gives the same choice.
TEST(WeakNotes, TheChoiceSkipsThePreviousPositionAndFollowsTheSeed)
{
    const std::vector<FretPosition> pool = {{1, 1}, {1, 2}, {1, 3}};
    std::vector<PositionAnswer> lopsided(10, PositionAnswer{{1, 2}, true, 1000});
    lopsided.push_back({{1, 1}, false, 1000});
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        EXPECT_EQ(ChooseWeakPosition(std::span(pool).first(2), lopsided, FretPosition{1, 1}, seed), 1U);
        EXPECT_EQ(ChooseWeakPosition(pool, lopsided, std::nullopt, seed),
                  ChooseWeakPosition(pool, lopsided, std::nullopt, seed));
    }
    EXPECT_EQ(ChooseWeakPosition(std::vector<FretPosition>{{3, 5}}, {}, FretPosition{3, 5}, 1), 0U);
    EXPECT_FALSE(ChooseWeakPosition({}, {}, std::nullopt, 1).has_value());
}
