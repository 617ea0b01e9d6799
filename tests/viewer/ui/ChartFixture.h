#pragma once
// A chart in a shown window of a fixed size, the scripted user installed, and data to fill it.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <cmath>
#include <vector>

#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "viewer/ui/ChartCanvas.h"
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

// How many pixels of `image` have `colour`, give or take the blending of smoothed edges.
inline int CountPixels(const QImage& image, QColor colour, int tolerance = 24) {
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
