#pragma once
// Choosing the next prompt for "Practise weak notes": the lesson's pool of positions,
// each weighted by how weak the learner is there, judged from their recent answers.
// Pure functions: the same pool, answers and seed always give the same choice.
//
// How weak a position is:
//   error rate  = (decayed misses + prior) / (decayed answers + prior), where the newest
//                 answer at the position counts 1, the one before it `decay`, then
//                 decay^2 ... and only the newest `depth` count; `prior` pseudo-misses
//                 keep a single lucky answer from marking a position as known.
//   slowness    = how much slower than the learner's usual the position is answered:
//                 decayed mean response time / median of all the recent answers - 1,
//                 kept within 0..1 (twice as slow or more counts 1).
//   weakness    = error rate + slowWeight * slowness (Weakness below).
// A position never answered counts as weak as can be: error rate 1 and slowness 1.
// Its weight in the draw is floor + weakness^2, so a position missed every time is
// drawn over ten times as often as one answered right every time, and a known
// position still comes up now and then.

#include "records/PracticeAnswer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// One recent answer as the choice sees it: the position it tells about (right: where it
// was given; wrong: the prompted position, see AttributedPosition), right or wrong, and
// how long it took.
struct PositionAnswer {
    FretPosition position;
    bool correct = false;
    int responseMs = 0;
};

struct WeakNoteParameters {
    double decay = 0.75;
    int depth = 12;
    double prior = 0.5;
    double slowWeight = 0.5;
    double floor = 0.05;
};

// The weakness measure shared with the progress figures: errorRate plus slowWeight
// times how much slower than referenceMs responseMs is (0..1). No reference (0 or
// less) means no slowness.
double Weakness(double errorRate, double responseMs, double referenceMs, double slowWeight = 0.5);

// The weight of each pool entry, in pool order. recent holds the learner's recent
// answers, newest first; answers at positions outside the pool only set the usual pace.
std::vector<double> WeakNoteWeights(std::span<const FretPosition> pool,
                                    std::span<const PositionAnswer> recent,
                                    const WeakNoteParameters& parameters = {});

// Draws a pool index by the weights, never an entry equal to previous unless the pool
// holds nothing else. Empty pool: no index.
std::optional<std::size_t> ChooseWeakPosition(std::span<const FretPosition> pool,
                                              std::span<const PositionAnswer> recent,
                                              std::optional<FretPosition> previous,
                                              std::uint64_t seed,
                                              const WeakNoteParameters& parameters = {});
