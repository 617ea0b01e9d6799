#pragma once
// The plot window's state and rules, without a window: the chosen flights, the user's choices,
// the shown flags and the current data set. Each change is one call, which also writes the
// changed setting when the model remembers; the window then asks for what to draw.
#include <QList>

#include "viewer/ChartBuilder.h"
#include "viewer/ChartContents.h"
#include "viewer/FlightDataElement.h"
#include "viewer/PlotChoices.h"
#include "viewer/PlotMenus.h"
#include "viewer/SampleList.h"

namespace tolm::viewer {

// One flight item of the set-up dialog.
struct SetupFlight {
    QString text;  // the flight number
    bool checked = true;
    bool operator==(const SetupFlight&) const = default;
};

class PlotModel {
public:
    enum class Remember { No, Yes };
    // Every flight shown, data set 0 current; the sample list's rule applied at once.
    PlotModel(QList<FlightDataElement> flights, const PlotChoices& choices,
              Remember remember = Remember::No);

    const QList<FlightDataElement>& flights() const { return flights_; }
    const PlotChoices& choices() const { return choices_; }

    void setPlotType(PlotType type);
    void setParameter(int identifier);
    void setBin(int bin);
    // The user chose item `position` of the sample list.
    void chooseSample(int position);
    void setShown(int set, bool shown);
    void setXGrid(bool on);
    void setYGrid(bool on);
    void setWindow(FftWindow window);
    void setCurrentSet(int set);

    bool shown(int set) const { return shown_.value(set, false); }
    int currentSet() const { return currentSet_; }
    // Position of the flight that Waterfall FFT shows.
    int waterfallFlight() const { return waterfallFlight_; }

    // The set-up dialog's flight items, and whether they can be used (not for Waterfall FFT,
    // whose sets are records, not flights).
    QList<SetupFlight> setupFlights() const;
    bool setupFlightsEnabled() const { return choices_.parameter != kWaterfallFft; }
    // What a flight item sends when toggled: its position, with the top bit set when unchecked.
    static quint32 setupValue(int set, bool checked);
    // Shows or hides the set that value names.
    void applySetupValue(quint32 value);

    ChartRequest request() const;
    ChartContents chart() const { return ChartBuilder::build(flights_, request()); }
    SampleList sampleList() const { return SampleList::make(flights_, choices_, waterfallFlight_); }
    PlotMenus menus() const { return PlotMenus::of(choices_.plotType, choices_.parameter); }
    DataStatus dataStatus() const { return DataStatus::of(flights_); }

private:
    void updateSampleList();

    QList<FlightDataElement> flights_;
    PlotChoices choices_;
    Remember remember_;
    QList<bool> shown_;
    int currentSet_ = 0;
    int waterfallFlight_ = 0;
};

}  // namespace tolm::viewer
