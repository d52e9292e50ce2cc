#include "app/FrmStartup.h"

#include "app/FrmAbout.h"
#include "app/FrmLearner.h"
#include "app/FrmOption.h"
#include "app/FrmScore.h"
#include "app/FrmSplash.h"
#include "app/Help.h"
#include "app/ProgramArt.h"
#include "app/TipSettings.h"
#include "core/Messages.h"
#include "core/Selection.h"
#include "core/Settings.h"
#include "lessons/LessonGeneral.h"
#include "music/Notes.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"
#include "sound/MidiOut.h"
#include "sound/Mixer.h"
#include "sound/SoundSystem.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("FrmStartup", text);
}

// "###.00": two decimals, no leading zero below one (0.5 -> ".50").
QString FormatPercent(double percent)
{
    QString text = QString::number(percent, 'f', 2);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    return text;
}

QString TestOffer(bool restart)
{
    return (restart ? Tr("The test will restart with your first fretboard-click and will last ")
                    : Tr("The test will start with your first fretboard-click and will last "))
        + QString::number(TestDuration) + Tr(" seconds.");
}

// Lays a page's control out at 0.5 % from the top-left corner, 99 % of the page.
QRect PageControlGeometry(const QSize& page)
{
    return QRect(qRound(page.width() * 0.005), qRound(page.height() * 0.005), qRound(page.width() * 0.99),
                 qRound(page.height() * 0.99));
}

// Key, scale and pattern a lesson drills: its own, or the learner's custom choice.
struct LessonSelection {
    qint32 key;
    qint16 scale;
    qint16 pattern;
};

LessonSelection SelectionOf(const LessonInterface* lesson)
{
    if (lesson && lesson->intLessonType != LessonCustomScale)
        return {lesson->intKey, lesson->intScale, lesson->intSelectedPattern};
    return {CurrCustomKey, CurrCustomScale, CurrCustomPattern};
}

QString KeyNameOf(qint32 key)
{
    const QString* name = KeyNames.Find(QString::number(key));
    return name ? *name : QString();
}

} // namespace

FrmStartup::FrmStartup(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(ProgramIcon());
    setMinimumSize(600, 540);
    resize(760, 600);

    connect(&TestTimer, &QTimer::timeout, this, &FrmStartup::TestTimerTick);
    CreateMenus();
    CreatePages();
    CreateStatusBar();
    SetStatusHook([this](const QString& text) {
        if (panelMessage_)
            panelMessage_->setText(text);
    });
}

FrmStartup::~FrmStartup()
{
    SetStatusHook(nullptr);
    CloseSoundOutput();
}

