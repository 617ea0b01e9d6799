#include "viewer/ui/Xrt2dPlot.h"

#include <QFileInfo>
#include <QLayout>
#include <QLoggingCategory>
#include <QPointer>
#include <QPrinter>
#include <QTimeZone>
#include <QTimer>
#include <cmath>
#include <limits>

#include "toolkit/UserDialogs.h"
#include "viewer/ui/ChartCanvas.h"
#include "viewer/ui/ChartPick.h"

Q_LOGGING_CATEGORY(lcChart, "tolm.viewer.chart")

namespace {

constexpr double kWheelZoomPerStep = 0.85;
// Below this size on screen or paper the chart is exported at a size of its own.
constexpr QSize kSmallestExport(400, 300);
constexpr QSize kExportSize(1000, 700);

QFont defaultFont(double points) {
    QFont font(QStringLiteral("Times"));
    font.setPointSizeF(points);
    return font;
}

// Puts `element` into (row, column) of `grid` or takes it out; an element out of the layout is
// also hidden, or it would still be drawn at its old place.
void placeInLayout(QCPLayoutGrid* grid, int row, int column, QCPLayoutElement* element,
                   bool shown) {
    const bool inside = grid->hasElement(row, column) && grid->element(row, column) == element;
    if (shown && !inside) {
        grid->addElement(row, column, element);
    } else if (!shown && inside) {
        grid->take(element);
    }
    element->setVisible(shown);
}

}  // namespace

Xrt2dPlot::Xrt2dPlot(QWidget* parent) : ZafWindow(QString(), nullptr, parent) {
    canvas_ = new ChartCanvas(this);
    layout()->addWidget(canvas_);
    redrawTimer_ = new QTimer(this);
    redrawTimer_->setSingleShot(true);
    redrawTimer_->setInterval(0);
    connect(redrawTimer_, &QTimer::timeout, this, &Xrt2dPlot::Redraw);
    BuildScene();

    connect(canvas_, &ChartCanvas::hovered, this, [this](QPoint pixel) {
        lastMouse_ = pixel;
        Q_EMIT mouseMoved(pixel);
    });
    auto select = [this](QPoint pixel, ZafEventType type) {
        lastMouse_ = pixel;
        QPointer<Xrt2dPlot> self(this);
        Q_EMIT clicked(pixel);
        if (self) {
            Event(ZafEventStruct(type, canvas_, this));
        }
    };
    connect(canvas_, &ChartCanvas::clicked, this,
            [select](QPoint pixel) { select(pixel, L_MOUSE_SELECT); });
    connect(canvas_, &ChartCanvas::doubleClicked, this,
            [select](QPoint pixel) { select(pixel, L_MOUSE_SELECT_2); });
    connect(canvas_, &ChartCanvas::bandChosen, this, &Xrt2dPlot::ZoomToPixels);
    connect(canvas_, &ChartCanvas::wheeled, this, [this](QPoint pixel, double steps) {
        ZoomAbout(pixel, std::pow(kWheelZoomPerStep, steps));
    });
}

Xrt2dPlot::~Xrt2dPlot() = default;

