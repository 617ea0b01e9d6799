#include "app/MainEvents.h"

#include <algorithm>
#include <array>

namespace tolm {

bool isMainWindowCommand(ZafEventType code) {
    static constexpr std::array kCommands = {
        MainEvent::ShowMainMenu,
        MainEvent::Back,
        MainEvent::Tick,
        MainEvent::About,
        MainEvent::Download,
        MainEvent::AircraftInfo,
        MainEvent::ClearMemory,
        MainEvent::Utilities,
        MainEvent::PrivilegeChange,
        MainEvent::AddAircraft,
        MainEvent::RemoveAircraft,
        MainEvent::ImportAircraft,
        MainEvent::AddEngineType,
        MainEvent::RemoveEngineType,
        MainEvent::InactivityRevert,
        MainEvent::Plot,
        MainEvent::Compress,
        MainEvent::UserGuide,
        MainEvent::ChangePassword,
        MainEvent::ReleaseNotes,
        MainEvent::FleetStatus,
        RegisterEvent::AircraftChosen,
        RegisterEvent::SaveAircraft,
        RegisterEvent::EngineTypeChosen,
        MaintenanceEvent::EraseProgress,
        MaintenanceEvent::ApplyUtilities,
        MaintenanceEvent::UtilitiesAircraftChosen,
        MaintenanceEvent::ChooseMainSoftware,
        MaintenanceEvent::UploadMainSoftware,
        MaintenanceEvent::ChooseDspSoftware,
        MaintenanceEvent::UploadDspSoftware,
        MaintenanceEvent::ChooseConfigTable,
        MaintenanceEvent::UploadConfigTable,
        MaintenanceEvent::UploadTick,
        MaintenanceEvent::UploadTimerDone,

    };
    return std::find(kCommands.begin(), kCommands.end(), code) != kCommands.end();
}

}  // namespace tolm
