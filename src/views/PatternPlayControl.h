#pragma once
// The "Patterns" page: the learner picks a key, a scale, a pattern and the pentatonic
// filter, and a fretboard of its own shows where that pattern lies. No prompt, no
// sound, no presses. It owns its selection, so the drill's is never touched.

#include "core/Selection.h"
#include "views/FretboardControl.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
struct Settings;

class PatternPlayControl : public QWidget {
    Q_OBJECT
public:
    explicit PatternPlayControl(QWidget* parent = nullptr);

    // "BluesNotesOnly" is shown here and changed for the whole program.
    void SetContext(Settings& settings) { settings_ = &settings; }

    // Centres the frame in an area of that size.
    void SetLocation(int width, int height);
    // Each time the page is entered: the board for the note table, the key and scale of
    // the current lesson and the pattern the drill shows.
    void Initialise(const Notes& notes, int lessonKey, int lessonScale, const std::vector<int>& drillPatterns);
    // After a new instrument or picture style.
    void ReInitializeFretboard(const Notes& notes);
    void RequestRepaint();

    const Selection& GetSelection() const { return selection_; }

    QFrame* fmFrame = nullptr;
    FretboardControl* objFretboard = nullptr;
    QComboBox* cboKey = nullptr;
    QComboBox* cboScale = nullptr;
    QComboBox* cboPatterns = nullptr;
    QCheckBox* chkBluesNotesOnly = nullptr;

private:
    void FillPatterns(int scale);
    static bool SelectByData(QComboBox* box, int value);
    static int SelectedData(const QComboBox* box);
    void ApplySelection(const Selection& selection);
    void SyncOrientation();

    void OnKeySelected();
    void OnScaleSelected();
    void OnPatternSelected();
    void OnPentatonicClicked(bool checked);

    Settings* settings_ = nullptr;
    const Notes* notes_ = nullptr;
    Selection selection_;
};
