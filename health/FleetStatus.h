#pragma once
// The fleet's status: every engine of every aircraft of the register with its last download, the
// flights on file, its latest flight with that flight's current and historic alarm levels, and
// the change of one steady-state parameter over its last flights; worst first. An engine is
// known by its serial number, so that its flights follow it from one aircraft to another.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

#include "formats/AircraftRecord.h"
#include "health/DistinctFlight.h"
#include "health/IndexResult.h"
#include "health/Trend.h"

namespace tolm::health {

class FlightIndex;

struct StatusRequest {
    int parameter = 10;                         // steady-state parameter 0..19 (A4R)
    int record = TrendRequest::kHighestRecord;  // record 0..25, or the highest of the 26
    int lastFlights = 10;                       // the change is taken over this many flights
};

struct EngineStatus {
    QString aircraft;
    int engineNumber = 1;
    QString ser;  // as the register holds it
    QString engineType;
    qint32 serial = 0;                     // as the raw files' names number it
    std::optional<qint64> lastDownload;    // seconds since 1970 UTC
    int flightsOnFile = 0;                 // distinct flights
    std::optional<DistinctFlight> latest;  // the highest flight number
    // The value of the latest flight less that of the earliest of the last flights; none with
    // fewer than two flights or a value that is not a number.
    std::optional<double> change;

    int currentLevel() const { return latest ? latest->alarms.highestCurrent() : 0; }
    int historicLevel() const { return latest ? latest->alarms.highestHistoric() : 0; }
};

class FleetStatus {
public:
    // `lastDownloads`: the latest time of writing of any raw file of each serial number.
    static FleetStatus of(const QList<AircraftRecord>& aircraft,
                          const QList<DistinctFlight>& flights,
                          const QHash<qint32, qint64>& lastDownloads, const StatusRequest& request);
    static IndexResult<FleetStatus> fromIndex(FlightIndex& index,
                                              const QList<AircraftRecord>& aircraft,
                                              const StatusRequest& request);
    // Every aircraft of the register in the settings store.
    static QList<AircraftRecord> registeredAircraft();

    // Worst first: highest current alarm level, then highest historic level, then the largest
    // change either way, then aircraft and engine.
    static bool worse(const EngineStatus& a, const EngineStatus& b);

    const StatusRequest& request() const { return request_; }
    const QList<EngineStatus>& engines() const { return engines_; }

    QString changeTitle() const;  // "A4R highest bin, change over 10 flights"
    // A fixed-width table, one line per engine, with a heading.
    QString text() const;
    QByteArray json() const;

private:
    StatusRequest request_;
    QList<EngineStatus> engines_;
};

}  // namespace tolm::health
