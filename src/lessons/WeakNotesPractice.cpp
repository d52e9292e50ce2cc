#include "lessons/WeakNotesPractice.h"

#include "core/Settings.h"
#include "lessons/AnswerRecorder.h"
#include "music/Notes.h"

#include <QCoreApplication>

#include <optional>

struct WeakNotesPractice::History {
    std::optional<Whose> whose; // none: not read yet
    std::vector<PositionAnswer> answers; // newest first
};

namespace {

const QString kStandardTuning = QStringLiteral("standard");

} // namespace

WeakNotesPractice::WeakNotesPractice()
    : history_(std::make_unique<History>())
{
    name = QCoreApplication::translate("Lessons", "Practise weak notes");
}

WeakNotesPractice::~WeakNotesPractice() = default;

WeakNotesPractice::Whose WeakNotesPractice::Current() const
{
    Whose whose;
    whose.learnerKey = context_.settings && context_.settings->currLearnerKey >= 0 ? context_.settings->currLearnerKey
                                                                                  : kNoLearner;
    whose.instrument = context_.notes ? static_cast<int>(context_.notes->GetInstrument().Type()) : 0;
    return whose;
}

void WeakNotesPractice::ReadHistory()
{
    const Whose whose = Current();
    history_->whose = whose;
    history_->answers.clear();
    if (context_.recorder)
        history_->answers =
            context_.recorder->RecentAnswers(whose.learnerKey, whose.instrument, kStandardTuning, kRecentAnswers);
}

bool WeakNotesPractice::StartOver(QString& message)
{
    ReadHistory(); // answers given elsewhere (drill, tests) since the last start count too
    return DrillLesson::StartOver(message);
}

std::optional<FretPosition> WeakNotesPractice::PickQuestion(const std::vector<FretPosition>& pool)
{
    if (!history_->whose || !(*history_->whose == Current()))
        ReadHistory();
    const std::optional<std::size_t> index =
        ChooseWeakPosition(pool, history_->answers, PromptPosition(), Random()());
    if (!index)
        return std::nullopt;
    return pool[*index];
}

void WeakNotesPractice::OnAnswer(PracticeAnswer& answer)
{
    answer.activity = PracticeActivity::Practice;
    const std::optional<FretPosition> position = AttributedPosition(answer);
    if (!position)
        return;
    auto& answers = history_->answers;
    answers.insert(answers.begin(), PositionAnswer{*position, answer.correct, answer.responseMs});
    if (static_cast<int>(answers.size()) > kRecentAnswers)
        answers.pop_back();
}
