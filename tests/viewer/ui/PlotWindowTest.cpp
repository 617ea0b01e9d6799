// The viewer's windows driven as the user drives them, on raw files built byte for byte: choosing
// flights, the plot window's chart, read-outs, set-up, export, tabulation, printing and images.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/FakeDialogs.h"
#include "tests/viewer/ViewerFixture.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindowManager.h"
#include "viewer/cli/QuorRaw.h"
#include "viewer/ui/ChartCanvas.h"
#include "viewer/ui/EngineTrendOpener.h"
#include "viewer/ui/Plot2D.h"
#include "viewer/ui/PlotWindow.h"
#include "viewer/ui/SelectDialog.h"
#include "viewer/ui/TabulateInfoWindow.h"
#include "viewer/ui/ViewerEvents.h"

using namespace tolm::viewer;
using viewertest::TestRawFile;

// Plays the user of a modal dialog: each step runs, in order, on the dialog of that name while it
// runs modally. A dialog that runs with no step left is cancelled and counted: no test hangs.
class ModalUser {
public:
    using Step = std::function<void(ZafDialogWindow&)>;

    explicit ModalUser(const QString& name) {
        timer_.callOnTimeout([this, name] {
            auto* dialog = qobject_cast<ZafDialogWindow*>(zafWindowManager()->Get(name));
            if (!dialog || !dialog->Running()) {
                return;
            }
            if (steps_.empty()) {
                ++unexpected;
                dialog->EndModal(S_CLOSE);
                return;
            }
            const Step step = std::move(steps_.front());
            steps_.pop_front();
            step(*dialog);
        });
        timer_.start(2);
    }
    ModalUser& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    bool Done() const { return steps_.empty(); }
    int unexpected = 0;

private:
    std::deque<Step> steps_;
    QTimer timer_;
};

// Clicks a dialog's button, or the `item`th button of its group `name`.
inline void ClickIn(ZafWindow& dialog, const char* name, int item = -1) {
    const ZafObject object = dialog.Get(QLatin1String(name));
    (item < 0 ? object : object.Child(item)).as<QAbstractButton>()->click();
}

class PlotWindowTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        QSettings().setValue(QStringLiteral("DataDir"), data.path());
        zafApplication()->SetDefaultReader(&reader);
    }
    void TearDown() override {
        delete plot.data();
        testenv::pump();
        zafApplication()->SetDefaultReader(nullptr);
    }

    // Shows a plot window for these flights as the main window does.
    void Open(QList<FlightDataElement> flights) {
        plot = new Plot2D(std::move(flights));
        Show();
    }
    void Show() {
        ASSERT_TRUE(plot->HasFlights());
        plot->resize(1100, 760);
        zafWindowManager()->Add(plot);
        plot->Event(ZafEventStruct(tolm::ViewerEvent::Open, nullptr, plot));
        testenv::pump();
    }

    // The user's choices: a menu or tool bar item ("PDI_...~PUI_..."), a parameter, a sample.
    void Choose(const QString& item) {
        QAction* action = plot->Get(item).as<QAction>();
        ASSERT_NE(action, nullptr) << item.toStdString();
        action->trigger();
        testenv::pump();
    }
    void ChooseParameter(const QString& name) {
        for (QAction* a : plot->Get(QStringLiteral("PDI_PARAMETER")).as<QMenu>()->actions()) {
            if (a->text() == name) {
                a->trigger();
            }
        }
        testenv::pump();
    }
    void ChooseSample(int row) {
        plot->Get(QStringLiteral("G_SAMPLE")).as<QListWidget>()->setCurrentRow(row);
        testenv::pump();
    }

    // The chart shows what the viewer's core computes for the window's choices (the sets whole:
    // the tests plot three flights at most, so none has the second line pattern).
    void ExpectTheCoresChart() const {
        const ChartContents core = plot->Model().chart();
        const ChartContents shown = Chart().Displayed();
        EXPECT_EQ(shown.sets, core.sets);
        EXPECT_EQ(shown.header, core.header);
        EXPECT_EQ(shown.footer, core.footer);
        EXPECT_EQ(shown.xTitle, core.xTitle);
        EXPECT_EQ(shown.yTitle, core.yTitle);
        EXPECT_EQ(shown.legend, core.showLegend ? core.legend : QStringList());
    }

    PlotWindow& Chart() const { return *plot->Chart(); }
    QPoint PixelOf(int set, int point) const { return Chart().PointPixel(set, point).toPoint(); }
    void Hover(int set, int point) {
        QTest::mouseMove(Chart().Canvas(), PixelOf(set, point));
        testenv::pump();
    }
    void Click(int set, int point) {
        QTest::mouseClick(Chart().Canvas(), Qt::LeftButton, {}, PixelOf(set, point));
        testenv::pump();
    }

    FakeDialogs dialogs;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
    QPointer<Plot2D> plot;
};

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

