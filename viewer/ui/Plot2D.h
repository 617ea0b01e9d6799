#pragma once
// The viewer's top-level window: the chart of up to ten chosen flights of one aircraft and
// engine, with the tool bar (Print, Steady State, Transient), the menus (parameter, transient
// bin, set-up, data, zoom), the sample list and the data-status indicator. Every choice goes to
// the viewer's core (PlotModel), which remembers it; the window then draws what the core
// computes. Its own events are the viewer's (ViewerEvent); what it does not know goes on to the
// other windows.
#include <QList>
#include <QPointer>
#include <memory>

#include "toolkit/ZafWindow.h"
#include "viewer/FlightDataElement.h"
#include "viewer/PlotModel.h"

namespace tolm::viewer {

class PlotWindow;
class TabulateInfoWindow;

class Plot2D : public ZafWindow {
    Q_OBJECT
public:
    // Runs the flight selection on the data directory. When the directory holds no flight, says
    // "No data exists for plotting"; when the user chooses none, says nothing. Either way the
    // window then has no flights and is not to be shown.
    Plot2D();
    // Plots these flights (the selection's choice).
    explicit Plot2D(QList<FlightDataElement> flights);
    ~Plot2D() override;

    bool HasFlights() const { return model_ != nullptr; }
    ZafEventType Event(const ZafEventStruct& event) override;

    const PlotModel& Model() const { return *model_; }
    PlotWindow* Chart() const { return chart_; }
    // The tabulation window while it lists this window's chart; nullptr otherwise.
    TabulateInfoWindow* Tabulation() const;
    // Selects the tabulation's row of that point of the current data set, if it is listed.
    void HighlightTabulation(int point);

private:
    void Construct(QList<FlightDataElement> flights);
    void BuildMenus();
    void ShowDataStatus();
    void UpdateMenus();
    void UpdateSampleList();
    void MarkPlotType();
    void Redraw();
    ZafEventType Open();
    void Tabulate();
    void RefreshTabulation();
    void Fill(TabulateInfoWindow& window);
    void CloseTabulation();
    void ExportWaterfall();
    void RunSetup();

    std::unique_ptr<PlotModel> model_;
    PlotWindow* chart_ = nullptr;
    ZafObject sample_;
    bool opened_ = false;
    int listFont_ = 0;  // "Courier New" 9 points, normal and bold, for the tabulation
    int tagFont_ = 0;
};

}  // namespace tolm::viewer
