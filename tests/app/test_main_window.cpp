// The main window as a learner uses it, from start-up to exit.
#include "app/AppFixture.h"

#include "app/Help.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QComboBox>
#include <QPointer>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

using MainWindowTest = AppFixture;

TEST_F(MainWindowTest, EachActivityHasItsStatusTextMenuMarkAndPage)
{
    FrmStartup& w = Start();
    struct Row {
        QAction* entry;
        Activity activity;
        int page;
        const char* status;
    };
    const Row rows[] = {
        {w.mnuShowMe, Activity::ShowMe, 0, "Click on sheet or fretboard to show associated note."},
        {w.mnuFreePlay, Activity::FreePlay, 0, "Click on either sheet or fretboard to sound the note."},
        {w.mnuPatternPlay, Activity::PatternPlay, 1, "Change the selectors to see where the pattern moves."},
        {w.mnuDrillMode, Activity::Drill, 0, "Click on the fretboard to show the note position."},
    };
    for (const Row& row : rows) {
        const bool markedBefore = w.mnuFreePlay->isChecked();
        const bool testBefore = w.mnuExecTest->isEnabled();
        w.GetSettings().mixerVolume = 4321;
        row.entry->trigger();
        EXPECT_EQ(w.Activities().Current(), row.activity);
        EXPECT_EQ(w.stpTabStrip->currentIndex(), row.page);
        EXPECT_EQ(w.StatusPanelText(QString()), QLatin1String(row.status));
        EXPECT_EQ(w.mnuExecTest->isEnabled(),
                  row.activity == Activity::PatternPlay ? testBefore : row.activity == Activity::Drill)
            << row.status;
        if (row.activity == Activity::PatternPlay) {
            EXPECT_FALSE(w.mnuPatternPlay->isChecked()) << "pattern play leaves the marks as they were";
            EXPECT_EQ(w.mnuFreePlay->isChecked(), markedBefore);
        } else {
            EXPECT_TRUE(row.entry->isChecked());
        }
        EXPECT_EQ(mixer.level, 4321u) << "the volume is set on a switch";
    }
    // The page's tab leaves the marks as the menu does.
    w.mnuShowMe->trigger();
    w.stpTabStrip->setCurrentIndex(1);
    EXPECT_EQ(w.Activities().Current(), Activity::PatternPlay);
    EXPECT_TRUE(w.mnuShowMe->isChecked());
    EXPECT_FALSE(w.mnuPatternPlay->isChecked() || w.mnuDrillMode->isChecked() || w.mnuFreePlay->isChecked());
}

TEST_F(MainWindowTest, PatternPlayNeverTouchesTheDrillsSelection)
{
    FrmStartup& w = Start();
    w.objTrainer->chkHidePattern->click();
    const Selection drill = w.objTrainer->GetSelection();
    ASSERT_TRUE(drill.hidePattern);
    w.stpTabStrip->setCurrentIndex(1);
    PatternPlayControl& patterns = *w.objPatternPlay;
    EXPECT_EQ(patterns.GetSelection().key, 4);
    EXPECT_EQ(patterns.GetSelection().pattern, 4) << "starts on the drill's pattern";
    EXPECT_FALSE(patterns.GetSelection().hidePattern);

    // Another key moves the pattern along the board; another scale keeps its number.
    const auto highlighted = [&patterns] {
        std::vector<FretPosition> cells;
        for (int f = 1; f <= kFretPositions; ++f)
            if (patterns.objFretboard->Layout().IsHighlighted({1, f}))
                cells.push_back({1, f});
        return cells;
    };
    const auto inC = highlighted();
    patterns.cboKey->setCurrentIndex(patterns.cboKey->findData(6));
    emit patterns.cboKey->activated(patterns.cboKey->currentIndex());
    EXPECT_NE(highlighted(), inC);
    patterns.cboScale->setCurrentIndex(patterns.cboScale->findData(2));
    emit patterns.cboScale->activated(patterns.cboScale->currentIndex());
    EXPECT_EQ(patterns.GetSelection().scale, 2);
    EXPECT_EQ(patterns.cboPatterns->currentData().toInt(), 4);

    // The pentatonic switch is the program's; the drill's key, scale and pattern come back.
    patterns.chkBluesNotesOnly->click();
    EXPECT_EQ(w.GetSettings().pentatonicOnly, patterns.chkBluesNotesOnly->isChecked());
    w.stpTabStrip->setCurrentIndex(0);
    const Selection back = w.objTrainer->GetSelection();
    EXPECT_EQ(std::tuple(back.key, back.scale, back.pattern), std::tuple(drill.key, drill.scale, drill.pattern));
    EXPECT_TRUE(back.hidePattern);
    EXPECT_EQ(back.pentatonicOnly, w.GetSettings().pentatonicOnly);
    EXPECT_EQ(w.Activities().Current(), Activity::Drill);
}

