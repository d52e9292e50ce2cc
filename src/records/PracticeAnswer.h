#pragma once
// One answer of a learner, as the practice records keep it: what was prompted, where
// the learner answered, whether it was right and how long it took. Plain values, so
// the drill can fill one in without knowing how it is stored.

#include "core/AnswerInput.h"
#include "core/FretPosition.h"
#include "core/NoteNames.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// What the learner was doing. Stored as "drill", "test" and "practice".
enum class PracticeActivity { Drill, Test, Practice };

// The learner key of answers given with no learner selected.
inline constexpr int kNoLearner = -1;

struct PracticeAnswer {
    qint64 answeredAtMs = 0; // UTC, milliseconds since 1970
    int learnerKey = kNoLearner;
    PracticeActivity activity = PracticeActivity::Drill;
    int lessonKey = 0;
    int instrument = 0;                  // 0 guitar, 1 four-string bass, 2 five-string bass
    QString tuning = QStringLiteral("standard");
    int key = 0;                         // 1..12
    int scale = 0;                       // 1 major, 2 minor
    int pattern = 0;                     // 0 none, 1..5, 6 all
    QString promptNote;                  // e.g. "F#-1"
    // The pool position the prompt was drawn from. A wrong answer counts against it in
    // the weak-note weights and the position figures (a right one counts where it was
    // given). Unknown for answers recorded before it was kept.
    std::optional<FretPosition> promptPosition;
    FretPosition answerPosition;
    QString answerNote;
    bool correct = false;
    int responseMs = 0;                  // from the prompt being shown to the answer
    bool assisted = false;               // staff assistance was asked for before it
    AnswerInput input = AnswerInput::Mouse;

    friend bool operator==(const PracticeAnswer&, const PracticeAnswer&) = default;
};

QString ActivityText(PracticeActivity activity);
std::optional<PracticeActivity> ActivityFromText(const QString& text);
// AnswerInput is stored as "mouse", "keyboard" and "microphone".
QString InputText(AnswerInput input);
std::optional<AnswerInput> InputFromText(const QString& text);

// The position an answer tells something about: where it was given when right, the
// prompted position when wrong (none when that is unknown).
std::optional<FretPosition> AttributedPosition(const PracticeAnswer& answer);

