// quor-raw's trend and status print what the trend window exports and the status page shows,
// byte for byte, from the same flight index.
#include <QProcess>

#include "health/FleetStatus.h"
#include "health/Trend.h"
#include "tests/health/HealthFixture.h"
#include "viewer/cli/QuorRaw.h"

using namespace tolm::health;
using quorsim::FlightImage;
using tolm::viewer::QuorRaw;

namespace {

QByteArray run(const QStringList& args, QByteArray* err = nullptr) {
    QByteArray out, e;
    const int status = QuorRaw::run(args, out, e);
    if (err) {
        *err = e;
    }
    return status == 0 ? out : QByteArray("exit ") + QByteArray::number(status);
}

}  // namespace

TEST_F(HealthTest, QuorRawTrendAndStatusPrintTheExportsOfTheIndex) {
    testenv::clearSettings();
    registerAircraft("HB-IJK", "889123", "");
    file(generated(101, 1), kMarch5);
    file(generated(102, 1), kApril9);
    const QString broken = file(generated(103, 1), kApril9.addDays(1));
    cut(broken, 1000);

    // The index the command uses: the user's, for this data directory.
    FlightIndex index(data);
    TrendRequest request;
    request.serial = 889123;
    request.parameter = 12;  // N1-4R
    request.record = 6;
    request.x = TrendX::DownloadDate;
    const QByteArray csv = Trend::fromIndex(index, request).value().csv();
    QByteArray err;
    EXPECT_EQ(run({"trend", data, "--esn", "889123", "--parameter", "n1-4r", "--record", "7", "--x",
                   "date"},
                  &err),
              csv);
    EXPECT_EQ(err, "Left out: " + broken.toLocal8Bit() + ": Cut short: 1000 of 2853852 bytes\n");
    request.parameter = 10;
    request.record = TrendRequest::kHighestRecord;
    request.x = TrendX::FlightNumber;
    EXPECT_EQ(run({"trend", data, "--esn=889123"}), Trend::fromIndex(index, request).value().csv());

    StatusRequest status;
    status.parameter = 6;  // A3B_avg
    status.lastFlights = 5;
    const FleetStatus fleet =
        FleetStatus::fromIndex(index, FleetStatus::registeredAircraft(), status).value();
    EXPECT_EQ(run({"status", data, "--parameter", "A3B_avg", "--flights", "5"}),
              fleet.text().toLocal8Bit());
    EXPECT_EQ(run({"status", "--json", data, "--parameter", "A3B_avg", "--flights", "5"}),
              fleet.json());

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

    // The program itself, with its help.
    QProcess program;
    program.start(testenv::binDir() + "/quor-raw", {"status", "--help"});
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("Usage: quor-raw status DATADIR"));
    // It reads TOLM's register, and keeps the index where TOLM keeps it.
    program.start(testenv::binDir() + "/quor-raw", {"status", data});
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.readAllStandardOutput(),
              FleetStatus::fromIndex(index, FleetStatus::registeredAircraft(), StatusRequest{})
                  .value()
                  .text()
                  .toLocal8Bit());
    EXPECT_EQ(index.scan().value().filesRead, 0);
    testenv::clearSettings();
}
