#pragma once
// Builds what the chart shows for the chosen flights and the plot window's choices. Each chosen
// flight is one data set and plots its own data block; Waterfall FFT plots the records of one
// flight instead, one set per record.
#include <QList>

#include "viewer/ChartContents.h"
#include "viewer/FlightDataElement.h"

namespace tolm::viewer {

struct ChartRequest {
    PlotType plotType = PlotType::SteadyState;
    int parameter = kA4R;
    int bin = 0;
    int sample = 0;           // the record shown by Time History and FFT
    int waterfallFlight = 0;  // position in the flight list of the flight Waterfall FFT shows
    FftWindow window = FftWindow::None;
    int memoryType = 0;
    QList<bool> shown;  // per flight; a flight without an entry is shown
};

class ChartBuilder {
public:
    static ChartContents build(const QList<FlightDataElement>& flights,
                               const ChartRequest& request);
};

}  // namespace tolm::viewer
