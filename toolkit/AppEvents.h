#pragma once
// The application's event numbers, each defined here once: 10000-10036 for the main window and
// its pages, 13000-13017 for the flight-data viewer, and the two events of the progress dialogs
// (download, erase), which reuse 10000 and 10001 for their own tick and button.
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
}  // namespace MainEvent

// The progress dialogs' own events.
namespace DialogEvent {
inline constexpr ZafEventType Tick = 10000;          // the dialog's 100 ms timer
inline constexpr ZafEventType CancelOrDone = 10001;  // its Cancel / Done button and F5
}  // namespace DialogEvent

}  // namespace tolm
