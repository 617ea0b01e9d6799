#include "viewer/PlotModel.h"

#include "viewer/PlotSettings.h"

namespace tolm::viewer {

PlotModel::PlotModel(QList<FlightDataElement> flights, const PlotChoices& choices,
                     Remember remember)
    : flights_(std::move(flights)), choices_(choices), remember_(remember) {
    shown_.fill(true, flights_.size());
    updateSampleList();
}

void PlotModel::updateSampleList() {
    const SampleList list = sampleList();
    if (choices_.parameter == kWaterfallFft && list.selected >= 0) {
        waterfallFlight_ = list.selected;
    }
    if (list.newLastSample) {
        choices_.lastSample = *list.newLastSample;
        if (remember_ == Remember::Yes) {
            PlotSettings::storeLastSample(choices_.lastSample);
        }
    }
    if (list.newLastFlight) {
        choices_.lastFlight = *list.newLastFlight;
        if (remember_ == Remember::Yes) {
            PlotSettings::storeLastFlight(choices_.lastFlight);
        }
    }
}

void PlotModel::setPlotType(PlotType type) {
    choices_.plotType = type;
    updateSampleList();
    if (remember_ == Remember::Yes) {
        PlotSettings::storePlotType(type);
    }
}

void PlotModel::setParameter(int identifier) {
    if (!Parameters::isValid(identifier)) {
        return;
    }
    choices_.parameter = identifier;
    if (remember_ == Remember::Yes) {
        PlotSettings::storeParameter(identifier);
    }
    updateSampleList();
}

void PlotModel::setBin(int bin) {
    if (bin < 0 || bin >= kTransientBins) {
        return;
    }
    choices_.bin = bin;
    if (remember_ == Remember::Yes) {
        PlotSettings::storeBin(bin);
    }
}

void PlotModel::chooseSample(int position) {
    const SampleList list = sampleList();
    if (position < 0 || position >= list.items.size()) {
        return;
    }
    const int value = list.items[position].value;
    if (choices_.parameter == kWaterfallFft) {
        choices_.lastFlight = value;
        waterfallFlight_ = position;
        if (remember_ == Remember::Yes) {
            PlotSettings::storeLastFlight(value);
        }
    } else {
        choices_.lastSample = value;
        if (remember_ == Remember::Yes) {
            PlotSettings::storeLastSample(value);
        }
    }
}

void PlotModel::setShown(int set, bool shown) {
    if (set >= 0 && set < shown_.size()) {
        shown_[set] = shown;
    }
}

void PlotModel::setXGrid(bool on) {
    choices_.xGrid = on;
    if (remember_ == Remember::Yes) {
        PlotSettings::storeXGrid(on);
    }
}

void PlotModel::setYGrid(bool on) {
    choices_.yGrid = on;
    if (remember_ == Remember::Yes) {
        PlotSettings::storeYGrid(on);
    }
}

void PlotModel::setWindow(FftWindow window) {
    choices_.window = window;
    if (remember_ == Remember::Yes) {
        PlotSettings::storeWindow(window);
    }
}

void PlotModel::setCurrentSet(int set) {
    currentSet_ = set;
}

QList<SetupFlight> PlotModel::setupFlights() const {
    QList<SetupFlight> items;
    for (int i = 0; i < flights_.size(); ++i) {
        items.append(SetupFlight{QString::number(flights_[i].flightNumber()), shown(i)});
    }
    return items;
}

quint32 PlotModel::setupValue(int set, bool checked) {
    return checked ? quint32(set) : quint32(set) | 0x80000000u;
}

void PlotModel::applySetupValue(quint32 value) {
    setShown(int(value & 0x7FFFFFFFu), (value & 0x80000000u) == 0);
}

ChartRequest PlotModel::request() const {
    ChartRequest r;
    r.plotType = choices_.plotType;
    r.parameter = choices_.parameter;
    r.bin = choices_.bin;
    r.sample = choices_.lastSample;
    r.waterfallFlight = waterfallFlight_;
    r.window = choices_.window;
    r.memoryType = choices_.memoryType;
    r.shown = shown_;
    return r;
}

}  // namespace tolm::viewer