// The scene, top to bottom: header lines; the plot area with the legend to its right; footer
// lines. The marker and the text box sit on a layer of their own, so that moving them redraws
// only that layer.
void Xrt2dPlot::BuildScene() {
    canvas_->setAutoAddPlottableToLegend(false);

    QCPLayoutGrid* top = canvas_->plotLayout();
    QCPAxisRect* plotArea = canvas_->axisRect();
    top->take(plotArea);
    top->simplify();
    top->expandTo(3, 1);
    top->setRowSpacing(0);
    headerText_ = new QCPTextElement(canvas_, QString(), defaultFont(10));
    footerText_ = new QCPTextElement(canvas_, QString(), defaultFont(10));
    auto* middle = new QCPLayoutGrid;
    top->addElement(1, 0, middle);
    top->setRowStretchFactors({0.001, 1.0, 0.001});
    middle->addElement(0, 0, plotArea);
    auto* side = new QCPLayoutGrid;
    legendColumn_ = side;
    middle->addElement(0, 1, side);
    middle->setColumnStretchFactors({1.0, 0.001});
    plotArea->insetLayout()->take(canvas_->legend);
    side->addElement(1, 0, new QCPLayoutElement(canvas_));  // keeps the legend at the top
    side->setRowStretchFactors({0.001, 1.0});
    side->setRowSpacing(0);
    // The legend's frame is drawn just outside its rectangle: room for it at the chart's edge.
    side->setAutoMargins(QCP::msNone);
    side->setMargins(QMargins(0, 0, 4, 0));
    canvas_->legend->setFont(defaultFont(9));
    placeInLayout(top, 0, 0, headerText_, false);
    placeInLayout(top, 2, 0, footerText_, false);
    placeInLayout(side, 0, 0, canvas_->legend, false);

    plotArea->setupFullAxesBox(true);
    for (QCPAxis* axis : {canvas_->xAxis, canvas_->yAxis}) {
        axis->setLabelFont(defaultFont(10));
        axis->setTickLabelFont(defaultFont(10));
        axis->grid()->setVisible(false);
    }
    numberTicker_ = canvas_->xAxis->ticker();
    labelTicker_.reset(new QCPAxisTickerText);
    labelTicker_->setSubTickCount(0);
    dateTicker_.reset(new QCPAxisTickerDateTime);
    dateTicker_->setTimeZone(QTimeZone::utc());
    dateTicker_->setDateTimeFormat(QStringLiteral("yyyy-MM-dd"));

    QCPLayer* overlay = canvas_->layer(QStringLiteral("overlay"));
    if (!overlay) {
        canvas_->addLayer(QStringLiteral("overlay"));
        overlay = canvas_->layer(QStringLiteral("overlay"));
    }
    overlay->setMode(QCPLayer::lmBuffered);
    marker_ = new QCPItemStraightLine(canvas_);
    marker_->setLayer(overlay);
    marker_->setPen(QPen(Qt::black, 1, Qt::DashLine));
    marker_->setVisible(false);
    textBox_ = new QCPItemText(canvas_);
    textBox_->setLayer(overlay);
    textBox_->setClipToAxisRect(false);
    textBox_->position->setType(QCPItemPosition::ptAxisRectRatio);
    textBox_->setPadding(QMargins(4, 2, 4, 2));
    textBox_->setPen(QPen(Qt::black));
    QFont boxFont(QStringLiteral("Courier New"));
    boxFont.setPixelSize(12);
    textBox_->setFont(boxFont);
    textBox_->setVisible(false);
}

// --- The data object ---------------------------------------------------------------------------

void Xrt2dPlot::CreateChart(int type, int sets, int points) {
    ReplaceData(type, sets, points);
}

void Xrt2dPlot::ReplaceData(int type, int sets, int points) {
    data_ = std::make_unique<ChartData>(type, sets, points);
    Changed();
}

int Xrt2dPlot::LastSet() const {
    return data_ ? data_->LastSet() : -1;
}

int Xrt2dPlot::LastPoint(int set) const {
    return data_ ? data_->LastPoint(set) : -1;
}

double Xrt2dPlot::X(int set, int point) const {
    return data_ ? data_->X(set, point) : 0.0;
}

double Xrt2dPlot::Y(int set, int point) const {
    return data_ ? data_->Y(set, point) : 0.0;
}

void Xrt2dPlot::SetX(int set, int point, double value) {
    if (!data_ || !data_->SetX(set, point, value)) {
        qCWarning(lcChart) << "no point" << point << "in set" << set;
        return;
    }
    Changed();
}

void Xrt2dPlot::SetY(int set, int point, double value) {
    if (!data_ || !data_->SetY(set, point, value)) {
        qCWarning(lcChart) << "no point" << point << "in set" << set;
        return;
    }
    Changed();
}

void Xrt2dPlot::SetPoints(int set, std::span<const double> x, std::span<const double> y) {
    if (!data_ || !data_->SetPoints(set, x, y)) {
        qCWarning(lcChart) << "no set" << set;
        return;
    }
    Changed();
}

std::span<const double> Xrt2dPlot::XData(int set) const {
    return data_ ? data_->XData(set) : std::span<const double>();
}

std::span<const double> Xrt2dPlot::YData(int set) const {
    return data_ ? data_->YData(set) : std::span<const double>();
}

void Xrt2dPlot::ShowSet(int set, bool shown) {
    if (data_ && data_->Show(set, shown)) {
        Changed();
    }
}

bool Xrt2dPlot::SetShown(int set) const {
    return data_ && data_->Shown(set);
}

