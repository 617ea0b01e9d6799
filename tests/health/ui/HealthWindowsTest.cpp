// The engine-health windows over raw files filed as the download files them, with a register of
// their aircraft, the program's window resources and a scripted user; the windows open the flight
// index in the test home's cache.
#include <QAbstractButton>
#include <QComboBox>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <cmath>

#include "health/FleetStatus.h"
#include "health/Trend.h"
#include "health/ui/FleetStatusWindow.h"
#include "health/ui/LeftOutFilesWindow.h"
#include "health/ui/TrendChart.h"
#include "health/ui/TrendTableWindow.h"
#include "health/ui/TrendWindow.h"
#include "tests/health/HealthFixture.h"
#include "tests/support/FakeDialogs.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindow.h"
#include "toolkit/ZafWindowManager.h"
#include "viewer/ui/ChartCanvas.h"

using namespace tolm::health;
using quorsim::FlightImage;

namespace {

// The finite front of a chart set (the shorter set is padded with points that are not numbers).
QVector<double> drawn(std::span<const double> values) {
    QVector<double> v;
    for (double d : values) {
        if (std::isnan(d)) {
            break;
        }
        v.append(d);
    }
    return v;
}

FlightImage withoutAlarms(FlightImage image) {
    for (int b = 0; b < FlightImage::kFlightBlocks; ++b) {
        image.block(b).alarmLevels = {4, 4, 4, 4, 4, 4};
    }
    return image;
}

class HealthWindowTest : public HealthTest {
protected:
    void SetUp() override {
        HealthTest::SetUp();
        testenv::clearSettings();
        QSettings().setValue(QStringLiteral("DataDir"), data);
        zafApplication()->SetDefaultReader(&reader);
        registerAircraft("HB-IJK", "889123", "555");
    }
    void TearDown() override {
        // Every window the test opened goes, before the next test's data directory comes.
        while (ZafWindow* w = zafWindowManager()->Front()) {
            zafWindowManager()->Subtract(w);
            delete w;
        }
        testenv::pump();
        zafApplication()->SetDefaultReader(nullptr);
    }

    static void Press(ZafWindow& window, const char* button) {
        auto* b = window.Get(QLatin1String(button)).as<QAbstractButton>();
        ASSERT_NE(b, nullptr) << button;
        b->click();
        testenv::pump();
    }
    static void Choose(ZafWindow& window, const char* combo, int item) {
        auto* c = window.Get(QLatin1String(combo)).as<QComboBox>();
        ASSERT_NE(c, nullptr) << combo;
        c->setCurrentIndex(item);
        Q_EMIT c->activated(item);
        testenv::pump();
    }
    // The latest flight of an image (the highest flight number) alone with these alarm levels.
    static FlightImage withLatestAlarmed(FlightImage image, std::array<quint32, 6> levels) {
        const QList<int> used = usedBlocks(image);
        const auto number = [&image](int b) { return image.flightNumber(b); };
        image = withoutAlarms(image);
        image.block(*std::ranges::max_element(used, {}, number)).alarmLevels = levels;
        return image;
    }
    static QString Cell(QTableWidget* table, int row, int column) {
        const QTableWidgetItem* item = table ? table->item(row, column) : nullptr;
        return item ? item->text() : QStringLiteral("(none)");
    }

    FakeDialogs dialogs;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
};

class TrendWindowTest : public HealthWindowTest {
protected:
    void SetUp() override {
        HealthWindowTest::SetUp();
        // One flight with a current alarm level among flights without.
        FlightImage one = withoutAlarms(generated(81, 1));
        const int alarmed = usedBlocks(one)[0];
        one.block(alarmed).alarmLevels = {3, 1, 2, 4, 4, 4};
        alarmedFlight = one.flightNumber(alarmed);
        file(one, kMarch5);
        file(withoutAlarms(generated(82, 1)), kApril9);
        file(withoutAlarms(generated(83, 2)), kMarch5, "HB-IJK", "555");
    }

    // The core's trend of the data directory, from an index of the test's own.
    Trend Expected(qint32 serial) {
        FlightIndex index(data, database);
        IndexResult<Trend> trend = Trend::fromIndex(index, {.serial = serial});
        EXPECT_TRUE(trend.ok()) << trend.error().toStdString();
        return trend.ok() ? trend.value() : Trend();
    }

    TrendWindow& Open() {
        TrendWindow& w = *TrendWindow::Open("HB-IJK", 1);
        w.resize(1000, 700);
        testenv::pump();
        return w;
    }

