// An engine's trend against the simulator's values, its CSV in any locale; the fleet's status,
// worst first, as data, table and JSON; quor-raw's trend and status, byte for byte the exports.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "health/FleetStatus.h"
#include "health/Trend.h"
#include "tests/health/HealthFixture.h"
#include "tests/support/CommaDecimalLocale.h"
#include "viewer/cli/QuorRaw.h"

using namespace tolm::health;
using quorsim::FlightImage;
using tolm::viewer::QuorRaw;

namespace {

struct Expected {
    qint32 flight, memory;
    qint64 filedAt;
    float y;
    int alarm;
    bool operator<(const Expected& o) const {
        return std::tie(flight, memory, filedAt) < std::tie(o.flight, o.memory, o.filedAt);
    }
    bool operator==(const Expected&) const = default;
};

void PrintTo(const Expected& e, std::ostream* out) {
    *out << e.flight << "/" << e.memory << " filed " << e.filedAt << ": " << e.y << ", alarm "
         << e.alarm;
}

int highestCurrent(const quorsim::FlightBlock& b) {
    int highest = 0;
    for (int i : {0, 2, 4}) {
        if (b.alarmLevels[i] >= 1 && b.alarmLevels[i] <= 3) {
            highest = std::max(highest, int(b.alarmLevels[i]));
        }
    }
    return highest;
}

constexpr std::array<qint32, 6> kQuiet = {4, 4, 4, 4, 4, 4};

// A flight with `value` in one A4R record (the others 0), filed at `filedAt` in `files` files.
DistinctFlight flight(qint32 serial, qint32 number, int record, float value,
                      std::array<qint32, 6> alarms = kQuiet, qint64 filedAt = 1204725600,
                      qint32 memory = 0, int files = 1) {
    DistinctFlight f{serial, number, memory, 0, AlarmLevels(alarms), RecordValues{}, {}};
    for (int i = 0; i < files; ++i) {
        f.copies.append({"/f" + QString::number(i) + ".raw", 0, "HB-IJK", 1, filedAt});
    }
    f.values[std::size_t(record)] = value;
    return f;
}

QByteArray run(const QStringList& args, QByteArray* err = nullptr) {
    QByteArray out, e;
    const int status = QuorRaw::run(args, out, e);
    if (err) {
        *err = e;
    }
    return status == 0 ? out : QByteArray("exit ") + QByteArray::number(status);
}

}  // namespace

TEST_F(HealthTest, TrendPointsAreTheFiledValuesOfEveryFlightOnce) {
    FlightImage one = generated(81, 1);
    FlightImage two = generated(82, 1);
    one.block(usedBlocks(one)[0]).alarmLevels = {3, 1, 2, 4, 4, 4};
    file(one, kMarch5);
    file(two, kApril9);
    file(one, kApril9.addDays(30));  // the unit was not erased: every flight again
    file(generated(83, 2), kMarch5, "HB-IJK", "555");

    for (int record : {4, TrendRequest::kHighestRecord}) {
        SCOPED_TRACE(record);
        QList<Expected> expected;
        for (const auto& [image, when] : {std::pair(&one, kMarch5), std::pair(&two, kApril9)}) {
            for (int b : usedBlocks(*image)) {
                const quorsim::FlightBlock& block = image->block(b);
                float y = block.steadyState[std::max(record, 0)].values[17];
                if (record == TrendRequest::kHighestRecord) {
                    for (const auto& r : block.steadyState) {
                        y = std::max(y, r.values[17]);
                    }
                }
                expected.append({block.flightNumber, qint32(block.memory), when.toSecsSinceEpoch(),
                                 y, highestCurrent(block)});
            }
        }
        std::sort(expected.begin(), expected.end());

        FlightIndex index(data, database);
        const IndexResult<Trend> trend =  // A3B
            Trend::fromIndex(index, {.serial = 889123, .parameter = 17, .record = record});
        ASSERT_TRUE(trend.ok());
        QList<Expected> got;
        double lastX = -1;
        for (const TrendPoint& p : trend.value().points()) {
            EXPECT_GE(p.x, lastX);
            EXPECT_EQ(p.x, p.flightNumber);
            lastX = p.x;
            got.append({p.flightNumber, p.memory, p.filedAt, float(p.y), p.alarm});
            EXPECT_EQ(p.files, p.filedAt == kMarch5.toSecsSinceEpoch() ? 2 : 1);
        }
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, expected);
        // Flights with an alarm level apart from the others, for the chart.
        const int alarmed = int(std::ranges::count_if(expected, [](auto& e) { return e.alarm; }));
        EXPECT_GT(alarmed, 0);
        EXPECT_EQ(trend.value().alarmed().x.size(), alarmed);
        EXPECT_EQ(trend.value().normal().y.size(), expected.size() - alarmed);
    }

    // By download date: the date each flight was first filed.
    FlightIndex index(data, database);
    TrendRequest byDate{.serial = 889123, .x = TrendX::DownloadDate};
    const Trend trend = Trend::fromIndex(index, byDate).value();
    ASSERT_FALSE(trend.points().isEmpty());
    EXPECT_EQ(trend.points().first().x, kMarch5.toSecsSinceEpoch());
    EXPECT_EQ(trend.points().last().x, kApril9.toSecsSinceEpoch());
    byDate.serial = 555;
    EXPECT_EQ(Trend::fromIndex(index, byDate).value().points().size(),
              usedBlocks(generated(83, 2)).size());
}

