#pragma once
// Events of the flight-data viewer's windows (the plot window, its selection, set-up and
// tabulation windows). Where an event stands for a choice among items, the chosen item carries
// its value (viewer/ui/ItemValue.h).
#include "toolkit/ZafEvent.h"

namespace tolm::ViewerEvent {
// Sent by the main window to a new plot window once it is among the top-level windows.
inline constexpr ZafEventType Open = 10000;
inline constexpr ZafEventType PlotTypeChosen = 13000;   // Steady State (0) / Transient (1)
inline constexpr ZafEventType ParameterChosen = 13001;  // a parameter menu item
inline constexpr ZafEventType BinChosen = 13002;        // a transient-bin menu item
inline constexpr ZafEventType PointClicked = 13003;     // a click near no data set: nothing
inline constexpr ZafEventType AircraftChosen = 13004;   // the selection's aircraft
inline constexpr ZafEventType EngineOrMemory = 13005;   // the selection's engine or memory
inline constexpr ZafEventType SetClicked = 13006;       // a click chose the current data set
inline constexpr ZafEventType ShowSet = 13007;          // a set-up flight item
inline constexpr ZafEventType Setup = 13008;            // Setup > Display
inline constexpr ZafEventType XGrid = 13009;            // the set-up dialog's grid boxes
inline constexpr ZafEventType YGrid = 13010;
inline constexpr ZafEventType Print = 13011;              // the tool bar's Print
inline constexpr ZafEventType Tabulate = 13012;           // Data > Tabulate
inline constexpr ZafEventType SaveTabulation = 13013;     // the tabulation window's Save
inline constexpr ZafEventType ResetZoom = 13014;          // Zoom > Reset
inline constexpr ZafEventType RefreshTabulation = 13015;  // the shown range changed
inline constexpr ZafEventType SampleChosen = 13016;       // a sample-list item
inline constexpr ZafEventType WindowChosen = 13017;       // the set-up dialog's FFT window
inline constexpr ZafEventType SaveChartImage = 13018;     // Data > Save Chart Image...
inline constexpr ZafEventType ShowCopies = 13019;         // the selection's "every copy" box
inline constexpr ZafEventType Trend = 13020;              // Trend... (selection, Data menu)
}  // namespace tolm::ViewerEvent
