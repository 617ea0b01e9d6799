#include "viewer/ui/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace {

double roundStep(double span) {
    const double raw = span / 6.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double r = raw / magnitude;
    const double nice = r <= 1.0 ? 1.0 : r <= 2.0 ? 2.0 : r <= 5.0 ? 5.0 : 10.0;
    return nice * magnitude;
}

}  // namespace

AxisBounds RoundAxisBounds(double low, double high, std::optional<double> origin, bool pad) {
    if (origin) {
        low = std::min(low, *origin);
    }
    const bool fixedLower = origin && low == *origin;
    if (high <= low) {
        if (fixedLower) {
            high = low + 1.0;
        } else {
            low -= 1.0;
            high += 1.0;
        }
    }
    if (!std::isfinite(high - low)) {
        return {low, high};
    }
    const double step = roundStep(high - low);
    AxisBounds bounds;
    bounds.lower = fixedLower ? low : std::floor(low / step) * step;
    bounds.upper = std::ceil(high / step) * step;
    const double tolerance = step * 1e-9;
    if (pad && bounds.upper - high < tolerance) {
        bounds.upper += step / 2.0;
    }
    if (pad && !fixedLower && low - bounds.lower < tolerance) {
        bounds.lower -= step / 2.0;
    }
    return bounds;
}