void FrmStartup::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    mnuExit = file->addAction(tr("&Exit"), this, &FrmStartup::ExitProgram);
    mnuExit->setShortcut(QKeySequence::Quit);

    QMenu* activities = menuBar()->addMenu(tr("&Activities"));
    mnuDrillMode = activities->addAction(tr("&Drill mode"), this, &FrmStartup::ChooseDrillMode);
    mnuShowMe = activities->addAction(tr("&Show me"), this, &FrmStartup::ChooseShowMe);
    mnuFreePlay = activities->addAction(tr("&FreePlay"), this, &FrmStartup::ChooseFreePlay);
    mnuPatternPlay = activities->addAction(tr("&Play with patterns"), this, &FrmStartup::ChoosePatternPlay);
    for (QAction* action : {mnuDrillMode, mnuShowMe, mnuFreePlay, mnuPatternPlay})
        action->setCheckable(true);
    activities->addSeparator();
    mnuOptions = activities->addAction(tr("&Options"), this, [this] {
        setCursor(Qt::ArrowCursor);
        TestState = TestNone;
        frmOption options(*this, collLessons, this);
        options.intAction = 0;
        options.exec();
        AfterOptions(options.boolFretboardStyleChanged);
    });
    mnuReEnableTips = activities->addAction(tr("&Re-enable tips at startup"), this, [this] {
        ReEnableTipsAtStartup(this);
        objFretlore->RequestRepaint();
    });

    QMenu* score = menuBar()->addMenu(tr("&Score"));
    QMenu* learners = score->addMenu(tr("&Learners"));
    const auto manageLearners = [this](qint32 intAction) {
        frmLearner dialog(this);
        dialog.intAction = intAction;
        dialog.exec();
        if (dialog.intAction == frmLearner::ActionNotLoaded)
            return;
        GenerateStartupFormName();
        objFretlore->ClearFretboard();
        objFretlore->RequestRepaint();
    };
    mnuSelCurrLearner = learners->addAction(tr("&Select current learner"), this,
                                            [manageLearners] { manageLearners(frmLearner::ActionSelect); });
    mnuCreateLearner = learners->addAction(tr("&Create a learner"), this,
                                           [manageLearners] { manageLearners(frmLearner::ActionCreate); });
    mnuEditLearner = learners->addAction(tr("&Edit learner properties"), this,
                                         [manageLearners] { manageLearners(frmLearner::ActionEdit); });
    mnuDeleteLearner = learners->addAction(tr("&Delete a learner"), this,
                                           [manageLearners] { manageLearners(frmLearner::ActionDelete); });
    mnuExecTest = score->addAction(tr("&Execute test"), this, &FrmStartup::ArmTest);
    mnuScore = score->addAction(tr("&View scores"), this, [this] {
        TestState = TestNone;
        frmScore scores(frmScore::LessonNames(collLessons), this);
        scores.exec();
        objFretlore->Reset();
        objFretlore->ClearFretboard();
        objFretlore->RequestRepaint();
    });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    mnuContents = help->addAction(tr("&Contents"), this, [] { ShowHelpContents(HelpFile()); });
    mnuContents->setShortcut(QKeySequence::HelpContents);
    mnuAbout = help->addAction(tr("&About"), this, [this] {
        frmAbout about(this);
        about.exec();
        RequestRepaint();
    });
    // Kept from the menu's design; it has never had an action, so it stays out of sight.
    mnuRunTest = help->addAction(tr("&RunTest"));
    mnuRunTest->setVisible(false);
}

void FrmStartup::CreatePages()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    stpTabStrip = new QTabWidget(central);
    stpTabStrip->setObjectName(QStringLiteral("stpTabStrip"));
    trainerPage_ = new QWidget;
    patternPage_ = new QWidget;
    objFretlore = new TrainerControl(trainerPage_);
    objFretlore->setObjectName(QStringLiteral("objFretlore"));
    objFretlore->SetHost(this);
    objPatternPlay = new PatternPlayControl(patternPage_);
    objPatternPlay->setObjectName(QStringLiteral("objPatternPlay"));
    objPatternPlay->SetHost(this);
    stpTabStrip->addTab(trainerPage_, tr("Trainer"));
    stpTabStrip->addTab(patternPage_, tr("Patterns"));
    connect(stpTabStrip, &QTabWidget::currentChanged, this, &FrmStartup::OnTabChanged);
}

void FrmStartup::CreateStatusBar()
{
    panelMessage_ = new QLabel(this);
    panelMessage_->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(panelMessage_, 1);
    for (const char* key : {"KeyAndScale", "Lesson", "Note"}) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QLatin1String(key));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setMinimumWidth(40);
        statusBar()->addPermanentWidget(panel);
        panels_[QLatin1String(key)] = panel;
    }
}

