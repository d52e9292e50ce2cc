#include "TemporaryStores.h"
#include "TestSupport.h"

#include "app/FrmStartup.h"
#include "app/TipSettings.h"
#include "lessons/LessonGeneral.h"
#include "music/Notes.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"
#include "sound/MidiOut.h"
#include "sound/Mixer.h"
#include "sound/RecordingMidiOutput.h"
#include "sound/RecordingMixerDevice.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QCheckBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        StoreShowTipsAtStartup(false); // the tip window would wait for an answer
        SetMidiOutput(std::make_unique<RecordingMidiOutput>(&midi));
        SetMixerDevice(std::make_unique<RecordingMixerDevice>(&mixer));
        ASSERT_TRUE(stores.IsValid());
        SeedDrillRandom(17);
    }
    void TearDown() override
    {
        window.reset();
        SetMidiOutput(nullptr);
        SetMixerDevice(nullptr);
    }

    FrmStartup& Start()
    {
        window = std::make_unique<FrmStartup>();
        window->resize(800, 620);
        window->show();
        EXPECT_EQ(window->Load(), FrmStartup::LoadResult::Ready);
        return *window;
    }

    FretboardControl& Board() { return *window->objFretlore->objFretboard; }

    // Files a learner and makes it the current one for the next start.
    qint16 AddLearner(const QString& name)
    {
        QString message;
        EXPECT_TRUE(GetLearnerItems().GetDataFromFile(message)) << message.toStdString();
        qint16 key = 0;
        EXPECT_TRUE(GetLearnerItems().AddNew(name, key, message)) << message.toStdString();
        EXPECT_TRUE(GetLearnerItems().SetDataToFile(message)) << message.toStdString();
        CurrLearnerKey = key;
        EXPECT_TRUE(SaveSettings(message)) << message.toStdString();
        return key;
    }

    // Clicks the first cell whose note is (or, with right false, is not) the prompt.
    void AnswerPrompt(bool right)
    {
        const QString prompt = window->CurrentLesson()->GetActiveNoteName();
        FretboardControl& board = Board();
        for (int s = 1; s <= board.StringCount(); ++s)
            for (int f = 1; f <= 14; ++f) {
                const FretNote& cell = board.String(s).Item(f);
                if ((cell.GetNoteName() == prompt) == right) {
                    const Rect& r = cell.Bounds();
                    QTest::mouseClick(&board, Qt::LeftButton, {}, QPoint(qRound(r.floatCenterX), qRound(r.floatCenterY)));
                    return;
                }
            }
        ADD_FAILURE() << "no cell to click";
    }

    RecordingMidiOutput::Log midi;
    RecordingMixerDevice::Log mixer;
    TemporaryStores stores; // before the window, which uses them until it goes
    MessageRecorder recorder;
    std::unique_ptr<FrmStartup> window;
};

} // namespace

TEST_F(MainWindowTest, AFirstStartComesUpInLessonOneOnCMajorPatternFour)
{
    FrmStartup& w = Start();
    EXPECT_EQ(CurrLessonKey, 1);
    EXPECT_EQ(CurrKey, 4);
    EXPECT_EQ(CurrScale, 1);
    EXPECT_EQ(CurrPattern, 4);
    EXPECT_EQ(CurrActivity, ActivityDrill);
    EXPECT_EQ(w.stpTabStrip->currentIndex(), 0);
    EXPECT_EQ(w.StatusPanelText(QStringLiteral("KeyAndScale")), QStringLiteral("Key: C Major"));
    EXPECT_EQ(w.StatusPanelText(QStringLiteral("Lesson")), w.CurrentLesson()->strName);
    EXPECT_EQ(w.StatusPanelText(QString()), QStringLiteral("Click on the fretboard to show the note position."));
    EXPECT_FALSE(w.StatusPanelText(QStringLiteral("Note")).isEmpty()) << "the first prompt is named";
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Fretlore"));
    EXPECT_TRUE(w.mnuDrillMode->isChecked());
    EXPECT_TRUE(w.mnuExecTest->isEnabled());
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
}

