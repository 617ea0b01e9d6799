#include "health/ui/TrendChart.h"

#include <cmath>

#include "health/ui/TrendReadOut.h"
#include "toolkit/ZafObject.h"

namespace tolm::health {

namespace {

ChartStyle normalStyle() {
    ChartStyle s = ChartStyle::Default(0);
    s.line = Qt::NoPen;
    s.symbol = ChartSymbol::Circle;
    s.symbolSize = 6;
    return s;
}

// Apart from the others by symbol and size as well as by colour.
ChartStyle alarmedStyle() {
    ChartStyle s;
    s.color = QColor(200, 0, 0);
    s.line = Qt::NoPen;
    s.symbol = ChartSymbol::Triangle;
    s.symbolSize = 9;
    return s;
}

const QColor kReadOutBackground(255, 255, 200);

}  // namespace

TrendChart::TrendChart(QWidget* parent) : Xrt2dPlot(parent) {
    ZafObject(parent).Add(this);
    CreateChart(GeneralData, 2, 0);
    SetXGrid(true);
    SetYGrid(true);
    connect(this, &Xrt2dPlot::mouseMoved, this, &TrendChart::ReadOutAt);
}

void TrendChart::Draw(const Trend& trend, const QString& title) {
    trend_ = trend;
    SuspendDrawing();
    ClearReadOut();
    pointsOf_[0].clear();
    pointsOf_[1].clear();
    QVector<double> xs[2], ys[2];
    const QList<TrendPoint>& points = trend.points();
    for (int i = 0; i < points.size(); ++i) {
        const int set = points[i].alarm != 0 ? kAlarmedSet : kNormalSet;
        pointsOf_[set].append(i);
        xs[set].append(points[i].x);
        ys[set].append(points[i].y);
    }
    // Both sets have the longer one's length: the shorter one ends in points that are not
    // numbers, which are neither drawn nor picked.
    const qsizetype length = std::max(xs[0].size(), xs[1].size());
    ReplaceData(GeneralData, 2, int(length));
    for (int set : {kNormalSet, kAlarmedSet}) {
        xs[set].resize(length, std::nan(""));
        ys[set].resize(length, std::nan(""));
        SetPoints(set, std::span(xs[set].constData(), size_t(length)),
                  std::span(ys[set].constData(), size_t(length)));
    }
    SetDataStyle(kNormalSet, normalStyle());
    SetDataStyle(kAlarmedSet, alarmedStyle());
    const bool dates = trend.request().x == TrendX::DownloadDate;
    SetXAnnotation(dates ? Annotation::Dates : Annotation::Values);
    SetXAxisTitle(dates ? QStringLiteral("Download date (UTC)") : QStringLiteral("Flight"));
    SetYAxisTitle(trend.valueTitle());
    SetHeader({title});
    QStringList legend{kNormalLegend, kAlarmedLegend};
    for (int set : {kNormalSet, kAlarmedSet}) {
        if (pointsOf_[set].isEmpty()) {
            legend[set].clear();
        }
    }
    SetLegendLabels(legend);
    ResetZoom();
    ResumeDrawing();
}

std::optional<int> TrendChart::TrendPointOf(int set, int point) const {
    if (set < 0 || set > 1 || point < 0 || point >= pointsOf_[set].size()) {
        return std::nullopt;
    }
    return pointsOf_[set][point];
}

void TrendChart::ReadOutAt(QPoint pixel) {
    // The nearer of the two series' nearest points.
    std::optional<int> best;
    double bestDistance = PickTolerance * 2;
    for (int set : {kNormalSet, kAlarmedSet}) {
        if (const std::optional<int> p = PickPoint(set, pixel)) {
            const QPointF at = PointPixel(set, *p);
            const double d = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
            if (d <= bestDistance) {
                bestDistance = d;
                best = TrendPointOf(set, *p);
            }
        }
    }
    if (!best) {
        ClearReadOut();
        return;
    }
    if (best == readOut_) {
        return;
    }
    readOut_ = best;
    const TrendPoint& p = trend_.points()[*best];
    ShowTextBox(TrendReadOut::text(trend_, p), kReadOutBackground);
    SetMarkerX(p.x);
    ShowMarker(true);
    Q_EMIT readOutChanged();
}

void TrendChart::ClearReadOut() {
    if (readOut_ || TextBoxShown()) {
        RemoveTextBox();
        ShowMarker(false);
    }
    if (readOut_) {
        readOut_.reset();
        Q_EMIT readOutChanged();
    }
}

}  // namespace tolm::health
