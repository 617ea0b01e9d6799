#include "app/FlightIndexNotes.h"

#include <QFileInfo>

#include "health/FlightIndex.h"
#include "health/HealthLog.h"

namespace tolm {

viewer::FlightNotes flightNotesFromIndex(const QString& dataDirectory) {
    health::FlightIndex index(dataDirectory);
    const auto flights = index.flights(health::RowFilter{});
    if (!flights.ok()) {
        qCWarning(lcHealth).noquote() << "the flight list goes unmarked:" << flights.error();
        return {};
    }
    viewer::FlightNotes notes;
    quint64 identity = 0;
    for (const health::DistinctFlight& flight : flights.value()) {
        const viewer::FlightNote note{++identity, flight.alarms.mark(), flight.copiesText()};
        for (const health::FlightCopy& copy : flight.copies) {
            notes.insert({QFileInfo(copy.path).absoluteFilePath(), copy.slot}, note);
        }
    }
    return notes;
}

QString filedSummary(const QString& dataDirectory, const QStringList& rawFiles) {
    health::FlightIndex index(dataDirectory);
    const auto tally = index.update(rawFiles);
    if (!tally.ok()) {
        qCWarning(lcHealth).noquote()
            << "the download's flights were not counted:" << tally.error();
        return QString();
    }
    return tally.value().text();
}

}  // namespace tolm