TEST_F(MainWindowTest, EachActivityHasItsStatusTextAndMenuMarks)
{
    FrmStartup& w = Start();
    w.mnuShowMe->trigger();
    EXPECT_EQ(CurrActivity, ActivityShowMe);
    EXPECT_EQ(w.StatusPanelText(QString()), QStringLiteral("Click on sheet or fretboard to show associated note."));
    EXPECT_TRUE(w.mnuShowMe->isChecked());
    EXPECT_FALSE(w.mnuDrillMode->isChecked());
    EXPECT_FALSE(w.mnuExecTest->isEnabled());

    w.mnuFreePlay->trigger();
    EXPECT_EQ(CurrActivity, ActivityFreePlay);
    EXPECT_EQ(w.StatusPanelText(QString()), QStringLiteral("Click on either sheet or fretboard to sound the note."));

    w.mnuPatternPlay->trigger();
    EXPECT_EQ(CurrActivity, ActivityPatternPlay);
    EXPECT_EQ(w.stpTabStrip->currentIndex(), 1);
    EXPECT_EQ(w.StatusPanelText(QString()), QStringLiteral("Change the selectors to see where the pattern moves."));

    MixerVolume = 4321;
    w.mnuDrillMode->trigger();
    EXPECT_EQ(CurrActivity, ActivityDrill);
    EXPECT_EQ(w.stpTabStrip->currentIndex(), 0);
    EXPECT_TRUE(w.mnuExecTest->isEnabled());
    EXPECT_EQ(mixer.level, 4321u) << "the volume is set on a switch";
}

TEST_F(MainWindowTest, TheTabRoundTripRestoresTheDrillsSelection)
{
    FrmStartup& w = Start();
    w.objFretlore->chkHidePattern->click();
    ASSERT_TRUE(HidePattern);
    w.stpTabStrip->setCurrentIndex(1);
    EXPECT_EQ(CurrActivity, ActivityPatternPlay);
    EXPECT_FALSE(HidePattern);
    // Pattern play moves the selection about.
    CurrKey = 9;
    CurrScale = 2;
    CurrPattern = 2;
    w.stpTabStrip->setCurrentIndex(0);
    EXPECT_EQ(CurrActivity, ActivityDrill);
    EXPECT_EQ(CurrKey, 4);
    EXPECT_EQ(CurrScale, 1);
    EXPECT_EQ(CurrPattern, 4);
    EXPECT_TRUE(HidePattern);
}

TEST_F(MainWindowTest, ATestNeedsALearner)
{
    FrmStartup& w = Start();
    w.mnuExecTest->trigger();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("You must create and select a learner first")));
    EXPECT_TRUE(recorder.lastMessage().contains(QStringLiteral("\nPlease use the 'Score/Learners' menu functions")));
    EXPECT_EQ(recorder.shown.back().style, 64);
    EXPECT_EQ(TestState, TestNone);
}

TEST_F(MainWindowTest, ATimedTestScoresAndStoresTheSinglePrecisionFraction)
{
    const qint16 learner = AddLearner(QStringLiteral("Ann"));
    QString message;
    FrmStartup& w = Start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Fretlore - Learner: Ann"));

    recorder.answers = {MsgOk};
    w.mnuExecTest->trigger();
    EXPECT_EQ(recorder.lastMessage(),
              QStringLiteral("The test will start with your first fretboard-click and will last 30 seconds."));
    ASSERT_EQ(TestState, TestArmed);

    for (int i = 0; i < 10; ++i)
        AnswerPrompt(true);
    AnswerPrompt(false);
    AnswerPrompt(false);
    EXPECT_EQ(TestState, TestRunning);
    EXPECT_TRUE(w.TestTimer.isActive());

    recorder.answers = {MsgYes, MsgOk};
    for (int second = 0; second < 30; ++second)
        w.TestTimerTick();
    ASSERT_GE(recorder.shown.size(), 3u);
    EXPECT_EQ(recorder.shown[recorder.shown.size() - 2].text,
              QStringLiteral("Your score is 75.76%. Do you want to add this to the score database?"));
    EXPECT_EQ(recorder.lastMessage(),
              QStringLiteral("The test will restart with your first fretboard-click and will last 30 seconds."));
    EXPECT_EQ(TestState, TestArmed);
    EXPECT_FALSE(w.TestTimer.isActive());

    ASSERT_EQ(GetDbaseItems().Count(), 1);
    const DbaseItem& stored = GetDbaseItems().Item(1);
    EXPECT_EQ(stored.fltValue, ComputeTestScore(12, 10, 0, 30));
    EXPECT_FLOAT_EQ(stored.fltValue, 0.75757575f);
    EXPECT_EQ(stored.intLearnerKey, learner);
    EXPECT_EQ(stored.intLessonKey, 1);
    // Stored at once, not only at exit.
    DbaseItems reread(GetDbaseItems().FilePath());
    ASSERT_TRUE(reread.GetDataFromFile(message)) << message.toStdString();
    EXPECT_EQ(reread.Count(), 1);
}

