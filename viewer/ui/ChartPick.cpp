#include "viewer/ui/ChartPick.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "viewer/ui/ChartData.h"

namespace {

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0.0 ? QPointF::dotProduct(p - a, ab) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

bool finite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

}  // namespace

std::optional<int> NearestPoint(const ChartData& data, int set, QPointF pixel, QRectF area,
                                const DataToPixelMap& toPixel) {
    if (!data.Shown(set) || !area.contains(pixel)) {
        return std::nullopt;
    }
    std::optional<int> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int p = 0; p <= data.LastPoint(set); ++p) {
        const QPointF at = toPixel({data.X(set, p), data.Y(set, p)});
        if (finite(at) && area.contains(at) && distance(at, pixel) < bestDistance) {
            bestDistance = distance(at, pixel);
            best = p;
        }
    }
    return best;
}

std::optional<int> NearestSet(const ChartData& data, QPointF pixel, QRectF area, double tolerance,
                              const std::function<bool(int)>& drawnAsLine,
                              const DataToPixelMap& toPixel) {
    if (!area.contains(pixel)) {
        return std::nullopt;
    }
    std::optional<int> best;
    double bestDistance = tolerance;
    for (int set = 0; set <= data.LastSet(); ++set) {
        if (!data.Shown(set)) {
            continue;
        }
        const bool line = drawnAsLine(set);
        QPointF previous;
        bool joined = false;  // a line leads from `previous` to the next point
        for (int p = 0; p <= data.LastPoint(set); ++p) {
            const QPointF at = toPixel({data.X(set, p), data.Y(set, p)});
            if (!finite(at)) {
                joined = false;
                continue;
            }
            const double d = joined ? distanceToSegment(pixel, previous, at) : distance(at, pixel);
            if (d <= bestDistance) {
                bestDistance = d;
                best = set;
            }
            previous = at;
            joined = line;
        }
    }
    return best;
}
