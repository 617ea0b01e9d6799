// What the chart shows for the plot window's choices, the rules that keep those choices, and what
// the user reads and saves of it: read-outs, tabulations, the waterfall export, and quor-raw's.
#include <QProcess>
#include <QSettings>
#include <cmath>
#include <functional>

#include "tests/viewer/ViewerFixture.h"
#include "viewer/ExportFile.h"
#include "viewer/PlotModel.h"
#include "viewer/PlotSettings.h"
#include "viewer/ReadOut.h"
#include "viewer/Spectrum.h"
#include "viewer/Tabulation.h"
#include "viewer/WaterfallExport.h"
#include "viewer/cli/QuorRaw.h"

using namespace tolm::viewer;
using viewertest::TestRawFile;
using Chart = ViewerTest;

namespace {

constexpr double kG = 0.0030518043793392844;

PlotChoices choose(PlotType type, int parameter, int bin = 0, int sample = 0) {
    return {.plotType = type, .parameter = parameter, .bin = bin, .lastSample = sample};
}

TestRawFile sampleFile() {
    TestRawFile f("HB-IJK", 2);
    f.flight(0, 7).flight(3, 7, 1).flight(5, 12);
    for (int r = 0; r < 26; ++r) {
        f.steadyValue(0, 10, r, r * 0.5f - 1.0f);
    }
    f.transientAverage(0, 3, 1, -1.5f);
    f.steadySamples(0, 2, [](int i) {
        return qint16(std::lround(1000 * std::cos(2 * M_PI * 114 * i / 1024)));
    });
    f.steadySamples(0, 5, [](int i) { return qint16(i); });
    return f;
}

PlotModel modelOf(const TestRawFile& f, PlotType type, int parameter, int sample = 0) {
    return PlotModel(
        {element(f, 0)},
        {.plotType = type, .parameter = parameter, .lastFlight = 7, .lastSample = sample});
}

QString text(const ChartContents& c, int point) {
    return ReadOut::of(c, 0, point)->text;
}

}  // namespace

