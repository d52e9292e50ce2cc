#pragma once
// Second-order Butterworth filters (RBJ cookbook biquads, Q = 1/sqrt(2)), sample by
// sample.

namespace listening {

class Biquad {
public:
    static Biquad HighPass(int sampleRate, double cutoffHz);
    static Biquad LowPass(int sampleRate, double cutoffHz);

    float operator()(float in);

private:
    Biquad(double b0, double b1, double b2, double a1, double a2);

    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

} // namespace listening
