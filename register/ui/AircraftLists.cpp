#include "register/ui/AircraftLists.h"

#include "register/TolmAircraftSettings.h"

namespace tolm {

int fillAircraftList(ZafObject list, ZafEventType event) {
    TolmAircraftSettings settings;
    const QStringList identifiers = settings.aircraftIdentifiers();
    list.SetItems(identifiers, event, settings.initialAircraft());
    return static_cast<int>(identifiers.size());
}

void fillEngineTypeList(ZafObject list, ZafEventType event) {
    list.SetItems(TolmAircraftSettings().engineTypes(), event, -1);
}

}  // namespace tolm
