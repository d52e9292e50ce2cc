#include "app/FrmStartup.h"

#include "app/FrmAbout.h"
#include "app/FrmLearner.h"
#include "app/FrmOption.h"
#include "app/FrmProgress.h"
#include "app/FrmScore.h"
#include "app/FrmSplash.h"
#include "app/Help.h"
#include "app/ProgramArt.h"
#include "app/TipSettings.h"
#include "core/Messages.h"
#include "listen/RtAudioInput.h"
#include "music/Scales.h"
#include "music/Tunings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("FrmStartup", text);
}

// Lays a page's control out at 0.5 % from the top-left corner, 99 % of the page.
QRect PageControlGeometry(const QSize& page)
{
    return QRect(qRound(page.width() * 0.005), qRound(page.height() * 0.005), qRound(page.width() * 0.99),
                 qRound(page.height() * 0.99));
}

QString StorePath(const QString& folder, const char* file)
{
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + QLatin1String(file);
}

QString PracticePath(const FrmStartup::Options& options)
{
    const QString folder = options.practiceFolder.isEmpty() ? options.dataFolder : options.practiceFolder;
    return StorePath(folder, "Practice.sqlite");
}

// Busy pointer for a scope.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

FrmStartup::FrmStartup(Options options, QWidget* parent)
    : QMainWindow(parent)
    , options_(std::move(options))
    , sound_(options_.sound ? options_.sound(settings_) : std::make_unique<SoundSystem>(settings_))
    , listening_(std::make_unique<InputListening>(options_.input ? options_.input()
                                                                 : std::make_unique<listening::RtAudioInput>()))
    , learners_(StorePath(options_.dataFolder, "Learners.dat"))
    , scores_(StorePath(options_.dataFolder, "Score.dat"))
    , practice_(PracticePath(options_))
    , test_(settings_, scores_)
    , switcher_(settings_, lessons_, freePlay_, showMe_, this)
{
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(ProgramIcon());
    setMinimumSize(600, 540);
    resize(760, 600);

    CreateMenus();
    CreatePages();
    CreateStatusBar();
    SetStatusHook([this](const QString& text) {
        if (panelMessage_)
            panelMessage_->setText(text);
        objTrainer->Announce(text);
    });
    connect(&switcher_, &ActivitySwitcher::trainerActivityChosen, this, &FrmStartup::OnTrainerActivityChosen);
    connect(&switcher_, &ActivitySwitcher::pageRequested, stpTabStrip, &QTabWidget::setCurrentIndex);
    sound_->SetSoundingHook([this](auto heardUntil) { listening_->MuteUntil(heardUntil); });
    connect(listening_.get(), &InputListening::notePlayed, this, &FrmStartup::OnNotePlayed);
    connect(listening_.get(), &InputListening::stateChanged, this, &FrmStartup::OnInputState);
    connect(&switcher_, &ActivitySwitcher::activitySet, this, [this] {
        QString message;
        if (!sound_->ApplyVolume(message))
            ShowMessage(Tr("Unable to set the current MIDI device volume. ") + message, MsgPlain);
    });
}

FrmStartup::~FrmStartup()
{
    SetStatusHook(nullptr);
    sound_->SetSoundingHook(nullptr);
    listening_->Stop();
    CloseSoundOutput();
}