QList<int> flightNumbers(const Plot2D& plot) {
    QList<int> numbers;
    for (const FlightDataElement& f : plot.Model().flights()) {
        numbers << f.flightNumber();
    }
    return numbers;
}

QListWidget* flightList(ZafDialogWindow& dialog) {
    return dialog.Get("FLIGHT_LIST").as<QListWidget>();
}

// The rows the list shows: their flight numbers, or what follows the number and date.
QStringList listed(ZafDialogWindow& dialog, int from = 0) {
    QStringList rows;
    for (int i = 0; i < flightList(dialog)->count(); ++i) {
        const QString text = flightList(dialog)->item(i)->text();
        rows << (from ? text.mid(from) : text.left(15)).trimmed();
    }
    return rows;
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
    QTest::mouseMove(Chart().Canvas(), c.PlotArea().topLeft() - QPoint(3, 3));
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
    const QByteArray csv = testenv::fileBytes(data.filePath("flight8.csv"));
    EXPECT_EQ(csv, quorRaw({}));
    // The same name again: the file is replaced without a question, from the dialog or after it.
    ASSERT_TRUE(
        QFile(data.filePath("flight8.csv")).open(QIODevice::WriteOnly | QIODevice::Truncate));
    dialogs.saveFileAnswers = {data.filePath("flight8.csv")};
    Choose("PDI_DATA~PUI_TABULATE");
    EXPECT_EQ(testenv::fileBytes(data.filePath("flight8.csv")), csv);
    EXPECT_TRUE(dialogs.messages.empty());

    // After a zoom only the frequencies shown, again as quor-raw prints them for that range.
    c.ZoomToPixels(QRect(PixelOf(0, 100), PixelOf(0, 200)).adjusted(0, -80, 0, 80));
    const AxisBounds x = c.ShownXRange();
    dialogs.saveFileAnswers = {data.filePath("zoomed.csv")};
    Choose("PDI_DATA~PUI_TABULATE");
    const QByteArray zoomed = testenv::fileBytes(data.filePath("zoomed.csv"));
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
    EXPECT_TRUE(testenv::fileBytes(data.filePath("chart.png")).startsWith("\x89PNG"));
    EXPECT_TRUE(testenv::fileBytes(data.filePath("chart.PDF")).startsWith("%PDF"));
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
    EXPECT_EQ(testenv::fileBytes(data.filePath("chart.png")), "");
    dialogs.questionAnswers = {QMessageBox::Yes};
    Choose("PDI_DATA~PUI_SAVE_IMAGE");
    EXPECT_TRUE(testenv::fileBytes(data.filePath("chart.png")).startsWith("\x89PNG"));
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
    EXPECT_EQ(testenv::fileBytes(path), listing);
    EXPECT_TRUE(dialogs.messages.empty());
    // The file exists: asked once, by the program and not the save dialog too; No keeps it.
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly | QIODevice::Truncate));
    dialogs.saveFileAnswers = {path};
    save();
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Question, "Save To File",
                                        "File already exists. Do you want to overwrite it?"}}));
    EXPECT_EQ(testenv::fileBytes(path), "");
    dialogs.saveFileAnswers = {path};
    dialogs.questionAnswers = {QMessageBox::Yes};
    save();
    EXPECT_EQ(testenv::fileBytes(path), listing);
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
    EXPECT_EQ(
        std::ranges::count_if(QApplication::topLevelWidgets(),
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

TEST_F(PlotWindowTest, ChoicesListTheirFlightsAndElevenAreRefusedUntilTen) {
    TestRawFile("HB-IJK", 1).flights(101, 12).flight(12, 6, 1).write(rawPath("HB-IJK", 1, "a.raw"));
    TestRawFile("HB-IJK", 2).flight(0, 30).write(rawPath("HB-IJK", 2, "b.raw"));
    TestRawFile("N5", 1).flight(4, 40, 1).write(rawPath("N5", 1, "c.raw"));
    QSettings().setValue("LastAircraft", "N5");

    ModalUser user("SelectDialog");
    user.Then([&](ZafDialogWindow& dialog) {
            auto* aircraft = dialog.Get("TAIL_NUMBER").as<QComboBox>();
            EXPECT_EQ(aircraft->currentText(), "N5");  // remembered
            EXPECT_TRUE(listed(dialog).isEmpty());     // engine 1, pre-defect
            ClickIn(dialog, "G_MEMORY_TYPE", 1);
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog), QStringList({"40"}));
            auto* aircraft = dialog.Get("TAIL_NUMBER").as<QComboBox>();
            const int other = aircraft->findText("HB-IJK");
            aircraft->setCurrentIndex(other);
            Q_EMIT aircraft->activated(other);
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog), QStringList({"6"}));
            ClickIn(dialog, "G_ENGINE", 1);
            ClickIn(dialog, "G_MEMORY_TYPE", 0);
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog), QStringList({"30"}));
            ClickIn(dialog, "G_ENGINE", 0);
        })
        .Then([&](ZafDialogWindow& dialog) {
            ASSERT_EQ(listed(dialog).size(), 12);
            EXPECT_EQ(listed(dialog).first(), "112");
            for (int row = 0; row < 11; ++row) {
                flightList(dialog)->item(row)->setSelected(true);
            }
            ClickIn(dialog, "B_OK");
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(dialogs.messages,
                      (Boxes{{MessageKind::Critical, "Error",
                              "Too many flights selected. Maximum allowed is 10"}}));
            flightList(dialog)->item(3)->setSelected(false);
            ClickIn(dialog, "B_OK");
        });
    plot = new Plot2D();
    EXPECT_TRUE(user.Done());
    ASSERT_TRUE(plot->HasFlights());
    EXPECT_EQ(flightNumbers(*plot), QList<int>({112, 111, 110, 108, 107, 106, 105, 104, 103, 102}));
    Show();
    EXPECT_EQ(Chart().GetHeader().value(1), "Pre-Defect");  // the memory chosen last

    // Cancel: no plot window, nothing to say.
    delete plot.data();
    dialogs.clear();
    user.Then([](ZafDialogWindow& dialog) { ClickIn(dialog, "B_CANCEL"); });
    plot = new Plot2D();
    EXPECT_FALSE(plot->HasFlights());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(user.unexpected, 0);
}

