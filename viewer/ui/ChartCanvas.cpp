#include "viewer/ui/ChartCanvas.h"

#include <QRubberBand>

ChartCanvas::ChartCanvas(QWidget* parent)
    : QCustomPlot(parent), band_(new QRubberBand(QRubberBand::Rectangle, this)) {
    setMouseTracking(true);
    band_->hide();
}

QRect ChartCanvas::bandRect(QPoint to) const {
    return QRect(*pressedAt_, to).normalized();
}

void ChartCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressedAt_ = event->position().toPoint();
    dragging_ = false;
}

void ChartCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!pressedAt_) {
        if (event->buttons() == Qt::NoButton) {
            Q_EMIT hovered(at);
        }
        return;
    }
    const QPoint moved = at - *pressedAt_;
    if (!dragging_ &&
        (std::abs(moved.x()) > DragThreshold || std::abs(moved.y()) > DragThreshold)) {
        dragging_ = true;
        band_->show();
    }
    if (dragging_) {
        band_->setGeometry(bandRect(at));
    }
}

void ChartCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressedAt_) {
        return;
    }
    const QPoint at = event->position().toPoint();
    const QRect rect = bandRect(at);
    const bool wasDragging = dragging_;
    pressedAt_.reset();
    dragging_ = false;
    band_->hide();
    if (!wasDragging) {
        Q_EMIT clicked(at);
    } else if (rect.width() >= DragThreshold && rect.height() >= DragThreshold) {
        Q_EMIT bandChosen(rect);
    }
}

void ChartCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressedAt_.reset();  // the release that follows is not a second click
    dragging_ = false;
    Q_EMIT doubleClicked(event->position().toPoint());
}

void ChartCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0.0) {
        Q_EMIT wheeled(event->position().toPoint(), steps);
    }
    event->accept();
}