void FrmStartup::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    mnuExit = file->addAction(tr("&Exit"), this, &QWidget::close);
    mnuExit->setShortcut(QKeySequence::Quit);

    QMenu* activities = menuBar()->addMenu(tr("&Activities"));
    mnuDrillMode = activities->addAction(tr("&Drill mode"), this, [this] { ChooseActivity(Activity::Drill); });
    mnuWeakNotes =
        activities->addAction(tr("Practise &weak notes"), this, [this] { ChooseActivity(Activity::WeakNotes); });
    mnuShowMe = activities->addAction(tr("&Show me"), this, [this] { ChooseActivity(Activity::ShowMe); });
    mnuFreePlay = activities->addAction(tr("&FreePlay"), this, [this] { ChooseActivity(Activity::FreePlay); });
    mnuPatternPlay =
        activities->addAction(tr("&Play with patterns"), this, [this] { ChooseActivity(Activity::PatternPlay); });
    for (QAction* action : {mnuDrillMode, mnuWeakNotes, mnuShowMe, mnuFreePlay, mnuPatternPlay})
        action->setCheckable(true);
    activities->addSeparator();
    mnuOptions = activities->addAction(tr("&Options"), this, &FrmStartup::ShowOptions);
    mnuReEnableTips = activities->addAction(tr("&Re-enable tips at startup"), this, [this] {
        ReEnableTipsAtStartup(this);
        objTrainer->RequestRepaint();
    });

    QMenu* score = menuBar()->addMenu(tr("&Score"));
    QMenu* learners = score->addMenu(tr("&Learners"));
    mnuSelCurrLearner = learners->addAction(tr("&Select current learner"), this,
                                            [this] { ManageLearners(FrmLearner::ActionSelect); });
    mnuCreateLearner = learners->addAction(tr("&Create a learner"), this,
                                           [this] { ManageLearners(FrmLearner::ActionCreate); });
    mnuEditLearner = learners->addAction(tr("&Edit learner properties"), this,
                                         [this] { ManageLearners(FrmLearner::ActionEdit); });
    mnuDeleteLearner = learners->addAction(tr("&Delete a learner"), this,
                                           [this] { ManageLearners(FrmLearner::ActionDelete); });
    mnuExecTest = score->addAction(tr("&Execute test"), &test_, &TimedTest::ArmTest);
    mnuScore = score->addAction(tr("&View scores"), this, &FrmStartup::ShowScores);
    mnuProgress = score->addAction(tr("&Progress"), this, &FrmStartup::ShowProgress);
    mnuExportPractice = score->addAction(tr("E&xport practice…"), this, [this] {
        practice_.Export(this, learners_, settings_.currLearnerKey);
    });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    mnuContents = help->addAction(tr("&Contents"), this, [] { ShowHelpContents(HelpFile()); });
    mnuContents->setShortcut(QKeySequence::HelpContents);
    mnuAbout = help->addAction(tr("&About"), this, [this] {
        FrmAbout about(this);
        about.exec();
        objTrainer->RequestRepaint();
    });
}

void FrmStartup::CreatePages()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    stpTabStrip = new QTabWidget(central);
    stpTabStrip->setObjectName(QStringLiteral("stpTabStrip"));
    trainerPage_ = new QWidget;
    patternPage_ = new QWidget;
    objTrainer = new TrainerControl(trainerPage_);
    objTrainer->setObjectName(QStringLiteral("objTrainer"));
    objTrainer->SetContext(settings_, switcher_);
    connect(objTrainer, &TrainerControl::activityFailed, this, &FrmStartup::EndProgram);
    objPatternPlay = new PatternPlayControl(patternPage_);
    objPatternPlay->setObjectName(QStringLiteral("objPatternPlay"));
    objPatternPlay->SetContext(settings_);
    stpTabStrip->addTab(trainerPage_, tr("Trainer"));
    stpTabStrip->addTab(patternPage_, tr("Patterns"));
    connect(stpTabStrip, &QTabWidget::currentChanged, this, &FrmStartup::OnTabChanged);
}

void FrmStartup::CreateStatusBar()
{
    panelMessage_ = new QLabel(this);
    panelMessage_->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(panelMessage_, 1);
    for (const char* key : {"Input", "KeyAndScale", "Lesson", "Note"}) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QLatin1String(key));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setMinimumWidth(40);
        statusBar()->addPermanentWidget(panel);
        panels_[QLatin1String(key)] = panel;
    }
    panels_[QStringLiteral("Input")]->hide(); // until listening is on
}

bool FrmStartup::LoadSettingsOrOfferReset()
{
    QString message;
    while (!settingsStore_.LoadSettings(settings_, message)) {
        // One unreadable setting may be reset on its own; No keeps the window empty and
        // the settings file as it is.
        if (ShowMessage(settingsStore_.ResetFailedSettingQuestion(message), MsgYesNo) != MsgYes)
            return false;
        if (!settingsStore_.ResetToDefault(settingsStore_.FailedKey(), message)) {
            ShowMessage(message, MsgPlain);
            return false;
        }
    }
    return true;
}

void FrmStartup::StartSound()
{
    QString message;
    if (settings_.enableSound && !sound_->InitMidi(message)) {
        settings_.enableSound = false;
        ShowMessage(message, MsgPlain);
    }
}

void FrmStartup::StartListening()
{
    listening_->SetRange(notes_);
    QString message;
    listening_->Apply(settings_, message); // the "Input" panel and the status bar say why not
}