TEST_F(MainWindowTest, CancellingAnArmedTestIsSilentARunningOneSaysSo)
{
    AddLearner(QStringLiteral("Bo"));
    FrmStartup& w = Start();

    recorder.answers = {MsgOk};
    w.mnuExecTest->trigger();
    w.mnuShowMe->trigger();
    EXPECT_EQ(TestState, TestNone);
    const size_t shownBefore = recorder.shown.size();

    w.mnuDrillMode->trigger();
    recorder.answers = {MsgOk};
    w.mnuExecTest->trigger();
    AnswerPrompt(true);
    ASSERT_EQ(TestState, TestRunning);
    w.mnuFreePlay->trigger();
    EXPECT_EQ(recorder.shown.size(), shownBefore + 1) << "no message until the clock ticks";
    w.TestTimerTick();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("The current test has been cancelled due to user request."));
    EXPECT_FALSE(w.TestTimer.isActive());
}

TEST_F(MainWindowTest, TheWindowNeverShrinksBelowItsMinimum)
{
    FrmStartup& w = Start();
    w.resize(300, 200);
    QTest::qWait(10);
    EXPECT_GE(w.width(), 600);
    EXPECT_GE(w.height(), 540);
}

TEST_F(MainWindowTest, AnUnreadableScoreFileEndsTheStartWithItsMessage)
{
    const QString path = GetDbaseItems().FilePath();
    ASSERT_FALSE(path.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<RECORD key='x");
    file.close();
    window = std::make_unique<FrmStartup>();
    EXPECT_EQ(window->Load(), FrmStartup::LoadResult::EndProgram);
    EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("Problem encountered with database. Reported errormessage is: ")));
    // The damaged file is left for the user to recover.
    window.reset();
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("<RECORD key='x"));
}

TEST_F(MainWindowTest, AStaffClickOnThePromptShowsWhereItLiesAndAnEmptyLevelShowsNothing)
{
    FrmStartup& w = Start();
    SheetControl& sheet = *w.objFretlore->objSheet;
    FretboardControl& board = Board();
    const auto clickLevel = [&](const sheetNoteLevel& level) {
        const Rect& box = level.rectSheetNoteLevelBounds;
        QTest::mouseClick(&sheet, Qt::LeftButton, {}, QPoint(qRound(box.floatCenterX), qRound(box.floatCenterY)));
    };
    const auto marked = [&] {
        QStringList names;
        for (int s = 1; s <= board.StringCount(); ++s)
            for (int f = 1; f <= 14; ++f)
                if (board.String(s).Item(f).boolIsNoteToBeDrawn)
                    names << board.String(s).Item(f).GetNoteName();
        return names;
    };
    const QString prompt = w.CurrentLesson()->GetActiveNoteName();
    const sheetNoteLevel* shown = nullptr;
    const sheetNoteLevel* empty = nullptr;
    for (int i = 1; i <= sheet.Note(1).Count(); ++i) {
        const sheetNoteLevel& level = sheet.Note(1).Item(i);
        (level.IsVisible() ? shown : empty) = &level;
    }
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(empty, nullptr);
    clickLevel(*shown);
    const QStringList names = marked();
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names)
        EXPECT_EQ(name, prompt);
    clickLevel(*empty);
    EXPECT_TRUE(marked().isEmpty()) << "a level without a note shows no positions";
}

