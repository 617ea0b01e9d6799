#include "sim/image/SignalSource.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorsim {

namespace {
constexpr double kSampleInterval = 0.1024e-3;  // seconds between samples
}

float SignalSource::between(double lo, double hi) {
    return static_cast<float>(lo + (hi - lo) * unit());
}

float SignalSource::logBetween(double lo, double hi) {
    return static_cast<float>(std::exp(std::log(lo) + (std::log(hi) - std::log(lo)) * unit()));
}

void SignalSource::timeHistory(std::array<qint16, 1024>& samples, double shaftHz,
                               double amplitude) {
    const double twoPi = 2 * std::numbers::pi;
    const double phase1 = twoPi * unit(), phase2 = twoPi * unit(), phase3 = twoPi * unit();
    const double slowHz = shaftHz * (0.25 + 0.1 * unit());
    const double noise = amplitude * 0.08;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) * kSampleInterval;
        const double v = amplitude * std::sin(twoPi * shaftHz * t + phase1) +
                         0.35 * amplitude * std::sin(twoPi * 2 * shaftHz * t + phase2) +
                         0.2 * amplitude * std::sin(twoPi * slowHz * t + phase3) +
                         noise * (2 * unit() - 1);
        samples[i] = static_cast<qint16>(std::clamp(std::lround(v), -32768L, 32767L));
    }
}

}  // namespace quorsim
