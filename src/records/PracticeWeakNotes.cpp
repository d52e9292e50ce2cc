#include "records/PracticeWeakNotes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

namespace {

struct DecayedStats {
    int seen = 0; // answers counted so far, newest first
    double weight = 0.0;
    double misses = 0.0;
    double timeMs = 0.0;
};

double Median(std::vector<int> values)
{
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    const int upper = *middle;
    const int lower = *std::max_element(values.begin(), middle);
    return (double(lower) + double(upper)) / 2.0;
}

// A uniform draw from [0, 1) that reads the same on every standard library (the
// distributions of <random> may differ between them; the engine does not).
double UnitDraw(std::mt19937_64& engine)
{
    return double(engine() >> 11) * 0x1.0p-53;
}

} // namespace

double Weakness(double errorRate, double responseMs, double referenceMs, double slowWeight)
{
    const double slowness = referenceMs > 0.0 ? std::clamp(responseMs / referenceMs - 1.0, 0.0, 1.0) : 0.0;
    return errorRate + slowWeight * slowness;
}

std::vector<double> WeakNoteWeights(std::span<const FretPosition> pool,
                                    std::span<const PositionAnswer> recent,
                                    const WeakNoteParameters& parameters)
{
    std::map<FretPosition, DecayedStats> stats;
    for (const FretPosition& position : pool)
        stats.emplace(position, DecayedStats{});

    std::vector<int> times;
    times.reserve(recent.size());
    for (const PositionAnswer& answer : recent) {
        times.push_back(answer.responseMs);
        const auto found = stats.find(answer.position);
        if (found == stats.end() || found->second.seen >= parameters.depth)
            continue;
        DecayedStats& s = found->second;
        const double w = std::pow(parameters.decay, s.seen);
        ++s.seen;
        s.weight += w;
        s.misses += answer.correct ? 0.0 : w;
        s.timeMs += w * answer.responseMs;
    }
    const double usualMs = Median(std::move(times));

    std::vector<double> weights;
    weights.reserve(pool.size());
    for (const FretPosition& position : pool) {
        const DecayedStats& s = stats.at(position);
        const double weakness = s.seen == 0
            ? 1.0 + parameters.slowWeight
            : Weakness((s.misses + parameters.prior) / (s.weight + parameters.prior), s.timeMs / s.weight,
                       usualMs, parameters.slowWeight);
        weights.push_back(parameters.floor + weakness * weakness);
    }
    return weights;
}

std::optional<std::size_t> ChooseWeakPosition(std::span<const FretPosition> pool,
                                              std::span<const PositionAnswer> recent,
                                              std::optional<FretPosition> previous,
                                              std::uint64_t seed,
                                              const WeakNoteParameters& parameters)
{
    if (pool.empty())
        return std::nullopt;
    std::vector<double> weights = WeakNoteWeights(pool, recent, parameters);
    const bool othersExist = std::any_of(pool.begin(), pool.end(),
                                         [&](const FretPosition& p) { return p != previous; });
    if (othersExist)
        for (std::size_t i = 0; i < pool.size(); ++i)
            if (pool[i] == previous)
                weights[i] = 0.0;

    double total = 0.0;
    for (const double w : weights)
        total += w;
    std::mt19937_64 engine(seed);
    double target = UnitDraw(engine) * total;
    std::size_t last = 0; // the last entry that can be drawn, for rounding at the top
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] <= 0.0)
            continue;
        last = i;
        if (target < weights[i])
            return i;
        target -= weights[i];
    }
    return last;
}