// The flight index's notes reach the list, and "Show every copy" lists each copy. Trend... opens
// the chosen engine's trend and no plot; without an opener the button is not shown.
TEST_F(PlotWindowTest, TheListMarksCopiesAndTrendLeadsToTheEngineChosen) {
    const QString a = TestRawFile("HB-IJK", 1).flight(0, 70).write(rawPath("HB-IJK", 1, "a.raw"));
    const QString b = TestRawFile("HB-IJK", 1).flight(3, 70).write(rawPath("HB-IJK", 1, "b.raw"));
    const FlightNote alarm{1, "Alarm 2 (4L)", "in 2 files"};
    SelectDialog::setNotesSource([&] { return FlightNotes{{{a, 0}, alarm}, {{b, 3}, alarm}}; });
    QStringList opened;
    setEngineTrendOpener([&](const QString& aircraft, int engine) {
        opened << QStringLiteral("%1/%2").arg(aircraft).arg(engine);
    });
    ModalUser user("SelectDialog");
    user.Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog, 32), QStringList({"Alarm 2 (4L)  in 2 files"}));
            ClickIn(dialog, "SHOW_COPIES");
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog, 32), QStringList({"Alarm 2 (4L)", "Alarm 2 (4L)"}));
            EXPECT_FALSE(dialog.Get("B_TREND").as<QWidget>()->isHidden());
            ClickIn(dialog, "G_ENGINE", 1);
            ClickIn(dialog, "B_TREND");
        });
    plot = new Plot2D();
    SelectDialog::setNotesSource({});
    setEngineTrendOpener({});
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(opened, QStringList{"HB-IJK/2"});
    EXPECT_FALSE(plot->HasFlights());

    user.Then([&](ZafDialogWindow& dialog) {
        EXPECT_TRUE(dialog.Get("B_TREND").as<QWidget>()->isHidden());
        ClickIn(dialog, "B_CANCEL");
    });
    delete plot.data();
    plot = new Plot2D();
    EXPECT_TRUE(user.Done());
}

class ViewerCommand : public MainWindowFixture {};

TEST_F(ViewerCommand, PlotOnTheMainMenuOpensTheViewerBesideTheMainWindow) {
    QTemporaryDir data;
    QSettings().setValue(QStringLiteral("DataDir"), data.path());
    open();
    toMainMenu();
    press(VK::F8);
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Critical, " TOLM for QUOR ", "No data exists for plotting"}}));
    EXPECT_EQ(zafWindowManager()->Get("Plot2D"), nullptr);

    TestRawFile().flight(2, 77).flight(9, 78).write(data.filePath("HB-IJK_data/engine_1/a.raw"));
    ModalUser user("SelectDialog");
    user.Then([](ZafDialogWindow& dialog) {
        ASSERT_EQ(flightList(dialog)->count(), 2);
        flightList(dialog)->selectAll();
        ClickIn(dialog, "B_OK");
    });
    onPage("B4").as<QAbstractButton>()->click();
    testenv::pump();
    QPointer<Plot2D> plot = qobject_cast<Plot2D*>(zafWindowManager()->Get("Plot2D"));
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->isVisible());
    EXPECT_TRUE(plot->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(plot->Chart()->LegendLabels(), QStringList({"Flight 78", "Flight 77"}));
    delete plot.data();
    EXPECT_EQ(user.unexpected, 0);
}
