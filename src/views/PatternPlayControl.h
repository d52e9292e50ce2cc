#pragma once
// The "Patterns" page: the learner picks a key, a scale, a pattern and the pentatonic
// filter, and a fretboard of its own shows where that pattern lies. No prompt, no sound,
// no clicks. While it is shown it changes the shared key, scale and pattern; it keeps
// the drill's key and visible patterns and gives them back in RestoreSystemVariables.

#include "views/FretboardControl.h"
#include "views/ViewHost.h"

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;

class PatternPlayControl : public QWidget {
    Q_OBJECT
public:
    explicit PatternPlayControl(QWidget* parent = nullptr);

    // The host supplies the current lesson, whose key and scale the page starts from.
    void SetHost(ViewHost* host) { host_ = host; }

    // Sizes the fretboard to its picture and centres the frame in an area of that size.
    void SetLocation(int intWidth, int intHeight);
    // Each time the page is entered and after the options changed: keeps the drill's
    // key and visible patterns, rebuilds the fretboard and selects the current lesson's
    // key and scale and the pattern that was visible.
    void Initialise();
    // When the page is left: the drill's key, key name and visible patterns come back.
    // (Scale, pattern and the hide flag are the main window's to restore.)
    void RestoreSystemVariables();
    // Rebuilds the note table and the fretboard when ScaleRebuildPending is set; redraws.
    void RequestRepaint();
    // After the options changed the instrument or the fretboard style.
    void ReInitializeFretboard();

    QFrame* fmFrame = nullptr;
    FretboardControl* objFretboard = nullptr;
    QComboBox* cboKey = nullptr;
    QComboBox* cboScale = nullptr;
    QComboBox* cboPatterns = nullptr;
    QCheckBox* chkBluesNotesOnly = nullptr;
    QString strSavedCurrKey; // the drill's key name

private:
    void FillKeys();
    void FillScales();
    void FillPatterns(qint16 intScale);
    // Selects the entry whose item data is value and handles it as a learner's choice;
    // false when no entry has it.
    static bool SelectByData(QComboBox* box, int value);
    int SelectedData(const QComboBox* box) const;

    void OnKeySelected();
    void OnScaleSelected();
    void OnPatternSelected();
    void OnBluesNotesOnlyClicked(bool checked);

    ViewHost* host_ = nullptr;
    qint32 savedKey_ = 0;
    QStringList savedVisiblePatterns_;
};
