#pragma once
// The plot window's chart: draws the chart contents that the viewer's core computes, reads out
// the point of the current data set under the mouse (text, yellow or pale-blue box, marker),
// tells its plot window which data set a click chose, and reads back what it shows for the
// tabulation and the export.
#include <optional>

#include "viewer/ChartContents.h"
#include "viewer/ui/Xrt2dPlot.h"

namespace tolm::viewer {

class Plot2D;

class PlotWindow : public Xrt2dPlot {
    Q_OBJECT
public:
    // Fills `parent` (the plot window's "PlotWindow" object).
    PlotWindow(Plot2D& owner, QWidget* parent);

    // The initial chart: an empty data object, the fonts, the y-axis origin 0.0 and the marker
    // off the chart.
    void Initialise();
    // Replaces what the chart shows by `contents`, drawn once.
    void Draw(const ChartContents& contents);
    // Shows or hides one data set at once.
    void ShowFlight(int set, bool shown);

    // What was last drawn.
    const ChartContents& Contents() const { return contents_; }
    // What the chart shows, read back from it: its data sets and shown flags, titles, header and
    // footer lines and legend labels (with the plot's kind from the last drawing).
    ChartContents Displayed() const;
    // The x range shown, narrowed by a zoom.
    XRange ShownX();

    // The point of data set `set` whose read-out is shown, if any.
    std::optional<int> ReadOutPoint(int set) const {
        return set == readOutSet_ ? readOut_ : std::nullopt;
    }

    ZafEventType Event(const ZafEventStruct& event) override;

private:
    void ReadOutAt(QPoint pixel);
    void ClearReadOut();

    Plot2D& owner_;
    ChartContents contents_;
    int readOutSet_ = -1;
    std::optional<int> readOut_;
};

}  // namespace tolm::viewer
