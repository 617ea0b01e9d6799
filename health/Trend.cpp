#include "health/Trend.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "formats/MemoryLabels.h"
#include "health/FlightIndex.h"
#include "viewer/CFormat.h"
#include "viewer/Parameters.h"

namespace tolm::health {

double Trend::recordValue(const RecordValues& values, int record) {
    if (record >= 0 && record < kSteadyRecords) {
        return values[record];
    }
    double highest = std::nan("");
    for (float v : values) {
        if (!std::isnan(v) && (std::isnan(highest) || v > highest)) {
            highest = v;
        }
    }
    return highest;
}

namespace {

// A number as the viewer's exports write it; nothing for a value that is not a number.
QByteArray number(double v) {
    return std::isnan(v) ? QByteArray() : viewer::cFormat("%.5g", v);
}

}  // namespace

Trend Trend::of(const QList<DistinctFlight>& flights, const TrendRequest& request) {
    Trend trend;
    trend.request_ = request;
    trend.points_.reserve(flights.size());
    for (const DistinctFlight& f : flights) {
        if (f.serial != request.serial) {
            continue;
        }
        TrendPoint p;
        p.flightNumber = f.flightNumber;
        p.memory = f.memory;
        p.filedAt = f.firstFiled();
        p.x = request.x == TrendX::FlightNumber ? double(f.flightNumber) : double(p.filedAt);
        p.y = recordValue(f.values, request.record);
        p.alarm = f.alarms.highestCurrent();
        p.files = f.fileCount();
        trend.points_.append(p);
    }
    std::stable_sort(trend.points_.begin(), trend.points_.end(),
                     [](const TrendPoint& a, const TrendPoint& b) {
                         return std::tuple(a.x, a.flightNumber, a.memory) <
                                std::tuple(b.x, b.flightNumber, b.memory);
                     });
    return trend;
}

IndexResult<Trend> Trend::fromIndex(FlightIndex& index, const TrendRequest& request) {
    RowFilter filter;
    filter.serial = request.serial;
    IndexResult<QList<DistinctFlight>> flights = index.flights(filter, request.parameter);
    if (!flights.ok()) {
        return IndexResult<Trend>::failed(flights.error());
    }
    return of(flights.value(), request);
}

TrendSeries Trend::series(bool withAlarm) const {
    TrendSeries s;
    for (const TrendPoint& p : points_) {
        if ((p.alarm != 0) == withAlarm) {
            s.x.append(p.x);
            s.y.append(p.y);
        }
    }
    return s;
}

QString Trend::valueTitle(int parameter, int record) {
    const QString name = viewer::Parameters::name(parameter);
    return record == TrendRequest::kHighestRecord
               ? QStringLiteral("%1 highest bin").arg(name)
               : QStringLiteral("%1 bin %2").arg(name, QString::number(record + 1));
}

QByteArray Trend::csv() const {
    QByteArray out =
        "Flight,Memory,Filed (UTC)," + valueTitle().toLocal8Bit() + ",Alarm level,Files\n";
    for (const TrendPoint& p : points_) {
        const std::string_view memory = tableMemoryLabel(quint32(p.memory));
        out += viewer::cFormat("%d,%.*s,%s,", p.flightNumber, int(memory.size()), memory.data(),
                               dateText(p.filedAt).toLatin1().constData());
        out += number(p.y);
        out += p.alarm != 0 ? viewer::cFormat(",%d,%d\n", p.alarm, p.files)
                            : viewer::cFormat(",,%d\n", p.files);
    }
    return out;
}

QString Trend::dateText(qint64 secondsSince1970) {
    return QDateTime::fromSecsSinceEpoch(secondsSince1970, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

}  // namespace tolm::health
