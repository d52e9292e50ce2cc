#pragma once
// The drill's page: the staff above, the fretboard below, the pattern selector under
// it and the "Hide pattern" and "Pentatonic notes only" switches. It starts the current
// activity and turns a change of pattern or switch into a rebuild and redraw.

#include "views/FretboardControl.h"
#include "views/SheetControl.h"
#include "views/ViewHost.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;

class TrainerControl : public QWidget {
    Q_OBJECT
public:
    explicit TrainerControl(QWidget* parent = nullptr);

    void SetHost(ViewHost* host);

    void SetLocation(int intWidth, int intHeight);
    void Initialise();
    void RequestRepaint();
    void Reset();
    void ClearFretboard();
    void ClearSheet();
    void DrawAllSheetExtraLines();
    void GetTestResults(qint16& testNoteCount, qint16& correctTestNoteCount, qint16& testNoteAssistCount);
    void ReInitializeFretboard();
    void ReInitializeSheet();
    void SetPrompt(const QString& strMsg, bool boolShowPic);

    SheetControl* objSheet = nullptr;
    FretboardControl* objFretboard = nullptr;
    QCheckBox* chkHidePattern = nullptr;
    QCheckBox* chkBluesNotesOnly = nullptr;
    QFrame* frmScrollPattern = nullptr;
    QScrollBar* scrollPattern = nullptr;
    QLineEdit* boxCurrPattern = nullptr;

    // The staff's work area: the five lines at x 60..480, y 80..160.
    static Rect StaffWorkarea();
    int PatternsPerScale() const { return patternsPerScale_; }

private:
    void OnHidePatternToggled(bool checked);
    void OnBluesNotesOnlyToggled(bool checked);
    void OnPatternScrolled(int value);
    void ShowPatternSelection();
    bool SendStartOver(LessonInterface* receiver);

    ViewHost* host_ = nullptr;
    QLabel* lblPattern_ = nullptr;
    int patternsPerScale_ = 6;
};
