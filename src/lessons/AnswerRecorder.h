#pragma once
// Where the drill hands every answer it judges: the practice records in the program, a
// list in tests. The drill calls it between a press and the answer's sound, so Record
// must only queue, never wait for a disk.

#include "records/PracticeAnswer.h"
#include "records/PracticeWeakNotes.h"

#include <QString>

#include <vector>

class AnswerRecorder {
public:
    virtual ~AnswerRecorder() = default;

    virtual void Record(const PracticeAnswer& answer) = 0;
    // The newest `limit` answers of a learner (kNoLearner: those given without one) on
    // an instrument and tuning, newest first, as the weak-note choice reads them; empty
    // when there are none or they cannot be read.
    virtual std::vector<PositionAnswer> RecentAnswers(int learnerKey, int instrument, const QString& tuning,
                                                      int limit) = 0;
};
