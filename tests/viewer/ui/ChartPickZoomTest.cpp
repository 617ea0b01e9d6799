// Reading the chart with the mouse: picking points and sets, the marker and the text box, zoom.
#include <QSignalSpy>
#include <QWheelEvent>

#include "tests/viewer/ui/ChartFixture.h"

namespace {

// A window around the chart that records the events handed on to it.
class EnclosingWindow : public ZafWindow {
public:
    ZafEventType Event(const ZafEventStruct& event) override {
        received.push_back(event.type);
        return S_UNKNOWN;
    }
    std::vector<ZafEventType> received;
};

double spectrum(int set, int p) {
    return (set + 1) * std::exp(-std::pow((p - 100 * (set + 1)) / 12.0, 2)) + 0.01 * set;
}

}  // namespace

TEST_F(ChartTest, APointsPixelPicksItBackARubberBandZoomsUntilResetTheWheelAboutThePointer) {
    LinesOnly(2);
    Fill(2, 512, 0.0, 9.5367431640625, spectrum);
    QSignalSpy moved(&chart, &Xrt2dPlot::mouseMoved);
    for (int set : {0, 1}) {
        for (int point : {0, 1, 100, 200, 311, 511}) {
            const QPoint pixel = PixelOf(set, point);
            QTest::mouseMove(chart.Canvas(), pixel);
            ASSERT_EQ(chart.LastMousePosition(), pixel);
            EXPECT_EQ(chart.PickPoint(set, chart.LastMousePosition()), point)
                << "set " << set << " point " << point;
            const QPointF data = chart.PixelToData(pixel);
            const QPointF onePixel =
                chart.PixelToData(pixel + QPoint(1, 1)) - chart.PixelToData(pixel);
            EXPECT_NEAR(data.x(), chart.X(set, point), std::abs(onePixel.x()));
            EXPECT_NEAR(data.y(), chart.Y(set, point), std::abs(onePixel.y()));
        }
    }
    EXPECT_EQ(moved.count(), 12);
    // Outside the plot area nothing is picked; neither in a hidden set.
    EXPECT_FALSE(chart.PickPoint(0, chart.PlotArea().topLeft() - QPoint(10, 10)));
    chart.ShowSet(1, false);
    EXPECT_FALSE(chart.PickPoint(1, PixelOf(1, 200)));

    // A rubber band zooms to its rectangle until reset.
    Fill(2, 26, 1.0, 1.0, [](int s, int p) { return s + p * 0.1; });
    const AxisBounds whole = chart.ShownXRange();
    QSignalSpy zoomed(&chart, &Xrt2dPlot::zoomChanged);

    // Drag from left of x = 5 to right of x = 10, over the whole height of the data.
    const QPoint from(PixelOf(0, 4).x() - 3, chart.PlotArea().top() + 2);
    const QPoint to(PixelOf(0, 9).x() + 3, chart.PlotArea().bottom() - 2);
    QTest::mousePress(chart.Canvas(), Qt::LeftButton, {}, from);
    QTest::mouseMove(chart.Canvas(), (from + to) / 2);
    QTest::mouseMove(chart.Canvas(), to);
    QTest::mouseRelease(chart.Canvas(), Qt::LeftButton, {}, to);
    ASSERT_EQ(zoomed.count(), 1);
    EXPECT_TRUE(chart.Zoomed());
    const AxisBounds x = chart.ShownXRange();
    EXPECT_GT(x.lower, 4.0);
    EXPECT_LT(x.lower, 5.0);
    EXPECT_GT(x.upper, 10.0);
    EXPECT_LT(x.upper, 11.0);
    int inRange = 0;
    for (double v : chart.XData(0)) {
        inRange += v >= x.lower && v <= x.upper;
    }
    EXPECT_EQ(inRange, 6);

    // A redraw of the same plot keeps the zoom; a plot of another extent starts whole.
    Fill(2, 26, 1.0, 1.0, [](int s, int p) { return s + p * 0.2; });
    EXPECT_EQ(chart.ShownXRange(), x);
    chart.ResetZoom();
    EXPECT_EQ(zoomed.count(), 2);
    EXPECT_FALSE(chart.Zoomed());
    EXPECT_EQ(chart.ShownXRange(), whole);
    chart.ZoomToPixels(QRect(from, to));
    Fill(2, 512, 0.0, 9.5367431640625, spectrum);
    EXPECT_FALSE(chart.Zoomed());

    // A press and release that hardly move is a click, not a zoom.
    QTest::mousePress(chart.Canvas(), Qt::LeftButton, {}, from);
    QTest::mouseRelease(chart.Canvas(), Qt::LeftButton, {}, from + QPoint(2, 2));
    EXPECT_FALSE(chart.Zoomed());

    // The wheel zooms about the pointer.
    zoomed.clear();
    const QPoint at = chart.PlotArea().center() + QPoint(-100, 40);
    const QPointF under = chart.PixelToData(at);
    // Where the point under the pointer lies within the shown range, from 0 to 1 each way.
    auto share = [this](QPointF data) {
        const AxisBounds sx = chart.ShownXRange(), sy = chart.ShownYRange();
        return QPointF((data.x() - sx.lower) / (sx.upper - sx.lower),
                       (data.y() - sy.lower) / (sy.upper - sy.lower));
    };
    const QPointF before = share(under);
    const double width = chart.ShownXRange().upper - chart.ShownXRange().lower;
    QWheelEvent wheel(at, chart.Canvas()->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(chart.Canvas(), &wheel);
    ASSERT_EQ(zoomed.count(), 1);
    EXPECT_NEAR(chart.ShownXRange().upper - chart.ShownXRange().lower, width * 0.85 * 0.85,
                1e-9 * width);
    EXPECT_NEAR(share(under).x(), before.x(), 1e-9);
    EXPECT_NEAR(share(under).y(), before.y(), 1e-9);
}

TEST_F(ChartTest, AClickChoosesTheNearestSetAndReachesTheEnclosingWindow) {
    EnclosingWindow window;  // lends the chart for this test only: no early return below
    window.resize(800, 600);
    chart.setParent(&window);
    window.layout()->addWidget(&chart);
    window.show();
    chart.SetLegendLabels({"Flight 1", "Flight 2", "Flight 3"});
    LinesOnly(2);
    ChartStyle points = ChartStyle::Default(2);
    points.line = Qt::NoPen;
    chart.SetDataStyle(2, points);
    Fill(3, 26, 1.0, 1.0, [](int s, int) { return 1.0 + s; });  // y = 1, 2, 3

    QSignalSpy clicked(&chart, &Xrt2dPlot::clicked);
    const QPoint onLine = (PixelOf(1, 7) + PixelOf(1, 8)) / 2 + QPoint(0, 3);
    QTest::mouseClick(chart.Canvas(), Qt::LeftButton, {}, onLine);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(chart.PickSet(chart.LastMousePosition()), 1);
    EXPECT_EQ(window.received, std::vector<ZafEventType>{L_MOUSE_SELECT});

    // Between two points of a set drawn without a line, and far from the lines: nothing.
    const QPoint betweenSymbols = (PixelOf(2, 7) + PixelOf(2, 8)) / 2;
    EXPECT_GT((PixelOf(2, 8) - PixelOf(2, 7)).x(), 2 * Xrt2dPlot::PickTolerance);
    EXPECT_FALSE(chart.PickSet(betweenSymbols));
    EXPECT_EQ(chart.PickSet(PixelOf(2, 7) + QPoint(2, 2)), 2);
    EXPECT_FALSE(chart.PickSet((PixelOf(0, 7) + PixelOf(1, 7)) / 2));

    // A legend entry names its set.
    const QCPLegend* legend = chart.Canvas()->legend;
    EXPECT_EQ(chart.PickSet(legend->item(2)->outerRect().center()), 2);

    QTest::mouseDClick(chart.Canvas(), Qt::LeftButton, {}, onLine);
    EXPECT_EQ(window.received.back(), L_MOUSE_SELECT_2);
    chart.setParent(nullptr);
}

TEST_F(ChartTest, TheMarkerAndTheTextBoxAreDrawnOnlyWhereAndWhenShown) {
    Fill(1, 26, 1.0, 1.0, [](int, int p) { return p * 0.1; });
    auto markerPixels = [this] {
        const QImage image = Grab();
        const int column = qRound(chart.DataToPixel({12.5, 0.0}).x());
        const QRect area = chart.PlotArea();
        int n = 0;
        for (int y = area.top() + 1; y < area.bottom(); ++y) {
            n += image.pixelColor(column, y).value() < 100;
        }
        return n;
    };
    chart.SetMarkerX(12.5);
    chart.ResumeDrawing();
    EXPECT_EQ(markerPixels(), 0);
    chart.ShowMarker(true);
    chart.ResumeDrawing();
    EXPECT_GT(markerPixels(), chart.PlotArea().height() / 3);
    chart.SetMarkerX(1e308);  // off the chart: not drawn, and nothing breaks
    chart.ResumeDrawing();
    EXPECT_EQ(markerPixels(), 0);
    EXPECT_EQ(chart.MarkerX(), 1e308);

    // The text box shows its text on its background until removed.
    const QColor yellow(255, 255, 0);
    EXPECT_EQ(chart.TextBoxFont().family(), "Courier New");
    EXPECT_EQ(chart.TextBoxFont().pixelSize(), 12);
    chart.ShowTextBox("Flight 7: X =       13  Y =     -0.25", yellow);
    chart.ResumeDrawing();
    EXPECT_GT(CountPixels(Grab(), yellow, 0), 12 * 100);  // a line of text on yellow
    chart.ShowTextBox("Flight 7: X =       14  Y =       0.3", QColor(204, 204, 255));
    EXPECT_EQ(CountPixels(Grab(), yellow, 0), 0);
    EXPECT_GT(CountPixels(Grab(), QColor(204, 204, 255), 0), 12 * 100);
    chart.RemoveTextBox();
    EXPECT_EQ(CountPixels(Grab(), QColor(204, 204, 255), 0), 0);
}
