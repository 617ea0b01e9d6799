#pragma once
// The drawing surface of the viewer's chart: a QCustomPlot whose mouse handling is the chart's
// own. A press and release without moving is a click; pressing and dragging draws a rubber
// band that becomes a zoom rectangle on release; the wheel turns into zoom steps; moving the
// mouse without a button pressed reports the position for read-outs.
#include "viewer/ui/QCustomPlotHeader.h"

#include <optional>

class QRubberBand;

class ChartCanvas : public QCustomPlot {
    Q_OBJECT
public:
    // How far (in pixels, each way) the mouse must move with the button down to start a band.
    static constexpr int DragThreshold = 4;

    explicit ChartCanvas(QWidget* parent = nullptr);

Q_SIGNALS:
    void hovered(QPoint pixel);
    void clicked(QPoint pixel);
    void doubleClicked(QPoint pixel);
    // A rubber band was drawn; `pixels` is normalised and at least DragThreshold each way.
    void bandChosen(QRect pixels);
    // Wheel turned by `steps` notches at `pixel`; positive when turned away from the user.
    void wheeled(QPoint pixel, double steps);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QRect bandRect(QPoint to) const;

    QRubberBand* band_ = nullptr;
    std::optional<QPoint> pressedAt_;  // left button held since this point
    bool dragging_ = false;
};