TEST_F(Chart, SteadyA4RTransientValuesAndAveragesTimeHistoriesAndHiddenFlights) {
    const TestRawFile file = ThreeFlights();
    const QList<FlightDataElement> flights = flightsOf(file, 2);
    ChartContents c = PlotModel(flights, choose(PlotType::SteadyState, 10)).chart();
    ASSERT_EQ(c.sets.size(), 2);
    EXPECT_EQ(c.sets[1].x.size(), 26);
    EXPECT_EQ(c.sets[1].x[25], 26.0);
    EXPECT_EQ(c.sets[1].y[4], 10 + 2.0 - 3.0);
    EXPECT_EQ(c.legend, (QStringList{"Flight 7", "Flight 8"}));
    EXPECT_EQ(c.xTitle, "Bin #");
    EXPECT_EQ(c.yTitle, "A4R (Gpk)");
    EXPECT_EQ(c.header,
              (QStringList{"Steady State Data: HB-IJK: Engine 2", "Pre-Defect", "Window: None"}));
    EXPECT_TRUE(c.footer.isEmpty());
    EXPECT_FALSE(c.xAnnotatedByLabels);
    EXPECT_EQ(c.yOrigin, -3.0);  // A4R starts at its lowest value
    EXPECT_EQ(c.drawing, SetDrawing::Points);
    EXPECT_TRUE(c.showLegend);

    EXPECT_EQ(PlotModel(flights, choose(PlotType::SteadyState, 11)).chart().yOrigin, 0.0);

    const QList<FlightDataElement> ten(10, element(file, 0));
    const ChartContents many = PlotModel(ten, choose(PlotType::SteadyState, 10)).chart();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(many.sets[i].secondLinePattern, i >= 8) << i;
    }

    // Transient values of one bin.
    c = PlotModel(flights, choose(PlotType::Transient, 18, 1)).chart();
    ASSERT_EQ(c.sets.size(), 2);
    EXPECT_EQ(c.sets[1].y,
              (QVector<double>{1100, 1101, 1102, 1103, 1104, 1105, 1106, 1107, 1108, 1109}));
    EXPECT_EQ(c.footer, (QStringList{"", "Top Of Descent"}));
    EXPECT_EQ(c.header[0], "Transient Data: HB-IJK: Engine 2");
    EXPECT_TRUE(c.xTitle.isEmpty());
    EXPECT_FALSE(c.xAnnotatedByLabels);
    EXPECT_TRUE(PlotMenus::of(PlotType::Transient, 18).transientBinEnabled);

    // 6, A3B_avg: the averages of the four bins, whatever the bin; the footer names it.
    c = PlotModel(flights, choose(PlotType::Transient, 6, 3)).chart();
    EXPECT_EQ(c.sets[1].x, (QVector<double>{1, 2, 3, 4}));
    EXPECT_EQ(c.sets[1].y, (QVector<double>{10.25, 11.25, 12.25, 13.25}));
    EXPECT_TRUE(c.xAnnotatedByLabels);
    EXPECT_EQ(c.valueLabels, (QList<ValueLabel>{{1, "TOC"}, {2, "TOD"}, {3, "AOD"}, {4, "AOA"}}));
    EXPECT_EQ(c.footer, (QStringList{"", "A3B_avg"}));
    for (int id : {0, 1, 2, 3, 6, 9}) {
        EXPECT_FALSE(PlotMenus::of(PlotType::Transient, id).transientBinEnabled) << id;
    }

    // TR4R_avg has no transient data: no sets, not the previous plot's; steady shows it again.
    PlotModel model(flights, choose(PlotType::SteadyState, 1));
    model.setPlotType(PlotType::Transient);
    EXPECT_TRUE(model.chart().sets.isEmpty());
    EXPECT_EQ(model.chart().header[0], "Transient Data: HB-IJK: Engine 2");
    const PlotMenus menus = model.menus();
    EXPECT_FALSE(menus.parameterEnabled[1] || menus.parameterEnabled[2]);
    EXPECT_TRUE(menus.parameterEnabled[0] && menus.parameterEnabled[22]);
    model.setPlotType(PlotType::SteadyState);
    EXPECT_EQ(model.chart().sets.size(), 2);
    EXPECT_TRUE(model.menus().parameterEnabled[1]);
    EXPECT_FALSE(model.menus().transientBinEnabled);

    // Time histories in G, their record in the footer.
    model = PlotModel(flights, choose(PlotType::SteadyState, 20, 0, 4));
    c = model.chart();
    ASSERT_EQ(c.sets[0].x.size(), 1024);
    EXPECT_EQ(c.sets[0].x[10], 10 * 0.1024);
    EXPECT_EQ(c.sets[0].y[0], -500 * kG);
    EXPECT_EQ(c.sets[1].y[1000], 1000 * kG);
    EXPECT_EQ(c.yOrigin, -1000 * kG);
    EXPECT_EQ(c.xTitle, "Time History (ms)");
    EXPECT_EQ(c.yTitle, "Magnitude (G)");
    EXPECT_EQ(c.footer, QStringList{"Bin #5"});
    EXPECT_EQ(c.drawing, SetDrawing::Lines);
    EXPECT_EQ(model.sampleList().title, "Bin #");
    EXPECT_EQ(model.sampleList().selected, 4);

    model.setBin(2);
    model.setPlotType(PlotType::Transient);
    model.chooseSample(2);
    c = model.chart();
    EXPECT_EQ(c.sets[0].y[7], 21 * kG);
    EXPECT_EQ(c.footer, (QStringList{"", "Time History #3 (All Other Decels)"}));
    EXPECT_EQ(model.sampleList().title, "Time History #");

    model.setParameter(21);  // the same record's spectrum
    c = model.chart();
    EXPECT_EQ(c.xTitle, "Frequency (Hz)");
    EXPECT_EQ(c.sets[0].x[3], 3 * 9.5367431640625);
    EXPECT_EQ(c.sets[0].y[0], 0.0);
    const Spectrum::Values expected = Spectrum::ofRecord(
        flights[0].transientSamples(2, 2), FftWindow::None, Spectrum::RecordKind::Transient);
    EXPECT_EQ(c.sets[0].y[5], expected[5]);

    // Flights hidden from the set-up dialog stay hidden across redraws.
    model = PlotModel(flightsOf(file, 3), choose(PlotType::SteadyState, 10));
    EXPECT_EQ(PlotModel::setupValue(1, false), 2147483649u);
    EXPECT_EQ(PlotModel::setupValue(1, true), 1u);
    model.applySetupValue(2147483649u);
    model.setParameter(13);
    model.setPlotType(PlotType::Transient);
    c = model.chart();
    EXPECT_TRUE(c.sets[0].shown && c.sets[2].shown);
    EXPECT_FALSE(c.sets[1].shown);
    EXPECT_EQ(model.setupFlights(), (QList<SetupFlight>{{"7", true}, {"8", false}, {"9", true}}));
    EXPECT_TRUE(model.setupFlightsEnabled());
    model.applySetupValue(1);
    EXPECT_TRUE(model.chart().sets[1].shown);
    model.setParameter(kWaterfallFft);
    EXPECT_FALSE(model.setupFlightsEnabled());
}

