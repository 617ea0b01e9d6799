#pragma once
// The plot set-up dialog: one check item per chosen flight (disabled for Waterfall FFT, whose
// data sets are records), the x and y grid boxes and the FFT window. It changes nothing itself:
// each choice goes at once to the plot window, which applies, stores and redraws it, so nothing
// is left to commit when the dialog closes.
#include "toolkit/ZafWindow.h"

namespace tolm::viewer {

class Plot2D;

class SetupDialog : public ZafDialogWindow {
    Q_OBJECT
public:
    explicit SetupDialog(Plot2D& plot);

    ZafEventType Event(const ZafEventStruct& event) override;

private:
    Plot2D& plot_;
    ZafObject flights_;
};

}  // namespace tolm::viewer
