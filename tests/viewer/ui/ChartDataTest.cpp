// The chart's data object, what it shows of it, when it draws, its ranges, and fonts from texts.
#include <QSignalSpy>
#include <algorithm>

#include "tests/viewer/ui/ChartFixture.h"
#include "viewer/ui/ChartScale.h"
#include "viewer/ui/ChartStyle.h"

TEST_F(ChartTest, SetsKeepTheirOwnArraysHiddenOnesLeaveTheDrawingAndARebuildDrawsOnce) {
    EXPECT_FALSE(chart.HasData());
    EXPECT_EQ(chart.LastSet(), -1);
    chart.CreateChart(Xrt2dPlot::GeneralData, 3, 26);
    EXPECT_EQ(chart.LastSet(), 2);
    EXPECT_EQ(chart.LastPoint(2), 25);
    EXPECT_EQ(chart.LastPoint(3), -1);

    const std::vector<double> x{1, 2, 3, 4}, y{0.5, -1.25, 2.0, 7.0};
    chart.SetPoints(1, x, y);  // shorter than the set: fills its front
    chart.SetY(1, 25, 9.5);
    EXPECT_EQ(chart.X(1, 3), 4.0);
    EXPECT_EQ(chart.Y(1, 1), -1.25);
    EXPECT_EQ(chart.X(1, 4), 0.0);
    EXPECT_EQ(chart.YData(1).size(), 26u);
    EXPECT_EQ(chart.YData(1)[25], 9.5);
    // Writing past a set's end touches no neighbour; reading there gives 0.
    chart.SetY(0, 26, 5.0);
    chart.SetX(-1, 0, 5.0);
    EXPECT_EQ(chart.Y(1, 0), 0.5);
    EXPECT_EQ(chart.Y(0, 26), 0.0);
    for (int s : {0, 2}) {
        EXPECT_TRUE(std::ranges::all_of(chart.YData(s), [](double v) { return v == 0.0; })) << s;
    }

    chart.ShowSet(1, false);
    chart.ReplaceData(Xrt2dPlot::GeneralData, 26, 512);
    EXPECT_EQ(chart.LastSet(), 25);
    EXPECT_EQ(chart.LastPoint(25), 511);
    EXPECT_EQ(chart.Y(1, 1), 0.0);
    EXPECT_TRUE(chart.SetShown(1));  // a new data object shows every set

    // Hidden sets leave the drawing and the legend.
    chart.SetLegendLabels({"Flight 11", "Flight 12", "Flight 13", QString()});
    Fill(4, 26, 1.0, 1.0, [](int s, int) { return s + 1.0; });
    EXPECT_EQ(chart.Canvas()->legend->itemCount(), 3);  // the unlabelled set has no entry
    const QColor second = chart.DataStyle(1).color;
    EXPECT_GT(CountPixels(Grab(), second), 0);
    // The legend's frame is drawn whole, its right edge too (inside the chart).
    const QRect frame = chart.Canvas()->legend->outerRect();
    const QImage image = Grab();
    const QRect rightEdge = QRect(frame.right() - 1, frame.top(), 3, frame.height()) & image.rect();
    EXPECT_GE(CountPixels(image.copy(rightEdge), Qt::black, 60), frame.height() - 2);

    chart.ShowSet(1, false);
    chart.ResumeDrawing();
    EXPECT_FALSE(chart.SetShown(1));
    EXPECT_EQ(chart.Canvas()->legend->itemCount(), 2);
    EXPECT_EQ(CountPixels(Grab(), second), 0);
    EXPECT_FALSE(chart.PickPoint(1, PixelOf(1, 10)));

    chart.SetLegendLabels({});
    chart.ResumeDrawing();
    EXPECT_FALSE(chart.Canvas()->legend->visible());

    // A rebuild draws once, on resume.
    QSignalSpy redrawn(&chart, &Xrt2dPlot::redrawn);
    Fill(
        26, 1024, 0.0, 0.1024, [](int s, int p) { return std::sin(p * 0.01 * (s + 1)); }, false);
    chart.SetHeader({"Steady State Data: HB-IJK: Engine 1", "Pre-Defect"});
    chart.SetYAxisTitle("Magnitude (G)");
    chart.SetMarkerX(3.0);
    testenv::pump();
    EXPECT_EQ(redrawn.count(), 0);
    chart.ResumeDrawing();
    EXPECT_EQ(redrawn.count(), 1);
    testenv::pump();
    EXPECT_EQ(redrawn.count(), 1);  // no late second drawing

    // While drawing runs, changes made together are drawn together.
    chart.SetY(0, 0, 2.0);
    chart.SetY(0, 1, 2.0);
    chart.ShowSet(3, false);
    testenv::pump();
    EXPECT_EQ(redrawn.count(), 2);
}

