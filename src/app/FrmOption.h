#pragma once
// The options dialog: three tabs ("General", "Midi", "Lessons") over the settings and
// the lesson in use. The controls are filled from the settings when the dialog is
// made; Apply and OK copy them back, only OK stores them, and only Apply restarts
// sound. Choices that act at once (the lesson, the highlighted patterns) are taken
// back by Cancel unless Apply took them over.
//
// The main window reads boolFretboardStyleChanged after the dialog has closed and
// rebuilds its views for a new instrument or fretboard picture.

#include "core/Collection.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

class FrmStartup;
class Lessons;
class ScrolledNumberBox;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTabWidget;

class frmOption : public QDialog {
    Q_OBJECT
public:
    // Asks for a file to open: title, start folder and file name; an empty result
    // means the user cancelled.
    using FileChooser = std::function<QString(QWidget* parent, const QString& title, const QString& directory,
                                              const QString& fileName)>;

    // startup: the main window, for the current activity and lesson and to apply the
    // lesson's key and scale; lessons: its numbered lessons.
    frmOption(FrmStartup& startup, const Lessons& lessons, QWidget* parent = nullptr);

    static FileChooser DesktopFileChooser();

    bool boolFretboardStyleChanged = false;
    qint16 intCurrFretboardStyle = 0; // as at load
    qint16 intCurrGuitarType = 0;     // as at load
    qint32 intAction = 0;

    void LoadLessonList();
    void LoadLessonDefinition(qint16 lessonKey);
    void ShowDrillStyle();
    void SaveDrillStyle();
    void SaveGeneralTab();
    void SaveMidiTab();
    void SaveLessonsTab();

    // The "Browse" button's file dialog; tests put their own here.
    FileChooser cdlgFile;

    QTabWidget* SSTab1 = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnApply = nullptr;

    // General
    std::array<QRadioButton*, 3> optGuitarType{};
    std::array<QRadioButton*, 2> optFretboardStyle{};
    std::array<QRadioButton*, 2> optPlayNoteOnPrompt{};
    QFrame* frmPlayNoteOnPrompt = nullptr;
    QFrame* frmPlayNoteWhenSelected = nullptr;
    QCheckBox* chkEchoEnabled = nullptr;
    QCheckBox* chkBeepOnError = nullptr;
    QLineEdit* boxTestDuration = nullptr;
    QScrollBar* scrollTestDur = nullptr;
    QLineEdit* boxWebBrowserPath = nullptr;
    QPushButton* btnBrowse = nullptr;
    std::array<QRadioButton*, 2> optFlatSymbolPref{};

    // Midi
    QCheckBox* chkEnableSound = nullptr;
    QListWidget* lstMidiDevs = nullptr;
    QSlider* Slider = nullptr;
    QLineEdit* boxChannel = nullptr;
    QScrollBar* scrollChannel = nullptr;
    QLineEdit* boxPatch = nullptr;
    QScrollBar* scrollPatch = nullptr;
    QLineEdit* boxNoteMaxDuration = nullptr;
    QScrollBar* scrollNoteMaxDuration = nullptr;

    // Lessons
    QListWidget* lstLessons = nullptr;
    QComboBox* cboKey = nullptr;
    QLineEdit* txtKey = nullptr;
    QComboBox* cboScale = nullptr;
    QLineEdit* txtScale = nullptr;
    QListWidget* lstPatterns = nullptr;
    QListWidget* lstHilitedPatterns = nullptr;
    QCheckBox* chkHideInvalids = nullptr;
    QCheckBox* chkBluesNotesOnly = nullptr;

public slots:
    void reject() override;

private:
    // What the clicks on the "Lessons" tab change at once.
    struct ImmediateChoices {
        qint16 lessonKey = 0;
        qint16 pattern = 0;
        Collection<QString> visiblePatterns;
        bool rebuildPending = false;
    };

    QWidget* BuildGeneralTab();
    QWidget* BuildMidiTab();
    QWidget* BuildLessonsTab();
    void Load();
    void LoadDevices();
    void LoadMidiValues();

    void EnableDrillStyle(bool playNoteOnPrompt);
    void OnGuitarTypeClicked(int guitarType);
    void OnBrowse();
    void OnLessonChosen();
    void OnHilitedPatternsChanged();
    bool CheckNumberBoxes();
    void ApplyClicked();
    void OkClicked();
    void RememberImmediateChoices();

    FrmStartup& startup_;
    const Lessons& lessons_;
    ScrolledNumberBox* numTestDuration_ = nullptr;
    ScrolledNumberBox* numChannel_ = nullptr;
    ScrolledNumberBox* numPatch_ = nullptr;
    ScrolledNumberBox* numNoteMaxDuration_ = nullptr;
    ImmediateChoices choicesAtStart_;
};
