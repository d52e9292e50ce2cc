#include "lessons/TimedTest.h"

#include "core/Messages.h"
#include "core/Settings.h"
#include "records/DbaseItems.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("FrmStartup", text);
}

} // namespace

float ComputeTestScore(int testNoteCount, int correctTestNoteCount, int testNoteAssistCount, int testDuration)
{
    const int unassisted = correctTestNoteCount - testNoteAssistCount;
    if (unassisted <= 0 || testNoteCount < 1 || testDuration < 1)
        return 0.0f;
    const int divisor = std::max(unassisted + 1, 1);
    const float quotient = static_cast<float>(static_cast<double>(testDuration) / divisor);
    const float factor = 1.0f - quotient / static_cast<float>(testDuration);
    const float proportion = static_cast<float>(static_cast<double>(unassisted) / testNoteCount);
    return proportion * factor;
}

QString FormatTestScore(float score)
{
    QString text = QString::number(static_cast<double>(score) * 100, 'f', 2);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    return text;
}

TimedTest::TimedTest(const Settings& settings, DbaseItems& scores, QObject* parent)
    : QObject(parent)
    , settings_(settings)
    , scores_(scores)
{
    clock_.setInterval(1000);
    connect(&clock_, &QTimer::timeout, this, &TimedTest::Tick);
}

void TimedTest::OfferTest(bool restart)
{
    const QString text = (restart ? Tr("The test will restart with your first fretboard-click and will last ")
                                  : Tr("The test will start with your first fretboard-click and will last "))
        + QString::number(settings_.testDuration) + Tr(" seconds.");
    if (ShowMessage(text, MsgOkCancel) == MsgOk)
        state_ = State::Armed;
}

void TimedTest::ArmTest()
{
    if (settings_.currLearnerKey == -1) {
        ShowMessage(Tr("You must create and select a learner first before you can run the test function.")
                        + QLatin1Char('\n') + Tr("Please use the 'Score/Learners' menu functions to do so."),
                    MsgInformation);
        return;
    }
    OfferTest(false);
}

void TimedTest::Cancel()
{
    state_ = State::None;
}

void TimedTest::Stop()
{
    state_ = State::None;
    clock_.stop();
    elapsed_ = 0;
}

void TimedTest::FretboardPressed()
{
    switch (state_) {
    case State::Armed:
        elapsed_ = 0;
        clock_.start();
        state_ = State::Running;
        results_ = {1, 0, 0};
        break;
    case State::Running:
        ++results_.count;
        break;
    default:
        results_ = {};
        break;
    }
}

void TimedTest::CountRightAnswer()
{
    if (state_ == State::Running)
        ++results_.right;
}

void TimedTest::CountAssist()
{
    if (state_ == State::Running)
        ++results_.assists;
}

void TimedTest::Tick()
{
    ++elapsed_;
    if (elapsed_ >= settings_.testDuration) {
        state_ = State::TimeOver;
        clock_.stop();
        elapsed_ = 0;
        FinishTest();
    }
    if (state_ == State::None) {
        ShowMessage(Tr("The current test has been cancelled due to user request."), MsgPlain);
        clock_.stop();
        elapsed_ = 0;
    }
}

void TimedTest::FinishTest()
{
    const float score = ComputeTestScore(results_.count, results_.right, results_.assists, settings_.testDuration);
    const int answer = ShowMessage(Tr("Your score is ") + FormatTestScore(score)
                                       + Tr("%. Do you want to add this to the score database?"),
                                   MsgYesNoCancel);
    if (answer == MsgCancel)
        return;
    const bool stored = answer == MsgYes;
    if (stored) {
        qint16 newKey = 0;
        QString message;
        if (!scores_.AddScore(settings_.currLearnerKey, settings_.currLessonKey, score, newKey, message))
            ShowMessage(DatabaseProblemMessage(message), MsgPlain);
    }
    OfferTest(stored);
}