void FrmStartup::OnInputState(const QString& text, bool problem)
{
    QLabel* panel = panels_[QStringLiteral("Input")];
    panel->setText(text.isEmpty() ? QString() : (problem ? Tr("Not listening") : Tr("Listening")));
    panel->setToolTip(text);
    panel->setVisible(!text.isEmpty());
    if (problem)
        SetStatusText(text);
}

void FrmStartup::OnNotePlayed(int midi)
{
    // Nothing answers behind a dialog, nor before the window is ready.
    if (!loaded_ || QApplication::activeModalWidget())
        return;
    switcher_.NotePlayed(midi);
}

void FrmStartup::SetUpActivities()
{
    lessons_.Clear();
    lessons_.AddNumberedLessons();
    ActivityContext context;
    context.settings = &settings_;
    context.notes = &notes_;
    context.staff = objTrainer->objSheet;
    context.board = objTrainer->objFretboard;
    context.host = this;
    context.player = &sound_->Player();
    context.selection = &objTrainer->GetSelection();
    context.test = &test_;
    context.recorder = &practice_;
    for (LessonsItem& item : lessons_)
        item.lesson->SetContext(context);
    freePlay_.SetContext(context);
    showMe_.SetContext(context);
    context.test = nullptr; // no timed test while practising weak notes
    weakNotes_.SetContext(context);
    switcher_.SetPractice(&weakNotes_);
}

bool FrmStartup::LoadStores()
{
    QString message;
    if (!learners_.GetDataFromFile(message)) {
        ShowMessage(message, MsgPlain);
        return false;
    }
    if (!scores_.GetDataFromFile(message)) {
        ShowMessage(DatabaseProblemMessage(message), MsgPlain);
        return false;
    }
    learnersLoaded_ = true;
    return true;
}

FrmStartup::LoadResult FrmStartup::Load(FrmSplash* splash)
{
    activated_ = false;
    if (!LoadSettingsOrOfferReset())
        return LoadResult::WithoutContent;
    test_.Stop();
    QString tuningProblem;
    notes_ = Notes(InstrumentOf(TuningFromSettings(settings_, tuningProblem)), settings_.flatSymbolPref);
    if (!tuningProblem.isEmpty())
        ShowMessage(tuningProblem, MsgPlain);
    CheckActivityMenu(mnuDrillMode);
    mnuExecTest->setEnabled(true);
    StartSound();
    SetUpActivities();

    // A stored key that names no lesson would stop every start; take lesson 1 as for 0.
    if (!lessons_.Lesson(settings_.currLessonKey))
        settings_.currLessonKey = 1;
    objTrainer->SetSelection(LessonSelection(*CurrentLesson(), settings_));
    UpdateToolbar();
    if (!objTrainer->Initialise(notes_)) {
        endRequested_ = true;
        return LoadResult::EndProgram;
    }
    objPatternPlay->ReInitializeFretboard(notes_);
    ResizeStartupForm();

    if (!LoadStores()) {
        endRequested_ = true;
        return LoadResult::EndProgram;
    }
    // Only now: its faults never keep the learners or scores from loading.
    practice_.Open();
    GenerateStartupFormName();

    stpTabStrip->setCurrentIndex(1);
    switcher_.SetActivity(Activity::Drill, true);
    if (endRequested_)
        return LoadResult::EndProgram;
    StartListening(); // after the activity's own status text, which would hide its problem

    if (splash)
        splash->Unload();
    objTrainer->RequestRepaint();
    loaded_ = true;
    return LoadResult::Ready;
}

void FrmStartup::CheckActivityMenu(QAction* checked)
{
    checkedActivity_ = checked;
    for (QAction* action : {mnuShowMe, mnuDrillMode, mnuWeakNotes, mnuFreePlay, mnuPatternPlay})
        action->setChecked(action == checked);
}

QAction* FrmStartup::MenuEntryOf(Activity activity) const
{
    switch (activity) {
    case Activity::ShowMe:
        return mnuShowMe;
    case Activity::Drill:
        return mnuDrillMode;
    case Activity::WeakNotes:
        return mnuWeakNotes;
    case Activity::FreePlay:
        return mnuFreePlay;
    case Activity::PatternPlay:
        return mnuPatternPlay;
    }
    return nullptr;
}

void FrmStartup::OnTrainerActivityChosen(Activity activity)
{
    CheckActivityMenu(MenuEntryOf(activity));
    mnuExecTest->setEnabled(activity == Activity::Drill);
    UpdateScaleValues();
    objTrainer->ReInitializeFretboard();
}

