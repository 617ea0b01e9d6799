// The chart in a shown window of a fixed size: its data, what it shows and when it draws, its
// ranges, reading it with the mouse, zoom, and the same scene on paper and in image files.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "viewer/ui/ChartCanvas.h"
#include "viewer/ui/ChartScale.h"
#include "viewer/ui/ChartStyle.h"
#include "viewer/ui/Xrt2dPlot.h"

class ChartTest : public ::testing::Test {
protected:
    ChartTest() {
        chart.resize(800, 600);
        chart.show();
        testenv::pump();
    }

    // `sets` sets of `points` points: X = p * step + first, Y = y(set, point); drawn if `draw`.
    template <class F>
    void Fill(int sets, int points, double first, double step, F y, bool draw = true) {
        chart.SuspendDrawing();
        chart.ReplaceData(Xrt2dPlot::GeneralData, sets, points);
        for (int s = 0; s < sets; ++s) {
            std::vector<double> xs(points), ys(points);
            for (int p = 0; p < points; ++p) {
                xs[p] = first + p * step;
                ys[p] = y(s, p);
            }
            chart.SetPoints(s, xs, ys);
        }
        if (draw) {
            chart.ResumeDrawing();
            testenv::pump();
        }
    }

    // Draws every set as a line without symbols.
    void LinesOnly(int sets) {
        for (int s = 0; s < sets; ++s) {
            ChartStyle style = ChartStyle::Default(s);
            style.symbol = ChartSymbol::None;
            chart.SetDataStyle(s, style);
        }
    }

    QPoint PixelOf(int set, int point) const { return chart.PointPixel(set, point).toPoint(); }

    // The chart as drawn on screen.
    QImage Grab() const { return chart.Canvas()->toPixmap().toImage(); }

    FakeDialogs dialogs;
    Xrt2dPlot chart;
};

namespace {

// How many pixels of `image` have `colour`, give or take the blending of smoothed edges.
int CountPixels(const QImage& image, QColor colour, int tolerance = 24) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) <= tolerance &&
                 std::abs(c.green() - colour.green()) <= tolerance &&
                 std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    }
    return n;
}

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

// What a PDF file says, through poppler's tools; empty when they are missing.
QString pdfTool(const QString& tool, const QString& file) {
    QProcess process;
    process.start(tool, tool == "pdftotext" ? QStringList{file, "-"} : QStringList{file});
    if (!process.waitForFinished(20000) || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool isPdf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
}

}  // namespace

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

TEST_F(ChartTest, AxesValueLabelsMarkerAndTextBoxShowWhatIsSetAndTheCanvasFollowsTheWindow) {
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

    // The marker is drawn only where and when shown.
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

TEST_F(ChartTest, PointsAndSetsPickedRubberBandAndWheelZoomAndClicksReachTheEnclosingWindow) {
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
            const QPointF onePixel = chart.PixelToData(pixel + QPoint(1, 1)) - data;
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
    const auto inRange = [&x](double v) { return v >= x.lower && v <= x.upper; };
    EXPECT_EQ(std::ranges::count_if(chart.XData(0), inRange), 6);

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

    // A click chooses the nearest set and reaches the enclosing window.
    EnclosingWindow window;  // lends the chart from here on: no early return below
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

TEST_F(ChartTest, PrintsOneLandscapePageAndSavesPngOrPdfByTheSuffix) {
    chart.SetHeader({"Steady State Data: HB-IJK: Engine 1", "Pre-Defect"});
    chart.SetFooter({"Bin #4"});
    chart.SetXAxisTitle("Frequency (Hz)");
    chart.SetYAxisTitle("Gpk (compensated)");
    chart.SetLegendLabels({"Flight 1207", "Flight 1208"});
    LinesOnly(2);
    Fill(2, 512, 0.0, 9.5367431640625, [](int s, int p) { return (s + 1) * (p % 64) / 64.0; });
    const QTemporaryDir dir;
    EXPECT_EQ(chart.Print(), Xrt2dPlot::PrintResult::Cancelled);  // no answer: cancelled
    const QString printed = dir.filePath("chart.pdf");
    dialogs.printFileAnswers = {dir.filePath("no such folder/chart.pdf"), printed};
    EXPECT_EQ(chart.Print(), Xrt2dPlot::PrintResult::Failed);
    EXPECT_EQ(chart.Print(), Xrt2dPlot::PrintResult::Printed);
    EXPECT_EQ(dialogs.printDialogsShown, 3);
    EXPECT_TRUE(dialogs.messages.empty());  // telling the user is the caller's
    ASSERT_TRUE(isPdf(printed));
    const QString info = pdfTool("pdfinfo", printed);
    if (!info.isEmpty()) {
        EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
        const QRegularExpressionMatch size =
            QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+)").match(info);
        ASSERT_TRUE(size.hasMatch());
        EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());
    }
    // Printing leaves the screen's scene as it was.
    EXPECT_EQ(chart.PickPoint(1, PixelOf(1, 100)), 100);

    const QString png = dir.filePath("chart.PNG");
    ASSERT_TRUE(chart.SaveImage(png));
    const QImage image(png, "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), chart.Canvas()->size());
    EXPECT_GT(CountPixels(image, chart.DataStyle(0).color), 100);
    EXPECT_GT(CountPixels(image, chart.DataStyle(1).color), 100);
    const QString pdf = dir.filePath("image.pdf");
    ASSERT_TRUE(chart.SaveImage(pdf));
    EXPECT_TRUE(isPdf(pdf));
    EXPECT_FALSE(chart.SaveImage(dir.filePath("chart.jpg")));
    EXPECT_FALSE(QFile::exists(dir.filePath("chart.jpg")));
    EXPECT_FALSE(chart.SaveImage(dir.filePath("no such folder/chart.png")));
    // The texts of the scene on paper and in the image, as a PDF reader finds them.
    for (const QString& file : {printed, pdf}) {
        const QString text = pdfTool("pdftotext", file);
        if (text.isEmpty()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        }
        for (const char* expected : {"Steady State Data: HB-IJK: Engine 1", "Pre-Defect", "Bin #4",
                                     "Frequency (Hz)", "Flight 1207", "Flight 1208"}) {
            EXPECT_TRUE(text.contains(expected)) << expected << " not in:\n" << text.toStdString();
        }
    }
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

    EXPECT_EQ(ParseChartFont("Times, 10"), QFont("Times", 10));
    EXPECT_EQ(ParseChartFont(" Courier New ,9, Bold"), QFont("Courier New", 9, QFont::Bold));
    EXPECT_FALSE(ParseChartFont("Times"));
    EXPECT_FALSE(ParseChartFont("Times, ten"));
    EXPECT_FALSE(ParseChartFont(", 10"));
}