    static void ExpectDrawn(const TrendChart& chart, const Trend& trend) {
        EXPECT_EQ(drawn(chart.XData(TrendChart::kNormalSet)), trend.normal().x);
        EXPECT_EQ(drawn(chart.YData(TrendChart::kNormalSet)), trend.normal().y);
        EXPECT_EQ(drawn(chart.XData(TrendChart::kAlarmedSet)), trend.alarmed().x);
        EXPECT_EQ(drawn(chart.YData(TrendChart::kAlarmedSet)), trend.alarmed().y);
    }

    qint32 alarmedFlight = 0;
};

}  // namespace

// The trend window: alarmed flights apart, the read-out, left-out files, the CSV, the table.
TEST_F(TrendWindowTest, DrawsTheTrendOfTheEngineAndRecordChosenAndReadsOutThePointUnderTheMouse) {
    TrendWindow& w = Open();
    TrendChart& chart = *w.Chart();
    const Trend expected = Expected(889123);
    ASSERT_FALSE(expected.alarmed().x.isEmpty());
    ASSERT_FALSE(expected.normal().x.isEmpty());
    EXPECT_EQ(w.Current().points(), expected.points());
    ExpectDrawn(chart, expected);
    EXPECT_EQ(drawn(chart.XData(TrendChart::kAlarmedSet)), QVector<double>{double(alarmedFlight)});
    // Alarmed flights apart by symbol and by name, not by colour alone.
    EXPECT_NE(chart.DataStyle(TrendChart::kNormalSet).symbol,
              chart.DataStyle(TrendChart::kAlarmedSet).symbol);
    EXPECT_EQ(chart.LegendLabels(), (QStringList{"Flights", "Flights with a current alarm level"}));
    EXPECT_EQ(chart.YAxisTitle(), "A4R highest bin");
    EXPECT_TRUE(w.Get("B_LEFT_OUT").Disabled());  // no file was left out

    // The read-out of the point under the mouse, gone away from every point.
    QTest::mouseMove(chart.Canvas(), chart.PointPixel(TrendChart::kAlarmedSet, 0).toPoint());
    testenv::pump();
    ASSERT_TRUE(chart.TextBoxShown());
    const QString text = chart.TextBoxText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Flight %1 (").arg(alarmedFlight)))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Alarm  Level 3")) << text.toStdString();
    EXPECT_TRUE(text.contains("Files  1")) << text.toStdString();
    QTest::mouseMove(chart.Canvas(), QPoint(2, 2));
    testenv::pump();
    EXPECT_FALSE(chart.TextBoxShown());

    // The other engine of the aircraft: its own flights only.
    Choose(w, "E_ENGINE", 1);
    ASSERT_EQ(w.Engine()->ser, "555");
    const Trend other = Expected(555);
    EXPECT_EQ(w.Current().points(), other.points());
    ExpectDrawn(chart, other);
    EXPECT_EQ(chart.LegendLabels(), (QStringList{"Flights", ""}));

    // Record and date axis as chosen.
    Choose(w, "E_RECORD", 5);  // bin 5
    Choose(w, "E_X", 1);       // download date
    EXPECT_EQ(w.Current().request().record, 4);
    EXPECT_EQ(w.Current().request().x, TrendX::DownloadDate);
    EXPECT_EQ(chart.XAnnotation(), Xrt2dPlot::Annotation::Dates);
    EXPECT_EQ(chart.YAxisTitle(), "A4R bin 5");
}

