// The fleet's status: every registered engine, worst first, as data, as a table and as JSON; and
// quor-raw's trend and status, byte for byte what the windows export from the same index.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "health/FleetStatus.h"
#include "health/Trend.h"
#include "tests/health/HealthFixture.h"
#include "viewer/cli/QuorRaw.h"

using namespace tolm::health;
using quorsim::FlightImage;
using tolm::viewer::QuorRaw;

namespace {

// One flight of an engine with A4R record 1 at `value` and the six alarm levels.
DistinctFlight flight(qint32 serial, qint32 number, float value, std::array<qint32, 6> alarms,
                      qint64 filedAt = 1204725600) {
    DistinctFlight f{.serial = serial,
                     .flightNumber = number,
                     .alarms = AlarmLevels(alarms),
                     .copies = {FlightCopy{"/r.raw", 0, QString(), 1, filedAt}}};
    f.values.fill(0.0f);
    f.values[0] = value;
    return f;
}

constexpr std::array<qint32, 6> kQuiet = {4, 4, 4, 4, 4, 4};

QByteArray run(const QStringList& args, QByteArray* err = nullptr) {
    QByteArray out, e;
    const int status = QuorRaw::run(args, out, e);
    if (err) {
        *err = e;
    }
    return status == 0 ? out : QByteArray("exit ") + QByteArray::number(status);
}

}  // namespace

TEST_F(HealthTest, FleetStatusListsEveryRegisteredEngineWorstFirst) {
    const QList<tolm::AircraftRecord> fleet = {
        aircraft("HB-AAA", "100001", "100002"),
        aircraft("HB-BBB", "200/001", ""),
        aircraft("HB-CCC", "300001", "300002"),
    };
    QList<DistinctFlight> flights;
    for (int n = 1; n <= 12; ++n) {
        flights.append(flight(100001, 5000 + n, 1.0f + 0.25f * n, kQuiet));  // steady rise
        flights.append(flight(300001, 7000 + n, 2.0f - 0.5f * n, kQuiet));   // larger fall
    }
    flights.append(flight(100002, 10, 1.0f, {4, 2, 4, 4, 4, 4}));  // historic only
    flights.append(flight(200001, 20, 1.0f, {4, 4, 2, 4, 4, 1}));  // current 2 (3B)
    flights.append(flight(300002, 30, 1.0f, {4, 4, 4, 4, 3, 4}));  // older flight: current 3
    flights.append(flight(300002, 31, 1.0f, {1, 4, 4, 4, 4, 4}, 1207733400));  // latest: 1
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

    // The program itself, with its help; it reads TOLM's register, and keeps the index where TOLM
    // keeps it.
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
