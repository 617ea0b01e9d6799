// The plot window as the user drives it: what the chart shows for the choices of its tool bar,
// menus and sample list, the read-out under the mouse, clicks choosing the flight, the set-up
// dialog's changes, the waterfall's export, printing and chart images.
#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QIcon>

#include "tests/viewer/ViewerFixture.h"
#include "tests/viewer/ui/PlotFixture.h"
#include "viewer/cli/QuorRaw.h"
#include "viewer/ui/ItemValue.h"
#include "viewer/ui/TabulateInfoWindow.h"

using namespace tolm::viewer;
using viewertest::TestRawFile;
using PlotWindowTest = PlotTest;

namespace {

constexpr double kG = 0.0030518043793392844;

QList<FlightDataElement> flightsOf(const TestRawFile& f, int count) {
    QList<FlightDataElement> flights;
    for (int slot = 0; slot < count; ++slot) {
        flights.append(element(f, slot));
    }
    return flights;
}

QStringList texts(const QList<QAction*>& items) {
    QStringList t;
    for (QAction* a : items) {
        t << a->text();
    }
    return t;
}

int setting(const char* key) {
    return QSettings().value(QLatin1String(key), -99).toInt();
}

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

TEST_F(PlotWindowTest, SteadyA4RWithItsDataStatusReadOutsAndClickedFlight) {
    Open(flightsOf(ThreeFlights(), 3));

    // An empty settings store: steady state, A4R, no bin menu.
    EXPECT_TRUE(plot->Get("TOOL_BAR~B_STEADY_STATE").Selected());
    EXPECT_FALSE(plot->Get("TOOL_BAR~B_TRANSIENT").Selected());
    EXPECT_TRUE(plot->Get("PDI_PARAMETER~PUI_PARAMETER_1").Selected());
    EXPECT_EQ(plot->Get("PDI_PARAMETER~PUI_PARAMETER_1").Text(), "A4R");
    EXPECT_TRUE(plot->Get("PDI_TRANSIENT_BIN").Disabled());
    EXPECT_TRUE(plot->Get("SampleWindow~G_SAMPLE").Disabled());

    PlotWindow& c = Chart();
    ASSERT_EQ(c.LastSet(), 2);
    EXPECT_EQ(c.LastPoint(0), 25);
    EXPECT_EQ(c.X(0, 0), 1.0);
    EXPECT_EQ(c.Y(0, 0), -3.0);
    EXPECT_EQ(c.Y(2, 25), 29.5);
    EXPECT_EQ(c.GetHeader(),
              QStringList({"Steady State Data: HB-IJK: Engine 2", "Pre-Defect", "Window: None"}));
    EXPECT_TRUE(c.GetFooter().isEmpty());
    EXPECT_EQ(c.XAxisTitle(), "Bin #");
    EXPECT_EQ(c.YAxisTitle(), "A4R (Gpk)");
    EXPECT_EQ(c.LegendLabels(), QStringList({"Flight 7", "Flight 8", "Flight 9"}));
    EXPECT_EQ(c.YOrigin(), -3.0);
    EXPECT_TRUE(c.DataStyle(0).HasSymbol());
    EXPECT_FALSE(c.DataStyle(0).HasLine());

    // Flight 7 holds negative A4R values: suspect, and the indicator shows bad data.
    auto* status = plot->Get("PDI_DATA~PUI_DATA_STATUS").as<QMenu>();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(
        texts(status->actions()),
        QStringList({"Flight 7 - Steady State Status Suspect",
                     "Flight 7 - Transient Data Status OK", "", "Flight 8 - Steady State Status OK",
                     "Flight 8 - Transient Data Status OK", "", "Flight 9 - Steady State Status OK",
                     "Flight 9 - Transient Data Status OK"}));
    auto* indicator = plot->Get("B_GLOBAL_INDICATOR").as<QAbstractButton>();
    EXPECT_EQ(iconImage(indicator->icon()), iconImage(QIcon(":/viewer/BadData.png")));

    // The read-out of the current flight's point under the mouse, yellow when negative.
    Hover(0, 0);
    EXPECT_EQ(c.TextBoxText(), "Flight 7: X =        1  Y =       -3");
    EXPECT_EQ(c.TextBoxBackground(), QColor(255, 255, 0));
    EXPECT_TRUE(c.MarkerShown());
    EXPECT_EQ(c.MarkerX(), 1.0);
    Hover(0, 10);
    EXPECT_EQ(c.TextBoxText(), "Flight 7: X =       11  Y =        2");
    EXPECT_EQ(c.TextBoxBackground(), QColor(204, 204, 255));
    QTest::mouseMove(Canvas(), c.PlotArea().topLeft() - QPoint(3, 3));
    testenv::pump();
    EXPECT_FALSE(c.TextBoxShown());
    EXPECT_FALSE(c.MarkerShown());

    // A click on flight 9's point makes it the current flight.
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, PixelOf(2, 12));
    testenv::pump();
    EXPECT_EQ(plot->Model().currentSet(), 2);
    Hover(2, 12);
    EXPECT_EQ(c.TextBoxText(), "Flight 9: X =       13  Y =       23");
    EXPECT_EQ(setting("Plot2D_ParmType"), -99);  // nothing chosen, nothing written
}

