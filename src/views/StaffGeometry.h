#pragma once
// Where the staff's levels lie: one box per line or space, level 1 the lowest, shared
// by painting and hit testing. The work area is the rectangle of the five staff lines
// (top line to bottom line) on the staff's surface; a level step is half a staff space.

#include "music/Instrument.h"
#include "views/Rect.h"

#include <QLineF>
#include <QRectF>

#include <optional>
#include <vector>

class StaffGeometry {
public:
    StaffGeometry() = default;
    StaffGeometry(QRectF workArea, const Instrument& instrument);

    QRectF WorkArea() const { return work_; }
    int LevelCount() const { return static_cast<int>(levels_.size()); }
    // A level's box: one staff space wide, one level step high, centred on the staff's
    // middle column and on the level's line or space.
    const Rect& LevelRect(int level) const;
    // The level under a whole-pixel point, the lowest first on a shared border.
    std::optional<int> LevelAt(int x, int y) const;
    // The level at a height in the staff's middle column.
    std::optional<int> LevelAtHeight(int y) const;

    float Space() const { return static_cast<float>(work_.height() / 4); }
    // The ledger lines a note at this level needs, centred on x: below the staff they
    // run up from the lowest, above it from the first above the staff.
    std::vector<QLineF> LedgerLines(int level, float centreX) const;
    int LedgerLineWidth() const;

private:
    QRectF work_;
    std::vector<Rect> levels_;
    std::vector<LedgerRow> ledgerRows_;
};
