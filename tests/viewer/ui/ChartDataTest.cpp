// The chart's data object, what it shows of it, and when it draws.
#include <QSignalSpy>

#include "tests/viewer/ui/ChartFixture.h"

TEST_F(ChartTest, SetsKeepTheirOwnArrays) {
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
    for (int s = 0; s <= 2; s += 2) {
        for (double v : chart.YData(s)) {
            ASSERT_EQ(v, 0.0);
        }
    }

    chart.ShowSet(1, false);
    chart.ReplaceData(Xrt2dPlot::GeneralData, 26, 512);
    EXPECT_EQ(chart.LastSet(), 25);
    EXPECT_EQ(chart.LastPoint(25), 511);
    EXPECT_EQ(chart.Y(1, 1), 0.0);
    EXPECT_TRUE(chart.SetShown(1));  // a new data object shows every set
}

TEST_F(ChartTest, HiddenSetsLeaveTheDrawingAndTheLegend) {
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
}

TEST_F(ChartTest, ARebuildDrawsOnceOnResume) {
    QSignalSpy redrawn(&chart, &Xrt2dPlot::redrawn);
    chart.SuspendDrawing();
    chart.ReplaceData(Xrt2dPlot::GeneralData, 26, 1024);
    std::vector<double> x(1024), y(1024);
    for (int s = 0; s < 26; ++s) {
        for (int p = 0; p < 1024; ++p) {
            x[p] = p * 0.1024;
            y[p] = std::sin(p * 0.01 * (s + 1));
        }
        chart.SetPoints(s, x, y);
    }
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

TEST_F(ChartTest, ValueLabelsReplaceTheNumbers) {
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

TEST_F(ChartTest, TheChartFillsItsWindowAndFollowsItsSize) {
    chart.resize(640, 420);
    testenv::pump();
    EXPECT_EQ(chart.Canvas()->size(), QSize(640, 420));
    chart.resize(900, 700);
    testenv::pump();
    EXPECT_EQ(chart.Canvas()->size(), QSize(900, 700));
}

TEST_F(ChartTest, EveryPointIsShownUntilZoomedAndTheOriginIsTheBottom) {
    Fill(1, 26, 1.0, 1.0, [](int, int p) { return 0.5 + p * 0.1; });
    const AxisBounds x = chart.ShownXRange();
    EXPECT_LE(x.lower, 1.0);
    EXPECT_GE(x.upper, 26.0);
    chart.SetYOrigin(-0.4362);  // the smallest value of a time history
    EXPECT_EQ(chart.ShownYRange().lower, -0.4362);
    chart.SetY(0, 3, -2.0);  // data under the origin are not hidden
    EXPECT_LE(chart.ShownYRange().lower, -2.0);
}