TEST_F(TrendWindowTest, ListsTheFilesLeftOutExportsTheCsvAndTabulatesThePointsShown) {
    const QString damaged = file(generated(84, 1), kApril9.addDays(1));
    cut(damaged, 700);
    TrendWindow& w = Open();
    EXPECT_EQ(w.Get("B_LEFT_OUT").as<QAbstractButton>()->text(), "Left-out Files (1)...");
    Press(w, "B_LEFT_OUT");
    LeftOutFilesWindow* list = LeftOutFilesWindow::Find();
    ASSERT_NE(list, nullptr);
    auto* files = list->Get("E_FILES").as<QTableWidget>();
    ASSERT_EQ(files->rowCount(), 1);
    EXPECT_EQ(Cell(files, 0, 0), QDir::toNativeSeparators(damaged));
    EXPECT_EQ(Cell(files, 0, 1), "Cut short: 700 of 2853852 bytes");

    // The export replaces a file without asking, and gives a name without the suffix one.
    const QString path = root + "/trend.csv";
    patch(path, 0, "an older export, longer than the new one may be ..........................");
    dialogs.saveFileAnswers.push_back(path);
    Press(w, "B_EXPORT");
    EXPECT_EQ(testenv::fileBytes(path), Expected(889123).csv());
    EXPECT_EQ(dialogs.fileDialogCaptions, QStringList{"Export Trend"});
    EXPECT_TRUE(dialogs.messages.empty());
    dialogs.saveFileAnswers.push_back(root + "/second");
    Press(w, "B_EXPORT");
    EXPECT_EQ(testenv::fileBytes(root + "/second.csv"), w.Current().csv());

    Press(w, "B_TABULATE");
    TrendTableWindow* table = TrendTableWindow::Find();
    ASSERT_NE(table, nullptr);
    const int all = int(w.Current().points().size());
    EXPECT_EQ(table->Rows().size(), all);
    const QAbstractItemModel* cells = table->Model();
    EXPECT_EQ(cells->headerData(3, Qt::Horizontal).toString(), "A4R highest bin");
    const QList<QByteArray> firstLine = w.Current().csv().split('\n').value(1).split(',');
    ASSERT_EQ(cells->columnCount(), 6);
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(cells->index(0, column).data().toString(),
                  QString::fromLatin1(firstLine[column]));
    }
    // Zoomed to the left half of the plot area: fewer rows, the first ones.
    const QRect area = w.Chart()->PlotArea();
    w.Chart()->ZoomToPixels(QRect(area.left(), area.top(), area.width() / 2, area.height()));
    testenv::pump();
    EXPECT_LT(table->Rows().size(), all);
    EXPECT_GT(table->Rows().size(), 0);
    EXPECT_EQ(table->Rows().first(), 0);
    Press(w, "B_RESET_ZOOM");
    EXPECT_EQ(table->Rows().size(), all);
}

// The fleet status page: the core's ranking in words, the change chosen, a row to its trend.
TEST_F(HealthWindowTest, FleetStatusListsEnginesWorstFirstTakesTheChangeAsChosenAndOpensTrends) {
    registerAircraft("HB-AAA", "100", "101");
    file(withLatestAlarmed(generated(91, 1), {4, 4, 4, 4, 4, 4}), kMarch5, "HB-AAA", "100");
    // HB-IJK's second engine: its latest flight at current level 2.
    file(withLatestAlarmed(generated(92, 2), {4, 4, 2, 1, 4, 4}), kApril9, "HB-IJK", "555");
    FleetStatusWindow& w = *FleetStatusWindow::Open();
    w.resize(1000, 500);
    testenv::pump();

    QTableWidget* table = w.Table();
    ASSERT_EQ(table->rowCount(), 4);  // two aircraft of two engines
    const QList<EngineStatus>& engines = w.Status().engines();
    ASSERT_EQ(engines.size(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Cell(table, row, 0), engines[row].aircraft) << row;
        EXPECT_EQ(Cell(table, row, 1), QString::number(engines[row].engineNumber)) << row;
    }
    // Row 3: an engine without flights on file.
    const std::tuple<int, int, const char*> cells[] = {
        {0, 0, "HB-IJK"},  {0, 2, "555"},    {0, 3, "2008-04-09 09:30"}, {0, 6, "Level 2"},
        {0, 7, "Level 1"}, {1, 0, "HB-AAA"}, {1, 6, "No Event"},         {1, 7, "No Fault"},
        {3, 4, "0"},       {3, 5, "-"}};
    for (const auto& [row, column, text] : cells) {
        EXPECT_EQ(Cell(table, row, column), text) << row << ", " << column;
    }

    // A double-click (as the table reports it) on HB-AAA engine 1 opens that engine's trend.
    Q_EMIT table->cellDoubleClicked(1, 3);
    testenv::pump();
    auto* trend = qobject_cast<TrendWindow*>(zafWindowManager()->Get(TrendWindow::kIdentifier));
    ASSERT_NE(trend, nullptr);
    ASSERT_NE(trend->Engine(), nullptr);
    EXPECT_EQ(trend->Engine()->aircraft, "HB-AAA");
    EXPECT_EQ(trend->Engine()->engineNumber, 1);
    EXPECT_EQ(trend->Current().request().serial, w.Status().engines()[1].serial);
    EXPECT_FALSE(trend->Current().points().isEmpty());

    // The change is taken over the flights chosen.
    w.Get("E_LAST_FLIGHTS").as<QSpinBox>()->setValue(3);
    testenv::pump();
    EXPECT_EQ(w.Status().request().lastFlights, 3);
    EXPECT_EQ(w.Table()->horizontalHeaderItem(8)->text(), "Change over 3 flights");
    Choose(w, "E_RECORD", 1);  // bin 1
    EXPECT_EQ(w.Status().request().record, 0);
}