TEST_F(MainWindowTest, TheTrainersSwitchesAndPatternSelector)
{
    FrmStartup& w = Start();
    TrainerControl& trainer = *w.objTrainer;
    // The selector cycles through patterns 1 to 5 both ways.
    QList<int> seen;
    for (int i = 0; i < 6; ++i) {
        trainer.scrollPattern->triggerAction(QAbstractSlider::SliderSingleStepSub);
        seen << trainer.GetSelection().pattern;
    }
    EXPECT_EQ(seen, (QList<int>{5, 1, 2, 3, 4, 5}));
    EXPECT_EQ(trainer.boxCurrPattern->text(), QStringLiteral("5"));
    trainer.scrollPattern->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(trainer.GetSelection().pattern, 4);

    // "Hide pattern" redraws without a new question; the pentatonic switch asks anew.
    int questions = 0;
    DrillLesson::Random().seed(3);
    const QString before = w.CurrentLesson()->GetActiveNoteName();
    trainer.chkHidePattern->click();
    EXPECT_EQ(w.CurrentLesson()->GetActiveNoteName(), before);
    for (int i = 0; i < 10; ++i) {
        const QString question = w.CurrentLesson()->GetActiveNoteName();
        trainer.chkBluesNotesOnly->click();
        questions += w.CurrentLesson()->GetActiveNoteName() != question ? 1 : 0;
    }
    EXPECT_GT(questions, 0) << "the switch restarts the drill";
    EXPECT_EQ(w.GetSettings().pentatonicOnly, trainer.chkBluesNotesOnly->isChecked());
}

// The score's figures are the timed test's own; here it is stored at once, not only at exit.
TEST_F(MainWindowTest, ATimedTestStoresTheFractionAtOnceAndTheLearnerSurvivesARestart)
{
    AddLearner(QStringLiteral("Ann"), 3);
    FrmStartup& w = Start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Fretlore - Learner: Ann"));
    recorder.answers = {MsgOk};
    w.mnuExecTest->trigger();
    for (int i = 0; i < 10; ++i)
        AnswerPrompt(true);
    AnswerPrompt(false);
    AnswerPrompt(false);
    recorder.answers = {MsgYes, MsgOk};
    for (int second = 0; second < 30; ++second)
        w.Test().Tick();
    EXPECT_EQ(recorder.shown[recorder.shown.size() - 2].text,
              QStringLiteral("Your score is 75.76%. Do you want to add this to the score database?"));
    DbaseItems reread(ScoresPath());
    QString message;
    ASSERT_TRUE(reread.GetDataFromFile(message)) << message.toStdString();
    ASSERT_EQ(reread.Count(), 1);
    EXPECT_FLOAT_EQ(reread.Item(1).fltValue, 0.75757575f);
    EXPECT_EQ(reread.Item(1).intLearnerKey, 3);

    EXPECT_EQ(Restart().windowTitle(), QStringLiteral("Fretlore - Learner: Ann"));
    EXPECT_EQ(SettingsStore::Open()->value(QStringLiteral("General/CurrLearnerKey")).toString(), QStringLiteral("3"));
}