// --- Drawing -----------------------------------------------------------------------------------

void Xrt2dPlot::SuspendDrawing() {
    suspended_ = true;
    redrawTimer_->stop();
}

void Xrt2dPlot::ResumeDrawing() {
    suspended_ = false;
    Redraw();
}

void Xrt2dPlot::Changed() {
    sceneStale_ = true;
    if (!suspended_) {
        redrawTimer_->start();
    }
}

void Xrt2dPlot::OverlayChanged() {
    if (!suspended_) {
        redrawTimer_->start();
    }
}

void Xrt2dPlot::Redraw() {
    redrawTimer_->stop();
    if (sceneStale_ || !drawnOnce_) {
        UpdateScene();
        canvas_->replot(QCustomPlot::rpQueuedRefresh);
        drawnOnce_ = true;
    } else {
        PlaceOverlays();
        marker_->layer()->replot();
    }
    Q_EMIT redrawn();
}

void Xrt2dPlot::UpdateScene() {
    if (sceneStale_) {
        UpdateGraphs();
        UpdateLegend();
        QCPLayoutGrid* top = canvas_->plotLayout();
        headerText_->setText(header_.join(QLatin1Char('\n')));
        footerText_->setText(footer_.join(QLatin1Char('\n')));
        placeInLayout(top, 0, 0, headerText_, !header_.isEmpty());
        placeInLayout(top, 2, 0, footerText_, !footer_.isEmpty());
        labelTicker_->clear();
        for (const auto& [x, text] : valueLabels_) {
            labelTicker_->addTick(x, text);
        }
        QSharedPointer<QCPAxisTicker> ticker = numberTicker_;
        if (annotation_ == Annotation::ValueLabels) {
            ticker = labelTicker_.staticCast<QCPAxisTicker>();
        } else if (annotation_ == Annotation::Dates) {
            ticker = dateTicker_.staticCast<QCPAxisTicker>();
        }
        canvas_->xAxis->setTicker(ticker);
        canvas_->xAxis2->setTicker(ticker);
        canvas_->xAxis->grid()->setVisible(xGrid_);
        canvas_->yAxis->grid()->setVisible(yGrid_);
        UpdateRanges();
        sceneStale_ = false;
    }
    PlaceOverlays();
}

void Xrt2dPlot::UpdateGraphs() {
    const size_t count = data_ ? data_->SetCount() : 0;
    while (graphs_.size() > count) {
        canvas_->removeGraph(graphs_.back());
        graphs_.pop_back();
    }
    while (graphs_.size() < count) {
        graphs_.push_back(canvas_->addGraph());
    }
    for (int set = 0; set < int(count); ++set) {
        QCPGraph* graph = graphs_[set];
        if (data_->TakeChanged(set)) {
            const std::span<const double> x = data_->XData(set), y = data_->YData(set);
            QVector<QCPGraphData> points(qsizetype(x.size()));
            bool sorted = true;
            for (size_t p = 0; p < x.size(); ++p) {
                points[qsizetype(p)] = QCPGraphData(x[p], y[p]);
                sorted = sorted && (p == 0 || x[p - 1] <= x[p]);
            }
            graph->data()->set(points, sorted);
        }
        ApplyChartStyle(graph, DataStyle(set));
        graph->setVisible(data_->Shown(set));
    }
}

void Xrt2dPlot::UpdateLegend() {
    QCPLegend* legend = canvas_->legend;
    legend->clearItems();
    for (size_t i = 0; i < graphs_.size(); ++i) {
        const QString label = qsizetype(i) < legendLabels_.size() ? legendLabels_[i] : QString();
        if (!label.isEmpty() && data_->Shown(int(i))) {
            graphs_[i]->setName(label);
            graphs_[i]->addToLegend(legend);
        }
    }
    placeInLayout(legendColumn_, 0, 0, legend, legend->itemCount() > 0);
}

