#include "viewer/ui/PlotWindow.h"

#include "viewer/ReadOut.h"
#include "viewer/ui/ItemValue.h"
#include "viewer/ui/Plot2D.h"
#include "viewer/ui/ViewerEvents.h"

namespace tolm::viewer {

namespace {

// Value plots as point symbols, time histories and spectra as lines (the ninth and tenth
// flights dashed), a waterfall's records as lines of one colour.
ChartStyle styleOf(const ChartContents& c, int set) {
    ChartStyle style = ChartStyle::Default(set);
    if (c.singleColour) {
        style.color = ChartStyle::Default(0).color;
    }
    if (c.drawing == SetDrawing::Points) {
        style.line = Qt::NoPen;
    } else {
        style.symbol = ChartSymbol::None;
        style.line = c.sets[set].secondLinePattern ? Qt::DashLine : Qt::SolidLine;
    }
    return style;
}

QColor colourOf(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

PlotWindow::PlotWindow(Plot2D& owner, QWidget* parent) : Xrt2dPlot(parent), owner_(owner) {
    ZafObject(parent).Add(this);
    connect(this, &Xrt2dPlot::mouseMoved, this, &PlotWindow::ReadOutAt);
}

void PlotWindow::Initialise() {
    CreateChart(GeneralData, 0, 0);
    SetFont(TextFont::Legend, QStringLiteral("Times, 9"));
    for (TextFont font :
         {TextFont::Header, TextFont::Footer, TextFont::AxisTitle, TextFont::AxisLabel}) {
        SetFont(font, QStringLiteral("Times, 10"));
    }
    SetYOrigin(0.0);
    SetMarkerX(1e308);
}

void PlotWindow::Draw(const ChartContents& contents) {
    contents_ = contents;
    SuspendDrawing();
    ClearReadOut();
    const int sets = int(contents.sets.size());
    ReplaceData(GeneralData, sets, contents.pointCount());
    for (int s = 0; s < sets; ++s) {
        const DataSet& set = contents.sets[s];
        SetPoints(s, std::span(set.x.constData(), size_t(set.x.size())),
                  std::span(set.y.constData(), size_t(set.y.size())));
        SetDataStyle(s, styleOf(contents, s));
    }
    SetXAxisTitle(contents.xTitle);
    SetYAxisTitle(contents.yTitle);
    SetHeader(contents.header);
    SetFooter(contents.footer);
    QList<QPair<double, QString>> labels;
    for (const ValueLabel& label : contents.valueLabels) {
        labels.append({label.x, label.text});
    }
    SetValueLabels(labels);
    SetXAnnotation(contents.xAnnotatedByLabels ? Annotation::ValueLabels : Annotation::Values);
    SetLegendLabels(contents.showLegend ? contents.legend : QStringList());
    SetYOrigin(contents.yOrigin);
    for (int s = 0; s < sets; ++s) {
        ShowSet(s, contents.sets[s].shown);
    }
    ResumeDrawing();
}

void PlotWindow::ShowFlight(int set, bool shown) {
    if (set < 0 || set >= contents_.sets.size()) {
        return;
    }
    contents_.sets[set].shown = shown;
    ShowSet(set, shown);
    if (set == readOutSet_ && !shown) {
        ClearReadOut();
    }
    ResumeDrawing();
}

ChartContents PlotWindow::Displayed() const {
    ChartContents c;
    c.plotType = contents_.plotType;
    c.parameter = contents_.parameter;
    c.waterfallFlight = contents_.waterfallFlight;
    for (int s = 0; s <= LastSet(); ++s) {
        const std::span<const double> x = XData(s), y = YData(s);
        DataSet set;
        set.x = QVector<double>(x.begin(), x.end());
        set.y = QVector<double>(y.begin(), y.end());
        set.shown = SetShown(s);
        c.sets.append(std::move(set));
    }
    c.legend = LegendLabels();
    c.xTitle = XAxisTitle();
    c.yTitle = YAxisTitle();
    c.header = GetHeader();
    c.footer = GetFooter();
    return c;
}

XRange PlotWindow::ShownX() {
    const AxisBounds x = ShownXRange();
    return XRange{x.lower, x.upper};
}

ZafEventType PlotWindow::Event(const ZafEventStruct& event) {
    if (event.type == L_MOUSE_SELECT) {
        if (const std::optional<int> set = PickSet(LastMousePosition())) {
            SetItemValue(this, *set);
            return owner_.Event(ZafEventStruct(ViewerEvent::SetClicked, this, &owner_));
        }
        return owner_.Event(ZafEventStruct(ViewerEvent::PointClicked, this, &owner_));
    }
    return Xrt2dPlot::Event(event);
}

void PlotWindow::ReadOutAt(QPoint pixel) {
    const int set = owner_.Model().currentSet();
    const std::optional<int> point = PickPoint(set, pixel);
    if (!point) {
        ClearReadOut();
        return;
    }
    if (set == readOutSet_ && point == readOut_) {
        return;
    }
    const std::optional<ReadOut> readOut = ReadOut::of(contents_, set, *point);
    if (!readOut) {
        ClearReadOut();
        return;
    }
    readOutSet_ = set;
    readOut_ = point;
    ShowTextBox(readOut->text, colourOf(readOut->background));
    SetMarkerX(readOut->markerX);
    ShowMarker(true);
    if (!contents_.isWaterfall()) {
        owner_.HighlightTabulation(*point);
    }
}

void PlotWindow::ClearReadOut() {
    if (readOut_ || TextBoxShown()) {
        RemoveTextBox();
        ShowMarker(false);
    }
    readOutSet_ = -1;
    readOut_.reset();
}

}  // namespace tolm::viewer
