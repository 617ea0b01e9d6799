#include "health/AlarmLevels.h"

#include <QStringList>

#include "download/ReportHeader.h"

namespace tolm::health {

int AlarmLevels::highestCurrent() const {
    int highest = kNone;
    for (Bearing b : kBearings) {
        if (isAlarm(current(b)) && current(b) > highest) {
            highest = current(b);
        }
    }
    return highest;
}

int AlarmLevels::highestHistoric() const {
    int highest = kNone;
    for (Bearing b : kBearings) {
        if (isAlarm(historic(b)) && historic(b) > highest) {
            highest = historic(b);
        }
    }
    return highest;
}

QString AlarmLevels::mark() const {
    const int highest = highestCurrent();
    if (highest == kNone) {
        return QString();
    }
    QStringList bearings;
    for (Bearing b : kBearings) {
        if (current(b) == highest) {
            bearings.append(bearingName(b));
        }
    }
    return QStringLiteral("Alarm %1 (%2)").arg(highest).arg(bearings.join(QLatin1Char(' ')));
}

// The report header's words, with a highest level of none read as its level 4.
QString AlarmLevels::currentText(int highest) {
    return QString::fromLatin1(ReportHeader::currentLevelText(isAlarm(highest) ? highest : 4));
}

QString AlarmLevels::historicText(int highest) {
    return QString::fromLatin1(ReportHeader::historicLevelText(isAlarm(highest) ? highest : 4));
}

QString AlarmLevels::bearingName(Bearing b) {
    switch (b) {
        case Bearing::R4:
            return QStringLiteral("4R");
        case Bearing::L4:
            return QStringLiteral("4L");
        case Bearing::B3:
            return QStringLiteral("3B");
    }
    return QString();
}

}  // namespace tolm::health
