#pragma once
// The trend of one engine: one steady-state parameter of one record (or the highest of the 26
// records) over every flight of the engine on file, one point per flight however many files hold
// it, with x the flight number or the download date. Each point tells whether its flight has a
// current alarm level, so that a chart can draw those apart. The CSV export is the one the trend
// window saves and quor-raw prints.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

#include "health/DistinctFlight.h"
#include "health/IndexResult.h"

namespace tolm::health {

class FlightIndex;

enum class TrendX { FlightNumber, DownloadDate };

struct TrendRequest {
    static constexpr int kHighestRecord = -1;

    qint32 serial = 0;
    int parameter = 10;           // steady-state parameter identifier 0..19 (A4R)
    int record = kHighestRecord;  // record 0..25, or the highest of the 26
    TrendX x = TrendX::FlightNumber;
};

struct TrendPoint {
    double x = 0.0;  // the flight number, or the download in seconds since 1970 UTC
    double y = 0.0;
    qint32 flightNumber = 0;
    qint32 memory = 0;
    qint64 filedAt = 0;  // the first download that holds the flight
    int alarm = 0;       // the highest current alarm level 1 to 3; 0 for none
    int files = 1;       // how many files hold the flight
    bool operator==(const TrendPoint&) const = default;
};

// One series of a chart, points in x order.
struct TrendSeries {
    QVector<double> x;
    QVector<double> y;
};

class Trend {
public:
    static Trend of(const QList<DistinctFlight>& flights, const TrendRequest& request);
    static IndexResult<Trend> fromIndex(FlightIndex& index, const TrendRequest& request);

    const TrendRequest& request() const { return request_; }
    // In x order; flights at one x in memory order.
    const QList<TrendPoint>& points() const { return points_; }
    // The points of flights without and with a current alarm level, ready for a chart.
    TrendSeries normal() const { return series(false); }
    TrendSeries alarmed() const { return series(true); }

    // What the column of values is called: "A4R bin 5", "A4R highest bin".
    QString valueTitle() const { return valueTitle(request_.parameter, request_.record); }
    static QString valueTitle(int parameter, int record);
    // The value of one record (0..25), or the highest of the 26 with kHighestRecord (values that
    // are not numbers left out; NaN when all are).
    static double recordValue(const RecordValues& values, int record);
    // The export: a header line, then one line per point in x order.
    QByteArray csv() const;

    static QString dateText(qint64 secondsSince1970);  // "2008-03-05 14:07" UTC

private:
    TrendSeries series(bool withAlarm) const;

    TrendRequest request_;
    QList<TrendPoint> points_;
};

}  // namespace tolm::health