TEST_F(ChartTest, AxesShowEveryPointAndValueLabelsAndTheCanvasFollowsTheWindowSize) {
    chart.resize(640, 420);
    testenv::pump();
    EXPECT_EQ(chart.Canvas()->size(), QSize(640, 420));
    chart.resize(900, 700);
    testenv::pump();
    EXPECT_EQ(chart.Canvas()->size(), QSize(900, 700));

    // Every point is shown until zoomed, and the origin is the bottom.
    Fill(1, 26, 1.0, 1.0, [](int, int p) { return 0.5 + p * 0.1; });
    const AxisBounds shown = chart.ShownXRange();
    EXPECT_LE(shown.lower, 1.0);
    EXPECT_GE(shown.upper, 26.0);
    chart.SetYOrigin(-0.4362);  // the smallest value of a time history
    EXPECT_EQ(chart.ShownYRange().lower, -0.4362);
    chart.SetY(0, 3, -2.0);  // data under the origin are not hidden
    EXPECT_LE(chart.ShownYRange().lower, -2.0);

    // Value labels replace the numbers.
    chart.SetValueLabels({{1.0, "TOC"}, {2.0, "TOD"}, {3.0, "AOD"}, {4.0, "AOA"}});
    chart.SetXAnnotation(Xrt2dPlot::Annotation::ValueLabels);
    Fill(2, 4, 1.0, 1.0, [](int s, int p) { return s + p * 0.5; });
    const QCPAxis* x = chart.Canvas()->xAxis;
    EXPECT_EQ(x->tickVectorLabels(), (QVector<QString>{"TOC", "TOD", "AOD", "AOA"}));
    chart.SetXAnnotation(Xrt2dPlot::Annotation::Values);
    chart.ResumeDrawing();
    EXPECT_FALSE(x->tickVectorLabels().contains("TOC"));
    EXPECT_TRUE(x->tickVectorLabels().contains("2"));
}

TEST(ChartScaleTest, RangesEndOnRoundNumbersAndHideNoDataAndFontsComeFromTheirTexts) {
    // Bins 1 to 26 drawn as points; four labelled values; a spectrum drawn as lines.
    EXPECT_EQ(RoundAxisBounds(1, 26, std::nullopt, true), (AxisBounds{0, 30}));
    EXPECT_EQ(RoundAxisBounds(1, 4, std::nullopt, true), (AxisBounds{0.75, 4.25}));
    EXPECT_EQ(RoundAxisBounds(0, 511 * 9.5367431640625, std::nullopt, false),
              (AxisBounds{0, 5000}));
    // The origin is the bottom unless data lie below it.
    EXPECT_EQ(RoundAxisBounds(0.5, 3.2, 0.0, false), (AxisBounds{0, 4}));
    EXPECT_EQ(RoundAxisBounds(-0.4362, 0.61, -0.4362, false).lower, -0.4362);
    EXPECT_LE(RoundAxisBounds(-2.0, 3.2, 0.0, false).lower, -2.0);
    // Data all at one value still get a range to draw in.
    const AxisBounds zeros = RoundAxisBounds(0, 0, 0.0, false);
    EXPECT_EQ(zeros.lower, 0.0);
    EXPECT_GT(zeros.upper, 0.0);
    const AxisBounds flat = RoundAxisBounds(7, 7, std::nullopt, false);
    EXPECT_LT(flat.lower, 7.0);
    EXPECT_GT(flat.upper, 7.0);

    const std::optional<QFont> times = ParseChartFont("Times, 10");
    ASSERT_TRUE(times);
    EXPECT_EQ(times->family(), "Times");
    EXPECT_EQ(times->pointSizeF(), 10.0);
    EXPECT_FALSE(times->bold());
    const std::optional<QFont> bold = ParseChartFont(" Courier New ,9, Bold");
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->family(), "Courier New");
    EXPECT_EQ(bold->pointSizeF(), 9.0);
    EXPECT_TRUE(bold->bold());
    EXPECT_FALSE(ParseChartFont("Times"));
    EXPECT_FALSE(ParseChartFont("Times, ten"));
    EXPECT_FALSE(ParseChartFont(", 10"));
}
