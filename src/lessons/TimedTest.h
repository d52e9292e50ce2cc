#pragma once
// The timed test: armed from the menu, started by the first fretboard press of the
// drill, counted by the drill, ended by its clock after "TestDuration" seconds with a
// score the learner may store. Any activity change, the options, the score view or exit
// cancel it.

#include <QObject>
#include <QTimer>

struct Settings;
class DbaseItems;

// Score of a timed test as a fraction 0..1: (K / N) * (K / (K + 1)) with K the
// unassisted right answers (right - assists) and N the attempts; 0 when K <= 0 or no
// attempt was made. Single precision, as the scores are stored.
float ComputeTestScore(int testNoteCount, int correctTestNoteCount, int testNoteAssistCount, int testDuration);

// score x 100 with two decimals and no leading zero below one: 0.5 gives ".50".
QString FormatTestScore(float score);

class TimedTest : public QObject {
    Q_OBJECT
public:
    enum class State { None, Armed, Running, TimeOver };

    struct Results {
        int count = 0;   // fretboard presses
        int right = 0;   // right answers
        int assists = 0; // staff assistance
    };

    TimedTest(const Settings& settings, DbaseItems& scores, QObject* parent = nullptr);

    State GetState() const { return state_; }
    bool IsClockRunning() const { return clock_.isActive(); }
    int ElapsedSeconds() const { return elapsed_; }
    Results GetTestResults() const { return results_; }

    // "Execute test": asks for a learner first, then offers the test; OK arms it.
    void ArmTest();
    // An activity change, the options or the score view: a running clock says so at
    // its next tick; an armed test goes silently.
    void Cancel();
    // Exit: everything stops at once, nothing more is said.
    void Stop();

    // The drill's bookkeeping. A fretboard press starts an armed test (clock and
    // counters 1/0/0), counts an attempt of a running one, and otherwise zeroes the
    // counters; the other two count only while the test runs.
    void FretboardPressed();
    void CountRightAnswer();
    void CountAssist();

    // One second of the clock; public so tests need not wait.
    void Tick();

private:
    void FinishTest();
    void OfferTest(bool restart);

    const Settings& settings_;
    DbaseItems& scores_;
    State state_ = State::None;
    Results results_;
    QTimer clock_;
    int elapsed_ = 0;
};
