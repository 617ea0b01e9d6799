#pragma once
// The read-out of the point under the mouse: its text, the colour of the box behind it, and
// where the vertical marker goes.
#include <QString>
#include <optional>

#include "viewer/ChartContents.h"

namespace tolm::viewer {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct ReadOut {
    QString text;
    Rgb background;  // yellow when Y is negative, pale blue otherwise
    double markerX = 0.0;

    static constexpr Rgb kNegative{255, 255, 0};
    static constexpr Rgb kOther{204, 204, 255};

    // The read-out of point `point` of data set `set`; none when the chart has no such point.
    static std::optional<ReadOut> of(const ChartContents& chart, int set, int point);
};

}  // namespace tolm::viewer