void FrmStartup::OnTabChanged(int newTab)
{
    currentTab_ = newTab;
    if (newTab == 0) {
        switcher_.SetActivity(Activity::Drill, false);
        objTrainer->Reset();
        objTrainer->ClearFretboard();
        objTrainer->RequestRepaint();
    } else if (newTab == 1) {
        switcher_.SetActivity(Activity::PatternPlay, false);
        const BusyPointer busy;
        const DrillLesson* lesson = CurrentLesson();
        objPatternPlay->Initialise(notes_, lesson ? lesson->key : 4, lesson ? lesson->scale : ScaleMajor,
                                   objTrainer->GetSelection().visiblePatterns);
        objPatternPlay->RequestRepaint();
    }
}

void FrmStartup::ChooseActivity(Activity activity)
{
    test_.Cancel();
    switcher_.SetActivity(activity, true);
    if (activity == Activity::PatternPlay) {
        // Pattern play leaves the marks as they were, as the Patterns tab does; undo the
        // toggle Qt gave the checkable entry when it was chosen.
        CheckActivityMenu(checkedActivity_);
        return;
    }
    const BusyPointer busy;
    objTrainer->Reset();
    if (activity != Activity::Drill && activity != Activity::WeakNotes)
        objTrainer->ClearSheet();
    objTrainer->ClearFretboard();
    objTrainer->RequestRepaint();
}

void FrmStartup::UpdateScaleValues()
{
    const DrillLesson* lesson = CurrentLesson();
    if (!lesson)
        return;
    const Selection fromLesson = LessonSelection(*lesson, settings_);
    Selection selection = objTrainer->GetSelection();
    selection.key = fromLesson.key;
    selection.scale = fromLesson.scale;
    selection.pentatonicOnly = settings_.pentatonicOnly;
    objTrainer->SetSelection(selection);
}

void FrmStartup::UpdateToolbar()
{
    const DrillLesson* lesson = CurrentLesson();
    if (!lesson)
        return;
    panels_[QStringLiteral("Lesson")]->setText(lesson->name);
    const Selection selection = LessonSelection(*lesson, settings_);
    const auto translated = [](const QString& name) {
        return QCoreApplication::translate(KeyScaleNamesContext, qPrintable(name));
    };
    panels_[QStringLiteral("KeyAndScale")]->setText(Tr("Key: ") + translated(KeyName(selection.key))
                                                    + QLatin1Char(' ') + translated(ScaleName(selection.scale)));
}

void FrmStartup::GenerateStartupFormName()
{
    QString caption = ApplicationTitle();
    // Before the learners are read every key looks unknown; forgetting the stored one
    // then would lose the learner at every start.
    if (settings_.currLearnerKey != -1 && learnersLoaded_) {
        const LearnerItem* learner = learners_.Item(QString::number(settings_.currLearnerKey));
        if (learner && !learner->strName.isEmpty())
            caption += Tr(" - Learner: ") + learner->strName;
        else
            settings_.currLearnerKey = -1;
    }
    setWindowTitle(caption);
}

void FrmStartup::ResizeStartupForm()
{
    QWidget* area = centralWidget();
    if (!area)
        return;
    stpTabStrip->setGeometry(PageControlGeometry(area->size()));
    // The tab widget sizes only the page it shows; the hidden one takes the same size, or
    // it would be laid out for the window as it was when it was last shown.
    const QWidget* shown = stpTabStrip->currentWidget();
    const QSize pageSize = !shown || shown->size().isEmpty() ? stpTabStrip->contentsRect().size() : shown->size();
    for (QWidget* page : {trainerPage_, patternPage_}) {
        page->resize(pageSize);
        const QRect geometry = PageControlGeometry(pageSize);
        if (page == trainerPage_) {
            objTrainer->move(geometry.topLeft());
            objTrainer->SetLocation(geometry.width(), geometry.height());
        } else {
            objPatternPlay->move(geometry.topLeft());
            objPatternPlay->SetLocation(geometry.width(), geometry.height());
        }
    }
}

void FrmStartup::ShowOptions()
{
    setCursor(Qt::ArrowCursor);
    test_.Cancel();
    const bool flatsBefore = settings_.flatSymbolPref;
    const int lessonBefore = settings_.currLessonKey;
    FrmOption options(settings_, settingsStore_, *sound_, *listening_, lessons_, objTrainer->GetSelection(), this);
    options.exec();
    AfterOptions(options.boolFretboardStyleChanged || settings_.flatSymbolPref != flatsBefore,
                 options.DrillSelection(), lessonBefore);
}

