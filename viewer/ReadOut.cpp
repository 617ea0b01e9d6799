#include "viewer/ReadOut.h"

#include <cmath>

#include "viewer/CFormat.h"

namespace tolm::viewer {

std::optional<ReadOut> ReadOut::of(const ChartContents& chart, int set, int point) {
    if (set < 0 || set >= chart.sets.size() || point < 0 || point >= chart.sets[set].x.size()) {
        return std::nullopt;
    }
    const double x = chart.sets[set].x[point];
    const double y = chart.sets[set].y[point];
    const QByteArray label = chart.label(set).toLocal8Bit();
    const char* l = label.constData();

    ReadOut r;
    if (chart.parameter == kFft) {
        r.text = cFormatText("%s: %8.2f (Hz)  %8.3f (G)", l, x, y);
    } else if (chart.parameter == kWaterfallFft) {
        r.text = cFormatText("Frequency : %8.6g (Hz)", x);
    } else if (chart.plotType == PlotType::Transient && chart.parameter < 10) {
        const QByteArray bin = TransientBins::shortLabel(int(std::lround(x)) - 1).toLatin1();
        r.text = cFormatText("%s: X = %s  Y = %.5g", l, bin.constData(), y);
    } else if (chart.parameter == kTimeHistory) {
        r.text = cFormatText("%s: X = %8.4g (ms)  Y = %8.5g", l, x, y);
    } else {
        r.text = cFormatText("%s: X = %8.4g  Y = %8.5g", l, x, y);
    }
    r.background = y < 0.0 ? kNegative : kOther;
    r.markerX = x;
    return r;
}

}  // namespace tolm::viewer
