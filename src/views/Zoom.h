#pragma once
// How far the pages let their board and staff grow: in tenths of their smallest size,
// from once to four times it.

#include <algorithm>
#include <cmath>

inline constexpr double kMaxZoom = 4;

// The largest allowed zoom that is not above fit.
inline double SteppedZoom(double fit)
{
    return std::clamp(std::floor(fit * 10 + 1e-9) / 10, 1.0, kMaxZoom);
}
