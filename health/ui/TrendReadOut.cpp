#include "health/ui/TrendReadOut.h"

#include <cmath>

#include "viewer/Parameters.h"

namespace tolm::health {

QString TrendReadOut::alarmText(int level) {
    return level == 0 ? QStringLiteral("None") : QStringLiteral("Level %1").arg(level);
}

QString TrendReadOut::text(const Trend& trend, const TrendPoint& point) {
    const QString value =
        std::isnan(point.y) ? QStringLiteral("-") : QString::number(point.y, 'g', 5);
    return QStringLiteral("Flight %1 (%2)\nFiled  %3\n%4: %5\nAlarm  %6\nFiles  %7")
        .arg(point.flightNumber)
        .arg(viewer::MemoryTypes::name(point.memory))
        .arg(Trend::dateText(point.filedAt), trend.valueTitle(), value, alarmText(point.alarm))
        .arg(point.files);
}

}  // namespace tolm::health
