#pragma once
// The fretboard: the instrument's picture, the grid of cells laid over it, and the note
// markers. A press, by mouse or by key, is resolved into a cell here and handed on as
// "this cell, primary or secondary button"; markers are painted from exactly the
// rectangles presses are tested against.
//
// The board grows with its owner (SetZoom) and is drawn for its size and pixel ratio.
// It may be shown mirrored (a left-handed neck, the lowest string at the top): one
// transform maps board space to the screen for painting and back for presses.
// From the keyboard a cursor cell moves with the arrows and answers with Enter.

#include "core/AnswerInput.h"
#include "core/Selection.h"
#include "lessons/ActivityViews.h"
#include "music/Notes.h"
#include "music/PatternLayout.h"
#include "views/BoardGeometry.h"
#include "views/BoardPicture.h"

#include <QPixmap>
#include <QWidget>

#include <optional>
#include <vector>

class FretboardControl : public QWidget, public BoardDisplay {
    Q_OBJECT
public:
    explicit FretboardControl(QWidget* parent = nullptr);

    // Rebuilds the grid for a note table (its instrument) and a picture style; clears
    // the marks.
    void Initialise(const Notes& notes, FretboardStyle style);
    // The key, scale and patterns the board shows.
    void SetSelection(const Selection& selection);
    const Selection& GetSelection() const { return selection_; }
    // The board's size as a multiple of its smallest (580 x 100).
    void SetZoom(double zoom);
    // A left-handed neck has the nut on the right; the lowest string may lie at the top.
    void SetOrientation(bool leftHanded, bool lowestOnTop);
    bool IsLeftHanded() const { return leftHanded_; }
    bool IsLowestOnTop() const { return lowestOnTop_; }
    // Whether a cell's accessible name may say its note: not while a drill waits for it.
    void SetNoteNamesSpoken(bool spoken);
    bool AreNoteNamesSpoken() const { return namesSpoken_; }

    // BoardDisplay
    void MarkNote(const QString& name) override;
    void Refresh() override;
    void ClearFretboard() { MarkNote(QString()); }

    const BoardGeometry& Geometry() const { return geometry_; }
    const PatternLayout& Layout() const { return layout_; }
    int StringCount() const { return geometry_.StringCount(); }
    // Board space to the control and back.
    const QTransform& View() const { return view_; }
    // Where a cell's marker is painted, in the control's pixels.
    QPointF CellCentre(FretPosition cell) const;
    QRectF CellBox(FretPosition cell) const;
    // The cell a press at this point of the control finds.
    std::optional<FretPosition> CellAtPoint(QPointF point) const;
    // The note at a cell, "" off the board.
    QString NoteNameAt(FretPosition cell) const;
    bool IsMarked(FretPosition cell) const;
    // What paint draws at a cell: nothing, or a marker with these colours.
    struct Marker {
        bool drawn = false;
        bool marked = false;       // a note shown by the activity (red)
        bool patternNote = false;  // a highlighted pattern note (blue)
        float radius = 0;
    };
    Marker MarkerAt(FretPosition cell) const;

    // The keyboard's cell.
    FretPosition Cursor() const { return cursor_; }
    void SetCursor(FretPosition cell);
    // Presses a cell as Enter on it would (a screen reader's press action).
    void ActivateCell(FretPosition cell, bool secondary);
    // Strings as players count them: 1 is the highest-sounding.
    int PlayerString(int stringNum) const { return StringCount() + 1 - stringNum; }
    // "string 6, fret 3", with the note when names may be spoken.
    QString CellName(FretPosition cell) const;
    // The background as last drawn: its size in device pixels tells the ratio it was
    // drawn for.
    const QPixmap& Background() const { return background_; }

signals:
    // input: how the press was given; a key or a played note may stand for a mouse press.
    void cellPressed(std::optional<FretPosition> cell, bool secondary, AnswerInput input = AnswerInput::Mouse);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    float MarkerRadius(const Rect& cell) const;
    void Rebuild();
    void UpdateBackground(qreal devicePixelRatio);
    bool MoveCursor(int key);
    // The keyboard's press of the cursor cell: the one place keys reach the activity.
    void PressByKey(bool secondary);
    void ReleaseKey();
    void NotifyCursor();

    const Notes* notes_ = nullptr;
    FretboardStyle style_ = FretboardStyle::Simple;
    Selection selection_;
    PatternLayout layout_{Instrument(), Selection()};
    BoardGeometry geometry_;
    QTransform view_;
    bool leftHanded_ = false;
    bool lowestOnTop_ = false;
    bool namesSpoken_ = true;
    std::vector<bool> marked_; // string by string, fret positions 1..14
    FretPosition cursor_{1, 1};
    int heldKey_ = 0; // the key whose press sounds until it is released
    QPixmap background_;
    struct BackgroundKey {
        QSize size;
        qreal ratio = 0;
        BoardLook look;
        int strings = 0;
        FretboardStyle style = FretboardStyle::Simple;
        QTransform view;
        bool operator==(const BackgroundKey&) const = default;
    } backgroundKey_;
};
