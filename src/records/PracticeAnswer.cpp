#include "records/PracticeAnswer.h"

#include <array>

namespace {

constexpr std::array<const char*, 12> kSharpNames = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
constexpr std::array<const char*, 12> kFlatNames = {"A", "Bb", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};

} // namespace

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

int NoteIndex(const QString& noteName)
{
    // Semitones above A of the letters A to G.
    constexpr std::array<int, 7> kLetterSemitones = {0, 2, 3, 5, 7, 8, 10};
    const int dash = noteName.indexOf(QLatin1Char('-'));
    if (dash < 1 || dash > 2 || noteName.size() == dash + 1)
        return -1;
    const char letter = noteName.at(0).toLatin1();
    if (letter < 'A' || letter > 'G')
        return -1;
    int accidental = 0;
    if (dash == 2) {
        const QChar sign = noteName.at(1);
        if (sign == QLatin1Char('#'))
            accidental = 1;
        else if (sign == QLatin1Char('b'))
            accidental = -1;
        else
            return -1;
    }
    bool isNumber = false;
    const int octave = QStringView(noteName).mid(dash + 1).toInt(&isNumber);
    if (!isNumber || octave < 0 || octave > 9)
        return -1;
    const int semitones = kLetterSemitones[std::size_t(letter - 'A')] + accidental;
    // A flat lies below the A that starts the next octave: "Ab-0" is "G#-0".
    return 12 * octave + (semitones < 0 ? semitones + 12 : semitones);
}

QString NoteNameOfIndex(int noteIndex, bool flats)
{
    if (noteIndex < 0)
        return QString();
    const auto& names = flats ? kFlatNames : kSharpNames;
    return QLatin1String(names[std::size_t(noteIndex % 12)]) + QLatin1Char('-') + QString::number(noteIndex / 12);
}
