#include "listen/HighPass.h"

#include <cmath>
#include <numbers>

namespace listening {

HighPass::HighPass(int sampleRate, double cutoffHz)
{
    const double w0 = 2.0 * std::numbers::pi * cutoffHz / sampleRate;
    const double alpha = std::sin(w0) / std::numbers::sqrt2; // sin(w0) / (2Q)
    const double cosw = std::cos(w0);
    const double a0 = 1.0 + alpha;
    b0_ = (1.0 + cosw) / 2.0 / a0;
    b1_ = -(1.0 + cosw) / a0;
    b2_ = b0_;
    a1_ = -2.0 * cosw / a0;
    a2_ = (1.0 - alpha) / a0;
}

float HighPass::operator()(float in)
{
    const double x = in;
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return static_cast<float>(y);
}

} // namespace listening
