#pragma once
// Everything a chart shows apart from its pixels: the data sets with their points and whether
// each is shown, the legend, axis titles, value labels, header and footer lines, the y-axis
// origin and how the sets are drawn.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <limits>

#include "viewer/Parameters.h"

namespace tolm::viewer {

struct DataSet {
    QVector<double> x;
    QVector<double> y;  // as many points as x
    bool shown = true;
    bool secondLinePattern = false;  // the ninth and tenth flights
    bool operator==(const DataSet&) const = default;
};

struct ValueLabel {
    double x = 0.0;
    QString text;
    bool operator==(const ValueLabel&) const = default;
};

enum class SetDrawing { Points, Lines };  // symbols without lines, or lines without symbols

// The x range the chart shows (narrowed by a zoom); inclusive at both ends.
struct XRange {
    double min = -std::numeric_limits<double>::infinity();
    double max = std::numeric_limits<double>::infinity();
    bool contains(double x) const { return min <= x && x <= max; }
};

struct ChartContents {
    PlotType plotType = PlotType::SteadyState;
    int parameter = kA4R;

    QList<DataSet> sets;
    // "Flight %1" per chosen flight, in order, for the legend and the read-out; empty for
    // Waterfall FFT, which has no legend.
    QStringList legend;
    QString xTitle;
    QString yTitle;
    QStringList header;
    QStringList footer;
    // When set, the x axis is annotated by these labels instead of numbers.
    bool xAnnotatedByLabels = false;
    QList<ValueLabel> valueLabels;
    double yOrigin = 0.0;  // the lowest y shown

    SetDrawing drawing = SetDrawing::Points;
    bool singleColour = false;  // every set in one colour (Waterfall FFT)
    bool showLegend = true;

    int waterfallFlight = 0;  // the flight number of a Waterfall FFT

    bool isWaterfall() const { return parameter == kWaterfallFft; }
    bool isFft() const { return parameter == kFft; }
    // The set's legend label; empty when it has none.
    QString label(int set) const { return legend.value(set); }
    int pointCount() const { return sets.isEmpty() ? 0 : int(sets.first().x.size()); }
};

}  // namespace tolm::viewer