TEST_F(MainWindowTest, AnActivityCancelsATestSilentlyWhenArmedAndAtTheNextTickWhenRunning)
{
    AddLearner(QStringLiteral("Bo"));
    FrmStartup& w = Start();
    recorder.answers = {MsgOk};
    w.mnuExecTest->trigger();
    w.mnuShowMe->trigger();
    EXPECT_EQ(w.Test().GetState(), TimedTest::State::None);
    w.mnuDrillMode->trigger();
    w.mnuExecTest->trigger();
    AnswerPrompt(true);
    const size_t shown = recorder.shown.size();
    w.mnuFreePlay->trigger();
    EXPECT_TRUE(w.Test().IsClockRunning()) << "nothing until the clock ticks";
    w.Test().Tick();
    ASSERT_EQ(recorder.shown.size(), shown + 1);
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("The current test has been cancelled due to user request."));
    EXPECT_FALSE(w.Test().IsClockRunning());
}

TEST_F(MainWindowTest, ExitEndsTheProgramWithOtherWindowsOpenAndStopsTheClockAndSound)
{
    AddLearner(QStringLiteral("Cy"));
    FrmStartup& w = Start();
    recorder.answers = {MsgOk};
    w.mnuExecTest->trigger();
    AnswerPrompt(true);
    ASSERT_TRUE(w.Test().IsClockRunning());
    w.mnuContents->trigger();
    QPointer<QWidget> help;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QStringLiteral("HelpWindow") && top->isVisible())
            help = top;
    ASSERT_TRUE(help);
    const size_t shown = recorder.shown.size();

    QTimer::singleShot(0, &w, [&w] { w.mnuExit->trigger(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0) << "exit left the program running";
    EXPECT_FALSE(w.Test().IsClockRunning());
    EXPECT_TRUE(!help || !help->isVisible());
    EXPECT_FALSE(w.Sound().Midi().IsOpen()) << "the MIDI output is closed at exit";
    QTest::qWait(1100);
    EXPECT_EQ(recorder.shown.size(), shown) << recorder.lastMessage().toStdString();
}

TEST_F(MainWindowTest, BothPagesGrowWithTheWindow)
{
    FrmStartup& w = Start();
    const int smallest = kBoardBaseSize.width();
    w.resize(1280, 1024);
    QTest::qWait(20);
    EXPECT_GE(w.objTrainer->objFretboard->width(), 2 * smallest);
    w.stpTabStrip->setCurrentIndex(1);
    QTest::qWait(20);
    EXPECT_GE(w.objPatternPlay->objFretboard->width(), 2 * smallest) << "laid out while hidden";
    w.resize(600, 540);
    QTest::qWait(20);
    w.stpTabStrip->setCurrentIndex(0);
    QTest::qWait(20);
    EXPECT_EQ(w.objTrainer->objFretboard->width(), smallest) << "laid out while hidden";
    EXPECT_EQ(w.objPatternPlay->objFretboard->width(), smallest);
}

// As on a first start: lesson 1 on C major, its first question on the staff and named.
TEST_F(MainWindowTest, AStoredLessonKeyThatNamesNoLessonStartsLessonOne)
{
    StoreSetting(QStringLiteral("CurrLessonKey"), QStringLiteral("7"));
    FrmStartup& w = Start();
    EXPECT_EQ(w.GetSettings().currLessonKey, 1);
    EXPECT_EQ(w.StatusPanelText(QStringLiteral("Lesson")), QStringLiteral("Lesson 1 - Start"));
    EXPECT_EQ(w.StatusPanelText(QStringLiteral("KeyAndScale")), QStringLiteral("Key: C Major"));
    EXPECT_FALSE(w.StatusPanelText(QStringLiteral("Note")).isEmpty());
    EXPECT_EQ(Staff().ShownNoteName(), w.StatusPanelText(QStringLiteral("Note")));
    EXPECT_TRUE(recorder.shown.empty()) << recorder.allMessages().toStdString();
}
