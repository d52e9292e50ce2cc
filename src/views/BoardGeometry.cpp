#include "views/BoardGeometry.h"

#include <cmath>

namespace {

double ColumnLeftOf(double width, int column)
{
    double x = 0;
    for (int k = 1; k < column; ++k)
        x += width * FretWidths()[static_cast<size_t>(k - 1)] / 100;
    return x;
}

} // namespace

Rect CalcFretBounds(QSizeF board, int stringNum, int fretNum, int stringCount, int taperMin, int taperMax)
{
    const auto width = static_cast<float>(board.width());
    const auto height = static_cast<float>(board.height());
    const float unit = height / static_cast<float>(kBoardBaseSize.height());
    const float spanNut = static_cast<float>(taperMin) * unit;
    const float spanFar = static_cast<float>(taperMax) * unit;
    const float gapNut = spanNut / static_cast<float>(stringCount - 1);
    const float gapFar = spanFar / static_cast<float>(stringCount - 1);
    const float yNut = (height + spanNut) / 2 - (stringNum - 1) * gapNut;
    const float yFar = (height + spanFar) / 2 - (stringNum - 1) * gapFar;
    const float angle = std::atan((yFar - yNut) / width);
    float xLeft = 0;
    for (int column = 1; column < fretNum; ++column)
        xLeft += width * static_cast<float>(FretWidths()[static_cast<size_t>(column - 1)]) / 100;
    const float xRight = xLeft + width * static_cast<float>(FretWidths()[static_cast<size_t>(fretNum - 1)]) / 100;
    const float yLeft = xLeft * std::tan(angle) + yNut;
    return Rect::FromFloat(xLeft, yLeft - gapNut / 2, xRight - xLeft, gapNut);
}

BoardGeometry::BoardGeometry(QSizeF board, int stringCount, FretboardStyle style)
    : size_(board)
    , stringCount_(stringCount)
    , taperMin_(TaperMin(style))
    , taperMax_(TaperMax(style))
{
    cells_.reserve(static_cast<size_t>(stringCount * kFretPositions));
    for (int s = 1; s <= stringCount; ++s)
        for (int f = 1; f <= kFretPositions; ++f)
            cells_.push_back(CalcFretBounds(board, s, f, stringCount, TaperMin(style), TaperMax(style)));
}

const Rect& BoardGeometry::CellRect(FretPosition cell) const
{
    return cells_.at(static_cast<size_t>((cell.string - 1) * kFretPositions + cell.fret - 1));
}

std::optional<FretPosition> BoardGeometry::CellAt(int x, int y) const
{
    for (int s = 1; s <= stringCount_; ++s)
        for (int f = 1; f <= kFretPositions; ++f)
            if (CellRect({s, f}).Contains(x, y))
                return FretPosition{s, f};
    return std::nullopt;
}

double BoardGeometry::ColumnLeft(int column) const
{
    return ColumnLeftOf(size_.width(), column);
}

double BoardGeometry::StringY(int stringNum, double x) const
{
    const double spanNut = taperMin_ * Unit();
    const double spanFar = taperMax_ * Unit();
    const double yNut = (size_.height() + spanNut) / 2 - (stringNum - 1) * spanNut / (stringCount_ - 1);
    const double yFar = (size_.height() + spanFar) / 2 - (stringNum - 1) * spanFar / (stringCount_ - 1);
    return yNut + (yFar - yNut) * x / size_.width();
}

QTransform BoardView(QSizeF size, bool leftHanded, bool lowestOnTop)
{
    return QTransform(leftHanded ? -1 : 1, 0, 0, lowestOnTop ? -1 : 1, leftHanded ? size.width() : 0,
                      lowestOnTop ? size.height() : 0);
}
