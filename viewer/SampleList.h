#pragma once
// The sample list beside the chart (G_SAMPLE): the records of Time History and FFT, or the
// flights of Waterfall FFT, with the item to select and the remembered value to rewrite when
// the remembered one is not offered.
#include <QList>
#include <QString>
#include <optional>

#include "viewer/FlightDataElement.h"
#include "viewer/PlotChoices.h"

namespace tolm::viewer {

struct SampleItem {
    QString text;
    int value = 0;  // record index, or flight number for Waterfall FFT
    bool operator==(const SampleItem&) const = default;
};

struct SampleList {
    QString title;            // "Bin #", "Time History #", "Flight #" or empty
    QList<SampleItem> items;  // the items shown; the list's other items are hidden
    bool enabled = false;     // only for Time History, FFT and Waterfall FFT
    int selected = -1;        // position in items
    // The value that replaces the remembered last sample or last flight, when it was not offered.
    std::optional<int> newLastSample;
    std::optional<int> newLastFlight;

    static SampleList make(const QList<FlightDataElement>& flights, const PlotChoices& choices,
                           int waterfallFlight);
};

}  // namespace tolm::viewer
