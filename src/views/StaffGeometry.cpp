#include "views/StaffGeometry.h"

#include "core/Rounding.h"

#include <algorithm>
#include <cstdlib>

StaffGeometry::StaffGeometry(QRectF workArea, const Instrument& instrument)
    : work_(workArea)
    , ledgerRows_(instrument.LedgerRows())
{
    const auto step = static_cast<float>(work_.height() / 8);
    const auto centreX = static_cast<float>(work_.x() + work_.width() / 2);
    // The lowest level lies this many steps below the bottom line.
    const int below = instrument.BottomLineLevel() - 1;
    const float bottom = static_cast<float>(work_.y() + work_.height()) + (below - 1) * step + step / 2;
    for (int level = 1; level <= instrument.StaffLevelCount(); ++level) {
        const float top = bottom - (level - 1) * step;
        levels_.push_back(Rect::FromFloat(centreX - static_cast<float>(work_.height() / 8), top,
                                          static_cast<float>(work_.height() / 4), step));
    }
}

const Rect& StaffGeometry::LevelRect(int level) const
{
    return levels_.at(static_cast<size_t>(level - 1));
}

std::optional<int> StaffGeometry::LevelAt(int x, int y) const
{
    for (int level = 1; level <= LevelCount(); ++level)
        if (LevelRect(level).Contains(x, y))
            return level;
    return std::nullopt;
}

std::optional<int> StaffGeometry::LevelAtHeight(int y) const
{
    if (levels_.empty())
        return std::nullopt;
    return LevelAt(RoundToInt16(levels_.front().Center().x()), y);
}

int StaffGeometry::LedgerLineWidth() const
{
    return RoundToInt16(3 * Space());
}

std::vector<QLineF> StaffGeometry::LedgerLines(int level, float centreX) const
{
    std::vector<QLineF> lines;
    const auto row = std::find_if(ledgerRows_.begin(), ledgerRows_.end(),
                                  [level](const LedgerRow& r) { return r.level == level; });
    if (row == ledgerRows_.end() || row->lineCount == 0)
        return lines;
    const float space = Space();
    const int width = LedgerLineWidth();
    const int firstTop = row->lineCount > 0
        ? RoundToInt16(work_.y() + work_.height() + row->lineCount * space)
        : RoundToInt16(work_.y() - space);
    const int xStart = RoundToInt16(centreX - width / 2.0);
    for (int j = 0; j < std::abs(row->lineCount); ++j) {
        const int y = RoundToInt16(firstTop - j * space);
        lines.emplace_back(xStart, y, xStart + width, y);
    }
    return lines;
}