TEST_F(Chart, WaterfallOffsetsEachRecordHidesTheEmptyOnesAndSampleListsChooseItsFlight) {
    TestRawFile file("HB-IJK", 1);
    file.flight(0, 31).flight(1, 32, 1);
    file.steadySamples(1, 0, [](int i) { return qint16(800 * std::sin(i * 0.2)); });
    file.steadySamples(1, 3, [](int i) { return qint16(i % 50); });
    PlotModel model(flightsOf(file, 2), {.parameter = 22,
                                         .lastFlight = 32,
                                         .lastSample = 0,
                                         .window = FftWindow::Hanning,
                                         .memoryType = 1});
    model.setShown(1, false);  // the shown flags are not the waterfall's
    ChartContents c = model.chart();

    ASSERT_EQ(c.sets.size(), 26);
    EXPECT_EQ(c.header, (QStringList{"Steady State Frequency Spectra: HB-IJK: Engine 1",
                                     "Post-Defect", "Window: Hanning"}));
    EXPECT_EQ(c.footer, QStringList{"Flight #32"});
    EXPECT_EQ(c.waterfallFlight, 32);
    EXPECT_EQ(c.yTitle, "Bin");
    for (int r = 0; r < 26; ++r) {
        EXPECT_EQ(c.sets[r].shown, r == 0 || r == 3) << r;
        EXPECT_EQ(c.sets[r].y[0], r + 1.0);
        EXPECT_EQ(c.sets[r].y[1], r + 1.0);  // steady state with Hanning clears bin 1 too
    }
    const Spectrum::Values expected = Spectrum::ofRecord(
        element(file, 1).steadySamples(3), FftWindow::Hanning, Spectrum::RecordKind::SteadyState);
    EXPECT_EQ(c.sets[3].y[20], expected[20] + 4.0);
    EXPECT_TRUE(c.legend.isEmpty());
    EXPECT_FALSE(c.showLegend);
    EXPECT_TRUE(c.singleColour);
    EXPECT_EQ(c.drawing, SetDrawing::Lines);

    model.setPlotType(PlotType::Transient);
    model.setBin(3);
    c = model.chart();
    EXPECT_EQ(c.sets.size(), 10);
    EXPECT_EQ(c.header[0], "Transient Frequency Spectra: HB-IJK: Engine 1");
    EXPECT_EQ(c.footer, (QStringList{"Flight #32", "All Other Accels"}));
    EXPECT_EQ(c.sets[4].y[1], 5.0 + 0.0);  // transient records clear bin 0 only: zeros here
    EXPECT_FALSE(c.sets[4].shown);

    // Sample lists, and the waterfall's flight.
    TestRawFile fives;
    fives.flight(0, 5).flight(1, 6).flight(2, 5).steadySamples(2, 0, [](int) { return 7; });
    model = PlotModel(flightsOf(fives, 3), {.lastFlight = 99, .lastSample = 0},
                      PlotModel::Remember::Yes);
    SampleList list = model.sampleList();
    EXPECT_FALSE(list.enabled);
    EXPECT_TRUE(list.title.isEmpty());
    EXPECT_EQ(list.items.size(), 26);
    EXPECT_EQ(list.items[25], (SampleItem{"26", 25}));

    // A remembered flight that is not in the selection: the first, written back.
    model.setParameter(kWaterfallFft);
    list = model.sampleList();
    EXPECT_EQ(list.title, "Flight #");
    EXPECT_EQ(list.items, (QList<SampleItem>{{"5", 5}, {"6", 6}, {"5", 5}}));
    EXPECT_EQ(model.choices().lastFlight, 5);
    EXPECT_EQ(QSettings().value("Plot2D_LastFlight").toInt(), 5);
    EXPECT_FALSE(model.chart().sets[0].shown);

    // The third item is the second flight 5, and plots its own block.
    model.chooseSample(2);
    EXPECT_EQ(model.sampleList().selected, 2);
    EXPECT_TRUE(model.chart().sets[0].shown);
}

