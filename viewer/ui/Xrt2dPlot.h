#pragma once
// The viewer's chart: a toolkit window holding one QCustomPlot that draws a data object of
// data sets (each an X and a Y array of doubles), with header and footer lines, axis titles,
// value labels, a legend, grids, a vertical marker, a floating text box, picking, zoom and
// printing. The chart fills its window and follows its size.
//
// Drawing: while drawing is suspended, changes are only recorded; ResumeDrawing draws them all
// at once. While drawing runs, each change asks for a redraw, and the requests of one pass of
// the event loop are drawn together. Screen, printer and image files draw the same scene.
//
// Mouse: moving over the chart emits mouseMoved (for read-outs); a click emits clicked and
// sends the toolkit's mouse selection event (1003, a double click 1006) to this window's
// handler, which, like every event a window does not consume, hands it on to the enclosing
// window; LastMousePosition() tells where. Dragging a rectangle or turning the wheel zooms;
// every zoom and reset emits zoomChanged.
#include <QColor>
#include <QFont>
#include <QList>
#include <QPair>
#include <QPointF>
#include <QRect>
#include <QStringList>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "toolkit/ZafWindow.h"
#include "viewer/ui/ChartData.h"
#include "viewer/ui/ChartScale.h"
#include "viewer/ui/ChartStyle.h"

class ChartCanvas;
class QCPGraph;
class QCPLayoutGrid;
class QCPItemStraightLine;
class QCPItemText;
class QCPTextElement;
class QCPAxisTicker;
class QCPAxisTickerDateTime;
class QCPAxisTickerText;
class QTimer;

class Xrt2dPlot : public ZafWindow {
    Q_OBJECT
public:
    // The data type of the data object: every set has its own X array.
    static constexpr int GeneralData = 1;

    // X-axis tick texts: numbers, value labels, or dates (x in seconds since 1970 UTC, shown as
    // UTC dates).
    enum class Annotation { Values, ValueLabels, Dates };
    enum class TextFont { Header, Footer, Legend, AxisTitle, AxisLabel };
    enum class PrintResult { Printed, Cancelled, Failed };

    explicit Xrt2dPlot(QWidget* parent = nullptr);
    ~Xrt2dPlot() override;

    // --- The data object ---------------------------------------------------------------------
    // Creates the data object: `sets` sets of `points` points each, all values 0.0, all shown.
    // The chart itself exists from construction.
    void CreateChart(int type, int sets, int points);
    // Replaces the data object by a new one of that shape. Shown flags start set again; styles,
    // texts and everything else of the chart stay.
    void ReplaceData(int type, int sets, int points);
    bool HasData() const { return data_ != nullptr; }
    int LastSet() const;           // -1 without data or sets
    int LastPoint(int set) const;  // -1 for a set that does not exist
    // One value. Reading outside the data gives 0.0; writing there is ignored (and logged).
    double X(int set, int point) const;
    double Y(int set, int point) const;
    void SetX(int set, int point, double value);
    void SetY(int set, int point, double value);
    // A whole set at once (the fast path): its arrays take the values given; a shorter span
    // fills the front, longer ones are cut to the set's point count.
    void SetPoints(int set, std::span<const double> x, std::span<const double> y);
    std::span<const double> XData(int set) const;
    std::span<const double> YData(int set) const;
    void ShowSet(int set, bool shown);
    bool SetShown(int set) const;

    // --- Drawing -----------------------------------------------------------------------------
    void SuspendDrawing();
    // Draws everything changed since SuspendDrawing, once.
    void ResumeDrawing();
    bool DrawingSuspended() const { return suspended_; }

    // --- Texts -------------------------------------------------------------------------------
    QStringList GetHeader() const { return header_; }
    QStringList GetFooter() const { return footer_; }
    void SetHeader(const QStringList& lines);
    void SetFooter(const QStringList& lines);
    void SetXAxisTitle(const QString& title);
    void SetYAxisTitle(const QString& title);
    QString XAxisTitle() const;
    QString YAxisTitle() const;
    // X-axis tick texts: numbers, or the value labels (text at given x values).
    void SetXAnnotation(Annotation annotation);
    Annotation XAnnotation() const { return annotation_; }
    void SetValueLabels(const QList<QPair<double, QString>>& labels);
    QList<QPair<double, QString>> ValueLabels() const { return valueLabels_; }
    // Legend texts by set; a set without a (non-empty) label has no legend entry, and an empty
    // list shows no legend. Hidden sets leave the legend.
    void SetLegendLabels(const QStringList& labels);
    QStringList LegendLabels() const { return legendLabels_; }
    // A font from a text such as "Times, 10"; false (font kept) when the text is no font.
    bool SetFont(TextFont which, const QString& text);
    QFont Font(TextFont which) const;

    // --- Axes --------------------------------------------------------------------------------
    void SetXGrid(bool on);
    void SetYGrid(bool on);
    bool XGrid() const { return xGrid_; }
    bool YGrid() const { return yGrid_; }
    // The y value at the bottom of the chart; lower data still show (the axis then starts at
    // them). Without an origin the chart chooses the bottom from the data.
    void SetYOrigin(double y);
    void ClearYOrigin();
    std::optional<double> YOrigin() const { return yOrigin_; }
    // The x and y ranges currently shown, after any zoom.
    AxisBounds ShownXRange();
    AxisBounds ShownYRange();

