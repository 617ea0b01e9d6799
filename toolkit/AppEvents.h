#pragma once
// The application's event numbers, each defined here once: 10000-10037 for the main window and
// its pages, 13000-13020 for the flight-data viewer (the engine-health windows keep theirs,
// 14000 on, in health/ui/HealthEvents.h), and the events that reuse 10000 and 10001
// for a window of their own: the progress dialogs' tick and button (download, erase), and the
// plot window's opening.
#include "toolkit/ZafEvent.h"

namespace tolm {

// Events of the main window and its pages.
namespace MainEvent {
inline constexpr ZafEventType ShowMainMenu = 10000;
inline constexpr ZafEventType Back = 10001;
inline constexpr ZafEventType Tick = 10002;
inline constexpr ZafEventType About = 10003;
inline constexpr ZafEventType Download = 10004;
inline constexpr ZafEventType AircraftInfo = 10005;
inline constexpr ZafEventType ClearMemory = 10006;
inline constexpr ZafEventType Utilities = 10007;
inline constexpr ZafEventType EraseProgress = 10008;
inline constexpr ZafEventType ToggleChoice = 10009;
inline constexpr ZafEventType SaveAircraft = 10010;
inline constexpr ZafEventType PrivilegeChange = 10011;
inline constexpr ZafEventType AddAircraft = 10012;
inline constexpr ZafEventType RemoveAircraft = 10013;
inline constexpr ZafEventType ImportAircraft = 10014;
inline constexpr ZafEventType AddEngineType = 10015;
inline constexpr ZafEventType RemoveEngineType = 10016;
inline constexpr ZafEventType AircraftChosen = 10017;
inline constexpr ZafEventType ApplyUtilities = 10018;
inline constexpr ZafEventType UtilitiesAircraftChosen = 10019;
inline constexpr ZafEventType InactivityRevert = 10020;
inline constexpr ZafEventType Plot = 10023;
inline constexpr ZafEventType ChooseMainSoftware = 10024;
inline constexpr ZafEventType UploadMainSoftware = 10025;
inline constexpr ZafEventType ChooseDspSoftware = 10026;
inline constexpr ZafEventType UploadDspSoftware = 10027;
inline constexpr ZafEventType ChooseConfigTable = 10028;
inline constexpr ZafEventType UploadConfigTable = 10029;
inline constexpr ZafEventType UploadTick = 10030;
inline constexpr ZafEventType EngineTypeChosen = 10031;
inline constexpr ZafEventType UploadTimerDone = 10032;
inline constexpr ZafEventType Compress = 10033;
inline constexpr ZafEventType UserGuide = 10034;
inline constexpr ZafEventType ChangePassword = 10035;
inline constexpr ZafEventType ReleaseNotes = 10036;
inline constexpr ZafEventType FleetStatus = 10037;
}  // namespace MainEvent

// Events of the flight-data viewer's windows (the plot window, its selection, set-up and
// tabulation windows). Where an event stands for a choice among items, the chosen item carries
// its value (viewer/ui/ItemValue.h).
namespace ViewerEvent {
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
}  // namespace ViewerEvent

// The progress dialogs' own events.
namespace DialogEvent {
inline constexpr ZafEventType Tick = 10000;          // the dialog's 100 ms timer
inline constexpr ZafEventType CancelOrDone = 10001;  // its Cancel / Done button and F5
}  // namespace DialogEvent

}  // namespace tolm
