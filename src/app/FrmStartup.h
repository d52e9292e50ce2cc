#pragma once
// The main window: menus, the "Trainer" and "Patterns" pages, the status bar, and the
// start and end of a run. It owns the run's state (settings, note table, lessons,
// learner, score and practice stores, sound) and hands the activity switching, the
// timed test and the practice records to their own classes.

#include "app/InputListening.h"
#include "app/PracticeRecords.h"
#include "core/Settings.h"
#include "lessons/ActivitySwitcher.h"
#include "lessons/ActivityViews.h"
#include "lessons/LessonFreePlay.h"
#include "lessons/LessonShowMe.h"
#include "lessons/Lessons.h"
#include "lessons/TimedTest.h"
#include "lessons/WeakNotesPractice.h"
#include "music/Notes.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"
#include "sound/SoundSystem.h"
#include "views/PatternPlayControl.h"
#include "views/TrainerControl.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QLabel;
class QTabWidget;
class FrmSplash;

class FrmStartup : public QMainWindow, private ActivityHost {
    Q_OBJECT
public:
    // Makes the run's sound from its settings; the default is the built-in synthesizer
    // and the system's MIDI ports.
    using SoundFactory = std::function<std::unique_ptr<SoundSystem>(Settings& settings)>;
    // Makes the audio input listening uses; the default is the system's (RtAudio).
    using InputFactory = std::function<std::unique_ptr<listening::AudioInput>()>;
    struct Options {
        SoundFactory sound;
        InputFactory input;
        QString dataFolder; // where Learners.dat and Score.dat live; empty: the user's
        QString practiceFolder; // where Practice.sqlite lives; empty: the data folder
    };

    explicit FrmStartup(Options options = {}, QWidget* parent = nullptr);
    ~FrmStartup() override;

    enum class LoadResult { Ready, WithoutContent, EndProgram };
    // The window's load, in its fixed order; closes splash at the end when given.
    LoadResult Load(FrmSplash* splash = nullptr);
    bool EndRequested() const { return endRequested_; }

    Settings& GetSettings() { return settings_; }
    const Notes& GetNotes() const { return notes_; }
    LearnerItems& Learners() { return learners_; }
    DbaseItems& Scores() { return scores_; }
    PracticeRecords& Practice() { return practice_; }
    SoundSystem& Sound() { return *sound_; }
    InputListening& Listening() { return *listening_; }
    TimedTest& Test() { return test_; }
    ActivitySwitcher& Activities() { return switcher_; }
    DrillLesson* CurrentLesson() const { return switcher_.CurrentLesson(); }

    // The caption: the program's name and, once the learners are read, the learner's.
    void GenerateStartupFormName();
    // The "Lesson" and "KeyAndScale" panels.
    void UpdateToolbar();
    // The trainer shows the current lesson's key and scale.
    void UpdateScaleValues();
    void ResizeStartupForm();
    QString StatusPanelText(const QString& key) const;

    QTabWidget* stpTabStrip = nullptr;
    TrainerControl* objTrainer = nullptr;
    PatternPlayControl* objPatternPlay = nullptr;

    QAction* mnuExit = nullptr;
    QAction* mnuDrillMode = nullptr;
    QAction* mnuWeakNotes = nullptr;
    QAction* mnuShowMe = nullptr;
    QAction* mnuFreePlay = nullptr;
    QAction* mnuPatternPlay = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuReEnableTips = nullptr;
    QAction* mnuSelCurrLearner = nullptr;
    QAction* mnuCreateLearner = nullptr;
    QAction* mnuEditLearner = nullptr;
    QAction* mnuDeleteLearner = nullptr;
    QAction* mnuExecTest = nullptr;
    QAction* mnuScore = nullptr;
    QAction* mnuProgress = nullptr;
    QAction* mnuExportPractice = nullptr;
    QAction* mnuContents = nullptr;
    QAction* mnuAbout = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // ActivityHost
    void SetNotePanel(const QString& text) override;
    void StartNoteTimeout(const Note& note) override;
    void Beep() override;

    void CreateMenus();
    void CreateStatusBar();
    void CreatePages();
    bool LoadSettingsOrOfferReset();
    void StartSound();
    // Listens as the settings say; a problem shows in the status bar.
    void StartListening();
    void OnNotePlayed(int midi);
    void OnInputState(const QString& text, bool problem);
    void SetUpActivities();
    bool LoadStores();
    void CheckActivityMenu(QAction* checked);
    QAction* MenuEntryOf(Activity activity) const;
    void OnTrainerActivityChosen(Activity activity);
    void OnTabChanged(int newTab);
    void ChooseActivity(Activity activity);
    void ShowOptions();
    void ManageLearners(qint32 action);
    void ShowScores();
    void ShowProgress();
    // After the options dialog: a new instrument, picture or spelling rebuilds the note
    // table and both boards; a new lesson or pattern choice restarts the drill.
    void AfterOptions(bool tableChanged, const Selection& drillSelection, int lessonBefore);
    void RebuildNotes();
    void EndProgram();
    void OnFirstActivation();
    void CloseSoundOutput();

    Options options_;
    Settings settings_;
    SettingsStore settingsStore_;
    std::unique_ptr<SoundSystem> sound_;
    std::unique_ptr<InputListening> listening_;
    Notes notes_;
    Lessons lessons_;
    LessonFreePlay freePlay_;
    LessonShowMe showMe_;
    LearnerItems learners_;
    DbaseItems scores_;
    PracticeRecords practice_;
    WeakNotesPractice weakNotes_;
    TimedTest test_;
    ActivitySwitcher switcher_;

    std::map<QString, QLabel*> panels_;
    QLabel* panelMessage_ = nullptr;
    QWidget* trainerPage_ = nullptr;
    QWidget* patternPage_ = nullptr;
    QAction* checkedActivity_ = nullptr; // the activity entry that carries the mark
    int currentTab_ = 0;
    bool activated_ = false;
    bool loaded_ = false;
    bool learnersLoaded_ = false;
    bool endRequested_ = false;
    bool exiting_ = false;
    bool soundClosed_ = false;
};
