#pragma once
// The events that the register's pages send to the main window, which hands them back to the
// page shown (numbers of the main window's range, 10000-10099).
#include "toolkit/ZafEvent.h"

namespace tolm::RegisterEvent {
inline constexpr ZafEventType SaveAircraft = 10010;
inline constexpr ZafEventType AircraftChosen = 10017;
inline constexpr ZafEventType EngineTypeChosen = 10031;
}  // namespace tolm::RegisterEvent
