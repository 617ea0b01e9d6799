#pragma once
// The axis range a chart shows for its data when the user has not zoomed: the data's extent
// widened to round numbers, so that the tick marks fall on them.
#include <optional>

struct AxisBounds {
    double lower = 0.0;
    double upper = 1.0;
    bool operator==(const AxisBounds&) const = default;
};

// Bounds for data from `low` to `high` (both finite, low <= high): each end moved outwards to a
// multiple of a round step (1, 2 or 5 times a power of ten, about six steps in all). A given
// `origin` is the lower bound instead, unless data lie below it. With `pad`, an end that falls
// exactly on a data value moves out by half a step more, so that a point symbol there is not
// cut in half. Data all at one value get a range of width 2 around it (width 1 above an origin).
AxisBounds RoundAxisBounds(double low, double high, std::optional<double> origin, bool pad);
