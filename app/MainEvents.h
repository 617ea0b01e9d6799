#pragma once
// The main window's commands: from its menu, tool bar, keys and pages. The register's and the
// maintenance pages' events share the range 10000-10099 with them; isMainWindowCommand() names
// every event the main window takes itself, whatever its number.
#include "maintenance/ui/MaintenanceEvents.h"
#include "register/ui/RegisterEvents.h"
#include "toolkit/ZafEvent.h"

namespace tolm {

namespace MainEvent {
inline constexpr ZafEventType ShowMainMenu = 10000;
inline constexpr ZafEventType Back = 10001;
inline constexpr ZafEventType Tick = 10002;
inline constexpr ZafEventType About = 10003;
inline constexpr ZafEventType Download = 10004;
inline constexpr ZafEventType AircraftInfo = 10005;
inline constexpr ZafEventType ClearMemory = 10006;
inline constexpr ZafEventType Utilities = 10007;
inline constexpr ZafEventType PrivilegeChange = 10011;
inline constexpr ZafEventType AddAircraft = 10012;
inline constexpr ZafEventType RemoveAircraft = 10013;
inline constexpr ZafEventType ImportAircraft = 10014;
inline constexpr ZafEventType AddEngineType = 10015;
inline constexpr ZafEventType RemoveEngineType = 10016;
inline constexpr ZafEventType InactivityRevert = 10020;
inline constexpr ZafEventType Plot = 10023;
inline constexpr ZafEventType Compress = 10033;
inline constexpr ZafEventType UserGuide = 10034;
inline constexpr ZafEventType ChangePassword = 10035;
inline constexpr ZafEventType ReleaseNotes = 10036;
inline constexpr ZafEventType FleetStatus = 10037;
}  // namespace MainEvent

bool isMainWindowCommand(ZafEventType code);

}  // namespace tolm