FrmStartup::LoadResult FrmStartup::Load(FrmSplash* splash)
{
    MixerMinValue = 0;
    MixerMaxValue = 65000;
    MidiDeviceId = -1;
    activated_ = false;

    QString message;
    while (!LoadSettings(message)) {
        // One unreadable setting may be reset on its own; No keeps the window empty and
        // the settings file as it is.
        if (ShowMessage(ResetFailedSettingQuestion(message), MsgYesNo) != MsgYes)
            return LoadResult::WithoutContent;
        if (!ResetFailedSetting(message)) {
            ShowMessage(message, MsgPlain);
            return LoadResult::WithoutContent;
        }
    }
    ActivitySwitching = false;
    CurrActivity = ActivityDrill;
    HidePattern = false;
    SavedHidePattern = false;
    TestState = TestNone;
    ScaleRebuildPending = false;
    PrevNoteEchoDuration = PlayNoteOnPrompt ? 500 : 0;
    GetNotes().Initialize();
    CheckActivityMenu(mnuDrillMode);
    mnuExecTest->setEnabled(true);

    if (EnableSound && !InitMidi(message)) {
        EnableSound = false;
        ShowMessage(message, MsgPlain);
    }

    collLessons.Clear();
    AddNumberedLessons(collLessons);

    // A stored key that names no lesson would stop every start; take lesson 1 as for 0.
    if (CurrLessonKey == 0 || !collLessons.Find(QString::number(CurrLessonKey)))
        CurrLessonKey = 1;
    LessonInterface* lesson = CurrentLesson();
    const LessonSelection selection = SelectionOf(lesson);
    CurrKey = selection.key;
    SavedKey = CurrKey;
    CurrKeyName = KeyNameOf(CurrKey);
    CurrScale = selection.scale;
    SavedScale = CurrScale;
    CurrPattern = selection.pattern;
    SavedPattern = CurrPattern;
    HideInvalidNotes = lesson && lesson->boolHideInvalidNotes;
    NextNotePending = false;
    VisiblePatterns.Clear();
    VisiblePatterns.Add(QString::number(CurrPattern));

    UpdateScaleValues();
    UpdateToolbar();
    objFretlore->Initialise();
    if (endRequested_)
        return LoadResult::EndProgram;
    objPatternPlay->Initialise();
    ResizeStartupForm();

    if (!GetLearnerItems().GetDataFromFile(message)) {
        ShowMessage(message, MsgPlain);
        endRequested_ = true;
        return LoadResult::EndProgram;
    }
    if (!GetDbaseItems().GetDataFromFile(message)) {
        ShowMessage(Tr("Problem encountered with database. Reported errormessage is: ") + message + QLatin1Char('.'),
                    MsgPlain);
        endRequested_ = true;
        return LoadResult::EndProgram;
    }
    learnersLoaded_ = true;
    GenerateStartupFormName();

    stpTabStrip->setCurrentIndex(1);
    SetActivity(ActivityDrill, true);
    if (endRequested_)
        return LoadResult::EndProgram;

    if (splash)
        splash->Unload();
    objFretlore->RequestRepaint();
    loaded_ = true;
    return LoadResult::Ready;
}

void FrmStartup::CheckActivityMenu(QAction* checked)
{
    checkedActivity_ = checked;
    for (QAction* action : {mnuShowMe, mnuDrillMode, mnuFreePlay, mnuPatternPlay})
        action->setChecked(action == checked);
}

