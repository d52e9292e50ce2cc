#pragma once
// Every float-to-whole-number conversion of the program goes through here: nearest,
// halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).

#include <QtGlobal>

#include <cmath>
#include <limits>
#include <optional>

inline double RoundHalfEven(double value)
{
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    if (diff > 0.5)
        return floorValue + 1.0;
    if (diff < 0.5)
        return floorValue;
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

// Rounds and narrows; std::nullopt when the result does not fit Int (or is NaN).
template <typename Int>
std::optional<Int> RoundToInt(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    const double rounded = RoundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

// For geometry that is known to be in range: rounds and clamps into 16 bits.
inline qint16 RoundToInt16(double value)
{
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= -32768.0))
        return -32768;
    if (rounded > 32767.0)
        return 32767;
    return static_cast<qint16>(rounded);
}
