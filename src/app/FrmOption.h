#pragma once
// The options dialog: four tabs ("General", "Midi", "Lessons", "Input") over the settings and
// the lesson in use. The tabs are filled from the settings when the dialog is made;
// Apply and OK copy them back, only OK stores them, and only Apply restarts sound and
// listening (the main window does so after OK). What
// the "Lessons" tab chooses reaches the trainer when the dialog has closed (and is
// taken back by Cancel unless Apply took it over).

#include "core/Selection.h"
#include "lessons/LessonInterface.h"
#include "music/Instrument.h"

#include <QDialog>

class InputListening;
class Lessons;
class OptionsGeneralTab;
class OptionsInputTab;
class OptionsLessonsTab;
class OptionsMidiTab;
class QPushButton;
class QTabWidget;
class SoundSystem;
class SettingsStore;
struct Settings;

class FrmOption : public QDialog {
    Q_OBJECT
public:
    FrmOption(Settings& settings, SettingsStore& store, SoundSystem& sound, InputListening& listening, Lessons& lessons,
              const Selection& drillSelection, QWidget* parent = nullptr);

    // Apply or OK changed the instrument or the fretboard picture.
    bool boolFretboardStyleChanged = false;
    // The trainer's selection as Apply or OK left it.
    const Selection& DrillSelection() const { return drillSelection_; }

    QTabWidget* SSTab1 = nullptr;
    OptionsGeneralTab* generalTab = nullptr;
    OptionsMidiTab* midiTab = nullptr;
    OptionsLessonsTab* lessonsTab = nullptr;
    OptionsInputTab* inputTab = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnApply = nullptr;

private:
    bool SaveTabs();
    void ApplyClicked();
    void OkClicked();

    Settings& settings_;
    SettingsStore& store_;
    SoundSystem& sound_;
    InputListening& listening_;
    Selection drillSelection_;
    qint32 styleAtLoad_ = 0;
    Instrument instrumentAtLoad_;
};
