#pragma once
// Keeps the answers a drill records and hands them back as the weak-note history, as
// the practice store does: newest first, for one learner and instrument.

#include "lessons/AnswerRecorder.h"

#include <utility>
#include <vector>

class FakeRecorder : public AnswerRecorder {
public:
    void Record(const PracticeAnswer& answer) override { answers.push_back(answer); }
    std::vector<PositionAnswer> RecentAnswers(int learnerKey, int instrument, const QString& tuning,
                                              int limit) override
    {
        reads.emplace_back(learnerKey, instrument);
        std::vector<PositionAnswer> recent;
        for (auto a = answers.rbegin(); a != answers.rend() && int(recent.size()) < limit; ++a)
            if (a->learnerKey == learnerKey && a->instrument == instrument && a->tuning == tuning)
                if (const auto position = AttributedPosition(*a))
                    recent.push_back({*position, a->correct, a->responseMs});
        return recent;
    }

    std::vector<PracticeAnswer> answers;     // oldest first
    std::vector<std::pair<int, int>> reads;  // learner and instrument of each history read
};
