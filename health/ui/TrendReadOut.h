#pragma once
// What the trend window says about one point: its flight and memory, the value, the flight's
// current alarm level and how many files hold it, one item a line.
#include <QString>

#include "health/Trend.h"

namespace tolm::health {

class TrendReadOut {
public:
    static QString text(const Trend& trend, const TrendPoint& point);
    // "Level 2", or "None" for a flight without a current alarm level.
    static QString alarmText(int level);
};

}  // namespace tolm::health