    // --- Set styles --------------------------------------------------------------------------
    // Styles belong to the chart (they survive ReplaceData); a set without one of its own
    // uses ChartStyle::Default(set).
    ChartStyle DataStyle(int set) const;
    void SetDataStyle(int set, const ChartStyle& style);

    // --- The vertical marker -----------------------------------------------------------------
    void SetMarkerX(double x);
    double MarkerX() const { return markerX_; }
    void ShowMarker(bool shown);
    bool MarkerShown() const { return markerShown_; }

    // --- Picking and mapping (pixels of Canvas(), as last drawn) -----------------------------
    // The point of `set` nearest to `pixel`, among the points inside the plot area; none when
    // the pixel is outside the plot area or the set is hidden, empty or wholly outside.
    std::optional<int> PickPoint(int set, QPoint pixel) const;
    // The shown set whose line (or points, when drawn without a line) passes nearest to
    // `pixel`, within PickTolerance pixels, or whose legend entry holds `pixel`.
    std::optional<int> PickSet(QPoint pixel) const;
    static constexpr double PickTolerance = 8.0;
    QPointF PixelToData(QPointF pixel) const;
    QPointF DataToPixel(QPointF data) const;
    QPointF PointPixel(int set, int point) const;
    // Where the mouse last moved or clicked on the chart.
    QPoint LastMousePosition() const { return lastMouse_; }
    // The plot area in canvas pixels.
    QRect PlotArea() const;

    // --- The floating text box ---------------------------------------------------------------
    // Shows `text` in a bordered box at the top of the plot area, on the side away from the
    // mouse; its font is "Courier New" of character height 12 unless set otherwise.
    void ShowTextBox(const QString& text, const QColor& background);
    void RemoveTextBox();
    bool TextBoxShown() const;
    QString TextBoxText() const;
    QColor TextBoxBackground() const;
    void SetTextBoxFont(const QFont& font);
    QFont TextBoxFont() const;

    // --- Zoom --------------------------------------------------------------------------------
    // Shows the data inside the rectangle of canvas pixels (clipped to the plot area).
    void ZoomToPixels(QRect pixels);
    // Zooms about `pixel` by `factor` (below 1 zooms in) on both axes.
    void ZoomAbout(QPoint pixel, double factor);
    // Back to the whole data. A zoom also ends when new data need another x range; while the
    // x range stays (a redraw of the same kind of plot) the x zoom stays, and the y zoom too
    // while the y range stays.
    void ResetZoom();
    bool Zoomed() const { return zoomX_.has_value() || zoomY_.has_value(); }

    // --- Output ------------------------------------------------------------------------------
    // Runs the print dialog through the message seam and prints the chart on one landscape page.
    PrintResult Print();
    // Writes the chart as a PNG or PDF image, chosen by the suffix ".png" or ".pdf" (any case);
    // false for another suffix or when the file cannot be written.
    bool SaveImage(const QString& fileName);

    // The drawing surface, for mouse positions and for tests.
    ChartCanvas* Canvas() const { return canvas_; }

Q_SIGNALS:
    void mouseMoved(QPoint pixel);
    void clicked(QPoint pixel);
    // The shown range changed by a zoom (mouse or call) or a reset.
    void zoomChanged();
    // The chart was drawn.
    void redrawn();

private:
    void BuildScene();
    // Brings the scene up to date with the data and settings (no drawing).
    void UpdateScene();
    void UpdateGraphs();
    void UpdateLegend();
    void UpdateRanges();
    void PlaceOverlays();
    void Changed();         // the scene must be brought up to date and drawn
    void OverlayChanged();  // only the marker or the text box changed
    void Redraw();
    void ApplyZoom(AxisBounds x, AxisBounds y);
    QSize ExportSize() const;

    std::unique_ptr<ChartData> data_;
    ChartCanvas* canvas_ = nullptr;
    QTimer* redrawTimer_ = nullptr;
    QCPTextElement* headerText_ = nullptr;
    QCPTextElement* footerText_ = nullptr;
    QCPLayoutGrid* legendColumn_ = nullptr;
    QCPItemStraightLine* marker_ = nullptr;
    QCPItemText* textBox_ = nullptr;
    QSharedPointer<QCPAxisTicker> numberTicker_;
    QSharedPointer<QCPAxisTickerText> labelTicker_;
    QSharedPointer<QCPAxisTickerDateTime> dateTicker_;
    std::vector<QCPGraph*> graphs_;

    bool suspended_ = false;
    bool sceneStale_ = true;  // UpdateScene is due
    bool drawnOnce_ = false;
    QStringList header_;
    QStringList footer_;
    QStringList legendLabels_;
    Annotation annotation_ = Annotation::Values;
    QList<QPair<double, QString>> valueLabels_;
    bool xGrid_ = false;
    bool yGrid_ = false;
    std::optional<double> yOrigin_;
    std::vector<std::optional<ChartStyle>> styles_;
    double markerX_ = 1e308;
    bool markerShown_ = false;
    QPoint lastMouse_;
    // The ranges the data call for, and the user's zoom on top of them.
    AxisBounds naturalX_;
    AxisBounds naturalY_;
    std::optional<AxisBounds> zoomX_;
    std::optional<AxisBounds> zoomY_;
};