void FrmStartup::RebuildNotes()
{
    notes_ = Notes(InstrumentFromSettings(settings_), settings_.flatSymbolPref);
}

void FrmStartup::AfterOptions(bool tableChanged, const Selection& drillSelection, int lessonBefore)
{
    UpdateToolbar();
    const Selection before = objTrainer->GetSelection();
    objTrainer->SetSelection(drillSelection);
    UpdateScaleValues();
    const bool restart = !(objTrainer->GetSelection() == before) || settings_.currLessonKey != lessonBefore;
    if (tableChanged) {
        RebuildNotes();
        objTrainer->Initialise(notes_);
        objPatternPlay->ReInitializeFretboard(notes_);
        // Another instrument's pictures may have another size.
        ResizeStartupForm();
    } else if (restart) {
        objTrainer->Reset();
    }
    if (switcher_.Current() == Activity::PatternPlay)
        OnTabChanged(1);
    else
        objTrainer->RequestRepaint();
    // For the new instrument's range; also ends a test of the input the dialog started.
    StartListening();
}

void FrmStartup::ManageLearners(qint32 action)
{
    FrmLearner dialog(settings_, learners_, scores_, &practice_, this);
    dialog.intAction = action;
    dialog.exec();
    if (dialog.intAction == FrmLearner::ActionNotLoaded)
        return;
    GenerateStartupFormName();
    objTrainer->ClearFretboard();
    objTrainer->RequestRepaint();
}

void FrmStartup::ShowScores()
{
    test_.Cancel();
    FrmScore scores(FrmScore::LessonNames(lessons_), settings_, learners_, scores_, this);
    scores.exec();
    objTrainer->Reset();
    objTrainer->ClearFretboard();
    objTrainer->RequestRepaint();
}

void FrmStartup::ShowProgress()
{
    test_.Cancel();
    FrmProgress progress(practice_, notes_, settings_, learners_, this);
    progress.exec();
    objTrainer->Reset();
    objTrainer->ClearFretboard();
    objTrainer->RequestRepaint();
}

void FrmStartup::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The tab pages take their new size when the tab widget lays out; follow it.
    QTimer::singleShot(0, this, [this] {
        ResizeStartupForm();
        if (loaded_)
            objTrainer->RequestRepaint();
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
    objTrainer->RequestRepaint();
}

void FrmStartup::EndProgram()
{
    endRequested_ = true;
    if (loaded_)
        QCoreApplication::exit(1);
}

void FrmStartup::SetNotePanel(const QString& text)
{
    panels_[QStringLiteral("Note")]->setText(text);
}

QString FrmStartup::StatusPanelText(const QString& key) const
{
    if (key.isEmpty())
        return panelMessage_->text();
    const auto panel = panels_.find(key);
    return panel == panels_.end() ? QString() : panel->second->text();
}

void FrmStartup::StartNoteTimeout(const Note& note)
{
    sound_->Timeout().StartNoteTimeout(note.midi);
}

void FrmStartup::Beep()
{
    if (!sound_->PlayBeepTone())
        QApplication::beep();
}

void FrmStartup::CloseSoundOutput()
{
    if (soundClosed_)
        return;
    soundClosed_ = true;
    // A note still sounding gets its note-off before the output closes.
    QString message;
    if (!sound_->Timeout().StopNow(message) || !sound_->Midi().CloseMidiOut(message))
        ShowMessage(message, MsgPlain);
}

void FrmStartup::closeEvent(QCloseEvent* event)
{
    if (!exiting_) {
        exiting_ = true;
        // The clock would otherwise report the cancelled test after the window has gone.
        test_.Stop();
        QString message;
        if (loaded_ && !scores_.SetDataToFile(message))
            ShowMessage(DatabaseProblemMessage(message), MsgPlain);
        if (!settingsStore_.LoadFailed() && !settingsStore_.SaveSettings(settings_, message))
            ShowMessage(message, MsgPlain);
        CloseSoundOutput();
        // Closing the main window ends the program, even while help or another of our
        // windows is still open.
        for (QWidget* other : QApplication::topLevelWidgets())
            if (other != this && other->isWindow() && other->isVisible())
                other->close();
        // Outside a running event loop an exit would linger and end the next dialog at once.
        if (QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::exit(0);
    }
    event->accept();
}
