#include "viewer/ui/Plot2D.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QToolButton>

#include "core/Config.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafWindowManager.h"
#include "viewer/ExportFile.h"
#include "viewer/PlotSettings.h"
#include "viewer/WaterfallExport.h"
#include "viewer/ui/ChartOutput.h"
#include "viewer/ui/EngineTrendOpener.h"
#include "viewer/ui/ItemValue.h"
#include "viewer/ui/PlotWindow.h"
#include "viewer/ui/SelectDialog.h"
#include "viewer/ui/SetupDialog.h"
#include "viewer/ui/TabulateInfoWindow.h"
#include "viewer/ui/ViewerEvents.h"

namespace tolm::viewer {

namespace {

// The items of a menu, without its separators and submenus.
QList<QAction*> itemsOf(const ZafObject& menu) {
    QList<QAction*> items;
    if (auto* m = menu.as<QMenu>()) {
        for (QAction* a : m->actions()) {
            if (!a->isSeparator() && !a->menu()) {
                items.append(a);
            }
        }
    }
    return items;
}

}  // namespace

Plot2D::Plot2D() : ZafWindow(QStringLiteral("Plot2D")) {
    QList<FlightDataElement> flights;
    SelectDialog select(flights);
    if (!select.HasFlights()) {
        showCritical(FlightSelection::kNoDataTitle, FlightSelection::kNoDataText);
        return;
    }
    select.Center();
    if (select.RunModal() != S_DIALOG_OK) {
        return;
    }
    Construct(std::move(flights));
}

Plot2D::Plot2D(QList<FlightDataElement> flights) : ZafWindow(QStringLiteral("Plot2D")) {
    Construct(std::move(flights));
}

Plot2D::~Plot2D() {
    CloseTabulation();
    if (ZafDisplay* display = zafDisplay(); display && HasFlights()) {
        display->DestroyFont(listFont_);
        display->DestroyFont(tagFont_);
    }
}

void Plot2D::Construct(QList<FlightDataElement> flights) {
    if (flights.isEmpty()) {
        return;
    }
    model_ = std::make_unique<PlotModel>(std::move(flights), PlotSettings::load(),
                                         PlotModel::Remember::Yes);

    Get(QStringLiteral("TOOL_BAR~B_PRINT")).SetSendMessage(ViewerEvent::Print);
    const PlotType types[] = {PlotType::SteadyState, PlotType::Transient};
    const char* buttons[] = {"TOOL_BAR~B_STEADY_STATE", "TOOL_BAR~B_TRANSIENT"};
    for (int i = 0; i < 2; ++i) {
        ZafObject button = Get(QLatin1String(buttons[i]));
        SetItemValue(button.object(), int(types[i]));
        button.SetSendMessage(ViewerEvent::PlotTypeChosen);
    }
    MarkPlotType();

    chart_ = new PlotWindow(*this, Get(QStringLiteral("PlotWindow")).widget());
    connect(chart_, &Xrt2dPlot::zoomChanged, this,
            [this] { Event(ZafEventStruct(ViewerEvent::RefreshTabulation, chart_, this)); });
    sample_ = Get(QStringLiteral("SampleWindow~G_SAMPLE"));
    UpdateSampleList();

    if (ZafDisplay* display = zafDisplay()) {
        listFont_ = display->RegisterFont(QStringLiteral("Courier New"), 9, 0, 0);
        tagFont_ = display->RegisterFont(QStringLiteral("Courier New"), 9, 1, 0);
    }
    BuildMenus();
}

void Plot2D::BuildMenus() {
    const QList<QAction*> parameters = itemsOf(Get(QStringLiteral("PDI_PARAMETER")));
    const auto& table = Parameters::inMenuOrder();
    for (int i = 0; i < parameters.size() && i < int(table.size()); ++i) {
        ZafObject item(parameters[i]);
        item.SetText(QString::fromLatin1(table[i].name));
        SetItemValue(parameters[i], table[i].identifier);
        item.SetSendMessage(ViewerEvent::ParameterChosen);
    }
    const QList<QAction*> bins = itemsOf(Get(QStringLiteral("PDI_TRANSIENT_BIN")));
    for (int bin = 0; bin < bins.size() && bin < kTransientBins; ++bin) {
        ZafObject item(bins[bin]);
        item.SetText(TransientBins::name(bin));
        SetItemValue(bins[bin], bin);
        item.SetSendMessage(ViewerEvent::BinChosen);
    }
    Get(QStringLiteral("PDI_SETUP~PUI_DISPLAY")).SetSendMessage(ViewerEvent::Setup);
    Get(QStringLiteral("PDI_DATA~PUI_TABULATE")).SetSendMessage(ViewerEvent::Tabulate);
    Get(QStringLiteral("PDI_DATA~PUI_SAVE_IMAGE")).SetSendMessage(ViewerEvent::SaveChartImage);
    Get(QStringLiteral("PDI_ZOOM~PUI_RESET")).SetSendMessage(ViewerEvent::ResetZoom);
    ZafObject trend = Get(QStringLiteral("PDI_DATA~PUI_TREND"));
    trend.SetSendMessage(ViewerEvent::Trend);
    trend.SetVisible(bool(engineTrendOpener()));
    ShowDataStatus();
    UpdateMenus();
}

void Plot2D::ShowDataStatus() {
    const DataStatus status = model_->dataStatus();
    auto* menu = Get(QStringLiteral("PDI_DATA~PUI_DATA_STATUS")).as<QMenu>();
    if (menu) {
        menu->clear();
        for (int i = 0; i < status.entries.size(); ++i) {
            if (i > 0) {
                menu->addSeparator();
            }
            menu->addAction(status.entries[i].steady);
            menu->addAction(status.entries[i].transient);
        }
    }
    if (auto* indicator =
            Get(QStringLiteral("G_GLOBAL_INDICATOR~B_GLOBAL_INDICATOR")).as<QAbstractButton>()) {
        indicator->setIcon(QIcon(QStringLiteral(":/viewer/%1.png").arg(status.indicatorImage())));
        indicator->setToolTip(status.anySuspect ? tr("Some data are suspect (see Data Status)")
                                                : tr("All data are OK"));
        if (auto* button = qobject_cast<QToolButton*>(indicator); button && menu) {
            button->setMenu(menu);
            button->setPopupMode(QToolButton::InstantPopup);
        }
    }
}

void Plot2D::UpdateMenus() {
    const PlotMenus menus = model_->menus();
    const int parameter = model_->choices().parameter;
    for (QAction* item : itemsOf(Get(QStringLiteral("PDI_PARAMETER")))) {
        const int identifier = int(ItemValue(item));
        ZafObject(item).SetDisabled(!Parameters::isValid(identifier) ||
                                    !menus.parameterEnabled[identifier]);
        ZafObject(item).SetSelected(identifier == parameter);
    }
    ZafObject bins = Get(QStringLiteral("PDI_TRANSIENT_BIN"));
    bins.SetDisabled(!menus.transientBinEnabled);
    for (QAction* item : itemsOf(bins)) {
        ZafObject(item).SetSelected(ItemValue(item) == model_->choices().bin);
    }
}

void Plot2D::UpdateSampleList() {
    const SampleList list = model_->sampleList();
    Get(QStringLiteral("SampleWindow")).SetText(list.title);
    sample_.ClearItems();
    for (const SampleItem& item : list.items) {
        sample_.AddItem(item.text, ViewerEvent::SampleChosen);
    }
    if (list.selected >= 0) {
        sample_.SetItemSelected(list.selected);
    }
    sample_.SetDisabled(!list.enabled);
}

void Plot2D::MarkPlotType() {
    const bool steady = model_->choices().plotType == PlotType::SteadyState;
    Get(QStringLiteral("TOOL_BAR~B_STEADY_STATE")).SetSelected(steady);
    Get(QStringLiteral("TOOL_BAR~B_TRANSIENT")).SetSelected(!steady);
}

void Plot2D::Redraw() {
    const ChartContents contents = model_->chart();
    // A data set chosen in another kind of plot (a waterfall's record) is no flight here.
    if (model_->currentSet() >= contents.sets.size()) {
        model_->setCurrentSet(0);
    }
    chart_->SetXGrid(model_->choices().xGrid);
    chart_->SetYGrid(model_->choices().yGrid);
    chart_->Draw(contents);
    if (contents.isWaterfall()) {
        CloseTabulation();
    } else {
        RefreshTabulation();
    }
}

ZafEventType Plot2D::Open() {
    opened_ = true;
    chart_->Initialise();
    Redraw();
    return 0;
}

ZafEventType Plot2D::Event(const ZafEventStruct& event) {
    if (!model_) {
        return ZafWindow::Event(event);
    }
    QObject* source = event.source.data();
    switch (event.type) {
        case ViewerEvent::Open:
            if (opened_) {
                break;  // the main window's own event, on its way to it
            }
            return Open();
        case ViewerEvent::PlotTypeChosen:
            model_->setPlotType(ItemValue(source) == 1 ? PlotType::Transient
                                                       : PlotType::SteadyState);
            UpdateSampleList();
            MarkPlotType();
            UpdateMenus();
            Redraw();
            return 0;
        case ViewerEvent::ParameterChosen:
            model_->setParameter(int(ItemValue(source)));
            UpdateMenus();
            UpdateSampleList();
            Redraw();
            return 0;
        case ViewerEvent::BinChosen:
            model_->setBin(int(ItemValue(source)));
            UpdateMenus();
            Redraw();
            return 0;
        case ViewerEvent::PointClicked:
            return 0;
        case ViewerEvent::SetClicked:
            model_->setCurrentSet(int(ItemValue(source, 0)));
            RefreshTabulation();
            return 0;
        case ViewerEvent::ShowSet: {
            const quint32 value = quint32(ItemValue(source, 0));
            model_->applySetupValue(value);
            const int set = int(value & 0x7FFFFFFFu);
            chart_->ShowFlight(set, model_->shown(set));
            return 0;
        }
        case ViewerEvent::Setup:
            RunSetup();
            return 0;
        case ViewerEvent::XGrid:
            model_->setXGrid(ZafObject(source).Selected());
            chart_->SetXGrid(model_->choices().xGrid);
            return 0;
        case ViewerEvent::YGrid:
            model_->setYGrid(ZafObject(source).Selected());
            chart_->SetYGrid(model_->choices().yGrid);
            return 0;
        case ViewerEvent::Print:
            ChartOutput::print(*chart_, this);
            return 0;
        case ViewerEvent::Tabulate:
            Tabulate();
            return 0;
        case ViewerEvent::ResetZoom:
            chart_->ResetZoom();
            return 0;
        case ViewerEvent::RefreshTabulation:
            RefreshTabulation();
            return 0;
        case ViewerEvent::SampleChosen:
            model_->chooseSample(sample_.SelectedItem());
            Redraw();
            return 0;
        case ViewerEvent::WindowChosen:
            if (const qint64 window = ItemValue(source); FftWindows::isValid(int(window))) {
                model_->setWindow(FftWindow(window));
                Redraw();
            }
            return 0;
        case ViewerEvent::Trend:
            // The engine of the flights plotted (they are all of one aircraft and engine).
            if (engineTrendOpener() && !model_->flights().isEmpty()) {
                const FlightDataElement& first = model_->flights().first();
                engineTrendOpener()(first.aircraft(), first.engine());
            }
            return 0;
        case ViewerEvent::SaveChartImage:
            ChartOutput::saveImage(*chart_, dataDirectory(), this);
            return 0;
        default:
            break;
    }
    return ZafWindow::Event(event);
}

void Plot2D::RunSetup() {
    SetupDialog setup(*this);
    setup.Center();
    setup.RunModal();
}

TabulateInfoWindow* Plot2D::Tabulation() const {
    TabulateInfoWindow* window = TabulateInfoWindow::Find();
    return window && window->Source() == chart_ ? window : nullptr;
}

void Plot2D::Tabulate() {
    if (chart_->Contents().isWaterfall()) {
        ExportWaterfall();
        return;
    }
    TabulateInfoWindow* window = TabulateInfoWindow::Find();
    if (!window) {
        window = new TabulateInfoWindow(tagFont_, listFont_);
        zafWindowManager()->Add(window);
    }
    window->raise();
    window->activateWindow();
    Fill(*window);
}

void Plot2D::RefreshTabulation() {
    if (TabulateInfoWindow* window = Tabulation()) {
        Fill(*window);
    }
}

// The listing of the current flight, with the row of the point read out highlighted.
void Plot2D::Fill(TabulateInfoWindow& window) {
    const int set = model_->currentSet();
    window.Fill(*chart_, set);
    if (const std::optional<int> point = chart_->ReadOutPoint(set)) {
        window.Highlight(*point);
    }
}

void Plot2D::HighlightTabulation(int point) {
    if (TabulateInfoWindow* window = Tabulation()) {
        window->Highlight(point);
    }
}

void Plot2D::CloseTabulation() {
    if (TabulateInfoWindow* window = Tabulation()) {
        window->Close();
    }
}

void Plot2D::ExportWaterfall() {
    // An existing file is replaced without a question.
    const QString chosen = chooseSaveFileName(WaterfallExport::kDialogTitle, dataDirectory(),
                                              WaterfallExport::kFileFilter, this);
    if (chosen.isEmpty()) {
        return;
    }
    const QByteArray csv = WaterfallExport::csv(chart_->Displayed(), chart_->ShownX());
    if (!ExportFile::write(WaterfallExport::withCsvSuffix(chosen), csv)) {
        showCritical(WaterfallExport::kFailureTitle, WaterfallExport::kFailureText, this);
    }
}

}  // namespace tolm::viewer