TEST_F(Chart, PlotSettingsDefaultsStoringAtOnceAndTheRangeOfEachStoredKey) {
    EXPECT_EQ(PlotSettings::load(), PlotChoices{});
    const PlotChoices d;
    EXPECT_EQ(d.plotType, PlotType::SteadyState);
    EXPECT_EQ(Parameters::name(d.parameter), "A4R");
    EXPECT_EQ(TransientBins::name(d.bin), "Top Of Climb");
    EXPECT_FALSE(d.xGrid || d.yGrid);
    EXPECT_EQ(FftWindows::name(d.window), "None");

    PlotModel model(flightsOf(ThreeFlights(), 2), PlotSettings::load(), PlotModel::Remember::Yes);
    model.setWindow(FftWindow::Hamming);
    model.setXGrid(true);
    model.setParameter(kFft);  // no remembered record: the first, written back
    EXPECT_EQ(QSettings().value("Plot2D_FFT_WINDOW_TYPE").toInt(), 2);
    EXPECT_TRUE(QSettings().value("Plot2D_XGrid").toBool());
    EXPECT_EQ(QSettings().value("Plot2D_ParmType").toInt(), 21);
    EXPECT_EQ(QSettings().value("Plot2D_LastSample").toInt(), 0);
    model.chooseSample(25);
    model.setPlotType(PlotType::Transient);  // record 26 is no transient record
    EXPECT_EQ(model.choices().lastSample, 0);
    EXPECT_EQ(QSettings().value("Plot2D_PlotType").toInt(), 1);
    EXPECT_EQ(PlotSettings::load(), model.choices());

    // A store written by another version, or by hand, may hold anything: each key is taken only
    // within its own range, its last valid value included, and otherwise reads as its default.
    testenv::clearSettings();
    const struct {
        const QString& key;
        int highest;
        std::function<void(PlotChoices&, int)> set;
    } keys[] = {
        {PlotSettings::kPlotTypeKey, 1, [](auto& c, int v) { c.plotType = PlotType(v); }},
        {PlotSettings::kParmTypeKey, kParameterCount - 1, [](auto& c, int v) { c.parameter = v; }},
        {PlotSettings::kBinKey, kTransientBins - 1, [](auto& c, int v) { c.bin = v; }},
        {PlotSettings::kWindowKey, kFftWindowCount - 1,
         [](auto& c, int v) { c.window = FftWindow(v); }},
        {PlotSettings::kMemTypeKey, 1, [](auto& c, int v) { c.memoryType = v; }},
    };
    for (const auto& k : keys) {
        for (const QVariant& stored : {QVariant(-1), QVariant(k.highest + 1), QVariant("2x"),
                                       QVariant(k.highest), QVariant(0)}) {
            SCOPED_TRACE(qPrintable(k.key + " = " + stored.toString()));
            QSettings().setValue(k.key, stored);
            PlotChoices expected;
            if (stored.toString() != "2x" && stored.toInt() >= 0 && stored.toInt() <= k.highest) {
                k.set(expected, stored.toInt());
            }
            EXPECT_EQ(PlotSettings::load(), expected);
            QSettings().remove(k.key);
        }
    }
    QSettings().setValue(PlotSettings::kMemTypeKey, 2);
    EXPECT_EQ(PlotSettings::readMemoryType(), 0);
}

