#pragma once
// The application events that the aircraft page, its lists and its dialogs send.
#include "toolkit/ZafEvent.h"

namespace tolm::RegisterEvent {
inline constexpr ZafEventType LeavePage = 10000;
inline constexpr ZafEventType SavePage = 10010;
inline constexpr ZafEventType AircraftChosen = 10017;
inline constexpr ZafEventType EngineTypeChosen = 10031;
}  // namespace tolm::RegisterEvent