TEST_F(PlotWindowTest, TransientValuesWithBinLabelsAndTheBinMenuFollowingTheParameter) {
    Open(flightsOf(ThreeFlights(), 2));
    Choose("TOOL_BAR~B_TRANSIENT");
    EXPECT_EQ(setting("Plot2D_PlotType"), 1);
    EXPECT_TRUE(plot->Get("TOOL_BAR~B_TRANSIENT").Selected());
    EXPECT_EQ(plot->Get("PUI_PARAMETER_6").Text(), "TR4R_avg");
    EXPECT_TRUE(plot->Get("PUI_PARAMETER_6").Disabled());
    EXPECT_TRUE(plot->Get("PUI_PARAMETER_7").Disabled());

    // The averages of the four bins, labelled on the x axis; no bin to choose.
    ChooseParameter("A3B_avg");
    PlotWindow& c = Chart();
    EXPECT_EQ(c.XAnnotation(), Xrt2dPlot::Annotation::ValueLabels);
    EXPECT_EQ(c.ValueLabels(), (QList<QPair<double, QString>>{
                                   {1.0, "TOC"}, {2.0, "TOD"}, {3.0, "AOD"}, {4.0, "AOA"}}));
    ASSERT_EQ(c.LastPoint(1), 3);
    EXPECT_EQ(c.Y(0, 1), 1.25);
    EXPECT_EQ(c.Y(1, 2), 12.25);
    EXPECT_EQ(c.GetFooter(), QStringList({"", "A3B_avg"}));
    EXPECT_TRUE(plot->Get("PDI_TRANSIENT_BIN").Disabled());
    Hover(0, 1);
    EXPECT_EQ(c.TextBoxText(), "Flight 7: X = TOD  Y = 1.25");

    // The values of one bin: the bin menu opens, and a bin chosen there is plotted.
    ChooseParameter("TR3B");
    EXPECT_EQ(c.XAnnotation(), Xrt2dPlot::Annotation::Values);
    EXPECT_EQ(c.LastPoint(0), 9);
    EXPECT_EQ(c.GetFooter(), QStringList({"", "Top Of Climb"}));
    EXPECT_FALSE(plot->Get("PDI_TRANSIENT_BIN").Disabled());
    Choose("PDI_TRANSIENT_BIN~PUI_TRANSIENT_BIN_3");
    EXPECT_EQ(c.GetFooter(), QStringList({"", "All Other Decels"}));
    EXPECT_EQ(c.Y(0, 4), 204.0);
    EXPECT_EQ(c.Y(1, 3), 1203.0);
    EXPECT_TRUE(plot->Get("PUI_TRANSIENT_BIN_3").Selected());
    EXPECT_EQ(setting("Plot2D_TransientBinType"), 2);
    EXPECT_EQ(setting("Plot2D_ParmType"), 18);
}