void Xrt2dPlot::UpdateRanges() {
    bool symbols = false;
    for (int set = 0; data_ && set <= data_->LastSet(); ++set) {
        symbols = symbols || (data_->Shown(set) && DataStyle(set).HasSymbol());
    }
    const std::optional<ChartData::Extent> extent =
        data_ ? data_->DataExtent() : std::optional<ChartData::Extent>();
    const double base = yOrigin_.value_or(0.0);
    const AxisBounds x = extent
                             ? RoundAxisBounds(extent->xLow, extent->xHigh, std::nullopt, symbols)
                             : AxisBounds{0.0, 1.0};
    const AxisBounds y = extent ? RoundAxisBounds(extent->yLow, extent->yHigh, yOrigin_, symbols)
                                : RoundAxisBounds(base, base, yOrigin_, false);
    // A zoom stays while the plot keeps its extent (a redraw of the same kind of plot).
    if (!(x == naturalX_)) {
        zoomX_.reset();
        zoomY_.reset();
    }
    if (!(y == naturalY_)) {
        zoomY_.reset();
    }
    naturalX_ = x;
    naturalY_ = y;
    const AxisBounds shownX = zoomX_.value_or(x);
    const AxisBounds shownY = zoomY_.value_or(y);
    canvas_->xAxis->setRange(shownX.lower, shownX.upper);
    canvas_->yAxis->setRange(shownY.lower, shownY.upper);
}

void Xrt2dPlot::PlaceOverlays() {
    const QCPRange x = canvas_->xAxis->range();
    const bool markerOn = markerShown_ && std::isfinite(markerX_) && x.contains(markerX_);
    marker_->setVisible(markerOn);
    if (markerOn) {
        marker_->point1->setCoords(markerX_, 0.0);
        marker_->point2->setCoords(markerX_, 1.0);
    }
    // The box goes to the top corner away from the mouse, so that it never hides the point read.
    const QRect area = PlotArea();
    if (lastMouse_.x() < area.center().x()) {
        textBox_->setPositionAlignment(Qt::AlignTop | Qt::AlignRight);
        textBox_->position->setCoords(0.99, 0.02);
    } else {
        textBox_->setPositionAlignment(Qt::AlignTop | Qt::AlignLeft);
        textBox_->position->setCoords(0.01, 0.02);
    }
}

// --- Texts -------------------------------------------------------------------------------------

void Xrt2dPlot::SetHeader(const QStringList& lines) {
    header_ = lines;
    Changed();
}

void Xrt2dPlot::SetFooter(const QStringList& lines) {
    footer_ = lines;
    Changed();
}

void Xrt2dPlot::SetXAxisTitle(const QString& title) {
    canvas_->xAxis->setLabel(title);
    Changed();
}

void Xrt2dPlot::SetYAxisTitle(const QString& title) {
    canvas_->yAxis->setLabel(title);
    Changed();
}

QString Xrt2dPlot::XAxisTitle() const {
    return canvas_->xAxis->label();
}

QString Xrt2dPlot::YAxisTitle() const {
    return canvas_->yAxis->label();
}

void Xrt2dPlot::SetXAnnotation(Annotation annotation) {
    annotation_ = annotation;
    Changed();
}

void Xrt2dPlot::SetValueLabels(const QList<QPair<double, QString>>& labels) {
    valueLabels_ = labels;
    Changed();
}

void Xrt2dPlot::SetLegendLabels(const QStringList& labels) {
    legendLabels_ = labels;
    Changed();
}

bool Xrt2dPlot::SetFont(TextFont which, const QString& text) {
    const std::optional<QFont> font = ParseChartFont(text);
    if (!font) {
        qCWarning(lcChart) << "not a font:" << text;
        return false;
    }
    switch (which) {
        case TextFont::Header:
            headerText_->setFont(*font);
            break;
        case TextFont::Footer:
            footerText_->setFont(*font);
            break;
        case TextFont::Legend:
            canvas_->legend->setFont(*font);
            break;
        case TextFont::AxisTitle:
            canvas_->xAxis->setLabelFont(*font);
            canvas_->yAxis->setLabelFont(*font);
            break;
        case TextFont::AxisLabel:
            canvas_->xAxis->setTickLabelFont(*font);
            canvas_->yAxis->setTickLabelFont(*font);
            break;
    }
    Changed();
    return true;
}

QFont Xrt2dPlot::Font(TextFont which) const {
    switch (which) {
        case TextFont::Header:
            return headerText_->font();
        case TextFont::Footer:
            return footerText_->font();
        case TextFont::Legend:
            return canvas_->legend->font();
        case TextFont::AxisTitle:
            return canvas_->xAxis->labelFont();
        case TextFont::AxisLabel:
            return canvas_->xAxis->tickLabelFont();
    }
    return QFont();
}

