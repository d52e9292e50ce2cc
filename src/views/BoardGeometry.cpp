#include "views/BoardGeometry.h"

#include <cmath>

Rect CalcFretBounds(QSizeF board, int stringNum, int fretNum, int stringCount, int taperMin, int taperMax)
{
    const auto width = static_cast<float>(board.width());
    const auto height = static_cast<float>(board.height());
    const float gapNut = static_cast<float>(taperMin) / static_cast<float>(stringCount - 1);
    const float gapFar = static_cast<float>(taperMax) / static_cast<float>(stringCount - 1);
    const float yNut = (height + taperMin) / 2 - (stringNum - 1) * gapNut;
    const float yFar = (height + taperMax) / 2 - (stringNum - 1) * gapFar;
    const float angle = std::atan((yFar - yNut) / width);
    float xLeft = 0;
    for (int column = 1; column < fretNum; ++column)
        xLeft += width * static_cast<float>(FretWidths()[static_cast<size_t>(column - 1)]) / 100;
    const float xRight = xLeft + width * static_cast<float>(FretWidths()[static_cast<size_t>(fretNum - 1)]) / 100;
    const float yLeft = xLeft * std::tan(angle) + yNut;
    return Rect::FromFloat(xLeft, yLeft - gapNut / 2, xRight - xLeft, gapNut);
}

BoardGeometry::BoardGeometry(QSizeF board, int stringCount, FretboardStyle style)
    : stringCount_(stringCount)
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
