#include "records/PracticeAnswer.h"


QString ActivityText(PracticeActivity activity)
{
    switch (activity) {
    case PracticeActivity::Drill: return QStringLiteral("drill");
    case PracticeActivity::Test: return QStringLiteral("test");
    case PracticeActivity::Practice: return QStringLiteral("practice");
    }
    return QString();
}

std::optional<PracticeActivity> ActivityFromText(const QString& text)
{
    for (const auto activity : {PracticeActivity::Drill, PracticeActivity::Test, PracticeActivity::Practice})
        if (text == ActivityText(activity))
            return activity;
    return std::nullopt;
}

QString InputText(AnswerInput input)
{
    switch (input) {
    case AnswerInput::Mouse: return QStringLiteral("mouse");
    case AnswerInput::Keyboard: return QStringLiteral("keyboard");
    case AnswerInput::Microphone: return QStringLiteral("microphone");
    }
    return QString();
}

std::optional<AnswerInput> InputFromText(const QString& text)
{
    for (const auto input : {AnswerInput::Mouse, AnswerInput::Keyboard, AnswerInput::Microphone})
        if (text == InputText(input))
            return input;
    return std::nullopt;
}

std::optional<FretPosition> AttributedPosition(const PracticeAnswer& answer)
{
    if (answer.correct)
        return answer.answerPosition;
    return answer.promptPosition;
}
