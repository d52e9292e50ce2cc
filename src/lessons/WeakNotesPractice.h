#pragma once
// "Practise weak notes": the drill over the current lesson's question pool, but each
// position drawn by how weak the learner is there (PracticeWeakNotes.h), judged from
// their recent answers, and never the same position twice in a row. With no learner
// selected the answers given without one count.
//
// The recent answers are read from the recorder once when the practice starts (and
// again when the learner or the instrument changes); after that every answer given
// here joins them before the next question is drawn.

#include "lessons/DrillLesson.h"

#include <memory>

class WeakNotesPractice : public DrillLesson {
public:
    WeakNotesPractice();
    ~WeakNotesPractice() override;

    bool StartOver(QString& message) override;

    // How many recent answers the choice reads.
    static constexpr int kRecentAnswers = 2000;

protected:
    std::optional<FretPosition> PickQuestion(const std::vector<FretPosition>& pool) override;
    void OnAnswer(PracticeAnswer& answer) override;

private:
    struct History;
    // Whose answers the choice reads: the current learner on the current instrument.
    struct Whose {
        int learnerKey = 0;
        int instrument = 0;
        bool operator==(const Whose&) const = default;
    };
    Whose Current() const;
    void ReadHistory();

    std::unique_ptr<History> history_;
};
