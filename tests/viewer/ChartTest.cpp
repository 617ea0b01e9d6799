// What the chart shows for the plot window's choices, and the rules that keep those choices.
#include <QSettings>
#include <cmath>
#include <functional>

#include "tests/viewer/ViewerFixture.h"
#include "viewer/PlotModel.h"
#include "viewer/PlotSettings.h"
#include "viewer/Spectrum.h"

using namespace tolm::viewer;
using viewertest::TestRawFile;
using Chart = ViewerTest;

namespace {

constexpr double kG = 0.0030518043793392844;

PlotChoices choose(PlotType type, int parameter, int bin = 0, int sample = 0) {
    return {.plotType = type, .parameter = parameter, .bin = bin, .lastSample = sample};
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
    PlotChoices choices = choose(PlotType::SteadyState, 22);
    choices.window = FftWindow::Hanning;
    choices.lastFlight = 32;
    choices.memoryType = 1;
    PlotModel model(flightsOf(file, 2), choices);
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
    fives.flight(0, 5).flight(1, 6).flight(2, 5);
    fives.steadySamples(2, 0, [](int) { return 7; });
    choices = choose(PlotType::SteadyState, 10);
    choices.lastFlight = 99;
    model = PlotModel(flightsOf(fives, 3), choices, PlotModel::Remember::Yes);
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