TEST_F(HealthTest, TrendCsvIsTheSameBytesInACommaDecimalLocale) {
    const qint64 march5 = kMarch5.toSecsSinceEpoch();
    const QList<DistinctFlight> flights = {
        flight(889123, 1201, 4, 0.000123456f, kQuiet, march5 + 86400),
        flight(889123, 1200, 4, 1.5f, {2, 3, 4, 1, 3, 4}, march5, 1, 3),
        flight(889123, 1200, 4, -2.25f, kQuiet, march5),
        flight(889123, 1202, 4, std::nanf(""), kQuiet, march5),
        flight(889123, 1203, 4, 123456789.0f, kQuiet, march5),
    };
    TrendRequest request{.serial = 889123, .parameter = 10, .record = 4};
    const QByteArray expected =
        "Flight,Memory,Filed (UTC),A4R bin 5,Alarm level,Files\n"
        "1200,PrD,2008-03-05 14:07,-2.25,,1\n"
        "1200,PoD,2008-03-05 14:07,1.5,3,3\n"
        "1201,PrD,2008-03-06 14:07,0.00012346,,1\n"
        "1202,PrD,2008-03-05 14:07,,,1\n"
        "1203,PrD,2008-03-05 14:07,1.2346e+08,,1\n";
    EXPECT_EQ(Trend::of(flights, request).csv(), expected);
    {
        const CommaDecimalLocale comma;
        ASSERT_TRUE(CommaDecimalLocale::active());
        EXPECT_EQ(Trend::of(flights, request).csv(), expected);
    }
    request.record = TrendRequest::kHighestRecord;
    request.x = TrendX::DownloadDate;
    const QList<QByteArray> lines = Trend::of(flights, request).csv().split('\n');
    EXPECT_EQ(lines[0], "Flight,Memory,Filed (UTC),A4R highest bin,Alarm level,Files");
    EXPECT_EQ(lines[5], "1201,PrD,2008-03-06 14:07,0.00012346,,1");  // the latest download last
    EXPECT_EQ(lines[2], "1200,PoD,2008-03-05 14:07,1.5,3,3");        // other records are 0

    request.serial = 1;  // another engine's flights are not in its trend
    EXPECT_TRUE(Trend::of(flights, request).points().isEmpty());
}

