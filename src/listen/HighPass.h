#pragma once
// A second-order Butterworth high-pass (RBJ cookbook biquad, Q = 1/sqrt(2)), sample by
// sample.

namespace listening {

class HighPass {
public:
    HighPass(int sampleRate, double cutoffHz);
    float operator()(float in);

private:
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

} // namespace listening
