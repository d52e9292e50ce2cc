#pragma once
// The fretboard: the instrument's picture, the grid of cells laid over it, and the note
// markers. A press is resolved into a cell here and handed on as "this cell, primary or
// secondary button"; markers are painted from exactly the rectangles presses are
// tested against.

#include "core/AnswerInput.h"
#include "core/Selection.h"
#include "lessons/ActivityViews.h"
#include "music/Notes.h"
#include "music/PatternLayout.h"
#include "views/BoardGeometry.h"

#include <QPixmap>
#include <QWidget>

#include <optional>
#include <vector>

class FretboardControl : public QWidget, public BoardDisplay {
    Q_OBJECT
public:
    explicit FretboardControl(QWidget* parent = nullptr);

    // Rebuilds the grid for a note table (its instrument) and a picture style: loads the
    // picture, takes its size, clears the marks.
    void Initialise(const Notes& notes, FretboardStyle style);
    // The key, scale and patterns the board shows.
    void SetSelection(const Selection& selection);
    const Selection& GetSelection() const { return selection_; }

    // BoardDisplay
    void MarkNote(const QString& name) override;
    void Refresh() override { update(); }
    void ClearFretboard() { MarkNote(QString()); }

    const BoardGeometry& Geometry() const { return geometry_; }
    const PatternLayout& Layout() const { return layout_; }
    int StringCount() const { return geometry_.StringCount(); }
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
    // Empty unless the last picture could not be loaded.
    QString PictureError() const { return pictureError_; }

signals:
    // input: how the press was given; a key or a played note may stand for a mouse press.
    void cellPressed(std::optional<FretPosition> cell, bool secondary, AnswerInput input = AnswerInput::Mouse);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    float MarkerRadius(const Rect& cell) const;

    const Notes* notes_ = nullptr;
    FretboardStyle style_ = FretboardStyle::Simple;
    Selection selection_;
    PatternLayout layout_{Instrument(), Selection()};
    BoardGeometry geometry_;
    std::vector<bool> marked_; // string by string, fret positions 1..14
    QPixmap picture_;
    QString pictureError_;
};
