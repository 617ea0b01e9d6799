#pragma once
// Seeded values for the simulated unit: plain integers and ranges, and time histories made of
// shaft-order sines plus noise. The same seed gives the same values on every platform, since the
// engine's output is fixed by the standard and the conversions here are written out.
#include <QtGlobal>
#include <array>
#include <random>

namespace quorsim {

class SignalSource {
public:
    explicit SignalSource(quint32 seed) : rng_(seed) {}

    quint32 next() { return static_cast<quint32>(rng_()); }
    // 0 .. n - 1
    int below(int n) { return static_cast<int>(next() % static_cast<quint32>(n)); }
    // [lo, hi), evenly
    float between(double lo, double hi);
    // [lo, hi), evenly on a logarithmic scale (lo > 0); covers several decades
    float logBetween(double lo, double hi);

    // 1024 samples 0.1024 ms apart: the shaft frequency, its second order and a slower shaft,
    // plus noise, clipped to the 16-bit range.
    void timeHistory(std::array<qint16, 1024>& samples, double shaftHz, double amplitude);

private:
    double unit() { return next() / 4294967296.0; }
    std::mt19937 rng_;
};

}  // namespace quorsim