TEST_F(MainWindowTest, AStoredLessonKeyThatNamesNoLessonStartsLessonOne)
{
    QString message;
    CurrLessonKey = 7;
    ASSERT_TRUE(SaveSettings(message));
    FrmStartup& w = Start();
    EXPECT_EQ(CurrLessonKey, 1);
    EXPECT_EQ(w.StatusPanelText(QStringLiteral("Lesson")), w.CurrentLesson()->strName);
    EXPECT_FALSE(w.EndRequested());
}

TEST_F(MainWindowTest, TheSelectedLearnerSurvivesARestart)
{
    const qint16 learner = AddLearner(QStringLiteral("Ann"));
    {
        FrmStartup& first = Start();
        EXPECT_EQ(first.windowTitle(), QStringLiteral("Fretlore - Learner: Ann"));
        first.close();
        window.reset();
    }
    // A new run starts with nothing in memory: the learners come from the file.
    ResetSettingsToUnloaded();
    GetLearnerItems() = LearnerItems(GetLearnerItems().FilePath());
    GetDbaseItems() = DbaseItems(GetDbaseItems().FilePath());
    FrmStartup& second = Start();
    EXPECT_EQ(CurrLearnerKey, learner);
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Fretlore - Learner: Ann"));
    recorder.answers = {MsgCancel};
    second.mnuExecTest->trigger();
    EXPECT_EQ(recorder.lastMessage(),
              QStringLiteral("The test will start with your first fretboard-click and will last 30 seconds."))
        << "the test knows the learner";
}

TEST_F(MainWindowTest, PatternPlayLeavesTheMenuMarksAsTheTabDoes)
{
    FrmStartup& w = Start();
    const auto marks = [&w] {
        return QList<bool>{w.mnuDrillMode->isChecked(), w.mnuShowMe->isChecked(), w.mnuFreePlay->isChecked(),
                           w.mnuPatternPlay->isChecked()};
    };
    w.mnuShowMe->trigger();
    const QList<bool> beforeMenu = marks();
    w.mnuPatternPlay->trigger();
    ASSERT_EQ(CurrActivity, ActivityPatternPlay);
    const QList<bool> byMenu = marks();

    w.mnuShowMe->trigger();
    w.stpTabStrip->setCurrentIndex(1);
    ASSERT_EQ(CurrActivity, ActivityPatternPlay);
    EXPECT_EQ(byMenu, marks());
    EXPECT_EQ(byMenu, beforeMenu) << "pattern play changes no mark";
}

TEST_F(MainWindowTest, ExitStopsTheTestClockClosesOurOtherWindowsAndEndsTheLoop)
{
    AddLearner(QStringLiteral("Cy"));
    FrmStartup& w = Start();
    recorder.answers = {MsgOk};
    w.mnuExecTest->trigger();
    AnswerPrompt(true);
    ASSERT_TRUE(w.TestTimer.isActive());
    w.mnuContents->trigger();
    QWidget* help = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QStringLiteral("HelpWindow") && top->isVisible())
            help = top;
    ASSERT_NE(help, nullptr);
    QPointer<QWidget> helpAlive(help);
    const size_t shownBefore = recorder.shown.size();
    midi.messages.clear();

    // The program's own loop: exit must end it although the help window is open.
    bool loopEnded = false;
    QTimer::singleShot(0, &w, [&w] { w.mnuExit->trigger(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    loopEnded = QCoreApplication::exec() == 0;
    guard.stop();
    EXPECT_TRUE(loopEnded) << "exit left the program running";
    EXPECT_FALSE(w.TestTimer.isActive());
    EXPECT_TRUE(!helpAlive || !helpAlive->isVisible()) << "the help window stays open";
    EXPECT_EQ(MidiOutHandle, 0u) << "the MIDI output is closed at exit";
    QTest::qWait(1100);
    EXPECT_EQ(recorder.shown.size(), shownBefore) << recorder.lastMessage().toStdString();
}
