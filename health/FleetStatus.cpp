#include "health/FleetStatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "formats/DownloadFileNames.h"
#include "formats/MemoryLabels.h"
#include "health/FlightIndex.h"
#include "register/TolmAircraftSettings.h"
#include "viewer/CFormat.h"

namespace tolm::health {

namespace {

// The engine's flights in flight order (then first filing, then memory).
QList<const DistinctFlight*> inFlightOrder(const QList<const DistinctFlight*>& flights) {
    QList<const DistinctFlight*> ordered = flights;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const DistinctFlight* a, const DistinctFlight* b) {
                         return std::tuple(a->flightNumber, a->firstFiled(), a->memory) <
                                std::tuple(b->flightNumber, b->firstFiled(), b->memory);
                     });
    return ordered;
}

EngineStatus statusOf(const AircraftRecord& aircraft, int engineIndex,
                      const QHash<qint32, QList<const DistinctFlight*>>& bySerial,
                      const QHash<qint32, qint64>& lastDownloads, const StatusRequest& request) {
    const EngineRecord engine = aircraft.engine(engineIndex);
    EngineStatus s;
    s.aircraft = aircraft.identifier();
    s.engineNumber = engineIndex + 1;
    s.ser = engine.ser();
    s.engineType = engine.type();
    s.serial = DownloadFileNames::serNumber(engine.serBytes());  // as the raw file is named
    if (lastDownloads.contains(s.serial)) {
        s.lastDownload = lastDownloads.value(s.serial);
    }
    const QList<const DistinctFlight*> flights = inFlightOrder(bySerial.value(s.serial));
    s.flightsOnFile = int(flights.size());
    if (flights.isEmpty()) {
        return s;
    }
    s.latest = *flights.last();
    const qsizetype first = std::max<qsizetype>(0, flights.size() - request.lastFlights);
    if (flights.size() - first >= 2) {
        const double change = Trend::recordValue(flights.last()->values, request.record) -
                              Trend::recordValue(flights[first]->values, request.record);
        if (std::isfinite(change)) {
            s.change = change;
        }
    }
    return s;
}

// The line without the padding at its end.
QString withoutTrailingSpaces(const QString& line) {
    qsizetype end = line.size();
    while (end > 0 && line[end - 1].isSpace()) {
        --end;
    }
    return line.left(end) + QLatin1Char('\n');
}

QString dash(const std::optional<QString>& text) {
    return text.value_or(QStringLiteral("-"));
}

// A number with six significant digits, as short as it can be written.
double rounded(double v) {
    return viewer::cFormat("%.6g", v).toDouble();
}

QJsonObject levelsJson(const AlarmLevels& alarms, bool current) {
    QJsonObject o;
    for (Bearing b : kBearings) {
        o.insert(AlarmLevels::bearingName(b), current ? alarms.current(b) : alarms.historic(b));
    }
    return o;
}

QJsonValue orNull(int level) {
    return level != AlarmLevels::kNone ? QJsonValue(level) : QJsonValue();
}

}  // namespace

FleetStatus FleetStatus::of(const QList<AircraftRecord>& aircraft,
                            const QList<DistinctFlight>& flights,
                            const QHash<qint32, qint64>& lastDownloads,
                            const StatusRequest& request) {
    QHash<qint32, QList<const DistinctFlight*>> bySerial;
    for (const DistinctFlight& f : flights) {
        bySerial[f.serial].append(&f);
    }
    FleetStatus status;
    status.request_ = request;
    for (const AircraftRecord& a : aircraft) {
        for (int e = 0; e < 2; ++e) {
            status.engines_.append(statusOf(a, e, bySerial, lastDownloads, request));
        }
    }
    std::stable_sort(status.engines_.begin(), status.engines_.end(), worse);
    return status;
}

IndexResult<FleetStatus> FleetStatus::fromIndex(FlightIndex& index,
                                                const QList<AircraftRecord>& aircraft,
                                                const StatusRequest& request) {
    IndexResult<QList<DistinctFlight>> flights = index.flights(RowFilter{}, request.parameter);
    if (!flights.ok()) {
        return IndexResult<FleetStatus>::failed(flights.error());
    }
    IndexResult<QHash<qint32, qint64>> last = index.lastDownloads();
    if (!last.ok()) {
        return IndexResult<FleetStatus>::failed(last.error());
    }
    return of(aircraft, flights.value(), last.value(), request);
}