// --- Axes --------------------------------------------------------------------------------------

void Xrt2dPlot::SetXGrid(bool on) {
    xGrid_ = on;
    Changed();
}

void Xrt2dPlot::SetYGrid(bool on) {
    yGrid_ = on;
    Changed();
}

void Xrt2dPlot::SetYOrigin(double y) {
    yOrigin_ = y;
    Changed();
}

void Xrt2dPlot::ClearYOrigin() {
    yOrigin_.reset();
    Changed();
}

AxisBounds Xrt2dPlot::ShownXRange() {
    UpdateScene();
    return {canvas_->xAxis->range().lower, canvas_->xAxis->range().upper};
}

AxisBounds Xrt2dPlot::ShownYRange() {
    UpdateScene();
    return {canvas_->yAxis->range().lower, canvas_->yAxis->range().upper};
}

// --- Set styles --------------------------------------------------------------------------------

ChartStyle Xrt2dPlot::DataStyle(int set) const {
    if (set >= 0 && size_t(set) < styles_.size() && styles_[set]) {
        return *styles_[set];
    }
    return ChartStyle::Default(set);
}

void Xrt2dPlot::SetDataStyle(int set, const ChartStyle& style) {
    if (set < 0) {
        return;
    }
    if (size_t(set) >= styles_.size()) {
        styles_.resize(set + 1);
    }
    styles_[set] = style;
    Changed();
}

// --- The vertical marker -----------------------------------------------------------------------

void Xrt2dPlot::SetMarkerX(double x) {
    markerX_ = x;
    OverlayChanged();
}

void Xrt2dPlot::ShowMarker(bool shown) {
    markerShown_ = shown;
    OverlayChanged();
}

// --- Picking and mapping -----------------------------------------------------------------------

QRect Xrt2dPlot::PlotArea() const {
    return canvas_->axisRect()->rect();
}

QPointF Xrt2dPlot::PixelToData(QPointF pixel) const {
    return {canvas_->xAxis->pixelToCoord(pixel.x()), canvas_->yAxis->pixelToCoord(pixel.y())};
}

QPointF Xrt2dPlot::DataToPixel(QPointF point) const {
    return {canvas_->xAxis->coordToPixel(point.x()), canvas_->yAxis->coordToPixel(point.y())};
}

QPointF Xrt2dPlot::PointPixel(int set, int point) const {
    return DataToPixel({X(set, point), Y(set, point)});
}

std::optional<int> Xrt2dPlot::PickPoint(int set, QPoint pixel) const {
    if (!data_) {
        return std::nullopt;
    }
    return NearestPoint(*data_, set, pixel, QRectF(PlotArea()).adjusted(-1, -1, 1, 1),
                        [this](QPointF value) { return DataToPixel(value); });
}

std::optional<int> Xrt2dPlot::PickSet(QPoint pixel) const {
    QCPLegend* legend = canvas_->legend;
    if (legend->visible() && legend->outerRect().contains(pixel)) {
        for (int i = 0; i < legend->itemCount(); ++i) {
            auto* item = qobject_cast<QCPPlottableLegendItem*>(legend->item(i));
            if (item && item->outerRect().contains(pixel)) {
                const auto found = std::find(graphs_.begin(), graphs_.end(), item->plottable());
                if (found != graphs_.end()) {
                    return int(found - graphs_.begin());
                }
            }
        }
        return std::nullopt;
    }
    if (!data_) {
        return std::nullopt;
    }
    return NearestSet(
        *data_, pixel, QRectF(PlotArea()).adjusted(-1, -1, 1, 1), PickTolerance,
        [this](int set) { return DataStyle(set).HasLine(); },
        [this](QPointF value) { return DataToPixel(value); });
}

// --- The floating text box ---------------------------------------------------------------------

void Xrt2dPlot::ShowTextBox(const QString& text, const QColor& background) {
    textBox_->setText(text);
    textBox_->setBrush(background);
    textBox_->setVisible(true);
    OverlayChanged();
}

void Xrt2dPlot::RemoveTextBox() {
    textBox_->setVisible(false);
    OverlayChanged();
}

bool Xrt2dPlot::TextBoxShown() const {
    return textBox_->visible();
}

