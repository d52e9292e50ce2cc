#pragma once
// The figures of the Progress window for one learner (or the answers given without
// one) on one instrument and tuning: per fretboard position, per prompted note and per
// day, each with its count, accuracy and median response time.
//
// Which answers count where:
//   position  an answer counts at the position it tells about (AttributedPosition): a
//             right answer where it was given, a wrong one at the prompted position.
//             Wrong answers whose prompted position is unknown count nowhere here.
//   note      every answer counts for the note that was prompted (NoteIndex: flats
//             and sharps of the same sound together).
//   day       local calendar days of utcOffsetSeconds.
// The weakest notes are the five with the highest weakness (PracticeWeakNotes.h), with
// the error rate smoothed as (wrong + 1) / (answers + 2) so that one answer says little,
// and the slowness measured against the median of all the answers counted; ties go to
// the note with more answers, then the lower note.

#include "records/PracticeAnswer.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <vector>

enum class ProgressPeriod { Last7Days, Last30Days, All };

struct ProgressFilter {
    int learnerKey = kNoLearner;
    int instrument = 0;
    QString tuning = QStringLiteral("standard");
    ProgressPeriod period = ProgressPeriod::All;
    qint64 nowMs = 0;         // the period ends here (UTC milliseconds); 0 means now
    int utcOffsetSeconds = 0; // where local days begin; the progress window passes its own
};

// The first millisecond the period holds, counting back whole days of 24 hours from
// nowMs; the smallest value for All.
qint64 PeriodStartMs(ProgressPeriod period, qint64 nowMs);

struct AnswerFigures {
    int count = 0;
    int right = 0;
    int medianResponseMs = 0; // of all answers, right or wrong; 0 without answers

    double Accuracy() const { return count > 0 ? double(right) / count : 0.0; }
};

struct PositionFigures {
    FretPosition position;
    AnswerFigures figures;
};

struct NoteFigures {
    int noteIndex = -1; // NoteIndex; NoteNameOfIndex names it in either spelling
    AnswerFigures figures;
    double weakness = 0.0;
};

struct DayFigures {
    QDate day;
    AnswerFigures figures;
};

struct ProgressFigures {
    AnswerFigures overall;
    std::vector<PositionFigures> positions; // positions with answers, by string then fret
    std::vector<NoteFigures> weakestNotes;  // at most five, weakest first
    std::vector<DayFigures> days;           // days with answers, oldest first
};

// Milliseconds per day, and the local day number (days since 1970-01-01) of a moment.
inline constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;
qint64 LocalDay(qint64 utcMs, int utcOffsetSeconds);

// Gathers answers one at a time and works the figures out at the end.
class ProgressAccumulator {
public:
    ProgressAccumulator();
    ~ProgressAccumulator();
    ProgressAccumulator(const ProgressAccumulator&) = delete;
    ProgressAccumulator& operator=(const ProgressAccumulator&) = delete;

    // position: the attributed position, none when unknown; noteIndex -1 when unknown.
    void Add(qint64 localDay, std::optional<FretPosition> position, int noteIndex, bool correct,
             int responseMs);
    void Add(const PracticeAnswer& answer, int utcOffsetSeconds);

    ProgressFigures Figures() const;

private:
    struct Groups;
    std::unique_ptr<Groups> groups_;
};
