#include "health/DistinctFlight.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <tuple>

namespace tolm::health {

int DistinctFlight::fileCount() const {
    if (copies.size() == 1) {
        return 1;
    }
    QSet<QString> paths;
    for (const FlightCopy& c : copies) {
        paths.insert(c.path);
    }
    return int(paths.size());
}

QString DistinctFlight::copiesText() const {
    const int files = fileCount();
    return files > 1 ? QStringLiteral("in %1 files").arg(files) : QString();
}

QList<DistinctFlight> DistinctFlight::group(const QList<FlightRow>& rows) {
    QList<DistinctFlight> flights;
    QHash<FlightKey, qsizetype> index;
    index.reserve(rows.size());
    flights.reserve(rows.size());
    for (const FlightRow& row : rows) {
        const FlightKey key = row.key();
        const FlightCopy copy{row.path, row.slot, row.aircraft, row.engineNumber, row.writtenAt};
        const auto found = index.constFind(key);
        if (found != index.constEnd()) {
            QList<FlightCopy>& copies = flights[*found].copies;
            // Earliest download first, whatever the order of the rows.
            const auto at = std::upper_bound(
                copies.begin(), copies.end(), copy,
                [](const FlightCopy& a, const FlightCopy& b) { return a.writtenAt < b.writtenAt; });
            copies.insert(at, copy);
            continue;
        }
        index.insert(key, flights.size());
        flights.append(DistinctFlight{
            row.serial, row.flightNumber, row.memory, row.hash, row.alarms, row.values, {copy}});
    }
    return flights;
}

void DistinctFlight::sortForList(QList<DistinctFlight>& flights) {
    std::stable_sort(flights.begin(), flights.end(),
                     [](const DistinctFlight& a, const DistinctFlight& b) {
                         return std::tuple(b.flightNumber, a.memory, a.firstFiled()) <
                                std::tuple(a.flightNumber, b.memory, b.firstFiled());
                     });
}

}  // namespace tolm::health
