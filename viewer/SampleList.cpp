#include "viewer/SampleList.h"

namespace tolm::viewer {

namespace {

int waterfallSelection(const QList<FlightDataElement>& flights, int lastFlight, int current) {
    if (current >= 0 && current < flights.size() && flights[current].flightNumber() == lastFlight) {
        return current;
    }
    for (int i = 0; i < flights.size(); ++i) {
        if (flights[i].flightNumber() == lastFlight) {
            return i;
        }
    }
    return -1;
}

}  // namespace

SampleList SampleList::make(const QList<FlightDataElement>& flights, const PlotChoices& c,
                            int waterfallFlight) {
    SampleList list;
    const bool steady = c.plotType == PlotType::SteadyState;
    const bool timeView = Parameters::isTimeHistoryView(c.parameter);
    if (c.parameter == kWaterfallFft) {
        list.title = QStringLiteral("Flight #");
        for (const FlightDataElement& f : flights) {
            list.items.append(SampleItem{QString::number(f.flightNumber()), f.flightNumber()});
        }
    } else {
        if (timeView) {
            list.title = steady ? QStringLiteral("Bin #") : QStringLiteral("Time History #");
        }
        const int count = steady ? kSteadyRecords : kTransientRecords;
        for (int i = 0; i < count; ++i) {
            list.items.append(SampleItem{QString::number(i + 1), i});
        }
    }
    list.enabled = timeView || c.parameter == kWaterfallFft;
    if (list.items.isEmpty()) {
        return list;
    }
    list.selected = 0;
    if (c.parameter == kWaterfallFft) {
        const int found = waterfallSelection(flights, c.lastFlight, waterfallFlight);
        if (found >= 0) {
            list.selected = found;
        } else {
            list.newLastFlight = list.items[0].value;
        }
    } else if (timeView) {
        // Only the items shown count: a steady-state record beyond the tenth is no transient one.
        if (c.lastSample >= 0 && c.lastSample < list.items.size()) {
            list.selected = c.lastSample;
        } else {
            list.newLastSample = list.items[0].value;
        }
    }
    return list;
}

}  // namespace tolm::viewer
