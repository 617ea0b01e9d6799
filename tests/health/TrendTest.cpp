// An engine's trend over every flight on file against the simulator's values; its chart series
// and its CSV export in any locale.
#include <algorithm>
#include <cmath>
#include <tuple>

#include "health/Trend.h"
#include "tests/health/HealthFixture.h"
#include "tests/support/CommaDecimalLocale.h"

using namespace tolm::health;
using quorsim::FlightImage;

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

DistinctFlight flight(qint32 number, qint32 memory, qint64 filedAt, float value,
                      std::array<qint32, 6> alarms = {4, 4, 4, 4, 4, 4}, int files = 1) {
    QList<FlightCopy> copies;
    for (int i = 0; i < files; ++i) {
        copies.append({"/f" + QString::number(i) + ".raw", 0, "HB-IJK", 1, filedAt});
    }
    DistinctFlight f{889123, number, memory, 0, AlarmLevels(alarms), RecordValues{}, copies};
    f.values[4] = value;  // the other records 0
    return f;
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
        flight(1201, 0, march5 + 86400, 0.000123456f),
        flight(1200, 1, march5, 1.5f, {2, 3, 4, 1, 3, 4}, 3),
        flight(1200, 0, march5, -2.25f),
        flight(1202, 0, march5, std::nanf("")),
        flight(1203, 0, march5, 123456789.0f),
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
