#include "listen/Biquad.h"

#include <cmath>
#include <numbers>

namespace listening {

namespace {

struct Corner {
    double cosw;
    double a0;     // 1 + alpha
    double a2;     // 1 - alpha
};

Corner CornerAt(int sampleRate, double cutoffHz)
{
    const double w0 = 2.0 * std::numbers::pi * cutoffHz / sampleRate;
    const double alpha = std::sin(w0) / std::numbers::sqrt2; // sin(w0) / (2Q)
    return {std::cos(w0), 1.0 + alpha, 1.0 - alpha};
}

} // namespace

Biquad::Biquad(double b0, double b1, double b2, double a1, double a2)
    : b0_(b0), b1_(b1), b2_(b2), a1_(a1), a2_(a2)
{
}

Biquad Biquad::HighPass(int sampleRate, double cutoffHz)
{
    const Corner c = CornerAt(sampleRate, cutoffHz);
    const double b0 = (1.0 + c.cosw) / 2.0 / c.a0;
    return {b0, -(1.0 + c.cosw) / c.a0, b0, -2.0 * c.cosw / c.a0, c.a2 / c.a0};
}

Biquad Biquad::LowPass(int sampleRate, double cutoffHz)
{
    const Corner c = CornerAt(sampleRate, cutoffHz);
    const double b0 = (1.0 - c.cosw) / 2.0 / c.a0;
    return {b0, (1.0 - c.cosw) / c.a0, b0, -2.0 * c.cosw / c.a0, c.a2 / c.a0};
}

float Biquad::operator()(float in)
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
