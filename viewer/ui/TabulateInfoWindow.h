#pragma once
// The tabulation window: the plotted points of one data set of a plot window's chart that lie in
// the x range shown, under four lines naming the flight, the header, the footer and the
// parameter; Save writes the listing as a text file. At most one exists; it is found by its
// identifier among the top-level windows.
#include <QPointer>

#include "toolkit/ZafWindow.h"
#include "viewer/Tabulation.h"

namespace tolm::viewer {

class PlotWindow;

class TabulateInfoWindow : public ZafWindow {
    Q_OBJECT
public:
    static inline const QString kIdentifier = QStringLiteral("TabulateInfoWindow");
    // The caption of the save dialog.
    static inline const QString kSaveCaption = QStringLiteral("Save Tabulation");

    // tagFont for the flight line, listFont for the others and the rows (display font numbers).
    TabulateInfoWindow(int tagFont, int listFont);

    // The one that exists, if any.
    static TabulateInfoWindow* Find();

    ZafEventType Event(const ZafEventStruct& event) override;

    // Lists data set `set` of the chart, emptied first.
    void Fill(PlotWindow& chart, int set);
    // Selects the row of that point; nothing when the point is not listed.
    void Highlight(int point);
    // Sends the window the toolkit's close event: it is destroyed once the event dispatch that
    // asked for it has ended (at once outside one).
    void Close();

    // The chart last listed.
    PlotWindow* Source() const { return source_; }
    const Tabulation& Listing() const { return listing_; }

private:
    void Save();

    QPointer<PlotWindow> source_;
    Tabulation listing_;
    ZafObject list_;
};

}  // namespace tolm::viewer
