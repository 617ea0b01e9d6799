#pragma once
// The user's choices of the plot window, as they are remembered from one run to the next.
#include "viewer/Parameters.h"

namespace tolm::viewer {

struct PlotChoices {
    PlotType plotType = PlotType::SteadyState;
    int parameter = kA4R;
    int bin = 0;          // transient bin 0..3
    int lastFlight = -1;  // flight number shown by Waterfall FFT
    int lastSample = -1;  // record shown by Time History and FFT
    bool xGrid = false;
    bool yGrid = false;
    FftWindow window = FftWindow::None;
    int memoryType = 0;  // of the chosen flights: 0 pre-defect, 1 post-defect
    bool operator==(const PlotChoices&) const = default;
};

}  // namespace tolm::viewer
