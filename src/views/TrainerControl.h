#pragma once
// The trainer page: the staff above, the fretboard below, the pattern selector under it
// and the "Hide pattern" and "Pentatonic notes only" switches. It owns the page's
// selection, hands the views' presses to the current activity, and turns a change of
// pattern or switch into a rebuild and redraw.

#include "core/Selection.h"
#include "views/FretboardControl.h"
#include "views/SheetControl.h"

#include <QWidget>

class ActivitySwitcher;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
struct Settings;

class TrainerControl : public QWidget {
    Q_OBJECT
public:
    explicit TrainerControl(QWidget* parent = nullptr);

    // The settings it shows and changes ("BluesNotesOnly", the drill style) and the
    // switcher that hears the views.
    void SetContext(Settings& settings, ActivitySwitcher& switcher);

    void SetLocation(int width, int height);
    // Both views for a note table (after a new instrument, picture style or spelling),
    // then the current activity starts over. False when it could not: the program ends.
    bool Initialise(const Notes& notes);
    // The board again, its marks cleared: each time a trainer activity is chosen.
    void ReInitializeFretboard();
    // What the page shows; the views follow at once, the activity is not restarted.
    void SetSelection(const Selection& selection);
    const Selection& GetSelection() const { return selection_; }
    // Redraws both views and the selector.
    void RequestRepaint();
    // The current activity starts over. False when it could not: the program ends.
    bool Reset();
    void ClearFretboard() { objFretboard->ClearFretboard(); }
    void ClearSheet() { objSheet->ClearSheet(); }
    // A status message (a verdict) for screen readers: it becomes part of both views'
    // accessible descriptions, so the one with the focus is heard saying it.
    void Announce(const QString& text);
    // How many times their smallest the views are shown.
    double Zoom() const { return zoom_; }
    // The largest zoom at which the page's parts fit an area of that size (1 at least,
    // in steps of a tenth).
    double ZoomFor(int width, int height) const;

    SheetControl* objSheet = nullptr;
    FretboardControl* objFretboard = nullptr;
    QCheckBox* chkHidePattern = nullptr;
    QCheckBox* chkBluesNotesOnly = nullptr;
    QFrame* frmScrollPattern = nullptr;
    QScrollBar* scrollPattern = nullptr;
    QLineEdit* boxCurrPattern = nullptr;

    // The staff's five lines on its surface: x 60..480, y 80..160.
    static QRectF StaffWorkarea() { return {60, 80, 420, 80}; }
    // Five single patterns and "All Patterns" per scale.
    static constexpr int kPatternsPerScale = 6;

signals:
    // The current activity could not start over; its message has been shown.
    void activityFailed();

private:
    void OnHidePatternToggled(bool checked);
    void OnPentatonicToggled(bool checked);
    void OnPatternScrolled(int value);
    // The page's own switches: rebuild, a new question, redraw.
    void ChangeSelection(const Selection& selection);
    void ShowSelection();
    // In ear training the staff keeps inviting the learner to listen.
    void SyncIdlePrompt();
    void ConnectViews();
    // The board turned as the settings say.
    void SyncOrientation();
    void UpdateBoardDescription();

    Settings* settings_ = nullptr;
    ActivitySwitcher* switcher_ = nullptr;
    const Notes* notes_ = nullptr;
    Selection selection_;
    QLabel* lblPattern_ = nullptr;
    double zoom_ = 1;
    QString announcement_;
};
