#include "register/ui/AircraftLists.h"

#include "register/TolmAircraftSettings.h"

namespace tolm {

int fillAircraftList(ZafObject list, ZafEventType event) {
    TolmAircraftSettings settings;
    list.ClearItems();
    const QStringList identifiers = settings.aircraftIdentifiers();
    for (const QString& identifier : identifiers) {
        list.AddItem(identifier, event);
    }
    if (!identifiers.isEmpty()) {
        list.SetItemSelected(0);
        if (const qsizetype last = identifiers.indexOf(settings.lastAircraft()); last > 0) {
            list.SetItemSelected(0, false);
            list.SetItemSelected(static_cast<int>(last));
        }
    }
    return static_cast<int>(identifiers.size());
}

void fillEngineTypeList(ZafObject list, ZafEventType event) {
    list.ClearItems();
    for (const QString& name : TolmAircraftSettings().engineTypes()) {
        list.AddItem(name, event);
    }
}

}  // namespace tolm
