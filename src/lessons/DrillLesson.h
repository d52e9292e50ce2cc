#pragma once
// The drill shared by the numbered lessons: a note drawn from the visible pattern
// positions is written on the staff and named in the status bar; the learner presses
// its position on the fretboard; a right answer is confirmed, sounded and replaced, a
// wrong one reported (and beeped); a press on the staff shows where the staff's note
// lies ("assistance").
//
// Every press that hits a cell while a question is shown is an answer, handed to the
// context's recorder after it has been judged and sounded: what was asked and where,
// what was pressed, right or wrong, how long after the question appeared, and whether
// the staff was asked for help since.
//
// Two styles: normal (the next question comes at once) and ear training
// ("PlayNoteOnPrompt": the prompt can be heard by pressing the staff, and the next
// question comes when the button is released after a right answer).

#include "lessons/LessonInterface.h"

#include <random>

struct PracticeAnswer;

class DrillLesson : public LessonInterface {
public:
    bool StartOver(QString& message) override;
    bool FretboardPressed(std::optional<FretPosition> cell, bool secondary, QString& message,
                          AnswerInput input = AnswerInput::Mouse) override;
    void FretboardReleased() override;
    // A played note answers as a press would: right when it has the prompt's pitch
    // (whichever string gave it), wrong otherwise, with the note heard named. The
    // instrument has sounded it already, so the program sounds nothing back.
    bool NotePlayed(int midi, QString& message) override;
    bool StaffPressed(std::optional<int> level, bool secondary, QString& message) override;
    QString GetActiveNoteName() const override { return testNoteName_; }
    // The position the current question was drawn from; none before the first.
    std::optional<FretPosition> PromptPosition() const { return promptPosition_; }

    // Replaces the prompt, avoiding a repeat where the pool allows; the previous prompt
    // shows as an echo when echoes are on.
    void GenerateNextNote();

    // The drill's one random generator, seeded once from the system; tests reseed it.
    static std::mt19937& Random();

    static QString CongratulationText();
    static QString PromptText(); // "Please click on the sheet to hear this note's sound."

protected:
    // A random position of the question pool, uniform over positions; none for an empty
    // pool. Other drills may weigh the positions.
    virtual std::optional<FretPosition> PickQuestion(const std::vector<FretPosition>& pool);
    // An answer, before it is judged (and before the next question is drawn); the drill
    // may note it or say more about it.
    virtual void OnAnswer(PracticeAnswer& answer) { Q_UNUSED(answer) }

private:
    enum class State { NoPrompt, Prompted };
    struct Question {
        QString name;
        std::optional<FretPosition> position;
    };

    Question PickVisiblePatternNote();
    void NewPrompt();
    void Ask(const Question& question);
    qint64 SteadyNowMs() const;
    PracticeAnswer MakeAnswer(FretPosition answered, const Note& answer, AnswerInput input) const;
    bool RightAnswer(const Note& answer, AnswerInput input, QString& message);
    bool WrongAnswer(const Note& answer, AnswerInput input, QString& message);
    std::optional<FretPosition> LowestCellOf(const Note& note) const;
    bool Judge(PracticeAnswer& kept, const Note& answer, QString& message);
    void ShowNoteInStatusBar(const QString& name);

    State state_ = State::NoPrompt;
    QString testNoteName_;     // the prompt; "" before the first one
    std::optional<FretPosition> promptPosition_;
    qint64 promptShownMs_ = 0; // on the steady clock
    bool assisted_ = false;    // the staff showed a note since the prompt appeared
    bool nextNotePending_ = false; // a right answer in ear training awaits the release
};
