// The fleet's status: every registered engine, worst first, as data, as a table and as JSON.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "health/FleetStatus.h"
#include "tests/health/HealthFixture.h"

using namespace tolm::health;
using quorsim::FlightImage;

namespace {

// One flight of an engine with A4R record 1 at `value` and the six alarm levels.
DistinctFlight flight(qint32 serial, qint32 number, float value, std::array<qint32, 6> alarms,
                      qint64 filedAt = 1204725600) {
    DistinctFlight f;
    f.serial = serial;
    f.flightNumber = number;
    f.alarms = AlarmLevels(alarms);
    f.values.fill(0.0f);
    f.values[0] = value;
    f.copies = {FlightCopy{QStringLiteral("/r.raw"), 0, QString(), 1, filedAt}};
    return f;
}

constexpr std::array<qint32, 6> kQuiet = {4, 4, 4, 4, 4, 4};

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
    StatusRequest request;
    request.record = 0;
    request.lastFlights = 4;
    const FleetStatus status = FleetStatus::of(fleet, flights, last, request);

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

TEST_F(HealthTest, FleetStatusFromTheIndexAndTheRegister) {
    testenv::clearSettings();
    registerAircraft("HB-IJK", "889123", "555");
    const FlightImage image = generated(91, 1);
    file(image, kMarch5);
    file(image, kApril9);

    FlightIndex index(data, database);
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
    testenv::clearSettings();
}
