// The trend window over filed downloads: it draws the index's trend of the engine chosen, keeps
// alarmed flights in a series and legend entry of their own, reads out the point under the
// mouse, exports exactly the trend's CSV, tabulates what is shown and lists the files the index
// left out with their reasons.
#include <QFile>
#include <QTest>
#include <cmath>

#include "health/Trend.h"
#include "health/ui/LeftOutFilesWindow.h"
#include "health/ui/TrendChart.h"
#include "health/ui/TrendTableWindow.h"
#include "health/ui/TrendWindow.h"
#include "tests/health/ui/HealthWindowFixture.h"
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

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

}  // namespace

class TrendWindowTest : public HealthWindowTest {
protected:
    void SetUp() override {
        HealthWindowTest::SetUp();
        // One flight with a current alarm level among flights without.
        FlightImage one = withoutAlarms(generated(81, 1));
        alarmed = usedBlocks(one)[0];
        one.block(alarmed).alarmLevels = {3, 1, 2, 4, 4, 4};
        alarmedFlight = one.flightNumber(alarmed);
        file(one, kMarch5);
        file(withoutAlarms(generated(82, 1)), kApril9);
        file(withoutAlarms(generated(83, 2)), QStringLiteral("HB-IJK"), QStringLiteral("555"),
             kMarch5);
    }

    // The core's trend of the data directory, from an index of the test's own.
    Trend Expected(qint32 serial, TrendX x = TrendX::FlightNumber) {
        FlightIndex index(data, database);
        TrendRequest request;
        request.serial = serial;
        request.x = x;
        IndexResult<Trend> trend = Trend::fromIndex(index, request);
        EXPECT_TRUE(trend.ok()) << trend.error().toStdString();
        return trend.ok() ? trend.value() : Trend();
    }

    TrendWindow& Open(const QString& aircraft = QStringLiteral("HB-IJK"), int engine = 1) {
        window = TrendWindow::Open(aircraft, engine);
        window->resize(1000, 700);
        testenv::pump();
        return *window;
    }

    static void ExpectDrawn(const TrendChart& chart, const Trend& trend) {
        EXPECT_EQ(drawn(chart.XData(TrendChart::kNormalSet)), trend.normal().x);
        EXPECT_EQ(drawn(chart.YData(TrendChart::kNormalSet)), trend.normal().y);
        EXPECT_EQ(drawn(chart.XData(TrendChart::kAlarmedSet)), trend.alarmed().x);
        EXPECT_EQ(drawn(chart.YData(TrendChart::kAlarmedSet)), trend.alarmed().y);
    }

    int alarmed = 0;
    qint32 alarmedFlight = 0;
    QPointer<TrendWindow> window;
};

TEST_F(TrendWindowTest, DrawsTheIndexsTrendOfTheEngineChosenWithAlarmedFlightsApart) {
    TrendWindow& w = Open();
    const Trend expected = Expected(889123);
    ASSERT_FALSE(expected.alarmed().x.isEmpty());
    ASSERT_FALSE(expected.normal().x.isEmpty());
    EXPECT_EQ(w.Current().points(), expected.points());
    ExpectDrawn(*w.Chart(), expected);
    EXPECT_EQ(drawn(w.Chart()->XData(TrendChart::kAlarmedSet)),
              QVector<double>{double(alarmedFlight)});

    // Apart by symbol and by name, not by colour alone.
    EXPECT_NE(w.Chart()->DataStyle(TrendChart::kNormalSet).symbol,
              w.Chart()->DataStyle(TrendChart::kAlarmedSet).symbol);
    EXPECT_EQ(w.Chart()->LegendLabels(),
              (QStringList{"Flights", "Flights with a current alarm level"}));
    EXPECT_EQ(w.Chart()->YAxisTitle(), "A4R highest bin");
    EXPECT_TRUE(w.Get(QStringLiteral("B_LEFT_OUT")).Disabled());  // no file was left out

    // The other engine of the aircraft: its own flights only.
    Choose(w, "E_ENGINE", 1);
    ASSERT_EQ(w.Engine()->ser, "555");
    const Trend other = Expected(555);
    EXPECT_EQ(w.Current().points(), other.points());
    ExpectDrawn(*w.Chart(), other);
    EXPECT_EQ(w.Chart()->LegendLabels(), (QStringList{"Flights", ""}));
}

TEST_F(TrendWindowTest, ParameterRecordAndDateAxisAsChosen) {
    TrendWindow& w = Open();
    Choose(w, "E_RECORD", 5);  // bin 5
    Choose(w, "E_X", 1);       // download date
    EXPECT_EQ(w.Current().request().record, 4);
    EXPECT_EQ(w.Current().request().x, TrendX::DownloadDate);
    EXPECT_EQ(w.Chart()->XAnnotation(), Xrt2dPlot::Annotation::Dates);
    EXPECT_EQ(w.Chart()->YAxisTitle(), "A4R bin 5");
}

TEST_F(TrendWindowTest, ReadsOutThePointUnderTheMouse) {
    TrendWindow& w = Open();
    TrendChart& chart = *w.Chart();
    const QPoint at = chart.PointPixel(TrendChart::kAlarmedSet, 0).toPoint();
    QTest::mouseMove(chart.Canvas(), at);
    testenv::pump();
    ASSERT_TRUE(chart.TextBoxShown());
    const QString text = chart.TextBoxText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Flight %1 (").arg(alarmedFlight)))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Alarm  Level 3")) << text.toStdString();
    EXPECT_TRUE(text.contains("Files  1")) << text.toStdString();

    // Away from every point, the read-out goes.
    QTest::mouseMove(chart.Canvas(), QPoint(2, 2));
    testenv::pump();
    EXPECT_FALSE(chart.TextBoxShown());
}

TEST_F(TrendWindowTest, CsvExportIsTheTrendsCsvAndReplacesAFileWithoutAsking) {
    TrendWindow& w = Open();
    const QString path = root + QStringLiteral("/trend.csv");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older export, longer than the new one may be ..........................");
    }
    dialogs.saveFileAnswers.push_back(path);
    Press(w, "B_EXPORT");
    EXPECT_EQ(contentOf(path), Expected(889123).csv());
    EXPECT_EQ(dialogs.fileDialogCaptions, QStringList{"Export Trend"});
    EXPECT_TRUE(dialogs.messages.empty());

    // A name without the suffix gets it.
    dialogs.saveFileAnswers.push_back(root + QStringLiteral("/second"));
    Press(w, "B_EXPORT");
    EXPECT_EQ(contentOf(root + QStringLiteral("/second.csv")), w.Current().csv());
}

TEST_F(TrendWindowTest, TabulationListsThePointsShownAndFollowsTheZoom) {
    TrendWindow& w = Open();
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

TEST_F(TrendWindowTest, LeftOutFilesAreListedWithTheirReasons) {
    const QString damaged = file(generated(84, 1), kApril9.addDays(1));
    cut(damaged, 700);
    TrendWindow& w = Open();
    auto* button = w.Get(QStringLiteral("B_LEFT_OUT")).as<QAbstractButton>();
    EXPECT_EQ(button->text(), "Left-out Files (1)...");
    Press(w, "B_LEFT_OUT");
    LeftOutFilesWindow* list = LeftOutFilesWindow::Find();
    ASSERT_NE(list, nullptr);
    auto* table = list->Get(QStringLiteral("E_FILES")).as<QTableWidget>();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(Cell(table, 0, 0), QDir::toNativeSeparators(damaged));
    EXPECT_EQ(Cell(table, 0, 1), "Cut short: 700 of 2853852 bytes");
}
