#pragma once
// The fretboard as a heat map of the learner's answers: every position answered is
// filled with a colour from red (never right) through amber to green (always right) and
// labelled with its median answer time in seconds. The cells are the fretboard's own
// (BoardGeometry of the same picture), scaled to the widget's width, and painted in
// device pixels so that edges and labels stay sharp on any screen.

#include "core/FretPosition.h"
#include "music/Instrument.h"
#include "views/BoardGeometry.h"

#include <QPixmap>
#include <QWidget>

#include <optional>
#include <vector>

class Notes;

// What the heat map shows at one position.
struct PositionHeat {
    FretPosition position;
    int count = 0;          // answers
    double accuracy = 0.0;  // right answers / answers
    int medianMs = 0;       // median answer time
};

class ProgressBoard : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBoard(QWidget* parent = nullptr);

    // The instrument of notes (its picture, strings and note names) in a picture style.
    void Initialise(const Notes& notes, FretboardStyle style);
    void SetHeat(std::vector<PositionHeat> heat);
    const std::vector<PositionHeat>& Heat() const { return heat_; }
    // The figures at a position; none where nothing was answered.
    std::optional<PositionHeat> HeatAt(FretPosition position) const;

    // The cell geometry of the picture at its own size, as the fretboard has it.
    const BoardGeometry& Geometry() const { return geometry_; }
    // A cell's rectangle in device pixels of a paint device with this pixel ratio.
    QRect CellDeviceRect(FretPosition position, qreal devicePixelRatio) const;
    // The cell under a point of the widget; none off the cells.
    std::optional<FretPosition> CellAtPoint(QPointF point) const;

    static QColor AccuracyColor(double accuracy);
    // The label of a median time: seconds with one decimal, "1.4".
    static QString TimeLabel(int medianMs);
    // The tooltip of a position: note, place on the neck and figures.
    QString Describe(FretPosition position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Where the picture lies in the widget, in its logical pixels.
    QRectF BoardRect() const;
    qreal Scale() const;

    const Notes* notes_ = nullptr;
    QSize boardSize_{580, 100};
    QPixmap picture_;
    BoardGeometry geometry_;
    std::vector<PositionHeat> heat_;
};