TEST_F(HealthTest, FleetStatusListsEveryRegisteredEngineWorstFirst) {
    const QList<tolm::AircraftRecord> fleet = {
        aircraft("HB-AAA", "100001", "100002"),
        aircraft("HB-BBB", "200/001", ""),
        aircraft("HB-CCC", "300001", "300002"),
    };
    QList<DistinctFlight> flights;
    for (int n = 1; n <= 12; ++n) {
        flights.append(flight(100001, 5000 + n, 0, 1.0f + 0.25f * n, kQuiet));  // steady rise
        flights.append(flight(300001, 7000 + n, 0, 2.0f - 0.5f * n, kQuiet));   // larger fall
    }
    flights.append(flight(100002, 10, 0, 1.0f, {4, 2, 4, 4, 4, 4}));  // historic only
    flights.append(flight(200001, 20, 0, 1.0f, {4, 4, 2, 4, 4, 1}));  // current 2 (3B)
    flights.append(flight(300002, 30, 0, 1.0f, {4, 4, 4, 4, 3, 4}));  // older flight: current 3
    flights.append(flight(300002, 31, 0, 1.0f, {1, 4, 4, 4, 4, 4}, 1207733400));  // latest: 1
    QHash<qint32, qint64> last{{100001, 1204725600}, {300002, 1207733400}};
    const FleetStatus status =
        FleetStatus::of(fleet, flights, last, {.record = 0, .lastFlights = 4});

    QStringList order;
    for (const EngineStatus& e : status.engines()) {
        order.append(QStringLiteral("%1/%2").arg(e.aircraft).arg(e.engineNumber));
    }
    EXPECT_EQ(order, QStringList(
                         {"HB-BBB/1", "HB-CCC/2", "HB-AAA/2", "HB-CCC/1", "HB-AAA/1", "HB-BBB/2"}));
    const EngineStatus& rising = status.engines()[4];
    EXPECT_EQ(rising.serial, 100001);
    EXPECT_EQ(rising.flightsOnFile, 12);
    EXPECT_EQ(rising.latest->flightNumber, 5012);
    EXPECT_DOUBLE_EQ(*rising.change, 0.75);  // flights 5009 to 5012
    EXPECT_DOUBLE_EQ(*status.engines()[3].change, -1.5);
    EXPECT_FALSE(status.engines()[0].change);          // a single flight has no change
    EXPECT_EQ(status.engines()[1].currentLevel(), 1);  // the latest flight's levels count
    EXPECT_EQ(status.engines()[0].serial, 200001);     // "200/001" as the raw file names it

    EXPECT_EQ(status.text().toStdString(),
              "Fleet status: A4R bin 1, change over 4 flights\n"
              "\n"
              "Aircraft         Eng  ESN         Last download (UTC)  Flights  Latest      "
              "Current    Historic   Change\n"
              "HB-BBB             1  200/001     -                          1  PrD     20  "
              "Level 2    Level 1    -\n"
              "HB-CCC             2  300002      2008-04-09 09:30           2  PrD     31  "
              "Level 1    No Fault   +0\n"
              "HB-AAA             2  100002      -                          1  PrD     10  "
              "No Event   Level 2    -\n"
              "HB-CCC             1  300001      -                         12  PrD   7012  "
              "No Event   No Fault   -1.5\n"
              "HB-AAA             1  100001      2008-03-05 14:00          12  PrD   5012  "
              "No Event   No Fault   +0.75\n"
              "HB-BBB             2              -                          0  -           "
              "-          -          -\n");

    const QJsonObject root = QJsonDocument::fromJson(status.json()).object();
    EXPECT_EQ(root["value"].toString(), "A4R bin 1");
    EXPECT_EQ(root["lastFlights"].toInt(), 4);
    const QJsonArray engines = root["engines"].toArray();
    ASSERT_EQ(engines.size(), 6);
    const QJsonObject worst = engines[0].toObject();
    EXPECT_EQ(worst["aircraft"].toString(), "HB-BBB");
    EXPECT_EQ(worst["ser"].toString(), "200/001");
    EXPECT_EQ(worst["currentLevel"].toInt(), 2);
    EXPECT_EQ(worst["latestFlight"]["current"]["3B"].toInt(), 2);
    EXPECT_EQ(worst["latestFlight"]["historic"]["4L"].toInt(), 1);
    EXPECT_TRUE(worst["change"].isNull());
    EXPECT_TRUE(worst["lastDownload"].isNull());
    EXPECT_EQ(engines[4].toObject()["change"].toDouble(), 0.75);
    EXPECT_EQ(engines[4].toObject()["lastDownload"].toString(), "2008-03-05 14:00");
    EXPECT_TRUE(engines[5].toObject()["latestFlight"].isNull());
    EXPECT_TRUE(engines[5].toObject()["currentLevel"].isNull());
}