TEST_F(PlotWindowTest, TimeHistoriesAndSpectraOfTheRecordChosenInTheSampleList) {
    Open(flightsOf(ThreeFlights(), 2));
    ChooseParameter("Time History");
    auto* samples = plot->Get("G_SAMPLE").as<QListWidget>();
    EXPECT_EQ(plot->Get("SampleWindow").as<QGroupBox>()->title(), "Bin #");
    EXPECT_EQ(samples->count(), 26);
    EXPECT_TRUE(samples->isEnabled());
    EXPECT_EQ(samples->currentRow(), 0);
    EXPECT_EQ(setting("Plot2D_LastSample"), 0);

    ChooseSample(4);
    PlotWindow& c = Chart();
    EXPECT_EQ(setting("Plot2D_LastSample"), 4);
    EXPECT_EQ(c.GetFooter(), QStringList({"Bin #5"}));
    EXPECT_EQ(c.XAxisTitle(), "Time History (ms)");
    ASSERT_EQ(c.LastPoint(0), 1023);
    EXPECT_EQ(c.X(0, 1), 0.1024);
    EXPECT_EQ(c.Y(0, 0), -500 * kG);
    EXPECT_EQ(c.YOrigin(), -1000 * kG);  // flight 8's lowest
    EXPECT_TRUE(c.DataStyle(0).HasLine());
    EXPECT_FALSE(c.DataStyle(0).HasSymbol());
    c.ZoomAbout(PixelOf(0, 300), 0.05);  // far enough in to point at one sample
    Hover(0, 300);
    EXPECT_EQ(c.TextBoxText(), "Flight 7: X =    30.72 (ms)  Y = -0.61036");
    EXPECT_EQ(c.TextBoxBackground(), QColor(255, 255, 0));

    // The spectrum of the chosen record.
    ChooseParameter("FFT");
    ChooseSample(2);
    EXPECT_EQ(c.XAxisTitle(), "Frequency (Hz)");
    EXPECT_EQ(c.GetFooter(), QStringList({"Bin #3"}));
    Hover(0, 114);
    EXPECT_EQ(c.TextBoxText(), "Flight 7:  1087.19 (Hz)     3.143 (G)");

    // Transient records are chosen among the ten of the chosen bin.
    Choose("TOOL_BAR~B_TRANSIENT");
    ChooseParameter("Time History");
    Choose("PDI_TRANSIENT_BIN~PUI_TRANSIENT_BIN_3");
    EXPECT_EQ(plot->Get("SampleWindow").as<QGroupBox>()->title(), "Time History #");
    EXPECT_EQ(samples->count(), 10);
    EXPECT_EQ(samples->currentRow(), 2);  // record 3 stays chosen
    EXPECT_EQ(c.GetFooter(), QStringList({"", "Time History #3 (All Other Decels)"}));
    EXPECT_EQ(c.Y(0, 5), 15 * kG);
}

