#pragma once
// Picking on a chart by distance in pixels: the point of a set nearest to a pixel, and the set
// drawn nearest to it. `toPixel` maps data coordinates to pixels; `area` is the plot area.
#include <QPointF>
#include <QRectF>
#include <functional>
#include <optional>

class ChartData;

using DataToPixelMap = std::function<QPointF(QPointF)>;

// The point of `set` nearest to `pixel` among its points inside `area`; none when the pixel is
// outside `area` or the set is hidden or has no point inside.
std::optional<int> NearestPoint(const ChartData& data, int set, QPointF pixel, QRectF area,
                                const DataToPixelMap& toPixel);

// The shown set passing within `tolerance` pixels of `pixel`, nearest first: its line, for the
// sets `drawnAsLine` says are joined, or else its points; none outside `area`.
std::optional<int> NearestSet(const ChartData& data, QPointF pixel, QRectF area, double tolerance,
                              const std::function<bool(int)>& drawnAsLine,
                              const DataToPixelMap& toPixel);
