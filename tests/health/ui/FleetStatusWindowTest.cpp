// The fleet status page over filed downloads: one row per engine of the register in the order
// the core ranks them, worst first, with the levels as words; choosing N changes the change's
// heading; a double-click opens the trend of that row's engine.
#include <QHeaderView>
#include <QSpinBox>

#include "health/FleetStatus.h"
#include "health/ui/FleetStatusWindow.h"
#include "health/ui/TrendWindow.h"
#include "tests/health/ui/HealthWindowFixture.h"

using namespace tolm::health;
using quorsim::FlightImage;

namespace {

// The latest flight of an image (the highest flight number) with these alarm levels.
FlightImage withLatestAlarmed(FlightImage image, std::array<quint32, 6> levels) {
    int latest = -1;
    for (int b = 0; b < FlightImage::kFlightBlocks; ++b) {
        if (image.flightNumber(b) != 0 &&
            (latest < 0 || image.flightNumber(b) > image.flightNumber(latest))) {
            latest = b;
        }
    }
    for (int b = 0; b < FlightImage::kFlightBlocks; ++b) {
        image.block(b).alarmLevels = {4, 4, 4, 4, 4, 4};
    }
    for (int i = 0; i < 6; ++i) {
        image.block(latest).alarmLevels[i] = levels[i];
    }
    return image;
}

}  // namespace

class FleetStatusWindowTest : public HealthWindowTest {
protected:
    void SetUp() override {
        HealthWindowTest::SetUp();
        registerAircraft("HB-AAA", "100", "101");
        file(withLatestAlarmed(generated(91, 1), {4, 4, 4, 4, 4, 4}), QStringLiteral("HB-AAA"),
             QStringLiteral("100"), kMarch5);
        // HB-IJK's second engine: its latest flight at current level 2.
        file(withLatestAlarmed(generated(92, 2), {4, 4, 2, 1, 4, 4}), QStringLiteral("HB-IJK"),
             QStringLiteral("555"), kApril9);
    }

    FleetStatusWindow& Open() {
        window = FleetStatusWindow::Open();
        window->resize(1000, 500);
        testenv::pump();
        return *window;
    }

    QPointer<FleetStatusWindow> window;
};

TEST_F(FleetStatusWindowTest, ListsEveryEngineWorstFirstWithLevelsInWords) {
    FleetStatusWindow& w = Open();
    QTableWidget* table = w.Table();
    ASSERT_EQ(table->rowCount(), 4);  // two aircraft of two engines
    const QList<EngineStatus>& engines = w.Status().engines();
    ASSERT_EQ(engines.size(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Cell(table, row, 0), engines[row].aircraft) << row;
        EXPECT_EQ(Cell(table, row, 1), QString::number(engines[row].engineNumber)) << row;
    }
    EXPECT_EQ(Cell(table, 0, 0), "HB-IJK");
    EXPECT_EQ(Cell(table, 0, 2), "555");
    EXPECT_EQ(Cell(table, 0, 3), "2008-04-09 09:30");
    EXPECT_EQ(Cell(table, 0, 6), "Level 2");
    EXPECT_EQ(Cell(table, 0, 7), "Level 1");
    EXPECT_EQ(Cell(table, 1, 0), "HB-AAA");
    EXPECT_EQ(Cell(table, 1, 6), "No Event");
    EXPECT_EQ(Cell(table, 1, 7), "No Fault");
    // An engine without flights on file.
    EXPECT_EQ(Cell(table, 3, 4), "0");
    EXPECT_EQ(Cell(table, 3, 5), "-");
}

TEST_F(FleetStatusWindowTest, TheChangeIsTakenOverTheFlightsChosen) {
    FleetStatusWindow& w = Open();
    w.Get(QStringLiteral("E_LAST_FLIGHTS")).as<QSpinBox>()->setValue(3);
    testenv::pump();
    EXPECT_EQ(w.Status().request().lastFlights, 3);
    EXPECT_EQ(w.Table()->horizontalHeaderItem(8)->text(), "Change over 3 flights");
    Choose(w, "E_RECORD", 1);  // bin 1
    EXPECT_EQ(w.Status().request().record, 0);
}

TEST_F(FleetStatusWindowTest, DoubleClickOpensTheTrendOfThatRowsEngine) {
    FleetStatusWindow& w = Open();
    QTableWidget* table = w.Table();
    const int row = 1;  // HB-AAA engine 1
    ASSERT_EQ(Cell(table, row, 0), "HB-AAA");
    Q_EMIT table->cellDoubleClicked(row, 3);  // what the table reports of a double-click
    testenv::pump();

    auto* trend = qobject_cast<TrendWindow*>(zafWindowManager()->Get(TrendWindow::kIdentifier));
    ASSERT_NE(trend, nullptr);
    ASSERT_NE(trend->Engine(), nullptr);
    EXPECT_EQ(trend->Engine()->aircraft, "HB-AAA");
    EXPECT_EQ(trend->Engine()->engineNumber, 1);
    EXPECT_EQ(trend->Current().request().serial, w.Status().engines()[row].serial);
    EXPECT_FALSE(trend->Current().points().isEmpty());
}