void FrmStartup::SetActivity(qint32 intActivity, bool boolSwitchTab)
{
    if (ActivitySwitching)
        return;
    ActivitySwitching = true;
    CurrActivity = intActivity;
    switch (intActivity) {
    case ActivityShowMe:
    case ActivityDrill:
    case ActivityFreePlay: {
        CheckActivityMenu(intActivity == ActivityShowMe ? mnuShowMe
                          : intActivity == ActivityDrill ? mnuDrillMode
                                                        : mnuFreePlay);
        mnuExecTest->setEnabled(intActivity == ActivityDrill);
        if (boolSwitchTab)
            stpTabStrip->setCurrentIndex(0);
        CurrKey = SavedKey;
        CurrScale = SavedScale;
        CurrPattern = SavedPattern;
        if (intActivity == ActivityDrill)
            HidePattern = SavedHidePattern;
        UpdateScaleValues();
        objFretlore->ReInitializeFretboard();
        SetStatusText(intActivity == ActivityShowMe   ? Tr("Click on sheet or fretboard to show associated note.")
                      : intActivity == ActivityDrill ? Tr("Click on the fretboard to show the note position.")
                                                     : Tr("Click on either sheet or fretboard to sound the note."));
        break;
    }
    case ActivityPatternPlay:
        SavedKey = CurrKey;
        SavedScale = CurrScale;
        SavedPattern = CurrPattern;
        SavedHidePattern = HidePattern;
        HidePattern = false;
        if (boolSwitchTab)
            stpTabStrip->setCurrentIndex(1);
        SetStatusText(Tr("Change the selectors to see where the pattern moves."));
        break;
    default:
        break;
    }
    if (EnableSound) {
        QString message;
        if (!GetMixer().SetVolume(MixerVolume, message))
            ShowMessage(Tr("Unable to set the current MIDI device volume. ") + message, MsgPlain);
    }
    ActivitySwitching = false;
}

void FrmStartup::OnTabChanged(int newTab)
{
    const int previousTab = currentTab_;
    currentTab_ = newTab;
    if (previousTab == 1)
        objPatternPlay->RestoreSystemVariables();
    if (newTab == 0) {
        SetActivity(ActivityDrill, false);
        objFretlore->Reset();
        objFretlore->ClearFretboard();
        objFretlore->RequestRepaint();
    } else if (newTab == 1) {
        SetActivity(ActivityPatternPlay, false);
        SetPointerBusy(true);
        objPatternPlay->Initialise();
        objPatternPlay->RequestRepaint();
        SetPointerBusy(false);
    }
}

void FrmStartup::ChooseDrillMode()
{
    SetPointerBusy(true);
    TestState = TestNone;
    SetActivity(ActivityDrill, true);
    objFretlore->Reset();
    objFretlore->ClearFretboard();
    objFretlore->RequestRepaint();
    SetPointerBusy(false);
}

void FrmStartup::ChooseShowMe()
{
    TestState = TestNone;
    SetActivity(ActivityShowMe, true);
    objFretlore->Reset();
    objFretlore->ClearSheet();
    objFretlore->ClearFretboard();
    objFretlore->RequestRepaint();
}

void FrmStartup::ChooseFreePlay()
{
    TestState = TestNone;
    SetActivity(ActivityFreePlay, true);
    objFretlore->Reset();
    objFretlore->ClearSheet();
    objFretlore->ClearFretboard();
    objFretlore->RequestRepaint();
}

void FrmStartup::ChoosePatternPlay()
{
    TestState = TestNone;
    SetActivity(ActivityPatternPlay, true);
    // Pattern play leaves the marks as they were, as the Patterns tab does; undo the
    // toggle Qt gave the checkable entry when it was chosen.
    CheckActivityMenu(checkedActivity_);
}

void FrmStartup::UpdateScaleValues()
{
    const LessonSelection selection = SelectionOf(CurrentLesson());
    CurrKey = selection.key;
    CurrScale = selection.scale;
    CurrKeyName = KeyNameOf(CurrKey);
    GetNotes().SetScale(CurrScale, CurrKeyName);
}

void FrmStartup::UpdateToolbar()
{
    LessonInterface* lesson = CurrentLesson();
    if (!lesson)
        return;
    SetStatusPanelText(QStringLiteral("Lesson"), lesson->strName);
    const LessonSelection selection = SelectionOf(lesson);
    const QString* keyName = KeyNames.Find(QString::number(selection.key));
    const QString* scaleName = ScaleNames.Find(QString::number(selection.scale));
    SetStatusPanelText(QStringLiteral("KeyAndScale"),
                       Tr("Key: ")
                           + (keyName ? QCoreApplication::translate(KeyScaleNamesContext, qPrintable(*keyName)) : QString())
                           + QLatin1Char(' ')
                           + (scaleName ? QCoreApplication::translate(KeyScaleNamesContext, qPrintable(*scaleName))
                                        : QString()));
}

