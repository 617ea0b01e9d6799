#pragma once
// The events that the Clear Memory and Utilities pages and the uploads of the Firmware page send
// to the main window, which hands them back to the page (numbers of the main window's range,
// 10000-10099).
#include "toolkit/ZafEvent.h"

namespace tolm::MaintenanceEvent {
inline constexpr ZafEventType EraseProgress = 10008;
inline constexpr ZafEventType ApplyUtilities = 10018;
inline constexpr ZafEventType UtilitiesAircraftChosen = 10019;
inline constexpr ZafEventType ChooseMainSoftware = 10024;
inline constexpr ZafEventType UploadMainSoftware = 10025;
inline constexpr ZafEventType ChooseDspSoftware = 10026;
inline constexpr ZafEventType UploadDspSoftware = 10027;
inline constexpr ZafEventType ChooseConfigTable = 10028;
inline constexpr ZafEventType UploadConfigTable = 10029;
inline constexpr ZafEventType UploadTick = 10030;
inline constexpr ZafEventType UploadTimerDone = 10032;
}  // namespace tolm::MaintenanceEvent
