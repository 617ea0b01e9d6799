// The plot window as the user drives it: the chart for its choices, read-outs, clicks, the set-up
// dialog, the waterfall's export, the tabulation window, printing and chart images.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <algorithm>

#include "tests/viewer/ui/PlotFixture.h"
#include "viewer/cli/QuorRaw.h"
#include "viewer/ui/TabulateInfoWindow.h"

using namespace tolm::viewer;
using viewertest::TestRawFile;
using PlotWindowTest = PlotTest;

namespace {

QStringList rowsOf(const TabulateInfoWindow& window) {
    auto* list = window.Get("E_LIST").as<QListWidget>();
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

QString selectedRow(const TabulateInfoWindow& window) {
    const QList<QListWidgetItem*> selected =
        window.Get("E_LIST").as<QListWidget>()->selectedItems();
    return selected.size() == 1 ? selected.first()->text() : QString();
}

}  // namespace

TEST_F(PlotWindowTest, SteadyA4RWithItsDataStatusReadOutsClickedFlightAndSetup) {
    Open(flightsOf(ThreeFlights(), 3));
    // An empty settings store: steady state, A4R, no bin to choose.
    EXPECT_TRUE(plot->Get("TOOL_BAR~B_STEADY_STATE").Selected());
    EXPECT_TRUE(plot->Get("PUI_PARAMETER_1").Selected());
    EXPECT_TRUE(plot->Get("PDI_TRANSIENT_BIN").Disabled());
    ExpectTheCoresChart();
    PlotWindow& c = Chart();
    EXPECT_EQ(c.YOrigin(), -3.0);
    EXPECT_TRUE(c.DataStyle(0).HasSymbol() && !c.DataStyle(0).HasLine());

    // Flight 7 holds negative A4R values: suspect, and the indicator shows bad data.
    const QList<QAction*> status = plot->Get("PUI_DATA_STATUS").as<QMenu>()->actions();
    ASSERT_EQ(status.size(), 8);  // two entries per flight, a separator between flights
    EXPECT_EQ(status[0]->text(), "Flight 7 - Steady State Status Suspect");
    EXPECT_TRUE(status[2]->isSeparator());
    const QIcon indicator = plot->Get("B_GLOBAL_INDICATOR").as<QAbstractButton>()->icon();
    EXPECT_EQ(indicator.pixmap(32).toImage(), QIcon(":/viewer/BadData.png").pixmap(32).toImage());

    // The read-out of the current flight's point under the mouse.
    Hover(0, 0);
    EXPECT_EQ(c.TextBoxText(), "Flight 7: X =        1  Y =       -3");
    EXPECT_EQ(c.TextBoxBackground(), QColor(255, 255, 0));
    EXPECT_TRUE(c.MarkerShown());
    EXPECT_EQ(c.MarkerX(), 1.0);
    QTest::mouseMove(Canvas(), c.PlotArea().topLeft() - QPoint(3, 3));
    testenv::pump();
    EXPECT_FALSE(c.TextBoxShown() || c.MarkerShown());

    // A click on flight 9's point makes it the flight read out.
    Click(2, 12);
    Hover(2, 12);
    EXPECT_EQ(c.TextBoxText(), "Flight 9: X =       13  Y =       23");

    // The set-up dialog changes the chart at once; hidden flights stay hidden.
    ChooseParameter("FFT");
    ChooseSample(2);
    const double plain = c.Y(0, 115);  // beside the tone: the window's leakage shows there

    ModalUser user("SetupDialog");
    QAbstractButton* second = nullptr;
    user.Then([&](ZafDialogWindow& setup) {
            ASSERT_EQ(setup.Get("G_FLIGHT").Count(), 3);
            second = setup.Get("G_FLIGHT").Child(1).as<QAbstractButton>();
            EXPECT_EQ(second->text(), "8");
            second->click();
        })
        .Then([&](ZafDialogWindow& setup) {
            EXPECT_FALSE(c.SetShown(1));  // while the dialog is still open
            second->click();
            ClickIn(setup, "G_FLIGHT", 2);
        })
        .Then([&](ZafDialogWindow& setup) {
            EXPECT_TRUE(c.SetShown(1));
            EXPECT_FALSE(c.SetShown(2));
            ClickIn(setup, "G_FFT_WINDOW", 2);
            ClickIn(setup, "B_XGRID");
        })
        .Then([&](ZafDialogWindow& setup) {
            EXPECT_EQ(c.GetHeader().value(2), "Window: Hamming");
            EXPECT_GT(c.Y(0, 115), plain + 0.1);
            EXPECT_TRUE(c.XGrid());
            ClickIn(setup, "B_CLOSE");
        });
    Choose("PDI_SETUP~PUI_DISPLAY");
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(QSettings().value("Plot2D_FFT_WINDOW_TYPE", -99).toInt(), 2);
    EXPECT_EQ(QSettings().value("Plot2D_XGrid", -99).toInt(), 1);

    // Flight 9 stays hidden through redraws of other plots.
    ChooseParameter("A4R");
    EXPECT_FALSE(c.SetShown(2));
    EXPECT_TRUE(c.SetShown(1));

    // A waterfall's sets are records: its flight items cannot be used, the rest can.
    ChooseParameter("Waterfall FFT");
    user.Then([&](ZafDialogWindow& setup) {
        EXPECT_TRUE(setup.Get("G_FLIGHT").Disabled());
        EXPECT_TRUE(setup.Get("G_FFT_WINDOW").Child(2).as<QAbstractButton>()->isChecked());
        ClickIn(setup, "B_YGRID");
        ClickIn(setup, "B_CLOSE");
    });
    Choose("PDI_SETUP~PUI_DISPLAY");
    EXPECT_TRUE(c.YGrid());
    EXPECT_EQ(user.unexpected, 0);
}

// Each choice reaches the model (a footer, read-out or menu mark tells) and the chart shows it.
TEST_F(PlotWindowTest, RecordParameterAndBinChoicesWithTheSampleListAndBinMenuFollowing) {
    Open(flightsOf(ThreeFlights(), 2));
    PlotWindow& c = Chart();
    ChooseParameter("Time History");
    auto* samples = plot->Get("G_SAMPLE").as<QListWidget>();
    EXPECT_EQ(plot->Get("SampleWindow").Text(), "Bin #");
    EXPECT_EQ(samples->count(), 26);
    EXPECT_TRUE(samples->isEnabled());
    ChooseSample(4);
    ExpectTheCoresChart();
    EXPECT_EQ(c.GetFooter(), QStringList({"Bin #5"}));
    EXPECT_TRUE(c.DataStyle(0).HasLine() && !c.DataStyle(0).HasSymbol());
    ChooseParameter("FFT");
    ChooseSample(2);
    ExpectTheCoresChart();
    Hover(0, 114);
    EXPECT_EQ(c.TextBoxText(), "Flight 7:  1087.19 (Hz)     3.143 (G)");

    // Transient: the averages of the four bins, labelled on the x axis; no bin to choose.
    Choose("TOOL_BAR~B_TRANSIENT");
    EXPECT_EQ(plot->Get("PUI_PARAMETER_6").Text(), "TR4R_avg");
    EXPECT_TRUE(plot->Get("PUI_PARAMETER_6").Disabled());
    ChooseParameter("A3B_avg");
    ExpectTheCoresChart();
    EXPECT_EQ(c.XAnnotation(), Xrt2dPlot::Annotation::ValueLabels);
    EXPECT_EQ(c.ValueLabels(), (QList<QPair<double, QString>>{
                                   {1.0, "TOC"}, {2.0, "TOD"}, {3.0, "AOD"}, {4.0, "AOA"}}));
    EXPECT_TRUE(plot->Get("PDI_TRANSIENT_BIN").Disabled());

    // The values of one bin: the bin menu opens, and the bin chosen there is plotted.
    ChooseParameter("TR3B");
    EXPECT_EQ(c.XAnnotation(), Xrt2dPlot::Annotation::Values);
    EXPECT_FALSE(plot->Get("PDI_TRANSIENT_BIN").Disabled());
    Choose("PDI_TRANSIENT_BIN~PUI_TRANSIENT_BIN_3");
    ExpectTheCoresChart();
    EXPECT_TRUE(plot->Get("PUI_TRANSIENT_BIN_3").Selected());

    // Transient records are the ten of the chosen bin; record 3 stays chosen.
    ChooseParameter("Time History");
    EXPECT_EQ(plot->Get("SampleWindow").Text(), "Time History #");
    EXPECT_EQ(samples->count(), 10);
    EXPECT_EQ(samples->currentRow(), 2);
    ExpectTheCoresChart();
    EXPECT_EQ(c.GetFooter(), QStringList({"", "Time History #3 (All Other Decels)"}));
}

TEST_F(PlotWindowTest, WaterfallHidesEmptyRecordsAndExportsWhatQuorRawPrints) {
    const TestRawFile file = ThreeFlights();
    const QString raw = file.write(rawPath("HB-IJK", 2, "ESN000042_fd_20240301_1015.raw"));
    Open(flightsOf(file, 3));
    Choose("PDI_DATA~PUI_TABULATE");
    ChooseParameter("Waterfall FFT");
    EXPECT_EQ(TabulateInfoWindow::Find(), nullptr);  // closed: a waterfall is exported instead
    ExpectTheCoresChart();
    PlotWindow& c = Chart();
    for (int r = 0; r <= c.LastSet(); ++r) {
        EXPECT_EQ(c.DataStyle(r).color, c.DataStyle(0).color);
    }
    ChooseSample(1);

    // Tabulate writes every record, hidden ones too, as quor-raw prints them.
    const auto quorRaw = [&](QStringList range) {
        QByteArray out, err;
        EXPECT_EQ(QuorRaw::run(QStringList{"csv", raw, "--flight", "8"} + range, out, err), 0);
        return out;
    };
    dialogs.saveFileAnswers = {data.filePath("flight8")};
    Choose("PDI_DATA~PUI_TABULATE");
    EXPECT_EQ(dialogs.fileDialogCaptions, QStringList({"Save Tabulated Data"}));
    const QByteArray csv = contentOf(data.filePath("flight8.csv"));
    EXPECT_EQ(csv, quorRaw({}));
    // The same name again: the file is replaced without a question, from the dialog or after it.
    ASSERT_TRUE(
        QFile(data.filePath("flight8.csv")).open(QIODevice::WriteOnly | QIODevice::Truncate));
    dialogs.saveFileAnswers = {data.filePath("flight8.csv")};
    Choose("PDI_DATA~PUI_TABULATE");
    EXPECT_EQ(contentOf(data.filePath("flight8.csv")), csv);
    EXPECT_TRUE(dialogs.messages.empty());

    // After a zoom only the frequencies shown, again as quor-raw prints them for that range.
    c.ZoomToPixels(QRect(PixelOf(0, 100), PixelOf(0, 200)).adjusted(0, -80, 0, 80));
    const AxisBounds x = c.ShownXRange();
    dialogs.saveFileAnswers = {data.filePath("zoomed.csv")};
    Choose("PDI_DATA~PUI_TABULATE");
    const QByteArray zoomed = contentOf(data.filePath("zoomed.csv"));
    EXPECT_EQ(zoomed, quorRaw({"--xmin", QString::number(x.lower, 'g', 17), "--xmax",
                               QString::number(x.upper, 'g', 17)}));
    EXPECT_LT(zoomed.count('\n'), 4 + 512);

    // A file that cannot be created: told, nothing written.
    dialogs.saveFileAnswers = {data.filePath("no folder/flight8")};
    Choose("PDI_DATA~PUI_TABULATE");
    EXPECT_EQ(
        dialogs.messages,
        (Boxes{{MessageKind::Critical, "Save Tabulated Data", "Couldn't save tabulation data"}}));
    EXPECT_FALSE(QFile::exists(data.filePath("no folder/flight8.csv")));
}

TEST_F(PlotWindowTest, PrintsSavesChartImagesAndListsSavesAndFollowsTheShownPoints) {
    Open(flightsOf(ThreeFlights(), 2));
    // Print and Save Image: the window tells of failures.
    dialogs.printFileAnswers = {data.filePath("printed.pdf")};
    Choose("TOOL_BAR~B_PRINT");
    Choose("TOOL_BAR~B_PRINT");  // cancelled: nothing to say
    dialogs.printFileAnswers = {data.filePath("no folder/printed.pdf")};
    Choose("TOOL_BAR~B_PRINT");
    EXPECT_EQ(dialogs.printDialogsShown, 3);

    dialogs.saveFileAnswers = {data.filePath("chart"), data.filePath("chart.PDF"),
                               data.filePath("no folder/chart.png")};
    for (int i = 0; i < 3; ++i) {
        Choose("PDI_DATA~PUI_SAVE_IMAGE");
    }
    EXPECT_TRUE(contentOf(data.filePath("chart.png")).startsWith("\x89PNG"));
    EXPECT_TRUE(contentOf(data.filePath("chart.PDF")).startsWith("%PDF"));
    EXPECT_EQ(
        dialogs.messages,
        (Boxes{{MessageKind::Critical, "Print", "Couldn't print the chart"},
               {MessageKind::Critical, "Save Chart Image", "Couldn't save the chart image"}}));

    // An existing image, named with or without its suffix: one question, the program's.
    dialogs.clear();
    ASSERT_TRUE(QFile(data.filePath("chart.png")).open(QIODevice::WriteOnly | QIODevice::Truncate));
    dialogs.saveFileAnswers = {data.filePath("chart.png"), data.filePath("chart")};
    dialogs.questionAnswers = {QMessageBox::No};
    Choose("PDI_DATA~PUI_SAVE_IMAGE");
    EXPECT_EQ(contentOf(data.filePath("chart.png")), "");
    dialogs.questionAnswers = {QMessageBox::Yes};
    Choose("PDI_DATA~PUI_SAVE_IMAGE");
    EXPECT_TRUE(contentOf(data.filePath("chart.png")).startsWith("\x89PNG"));
    const ShownMessage asked{MessageKind::Question, "Save Chart Image",
                             "File already exists. Do you want to overwrite it?"};
    EXPECT_EQ(dialogs.messages, (Boxes{asked, asked}));
    dialogs.clear();

    // The listing of the current flight's points in the shown range, the row read out highlighted.
    Choose("PDI_DATA~PUI_TABULATE");
    TabulateInfoWindow* window = TabulateInfoWindow::Find();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Get("P_TAG").Text(), "Selected Flight: Flight 7");
    EXPECT_EQ(window->Get("P_HEADER1").Text(), "Steady State Data: HB-IJK: Engine 2  Pre-Defect");
    EXPECT_EQ(window->Get("P_HEADER2").Text(), "  ");
    EXPECT_EQ(window->Get("P_HEADER3").Text(), "Parameter: A4R (Gpk)");
    QStringList rows = rowsOf(*window);
    ASSERT_EQ(rows.size(), 26);
    EXPECT_EQ(rows[0], "Bin #         1        -3");