TEST_F(HealthTest, StatusFromTheIndexAndTheRegisterAndQuorRawPrintingTheExportsOfTheIndex) {
    testenv::clearSettings();
    registerAircraft("HB-IJK", "889123", "555");
    const FlightImage image = generated(91, 1);
    file(image, kMarch5);
    file(image, kApril9);
    const QString broken = file(generated(103, 1), kMarch5.addDays(-1));
    cut(broken, 1000);

    // The index quor-raw uses: the user's, for this data directory.
    FlightIndex index(data);
    const QList<tolm::AircraftRecord> fleet = FleetStatus::registeredAircraft();
    ASSERT_EQ(fleet.size(), 1);
    const IndexResult<FleetStatus> status = FleetStatus::fromIndex(index, fleet, StatusRequest{});
    ASSERT_TRUE(status.ok());
    ASSERT_EQ(status.value().engines().size(), 2);
    const EngineStatus& e = status.value().engines()[0];
    EXPECT_EQ(e.ser, "889123");
    EXPECT_EQ(e.flightsOnFile, usedBlocks(image).size());  // copies once
    EXPECT_EQ(*e.lastDownload, kApril9.toSecsSinceEpoch());
    int latest = 0;
    for (int b : usedBlocks(image)) {
        latest = std::max(latest, int(image.flightNumber(b)));
    }
    EXPECT_EQ(e.latest->flightNumber, latest);
    EXPECT_EQ(status.value().engines()[1].flightsOnFile, 0);

    // quor-raw's trend and status print the core's exports.
    const TrendRequest n1 = {
        .serial = 889123, .parameter = 12, .record = 6, .x = TrendX::DownloadDate};
    QByteArray err;
    EXPECT_EQ(run({"trend", data, "--esn", "889123", "--parameter", "n1-4r", "--record", "7", "--x",
                   "date"},
                  &err),
              Trend::fromIndex(index, n1).value().csv());
    EXPECT_EQ(err, "Left out: " + broken.toLocal8Bit() + ": Cut short: 1000 of 2853852 bytes\n");
    EXPECT_EQ(run({"trend", data, "--esn=889123"}),
              Trend::fromIndex(index, {.serial = 889123}).value().csv());
    const StatusRequest a3bAvg = {.parameter = 6, .lastFlights = 5};
    const FleetStatus a3b = FleetStatus::fromIndex(index, fleet, a3bAvg).value();
    EXPECT_EQ(run({"status", data, "--parameter", "A3B_avg", "--flights", "5"}),
              a3b.text().toLocal8Bit());
    EXPECT_EQ(run({"status", "--json", data, "--parameter", "A3B_avg", "--flights", "5"}),
              a3b.json());

    for (const QStringList& bad :
         QList<QStringList>{{"trend", data},
                            {"trend", data, "--esn", "x"},
                            {"trend", data, "--esn", "1", "--parameter", "FFT"},
                            {"trend", data, "--esn", "1", "--record", "27"},
                            {"trend", data, "--esn", "1", "--x", "time"},
                            {"trend", data + "/none", "--esn", "1"},
                            {"status"},
                            {"status", data, "--flights", "1"},
                            {"status", data, "--json", "yes"}}) {
        EXPECT_EQ(run(bad, &err), "exit 2") << bad.join(' ').toStdString();
        EXPECT_TRUE(err.startsWith("quor-raw " + bad[0].toLatin1() + ": ")) << err.constData();
    }
    run({"trend", data, "--esn", "1", "--parameter", "FFT"}, &err);
    EXPECT_EQ(err,
              "quor-raw trend: \"FFT\" is not a steady-state parameter\n"
              "Try: quor-raw trend --help\n");

    // The program itself: its help, TOLM's register, and the index where TOLM keeps it.
    QProcess program;
    program.start(testenv::binDir() + "/quor-raw", {"status", "--help"});
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("Usage: quor-raw status DATADIR"));
    program.start(testenv::binDir() + "/quor-raw", {"status", data});
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.readAllStandardOutput(), status.value().text().toLocal8Bit());
    EXPECT_EQ(index.scan().value().filesRead, 0);
    testenv::clearSettings();
}