void FrmStartup::GenerateStartupFormName()
{
    QString caption = ApplicationTitle();
    // Before the learners are read every key looks unknown; forgetting the stored one
    // then would lose the learner at every start.
    if (CurrLearnerKey != -1 && learnersLoaded_) {
        const LearnerItem* learner = GetLearnerItems().Item(QString::number(CurrLearnerKey));
        if (learner && !learner->strName.isEmpty())
            caption += Tr(" - Learner: ") + learner->strName;
        else
            CurrLearnerKey = -1;
    }
    setWindowTitle(caption);
}

void FrmStartup::ResizeStartupForm()
{
    QWidget* area = centralWidget();
    if (!area)
        return;
    stpTabStrip->setGeometry(PageControlGeometry(area->size()));
    for (QWidget* page : {trainerPage_, patternPage_}) {
        const QSize pageSize = page->size().isEmpty() ? stpTabStrip->contentsRect().size() : page->size();
        const QRect geometry = PageControlGeometry(pageSize);
        if (page == trainerPage_) {
            objFretlore->move(geometry.topLeft());
            objFretlore->SetLocation(geometry.width(), geometry.height());
        } else {
            objPatternPlay->move(geometry.topLeft());
            objPatternPlay->SetLocation(geometry.width(), geometry.height());
        }
    }
}

void FrmStartup::RequestRepaint()
{
    objFretlore->RequestRepaint();
}

void FrmStartup::AfterOptions(bool boolFretboardStyleChanged)
{
    if (boolFretboardStyleChanged) {
        GetNotes().Initialize();
        // Initialize makes no Note objects; the views fetch theirs for the new instrument.
        GetNotes().SetScale(CurrScale, CurrKeyName);
        objFretlore->Initialise();
        objPatternPlay->ReInitializeFretboard();
        // Another instrument's pictures may have another size.
        ResizeStartupForm();
    }
    if (GetCurrActivity() == ActivityPatternPlay) {
        objPatternPlay->Initialise();
        objPatternPlay->RequestRepaint();
    } else {
        objFretlore->RequestRepaint();
    }
}

void FrmStartup::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The tab pages take their new size when the tab widget lays out; follow it.
    QTimer::singleShot(0, this, [this] {
        ResizeStartupForm();
        if (loaded_)
            objFretlore->RequestRepaint();
    });
    ResizeStartupForm();
}

bool FrmStartup::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !activated_ && loaded_)
        QTimer::singleShot(0, this, &FrmStartup::OnFirstActivation);
    return QMainWindow::event(event);
}

void FrmStartup::OnFirstActivation()
{
    if (activated_)
        return;
    activated_ = true;
    ShowTipOfTheDay(this);
    RequestRepaint();
}

void FrmStartup::ArmTest()
{
    if (CurrLearnerKey == -1) {
        ShowMessage(Tr("You must create and select a learner first before you can run the test function.")
                        + QLatin1Char('\n') + Tr("Please use the 'Score/Learners' menu functions to do so."),
                    MsgInformation);
        return;
    }
    if (ShowMessage(TestOffer(false), MsgOkCancel) == MsgOk)
        TestState = TestArmed;
}

void FrmStartup::StartTestClock()
{
    TestTimer.setInterval(1000);
    TestTimer.start();
    intTestIntervalCount = 0;
}

void FrmStartup::TestTimerTick()
{
    ++intTestIntervalCount;
    if (intTestIntervalCount >= TestDuration) {
        TestState = TestTimeOver;
        TestTimer.stop();
        intTestIntervalCount = 0;
        FinishTest();
    }
    if (TestState == TestNone) {
        ShowMessage(Tr("The current test has been cancelled due to user request."), MsgPlain);
        TestTimer.stop();
        intTestIntervalCount = 0;
    }
}