TEST_F(Chart, DataStatusOfEachFlightAndTheGlobalIndicator) {
    TestRawFile file;
    file.flight(0, 7).flight(1, 8).flight(2, 9);
    file.steadyValue(0, 10, 25, -0.5f);       // a negative A4R value
    file.steadyValue(1, 9, 0, -1.0f);         // another steady row does not count
    file.transientValue(2, 9, 3, 9, -0.01f);  // the last of the 400 transient values
    const DataStatus status = DataStatus::of(flightsOf(file, 3));
    EXPECT_EQ(
        status.entries,
        (QList<DataStatusEntry>{
            {"Flight 7 - Steady State Status Suspect", "Flight 7 - Transient Data Status OK"},
            {"Flight 8 - Steady State Status OK", "Flight 8 - Transient Data Status OK"},
            {"Flight 9 - Steady State Status OK", "Flight 9 - Transient Data Status Suspect"}}));
    EXPECT_EQ(status.indicatorImage(), "BadData");
    EXPECT_EQ(DataStatus::of(flightsOf(file, 3).mid(1, 1)).indicatorImage(), "GoodData");
}

TEST_F(Chart, ReadOutsTabulationsAndTheWaterfallExportAsQuorRawPrintsThem) {
    const TestRawFile f = sampleFile();
    const ChartContents a4r = modelOf(f, PlotType::SteadyState, 10).chart();
    EXPECT_EQ(text(a4r, 4), "Flight 7: X =        5  Y =        1");
    EXPECT_EQ(ReadOut::of(a4r, 0, 4)->background, (Rgb{204, 204, 255}));
    EXPECT_EQ(ReadOut::of(a4r, 0, 0)->background, (Rgb{255, 255, 0}));
    EXPECT_EQ(ReadOut::of(a4r, 0, 4)->markerX, 5.0);
    EXPECT_FALSE(ReadOut::of(a4r, 0, 26));
    EXPECT_FALSE(ReadOut::of(a4r, 1, 0));

    EXPECT_EQ(text(modelOf(f, PlotType::Transient, 3).chart(), 1), "Flight 7: X = TOD  Y = -1.5");
    EXPECT_EQ(text(modelOf(f, PlotType::SteadyState, 20, 5).chart(), 3),
              "Flight 7: X =   0.3072 (ms)  Y = 0.0091554");
    const ChartContents fft = modelOf(f, PlotType::SteadyState, 21, 2).chart();
    EXPECT_EQ(text(fft, 114), "Flight 7:  1087.19 (Hz)     3.143 (G)");
    EXPECT_EQ(text(fft, 10), "Flight 7:    95.37 (Hz)     0.000 (G)");
    EXPECT_EQ(text(modelOf(f, PlotType::SteadyState, 22).chart(), 10), "Frequency :  95.3674 (Hz)");

    // The tabulation lists the points in the shown range.
    Tabulation t = Tabulation::of(a4r, 0);
    EXPECT_EQ(t.tag, "Selected Flight: Flight 7");
    EXPECT_EQ(t.header1, "Steady State Data: HB-IJK: Engine 2  Pre-Defect");
    EXPECT_EQ(t.header2, "  ");
    EXPECT_EQ(t.header3, "Parameter: A4R (Gpk)");
    ASSERT_EQ(t.rows.size(), 26);
    EXPECT_EQ(t.rows[0].text, "Bin #         1        -1");
    EXPECT_EQ(t.rows[25].text, "Bin #        26      11.5");

    // After a zoom to 5..10 only those points, each row still naming its point.
    t = Tabulation::of(a4r, 0, XRange{5.0, 10.0});
    ASSERT_EQ(t.rows.size(), 6);
    EXPECT_EQ(t.rows[0], (TabulationRow{4, "Bin #         5         1"}));
    EXPECT_EQ(t.rowOfPoint(9), 5);
    EXPECT_EQ(t.rowOfPoint(3), -1);
    EXPECT_EQ(t.fileText(),
              "Selected Flight: Flight 7\nSteady State Data: HB-IJK: Engine 2  Pre-Defect\n  \n"
              "Parameter: A4R (Gpk)\n\n"
              "Bin #         5         1\nBin #         6       1.5\nBin #         7         2\n"
              "Bin #         8       2.5\nBin #         9         3\nBin #        10       3.5\n");

    t = Tabulation::of(fft, 0, XRange{95.0, 100.0});
    ASSERT_EQ(t.rows.size(), 1);
    EXPECT_EQ(t.rows[0].text, "   10     95.37 (Hz)     0.000 (G)");
    EXPECT_EQ(t.header2, "Bin #3  ");
    EXPECT_TRUE(Tabulation::of(fft, 1).rows.isEmpty());

    EXPECT_EQ(Tabulation::withTxtSuffix("/a/list"), "/a/list.txt");
    EXPECT_EQ(Tabulation::withTxtSuffix("/a/list.txt"), "/a/list.txt");
    EXPECT_EQ(Tabulation::withTxtSuffix("/a/list.TXT"), "/a/list.TXT.txt");

    // The waterfall export, byte for byte.
    ChartContents c;
    c.parameter = kWaterfallFft;
    c.waterfallFlight = 31;
    c.header = {"Transient Frequency Spectra: HB-IJK: Engine 1", "Pre-Defect", "Window: None"};
    c.footer = {"Flight #31", ""};
    for (double y : {1.0, 2.5, 3.25}) {
        c.sets.append(
            DataSet{{0.0, 9.5367431640625, 19.073486328125}, {y + 0.00001234, y, -y}, y != 2.5});
    }
    EXPECT_EQ(WaterfallExport::csv(c, XRange{5.0, 20.0}),
              "Flight #31\nTransient Frequency Spectra: HB-IJK: Engine 1\nPre-Defect\nFlight #31\n"
              "9.5367,1,2.5,3.25\n19.073,-1,-2.5,-3.25\n");
    EXPECT_TRUE(WaterfallExport::csv(c).contains("\n0,1,2.5,3.25\n"));
    EXPECT_EQ(WaterfallExport::withCsvSuffix("w"), "w.csv");

    // A file that cannot be created: nothing written, the caller told.
    EXPECT_FALSE(ExportFile::write(data.path() + "/none/w.csv", "x"));
    EXPECT_TRUE(ExportFile::write(data.path() + "/w.csv", "x"));
    EXPECT_EQ(QFileInfo(data.path() + "/w.csv").size(), 1);

    const ChartContents steady = modelOf(f, PlotType::SteadyState, 22).chart();
    const QList<QByteArray> lines = WaterfallExport::csv(steady).split('\n');
    EXPECT_EQ(lines[3], "Flight #7");
    EXPECT_EQ(lines[4].count(','), 26);  // hidden records included
    EXPECT_EQ(lines.size(), 4 + 512 + 1);

    // quor-raw prints what the windows show and save.
    const QString raw = f.write(rawPath("HB-IJK", 2, "a.raw"));
    TestRawFile("N2").flight(0, 3).write(rawPath("N2", 1, "b.raw"));
    QByteArray err;  // of the last run
    const auto run = [&err](QStringList args) {
        QByteArray out;
        err.clear();
        const int status = QuorRaw::run(args, out, err);
        return status == 0 ? out : QByteArray("exit ") + QByteArray::number(status);
    };

    EXPECT_EQ(run({"aircraft", data.path()}), "HB-IJK\nN2\n");
    FlightSelection selection(scan().flights, "HB-IJK", 0);
    selection.setEngine(2);
    EXPECT_EQ(
        run({"flights", data.path(), "--aircraft", "HB-IJK", "--engine", "2", "--memory", "0"}),
        (selection.items()[0].text + "\n" + selection.items()[1].text + "\n").toLocal8Bit());

    EXPECT_EQ(run({"tabulate", raw, "--flight", "7", "--memory", "0", "--parameter", "fft",
                   "--record", "3", "--xmin", "90", "--xmax=200"}),
              Tabulation::of(fft, 0, XRange{90, 200}).fileText());
    EXPECT_EQ(run({"tabulate", raw, "--flight", "7", "--memory", "0", "--parameter", "A4R"}),
              Tabulation::of(modelOf(f, PlotType::SteadyState, 10).chart(), 0).fileText());
    const PlotChoices hamming{.plotType = PlotType::Transient,
                              .parameter = kWaterfallFft,
                              .bin = 1,
                              .window = FftWindow::Hamming};
    EXPECT_EQ(run({"csv", raw, "--flight", "12", "--mode", "transient", "--bin", "1", "--window",
                   "HAMMING"}),
              WaterfallExport::csv(PlotModel({element(f, 5)}, hamming).chart()));

    // Exit status 2, with a message, for bad arguments and unreadable files.
    EXPECT_EQ(run({"tabulate", raw, "--flight", "7", "--parameter", "A4R"}), "exit 2");
    EXPECT_TRUE(err.contains("flight 7 is in both memories; choose one with --memory"))
        << err.constData();
    // A "%1" in the file's path stays as it is (it once took the flight number's place).
    const QString percent = f.write(data.path() + "/p%1x%2/a%1.raw");
    EXPECT_EQ(run({"tabulate", percent, "--flight", "13", "--memory", "1", "--parameter", "A4R"}),
              "exit 2");
    EXPECT_TRUE(err.contains((percent + " holds no flight 13 in memory 1\n").toLocal8Bit()))
        << err.constData();
    for (const QStringList& bad : QList<QStringList>{
             {},
             {"plot"},
             {"aircraft"},
             {"aircraft", data.path() + "/none"},
             {"flights", data.path(), "--aircraft", "N2", "--engine", "3", "--memory", "0"},
             {"flights", data.path(), "--aircraft", "N3", "--engine", "1", "--memory", "0"},
             {"tabulate", raw, "--flight", "12", "--parameter", "nothing"},
             {"tabulate", raw, "--flight", "12", "--parameter", "Waterfall FFT"},
             {"tabulate", raw, "--flight", "12", "--parameter", "TR4R_avg", "--mode", "transient"},
             {"tabulate", raw, "--flight", "12", "--parameter", "FFT", "--mode", "transient",
              "--record", "11"},
             {"tabulate", raw, "--flight", "13", "--parameter", "A4R"},
             {"csv", raw, "--flight", "12", "--window", "Blackman"},
             {"csv", raw, "--flight", "12", "--bin"},
             {"csv", data.path(), "--flight", "12"}}) {
        EXPECT_EQ(run(bad), "exit 2") << bad.join(' ').toStdString();
        EXPECT_FALSE(err.isEmpty());
    }
    f.write(raw, 1000);
    EXPECT_EQ(run({"csv", raw, "--flight", "12"}), "exit 2");
    EXPECT_EQ(err, "quor-raw csv: Failed to read data block: a.raw\nTry: quor-raw csv --help\n");

    // The program itself: help, output and status.
    QProcess program;
    const auto start = [&program](const QStringList& args) {
        program.start(testenv::binDir() + "/quor-raw", args);
        return program.waitForFinished();
    };
    ASSERT_TRUE(start({"csv", "--help"}));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("Usage: quor-raw csv RAW"));
    ASSERT_TRUE(start({"aircraft", data.path()}));
    EXPECT_EQ(program.readAllStandardOutput(), "N2\n");
    EXPECT_EQ(program.readAllStandardError(),
              "Error - SelectDialog::ExtractFlightInfo: Failed to read data block: a.raw\n");
    ASSERT_TRUE(start({"flights", data.path()}));
    EXPECT_EQ(program.exitCode(), 2);
}
