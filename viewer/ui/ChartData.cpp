#include "viewer/ui/ChartData.h"

#include <algorithm>
#include <cmath>
#include <utility>

ChartData::ChartData(int type, int sets, int points) : type_(type) {
    sets_.resize(std::max(sets, 0));
    for (Set& set : sets_) {
        set.x.assign(std::max(points, 0), 0.0);
        set.y.assign(std::max(points, 0), 0.0);
    }
}

const ChartData::Set* ChartData::At(int set) const {
    return set >= 0 && set < SetCount() ? &sets_[set] : nullptr;
}

bool ChartData::Valid(int set, int point) const {
    const Set* s = At(set);
    return s && point >= 0 && point < int(s->x.size());
}

int ChartData::LastPoint(int set) const {
    const Set* s = At(set);
    return s ? int(s->x.size()) - 1 : -1;
}

double ChartData::X(int set, int point) const {
    return Valid(set, point) ? sets_[set].x[point] : 0.0;
}

double ChartData::Y(int set, int point) const {
    return Valid(set, point) ? sets_[set].y[point] : 0.0;
}

bool ChartData::SetX(int set, int point, double value) {
    if (!Valid(set, point)) {
        return false;
    }
    sets_[set].x[point] = value;
    sets_[set].changed = true;
    return true;
}

bool ChartData::SetY(int set, int point, double value) {
    if (!Valid(set, point)) {
        return false;
    }
    sets_[set].y[point] = value;
    sets_[set].changed = true;
    return true;
}

bool ChartData::SetPoints(int set, std::span<const double> x, std::span<const double> y) {
    Set* s = At(set);
    if (!s) {
        return false;
    }
    std::copy_n(x.begin(), std::min(x.size(), s->x.size()), s->x.begin());
    std::copy_n(y.begin(), std::min(y.size(), s->y.size()), s->y.begin());
    s->changed = true;
    return true;
}

std::span<const double> ChartData::XData(int set) const {
    const Set* s = At(set);
    return s ? std::span<const double>(s->x) : std::span<const double>();
}

std::span<const double> ChartData::YData(int set) const {
    const Set* s = At(set);
    return s ? std::span<const double>(s->y) : std::span<const double>();
}

bool ChartData::Show(int set, bool shown) {
    Set* s = At(set);
    if (!s) {
        return false;
    }
    s->shown = shown;
    return true;
}

bool ChartData::Shown(int set) const {
    const Set* s = At(set);
    return s && s->shown;
}

bool ChartData::TakeChanged(int set) {
    Set* s = At(set);
    return s && std::exchange(s->changed, false);
}

std::optional<ChartData::Extent> ChartData::DataExtent() const {
    std::optional<Extent> extent;
    auto scan = [&](bool shownOnly) {
        for (const Set& set : sets_) {
            if (shownOnly && !set.shown) {
                continue;
            }
            for (size_t p = 0; p < set.x.size(); ++p) {
                const double x = set.x[p], y = set.y[p];
                if (!std::isfinite(x) || !std::isfinite(y)) {
                    continue;
                }
                if (!extent) {
                    extent = Extent{x, x, y, y};
                }
                extent->xLow = std::min(extent->xLow, x);
                extent->xHigh = std::max(extent->xHigh, x);
                extent->yLow = std::min(extent->yLow, y);
                extent->yHigh = std::max(extent->yHigh, y);
            }
        }
    };
    scan(true);
    if (!extent) {
        scan(false);  // all hidden: keep the scale of the data rather than jump
    }
    return extent;
}