    Hover(0, 7);
    EXPECT_EQ(selectedRow(*window), "Bin #         8       0.5");

    // A zoom to bins 5 to 10 (and flight 8's points) lists only those; the highlight follows.
    Chart().ZoomToPixels(QRect(QPoint(PixelOf(0, 4).x() - 8, PixelOf(1, 9).y() - 40),
                               QPoint(PixelOf(0, 9).x() + 8, PixelOf(0, 4).y() + 40)));
    rows = rowsOf(*window);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0], "Bin #         5        -1");
    EXPECT_EQ(selectedRow(*window), "Bin #         8       0.5");
    Hover(0, 5);
    EXPECT_EQ(selectedRow(*window), "Bin #         6      -0.5");
    Hover(0, 2);  // outside the zoom: no read-out, no change
    EXPECT_EQ(selectedRow(*window), "Bin #         6      -0.5");

    const auto save = [&] {
        window->Get("TOOL_BAR~B_SAVE").as<QAction>()->trigger();
        testenv::pump();
    };
    const QString path = data.filePath("listing.txt");
    dialogs.saveFileAnswers = {data.filePath("listing")};
    save();
    const QByteArray listing =
        "Selected Flight: Flight 7\nSteady State Data: HB-IJK: Engine 2  Pre-Defect\n  \n"
        "Parameter: A4R (Gpk)\n\n"
        "Bin #         5        -1\nBin #         6      -0.5\nBin #         7         0\n"
        "Bin #         8       0.5\nBin #         9         1\nBin #        10       1.5\n";
    EXPECT_EQ(contentOf(path), listing);
    EXPECT_TRUE(dialogs.messages.empty());
    // The file exists: asked once, by the program and not the save dialog too; No keeps it.
    QFile::remove(path);
    QFile(path).open(QIODevice::WriteOnly);
    dialogs.saveFileAnswers = {path};
    save();
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Question, "Save To File",
                                        "File already exists. Do you want to overwrite it?"}}));
    EXPECT_EQ(contentOf(path), "");
    dialogs.saveFileAnswers = {path};
    dialogs.questionAnswers = {QMessageBox::Yes};
    save();
    EXPECT_EQ(contentOf(path), listing);
    // Cancelled: nothing; a file that cannot be written: told.
    dialogs.clear();
    save();
    dialogs.saveFileAnswers = {data.filePath("no folder/listing")};
    save();
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Critical, "Save To File", "Couldn't save tabulation data"}}));
    EXPECT_EQ(dialogs.fileDialogCaptions.size(), 2);

    // A click on flight 8 lists it; Tabulate again keeps the one window.
    Click(1, 6);
    EXPECT_EQ(window->Get("P_TAG").Text(), "Selected Flight: Flight 8");
    EXPECT_EQ(rowsOf(*window).value(0), "Bin #         5         9");
    Choose("PDI_DATA~PUI_TABULATE");
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                            [](QWidget* w) { return qobject_cast<TabulateInfoWindow*>(w); }),
              1);

    // Zoom > Reset lists every point again; a new plot is listed at once.
    Choose("PDI_ZOOM~PUI_RESET");
    EXPECT_EQ(rowsOf(*window).size(), 26);
    ChooseParameter("FFT");
    EXPECT_EQ(rowsOf(*window).size(), 512);

    // Closing the plot window closes its tabulation.
    delete plot.data();
    testenv::pump();
    EXPECT_EQ(TabulateInfoWindow::Find(), nullptr);
}