TEST_F(PlotWindowTest, WaterfallHidesEmptyRecordsAndExportsWhatQuorRawPrints) {
    const TestRawFile file = ThreeFlights();
    const QString raw = file.write(RawPath("HB-IJK", 2, "ESN000042_fd_20240301_1015.raw"));
    Open(flightsOf(file, 3));
    Choose("PDI_DATA~PUI_TABULATE");
    ASSERT_NE(TabulateInfoWindow::Find(), nullptr);

    ChooseParameter("Waterfall FFT");
    testenv::pump();
    EXPECT_EQ(TabulateInfoWindow::Find(), nullptr);  // closed: a waterfall is exported instead
    PlotWindow& c = Chart();
    ASSERT_EQ(c.LastSet(), 25);
    QList<int> shown;
    for (int r = 0; r <= c.LastSet(); ++r) {
        if (c.SetShown(r)) {
            shown << r;
        }
        EXPECT_EQ(c.DataStyle(r).color, c.DataStyle(0).color);
    }
    EXPECT_EQ(shown, QList<int>({0, 2, 4}));
    EXPECT_EQ(c.Y(1, 0), 2.0);  // record 2's zero level
    EXPECT_TRUE(c.LegendLabels().isEmpty());
    EXPECT_EQ(plot->Get("SampleWindow").as<QGroupBox>()->title(), "Flight #");
    ChooseSample(1);
    EXPECT_EQ(c.GetFooter(), QStringList({"Flight #8"}));
    EXPECT_EQ(setting("Plot2D_LastFlight"), 8);
    // Flight 8 holds only record 5: a click on it makes it the one read out.
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, PixelOf(4, 40));
    testenv::pump();
    EXPECT_EQ(plot->Model().currentSet(), 4);
    Hover(4, 0);
    EXPECT_EQ(c.TextBoxText(), "Frequency :        0 (Hz)");

    // Tabulate writes every record, hidden ones too, as quor-raw prints them.
    dialogs.saveFileAnswers = {data.filePath("flight8")};
    Choose("PDI_DATA~PUI_TABULATE");
    EXPECT_EQ(dialogs.fileDialogCaptions, QStringList({"Save Tabulated Data"}));
    QFile csv(data.filePath("flight8.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray written = csv.readAll();
    EXPECT_TRUE(
        written.startsWith("Flight #8\nSteady State Frequency Spectra: HB-IJK: Engine 2\n"
                           "Pre-Defect\nFlight #8\n0,"));
    EXPECT_EQ(written.split('\n')[4].count(','), 26);
    QByteArray printed, err;
    ASSERT_EQ(QuorRaw::run({"csv", raw, "--flight", "8"}, printed, err), 0) << err.constData();
    EXPECT_EQ(written, printed);
    printed.clear();

    // After a zoom only the frequencies shown, again as quor-raw prints them for that range.
    c.ZoomToPixels(QRect(PixelOf(0, 100), PixelOf(0, 200)).adjusted(0, -80, 0, 80));
    const AxisBounds x = c.ShownXRange();
    dialogs.saveFileAnswers = {data.filePath("zoomed.csv")};
    Choose("PDI_DATA~PUI_TABULATE");
    QFile zoomed(data.filePath("zoomed.csv"));
    ASSERT_TRUE(zoomed.open(QIODevice::ReadOnly));
    ASSERT_EQ(
        QuorRaw::run({"csv", raw, "--flight", "8", "--xmin", QString::number(x.lower, 'g', 17),
                      "--xmax", QString::number(x.upper, 'g', 17)},
                     printed, err),
        0);
    EXPECT_EQ(zoomed.readAll(), printed);
    EXPECT_LT(printed.count('\n'), 4 + 512);

    // A file that cannot be created: told, nothing written.
    dialogs.saveFileAnswers = {data.filePath("no folder/flight8")};
    Choose("PDI_DATA~PUI_TABULATE");
    EXPECT_EQ(
        dialogs.messages,
        (Boxes{{MessageKind::Critical, "Save Tabulated Data", "Couldn't save tabulation data"}}));
    EXPECT_FALSE(QFile::exists(data.filePath("no folder/flight8.csv")));
}

TEST_F(PlotWindowTest, SetupChangesTheChartAtOnceAndHiddenFlightsStayHidden) {
    Open(flightsOf(ThreeFlights(), 3));
    ChooseParameter("FFT");
    ChooseSample(2);
    PlotWindow& c = Chart();
    const double plain = c.Y(0, 115);  // beside the tone: the window's leakage shows there

    ModalUser user("SetupDialog");
    QAbstractButton* second = nullptr;
    user.Then([&](ZafDialogWindow& setup) {
            ZafObject flights = setup.Get("G_FLIGHT");
            ASSERT_EQ(flights.Count(), 3);
            EXPECT_EQ(flights.Child(1).Text(), "8");
            EXPECT_TRUE(flights.Child(1).Selected());
            second = flights.Child(1).as<QAbstractButton>();
            second->click();
        })
        .Then([&](ZafDialogWindow& setup) {
            EXPECT_EQ(ItemValue(second), 2147483649);
            EXPECT_FALSE(c.SetShown(1));  // while the dialog is still open
            second->click();
            setup.Get("G_FLIGHT").Child(2).as<QAbstractButton>()->click();
        })
        .Then([&](ZafDialogWindow& setup) {
            EXPECT_EQ(ItemValue(second), 1);
            EXPECT_TRUE(c.SetShown(1));
            EXPECT_FALSE(c.SetShown(2));
            setup.Get("G_FFT_WINDOW").Child(2).as<QAbstractButton>()->click();
            setup.Get("B_XGRID").as<QAbstractButton>()->click();
        })
        .Then([&](ZafDialogWindow& setup) {
            EXPECT_EQ(c.GetHeader().value(2), "Window: Hamming");
            EXPECT_GT(c.Y(0, 115), plain + 0.1);
            EXPECT_TRUE(c.XGrid());
            EXPECT_FALSE(c.YGrid());
            setup.Get("B_CLOSE").as<QAbstractButton>()->click();
        });
    Choose("PDI_SETUP~PUI_DISPLAY");
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(setting("Plot2D_FFT_WINDOW_TYPE"), 2);
    EXPECT_EQ(setting("Plot2D_XGrid"), 1);

    // Flight 9 stays hidden through redraws of other plots.
    ChooseParameter("A4R");
    EXPECT_FALSE(c.SetShown(2));
    EXPECT_TRUE(c.SetShown(1));
    EXPECT_EQ(c.LegendLabels().size(), 3);

    // A waterfall's sets are records: the flight items cannot be used there, the rest can.
    ChooseParameter("Waterfall FFT");
    user.Then([&](ZafDialogWindow& setup) {
        EXPECT_TRUE(setup.Get("G_FLIGHT").Disabled());
        EXPECT_FALSE(setup.Get("G_GRID").Disabled());
        EXPECT_TRUE(setup.Get("G_FFT_WINDOW").Child(2).Selected());
        setup.Get("B_YGRID").as<QAbstractButton>()->click();
        setup.Get("B_CLOSE").as<QAbstractButton>()->click();
    });
    Choose("PDI_SETUP~PUI_DISPLAY");
    EXPECT_TRUE(user.Done());
    EXPECT_TRUE(c.YGrid());
    EXPECT_EQ(user.unexpected, 0);
}

TEST_F(PlotWindowTest, PrintsThroughThePrintDialogAndSavesChartImages) {
    Open(flightsOf(ThreeFlights(), 2));
    dialogs.printFileAnswers = {data.filePath("printed.pdf")};
    Choose("TOOL_BAR~B_PRINT");
    QFile printed(data.filePath("printed.pdf"));
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().startsWith("%PDF"));
    Choose("TOOL_BAR~B_PRINT");  // cancelled: nothing to say
    EXPECT_EQ(dialogs.printDialogsShown, 2);
    dialogs.printFileAnswers = {data.filePath("no folder/printed.pdf")};
    Choose("TOOL_BAR~B_PRINT");

    dialogs.saveFileAnswers = {data.filePath("chart"), data.filePath("chart.PDF"),
                               data.filePath("no folder/chart.png")};
    for (int i = 0; i < 3; ++i) {
        Choose("PDI_DATA~PUI_SAVE_IMAGE");
    }
    QFile png(data.filePath("chart.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_TRUE(png.readAll().startsWith("\x89PNG"));
    QFile pdf(data.filePath("chart.PDF"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    EXPECT_EQ(
        dialogs.messages,
        (Boxes{{MessageKind::Critical, "Print", "Couldn't print the chart"},
               {MessageKind::Critical, "Save Chart Image", "Couldn't save the chart image"}}));
}