void FrmStartup::FinishTest()
{
    qint16 count = 0;
    qint16 right = 0;
    qint16 assists = 0;
    objFretlore->GetTestResults(count, right, assists);
    const float score = ComputeTestScore(count, right, assists, TestDuration);
    const int answer = ShowMessage(Tr("Your score is ") + FormatPercent(static_cast<double>(score) * 100)
                                       + Tr("%. Do you want to add this to the score database?"),
                                   MsgYesNoCancel);
    if (answer == MsgCancel)
        return;
    bool restart = false;
    if (answer == MsgYes) {
        qint16 newKey = 0;
        QString message;
        if (!GetDbaseItems().AddScore(CurrLearnerKey, CurrLessonKey, score, newKey, message))
            ShowMessage(Tr("Problem encountered with database. Reported errormessage is: ") + message
                            + QLatin1Char('.'),
                        MsgPlain);
        restart = true;
    }
    if (ShowMessage(TestOffer(restart), MsgOkCancel) == MsgOk)
        TestState = TestArmed;
}

LessonInterface* FrmStartup::CurrentLesson()
{
    return GetCurrentLesson(collLessons);
}

LessonInterface* FrmStartup::CurrentReceiver()
{
    switch (CurrActivity) {
    case ActivityShowMe:
        return &ShowMeLesson;
    case ActivityDrill:
        return CurrentLesson();
    case ActivityFreePlay:
        return &FreePlayLesson;
    default:
        return nullptr;
    }
}

void FrmStartup::EndProgram()
{
    endRequested_ = true;
    if (loaded_)
        QCoreApplication::exit(1);
}

void FrmStartup::SetStatusPanelText(const QString& key, const QString& text)
{
    const auto panel = panels_.find(key);
    if (panel != panels_.end())
        panel->second->setText(text);
}

QString FrmStartup::StatusPanelText(const QString& key) const
{
    if (key.isEmpty())
        return panelMessage_->text();
    const auto panel = panels_.find(key);
    return panel == panels_.end() ? QString() : panel->second->text();
}

void FrmStartup::StartNoteTimeout(NotePtr note)
{
    TimerNoteTimeout.StartNoteTimeout(std::move(note));
}

void FrmStartup::Beep()
{
    if (!PlayBeepTone())
        QApplication::beep();
}

void FrmStartup::SetPointerBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void FrmStartup::ExitProgram()
{
    close();
}

void FrmStartup::closeEvent(QCloseEvent* event)
{
    if (!exiting_) {
        exiting_ = true;
        // The clock would otherwise report the cancelled test after the window has gone.
        TestState = TestNone;
        TestTimer.stop();
        intTestIntervalCount = 0;
        QString message;
        if (loaded_ && !GetDbaseItems().SetDataToFile(message))
            ShowMessage(Tr("Problem encountered with database. Reported errormessage is: ") + message
                            + QLatin1Char('.'),
                        MsgPlain);
        if (!SettingsLoadFailed() && !SaveSettings(message))
            ShowMessage(message, MsgPlain);
        // A note still sounding gets its note-off before the output closes; a port
        // that fails it is reported like a failed close.
        if (const NotePtr sounding = TimerNoteTimeout.RememberedNote()) {
            QString message;
            if (!sounding->StopSound(message)) {
                midiClosed_ = true;
                ShowMessage(message, MsgPlain);
            }
        }
        CloseSoundOutput();
        // Closing the main window ends the program, even while help or another of our
        // windows is still open.
        for (QWidget* other : QApplication::topLevelWidgets())
            if (other != this && other->isWindow() && other->isVisible())
                other->close();
        QCoreApplication::exit(0);
    }
    event->accept();
}

void FrmStartup::CloseSoundOutput()
{
    if (midiClosed_)
        return;
    midiClosed_ = true;
    QString message;
    if (!CloseMidiOut(message))
        ShowMessage(message, MsgPlain);
}
