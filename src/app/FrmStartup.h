#pragma once
// The main window: menus, the "Trainer" and "Patterns" pages, the status bar, the
// switch between activities, the timed test and the note timeout. It owns the lessons
// and routes the views' mouse events to the current activity.

#include "core/Selection.h"
#include "lessons/LessonFreePlay.h"
#include "lessons/LessonShowMe.h"
#include "lessons/Lessons.h"
#include "music/NoteTimeout.h"
#include "views/PatternPlayControl.h"
#include "views/TrainerControl.h"
#include "views/ViewHost.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>

class QAction;
class QLabel;
class QTabWidget;
class FrmSplash;

class FrmStartup : public QMainWindow, public ViewHost, public StartupFormInterface {
    Q_OBJECT
public:
    explicit FrmStartup(QWidget* parent = nullptr);
    ~FrmStartup() override;

    enum class LoadResult { Ready, WithoutContent, EndProgram };
    // The window's load, in its fixed order; closes splash at the end when given.
    LoadResult Load(FrmSplash* splash = nullptr);

    void SetActivity(qint32 intActivity, bool boolSwitchTab);
    qint32 GetCurrActivity() const { return CurrActivity; }
    qint16 GetCurrPatternNum() const { return CurrPattern; }
    void UpdateScaleValues();
    void UpdateToolbar();
    void GenerateStartupFormName() override;
    void ResizeStartupForm();
    void RequestRepaint();
    void FinishTest();

    // Menu actions, public so that tests can choose them.
    void ArmTest();
    void ExitProgram();
    void TestTimerTick();

    // ViewHost
    LessonInterface* CurrentReceiver() override;
    LessonInterface* CurrentLesson() override;
    StartupFormInterface* StartupForm() override { return this; }
    void StartTestClock() override;
    void EndProgram() override;

    // StartupFormInterface
    void SetStatusPanelText(const QString& key, const QString& text) override;
    void StartNoteTimeout(NotePtr note) override;
    void Beep() override;

    QString StatusPanelText(const QString& key) const;
    bool EndRequested() const { return endRequested_; }

    qint16 intTestIntervalCount = 0;
    QTimer TestTimer;
    NoteTimeout TimerNoteTimeout;
    QTabWidget* stpTabStrip = nullptr;
    TrainerControl* objFretlore = nullptr;
    PatternPlayControl* objPatternPlay = nullptr;
    LessonFreePlay FreePlayLesson;
    LessonShowMe ShowMeLesson;

    QAction* mnuExit = nullptr;
    QAction* mnuDrillMode = nullptr;
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
    QAction* mnuContents = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuRunTest = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateMenus();
    void CreateStatusBar();
    void CreatePages();
    void CheckActivityMenu(QAction* checked);
    void OnTabChanged(int newTab);
    void ChooseDrillMode();
    void ChooseShowMe();
    void ChooseFreePlay();
    void ChoosePatternPlay();
    // After the options dialog: a new instrument or fretboard picture rebuilds the
    // note table and both boards; the page in use is redrawn.
    void AfterOptions(bool boolFretboardStyleChanged);
    void OnFirstActivation();
    void SetPointerBusy(bool busy);
    // Closes the MIDI output once, at exit or destruction, showing a failed close.
    void CloseSoundOutput();

    Lessons collLessons;
    std::map<QString, QLabel*> panels_;
    QLabel* panelMessage_ = nullptr;
    QWidget* trainerPage_ = nullptr;
    QWidget* patternPage_ = nullptr;
    int currentTab_ = 0;
    bool ActivitySwitching = false;
    bool activated_ = false;
    bool loaded_ = false;
    bool endRequested_ = false;
    bool exiting_ = false;
    bool learnersLoaded_ = false;
    bool midiClosed_ = false;
    QAction* checkedActivity_ = nullptr; // the activity entry that carries the mark
};