QString Xrt2dPlot::TextBoxText() const {
    return textBox_->visible() ? textBox_->text() : QString();
}

QColor Xrt2dPlot::TextBoxBackground() const {
    return textBox_->brush().color();
}

void Xrt2dPlot::SetTextBoxFont(const QFont& font) {
    textBox_->setFont(font);
    OverlayChanged();
}

QFont Xrt2dPlot::TextBoxFont() const {
    return textBox_->font();
}

// --- Zoom --------------------------------------------------------------------------------------

void Xrt2dPlot::ZoomToPixels(QRect pixels) {
    const QRect band = pixels.normalized() & PlotArea();
    if (band.width() < 2 || band.height() < 2) {
        return;
    }
    const QPointF a = PixelToData(band.bottomLeft());
    const QPointF b = PixelToData(band.topRight());
    ApplyZoom({std::min(a.x(), b.x()), std::max(a.x(), b.x())},
              {std::min(a.y(), b.y()), std::max(a.y(), b.y())});
}

void Xrt2dPlot::ZoomAbout(QPoint pixel, double factor) {
    if (!PlotArea().contains(pixel) || !(factor > 0.0) || !std::isfinite(factor)) {
        return;
    }
    const QPointF centre = PixelToData(pixel);
    auto scaled = [factor](QCPRange range, double c) {
        return AxisBounds{c + (range.lower - c) * factor, c + (range.upper - c) * factor};
    };
    const AxisBounds x = scaled(canvas_->xAxis->range(), centre.x());
    const AxisBounds y = scaled(canvas_->yAxis->range(), centre.y());
    if (!QCPRange::validRange(x.lower, x.upper) || !QCPRange::validRange(y.lower, y.upper)) {
        return;  // as far in or out as the numbers allow
    }
    ApplyZoom(x, y);
}

void Xrt2dPlot::ApplyZoom(AxisBounds x, AxisBounds y) {
    zoomX_ = x;
    zoomY_ = y;
    canvas_->xAxis->setRange(x.lower, x.upper);
    canvas_->yAxis->setRange(y.lower, y.upper);
    sceneStale_ = true;
    if (!suspended_) {
        Redraw();
    }
    Q_EMIT zoomChanged();
}

void Xrt2dPlot::ResetZoom() {
    zoomX_.reset();
    zoomY_.reset();
    Changed();
    if (!suspended_) {
        Redraw();
    }
    Q_EMIT zoomChanged();
}

// --- Output ------------------------------------------------------------------------------------

QSize Xrt2dPlot::ExportSize() const {
    const QSize size = canvas_->size();
    if (size.width() < kSmallestExport.width() || size.height() < kSmallestExport.height()) {
        return kExportSize;
    }
    return size;
}

Xrt2dPlot::PrintResult Xrt2dPlot::Print() {
    // At the screen's resolution, fonts keep their size relative to the scene; the output is
    // drawn as vectors all the same.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(header_.value(0, QStringLiteral("Chart")));
    if (!userDialogs().printDialog(printer, this)) {
        return PrintResult::Cancelled;
    }
    UpdateScene();
    QCPPainter painter;
    if (!painter.begin(&printer)) {
        qCWarning(lcChart) << "the printer cannot be drawn on:" << printer.outputFileName();
        return PrintResult::Failed;
    }
    // The screen's scene, scaled to the page's width with the page's proportions.
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const int width = ExportSize().width();
    const int height = qRound(width * page.height() / page.width());
    const double scale = page.width() / width;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.setMode(QCPPainter::pmNonCosmetic);
    painter.scale(scale, scale);
    canvas_->toPainter(&painter, width, height);
    const bool printed = painter.end();
    Redraw();  // lays the scene out for the screen again
    return printed ? PrintResult::Printed : PrintResult::Failed;
}

bool Xrt2dPlot::SaveImage(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("pdf")) {
        return false;
    }
    UpdateScene();
    const QSize size = ExportSize();
    const bool saved =
        suffix == QLatin1String("png")
            ? canvas_->savePng(fileName, size.width(), size.height())
            : canvas_->savePdf(fileName, size.width(), size.height(), QCP::epAllowCosmetic,
                               QStringLiteral("TOLM"), header_.value(0));
    Redraw();
    if (!saved) {
        qCWarning(lcChart) << "cannot write" << fileName;
    }
    return saved;
}