QList<AircraftRecord> FleetStatus::registeredAircraft() {
    TolmAircraftSettings settings;
    QList<AircraftRecord> records;
    for (const QString& id : settings.aircraftIdentifiers()) {
        records.append(settings.loadAircraft(id));
    }
    return records;
}

bool FleetStatus::worse(const EngineStatus& a, const EngineStatus& b) {
    const auto size = [](const EngineStatus& s) { return s.change ? std::fabs(*s.change) : -1.0; };
    if (a.currentLevel() != b.currentLevel()) {
        return a.currentLevel() > b.currentLevel();
    }
    if (a.historicLevel() != b.historicLevel()) {
        return a.historicLevel() > b.historicLevel();
    }
    if (size(a) != size(b)) {
        return size(a) > size(b);
    }
    return std::tuple(a.aircraft, a.engineNumber) < std::tuple(b.aircraft, b.engineNumber);
}

QString FleetStatus::changeTitle() const {
    return QStringLiteral("%1, change over %2 flights")
        .arg(Trend::valueTitle(request_.parameter, request_.record),
             QString::number(request_.lastFlights));
}

QString FleetStatus::text() const {
    const char* const row = "%-16s %3s  %-10s  %-19s  %7s  %-10s  %-9s  %-9s  %s\n";
    QString out = viewer::cFormatText(row, "Aircraft", "Eng", "ESN", "Last download (UTC)",
                                      "Flights", "Latest", "Current", "Historic", "Change");
    out = withoutTrailingSpaces(out);
    for (const EngineStatus& s : engines_) {
        std::optional<QString> latest, current, historic, change;
        if (s.latest) {
            const std::string_view memory = tableMemoryLabel(quint32(s.latest->memory));
            latest = viewer::cFormatText("%.*s %6d", int(memory.size()), memory.data(),
                                         s.latest->flightNumber);
            current = AlarmLevels::currentText(s.currentLevel());
            historic = AlarmLevels::historicText(s.historicLevel());
        }
        if (s.change) {
            change = viewer::cFormatText("%+.5g", *s.change);
        }
        const QString line = viewer::cFormatText(
            row, s.aircraft.toLocal8Bit().constData(),
            QByteArray::number(s.engineNumber).constData(), s.ser.toLocal8Bit().constData(),
            dash(s.lastDownload ? std::optional(Trend::dateText(*s.lastDownload)) : std::nullopt)
                .toLocal8Bit()
                .constData(),
            QByteArray::number(s.flightsOnFile).constData(), dash(latest).toLocal8Bit().constData(),
            dash(current).toLocal8Bit().constData(), dash(historic).toLocal8Bit().constData(),
            dash(change).toLocal8Bit().constData());
        out += withoutTrailingSpaces(line);
    }
    return QStringLiteral("Fleet status: %1\n\n").arg(changeTitle()) + out;
}

QByteArray FleetStatus::json() const {
    QJsonArray engines;
    for (const EngineStatus& s : engines_) {
        QJsonObject e{{QStringLiteral("aircraft"), s.aircraft},
                      {QStringLiteral("engine"), s.engineNumber},
                      {QStringLiteral("ser"), s.ser},
                      {QStringLiteral("engineType"), s.engineType},
                      {QStringLiteral("flightsOnFile"), s.flightsOnFile},
                      {QStringLiteral("currentLevel"), orNull(s.currentLevel())},
                      {QStringLiteral("historicLevel"), orNull(s.historicLevel())}};
        e.insert(QStringLiteral("lastDownload"),
                 s.lastDownload ? QJsonValue(Trend::dateText(*s.lastDownload)) : QJsonValue());
        e.insert(QStringLiteral("change"),
                 s.change ? QJsonValue(rounded(*s.change)) : QJsonValue());
        QJsonValue latest;
        if (s.latest) {
            latest = QJsonObject{
                {QStringLiteral("flight"), s.latest->flightNumber},
                {QStringLiteral("memory"),
                 QString::fromLatin1(tableMemoryLabel(quint32(s.latest->memory)).data(), 3)},
                {QStringLiteral("current"), levelsJson(s.latest->alarms, true)},
                {QStringLiteral("historic"), levelsJson(s.latest->alarms, false)}};
        }
        e.insert(QStringLiteral("latestFlight"), latest);
        engines.append(e);
    }
    const QJsonObject root{
        {QStringLiteral("value"), Trend::valueTitle(request_.parameter, request_.record)},
        {QStringLiteral("lastFlights"), request_.lastFlights},
        {QStringLiteral("engines"), engines}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace tolm::health
