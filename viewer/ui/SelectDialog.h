#pragma once
// The flight selection dialog: the aircraft that have flights on disk, the engine and memory
// choices, the engine details from the register and the list of the matching flights. OK reads
// the chosen flights (at most ten) for the plot window. Construction scans the data directory
// and reports what the scan could not read; the caller runs the dialog only when the scan found
// flights.
#include <QList>

#include "toolkit/ZafWindow.h"
#include "viewer/FlightDataElement.h"
#include "viewer/FlightNotes.h"
#include "viewer/FlightSelection.h"
#include "viewer/RegisteredAircraft.h"

namespace tolm::viewer {

class SelectDialog : public ZafDialogWindow {
    Q_OBJECT
public:
    // Where the alarm marks and copies of the listed flights come from (the program's flight
    // index); without a source the list shows every block of every file, unmarked.
    static void setNotesSource(FlightNotesSource source);

    // The chosen flights are appended to `output` when the dialog ends with OK.
    explicit SelectDialog(QList<FlightDataElement>& output);

    ZafEventType Event(const ZafEventStruct& event) override;

    // Whether the data directory held any flight at all.
    bool HasFlights() const { return selection_.hasFlights(); }
    const FlightSelection& Selection() const { return selection_; }

private:
    static QList<FlightListElement> ScanDataDirectory();
    void AircraftChanged();
    void EngineOrMemoryChanged();
    void ShowAircraftInfo();
    void FillFlightList();
    ZafEventType Accept();

    FlightSelection selection_;
    RegisteredAircraft register_;
    QList<FlightDataElement>& output_;
    ZafObject tailNumber_;
    ZafObject engine_;
    ZafObject memoryType_;
    ZafObject flightList_;
    ZafObject showCopies_;
};

}  // namespace tolm::viewer
