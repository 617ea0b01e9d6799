#include "health/DownloadTally.h"

namespace tolm::health {

QString DownloadTally::text() const {
    const QString flights =
        newFlights == 1 ? QStringLiteral("new flight") : QStringLiteral("new flights");
    return QStringLiteral("%1 %2, %3 already filed")
        .arg(QString::number(newFlights), flights, QString::number(alreadyFiled));
}

}  // namespace tolm::health
